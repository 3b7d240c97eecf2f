#include "app/UComon.h"
#include "cmd_check.h"

#include <QCoreApplication>
#include <QStringList>
#include <QTextStream>

#include <cstdio>

namespace {

const char Usage[] =
    "Usage: sw38591-cli COMMAND [ARGUMENTS]\n"
    "\n"
    "Commands:\n"
    "  --help       show this text\n"
    "  --version    print the program version\n"
    "  check CONF_DIR\n"
    "               check the stored files of a configuration as the editors do on OK\n";

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
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
    if (cmd == QLatin1String("check"))
        return Cmd_Check(args.mid(1), out, err);
    err << "sw38591-cli: unknown command '" << cmd << "'\n\n" << Usage;
    return 2;
}
