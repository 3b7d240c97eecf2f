#include "app/Settings.h"
#include "app/UComon.h"
#include "support/TestSupport.h"

#include <QDir>
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
};

QTEST_GUILESS_MAIN(Tst_Settings)
#include "tst_settings.moc"
