#include "app/UComon.h"
#include "cmd_check.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QStringList>
#include <QTextStream>

#include <cstdio>
#include <cstring>
#include <memory>

namespace {

const char Usage[] =
    "Usage: sw38591-cli COMMAND [ARGUMENTS]\n"
    "\n"
    "Commands:\n"
    "  --help       show this text\n"
    "  --version    print the program version\n"
    "  compile CONF_DIR [--out DIR]\n"
    "               compile a configuration folder into bank1.bin and bank2.bin,\n"
    "               written into DIR (default: CONF_DIR/bin, created when missing)\n"
    "  dump FILE    decode a bank1.bin or bank2.bin file\n"
    "  check [--all] [--warnings] CONF_DIR\n"
    "               check the stored files of a configuration as the editors do on OK;\n"
    "               --all: every failing row; --warnings: the J1939 advice too\n"
    "  compose CONF_DIR --firmware FILE [--out FILE]\n"
    "               merge CONF_DIR/bin/bank1.bin and bank2.bin into the firmware FILE;\n"
    "               the result goes to --out (default CONF_DIR/New_sx38591.sx)\n"
    "  export CONF_DIR --table receive|transmit --csv FILE\n"
    "               write a frame table as CSV, every cell, titles as the English table\n"
    "  import CONF_DIR --table receive|transmit\n"
    "         (--csv FILE | --dbc FILE [--messages NAME[,NAME...]] [--sa N]) [--append]\n"
    "               replace (or with --append extend) a frame table from a CSV file or\n"
    "               the messages of a DBC file, checked as the editor checks on OK\n"
    "  report CONF_DIR [--pdf FILE] [--csv FILE]\n"
    "               compile in memory (no bank file is written) and write the commissioning\n"
    "               report as PDF and/or the data byte map as CSV\n";

} // namespace

int Cmd_Compile(const QStringList& args, QTextStream& out, QTextStream& err);
int Cmd_Compose(const QStringList& args, QTextStream& out, QTextStream& err);
int Cmd_Dump(const QStringList& args, QTextStream& out, QTextStream& err);
int Cmd_Export(const QStringList& args, QTextStream& out, QTextStream& err);
int Cmd_Import(const QStringList& args, QTextStream& out, QTextStream& err);
int Cmd_Report(const QStringList& args, QTextStream& out, QTextStream& err);

int main(int argc, char* argv[])
{
    // The report draws text, and fonts need the GUI application; it never shows a window.
    const bool drawing = argc > 1 && std::strcmp(argv[1], "report") == 0;
#ifndef Q_OS_WIN
    if (drawing && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
#endif
    const std::unique_ptr<QCoreApplication> app(drawing ? new QGuiApplication(argc, argv)
                                                        : new QCoreApplication(argc, argv));
    const QStringList args = app->arguments().mid(1);
    QTextStream out(stdout);
    QTextStream err(stderr);

    if (args.isEmpty()) {
        err << Usage;
        return 2;
    }
    const QString cmd = args.first();
    if (cmd == QLatin1String("--help") || cmd == QLatin1String("-h")) {
        out << Usage;
        return 0;
    }
    if (cmd == QLatin1String("--version")) {
        out << SW_Version_Text << '\n';
        return 0;
    }
    // A command returns 2 for wrong usage after naming what was wrong.
    const auto withUsage = [&](int rc) {
        if (rc == 2)
            err << '\n' << Usage;
        return rc;
    };
    if (cmd == QLatin1String("compile"))
        return withUsage(Cmd_Compile(args.mid(1), out, err));
    if (cmd == QLatin1String("dump"))
        return withUsage(Cmd_Dump(args.mid(1), out, err));
    if (cmd == QLatin1String("check"))
        return Cmd_Check(args.mid(1), out, err);
    if (cmd == QLatin1String("compose"))
        return withUsage(Cmd_Compose(args.mid(1), out, err));
    if (cmd == QLatin1String("export"))
        return Cmd_Export(args.mid(1), out, err);
    if (cmd == QLatin1String("import"))
        return Cmd_Import(args.mid(1), out, err);
    if (cmd == QLatin1String("report"))
        return withUsage(Cmd_Report(args.mid(1), out, err));
    err << "sw38591-cli: unknown command '" << cmd << "'\n\n" << Usage;
    return 2;
}
