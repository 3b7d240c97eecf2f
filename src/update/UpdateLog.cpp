#include "update/UpdateLog.h"

#include "app/UComon.h"
#include "configurations/CsvTable.h"
#include "language/ULanguage.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <cerrno>
#include <cstring>

#ifdef Q_OS_WIN
#include <io.h>
#else
#include <unistd.h>
#endif

namespace {

const char* const Columns[] = {"time",     "route",  "port_or_address", "update_choice",
                               "file_1",   "size_1", "sha256_1",        "file_2",
                               "size_2",   "sha256_2", "tool_status",   "version"};
constexpr int Recorded_Files = 2;

QByteArray Line(const QStringList& cells)
{
    QStringList quoted;
    for (const QString& c : cells)
        quoted << Csv_Quoted(c);
    return quoted.join(QLatin1Char(',')).toUtf8() + "\r\n";
}

bool Sync(QFile& f)
{
#ifdef Q_OS_WIN
    return _commit(f.handle()) == 0;
#else
    return ::fsync(f.handle()) == 0;
#endif
}

[[noreturn]] void Fail(const QString& path, const QString& reason)
{
    throw App_Error(Msg(530) + QDir::toNativeSeparators(path) + Msg(531) + reason);
}

} // namespace

Update_File Describe_Update_File(const QString& path)
{
    Update_File f;
    f.path = QDir::toNativeSeparators(path);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return f;
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!hash.addData(&file) || file.error() != QFileDevice::NoError)
        return f;
    f.size = file.size();
    f.sha256 = QString::fromLatin1(hash.result().toHex());
    return f;
}

QString Tool_Status(const Process_Launcher::Wait_Result& r, int limitMs)
{
    if (!r.finished)
        return QStringLiteral("running after ") + QString::number(limitMs / 1000.0) +
               QStringLiteral(" s");
    if (r.crashed)
        return QStringLiteral("ended abnormally");
    return QStringLiteral("exit status ") + QString::number(r.exitCode);
}

QString Record_Time_Text(const QDateTime& when)
{
    const QDateTime local = when.toLocalTime();
    const int offset = local.offsetFromUtc();
    const int minutes = qAbs(offset) / 60;
    return local.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss")) +
           (offset < 0 ? QLatin1Char('-') : QLatin1Char('+')) +
           QStringLiteral("%1:%2").arg(minutes / 60, 2, 10, QLatin1Char('0'))
               .arg(minutes % 60, 2, 10, QLatin1Char('0'));
}

QByteArray Update_Log_Header()
{
    QStringList titles;
    for (const char* c : Columns)
        titles << QString::fromLatin1(c);
    return Line(titles);
}

QByteArray Update_Record_Line(const Update_Record& r)
{
    QStringList cells{Record_Time_Text(r.when), r.route, r.target, r.choice};
    for (int i = 0; i < Recorded_Files; ++i) {
        if (i < r.files.size()) {
            const Update_File& f = r.files[i];
            cells << f.path << (f.size < 0 ? QString() : QString::number(f.size)) << f.sha256;
        } else {
            cells << QString() << QString() << QString();
        }
    }
    cells << r.status << SW_Version_Text;
    return Line(cells);
}

namespace {

bool Ends_With_Line_Break(const QString& path, qint64 size)
{
    QFile f(path);
    char last = 0;
    return f.open(QIODevice::ReadOnly) && f.seek(size - 1) && f.getChar(&last) && last == '\n';
}

} // namespace

void Append_Update_Record(const QString& confDir, const Update_Record& r)
{
    const QString path = Path_Join(confDir, Update_Log_Name);
    const QFileInfo info(path);
    if (info.isDir())
        Fail(path, QStringLiteral("a folder has this name"));
    if (info.exists() && !(info.permissions() & QFileDevice::WriteOwner))
        Fail(path, QStringLiteral("the file is read-only"));
    QFile f(path);
    // Unbuffered: the one write below reaches the system as it is and reports its own failure.
    if (!f.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered))
        Fail(path, f.errorString());
    const qint64 before = f.size();
    QByteArray bytes = before == 0 ? Update_Log_Header() : QByteArray();
    // A record cut by a crash or a power loss stays as it is, but must not swallow this one.
    if (before > 0 && !Ends_With_Line_Break(path, before))
        bytes += "\r\n";
    bytes += Update_Record_Line(r);
    const qint64 written = f.write(bytes);
    if (written != bytes.size() || !Sync(f)) {
        const QString reason = written < 0 || f.error() != QFileDevice::NoError
                                   ? f.errorString()
                                   : QString::fromLocal8Bit(std::strerror(errno));
        // Half a record would join the next one; what was there before is kept.
        f.resize(before);
        Sync(f);
        Fail(path, reason);
    }
}
