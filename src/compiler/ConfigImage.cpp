#include "compiler/ConfigImage.h"

Config_Image_Data Config_Image;

void Reset_Config_Image()
{
    // In place: a temporary of the whole image would not fit every thread's stack.
    Config_Image.Bank1_Area.fill(0);
    Config_Image.Receive_Records.fill(Frame_Record{});
    Config_Image.Transmit_Records.fill(Frame_Record{});
    Config_Image.Image_Header = Image_Header_Fields{};
    Config_Image.Data_Timeout_ms = 0;
    Config_Image.Bank2_Buffer.fill(0);
    Config_Image.Bank2_Length = 0;
}

Image_Header_Fields Header_Defaults()
{
    Image_Header_Fields h;
    h.J1939_Bit_Rate = 125000;
    h.DeviceNet_Bit_Rate = 125000;
    h.Fixed_4 = 9600;
    h.Fixed_5 = 8;
    h.IP_Address = {192, 168, 2, 205};
    h.Subnet_Mask = {255, 255, 255, 0};
    h.Gateway = {255, 255, 255, 255};
    h.Fixed_15 = 10000;
    h.Fixed_16 = 10001;
    h.Fixed_17 = 10001;
    h.Fixed_19 = 9600;
    h.Fixed_20 = 8;
    return h;
}

namespace {

template <typename T> void Read_Field(const quint8*& p, T& v)
{
    if constexpr (std::is_integral_v<T>) {
        quint64 x = 0;
        for (std::size_t k = 0; k < sizeof(T); ++k)
            x |= quint64(p[k]) << (8 * k);
        v = T(x);
        p += sizeof(T);
    } else {
        for (auto& e : v)
            Read_Field(p, e);
    }
}

} // namespace

quint32 Get_LE32(const quint8* p)
{
    quint32 v;
    Read_Field(p, v);
    return v;
}

quint16 Get_LE16(const quint8* p)
{
    quint16 v;
    Read_Field(p, v);
    return v;
}

Frame_Record Decode_Frame_Record(const quint8* p)
{
    Frame_Record r;
    Visit_Record(r, [&](const char*, auto& field) { Read_Field(p, field); });
    return r;
}

Image_Header_Fields Decode_Image_Header(const quint8* p)
{
    Image_Header_Fields h;
    Visit_Header(h, [&](const char*, auto& field) { Read_Field(p, field); });
    return h;
}
