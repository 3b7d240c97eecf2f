#include "app/UComon.h"
#include "compiler/USaveBincc.h"
#include "configurations/ConfigFiles.h"
#include "language/ULanguage.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QMap>
#include <QXmlStreamWriter>
#include <QtTest>

char* toString(const Frame_Record& r)
{
    return QTest::toString(
        QStringLiteral("{Identifier %1, Timer_Period %2, Data_Timeout %3, Data_Offset %4, "
                       "Start_Byte %5, Byte_Count %6, Request_Time %7, Transport %8, Flags %9}")
            .arg(QStringLiteral("0x%1").arg(r.Identifier, 8, 16, QLatin1Char('0')))
            .arg(r.Timer_Period)
            .arg(r.Data_Timeout)
            .arg(r.Data_Offset)
            .arg(r.Start_Byte)
            .arg(r.Byte_Count)
            .arg(r.Request_Time)
            .arg(r.Transport)
            .arg(QStringLiteral("0x%1").arg(r.Flags, 2, 16, QLatin1Char('0'))));
}

namespace {

const QString Absent = QStringLiteral("<absent>");

// "Name=value Name=value"; a name with the value <absent> is left out.
QMap<QString, QString> Parse_Changes(const QString& changes)
{
    QMap<QString, QString> m;
    for (const QString& part : changes.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const qsizetype eq = part.indexOf(QLatin1Char('='));
        m.insert(part.left(eq), part.mid(eq + 1));
    }
    return m;
}

// A stored ParGen.xml: the settings of the empty-tables example with `changes` applied.
QByteArray ParGen_File(const QString& changes = {})
{
    ParGen_Settings s = ParGen_Defaults_Missing_Element();
    s.Delay_Send = s.TimeOut_Data = s.Net_Dev_Id = QStringLiteral("0");
    const auto m = Parse_Changes(changes);
    QByteArray out;
    QXmlStreamWriter w(&out);
    w.writeStartElement(QStringLiteral("Par_Gen"));
    for (int i = 0; i < ParGen_Settings::Count; ++i) {
        const QString name = QString::fromLatin1(ParGen_Settings::Names()[i]);
        const QString value = m.value(name, s.field(i));
        if (value != Absent)
            w.writeTextElement(name, value);
    }
    w.writeEndElement();
    w.writeComment(SW_Version_Comment);
    return out;
}

const char Receive_Base[] = "DataPage=0 PGN=65262 SA=0 TransportProtocol=N StartByte=0 NumBytes=8 "
                            "Delete=N OnRequest=N OnReq_Time=1000 Mnemonic=x";
const char Send_Base[] = "Priority=6 DataPage=0 PGN=65265 SA=128 NumByte=8 OnRequest=N "
                         "DataChange=N OnTimer=N OnTimer_Time=1000 Mnemonic=x";

// A stored frame file; each row is the base row with its changes applied, in base order.
QByteArray Frames_File(const char* base, const QStringList& rows)
{
    const QStringList order = QString::fromLatin1(base).split(QLatin1Char(' '));
    QByteArray out;
    QXmlStreamWriter w(&out);
    w.writeStartElement(QStringLiteral("Receive_Frames"));
    for (const QString& row : rows) {
        const auto m = Parse_Changes(row);
        w.writeEmptyElement(QStringLiteral("row"));
        for (const QString& pair : order) {
            const QString name = pair.section(QLatin1Char('='), 0, 0);
            const QString value = m.value(name, pair.section(QLatin1Char('='), 1));
            if (value != Absent)
                w.writeAttribute(name, value);
        }
    }
    w.writeEndElement();
    w.writeComment(SW_Version_Comment);
    return out;
}

QByteArray Receive_File(const QStringList& rows)
{
    return Frames_File(Receive_Base, rows);
}
QByteArray Send_File(const QStringList& rows)
{
    return Frames_File(Send_Base, rows);
}

QByteArray Bank1()
{
    return QByteArray(reinterpret_cast<const char*>(Config_Image.Bank1_Area.data()),
                      Config_Image_Data::Bank1_Size);
}

QByteArray Bank2()
{
    return QByteArray(reinterpret_cast<const char*>(Config_Image.Bank2_Buffer.data()),
                      Config_Image.Bank2_Length);
}

Frame_Record Receive_Record(quint32 identifier, quint32 timeout, quint16 offset, quint16 startByte,
                            quint16 count, quint32 requestTime, quint16 transport, quint8 flags)
{
    Frame_Record r;
    r.Identifier = identifier;
    r.Data_Timeout = timeout;
    r.Data_Offset = offset;
    r.Start_Byte = startByte;
    r.Byte_Count = count;
    r.Request_Time = requestTime;
    r.Transport = transport;
    r.Flags = flags;
    return r;
}

Frame_Record Transmit_Record(quint32 identifier, quint32 timer, quint16 offset, quint16 count,
                             quint16 transport, quint8 flags)
{
    Frame_Record r = Frame_Record::Empty();
    r.Identifier = identifier;
    r.Timer_Period = timer;
    r.Data_Offset = offset;
    r.Byte_Count = count;
    r.Transport = transport;
    r.Flags = flags;
    return r;
}

// A configuration folder in a fresh program folder, made the active configuration.
class Configuration final {
public:
    Configuration()
    {
        Shared.Conf_Dir = m_folder.file(QStringLiteral("PROJECTS/Test"));
        QDir().mkpath(Shared.Conf_Dir);
        Set_Files();
    }
    // Null bytes remove the file.
    void set(const QByteArray& parGen, const QByteArray& receive, const QByteArray& send) const
    {
        put(Shared.File_ParGen, parGen);
        put(Shared.File_Receive_Frame, receive);
        put(Shared.File_Send_Frame, send);
    }
    const Program_Folder& folder() const { return m_folder; }

private:
    static void put(const QString& path, const QByteArray& data)
    {
        QFile::remove(path);
        if (data.isNull())
            return;
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(data);
    }
    Program_Folder m_folder;
};

} // namespace

