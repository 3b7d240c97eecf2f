#include "Commands.h"
#include "app/UComon.h"
#include "compiler/USaveBincc.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>
#include <QTextStream>

Cli_Command Compile_Command()
{
    return {QStringLiteral("compile"),
            QStringLiteral("compile CONF_DIR [--out DIR]"),
            QStringLiteral("compile a configuration folder into bank1.bin and bank2.bin,\n"
                           "written into DIR (default: CONF_DIR/bin, created when missing)"),
            {{QStringLiteral("out"), QStringLiteral("the folder of the bank files"),
              QStringLiteral("DIR")}},
            {{QStringLiteral("CONF_DIR"), QStringLiteral("the configuration folder")}},
            Cmd_Compile};
}

// The first compilation of a fresh run, as the configurator's "Update Device" makes it.
int Cmd_Compile(const QStringList& args, QTextStream& out, QTextStream& err)
{
    QCommandLineParser p;
    if (const auto rc = Cli_Parse(p, Compile_Command(), args, out, err))
        return *rc;
    const QString confDir = p.positionalArguments().first();
    QString outDir = p.value(QStringLiteral("out"));
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
