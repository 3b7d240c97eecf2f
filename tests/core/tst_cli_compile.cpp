#include "compiler/USaveBincc.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

#include <csignal>

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

    // A kill at any moment of a compilation leaves, once recovered as every reader does, the
    // old pair or the new pair: never a cut file, never a new bank1.bin beside an old bank2.bin.
    void killedCompilationLeavesAWholePair()
    {
        QTemporaryDir dir;
        QStringList confs;
        QList<QByteArrayList> images;
        for (const char* example : {"empty_tables", "one_row_each"}) {
            const QString conf = dir.filePath(QLatin1String(example));
            QDir().mkpath(conf);
            for (const char* name : {"ParGen.xml", "Receive_Frame.xml", "Send_Frame.xml"})
                QVERIFY(QFile::copy(Example(QLatin1String(example)) + u'/' + QLatin1String(name),
                                    conf + u'/' + QLatin1String(name)));
            confs << conf;
            images.append({Expected(QLatin1String(example), "bank1.bin"),
                           Expected(QLatin1String(example), "bank2.bin")});
        }
        QVERIFY(images[0][0] != images[1][0] && images[0][1] != images[1][1]);
        const QString out = dir.filePath(QStringLiteral("out"));
        QCOMPARE(Run_Cli({"compile", confs[0], "--out", out}).exitCode, 0);

        // How long a whole run takes, so that the kills fall anywhere inside one.
        QElapsedTimer clock;
        clock.start();
        QCOMPARE(Run_Cli({"compile", confs[1], "--out", out}).exitCode, 0);
        const qint64 runUs = qMax<qint64>(clock.nsecsElapsed() / 1000, 1000);

        int onDisk = 1, changed = 0, beforeMark = 0, afterMark = 0;
        QRandomGenerator random(20261211);
        for (int run = 0; run < 200; ++run) {
            const int next = 1 - onDisk;
            QProcess p;
            p.start(qEnvironmentVariable("SW38591_CLI"), {"compile", confs[next], "--out", out});
            QVERIFY(p.waitForStarted());
            QThread::usleep(random.bounded(quint32(runUs + runUs / 4)));
            ::kill(pid_t(p.processId()), SIGKILL);
            QVERIFY(p.waitForFinished(60000));

            if (QFileInfo::exists(out + "/.sw38591-group"))
                ++afterMark;
            else if (QFileInfo::exists(out + "/.bank1.bin.new"))
                ++beforeMark;
            Recover_Bank_Files(out);
            const QByteArrayList pair{Read_All(out + "/bank1.bin"), Read_All(out + "/bank2.bin")};
            if (pair == images[next]) {
                onDisk = next;
                ++changed;
            } else {
                QVERIFY2(pair == images[onDisk],
                         qPrintable(QStringLiteral("run %1: sizes %2 and %3, neither pair")
                                        .arg(run)
                                        .arg(pair[0].size())
                                        .arg(pair[1].size())));
            }
            QVERIFY(!QFileInfo::exists(out + "/.sw38591-group"));
        }
        qInfo("200 killed runs: %d with the new pair, %d cut while writing, %d after the mark",
              changed, beforeMark, afterMark);
    }

    // dump reads a bank file only after an interrupted compilation was completed.
    void dumpCompletesAnInterruptedPair()
    {
        QTemporaryDir dir;
        const QString out = dir.filePath(QStringLiteral("out"));
        QCOMPARE(Run_Cli({"compile", Example("empty_tables"), "--out", out}).exitCode, 0);
        // As a kill after the commit mark and the first rename leaves the folder.
        auto put = [&](const QString& name, const QByteArray& data) {
            QFile f(out + u'/' + name);
            QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
            f.write(data);
        };
        put(".bank1.bin.old", Read_All(out + "/bank1.bin"));
        put("bank1.bin", Expected("one_row_each", "bank1.bin"));
        put(".bank2.bin.new", Expected("one_row_each", "bank2.bin"));
        put(".sw38591-group", "bank1.bin\t1\nbank2.bin\t1\n");

        const Cli_Run r = Run_Cli({"dump", out + "/bank2.bin"});
        QCOMPARE(r.exitCode, 0);
        QVERIFY(Read_All(out + "/bank2.bin") == Expected("one_row_each", "bank2.bin"));
        QCOMPARE(
            QDir(out).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name),
            (QStringList{"bank1.bin", "bank2.bin"}));
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

    // The text tells what the file holds; the exit status whether a compilation could have
    // written it.
    void dumpJudgesTheImage_data()
    {
        QTest::addColumn<int>("at");       // header byte to raise by one; -1: none
        QTest::addColumn<bool>("mendSum"); // raise the checksum with it
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("out");
        QTest::addColumn<QString>("err");
        QTest::newRow("sound") << -1 << false << 0 << "3390 (0x00000D3E), computed 3390"
                               << "";
        QTest::newRow("checksum wrong")
            << 28 << false << 1 << "3390 (0x00000D3E), computed 3391 (0x00000D3F): DOES NOT MATCH"
            << "bank2.bin: checksum at 0x47FC holds 3390, computed 3391\n";
        QTest::newRow("fixed field changed")
            << 12 << true << 1 << "computed 3391 (0x00000D3F): matches"
            << "bank2.bin: fixed at 0x400C holds 9601, not its fixed value 9600\n";
        QTest::newRow("load address changed")
            << 348 << true << 1 << "image load address"
            << "bank2.bin: image load address at 0x415C holds 0x00064001, not its fixed value "
               "0x00064000\n";
    }
    void dumpJudgesTheImage()
    {
        QFETCH(int, at);
        QFETCH(bool, mendSum);
        QFETCH(int, code);
        QFETCH(QString, out);
        QFETCH(QString, err);
        QTemporaryDir dir;
        QByteArray image = Expected(QStringLiteral("empty_tables"), "bank2.bin");
        if (at >= 0)
            image[16384 + at] = char(image[16384 + at] + 1);
        if (mendSum)
            image[16384 + 2044] = char(image[16384 + 2044] + 1);
        const QString path = dir.filePath(QStringLiteral("bank2.bin"));
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(image);
        f.close();

        const Cli_Run r = Run_Cli({"dump", path});

        QVERIFY2(QString::fromUtf8(r.out).contains(out), r.out.constData());
        QCOMPARE(QString::fromUtf8(r.err),
                 err.isEmpty()
                     ? QString()
                     : "error: " + QDir::toNativeSeparators(path).replace("bank2.bin", QString()) +
                           err);
        QCOMPARE(r.exitCode, code);
    }

    void dumpRefusesOtherSizes()
    {
        const Cli_Run r =
            Run_Cli({"dump", Example(QStringLiteral("one_row_each")) + "/ParGen.xml"});
        QCOMPARE(r.exitCode, 1);
        QVERIFY(r.out.isEmpty());
        QVERIFY2(r.err.startsWith("error: ") && r.err.contains("16384") && r.err.contains("18432"),
                 r.err.constData());
    }
};

QTEST_GUILESS_MAIN(Tst_Cli_Compile)
#include "tst_cli_compile.moc"
