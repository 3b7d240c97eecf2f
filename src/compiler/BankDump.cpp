#include "compiler/BankDump.h"

#include "app/UComon.h"
#include "compiler/ConfigImage.h"

#include <QStringList>

namespace {

QString Hex(quint64 v, int digits)
{
    return QStringLiteral("0x") + QString::number(v, 16).toUpper().rightJustified(digits, u'0');
}

QString Line(const QString& at, const char* name, const QString& value)
{
    return QStringLiteral("  %1  %2 %3\n")
        .arg(at, QString::fromLatin1(name).leftJustified(24), value);
}

QString Choice(int index, const QStringList& choices)
{
    const QString n = QString::number(index);
    return index < choices.size() ? n + QStringLiteral(" (") + choices.at(index) + u')' : n;
}

QString All_Zero_Or_First(const quint8* p, int from, int to)
{
    for (int i = from; i < to; ++i)
        if (p[i] != 0)
            return QStringLiteral("not zero (first at %1)").arg(i);
    return QStringLiteral("all zero");
}

QString Dump_Bank1(const quint8* b, const QString& name)
{
    const QStringList canBaud = {"10K",  "20K",  "50K",  "100K", "125K",
                                 "250K", "500K", "800K", "1000K"};
    const QStringList howSend = {"On Data Change", "On Timer"};
    const QStringList netBaud = {"125K", "250K", "500K"};
    const int s = Config_Image_Data::Settings_Offset;
    const int receiveCount = b[s + 10];
    const int transmitCount = b[s + 11];
    auto at = [](int offset) { return QString::number(offset).rightJustified(5); };

    QString out = name + QStringLiteral(": bank1.bin image, 16384 bytes\nSettings\n");
    out += Line(at(s), "Can_Baud", Choice(b[s], canBaud));
    out += Line(at(s + 1), "CAN_Type", QString::number(b[s + 1]));
    out += Line(at(s + 2), "How_Send", Choice(b[s + 2], howSend));
    out += Line(at(s + 3), "Delay_Send", QString::number(Get_LE16(b + s + 3)) + " ms");
    out += Line(at(s + 5), "TimeOut_Data", QString::number(Get_LE16(b + s + 5)) + " s");
    out += Line(at(s + 7), "PeerToPeer", QString::number(b[s + 7]));
    out += Line(at(s + 8), "Net_Dev_Id", QString::number(b[s + 8]));
    out += Line(at(s + 9), "Net_Baud", Choice(b[s + 9], netBaud));
    out += Line(at(s + 10), "receive row count", QString::number(receiveCount));
    out += Line(at(s + 11), "transmit row count", QString::number(transmitCount));
    out += Line(at(s + 12), "unused, to 16383",
                All_Zero_Or_First(b, s + 12, Config_Image_Data::Bank1_Size));

    auto pgn = [&](int offset) {
        const quint16 v = Get_LE16(b + offset);
        return QStringLiteral("%1 (%2)").arg(v).arg(Hex(v, 4));
    };
    out += QStringLiteral("Receive rows: %1\n").arg(receiveCount);
    for (int i = 0; i < receiveCount; ++i) {
        const int o = Config_Image_Data::Row_Size * i;
        out += QStringLiteral("  row %1 at %2: DataPage %3, PGN %4, SA %5, cancel data %6\n")
                   .arg(i + 1, 3)
                   .arg(o, 5)
                   .arg(b[o])
                   .arg(pgn(o + 1))
                   .arg(b[o + 3])
                   .arg(b[o + 4]);
    }
    out += QStringLiteral("Transmit rows: %1\n").arg(transmitCount);
    for (int i = 0; i < transmitCount; ++i) {
        const int o = Config_Image_Data::Transmit_Rows_Offset + Config_Image_Data::Row_Size * i;
        out += QStringLiteral("  row %1 at %2: Priority %3, DataPage %4, PGN %5, SA %6\n")
                   .arg(i + 1, 3)
                   .arg(o, 5)
                   .arg(b[o])
                   .arg(b[o + 1])
                   .arg(pgn(o + 2))
                   .arg(b[o + 4]);
    }
    return out;
}

template <typename T> QString Field_Text(const char* name, const T& v)
{
    const QLatin1String n(name);
    if constexpr (std::is_integral_v<T>) {
        if (n == QLatin1String("Flags"))
            return Hex(v, 2);
        const bool hex = n == QLatin1String("Identifier") || n == QLatin1String("option flags") ||
                         n == QLatin1String("image load address") ||
                         n == QLatin1String("second address") || quint64(v) == 0xFFFFFFFFu;
        return hex ? Hex(v, 2 * int(sizeof(T))) : QString::number(v);
    } else {
        QStringList parts;
        bool zero = true;
        for (auto e : v) {
            parts << QString::number(e);
            zero = zero && e == 0;
        }
        if (n.startsWith(QLatin1String("Ethernet")))
            return parts.join(u'.');
        return zero ? QStringLiteral("0") : parts.join(u' ');
    }
}

QString Dump_Records(const char* title, const quint8* p, int fileOffset)
{
    QString body;
    int used = 0;
    for (int n = 0; n < Config_Image_Data::Frame_Count; ++n) {
        const Frame_Record r = Decode_Frame_Record(p + Frame_Record::Size * n);
        if (r == Frame_Record::Empty())
            continue;
        ++used;
        QStringList fields;
        Visit_Record(r, [&](const char* name, const auto& v) {
            if (qstrcmp(name, "reserved") != 0 || v != 0)
                fields << QString::fromLatin1(name) + u' ' + Field_Text(name, v);
        });
        body += QStringLiteral("  entry %1 at %2: %3\n")
                    .arg(n, 3)
                    .arg(Hex(fileOffset + Frame_Record::Size * n, 4),
                         fields.join(QStringLiteral(", ")));
    }
    return QStringLiteral("%1: %2 of %3 in use\n")
               .arg(QLatin1String(title))
               .arg(used)
               .arg(Config_Image_Data::Frame_Count) +
           body;
}

QString Dump_Bank2(const quint8* b, const QString& name)
{
    const int headerAt = Config_Image_Data::Frames_Size;
    const quint8* header = b + headerAt;
    QString out =
        name +
        QStringLiteral(": bank2.bin image, 18432 bytes\nHeader at %1\n").arg(Hex(headerAt, 4));
    int offset = headerAt;
    const Image_Header_Fields fields = Decode_Image_Header(header);
    Visit_Header(fields, [&](const char* name, const auto& v) {
        out += Line(Hex(offset, 4), name, Field_Text(name, v));
        offset += Field_Size<std::remove_cvref_t<decltype(v)>>();
    });
    const int checksumAt = Config_Image_Data::Header_Block_Size - 4;
    out += Line(Hex(offset, 4), "zero fill", All_Zero_Or_First(b, offset, headerAt + checksumAt));
    quint32 sum = 0;
    for (int i = 0; i < checksumAt; ++i)
        sum += header[i];
    const quint32 stored = Get_LE32(header + checksumAt);
    out += Line(
        Hex(headerAt + checksumAt, 4), "checksum",
        QStringLiteral("%1 (%2), computed %3 (%4): %5")
            .arg(stored)
            .arg(Hex(stored, 8))
            .arg(sum)
            .arg(Hex(sum, 8))
            .arg(stored == sum ? QStringLiteral("matches") : QStringLiteral("DOES NOT MATCH")));
    out += Dump_Records("Receive records", b, 0);
    out += Dump_Records("Transmit records", b + Config_Image_Data::Frames_Size / 2,
                        Config_Image_Data::Frames_Size / 2);
    return out;
}

} // namespace

