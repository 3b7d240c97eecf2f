#include "app/UComon.h"
#include "configurations/ConfigFiles.h"
#include "support/TestSupport.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QtTest>

namespace {

const char Receive_Xml[] =
    "<Receive_Frames>"
    "<row DataPage=\"0\" PGN=\"65262\" SA=\"0\" TransportProtocol=\"N\" StartByte=\"2\" "
    "NumBytes=\"4\" Delete=\"N\" OnRequest=\"N\" OnReq_Time=\"1000\" Mnemonic=\"Coolant\"/>"
    "<row DataPage=\"1\" PGN=\"0xFE00\" SA=\"33\" TransportProtocol=\"N\" StartByte=\"0\" "
    "NumBytes=\"\" Delete=\"N\" OnRequest=\"N\" OnReq_Time=\"1000\" Mnemonic=\"Fuel rate\"/>"
    "</Receive_Frames>";
const char Send_Xml[] =
    "<Send_Frames>"
    "<row Priority=\"6\" DataPage=\"0\" PGN=\"65265\" SA=\"128\" NumByte=\"3\" OnRequest=\"N\" "
    "DataChange=\"Y\" OnTimer=\"N\" OnTimer_Time=\"100\" Mnemonic=\"Wheel speed\"/>"
    "</Send_Frames>";

const QByteArray Expected_Csv = "table,row,offset,bytes,data_page,pgn,sa,start_byte,mnemonic\r\n"
                                "receive,1,0,4,0,0xFEEE,0,2,Coolant\r\n"
                                "receive,2,4,8,1,0xFE00,33,0,Fuel rate\r\n"
                                "transmit,1,0,3,0,0xFEF1,128,,Wheel speed\r\n";

QString Pdf_Text(const QString& pdf)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    if (!p.waitForFinished(60000))
        return {};
    // The PDF keeps the font's ligatures; the text extracted from it names them as such.
    QString text = QString::fromUtf8(p.readAllStandardOutput());
    text.replace(QChar(0xFB00), QStringLiteral("ff"))
        .replace(QChar(0xFB01), QStringLiteral("fi"))
        .replace(QChar(0xFB02), QStringLiteral("fl"));
    return text.simplified();
}

} // namespace

class Tst_Cli_Report final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        m_folder.reset(new Program_Folder);
        ParGen_Settings s = ParGen_Defaults_Missing_File();
        s.Can_Baud = QStringLiteral("4");
        s.Net_Baud = QStringLiteral("1");
        s.Ethernet_IP4 = QStringLiteral("77");
        m_folder->write(QStringLiteral("C/ParGen.xml"), ParGen_Xml(s));
        m_folder->write(QStringLiteral("C/Receive_Frame.xml"), Receive_Xml);
        m_folder->write(QStringLiteral("C/Send_Frame.xml"), Send_Xml);
    }
    void cleanup() { m_folder.reset(); }

    void arguments_data();
    void arguments();
    void pdf_holds_rows_settings_and_hashes();

private:
    std::unique_ptr<Program_Folder> m_folder;
};

void Tst_Cli_Report::arguments_data()
{
    // $ is the program folder; "csv"/"pdf": which files exist afterwards.
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("err");
    QTest::addColumn<QStringList>("written");

    QTest::newRow("csv") << QStringList{"$/C", "--csv", "$/map.csv"} << 0 << "" << QStringList{"map.csv"};
    QTest::newRow("pdf") << QStringList{"$/C", "--pdf", "$/r.pdf"} << 0 << "" << QStringList{"r.pdf"};
    QTest::newRow("both, options first")
        << QStringList{"--pdf", "$/r.pdf", "--csv", "$/map.csv", "$/C"} << 0 << ""
        << QStringList{"map.csv", "r.pdf"};
    QTest::newRow("no output") << QStringList{"$/C"} << 2 << "--pdf FILE" << QStringList{};
    QTest::newRow("no folder") << QStringList{"--csv", "$/map.csv"} << 2 << "is missing"
                               << QStringList{};
    QTest::newRow("option without value") << QStringList{"$/C", "--csv"} << 2
                                          << "--csv" << QStringList{};
    QTest::newRow("option twice") << QStringList{"$/C", "--csv", "$/a", "--csv", "$/b"} << 2
                                  << "--csv" << QStringList{};
    QTest::newRow("unknown option") << QStringList{"$/C", "--out", "$/x"} << 2
                                    << "--out" << QStringList{};
    QTest::newRow("folder does not exist") << QStringList{"$/D", "--csv", "$/map.csv"} << 1
                                           << "does not exist" << QStringList{};
    QTest::newRow("cannot be compiled") << QStringList{"$/Bad", "--csv", "$/map.csv", "--pdf", "$/r.pdf"}
                                        << 1 << "error: " << QStringList{};
    QTest::newRow("cannot be written") << QStringList{"$/C", "--csv", "$/none/map.csv"} << 1
                                       << "error: " << QStringList{};
}

