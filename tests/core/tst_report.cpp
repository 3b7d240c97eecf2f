#include "app/UComon.h"
#include "compiler/USaveBincc.h"
#include "configurations/ConfigFiles.h"
#include "editors/FrameTables.h"
#include "language/ULanguage.h"
#include "report/CommissioningReport.h"
#include "support/TestSupport.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QtTest>

namespace {

Receive_Frame_Row Receive_Row(const QString& pgn, const QString& numBytes, const QString& name)
{
    Receive_Frame_Row r;
    for (int c = 0; c < Receive_Frame_Row::Count; ++c)
        r.field(c) = QString::fromLatin1(Receive_Frame_Row::Defaults()[c]);
    r.DataPage = QStringLiteral("0");
    r.PGN = pgn;
    r.SA = QStringLiteral("0");
    r.StartByte = QStringLiteral("0");
    r.NumBytes = numBytes;
    r.Mnemonic = name;
    return r;
}

Send_Frame_Row Send_Row(const QString& pgn, const QString& numByte, const QString& name)
{
    Send_Frame_Row r;
    for (int c = 0; c < Send_Frame_Row::Count; ++c)
        r.field(c) = QString::fromLatin1(Send_Frame_Row::Defaults()[c]);
    r.Priority = QStringLiteral("6");
    r.DataPage = QStringLiteral("0");
    r.PGN = pgn;
    r.SA = QStringLiteral("0");
    r.NumByte = numByte;
    r.Mnemonic = name;
    return r;
}

// A configuration folder "Line 7" under the program folder.
QString Make_Configuration(const Program_Folder& folder, const ParGen_Settings& s,
                           const QList<Receive_Frame_Row>& receive,
                           const QList<Send_Frame_Row>& send)
{
    const QString dir = folder.file(QStringLiteral("PROJECTS/Line 7"));
    QDir().mkpath(dir);
    Write_ParGen(Path_Join(dir, QStringLiteral("ParGen.xml")), s);
    Write_Receive_Frames(Path_Join(dir, QStringLiteral("Receive_Frame.xml")), receive);
    Write_Send_Frames(Path_Join(dir, QStringLiteral("Send_Frame.xml")), send);
    return dir;
}

ParGen_Settings Settings(const QString& deviceType)
{
    ParGen_Settings s = ParGen_Defaults_Missing_File();
    s.Device_Type = deviceType;
    s.J1939_Device_ID = QStringLiteral("17");
    return s;
}

qsizetype Index_Of(const QStringList& texts, const QString& text)
{
    return texts.indexOf(text);
}

const Report_Block* Table_After(const Report_Document& doc, const QString& heading)
{
    for (qsizetype i = 0; i + 1 < doc.blocks.size(); ++i)
        if (doc.blocks[i].kind == Report_Block::Kind::Heading && doc.blocks[i].text == heading)
            for (qsizetype k = i + 1; k < doc.blocks.size(); ++k)
                if (doc.blocks[k].kind == Report_Block::Kind::Table)
                    return &doc.blocks[k];
    return nullptr;
}

QString Sha256(const QByteArray& bytes)
{
    return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex());
}

const QDateTime When(QDate(2026, 3, 4), QTime(5, 6, 7));

} // namespace

class Tst_Report final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { m_folder.reset(new Program_Folder); Load_Default_Language(); }
    void cleanup() { m_folder.reset(); }

    void failing_checks_come_first();
    void settings_meanings_data();
    void settings_meanings();
    void tables_as_the_editors_show_them_data();
    void tables_as_the_editors_show_them();
    void hashes_and_checksum();
    void last_update_records();
    void uncompilable_is_an_error();

private:
    std::unique_ptr<Program_Folder> m_folder;
};

