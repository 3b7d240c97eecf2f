#include "report/CommissioningReport.h"

#include "app/UComon.h"
#include "compiler/BankDump.h"
#include "compiler/USaveBincc.h"
#include "compiler/ConfigImage.h"
#include "configurations/ConfigFiles.h"
#include "configurations/CsvTable.h"
#include "configurations/SafeFile.h"
#include "configurations/TextToInt.h"
#include "editors/FrameTables.h"
#include "language/ULanguage.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>

namespace {

namespace M {
inline constexpr int Title = 467, Configuration = 468, Folder = 469, Date_Time = 470,
                     Version = 471, Device_Type = 472, Settings = 473, Setting = 474,
                     Stored = 475, Meaning = 476, Bit_Per_s = 477, Byte_Map = 479, Row = 481,
                     Offset = 482, Bytes = 483, Receive_Data = 485,
                     Transmit_Data = 486, Bytes_Of = 488, Over_Budget = 489, Data_Area = 490,
                     Bank_Files = 491, File = 492, Sha256 = 493, Not_Present = 494,
                     Checksum_Stored = 495, Checksum_Computed = 496, Matches = 497,
                     Does_Not_Match = 498, Warnings = 520, None = 501,
                     Failures = 502, Failures_Note = 503, Updates = 506, Yes = 510, No = 511,
                     Not_Used = 512, Ms = 513, Seconds = 514, Checksum = 515, Data_Size = 516,
                     Receive_Row = 517, Transmit_Row = 518, More_Records = 519;
}

Report_Block Block(Report_Block::Kind kind, const QString& text = {})
{
    Report_Block b;
    b.kind = kind;
    b.text = text;
    return b;
}

Report_Block Table(const QStringList& headers, const QList<QStringList>& rows)
{
    Report_Block b = Block(Report_Block::Kind::Table);
    b.headers = headers;
    b.rows = rows;
    return b;
}

// Editor captions carry blanks for their frame.
QString Caption(int n)
{
    return Msg(n).trimmed();
}

QString Dotted(const std::array<quint8, 4>& a)
{
    return QStringLiteral("%1.%2.%3.%4").arg(a[0]).arg(a[1]).arg(a[2]).arg(a[3]);
}

QString Choice(const QString& text, std::initializer_list<int> messages)
{
    const qint32 i = Text_To_Int(text, -1);
    return i >= 0 && i < qint32(messages.size()) ? Msg(messages.begin()[i]) : QString();
}

QString Switch(const QString& text)
{
    return text == QLatin1String("1") ? Msg(M::Yes) : Msg(M::No);
}

// The settings as typed, each with what the compiled image makes of it.
Report_Block Settings_Table(const ParGen_Settings& s, bool reduced)
{
    const Image_Header_Fields& h = Config_Image.Image_Header;
    const QString j1939 = Caption(405) + QStringLiteral(": ");
    const QString deviceNet = Caption(413) + QStringLiteral(": ");
    const QString ethernet = Caption(416) + QStringLiteral(": ");
    QList<QStringList> rows = {
        {Caption(402), s.Device_Type, reduced ? Msg(403) : Msg(404)},
        {j1939 + Msg(406), s.Can_Baud, QString::number(h.J1939_Bit_Rate) + Msg(M::Bit_Per_s)},
    };
    if (reduced) {
        rows << QStringList{j1939 + Msg(407), s.How_Send, Choice(s.How_Send, {408, 409})};
        rows << QStringList{j1939 + Msg(410), s.Delay_Send,
                            QString::number(Text_To_Int(s.Delay_Send, 0)) + Msg(M::Ms)};
    }
    rows << QStringList{j1939 + Msg(411), s.TimeOut_Data,
                        QString::number(Config_Image.Data_Timeout_ms / 1000u) + Msg(M::Seconds)};
    rows << QStringList{j1939 + Msg(412), s.PeerToPeer, Switch(s.PeerToPeer)};
    if (!reduced)
        rows << QStringList{j1939 + Msg(460), s.J1939_Device_ID,
                            QString::number(h.J1939_Device_Address)};
    rows << QStringList{deviceNet + Msg(414), s.Net_Dev_Id,
                        QString::number(h.DeviceNet_Node_Address)};
    rows << QStringList{deviceNet + Msg(415), s.Net_Baud,
                        QString::number(h.DeviceNet_Bit_Rate) + Msg(M::Bit_Per_s)};
    if (!reduced) {
        const QString dot = QStringLiteral(".");
        rows << QStringList{ethernet + Msg(417),
                            QStringList{s.Ethernet_IP1, s.Ethernet_IP2, s.Ethernet_IP3,
                                        s.Ethernet_IP4}
                                .join(dot),
                            Dotted(h.IP_Address)};
        rows << QStringList{ethernet + Msg(418),
                            QStringList{s.Ethernet_SM1, s.Ethernet_SM2, s.Ethernet_SM3,
                                        s.Ethernet_SM4}
                                .join(dot),
                            Dotted(h.Subnet_Mask)};
        const bool gateway = s.Ethernet_EN_GAT == QLatin1String("1");
        rows << QStringList{ethernet + Msg(419),
                            QStringList{s.Ethernet_GAT1, s.Ethernet_GAT2, s.Ethernet_GAT3,
                                        s.Ethernet_GAT4}
                                .join(dot),
                            gateway ? Dotted(h.Gateway) : Msg(M::Not_Used)};
    }
    return Table({Msg(M::Setting), Msg(M::Stored), Msg(M::Meaning)}, rows);
}

// A frame table with the columns its editor shows in this layout.
Report_Block Frame_Table(const Frame_Table_Kind& kind, const Frame_Table_Content& content)
{
    QStringList headers;
    QList<int> shown;
    for (int c = 0; c < int(kind.columns.size()); ++c)
        if (!content.reduced || kind.columns[c].shown_reduced) {
            headers << Msg(kind.columns[c].header);
            shown << c;
        }
    QList<QStringList> rows;
    for (qsizetype r = 0; r < content.rows.size(); ++r) {
        const Frame_Cells& cells = content.rows[r];
        if (cells.join(QString()).trimmed().isEmpty())
            continue;
        QStringList line;
        for (int c : shown)
            line << (c == 0 ? QString::number(r + 1) : cells.value(c - 1));
        rows << line;
    }
    return Table(headers, rows);
}

QList<Report_Block> Byte_Map_Blocks(const Byte_Map_Table& t, int tableCaption, int rowLetter)
{
    QList<Report_Block> out;
    out << Block(Report_Block::Kind::Heading, Msg(M::Byte_Map) + QStringLiteral(" - ") +
                                                  Msg(tableCaption));
    const bool receive = rowLetter == M::Receive_Row;
    QStringList headers = {Msg(M::Row),  Msg(M::Offset), Msg(M::Bytes), Msg(615),
                           Msg(616),     Msg(617)};
    if (receive)
        headers << Msg(619);
    headers << Msg(624);
    QList<QStringList> rows;
    Report_Block bar = Block(Report_Block::Kind::Bar, Msg(M::Data_Area));
    bar.budget = Frame_Byte_Budget;
    bar.used = t.Data_Size;
    for (const Byte_Map_Row& r : t.rows) {
        QStringList line = {QString::number(r.row),      QString::number(r.Data_Offset),
                            QString::number(r.Byte_Count), QString::number(r.Data_Page),
                            Pgn_Text(r.PGN),             QString::number(r.SA)};
        if (receive)
            line << QString::number(r.Start_Byte.value_or(0));
        line << r.Mnemonic;
        rows << line;
        Report_Bar_Box box;
        box.offset = r.Data_Offset;
        box.bytes = r.Byte_Count;
        box.label = Msg(rowLetter) + QString::number(r.row);
        if (!r.Mnemonic.trimmed().isEmpty())
            box.label += QStringLiteral(" ") + r.Mnemonic.trimmed();
        bar.boxes << box;
    }
    out << Table(headers, rows);
    const QString total = Msg(receive ? M::Receive_Data : M::Transmit_Data) +
                          QString::number(t.Data_Size) + Msg(M::Bytes_Of) +
                          QString::number(Frame_Byte_Budget);
    out << Block(t.Over_Budget() ? Report_Block::Kind::Alert : Report_Block::Kind::Line,
                 t.Over_Budget() ? total + Msg(M::Over_Budget) : total);
    out << bar;
    return out;
}

QList<Report_Block> File_Blocks(const QString& confDir)
{
    QList<Report_Block> out;
    out << Block(Report_Block::Kind::Heading, Msg(M::Bank_Files));
    QList<QStringList> rows;
    const QString binDir = Path_Join(confDir, QStringLiteral("bin"));
    Recover_Bank_Files(binDir);
    // Named from the configuration folder, which the report names above.
    const auto hashRow = [&](const QString& relative) {
        const QString sha = File_Sha256(Path_Join(confDir, relative));
        rows << QStringList{QDir::toNativeSeparators(relative),
                            sha.isEmpty() ? Msg(M::Not_Present) : sha};
    };
    const QString bank2 = Path_Join(binDir, QStringLiteral("bank2.bin"));
    hashRow(QStringLiteral("bin/bank1.bin"));
    hashRow(QStringLiteral("bin/bank2.bin"));
    hashRow(QStringLiteral("New_sx38591.sx"));
    out << Table({Msg(M::File), Msg(M::Sha256)}, rows);
    if (QFileInfo(bank2).isFile()) {
        const std::optional<Bank2_Checksum> sum = Bank2_Checksum_Of(Read_Whole_File(bank2));
        if (sum) {
            const auto hex = [](quint32 v) {
                return QStringLiteral("0x%1").arg(v, 8, 16, QLatin1Char('0')).toUpper().replace(
                    QStringLiteral("0X"), QStringLiteral("0x"));
            };
            const bool same = sum->stored == sum->computed;
            out << Block(Report_Block::Kind::Line, Msg(M::Checksum_Stored) + hex(sum->stored));
            out << Block(same ? Report_Block::Kind::Line : Report_Block::Kind::Alert,
                         Msg(M::Checksum_Computed) + hex(sum->computed) + QStringLiteral(" - ") +
                             Msg(same ? M::Matches : M::Does_Not_Match));
        } else {
            out << Block(Report_Block::Kind::Alert, Msg(M::Checksum) + Msg(M::Data_Size) +
                                                        QString::number(QFileInfo(bank2).size()));
        }
    }
    return out;
}

QList<Report_Block> Update_Log_Blocks(const QString& confDir)
{
    const QString path = Path_Join(confDir, QStringLiteral("update-log.csv"));
    if (!QFileInfo(path).isFile())
        return {};
    const QByteArray bytes = Read_Whole_File(path);
    QList<QStringList> records;
    try {
        records = Read_Csv_Records(bytes, path);
    } catch (const App_Error&) {
        // A record cut by a crash must not hide the others: read line by line, leave it out.
        for (const QByteArray& line : bytes.split('\n')) {
            try {
                records << Read_Csv_Records(line, path);
            } catch (const App_Error&) {
            }
        }
    }
    if (records.isEmpty())
        return {};
    QList<Report_Block> out;
    out << Block(Report_Block::Kind::Heading, Msg(M::Updates));
    const QStringList headers = records.takeFirst();
    const qsizetype skipped = std::max<qsizetype>(0, records.size() - Report_Update_Records);
    if (skipped > 0)
        out << Block(Report_Block::Kind::Line, Msg(M::More_Records) + QString::number(skipped));
    QList<QStringList> rows;
    for (qsizetype i = skipped; i < records.size(); ++i) {
        QStringList r = records[i];
        while (r.size() < headers.size())
            r << QString();
        rows << r.mid(0, headers.size());
    }
    out << Table(headers, rows);
    return out;
}

} // namespace

