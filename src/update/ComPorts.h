#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The serial ports that exist on this computer, by name ("COM3"). The windows ask the
// installed list; tests install one of their own instead of the system's.
class Serial_Port_Lister {
public:
    virtual ~Serial_Port_Lister() = default;
    virtual QStringList Port_Names() const = 0;
};

// These three live in the windows library, which links Qt Serial Port.
// The installed list, else the system's.
const Serial_Port_Lister& Serial_Ports();
// nullptr puts back the system's. The list is not owned.
void Set_Serial_Port_Lister(const Serial_Port_Lister* lister);
const Serial_Port_Lister& System_Serial_Ports();

// For the entries COM1 .. COM<count>: whether a port of that name exists (letter case aside).
QList<bool> Present_Com_Ports(const QStringList& portNames, int count);

// The entry to preselect: the one used last when it is one of the list, else the only
// present one, else the first.
int Preselected_Com_Port(int lastUsed, const QList<bool>& present);
