#include "support/SyntheticFirmware.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QtTest>

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
    void refusesToOverwriteTheFirmware();
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
    QTest::newRow("no S9 line") << Join_Lines(fw.mid(0, fw.size() - 1)) << true
                                << QByteArray("no S9 record");
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

void tst_ComposeCli::refusesToOverwriteTheFirmware()
{
    Compose_Folder f;
    const QByteArray firmware = Join_Lines(Synthetic_Firmware());
    // The compose's own intermediate file names in the output folder.
    const QString inConf = f.conf + QStringLiteral("/B3.sx");
    Compose_Folder::Write(inConf, firmware);

    const Cli_Run r = Cli({f.conf, QStringLiteral("--firmware"), inConf});

    QCOMPARE(r.exitCode, 2);
    QVERIFY2(r.err.contains("would be overwritten"), r.err.constData());
    QCOMPARE(Read_All(inConf), firmware);
    QVERIFY(!QFile::exists(f.result));
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