QStringList Report_Document::Texts() const
{
    QStringList out = {title};
    for (const Report_Block& b : blocks) {
        if (!b.text.isEmpty())
            out << b.text;
        out << b.headers;
        for (const QStringList& r : b.rows)
            out << r;
        for (const Report_Bar_Box& box : b.boxes)
            out << box.label;
    }
    return out;
}

QString File_Sha256(const QString& path)
{
    if (!QFileInfo(path).isFile())
        return {};
    return QString::fromLatin1(
        QCryptographicHash::hash(Read_Whole_File(path), QCryptographicHash::Sha256).toHex());
}

Report_Document Make_Report(const QString& confDir, const QDateTime& when)
{
    Shared.Conf_Dir = confDir;
    Set_Files();
    const Byte_Map map = Compile_Byte_Map();

    const ParGen_Load parGen = Read_ParGen(Shared.File_ParGen);
    const bool reduced = Is_Device_Without_Ethernet(Shared.File_ParGen);

    Report_Document doc;
    doc.title = Msg(M::Title);
    auto& b = doc.blocks;
    using K = Report_Block::Kind;
    b << Block(K::Title, doc.title);
    const QString name = QFileInfo(confDir).fileName();
    b << Block(K::Line, Msg(M::Configuration) + name);
    b << Block(K::Line, Msg(M::Folder) + QDir::toNativeSeparators(QFileInfo(confDir).absoluteFilePath()));
    b << Block(K::Line, Msg(M::Date_Time) + when.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
    b << Block(K::Line, Msg(M::Version) + SW_Version_Text);
    b << Block(K::Line, Msg(M::Device_Type) + (reduced ? Msg(403) : Msg(404)));

    const Frame_Table_Kind* kinds[] = {&Receive_Table, &Send_Table};
    QStringList failures;
    QStringList warnings;
    for (const Frame_Table_Kind* kind : kinds) {
        const QString path = Shared.*(kind->file_path);
        const QString caption = Msg(kind->msg);
        for (const QString& f : Check_Frame_File_All(*kind, Shared.File_ParGen, path))
            failures << caption + QStringLiteral(": ") + f.simplified();
        for (const QString& w : Frame_File_Warnings(*kind, Shared.File_ParGen, path))
            warnings << caption + QStringLiteral(": ") + w;
    }
    if (!failures.isEmpty()) {
        b << Block(K::Heading, Msg(M::Failures));
        b << Block(K::Alert, Msg(M::Failures_Note));
        for (const QString& f : failures)
            b << Block(K::Alert, f);
    }

    b << Block(K::Heading, Msg(M::Settings));
    b << Settings_Table(parGen.values, reduced);

    for (const Frame_Table_Kind* kind : kinds) {
        b << Block(K::Heading, Msg(kind->msg));
        b << Frame_Table(*kind, Load_Frame_Table(*kind, Shared.File_ParGen, Shared.*(kind->file_path)));
    }

    b << Byte_Map_Blocks(map.receive, Receive_Table.msg, M::Receive_Row);
    b << Byte_Map_Blocks(map.transmit, Send_Table.msg, M::Transmit_Row);

    b << Block(K::Heading, Msg(M::Warnings));
    if (warnings.isEmpty())
        b << Block(K::Line, Msg(M::None));
    for (const QString& w : warnings)
        b << Block(K::Line, w);

    b << File_Blocks(confDir);
    b << Update_Log_Blocks(confDir);
    return doc;
}