void Tst_Report::failing_checks_come_first()
{
    QList<Receive_Frame_Row> receive = {Receive_Row(QStringLiteral("65262"), QStringLiteral("8"),
                                                    QStringLiteral("ok row")),
                                        Receive_Row(QStringLiteral("65263"), QStringLiteral("8"),
                                                    QStringLiteral("bad row"))};
    receive[1].SA = QStringLiteral("300");
    const QString dir = Make_Configuration(*m_folder, Settings(QStringLiteral("1")), receive, {});

    const Report_Document doc = Make_Report(dir, When);
    const QStringList texts = doc.Texts();
    const QStringList failures =
        Check_Frame_File_All(Receive_Table, Shared.File_ParGen, Shared.File_Receive_Frame);
    QCOMPARE(failures.size(), 1);
    const qsizetype failure = Index_Of(texts, Msg(600) + QStringLiteral(": ") + failures[0]);
    QVERIFY2(failure > 0, qPrintable(texts.join(QLatin1Char('\n'))));
    QVERIFY(failure < Index_Of(texts, Msg(473)));
    QVERIFY(Index_Of(texts, Msg(502)) < failure);
    // The report still shows the row that fails.
    QVERIFY(texts.contains(QStringLiteral("bad row")));

    receive[1].SA = QStringLiteral("1");
    Write_Receive_Frames(Shared.File_Receive_Frame, receive);
    QVERIFY(!Make_Report(dir, When).Texts().contains(Msg(502)));
}

void Tst_Report::settings_meanings_data()
{
    QTest::addColumn<QString>("deviceType");
    QTest::addColumn<QString>("element");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("stored"); // empty: the value
    QTest::addColumn<QString>("meaning");

    const QString j = QStringLiteral("J1939: ");
    const QString d = QStringLiteral("DeviceNet Slave: ");
    const QString e = QStringLiteral("Ethernet: ");
    QTest::newRow("J1939 100K") << "1" << "Can_Baud" << "3" << j + "Baudrate" << QString() << "100000 bit/s";
    // A position outside the list: what the compiler puts into the image.
    QTest::newRow("J1939 beyond the list")
        << "1" << "Can_Baud" << "9" << j + "Baudrate" << QString() << "250000 bit/s";
    QTest::newRow("DeviceNet 125K") << "1" << "Net_Baud" << "0" << d + "Baudrate" << QString()
                                    << "125000 bit/s";
    QTest::newRow("DeviceNet id hex") << "1" << "Net_Dev_Id" << "0x3F" << d + "ID Device" << QString() << "63";
    QTest::newRow("send type on timer")
        << "0" << "How_Send" << "1" << j + "Send Type" << QString() << "On Timer";
    QTest::newRow("send type on data change")
        << "0" << "How_Send" << "0" << j + "Send Type" << QString() << "On Data Change";
    QTest::newRow("timeout") << "1" << "TimeOut_Data" << "12" << j + "TimeOut Data (s)" << QString()
                             << "12 s";
    QTest::newRow("peer to peer") << "1" << "PeerToPeer" << "1" << j + "Enable Peer to Peer"
                                  << QString() << "yes";
    QTest::newRow("own address") << "1" << "J1939_Device_ID" << "0x80" << j + "Device ID J1939"
                                 << QString() << "128";
    QTest::newRow("gateway off") << "1" << "Ethernet_EN_GAT" << "0" << e + "GATEWAY"
                                 << "192.168.0.1" << "not used";
    QTest::newRow("gateway on") << "1" << "Ethernet_EN_GAT" << "1" << e + "GATEWAY"
                                << "192.168.0.1" << "192.168.0.1";
    QTest::newRow("device") << "0" << "Device_Type" << "0" << "Select Device" << QString()
                            << "Device Without Ethernet Port";
}

void Tst_Report::settings_meanings()
{
    QFETCH(QString, deviceType);
    QFETCH(QString, element);
    QFETCH(QString, value);
    QFETCH(QString, label);
    QFETCH(QString, stored);
    QFETCH(QString, meaning);

    ParGen_Settings s = Settings(deviceType);
    for (int i = 0; i < ParGen_Settings::Count; ++i)
        if (QLatin1String(ParGen_Settings::Names()[i]) == element)
            s.field(i) = value;
    const QString dir = Make_Configuration(*m_folder, s, {}, {});
    const Report_Document doc = Make_Report(dir, When);
    const Report_Block* t = Table_After(doc, Msg(473));
    QVERIFY(t);
    QStringList found;
    for (const QStringList& row : t->rows)
        if (row.value(0) == label)
            found = row;
    QCOMPARE(found, (QStringList{label, stored.isEmpty() ? value : stored, meaning}));
}