class Tst_Compiler final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { Load_Default_Language(); }
    void init() { Reset_Config_Image(); }

    void goldenImages_data();
    void goldenImages();
    void receiveRecords_data();
    void receiveRecords();
    void transmitRecords_data();
    void transmitRecords();
    void dataOffsets_data();
    void dataOffsets();
    void bitRates_data();
    void bitRates();
    void ethernetSettings_data();
    void ethernetSettings();
    void parGenWithOnlyTheBank1Elements();
    void settingsBytesAreTruncated();
    void layoutOfTheFilesPlaysNoPart();
    void fullTableFillsEveryEntry();
    void shorterTableLeavesEarlierRowsInBank1();
    void compilationWithoutParGenKeepsRunState();
    void bank1ErrorsEndTheCompilation_data();
    void bank1ErrorsEndTheCompilation();
    void saveWritesBothFiles();
    void saveFailuresNameTheFile_data();
    void saveFailuresNameTheFile();
    void bankFilesChangeAsAPair_data();
    void bankFilesChangeAsAPair();
    void bankFilesOnAFullDisk();
    void vanishedConfigurationIsNotMadeAgain();
};

void Tst_Compiler::goldenImages_data()
{
    QTest::addColumn<QString>("example");
    QTest::addColumn<quint32>("checksum");
    QTest::newRow("no files") << "no_files" << 3647u;
    QTest::newRow("settings, empty tables") << "empty_tables" << 3390u;
    QTest::newRow("one row each") << "one_row_each" << 2761u;
}

void Tst_Compiler::goldenImages()
{
    QFETCH(QString, example);
    QFETCH(quint32, checksum);
    Program_Folder out;
    Shared.Conf_Dir = Test_Data(QStringLiteral("compiler/") + example);
    Set_Files();

    Compile_Bin();

    const QString expected = Shared.Conf_Dir + QStringLiteral("/expected/");
    QCOMPARE(Config_Image.Bank2_Length, 18432);
    QCOMPARE(Get_LE32(Config_Image.Bank2_Buffer.data() + 18428), checksum);
    QVERIFY(Bank1() == Read_All(expected + QStringLiteral("bank1.bin")));
    QVERIFY(Bank2() == Read_All(expected + QStringLiteral("bank2.bin")));

    // The files carry exactly the image; the folder is made on the way.
    const QString bin = out.file(QStringLiteral("nested/bin"));
    Save_Bin(bin);
    QVERIFY(Read_All(bin + QStringLiteral("/bank1.bin")) == Bank1());
    QVERIFY(Read_All(bin + QStringLiteral("/bank2.bin")) == Bank2());
}

