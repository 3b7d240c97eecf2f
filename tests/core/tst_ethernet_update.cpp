#include "app/UComon.h"
#include "support/TestSupport.h"
#include "update/EthernetUpdate.h"
#include "update/IcmpEcho.h"

#include <QDir>
#include <QDomDocument>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTest>

#include <optional>

#ifndef Q_OS_WIN
#include <csignal>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

namespace {

// Every element in document order as "path" (with children) or "path=text" (a leaf).
void Flatten(const QDomElement& e, const QString& parent, QStringList& out)
{
    const QString path = parent.isEmpty() ? e.tagName() : parent + QLatin1Char('/') + e.tagName();
    QVERIFY2(e.attributes().isEmpty(), qPrintable(path + QStringLiteral(" has attributes")));
    if (e.firstChildElement().isNull()) {
        out << path + QLatin1Char('=') + e.text();
        return;
    }
    out << path;
    for (QDomElement c = e.firstChildElement(); !c.isNull(); c = c.nextSiblingElement())
        Flatten(c, path, out);
}

QStringList Operation(bool firmware, const char* readBack, const char* goToAppAfter,
                      const QString& dirMaster, const QString& confDir)
{
    const QString op = QStringLiteral("Zedazede_Zeruvi/Operations/Operation");
    const QString file = firmware ? dirMaster + QStringLiteral("/Sim38591.sim")
                                  : confDir + QStringLiteral("/bin/bank2.bin");
    QStringList l = {op,
                     op + "/Ope_Protection_Enabled=",
                     op + "/Ope_GoToBoot_Before=0",
                     op + "/Ope_GoToApp_Before=0",
                     op + "/Ope_IP_Address=",
                     op + "/Ope_Port=2008",
                     op + "/Ope_Port_Sec=2007",
                     op + "/Ope_Erase_Memory=0",
                     op + "/Ope_FileName=" + QDir::toNativeSeparators(file),
                     op + (firmware ? "/Ope_Start_Address=0x8000" : "/Ope_Start_Address=0x64000"),
                     op + "/Ope_Memory_Type=0",
                     op + (firmware ? "/Ope_Bank_Type=1" : "/Ope_Bank_Type=2"),
                     op + "/Ope_Read_Back=" + readBack,
                     op + (firmware ? "/Ope_Write_CSS=1" : "/Ope_Write_CSS=0"),
                     op + (firmware ? "/Ope_Address_CSS=0x78100" : "/Ope_Address_CSS=0x50100"),
                     op + "/Ope_Command_CSS=0x0B",
                     op + "/Ope_GoToApp_After=" + goToAppAfter};
    return l;
}

QStringList Head(const QString& ip)
{
    return {QStringLiteral("Zedazede_Zeruvi"),
            QStringLiteral("Zedazede_Zeruvi/Version=1000"),
            QStringLiteral("Zedazede_Zeruvi/Title=Zorvek - SW38591 Ethernet Update"),
            QStringLiteral("Zedazede_Zeruvi/IP_Address_Dev=") + ip,
            QStringLiteral("Zedazede_Zeruvi/Application_Port=10000"),
            QStringLiteral("Zedazede_Zeruvi/Boot_Port=2008"),
            QStringLiteral("Zedazede_Zeruvi/Boot_Port_Sec=2007"),
            QStringLiteral("Zedazede_Zeruvi/Address_Protection=0x78000"),
            QStringLiteral("Zedazede_Zeruvi/Protections"),
            QStringLiteral("Zedazede_Zeruvi/Protections/Protection=0x19D"),
            QStringLiteral("Zedazede_Zeruvi/Operations")};
}

// Records the address it is handed and answers at once, as a device would; sends nothing.
class Recording_Icmp final : public Icmp_Echo_Client {
public:
    bool Ping(const QString& host, const QByteArray& data, int, const Reply_Handler& onReply,
              QString*) override
    {
        hosts << host;
        sent << data;
        onReply(8 + int(data.size()));
        return true;
    }
    QStringList hosts;
    QList<QByteArray> sent;
};

// The fake update tool built with the tests (tests/tools/fake_update_tool).
QString Fake_Tool()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/tool-bin/fake_update_tool");
}

} // namespace

class Tst_Ethernet_Update final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void splitIpAddress_data();
    void splitIpAddress();
    void parameterXml_data();
    void parameterXml();
    void parameterFileIsReplacedWhole();
    void parameterFileWriteFailureNamesFile();
    void pingedAddress_data();
    void pingedAddress();
    void ipv4Address_data();
    void ipv4Address();
    void parameterFileOnAFullDisk();
    void realEchoToLoopback();
    void startProgramFailureNamesProgram();
    void startProgramStopsWaitingAtLimit();
    void startProgramTellsTheExitStatus();
    void toolOutlivesTheConfigurator();
};