void Tst_Report::tables_as_the_editors_show_them_data()
{
    QTest::addColumn<QString>("deviceType");
    QTest::addColumn<QStringList>("receiveHeaders");
    QTest::addColumn<QStringList>("receiveRow");

    QTest::newRow("with Ethernet port")
        << "1"
        << QStringList{"N", "Data Page", "PGN", "Source Address", "Transport Protocol",
                       "Start Byte", "Num Bytes", "Cancel Data", "On Request", "Time(ms)",
                       "Mnemonic"}
        << QStringList{"1", "0", "65262", "0", "N", "0", "3", "N", "N", "1000", "Oil"};
    QTest::newRow("without Ethernet port")
        << "0" << QStringList{"N", "Data Page", "PGN", "Source Address", "Cancel Data", "Mnemonic"}
        << QStringList{"1", "0", "65262", "0", "N", "Oil"};
}

void Tst_Report::tables_as_the_editors_show_them()
{
    QFETCH(QString, deviceType);
    QFETCH(QStringList, receiveHeaders);
    QFETCH(QStringList, receiveRow);

    const QString dir = Make_Configuration(
        *m_folder, Settings(deviceType),
        {Receive_Row(QStringLiteral("65262"), QStringLiteral("3"), QStringLiteral("Oil"))},
        {Send_Row(QStringLiteral("65265"), QStringLiteral("2"), QStringLiteral("Speed"))});
    const Report_Document doc = Make_Report(dir, When);
    const Report_Block* r = Table_After(doc, Msg(600));
    QVERIFY(r);
    QCOMPARE(r->headers, receiveHeaders);
    QCOMPARE(r->rows, QList<QStringList>{receiveRow});

    // The byte map keeps the stored count whatever the layout hides.
    const Report_Block* map = Table_After(doc, Msg(479) + QStringLiteral(" - ") + Msg(600));
    QVERIFY(map);
    QCOMPARE(map->rows, (QList<QStringList>{{"1", "0", "3", "0", "0xFEEE", "0", "0", "Oil"}}));
    const Report_Block* sent = Table_After(doc, Msg(479) + QStringLiteral(" - ") + Msg(700));
    QVERIFY(sent);
    QCOMPARE(sent->rows, (QList<QStringList>{{"1", "0", "2", "0", "0xFEF1", "0", "Speed"}}));
    QVERIFY(doc.Texts().contains(QStringLiteral("Receive data: 3 bytes of 455")));
}