void Tst_Compiler::receiveRecords_data()
{
    QTest::addColumn<QString>("parGen");
    QTest::addColumn<QString>("row");
    QTest::addColumn<Frame_Record>("record");
    QTest::addColumn<QByteArray>("bank1Row");

    // Identifier: data page, PGN and source address in unsigned 32-bit arithmetic.
    QTest::newRow("peer-to-peer off")
        << ""
        << "SA=5" << Receive_Record(0x00FEEE05, 0, 0, 0, 8, 1000, 0, 0)
        << QByteArray::fromHex("00eefe0500");
    QTest::newRow("peer-to-peer on: source address left out")
        << "PeerToPeer=1"
        << "SA=5" << Receive_Record(0x00FEEE00, 0, 0, 0, 8, 1000, 0, 0)
        << QByteArray::fromHex("00eefe0500");
    QTest::newRow("peer-to-peer only for exactly 1")
        << "PeerToPeer=01"
        << "SA=5" << Receive_Record(0x00FEEE05, 0, 0, 0, 8, 1000, 0, 0)
        << QByteArray::fromHex("00eefe0500");
    QTest::newRow("hexadecimal texts")
        << ""
        << "DataPage=1 PGN=0xFEEE SA=$1F" << Receive_Record(0x01FEEE1F, 0, 0, 0, 8, 1000, 0, 0)
        << QByteArray::fromHex("01eefe1f00");
    QTest::newRow("data page 256 wraps away")
        << ""
        << "DataPage=256 PGN=1 SA=2" << Receive_Record(0x00000102, 0, 0, 0, 8, 1000, 0, 0)
        << QByteArray::fromHex("0001000200");
    QTest::newRow("PGN beyond 16 bits reaches the data page")
        << ""
        << "PGN=0x1FEEE" << Receive_Record(0x01FEEE00, 0, 0, 0, 8, 1000, 0, 0)
        << QByteArray::fromHex("00eefe0000");
    QTest::newRow("negative source address wraps")
        << ""
        << "SA=-1" << Receive_Record(0x00FEEDFF, 0, 0, 0, 8, 1000, 0, 0)
        << QByteArray::fromHex("00eefeff00");
    QTest::newRow("texts that are not numbers add 0")
        << ""
        << "DataPage=one PGN=0xFEEE_ SA=5" << Receive_Record(0x00000005, 0, 0, 0, 8, 1000, 0, 0)
        << QByteArray::fromHex("0000000500");

    // Time-out and flags: the bank 2 tests are exact, bank 1 and OnRequest ignore the case.
    QTest::newRow("Delete Y takes the data time-out")
        << "TimeOut_Data=5"
        << "Delete=Y" << Receive_Record(0x00FEEE00, 5000, 0, 0, 8, 1000, 0, 0)
        << QByteArray::fromHex("00eefe0001");
    QTest::newRow("Delete y: bank 1 only")
        << "TimeOut_Data=5"
        << "Delete=y" << Receive_Record(0x00FEEE00, 0, 0, 0, 8, 1000, 0, 0)
        << QByteArray::fromHex("00eefe0001");
    QTest::newRow("time-out in 32-bit arithmetic")
        << "TimeOut_Data=5000000"
        << "Delete=Y" << Receive_Record(0x00FEEE00, 705032704, 0, 0, 8, 1000, 0, 0)
        << QByteArray::fromHex("00eefe0001");
    QTest::newRow("transport protocol Y")
        << ""
        << "TransportProtocol=Y" << Receive_Record(0x00FEEE00, 0, 0, 0, 8, 1000, 1, 0)
        << QByteArray::fromHex("00eefe0000");
    QTest::newRow("transport protocol y is not set")
        << ""
        << "TransportProtocol=y" << Receive_Record(0x00FEEE00, 0, 0, 0, 8, 1000, 0, 0)
        << QByteArray::fromHex("00eefe0000");
    QTest::newRow("on request in any case")
        << ""
        << "OnRequest=y OnReq_Time=250" << Receive_Record(0x00FEEE00, 0, 0, 0, 8, 250, 0, 0x80)
        << QByteArray::fromHex("00eefe0000");
    QTest::newRow("start byte, count and request time as given")
        << ""
        << "StartByte=3 NumBytes=4 OnReq_Time=-1"
        << Receive_Record(0x00FEEE00, 0, 0, 3, 4, 0xFFFFFFFF, 0, 0)
        << QByteArray::fromHex("00eefe0000");
    QTest::newRow("absent fields fall back")
        << ""
        << "TransportProtocol=<absent> StartByte=<absent> NumBytes=<absent> OnRequest=<absent> "
           "OnReq_Time=<absent>"
        << Receive_Record(0x00FEEE00, 0, 0, 0, 8, 0, 0, 0) << QByteArray::fromHex("00eefe0000");
    QTest::newRow("texts that are not numbers fall back")
        << ""
        << "StartByte=a NumBytes= OnReq_Time=1s" << Receive_Record(0x00FEEE00, 0, 0, 0, 8, 0, 0, 0)
        << QByteArray::fromHex("00eefe0000");
}

void Tst_Compiler::receiveRecords()
{
    QFETCH(QString, parGen);
    QFETCH(QString, row);
    QFETCH(Frame_Record, record);
    QFETCH(QByteArray, bank1Row);
    Configuration c;
    c.set(ParGen_File(parGen), Receive_File({row}), Send_File({}));

    Compile_Bin();

    QCOMPARE(Config_Image.Receive_Records[0], record);
    QCOMPARE(Config_Image.Receive_Records[1], Frame_Record::Empty());
    QCOMPARE(Bank1().left(5), bank1Row);
    QCOMPARE(Config_Image.Image_Header.Receive_Row_Count, 1u);
    QCOMPARE(Config_Image.Bank1_Area[15010], 1);
}

void Tst_Compiler::transmitRecords_data()
{
    QTest::addColumn<QString>("parGen");
    QTest::addColumn<QString>("row");
    QTest::addColumn<Frame_Record>("record");
    QTest::addColumn<QByteArray>("bank1Row");

    QTest::newRow("29-bit identifier")
        << ""
        << "" << Transmit_Record(0x18FEF180, 0, 0, 8, 0, 0x01) << QByteArray::fromHex("0600f1fe80");
    QTest::newRow("highest values the editors allow")
        << ""
        << "Priority=7 DataPage=1 PGN=0xFFFF SA=255"
        << Transmit_Record(0x1DFFFFFF, 0, 0, 8, 0, 0x01) << QByteArray::fromHex("0701ffffff");
    QTest::newRow("peer-to-peer keeps the source address")
        << "PeerToPeer=1"
        << "" << Transmit_Record(0x18FEF180, 0, 0, 8, 0, 0x01) << QByteArray::fromHex("0600f1fe80");
    QTest::newRow("priority not a number adds 0")
        << ""
        << "Priority=high" << Transmit_Record(0x00FEF180, 0, 0, 8, 0, 0x01)
        << QByteArray::fromHex("0000f1fe80");
    QTest::newRow("priority 64 wraps away")
        << ""
        << "Priority=64" << Transmit_Record(0x00FEF180, 0, 0, 8, 0, 0x01)
        << QByteArray::fromHex("4000f1fe80");
    QTest::newRow("on timer N ignores the time")
        << ""
        << "OnTimer=N OnTimer_Time=100" << Transmit_Record(0x18FEF180, 0, 0, 8, 0, 0x01)
        << QByteArray::fromHex("0600f1fe80");
    QTest::newRow("on timer y takes the time")
        << ""
        << "OnTimer=y OnTimer_Time=100" << Transmit_Record(0x18FEF180, 100, 0, 8, 0, 0x11)
        << QByteArray::fromHex("0600f1fe80");
    QTest::newRow("on timer with a time that is not a number")
        << ""
        << "OnTimer=Y OnTimer_Time=100ms" << Transmit_Record(0x18FEF180, 0, 0, 8, 0, 0x11)
        << QByteArray::fromHex("0600f1fe80");
    QTest::newRow("on request and data change in any case")
        << ""
        << "OnRequest=y DataChange=Y" << Transmit_Record(0x18FEF180, 0, 0, 8, 0, 0x61)
        << QByteArray::fromHex("0600f1fe80");
    QTest::newRow("more than 8 bytes: transport")
        << ""
        << "NumByte=9" << Transmit_Record(0x18FEF180, 0, 0, 9, 1, 0x01)
        << QByteArray::fromHex("0600f1fe80");
    QTest::newRow("negative count: no transport")
        << ""
        << "NumByte=-1" << Transmit_Record(0x18FEF180, 0, 0, 0xFFFF, 0, 0x01)
        << QByteArray::fromHex("0600f1fe80");
    QTest::newRow("absent fields fall back")
        << ""
        << "NumByte=<absent> OnRequest=<absent> DataChange=<absent> OnTimer=<absent> "
           "OnTimer_Time=<absent>"
        << Transmit_Record(0x18FEF180, 0, 0, 8, 0, 0x01) << QByteArray::fromHex("0600f1fe80");
}

