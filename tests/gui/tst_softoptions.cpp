#include "app/Settings.h"
#include "app/UComon.h"
#include "app/UTessaformeFirmWare.h"
#include "app/Windows.h"
#include "configurations/UNew_Project.h"
#include "language/ULanguage.h"
#include "options/USoftOptions.h"
#include "options/VersionCheck.h"
#include "support/FakeUi.h"
#include "support/LoopbackHttp.h"
#include "support/TestSupport.h"
#include "update/UBoot.h"

#include <QCheckBox>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QtTest>

#include <memory>

namespace {

const QString Shipped_Dir = QDir::cleanPath(QStringLiteral(TEST_DATA_DIR "/../../LANGUAGE"));

void Copy_Shipped(const Program_Folder& folder, const QStringList& names)
{
    for (const QString& n : names)
        folder.write(QStringLiteral("LANGUAGE/") + n, Read_All(Shipped_Dir + QLatin1Char('/') + n));
}

// A picture in one colour; its bottom-left pixel holds the colour drawn transparent.
QByteArray Flag_Bmp(QColor colour, int size = 48)
{
    QImage img(size, size, QImage::Format_RGB32);
    img.fill(colour);
    img.setPixelColor(0, size - 1, QColor(255, 0, 255));
    QByteArray bytes;
    QBuffer buf(&bytes);
    buf.open(QIODevice::WriteOnly);
    img.save(&buf, "BMP");
    return bytes;
}

template <typename T> T* Child(QWidget* w, const QString& name)
{
    T* c = w->findChild<T*>(name);
    if (!c)
        qFatal("no control %s", qPrintable(name));
    return c;
}

QLabel* Slot_Name(QWidget* w, int k)
{
    return Child<QLabel>(w, QStringLiteral("L_L%1").arg(k));
}
QLabel* Slot_Flag(QWidget* w, int k)
{
    return Child<QLabel>(w, QStringLiteral("I_L%1").arg(k));
}

} // namespace

class tst_softoptions : public QObject {
    Q_OBJECT

    std::unique_ptr<Program_Folder> m_folder;
    std::unique_ptr<TFSoftOptions> m_dialog;

    // The dialog on its own, over a fresh program folder.
    TFSoftOptions* Dialog()
    {
        m_dialog = std::make_unique<TFSoftOptions>(nullptr);
        return m_dialog.get();
    }
    void Write_Languages(const QStringList& names)
    {
        for (const QString& n : names)
            m_folder->write(QStringLiteral("LANGUAGE/") + n, "STR302 = x\r\n");
    }

private Q_SLOTS:
    void init()
    {
        m_folder = std::make_unique<Program_Folder>();
        Set_Program_Folders(m_folder->path());
        Shared.SW_Code = SW_Code_Text;
        Load_Default_Language();
    }
    void cleanup()
    {
        m_dialog.reset();
        Destroy_Windows();
        Version_Service_Url = Default_Version_Service_Url;
    }

    void paging_data()
    {
        QTest::addColumn<int>("files");
        QTest::addColumn<QStringList>("labels");    // page label of page 1, 2, ...
        QTest::addColumn<QList<int>>("slotsShown"); // per page
        QTest::newRow("seven") << 7 << QStringList{"Page 1 / 2", "Page 2 / 2"} << QList<int>{6, 1};
        QTest::newRow("six") << 6 << QStringList{"Page 1 / 1"} << QList<int>{6};
        QTest::newRow("none") << 0 << QStringList{"Page 1 / 0"} << QList<int>{0};
    }
    void paging()
    {
        QFETCH(int, files);
        QFETCH(QStringList, labels);
        QFETCH(QList<int>, slotsShown);
        QStringList names;
        for (int i = 0; i < files; ++i)
            names.append(QStringLiteral("Lang%1.lng").arg(i + 1));
        Write_Languages(names);
        TFSoftOptions* d = Dialog();
        d->show();
        auto* prev = Child<QPushButton>(d, QStringLiteral("Btn_Prev"));
        auto* next = Child<QPushButton>(d, QStringLiteral("Btn_Next"));
        auto* label = Child<QLabel>(d, QStringLiteral("L_Page_Lang"));
        const int pages = int(labels.size());
        for (int p = 1; p <= pages; ++p) {
            QCOMPARE(d->Show_Page, p);
            QCOMPARE(label->text(), labels.at(p - 1));
            QCOMPARE(prev->isHidden(), p == 1);
            // Without languages the next button stays, doing nothing.
            QCOMPARE(next->isHidden(), files > 0 && p == pages);
            for (int k = 1; k <= 6; ++k) {
                const bool shown = k <= slotsShown.at(p - 1);
                QCOMPARE(Slot_Name(d, k)->isHidden(), !shown);
                if (shown)
                    QCOMPARE(Slot_Name(d, k)->text(),
                             QStringLiteral("Lang%1").arg((p - 1) * 6 + k));
            }
            if (p < pages)
                QTest::mouseClick(next, Qt::LeftButton);
        }
        // Past the ends nothing moves.
        d->Btn_NextClick(next);
        QCOMPARE(d->Show_Page, pages);
        if (pages > 1) {
            QTest::mouseClick(prev, Qt::LeftButton);
            QCOMPARE(d->Show_Page, pages - 1);
            QCOMPARE(label->text(), labels.at(pages - 2));
        }
    }

