#include "app/UComon.h"
#include "app/UTessaformeFirmWare.h"
#include "app/Windows.h"
#include "language/ULanguage.h"
#include "options/USoftOptions.h"
#include "options/UpdateTimer.h"
#include "options/VersionCheck.h"
#include "support/FakeUi.h"
#include "support/LoopbackHttp.h"
#include "support/TestSupport.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

namespace {

QByteArray Settings_With(bool internet, bool update, const QString& language = "English")
{
    return "<Conf_Settings><lastlang><language>" + language.toUtf8() +
           "</language></lastlang><lastinternet><enable_internet>" +
           QByteArray(internet ? "1" : "0") + "</enable_internet><enable_update>" +
           QByteArray(update ? "1" : "0") + "</enable_update></lastinternet></Conf_Settings>";
}

template <typename T> T* Child(QObject* w, const char* name)
{
    T* c = w->findChild<T*>(QLatin1String(name));
    if (!c)
        qFatal("no control %s", name);
    return c;
}

} // namespace

// The main window's look-up for a newer version and its link.
class tst_updatelink : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void cleanup()
    {
        Destroy_Windows();
        Version_Service_Url = Default_Version_Service_Url;
    }

    void timerAtStartUp_data()
    {
        QTest::addColumn<bool>("internet");
        QTest::addColumn<bool>("update");
        QTest::newRow("both") << true << true;
        QTest::newRow("internet only") << true << false;
        QTest::newRow("update only") << false << true;
    }
    void timerAtStartUp()
    {
        QFETCH(bool, internet);
        QFETCH(bool, update);
        Program_Folder folder;
        folder.write(QStringLiteral("Tessaform.xml"), Settings_With(internet, update));
        Fake_Ui ui;
        Create_Windows(folder.path());
        QTimer* timer = Forms.FTessaformeFirmWare->Timer_Update;
        QCOMPARE(timer->isActive(), internet && update);
        QCOMPARE(timer->interval(), Update_First_Interval_Ms);
        QVERIFY(Child<QLabel>(Forms.FTessaformeFirmWare, "LL_Update")->isHidden());
    }

    void eachLookUpShowsOrHidesTheLink_data()
    {
        QTest::addColumn<QString>("language");
        for (const char* language : {"English", "Italiano", "Deutsch", "Français", "Español"})
            QTest::newRow(language) << QString::fromUtf8(language);
    }
    void eachLookUpShowsOrHidesTheLink()
    {
        QFETCH(QString, language);
        Program_Folder folder;
        folder.write(QStringLiteral("Tessaform.xml"), Settings_With(true, true, language));
        folder.write(
            QStringLiteral("LANGUAGE/") + language + ".lng",
            Read_All(QStringLiteral(TEST_DATA_DIR "/../../LANGUAGE/") + language + ".lng"));
        Loopback_Http server;
        Version_Service_Url = server.url();
        Fake_Ui ui;
        Create_Windows(folder.path());
        TFTessaformeFirmWare* main = Forms.FTessaformeFirmWare;
        auto* link = Child<QLabel>(main, "LL_Update");

        server.reply = Loopback_Http::Ok("VER. 2.001");
        main->Timer_UpdateTimer();
        QVERIFY(!link->isHidden());
        QCOMPARE(link->text(), Download_Link_Html(Msg(19)));
        QVERIFY(main->Timer_Update->isActive());
        QCOMPARE(main->Timer_Update->interval(), Update_Repeat_Interval_Ms);
        Q_EMIT link->linkActivated(Download_Page_Url);
        QCOMPARE(ui.openedUrls, QStringList{Download_Page_Url});
        QVERIFY(main->grab().save(
            Screenshot_Path(QStringLiteral("MainWindow_UpdateLink_%1.png").arg(language))));
        // The link, the configuration lines and the step buttons fit their places in every
        // shipped language.
        const QRect link_ = link->geometry();
        QVERIFY(link_.right() < Child<QWidget>(main, "Btn_Info")->x());
        QVERIFY(link_.bottom() < Child<QWidget>(main, "L_SW_Desc")->y());
        const QRect frame = Child<QWidget>(main, "Shape2")->geometry();
        for (const char* name : {"L_Name_Conf", "L_Name_Conf_L2"}) {
            auto* l = Child<QLabel>(main, name);
            QVERIFY2(l->x() + l->fontMetrics().horizontalAdvance(l->text()) < frame.right(),
                     qPrintable(l->text()));
        }
        for (QPushButton* b :
             main->findChildren<QPushButton*>(QString(), Qt::FindDirectChildrenOnly)) {
            if (!b->text().isEmpty())
                QVERIFY2(b->sizeHint().width() <= b->width(), qPrintable(b->text()));
        }

        server.reply = Loopback_Http::Ok("VER. 2.000");
        main->Timer_UpdateTimer();
        QVERIFY(link->isHidden());
        QVERIFY(main->Timer_Update->isActive());
        QVERIFY(ui.boxes.isEmpty());
    }

    // Internet off with the look-up still checked: the look-up stays stored, the timer stops,
    // and a link already shown stays until the next look-up.
    void optionsOkStopsTheTimer()
    {
        Program_Folder folder;
        folder.write(QStringLiteral("Tessaform.xml"), Settings_With(true, true));
        Loopback_Http server;
        server.reply = Loopback_Http::Ok("VER. 2.001");
        Version_Service_Url = server.url();
        Fake_Ui ui;
        Create_Windows(folder.path());
        TFTessaformeFirmWare* main = Forms.FTessaformeFirmWare;
        main->Timer_UpdateTimer();
        auto* link = Child<QLabel>(main, "LL_Update");
        QVERIFY(!link->isHidden());

        ui.onModal = [](QDialog* d) {
            d->show();
            QTest::mouseClick(Child<QCheckBox>(d, "CB_En_Con"), Qt::LeftButton);
            QTest::mouseClick(Child<QAbstractButton>(d, "Btn_OK"), Qt::LeftButton);
            return d->result();
        };
        QTest::mouseClick(Child<QAbstractButton>(main, "Btn_Opz"), Qt::LeftButton);
        QCOMPARE(ui.shownDialogs, QStringList{"FSoftOptions"});
        auto* update = Child<QCheckBox>(Forms.FSoftOptions, "CB_Update");
        QVERIFY(!update->isEnabled());
        QVERIFY(update->isChecked());
        QVERIFY(!Shared.Enable_Internet);
        QVERIFY(Shared.Enable_Update);
        QVERIFY(!main->Timer_Update->isActive());
        QVERIFY(!link->isHidden());
        const QByteArray saved = folder.read(QStringLiteral("Tessaform.xml"));
        QVERIFY2(saved.contains("<enable_internet>0</enable_internet>"), saved.constData());
        QVERIFY2(saved.contains("<enable_update>1</enable_update>"), saved.constData());
    }
};

QTEST_MAIN(tst_updatelink)
#include "tst_updatelink.moc"