void Tst_Compiler::transmitRecords()
{
    QFETCH(QString, parGen);
    QFETCH(QString, row);
    QFETCH(Frame_Record, record);
    QFETCH(QByteArray, bank1Row);
    Configuration c;
    c.set(ParGen_File(parGen), Receive_File({}), Send_File({row}));

    Compile_Bin();

    QCOMPARE(Config_Image.Transmit_Records[0], record);
    QCOMPARE(Config_Image.Transmit_Records[1], Frame_Record::Empty());
    QCOMPARE(Bank1().mid(7000, 5), bank1Row);
    QCOMPARE(Config_Image.Image_Header.Transmit_Row_Count, 1u);
    QCOMPARE(Config_Image.Bank1_Area[15011], 1);
}

void Tst_Compiler::dataOffsets_data()
{
    QTest::addColumn<QStringList>("receiveCounts");
    QTest::addColumn<QStringList>("sendCounts");
    QTest::addColumn<QList<int>>("receiveOffsets");
    QTest::addColumn<QList<int>>("sendOffsets");
    QTest::addColumn<quint32>("receiveSize");
    QTest::addColumn<quint32>("sendSize");

    QTest::newRow("rows laid end to end") << QStringList{"8", "4", "2"} << QStringList{"8", "20"}
                                          << QList<int>{0, 8, 12} << QList<int>{0, 8} << 14u << 28u;
    QTest::newRow("absent or empty counts are 8")
        << QStringList{Absent, "", "1"} << QStringList{Absent, "x"} << QList<int>{0, 8, 16}
        << QList<int>{0, 8} << 17u << 16u;
    // Receive adds the stored 16-bit count, transmit the full value.
    QTest::newRow("counts beyond 16 bits") << QStringList{"65537", "8"} << QStringList{"65537", "8"}
                                           << QList<int>{0, 1} << QList<int>{0, 1} << 9u << 65545u;
    QTest::newRow("negative transmit count wraps the sum")
        << QStringList{} << QStringList{"-1", "8"} << QList<int>{} << QList<int>{0, 0xFFFF} << 0u
        << 7u;
}

void Tst_Compiler::dataOffsets()
{
    QFETCH(QStringList, receiveCounts);
    QFETCH(QStringList, sendCounts);
    QFETCH(QList<int>, receiveOffsets);
    QFETCH(QList<int>, sendOffsets);
    QFETCH(quint32, receiveSize);
    QFETCH(quint32, sendSize);
    QStringList receive, send;
    for (const QString& n : receiveCounts)
        receive << QStringLiteral("NumBytes=") + n;
    for (const QString& n : sendCounts)
        send << QStringLiteral("NumByte=") + n;
    Configuration c;
    c.set(ParGen_File(), Receive_File(receive), Send_File(send));

    Compile_Bin();

    for (int i = 0; i < receiveOffsets.size(); ++i)
        QCOMPARE(Config_Image.Receive_Records[i].Data_Offset, receiveOffsets[i]);
    for (int i = 0; i < sendOffsets.size(); ++i)
        QCOMPARE(Config_Image.Transmit_Records[i].Data_Offset, sendOffsets[i]);
    const Image_Header_Fields& h = Config_Image.Image_Header;
    QCOMPARE(h.Receive_Data_Size, receiveSize);
    QCOMPARE(h.Transmit_Data_Size, sendSize);
    QCOMPARE(h.Receive_Row_Count, quint32(receiveCounts.size()));
    QCOMPARE(h.Transmit_Row_Count, quint32(sendCounts.size()));
}

void Tst_Compiler::bitRates_data()
{
    QTest::addColumn<QString>("canBaud");
    QTest::addColumn<QString>("netBaud");
    QTest::addColumn<quint32>("j1939Rate");
    QTest::addColumn<quint32>("deviceNetRate");
    QTest::addColumn<int>("canBaudByte");

    const quint32 j1939[] = {10000, 20000, 50000, 100000, 125000, 250000, 500000, 800000, 1000000};
    for (int i = 0; i < 9; ++i)
        QTest::addRow("Can_Baud %d", i) << QString::number(i) << "2" << j1939[i] << 500000u << i;
    QTest::newRow("Can_Baud 9") << "9"
                                << "2" << 250000u << 500000u << 9;
    QTest::newRow("Can_Baud -1") << "-1"
                                 << "2" << 250000u << 500000u << 255;
    QTest::newRow("Can_Baud hexadecimal") << "$7"
                                          << "2" << 800000u << 500000u << 7;
    QTest::newRow("Net_Baud 0") << "5"
                                << "0" << 250000u << 125000u << 5;
    QTest::newRow("Net_Baud 1") << "5"
                                << "1" << 250000u << 250000u << 5;
    QTest::newRow("Net_Baud 3") << "5"
                                << "3" << 250000u << 500000u << 5;
}

