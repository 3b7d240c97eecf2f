#include "app/UComon.h"
#include "compiler/ByteMap.h"
#include "configurations/SafeFile.h"
#include "language/ULanguage.h"
#include "report/CommissioningReport.h"
#include "report/ReportPages.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QStringList>
#include <QTextStream>

// report CONF_DIR [--pdf FILE] [--csv FILE]: the commissioning report and the data byte map of
// a configuration, compiled in memory as `compile` does; no bank file is written.
int Cmd_Report(const QStringList& args, QTextStream& out, QTextStream& err)
{
    QString confDir, pdf, csv;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args.at(i);
        QString* option = a == QLatin1String("--pdf")   ? &pdf
                          : a == QLatin1String("--csv") ? &csv
                                                        : nullptr;
        if (option && option->isEmpty() && i + 1 < args.size() && !args.at(i + 1).isEmpty()) {
            *option = args.at(++i);
        } else if (option || a.startsWith(QLatin1Char('-')) || !confDir.isEmpty() ||
                   a.isEmpty()) {
            err << "sw38591-cli report: unexpected argument '" << a << "'\n";
            return 2;
        } else {
            confDir = a;
        }
    }
    if (confDir.isEmpty()) {
        err << "sw38591-cli report: the configuration folder is missing\n";
        return 2;
    }
    if (pdf.isEmpty() && csv.isEmpty()) {
        err << "sw38591-cli report: give --pdf FILE, --csv FILE or both\n";
        return 2;
    }
    if (!QFileInfo(confDir).isDir()) {
        err << "error: the configuration folder " << QDir::toNativeSeparators(confDir)
            << " does not exist.\n";
        return 1;
    }
    Load_Default_Language();
    try {
        // The report compiles the configuration; the byte map is read from that compilation.
        Shared.Conf_Dir = confDir;
        Set_Files();
        const Byte_Map map = Compile_Byte_Map();
        if (!csv.isEmpty())
            Write_File_Atomic(csv, Byte_Map_Csv(map));
        if (!pdf.isEmpty())
            Write_Report_Pdf(Make_Report(confDir, QDateTime::currentDateTime()), pdf);
    } catch (const App_Error& e) {
        err << "error: " << e.text().simplified() << '\n';
        return 1;
    }
    for (const QString& f : {csv, pdf})
        if (!f.isEmpty())
            out << "written: " << QDir::toNativeSeparators(f) << '\n';
    return 0;
}
