#include "Commands.h"
#include "app/UComon.h"
#include "configurations/ConfigDiff.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>
#include <QTextStream>

Cli_Command Diff_Command()
{
    return {QStringLiteral("diff"),
            QStringLiteral("diff CONF_A CONF_B"),
            QStringLiteral("list the stored values that differ between two configuration folders,\n"
                           "one line each (A is CONF_A, B is CONF_B); exit 0 same, 1 different"),
            {},
            {{QStringLiteral("CONF_A"), QStringLiteral("the first configuration folder")},
             {QStringLiteral("CONF_B"), QStringLiteral("the second configuration folder")}},
            Cmd_Diff};
}

int Cmd_Diff(const QStringList& argv, QTextStream& out, QTextStream& err)
{
    QCommandLineParser p;
    if (const auto rc = Cli_Parse(p, Diff_Command(), argv, out, err))
        return *rc;
    const QStringList args = p.positionalArguments();
    for (const QString& dir : args) {
        if (dir.isEmpty() || !QFileInfo(dir).isDir())
            return Cli_Wrong_Usage(Diff_Command(),
                                   QStringLiteral("the folder ") + QDir::toNativeSeparators(dir) +
                                       QStringLiteral(" does not exist"),
                                   err);
    }
    QList<Config_Difference> differences;
    try {
        differences = Compare_Configurations(args[0], args[1]);
    } catch (const App_Error& e) {
        // Neither "same" nor "different" can be told.
        err << "error: " << e.text() << '\n';
        return 2;
    }
    for (const Config_Difference& d : differences)
        out << Difference_Line(d) << '\n';
    return differences.isEmpty() ? 0 : 1;
}