void Tst_Ethernet_Update::splitIpAddress_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<QStringList>("parts");

    QTest::newRow("plain") << "192.168.2.205" << true << QStringList{"192", "168", "2", "205"};
    QTest::newRow("blanks around numbers and dots")
        << "  192 . 168 .2.  205 " << true << QStringList{"192", "168", "2", "205"};
    QTest::newRow("control characters at the ends") << "\t10.0.0.1\r\n"
                                                    << true << QStringList{"10", "0", "0", "1"};
    QTest::newRow("hexadecimal kept as written")
        << "$C0.0xA8.x2.205" << true << QStringList{"$C0", "0xA8", "x2", "205"};
    QTest::newRow("bounds") << "0.255.-0.+255" << true << QStringList{"0", "255", "-0", "+255"};
    QTest::newRow("five numbers") << "1.2.3.4.5" << false << QStringList{"1", "2", "3", "4.5"};
    QTest::newRow("above 255") << "1.2.3.256" << false << QStringList{"1", "2", "3", "256"};
    QTest::newRow("negative") << "-1.2.3.4" << false << QStringList{"-1", "2", "3", "4"};
    QTest::newRow("missing number") << "1.2..4" << false << QStringList{"1", "2", "", "4"};
    QTest::newRow("blank inside a number")
        << "1 2.0.0.1" << false << QStringList{"1 2", "0", "0", "1"};
    QTest::newRow("three numbers") << "1.2.3" << false << QStringList{"1", "2", "", ""};
    QTest::newRow("empty") << "" << false << QStringList{"", "", "", ""};
}

void Tst_Ethernet_Update::splitIpAddress()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QFETCH(QStringList, parts);
    std::array<QString, 4> got;
    QCOMPARE(Split_IP_Address(text, got), valid);
    // Parts not reached by a cut stay as they were.
    QCOMPARE(QStringList(got.begin(), got.end()), parts);
}

void Tst_Ethernet_Update::parameterXml_data()
{
    QTest::addColumn<int>("choice");
    QTest::addColumn<bool>("readBack");

    for (int choice = 0; choice < 3; ++choice) {
        for (bool readBack : {false, true}) {
            QTest::addRow("choice %d, read back %s", choice, readBack ? "on" : "off")
                << choice << readBack;
        }
    }
}

void Tst_Ethernet_Update::parameterXml()
{
    QFETCH(int, choice);
    QFETCH(bool, readBack);
    const QString master = QStringLiteral("/opt/prog/MASTER");
    const QString conf = QStringLiteral("/opt/prog/PROJECTS/Line 4");
    Update_Request r;
    // Texts as typed: a leading zero and a blank survive.
    r.ipAddress = QStringLiteral("192.168.002. 205");
    r.updateOption = choice;
    r.readBack = readBack;
    const QByteArray bytes = Parameter_Xml(r, master, conf);

    QDomDocument doc;
    QVERIFY(doc.setContent(bytes));
    QStringList got;
    Flatten(doc.documentElement(), QString(), got);

    const char* rb = readBack ? "1" : "0";
    QStringList expected = Head(QStringLiteral("192.168.002. 205"));
    if (choice == 0)
        expected << Operation(true, rb, "0", master, conf)
                 << Operation(false, rb, "1", master, conf);
    if (choice == 1)
        expected << Operation(true, rb, "1", master, conf);
    if (choice == 2)
        expected << Operation(false, rb, "1", master, conf);
    QCOMPARE(got, expected);

    // One line: nothing between the elements.
    const qsizetype rootAt = bytes.indexOf("<Zedazede_Zeruvi>");
    QVERIFY(rootAt >= 0);
    QVERIFY(!bytes.mid(rootAt).contains('\n'));
    QVERIFY(!bytes.contains("> <"));
}

void Tst_Ethernet_Update::parameterFileIsReplacedWhole()
{
    Program_Folder folder;
    Shared.Dir_Program = folder.path();
    Shared.Dir_Master = folder.file(QStringLiteral("MASTER"));
    Shared.Conf_Dir = folder.file(QStringLiteral("PROJECTS/A"));
    // A longer earlier file must leave nothing behind.
    folder.write(Parameter_File_Name, QByteArray(20000, 'x'));
    Update_Request r;
    r.ipAddress = QStringLiteral("127.0.0.1");
    r.updateOption = 2;
    Compile_XML_Parameter(r);
    QCOMPARE(folder.read(Parameter_File_Name),
             Parameter_Xml(r, Shared.Dir_Master, Shared.Conf_Dir));
}

