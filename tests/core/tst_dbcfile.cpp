#include "app/UComon.h"
#include "configurations/DbcFile.h"
#include "support/TestSupport.h"

#include <QTest>

namespace {

Dbc_File Engine()
{
    return Read_Dbc_File(Test_Data(QStringLiteral("dbc/engine_cp1252_crlf.dbc")));
}

const Dbc_Message& Message(const Dbc_File& f, const QString& name)
{
    for (const Dbc_Message& m : f.messages)
        if (m.name == name)
            return m;
    qFatal("no message %s", qPrintable(name));
}

// One line per message the mapping names: "<name>: <cells>" or "<name>: skipped: <why>",
// notes after " | ".
QStringList Lines(const Dbc_Mapping& m)
{
    QStringList out;
    for (const Dbc_Row& r : m.rows) {
        QString line = r.message + QStringLiteral(": ") +
                       (r.skipped.isEmpty() ? r.cells.join(QLatin1Char(','))
                                            : QStringLiteral("skipped: ") + r.skipped);
        for (const QString& n : r.notes)
            line += QStringLiteral(" | ") + n;
        out << line;
    }
    return out;
}

QString Error_Of(const QByteArray& dbc)
{
    try {
        Parse_Dbc(dbc, QStringLiteral("x.dbc"));
    } catch (const App_Error& e) {
        return e.text();
    }
    return {};
}

} // namespace

