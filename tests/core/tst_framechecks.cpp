#include "app/UComon.h"
#include "editors/FrameChecks.h"
#include "editors/FrameTables.h"
#include "language/ULanguage.h"
#include "support/TestSupport.h"

#include <QTest>

using Rx_Rows = QList<Receive_Frame_Row>;
using Tx_Rows = QList<Send_Frame_Row>;
Q_DECLARE_METATYPE(Rx_Rows)
Q_DECLARE_METATYPE(Tx_Rows)

namespace {

// A receive row that passes every check unless a field is changed.
Receive_Frame_Row Rx(const QString& pgn = QStringLiteral("0xFEF1"))
{
    Receive_Frame_Row r;
    r.DataPage = "0";
    r.PGN = pgn;
    r.SA = "0";
    r.TransportProtocol = "N";
    r.Delete = "N";
    r.OnRequest = "N";
    r.OnReq_Time = "1000";
    return r;
}

Receive_Frame_Row Rx_Bytes(const QString& start, const QString& count)
{
    Receive_Frame_Row r = Rx();
    r.StartByte = start;
    r.NumBytes = count;
    return r;
}

Receive_Frame_Row Rx_Request(const QString& onRequest, const QString& time)
{
    Receive_Frame_Row r = Rx();
    r.OnRequest = onRequest;
    r.OnReq_Time = time;
    return r;
}

template <typename Row> Row With(Row r, QString Row::*field, const QString& text)
{
    r.*field = text;
    return r;
}

Send_Frame_Row Tx(const QString& numByte = QStringLiteral("8"))
{
    Send_Frame_Row r;
    r.Priority = "6";
    r.DataPage = "0";
    r.PGN = "0xFEF1";
    r.SA = "0x80";
    r.NumByte = numByte;
    r.OnRequest = "N";
    r.DataChange = "N";
    r.OnTimer = "N";
    r.OnTimer_Time = "1000";
    return r;
}

template <typename Row> QList<Row> Repeat(const Row& first, const Row& others, int count)
{
    QList<Row> rows{first};
    for (int i = 1; i < count; ++i)
        rows.append(others);
    return rows;
}

QString Rx_Text(const Rx_Rows& rows, bool reduced)
{
    const auto f = Check_Receive_Rows(rows, reduced);
    return f ? Check_Failure_Text(635, *f) : QString();
}

QString Tx_Text(const Tx_Rows& rows, bool reduced)
{
    const auto f = Check_Send_Rows(rows, reduced);
    return f ? Check_Failure_Text(735, *f) : QString();
}

QByteArray Receive_File(int rows, const QByteArray& attributes)
{
    QByteArray xml = "<Receive_Frames>";
    for (int i = 1; i <= rows; ++i)
        xml += "<row DataPage=\"0\" PGN=\"" + QByteArray::number(i) + "\" SA=\"1\" " + attributes +
               "/>";
    return xml + "</Receive_Frames><!--SW_VERSION = 2.000-->";
}

const QByteArray Par_Gen_Without_Ethernet = "<Par_Gen><Device_Type>0</Device_Type></Par_Gen>";
const QByteArray Par_Gen_With_Ethernet = "<Par_Gen><Device_Type>1</Device_Type></Par_Gen>";

} // namespace

