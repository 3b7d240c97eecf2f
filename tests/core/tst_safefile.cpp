#include "app/UComon.h"
#include "configurations/SafeFile.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

namespace {

void Put(const QString& path, const QByteArray& data)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(f.write(data), data.size());
}

QString Error_Of(const std::function<void()>& f)
{
    try {
        f();
    } catch (const App_Error& e) {
        return e.text();
    }
    return {};
}

QStringList Entries(const QString& dir)
{
    return QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                               QDir::Name);
}

} // namespace

class tst_SafeFile final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void replacesAndKeepsPermissions()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("a.xml");
        Put(path, "old");
        QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        Write_File_Atomic(path, "new content");
        QCOMPARE(Read_All(path), QByteArray("new content"));
        QCOMPARE(QFileInfo(path).permissions() & 0x7777,
                 QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadUser
                     | QFileDevice::WriteUser);
        QCOMPARE(Entries(dir.path()), QStringList{"a.xml"});
    }

    void refusesReadOnly()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("a.xml");
        Put(path, "old");
        QFile::setPermissions(path, QFileDevice::ReadOwner);
        QVERIFY(Error_Of([&] { Write_File_Atomic(path, "new"); }).contains("read-only"));
        QCOMPARE(Read_All(path), QByteArray("old"));
        QVERIFY(Error_Of([&] { Write_File_Atomic(dir.filePath("none/b.xml"), "x"); })
                    .contains("does not exist"));
    }

    // A buffered writer only learns of a full disk when it closes; the short file then
    // replaced the old one.
    void fullDiskKeepsTheOldFile_data()
    {
        QTest::addColumn<int>("size");
        QTest::newRow("small, below any buffer") << 3000;
        QTest::newRow("exactly 16 KiB") << 16384;
        QTest::newRow("large") << 200000;
    }
    void fullDiskKeepsTheOldFile()
    {
        QFETCH(int, size);
        Small_Disk disk(256 * 1024);
        if (!disk.ok())
            QSKIP(qPrintable(disk.reason()));
        const QString path = Path_Join(disk.path(), "bank1.bin");
        Put(path, "old");
        disk.Leave_Free(0);
        const QString error = Error_Of([&] { Write_File_Atomic(path, QByteArray(size, 'n')); });
        QVERIFY2(error.contains("bank1.bin") && error.contains("No space left on device"),
                 qPrintable(error));
        QCOMPARE(Read_All(path), QByteArray("old"));
        disk.Release();
        QCOMPARE(Entries(disk.path()), QStringList{"bank1.bin"});
    }

    // A replacement keeps the permissions of the file it replaces, whatever the umask.
    void keepsPermissions_data()
    {
        QTest::addColumn<int>("mode");
        QTest::newRow("0600") << 0600;
        QTest::newRow("0640") << 0640;
        QTest::newRow("0666") << 0666;
    }
    void keepsPermissions()
    {
        QFETCH(int, mode);
        QTemporaryDir dir;
        const QString path = dir.filePath("a.xml");
        Put(path, "old");
        QCOMPARE(::chmod(QFile::encodeName(path).constData(), mode_t(mode)), 0);
        const mode_t mask = ::umask(022);
        Write_File_Atomic(path, "new");
        ::umask(mask);
        struct stat st {};
        QCOMPARE(::stat(QFile::encodeName(path).constData(), &st), 0);
        QCOMPARE(int(st.st_mode & 07777), mode);
    }

    // The read-only rule holds for every file of a group, checked before anything is written.
    void groupRefusesReadOnly_data()
    {
        QTest::addColumn<QString>("readOnly");
        QTest::newRow("first file") << "bank1.bin";
        QTest::newRow("second file") << "bank2.bin";
        QTest::newRow("the folder") << ".";
    }
    void groupRefusesReadOnly()
    {
        QFETCH(QString, readOnly);
        QTemporaryDir dir;
        const QString a = dir.filePath("bank1.bin"), b = dir.filePath("bank2.bin");
        Put(a, "old1");
        Put(b, "old2");
        const QString locked = QDir::cleanPath(dir.filePath(readOnly));
        const QFileDevice::Permissions before = QFileInfo(locked).permissions();
        QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        const QString error = Error_Of([&] { Write_Files_Atomic({{a, "new1"}, {b, "new2"}}); });
        QFile::setPermissions(locked, before);
        QVERIFY2(error.contains("read-only"), qPrintable(error));
        QCOMPARE(Read_All(a), QByteArray("old1"));
        QCOMPARE(Read_All(b), QByteArray("old2"));
        QCOMPARE(Entries(dir.path()), (QStringList{"bank1.bin", "bank2.bin"}));
    }

    // The second file does not fit: neither changes, and the first one's new copy does not
    // stay behind on the full disk.
    void groupOnAFullDisk()
    {
        Small_Disk disk(256 * 1024);
        if (!disk.ok())
            QSKIP(qPrintable(disk.reason()));
        const QString a = Path_Join(disk.path(), "bank1.bin"), b = Path_Join(disk.path(), "bank2.bin");
        Put(a, "old1");
        Put(b, "old2");
        disk.Leave_Free(20000);
        const QString error = Error_Of(
            [&] { Write_Files_Atomic({{a, QByteArray(16384, '1')}, {b, QByteArray(18432, '2')}}); });
        QVERIFY2(error.contains("bank2.bin") && error.contains("No space left on device"),
                 qPrintable(error));
        QCOMPARE(Read_All(a), QByteArray("old1"));
        QCOMPARE(Read_All(b), QByteArray("old2"));
        disk.Release();
        QCOMPARE(Entries(disk.path()), (QStringList{"bank1.bin", "bank2.bin"}));
    }

    void groupIsAllOrNothing()
    {
        QTemporaryDir dir;
        const QString a = dir.filePath("bank1.bin"), b = dir.filePath("bank2.bin");
        Put(a, "old1");
        Put(b, "old2");
        Write_Files_Atomic({{a, "new1"}, {b, "new2"}});
        QCOMPARE(Read_All(a), QByteArray("new1"));
        QCOMPARE(Read_All(b), QByteArray("new2"));
        QCOMPARE(Entries(dir.path()), (QStringList{"bank1.bin", "bank2.bin"}));

        // Read-only second file: refused before anything is replaced.
        QFile::setPermissions(b, QFileDevice::ReadOwner);
        QVERIFY(Error_Of([&] { Write_Files_Atomic({{a, "x1"}, {b, "x2"}}); })
                    .contains("bank2.bin"));
        QCOMPARE(Read_All(a), QByteArray("new1"));
        QFile::setPermissions(b, QFileDevice::ReadOwner | QFileDevice::WriteOwner);

        // A folder where the second file belongs: its rename fails after the first is in
        // place, which is undone.
        QFile::remove(b);
        QVERIFY(QDir().mkdir(b));
        Put(b + "/keep", "k");
        QVERIFY(!Error_Of([&] { Write_Files_Atomic({{a, "y1"}, {b, "y2"}}); }).isEmpty());
        QCOMPARE(Read_All(a), QByteArray("new1"));
        QVERIFY(QFileInfo(b).isDir());
        QCOMPARE(Entries(dir.path()), (QStringList{"bank1.bin", "bank2.bin"}));
    }

    void recoveryCompletesAMarkedGroup()
    {
        QTemporaryDir dir;
        const QString a = dir.filePath("bank1.bin"), b = dir.filePath("bank2.bin");
        // As a kill after the first rename leaves it.
        Put(a, "new1");
        Put(b, "old2");
        Put(dir.filePath(".bank2.bin.new"), "new2");
        Put(dir.filePath(".bank1.bin.old"), "old1");
        Put(dir.filePath(".sw38591-group"), "bank1.bin\nbank2.bin");
        Recover_File_Group(dir.path());
        QCOMPARE(Read_All(a), QByteArray("new1"));
        QCOMPARE(Read_All(b), QByteArray("new2"));
        QCOMPARE(Entries(dir.path()), (QStringList{"bank1.bin", "bank2.bin"}));

        // Without the mark a new file is an unfinished write: never put in place.
        Put(dir.filePath(".bank1.bin.new"), "half");
        Recover_File_Group(dir.path());
        QCOMPARE(Read_All(a), QByteArray("new1"));
        Write_Files_Atomic({{a, "n1"}, {b, "n2"}});
        QCOMPARE(Entries(dir.path()), (QStringList{"bank1.bin", "bank2.bin"}));
    }

    // A marked group that cannot be completed, and an undo cut short, both end with the old
    // files: never one new file beside an old one.
    void recoveryGoesBackWhenTheGroupCannotBeCompleted_data()
    {
        QTest::addColumn<QString>("mark");
        QTest::addColumn<bool>("folderInTheWay");
        QTest::newRow("undo interrupted") << ".sw38591-undo" << false;
        QTest::newRow("second file cannot be placed") << ".sw38591-group" << true;
    }
    void recoveryGoesBackWhenTheGroupCannotBeCompleted()
    {
        QFETCH(QString, mark);
        QFETCH(bool, folderInTheWay);
        QTemporaryDir dir;
        const QString a = dir.filePath("bank1.bin"), b = dir.filePath("bank2.bin");
        // As a kill leaves it after the first file was put in place.
        Put(a, "new1");
        Put(dir.filePath(".bank1.bin.old"), "old1");
        Put(dir.filePath(".bank2.bin.new"), "new2");
        Put(dir.filePath(".sw38591-group"), "bank1.bin\t1\nbank2.bin\t1\n");
        if (folderInTheWay) {
            QVERIFY(QDir().mkdir(b));
            Put(b + "/keep", "k");
            Put(dir.filePath(".bank2.bin.old"), "backup made before the rename failed");
        } else {
            Put(b, "old2");
            QVERIFY(QFile::rename(dir.filePath(".sw38591-group"), dir.filePath(mark)));
        }
        const QString error = Error_Of([&] { Recover_File_Group(dir.path()); });
        QCOMPARE(Read_All(a), QByteArray("old1"));
        if (folderInTheWay) {
            QVERIFY2(error.contains("bank2.bin"), qPrintable(error));
            QVERIFY(QFileInfo(b).isDir());
        } else {
            QVERIFY2(error.isEmpty(), qPrintable(error));
            QCOMPARE(Read_All(b), QByteArray("old2"));
        }
        QCOMPARE(Entries(dir.path()), (QStringList{"bank1.bin", "bank2.bin"}));
    }

    // A file that did not exist before the group goes again on an undo.
    void undoRemovesAFileThatWasNew()
    {
        QTemporaryDir dir;
        const QString a = dir.filePath("bank1.bin"), b = dir.filePath("bank2.bin");
        QVERIFY(QDir().mkdir(b));
        QVERIFY(!Error_Of([&] { Write_Files_Atomic({{a, "new1"}, {b, "new2"}}); }).isEmpty());
        QVERIFY(!QFileInfo::exists(a));
        QCOMPARE(Entries(dir.path()), QStringList{"bank2.bin"});
    }
};

QTEST_GUILESS_MAIN(tst_SafeFile)
#include "tst_safefile.moc"
