#include "app/UComon.h"
#include "compiler/ByteMap.h"
#include "compiler/ConfigImage.h"
#include "configurations/ConfigFiles.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QtTest>

namespace {

// A configuration folder with the given device type and rows; each receive row is
// "NumBytes/StartByte", each transmit row its NumByte text.
QString Make_Configuration(const Program_Folder& folder, const QString& deviceType,
                           const QStringList& receive, const QStringList& transmit)
{
    const QString dir = folder.file(QStringLiteral("PROJECTS/C"));
    QDir().mkpath(dir);
    ParGen_Settings s = ParGen_Defaults_Missing_File();
    s.Device_Type = deviceType;
    Write_ParGen(Path_Join(dir, QStringLiteral("ParGen.xml")), s);
    QList<Receive_Frame_Row> rr;
    int pgn = 0xFE00;
    for (const QString& r : receive) {
        Receive_Frame_Row row;
        for (int c = 0; c < Receive_Frame_Row::Count; ++c)
            row.field(c) = QString::fromLatin1(Receive_Frame_Row::Defaults()[c]);
        row.DataPage = QStringLiteral("1");
        row.PGN = QString::number(pgn++);
        row.SA = QStringLiteral("0x21");
        row.NumBytes = r.section(QLatin1Char('/'), 0, 0);
        row.StartByte = r.section(QLatin1Char('/'), 1, 1);
        row.Mnemonic = QStringLiteral("R") + QString::number(rr.size() + 1);
        rr << row;
    }
    Write_Receive_Frames(Path_Join(dir, QStringLiteral("Receive_Frame.xml")), rr);
    QList<Send_Frame_Row> sr;
    for (const QString& n : transmit) {
        Send_Frame_Row row;
        for (int c = 0; c < Send_Frame_Row::Count; ++c)
            row.field(c) = QString::fromLatin1(Send_Frame_Row::Defaults()[c]);
        row.Priority = QStringLiteral("6");
        row.DataPage = QStringLiteral("0");
        row.PGN = QString::number(pgn++);
        row.SA = QStringLiteral("128");
        row.NumByte = n;
        row.Mnemonic = QStringLiteral("T") + QString::number(sr.size() + 1);
        sr << row;
    }
    Write_Send_Frames(Path_Join(dir, QStringLiteral("Send_Frame.xml")), sr);
    Shared.Conf_Dir = dir;
    Set_Files();
    return dir;
}

using Numbers = QList<int>;

// The offsets and counts as bank 2 stores them, read back from the serialised bytes.
void Stored_Fields(int table, int rows, Numbers& offsets, Numbers& counts)
{
    for (int i = 0; i < rows; ++i) {
        const Frame_Record r = Decode_Frame_Record(
            Config_Image.Bank2_Buffer.data() +
            (table * Config_Image_Data::Frame_Count + i) * Frame_Record::Size);
        offsets << r.Data_Offset;
        counts << r.Byte_Count;
    }
}

} // namespace

class Tst_Byte_Map final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { Reset_Config_Image(); }

    void matches_the_images_data();
    void matches_the_images();
    void row_cells_and_csv();
};

void Tst_Byte_Map::matches_the_images_data()
{
    QTest::addColumn<QString>("deviceType");
    QTest::addColumn<QStringList>("receive");
    QTest::addColumn<QStringList>("transmit");
    QTest::addColumn<Numbers>("receiveOffsets");
    QTest::addColumn<Numbers>("receiveCounts");
    QTest::addColumn<Numbers>("transmitOffsets");
    QTest::addColumn<Numbers>("transmitCounts");
    QTest::addColumn<int>("receiveSize");
    QTest::addColumn<int>("transmitSize");
    QTest::addColumn<bool>("over");

    QTest::newRow("with Ethernet port")
        << "1" << QStringList{"4/0", "2/4", "8/0"} << QStringList{"8", "3"} << Numbers{0, 4, 6}
        << Numbers{4, 2, 8} << Numbers{0, 8} << Numbers{8, 3} << 14 << 11 << false;
    // The hidden columns keep what the file stores and the compiler takes it.
    QTest::newRow("without Ethernet port") << "0" << QStringList{"3/5", "1/0"} << QStringList{"2"}
                                           << Numbers{0, 3} << Numbers{3, 1} << Numbers{0}
                                           << Numbers{2} << 4 << 2 << false;
    QTest::newRow("empty Num Bytes") << "0" << QStringList{"/", "/", "5/"} << QStringList{"", "1"}
                                     << Numbers{0, 8, 16} << Numbers{8, 8, 5} << Numbers{0, 8}
                                     << Numbers{8, 1} << 21 << 9 << false;
    QTest::newRow("exactly 455") << "1" << QStringList{"255/0", "200/0"} << QStringList{"455"}
                                 << Numbers{0, 255} << Numbers{255, 200} << Numbers{0}
                                 << Numbers{455} << 455 << 455 << false;
    QTest::newRow("456 is over") << "1" << QStringList{"255/0", "201/0"} << QStringList{}
                                 << Numbers{0, 255} << Numbers{255, 201} << Numbers{}
                                 << Numbers{} << 456 << 0 << true;
    // The receive sum adds the stored 16-bit count, the transmit sum the full value.
    QTest::newRow("counts beyond 16 bits") << "1" << QStringList{"65537/0", "2/0"}
                                           << QStringList{"65537", "2"} << Numbers{0, 1}
                                           << Numbers{1, 2} << Numbers{0, 1} << Numbers{1, 2}
                                           << 3 << 65539 << false;
    QTest::newRow("no rows") << "1" << QStringList{} << QStringList{} << Numbers{} << Numbers{}
                             << Numbers{} << Numbers{} << 0 << 0 << false;
}

