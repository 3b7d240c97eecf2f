#include "support/TestSupport.h"

#include <QDir>
#include <QFileInfo>
#include <QTest>

namespace {

using Run = Cli_Text_Run;

Run Cli(const QStringList& args)
{
    return Run_Cli_Text(args);
}

const QByteArray Comment = "<!--SW_VERSION = 2.000-->";
const QByteArray Bom = "\xEF\xBB\xBF";
const QByteArray Without_Ethernet = "<Par_Gen><Device_Type>0</Device_Type></Par_Gen>" + Comment;
const QByteArray With_Ethernet = "<Par_Gen><Device_Type>1</Device_Type></Par_Gen>" + Comment;

// Hidden cells that the reduced table keeps untouched, texts a spreadsheet tends to spoil.
const QByteArray Receive_File =
    "<Receive_Frames>"
    "<row DataPage=\"0\" PGN=\" 0xFEF1\" SA=\"0x11\" TransportProtocol=\"\" StartByte=\"5000\" "
    "NumBytes=\"\" Delete=\"Y\" OnRequest=\"N\" OnReq_Time=\"1000\" Mnemonic=\"Geschwindigkeit, "
    "&quot;Rad&quot; &#10;ü\"/>"
    "<row DataPage=\"1\" PGN=\"61444\" SA=\"0\" TransportProtocol=\"Y\" StartByte=\"\" "
    "NumBytes=\"4\" Delete=\"N\" OnRequest=\"Y\" OnReq_Time=\"250\" Mnemonic=\"\"/>"
    "</Receive_Frames>" +
    Comment;
const QByteArray Send_File =
    "<Receive_Frames>"
    "<row Priority=\"6\" DataPage=\"0\" PGN=\"0xFEF1\" SA=\"0x80\" NumByte=\"\" OnRequest=\"\" "
    "DataChange=\"Y\" OnTimer=\"N\" OnTimer_Time=\"1000\" Mnemonic=\"a;b\"/>"
    "<row Priority=\"3\" DataPage=\"1\" PGN=\"0\" SA=\"17\" NumByte=\"8\" OnRequest=\"N\" "
    "DataChange=\"N\" OnTimer=\"Y\" OnTimer_Time=\"10\" Mnemonic=\"&#9;x \"/>"
    "</Receive_Frames>" +
    Comment;

QString Dbc(const QString& name)
{
    return Test_Data(QStringLiteral("dbc/") + name);
}

} // namespace