void Tst_Report::hashes_and_checksum()
{
    const QString dir = Make_Configuration(
        *m_folder, Settings(QStringLiteral("1")),
        {Receive_Row(QStringLiteral("65262"), QStringLiteral("8"), QStringLiteral("x"))}, {});
    QStringList texts = Make_Report(dir, When).Texts();
    QCOMPARE(texts.count(Msg(494)), 3); // nothing compiled or composed yet
    QVERIFY(!QFileInfo::exists(Path_Join(dir, QStringLiteral("bin/bank2.bin"))));

    Shared.Conf_Dir = dir;
    Set_Files();
    Compile_Bin();
    Save_Bin();
    const QByteArray firmware = "S00600004844521B\r\nS9030000FC\r\n";
    m_folder->write(QStringLiteral("PROJECTS/Line 7/New_sx38591.sx"), firmware);
    const QString bank2Path = Path_Join(dir, QStringLiteral("bin/bank2.bin"));
    QByteArray bank2 = Read_All(bank2Path);

    texts = Make_Report(dir, When).Texts();
    QVERIFY(texts.contains(Sha256(Read_All(Path_Join(dir, QStringLiteral("bin/bank1.bin"))))));
    QVERIFY(texts.contains(Sha256(bank2)));
    QVERIFY(texts.contains(Sha256(firmware)));
    const quint32 stored = Get_LE32(reinterpret_cast<const quint8*>(bank2.constData()) +
                                    bank2.size() - 4);
    const QString hex = QStringLiteral("0x%1").arg(stored, 8, 16, QLatin1Char('0')).toUpper().replace(
        QStringLiteral("0X"), QStringLiteral("0x"));
    QVERIFY2(texts.contains(Msg(495) + hex), qPrintable(hex));
    QVERIFY(texts.contains(Msg(496) + hex + QStringLiteral(" - ") + Msg(497)));

    // A header byte changed behind the program's back.
    bank2[Config_Image_Data::Frames_Size + 8] = char(bank2[Config_Image_Data::Frames_Size + 8] + 1);
    QFile f(bank2Path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bank2);
    f.close();
    const QString wrong = QStringLiteral("0x%1").arg(stored + 1, 8, 16, QLatin1Char('0')).toUpper().replace(
        QStringLiteral("0X"), QStringLiteral("0x"));
    const Report_Document doc = Make_Report(dir, When);
    QVERIFY(doc.Texts().contains(Msg(495) + hex));
    const auto alert = std::find_if(doc.blocks.begin(), doc.blocks.end(), [&](const Report_Block& b) {
        return b.text == Msg(496) + wrong + QStringLiteral(" - ") + Msg(498);
    });
    QVERIFY(alert != doc.blocks.end());
    QCOMPARE(alert->kind, Report_Block::Kind::Alert);
}

void Tst_Report::last_update_records()
{
    const QString dir = Make_Configuration(*m_folder, Settings(QStringLiteral("1")), {}, {});
    QVERIFY(!Make_Report(dir, When).Texts().contains(Msg(506)));

    QByteArray log = "when,route,\"files, sizes\"\r\n";
    for (int i = 1; i <= 12; ++i)
        log += QByteArray::number(i) + ",serial,\"a.sx, " + QByteArray::number(i * 10) + "\"\r\n";
    m_folder->write(QStringLiteral("PROJECTS/Line 7/update-log.csv"), log);
    const Report_Document doc = Make_Report(dir, When);
    const Report_Block* t = Table_After(doc, Msg(506));
    QVERIFY(t);
    QCOMPARE(t->headers, (QStringList{"when", "route", "files, sizes"}));
    QCOMPARE(t->rows.size(), Report_Update_Records);
    QCOMPARE(t->rows.first(), (QStringList{"3", "serial", "a.sx, 30"}));
    QCOMPARE(t->rows.last(), (QStringList{"12", "serial", "a.sx, 120"}));
    QVERIFY(doc.Texts().contains(Msg(519) + QStringLiteral("2")));

    // A record cut inside a quoted cell (power lost while it was written) is left out.
    log += "13,serial,\"a.s\r\n14,serial,\"a.sx, 140\"\r\n";
    m_folder->write(QStringLiteral("PROJECTS/Line 7/update-log.csv"), log);
    const Report_Document later = Make_Report(dir, When);
    const Report_Block* after = Table_After(later, Msg(506));
    QVERIFY(after);
    QCOMPARE(after->rows.size(), Report_Update_Records);
    QCOMPARE(after->rows.last(), (QStringList{"14", "serial", "a.sx, 140"}));
}

void Tst_Report::uncompilable_is_an_error()
{
    const QString dir = Make_Configuration(*m_folder, Settings(QStringLiteral("1")), {}, {});
    m_folder->write(QStringLiteral("PROJECTS/Line 7/Receive_Frame.xml"), "<Receive_Frames><row");
    QVERIFY_THROWS_EXCEPTION(App_Error, Make_Report(dir, When));
    QVERIFY(!QFileInfo::exists(Path_Join(dir, QStringLiteral("bin"))));
}

QTEST_GUILESS_MAIN(Tst_Report)
#include "tst_report.moc"
