#include "support/SyntheticFirmware.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QThread>
#include <QtTest>

#ifndef Q_OS_WIN
#include <csignal>
#endif

namespace {

Cli_Run Cli(const QStringList& args)
{
    return Run_Cli(QStringList{QStringLiteral("compose")} + args);
}

QByteArray Native(const QString& path)
{
    return QDir::toNativeSeparators(path).toUtf8();
}

} // namespace

class tst_ComposeCli final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void writesTheResult_data();
    void writesTheResult();
    void stopKeepsThePreviousResult_data();
    void stopKeepsThePreviousResult();
    void readOnlyResultIsKept_data();
    void readOnlyResultIsKept();
    void firmwareBesideTheResult_data();
    void firmwareBesideTheResult();
    void usersFilesBesideTheResult();
    void killedRunLeavesOldOrNew();
    void usage_data();
    void usage();
};

void tst_ComposeCli::writesTheResult_data()
{
    QTest::addColumn<QString>("out");
    QTest::newRow("default result in the configuration") << QString();
    QTest::newRow("--out elsewhere") << QStringLiteral("out/flash me.sx");
    QTest::newRow("--out named like an intermediate file") << QStringLiteral("PROJECTS/A/B2.sx");
}

void tst_ComposeCli::writesTheResult()
{
    QFETCH(QString, out);
    Compose_Folder f;
    const QByteArrayList fw = Synthetic_Firmware();
    Compose_Folder::Write(f.firmware, Join_Lines(fw));
    const QString result = out.isEmpty() ? f.result : f.root.filePath(out);
    QDir().mkpath(QFileInfo(result).path());
    Compose_Folder::Write(result, "an earlier result");

    QStringList args{f.conf, QStringLiteral("--firmware"), f.firmware};
    if (!out.isEmpty())
        args << QStringLiteral("--out") << result;
    const Cli_Run r = Cli(args);

    QCOMPARE(r.err, QByteArray());
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(r.out, Native(result) + '\n');
    QCOMPARE(Read_All(result),
             f.Expected({fw[0], fw[1], fw[2], fw[3], "BANK1", fw[6], "BANK2", fw[9], fw[10]}));
    QCOMPARE(QFile::exists(f.result), result == f.result);
    QStringList left = f.Leftovers();
    left.removeAll(QFileInfo(result).fileName());
    QCOMPARE(left, QStringList());
    QCOMPARE(QDir(QFileInfo(result).path()).entryList(QDir::Files),
             QStringList{QFileInfo(result).fileName()});
}

void tst_ComposeCli::stopKeepsThePreviousResult_data()
{
    QTest::addColumn<QByteArray>("firmware");
    QTest::addColumn<bool>("bank2");
    QTest::addColumn<QByteArray>("message");

    const QByteArrayList fw = Synthetic_Firmware();
    QTest::newRow("bank2.bin missing")
        << Join_Lines(fw) << false << QByteArray("File bank2.bin Not Found,Abort Procedure\n");
    QTest::newRow("bad S2 line") << Join_Lines(QByteArrayList{"S2XX"} + fw) << true
                                 << QByteArray("File New Sx Not Create,Abort Procedure\n");
    QTest::newRow("S3 record inside bank 1's window")
        << Join_Lines(QByteArrayList{Srec_Line("S3", 4, 0x0038A000, QByteArray(4, '\x03'))} + fw)
        << true
        << QByteArray("Check of New_sx38591.sx Failed (address 0x38A000 is given twice (lines 1 "
                      "and 262)),Abort Procedure\n");
    QTest::newRow("no S9 line")
        << Join_Lines(fw.mid(0, fw.size() - 1)) << true
        << QByteArray("No S9 Record in sx38591.sx, No File Created,Abort Procedure\n");
}

