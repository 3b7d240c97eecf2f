#include "update/ComPorts.h"

QList<bool> Present_Com_Ports(const QStringList& portNames, int count)
{
    QList<bool> present;
    for (int i = 1; i <= count; ++i)
        present.append(portNames.contains(QStringLiteral("COM%1").arg(i), Qt::CaseInsensitive));
    return present;
}

int Preselected_Com_Port(int lastUsed, const QList<bool>& present)
{
    if (lastUsed >= 0 && lastUsed < present.size())
        return lastUsed;
    if (present.count(true) == 1)
        return int(present.indexOf(true));
    return 0;
}