    void namesSortedIgnoringCaseAndFlagsFallBack()
    {
        Write_Languages({"Italiano.lng", "english.lng", "Zulu.lng"});
        m_folder->write(QStringLiteral("LANGUAGE/Italiano.bmp"), Flag_Bmp(Qt::green, 96));
        m_folder->write(QStringLiteral("LANGUAGE/DefaultFlag.bmp"), Flag_Bmp(Qt::blue));
        TFSoftOptions* d = Dialog();
        d->show();
        QCOMPARE(d->SL_Languages, (QStringList{"english.lng", "Italiano.lng", "Zulu.lng"}));
        QCOMPARE(Slot_Name(d, 1)->text(), QStringLiteral("english"));
        QCOMPARE(Slot_Name(d, 2)->text(), QStringLiteral("Italiano"));
        const auto colour = [&](int k) {
            return Slot_Flag(d, k)->pixmap().toImage().pixelColor(24, 24);
        };
        QCOMPARE(colour(1), QColor(Qt::blue));
        QCOMPARE(colour(2), QColor(Qt::green));
        QCOMPARE(Slot_Flag(d, 2)->pixmap().size(), QSize(48, 48)); // scaled down to its place
        // The key colour of the bottom-left pixel is left out.
        QVERIFY(Slot_Flag(d, 1)->pixmap().toImage().pixelColor(0, 47).alpha() == 0);

        // Without DefaultFlag.bmp a language without picture shows only its name.
        QFile::remove(m_folder->file(QStringLiteral("LANGUAGE/DefaultFlag.bmp")));
        d->hide();
        d->show();
        QVERIFY(Slot_Flag(d, 1)->isHidden());
        QVERIFY(!Slot_Name(d, 1)->isHidden());
        QVERIFY(!Slot_Flag(d, 2)->isHidden());
    }

    void answeringNoChangesNothing()
    {
        Copy_Shipped(*m_folder, {"Italiano.lng"});
        Fake_Ui ui;
        ui.answers = {false};
        TFSoftOptions* d = Dialog();
        d->show();
        QTest::mouseClick(Slot_Name(d, 1), Qt::LeftButton);
        QCOMPARE(ui.texts(),
                 QStringList{"Do you want to change the Language from English to Italiano?"});
        QCOMPARE(d->Language_In_Use, QStringLiteral("English"));
        QCOMPARE(Msg(302), QStringLiteral("Language"));
        QCOMPARE(d->windowTitle(), QStringLiteral("Software Options"));
        QCOMPARE(Child<QLabel>(d, QStringLiteral("L_Sel_Lang"))->text(),
                 QStringLiteral("Selected Language : English"));
        QCOMPARE(Shared.Language_Name, QStringLiteral("English"));
    }

