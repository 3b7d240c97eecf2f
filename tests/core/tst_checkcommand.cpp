#include "support/TestSupport.h"

#include <QTest>

namespace {

using Run = Cli_Text_Run;

Run Cli(const QStringList& args)
{
    return Run_Cli_Text(args);
}

const QByteArray Comment = "<!--SW_VERSION = 2.000-->";

} // namespace

class tst_checkcommand final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QVERIFY(!qEnvironmentVariableIsEmpty("SW38591_CLI")); }

    void check_data()
    {
        QTest::addColumn<QByteArray>("parGen");  // empty: no file
        QTest::addColumn<QByteArray>("receive"); // empty: no file
        QTest::addColumn<QByteArray>("send");    // empty: no file
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("out");

        const QByteArray rx_ok = "<Receive_Frames><row DataPage=\"0\" PGN=\"0xFEF1\" SA=\"0\"/>"
                                 "</Receive_Frames>" +
                                 Comment;
        const QByteArray rx_bad_pgn =
            "<Receive_Frames><row DataPage=\"0\" PGN=\"1\" SA=\"0\"/><row DataPage=\"0\" PGN=\"2\" "
            "SA=\"0\"/><row DataPage=\"0\" PGN=\"65536\" SA=\"0\"/></Receive_Frames>" +
            Comment;
        const QByteArray rx_hidden = "<Receive_Frames><row DataPage=\"0\" PGN=\"1\" SA=\"0\" "
                                     "StartByte=\"5000\"/></Receive_Frames>" +
                                     Comment;
        const QByteArray tx_bad = "<Receive_Frames><row Priority=\"8\" DataPage=\"0\" PGN=\"1\" "
                                  "SA=\"0\"/></Receive_Frames>" +
                                  Comment;
        // 20 rows; row 17 would fail, but the table of the device without Ethernet port ends at 16.
        QByteArray tx_20 = "<Receive_Frames>";
        for (int i = 1; i <= 20; ++i)
            tx_20 += i == 17 ? "<row Priority=\"9\"/>"
                             : "<row Priority=\"1\" DataPage=\"0\" PGN=\"1\" SA=\"0\"/>";
        tx_20 += "</Receive_Frames>";
        const QByteArray without = "<Par_Gen><Device_Type>0</Device_Type></Par_Gen>";
        const QByteArray with = "<Par_Gen><Device_Type>1</Device_Type></Par_Gen>";

        QTest::newRow("no files") << QByteArray() << QByteArray() << QByteArray() << 0 << "";
        QTest::newRow("both pass") << with << rx_ok << QByteArray("<Receive_Frames/>") << 0 << "";
        QTest::newRow("bad PGN in row 3")
            << QByteArray() << rx_bad_pgn << QByteArray() << 1
            << "Receive_Frame.xml: Error in row 3!! PGN must be between 0x00000 and 0xFFFF\n";
        QTest::newRow("both fail")
            << QByteArray() << rx_bad_pgn << tx_bad << 1
            << "Receive_Frame.xml: Error in row 3!! PGN must be between 0x00000 and 0xFFFF\n"
               "Send_Frame.xml: Error in row 1!! Priority must be between 0 and 7\n";
        QTest::newRow("hidden value, without Ethernet")
            << without << rx_hidden << QByteArray() << 0 << "";
        QTest::newRow("same value, with Ethernet")
            << with << rx_hidden << QByteArray() << 1
            << "Receive_Frame.xml: Error in row 1!! Start Byte must be between 0 and 1785\n";
        // The settings are checked as the editor opens them: missing elements take their defaults.
        QTest::newRow("settings timeout")
            << QByteArray("<Par_Gen><Device_Type>1</Device_Type><TimeOut_Data>10001</TimeOut_Data>"
                          "</Par_Gen>")
            << QByteArray() << QByteArray() << 1
            << "ParGen.xml: Error J1939!! TimeOut Data must be between 0 and 10000 seconds\n";
        QTest::newRow("settings without Ethernet: timer on, address ignored")
            << QByteArray("<Par_Gen><How_Send>1</How_Send><Delay_Send>0</Delay_Send>"
                          "<Ethernet_IP1>300</Ethernet_IP1></Par_Gen>")
            << QByteArray() << QByteArray() << 1
            << "ParGen.xml: Error J1939!! Send Timer must be between 1 and 65535 ms\n";
        QTest::newRow("settings gateway only when enabled")
            << QByteArray("<Par_Gen><Device_Type>1</Device_Type><Ethernet_GAT2>256</Ethernet_GAT2>"
                          "<Ethernet_EN_GAT>1</Ethernet_EN_GAT></Par_Gen>")
            << QByteArray() << QByteArray() << 1
            << "ParGen.xml: Error Ethernet!! GATEWAY IP 2 must be between 0 and 255\n";
        QTest::newRow("settings gateway disabled")
            << QByteArray("<Par_Gen><Device_Type>1</Device_Type><Ethernet_GAT2>256</Ethernet_GAT2>"
                          "</Par_Gen>")
            << QByteArray() << QByteArray() << 0 << "";
        QTest::newRow("settings first, then the tables")
            << QByteArray("<Par_Gen><Device_Type>1</Device_Type><Net_Dev_Id>0x40</Net_Dev_Id>"
                          "</Par_Gen>")
            << rx_bad_pgn << QByteArray() << 1
            << "ParGen.xml: Error DeviceNet Slave!! ID Device must be between 0 and 63\n"
               "Receive_Frame.xml: Error in row 3!! PGN must be between 0x00000 and 0xFFFF\n";
        QTest::newRow("rows beyond 16 dropped") << without << QByteArray() << tx_20 << 0 << "";
        QTest::newRow("row 17 counts with Ethernet")
            << with << QByteArray() << tx_20 << 1
            << "Send_Frame.xml: Error in row 17!! Priority must be between 0 and 7\n";
    }

    void check()
    {
        QFETCH(QByteArray, parGen);
        QFETCH(QByteArray, receive);
        QFETCH(QByteArray, send);
        QFETCH(int, code);
        QFETCH(QString, out);
        Program_Folder folder;
        if (!parGen.isEmpty())
            folder.write("conf/ParGen.xml", parGen);
        if (!receive.isEmpty())
            folder.write("conf/Receive_Frame.xml", receive);
        if (!send.isEmpty())
            folder.write("conf/Send_Frame.xml", send);
        folder.write("conf/bin/.keep", "");
        const Run r = Cli({"check", folder.file("conf")});
        QCOMPARE(r.out, out);
        QCOMPARE(r.code, code);
    }

    void all_and_warnings_data()
    {
        QTest::addColumn<QStringList>("flags");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("out");
        const QString r3 = "Receive_Frame.xml: Error in row 3!! PGN must be between 0x00000 and "
                           "0xFFFF\n";
        const QString r4 = "Receive_Frame.xml: Error in row 4!! Source Address must be between 0 and 255\n";
        const QString w1 = "Receive_Frame.xml: warning: row 1: Source address 254 (null) or 255 "
                           "(global) never sends data: enter the address of the node that sends "
                           "this PGN\n";
        const QString w5 = "Receive_Frame.xml: warning: row 5: Delete or change this row: the same "
                           "data page, PGN and source address are already in row 2\n";
        const QString t1 = "Send_Frame.xml: warning: row 1: The converter sends with its own "
                           "address: set the source address to 16\n";
        QTest::newRow("as before") << QStringList() << 1 << r3;
        QTest::newRow("every failing row") << QStringList{"--all"} << 1 << r3 + r4;
        QTest::newRow("warnings") << QStringList{"--warnings"} << 1 << r3 + w1 + w5 + t1;
        QTest::newRow("both") << QStringList{"--warnings", "--all"} << 1 << r3 + r4 + w1 + w5 + t1;
    }
    void all_and_warnings()
    {
        QFETCH(QStringList, flags);
        QFETCH(int, code);
        QFETCH(QString, out);
        Program_Folder folder;
        folder.write("conf/ParGen.xml", "<Par_Gen><Device_Type>1</Device_Type>"
                                        "<J1939_Device_ID>16</J1939_Device_ID></Par_Gen>");
        folder.write("conf/Receive_Frame.xml",
                     "<Receive_Frames><row DataPage=\"0\" PGN=\"65262\" SA=\"254\"/>"
                     "<row DataPage=\"0\" PGN=\"65263\" SA=\"1\"/>"
                     "<row DataPage=\"0\" PGN=\"70000\" SA=\"1\"/>"
                     "<row DataPage=\"0\" PGN=\"65264\" SA=\"256\"/>"
                     "<row DataPage=\"0\" PGN=\"0xFEEF\" SA=\"$01\"/></Receive_Frames>");
        folder.write("conf/Send_Frame.xml", "<Send_Frames><row Priority=\"6\" DataPage=\"0\" "
                                            "PGN=\"65265\" SA=\"17\" NumByte=\"8\"/>"
                                            "</Send_Frames>");
        const Run r = Cli(QStringList{"check"} + flags + QStringList{folder.file("conf")});
        QCOMPARE(r.out, out);
        QCOMPARE(r.code, code);
    }

    void warnings_alone_pass()
    {
        Program_Folder folder;
        folder.write("conf/Receive_Frame.xml",
                     "<Receive_Frames><row DataPage=\"0\" PGN=\"65262\" SA=\"254\"/>"
                     "</Receive_Frames>");
        const Run r = Cli({"check", "--warnings", "--all", folder.file("conf")});
        QVERIFY2(r.out.startsWith("Receive_Frame.xml: warning: row 1: "), qPrintable(r.out));
        QCOMPARE(r.code, 0);
    }

    void not_well_formed_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<int>("lines");
        QTest::newRow("send table")
            << "Send_Frame.xml" << QByteArray("<Receive_Frames><row Priority=\"1\"") << 1;
        // The frame editors read the device type from it too, so none of the three would open.
        QTest::newRow("settings") << "ParGen.xml"
                                  << QByteArray("<Par_Gen><Device_Type>1</Device_Type>") << 3;
    }

    void not_well_formed()
    {
        QFETCH(QString, file);
        QFETCH(QByteArray, content);
        QFETCH(int, lines);
        Program_Folder folder;
        folder.write("conf/" + file, content);
        const Run r = Cli({"check", folder.file("conf")});
        QCOMPARE(r.code, 1);
        const QStringList out = r.out.split('\n', Qt::SkipEmptyParts);
        QCOMPARE(out.size(), lines);
        QVERIFY2(out.first().startsWith(file + ": "), qPrintable(r.out));
        QVERIFY2(out.first().contains("line 1"), qPrintable(r.out));
    }

    void bad_arguments()
    {
        Program_Folder folder;
        QCOMPARE(Cli({"check"}).code, 2);
        QCOMPARE(Cli({"check", "--every", folder.path()}).code, 2);
        const Run missing = Cli({"check", folder.file("nowhere")});
        QCOMPARE(missing.code, 2);
        QVERIFY(missing.out.isEmpty());
        QVERIFY(!missing.err.isEmpty());
    }
};

QTEST_GUILESS_MAIN(tst_checkcommand)
#include "tst_checkcommand.moc"
