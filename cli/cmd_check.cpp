#include "cmd_check.h"

#include "app/UComon.h"
#include "editors/FrameTables.h"
#include "editors/ParGenChecks.h"
#include "language/ULanguage.h"

#include <QDir>
#include <QFileInfo>

#include <functional>

namespace {

// One stored file of a configuration and the checks its editor runs on OK. `check` gets the
// configuration folder and returns the error box text, or an empty text when the file passes.
struct File_Check {
    QString file_name;
    std::function<QString(const QString& confDir)> check;
};

QString Check_Frames(const Frame_Table_Kind& kind, const QString& confDir)
{
    return Check_Frame_File(kind, Path_Join(confDir, QStringLiteral("ParGen.xml")),
                            Path_Join(confDir, kind.file_name));
}

// In the order of the editors' steps.
const QList<File_Check>& File_Checks()
{
    static const QList<File_Check> checks = {
        {QStringLiteral("ParGen.xml"),
         [](const QString& dir) {
             return Check_ParGen_File(Path_Join(dir, QStringLiteral("ParGen.xml")));
         }},
        {Receive_Table.file_name,
         [](const QString& dir) { return Check_Frames(Receive_Table, dir); }},
        {Send_Table.file_name, [](const QString& dir) { return Check_Frames(Send_Table, dir); }},
    };
    return checks;
}

} // namespace

int Cmd_Check(const QStringList& args, QTextStream& out, QTextStream& err)
{
    if (args.size() != 1) {
        err << "Usage: sw38591-cli check CONF_DIR\n";
        return 2;
    }
    const QString confDir = QDir::fromNativeSeparators(args.first());
    if (!QFileInfo(confDir).isDir()) {
        err << "sw38591-cli: no such configuration folder: " << QDir::toNativeSeparators(confDir)
            << '\n';
        return 2;
    }
    // The texts the error boxes show with the built-in language.
    Load_Default_Language();
    bool failed = false;
    for (const File_Check& file : File_Checks()) {
        QString text;
        try {
            text = file.check(confDir);
        } catch (const std::exception& e) {
            text = Error_Text(e);
        }
        if (!text.isEmpty()) {
            out << file.file_name << ": " << text << '\n';
            failed = true;
        }
    }
    return failed ? 1 : 0;
}