class tst_framechecks final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        Reset_Shared();
        Load_Default_Language();
    }

    // The budget line under the table counts as the checks count.
    void bytes_used_data()
    {
        QTest::addColumn<Rx_Rows>("rx");
        QTest::addColumn<Tx_Rows>("tx");
        QTest::addColumn<int>("bytes");
        QTest::newRow("receive: empty Num Bytes is 8")
            << Rx_Rows{Rx_Bytes("", ""), Rx_Bytes("3", "")} << Tx_Rows{} << 16;
        QTest::newRow("receive: counts as typed")
            << Rx_Rows{Rx_Bytes("", "16"), Rx_Bytes("", "0x10")} << Tx_Rows{} << 32;
        QTest::newRow("receive: refused counts add nothing")
            << Rx_Rows{Rx_Bytes("", "0"), Rx_Bytes("450", "6"), Rx_Bytes("1786", "1"),
                       Rx_Bytes("", "abc"), Rx_Bytes("449", "6")}
            << Tx_Rows{} << 6;
        QTest::newRow("receive: ends at a blank PGN")
            << Rx_Rows{Rx_Bytes("", "4"), Rx(" "), Rx_Bytes("", "100")} << Tx_Rows{} << 4;
        QTest::newRow("receive: 56 rows and 16")
            << Repeat(Rx_Bytes("", "16"), Rx(), 56) << Tx_Rows{} << 456;
        QTest::newRow("transmit: 0 and 455") << Rx_Rows{} << Tx_Rows{Tx("0"), Tx("455")} << 455;
        QTest::newRow("transmit: refused counts add nothing")
            << Rx_Rows{} << Tx_Rows{Tx(""), Tx("-1"), Tx("456"), Tx("7")} << 7;
        QTest::newRow("transmit: ends at a blank Priority")
            << Rx_Rows{}
            << Tx_Rows{Tx("5"), With(Tx("9"), &Send_Frame_Row::Priority, QString()), Tx("9")} << 5;
    }
    void bytes_used()
    {
        QFETCH(Rx_Rows, rx);
        QFETCH(Tx_Rows, tx);
        QFETCH(int, bytes);
        QCOMPARE(rx.isEmpty() ? Send_Bytes_Used(tx) : Receive_Bytes_Used(rx), bytes);
    }

    void receive_checks_data()
    {
        QTest::addColumn<Rx_Rows>("rows");
        QTest::addColumn<bool>("reduced");
        QTest::addColumn<QString>("error");

        const QString pgn = "!! PGN must be between 0x00000 and 0xFFFF";
        const QString start = "!! Start Byte must be between 0 and 1785";
        const QString bytes = "!! Start Byte plus Number Bytes must be between 0 and 455";
        const QString budget = "!! The Configuration use more of 455 bytes";
        const QString time = "!! Time(ms) must be between 0 and 10000000";
        const QString sa = "!! Source Address must be between 0 and 255";
        auto row = [](int n, const QString& m) {
            return QStringLiteral("Error in row %1").arg(n) + m;
        };
        using R = Receive_Frame_Row;

        QTest::newRow("empty table") << Rx_Rows{} << false << QString();
        QTest::newRow("blank PGN ends the table")
            << Rx_Rows{Rx(" "), With(Rx(), &R::SA, "999")} << false << QString();
        QTest::newRow("empty Data Page, before a bad PGN")
            << Rx_Rows{With(Rx("65536"), &R::DataPage, " ")} << false
            << "Error in row 1!! DataPage must be 0 or 1";
        QTest::newRow("Data Page value is not checked")
            << Rx_Rows{With(Rx(), &R::DataPage, "7")} << false << QString();
        QTest::newRow("PGN 65280") << Rx_Rows{Rx("65280")} << false << QString();
        QTest::newRow("PGN 0xFEF1 after a blank") << Rx_Rows{Rx(" 0xFEF1")} << false << QString();
        QTest::newRow("PGN 65536") << Rx_Rows{Rx(), Rx(), Rx("65536")} << false << row(3, pgn);
        QTest::newRow("PGN FEF1") << Rx_Rows{Rx("FEF1")} << false << row(1, pgn);
        QTest::newRow("PGN with a blank after") << Rx_Rows{Rx("0xFEF1 ")} << false << row(1, pgn);
        QTest::newRow("SA 255") << Rx_Rows{With(Rx(), &R::SA, "255")} << false << QString();
        QTest::newRow("SA 256") << Rx_Rows{With(Rx(), &R::SA, "256")} << false << row(1, sa);
        QTest::newRow("SA empty") << Rx_Rows{With(Rx(), &R::SA, "")} << true << row(1, sa);
        QTest::newRow("Start 1785, count empty")
            << Rx_Rows{Rx_Bytes("1785", "")} << false << QString();
        QTest::newRow("Start 1786") << Rx_Rows{Rx_Bytes("1786", "")} << false << row(1, start);
        QTest::newRow("Start -1") << Rx_Rows{Rx_Bytes("-1", "")} << false << row(1, start);
        QTest::newRow("Start 450 plus 6")
            << Rx_Rows{Rx_Bytes("450", "6")} << false << row(1, bytes);
        QTest::newRow("Start empty, 455") << Rx_Rows{Rx_Bytes("", "455")} << false << QString();
        QTest::newRow("count 0") << Rx_Rows{Rx_Bytes("", "0")} << false << row(1, bytes);
        QTest::newRow("count not a number")
            << Rx_Rows{Rx_Bytes("", "8x")} << false << row(1, bytes);
        QTest::newRow("huge count does not wrap round")
            << Rx_Rows{Rx_Bytes("1000", "2147483000")} << false << row(1, bytes);
        QTest::newRow("56 empty counts make 448") << Repeat(Rx(), Rx(), 56) << false << QString();
        QTest::newRow("16 then 55 empty counts make 456 at row 56")
            << Repeat(Rx_Bytes("", "16"), Rx(), 56) << false << row(56, budget);
        QTest::newRow("On Request, 1 ms") << Rx_Rows{Rx_Request("Y", "1")} << false << row(1, time);
        QTest::newRow("On Request, 2 ms") << Rx_Rows{Rx_Request("Y", "2")} << false << QString();
        QTest::newRow("On Request, 10000001 ms")
            << Rx_Rows{Rx_Request("Y", "10000001")} << false << row(1, time);
        QTest::newRow("not ticked, empty time")
            << Rx_Rows{Rx_Request("N", "")} << false << QString();
        QTest::newRow("untouched box, empty time")
            << Rx_Rows{Rx_Request("", "")} << false << QString();
        QTest::newRow("budget before time")
            << Rx_Rows{Rx_Bytes("", "450"), With(Rx_Request("Y", "0"), &R::NumBytes, "6")} << false
            << row(2, budget);
        QTest::newRow("reduced: hidden values pass")
            << Rx_Rows{With(Rx_Bytes("5000", "0"), &R::OnRequest, "Y")} << true << QString();
        QTest::newRow("reduced: no budget")
            << Repeat(Rx_Bytes("", "455"), Rx_Bytes("", "455"), 16) << true << QString();
    }

    void receive_checks()
    {
        QFETCH(Rx_Rows, rows);
        QFETCH(bool, reduced);
        QFETCH(QString, error);
        QCOMPARE(Rx_Text(rows, reduced), error);
    }

    void transmit_checks_data()
    {
        QTest::addColumn<Tx_Rows>("rows");
        QTest::addColumn<bool>("reduced");
        QTest::addColumn<QString>("error");

        const QString bytes = "!! Number Bytes must be between 0 and 455";
        const QString budget = "!! The Configuration use more of 455 bytes";
        const QString time = "!! Time(ms) must be between 0 and 10000000ms";
        auto row = [](int n, const QString& m) {
            return QStringLiteral("Error in row %1").arg(n) + m;
        };
        using S = Send_Frame_Row;
        auto timer = [](const QString& onTimer, const QString& t) {
            return With(With(Tx(), &S::OnTimer, onTimer), &S::OnTimer_Time, t);
        };

        QTest::newRow("the model row") << Tx_Rows{Tx()} << false << QString();
        QTest::newRow("Priority 8") << Tx_Rows{With(Tx(), &S::Priority, "8")} << false
                                    << "Error in row 1!! Priority must be between 0 and 7";
        QTest::newRow("Priority -1") << Tx_Rows{Tx(), With(Tx(), &S::Priority, "-1")} << true
                                     << "Error in row 2!! Priority must be between 0 and 7";
        QTest::newRow("blank Priority ends the table, PGN filled")
            << Tx_Rows{With(With(Tx(), &S::Priority, "  "), &S::PGN, "bad")} << false << QString();
        QTest::newRow("empty Data Page") << Tx_Rows{With(Tx(), &S::DataPage, "")} << false
                                         << "Error in row 1!! DataPage must be 0 or 1";
        QTest::newRow("PGN 65536") << Tx_Rows{With(Tx(), &S::PGN, "65536")} << false
                                   << "Error in row 1!! PGN must be between 0x00000 and 0xFFFF";
        QTest::newRow("SA 0x100") << Tx_Rows{With(Tx(), &S::SA, "0x100")} << false
                                  << "Error in row 1!! Source Address must be between 0 and 255";
        QTest::newRow("Num Byte empty") << Tx_Rows{Tx("")} << false << row(1, bytes);
        QTest::newRow("Num Byte empty, reduced") << Tx_Rows{Tx("")} << true << QString();
        QTest::newRow("Num Byte 456") << Tx_Rows{Tx("456")} << false << row(1, bytes);
        QTest::newRow("Num Byte 0 adds nothing")
            << Tx_Rows{Tx("455"), Tx("0")} << false << QString();
        QTest::newRow("455 then 1") << Tx_Rows{Tx("455"), Tx("1")} << false << row(2, budget);
        QTest::newRow("56 rows of 8 make 448") << Repeat(Tx(), Tx(), 56) << false << QString();
        QTest::newRow("16, then 55 rows of 8 make 456 at row 56")
            << Repeat(Tx("16"), Tx(), 56) << false << row(56, budget);
        QTest::newRow("On Timer, 0 ms") << Tx_Rows{timer("Y", "0")} << false << row(1, time);
        QTest::newRow("On Timer, 1 ms") << Tx_Rows{timer("Y", "1")} << false << QString();
        QTest::newRow("On Timer, 10000000 ms")
            << Tx_Rows{timer("Y", "10000000")} << false << QString();
        QTest::newRow("On Request and Data Change, empty time")
            << Tx_Rows{With(With(timer("N", ""), &S::OnRequest, "Y"), &S::DataChange, "Y")} << false
            << QString();
        QTest::newRow("reduced: hidden values pass")
            << Tx_Rows{With(timer("Y", "0"), &S::NumByte, "9999")} << true << QString();
    }

    void transmit_checks()
    {
        QFETCH(Tx_Rows, rows);
        QFETCH(bool, reduced);
        QFETCH(QString, error);
        QCOMPARE(Tx_Text(rows, reduced), error);
    }

    void layouts_data()
    {
        QTest::addColumn<bool>("receive");
        QTest::addColumn<bool>("reduced");
        QTest::addColumn<QList<int>>("hints");
        QTest::newRow("receive, full")
            << true << false << QList<int>{625, 626, 627, 628, 629, 630, 631, 632, 633, 634};
        QTest::newRow("receive, reduced") << true << true << QList<int>{625, 626, 627, 631, 634};
        QTest::newRow("transmit, full")
            << false << false << QList<int>{725, 726, 727, 728, 729, 730, 731, 732, 733, 734};
        QTest::newRow("transmit, reduced") << false << true << QList<int>{725, 726, 727, 728, 734};
    }

    void layouts()
    {
        QFETCH(bool, receive);
        QFETCH(bool, reduced);
        QFETCH(QList<int>, hints);
        QCOMPARE(Frame_Hint_Messages(receive ? Receive_Table : Send_Table, reduced), hints);
        QCOMPARE(Frame_Row_Count(reduced), reduced ? 17 : 57);
    }

    // The editor shows what fits; the rest of a longer file is gone after the next save.
    void load_keeps_the_capacity_data()
    {
        QTest::addColumn<QByteArray>("parGen"); // empty: no file
        QTest::addColumn<int>("fileRows");
        QTest::addColumn<bool>("reduced");
        QTest::addColumn<int>("shown");
        QTest::newRow("no ParGen.xml, 60 rows") << QByteArray() << 60 << false << 56;
        QTest::newRow("with Ethernet, 57 rows") << Par_Gen_With_Ethernet << 57 << false << 56;
        QTest::newRow("without Ethernet, 20 rows") << Par_Gen_Without_Ethernet << 20 << true << 16;
        QTest::newRow("Device_Type missing, 3 rows") << QByteArray("<Par_Gen/>") << 3 << true << 3;
    }

    void load_keeps_the_capacity()
    {
        QFETCH(QByteArray, parGen);
        QFETCH(int, fileRows);
        QFETCH(bool, reduced);
        QFETCH(int, shown);
        Program_Folder folder;
        if (!parGen.isEmpty())
            folder.write("ParGen.xml", parGen);
        folder.write("Receive_Frame.xml", Receive_File(fileRows, ""));
        const Frame_Table_Content c = Load_Frame_Table(Receive_Table, folder.file("ParGen.xml"),
                                                       folder.file("Receive_Frame.xml"));
        QCOMPARE(c.reduced, reduced);
        QCOMPARE(c.rows.size(), shown);
        QCOMPARE(c.rows.last().at(1), QString::number(shown));
        QCOMPARE(c.rows.first().at(3), QStringLiteral("N")); // attribute defaults applied
        QCOMPARE(c.rows.first().at(8), QStringLiteral("1000"));
    }

    void check_of_stored_file_data()
    {
        QTest::addColumn<QByteArray>("parGen");
        QTest::addColumn<QByteArray>("receive");
        QTest::addColumn<QString>("error");
        const QByteArray bad57 =
            "<Receive_Frames>" +
            QByteArray("<row DataPage=\"0\" PGN=\"1\" SA=\"1\"/>").repeated(56) +
            "<row DataPage=\"\" PGN=\"1\" SA=\"1\"/></Receive_Frames>";
        QTest::newRow("hidden Start Byte, without Ethernet")
            << Par_Gen_Without_Ethernet << Receive_File(1, "StartByte=\"5000\"") << QString();
        QTest::newRow("same file, with Ethernet")
            << Par_Gen_With_Ethernet << Receive_File(1, "StartByte=\"5000\"")
            << "Error in row 1!! Start Byte must be between 0 and 1785";
        QTest::newRow("a bad row beyond the capacity is dropped")
            << QByteArray() << bad57 << QString();
        QTest::newRow("missing Num Bytes counts 8: 57 rows would make 456, 56 pass")
            << QByteArray() << Receive_File(57, "") << QString();
    }

    void check_of_stored_file()
    {
        QFETCH(QByteArray, parGen);
        QFETCH(QByteArray, receive);
        QFETCH(QString, error);
        Program_Folder folder;
        Load_Default_Language();
        if (!parGen.isEmpty())
            folder.write("ParGen.xml", parGen);
        folder.write("Receive_Frame.xml", receive);
        QCOMPARE(Check_Frame_File(Receive_Table, folder.file("ParGen.xml"),
                                  folder.file("Receive_Frame.xml")),
                 error);
    }
};

QTEST_GUILESS_MAIN(tst_framechecks)
#include "tst_framechecks.moc"
