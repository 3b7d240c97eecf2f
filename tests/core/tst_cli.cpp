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
        QTest::newRow("no command") << QStringList{} << 2 << QByteArray()
                                    << QByteArray("Usage: sw38591-cli");
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
};

QTEST_GUILESS_MAIN(Tst_Cli)
#include "tst_cli.moc"
