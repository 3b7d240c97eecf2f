#include "app/UComon.h"
#include "configurations/ConfigDiff.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>
#include <QTextStream>

// diff CONF_A CONF_B: one line per stored value that differs; A is CONF_A, B is CONF_B.
int Cmd_Diff(const QStringList& args, QTextStream& out, QTextStream& err)
{
    if (args.size() != 2 || args[0].startsWith(QLatin1Char('-')) ||
        args[1].startsWith(QLatin1Char('-'))) {
        err << "sw38591-cli diff: expected two configuration folders\n";
        return 2;
    }
    for (const QString& dir : args) {
        if (dir.isEmpty() || !QFileInfo(dir).isDir()) {
            err << "sw38591-cli diff: the folder " << QDir::toNativeSeparators(dir)
                << " does not exist\n";
            return 2;
        }
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