void tst_ComposeCli::stopKeepsThePreviousResult()
{
    QFETCH(QByteArray, firmware);
    QFETCH(bool, bank2);
    QFETCH(QByteArray, message);
    Compose_Folder f;
    Compose_Folder::Write(f.firmware, firmware);
    if (!bank2)
        QVERIFY(QFile::remove(f.bin + QStringLiteral("/bank2.bin")));
    Compose_Folder::Write(f.result, "an earlier result");

    const Cli_Run r = Cli({f.conf, QStringLiteral("--firmware"), f.firmware});

    QCOMPARE(r.exitCode, 1);
    QVERIFY2(r.err.contains(message), r.err.constData());
    QCOMPARE(r.out, QByteArray());
    QCOMPARE(Read_All(f.result), QByteArray("an earlier result"));
    QCOMPARE(f.Leftovers(), QStringList());
}

void tst_ComposeCli::readOnlyResultIsKept_data()
{
    QTest::addColumn<bool>("folder");
    QTest::newRow("read-only result") << false;
    QTest::newRow("read-only folder") << true;
}

void tst_ComposeCli::readOnlyResultIsKept()
{
    QFETCH(bool, folder);
    Compose_Folder f;
    Compose_Folder::Write(f.firmware, Join_Lines(Synthetic_Firmware()));
    Compose_Folder::Write(f.result, "an earlier result");
    const QString locked = folder ? f.conf : f.result;
    const QFile::Permissions before = QFile::permissions(locked);
    QVERIFY(QFile::setPermissions(locked, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup |
                                              QFile::ExeGroup));
    const Cli_Run r = Cli({f.conf, QStringLiteral("--firmware"), f.firmware});
    QFile::setPermissions(locked, before);

    QCOMPARE(r.exitCode, 1);
    QCOMPARE(r.err, "Cannot write the file " + Native(f.result) +
                        (folder ? ": the folder is read-only\n" : ": the file is read-only\n"));
    QCOMPARE(Read_All(f.result), QByteArray("an earlier result"));
    QCOMPARE(
        QDir(f.conf).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name),
        (QStringList{"New_sx38591.sx", "bin"}));
}

void tst_ComposeCli::firmwareBesideTheResult_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("exitCode");
    // The result would replace the firmware itself.
    QTest::newRow("firmware as the result") << QStringLiteral("New_sx38591.sx") << 2;
    // The stages work elsewhere: a firmware named like one of them is only read.
    QTest::newRow("firmware named like a stage file") << QStringLiteral("B3.sx") << 0;
}

void tst_ComposeCli::firmwareBesideTheResult()
{
    QFETCH(QString, name);
    QFETCH(int, exitCode);
    Compose_Folder f;
    const QByteArray firmware = Join_Lines(Synthetic_Firmware());
    const QString inConf = f.conf + QLatin1Char('/') + name;
    Compose_Folder::Write(inConf, firmware);

    const Cli_Run r = Cli({f.conf, QStringLiteral("--firmware"), inConf});

    QCOMPARE(r.exitCode, exitCode);
    if (exitCode == 2)
        QVERIFY2(r.err.contains("would be overwritten"), r.err.constData());
    QCOMPARE(Read_All(inConf), firmware);
    if (exitCode == 0)
        QVERIFY(QFile::exists(f.result));
}

void tst_ComposeCli::usersFilesBesideTheResult()
{
    Compose_Folder f;
    Compose_Folder::Write(f.firmware, Join_Lines(Synthetic_Firmware()));
    const QString dir = f.root.filePath(QStringLiteral("out"));
    QVERIFY(QDir().mkpath(dir));
    QStringList own;
    for (int stage = 1; stage <= 5; ++stage) {
        own << dir + QStringLiteral("/B%1.sx").arg(stage);
        Compose_Folder::Write(own.last(), "mine " + QByteArray::number(stage));
        if (stage % 2)
            QVERIFY(QFile::setPermissions(own.last(), QFile::ReadOwner));
    }

    const Cli_Run r = Cli({f.conf, QStringLiteral("--firmware"), f.firmware,
                           QStringLiteral("--out"), dir + QStringLiteral("/x.sx")});

    QCOMPARE(r.err, QByteArray());
    QCOMPARE(r.exitCode, 0);
    for (int stage = 1; stage <= 5; ++stage)
        QCOMPARE(Read_All(own[stage - 1]), "mine " + QByteArray::number(stage));
    QCOMPARE(QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             (QStringList{"B1.sx", "B2.sx", "B3.sx", "B4.sx", "B5.sx", "x.sx"}));
}

