#include "editors/FrameChecks.h"
#include "editors/FrameWarnings.h"
#include "support/TestSupport.h"

#include <QTest>

namespace {

Receive_Frame_Row Rx(const QString& pgn, const QString& sa, const QString& dataPage = "0")
{
    Receive_Frame_Row r;
    r.DataPage = dataPage;
    r.PGN = pgn;
    r.SA = sa;
    r.TransportProtocol = "N";
    r.StartByte = "0";
    r.NumBytes = "8";
    return r;
}

Send_Frame_Row Tx(const QString& pgn, const QString& sa, const QString& dataPage = "0")
{
    Send_Frame_Row r;
    r.Priority = "6";
    r.DataPage = dataPage;
    r.PGN = pgn;
    r.SA = sa;
    r.NumByte = "8";
    return r;
}

// "row:column:message" per warning, for readable comparisons.
QStringList Brief(const QList<Frame_Warning>& warnings)
{
    QStringList out;
    for (const Frame_Warning& w : warnings)
        out << QStringLiteral("%1:%2:%3%4")
                   .arg(w.row)
                   .arg(w.column)
                   .arg(w.message)
                   .arg(w.value.isEmpty() ? QString() : "=" + w.value);
    return out;
}

} // namespace

Q_DECLARE_METATYPE(QList<Receive_Frame_Row>)
Q_DECLARE_METATYPE(QList<Send_Frame_Row>)

