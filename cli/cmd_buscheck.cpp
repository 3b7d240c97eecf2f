#include "app/UComon.h"
#include "buscheck/BusCheck.h"
#include "configurations/SafeFile.h"
#include "language/ULanguage.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>
#include <QTextStream>

#include <cmath>

// buscheck CONF_DIR --log FILE: the receive table held against the frames of a CAN log.
int Cmd_Buscheck(const QStringList& args, QTextStream& out, QTextStream& err)
{
    QString confDir;
    QString logFile;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args.at(i);
        if (a == QLatin1String("--log") && logFile.isEmpty() && i + 1 < args.size() &&
            !args.at(i + 1).isEmpty()) {
            logFile = args.at(++i);
        } else if (a.startsWith(QLatin1Char('-')) || !confDir.isEmpty() || a.isEmpty()) {
            err << "sw38591-cli buscheck: unexpected argument '" << a << "'\n";
            return 2;
        } else {
            confDir = a;
        }
    }
    if (confDir.isEmpty() || logFile.isEmpty()) {
        err << "sw38591-cli buscheck: "
            << (confDir.isEmpty() ? "the configuration folder" : "--log FILE") << " is missing\n";
        return 2;
    }
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