void Tst_Ethernet_Update::parameterFileWriteFailureNamesFile()
{
    Program_Folder folder;
    Shared.Dir_Program = folder.file(QStringLiteral("missing folder"));
    try {
        Compile_XML_Parameter(Update_Request{});
        QFAIL("no error for a file that cannot be written");
    } catch (const App_Error& e) {
        QVERIFY2(e.text().contains(
                     QDir::toNativeSeparators(Path_Join(Shared.Dir_Program, Parameter_File_Name))),
                 qPrintable(e.text()));
    }
}

void Tst_Ethernet_Update::pingedAddress_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("pinged"); // empty: nothing sent

    QTest::newRow("leading zero, not octal") << "127.0.0.010"
                                             << "127.0.0.10";
    QTest::newRow("leading zero before 8") << "127.0.0.08"
                                           << "127.0.0.8";
    QTest::newRow("blanks") << " 127 . 0. 0.01"
                            << "127.0.0.1";
    QTest::newRow("hexadecimal as Split_IP_Address reads it") << "$7F.0.0.x1"
                                                              << "127.0.0.1";
    QTest::newRow("number above 255") << "127.0.0.256" << QString();
    QTest::newRow("three numbers") << "127.0.1" << QString();
}

void Tst_Ethernet_Update::pingedAddress()
{
    QFETCH(QString, typed);
    QFETCH(QString, pinged);
    Recording_Icmp client;
    int ping_res = -1;

    QCOMPARE(Send_Ping(client, typed, ping_res), !pinged.isEmpty());

    if (pinged.isEmpty()) {
        QCOMPARE(client.hosts, QStringList());
        QCOMPARE(ping_res, 0);
        return;
    }
    QCOMPARE(client.hosts, (QStringList{pinged, pinged}));
    // The data stays the text as typed.
    QCOMPARE(client.sent.first(), typed.toUtf8());
}

void Tst_Ethernet_Update::ipv4Address_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<qint64>("address"); // -1: refused

    QTest::newRow("plain") << "127.0.0.1" << qint64(0x7F000001);
    QTest::newRow("leading zero is decimal") << "127.0.0.010" << qint64(0x7F00000A);
    QTest::newRow("08 is a number") << "192.168.2.08" << qint64(0xC0A80208);
    QTest::newRow("three numbers") << "127.1" << qint64(-1);
    QTest::newRow("five numbers") << "1.2.3.4.5" << qint64(-1);
    QTest::newRow("above 255") << "1.2.3.256" << qint64(-1);
    QTest::newRow("blank") << " 1.2.3.4" << qint64(-1);
    QTest::newRow("hexadecimal") << "0x7F.0.0.1" << qint64(-1);
    QTest::newRow("empty part") << "1..3.4" << qint64(-1);
}

void Tst_Ethernet_Update::ipv4Address()
{
    QFETCH(QString, text);
    QFETCH(qint64, address);
    const std::optional<quint32> got = Ipv4_Address(text);
    QCOMPARE(got.has_value(), address >= 0);
    if (got)
        QCOMPARE(qint64(*got), address);
}

// The file is far below any write buffer: a full disk must fail the write, not hand the tool
// an empty file.
void Tst_Ethernet_Update::parameterFileOnAFullDisk()
{
    Program_Folder reset;
    Small_Disk disk(256 * 1024);
    if (!disk.ok())
        QSKIP(qPrintable(disk.reason()));
    Shared.Dir_Program = disk.path();
    Shared.Dir_Master = disk.path() + QStringLiteral("/MASTER");
    Shared.Conf_Dir = disk.path() + QStringLiteral("/PROJECTS/A");
    const QString path = Path_Join(disk.path(), Parameter_File_Name);
    QFile old(path);
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write("earlier parameters");
    old.close();
    disk.Leave_Free(0);
    try {
        Compile_XML_Parameter(Update_Request{QStringLiteral("127.0.0.1"), 2, false});
        QFAIL("no error on a full disk");
    } catch (const App_Error& e) {
        QVERIFY2(e.text().contains(Parameter_File_Name)
                     && e.text().contains(QStringLiteral("No space left on device")),
                 qPrintable(e.text()));
    }
    QCOMPARE(Read_All(path), QByteArray("earlier parameters"));
}

