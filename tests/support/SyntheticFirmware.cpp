#include "support/SyntheticFirmware.h"

#include <QDir>
#include <QFile>

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

Compose_Folder::Compose_Folder()
{
    QDir().mkpath(master);
    QDir().mkpath(bin);
    Write(bin + QStringLiteral("/bank1.bin"), bank1);
    Write(bin + QStringLiteral("/bank2.bin"), bank2);
}

void Compose_Folder::Write(const QString& path, const QByteArray& data)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(data) != data.size())
        qFatal("cannot write %s", qPrintable(path));
}

QByteArray Compose_Folder::Expected(const QByteArrayList& lines) const
{
    QByteArrayList out;
    for (const QByteArray& l : lines) {
        if (l == "BANK1")
            out += Window_Lines(bank1, 0x388000);
        else if (l == "BANK2")
            out += Window_Lines(bank2, 0x398000);
        else
            out.append(l);
    }
    return Join_Lines(out);
}

QStringList Compose_Folder::Leftovers() const
{
    QStringList files = QDir(conf).entryList(QDir::Files);
    files.removeAll(QStringLiteral("New_sx38591.sx"));
    files.removeAll(QStringLiteral("update-log.csv")); // the record of a hand-over to the tool
    const QStringList binFiles = QDir(bin).entryList(QDir::Files);
    for (const QString& f : binFiles)
        if (f != QLatin1String("bank1.bin") && f != QLatin1String("bank2.bin"))
            files.append(QStringLiteral("bin/") + f);
    return files;
}