class tst_FrameWarnings final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void receive_data()
    {
        QTest::addColumn<QList<Receive_Frame_Row>>("rows");
        QTest::addColumn<bool>("peer");
        QTest::addColumn<bool>("reduced");
        QTest::addColumn<QStringList>("expected");
        // The converter's own address is 0x80 in every row.
        const auto one = [](const Receive_Frame_Row& r) { return QList<Receive_Frame_Row>{r}; };
        QTest::newRow("plain PDU2 row")
            << one(Rx("0xFEF1", "0")) << false << false << QStringList();
        QTest::newRow("null source")
            << one(Rx("65262", "254")) << false << false << QStringList{"1:2:903"};
        QTest::newRow("global source")
            << one(Rx("65262", "$FF")) << false << false << QStringList{"1:2:903"};
        QTest::newRow("own source, peer-to-peer off")
            << one(Rx("65262", "128")) << false << false << QStringList{"1:2:904"};
        QTest::newRow("own source, peer-to-peer on")
            << one(Rx("65262", "128")) << true << false << QStringList();
        QTest::newRow("same identifier twice")
            << QList<Receive_Frame_Row>{Rx("65262", "1"), Rx("65263", "1"), Rx("0xFEEE", "1")}
            << false << false << QStringList{"3:1:906=1"};
        QTest::newRow("other data page is another frame")
            << QList<Receive_Frame_Row>{Rx("65262", "1"), Rx("65262", "1", "1")} << false << false
            << QStringList();
        QTest::newRow("other source, peer-to-peer off")
            << QList<Receive_Frame_Row>{Rx("65262", "1"), Rx("65262", "2")} << false << false
            << QStringList();
        QTest::newRow("other source, peer-to-peer on: the device ignores it")
            << QList<Receive_Frame_Row>{Rx("65262", "1"), Rx("65262", "2")} << true << false
            << QStringList{"2:1:906=1"};
        Receive_Frame_Row long_row = Rx("65262", "1");
        long_row.StartByte = "4";
        long_row.NumBytes = "5";
        QTest::newRow("9 bytes without transport")
            << one(long_row) << false << false << QStringList{"1:5:907"};
        QTest::newRow("9 bytes, hidden in the reduced table")
            << one(long_row) << false << true << QStringList();
        long_row.TransportProtocol = "Y";
        QTest::newRow("9 bytes with transport") << one(long_row) << false << false << QStringList();
        Receive_Frame_Row empty_count = Rx("65262", "1");
        empty_count.StartByte = "1";
        empty_count.NumBytes = "";
        QTest::newRow("empty Num Bytes counts 8")
            << one(empty_count) << false << false << QStringList{"1:5:907"};
        QTest::newRow("PDU1 to the converter")
            << one(Rx("0xEF80", "1")) << false << false << QStringList();
        QTest::newRow("PDU1 to all") << one(Rx("0xEFFF", "1")) << false << false << QStringList();
        QTest::newRow("PDU1 to another node")
            << one(Rx("0xEF10", "1")) << false << false << QStringList{"1:1:908=128"};
        QTest::newRow("request") << one(Rx("0xEA80", "1")) << false << false
                                 << QStringList{"1:1:909"};
        QTest::newRow("address claim to all")
            << one(Rx("0xEEFF", "1")) << false << false << QStringList{"1:1:909"};
        QTest::newRow("transport data, other destination")
            << one(Rx("0xEB10", "1")) << false << false << QStringList{"1:1:909"};
        QTest::newRow("commanded address")
            << one(Rx("0xFED8", "1")) << false << false << QStringList{"1:1:909"};
        QTest::newRow("0xFED9 is ordinary")
            << one(Rx("0xFED9", "1")) << false << false << QStringList();
        QTest::newRow("address claim on data page 1 is another PGN")
            << one(Rx("0xEEFF", "1", "1")) << false << false << QStringList();
        QTest::newRow("failing cells are left to the checks")
            << QList<Receive_Frame_Row>{Rx("70000", "300"), Rx("abc", "254")} << false << false
            << QStringList{"2:2:903"};
        QTest::newRow("rows after an empty key are not saved")
            << QList<Receive_Frame_Row>{Rx("65262", "1"), Rx(" ", "1"), Rx("65262", "254")} << false
            << false << QStringList();
    }
    void receive()
    {
        QFETCH(QList<Receive_Frame_Row>, rows);
        QFETCH(bool, peer);
        QFETCH(bool, reduced);
        QFETCH(QStringList, expected);
        QCOMPARE(Brief(Receive_Warnings(rows, Frame_Context{0x80, peer}, reduced)), expected);
    }

    void send_data()
    {
        QTest::addColumn<QList<Send_Frame_Row>>("rows");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("own address") << QList<Send_Frame_Row>{Tx("65265", "128")} << QStringList();
        QTest::newRow("another address")
            << QList<Send_Frame_Row>{Tx("65265", "0x81")} << QStringList{"1:3:905=128"};
        QTest::newRow("twice") << QList<Send_Frame_Row>{Tx("65265", "128"), Tx("65265", "128")}
                               << QStringList{"2:2:906=1"};
        QTest::newRow("acknowledgement")
            << QList<Send_Frame_Row>{Tx("0xE8FF", "128")} << QStringList{"1:2:909"};
    }
    void send()
    {
        QFETCH(QList<Send_Frame_Row>, rows);
        QFETCH(QStringList, expected);
        QCOMPARE(Brief(Send_Warnings(rows, Frame_Context{0x80, false}, false)), expected);
    }

    void contextFromTheSettingsFile()
    {
        Program_Folder dir;
        QCOMPARE(Read_Frame_Context(dir.file("ParGen.xml")), (Frame_Context{0, false}));
        dir.write("ParGen.xml", "<Par_Gen><PeerToPeer>1</PeerToPeer>"
                                "<J1939_Device_ID>0x80</J1939_Device_ID></Par_Gen>");
        QCOMPARE(Read_Frame_Context(dir.file("ParGen.xml")), (Frame_Context{0x80, true}));
        dir.write("ParGen.xml", "<Par_Gen><PeerToPeer>Y</PeerToPeer>"
                                "<J1939_Device_ID>x</J1939_Device_ID></Par_Gen>");
        QCOMPARE(Read_Frame_Context(dir.file("ParGen.xml")), (Frame_Context{0, false}));
    }

    // What the table marks while it is edited and what OK reports must be the same checks.
    void allFailuresStartWithTheFirst_data()
    {
        QTest::addColumn<QList<Receive_Frame_Row>>("rows");
        QTest::addColumn<QString>("expected"); // row:message of every failure
        QList<Receive_Frame_Row> budget;
        for (int i = 0; i < 3; ++i) {
            budget << Rx("65262", QString::number(i));
            budget.last().NumBytes = "200";
        }
        QTest::newRow("budget passed in row 3 only") << budget << "3:641";
        QList<Receive_Frame_Row> mixed{Rx("65262", "1"), Rx("70000", "1"), Rx("1", "999"),
                                       Rx("2", "1")};
        mixed[3].NumBytes = "0";
        QTest::newRow("one failure per row") << mixed << "2:637 3:638 4:640";
        QTest::newRow("none") << QList<Receive_Frame_Row>{Rx("1", "1")} << "";
    }
    void allFailuresStartWithTheFirst()
    {
        QFETCH(QList<Receive_Frame_Row>, rows);
        QFETCH(QString, expected);
        const QList<Frame_Check_Failure> all = All_Receive_Failures(rows, false);
        QStringList got;
        for (const Frame_Check_Failure& f : all)
            got << QStringLiteral("%1:%2").arg(f.row).arg(f.message);
        QCOMPARE(got.join(' '), expected);
        const auto first = Check_Receive_Rows(rows, false);
        QCOMPARE(first.has_value(), !all.isEmpty());
        if (first)
            QCOMPARE(*first, all.first());
    }
};

QTEST_GUILESS_MAIN(tst_FrameWarnings)
#include "tst_framewarnings.moc"