class tst_dbcfile final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void split_data()
    {
        QTest::addColumn<quint32>("id");
        QTest::addColumn<QString>("format");
        QTest::addColumn<bool>("extended");
        QTest::addColumn<int>("priority");
        QTest::addColumn<bool>("edp");
        QTest::addColumn<int>("dp");
        QTest::addColumn<quint32>("pgn");
        QTest::addColumn<int>("sa");

        QTest::newRow("PDU2, bit 31, placeholder SA")
            << 0x98FEF1FEu << "" << true << 6 << false << 0 << 0xFEF1u << 0xFE;
        QTest::newRow("PDU2, bit 31 clear")
            << 0x18FEF1FEu << "" << true << 6 << false << 0 << 0xFEF1u << 0xFE;
        QTest::newRow("PDU1 keeps the destination")
            << 0x8C000B03u << "" << true << 3 << false << 0 << 0x000Bu << 0x03;
        QTest::newRow("PDU1 request to all")
            << 0x98EAFFF9u << "" << true << 6 << false << 0 << 0xEAFFu << 0xF9;
        QTest::newRow("data page 1")
            << 0x99FE1021u << "" << true << 6 << false << 1 << 0xFE10u << 0x21;
        QTest::newRow("extended data page")
            << 0x9AFE1105u << "" << true << 6 << true << 0 << 0xFE11u << 0x05;
        QTest::newRow("priority 7, PF 240")
            << 0x9CF00100u << "" << true << 7 << false << 0 << 0xF001u << 0x00;
        QTest::newRow("standard") << 0x123u << "" << false << 0 << false << 0 << 0u << 0;
        QTest::newRow("standard by format")
            << 0x7FFu << "StandardCAN" << false << 0 << false << 0 << 0u << 0;
        QTest::newRow("small id, J1939 by format")
            << 0x1FEu << "J1939PG" << true << 0 << false << 0 << 0x0001u << 0xFE;
    }

    void split()
    {
        QFETCH(quint32, id);
        QFETCH(QString, format);
        const J1939_Id j = Split_J1939_Id(id, format);
        QTEST(j.extended, "extended");
        QCOMPARE(j.can_id, id & 0x7FFFFFFFu);
        QTEST(j.priority, "priority");
        QTEST(j.extended_data_page, "edp");
        QTEST(j.data_page, "dp");
        QTEST(j.pgn, "pgn");
        QTEST(j.source_address, "sa");
    }

    // CR LF, Windows-1252, NS_ list, BO_TX_BU_, CM_ over lines with escaped quotes, VAL_,
    // enumerated attributes and their default, multiplexed signals, the independent signals.
    void engineFile()
    {
        const Dbc_File f = Engine();
        QCOMPARE(f.version, "1.2");
        QCOMPARE(f.nodes, (QStringList{"Engine", "Gearbox", "Cab"}));
        QCOMPARE(f.messages.size(), 9);

        const Dbc_Message& eec1 = Message(f, "EEC1");
        QCOMPARE(eec1.id, 2364539904u);
        QCOMPARE(eec1.size, 8);
        QCOMPARE(eec1.sender, "Engine");
        QCOMPARE(eec1.transmitters, QStringList{"Cab"});
        QCOMPARE(eec1.line, 21);
        QCOMPARE(eec1.comment,
                 "Electronic engine controller 1,\nsent every 20 ms; the \"speed\" is here.");
        QCOMPARE(eec1.attributes.value("VFrameFormat"), "J1939PG");
        QCOMPARE(eec1.attributes.value("GenMsgCycleTime"), "20");
        QCOMPARE(eec1.signal_list.size(), 2);
        const Dbc_Signal& speed = eec1.signal_list[1];
        QCOMPARE(speed.name, "EngSpeed");
        QCOMPARE(speed.start, 24);
        QCOMPARE(speed.length, 16);
        QCOMPARE(speed.factor, 0.125);
        QCOMPARE(speed.maximum, 8031.875);
        QCOMPARE(speed.unit, "rpm");
        QCOMPARE(speed.receivers, (QStringList{"Gearbox", "Cab"}));
        QCOMPARE(speed.comment, "Actual engine speed");
        QCOMPARE(eec1.signal_list[0].values.value(15), "Not available");

        const Dbc_Message& tsc1 = Message(f, "TSC1");
        QCOMPARE(tsc1.signal_list.size(), 3);
        QCOMPARE(tsc1.signal_list[0].multiplex, "M");
        QCOMPARE(tsc1.signal_list[1].multiplex, "m0");
        QCOMPARE(tsc1.signal_list[2].multiplex, "m1");
        QVERIFY(tsc1.signal_list[2].is_signed);
        QCOMPARE(tsc1.signal_list[2].offset, -125.0);
        QVERIFY(!Message(f, "PropDP1").signal_list[0].little_endian);

        QCOMPARE(Message(f, "Diag11bit").attributes.value("VFrameFormat"), "StandardCAN");
        const Dbc_Message& et1 = Message(f, "ET1");
        QCOMPARE(et1.attributes.value("VFrameFormat"), "J1939PG");
        QCOMPARE(et1.signal_list[0].unit, "°C");
        QCOMPARE(et1.signal_list[0].minimum, -40.0);
        QCOMPARE(Message(f, "VECTOR__INDEPENDENT_SIG_MSG").signal_list.size(), 1);
    }

    void utf8File()
    {
        const Dbc_File f = Read_Dbc_File(Test_Data("dbc/retarder_utf8_bom.dbc"));
        QCOMPARE(f.messages.size(), 2);
        QCOMPARE(Message(f, "Bremse").comment, "Dauerbremse über Öl");
        QCOMPARE(Message(f, "Bremse").size, 4);
    }

    void mapping_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("receive");
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<int>("sa"); // -1: the file's
        QTest::addColumn<QList<QStringList>>("existing");
        QTest::addColumn<int>("rowsLeft");
        QTest::addColumn<int>("bytesLeft");
        QTest::addColumn<QStringList>("lines");

        const QString engine = "dbc/engine_cp1252_crlf.dbc";
        const QString std11 = "Diag11bit: skipped: standard 11-bit frame 0x123; the tables hold "
                              "J1939 frames only";
        const QString edp =
            "ExtDataPage: skipped: the extended data page bit is set (identifier 0x1AFE1105)";
        const QString dm1 = "DM1: skipped: larger than the table allows: 1785 bytes, at most 455";
        const QString placeholder =
            " | source address 254 is the file's placeholder (null address); choose the one to "
            "use";

        QTest::newRow("receive, all")
            << engine << true << QStringList{} << -1 << QList<QStringList>{} << 56 << 455
            << QStringList{
                   "EEC1: 0,0xF004,0,N,0,8,N,N,1000,EEC1",
                   "CCVS: 0,0xFEF1,254,N,0,8,N,N,1000,CCVS" + placeholder,
                   "TSC1: 0,0x0000,3,N,0,8,N,N,1000,TSC1",
                   "PropDP1: 1,0xFE10,33,N,0,6,N,N,1000,PropDP1",
                   edp,
                   std11,
                   dm1,
                   "ET1: 0,0xFEEE,0,N,0,8,N,N,1000,ET1",
               };
        // One source address for all: EEC1 and ET1 stay apart, the two PGN FEF1 do not.
        QTest::newRow("transmit, chosen SA, a duplicate of the table")
            << engine << false << QStringList{"CCVS", "EEC1", "PropDP1"} << 0x21
            << QList<QStringList>{{"6", "0", "0xFEF1", "33", "8", "N", "N", "N", "1000", "old"}}
            << 55 << 447
            << QStringList{
                   "EEC1: 3,0,0xF004,33,8,N,N,N,1000,EEC1",
                   "CCVS: skipped: same data page, PGN and source address as row 1",
                   "PropDP1: 6,1,0xFE10,33,6,N,N,N,1000,PropDP1",
               };
        QTest::newRow("receive, room for two rows")
            << engine << true << QStringList{"EEC1", "CCVS", "PropDP1"} << 7 << QList<QStringList>{}
            << 2 << Dbc_No_Budget << QStringList{};
        QTest::newRow("receive, all that fit the bytes")
            << engine << true << QStringList{} << 7 << QList<QStringList>{} << 56 << 14
            << QStringList{
                   "EEC1: 0,0xF004,7,N,0,8,N,N,1000,EEC1",
                   "CCVS: skipped: no room left in the table",
                   "TSC1: skipped: no room left in the table",
                   "PropDP1: 1,0xFE10,7,N,0,6,N,N,1000,PropDP1",
                   edp,
                   std11,
                   dm1,
                   "ET1: skipped: no room left in the table",
               };
        QTest::newRow("long name") << "dbc/retarder_utf8_bom.dbc" << false << QStringList{} << -1
                                   << QList<QStringList>{} << 56 << 455
                                   << QStringList{
                                          "ERC1_Retarder_Control_Messa: 6,0,0xFEF3,0,8,N,N,N,1000,"
                                          "ERC1_Retarder_Control_Message_One",
                                          "Bremse: 6,0,0xFEF3,1,4,N,N,N,1000,Bremse",
                                      };
    }

    void mapping()
    {
        QFETCH(QString, file);
        QFETCH(bool, receive);
        QFETCH(QStringList, names);
        QFETCH(int, sa);
        QFETCH(QList<QStringList>, existing);
        QFETCH(int, rowsLeft);
        QFETCH(int, bytesLeft);
        QFETCH(QStringList, lines);
        Dbc_Choice c;
        c.receive = receive;
        c.names = names;
        if (sa >= 0)
            c.sa = sa;
        c.existing = existing;
        c.rows_left = rowsLeft;
        c.bytes_left = bytesLeft;
        const Dbc_File f = Read_Dbc_File(Test_Data(file));
        if (lines.isEmpty()) {
            QVERIFY_THROWS_EXCEPTION(App_Error, Map_Dbc_Messages(f, c));
            return;
        }
        QCOMPARE(Lines(Map_Dbc_Messages(f, c)), lines);
    }

    void chosenErrors()
    {
        Dbc_Choice c;
        c.rows_left = 1;
        c.bytes_left = 10;
        c.names = QStringList{"EEC1", "ET1"};
        try {
            Map_Dbc_Messages(Engine(), c);
            QFAIL("no error");
        } catch (const App_Error& e) {
            QCOMPARE(e.text(), "the chosen messages need 2 rows and 16 bytes; the table has 1 "
                               "rows left and 10 bytes of its budget");
        }
        c.names = QStringList{"EEC1", "EEC9"};
        try {
            Map_Dbc_Messages(Engine(), c);
            QFAIL("no error");
        } catch (const App_Error& e) {
            QCOMPARE(e.text(), "no message named EEC9 in the file");
        }
    }

    void malformed_data()
    {
        QTest::addColumn<QByteArray>("dbc");
        QTest::addColumn<QString>("error");
        QTest::newRow("no colon after the name") << Read_All(Test_Data("dbc/missing_colon.dbc"))
                                                 << "x.dbc, line 8: expected ':', found '8'";
        QTest::newRow("size not a number") << QByteArray("BU_: A\r\nBO_ 1 M: eight A\r\n")
                                           << "x.dbc, line 2: expected the message size in "
                                              "bytes, found 'eight'";
        QTest::newRow("signal without BO_")
            << QByteArray("VERSION \"\"\n\n SG_ S : 0|8@1+ (1,0) [0|1] \"\" X\n")
            << "x.dbc, line 3: expected BO_ before its signals, "
               "found 'SG_'";
        QTest::newRow("bad byte order")
            << QByteArray("BO_ 1 M: 8 A\n SG_ S : 0|8@2+ (1,0) [0|1] \"\" X\n")
            << "x.dbc, line 2: expected the byte order 0 or 1, "
               "found '2'";
        QTest::newRow("comment not closed") << QByteArray("BO_ 1 M: 8 A\nCM_ BO_ 1 \"one\ntwo;\n")
                                            << "x.dbc, line 2: a quoted text is not closed";
        QTest::newRow("comment without semicolon")
            << QByteArray("BO_ 1 M: 8 A\nCM_ BO_ 1 \"one\"\nBO_ 2 N: 8 A\n")
            << "x.dbc, line 3: expected ';', found 'BO_'";
        QTest::newRow("skipped section not ended")
            << QByteArray("BO_ 1 M: 8 A\nSIG_VALTYPE_ 1 S : 1\n")
            << "x.dbc, line 3: expected ';' to end the SIG_VALTYPE_ section begun on line 2, "
               "found the end of the file";
        QTest::newRow("stray text") << QByteArray("BO_ 1 M: 8 A\n\nhello\n")
                                    << "x.dbc, line 3: expected a section keyword such as BO_, "
                                       "found 'hello'";
        QTest::newRow("identifier too large") << QByteArray("BO_ 4294967296 M: 8 A\n")
                                              << "x.dbc, line 1: expected a message identifier, "
                                                 "found '4294967296'";
    }

    void malformed()
    {
        QFETCH(QByteArray, dbc);
        QTEST(Error_Of(dbc), "error");
    }
};

QTEST_GUILESS_MAIN(tst_dbcfile)
#include "tst_dbcfile.moc"