void Tst_Byte_Map::matches_the_images()
{
    QFETCH(QString, deviceType);
    QFETCH(QStringList, receive);
    QFETCH(QStringList, transmit);
    QFETCH(Numbers, receiveOffsets);
    QFETCH(Numbers, receiveCounts);
    QFETCH(Numbers, transmitOffsets);
    QFETCH(Numbers, transmitCounts);
    QFETCH(int, receiveSize);
    QFETCH(int, transmitSize);
    QFETCH(bool, over);

    Program_Folder folder;
    Make_Configuration(folder, deviceType, receive, transmit);
    const Byte_Map map = Compile_Byte_Map();

    Numbers ro, rc, to, tc;
    for (const Byte_Map_Row& r : map.receive.rows)
        ro << r.Data_Offset, rc << r.Byte_Count;
    for (const Byte_Map_Row& r : map.transmit.rows)
        to << r.Data_Offset, tc << r.Byte_Count;
    QCOMPARE(ro, receiveOffsets);
    QCOMPARE(rc, receiveCounts);
    QCOMPARE(to, transmitOffsets);
    QCOMPARE(tc, transmitCounts);

    Numbers so, sc;
    Stored_Fields(0, int(receive.size()), so, sc);
    QCOMPARE(ro, so);
    QCOMPARE(rc, sc);
    so.clear(), sc.clear();
    Stored_Fields(1, int(transmit.size()), so, sc);
    QCOMPARE(to, so);
    QCOMPARE(tc, sc);

    QCOMPARE(map.receive.Data_Size, quint32(receiveSize));
    QCOMPARE(map.transmit.Data_Size, quint32(transmitSize));
    const Image_Header_Fields stored = Decode_Image_Header(
        Config_Image.Bank2_Buffer.data() + Config_Image_Data::Frames_Size);
    QCOMPARE(map.receive.Data_Size, stored.Receive_Data_Size);
    QCOMPARE(map.transmit.Data_Size, stored.Transmit_Data_Size);
    QCOMPARE(map.receive.Over_Budget(), over);
}

void Tst_Byte_Map::row_cells_and_csv()
{
    Program_Folder folder;
    Make_Configuration(folder, QStringLiteral("1"), {QStringLiteral("4/3")},
                       {QStringLiteral("2")});
    // A mnemonic that a spreadsheet would split.
    QList<Receive_Frame_Row> rows = Read_Receive_Frames(Shared.File_Receive_Frame);
    rows[0].Mnemonic = QStringLiteral("speed, \"km/h\"");
    Write_Receive_Frames(Shared.File_Receive_Frame, rows);

    const Byte_Map map = Compile_Byte_Map();
    QCOMPARE(map.receive.rows.size(), 1);
    const Byte_Map_Row& r = map.receive.rows[0];
    QCOMPARE(r.row, 1);
    QCOMPARE(r.Data_Page, 1);
    QCOMPARE(r.PGN, 0xFE00);
    QCOMPARE(r.SA, 0x21);
    QCOMPARE(r.Start_Byte, std::optional<qint32>(3));
    QCOMPARE(map.transmit.rows[0].Start_Byte, std::nullopt);

    QCOMPARE(QString::fromUtf8(Byte_Map_Csv(map)),
             QStringLiteral("table,row,offset,bytes,data_page,pgn,sa,start_byte,mnemonic\r\n"
                            "receive,1,0,4,1,0xFE00,33,3,\"speed, \"\"km/h\"\"\"\r\n"
                            "transmit,1,0,2,0,0xFE01,128,,T1\r\n"));
    QCOMPARE(Pgn_Text(0xEA), QStringLiteral("0x00EA"));
}

QTEST_GUILESS_MAIN(Tst_Byte_Map)
#include "tst_bytemap.moc"