void Tst_Compiler::bitRates()
{
    QFETCH(QString, canBaud);
    QFETCH(QString, netBaud);
    QFETCH(quint32, j1939Rate);
    QFETCH(quint32, deviceNetRate);
    QFETCH(int, canBaudByte);
    Configuration c;
    c.set(ParGen_File(QStringLiteral("Can_Baud=%1 Net_Baud=%2").arg(canBaud, netBaud)), {}, {});

    Compile_Bin();

    QCOMPARE(Config_Image.Image_Header.J1939_Bit_Rate, j1939Rate);
    QCOMPARE(Config_Image.Image_Header.DeviceNet_Bit_Rate, deviceNetRate);
    QCOMPARE(int(Config_Image.Bank1_Area[15000]), canBaudByte);
    QCOMPARE(Get_LE32(Config_Image.Bank2_Buffer.data() + 16384), j1939Rate);
    QCOMPARE(Get_LE32(Config_Image.Bank2_Buffer.data() + 16388), deviceNetRate);
}

void Tst_Compiler::ethernetSettings_data()
{
    QTest::addColumn<QString>("parGen");
    QTest::addColumn<QByteArray>("addresses"); // IP, mask, gateway as stored
    QTest::addColumn<quint32>("j1939Address");

    QTest::newRow("gateway enabled")
        << "Ethernet_EN_GAT=1" << QByteArray::fromHex("c0a80005ffffff00c0a80001") << 0u;
    QTest::newRow("gateway disabled")
        << "Ethernet_EN_GAT=0" << QByteArray::fromHex("c0a80005ffffff00ffffffff") << 0u;
    QTest::newRow("gateway switch true")
        << "Ethernet_EN_GAT=true" << QByteArray::fromHex("c0a80005ffffff00ffffffff") << 0u;
    QTest::newRow("gateway switch absent")
        << "Ethernet_EN_GAT=<absent>" << QByteArray::fromHex("c0a80005ffffff00ffffffff") << 0u;
    QTest::newRow("values truncated to a byte")
        << "Ethernet_IP1=300 Ethernet_SM4=-1 Ethernet_GAT4=0x1FE Ethernet_EN_GAT=1 "
           "J1939_Device_ID=0x1234567"
        << QByteArray::fromHex("2ca80005ffffffffc0a800fe") << 0x1234567u;
    QTest::newRow("texts that are not numbers fall back")
        << "Ethernet_IP1=ten Ethernet_SM1= Ethernet_GAT3=0.0 Ethernet_EN_GAT=1 J1939_Device_ID=a"
        << QByteArray::fromHex("c0a80005ffffff00c0a80001") << 0u;
}

void Tst_Compiler::ethernetSettings()
{
    QFETCH(QString, parGen);
    QFETCH(QByteArray, addresses);
    QFETCH(quint32, j1939Address);
    Configuration c;
    c.set(ParGen_File(parGen), {}, {});

    Compile_Bin();

    QCOMPARE(Bank2().mid(16384 + 40, 12), addresses);
    QCOMPARE(Config_Image.Image_Header.J1939_Device_Address, j1939Address);
}

void Tst_Compiler::parGenWithOnlyTheBank1Elements()
{
    Configuration c;
    c.set("<Par_Gen><Can_Baud>6</Can_Baud><CAN_Type>1</CAN_Type><How_Send>1</How_Send>"
          "<Delay_Send>250</Delay_Send><TimeOut_Data>3</TimeOut_Data><PeerToPeer>1</PeerToPeer>"
          "<Net_Dev_Id>63</Net_Dev_Id><Net_Baud>1</Net_Baud></Par_Gen>",
          {}, {});

    Compile_Bin();

    const Image_Header_Fields& h = Config_Image.Image_Header;
    QCOMPARE(h.IP_Address, (std::array<quint8, 4>{192, 168, 0, 5}));
    QCOMPARE(h.Subnet_Mask, (std::array<quint8, 4>{255, 255, 255, 0}));
    QCOMPARE(h.Gateway, (std::array<quint8, 4>{255, 255, 255, 255}));
    QCOMPARE(h.J1939_Device_Address, 0u);
    QCOMPARE(h.J1939_Bit_Rate, 500000u);
    QCOMPARE(h.DeviceNet_Bit_Rate, 250000u);
    QCOMPARE(h.DeviceNet_Node_Address, 63u);
    QCOMPARE(h.Option_Flags, 1u);
    QCOMPARE(Config_Image.Data_Timeout_ms, 3000u);
    QCOMPARE(Bank1().mid(15000, 12), QByteArray::fromHex("060101fa000300013f010000"));
}

void Tst_Compiler::settingsBytesAreTruncated()
{
    Configuration c;
    c.set(ParGen_File("Delay_Send=0x12345 TimeOut_Data=70000 Net_Dev_Id=300 How_Send=-2"), {}, {});

    Compile_Bin();

    QCOMPARE(Bank1().mid(15000, 12), QByteArray::fromHex("0501fe45237011002c020000"));
    QCOMPARE(Config_Image.Data_Timeout_ms, 70000000u);
    QCOMPARE(Config_Image.Image_Header.DeviceNet_Node_Address, 300u);
}

