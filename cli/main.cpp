#include "Commands.h"
#include "app/UComon.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QStringList>
#include <QTextStream>

#include <cstdio>
#include <cstring>
#include <memory>

namespace {

// One row per command, in the order of the overview.
QList<Cli_Command> Commands()
{
    return {Compile_Command(), Dump_Command(),   Check_Command(),
            Compose_Command(), Export_Command(), Import_Command(), Diff_Command(),
            Buscheck_Command(), Report_Command()};
}

const Cli_Command* Find(const QList<Cli_Command>& commands, const QString& name)
{
    for (const Cli_Command& c : commands)
        if (c.name == name)
            return &c;
    return nullptr;
}

} // namespace

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
    const QList<Cli_Command> commands = Commands();

    if (args.isEmpty()) {
        err << Cli_Overview(commands);
        return 2;
    }
    const QString cmd = args.first();
    if (cmd == QLatin1String("--help") || cmd == QLatin1String("-h") ||
        (cmd == QLatin1String("help") && args.size() == 1)) {
        out << Cli_Overview(commands);
        return 0;
    }
    if (cmd == QLatin1String("--version")) {
        out << SW_Version_Text << '\n';
        return 0;
    }
    if (cmd == QLatin1String("help")) {
        const Cli_Command* c = args.size() == 2 ? Find(commands, args[1]) : nullptr;
        if (!c) {
            err << "sw38591-cli help: no command '" << args.mid(1).join(QLatin1Char(' ')) << "'\n\n"
                << Cli_Overview(commands);
            return 2;
        }
        out << Cli_Help(*c);
        return 0;
    }
    if (const Cli_Command* c = Find(commands, cmd))
        return c->run(args.mid(1), out, err);
    err << "sw38591-cli: unknown command '" << cmd << "'\n\n" << Cli_Overview(commands);
    return 2;
}
