#include "app/Settings.h"
#include "app/UComon.h"
#include "language/ULanguage.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

class Tst_Settings : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void first_start()
    {
        Program_Folder folder;
        Set_Program_Folders(folder.path() + "/");
        QCOMPARE(Shared.Dir_Program, folder.path());
        for (const char* d : {"MASTER", "PROJECTS", "LANGUAGE"})
            QVERIFY(QFileInfo(folder.file(d)).isDir());
        Read_Settings();
        QVERIFY(!Restore_Configuration());
        QVERIFY(Shared.Conf_Dir.isEmpty());
        Save_Setting();
        QCOMPARE(folder.read("Tessaform.xml"),
                 QByteArray("<Conf_Settings><lastproj><projectname></projectname></lastproj>"
                            "<lastipadd><ipaddress>192.168.2.205</ipaddress></lastipadd>"
                            "<lastlang><language>English</language></lastlang>"
                            "<lastinternet><enable_internet>0</enable_internet>"
                            "<enable_update>0</enable_update>"
                            "<enable_jump_field_tables>0</enable_jump_field_tables>"
                            "<Double_Click_Auto_Size>0</Double_Click_Auto_Size>"
                            "</lastinternet></Conf_Settings>"));
    }

    void reading_rules_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("conf");
        QTest::addColumn<QString>("ip");
        QTest::addColumn<QString>("lang");
        QTest::addColumn<QString>("switches"); // internet, update, jump, double click

        QTest::newRow("full")
            << QByteArray("<Conf_Settings><lastproj><projectname>Line 1</projectname></lastproj>"
                          "<lastipadd><ipaddress>10.0.0.9</ipaddress></lastipadd>"
                          "<lastlang><language>Italiano</language></lastlang><lastinternet>"
                          "<enable_internet>1</enable_internet><enable_update>1</enable_update>"
                          "<enable_jump_field_tables>1</enable_jump_field_tables>"
                          "<Double_Click_Auto_Size>1</Double_Click_Auto_Size></lastinternet>"
                          "</Conf_Settings>")
            << "Line 1" << "10.0.0.9" << "Italiano" << "1111";
        QTest::newRow("only internet")
            << QByteArray("<Conf_Settings><lastinternet><enable_internet>1</enable_internet>"
                          "</lastinternet></Conf_Settings>")
            << "" << "192.168.2.205" << "English" << "1000";
        QTest::newRow("odd switch texts")
            << QByteArray("<Conf_Settings><lastinternet><enable_internet>true</enable_internet>"
                          "<enable_update> 1</enable_update><enable_jump_field_tables>1 "
                          "</enable_jump_field_tables><double_click_auto_size>1"
                          "</double_click_auto_size></lastinternet></Conf_Settings>")
            << "" << "192.168.2.205" << "English" << "0000";
        QTest::newRow("order and root name do not matter")
            << QByteArray("<Other><lastinternet><Double_Click_Auto_Size>1</Double_Click_Auto_Size>"
                          "</lastinternet><lastlang><language> Deutsch </language></lastlang>"
                          "</Other>")
            << "" << "192.168.2.205" << " Deutsch " << "0001";
        QTest::newRow("first of two")
            << QByteArray("<Conf_Settings><lastproj><projectname>A</projectname>"
                          "<projectname>B</projectname></lastproj></Conf_Settings>")
            << "A" << "192.168.2.205" << "English" << "0000";
        QTest::newRow("empty elements")
            << QByteArray("<Conf_Settings><lastipadd><ipaddress/></lastipadd>"
                          "<lastlang><language></language></lastlang></Conf_Settings>")
            << "" << "" << "" << "0000";
        QTest::newRow("declaration first")
            << QByteArray("<?xml version=\"1.0\"?><Conf_Settings><lastproj><projectname>A"
                          "</projectname></lastproj><lastinternet><enable_internet>1"
                          "</enable_internet></lastinternet></Conf_Settings>")
            << "" << "192.168.2.205" << "English" << "0000";
        QTest::newRow("comment first")
            << QByteArray("<!-- settings --><Conf_Settings><lastlang><language>Italiano"
                          "</language></lastlang></Conf_Settings>")
            << "" << "192.168.2.205" << "English" << "0000";
    }

    void reading_rules()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, conf);
        QFETCH(QString, ip);
        QFETCH(QString, lang);
        QFETCH(QString, switches);
        Program_Folder folder;
        Set_Program_Folders(folder.path());
        folder.write("Tessaform.xml", content);
        Read_Settings();
        QCOMPARE(Shared.Conf_Name, conf);
        QCOMPARE(Shared.Last_IP_Address, ip);
        QCOMPARE(Shared.Language_Name, lang);
        const QString got = QString("%1%2%3%4")
                                .arg(int(Shared.Enable_Internet))
                                .arg(int(Shared.Enable_Update))
                                .arg(int(Shared.Enable_Jump_Field_Tables))
                                .arg(int(Shared.Double_Click_Auto_Size));
        QCOMPARE(got, switches);
    }

    void not_well_formed_throws_with_defaults_set()
    {
        Program_Folder folder;
        Set_Program_Folders(folder.path());
        folder.write("Tessaform.xml", "<Conf_Settings><lastproj><projectname>A</projectname>");
        Shared.Language_Name = "Italiano";
        try {
            Read_Settings();
            QFAIL("no error");
        } catch (const App_Error& e) {
            QVERIFY2(e.text().contains("Tessaform.xml"), qPrintable(e.text()));
        }
        QCOMPARE(Shared.Language_Name, QStringLiteral("English"));
        QCOMPARE(Shared.Last_IP_Address, QStringLiteral("192.168.2.205"));
    }

    void restore_configuration_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("makeFolder");
        QTest::addColumn<bool>("active");
        QTest::newRow("existing") << "Line 1" << true << true;
        QTest::newRow("deleted") << "Gone" << false << false;
        QTest::newRow("empty") << "" << false << false;
        QTest::newRow("dot dot") << ".." << false << false;
        QTest::newRow("dot") << "." << false << false;
        QTest::newRow("slash") << "../PROJECTS" << false << false;
        QTest::newRow("backslash") << "a\\b" << false << false;
    }

    void restore_configuration()
    {
        QFETCH(QString, name);
        QFETCH(bool, makeFolder);
        QFETCH(bool, active);
        Program_Folder folder;
        Set_Program_Folders(folder.path());
        if (makeFolder)
            QDir().mkpath(folder.file("PROJECTS/" + name));
        Shared.Conf_Name = name;
        QCOMPARE(Restore_Configuration(), active);
        QCOMPARE(Shared.Conf_Dir, active ? folder.file("PROJECTS/" + name) : QString());
        QCOMPARE(Shared.Conf_Name, name); // kept as read, also when not restored
        Save_Setting();
        Shared.Conf_Name.clear();
        Read_Settings();
        QCOMPARE(Shared.Conf_Name, name);
    }

    // A full disk fails the write itself: the error says so and the old file stays as it was.
    void full_disk_keeps_the_old_file()
    {
        Program_Folder reset;
        Small_Disk disk(256 * 1024);
        if (!disk.ok())
            QSKIP(qPrintable(disk.reason()));
        Set_Program_Folders(disk.path());
        const QByteArray old = "<Conf_Settings><lastproj><projectname>Old</projectname>"
                               "</lastproj></Conf_Settings>";
        QFile f(Settings_File_Path());
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(old);
        f.close();
        Shared.Conf_Name = "Line 1";
        disk.Leave_Free(0);
        try {
            Save_Setting();
            QFAIL("no error");
        } catch (const App_Error& e) {
            QVERIFY2(e.text().contains("Tessaform.xml")
                         && e.text().contains("No space left on device"),
                     qPrintable(e.text()));
        }
        QCOMPARE(Read_All(Settings_File_Path()), old);
    }

    // A file that could not be read is kept beside it before the first write, never over an
    // earlier kept one.
    void broken_file_is_kept_before_it_is_replaced_data()
    {
        QTest::addColumn<QStringList>("earlier"); // kept files already there
        QTest::addColumn<QString>("kept");
        QTest::newRow("first time") << QStringList{} << "Tessaform.xml.bad";
        QTest::newRow("earlier one kept") << QStringList{"Tessaform.xml.bad"} << "Tessaform.xml.bad2";
        QTest::newRow("two earlier")
            << QStringList{"Tessaform.xml.bad", "Tessaform.xml.bad2"} << "Tessaform.xml.bad3";
    }
    void broken_file_is_kept_before_it_is_replaced()
    {
        QFETCH(QStringList, earlier);
        QFETCH(QString, kept);
        Program_Folder folder;
        Set_Program_Folders(folder.path());
        const QByteArray broken = "<Conf_Settings><lastproj><projectname>Line 7</projectname>";
        folder.write("Tessaform.xml", broken);
        for (const QString& e : earlier)
            folder.write(e, "earlier " + e.toUtf8());
        QVERIFY_THROWS_EXCEPTION(App_Error, Read_Settings());

        Save_Setting(); // with the defaults
        QCOMPARE(folder.read(kept), broken);
        for (const QString& e : earlier)
            QCOMPARE(folder.read(e), "earlier " + e.toUtf8());
        Read_Settings();
        QCOMPARE(Shared.Language_Name, QStringLiteral("English"));

        // Kept once: later writes do not keep the good file again.
        Save_Setting();
        QCOMPARE(QDir(folder.path()).entryList({"Tessaform.xml.bad*"}).size(), earlier.size() + 1);
        QVERIFY(Keep_Broken_Settings().isEmpty());
    }

    // No room for the kept copy, though there is for new settings: the broken file stays.
    void broken_file_that_cannot_be_kept_is_not_replaced()
    {
        Program_Folder reset;
        Small_Disk disk(512 * 1024);
        if (!disk.ok())
            QSKIP(qPrintable(disk.reason()));
        Set_Program_Folders(disk.path());
        const QByteArray broken = "<Conf_Settings>" + QByteArray(64 * 1024, 'x');
        QFile f(Settings_File_Path());
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(broken);
        f.close();
        QVERIFY_THROWS_EXCEPTION(App_Error, Read_Settings());
        disk.Leave_Free(16 * 1024);
        QVERIFY_THROWS_EXCEPTION(App_Error, Keep_Broken_Settings());
        QVERIFY_THROWS_EXCEPTION(App_Error, Save_Setting());
        QCOMPARE(Read_All(Settings_File_Path()), broken);

        // Once there is room, the next write keeps it first.
        disk.Release();
        Save_Setting();
        QCOMPARE(Read_All(Settings_File_Path() + ".bad"), broken);
        Read_Settings();
    }

    // A name is stored so that the next start reads the same name, or refused; never changed.
    void configuration_name_is_stored_as_it_is_or_refused_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("stored");
        QTest::newRow("plain") << "Line 1" << true;
        QTest::newRow("markup characters") << "A<B>&\"C\"" << true;
        QTest::newRow("accents") << "Ligne \u00E9t\u00E9" << true;
        QTest::newRow("control character") << "A\x01" "B" << false;
        QTest::newRow("lone surrogate") << QString("A") + QChar(0xDC00) << false;
        QTest::newRow("carriage return") << "A\rB" << false;
    }
    void configuration_name_is_stored_as_it_is_or_refused()
    {
        QFETCH(QString, name);
        QFETCH(bool, stored);
        Program_Folder folder;
        Set_Program_Folders(folder.path());
        Load_Default_Language();
        folder.write("Tessaform.xml", "old");
        Shared.Conf_Name = name;
        bool refused = false;
        try {
            Save_Setting();
        } catch (const App_Error& e) {
            refused = true;
            QVERIFY2(e.text().startsWith(Msg(31)), qPrintable(e.text()));
        }
        if (refused) {
            QCOMPARE(folder.read("Tessaform.xml"), QByteArray("old"));
        } else {
            Read_Settings();
            QCOMPARE(Shared.Conf_Name, name);
        }
        if (stored)
            QVERIFY(!refused);
    }
};

QTEST_GUILESS_MAIN(Tst_Settings)
#include "tst_settings.moc"
