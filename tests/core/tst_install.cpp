#include "support/TestSupport.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

QString Exe(const QString& name)
{
#ifdef Q_OS_WIN
    return name + QStringLiteral(".exe");
#else
    return name;
#endif
}

QStringList Files_Below(const QString& dir)
{
    QStringList files;
    QDirIterator it(dir, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << QDir(dir).relativeFilePath(it.next());
    files.sort();
    return files;
}

} // namespace

// `cmake --install` of this build tree into a fresh prefix gives a program folder that runs.
class Tst_Install : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void installedProgramFolder()
    {
        QTemporaryDir prefix;
        const Cli_Run install = Run_Program(
            qEnvironmentVariable("SW38591_CMAKE"),
            {"--install", qEnvironmentVariable("SW38591_BUILD_DIR"), "--prefix", prefix.path()}, 120000);
        QVERIFY2(install.exitCode == 0, install.err.constData());

#ifdef Q_OS_WIN
        const QString program = prefix.path();
        const QString cli = Path_Of(program, Exe("sw38591-cli"));
#else
        const QString program = prefix.filePath("lib/sw38591");
        // Started through its link in bin, the program still finds its own folder.
        const QString cli = prefix.filePath("bin/sw38591-cli");
        for (const char* name : {"sw38591", "sw38591-cli"}) {
            const QFileInfo link(prefix.filePath(QStringLiteral("bin/") + name));
            QVERIFY2(link.isSymLink(), name);
            QCOMPARE(link.symLinkTarget(), QFileInfo(program + '/' + name).absoluteFilePath());
        }
        QVERIFY(QFileInfo::exists(prefix.filePath("share/applications/sw38591.desktop")));
        QVERIFY(QFileInfo::exists(prefix.filePath("share/icons/hicolor/32x32/apps/sw38591.png")));
#endif
        QVERIFY(QFileInfo(program + '/' + Exe("sw38591")).isExecutable());
        // The shipped languages and flags, byte for byte; nothing the first start makes.
        const QString source = QStringLiteral(TEST_DATA_DIR "/../../LANGUAGE");
        const QStringList shipped = Files_Below(source);
        QVERIFY(shipped.contains("English.lng") && shipped.contains("DefaultFlag.bmp"));
        QCOMPARE(Files_Below(program + "/LANGUAGE"), shipped);
        for (const QString& f : shipped) {
            const QString installed = program + "/LANGUAGE/" + f;
            QVERIFY2(Read_All(installed) == Read_All(source + '/' + f), qPrintable(f));
            // The options window leaves out language files their owner may not write.
            QVERIFY2(QFileInfo(installed).permissions() & QFileDevice::WriteOwner, qPrintable(f));
        }
        for (const char* made : {"MASTER", "PROJECTS", "Tessaform.xml"})
            QVERIFY2(!QFileInfo::exists(program + '/' + made), made);

        const Cli_Run version = Run_Program(cli, {"--version"}, 120000);
        QCOMPARE(version.exitCode, 0);
        QCOMPARE(version.out, QByteArray("2.000\n"));
        const Cli_Run help = Run_Program(cli, {"help", "dump"}, 120000);
        QCOMPARE(help.exitCode, 0);
        QVERIFY2(help.out.startsWith("Usage: sw38591-cli dump FILE\n"), help.out.constData());
    }

private:
    static QString Path_Of(const QString& dir, const QString& name)
    {
        return dir + '/' + name;
    }
};

QTEST_GUILESS_MAIN(Tst_Install)
#include "tst_install.moc"