class tst_tablecommands final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QVERIFY(!qEnvironmentVariableIsEmpty("SW38591_CLI")); }

    void roundTrip_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("parGen");
        QTest::addColumn<QByteArray>("content");
        // The reduced table does not check the hidden cells, so the transmit row with an empty
        // Num Byte only passes there.
        QTest::newRow("receive, full") << "receive"
                                       << "Receive_Frame.xml" << With_Ethernet
                                       << QByteArray(Receive_File).replace("5000", "3");
        QTest::newRow("receive, reduced")
            << "receive"
            << "Receive_Frame.xml" << Without_Ethernet << Receive_File;
        QTest::newRow("transmit, full")
            << "transmit"
            << "Send_Frame.xml" << With_Ethernet
            << QByteArray(Send_File).replace("NumByte=\"\"", "NumByte=\"0\"");
        QTest::newRow("transmit, reduced") << "transmit"
                                           << "Send_Frame.xml" << Without_Ethernet << Send_File;
    }

    // export, then import into an empty configuration of the same device type: the same file.
    void roundTrip()
    {
        QFETCH(QString, table);
        QFETCH(QString, file);
        QFETCH(QByteArray, parGen);
        QFETCH(QByteArray, content);
        Program_Folder folder;
        folder.write("a/ParGen.xml", parGen);
        folder.write("a/" + file, content);
        folder.write("b/ParGen.xml", parGen);
        const QString csv = folder.file("t.csv");
        Run r = Cli({"export", folder.file("a"), "--table", table, "--csv", csv});
        QCOMPARE(r.err, QString());
        QCOMPARE(r.code, 0);
        QCOMPARE(r.out, "exported 2 rows to " + csv + "\n");
        QVERIFY(folder.read("t.csv").startsWith(Bom));
        r = Cli({"import", folder.file("b"), "--table", table, "--csv", csv});
        QCOMPARE(r.err, QString());
        QCOMPARE(r.code, 0);
        QCOMPARE(folder.read("b/" + file), content);
    }

    // As a European spreadsheet saves it; --append puts the rows after the stored ones.
    void semicolonCsv()
    {
        Program_Folder folder;
        folder.write("c/ParGen.xml", With_Ethernet);
        folder.write("c/Receive_Frame.xml",
                     "<Receive_Frames><row DataPage=\"0\" PGN=\"65262\" SA=\"0\" "
                     "TransportProtocol=\"N\" StartByte=\"\" NumBytes=\"\" Delete=\"N\" "
                     "OnRequest=\"N\" OnReq_Time=\"1000\" Mnemonic=\"ET1\"/></Receive_Frames>" +
                         Comment);
        folder.write("rows.csv", Bom + "Mnemonic;PGN;Source Address;Data Page;Notiz\r\n"
                                       "\"Drehzahl; Motor\";0xF004;0;0;1,5\r\n"
                                       ";;;;\r\n"
                                       "K\xC3\xBChlung;0xFEEE;3;0;\r\n");
        const Run r = Cli({"import", folder.file("c"), "--table", "receive", "--csv",
                           folder.file("rows.csv"), "--append"});
        QCOMPARE(r.err, QString());
        QCOMPARE(r.code, 0);
        QCOMPARE(r.out, "warning: the column \"Notiz\" is not one of the table's; it is not "
                        "imported\nrow 2: from line 2\nrow 3: from line 4\n"
                        "warning: row 2: The source address is the converter's own address and "
                        "peer-to-peer is off: enter the address of the sending node, or enable "
                        "peer-to-peer\n");
        QCOMPARE(folder.read("c/Receive_Frame.xml"),
                 "<Receive_Frames><row DataPage=\"0\" PGN=\"65262\" SA=\"0\" "
                 "TransportProtocol=\"N\" StartByte=\"\" NumBytes=\"\" Delete=\"N\" "
                 "OnRequest=\"N\" OnReq_Time=\"1000\" Mnemonic=\"ET1\"/>"
                 "<row DataPage=\"0\" PGN=\"0xF004\" SA=\"0\" TransportProtocol=\"N\" "
                 "StartByte=\"\" NumBytes=\"\" Delete=\"N\" OnRequest=\"N\" OnReq_Time=\"1000\" "
                 "Mnemonic=\"Drehzahl; Motor\"/>"
                 "<row DataPage=\"0\" PGN=\"0xFEEE\" SA=\"3\" TransportProtocol=\"N\" "
                 "StartByte=\"\" NumBytes=\"\" Delete=\"N\" OnRequest=\"N\" OnReq_Time=\"1000\" "
                 "Mnemonic=\"Kühlung\"/></Receive_Frames>" +
                     Comment);
    }

    void dbc_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QString>("out");
        QTest::addColumn<QByteArray>("rows"); // the stored rows after the import

        QTest::newRow("receive, all that fit")
            << QStringList{"--table", "receive"}
            << "row 1: EEC1, identifier 0x0CF00400, PGN 0xF004 (61444), 8 bytes\n"
               "row 2: CCVS, identifier 0x18FEF1FE, PGN 0xFEF1 (65265), 8 bytes\n"
               "note: row 2: source address 254 is the file's placeholder (null address); "
               "choose the one to use\n"
               "row 3: TSC1, identifier 0x0C000003, PGN 0x0000 (0), 8 bytes\n"
               "row 4: PropDP1, identifier 0x19FE1021, PGN 0xFE10 (65040), 6 bytes\n"
               "skipped ExtDataPage: the extended data page bit is set (identifier 0x1AFE1105)\n"
               "skipped Diag11bit: standard 11-bit frame 0x123; the tables hold J1939 frames "
               "only\n"
               "skipped DM1: larger than the table allows: 1785 bytes, at most 455\n"
               "row 5: ET1, identifier 0x18FEEE00, PGN 0xFEEE (65262), 8 bytes\n"
               "warning: row 2: Source address 254 (null) or 255 (global) never sends data: "
               "enter the address of the node that sends this PGN\n"
               "warning: row 3: PDU1 PGN sent to another node: the converter receives it only "
               "when its low byte (the destination address) is 255 or the converter's own "
               "address 33\n"
            << QByteArray("<row DataPage=\"0\" PGN=\"0xF004\" SA=\"0\" TransportProtocol=\"N\" "
                          "StartByte=\"0\" NumBytes=\"8\" Delete=\"N\" OnRequest=\"N\" "
                          "OnReq_Time=\"1000\" Mnemonic=\"EEC1\"/>");
        QTest::newRow("transmit, chosen, one source address")
            << QStringList{"--table", "transmit", "--messages", "ET1,CCVS", "--sa", "0x21"}
            << "row 1: CCVS, identifier 0x18FEF1FE, PGN 0xFEF1 (65265), 8 bytes\n"
               "row 2: ET1, identifier 0x18FEEE00, PGN 0xFEEE (65262), 8 bytes\n"
            << QByteArray("<row Priority=\"6\" DataPage=\"0\" PGN=\"0xFEF1\" SA=\"33\" "
                          "NumByte=\"8\" OnRequest=\"N\" DataChange=\"N\" OnTimer=\"N\" "
                          "OnTimer_Time=\"1000\" Mnemonic=\"CCVS\"/>");
    }

    void dbc()
    {
        QFETCH(QStringList, options);
        QFETCH(QString, out);
        QFETCH(QByteArray, rows);
        Program_Folder folder;
        // The converter's own address 0x21, peer-to-peer on: the advice is about row 2 alone.
        folder.write("c/ParGen.xml", "<Par_Gen><Device_Type>1</Device_Type><PeerToPeer>1"
                                     "</PeerToPeer><J1939_Device_ID>33</J1939_Device_ID>"
                                     "</Par_Gen>" +
                                         Comment);
        const Run r =
            Cli(QStringList{"import", folder.file("c"), "--dbc", Dbc("engine_cp1252_crlf.dbc")} +
                options);
        QCOMPARE(r.err, QString());
        QCOMPARE(r.code, 0);
        QCOMPARE(r.out, out);
        const QString file = options[1] == "receive" ? "c/Receive_Frame.xml" : "c/Send_Frame.xml";
        QVERIFY(folder.read(file).startsWith("<Receive_Frames>" + rows));
    }

    // Nothing is written when the input cannot be read, a check fails or the rows do not fit.
    void refused_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QByteArray>("csv");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("out");
        QTest::addColumn<QString>("err");

        QTest::newRow("malformed DBC")
            << QStringList{"--table", "receive", "--dbc", Dbc("missing_colon.dbc")} << QByteArray()
            << 1 << QString()
            << "error: " + Dbc("missing_colon.dbc") + ", line 8: expected ':', found '8'\n";
        QTest::newRow("malformed CSV") << QStringList{"--table", "receive", "--csv", "CSV"}
                                       << QByteArray("PGN,Mnemonic\n1,a\n2,\"b\n") << 1 << QString()
                                       << "error: CSV, line 3: a quoted cell is not closed\n";
        QTest::newRow("check fails")
            << QStringList{"--table", "transmit", "--csv", "CSV"}
            << QByteArray("Priority;PGN;Data Page;Source Address\n6;0xFEF1;0;0\n6;0x1FEF1;0;0\n")
            << 1 << "Send_Frame.xml: Error in row 2!! PGN must be between 0x00000 and 0xFFFF\n"
            << "error: nothing imported; CONF/Send_Frame.xml is unchanged\n";
        QTest::newRow("chosen messages do not fit")
            << QStringList{"--table",  "receive",    "--dbc",    Dbc("engine_cp1252_crlf.dbc"),
                           "--append", "--messages", "EEC1,CCVS"}
            << QByteArray() << 1 << QString()
            << "error: the chosen messages need 2 rows and 16 bytes; the table has 1 rows left "
               "and 400 bytes of its budget\n";
        QTest::newRow("unknown message")
            << QStringList{"--table",    "receive",  "--dbc", Dbc("engine_cp1252_crlf.dbc"),
                           "--messages", "EEC1,Nope"}
            << QByteArray() << 2 << QString()
            << "sw38591-cli import: no message named Nope in " + Dbc("engine_cp1252_crlf.dbc") +
                   "\n";
    }

    void refused()
    {
        QFETCH(QStringList, options);
        QFETCH(QByteArray, csv);
        QFETCH(QString, out);
        QFETCH(QString, err);
        Program_Folder folder;
        folder.write("c/ParGen.xml", With_Ethernet);
        // 55 rows of 1 byte: one row and 400 bytes left.
        QByteArray stored = "<Receive_Frames>";
        for (int i = 0; i < 55; ++i)
            stored += "<row DataPage=\"0\" PGN=\"" + QByteArray::number(i) +
                      "\" SA=\"1\" NumBytes=\"1\"/>";
        stored += "</Receive_Frames>" + Comment;
        folder.write("c/Receive_Frame.xml", stored);
        folder.write("c/Send_Frame.xml", Send_File);
        folder.write("rows.csv", csv);
        options.replaceInStrings(QRegularExpression("^CSV$"), folder.file("rows.csv"));
        const Run r = Cli(QStringList{"import", folder.file("c")} + options);
        QCOMPARE(r.out, out);
        QCOMPARE(
            r.err,
            QString(err).replace("CSV", folder.file("rows.csv")).replace("CONF", folder.file("c")));
        QTEST(r.code, "code");
        QCOMPARE(folder.read("c/Receive_Frame.xml"), stored);
        QCOMPARE(folder.read("c/Send_Frame.xml"), Send_File);
    }

    void usage_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::newRow("no table") << QStringList{"import", "C", "--csv", "x.csv"};
        QTest::newRow("bad table") << QStringList{"export", "C", "--table", "rx", "--csv", "x"};
        QTest::newRow("both sources")
            << QStringList{"import", "C", "--table", "receive", "--csv", "x", "--dbc", "y"};
        QTest::newRow("no source") << QStringList{"import", "C", "--table", "receive"};
        QTest::newRow("--sa with CSV")
            << QStringList{"import", "C", "--table", "receive", "--csv", "x", "--sa", "1"};
        QTest::newRow("--sa too large")
            << QStringList{"import", "C", "--table", "receive", "--dbc", "y", "--sa", "256"};
        QTest::newRow("export without --csv") << QStringList{"export", "C", "--table", "receive"};
    }

    void usage()
    {
        QFETCH(QStringList, args);
        Program_Folder folder;
        folder.write("C/ParGen.xml", With_Ethernet);
        args.replaceInStrings(QRegularExpression("^C$"), folder.file("C"));
        const Run r = Cli(args);
        QCOMPARE(r.code, 2);
        QVERIFY(r.err.contains("Usage: sw38591-cli " + args[0]));
        QVERIFY(!QFileInfo::exists(folder.file("C/Receive_Frame.xml")));
    }
};

QTEST_GUILESS_MAIN(tst_tablecommands)
#include "tst_tablecommands.moc"
