#include "support/SyntheticFirmware.h"

QByteArray Srec_Line(const QByteArray& type, int addressBytes, quint32 address,
                     const QByteArray& data)
{
    QByteArray bytes;
    bytes.append(char(addressBytes + data.size() + 1));
    for (int i = addressBytes - 1; i >= 0; --i)
        bytes.append(char((address >> (8 * i)) & 0xFF));
    bytes.append(data);
    unsigned sum = 0;
    for (char c : bytes)
        sum += quint8(c);
    bytes.append(char(~sum & 0xFF));
    return type + bytes.toHex().toUpper();
}

QByteArray S2_Line(quint32 address, const QByteArray& data)
{
    return Srec_Line("S2", 3, address, data);
}

QByteArrayList Window_Lines(const QByteArray& image, quint32 first)
{
    QByteArrayList lines;
    for (int offset = 0; offset < 0x4000; offset += 32)
        lines.append(S2_Line(first + quint32(offset), image.mid(offset, 32)));
    return lines;
}

QByteArray Pattern_Image(int size, int seed)
{
    QByteArray image(size, 0);
    for (int i = 0; i < size; ++i)
        image[i] = char((i * 7 + seed + i / 251) & 0xFF);
    return image;
}

QByteArrayList Synthetic_Firmware()
{
    QByteArrayList lines;
    lines.append(Srec_Line("S0", 2, 0, "synthetic"));
    lines.append(Srec_Line("S1", 2, 0x0000, QByteArray(16, '\x01')));
    lines.append(Srec_Line("S1", 2, 0x0010, QByteArray(16, '\x02')));
    lines.append(S2_Line(0x387FE0, QByteArray(32, '\x10')));
    lines.append(S2_Line(0x388000, QByteArray(32, '\x11')));
    lines.append(S2_Line(0x38BFE0, QByteArray(32, '\x12')));
    lines.append(S2_Line(0x38C000, QByteArray(32, '\x13')));
    lines.append(S2_Line(0x398000, QByteArray(32, '\x21')));
    lines.append(S2_Line(0x39A000, QByteArray(32, '\x22')));
    lines.append(S2_Line(0x39C000, QByteArray(32, '\x23')));
    lines.append(Srec_Line("S9", 2, 0x0000, {}));
    return lines;
}

QByteArray Join_Lines(const QByteArrayList& lines, const QByteArray& eol)
{
    QByteArray out;
    for (const QByteArray& l : lines)
        out += l + eol;
    return out;
}
