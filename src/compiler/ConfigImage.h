#pragma once

#include <QtGlobal>

#include <array>
#include <cstddef>
#include <type_traits>

// One entry of the bank 2 frame tables (32 bytes when serialised, little-endian).
struct Frame_Record {
    quint32 Identifier = 0;
    quint32 Timer_Period = 0;
    quint32 Data_Timeout = 0;
    quint16 Data_Offset = 0;
    quint16 Start_Byte = 0;
    quint16 Byte_Count = 0;
    quint16 Reserved_1 = 0;
    quint32 Request_Time = 0;
    quint32 Reserved_2 = 0;
    quint16 Transport = 0;
    quint8 Flags = 0;
    quint8 Reserved_3 = 0;

    static constexpr int Size = 32;
    // What every entry holds before a row fills it; fields a row does not set keep it.
    static constexpr Frame_Record Empty()
    {
        Frame_Record r;
        r.Identifier = r.Timer_Period = r.Data_Timeout = r.Request_Time = 0xFFFFFFFFu;
        return r;
    }
    bool operator==(const Frame_Record&) const = default;
};

// Receive entry flag.
inline constexpr quint8 Flag_Receive_On_Request = 0x80;
// Transmit entry flags.
inline constexpr quint8 Flag_Transmit = 0x01;
inline constexpr quint8 Flag_On_Request = 0x40;
inline constexpr quint8 Flag_On_Data_Change = 0x20;
inline constexpr quint8 Flag_On_Timer = 0x10;

// The scalar settings of the bank 2 image, in stored order (360 bytes when serialised).
// Fields named Fixed_n always hold their default; the device gives them their meaning.
struct Image_Header_Fields {
    quint32 J1939_Bit_Rate = 0;
    quint32 DeviceNet_Bit_Rate = 0;
    quint32 Fixed_3 = 0;
    quint32 Fixed_4 = 0;
    quint16 Fixed_5 = 0;
    quint16 Fixed_6 = 0;
    quint32 Fixed_7 = 0;
    quint32 Fixed_8 = 0;
    quint32 DeviceNet_Node_Address = 0;
    quint32 Fixed_10 = 0;
    quint32 Fixed_11 = 0;
    std::array<quint8, 4> IP_Address{};
    std::array<quint8, 4> Subnet_Mask{};
    std::array<quint8, 4> Gateway{};
    quint16 Fixed_15 = 0;
    quint16 Fixed_16 = 0;
    quint16 Fixed_17 = 0;
    quint16 Fixed_18 = 0;
    quint32 Fixed_19 = 0;
    quint16 Fixed_20 = 0;
    quint16 Fixed_21 = 0;
    std::array<quint32, 3> Fixed_22{};
    std::array<quint8, 24> Fixed_23{};
    std::array<quint16, 2> Fixed_24{};
    std::array<quint32, 2> Fixed_25{};
    quint32 Receive_Data_Size = 0;
    quint32 Transmit_Data_Size = 0;
    quint32 Fixed_28 = 0;
    std::array<quint8, 4> Fixed_29{};
    std::array<quint32, 3> Fixed_30{};
    quint32 Receive_Row_Count = 0;
    quint32 Transmit_Row_Count = 0;
    quint32 Option_Flags = 0;
    std::array<quint32, 48> Fixed_34{};
    quint32 Image_Load_Address = 0;
    quint32 Second_Address = 0;
    quint32 J1939_Device_Address = 0;

    static constexpr int Size = 360;
    bool operator==(const Image_Header_Fields&) const = default;
};

inline constexpr quint32 Option_Peer_To_Peer = 0x01;
inline constexpr quint32 Image_Load_Address_Value = 0x00064000;
inline constexpr quint32 Second_Address_Value = 0x00066000;

// The compiled configuration: written only by the compiler, read by Save_Bin.
struct Config_Image_Data {
    static constexpr int Bank1_Size = 16384;
    static constexpr int Frame_Count = 256;
    static constexpr int Bank2_Capacity = 262144;
    static constexpr int Frames_Size = 2 * Frame_Count * Frame_Record::Size; // 16384
    static constexpr int Header_Block_Size = 2048;
    static constexpr int Bank2_Size = Frames_Size + Header_Block_Size; // 18432

