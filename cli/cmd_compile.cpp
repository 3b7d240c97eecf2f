#include "app/UComon.h"
#include "compiler/USaveBincc.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>
#include <QTextStream>

// compile CONF_DIR [--out DIR]: the first compilation of a fresh run, as the configurator's
// "Update Device" makes it, written into DIR (default CONF_DIR/bin).
int Cmd_Compile(const QStringList& args, QTextStream& out, QTextStream& err)
{
    QString confDir;
    QString outDir;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args.at(i);
        if (a == QLatin1String("--out") && outDir.isEmpty() && i + 1 < args.size() &&
            !args.at(i + 1).isEmpty()) {
            outDir = args.at(++i);
        } else if (a.startsWith(QLatin1Char('-')) || !confDir.isEmpty() || a.isEmpty()) {
            err << "sw38591-cli compile: unexpected argument '" << a << "'\n";
            return 2;
        } else {
            confDir = a;
        }
    }
    if (confDir.isEmpty()) {
        err << "sw38591-cli compile: the configuration folder is missing\n";
        return 2;
    }
    if (!QFileInfo(confDir).isDir()) {
        err << "error: the configuration folder " << QDir::toNativeSeparators(confDir)
            << " does not exist.\n";
        return 1;
    }
    if (outDir.isEmpty())
        outDir = Path_Join(confDir, QStringLiteral("bin"));

    Shared.Conf_Dir = confDir;
    Set_Files();
    try {
        Compile_Bin();
        Save_Bin(outDir);
    } catch (const App_Error& e) {
        // One line, whatever the parser put into its reason.
        err << "error: " << e.text().simplified() << '\n';
        return 1;
    }
    for (const char* name : {"bank1.bin", "bank2.bin"})
        out << "written: " << QDir::toNativeSeparators(Path_Join(outDir, QString::fromLatin1(name)))
            << '\n';
    return 0;
}
