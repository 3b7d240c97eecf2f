#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QString Example(const QString& name)
{
    return Test_Data(QStringLiteral("compiler/") + name);
}

QByteArray Expected(const QString& example, const char* file)
{
    return Read_All(Example(example) + QStringLiteral("/expected/") + QLatin1String(file));
}

// A configuration folder holding the files of an example.
QString Copy_Example(const QTemporaryDir& dir, const QString& example)
{
    const QString conf = dir.filePath(QStringLiteral("conf"));
    QDir().mkpath(conf);
    for (const char* name : {"ParGen.xml", "Receive_Frame.xml", "Send_Frame.xml"})
        QFile::copy(Example(example) + u'/' + QLatin1String(name),
                    conf + u'/' + QLatin1String(name));
    return conf;
}

} // namespace

class Tst_Cli_Compile final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void compileWritesTheImages_data()
    {
        QTest::addColumn<QString>("example");
        QTest::newRow("no files") << "no_files";
        QTest::newRow("settings, empty tables") << "empty_tables";
        QTest::newRow("one row each") << "one_row_each";
    }

    void compileWritesTheImages()
    {
        QFETCH(QString, example);
        QTemporaryDir dir;
        const QString out = dir.filePath(QStringLiteral("a/b"));

        const Cli_Run r = Run_Cli({"compile", Example(example), "--out", out});

        QCOMPARE(r.exitCode, 0);
        QVERIFY(r.err.isEmpty());
        QVERIFY(r.out.contains(QDir::toNativeSeparators(out + "/bank2.bin").toUtf8()));
        QVERIFY(Read_All(out + "/bank1.bin") == Expected(example, "bank1.bin"));
        QVERIFY(Read_All(out + "/bank2.bin") == Expected(example, "bank2.bin"));
    }

    void compileDefaultsToTheBinFolder()
    {
        QTemporaryDir dir;
        const QString conf = Copy_Example(dir, QStringLiteral("one_row_each"));

        const Cli_Run r = Run_Cli({"compile", conf});

        QCOMPARE(r.exitCode, 0);
        QVERIFY(Read_All(conf + "/bin/bank1.bin") == Expected("one_row_each", "bank1.bin"));
        QVERIFY(Read_All(conf + "/bin/bank2.bin") == Expected("one_row_each", "bank2.bin"));
    }

    void compileErrorWritesNothing_data()
    {
        QTest::addColumn<QByteArray>("parGen");
        QTest::addColumn<QByteArray>("named");
        QTest::newRow("not a number")
            << QByteArray("<Par_Gen><Can_Baud>abc</Can_Baud></Par_Gen>") << QByteArray("Can_Baud");
        QTest::newRow("malformed over lines")
            << QByteArray("<Par_Gen>\n<Can_Baud>5\n</Par_Gen>\n") << QByteArray("line 3");
    }

    void compileErrorWritesNothing()
    {
        QFETCH(QByteArray, parGen);
        QFETCH(QByteArray, named);
        QTemporaryDir dir;
        const QString conf = Copy_Example(dir, QStringLiteral("one_row_each"));
        QFile f(conf + "/ParGen.xml");
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(parGen);
        f.close();

        const Cli_Run r = Run_Cli({"compile", conf});

        QCOMPARE(r.exitCode, 1);
        QVERIFY(r.out.isEmpty());
        QVERIFY2(r.err.startsWith("error: ") && r.err.count('\n') == 1, r.err.constData());
        QVERIFY2(r.err.contains("ParGen.xml") && r.err.contains(named), r.err.constData());
        QVERIFY(!QFileInfo::exists(conf + "/bin"));
    }

    void compileOfAMissingFolderCreatesNothing()
    {
        QTemporaryDir dir;
        const QString conf = dir.filePath(QStringLiteral("nothing"));

        const Cli_Run r = Run_Cli({"compile", conf});

        QCOMPARE(r.exitCode, 1);
        QVERIFY(r.err.startsWith("error: "));
        QVERIFY(!QFileInfo::exists(conf));
    }

    void wrongUsage_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::newRow("compile without folder") << QStringList{"compile"};
        QTest::newRow("compile with two folders") << QStringList{"compile", "a", "b"};
        QTest::newRow("--out without folder") << QStringList{"compile", "a", "--out"};
        QTest::newRow("--out twice") << QStringList{"compile", "a", "--out", "b", "--out", "c"};
        QTest::newRow("unknown option") << QStringList{"compile", "--fast", "a"};
        QTest::newRow("dump without file") << QStringList{"dump"};
        QTest::newRow("dump with two files") << QStringList{"dump", "a", "b"};
    }

    void wrongUsage()
    {
        QFETCH(QStringList, args);
        const Cli_Run r = Run_Cli(args);
        QCOMPARE(r.exitCode, 2);
        QVERIFY(r.out.isEmpty());
        QVERIFY2(r.err.contains("Usage: sw38591-cli"), r.err.constData());
    }

    void dumpDecodesBothBanks()
    {
        const QString bin = Example(QStringLiteral("one_row_each")) + "/expected/";
        const Cli_Run one = Run_Cli({"dump", bin + "bank1.bin"});
        QCOMPARE(one.exitCode, 0);
        for (const char* line :
             {"Can_Baud                 5 (250K)", "Net_Dev_Id               12",
              "receive row count        1",
              "row   1 at     0: DataPage 0, PGN 65262 (0xFEEE), SA 0, cancel data 1",
              "row   1 at  7000: Priority 6, DataPage 0, PGN 65265 (0xFEF1), SA 128"})
            QVERIFY2(one.out.contains(line), line);
        QCOMPARE(one.out.count("\n  row "), 2);

        const Cli_Run two = Run_Cli({"dump", bin + "bank2.bin"});
        QCOMPARE(two.exitCode, 0);
        for (const char* line :
             {"0x4000  J1939 bit rate           250000",
              "0x4030  Ethernet gateway         192.168.0.1",
              "0x415C  image load address       0x00064000",
              "checksum                 2761 (0x00000AC9), computed 2761 (0x00000AC9): matches",
              "Receive records: 1 of 256 in use",
              "entry   0 at 0x2000: Identifier 0x18FEF180, Timer_Period 100, Data_Timeout "
              "0xFFFFFFFF, Data_Offset 0, Start_Byte 0, Byte_Count 8, Request_Time 0xFFFFFFFF, "
              "Transport 0, Flags 0x31"})
            QVERIFY2(two.out.contains(line), line);
    }

    void dumpFindsAWrongChecksum()
    {
        QTemporaryDir dir;
        QByteArray image = Expected(QStringLiteral("empty_tables"), "bank2.bin");
        image[16384 + 28] = 1; // node address, inside the sum
        const QString path = dir.filePath(QStringLiteral("bank2.bin"));
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(image);
        f.close();

        const Cli_Run r = Run_Cli({"dump", path});

        QCOMPARE(r.exitCode, 0);
        QVERIFY2(r.out.contains("3390 (0x00000D3E), computed 3391 (0x00000D3F): DOES NOT MATCH"),
                 r.out.constData());
    }

    void dumpRefusesOtherSizes()
    {
        const Cli_Run r = Run_Cli({"dump", Example(QStringLiteral("one_row_each")) + "/ParGen.xml"});
        QCOMPARE(r.exitCode, 1);
        QVERIFY(r.out.isEmpty());
        QVERIFY2(r.err.startsWith("error: ") && r.err.contains("16384") && r.err.contains("18432"),
                 r.err.constData());
    }
};

QTEST_GUILESS_MAIN(Tst_Cli_Compile)
#include "tst_cli_compile.moc"
