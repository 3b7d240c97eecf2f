#include "editors/ParGenLayout.h"

namespace {

constexpr int Box_Left = 8;
constexpr int First_Box_Top = 70;
constexpr int Box_Gap = 6;
constexpr int Box_Bottom_Margin = 15;

ParGen_Box_Place Place_Box(int top, bool expanded, int currentHeight, int lastBottom)
{
    return {true, Box_Left, top, expanded ? lastBottom + Box_Bottom_Margin : currentHeight};
}

} // namespace

ParGen_Layout ParGen_Move_GroupBoxs(const ParGen_Layout_Input& in)
{
    ParGen_Layout out;
    out.GB_Select_Device = Place_Box(First_Box_Top, in.Select_Device_Visible,
                                     in.Select_Device_Height, in.Select_Device_Bottom);

    int lastBottom = 0;
    if (in.Device_Position == 0) {
        out.J1939_Shown = {{QStringLiteral("L_J1939_SendType"), 58, 16},
                           {QStringLiteral("CB_J1939_SendType"), 55, 84},
                           {QStringLiteral("L_J1939_SendTimer"), 92, 16},
                           {QStringLiteral("E_J1939_SendTimer"), 89, 148},
                           {QStringLiteral("L_J1939_TO"), 126, 16},
                           {QStringLiteral("E_J1939_TO"), 123, 148},
                           {QStringLiteral("CB_J1939_En_Peer"), 160, 16}};
        out.J1939_Hidden = {QStringLiteral("L_J1939_DevID"), QStringLiteral("E_J1939_DevID")};
        lastBottom = 160 + in.En_Peer_Height;
    } else {
        out.J1939_Shown = {{QStringLiteral("L_J1939_TO"), 58, 16},
                           {QStringLiteral("E_J1939_TO"), 55, 148},
                           {QStringLiteral("CB_J1939_En_Peer"), 92, 16},
                           {QStringLiteral("L_J1939_DevID"), 126, 16},
                           {QStringLiteral("E_J1939_DevID"), 123, 148}};
        out.J1939_Hidden = {QStringLiteral("L_J1939_SendType"), QStringLiteral("CB_J1939_SendType"),
                            QStringLiteral("L_J1939_SendTimer"),
                            QStringLiteral("E_J1939_SendTimer")};
        lastBottom = 123 + in.DevID_Height;
    }
    out.GB_J1939 = Place_Box(out.GB_Select_Device.Bottom() + Box_Gap, in.J1939_Visible,
                             in.J1939_Height, lastBottom);

    out.GB_DeviceNet_Slave = Place_Box(out.GB_J1939.Bottom() + Box_Gap, in.DeviceNet_Slave_Visible,
                                       in.DeviceNet_Slave_Height, in.DeviceNet_Baud_Bottom);
    int y = out.GB_DeviceNet_Slave.Bottom();

    if (in.Device_Position == 0) {
        out.GB_Ethernet = {false, Box_Left, 0, in.Ethernet_Height};
    } else {
        out.GB_Ethernet = Place_Box(y + Box_Gap, in.Ethernet_Visible, in.Ethernet_Height,
                                    in.Ethernet_GAT4_Bottom);
        y = out.GB_Ethernet.Bottom();
    }

    out.Buttons_Top = y + 13;
    out.Client_Width = 312;
    out.Client_Height = y + 54;
    return out;
}
