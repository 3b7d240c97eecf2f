#include "update/ComPorts.h"

#include <QSerialPortInfo>

namespace {

class System_Lister final : public Serial_Port_Lister {
public:
    QStringList Port_Names() const override
    {
        QStringList names;
        for (const QSerialPortInfo& p : QSerialPortInfo::availablePorts())
            names.append(p.portName());
        return names;
    }
};

const Serial_Port_Lister* Installed = nullptr;

} // namespace

const Serial_Port_Lister& Serial_Ports()
{
    return Installed ? *Installed : System_Serial_Ports();
}

void Set_Serial_Port_Lister(const Serial_Port_Lister* lister)
{
    Installed = lister;
}

const Serial_Port_Lister& System_Serial_Ports()
{
    static const System_Lister lister;
    return lister;
}
