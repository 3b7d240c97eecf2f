#include "app/UComon.h"
#include "app/UTessaformeFirmWare.h"
#include "app/Windows.h"
#include "configurations/UNew_Project.h"
#include "configurations/UOpenConf.h"
#include "language/ULanguage.h"
#include "support/FakeUi.h"
#include "support/TestSupport.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QInputDialog>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QTest>

class Tst_ConfigDialogs final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        m_env = std::make_unique<Window_Test_Env>();
        // A deleted configuration goes to the trash of this test's own home.
        QDir().mkpath(m_env->folder.file(QStringLiteral("home/.local/share")));
        qputenv("HOME", QFile::encodeName(m_env->folder.file(QStringLiteral("home"))));
        qputenv("XDG_DATA_HOME",
                QFile::encodeName(m_env->folder.file(QStringLiteral("home/.local/share"))));
        m_typed.clear();
        m_prompts.clear();
    }
    void cleanup() { m_env.reset(); }

    void create_line_1_in_an_empty_folder()
    {
        start();
        QDialog* dialog = Forms.FNew_Project;
        QSize size;
        QWidget* focus = nullptr;
        QPixmap shot;
        m_env->ui.onModal = [&](QDialog* d) {
            d->show();
            size = d->size();
            focus = d->focusWidget();
            QTest::keyClicks(edit(), QStringLiteral("Line 1"));
            shot = d->grab();
            QTest::mouseClick(dialog_button(d, "Btn_OK"), Qt::LeftButton);
            return d->result();
        };
        main_button("Btn_New")->click();

        QCOMPARE(size, QSize(331, 162));
        QCOMPARE(focus, edit());
        QVERIFY(shot.save(Screenshot_Path(QStringLiteral("new_configuration.png"))));
        QVERIFY(m_env->ui.boxes.isEmpty());
        QVERIFY(!dialog->isVisible());
        QVERIFY(QFileInfo(m_env->folder.file(QStringLiteral("PROJECTS/Line 1/bin"))).isDir());
        const QString dir = Shared.Dir_Projects + QStringLiteral("/Line 1");
        QCOMPARE(Shared.Conf_Name, QStringLiteral("Line 1"));
        QCOMPARE(Shared.Conf_Dir, dir);
        QCOMPARE(Shared.File_ParGen, dir + QStringLiteral("/ParGen.xml"));
        QCOMPARE(Shared.File_Receive_Frame, dir + QStringLiteral("/Receive_Frame.xml"));
        QCOMPARE(Shared.File_Send_Frame, dir + QStringLiteral("/Send_Frame.xml"));
        QCOMPARE(main_label("L_Name_Conf")->text(), Msg(11));
        QCOMPARE(main_label("L_Name_Conf_L2")->text(), QStringLiteral("Line 1"));
    }

    void create_refuses_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("byEnter");
        QTest::addColumn<int>("message");
        QTest::newRow("empty, button") << QString() << false << 107;
        QTest::newRow("empty, Enter") << QString() << true << 107;
        QTest::newRow("existing") << QStringLiteral("Plant") << false << 106;
        QTest::newRow("existing, Enter") << QStringLiteral("Plant") << true << 106;
        QTest::newRow("separator") << QStringLiteral("../Plant2") << false << 105;
        QTest::newRow("backslash") << QStringLiteral("a\\b") << true << 105;
        QTest::newRow("dot dot") << QStringLiteral("..") << false << 105;
        QTest::newRow("dot") << QStringLiteral(".") << false << 105;
    }
    void create_refuses()
    {
        QFETCH(QString, typed);
        QFETCH(bool, byEnter);
        QFETCH(int, message);
        QDir().mkpath(m_env->folder.file(QStringLiteral("PROJECTS/Plant")));
        start();
        const QStringList before = all_entries();
        m_env->ui.onModal = [&](QDialog* d) {
            d->show();
            QTest::keyClicks(edit(), typed);
            if (byEnter)
                QTest::keyClick(edit(), Qt::Key_Return);
            else
                QTest::mouseClick(dialog_button(d, "Btn_OK"), Qt::LeftButton);
            // Refused: the dialog stays open with the name as typed.
            [&] {
                QVERIFY(d->isVisible());
                QCOMPARE(edit()->text(), typed);
            }();
            dialog_button(d, "Btn_Cancel")->click();
            return d->result();
        };
        main_button("Btn_New")->click();

        QCOMPARE(m_env->ui.boxes.size(), 1); // one key press, one attempt
        QCOMPARE(m_env->ui.boxes[0].kind, Fake_Ui::Kind::Error);
        QCOMPARE(m_env->ui.boxes[0].text, Msg(message));
        QCOMPARE(all_entries(), before);
        QVERIFY(Shared.Conf_Dir.isEmpty());
        QCOMPARE(main_label("L_Name_Conf")->text(), Msg(9));
    }

    // A name the settings file could not give back, pasted in, is refused like any invalid
    // name; a missing PROJECTS folder is named as the reason, not blamed on the name.
    void create_refuses_with_the_reason_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("projectsMissing");
        QTest::addColumn<int>("message");
        QTest::newRow("control character") << QStringLiteral("A\x01" "B") << false << 105;
        QTest::newRow("line feed") << QStringLiteral("A\nB") << false << 105;
        QTest::newRow("projects folder missing") << QStringLiteral("Line 1") << true << 112;
    }
    void create_refuses_with_the_reason()
    {
        QFETCH(QString, name);
        QFETCH(bool, projectsMissing);
        QFETCH(int, message);
        start();
        if (projectsMissing)
            QVERIFY(QDir(Shared.Dir_Projects).removeRecursively());
        const QStringList before = all_entries();
        m_env->ui.onModal = [&](QDialog* d) {
            d->show();
            edit()->setText(name);
            dialog_button(d, "Btn_OK")->click();
            [&] { QVERIFY(d->isVisible()); }();
            dialog_button(d, "Btn_Cancel")->click();
            return d->result();
        };
        main_button("Btn_New")->click();
        const QString expected = projectsMissing
                                     ? Msg(message) + QDir::toNativeSeparators(Shared.Dir_Projects)
                                     : Msg(message);
        QCOMPARE(m_env->ui.texts(), QStringList{expected});
        QCOMPARE(all_entries(), before);
        QVERIFY(Shared.Conf_Dir.isEmpty());
    }

    void create_existing_name_in_other_case()
    {
        QDir().mkpath(m_env->folder.file(QStringLiteral("PROJECTS/Plant")));
        const bool ignoresCase =
            QFileInfo(m_env->folder.file(QStringLiteral("PROJECTS/PLANT"))).isDir();
        start();
        m_env->ui.onModal = [&](QDialog* d) {
            d->show();
            QTest::keyClicks(edit(), QStringLiteral("PLANT"));
            QTest::keyClick(edit(), Qt::Key_Return);
            if (d->isVisible())
                d->reject();
            return d->result();
        };
        main_button("Btn_New")->click();
        if (ignoresCase)
            QCOMPARE(m_env->ui.texts(), QStringList{Msg(106)});
        else
            QCOMPARE(Shared.Conf_Name, QStringLiteral("PLANT"));
    }

    void create_clears_the_name_at_each_showing_and_cancel_changes_nothing()
    {
        m_env->folder.write(QStringLiteral("Tessaform.xml"),
                        "<Conf_Settings><lastproj><projectname>Plant</projectname></lastproj>"
                        "</Conf_Settings>");
        QDir().mkpath(m_env->folder.file(QStringLiteral("PROJECTS/Plant")));
        start();
        const Shared_State before = Shared;
        QStringList seen;
        m_env->ui.onModal = [&](QDialog* d) {
            d->show();
            seen.append(edit()->text());
            QTest::keyClicks(edit(), QStringLiteral("Other"));
            dialog_button(d, "Btn_Cancel")->click();
            return d->result();
        };
        main_button("Btn_New")->click();
        main_button("Btn_New")->click();
        QCOMPARE(seen, (QStringList{QString(), QString()}));
        QVERIFY(!QFileInfo::exists(m_env->folder.file(QStringLiteral("PROJECTS/Other"))));
        QCOMPARE(Shared.Conf_Dir, before.Conf_Dir);
        QCOMPARE(Shared.File_ParGen, before.File_ParGen);
        QCOMPARE(main_label("L_Name_Conf")->text(), Msg(11));
        QCOMPARE(main_label("L_Name_Conf_L2")->text(), QStringLiteral("Plant"));
    }

    void open_preselects_the_active_configuration_ignoring_case()
    {
        QDir().mkpath(m_env->folder.file(QStringLiteral("PROJECTS/Alpha")));
        QDir().mkpath(m_env->folder.file(QStringLiteral("PROJECTS/PLANT")));
        m_env->folder.write(QStringLiteral("PROJECTS/plant.txt"), "not a folder");
        start();
        Shared.Conf_Name = QStringLiteral("plant");
        Shared.Conf_Dir = Shared.Dir_Projects + QStringLiteral("/plant");
        m_env->ui.onModal = [](QDialog* d) {
            d->show(); // left open for the checks below
            return -1;
        };
        main_button("Btn_Open")->click();
        TFOpenConf* d = Forms.FOpenConf;
        QCOMPARE(d->size(), QSize(377, 351));
        QStringList listed;
        for (int i = 0; i < list()->count(); ++i)
            listed.append(list()->item(i)->text());
        listed.sort();
        QCOMPARE(listed, (QStringList{QStringLiteral("Alpha"), QStringLiteral("PLANT")}));
        QCOMPARE(list()->currentItem()->text(), QStringLiteral("PLANT"));
        QCOMPARE(list()->selectedItems().size(), 1);
        QCOMPARE(d->Name_Conf, QStringLiteral("PLANT"));
        QVERIFY(d->grab().save(Screenshot_Path(QStringLiteral("open_configuration.png"))));
        m_env->ui.onModal = [](QDialog* d) {
            d->show();
            dialog_button(d, "Btn_OK")->click();
            return d->result();
        };
        main_button("Btn_Open")->click();
        QCOMPARE(Shared.Conf_Name, QStringLiteral("PLANT"));
        QCOMPARE(Shared.Conf_Dir, Shared.Dir_Projects + QStringLiteral("/PLANT"));
        QCOMPARE(Shared.File_Send_Frame,
                 Shared.Dir_Projects + QStringLiteral("/PLANT/Send_Frame.xml"));
        QCOMPARE(main_label("L_Name_Conf")->text(), Msg(11));
        QCOMPARE(main_label("L_Name_Conf_L2")->text(), QStringLiteral("PLANT"));
    }

    // The exact name wins over one in other case; hidden folders and links leading out of
    // PROJECTS are no configurations.
    void open_prefers_the_exact_name_and_lists_only_configurations()
    {
        for (const char* name : {"PLANT", "plant", ".hidden"})
            QDir().mkpath(m_env->folder.file(QStringLiteral("PROJECTS/") + QLatin1String(name)));
        QDir().mkpath(m_env->folder.file(QStringLiteral("elsewhere")));
        QVERIFY(QFile::link(m_env->folder.file(QStringLiteral("elsewhere")),
                            m_env->folder.file(QStringLiteral("PROJECTS/Out"))));
        start();
        Shared.Conf_Name = QStringLiteral("plant");
        Shared.Conf_Dir = Shared.Dir_Projects + QStringLiteral("/plant");
        m_env->ui.onModal = [](QDialog* d) {
            d->show();
            return -1;
        };
        main_button("Btn_Open")->click();
        QStringList listed;
        for (int i = 0; i < list()->count(); ++i)
            listed.append(list()->item(i)->text());
        listed.sort();
        QCOMPARE(listed, (QStringList{QStringLiteral("PLANT"), QStringLiteral("plant")}));
        QCOMPARE(list()->currentItem()->text(), QStringLiteral("plant"));
        QCOMPARE(Forms.FOpenConf->Name_Conf, QStringLiteral("plant"));
    }

    void open_without_active_configuration_preselects_the_first_and_a_click_chooses()
    {
        for (const char* name : {"Alpha", "Beta", "Gamma"})
            QDir().mkpath(m_env->folder.file(QStringLiteral("PROJECTS/") + QLatin1String(name)));
        start();
        QString first, clicked;
        m_env->ui.onModal = [&](QDialog* d) {
            d->show();
            first = list()->item(0)->text();
            [&] { QCOMPARE(list()->currentRow(), 0); }();
            QListWidgetItem* third = list()->item(2);
            clicked = third->text();
            QTest::mouseClick(list()->viewport(), Qt::LeftButton, {},
                              list()->visualItemRect(third).center());
            dialog_button(d, "Btn_OK")->click();
            return d->result();
        };
        main_button("Btn_Open")->click();
        QVERIFY(!first.isEmpty());
        QCOMPARE(Forms.FOpenConf->Name_Conf, clicked);
        QCOMPARE(Shared.Conf_Name, clicked);
        QCOMPARE(main_label("L_Name_Conf_L2")->text(), clicked);
    }

    void open_ok_on_an_empty_list_leaves_no_configuration_active()
    {
        // Made active, then deleted behind the program's back.
        QDir().mkpath(m_env->folder.file(QStringLiteral("PROJECTS/Gone")));
        m_env->folder.write(QStringLiteral("Tessaform.xml"),
                        "<Conf_Settings><lastproj><projectname>Gone</projectname></lastproj>"
                        "</Conf_Settings>");
        start();
        QCOMPARE(main_label("L_Name_Conf")->text(), Msg(11));
        QVERIFY(QDir(m_env->folder.file(QStringLiteral("PROJECTS/Gone"))).removeRecursively());
        m_env->ui.onModal = [&](QDialog* d) {
            d->show();
            [&] { QCOMPARE(list()->count(), 0); }();
            dialog_button(d, "Btn_OK")->click();
            return d->result();
        };
        main_button("Btn_Open")->click();
        QVERIFY(Shared.Conf_Name.isEmpty());
        QVERIFY(Shared.Conf_Dir.isEmpty());
        QCOMPARE(main_label("L_Name_Conf")->text(), Msg(9));
        QCOMPARE(main_label("L_Name_Conf_L2")->text(), Msg(10));
    }

    void open_keeps_the_chosen_name_between_showings()
    {
        QDir().mkpath(m_env->folder.file(QStringLiteral("PROJECTS/Alpha")));
        start();
        m_env->ui.onModal = [&](QDialog* d) {
            d->show();
            dialog_button(d, "Btn_Cancel")->click();
            return d->result();
        };
        main_button("Btn_Open")->click();
        QVERIFY(Shared.Conf_Dir.isEmpty()); // Cancel activates nothing
        QCOMPARE(Forms.FOpenConf->Name_Conf, QStringLiteral("Alpha"));

        QVERIFY(QDir(m_env->folder.file(QStringLiteral("PROJECTS/Alpha"))).removeRecursively());
        m_env->ui.onModal = [&](QDialog* d) {
            d->show();
            dialog_button(d, "Btn_OK")->click();
            return d->result();
        };
        main_button("Btn_Open")->click();
        QCOMPARE(Shared.Conf_Name, QStringLiteral("Alpha"));
    }

    void open_cancel_changes_nothing()
    {
        QDir().mkpath(m_env->folder.file(QStringLiteral("PROJECTS/Alpha")));
        QDir().mkpath(m_env->folder.file(QStringLiteral("PROJECTS/Plant")));
        m_env->folder.write(QStringLiteral("Tessaform.xml"),
                        "<Conf_Settings><lastproj><projectname>Plant</projectname></lastproj>"
                        "</Conf_Settings>");
        start();
        m_env->ui.onModal = [&](QDialog* d) {
            d->show();
            list()->setCurrentRow(list()->currentRow() == 0 ? 1 : 0);
            dialog_button(d, "Btn_Cancel")->click();
            return d->result();
        };
        main_button("Btn_Open")->click();
        QCOMPARE(Shared.Conf_Name, QStringLiteral("Plant"));
        QCOMPARE(Shared.Conf_Dir, Shared.Dir_Projects + QStringLiteral("/Plant"));
        QCOMPARE(main_label("L_Name_Conf_L2")->text(), QStringLiteral("Plant"));
    }

    void open_list_follows_the_window()
    {
        start();
        TFOpenConf* d = Forms.FOpenConf;
        d->show();
        const QRect before = list()->geometry();
        const QRect ok = dialog_button(d, "Btn_OK")->geometry();
        d->resize(d->width() + 100, d->height() + 60);
        QTest::qWait(0);
        d->layout()->activate();
        QCOMPARE(list()->geometry().size(), before.size() + QSize(100, 60));
        QCOMPARE(list()->geometry().topLeft(), before.topLeft());
        QCOMPARE(dialog_button(d, "Btn_OK")->geometry().right(), ok.right() + 100);
        d->hide();
    }


    void manage_lists_sorted_and_says_where_the_configurations_are()
    {
        make(QStringList{"beta", "Plant", "ALPHA", "alpha 2", "line 10"});
        start();
        QStringList listed;
        QString folderTip;
        drive([&](QDialog* d) {
            listed = shown();
            folderTip = d->findChild<QLabel*>(QStringLiteral("L_Projects_Dir"))->toolTip();
            QVERIFY(d->grab().save(Screenshot_Path(QStringLiteral("open_configuration_manage.png"))));
        });
        QCOMPARE(listed, (QStringList{"ALPHA", "alpha 2", "beta", "line 10", "Plant"}));
        QCOMPARE(folderTip, Msg(122) + QDir::toNativeSeparators(Shared.Dir_Projects));
    }

    // Typing narrows the list; Down goes into it, Enter opens what is chosen there.
    void filter_narrows_and_the_keyboard_opens_data()
    {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QStringList>("visible");
        QTest::addColumn<int>("downs");
        QTest::addColumn<QString>("opened"); // empty: Enter opens nothing
        QTest::newRow("one match") << "gam" << QStringList{"Gamma"} << 1 << "Gamma";
        QTest::newRow("ignoring case") << "PL" << QStringList{"Plant", "plant 2"} << 1 << "Plant";
        QTest::newRow("second match") << "pl" << QStringList{"Plant", "plant 2"} << 2 << "plant 2";
        QTest::newRow("Enter in the filter") << "ta" << QStringList{"Beta"} << 0 << "Beta";
        QTest::newRow("no match") << "zz" << QStringList{} << 1 << "";
    }
    void filter_narrows_and_the_keyboard_opens()
    {
        QFETCH(QString, filter);
        QFETCH(QStringList, visible);
        QFETCH(int, downs);
        QFETCH(QString, opened);
        make(QStringList{"Beta", "Gamma", "Plant", "plant 2"});
        start();
        QStringList seen;
        drive([&](QDialog* d) {
            QLineEdit* box = d->findChild<QLineEdit*>(QStringLiteral("E_Filter"));
            box->setFocus();
            QTest::keyClicks(box, filter);
            seen = shown();
            for (int i = 0; i < downs; ++i)
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
            if (downs > 0)
                QCOMPARE(QApplication::focusWidget(), list());
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        });
        QCOMPARE(seen, visible);
        QCOMPARE(Shared.Conf_Name, opened);
        QCOMPARE(main_label("L_Name_Conf_L2")->text(), opened.isEmpty() ? Msg(10) : opened);
    }

    void double_click_opens()
    {
        make(QStringList{"Alpha", "Beta"});
        start();
        drive([&](QDialog*) {
            const QPoint beta = list()->visualItemRect(list()->item(1)).center();
            // The press of a double click comes first, as from a real mouse.
            QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, beta);
            QTest::mouseDClick(list()->viewport(), Qt::LeftButton, {}, beta);
        });
        QCOMPARE(Shared.Conf_Name, QStringLiteral("Beta"));
        QCOMPARE(main_label("L_Name_Conf")->text(), Msg(11));
    }

    void duplicate_makes_a_copy_without_images_and_shows_it()
    {
        make(QStringList{"Plant"});
        m_env->folder.write(QStringLiteral("PROJECTS/Plant/ParGen.xml"), "<Par_Gen/>");
        m_env->folder.write(QStringLiteral("PROJECTS/Plant/bin/bank1.bin"), "b1");
        m_env->folder.write(QStringLiteral("PROJECTS/Plant/New_sx38591.sx"), "S0");
        start();
        m_typed = {QStringLiteral("Plant copy")};
        QStringList after;
        QString current;
        drive([&](QDialog* d) {
            dialog_button(d, "Btn_Duplicate")->click();
            after = shown();
            current = list()->currentItem()->text();
        });
        QCOMPARE(m_prompts, QStringList{Msg(124) + QStringLiteral("Plant")});
        QVERIFY(m_env->ui.boxes.isEmpty());
        QCOMPARE(after, (QStringList{"Plant", "Plant copy"}));
        QCOMPARE(current, QStringLiteral("Plant copy"));
        QCOMPARE(m_env->folder.read(QStringLiteral("PROJECTS/Plant copy/ParGen.xml")),
                 QByteArray("<Par_Gen/>"));
        QVERIFY(QDir(m_env->folder.file(QStringLiteral("PROJECTS/Plant copy/bin"))).isEmpty());
        QVERIFY(!QFileInfo::exists(m_env->folder.file(QStringLiteral("PROJECTS/Plant copy/New_sx38591.sx"))));
        QVERIFY(Shared.Conf_Dir.isEmpty()); // a copy opens nothing
    }

    // A refused name is shown and asked again as typed; cancelling then changes nothing.
    void duplicate_and_rename_refuse_a_name_data()
    {
        QTest::addColumn<QByteArray>("button");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("message");
        for (const char* button : {"Btn_Duplicate", "Btn_Rename"}) {
            QTest::addRow("%s: empty", button) << QByteArray(button) << QString() << 107;
            QTest::addRow("%s: existing", button) << QByteArray(button) << "Other" << 106;
            QTest::addRow("%s: separator", button) << QByteArray(button) << "a/b" << 105;
            QTest::addRow("%s: dot dot", button) << QByteArray(button) << ".." << 105;
        }
    }
    void duplicate_and_rename_refuse_a_name()
    {
        QFETCH(QByteArray, button);
        QFETCH(QString, typed);
        QFETCH(int, message);
        make(QStringList{"Other", "Plant"});
        start();
        const QStringList before = all_entries();
        m_typed = {typed}; // then the prompt is cancelled
        drive([&](QDialog* d) {
            list()->setCurrentRow(1);
            dialog_button(d, button.constData())->click();
        });
        QCOMPARE(m_env->ui.texts(), QStringList{Msg(message)});
        QCOMPARE(m_prompts.size(), 2);
        QCOMPARE(m_shownText.value(1), typed);
        QCOMPARE(all_entries(), before);
    }

    // Renaming the active configuration keeps it active under the new name: the main window
    // and the settings file follow.
    void rename_the_active_configuration()
    {
        make(QStringList{"Plant", "Other"});
        m_env->folder.write(QStringLiteral("Tessaform.xml"),
                        "<Conf_Settings><lastproj><projectname>Plant</projectname></lastproj>"
                        "</Conf_Settings>");
        start();
        m_typed = {QStringLiteral("Line 7")};
        QStringList after;
        drive([&](QDialog* d) {
            QCOMPARE(list()->currentItem()->text(), QStringLiteral("Plant"));
            QTest::keyClick(list(), Qt::Key_F2);
            after = shown();
            dialog_button(d, "Btn_Cancel")->click();
        });
        QCOMPARE(m_prompts, QStringList{Msg(126) + QStringLiteral("Plant")});
        QCOMPARE(after, (QStringList{"Line 7", "Other"}));
        QCOMPARE(Shared.Conf_Name, QStringLiteral("Line 7"));
        QCOMPARE(Shared.File_ParGen, Shared.Dir_Projects + QStringLiteral("/Line 7/ParGen.xml"));
        QCOMPARE(main_label("L_Name_Conf_L2")->text(), QStringLiteral("Line 7"));
        Forms.FTessaformeFirmWare->close();
        QVERIFY(m_env->folder.read(QStringLiteral("Tessaform.xml"))
                    .contains("<projectname>Line 7</projectname>"));
    }

    void delete_asks_naming_the_configuration_data()
    {
        QTest::addColumn<bool>("yes");
        QTest::addColumn<bool>("active");
        QTest::newRow("Yes") << true << false;
        QTest::newRow("No") << false << false;
        QTest::newRow("Yes, the open one") << true << true;
        QTest::newRow("No, the open one") << false << true;
    }
    void delete_asks_naming_the_configuration()
    {
        QFETCH(bool, yes);
        QFETCH(bool, active);
        make(QStringList{"Alpha", "Plant"});
        m_env->folder.write(QStringLiteral("PROJECTS/Plant/ParGen.xml"), "<Par_Gen/>");
        m_env->folder.write(QStringLiteral("Tessaform.xml"),
                        active ? "<Conf_Settings><lastproj><projectname>Plant</projectname>"
                                 "</lastproj></Conf_Settings>"
                               : "<Conf_Settings/>");
        start();
        m_env->ui.answers = {yes};
        QStringList after;
        drive([&](QDialog* d) {
            list()->setCurrentRow(1);
            dialog_button(d, "Btn_Delete")->click();
            after = shown();
            dialog_button(d, "Btn_Cancel")->click();
        });
        QCOMPARE(m_env->ui.boxes.size(), 1);
        QCOMPARE(m_env->ui.boxes[0].kind, Fake_Ui::Kind::Confirm);
        QCOMPARE(m_env->ui.boxes[0].text, Msg(active ? 129 : 127) + QStringLiteral("Plant") + Msg(128));
        QCOMPARE(after, yes ? QStringList{"Alpha"} : (QStringList{"Alpha", "Plant"}));
        QCOMPARE(QFileInfo::exists(m_env->folder.file(QStringLiteral("PROJECTS/Plant"))), !yes);
        if (yes) // into the trash, not lost
            QCOMPARE(m_env->folder.read(QStringLiteral("home/.local/share/Trash/files/Plant/ParGen.xml")),
                     QByteArray("<Par_Gen/>"));
        const bool stillActive = active && !yes;
        QCOMPARE(Shared.Conf_Dir.isEmpty(), !stillActive);
        QCOMPARE(main_label("L_Name_Conf")->text(), stillActive ? Msg(11) : Msg(9));
    }

    // On a case-sensitive file system PLANT is a name of its own, so a copy under it is made;
    // where case is ignored it is the same folder and refused with message 106.
    void duplicate_under_a_name_in_other_case()
    {
        make(QStringList{"Plant"});
        const bool ignoresCase = QFileInfo(m_env->folder.file(QStringLiteral("PROJECTS/PLANT"))).isDir();
        start();
        m_typed = {QStringLiteral("PLANT")};
        QStringList after;
        drive([&](QDialog* d) {
            dialog_button(d, "Btn_Duplicate")->click();
            after = shown();
        });
        if (ignoresCase) {
            QCOMPARE(m_env->ui.texts(), QStringList{Msg(106)});
        } else {
            QVERIFY(m_env->ui.boxes.isEmpty());
            QCOMPARE(after, (QStringList{"PLANT", "Plant"}));
        }
    }

    void context_menu_holds_the_commands()
    {
        make(QStringList{"Plant"});
        start();
        QStringList texts;
        drive([&](QDialog*) {
            QCOMPARE(list()->contextMenuPolicy(), Qt::ActionsContextMenu);
            for (QAction* a : list()->actions())
                texts.append(a->text());
        });
        QCOMPARE(texts, (QStringList{Msg(119), Msg(113), Msg(114), Msg(115)}));
    }

    void texts_of_both_dialogs()
    {
        start();
        QCOMPARE(Forms.FNew_Project->windowTitle(), Msg(100));
        QCOMPARE(Forms.FOpenConf->windowTitle(), Msg(200));
        const struct {
            QDialog* dialog;
            const char* name;
            int caption, hint;
        } texts[] = {
            {Forms.FNew_Project, "L_SW_Desc", 101, -1},
            {Forms.FNew_Project, "Label1", 102, -1},
            {Forms.FNew_Project, "Btn_OK", 103, 109},
            {Forms.FNew_Project, "Btn_Cancel", 104, 110},
            {Forms.FNew_Project, "E_New_Proj", -1, 108},
            {Forms.FOpenConf, "L_SW_Desc", 201, -1},
            {Forms.FOpenConf, "Label1", 202, -1},
            {Forms.FOpenConf, "Btn_OK", 203, 206},
            {Forms.FOpenConf, "Btn_Cancel", 204, 207},
            {Forms.FOpenConf, "ListBox1", -1, 205},
            {Forms.FOpenConf, "Btn_Duplicate", 113, 116},
            {Forms.FOpenConf, "Btn_Rename", 114, 117},
            {Forms.FOpenConf, "Btn_Delete", 115, 118},
            {Forms.FOpenConf, "E_Filter", -1, 120},
        };
        for (const auto& t : texts) {
            QWidget* w = t.dialog->findChild<QWidget*>(QLatin1String(t.name));
            QVERIFY2(w, t.name);
            if (t.caption >= 0)
                QCOMPARE(w->property("text").toString(), Msg(t.caption));
            if (t.hint >= 0)
                QCOMPARE(w->toolTip(), Msg(t.hint));
        }
        for (QDialog* d :
             {static_cast<QDialog*>(Forms.FNew_Project), static_cast<QDialog*>(Forms.FOpenConf)})
            QCOMPARE(d->findChild<QLabel*>(QStringLiteral("L_SW_Code"))->text(),
                     QStringLiteral("SW38591"));
    }

