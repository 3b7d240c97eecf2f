#include "Commands.h"
#include "app/UComon.h"
#include "compiler/BankDump.h"
#include "compiler/USaveBincc.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QTextStream>

Cli_Command Dump_Command()
{
    return {QStringLiteral("dump"),
            QStringLiteral("dump FILE"),
            QStringLiteral("decode a bank1.bin or bank2.bin file"),
            {},
            {{QStringLiteral("FILE"), QStringLiteral("the bank file")}},
            Cmd_Dump};
}

// A bank file decoded for a person.
int Cmd_Dump(const QStringList& argv, QTextStream& out, QTextStream& err)
{
    QCommandLineParser p;
    if (const auto rc = Cli_Parse(p, Dump_Command(), argv, out, err))
        return *rc;
    const QStringList args = p.positionalArguments();
    const QString shown = QDir::toNativeSeparators(args.first());
    try {
        // The pair of an interrupted compilation is completed or undone before it is read.
        Recover_Bank_Files(QFileInfo(args.first()).absolutePath());
    } catch (const App_Error& e) {
        err << "error: " << e.text() << '\n';
        return 1;
    }
    QFile f(args.first());
    if (!f.open(QIODevice::ReadOnly)) {
        err << "error: cannot read the file " << shown << ": " << f.errorString() << '\n';
        return 1;
    }
    const QByteArray bytes = f.readAll();
    try {
        out << Dump_Bank(bytes, shown);
    } catch (const App_Error& e) {
        err << "error: " << e.text() << '\n';
        return 1;
    }
    const QStringList faults = Bank_Faults(bytes);
    for (const QString& fault : faults)
        err << "error: " << shown << ": " << fault << '\n';
    return faults.isEmpty() ? 0 : 1;
}