void Tst_Compiler::layoutOfTheFilesPlaysNoPart()
{
    Program_Folder out;
    Shared.Conf_Dir = Test_Data(QStringLiteral("compiler/one_row_each"));
    Set_Files();
    Compile_Bin();
    const QByteArray bank1 = Bank1(), bank2 = Bank2();
    const QByteArray parGen = Read_All(Shared.File_ParGen);

    // A byte-order mark, line breaks and indentation, any root name.
    Configuration c;
    c.set("\xEF\xBB\xBF" + QByteArray(parGen).replace("><", ">\n  <"),
          "\xEF\xBB\xBF<Rows>\n  <row DataPage=\"0\" PGN=\"65262\" SA=\"0\"\n"
          "       NumBytes=\"8\" Delete=\"Y\" OnReq_Time=\"0\"/>\n</Rows>\n",
          "<Receive_Frames>\r\n\t<frame Priority=\"6\" DataPage=\"0\" PGN=\"65265\" SA=\"128\" "
          "DataChange=\"Y\" OnTimer=\"Y\" OnTimer_Time=\"100\"/>\r\n</Receive_Frames>\r\n"
          "<!--SW_VERSION = 2.000-->\r\n");
    Reset_Config_Image();
    Compile_Bin();

    QVERIFY(Bank1() == bank1);
    QVERIFY(Bank2() == bank2);
}

void Tst_Compiler::fullTableFillsEveryEntry()
{
    QStringList rows;
    for (int i = 0; i < 255; ++i)
        rows << QStringLiteral("PGN=%1 SA=%2 NumBytes=4").arg(61440 + i).arg(i % 7);
    Configuration c;
    c.set(ParGen_File(), Receive_File(rows), Send_File({}));

    Compile_Bin();

    QCOMPARE(Config_Image.Bank2_Length, 18432);
    QCOMPARE(Config_Image.Image_Header.Receive_Row_Count, 255u);
    QCOMPARE(Config_Image.Image_Header.Receive_Data_Size, 1020u);
    QCOMPARE(Config_Image.Receive_Records[254].Identifier, quint32((61440 + 254) * 256 + 254 % 7));
    QCOMPARE(Config_Image.Receive_Records[254].Data_Offset, 1016);
    QCOMPARE(Config_Image.Receive_Records[255], Frame_Record::Empty());
    QCOMPARE(Config_Image.Transmit_Records[0], Frame_Record::Empty());
    QCOMPARE(Config_Image.Bank1_Area[15010], 255);
    QCOMPARE(Bank1().mid(5 * 254, 5), QByteArray::fromHex("00fef00200"));
}

void Tst_Compiler::shorterTableLeavesEarlierRowsInBank1()
{
    Configuration c;
    c.set(ParGen_File(),
          Receive_File({"PGN=1", "PGN=2", "PGN=3", "PGN=4 SA=44 Delete=Y", "PGN=5 SA=55"}),
          Send_File({}));
    Compile_Bin();
    QCOMPARE(Config_Image.Bank1_Area[15010], 5);

    c.set(ParGen_File(), Receive_File({"PGN=11", "PGN=12", "PGN=13"}), Send_File({}));
    Compile_Bin();

    QCOMPARE(Config_Image.Bank1_Area[15010], 3);
    QCOMPARE(Bank1().left(25), QByteArray::fromHex("000b000000"
                                                   "000c000000"
                                                   "000d000000"
                                                   "0004002c01"
                                                   "0005003700"));
    // Bank 2 is rebuilt from empty entries.
    QCOMPARE(Config_Image.Image_Header.Receive_Row_Count, 3u);
    QCOMPARE(Config_Image.Receive_Records[3], Frame_Record::Empty());
}

void Tst_Compiler::compilationWithoutParGenKeepsRunState()
{
    Configuration c;
    c.set(ParGen_File("TimeOut_Data=5 Can_Baud=6 Net_Dev_Id=12 Ethernet_EN_GAT=1"),
          Receive_File({"Delete=Y"}), Send_File({}));
    Compile_Bin();
    const QByteArray settings = Bank1().mid(15000, 12);
    QCOMPARE(settings, QByteArray::fromHex("06010000000500000c020100"));

    c.set({}, Receive_File({"PGN=1 Delete=Y", "PGN=2 Delete=Y"}), Send_File({"", ""}));
    Compile_Bin();

    // Bank 1 settings and counts stay; the time-out of the earlier compilation is used.
    QCOMPARE(Bank1().mid(15000, 12), settings);
    QCOMPARE(Config_Image.Receive_Records[1].Data_Timeout, 5000u);
    Image_Header_Fields expected = Header_Defaults();
    expected.Image_Load_Address = 0x64000;
    expected.Second_Address = 0x66000;
    expected.Receive_Row_Count = 2;
    expected.Transmit_Row_Count = 2;
    expected.Receive_Data_Size = 16;
    expected.Transmit_Data_Size = 16;
    QVERIFY(Config_Image.Image_Header == expected);

    // A fresh run starts from zero.
    Reset_Config_Image();
    Compile_Bin();
    QCOMPARE(Config_Image.Receive_Records[1].Data_Timeout, 0u);
    QCOMPARE(Bank1().mid(15000, 12), QByteArray(12, '\0'));
}

