#include "support/TestSupport.h"

#include "app/UComon.h"
#include "language/ULanguage.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStorageInfo>

Program_Folder::Program_Folder()
{
    Reset_Shared();
}

void Program_Folder::write(const QString& relative, const QByteArray& data) const
{
    const QString path = file(relative);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", qPrintable(path));
    f.write(data);
}

QByteArray Program_Folder::read(const QString& relative) const
{
    return Read_All(file(relative));
}

void Reset_Shared()
{
    Shared = Shared_State{};
}

void Open_Test_Configuration(const QString& programDir)
{
    Load_Default_Language();
    Shared.Dir_Program = programDir;
    Shared.SW_Code = SW_Code_Text;
    Shared.Conf_Name = QStringLiteral("Test");
    Shared.Conf_Dir = QDir(programDir).filePath(QStringLiteral("PROJECTS/Test"));
    QDir().mkpath(Shared.Conf_Dir);
    Set_Files();
}

QString Test_Data(const QString& relative)
{
    return QStringLiteral(TEST_DATA_DIR "/") + relative;
}

QByteArray Read_All(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

QString Screenshot_Path(const QString& name)
{
    QDir().mkpath(QStringLiteral(SCREENSHOT_DIR));
    return QStringLiteral(SCREENSHOT_DIR "/") + name;
}

void Write_Script(const QString& path, const QByteArray& body)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", qPrintable(path));
    f.write("#!/bin/sh\n" + body);
    f.close();
    f.setPermissions(f.permissions() | QFileDevice::ExeOwner);
}

Cli_Run Run_Cli(const QStringList& args)
{
    return Run_Program(qEnvironmentVariable("SW38591_CLI"), args);
}

Cli_Run Run_Program(const QString& program, const QStringList& args, int timeoutMs)
{
    QProcess p;
    p.start(program, args);
    Cli_Run r;
    if (!p.waitForFinished(timeoutMs) || p.exitStatus() != QProcess::NormalExit)
        return r;
    r.exitCode = p.exitCode();
    r.out = p.readAllStandardOutput();
    r.err = p.readAllStandardError();
    return r;
}

Small_Disk::Small_Disk(qint64 bytes)
{
    QProcess mount;
    mount.start(QStringLiteral("mount"),
                {QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                 QStringLiteral("size=%1").arg(bytes), QStringLiteral("tmpfs"), m_dir.path()});
    if (!mount.waitForFinished(10000) || mount.exitStatus() != QProcess::NormalExit
        || mount.exitCode() != 0) {
        m_reason = QStringLiteral("cannot mount a small tmpfs: %1")
                       .arg(QString::fromLocal8Bit(mount.readAllStandardError()).trimmed()
                            + mount.errorString());
        return;
    }
    m_mounted = true;
}

Small_Disk::~Small_Disk()
{
    if (!m_mounted)
        return;
    QProcess::execute(QStringLiteral("umount"), {m_dir.path()});
}

void Small_Disk::Leave_Free(qint64 bytes)
{
    QFile fill(m_dir.filePath(QStringLiteral(".fill")));
    fill.open(QIODevice::Append | QIODevice::Unbuffered);
    const QByteArray block(4096, 'F');
    QStorageInfo info(m_dir.path());
    while (true) {
        info.refresh();
        const qint64 over = info.bytesAvailable() - bytes;
        if (over <= 0)
            break;
        if (fill.write(block.constData(), qMin<qint64>(over, block.size())) <= 0)
            break;
    }
}

void Small_Disk::Release()
{
    QFile::remove(m_dir.filePath(QStringLiteral(".fill")));
}

Cli_Text_Run Run_Cli_Text(const QStringList& args)
{
    const Cli_Run r = Run_Cli(args);
    return {r.exitCode, QString::fromUtf8(r.out), QString::fromUtf8(r.err)};
}

QList<QStringList> Split_Csv(const QByteArray& bytes)
{
    const QString text = QString::fromUtf8(bytes);
    QList<QStringList> records;
    QStringList cells;
    QString cell;
    bool quoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (quoted) {
            if (c == QLatin1Char('"') && i + 1 < text.size() && text.at(i + 1) == QLatin1Char('"'))
                cell += text.at(++i);
            else if (c == QLatin1Char('"'))
                quoted = false;
            else
                cell += c;
        } else if (c == QLatin1Char('"')) {
            quoted = true;
        } else if (c == QLatin1Char(',')) {
            cells << cell;
            cell.clear();
        } else if (c == QLatin1Char('\n')) {
            cells << cell;
            records << cells;
            cells.clear();
            cell.clear();
        } else if (c != QLatin1Char('\r')) {
            cell += c;
        }
    }
    if (!cell.isEmpty() || !cells.isEmpty())
        records << (cells << cell);
    return records;
}
