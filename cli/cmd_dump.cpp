#include "app/UComon.h"
#include "compiler/BankDump.h"
#include "compiler/USaveBincc.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QTextStream>

// dump FILE: a bank file decoded for a person.
int Cmd_Dump(const QStringList& args, QTextStream& out, QTextStream& err)
{
    if (args.size() != 1 || args.first().isEmpty() || args.first().startsWith(QLatin1Char('-'))) {
        err << "sw38591-cli dump: expected one bank file\n";
        return 2;
    }
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