    // Bank 1 offsets.
    static constexpr int Transmit_Rows_Offset = 7000;
    static constexpr int Row_Size = 5;
    static constexpr int Settings_Offset = 15000;

    std::array<quint8, Bank1_Size> Bank1_Area{};
    std::array<Frame_Record, Frame_Count> Receive_Records{};
    std::array<Frame_Record, Frame_Count> Transmit_Records{};
    Image_Header_Fields Image_Header{};
    quint32 Data_Timeout_ms = 0;
    std::array<quint8, Bank2_Capacity> Bank2_Buffer{};
    qint32 Bank2_Length = 0;
};

// Lives for the whole program run; rows and settings of earlier compilations stay in bank 1.
extern Config_Image_Data Config_Image;

// Back to the state at program start: every byte zero.
void Reset_Config_Image();

// The header as Set_Defaults leaves it.
Image_Header_Fields Header_Defaults();

// The stored field order, shared by the writer, the reader and the dump. `f(name, field)` is
// called for each field; a field is an unsigned integer or a std::array of them.
template <typename Record, typename F> constexpr void Visit_Record(Record& r, F&& f)
{
    f("Identifier", r.Identifier);
    f("Timer_Period", r.Timer_Period);
    f("Data_Timeout", r.Data_Timeout);
    f("Data_Offset", r.Data_Offset);
    f("Start_Byte", r.Start_Byte);
    f("Byte_Count", r.Byte_Count);
    f("reserved", r.Reserved_1);
    f("Request_Time", r.Request_Time);
    f("reserved", r.Reserved_2);
    f("Transport", r.Transport);
    f("Flags", r.Flags);
    f("reserved", r.Reserved_3);
}

template <typename Header, typename F> constexpr void Visit_Header(Header& h, F&& f)
{
    f("J1939 bit rate", h.J1939_Bit_Rate);
    f("DeviceNet bit rate", h.DeviceNet_Bit_Rate);
    f("fixed", h.Fixed_3);
    f("fixed", h.Fixed_4);
    f("fixed", h.Fixed_5);
    f("fixed", h.Fixed_6);
    f("fixed", h.Fixed_7);
    f("fixed", h.Fixed_8);
    f("DeviceNet node address", h.DeviceNet_Node_Address);
    f("fixed", h.Fixed_10);
    f("fixed", h.Fixed_11);
    f("Ethernet IP address", h.IP_Address);
    f("Ethernet subnet mask", h.Subnet_Mask);
    f("Ethernet gateway", h.Gateway);
    f("fixed", h.Fixed_15);
    f("fixed", h.Fixed_16);
    f("fixed", h.Fixed_17);
    f("fixed", h.Fixed_18);
    f("fixed", h.Fixed_19);
    f("fixed", h.Fixed_20);
    f("fixed", h.Fixed_21);
    f("fixed", h.Fixed_22);
    f("fixed", h.Fixed_23);
    f("fixed", h.Fixed_24);
    f("fixed", h.Fixed_25);
    f("receive data size", h.Receive_Data_Size);
    f("transmit data size", h.Transmit_Data_Size);
    f("fixed", h.Fixed_28);
    f("fixed", h.Fixed_29);
    f("fixed", h.Fixed_30);
    f("receive row count", h.Receive_Row_Count);
    f("transmit row count", h.Transmit_Row_Count);
    f("option flags", h.Option_Flags);
    f("fixed", h.Fixed_34);
    f("image load address", h.Image_Load_Address);
    f("second address", h.Second_Address);
    f("J1939 device address", h.J1939_Device_Address);
}

// Stored size of one visited field.
template <typename T> constexpr int Field_Size()
{
    if constexpr (std::is_integral_v<T>)
        return int(sizeof(T));
    else
        return int(std::tuple_size_v<T> * sizeof(typename T::value_type));
}

// Little-endian reads of the stored forms (`p` must hold Size bytes).
Frame_Record Decode_Frame_Record(const quint8* p);
Image_Header_Fields Decode_Image_Header(const quint8* p);
quint32 Get_LE32(const quint8* p);
quint16 Get_LE16(const quint8* p);
