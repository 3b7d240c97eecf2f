#include "configurations/ConfigDiff.h"
#include "configurations/ConfigFiles.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

namespace {

// One configuration folder: the three files, each absent when empty.
struct Conf {
    QByteArray parGen, receive, send;
};

void Write_Conf(const QString& dir, const Conf& c)
{
    QDir().mkpath(dir);
    const auto put = [&](const char* name, const QByteArray& data) {
        if (data.isEmpty())
            return;
        QFile f(QDir(dir).filePath(QLatin1String(name)));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(data);
    };
    put("ParGen.xml", c.parGen);
    put("Receive_Frame.xml", c.receive);
    put("Send_Frame.xml", c.send);
}

const QByteArray Comment = "<!--SW_VERSION = 2.000-->";

QByteArray Frames(const QByteArray& rows)
{
    return "<Receive_Frames>" + rows + "</Receive_Frames>" + Comment;
}

} // namespace

Q_DECLARE_METATYPE(Conf)

class tst_configdiff final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QVERIFY(!qEnvironmentVariableIsEmpty("SW38591_CLI")); }

    void diff_data()
    {
        QTest::addColumn<Conf>("a");
        QTest::addColumn<Conf>("b");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("out");

        const QByteArray defaults = ParGen_Xml(ParGen_Defaults_Missing_File());
        ParGen_Settings changed = ParGen_Defaults_Missing_File();
        changed.Can_Baud = QStringLiteral("3");
        const QByteArray rx1 = "<row DataPage=\"0\" PGN=\"0xFEF1\" SA=\"0\" NumBytes=\"4\"/>";
        const QByteArray rx2 = "<row DataPage=\"0\" PGN=\"65262\" SA=\"3\"/>";
        const QByteArray tx1 = "<row Priority=\"6\" DataPage=\"0\" PGN=\"0xFEF1\" SA=\"0\"/>";

        QTest::newRow("identical") << Conf{defaults, Frames(rx1 + rx2), Frames(tx1)}
                                   << Conf{defaults, Frames(rx1 + rx2), Frames(tx1)} << 0 << "";
        QTest::newRow("no files at all") << Conf{} << Conf{} << 0 << "";
        QTest::newRow("one element")
            << Conf{defaults, {}, {}} << Conf{ParGen_Xml(changed), {}, {}} << 1
            << "ParGen.xml: Can_Baud: \"5\" -> \"3\"\n";
        // Stored values, not numbers: 0xFEF1 and 65265 are the same PGN, but not the same text.
        QTest::newRow("one cell, receive")
            << Conf{{}, Frames(rx1 + rx2), {}}
            << Conf{{}, Frames("<row DataPage=\"0\" PGN=\"65265\" SA=\"0\" NumBytes=\"4\"/>" + rx2),
                    {}}
            << 1 << "Receive_Frame.xml: row 1: PGN: \"0xFEF1\" -> \"65265\"\n";
        QTest::newRow("two cells, transmit, default against typed")
            << Conf{{}, {}, Frames(tx1)}
            << Conf{{}, {}, Frames("<row Priority=\"6\" DataPage=\"0\" PGN=\"0xFEF1\" SA=\"0\" "
                                   "NumByte=\"2\" Mnemonic=\"Engine, &quot;hot&quot;\"/>")}
            << 1
            << "Send_Frame.xml: row 1: Num Byte: \"8\" -> \"2\"\n"
               "Send_Frame.xml: row 1: Mnemonic: \"\" -> \"Engine, \"hot\"\"\n";
        // One line per difference, also for a cell that holds a line break or a tab.
        QTest::newRow("line break in a cell")
            << Conf{{}, {}, Frames(tx1)}
            << Conf{{}, {}, Frames("<row Priority=\"6\" DataPage=\"0\" PGN=\"0xFEF1\" SA=\"0\" "
                                   "Mnemonic=\"Oil&#13;&#10;temp&#9;C\"/>")}
            << 1 << "Send_Frame.xml: row 1: Mnemonic: \"\" -> \"Oil\\r\\ntemp\\tC\"\n";
        QTest::newRow("rows added in B") << Conf{{}, Frames(rx1), {}}
                                         << Conf{{}, Frames(rx1 + rx2 + rx2), {}} << 1
                                         << "Receive_Frame.xml: row 2: only in B\n"
                                            "Receive_Frame.xml: row 3: only in B\n";
        QTest::newRow("row only in A, missing file") << Conf{{}, {}, Frames(tx1)} << Conf{} << 1
                                                     << "Send_Frame.xml: row 1: only in A\n";
        // A missing file reads as the settings editor opens it.
        QTest::newRow("missing file against its defaults")
            << Conf{} << Conf{defaults, Frames({}), Frames({})} << 0 << "";
        QTest::newRow("missing file against missing elements")
            << Conf{} << Conf{"<Par_Gen/>" + Comment, {}, {}} << 1
            << "ParGen.xml: Device_Type: \"1\" -> \"0\"\n";
        QTest::newRow("missing attributes against their defaults")
            << Conf{{}, Frames("<row PGN=\"1\"/>"), Frames("<row Priority=\"1\"/>")}
            << Conf{{},
                    Frames("<row PGN=\"1\" TransportProtocol=\"N\" Delete=\"N\" OnRequest=\"N\" "
                           "OnReq_Time=\"1000\"/>"),
                    Frames("<row Priority=\"1\" NumByte=\"8\" OnTimer_Time=\"1000\"/>")}
            << 0 << "";
        QTest::newRow("settings, then receive, then transmit")
            << Conf{defaults, Frames(rx1), Frames(tx1)}
            << Conf{ParGen_Xml(changed), Frames(rx2), Frames({})} << 1
            << "ParGen.xml: Can_Baud: \"5\" -> \"3\"\n"
               "Receive_Frame.xml: row 1: PGN: \"0xFEF1\" -> \"65262\"\n"
               "Receive_Frame.xml: row 1: Source Address: \"0\" -> \"3\"\n"
               "Receive_Frame.xml: row 1: Num Bytes: \"4\" -> \"\"\n"
               "Send_Frame.xml: row 1: only in A\n";
    }

    void diff()
    {
        QFETCH(Conf, a);
        QFETCH(Conf, b);
        QFETCH(int, code);
        QFETCH(QString, out);
        QTemporaryDir tmp;
        Write_Conf(tmp.filePath(QStringLiteral("A")), a);
        Write_Conf(tmp.filePath(QStringLiteral("B")), b);

        const Cli_Text_Run r =
            Run_Cli_Text({QStringLiteral("diff"), tmp.filePath(QStringLiteral("A")),
                          tmp.filePath(QStringLiteral("B"))});
        QCOMPARE(r.out, out);
        QCOMPARE(r.err, QString());
        QCOMPARE(r.code, code);

        // Swapped, every value changes sides.
        QStringList swapped;
        for (const Config_Difference& d : Compare_Configurations(
                 tmp.filePath(QStringLiteral("B")), tmp.filePath(QStringLiteral("A")))) {
            Config_Difference back = d;
            std::swap(back.a, back.b);
            if (d.kind != Config_Difference::Kind::Value)
                back.kind = d.kind == Config_Difference::Kind::Only_In_A
                                ? Config_Difference::Kind::Only_In_B
                                : Config_Difference::Kind::Only_In_A;
            swapped << Difference_Line(back) + QLatin1Char('\n');
        }
        QCOMPARE(swapped.join(QString()), out);
    }

    void refused_data()
    {
        QTest::addColumn<QStringList>("args"); // "@" stands for the temporary folder
        QTest::addColumn<QString>("err");

        QTest::newRow("no folder") << QStringList{} << "the first configuration folder is missing";
        QTest::newRow("one folder") << QStringList{"@/A"}
                                    << "the second configuration folder is missing";
        QTest::newRow("three folders") << QStringList{"@/A", "@/A", "@/A"}
                                       << "unexpected argument";
        QTest::newRow("an option") << QStringList{"@/A", "--all", "@/A"} << "unknown option";
        QTest::newRow("B missing") << QStringList{"@/A", "@/none"} << "does not exist";
        QTest::newRow("A is a file") << QStringList{"@/A/ParGen.xml", "@/A"} << "does not exist";
        QTest::newRow("not well-formed") << QStringList{"@/A", "@/bad"} << "error: ";
    }

    void refused()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, err);
        QTemporaryDir tmp;
        Write_Conf(tmp.filePath(QStringLiteral("A")), {"<Par_Gen/>", {}, {}});
        Write_Conf(tmp.filePath(QStringLiteral("bad")), {{}, "<Receive_Frames><row", {}});
        for (QString& arg : args)
            arg.replace(QLatin1Char('@'), tmp.path());
        const Cli_Text_Run r = Run_Cli_Text(QStringList{QStringLiteral("diff")} + args);
        QCOMPARE(r.code, 2);
        QCOMPARE(r.out, QString());
        QVERIFY2(r.err.contains(err), qPrintable(r.err));
    }
};

QTEST_GUILESS_MAIN(tst_configdiff)
#include "tst_configdiff.moc"
