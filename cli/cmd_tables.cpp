#include "Commands.h"
#include "app/UComon.h"
#include "configurations/CsvTable.h"
#include "configurations/DbcFile.h"
#include "configurations/SafeFile.h"
#include "configurations/TextToInt.h"
#include "editors/FrameTables.h"
#include "language/ULanguage.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QTextStream>

#include <optional>

// export and import: the frame tables to and from the files technicians already have, CSV
// from spreadsheets and DBC databases from engine and gearbox makers.

namespace {

struct Table_Args {
    const Frame_Table_Kind* kind = nullptr;
    QString confDir;
};

const Frame_Table_Kind* Kind_Of(const QString& name)
{
    if (name == QLatin1String("receive"))
        return &Receive_Table;
    if (name == QLatin1String("transmit"))
        return &Send_Table;
    return nullptr;
}

Csv_Layout Layout_Of(const Frame_Table_Kind& kind)
{
    return &kind == &Receive_Table ? Receive_Csv_Layout() : Send_Csv_Layout();
}

// The rows a save of the opened table keeps: up to the first blank key cell.
QList<Frame_Cells> Saved_Rows(const Frame_Table_Kind& kind, const QList<Frame_Cells>& rows)
{
    QList<Frame_Cells> out;
    for (const Frame_Cells& r : rows) {
        if (r.value(kind.key_column - 1).trimmed().isEmpty())
            break;
        out << r;
    }
    return out;
}

QString Native(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

QCommandLineOption Table_Option()
{
    return {QStringLiteral("table"), QStringLiteral("the frame table: receive or transmit"),
            QStringLiteral("receive|transmit")};
}

} // namespace

Cli_Command Export_Command()
{
    return {
        QStringLiteral("export"),
        QStringLiteral("export CONF_DIR --table receive|transmit --csv FILE"),
        QStringLiteral("write a frame table as CSV, every cell, titles as the English table"),
        {Table_Option(),
         {QStringLiteral("csv"), QStringLiteral("the CSV file to write"), QStringLiteral("FILE")}},
        {{QStringLiteral("CONF_DIR"), QStringLiteral("the configuration folder")}},
        Cmd_Export};
}

int Cmd_Export(const QStringList& args, QTextStream& out, QTextStream& err)
{
    QCommandLineParser p;
    if (const auto rc = Cli_Parse(p, Export_Command(), args, out, err))
        return *rc;
    const QString confDir = QDir::fromNativeSeparators(p.positionalArguments().first());
    const QString csv = p.value(QStringLiteral("csv"));
    const Frame_Table_Kind* kind = Kind_Of(p.value(QStringLiteral("table")));
    if (p.isSet(QStringLiteral("table")) && !kind)
        return Cli_Wrong_Usage(Export_Command(),
                               QStringLiteral("--table takes receive or transmit"), err);
    if (!kind || csv.isEmpty())
        return Cli_Wrong_Usage(Export_Command(), QStringLiteral("--table and --csv are needed"),
                               err);
    if (!QFileInfo(confDir).isDir()) {
        err << "error: the configuration folder " << Native(confDir) << " does not exist.\n";
        return 1;
    }
    try {
        const QString path = Path_Join(confDir, kind->file_name);
        const Frame_Table_Content content =
            Load_Frame_Table(*kind, Path_Join(confDir, QStringLiteral("ParGen.xml")), path);
        const QList<Frame_Cells> rows = Saved_Rows(*kind, content.rows);
        Write_File_Atomic(csv, Csv_Text(Layout_Of(*kind), rows));
        if (content.file_rows > content.rows.size())
            err << "warning: " << kind->file_name << " holds "
                << content.file_rows - content.rows.size()
                << " rows more than the table; they are not exported\n";
        out << "exported " << rows.size() << " rows to " << Native(csv) << '\n';
    } catch (const App_Error& e) {
        err << "error: " << e.text().simplified() << '\n';
        return 1;
    }
    return 0;
}

Cli_Command Import_Command()
{
    return {QStringLiteral("import"),
            QStringLiteral("import CONF_DIR --table receive|transmit\n"
                           "         (--csv FILE | --dbc FILE [--messages NAME[,NAME...]] "
                           "[--sa N]) [--append]"),
            QStringLiteral("replace (or with --append extend) a frame table from a CSV file or\n"
                           "the messages of a DBC file, checked as the editor checks on OK"),
            {Table_Option(),
             {QStringLiteral("csv"), QStringLiteral("a CSV file of rows"), QStringLiteral("FILE")},
             {QStringLiteral("dbc"), QStringLiteral("a DBC file of J1939 messages"),
              QStringLiteral("FILE")},
             {QStringLiteral("messages"),
              QStringLiteral("only these messages of the DBC file, refused when they do not fit"),
              QStringLiteral("NAME[,NAME...]")},
             {QStringLiteral("sa"),
              QStringLiteral("the source address of every row from the DBC file (0 to 255)"),
              QStringLiteral("N")},
             {QStringLiteral("append"), QStringLiteral("add after the stored rows")}},
            {{QStringLiteral("CONF_DIR"), QStringLiteral("the configuration folder")}},
            Cmd_Import};
}

int Cmd_Import(const QStringList& args, QTextStream& out, QTextStream& err)
{
    QCommandLineParser p;
    if (const auto rc = Cli_Parse(p, Import_Command(), args, out, err))
        return *rc;
    const auto wrong = [&](const QString& what) {
        return Cli_Wrong_Usage(Import_Command(), what, err);
    };
    const QString confDir = QDir::fromNativeSeparators(p.positionalArguments().first());
    const QString csv = p.value(QStringLiteral("csv"));
    const QString dbc = p.value(QStringLiteral("dbc"));
    const bool append = p.isSet(QStringLiteral("append"));
    const Frame_Table_Kind* kind = Kind_Of(p.value(QStringLiteral("table")));
    if (p.isSet(QStringLiteral("table")) && !kind)
        return wrong(QStringLiteral("--table takes receive or transmit"));
    QStringList names;
    const bool namesGiven = p.isSet(QStringLiteral("messages"));
    for (const QString& n : p.value(QStringLiteral("messages")).split(QLatin1Char(',')))
        if (!n.trimmed().isEmpty())
            names << n.trimmed();
    if (namesGiven && names.isEmpty())
        return wrong(QStringLiteral("--messages names no message"));
    std::optional<int> sa;
    if (p.isSet(QStringLiteral("sa"))) {
        const int v = Text_To_Int(p.value(QStringLiteral("sa")), -1);
        if (v < 0 || v > 255)
            return wrong(QStringLiteral("--sa takes a source address from 0 to 255"));
        sa = v;
    }
    if (!kind)
        return wrong(QStringLiteral("the configuration folder and --table are needed"));
    if (csv.isEmpty() == dbc.isEmpty())
        return wrong(QStringLiteral("give either --csv or --dbc"));
    if (!csv.isEmpty() && (namesGiven || sa))
        return wrong(QStringLiteral("--messages and --sa go with --dbc"));
    if (!QFileInfo(confDir).isDir()) {
        err << "error: the configuration folder " << Native(confDir) << " does not exist.\n";
        return 1;
    }

    // The texts the error boxes show with the built-in language.
    Load_Default_Language();
    const QString parGen = Path_Join(confDir, QStringLiteral("ParGen.xml"));
    const QString path = Path_Join(confDir, kind->file_name);
    try {
        const Frame_Table_Content content = Load_Frame_Table(*kind, parGen, path);
        QList<Frame_Cells> rows = append ? Saved_Rows(*kind, content.rows) : QList<Frame_Cells>{};
        const int capacity = Frame_Row_Count(content.reduced) - 1;
        const int first = int(rows.size()) + 1;
        QStringList lines; // printed once the file is written

        if (!csv.isEmpty()) {
            const Csv_Import in = Read_Csv_Table(Read_Whole_File(csv), csv, Layout_Of(*kind));
            for (const QString& u : in.unknown)
                lines << QStringLiteral("warning: the column \"%1\" is not one of the table's; "
                                        "it is not imported")
                             .arg(u);
            if (rows.size() + in.rows.size() > capacity)
                throw App_Error(QStringLiteral("%1 rows do not fit: the table holds %2 and has %3 "
                                               "left")
                                    .arg(in.rows.size())
                                    .arg(capacity)
                                    .arg(capacity - rows.size()));
            for (qsizetype i = 0; i < in.rows.size(); ++i) {
                rows << in.rows[i];
                lines << QStringLiteral("row %1: from line %2").arg(rows.size()).arg(in.lines[i]);
            }
        } else {
            const Dbc_File file = Read_Dbc_File(dbc);
            for (const QString& n : names) {
                const bool found = std::any_of(file.messages.cbegin(), file.messages.cend(),
                                               [&](const Dbc_Message& m) { return m.name == n; });
                if (!found) {
                    err << "sw38591-cli import: no message named " << n << " in " << Native(dbc)
                        << '\n';
                    return 2;
                }
            }
            Dbc_Choice choice;
            choice.receive = kind == &Receive_Table;
            choice.names = names;
            choice.sa = sa;
            choice.existing = rows;
            choice.rows_left = capacity - int(rows.size());
            // The reduced table's checks count no bytes.
            choice.bytes_left =
                content.reduced ? Dbc_No_Budget : Frame_Byte_Budget - kind->bytes_used(rows);
            const Dbc_Mapping mapping = Map_Dbc_Messages(file, choice);
            for (const Dbc_Row& r : mapping.rows) {
                if (!r.skipped.isEmpty()) {
                    lines << QStringLiteral("skipped %1: %2").arg(r.message, r.skipped);
                    continue;
                }
                rows << r.cells;
                const J1939_Id j = Split_J1939_Id(r.id);
                lines << QStringLiteral("row %1: %2, identifier 0x%3, PGN %4 (%5), %6 bytes")
                             .arg(rows.size())
                             .arg(r.message)
                             .arg(QString::number(j.can_id, 16).toUpper().rightJustified(8, u'0'))
                             .arg(r.cells[choice.receive ? 1 : 2])
                             .arg(j.pgn)
                             .arg(r.cells[choice.receive ? 5 : 4]);
                for (const QString& n : r.notes)
                    lines << QStringLiteral("note: row %1: %2").arg(rows.size()).arg(n);
            }
        }

        if (const auto failure = kind->check(rows, content.reduced)) {
            out << kind->file_name << ": "
                << Check_Failure_Text(kind->msg + Frame_Msg::Error_In_Row, *failure) << '\n';
            err << "error: nothing imported; " << Native(path) << " is unchanged\n";
            return 1;
        }
        kind->write(path, rows);
        for (const QString& l : lines)
            out << l << '\n';
        for (const Frame_Warning& w :
             kind->warnings(rows, Read_Frame_Context(parGen), content.reduced))
            if (w.row >= first)
                out << "warning: row " << w.row << ": " << Warning_Text(w) << '\n';
    } catch (const App_Error& e) {
        err << "error: " << e.text().simplified() << '\n';
        return 1;
    }
    return 0;
}
