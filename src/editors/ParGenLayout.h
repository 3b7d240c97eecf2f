#pragma once

#include <QList>
#include <QString>

// What the settings editor's layout depends on. Positions are inside the control's box.
struct ParGen_Layout_Input {
    int Device_Position = -1;          // of CB_Select_Device; -1 when nothing is selected
    bool Select_Device_Visible = true; // expanded flags of the four boxes
    bool J1939_Visible = true;
    bool DeviceNet_Slave_Visible = true;
    bool Ethernet_Visible = true;
    // Current heights: a collapsed box keeps the height its collapse gave it.
    int Select_Device_Height = 0;
    int J1939_Height = 0;
    int DeviceNet_Slave_Height = 0;
    int Ethernet_Height = 0;
    // Bottoms of the controls that end the other boxes.
    int Select_Device_Bottom = 0;  // CB_Select_Device
    int DeviceNet_Baud_Bottom = 0; // CB_DeviceNet_Slave_Baud
    int Ethernet_GAT4_Bottom = 0;  // E_Ethernet_GAT4
    // Heights of the two J1939 controls that can end their box.
    int En_Peer_Height = 0; // CB_J1939_En_Peer
    int DevID_Height = 0;   // E_J1939_DevID
};

struct ParGen_Box_Place {
    bool Shown = false;
    int Left = 0;
    int Top = 0;
    int Height = 0;
    int Bottom() const { return Top + Height; }
};

struct ParGen_Control_Place {
    QString Name; // objectName of the control in GB_J1939
    int Top = 0;
    int Left = 0;
    bool operator==(const ParGen_Control_Place&) const = default;
};

struct ParGen_Layout {
    ParGen_Box_Place GB_Select_Device, GB_J1939, GB_DeviceNet_Slave, GB_Ethernet;
    QList<ParGen_Control_Place> J1939_Shown; // placed and shown
    QStringList J1939_Hidden;
    int Buttons_Top = 0; // Btn_OK and Btn_Cancel
    int Client_Width = 0;
    int Client_Height = 0;
};

// Stacks the boxes 6 pixels apart from top 70, sizes the expanded ones to their last control,
// arranges the J1939 box for the device type and puts the buttons and window edge below.
ParGen_Layout ParGen_Move_GroupBoxs(const ParGen_Layout_Input& in);