    // Yes shows the new language in every window at once; only OK makes it the lasting choice.
    void yesChangesTextsAtOnce_data()
    {
        QTest::addColumn<bool>("ok");
        QTest::newRow("Cancel") << false;
        QTest::newRow("OK") << true;
    }
    void yesChangesTextsAtOnce()
    {
        QFETCH(bool, ok);
        Copy_Shipped(*m_folder, {"English.lng", "Italiano.lng", "Italiano.bmp"});
        Fake_Ui ui;
        Create_Windows(m_folder->path());
        TFSoftOptions* d = Forms.FSoftOptions;
        QStringList seen; // texts while the dialog is open
        ui.onModal = [&](QDialog* dialog) {
            dialog->show();
            QTest::mouseClick(Slot_Flag(d, 2), Qt::LeftButton); // English, Italiano
            seen = QStringList{
                d->windowTitle(),
                Forms.FNew_Project->windowTitle(),
                Child<QLabel>(Forms.FTessaformeFirmWare, QStringLiteral("L_Begin"))->text(),
                Child<QLabel>(d, QStringLiteral("L_Sel_Lang"))->text(),
                Child<QLabel>(d, QStringLiteral("L_Page_Lang"))->text(),
                Shared.Language_Name};
            QTest::mouseClick(
                Child<QPushButton>(d, ok ? QStringLiteral("Btn_OK") : QStringLiteral("Btn_Cancel")),
                Qt::LeftButton);
            return dialog->result();
        };
        QCOMPARE(Ui().Show_Modal(d), ok ? int(QDialog::Accepted) : int(QDialog::Rejected));
        QCOMPARE(seen, (QStringList{"Opzioni Software", "Crea Nuova Configurazione", "Inizio",
                                    "Lingua selezionata : Italiano", "Pagina 1 / 1", "English"}));
        QCOMPARE(ui.texts(),
                 QStringList{"Do you want to change the Language from English to Italiano?"});
        QCOMPARE(Shared.Language_Name, ok ? QStringLiteral("Italiano") : QStringLiteral("English"));
        // Cancel puts back the texts of the language in force, in every window.
        const QStringList after{
            Msg(300),
            d->windowTitle(),
            Forms.FNew_Project->windowTitle(),
            Forms.FBoot->windowTitle(),
            Child<QLabel>(Forms.FTessaformeFirmWare, QStringLiteral("L_Begin"))->text(),
            Child<QLabel>(Forms.FTessaformeFirmWare, QStringLiteral("L_Name_Conf"))->text(),
            Child<QLabel>(Forms.FTessaformeFirmWare, QStringLiteral("L_Name_Conf_L2"))->text()};
        if (ok) {
            QCOMPARE(after, (QStringList{"Opzioni Software", "Opzioni Software",
                                         "Crea Nuova Configurazione",
                                         "Aggiorna Dispositivo tramite Ethernet (UDP)", "Inizio",
                                         "Nessuna Configurazione Aperta ",
                                         "Passo 1: aprire o creare una configurazione"}));
        } else {
            QCOMPARE(after, (QStringList{Default_Msg(300), Default_Msg(300), Default_Msg(100),
                                         Default_Msg(802), Default_Msg(0), Default_Msg(9),
                                         Default_Msg(10)}));
        }
    }

    // The language already in use is no change: no question, nothing loaded again.
    void clickingTheLanguageInUseAsksNothing()
    {
        Copy_Shipped(*m_folder, {"English.lng", "Italiano.lng"});
        Fake_Ui ui;
        Create_Windows(m_folder->path());
        Shared.Language_Name = QStringLiteral("Italiano");
        TFSoftOptions* d = Forms.FSoftOptions;
        Shared.Lang_Table[0] = QStringLiteral("marker"); // a reload would overwrite it
        ui.onModal = [&](QDialog* dialog) {
            dialog->show();
            QTest::mouseClick(Slot_Name(d, 2), Qt::LeftButton); // English, Italiano
            QTest::mouseClick(Child<QPushButton>(d, QStringLiteral("Btn_Cancel")),
                              Qt::LeftButton);
            return dialog->result();
        };
        Ui().Show_Modal(d);
        QCOMPARE(ui.texts(), QStringList());
        QCOMPARE(d->Language_In_Use, QStringLiteral("Italiano"));
        QCOMPARE(Msg(0), QStringLiteral("marker"));
        QCOMPARE(Shared.Language_Name, QStringLiteral("Italiano"));
    }

    void enablingFollowsTheBoxes_data()
    {
        QTest::addColumn<bool>("internet");
        QTest::addColumn<bool>("update");
        QTest::addColumn<bool>("updateEnabled");
        QTest::addColumn<bool>("checkEnabled");
        QTest::newRow("both") << true << true << true << true;
        QTest::newRow("internet only") << true << false << true << false;
        QTest::newRow("update only") << false << true << false << false;
        QTest::newRow("none") << false << false << false << false;
    }
    void enablingFollowsTheBoxes()
    {
        QFETCH(bool, internet);
        QFETCH(bool, update);
        QFETCH(bool, updateEnabled);
        QFETCH(bool, checkEnabled);
        Shared.Enable_Internet = internet;
        Shared.Enable_Update = update;
        TFSoftOptions* d = Dialog();
        d->show();
        auto* cbUpdate = Child<QCheckBox>(d, QStringLiteral("CB_Update"));
        QCOMPARE(Child<QCheckBox>(d, QStringLiteral("CB_En_Con"))->isChecked(), internet);
        QCOMPARE(cbUpdate->isChecked(), update); // a disabled box keeps its mark
        QCOMPARE(cbUpdate->isEnabled(), updateEnabled);
        QCOMPARE(Child<QPushButton>(d, QStringLiteral("Btn_Check_Update"))->isEnabled(),
                 checkEnabled);
    }

