#include "Commands.h"

#include "app/UComon.h"
#include "editors/FrameTables.h"
#include "editors/ParGenChecks.h"
#include "language/ULanguage.h"

#include <QDir>
#include <QFileInfo>

#include <functional>

namespace {

struct Check_Options {
    bool all = false;      // every failing row, not only the first of a file
    bool warnings = false; // the J1939 advice too
};

// One stored file of a configuration and the checks its editor runs on OK. `check` gets the
// configuration folder and returns the lines to print after "<file name>: " (error box texts,
// then advice), and whether a check failed.
struct File_Result {
    QStringList lines;
    bool failed = false;
};
struct File_Check {
    QString file_name;
    std::function<File_Result(const QString& confDir, const Check_Options&)> check;
};

File_Result Check_Frames(const Frame_Table_Kind& kind, const QString& confDir,
                         const Check_Options& o)
{
    const QString parGen = Path_Join(confDir, QStringLiteral("ParGen.xml"));
    const QString path = Path_Join(confDir, kind.file_name);
    File_Result r;
    if (o.all) {
        r.lines = Check_Frame_File_All(kind, parGen, path);
    } else if (const QString text = Check_Frame_File(kind, parGen, path); !text.isEmpty()) {
        r.lines << text;
    }
    r.failed = !r.lines.isEmpty();
    if (o.warnings) {
        for (const QString& w : Frame_File_Warnings(kind, parGen, path))
            r.lines << QStringLiteral("warning: ") + w;
    }
    return r;
}

// In the order of the editors' steps.
const QList<File_Check>& File_Checks()
{
    static const QList<File_Check> checks = {
        {QStringLiteral("ParGen.xml"),
         [](const QString& dir, const Check_Options&) {
             File_Result r;
             const QString text = Check_ParGen_File(Path_Join(dir, QStringLiteral("ParGen.xml")));
             if (!text.isEmpty())
                 r.lines << text;
             r.failed = !text.isEmpty();
             return r;
         }},
        {Receive_Table.file_name,
         [](const QString& dir, const Check_Options& o) {
             return Check_Frames(Receive_Table, dir, o);
         }},
        {Send_Table.file_name,
         [](const QString& dir, const Check_Options& o) {
             return Check_Frames(Send_Table, dir, o);
         }},
    };
    return checks;
}

} // namespace

Cli_Command Check_Command()
{
    return {
        QStringLiteral("check"),
        QStringLiteral("check [--all] [--warnings] CONF_DIR"),
        QStringLiteral("check the stored files of a configuration as the editors do on OK;\n"
                       "--all: every failing row; --warnings: the J1939 advice too"),
        {{QStringLiteral("all"), QStringLiteral("every failing row, not only the first")},
         {QStringLiteral("warnings"), QStringLiteral("the J1939 advice of the frame tables too")}},
        {{QStringLiteral("CONF_DIR"), QStringLiteral("the configuration folder")}},
        Cmd_Check};
}

// Prints one line per failing file; 0 when all pass, 1 when any fails, 2 for bad arguments.
int Cmd_Check(const QStringList& args, QTextStream& out, QTextStream& err)
{
    QCommandLineParser p;
    if (const auto rc = Cli_Parse(p, Check_Command(), args, out, err))
        return *rc;
    Check_Options options;
    options.all = p.isSet(QStringLiteral("all"));
    options.warnings = p.isSet(QStringLiteral("warnings"));
    const QStringList rest = p.positionalArguments();
    const QString confDir = QDir::fromNativeSeparators(rest.first());
    if (!QFileInfo(confDir).isDir()) {
        err << "sw38591-cli: no such configuration folder: " << QDir::toNativeSeparators(confDir)
            << '\n';
        return 2;
    }
    // The texts the error boxes show with the built-in language.
    Load_Default_Language();
    bool failed = false;
    for (const File_Check& file : File_Checks()) {
        File_Result r;
        try {
            r = file.check(confDir, options);
        } catch (const std::exception& e) {
            r.lines = QStringList{Error_Text(e)};
            r.failed = true;
        }
        for (const QString& line : r.lines)
            out << file.file_name << ": " << line << '\n';
        failed = failed || r.failed;
    }
    return failed ? 1 : 0;
}
