#include "app/UComon.h"
#include "configurations/ConfigFiles.h"
#include "configurations/XmlFile.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTest>


namespace {

Receive_Frame_Row Rx(const QString& pgn, const QString& mnemonic = {})
{
    Receive_Frame_Row r;
    r.DataPage = "0";
    r.PGN = pgn;
    r.SA = "0x00";
    r.TransportProtocol = "Y";
    r.StartByte = "0";
    r.NumBytes = "";
    r.Delete = "N";
    r.OnRequest = "";
    r.OnReq_Time = "1000";
    r.Mnemonic = mnemonic;
    return r;
}

Send_Frame_Row Tx(const QString& priority)
{
    Send_Frame_Row r;
    r.Priority = priority;
    r.DataPage = "1";
    r.PGN = "$FEF1";
    r.SA = "3";
    r.NumByte = "8";
    r.OnRequest = "Y";
    r.DataChange = "N";
    r.OnTimer = "";
    r.OnTimer_Time = "500";
    r.Mnemonic = "Speed & <load> \"x\"";
    return r;
}

} // namespace

class Tst_ConfigFiles : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void pargen_stored_form()
    {
        const QByteArray xml = ParGen_Xml(ParGen_Defaults_Missing_File());
        QCOMPARE(xml,
                 QByteArray("<Par_Gen><Device_Type>1</Device_Type><Can_Baud>5</Can_Baud>"
                            "<CAN_Type>1</CAN_Type><How_Send>0</How_Send>"
                            "<Delay_Send>100</Delay_Send><TimeOut_Data>5</TimeOut_Data>"
                            "<PeerToPeer>0</PeerToPeer><J1939_Device_ID>0</J1939_Device_ID>"
                            "<Net_Dev_Id>10</Net_Dev_Id><Net_Baud>2</Net_Baud>"
                            "<Ethernet_IP1>192</Ethernet_IP1><Ethernet_IP2>168</Ethernet_IP2>"
                            "<Ethernet_IP3>0</Ethernet_IP3><Ethernet_IP4>5</Ethernet_IP4>"
                            "<Ethernet_SM1>255</Ethernet_SM1><Ethernet_SM2>255</Ethernet_SM2>"
                            "<Ethernet_SM3>255</Ethernet_SM3><Ethernet_SM4>0</Ethernet_SM4>"
                            "<Ethernet_GAT1>192</Ethernet_GAT1><Ethernet_GAT2>168</Ethernet_GAT2>"
                            "<Ethernet_GAT3>0</Ethernet_GAT3><Ethernet_GAT4>1</Ethernet_GAT4>"
                            "<Ethernet_EN_GAT>0</Ethernet_EN_GAT></Par_Gen>"
                            "<!--SW_VERSION = 2.000-->"));
    }

    void frames_stored_form()
    {
        QCOMPARE(Receive_Frames_Xml({Rx(" 0xFEF1", "Engine")}),
                 QByteArray("<Receive_Frames><row DataPage=\"0\" PGN=\" 0xFEF1\" SA=\"0x00\" "
                            "TransportProtocol=\"Y\" StartByte=\"0\" NumBytes=\"\" Delete=\"N\" "
                            "OnRequest=\"\" OnReq_Time=\"1000\" Mnemonic=\"Engine\"/>"
                            "</Receive_Frames><!--SW_VERSION = 2.000-->"));
        QCOMPARE(Send_Frames_Xml({Tx("6")}),
                 QByteArray("<Receive_Frames><row Priority=\"6\" DataPage=\"1\" PGN=\"$FEF1\" "
                            "SA=\"3\" NumByte=\"8\" OnRequest=\"Y\" DataChange=\"N\" OnTimer=\"\" "
                            "OnTimer_Time=\"500\" Mnemonic=\"Speed &amp; &lt;load&gt; &quot;x&quot;\"/>"
                            "</Receive_Frames><!--SW_VERSION = 2.000-->"));
        QCOMPARE(Send_Frames_Xml({}), QByteArray("<Receive_Frames/><!--SW_VERSION = 2.000-->"));
    }

    void round_trips()
    {
        Program_Folder folder;
        ParGen_Settings s = ParGen_Defaults_Missing_Element();
        s.Delay_Send = " 0x3F ";
        s.Ethernet_IP1 = "";
        s.Net_Dev_Id = QStringLiteral("caf\u00E9 & <x>");
        Write_ParGen(folder.file("ParGen.xml"), s);
        const QByteArray first = folder.read("ParGen.xml");
        const ParGen_Load loaded = Read_ParGen(folder.file("ParGen.xml"));
        QVERIFY(loaded.exists);
        QCOMPARE(loaded.values, s);
        Write_ParGen(folder.file("ParGen.xml"), loaded.values);
        QCOMPARE(folder.read("ParGen.xml"), first);

        const QList<Receive_Frame_Row> rx = {Rx("1"), Rx(" 0xFEF1 ", "multi\nline")};
        Write_Receive_Frames(folder.file("Receive_Frame.xml"), rx);
        const QByteArray rxFirst = folder.read("Receive_Frame.xml");
        QCOMPARE(Read_Receive_Frames(folder.file("Receive_Frame.xml")), rx);
        Write_Receive_Frames(folder.file("Receive_Frame.xml"),
                             Read_Receive_Frames(folder.file("Receive_Frame.xml")));
        QCOMPARE(folder.read("Receive_Frame.xml"), rxFirst);

        const QList<Send_Frame_Row> tx = {Tx("0"), Tx("7")};
        Write_Send_Frames(folder.file("Send_Frame.xml"), tx);
        const QByteArray txFirst = folder.read("Send_Frame.xml");
        QCOMPARE(Read_Send_Frames(folder.file("Send_Frame.xml")), tx);
        Write_Send_Frames(folder.file("Send_Frame.xml"),
                          Read_Send_Frames(folder.file("Send_Frame.xml")));
        QCOMPARE(folder.read("Send_Frame.xml"), txFirst);
    }

    void key_cell_ends_the_list()
    {
        Program_Folder folder;
        QList<Receive_Frame_Row> rx = {Rx("1"), Rx("2"), Rx("   "), Rx("4")};
        Write_Receive_Frames(folder.file("r.xml"), rx);
        QCOMPARE(Read_Receive_Frames(folder.file("r.xml")).size(), 2);

        QList<Send_Frame_Row> tx = {Tx("1"), Tx("2"), Tx(""), Tx("4")};
        tx[2].PGN = "0xFEF1"; // data in other cells does not keep the row
        Write_Send_Frames(folder.file("s.xml"), tx);
        QCOMPARE(Read_Send_Frames(folder.file("s.xml")).size(), 2);
    }

    void reader_defaults()
    {
        Program_Folder folder;
        // Whitespace between elements, a byte-order mark, another root name, a non-element row.
        folder.write("r.xml", "\xEF\xBB\xBF<Anything>\n  <row PGN=\"100\"/>\n  <!--c-->\n"
                              "  <other DataPage=\"1\" NumBytes=\"4\"/>\n</Anything>");
        const auto rx = Read_Receive_Frames(folder.file("r.xml"));
        QCOMPARE(rx.size(), 3);
        QCOMPARE(rx[0].PGN, QStringLiteral("100"));
        QCOMPARE(rx[0].NumBytes, QString());
        QCOMPARE(rx[0].TransportProtocol, QStringLiteral("N"));
        QCOMPARE(rx[0].Delete, QStringLiteral("N"));
        QCOMPARE(rx[0].OnRequest, QStringLiteral("N"));
        QCOMPARE(rx[0].OnReq_Time, QStringLiteral("1000"));
        QCOMPARE(rx[1].PGN, QString()); // a comment node is a row of defaults
        QCOMPARE(rx[2].DataPage, QStringLiteral("1"));
        QCOMPARE(rx[2].NumBytes, QStringLiteral("4"));

        folder.write("s.xml", "<Receive_Frames><row Priority=\"3\"/></Receive_Frames>");
        const auto tx = Read_Send_Frames(folder.file("s.xml"));
        QCOMPARE(tx.size(), 1);
        QCOMPARE(tx[0].NumByte, QStringLiteral("8"));
        QCOMPARE(tx[0].OnRequest, QStringLiteral("N"));
        QCOMPARE(tx[0].DataChange, QStringLiteral("N"));
        QCOMPARE(tx[0].OnTimer, QStringLiteral("N"));
        QCOMPARE(tx[0].OnTimer_Time, QStringLiteral("1000"));
        QCOMPARE(tx[0].Mnemonic, QString());

        QVERIFY(Read_Receive_Frames(folder.file("missing.xml")).isEmpty());

        // Something before the root: the first node is taken as the root, so nothing is found.
        folder.write("c.xml", "<!--x--><Receive_Frames><row PGN=\"1\"/></Receive_Frames>");
        QVERIFY(Read_Receive_Frames(folder.file("c.xml")).isEmpty());
    }

    void pargen_defaults()
    {
        Program_Folder folder;
        const ParGen_Load none = Read_ParGen(folder.file("ParGen.xml"));
        QVERIFY(!none.exists);
        QCOMPARE(none.values.Device_Type, QStringLiteral("1"));

        folder.write("ParGen.xml", "<Par_Gen><Can_Baud>3</Can_Baud><Delay_Send></Delay_Send>"
                                   "</Par_Gen>");
        const ParGen_Load some = Read_ParGen(folder.file("ParGen.xml"));
        QVERIFY(some.exists);
        QCOMPARE(some.values.Device_Type, QStringLiteral("0"));
        QCOMPARE(some.values.Can_Baud, QStringLiteral("3"));
        QCOMPARE(some.values.Delay_Send, QString()); // present but empty stays empty
        QCOMPARE(some.values.Net_Dev_Id, QStringLiteral("10"));
        QVERIFY(some.present[1]);
        QVERIFY(!some.present[0]);
    }

    void device_type_rule_data()
    {
        QTest::addColumn<QByteArray>("content"); // empty: no file
        QTest::addColumn<bool>("withoutEthernet");
        QTest::newRow("no file") << QByteArray() << false;
        QTest::newRow("zero") << QByteArray("<Par_Gen><Device_Type>0</Device_Type></Par_Gen>") << true;
        QTest::newRow("one") << QByteArray("<Par_Gen><Device_Type>1</Device_Type></Par_Gen>") << false;
        QTest::newRow("blank zero") << QByteArray("<Par_Gen><Device_Type> 0</Device_Type></Par_Gen>")
                                    << false;
        QTest::newRow("absent") << QByteArray("<Par_Gen><Can_Baud>1</Can_Baud></Par_Gen>") << true;
        QTest::newRow("declaration first")
            << QByteArray("<?xml version=\"1.0\"?><Par_Gen><Device_Type>1</Device_Type></Par_Gen>")
            << true;
    }

    void device_type_rule()
    {
        QFETCH(QByteArray, content);
        QFETCH(bool, withoutEthernet);
        Program_Folder folder;
        if (!content.isEmpty())
            folder.write("ParGen.xml", content);
        QCOMPARE(Is_Device_Without_Ethernet(folder.file("ParGen.xml")), withoutEthernet);
    }

    void malformed_xml_names_file_reason_and_line()
    {
        Program_Folder folder;
        folder.write("Receive_Frame.xml", "<Receive_Frames>\n<row PGN=\"1\"/>\n<row PGN=\"2\" <x/>\n");
        try {
            Read_Receive_Frames(folder.file("Receive_Frame.xml"));
            QFAIL("no error");
        } catch (const App_Error& e) {
            QVERIFY2(e.text().contains("Receive_Frame.xml"), qPrintable(e.text()));
            QVERIFY2(e.text().contains("line 3"), qPrintable(e.text()));
            QVERIFY2(e.text().contains("<x/>"), qPrintable(e.text()));
        }
    }

    // The excerpt is the text around the parser's position, in the file's own encoding, on
    // one line; line and column count characters.
    void parse_error_excerpt_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("line");
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("near");
        QTest::newRow("tag mismatch shows the end tag")
            << QByteArray("<Par_Gen>\n<a>x</b></Par_Gen>") << 2 << 9
            << QStringLiteral("<Par_Gen>\\n<a>x</b></Par_Gen>");
        QTest::newRow("columns count letters, not bytes")
            << QByteArray("<Par_Gen>\r\n<a>\xC3\xA9\xC3\xA9</b></Par_Gen>") << 2 << 10
            << QStringLiteral("<Par_Gen>\\r\\n<a>\u00E9\u00E9</b></Par_Gen>");
        QByteArray utf16("\xFF\xFE", 2);
        const QString cut = QStringLiteral("<Par_Gen>\t<Net_Baud>2</Net_Baud><Can_Baud>5");
        utf16.append(reinterpret_cast<const char*>(cut.utf16()), cut.size() * 2);
        QTest::newRow("UTF-16 file cut short") << utf16 << 1 << int(cut.size()) + 1
                                               << cut.right(24);
        QTest::newRow("Latin-1 byte without declaration")
            << QByteArray("<Par_Gen><Net_Dev_Id>caf\xE9</Net_Dev_Id></Par_Gen>") << 1 << 25
            << QStringLiteral("<Par_Gen><Net_Dev_Id>caf\\xE9</Net_Dev_Id></Par_Gen>");
        QTest::newRow("control character")
            << QByteArray("<Par_Gen><a>\x01</a></Par_Gen>") << 1 << 14
            << QStringLiteral("<Par_Gen><a>\\x01</a></Par_Gen>");
    }
    void parse_error_excerpt()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, line);
        QFETCH(int, column);
        QFETCH(QString, near);
        try {
            Parse_Xml_Bytes(bytes, QStringLiteral("ParGen.xml"));
            QFAIL("no error");
        } catch (const App_Error& e) {
            const QString text = e.text();
            QVERIFY2(!text.contains(QChar(0)), qPrintable(text));
            QVERIFY2(!text.contains(QLatin1Char('\n')) && !text.contains(QChar(1)), qPrintable(text));
            const QRegularExpressionMatch m =
                QRegularExpression(QStringLiteral("\\(line (\\d+), column (\\d+)\\) near \"(.*)\"$"))
                    .match(text);
            QVERIFY2(m.hasMatch(), qPrintable(text));
            QCOMPARE(m.captured(1).toInt(), line);
            QCOMPARE(m.captured(2).toInt(), column);
            QCOMPARE(m.captured(3), near);
        }
    }

    // Texts are taken as they are: a value of blanks only reads back as those blanks, while
    // blanks between elements stay out of the tree.
    void blank_only_texts_round_trip_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("spaces") << QStringLiteral("   ");
        QTest::newRow("one space") << QStringLiteral(" ");
        QTest::newRow("tab and line break") << QStringLiteral("\t \n");
    }
    void blank_only_texts_round_trip()
    {
        QFETCH(QString, text);
        Program_Folder folder;
        ParGen_Settings s = ParGen_Defaults_Missing_Element();
        s.Delay_Send = text;
        s.Ethernet_IP2 = text;
        Write_ParGen(folder.file("ParGen.xml"), s);
        const QByteArray first = folder.read("ParGen.xml");
        const ParGen_Load loaded = Read_ParGen(folder.file("ParGen.xml"));
        QCOMPARE(loaded.values.Delay_Send, text);
        QCOMPARE(loaded.values, s);
        Write_ParGen(folder.file("ParGen.xml"), loaded.values);
        QCOMPARE(folder.read("ParGen.xml"), first);
    }
    void blanks_between_elements_are_no_nodes()
    {
        const QDomDocument doc = Parse_Xml_Bytes(
            "<Receive_Frames>\n  <row PGN=\"1\"/>\n  <row PGN=\"2\"> </row>\n</Receive_Frames>\n"
            "<!--SW_VERSION = 2.000-->",
            QStringLiteral("Receive_Frame.xml"));
        const QDomNode root = doc.firstChild();
        QCOMPARE(root.nodeName(), QStringLiteral("Receive_Frames"));
        QCOMPARE(root.childNodes().count(), 2);
        QCOMPARE(root.childNodes().at(1).toElement().text(), QStringLiteral(" "));
        QVERIFY(root.nextSibling().isComment());
        // Blanks beside a child element or a comment are no value of their own.
        const QDomDocument mixed = Parse_Xml_Bytes("<r><a> <b/> </a><c> <!--x--> </c><d></d></r>",
                                                   QStringLiteral("x.xml"));
        const QDomElement r = mixed.documentElement();
        QCOMPARE(r.firstChildElement("a").childNodes().count(), 1);
        QCOMPARE(r.firstChildElement("c").childNodes().count(), 1);
        QVERIFY(r.firstChildElement("d").firstChild().isNull());
    }

    void failed_write_keeps_old_file()
    {
        Program_Folder folder;
        const QString conf = folder.file("conf");
        QDir().mkpath(conf);
        Write_ParGen(conf + "/ParGen.xml", ParGen_Defaults_Missing_File());
        const QByteArray before = Read_All(conf + "/ParGen.xml");
        QFile::setPermissions(conf, QFile::ReadOwner | QFile::ExeOwner);
        ParGen_Settings changed = ParGen_Defaults_Missing_File();
        changed.Can_Baud = "1";
        QVERIFY_THROWS_EXCEPTION(App_Error, Write_ParGen(conf + "/ParGen.xml", changed));
        QFile::setPermissions(conf, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QCOMPARE(Read_All(conf + "/ParGen.xml"), before);
    }

    void read_only_file_is_not_replaced()
    {
        Program_Folder folder;
        const QString path = folder.file("Send_Frame.xml");
        Write_Send_Frames(path, {Tx("1")});
        const QByteArray before = Read_All(path);
        QFile::setPermissions(path, QFile::ReadOwner);
        try {
            Write_Send_Frames(path, {Tx("2")});
            QFAIL("no error");
        } catch (const App_Error& e) {
            QVERIFY(e.text().contains("Send_Frame.xml"));
        }
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
        QCOMPARE(Read_All(path), before);
    }

    void unstorable_character_is_refused_and_old_file_kept()
    {
        Program_Folder folder;
        const QString path = folder.file("Receive_Frame.xml");
        Write_Receive_Frames(path, {Rx("1")});
        const QByteArray before = Read_All(path);
        try {
            Write_Receive_Frames(path, {Rx("1"), Rx("2", QStringLiteral("bad\x01char"))});
            QFAIL("no error");
        } catch (const App_Error& e) {
            QVERIFY2(e.text().contains("Receive_Frame.xml"), qPrintable(e.text()));
            QVERIFY2(e.text().contains("Row 2, Mnemonic"), qPrintable(e.text()));
        }
        QCOMPARE(Read_All(path), before);

        ParGen_Settings s = ParGen_Defaults_Missing_File();
        s.Delay_Send = QString(QChar(0xFFFF));
        QVERIFY_THROWS_EXCEPTION(App_Error, Write_ParGen(folder.file("ParGen.xml"), s));
        QVERIFY(!QFileInfo::exists(folder.file("ParGen.xml")));
        // Tabs, line ends and characters beyond the basic plane are fine.
        s.Delay_Send = QStringLiteral("a\tb\nc \U0001F600");
        Write_ParGen(folder.file("ParGen.xml"), s);
        QCOMPARE(Read_ParGen(folder.file("ParGen.xml")).values.Delay_Send.right(2),
                 QStringLiteral("\U0001F600"));
    }

    // Each file is far below any write buffer, where a full disk only showed when the file
    // was closed and the short file had already replaced the old one.
    void full_disk_keeps_the_old_file_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("settings") << "ParGen.xml";
        QTest::newRow("receive frames") << "Receive_Frame.xml";
        QTest::newRow("transmit frames") << "Send_Frame.xml";
    }
    void full_disk_keeps_the_old_file()
    {
        QFETCH(QString, name);
        Small_Disk disk(256 * 1024);
        if (!disk.ok())
            QSKIP(qPrintable(disk.reason()));
        const QString path = Path_Join(disk.path(), name);
        ParGen_Settings s = ParGen_Defaults_Missing_File();
        auto write = [&] {
            if (name == "ParGen.xml")
                Write_ParGen(path, s);
            else if (name == "Receive_Frame.xml")
                Write_Receive_Frames(path, {Rx(s.Can_Baud)});
            else
                Write_Send_Frames(path, {Tx(s.Can_Baud)});
        };
        write();
        const QByteArray before = Read_All(path);
        s.Can_Baud = "7";
        disk.Leave_Free(0);
        try {
            write();
            QFAIL("no error");
        } catch (const App_Error& e) {
            QVERIFY2(e.text().contains(name) && e.text().contains("No space left on device"),
                     qPrintable(e.text()));
        }
        QCOMPARE(Read_All(path), before);
    }

    void missing_folder_is_reported()
    {
        Program_Folder folder;
        QVERIFY_THROWS_EXCEPTION(App_Error,
                                 Write_Receive_Frames(folder.file("gone/Receive_Frame.xml"), {}));
    }
};

QTEST_GUILESS_MAIN(Tst_ConfigFiles)
#include "tst_configfiles.moc"