void Tst_Ethernet_Update::realEchoToLoopback()
{
#ifndef Q_OS_WIN
    int probe = ::socket(AF_INET, SOCK_DGRAM, IPPROTO_ICMP);
    if (probe < 0)
        probe = ::socket(AF_INET, SOCK_RAW, IPPROTO_ICMP);
    if (probe < 0)
        QSKIP("this machine allows neither datagram ICMP sockets (net.ipv4.ping_group_range) "
              "nor raw sockets (CAP_NET_RAW)");
    ::close(probe);
#endif
    const QByteArray data = "127.0.0.1";
    int events = 0;
    int bytes = -1;
    QString error;
    const bool sent = Icmp_Client().Ping(
        QStringLiteral("127.0.0.1"), data, Ping_Reply_Wait_Ms, [&](int b) { ++events, bytes = b; },
        &error);
    QVERIFY2(sent, qPrintable(error));
    QCOMPARE(events, 1);
    QCOMPARE(bytes, 8 + data.size());

    // No name lookup and no reply event for a text that is no address.
    events = 0;
    QVERIFY(!Icmp_Client().Ping(
        QStringLiteral("192. 168.2.x"), data, Ping_Reply_Wait_Ms, [&](int) { ++events; }, &error));
    QCOMPARE(events, 0);
    QVERIFY(!error.isEmpty());
}

void Tst_Ethernet_Update::startProgramFailureNamesProgram()
{
    Program_Folder folder;
    const QString tool = Path_Join(folder.path(), Update_Tool_Name);
    try {
        Start_Program(tool, QString());
        QFAIL("no error for a missing program");
    } catch (const App_Error& e) {
        QVERIFY2(e.text().contains(QDir::toNativeSeparators(tool)), qPrintable(e.text()));
    }
}

void Tst_Ethernet_Update::startProgramStopsWaitingAtLimit()
{
#ifdef Q_OS_WIN
    QSKIP("the fake tool is a shell script");
#else
    Program_Folder folder;
    const QString tool = Path_Join(folder.path(), Update_Tool_Name);
    Write_Script(tool, "echo $$ > \"$(dirname \"$0\")/pid\"\nexec sleep 30\n");
    QElapsedTimer clock;
    clock.start();
    const Process_Launcher::Wait_Result r = Start_Program(tool, QString(), 300);
    const qint64 waited = clock.elapsed();
    QVERIFY(!r.finished);
    QVERIFY(r.stillRunning && r.stillRunning());
    QVERIFY2(waited >= 300 && waited < 5000, qPrintable(QString::number(waited)));
    QTRY_VERIFY(!folder.read(QStringLiteral("pid")).trimmed().isEmpty());
    const pid_t pid = folder.read(QStringLiteral("pid")).trimmed().toInt();
    // Left running on its own.
    QCOMPARE(::kill(pid, 0), 0);
    ::kill(pid, SIGTERM);
#endif
}

void Tst_Ethernet_Update::startProgramTellsTheExitStatus()
{
    Program_Folder folder;
    qputenv("FAKE_TOOL_RUN_MS", "200");
    qputenv("FAKE_TOOL_EXIT", "3");
    int calls = 0;
    const Process_Launcher::Wait_Result r =
        Start_Program(Fake_Tool(), QString(), 10000, [&] { ++calls; });
    qunsetenv("FAKE_TOOL_RUN_MS");
    qunsetenv("FAKE_TOOL_EXIT");
    QVERIFY(r.finished);
    QVERIFY(!r.crashed);
    QCOMPARE(r.exitCode, 3);
    // Called throughout the wait, about every 10 ms.
    QVERIFY2(calls >= 5, qPrintable(QString::number(calls)));
}

void Tst_Ethernet_Update::toolOutlivesTheConfigurator()
{
    Program_Folder folder;
    const QString log = folder.file(QStringLiteral("tool.log"));
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("SW38591_START_PROGRAM"), Fake_Tool());
    env.insert(QStringLiteral("FAKE_TOOL_LOG"), log);
    // It reports its progress only after the configurator has gone.
    env.insert(QStringLiteral("FAKE_TOOL_RUN_MS"), QStringLiteral("800"));
    env.insert(QStringLiteral("FAKE_TOOL_CHATTY"), QStringLiteral("1"));
    QProcess configurator;
    configurator.setProcessEnvironment(env);
    configurator.start(QCoreApplication::applicationFilePath(), {});
    QVERIFY(configurator.waitForFinished(10000));
    QCOMPARE(configurator.exitCode(), 0);
    QCOMPARE(folder.read(QStringLiteral("tool.log")), QByteArray("started 0\n"));

    QTRY_COMPARE_WITH_TIMEOUT(folder.read(QStringLiteral("tool.log")),
                              QByteArray("started 0\nended 0\n"), 10000);
}

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    // A stand-in configurator for toolOutlivesTheConfigurator: starts the tool, stops waiting
    // for it soon and exits.
    if (const QString tool = qEnvironmentVariable("SW38591_START_PROGRAM"); !tool.isEmpty()) {
        Start_Program(tool, QString(), 200);
        return 0;
    }
    Tst_Ethernet_Update tc;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&tc, argc, argv);
}
#include "tst_ethernet_update.moc"
