#include "app/Settings.h"
#include "app/UComon.h"
#include "language/ULanguage.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTest>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace {

// A program folder that cannot be written, as an installed program's. Root writes through the
// permission bits, so there the folder is bound read-only onto itself; where that is refused,
// ok() is false and reason() says why.
class Read_Only_Folder {
public:
    explicit Read_Only_Folder(const QString& path) : m_path(path)
    {
#ifdef Q_OS_UNIX
        if (geteuid() != 0) {
            m_ok = QFile::setPermissions(path, QFile::ReadOwner | QFile::ExeOwner);
            m_chmod = m_ok;
            m_reason = QStringLiteral("cannot make %1 read-only").arg(path);
            return;
        }
        if (QProcess::execute(QStringLiteral("mount"), {"--bind", path, path}) != 0) {
            m_reason = QStringLiteral("mount --bind refused (a read-only folder needs it as root)");
            return;
        }
        m_mounted = true;
        m_ok = QProcess::execute(QStringLiteral("mount"), {"-o", "remount,bind,ro", path}) == 0;
        m_reason = QStringLiteral("remount read-only refused");
#else
        m_reason = QStringLiteral("read-only folders are tested on Linux only");
#endif
    }
    ~Read_Only_Folder()
    {
        if (m_mounted)
            QProcess::execute(QStringLiteral("umount"), {m_path});
        if (m_chmod)
            QFile::setPermissions(m_path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    Read_Only_Folder(const Read_Only_Folder&) = delete;
    Read_Only_Folder& operator=(const Read_Only_Folder&) = delete;

    bool ok() const
    {
        return m_ok;
    }
    const QString& reason() const
    {
        return m_reason;
    }

private:
    QString m_path;
    bool m_ok = false;
    bool m_mounted = false;
    bool m_chmod = false;
    QString m_reason;
};

QStringList Entries(const QString& dir)
{
    return QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

} // namespace

class Tst_DataFolder : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        Reset_Shared();
        Load_Default_Language();
    }
    void cleanup() { Set_User_Data_Folder(QString()); }

    // A writable program folder keeps everything, also with a user data folder to fall back on.
    void writableProgramFolderKeepsEverything()
    {
        Program_Folder program, user;
        Set_User_Data_Folder(user.file("SW38591"));
        Set_Program_Folders(program.path());
        QCOMPARE(Shared.Dir_Data, program.path());
        QCOMPARE(Shared.Dir_Master, program.file("MASTER"));
        QCOMPARE(Shared.Dir_Projects, program.file("PROJECTS"));
        QCOMPARE(Shared.Dir_Language, program.file("LANGUAGE"));
        QCOMPARE(Settings_File_Path(), program.file("Tessaform.xml"));
        QCOMPARE(Entries(program.path()), (QStringList{"LANGUAGE", "MASTER", "PROJECTS"}));
        QCOMPARE(Data_Folder_Notice(), QString());
        QVERIFY(!QFileInfo::exists(user.file("SW38591")));
    }

    void readOnlyProgramFolder()
    {
        Program_Folder program, user;
        program.write("LANGUAGE/Deutsch.lng", "STR11 = Offen\n");
        Read_Only_Folder readOnly(program.path());
        if (!readOnly.ok())
            QSKIP(qPrintable(readOnly.reason()));
        QVERIFY(!Folder_Writable(program.path()));
        const QString data = user.file("share/SW38591");
        Set_User_Data_Folder(data);

        Set_Program_Folders(program.path());
        QCOMPARE(Shared.Dir_Program, program.path());
        QCOMPARE(Shared.Dir_Data, data);
        QCOMPARE(Shared.Dir_Master, data + "/MASTER");
        QCOMPARE(Shared.Dir_Projects, data + "/PROJECTS");
        QCOMPARE(Shared.Dir_Language, program.file("LANGUAGE"));
        QCOMPARE(Entries(data), (QStringList{"MASTER", "PROJECTS"}));
        QCOMPARE(Settings_File_Path(), data + "/Tessaform.xml");
        QCOMPARE(Data_Folder_Notice(), Msg(33) + QDir::toNativeSeparators(data));

        // The settings round-trip through the data folder; the notice is for the first start.
        QVERIFY(QDir().mkpath(data + "/PROJECTS/Line 3"));
        Shared.Conf_Name = QStringLiteral("Line 3");
        Shared.Language_Name = QStringLiteral("Deutsch");
        Save_Setting();
        QCOMPARE(Data_Folder_Notice(), QString());
        Reset_Shared();
        Set_Program_Folders(program.path());
        Read_Settings();
        QCOMPARE(Shared.Language_Name, QStringLiteral("Deutsch"));
        QVERIFY(Restore_Configuration());
        QCOMPARE(Shared.Conf_Dir, data + "/PROJECTS/Line 3");
        QCOMPARE(Entries(program.path()), QStringList{"LANGUAGE"});
    }

    // Without a folder to fall back on (the tests, the command line) nothing moves.
    void readOnlyWithoutUserFolder()
    {
        Program_Folder program;
        Read_Only_Folder readOnly(program.path());
        if (!readOnly.ok())
            QSKIP(qPrintable(readOnly.reason()));
        Set_Program_Folders(program.path());
        QCOMPARE(Shared.Dir_Data, program.path());
        QCOMPARE(Settings_File_Path(), program.file("Tessaform.xml"));
        QCOMPARE(Data_Folder_Notice(), QString());
    }
};

QTEST_GUILESS_MAIN(Tst_DataFolder)
#include "tst_datafolder.moc"