private:
    void make(const QStringList& names) const
    {
        for (const QString& n : names)
            QDir().mkpath(m_env->folder.file(QStringLiteral("PROJECTS/") + n));
    }
    // Shows the open dialog from the main window, runs `body` in it and cancels it if still
    // open. Name prompts are answered from m_typed (Enter), then cancelled.
    void drive(const std::function<void(QDialog*)>& body)
    {
        m_shownText.clear();
        m_env->ui.onModal = [this, body](QDialog* d) {
            if (d->objectName() == QLatin1String("FConf_Name")) {
                auto* ask = static_cast<QInputDialog*>(d);
                m_prompts.append(ask->labelText());
                m_shownText.append(ask->textValue());
                if (m_typed.isEmpty())
                    return int(QDialog::Rejected);
                d->show();
                QLineEdit* edit = d->findChild<QLineEdit*>();
                const QString typed = m_typed.takeFirst();
                d->grab().save(Screenshot_Path(QStringLiteral("configuration_name.png")));
                edit->selectAll();
                if (typed.isEmpty())
                    QTest::keyClick(edit, Qt::Key_Delete);
                else
                    QTest::keyClicks(edit, typed);
                QTest::keyClick(edit, Qt::Key_Return);
                const int result = d->result();
                d->hide();
                return result;
            }
            d->show();
            d->activateWindow();
            [&] { QVERIFY(QTest::qWaitForWindowActive(d)); }();
            body(d);
            if (d->isVisible())
                d->reject();
            return d->result();
        };
        main_button("Btn_Open")->click();
    }
    // The names the list shows, in its order.
    static QStringList shown()
    {
        QStringList out;
        for (int i = 0; i < list()->count(); ++i) {
            if (!list()->item(i)->isHidden())
                out.append(list()->item(i)->text());
        }
        return out;
    }
    void start()
    {
        Create_Windows(m_env->folder.path());
        m_env->ui.clear();
    }
    QStringList all_entries() const
    {
        QStringList out;
        QDirIterator it(m_env->folder.path(), QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                        QDirIterator::Subdirectories);
        while (it.hasNext())
            out.append(it.next());
        out.sort();
        return out;
    }
    static QLineEdit* edit()
    {
        return Forms.FNew_Project->findChild<QLineEdit*>(QStringLiteral("E_New_Proj"));
    }
    static QListWidget* list()
    {
        return Forms.FOpenConf->findChild<QListWidget*>(QStringLiteral("ListBox1"));
    }
    static QPushButton* dialog_button(QWidget* d, const char* name)
    {
        return d->findChild<QPushButton*>(QLatin1String(name));
    }
    static QPushButton* main_button(const char* name)
    {
        return Forms.FTessaformeFirmWare->findChild<QPushButton*>(QLatin1String(name));
    }
    static QLabel* main_label(const char* name)
    {
        return Forms.FTessaformeFirmWare->findChild<QLabel*>(QLatin1String(name),
                                                             Qt::FindDirectChildrenOnly);
    }

    std::unique_ptr<Window_Test_Env> m_env;
    QStringList m_typed;     // names typed into the name prompts, in order
    QStringList m_prompts;   // the prompt of each name prompt shown
    QStringList m_shownText; // the name each prompt was shown with
};

QTEST_MAIN(Tst_ConfigDialogs)
#include "tst_configdialogs.moc"
