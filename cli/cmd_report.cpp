#include "Commands.h"
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

Cli_Command Report_Command()
{
    return {QStringLiteral("report"),
            QStringLiteral("report CONF_DIR [--pdf FILE] [--csv FILE]"),
            QStringLiteral("compile in memory (no bank file is written) and write the\n"
                           "commissioning report as PDF and/or the data byte map as CSV"),
            {{QStringLiteral("pdf"), QStringLiteral("the report, a PDF file"), QStringLiteral("FILE")},
             {QStringLiteral("csv"), QStringLiteral("the byte map, a CSV file"),
              QStringLiteral("FILE")}},
            {{QStringLiteral("CONF_DIR"), QStringLiteral("the configuration folder")}},
            Cmd_Report};
}

// The commissioning report and the data byte map of a configuration, compiled in memory as
// `compile` does.
int Cmd_Report(const QStringList& args, QTextStream& out, QTextStream& err)
{
    QCommandLineParser p;
    if (const auto rc = Cli_Parse(p, Report_Command(), args, out, err))
        return *rc;
    const QString confDir = p.positionalArguments().first();
    const QString pdf = p.value(QStringLiteral("pdf"));
    const QString csv = p.value(QStringLiteral("csv"));
    if (pdf.isEmpty() && csv.isEmpty())
        return Cli_Wrong_Usage(Report_Command(), QStringLiteral("give --pdf FILE, --csv FILE or both"),
                               err);
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