void Tst_Compiler::bank1ErrorsEndTheCompilation_data()
{
    QTest::addColumn<QByteArray>("parGen");
    QTest::addColumn<QByteArray>("receive");
    QTest::addColumn<QByteArray>("send");
    QTest::addColumn<QStringList>("named");

    const QByteArray good = ParGen_File();
    QTest::newRow("receive row without PGN")
        << good << Receive_File({"", "PGN=<absent>"}) << Send_File({})
        << QStringList{"Receive_Frame.xml", "row 2", "\"PGN\""};
    QTest::newRow("receive row without Delete")
        << good << Receive_File({"Delete=<absent>"}) << Send_File({})
        << QStringList{"Receive_Frame.xml", "row 1", "\"Delete\""};
    QTest::newRow("transmit row without Priority")
        << good << Receive_File({}) << Send_File({"Priority=<absent>"})
        << QStringList{"Send_Frame.xml", "row 1", "\"Priority\""};
    QTest::newRow("a node that is not a row")
        << good << QByteArray("<Receive_Frames><!-- note --></Receive_Frames>") << Send_File({})
        << QStringList{"Receive_Frame.xml", "row 1", "\"DataPage\""};
    QTest::newRow("settings without Net_Baud")
        << ParGen_File("Net_Baud=<absent>") << Receive_File({}) << Send_File({})
        << QStringList{"ParGen.xml", "\"Net_Baud\"", "missing"};
    QTest::newRow("Can_Baud abc") << ParGen_File("Can_Baud=abc") << Receive_File({})
                                  << Send_File({})
                                  << QStringList{"ParGen.xml", "\"Can_Baud\"", "\"abc\""};
    QTest::newRow("empty Delay_Send")
        << ParGen_File("Delay_Send=") << Receive_File({}) << Send_File({})
        << QStringList{"ParGen.xml", "\"Delay_Send\"", "not a number"};
    QTest::newRow("malformed settings")
        << QByteArray("<Par_Gen>\n<Can_Baud>5</Can_Baud>\n</Par_Gn>") << Receive_File({})
        << Send_File({}) << QStringList{"ParGen.xml", "line 3"};
    QTest::newRow("malformed transmit rows")
        << good << Receive_File({}) << QByteArray("<Receive_Frames><row PGN=1/></Receive_Frames>")
        << QStringList{"Send_Frame.xml", "line 1"};
    QStringList many;
    QStringList many256;
    for (int i = 0; i < 256; ++i)
        many256 << QStringLiteral("PGN=1");
    // Bank 1 counts rows in one byte: 256 would read there as no rows at all.
    QTest::newRow("256 rows") << good << Receive_File({}) << Send_File(many256)
                              << QStringList{"Send_Frame.xml", "256 rows"};
    for (int i = 0; i < 257; ++i)
        many << QString();
    QTest::newRow("257 rows") << good << Receive_File(many) << Send_File({})
                              << QStringList{"Receive_Frame.xml", "257 rows"};
}

void Tst_Compiler::bank1ErrorsEndTheCompilation()
{
    QFETCH(QByteArray, parGen);
    QFETCH(QByteArray, receive);
    QFETCH(QByteArray, send);
    QFETCH(QStringList, named);
    Configuration c;
    c.set(ParGen_File("Can_Baud=7"), Receive_File({"SA=9"}), Send_File({""}));
    Compile_Bin();
    const QByteArray bank2 = Bank2();
    const auto receiveRecords = Config_Image.Receive_Records;
    c.set(parGen, receive, send);

    QString text;
    try {
        Compile_Bin();
    } catch (const App_Error& e) {
        text = e.text();
    }

    for (const QString& n : named)
        QVERIFY2(text.contains(n), qPrintable(text));
    // The bank 2 model is not touched.
    QVERIFY(Bank2() == bank2);
    QVERIFY(Config_Image.Receive_Records == receiveRecords);
}

void Tst_Compiler::saveWritesBothFiles()
{
    Configuration c;
    c.set(ParGen_File(), Receive_File({""}), {});
    Compile_Bin();
    QVERIFY(!QFileInfo::exists(Shared.Conf_Dir + QStringLiteral("/bin")));

    Save_Bin();

    QVERIFY(Read_All(Shared.Conf_Dir + QStringLiteral("/bin/bank1.bin")) == Bank1());
    QVERIFY(Read_All(Shared.Conf_Dir + QStringLiteral("/bin/bank2.bin")) == Bank2());
    QCOMPARE(QFileInfo(Shared.Conf_Dir + QStringLiteral("/bin/bank2.bin")).size(), 18432);

    // Each save replaces the whole file.
    c.set({}, {}, {});
    Compile_Bin();
    Save_Bin();
    QVERIFY(Read_All(Shared.Conf_Dir + QStringLiteral("/bin/bank2.bin")) == Bank2());
}

void Tst_Compiler::saveFailuresNameTheFile_data()
{
    QTest::addColumn<QString>("blocker"); // a folder or file that is in the way
    QTest::addColumn<bool>("asFolder");
    QTest::addColumn<QString>("named");
    QTest::newRow("bin is a file") << "bin" << false << QDir::toNativeSeparators("Test/bin");
    QTest::newRow("bank1.bin is a folder")
        << "bin/bank1.bin" << true << QDir::toNativeSeparators("bin/bank1.bin");
    QTest::newRow("bank2.bin is a folder")
        << "bin/bank2.bin" << true << QDir::toNativeSeparators("bin/bank2.bin");
}

