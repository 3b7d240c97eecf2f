#include "support/TestSupport.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

Cli_Run Pack(const QString& generator, const QString& dir)
{
    const QString build = qEnvironmentVariable("SW38591_BUILD_DIR");
    return Run_Program(qEnvironmentVariable("SW38591_CPACK"),
                       {"--config", build + "/CPackConfig.cmake", "-G", generator, "-B", dir},
                       240000);
}

} // namespace

// The packages that CPack makes of this build.
class Tst_DebPackage : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void packageUnpacksAndRuns()
    {
        if (QStandardPaths::findExecutable("dpkg-deb").isEmpty())
            QSKIP("dpkg-deb is not installed");
        QTemporaryDir work;
        const Cli_Run pack = Pack("DEB", work.path());
        QVERIFY2(pack.exitCode == 0, (pack.out + pack.err).constData());
        const QStringList debs = QDir(work.path()).entryList({"*.deb"}, QDir::Files);
        QCOMPARE(debs.size(), 1);
        const QString deb = work.filePath(debs.first());

        const Cli_Run fields = Run_Program("dpkg-deb", {"-f", deb, "Package", "Version", "Depends"},
                                             240000);
        QCOMPARE(fields.exitCode, 0);
        QVERIFY2(fields.out.startsWith("Package: sw38591\nVersion: 2.0\nDepends: libqt6core6"),
                 fields.out.constData());

        const QString root = work.filePath("root");
        QCOMPARE(Run_Program("dpkg-deb", {"-x", deb, root}, 240000).exitCode, 0);
        for (const char* file :
             {"usr/lib/sw38591/sw38591", "usr/lib/sw38591/LANGUAGE/English.lng",
              "usr/lib/sw38591/LANGUAGE/DefaultFlag.bmp", "usr/share/applications/sw38591.desktop",
              "usr/share/icons/hicolor/32x32/apps/sw38591.png"})
            QVERIFY2(QFileInfo::exists(root + '/' + file), file);
        QVERIFY(QFileInfo(root + "/usr/bin/sw38591").isSymLink());

        const Cli_Run version = Run_Program(root + "/usr/bin/sw38591-cli", {"--version"},
                                              240000);
        QCOMPARE(version.exitCode, 0);
        QCOMPARE(version.out, QByteArray("2.000\n"));
    }

    // The Windows installer's script is built here too (makensis runs on Linux), so that a
    // mistake in it shows before a Windows machine sees it.
    void windowsInstallerBuilds()
    {
        if (QStandardPaths::findExecutable("makensis").isEmpty())
            QSKIP("makensis is not installed");
        QTemporaryDir work;
        const Cli_Run pack = Pack("NSIS", work.path());
        QVERIFY2(pack.exitCode == 0, (pack.out + pack.err).constData());
        QCOMPARE(QDir(work.path()).entryList({"sw38591-2.0-*.exe"}, QDir::Files).size(), 1);

        QDirIterator scripts(work.path(), {"project.nsi"}, QDir::Files, QDirIterator::Subdirectories);
        QVERIFY(scripts.hasNext());
        const QByteArray script = Read_All(scripts.next());
        // Installed for the user, without administrator rights, into a folder the user owns:
        // the program writes into its own folder.
        QVERIFY(script.contains("InstallDir \"$LOCALAPPDATA\\Programs\\SW38591\""));
        const qsizetype admin = script.lastIndexOf("RequestExecutionLevel admin");
        const qsizetype user = script.lastIndexOf("RequestExecutionLevel user");
        QVERIFY(user > admin);
    }
};

QTEST_GUILESS_MAIN(Tst_DebPackage)
#include "tst_debpackage.moc"