void Tst_Cli_Report::arguments()
{
    QFETCH(QStringList, args);
    QFETCH(int, code);
    QFETCH(QString, err);
    QFETCH(QStringList, written);

    // Attributes the compiler needs are missing.
    m_folder->write(QStringLiteral("Bad/Receive_Frame.xml"),
                    "<Receive_Frames><row PGN=\"1\"/></Receive_Frames>");
    for (QString& a : args)
        a.replace(QLatin1Char('$'), m_folder->path());
    const Cli_Text_Run run = Run_Cli_Text(QStringList{QStringLiteral("report")} + args);
    QVERIFY2(run.code == code, qPrintable(run.err));
    QVERIFY2(run.err.contains(err), qPrintable(run.err));
    if (code == 1)
        QCOMPARE(run.err.count(QStringLiteral("error: ")), 1);
    for (const QString& name : {QStringLiteral("map.csv"), QStringLiteral("r.pdf")})
        QCOMPARE(QFileInfo::exists(m_folder->file(name)), written.contains(name));
    // Compiled in memory only.
    QVERIFY(!QFileInfo::exists(m_folder->file(QStringLiteral("C/bin"))));
    if (written.contains(QStringLiteral("map.csv")))
        QCOMPARE(m_folder->read(QStringLiteral("map.csv")), Expected_Csv);
    if (written.contains(QStringLiteral("r.pdf")))
        QVERIFY(m_folder->read(QStringLiteral("r.pdf")).startsWith("%PDF-"));
}

void Tst_Cli_Report::pdf_holds_rows_settings_and_hashes()
{
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        QSKIP("pdftotext (poppler-utils) is not installed");
    const QString conf = m_folder->file(QStringLiteral("C"));
    QCOMPARE(Run_Cli_Text({QStringLiteral("compile"), conf}).code, 0);
    const QByteArray firmware = "S00600004844521B\r\nS9030000FC\r\n";
    m_folder->write(QStringLiteral("C/New_sx38591.sx"), firmware);
    m_folder->write(QStringLiteral("C/update-log.csv"),
                    "when,route,result\r\n2026-01-02 10:00,serial,started\r\n");
    const QString pdf = m_folder->file(QStringLiteral("r.pdf"));
    const Cli_Text_Run run = Run_Cli_Text({QStringLiteral("report"), conf, QStringLiteral("--pdf"), pdf});
    QVERIFY2(run.code == 0, qPrintable(run.err));
    const QString text = Pdf_Text(pdf);

    const auto sha = [](const QByteArray& b) {
        return QString::fromLatin1(QCryptographicHash::hash(b, QCryptographicHash::Sha256).toHex());
    };
    QStringList expected = {
        QStringLiteral("Commissioning report"), QStringLiteral("Configuration: C"),
        QStringLiteral("Program version: ") + SW_Version_Text,
        QStringLiteral("Device type: Device With Ethernet Port"),
        QStringLiteral("125000 bit/s"), QStringLiteral("250000 bit/s"),
        QStringLiteral("192.168.0.77"), QStringLiteral("Receive data: 12 bytes of 455"),
        QStringLiteral("Transmit data: 3 bytes of 455"), QStringLiteral("0xFEEE"),
        QStringLiteral("0xFE00"), QStringLiteral("0xFEF1"), QStringLiteral("Coolant"),
        QStringLiteral("Fuel rate"), QStringLiteral("Wheel speed"),
        QStringLiteral("2026-01-02 10:00"), QStringLiteral("matches"),
        sha(m_folder->read(QStringLiteral("C/bin/bank1.bin"))),
        sha(m_folder->read(QStringLiteral("C/bin/bank2.bin"))), sha(firmware),
    };
    for (const QString& e : expected)
        QVERIFY2(text.contains(e), qPrintable(e + QStringLiteral(" not in: ") + text));
    QVERIFY(text.contains(QRegularExpression(QStringLiteral("Page 1 / [1-9]"))));
    QProcess render;
    render.start(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QStringLiteral("60"),
                                              QStringLiteral("-png"), QStringLiteral("-f"),
                                              QStringLiteral("1"), QStringLiteral("-l"),
                                              QStringLiteral("2"), pdf,
                                              Screenshot_Path(QStringLiteral("report"))});
    QVERIFY(render.waitForFinished(60000));
}

QTEST_GUILESS_MAIN(Tst_Cli_Report)
#include "tst_cli_report.moc"
