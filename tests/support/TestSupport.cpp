#include "support/TestSupport.h"

#include "app/UComon.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

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
    QProcess p;
    p.start(qEnvironmentVariable("SW38591_CLI"), args);
    Cli_Run r;
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit)
        return r;
    r.exitCode = p.exitCode();
    r.out = p.readAllStandardOutput();
    r.err = p.readAllStandardError();
    return r;
}
