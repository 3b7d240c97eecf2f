#include "app/SignalClose.h"
#include "app/UComon.h"
#include "app/UTessaformeFirmWare.h"
#include "app/Windows.h"
#include "language/ULanguage.h"
#include "support/FakeUi.h"
#include "support/TestSupport.h"

#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QTest>
#include <QTimer>

#include <csignal>

namespace {

QString Label(const char* name)
{
    auto* l = Forms.FTessaformeFirmWare->findChild<QLabel*>(QString::fromLatin1(name));
    return l ? l->text() : QStringLiteral("<missing>");
}

} // namespace

class Tst_Startup : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { Destroy_Windows(); }

    void first_start_in_empty_folder()
    {
        Fake_Ui ui;
        Program_Folder folder;
        Create_Windows(folder.path());
        QVERIFY(ui.boxes.isEmpty());
        for (const char* d : {"MASTER", "PROJECTS", "LANGUAGE"})
            QVERIFY(QFileInfo(folder.file(d)).isDir());
        QCOMPARE(Label("L_Name_Conf"), QStringLiteral("None Configuration Opened "));
        QCOMPARE(Label("L_Name_Conf_L2"),
                 QStringLiteral("Use Step1 to open or create new configuration"));
        QCOMPARE(Label("L_SW_Code"), QStringLiteral("SW38591"));
        QCOMPARE(Forms.FTessaformeFirmWare->windowTitle(),
                 QStringLiteral("Zorvek - Configurator SW38591 - J1939 / DeviceNet Slave "));
        QVERIFY(Shared.Conf_Dir.isEmpty());
        QCOMPARE(Shared.Lang_Table.size(), 1000);
        QVERIFY(Shared.File_ParGen.endsWith("/ParGen.xml"));
        QVERIFY(!Forms.FTessaformeFirmWare->Timer_Update->isActive());

        // The nine dialogs exist once, created in the fixed order after the main window.
        QStringList order;
        for (QObject* o : Forms.FTessaformeFirmWare->children())
            if (qobject_cast<QDialog*>(o))
                order << o->objectName();
        QCOMPARE(order, QStringList({"FNew_Project", "FOpenConf", "FAbout", "FSoftOptions",
                                     "FParGen", "FReceive_J1939_Frame", "FTransmit_J1939_Frame",
                                     "FModifyFileSx", "FBoot"}));

        QVERIFY(!QFileInfo::exists(folder.file("Tessaform.xml")));
        Forms.FTessaformeFirmWare->close();
        QVERIFY(folder.read("Tessaform.xml").contains("<ipaddress>192.168.2.205</ipaddress>"));
    }

    void restores_configuration_and_timer()
    {
        Fake_Ui ui;
        Program_Folder folder;
        folder.write("PROJECTS/Line 1/bin/.keep", "");
        folder.write("LANGUAGE/Italiano.lng", "STR11 = \xB6" "Configurazione aperta : \xB6\n");
        folder.write("Tessaform.xml",
                     "<Conf_Settings><lastproj><projectname>Line 1</projectname></lastproj>"
                     "<lastlang><language>Italiano</language></lastlang><lastinternet>"
                     "<enable_internet>1</enable_internet><enable_update>1</enable_update>"
                     "</lastinternet></Conf_Settings>");
        Create_Windows(folder.path());
        QCOMPARE(Label("L_Name_Conf"), QStringLiteral("Configurazione aperta : "));
        QCOMPARE(Label("L_Name_Conf_L2"), QStringLiteral("Line 1"));
        QCOMPARE(Shared.Conf_Dir, folder.file("PROJECTS/Line 1"));
        QCOMPARE(Shared.File_Send_Frame, folder.file("PROJECTS/Line 1/Send_Frame.xml"));
        QTimer* timer = Forms.FTessaformeFirmWare->Timer_Update;
        QVERIFY(timer->isActive());
        QCOMPARE(timer->interval(), 60000);
    }

    void unreadable_settings_are_reported_then_defaults()
    {
        Fake_Ui ui;
        Program_Folder folder;
        folder.write("PROJECTS/A/bin/.keep", "");
        folder.write("Tessaform.xml", "<Conf_Settings><lastproj><projectname>A</projectname>");
        Create_Windows(folder.path());
        QCOMPARE(ui.boxes.size(), 1);
        QCOMPARE(ui.boxes[0].kind, Fake_Ui::Kind::Error);
        QVERIFY2(ui.boxes[0].text.contains("Tessaform.xml"), qPrintable(ui.boxes[0].text));
        QVERIFY(Shared.Conf_Dir.isEmpty());
        QCOMPARE(Label("L_Name_Conf"), QStringLiteral("None Configuration Opened "));
        QCOMPARE(Shared.Lang_Table.size(), 1000);
        QVERIFY(!Shared.File_ParGen.isEmpty());
    }

    // The last configuration and language of a file that could not be read are not lost at
    // the first write: the file is kept beside it, and the start-up report says where.
    void broken_settings_are_kept_and_said_data()
    {
        QTest::addColumn<bool>("earlier");
        QTest::addColumn<QString>("kept");
        QTest::newRow("first time") << false << "Tessaform.xml.bad";
        QTest::newRow("an earlier one kept") << true << "Tessaform.xml.bad2";
    }
    void broken_settings_are_kept_and_said()
    {
        QFETCH(bool, earlier);
        QFETCH(QString, kept);
        Fake_Ui ui;
        Program_Folder folder;
        const QByteArray broken = "<Conf_Settings><lastproj><projectname>A</projectname>";
        folder.write("Tessaform.xml", broken);
        if (earlier)
            folder.write("Tessaform.xml.bad", "earlier");
        Create_Windows(folder.path());
        QCOMPARE(ui.boxes.size(), 1);
        QCOMPARE(ui.boxes[0].kind, Fake_Ui::Kind::Error);
        const QStringList lines = ui.boxes[0].text.split(QLatin1Char('\n'));
        QVERIFY2(lines.first().contains("Tessaform.xml") && lines.first().contains("line 1"),
                 qPrintable(ui.boxes[0].text));
        QCOMPARE(lines.last(), Msg(29) + QDir::toNativeSeparators(folder.file(kept)));
        QCOMPARE(folder.read(kept), broken);

        Forms.FTessaformeFirmWare->close();
        QCOMPARE(ui.boxes.size(), 1);
        QCOMPARE(folder.read(kept), broken);
        if (earlier)
            QCOMPARE(folder.read("Tessaform.xml.bad"), QByteArray("earlier"));
        QVERIFY(folder.read("Tessaform.xml").contains("<language>English</language>"));
    }

    // The exit save on a full disk: closing goes on, the warning gives the system's reason,
    // and the old settings stay byte for byte.
    void exit_save_on_a_full_disk()
    {
        Fake_Ui ui;
        Program_Folder reset;
        Small_Disk disk(512 * 1024);
        if (!disk.ok())
            QSKIP(qPrintable(disk.reason()));
        const QByteArray old = "<Conf_Settings><lastlang><language>Italiano</language>"
                               "</lastlang></Conf_Settings>";
        QFile f(disk.path() + "/Tessaform.xml");
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(old);
        f.close();
        Create_Windows(disk.path());
        auto* main = Forms.FTessaformeFirmWare;
        main->show();
        disk.Leave_Free(0);
        QVERIFY(main->close());
        QVERIFY(!main->isVisible());
        QCOMPARE(ui.boxes.size(), 1);
        QCOMPARE(ui.boxes[0].kind, Fake_Ui::Kind::Warning);
        QVERIFY2(ui.boxes[0].text.contains("Tessaform.xml")
                     && ui.boxes[0].text.contains("No space left on device"),
                 qPrintable(ui.boxes[0].text));
        QCOMPARE(Read_All(disk.path() + "/Tessaform.xml"), old);
        Destroy_Windows();
    }

    void failed_save_at_exit_warns_and_closes()
    {
        Fake_Ui ui;
        Program_Folder folder;
        Create_Windows(folder.path());
        folder.write("Tessaform.xml", "old");
        QFile::setPermissions(folder.file("Tessaform.xml"), QFile::ReadOwner);
        auto* main = Forms.FTessaformeFirmWare;
        main->show();
        QVERIFY(main->close());
        QVERIFY(!main->isVisible());
        QCOMPARE(ui.boxes.size(), 1);
        QCOMPARE(ui.boxes[0].kind, Fake_Ui::Kind::Warning);
        QVERIFY(ui.boxes[0].text.contains("Tessaform.xml"));
        QFile::setPermissions(folder.file("Tessaform.xml"), QFile::ReadOwner | QFile::WriteOwner);
        QCOMPARE(folder.read("Tessaform.xml"), QByteArray("old"));
    }

    void sigterm_closes_and_saves()
    {
        Fake_Ui ui;
        Program_Folder folder;
        Create_Windows(folder.path());
        auto* main = Forms.FTessaformeFirmWare;
        Close_On_Signals(main);
        main->show();
        ::raise(SIGTERM);
        QTRY_VERIFY(!main->isVisible());
        QVERIFY(QFileInfo::exists(folder.file("Tessaform.xml")));
    }
};

QTEST_MAIN(Tst_Startup)
#include "tst_startup.moc"
