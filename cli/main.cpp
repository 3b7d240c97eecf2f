#include "app/UComon.h"

#include <QCoreApplication>
#include <QStringList>
#include <QTextStream>

#include <cstdio>

int Cmd_Compose(const QStringList& args, QTextStream& out, QTextStream& err);

namespace {

const char Usage[] =
    "Usage: sw38591-cli COMMAND [ARGUMENTS]\n"
    "\n"
    "Commands:\n"
    "  --help       show this text\n"
    "  --version    print the program version\n"
    "  compose CONF_DIR --firmware FILE [--out FILE]\n"
    "               merge CONF_DIR/bin/bank1.bin and bank2.bin into the firmware FILE;\n"
    "               the result goes to --out (default CONF_DIR/New_sx38591.sx)\n";

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
    if (cmd == QLatin1String("compose"))
        return Cmd_Compose(args.mid(1), out, err);
    err << "sw38591-cli: unknown command '" << cmd << "'\n\n" << Usage;
    return 2;
}
