#include "app/UComon.h"
#include "editors/ParGenChecks.h"
#include "language/ULanguage.h"
#include "support/TestSupport.h"

#include <QTest>

namespace {

// The values a new configuration opens with, switched to the given device and send type.
ParGen_Settings Shown(const QString& device, const QString& sendType = "0",
                      const QString& gateway = "0")
{
    ParGen_Settings s = ParGen_As_Shown(ParGen_Defaults_Missing_File());
    s.Device_Type = device;
    s.How_Send = sendType;
    s.Ethernet_EN_GAT = gateway;
    return s;
}

void Set_Field(ParGen_Settings& s, const QString& element, const QString& value)
{
    for (int i = 0; i < ParGen_Settings::Count; ++i)
        if (element == QLatin1String(ParGen_Settings::Names()[i])) {
            s.field(i) = value;
            return;
        }
    QFAIL(qPrintable("no element " + element));
}

} // namespace

class tst_ParGenChecks final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { Load_Default_Language(); }

    void checks_data()
    {
        QTest::addColumn<QString>("device");
        QTest::addColumn<QString>("sendType");
        QTest::addColumn<QString>("gateway");
        QTest::addColumn<QString>("element");
        QTest::addColumn<QString>("value");
        QTest::addColumn<int>("message");

        const auto row = [](const QByteArray& name, const char* device, const char* sendType,
                            const char* gateway, const QByteArray& element, const char* value,
                            int message) {
            QTest::newRow(name.constData())
                << QString::fromLatin1(device) << QString::fromLatin1(sendType)
                << QString::fromLatin1(gateway) << QString::fromLatin1(element)
                << QString::fromLatin1(value) << message;
        };
        row("send timer 0 on timer", "0", "1", "0", "Delay_Send", "0", 443);
        row("send timer 1 on timer", "0", "1", "0", "Delay_Send", "1", 0);
        row("send timer 65535", "0", "1", "0", "Delay_Send", "65535", 0);
        row("send timer 65536", "0", "1", "0", "Delay_Send", "65536", 443);
        row("send timer empty on timer", "0", "1", "0", "Delay_Send", "", 443);
        row("send timer empty on data change", "0", "0", "0", "Delay_Send", "", 0);
        row("send timer with Ethernet port", "1", "1", "0", "Delay_Send", "", 0);
        row("send timer no device", "-1", "1", "0", "Delay_Send", "", 0);
        row("timeout 0", "0", "0", "0", "TimeOut_Data", "0", 0);
        row("timeout 10000", "1", "0", "0", "TimeOut_Data", "10000", 0);
        row("timeout 10001", "0", "0", "0", "TimeOut_Data", "10001", 444);
        row("timeout -1", "1", "0", "0", "TimeOut_Data", "-1", 444);
        row("timeout trailing blank", "1", "0", "0", "TimeOut_Data", "5 ", 444);
        row("device id 239", "1", "0", "0", "J1939_Device_ID", "239", 0);
        row("device id 240", "1", "0", "0", "J1939_Device_ID", "240", 459);
        row("device id no device", "-1", "0", "0", "J1939_Device_ID", "240", 459);
        row("device id hidden", "0", "0", "0", "J1939_Device_ID", "240", 0);
        row("devicenet id 63", "0", "0", "0", "Net_Dev_Id", "63", 0);
        row("devicenet id 0x3F", "1", "0", "0", "Net_Dev_Id", "0x3F", 0);
        row("devicenet id $40", "1", "0", "0", "Net_Dev_Id", "$40", 445);
        row("devicenet id 64", "0", "0", "0", "Net_Dev_Id", "64", 445);
        row("devicenet id text", "0", "0", "0", "Net_Dev_Id", "ten", 445);
        for (int i = 0; i < 4; ++i) {
            const QByteArray n = QByteArray::number(i + 1);
            row("ip 255 " + n, "1", "0", "0", "Ethernet_IP" + n, "255", 0);
            row("ip 256 " + n, "1", "0", "0", "Ethernet_IP" + n, "256", 446 + i);
            row("ip without Ethernet port " + n, "0", "0", "0", "Ethernet_IP" + n, "256", 0);
            row("ip no device " + n, "-1", "0", "0", "Ethernet_IP" + n, "", 0);
            row("mask 0 " + n, "1", "0", "0", "Ethernet_SM" + n, "0", 0);
            row("mask empty " + n, "1", "0", "0", "Ethernet_SM" + n, "", 450 + i);
            row("gateway 256 checked " + n, "1", "0", "1", "Ethernet_GAT" + n, "256", 454 + i);
            row("gateway 0xFF checked " + n, "1", "0", "1", "Ethernet_GAT" + n, "0xFF", 0);
            row("gateway 256 unchecked " + n, "1", "0", "0", "Ethernet_GAT" + n, "256", 0);
        }
    }

    void checks()
    {
        QFETCH(QString, device);
        QFETCH(QString, sendType);
        QFETCH(QString, gateway);
        QFETCH(QString, element);
        QFETCH(QString, value);
        QFETCH(int, message);
        ParGen_Settings s = Shown(device, sendType, gateway);
        Set_Field(s, element, value);
        QCOMPARE(ParGen_First_Failure(s), message);
    }

    // Breaking one more field, each earlier in the order, moves the reported failure to it.
    void first_failure_wins()
    {
        using PG = ParGen_Settings;
        const std::pair<QString PG::*, int> steps[] = {
            {&PG::Ethernet_GAT4, 457}, {&PG::Ethernet_SM1, 450},    {&PG::Ethernet_IP4, 449},
            {&PG::Net_Dev_Id, 445},    {&PG::J1939_Device_ID, 459}, {&PG::TimeOut_Data, 444}};
        ParGen_Settings s = Shown("1", "0", "1");
        for (const auto& [field, message] : steps) {
            s.*field = "x";
            QCOMPARE(ParGen_First_Failure(s), message);
        }
        s.Device_Type = "0";
        s.How_Send = "1";
        s.Delay_Send = "x";
        QCOMPARE(ParGen_First_Failure(s), 443);
    }

    void as_shown_data()
    {
        QTest::addColumn<QString>("element");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("shown");
        QTest::newRow("device 1") << "Device_Type"
                                  << "1"
                                  << "1";
        QTest::newRow("device outside list") << "Device_Type"
                                             << "2"
                                             << "-1";
        QTest::newRow("device not a number") << "Device_Type"
                                             << "abc"
                                             << "0";
        QTest::newRow("device stored -1") << "Device_Type"
                                          << "-1"
                                          << "-1";
        QTest::newRow("baud 0x8") << "Can_Baud"
                                  << "0x8"
                                  << "8";
        QTest::newRow("baud 9") << "Can_Baud"
                                << "9"
                                << "-1";
        QTest::newRow("baud empty") << "Can_Baud"
                                    << ""
                                    << "5";
        QTest::newRow("send type 2") << "How_Send"
                                     << "2"
                                     << "-1";
        QTest::newRow("net baud 3") << "Net_Baud"
                                    << "3"
                                    << "-1";
        QTest::newRow("net baud blank") << "Net_Baud"
                                        << " "
                                        << "2";
        QTest::newRow("peer 1") << "PeerToPeer"
                                << "1"
                                << "1";
        QTest::newRow("peer true") << "PeerToPeer"
                                   << "true"
                                   << "0";
        QTest::newRow("gateway blank 1") << "Ethernet_EN_GAT"
                                         << " 1"
                                         << "0";
        QTest::newRow("can type") << "CAN_Type"
                                  << "7"
                                  << "1";
        QTest::newRow("text as typed") << "Delay_Send"
                                       << " 0x64 "
                                       << " 0x64 ";
    }

    void as_shown()
    {
        QFETCH(QString, element);
        QFETCH(QString, stored);
        QFETCH(QString, shown);
        ParGen_Settings s = ParGen_Defaults_Missing_Element();
        Set_Field(s, element, stored);
        ParGen_Settings expected = ParGen_Defaults_Missing_Element();
        Set_Field(expected, element, shown);
        QCOMPARE(ParGen_As_Shown(s), expected);
    }

    void check_file()
    {
        Program_Folder folder;
        Load_Default_Language();
        const QString path = folder.file("ParGen.xml");
        QCOMPARE(Check_ParGen_File(path), QString());

        folder.write("ParGen.xml", "<Par_Gen><Device_Type>1</Device_Type>"
                                   "<TimeOut_Data>10001</TimeOut_Data></Par_Gen>");
        QCOMPARE(Check_ParGen_File(path),
                 QStringLiteral("Error J1939!! TimeOut Data must be between 0 and 10000 seconds"));

        // No Device_Type: the device without Ethernet port, whose send timer counts on a timer.
        folder.write("ParGen.xml", "<Par_Gen><How_Send>1</How_Send><Delay_Send/>"
                                   "<Ethernet_IP1>999</Ethernet_IP1></Par_Gen>");
        QCOMPARE(Check_ParGen_File(path), Msg(443));

        // A device type outside the list selects nothing: no Ethernet checks, Device ID checked.
        folder.write("ParGen.xml", "<Par_Gen><Device_Type>5</Device_Type><How_Send>1</How_Send>"
                                   "<Delay_Send/><Ethernet_IP1>999</Ethernet_IP1>"
                                   "<J1939_Device_ID>240</J1939_Device_ID></Par_Gen>");
        QCOMPARE(Check_ParGen_File(path), Msg(459));

        folder.write("ParGen.xml", "<Par_Gen><Device_Type>1</Device_Type>");
        QVERIFY_THROWS_EXCEPTION(App_Error, Check_ParGen_File(path));
    }
};

QTEST_GUILESS_MAIN(tst_ParGenChecks)
#include "tst_ParGenChecks.moc"
