#include "app/UComon.h"
#include "app/UTessaformeFirmWare.h"
#include "app/Windows.h"
#include "configurations/ConfigFiles.h"
#include "configurations/UNew_Project.h"
#include "configurations/UOpenConf.h"
#include "language/ULanguage.h"
#include "options/UAbout.h"
#include "support/FakeUi.h"
#include "support/TestSupport.h"
#include "update/UBoot.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolTip>

namespace {

// A small configuration the compiler accepts; `deviceType` null leaves the element out.
QByteArray ParGen_File(const char* deviceType, const char* canBaud = "2")
{
    ParGen_Settings s = ParGen_Defaults_Missing_File();
    s.Device_Type = QString::fromLatin1(deviceType ? deviceType : "0");
    s.Can_Baud = QString::fromLatin1(canBaud);
    s.CAN_Type = QStringLiteral("1");
    s.How_Send = QStringLiteral("0");
    s.Delay_Send = QStringLiteral("100");
    s.TimeOut_Data = QStringLiteral("5");
    s.PeerToPeer = QStringLiteral("0");
    s.J1939_Device_ID = QStringLiteral("128");
    s.Net_Dev_Id = QStringLiteral("63");
    s.Net_Baud = QStringLiteral("0");
    QByteArray xml = ParGen_Xml(s);
    if (!deviceType)
        xml.replace(QByteArrayLiteral("<Device_Type>0</Device_Type>"), QByteArray());
    return xml;
}

const char* const Step_Buttons[] = {"Btn_Prm_Gen", "Btn_J1939_Rec_Frame", "Btn_J1939_Send_Frame",
                                    "Btn_CreateBin"};

} // namespace

