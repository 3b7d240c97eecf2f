#include "editors/ParGenChecks.h"

#include "configurations/TextToInt.h"
#include "language/ULanguage.h"

namespace {

QString Check_Box_Text(const QString& stored)
{
    return stored == QLatin1String("1") ? QStringLiteral("1") : QStringLiteral("0");
}

} // namespace

const QStringList& Can_Baud_Items()
{
    static const QStringList items = {"10K",  "20K",  "50K",  "100K", "125K",
                                      "250K", "500K", "800K", "1000K"};
    return items;
}

const QStringList& Net_Baud_Items()
{
    static const QStringList items = {"125K", "250K", "500K"};
    return items;
}

int List_Position(const QString& text, int def, int count)
{
    const qint32 pos = Text_To_Int(text, def);
    return pos >= 0 && pos < count ? pos : -1;
}

ParGen_Settings ParGen_As_Shown(const ParGen_Settings& stored)
{
    // A text that is not a number falls back to the missing element's position.
    const ParGen_Settings def = ParGen_Defaults_Missing_Element();
    const auto position = [](const QString& text, const QString& d, int count) {
        return QString::number(List_Position(text, d.toInt(), count));
    };
    ParGen_Settings s = stored;
    s.Device_Type = position(stored.Device_Type, def.Device_Type, Device_Type_Count);
    s.Can_Baud = position(stored.Can_Baud, def.Can_Baud, Can_Baud_Count);
    s.CAN_Type = QStringLiteral("1");
    s.How_Send = position(stored.How_Send, def.How_Send, How_Send_Count);
    s.Net_Baud = position(stored.Net_Baud, def.Net_Baud, Net_Baud_Count);
    s.PeerToPeer = Check_Box_Text(stored.PeerToPeer);
    s.Ethernet_EN_GAT = Check_Box_Text(stored.Ethernet_EN_GAT);
    return s;
}

int ParGen_First_Failure(const ParGen_Settings& s)
{
    const qint32 device = Text_To_Int(s.Device_Type, -1);
    const qint32 sendType = Text_To_Int(s.How_Send, -1);

    if (device == 0 && sendType == 1 && !Text_In_Range(s.Delay_Send, 1, 65535))
        return 443;
    if (!Text_In_Range(s.TimeOut_Data, 0, 10000))
        return 444;
    // The Device ID field is shown for every selection but the device without Ethernet port.
    if (device != 0 && !Text_In_Range(s.J1939_Device_ID, 0, 239))
        return 459;
    if (!Text_In_Range(s.Net_Dev_Id, 0, 63))
        return 445;
    if (device != 1)
        return 0;

    const QString* ip[] = {&s.Ethernet_IP1, &s.Ethernet_IP2, &s.Ethernet_IP3, &s.Ethernet_IP4};
    const QString* sm[] = {&s.Ethernet_SM1, &s.Ethernet_SM2, &s.Ethernet_SM3, &s.Ethernet_SM4};
    const QString* gat[] = {&s.Ethernet_GAT1, &s.Ethernet_GAT2, &s.Ethernet_GAT3, &s.Ethernet_GAT4};
    for (int i = 0; i < 4; ++i)
        if (!Text_In_Range(*ip[i], 0, 255))
            return 446 + i;
    for (int i = 0; i < 4; ++i)
        if (!Text_In_Range(*sm[i], 0, 255))
            return 450 + i;
    if (s.Ethernet_EN_GAT == QLatin1String("1"))
        for (int i = 0; i < 4; ++i)
            if (!Text_In_Range(*gat[i], 0, 255))
                return 454 + i;
    return 0;
}

QString Check_ParGen_File(const QString& path)
{
    const int failure = ParGen_First_Failure(ParGen_As_Shown(Read_ParGen(path).values));
    return failure == 0 ? QString() : Msg(failure);
}