void Tst_Compiler::saveFailuresNameTheFile()
{
    QFETCH(QString, blocker);
    QFETCH(bool, asFolder);
    QFETCH(QString, named);
    Configuration c;
    c.set({}, {}, {});
    Compile_Bin();
    const QString path = Shared.Conf_Dir + QLatin1Char('/') + blocker;
    if (asFolder)
        QVERIFY(QDir().mkpath(path));
    else
        c.folder().write(QStringLiteral("PROJECTS/Test/") + blocker, "x");

    QString text;
    try {
        Save_Bin();
    } catch (const App_Error& e) {
        text = e.text();
    }
    QVERIFY2(text.contains(named), qPrintable(text));

    // Without an active configuration nothing is written anywhere.
    Shared.Conf_Dir.clear();
    QVERIFY_THROWS_EXCEPTION(App_Error, Save_Bin());
}

namespace {

// Old images of one configuration, then a compilation of another that differs in both banks.
struct Two_Images {
    QByteArray old1, old2, new1, new2;
};

Two_Images Compile_Old_Then_New(const Configuration& c, const QString& binDir)
{
    Two_Images t;
    c.set(ParGen_File(QStringLiteral("Can_Baud=3 Net_Dev_Id=7")), Receive_File({"PGN=65262"}), {});
    Compile_Bin();
    Save_Bin(binDir);
    t.old1 = Read_All(binDir + QStringLiteral("/bank1.bin"));
    t.old2 = Read_All(binDir + QStringLiteral("/bank2.bin"));
    c.set(ParGen_File(QStringLiteral("Can_Baud=5 Net_Dev_Id=9")), Receive_File({"PGN=65263"}), {});
    Compile_Bin();
    t.new1 = Bank1();
    t.new2 = Bank2();
    return t;
}

QStringList Bin_Entries(const QString& binDir)
{
    return QDir(binDir).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                                  QDir::Name);
}

} // namespace

// Whatever stops the second file, the first keeps its old images too: a new bank1.bin beside
// an old bank2.bin describes no configuration.
void Tst_Compiler::bankFilesChangeAsAPair_data()
{
    QTest::addColumn<QString>("blocker");
    QTest::newRow("read-only bank2.bin") << "read-only";
    QTest::newRow("folder in place of bank2.bin") << "folder";
}

void Tst_Compiler::bankFilesChangeAsAPair()
{
    QFETCH(QString, blocker);
    Configuration c;
    const QString bin = Shared.Conf_Dir + QStringLiteral("/bin");
    const Two_Images t = Compile_Old_Then_New(c, bin);
    QVERIFY(t.old1 != t.new1 && t.old2 != t.new2);
    const QString bank2 = bin + QStringLiteral("/bank2.bin");
    if (blocker == QLatin1String("read-only")) {
        QFile::setPermissions(bank2, QFileDevice::ReadOwner);
    } else {
        QFile::remove(bank2);
        QVERIFY(QDir().mkdir(bank2));
    }

    QString text;
    try {
        Save_Bin();
    } catch (const App_Error& e) {
        text = e.text();
    }
    QVERIFY2(text.contains(QStringLiteral("bank2.bin")), qPrintable(text));
    QVERIFY(Read_All(bin + QStringLiteral("/bank1.bin")) == t.old1);
    if (blocker == QLatin1String("read-only")) {
        QFile::setPermissions(bank2, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        QVERIFY(Read_All(bank2) == t.old2);
    } else {
        QVERIFY(QFileInfo(bank2).isDir());
    }
    QCOMPARE(Bin_Entries(bin), (QStringList{"bank1.bin", "bank2.bin"}));
}

void Tst_Compiler::bankFilesOnAFullDisk()
{
    Configuration c;
    Small_Disk disk(256 * 1024);
    if (!disk.ok())
        QSKIP(qPrintable(disk.reason()));
    const QString bin = disk.path() + QStringLiteral("/bin");
    const Two_Images t = Compile_Old_Then_New(c, bin);
    disk.Leave_Free(16384); // room for a new bank1.bin (exactly 16384 bytes), not for both

    QString text;
    try {
        Save_Bin(bin);
    } catch (const App_Error& e) {
        text = e.text();
    }
    QVERIFY2(text.contains(QStringLiteral("No space left on device")), qPrintable(text));
    QVERIFY(Read_All(bin + QStringLiteral("/bank1.bin")) == t.old1);
    QVERIFY(Read_All(bin + QStringLiteral("/bank2.bin")) == t.old2);
    QCOMPARE(Bin_Entries(bin), (QStringList{"bank1.bin", "bank2.bin"}));

    disk.Release();
    Save_Bin(bin);
    QVERIFY(Read_All(bin + QStringLiteral("/bank1.bin")) == t.new1);
    QVERIFY(Read_All(bin + QStringLiteral("/bank2.bin")) == t.new2);
}

// A configuration folder deleted behind the program's back is reported, not made again with
// default images.
void Tst_Compiler::vanishedConfigurationIsNotMadeAgain()
{
    Configuration c;
    c.set({}, {}, {});
    QVERIFY(QDir(Shared.Conf_Dir).removeRecursively());
    Compile_Bin();
    QString text;
    try {
        Save_Bin();
    } catch (const App_Error& e) {
        text = e.text();
    }
    QCOMPARE(text, Msg(111) + QDir::toNativeSeparators(Shared.Conf_Dir));
    QVERIFY(!QFileInfo::exists(Shared.Conf_Dir));

    // Only the bin folder is made, inside an existing configuration folder.
    QVERIFY(QDir().mkdir(Shared.Conf_Dir));
    Save_Bin();
    QCOMPARE(Bin_Entries(Shared.Conf_Dir + QStringLiteral("/bin")),
             (QStringList{"bank1.bin", "bank2.bin"}));
}

QTEST_GUILESS_MAIN(Tst_Compiler)
#include "tst_compiler.moc"
