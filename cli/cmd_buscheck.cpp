#include "Commands.h"
#include "app/UComon.h"
#include "buscheck/BusCheck.h"
#include "configurations/SafeFile.h"
#include "language/ULanguage.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>
#include <QTextStream>

#include <cmath>

Cli_Command Buscheck_Command()
{
    return {
        QStringLiteral("buscheck"),
        QStringLiteral("buscheck CONF_DIR --log FILE"),
        QStringLiteral("hold the receive table against the frames of a CAN log (candump or\n"
                       "Vector ASC): rows seen, frames no row takes, address conflicts"),
        {{QStringLiteral("log"), QStringLiteral("the CAN log (candump -l, candump or Vector ASC)"),
          QStringLiteral("FILE")}},
        {{QStringLiteral("CONF_DIR"), QStringLiteral("the configuration folder")}},
        Cmd_Buscheck};
}

// The receive table, compiled as "Update Device" compiles it, against the frames of a CAN log.
int Cmd_Buscheck(const QStringList& args, QTextStream& out, QTextStream& err)
{
    QCommandLineParser p;
    if (const auto rc = Cli_Parse(p, Buscheck_Command(), args, out, err))
        return *rc;
    const QString confDir = p.positionalArguments().first();
    const QString logFile = p.value(QStringLiteral("log"));
    if (logFile.isEmpty())
        return Cli_Wrong_Usage(Buscheck_Command(), QStringLiteral("--log FILE is missing"), err);
    if (!QFileInfo(confDir).isDir()) {
        err << "error: the configuration folder " << QDir::toNativeSeparators(confDir)
            << " does not exist.\n";
        return 2;
    }
    Load_Default_Language();
    try {
        Bus_Check check(Load_Bus_Check_Setup(confDir));
        const QByteArray text = Read_Whole_File(logFile);
        try {
            For_Each_Log_Frame(text, [&](const Can_Frame& f) { check.Feed(f); });
        } catch (const App_Error& e) {
            throw App_Error(QDir::toNativeSeparators(logFile) + QStringLiteral(": ") + e.text());
        }
        bool allSeen = true;
        for (size_t i = 0; i < check.Rows().size(); ++i) {
            const Row_Result& r = check.Rows()[i];
            out << "row " << (i + 1) << ": ";
            if (!r.Seen()) {
                out << "not seen\n";
                allSeen = false;
                continue;
            }
            out << "seen " << r.stats.count;
            if (const double p = r.stats.Mean_Period_ms(); r.stats.count > 1 && p >= 0)
                out << " every " << qint64(std::llround(p)) << " ms";
            out << '\n';
        }
        for (const Unmatched_Frame& u : check.Unmatched())
            out << "not in table: data page " << u.Data_Page() << " PGN 0x"
                << QStringLiteral("%1").arg(u.Pgn(), 4, 16, QLatin1Char('0')).toUpper() << " SA "
                << u.Sa() << ": " << u.stats.count << " frames\n";
        const qint64 own = check.Trouble().own_address;
        if (own > 0)
            out << "conflict: " << own << " frames use the converter's address "
                << check.Setup().device_address << '\n';
        return allSeen && own == 0 ? 0 : 1;
    } catch (const App_Error& e) {
        err << "error: " << e.text().simplified() << '\n';
        return 2;
    }
}
