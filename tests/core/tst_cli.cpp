#include "support/TestSupport.h"

#include <QTest>

class Tst_Cli : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void basics_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QByteArray>("stdoutStart");
        QTest::addColumn<QByteArray>("stderrStart");
        QTest::newRow("version") << QStringList{"--version"} << 0 << QByteArray("2.000\n")
                                 << QByteArray();
        QTest::newRow("help") << QStringList{"--help"} << 0 << QByteArray("Usage: sw38591-cli")
                              << QByteArray();
        QTest::newRow("no command")
            << QStringList{} << 2 << QByteArray() << QByteArray("Usage: sw38591-cli");
        QTest::newRow("unknown") << QStringList{"frobnicate"} << 2 << QByteArray()
                                 << QByteArray("sw38591-cli: unknown command 'frobnicate'");
    }

    void basics()
    {
        QFETCH(QStringList, args);
        QFETCH(int, exitCode);
        QFETCH(QByteArray, stdoutStart);
        QFETCH(QByteArray, stderrStart);
        const Cli_Run r = Run_Cli(args);
        QCOMPARE(r.exitCode, exitCode);
        const QByteArray& out = r.out;
        const QByteArray& err = r.err;
        QVERIFY2(out.startsWith(stdoutStart), out.constData());
        QVERIFY2(err.startsWith(stderrStart), err.constData());
        if (stdoutStart.isEmpty())
            QVERIFY(out.isEmpty());
    }

    // Help goes to standard output with exit 0; wrong usage names what is wrong on standard
    // error, followed by the command's usage, with exit 2.
    void parser_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QByteArray>("out"); // what standard output begins with
        QTest::addColumn<QByteArray>("err"); // what standard error begins with
        const QByteArray compileUsage("Usage: sw38591-cli compile CONF_DIR [--out DIR]\n");
        const QByteArray importUsage(
            "Usage: sw38591-cli import CONF_DIR --table receive|transmit\n");
        QTest::newRow("help compile")
            << QStringList{"help", "compile"} << 0 << compileUsage << QByteArray();
        QTest::newRow("compile --help")
            << QStringList{"compile", "--help"} << 0 << compileUsage << QByteArray();
        QTest::newRow("compile -h beside a folder")
            << QStringList{"compile", "conf", "-h"} << 0 << compileUsage << QByteArray();
        QTest::newRow("help before an unknown option")
            << QStringList{"compile", "--fast", "--help"} << 0 << compileUsage << QByteArray();
        QTest::newRow("help import")
            << QStringList{"help", "import"} << 0 << importUsage << QByteArray();
        QTest::newRow("dump --help")
            << QStringList{"dump", "--help"} << 0 << QByteArray("Usage: sw38591-cli dump FILE\n")
            << QByteArray();
        QTest::newRow("check --help")
            << QStringList{"check", "--help"} << 0
            << QByteArray("Usage: sw38591-cli check [--all] [--warnings] CONF_DIR\n")
            << QByteArray();
        QTest::newRow("compose --help")
            << QStringList{"compose", "--help"} << 0
            << QByteArray("Usage: sw38591-cli compose CONF_DIR --firmware FILE [--out FILE]\n")
            << QByteArray();
        QTest::newRow("export --help")
            << QStringList{"export", "--help"} << 0
            << QByteArray(
                   "Usage: sw38591-cli export CONF_DIR --table receive|transmit --csv FILE\n")
            << QByteArray();
        QTest::newRow("help alone")
            << QStringList{"help"} << 0 << QByteArray("Usage: sw38591-cli COMMAND") << QByteArray();
        QTest::newRow("help of no command")
            << QStringList{"help", "frobnicate"} << 2 << QByteArray()
            << QByteArray(
                   "sw38591-cli help: no command 'frobnicate'\n\nUsage: sw38591-cli COMMAND");
        QTest::newRow("unknown long option")
            << QStringList{"compile", "--fast", "conf"} << 2 << QByteArray()
            << "sw38591-cli compile: unknown option '--fast'\n\n" + compileUsage;
        QTest::newRow("unknown short option")
            << QStringList{"check", "-x", "conf"} << 2 << QByteArray()
            << QByteArray("sw38591-cli check: unknown option '-x'\n\nUsage: sw38591-cli check ");
        QTest::newRow("value missing")
            << QStringList{"compile", "conf", "--out"} << 2 << QByteArray()
            << QByteArray("sw38591-cli compile: missing value after '--out'\n\n") + compileUsage;
        QTest::newRow("empty value")
            << QStringList{"compile", "conf", "--out", ""} << 2 << QByteArray()
            << "sw38591-cli compile: --out needs a value\n\n" + compileUsage;
        QTest::newRow("option twice")
            << QStringList{"compile", "conf", "--out", "a", "--out=b"} << 2 << QByteArray()
            << "sw38591-cli compile: --out is given twice\n\n" + compileUsage;
        QTest::newRow("flag twice")
            << QStringList{"check", "--all", "conf", "--all"} << 2 << QByteArray()
            << QByteArray("sw38591-cli check: --all is given twice\n\n");
        QTest::newRow("argument missing")
            << QStringList{"compile"} << 2 << QByteArray()
            << "sw38591-cli compile: the configuration folder is missing\n\n" + compileUsage;
        QTest::newRow("argument missing after options")
            << QStringList{"dump"} << 2 << QByteArray()
            << QByteArray("sw38591-cli dump: the bank file is missing\n\n"
                          "Usage: sw38591-cli dump FILE\n");
        QTest::newRow("extra argument")
            << QStringList{"dump", "a", "b"} << 2 << QByteArray()
            << QByteArray("sw38591-cli dump: unexpected argument 'b'\n\n"
                          "Usage: sw38591-cli dump FILE\n");
        QTest::newRow("empty argument")
            << QStringList{"compile", ""} << 2 << QByteArray()
            << "sw38591-cli compile: unexpected argument ''\n\n" + compileUsage;
        QTest::newRow("needed option missing")
            << QStringList{"compose", "conf"} << 2 << QByteArray()
            << QByteArray("sw38591-cli compose: --firmware FILE is missing\n\n"
                          "Usage: sw38591-cli compose ");
        QTest::newRow("option of another command")
            << QStringList{"dump", "--table", "receive", "a"} << 2 << QByteArray()
            << QByteArray("sw38591-cli dump: unknown option '--table'\n");
    }

    void parser()
    {
        QFETCH(QStringList, args);
        QFETCH(QByteArray, out);
        QFETCH(QByteArray, err);
        const Cli_Run r = Run_Cli(args);
        QVERIFY2(r.out.startsWith(out), r.out.constData());
        QVERIFY2(r.err.startsWith(err), r.err.constData());
        if (out.isEmpty())
            QVERIFY2(r.out.isEmpty(), r.out.constData());
        if (err.isEmpty())
            QVERIFY2(r.err.isEmpty(), r.err.constData());
        QTEST(r.exitCode, "exitCode");
    }

    // Every command has its help, and the overview names each with its synopsis.
    void helpOfEachCommand_data()
    {
        QTest::addColumn<QString>("command");
        for (const char* c : {"compile", "dump", "check", "compose", "export", "import"})
            QTest::newRow(c) << QString::fromLatin1(c);
    }

    void helpOfEachCommand()
    {
        QFETCH(QString, command);
        const Cli_Text_Run help = Run_Cli_Text({"help", command});
        QCOMPARE(help.code, 0);
        QCOMPARE(Run_Cli_Text({command, "--help"}).out, help.out);
        const QString usage = help.out.section(QLatin1Char('\n'), 0, 0);
        QVERIFY2(usage.startsWith("Usage: sw38591-cli " + command), qPrintable(usage));
        QVERIFY2(help.out.contains("\nOptions:\n") && help.out.contains("-h, --help"),
                 qPrintable(help.out));
        const Cli_Text_Run overview = Run_Cli_Text({"--help"});
        QVERIFY2(
            overview.out.contains("\n  " + usage.mid(QStringLiteral("Usage: sw38591-cli ").size())),
            qPrintable(overview.out));
    }
};

QTEST_GUILESS_MAIN(Tst_Cli)
#include "tst_cli.moc"