    void okStoresTheSwitches()
    {
        Shared.Enable_Internet = true;
        TFSoftOptions* d = Dialog();
        d->show();
        auto* internet = Child<QCheckBox>(d, QStringLiteral("CB_En_Con"));
        auto* update = Child<QCheckBox>(d, QStringLiteral("CB_Update"));
        QTest::mouseClick(update, Qt::LeftButton);
        QTest::mouseClick(internet, Qt::LeftButton);
        QVERIFY(!update->isEnabled());
        QVERIFY(update->isChecked());
        QTest::mouseClick(Child<QCheckBox>(d, QStringLiteral("CB_Soft_Set_Jump_Table")),
                          Qt::LeftButton);
        QTest::mouseClick(Child<QPushButton>(d, QStringLiteral("Btn_OK")), Qt::LeftButton);
        QCOMPARE(d->result(), int(QDialog::Accepted));
        QVERIFY(!Shared.Enable_Internet);
        QVERIFY(Shared.Enable_Update); // stored although disabled
        QVERIFY(Shared.Enable_Jump_Field_Tables);
        QVERIFY(!Shared.Double_Click_Auto_Size);

        // Cancel keeps the shared values; the next showing loads them again.
        d->show();
        QTest::mouseClick(Child<QCheckBox>(d, QStringLiteral("CB_DoubleClick_Auto_Size")),
                          Qt::LeftButton);
        QTest::mouseClick(Child<QPushButton>(d, QStringLiteral("Btn_Cancel")), Qt::LeftButton);
        QCOMPARE(d->result(), int(QDialog::Rejected));
        QVERIFY(!Shared.Double_Click_Auto_Size);
        d->show();
        QVERIFY(!Child<QCheckBox>(d, QStringLiteral("CB_DoubleClick_Auto_Size"))->isChecked());
    }

    void checkNow_data()
    {
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<bool>("newer");
        QTest::newRow("newer") << QByteArray("VER. 2.001") << true;
        QTest::newRow("same") << QByteArray("VER. 2.000") << false;
    }
    void checkNow()
    {
        QFETCH(QByteArray, answer);
        QFETCH(bool, newer);
        Loopback_Http server;
        server.reply = Loopback_Http::Ok(answer);
        Version_Service_Url = server.url();
        Shared.Enable_Internet = Shared.Enable_Update = true;
        Fake_Ui ui;
        TFSoftOptions* d = Dialog();
        d->show();
        auto* link = Child<QLabel>(d, QStringLiteral("LL_Check_Update"));
        QVERIFY(link->isHidden());
        QTest::mouseClick(Child<QPushButton>(d, QStringLiteral("Btn_Check_Update")),
                          Qt::LeftButton);
        QVERIFY(!link->isHidden());
        if (newer) {
            QCOMPARE(link->text(), Download_Link_Html(Msg(314)));
            Q_EMIT link->linkActivated(Download_Page_Url);
            QCOMPARE(ui.openedUrls, QStringList{Download_Page_Url});
        } else {
            QCOMPARE(link->text(), QStringLiteral("No Update Available"));
            QCOMPARE(link->textFormat(), Qt::PlainText);
        }
        QVERIFY(ui.boxes.isEmpty());
        d->hide();
        d->show();
        QVERIFY(link->isHidden());
    }

    void screenshots_data()
    {
        QTest::addColumn<QString>("language");
        QTest::newRow("English") << QStringLiteral("English");
        QTest::newRow("Italiano") << QStringLiteral("Italiano");
    }
    void screenshots()
    {
        QFETCH(QString, language);
        Copy_Shipped(*m_folder, QDir(Shipped_Dir).entryList(QDir::Files));
        Shared.Language_Name = language;
        Load_Language();
        Shared.Enable_Internet = Shared.Enable_Update = true;
        Loopback_Http server;
        server.reply = Loopback_Http::Ok("VER. 2.001");
        Version_Service_Url = server.url();
        TFSoftOptions* d = Dialog();
        d->show();
        QTest::mouseClick(Child<QPushButton>(d, QStringLiteral("Btn_Check_Update")),
                          Qt::LeftButton);
        auto* tabs = Child<QTabWidget>(d, QStringLiteral("PC_Options"));
        const QStringList names = {"Language", "Connection", "Settings"};
        for (int i = 0; i < tabs->count(); ++i) {
            tabs->setCurrentIndex(i);
            QVERIFY(d->grab().save(
                Screenshot_Path(QStringLiteral("SoftOptions_%1_%2.png").arg(language, names[i]))));
        }
    }
};

QTEST_MAIN(tst_softoptions)
#include "tst_softoptions.moc"