QStringList Bank_Faults(const QByteArray& bytes)
{
    QStringList faults;
    if (bytes.size() != Config_Image_Data::Bank2_Size)
        return faults;
    const auto* b = reinterpret_cast<const quint8*>(bytes.constData());
    const int headerAt = Config_Image_Data::Frames_Size;
    const quint8* header = b + headerAt;

    // What a compilation always writes there.
    Image_Header_Fields fixed = Header_Defaults();
    fixed.Image_Load_Address = Image_Load_Address_Value;
    fixed.Second_Address = Second_Address_Value;
    QStringList expected;
    Visit_Header(fixed, [&](const char* n, const auto& v) { expected << Field_Text(n, v); });

    int offset = headerAt;
    int i = 0;
    const Image_Header_Fields stored_fields = Decode_Image_Header(header);
    Visit_Header(stored_fields, [&](const char* n, const auto& v) {
        const QLatin1String field(n);
        const QString got = Field_Text(n, v);
        if ((field == QLatin1String("fixed") || field == QLatin1String("image load address") ||
             field == QLatin1String("second address")) &&
            got != expected.at(i))
            faults << QStringLiteral("%1 at %2 holds %3, not its fixed value %4")
                          .arg(field, Hex(offset, 4), got, expected.at(i));
        offset += Field_Size<std::remove_cvref_t<decltype(v)>>();
        ++i;
    });
    const int checksumAt = Config_Image_Data::Header_Block_Size - 4;
    const Bank2_Checksum sum = *Bank2_Checksum_Of(bytes);
    if (sum.stored != sum.computed)
        faults << QStringLiteral("checksum at %1 holds %2, computed %3")
                      .arg(Hex(headerAt + checksumAt, 4))
                      .arg(sum.stored)
                      .arg(sum.computed);
    return faults;
}

std::optional<Bank2_Checksum> Bank2_Checksum_Of(const QByteArray& bytes)
{
    if (bytes.size() != Config_Image_Data::Bank2_Size)
        return std::nullopt;
    const auto* header =
        reinterpret_cast<const quint8*>(bytes.constData()) + Config_Image_Data::Frames_Size;
    const int checksumAt = Config_Image_Data::Header_Block_Size - 4;
    Bank2_Checksum c;
    for (int k = 0; k < checksumAt; ++k)
        c.computed += header[k];
    c.stored = Get_LE32(header + checksumAt);
    return c;
}

QString Dump_Bank(const QByteArray& bytes, const QString& name)
{
    const auto* b = reinterpret_cast<const quint8*>(bytes.constData());
    if (bytes.size() == Config_Image_Data::Bank1_Size)
        return Dump_Bank1(b, name);
    if (bytes.size() == Config_Image_Data::Bank2_Size)
        return Dump_Bank2(b, name);
    throw App_Error(QStringLiteral("%1 has %2 bytes; a bank1.bin has %3 bytes and a bank2.bin %4 "
                                   "bytes.")
                        .arg(name, QString::number(bytes.size()),
                             QString::number(Config_Image_Data::Bank1_Size),
                             QString::number(Config_Image_Data::Bank2_Size)));
}