class Tst_MainWindow final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        m_env = std::make_unique<Window_Test_Env>();
    }
    void cleanup() { m_env.reset(); }

    void layout_and_texts()
    {
        start();
        TFTessaformeFirmWare* w = Forms.FTessaformeFirmWare;
        QCOMPARE(w->size(), QSize(694, 440));
        QCOMPARE(w->windowTitle(), Title_Program_Text);
        const struct {
            const char* name;
            QRect geometry;
        } fixed[] = {
            {"Btn_New", {80, 112, 170, 36}},
            {"Btn_Open", {258, 112, 170, 36}},
            {"Btn_Prm_Gen", {80, 156, 170, 36}},
            {"Btn_J1939_Rec_Frame", {80, 200, 170, 36}},
            {"Btn_J1939_Send_Frame", {80, 244, 170, 36}},
            {"Btn_CreateBin", {80, 288, 170, 36}},
            {"Btn_Info", {516, 8, 50, 50}},
            {"Btn_Opz", {574, 8, 50, 50}},
            {"Btn_Close", {632, 8, 50, 50}},
            {"Shape1", {10, 339, 674, 1}},
            {"Shape2", {80, 70, 348, 36}},
        };
        for (const auto& f : fixed) {
            auto* widget = w->findChild<QWidget*>(QLatin1String(f.name));
            QVERIFY2(widget, f.name);
            QCOMPARE(widget->geometry(), f.geometry);
            QVERIFY2(!widget->isHidden(), f.name);
        }
        const struct {
            const char* name;
            QPoint pos;
            int message;
        } labels[] = {
            {"L_Begin", {16, 84}, 0},   {"L_Step_1", {16, 128}, 1}, {"L_Step_2", {16, 172}, 2},
            {"L_Step_3", {16, 216}, 3}, {"L_Step_4", {16, 260}, 4}, {"L_Step_5", {16, 304}, 5},
            {"L_Name_Conf", {87, 75}, 9}, {"L_Name_Conf_L2", {87, 88}, 10},
        };
        for (const auto& l : labels) {
            auto* label = label_(l.name);
            QCOMPARE(label->pos(), l.pos);
            QCOMPARE(label->text(), Msg(l.message));
            QVERIFY(!label->isHidden());
        }
        for (const char* hidden : {"L_Step_6", "L_Step_7", "L_Step_8", "LL_Update"})
            QVERIFY2(label_(hidden)->isHidden(), hidden);
        QCOMPARE(label_("L_Step_8")->text(), Msg(8));
        QCOMPARE(label_("L_SW_Code")->pos(), QPoint(16, 8));
        QCOMPARE(label_("L_SW_Code")->text(), QStringLiteral("SW38591"));
        QCOMPARE(label_("L_SW_Desc")->pos(), QPoint(16, 42));
        QCOMPARE(label_("L_Zorvek")->pos(), QPoint(565, 304));
        QCOMPARE(label_("L_Zorvek")->text(), QStringLiteral("www.zorvek.example"));

        const struct {
            const char* name;
            int caption, hint;
        } buttons[] = {{"Btn_New", 15, 23},
                       {"Btn_Open", 16, 24},
                       {"Btn_CreateBin", 17, 28},
                       {"Btn_Prm_Gen", 20, 25},
                       {"Btn_J1939_Rec_Frame", 21, 26},
                       {"Btn_J1939_Send_Frame", 22, 27},
                       {"Btn_Info", -1, 12},
                       {"Btn_Opz", -1, 13},
                       {"Btn_Close", -1, 14}};
        for (const auto& b : buttons) {
            QCOMPARE(button(b.name)->text(), b.caption < 0 ? QString() : Msg(b.caption));
            QCOMPARE(button(b.name)->toolTip(), Msg(b.hint));
            QVERIFY(!button(b.name)->icon().isNull());
        }
        QVERIFY(!w->windowIcon().isNull());
        // No text is cut off, also with this machine's fonts.
        for (QLabel* label : w->findChildren<QLabel*>(Qt::FindDirectChildrenOnly)) {
            if (label->isHidden())
                continue;
            QVERIFY2(w->rect().contains(label->geometry()), qPrintable(label->objectName()));
            QVERIFY2(label->width() >= label->sizeHint().width(), qPrintable(label->objectName()));
        }
    }

    void hints_show_on_the_picture_buttons_only()
    {
        start();
        Forms.FTessaformeFirmWare->show();
        QVERIFY(QTest::qWaitForWindowExposed(Forms.FTessaformeFirmWare));
        for (const char* name : {"Btn_Info", "Btn_New", "Btn_CreateBin", "Btn_Close"}) {
            QToolTip::hideText();
            QTRY_VERIFY(!QToolTip::isVisible());
            QPushButton* b = button(name);
            QHelpEvent help(QEvent::ToolTip, b->rect().center(),
                            b->mapToGlobal(b->rect().center()));
            QApplication::sendEvent(b, &help);
            const bool picture = b->text().isEmpty();
            QCOMPARE(QToolTip::isVisible(), picture);
            if (picture)
                QCOMPARE(QToolTip::text(), b->toolTip());
        }
    }

    void dispatch_without_configuration_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("shown");
        QTest::newRow("new") << "Btn_New"
                             << "FNew_Project";
        QTest::newRow("open") << "Btn_Open"
                              << "FOpenConf";
        QTest::newRow("info") << "Btn_Info"
                              << "FAbout";
        QTest::newRow("options") << "Btn_Opz"
                                 << "FSoftOptions";
        for (const char* name : Step_Buttons)
            QTest::newRow(name) << name << QString();
    }
    void dispatch_without_configuration()
    {
        QFETCH(QString, name);
        QFETCH(QString, shown);
        start();
        QVERIFY(Shared.Conf_Dir.isEmpty());
        QVERIFY(button(name)->isEnabled());
        button(name)->click();
        if (shown.isEmpty()) {
            QVERIFY(m_env->ui.shownDialogs.isEmpty());
            QCOMPARE(m_env->ui.boxes.size(), 1);
            QCOMPARE(m_env->ui.boxes[0].kind, Fake_Ui::Kind::Error);
            QCOMPARE(m_env->ui.boxes[0].text, QStringLiteral("Error! Project not Valid"));
        } else {
            QCOMPARE(m_env->ui.shownDialogs, QStringList{shown});
            QVERIFY(m_env->ui.boxes.isEmpty());
        }
        QVERIFY(!QFileInfo::exists(m_env->folder.file(QStringLiteral("Tessaform.xml"))));
    }

    void close_button_saves_the_settings_and_closes()
    {
        start();
        Forms.FTessaformeFirmWare->show();
        button("Btn_Close")->click();
        QVERIFY(!Forms.FTessaformeFirmWare->isVisible());
        QVERIFY(m_env->folder.read(QStringLiteral("Tessaform.xml")).contains("<language>English"));
    }

    void steps_open_their_windows_with_a_configuration_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("shown");
        QTest::newRow("settings") << "Btn_Prm_Gen"
                                  << "FParGen";
        QTest::newRow("receive") << "Btn_J1939_Rec_Frame"
                                 << "FReceive_J1939_Frame";
        QTest::newRow("transmit") << "Btn_J1939_Send_Frame"
                                  << "FTransmit_J1939_Frame";
    }
    void steps_open_their_windows_with_a_configuration()
    {
        QFETCH(QString, name);
        QFETCH(QString, shown);
        start_with_configuration(QByteArray());
        button(name)->click();
        QCOMPARE(m_env->ui.shownDialogs, QStringList{shown});
        QVERIFY(!m_env->ui.texts().contains(Msg(18)));
    }

    void tools_menu_opens_the_bus_check()
    {
        start();
        QAction* entry = Forms.FTessaformeFirmWare->findChild<QAction*>(QStringLiteral("A_Bus_Check"));
        QVERIFY(entry);
        QVERIFY(Forms.FTessaformeFirmWare->Tools_Menu()->actions().contains(entry));
        QCOMPARE(entry->text(), Msg(211));
        entry->trigger();
        QCOMPARE(m_env->ui.texts(), QStringList{Msg(18)});
        QVERIFY(m_env->ui.shownDialogs.isEmpty());
        Destroy_Windows();

        start_with_configuration(ParGen_File("1"));
        entry = Forms.FTessaformeFirmWare->findChild<QAction*>(QStringLiteral("A_Bus_Check"));
        entry->trigger();
        QCOMPARE(m_env->ui.shownDialogs, QStringList{QStringLiteral("FBus_Check")});
        QVERIFY(m_env->ui.boxes.isEmpty());
    }

    void update_device_routes_data()
    {
        QTest::addColumn<QByteArray>("parGen");
        QTest::addColumn<QString>("shown");
        QTest::newRow("Device_Type 0") << ParGen_File("0") << "FModifyFileSx";
        QTest::newRow("Device_Type 1") << ParGen_File("1") << "FBoot";
        QTest::newRow("Device_Type absent") << ParGen_File(nullptr) << "FModifyFileSx";
        QTest::newRow("no ParGen.xml") << QByteArray() << "FBoot";
    }
    void update_device_routes()
    {
        QFETCH(QByteArray, parGen);
        QFETCH(QString, shown);
        start_with_configuration(parGen);
        // The firmware window checks its master file when it opens.
        m_env->folder.write(QStringLiteral("MASTER/sx38591.sx"), "S9030000FC\r\n");
        button("Btn_CreateBin")->click();
        QVERIFY2(m_env->ui.boxes.isEmpty(), qPrintable(m_env->ui.texts().join(QLatin1Char('\n'))));
        QCOMPARE(m_env->ui.shownDialogs, QStringList{shown});
        if (shown == QLatin1String("FBoot"))
            QCOMPARE(Forms.FBoot->Form_Type, 1);
        else
            QCOMPARE(Forms.FBoot->Form_Type, 0);
        QCOMPARE(QFileInfo(bin("bank1.bin")).size(), 16384);
        QCOMPARE(QFileInfo(bin("bank2.bin")).size(), 18432);
    }

    void update_device_stops_on_errors_data()
    {
        QTest::addColumn<QByteArray>("parGen");
        QTest::addColumn<bool>("binIsFile");
        QTest::newRow("not a number") << ParGen_File("0", "abc") << false;
        QTest::newRow("not well-formed")
            << QByteArray("<Par_Gen><Device_Type>0</Par_Gen>") << false;
        QTest::newRow("bank files cannot be written") << ParGen_File("0") << true;
    }
    void update_device_stops_on_errors()
    {
        QFETCH(QByteArray, parGen);
        QFETCH(bool, binIsFile);
        if (binIsFile)
            m_env->folder.write(QStringLiteral("PROJECTS/Line 1/bin"), "in the way of the bank files");
        start_with_configuration(parGen);
        button("Btn_CreateBin")->click();
        QVERIFY(m_env->ui.shownDialogs.isEmpty());
        QCOMPARE(m_env->ui.boxes.size(), 1);
        QCOMPARE(m_env->ui.boxes[0].kind, Fake_Ui::Kind::Error);
        QVERIFY(!QFileInfo::exists(bin("bank1.bin")));
        QVERIFY(!QFileInfo::exists(bin("bank2.bin")));
    }

    // A configuration deleted behind the program's back is not made again with default images
    // for the tools.
    void update_device_on_a_vanished_configuration()
    {
        start_with_configuration(ParGen_File("0"));
        m_env->folder.write(QStringLiteral("MASTER/sx38591.sx"), "S9030000FC\r\n");
        QVERIFY(QDir(Shared.Conf_Dir).removeRecursively());
        button("Btn_CreateBin")->click();
        QVERIFY(m_env->ui.shownDialogs.isEmpty());
        QCOMPARE(m_env->ui.texts(),
                 QStringList{Msg(111) + QDir::toNativeSeparators(Shared.Conf_Dir)});
        QVERIFY(!QFileInfo::exists(Shared.Conf_Dir));
    }

    // OK of the settings editor on a full disk: the error says why, the window stays open
    // with the values as typed, and the stored file is the old one.
    void settings_editor_ok_on_a_full_disk()
    {
        Small_Disk disk(512 * 1024);
        if (!disk.ok())
            QSKIP(qPrintable(disk.reason()));
        const QString conf = disk.path() + QStringLiteral("/PROJECTS/Line 1");
        QVERIFY(QDir().mkpath(conf));
        const QByteArray old = ParGen_File("1");
        for (const auto& [name, data] :
             {std::pair<QString, QByteArray>{disk.path() + "/Tessaform.xml",
                                             "<Conf_Settings><lastproj><projectname>Line 1"
                                             "</projectname></lastproj></Conf_Settings>"},
              {conf + "/ParGen.xml", old}}) {
            QFile f(name);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(data);
        }
        Create_Windows(disk.path());
        QCOMPARE(Shared.Conf_Dir, conf);
        m_env->ui.clear();
        bool stayedOpen = false, typedVisible = false;
        m_env->ui.onModal = [&](QDialog* d) {
            d->show();
            auto* timeOut = d->findChild<QLineEdit*>(QStringLiteral("E_J1939_TO"));
            typedVisible = timeOut->isVisible(); // typed into as a user would
            timeOut->selectAll();
            QTest::keyClicks(timeOut, QStringLiteral("7"));
            disk.Leave_Free(0);
            d->findChild<QPushButton*>(QStringLiteral("Btn_OK"))->click();
            stayedOpen = d->isVisible() && timeOut->text() == QLatin1String("7");
            d->grab().save(Screenshot_Path(QStringLiteral("settings_editor_full_disk.png")));
            disk.Release();
            d->reject();
            return d->result();
        };
        button("Btn_Prm_Gen")->click();
        QCOMPARE(m_env->ui.shownDialogs, QStringList{"FParGen"});
        QVERIFY(typedVisible);
        QVERIFY(stayedOpen);
        QCOMPARE(m_env->ui.boxes.size(), 1);
        QCOMPARE(m_env->ui.boxes[0].kind, Fake_Ui::Kind::Error);
        QVERIFY2(m_env->ui.boxes[0].text.contains("ParGen.xml")
                     && m_env->ui.boxes[0].text.contains("No space left on device"),
                 qPrintable(m_env->ui.boxes[0].text));
        QCOMPARE(Read_All(conf + "/ParGen.xml"), old);
        Destroy_Windows(); // saves the settings while the disk is still there
    }

    void options_ok_saves_and_switches_the_timer()
    {
        start();
        TFTessaformeFirmWare* w = Forms.FTessaformeFirmWare;
        QVERIFY(!w->Timer_Update->isActive());
        w->Timer_Update->setTimerType(Qt::PreciseTimer); // so that its countdown can be read
        auto options = [this](bool internet, bool update, int result) {
            m_env->ui.onModal = [=](QDialog*) {
                Shared.Enable_Internet = internet;
                Shared.Enable_Update = update;
                return result;
            };
            button("Btn_Opz")->click();
        };

        options(true, false, QDialog::Accepted);
        QVERIFY(!w->Timer_Update->isActive());
        QVERIFY(m_env->folder.read(QStringLiteral("Tessaform.xml"))
                    .contains("<enable_internet>1</enable_internet><enable_update>0"));

        options(true, true, QDialog::Accepted);
        QVERIFY(w->Timer_Update->isActive());
        QCOMPARE(w->Timer_Update->interval(), 60000);
        QTest::qWait(120);
        const int left = w->Timer_Update->remainingTime();
        options(true, true, QDialog::Accepted); // a running countdown goes on
        QVERIFY(w->Timer_Update->remainingTime() <= left);
        QVERIFY(left < 60000 - 100);

        // Cancel: nothing saved, the timer as it was.
        QFile::remove(m_env->folder.file(QStringLiteral("Tessaform.xml")));
        options(false, false, QDialog::Rejected);
        QVERIFY(w->Timer_Update->isActive());
        QVERIFY(!QFileInfo::exists(m_env->folder.file(QStringLiteral("Tessaform.xml"))));

        // Internet off: the timer stops, a link already shown stays.
        label_("LL_Update")->show();
        options(false, true, QDialog::Accepted);
        QVERIFY(!w->Timer_Update->isActive());
        QVERIFY(!label_("LL_Update")->isHidden());
        QVERIFY(m_env->folder.read(QStringLiteral("Tessaform.xml"))
                    .contains("<enable_internet>0</enable_internet><enable_update>1"));
    }

    void language_change_refreshes_texts_and_the_configuration_labels()
    {
        start();
        const QString about = Forms.FAbout->windowTitle();
        Shared.Lang_Table[1] = QStringLiteral("Schritt 1");
        Shared.Lang_Table[9] = QStringLiteral("Keine Konfiguration");
        Shared.Lang_Table[10] = QStringLiteral("Schritt 1 benutzen");
        Shared.Lang_Table[15] = QStringLiteral("Neue Konfiguration");
        Shared.Lang_Table[23] = QStringLiteral("Eine neue Konfiguration anlegen");
        Shared.Lang_Table[100] = QStringLiteral("Neue Konfiguration anlegen");
        Shared.Lang_Table[200] = QStringLiteral("Konfiguration öffnen");
        Shared.Lang_Table[802] = QStringLiteral("Gerät aktualisieren");

        Forms.FTessaformeFirmWare->Change_Language();

        QCOMPARE(label_("L_Step_1")->text(), QStringLiteral("Schritt 1"));
        QCOMPARE(button("Btn_New")->text(), QStringLiteral("Neue Konfiguration"));
        QCOMPARE(button("Btn_New")->toolTip(), QStringLiteral("Eine neue Konfiguration anlegen"));
        QCOMPARE(label_("L_Name_Conf")->text(), QStringLiteral("Keine Konfiguration"));
        QCOMPARE(label_("L_Name_Conf_L2")->text(), QStringLiteral("Schritt 1 benutzen"));
        QCOMPARE(Forms.FNew_Project->windowTitle(), QStringLiteral("Neue Konfiguration anlegen"));
        QCOMPARE(Forms.FOpenConf->windowTitle(), QStringLiteral("Konfiguration öffnen"));
        QCOMPARE(Forms.FBoot->windowTitle(), QStringLiteral("Gerät aktualisieren"));
        QCOMPARE(Forms.FAbout->windowTitle(), about);
    }

    // A name too long for its line is cut between letters with an ellipsis; the hint holds
    // the whole name and its folder, whether cut or not.
    void long_configuration_name_is_elided_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("elided");
        QTest::newRow("short") << QStringLiteral("Line 1") << false;
        QTest::newRow("long") << QStringLiteral("Bottling plant north hall line 12 converter "
                                                "WWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWW")
                              << true;
    }
    void long_configuration_name_is_elided()
    {
        QFETCH(QString, name);
        QFETCH(bool, elided);
        start_with_configuration(QByteArray(), name);
        QLabel* l = label_("L_Name_Conf_L2");
        const QString shown = l->text();
        QCOMPARE(shown == name, !elided);
        if (elided) {
            QVERIFY2(shown.endsWith(QChar(0x2026)), qPrintable(shown));
            QVERIFY(name.startsWith(shown.chopped(1)));
        }
        QVERIFY2(l->fontMetrics().horizontalAdvance(shown) <= l->width(), qPrintable(shown));
        QCOMPARE(l->toolTip(), name + QLatin1Char('\n')
                                   + QDir::toNativeSeparators(
                                       m_env->folder.file(QStringLiteral("PROJECTS/") + name)));
        if (elided) {
            QVERIFY(Forms.FTessaformeFirmWare->grab().save(
                Screenshot_Path(QStringLiteral("main_window_long_name.png"))));
        }
    }

    // Keys reach the five steps and the three picture buttons; no caption changes for them.
    void shortcuts_press_the_buttons_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QString>("shown");
        const int alt = int(Qt::AltModifier), ctrl = int(Qt::ControlModifier);
        QTest::newRow("Alt+1 new") << int(Qt::Key_1) << alt << "FNew_Project";
        QTest::newRow("Ctrl+N new") << int(Qt::Key_N) << ctrl << "FNew_Project";
        QTest::newRow("Ctrl+O open") << int(Qt::Key_O) << ctrl << "FOpenConf";
        QTest::newRow("Alt+2 settings") << int(Qt::Key_2) << alt << "FParGen";
        QTest::newRow("Alt+3 receive") << int(Qt::Key_3) << alt << "FReceive_J1939_Frame";
        QTest::newRow("Alt+4 transmit") << int(Qt::Key_4) << alt << "FTransmit_J1939_Frame";
        QTest::newRow("Alt+5 update") << int(Qt::Key_5) << alt << "FModifyFileSx";
        QTest::newRow("F1 about") << int(Qt::Key_F1) << 0 << "FAbout";
        QTest::newRow("Ctrl+, options") << int(Qt::Key_Comma) << ctrl << "FSoftOptions";
        QTest::newRow("Ctrl+Q close") << int(Qt::Key_Q) << ctrl << "";
    }
    void shortcuts_press_the_buttons()
    {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(QString, shown);
        start_with_configuration(ParGen_File("0"));
        m_env->folder.write(QStringLiteral("MASTER/sx38591.sx"), "S9030000FC\r\n");
        TFTessaformeFirmWare* w = Forms.FTessaformeFirmWare;
        QStringList captions;
        for (QPushButton* b : w->findChildren<QPushButton*>())
            captions.append(b->text());
        w->show();
        QApplication::setActiveWindow(w);
        QVERIFY(QTest::qWaitForWindowActive(w));
        QTest::keyClick(w, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QVERIFY2(m_env->ui.boxes.isEmpty(), qPrintable(m_env->ui.texts().join(QLatin1Char('\n'))));
        if (shown.isEmpty()) {
            QVERIFY(!w->isVisible());
        } else {
            QCOMPARE(m_env->ui.shownDialogs, QStringList{shown});
        }
        QStringList after;
        for (QPushButton* b : w->findChildren<QPushButton*>())
            after.append(b->text());
        QCOMPARE(after, captions);
    }

    void links_open_the_browser()
    {
        start();
        Forms.FTessaformeFirmWare->show();
        QVERIFY(QTest::qWaitForWindowExposed(Forms.FTessaformeFirmWare));
        QTest::mouseClick(label_("L_Zorvek"), Qt::LeftButton);
        const QString target =
            QStringLiteral("http://www.zorvek.example/Home/download/download.asp#HD38591");
        Q_EMIT label_("LL_Update")->linkActivated(target);
        QCOMPARE(m_env->ui.openedUrls,
                 (QStringList{
                     QStringLiteral("http://www.zorvek.example/HOME/default.asp?frompg=SW38591"),
                     target}));
    }

    void about_window()
    {
        start();
        TFAbout* about = Forms.FAbout;
        m_env->ui.onModal = [](QDialog* d) {
            d->show(); // left open for the checks below
            return -1;
        };
        button("Btn_Info")->click();
        QCOMPARE(m_env->ui.shownDialogs, QStringList{QStringLiteral("FAbout")});
        QVERIFY(about->isVisible());
        QCOMPARE(about->size(), QSize(406, 148));
        const char* const texts[][2] = {
            {"Label1", "Software Tessaform "}, {"Label2", "J1939 / DeviceNet Slave - Converter"},
            {"Label6", "Software Code : "},    {"Label9", "SW38591"},
            {"Label3", "Version :"},           {"Label10", "2.000"},
            {"Label8", "Document Code :"},     {"Label12", "MN38591"},
            {"Label4", "www.zorvek.example"}};
        for (const auto& t : texts)
            QCOMPARE(about->findChild<QLabel*>(QLatin1String(t[0]))->text(), QLatin1String(t[1]));
        QTest::mouseClick(about->findChild<QLabel*>(QStringLiteral("Label4")), Qt::LeftButton);
        QTest::mouseClick(about->findChild<QLabel*>(QStringLiteral("Image2")), Qt::LeftButton);
        const QString page =
            QStringLiteral("http://www.zorvek.example/HOME/default.asp?frompg=SW38591");
        QCOMPARE(m_env->ui.openedUrls, (QStringList{page, page}));
        // Its hint names the keys of the main window.
        QCOMPARE(about->toolTip(), Msg(850));
        QVERIFY(about->toolTip().contains(QLatin1String("Alt+5")));
        QVERIFY(about->grab().save(Screenshot_Path(QStringLiteral("about.png"))));
        about->findChild<QPushButton*>(QStringLiteral("LbButton1"))->click();
        QCOMPARE(about->result(), int(QDialog::Accepted));
        QVERIFY(!about->isVisible());
        QCOMPARE(about->windowTitle(), QStringLiteral("About..."));
    }

    void screenshots()
    {
        start();
        QVERIFY(Forms.FTessaformeFirmWare->grab().save(
            Screenshot_Path(QStringLiteral("main_window_no_configuration.png"))));
        Destroy_Windows();
        start_with_configuration(ParGen_File("0"));
        QCOMPARE(label_("L_Name_Conf_L2")->text(), QStringLiteral("Line 1"));
        QVERIFY(Forms.FTessaformeFirmWare->grab().save(
            Screenshot_Path(QStringLiteral("main_window_configuration.png"))));
    }

private:
    void start()
    {
        Create_Windows(m_env->folder.path());
        m_env->ui.clear();
    }

    // A configuration `name`, active from start-up, with `parGen` as ParGen.xml (none if empty).
    void start_with_configuration(const QByteArray& parGen,
                                  const QString& name = QStringLiteral("Line 1"))
    {
        m_env->folder.write(QStringLiteral("Tessaform.xml"),
                        "<Conf_Settings><lastproj><projectname>" + name.toUtf8()
                            + "</projectname></lastproj></Conf_Settings>");
        QDir().mkpath(m_env->folder.file(QStringLiteral("PROJECTS/") + name));
        if (!parGen.isEmpty())
            m_env->folder.write(QStringLiteral("PROJECTS/") + name + QStringLiteral("/ParGen.xml"),
                            parGen);
        start();
        QVERIFY(!Shared.Conf_Dir.isEmpty());
    }

    QString bin(const char* file) const
    {
        return m_env->folder.file(QStringLiteral("PROJECTS/Line 1/bin/") + QLatin1String(file));
    }

    QPushButton* button(const QString& name) const
    {
        auto* b = Forms.FTessaformeFirmWare->findChild<QPushButton*>(name);
        if (!b)
            qFatal("no button %s", qPrintable(name));
        return b;
    }
    QLabel* label_(const char* name) const
    {
        auto* l = Forms.FTessaformeFirmWare->findChild<QLabel*>(QLatin1String(name));
        if (!l)
            qFatal("no label %s", name);
        return l;
    }

    std::unique_ptr<Window_Test_Env> m_env;
};

QTEST_MAIN(Tst_MainWindow)
#include "tst_mainwindow.moc"