void tst_ComposeCli::killedRunLeavesOldOrNew()
{
#ifdef Q_OS_WIN
    QSKIP("kill -9 is a POSIX signal");
#else
    Compose_Folder f;
    // Large enough that a run lasts a while.
    QByteArrayList fw = Synthetic_Firmware();
    for (quint32 i = 0; i < 20000; ++i)
        fw.insert(1, S2_Line(0x100000 + 32 * i));
    Compose_Folder::Write(f.firmware, Join_Lines(fw));
    const QByteArray fresh =
        f.Expected(QByteArrayList(fw.mid(0, 20004)) +
                   QByteArrayList{"BANK1", fw[20006], "BANK2", fw[20009], fw[20010]});
    const QStringList args{QStringLiteral("compose"), f.conf, QStringLiteral("--firmware"),
                           f.firmware};

    QElapsedTimer clock;
    clock.start();
    QCOMPARE(Run_Cli(args).exitCode, 0);
    const qint64 runMs = qMax<qint64>(clock.elapsed(), 20);
    QCOMPARE(Read_All(f.result), fresh);

    const QByteArray old = "an earlier result";
    QRandomGenerator random(38591);
    int cut = 0, kept = 0, replaced = 0;
    for (int round = 0; round < 25; ++round) {
        Compose_Folder::Write(f.result, old);
        QProcess p;
        p.start(qEnvironmentVariable("SW38591_CLI"), args);
        QVERIFY(p.waitForStarted());
        // From the start to past the end of a whole run.
        QThread::msleep(random.bounded(int(runMs * 3 / 2)));
        ::kill(pid_t(p.processId()), SIGKILL);
        QVERIFY(p.waitForFinished(10000));
        const QByteArray now = Read_All(f.result);
        if (now == old)
            ++kept;
        else if (now == fresh)
            ++replaced;
        else
            ++cut;
        // What a killed run leaves is hidden; nothing a user would take for a firmware.
        QCOMPARE(QDir(f.conf).entryList(QDir::Files), QStringList{"New_sx38591.sx"});
    }
    QCOMPARE(cut, 0);
    qInfo("kept %d, replaced %d of 25 (a run takes %lld ms)", kept, replaced, runMs);

    // The next run clears the leftovers of the killed ones.
    QCOMPARE(Run_Cli(args).exitCode, 0);
    QCOMPARE(Read_All(f.result), fresh);
    QCOMPARE(
        QDir(f.conf).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name),
        (QStringList{"New_sx38591.sx", "bin"}));
    QCOMPARE(f.Leftovers(), QStringList());
#endif
}

void tst_ComposeCli::usage_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::newRow("no firmware") << QStringList{QStringLiteral("conf")};
    QTest::newRow("no configuration")
        << QStringList{QStringLiteral("--firmware"), QStringLiteral("fw.sx")};
    QTest::newRow("--out without file")
        << QStringList{QStringLiteral("conf"), QStringLiteral("--firmware"),
                       QStringLiteral("fw.sx"), QStringLiteral("--out")};
    QTest::newRow("second folder")
        << QStringList{QStringLiteral("conf"), QStringLiteral("other"),
                       QStringLiteral("--firmware"), QStringLiteral("fw.sx")};
}

void tst_ComposeCli::usage()
{
    QFETCH(QStringList, args);
    const Cli_Run r = Cli(args);
    QCOMPARE(r.exitCode, 2);
    QVERIFY2(r.err.startsWith("sw38591-cli compose: "), r.err.constData());
    QVERIFY2(r.err.contains("compose CONF_DIR --firmware FILE [--out FILE]"), r.err.constData());
}

QTEST_GUILESS_MAIN(tst_ComposeCli)
#include "tst_ComposeCli.moc"
