#include "app/UComon.h"
#include "configurations/CsvTable.h"
#include "language/ULanguage.h"
#include "support/TestSupport.h"
#include "update/UpdateLog.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTimeZone>

namespace {

Update_Record Record(const QString& target = QStringLiteral("COM3"))
{
    Update_Record r;
    r.when = QDateTime(QDate(2026, 12, 11), QTime(16, 5, 9));
    r.route = QStringLiteral("serial");
    r.target = target;
    r.choice = QStringLiteral("Bank1 + Bank2");
    r.files << Update_File{QStringLiteral("/plant/Line 4, west/New_sx38591.sx"), 1234,
                           QString(64, QLatin1Char('a'))};
    r.status = Tool_Started_Status;
    return r;
}

const QByteArray Header = "time,route,port_or_address,update_choice,file_1,size_1,sha256_1,"
                          "file_2,size_2,sha256_2,tool_status,version\r\n";

} // namespace

class tst_updatelog final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { Load_Default_Language(); }

    void timeWithOffset()
    {
        const QDateTime t(QDate(2026, 7, 1), QTime(8, 0, 5), QTimeZone(-(3 * 3600 + 1800)));
        const QString text = Record_Time_Text(t);
        // Local time, whatever the machine's zone, with the offset that brings it back.
        QVERIFY2(QRegularExpression(QStringLiteral(
                     "^\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d[+-]\\d\\d:\\d\\d$"))
                     .match(text)
                     .hasMatch(),
                 qPrintable(text));
        QCOMPARE(QDateTime::fromString(text, Qt::ISODate).toUTC(), t.toUTC());
    }

    // A header once, then one record per line that a CSV reader splits into the columns.
    void appendsWithoutRewriting()
    {
        QTemporaryDir dir;
        Append_Update_Record(dir.path(), Record());
        const QString path = dir.filePath(Update_Log_Name);
        const QByteArray first = Read_All(path);
        QVERIFY(first.startsWith(Header));
        QCOMPARE(first.count("\r\n"), 2);
        QVERIFY2(first.contains(",serial,COM3,Bank1 + Bank2,\"/plant/Line 4, west/New_sx38591.sx\","
                                "1234," +
                                QByteArray(64, 'a') + ",,,,started," + SW_Version_Text.toUtf8() +
                                "\r\n"),
                 first.constData());
        Update_Record second = Record(QStringLiteral("127.0.0.1"));
        second.route = QStringLiteral("Ethernet");
        second.status = QStringLiteral("exit status 0");
        Append_Update_Record(dir.path(), second);
        const QByteArray both = Read_All(path);
        QVERIFY(both.startsWith(first));
        QCOMPARE(both.count("time,route"), 1);
        QCOMPARE(both.count("\r\n"), 3);
        QVERIFY(both.endsWith(",exit status 0," + SW_Version_Text.toUtf8() + "\r\n"));
    }

    // A record cut short (power lost while it was written) is kept, and the next one still
    // starts on a line of its own.
    void recordAfterACutOne()
    {
        QTemporaryDir dir;
        Append_Update_Record(dir.path(), Record());
        const QString path = dir.filePath(Update_Log_Name);
        QFile f(path);
        QVERIFY(f.open(QIODevice::Append));
        f.write("2026-12-11T16:07:00+00:00,serial,CO");
        f.close();
        const QByteArray cut = Read_All(path);
        Append_Update_Record(dir.path(), Record(QStringLiteral("COM7")));
        const QByteArray after = Read_All(path);
        QVERIFY(after.startsWith(cut + "\r\n"));
        const QList<QByteArray> lines = after.split('\n');
        QCOMPARE(lines.size(), 5);
        QVERIFY(lines[3].startsWith(Record_Time_Text(Record().when).toUtf8() + ",serial,COM7,"));
    }

    void describesFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("bank2.bin"));
        const QByteArray bytes(18432, '\x5A');
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        f.close();
        const Update_File d = Describe_Update_File(path);
        QCOMPARE(d.size, 18432);
        QCOMPARE(d.sha256,
                 QString::fromLatin1(
                     QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex()));
        QCOMPARE(Describe_Update_File(dir.filePath(QStringLiteral("none"))).size, -1);
    }

    void toolStatus_data()
    {
        QTest::addColumn<bool>("finished");
        QTest::addColumn<bool>("crashed");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("status");
        QTest::newRow("ended") << true << false << 3 << "exit status 3";
        QTest::newRow("crashed") << true << true << -1 << "ended abnormally";
        QTest::newRow("outlived the wait") << false << false << -1 << "running after 150 s";
    }

    void toolStatus()
    {
        QFETCH(bool, finished);
        QFETCH(bool, crashed);
        QFETCH(int, exitCode);
        QFETCH(QString, status);
        Process_Launcher::Wait_Result r;
        r.started = true;
        r.finished = finished;
        r.crashed = crashed;
        r.exitCode = exitCode;
        QCOMPARE(Tool_Status(r, 150000), status);
    }

    void unwritable_data()
    {
        QTest::addColumn<bool>("folder"); // a folder in the file's place, else a read-only file
        QTest::addColumn<QString>("reason");
        QTest::newRow("read-only file") << false << "the file is read-only";
        QTest::newRow("folder in its place") << true << "a folder has this name";
    }

    void unwritable()
    {
        QFETCH(bool, folder);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        const QString path = dir.filePath(Update_Log_Name);
        QByteArray before;
        if (folder) {
            QVERIFY(QDir().mkdir(path));
        } else {
            Append_Update_Record(dir.path(), Record());
            before = Read_All(path);
            QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup));
        }
        try {
            Append_Update_Record(dir.path(), Record());
            QFAIL("appended");
        } catch (const App_Error& e) {
            QCOMPARE(e.text(), Msg(530) + QDir::toNativeSeparators(path) + Msg(531) + reason);
        }
        if (!folder) {
            QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
            QCOMPARE(Read_All(path), before);
        }
    }

    // A record that does not fit is cut off again: the earlier ones stay byte for byte, and
    // the next record after freeing room starts on a line of its own.
    void fullDiskKeepsEarlierRecords()
    {
        Small_Disk disk(256 * 1024);
        if (!disk.ok())
            QSKIP(qPrintable(disk.reason()));
        Append_Update_Record(disk.path(), Record());
        const QString path = QDir(disk.path()).filePath(Update_Log_Name);
        const QByteArray before = Read_All(path);
        disk.Leave_Free(0);
        const Update_Record large = Record(QString(20000, QLatin1Char('x')));
        try {
            Append_Update_Record(disk.path(), large);
            QFAIL("appended on a full disk");
        } catch (const App_Error& e) {
            QVERIFY2(e.text().startsWith(Msg(530) + QDir::toNativeSeparators(path) + Msg(531)),
                     qPrintable(e.text()));
        }
        QCOMPARE(Read_All(path), before);
        disk.Release();
        Append_Update_Record(disk.path(), Record(QStringLiteral("COM5")));
        const QByteArray after = Read_All(path);
        QVERIFY(after.startsWith(before));
        QVERIFY(after.mid(before.size()).contains(",serial,COM5,"));
        QCOMPARE(after.count("\r\n"), 3);
    }
};

QTEST_GUILESS_MAIN(tst_updatelog)
#include "tst_updatelog.moc"
