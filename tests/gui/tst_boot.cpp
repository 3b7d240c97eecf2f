#include "app/Launcher.h"
#include "app/UComon.h"
#include "app/Windows.h"
#include "compiler/ConfigImage.h"
#include "compiler/USaveBincc.h"
#include "language/ULanguage.h"
#include "support/FakeUi.h"
#include "support/TestSupport.h"
#include "update/EthernetUpdate.h"
#include "update/IcmpEcho.h"
#include "update/UBoot.h"
#include "update/UpdateLog.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QThread>
#include <QTimer>

#include <QtTest/qtestspontaneevent.h>

#include <memory>
#include <thread>

namespace {

// Answers for a device from a script; sends nothing. The last answer repeats.
class Fake_Icmp final : public Icmp_Echo_Client {
public:
    enum class Answer { Data, Timeout, NoEvent, Fail };

    Fake_Icmp() { Set_Icmp_Client(this); }
    ~Fake_Icmp() override { Set_Icmp_Client(nullptr); }

    bool Ping(const QString& host, const QByteArray& data, int replyWaitMs,
              const Reply_Handler& onReply, QString* error) override
    {
        hosts << host;
        sent << data;
        const Answer a = script.size() > 1 ? script.takeFirst() : script.value(0, Answer::Data);
        if (onPing)
            onPing();
        switch (a) {
        case Answer::Data:
            onReply(8 + int(data.size()));
            return true;
        case Answer::Timeout:
            QThread::msleep(replyWaitMs);
            onReply(0);
            return true;
        case Answer::NoEvent:
            return true;
        case Answer::Fail:
            if (error)
                *error = QStringLiteral("no ICMP here");
            return false;
        }
        return false;
    }

    QList<Answer> script;
    QStringList hosts;
    QList<QByteArray> sent;
    std::function<void()> onPing;
};

// Records each start; the parameter file is read at the moment the tool would start.
class Fake_Launcher final : public Process_Launcher {
public:
    struct Call {
        QString program;
        QStringList args;
        QString workDir;
        int limitMs;
        QByteArray parameterFile;
    };

    Fake_Launcher() { Set_Launcher(this); }
    ~Fake_Launcher() override { Set_Launcher(nullptr); }

    Start_Result Start_Detached(const QString&, const QStringList&, const QString&) override
    {
        return {};
    }
    Wait_Result Start_And_Wait(const QString& program, const QStringList& args,
                               const QString& workDir, int limitMs,
                               const std::function<void()>& whileWaiting) override
    {
        calls.append({program, args, workDir, limitMs,
                      Read_All(Path_Join(Shared.Dir_Program, Parameter_File_Name))});
        if (onWait)
            onWait();
        for (int i = 0; i < 5 && whileWaiting; ++i)
            whileWaiting();
        Wait_Result r;
        r.started = r.finished = true;
        r.exitCode = 0;
        return r;
    }

    QList<Call> calls;
    std::function<void()> onWait;
};

// The fake update tool built with the tests (tests/tools/fake_update_tool).
QString Fake_Tool()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/tool-bin/fake_update_tool");
}

int Count(const QByteArray& log, const QByteArray& what)
{
    return int(log.count(what));
}

template <class W> W* Child(QWidget* w, const char* name)
{
    W* c = w->findChild<W*>(QLatin1String(name));
    if (!c)
        qFatal("no control %s", name);
    return c;
}

QStringList Boxes(QWidget* w)
{
    QStringList l;
    for (const char* n : {"E_IP1", "E_IP2", "E_IP3", "E_IP4"})
        l << Child<QLineEdit>(w, n)->text();
    return l;
}

void Set_Boxes(QWidget* w, const QStringList& texts)
{
    const char* names[] = {"E_IP1", "E_IP2", "E_IP3", "E_IP4"};
    for (int i = 0; i < 4; ++i)
        Child<QLineEdit>(w, names[i])->setText(texts.at(i));
}

// Types as a user does: each key goes to the box that has the focus at that moment.
void Type(const QString& keys)
{
    for (QChar c : keys)
        QTest::keyClick(QApplication::focusWidget(), c.toLatin1());
}

} // namespace

class Tst_Boot final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void firstShowingFromDefaultSettings();
    void storedAddress_data();
    void storedAddress();
    void dotKeyMovesToNextBox();
    void pastedAddressFillsTheBoxes_data();
    void pastedAddressFillsTheBoxes();
    void reachabilityCheck_data();
    void reachabilityCheck();
    void inputDuringCheck_data();
    void inputDuringCheck();
    void inputDuringToolWait_data();
    void inputDuringToolWait();
    void toolOutcome_data();
    void toolOutcome();
    void toolOutlivingTheWait();
    void statusTextsFit_data();
    void statusTextsFit();
    void filesCheckedBeforeTheTool_data();
    void filesCheckedBeforeTheTool();
    void toolRunsWithoutArgumentsAfterParameterFile();
    void missingToolIsReported();
    void parameterFileWriteFailureStartsNothing();
    void recordsEachHandOver();
    void unwritableRecordReported();

private:
    // A window on its own over a fresh program folder, as the main window would show it: the
    // firmware in MASTER and the images of a compilation written.
    TFBoot* Open_Window();
    // The fake tool as the update tool of the program folder; FAKE_TOOL_* chosen by the test.
    void Install_Fake_Tool();

    std::unique_ptr<Program_Folder> m_folder;
    std::unique_ptr<Fake_Ui> m_ui;
    std::unique_ptr<Fake_Icmp> m_icmp;
    std::unique_ptr<TFBoot> m_window;
};

void Tst_Boot::init()
{
    m_folder = std::make_unique<Program_Folder>();
    m_ui = std::make_unique<Fake_Ui>();
    // Never the system's ICMP: the default address belongs to a real device.
    m_icmp = std::make_unique<Fake_Icmp>();
}

void Tst_Boot::cleanup()
{
    for (const char* v : {"FAKE_TOOL_LOG", "FAKE_TOOL_RUN_MS", "FAKE_TOOL_CHATTY", "FAKE_TOOL_EXIT",
                          "FAKE_TOOL_CRASH"})
        qunsetenv(v);
    m_window.reset();
    Destroy_Windows();
    m_icmp.reset();
    m_ui.reset();
    m_folder.reset();
}

void Tst_Boot::Install_Fake_Tool()
{
    const QString tool = m_folder->file(Update_Tool_Name);
    QVERIFY(QFile::copy(Fake_Tool(), tool));
    QVERIFY(QFile::setPermissions(tool, QFile::permissions(tool) | QFile::ExeOwner));
    qputenv("FAKE_TOOL_LOG", QFile::encodeName(m_folder->file(QStringLiteral("tool.log"))));
}

TFBoot* Tst_Boot::Open_Window()
{
    Shared.Dir_Program = m_folder->path();
    Shared.Dir_Master = m_folder->file(QStringLiteral("MASTER"));
    Shared.Conf_Dir = m_folder->file(QStringLiteral("PROJECTS/Line 4"));
    Shared.SW_Code = SW_Code_Text;
    Load_Default_Language();
    m_folder->write(QStringLiteral("MASTER/Sim38591.sim"), "firmware");
    QDir().mkpath(Shared.Conf_Dir); // a configuration folder, as creating one makes it
    Reset_Config_Image();
    Compile_Bin();
    Save_Bin();
    m_window = std::make_unique<TFBoot>();
    m_window->Form_Type = 1;
    m_window->show();
    return m_window.get();
}

void Tst_Boot::firstShowingFromDefaultSettings()
{
    Create_Windows(m_folder->path());
    TFBoot* w = Forms.FBoot;
    QVERIFY(w);
    QCOMPARE(Boxes(w), QStringList({"0", "0", "0", "0"}));
    w->Form_Type = 1;
    const auto check = [](QDialog* d) {
        QCOMPARE(d->windowTitle(), QStringLiteral("Update Device by Ethernet (UDP)"));
        QCOMPARE(Boxes(d), QStringList({"192", "168", "2", "205"}));
        auto* choice = Child<QComboBox>(d, "CB_Update_Options");
        QCOMPARE(choice->count(), 3);
        QCOMPARE(choice->itemText(0), QStringLiteral("Firmware + Configuration"));
        QCOMPARE(choice->itemText(1), QStringLiteral("Firmware"));
        QCOMPARE(choice->itemText(2), QStringLiteral("Configuration"));
        QCOMPARE(choice->currentIndex(), 0);
        QVERIFY(!Child<QCheckBox>(d, "CB_Update_Option_Read_Back")->isChecked());
        QCOMPARE(d->focusWidget(), Child<QLineEdit>(d, "E_IP1"));
        QCOMPARE(Child<QLabel>(d, "L_SW_Code")->text(), QStringLiteral("SW38591"));

        // Four panels stacked without gaps fill the window exactly.
        QCOMPARE(d->size(), QSize(449, 230));
        int top = 0;
        for (auto [name, height] : {std::pair{"P_Title", 69}, std::pair{"P_IP_Address", 49},
                                    std::pair{"P_Options", 72}, std::pair{"P_Button", 40}}) {
            QWidget* p = Child<QWidget>(d, name);
            QCOMPARE(p->geometry(), QRect(0, top, 449, height));
            top += height;
        }
        // The keyboard goes through the panels from top to bottom.
        QStringList order;
        QWidget* f = Child<QLineEdit>(d, "E_IP1");
        for (int i = 0; i < 8; f = f->nextInFocusChain()) {
            if (f->focusPolicy() & Qt::TabFocus) {
                order << f->objectName();
                ++i;
            }
        }
        QCOMPARE(order, QStringList({"E_IP1", "E_IP2", "E_IP3", "E_IP4", "CB_Update_Options",
                                     "CB_Update_Option_Read_Back", "Btn_Cancel", "Btn_Update"}));
        // Every caption fits its control.
        for (QLabel* l : d->findChildren<QLabel*>())
            QVERIFY2(l->width() >= l->sizeHint().width(), qPrintable(l->objectName()));
        for (QAbstractButton* b : d->findChildren<QAbstractButton*>())
            QVERIFY2(b->width() >= b->sizeHint().width(), qPrintable(b->objectName()));
        QVERIFY(choice->width() >= choice->sizeHint().width());
        QVERIFY(d->grab().save(Screenshot_Path(QStringLiteral("boot.png"))));
    };
    m_ui->onModal = [&](QDialog* d) {
        d->show();
        check(d);
        d->reject();
        return d->result();
    };
    QCOMPARE(Ui().Show_Modal(w), int(QDialog::Rejected));
    QCOMPARE(m_icmp->hosts.size(), 0);
}

void Tst_Boot::storedAddress_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QStringList>("boxes");

    const QStringList kept = {"10", "0", "0", "9"};
    QTest::newRow("blanks around numbers and dots")
        << " 192 . 168. 2 .205  " << QStringList{"192", "168", "2", "205"};
    QTest::newRow("hexadecimal shown as written")
        << "$C0.168.2.$0A" << QStringList{"$C0", "168", "2", "$0A"};
    QTest::newRow("five numbers") << "192.168.2.205.1" << kept;
    QTest::newRow("number above 255") << "192.168.256.205" << kept;
    QTest::newRow("missing number") << "192..2.205" << kept;
    QTest::newRow("empty") << "" << kept;
}

void Tst_Boot::storedAddress()
{
    QFETCH(QString, stored);
    QFETCH(QStringList, boxes);
    TFBoot* w = Open_Window();
    // Texts typed at an earlier showing.
    Set_Boxes(w, {"10", "0", "0", "9"});
    w->hide();
    Shared.Last_IP_Address = stored;
    Shared.Last_Update_Option = 2;
    Shared.Last_Read_Back = true;
    w->show();
    QCOMPARE(Boxes(w), boxes);
    QCOMPARE(Child<QComboBox>(w, "CB_Update_Options")->currentIndex(), 2);
    QVERIFY(Child<QCheckBox>(w, "CB_Update_Option_Read_Back")->isChecked());
}

void Tst_Boot::dotKeyMovesToNextBox()
{
    TFBoot* w = Open_Window();
    QApplication::setActiveWindow(w);
    Set_Boxes(w, {"", "", "", ""});
    auto* e1 = Child<QLineEdit>(w, "E_IP1");
    e1->setFocus();
    Type(QStringLiteral("10.0.0.1."));
    QCOMPARE(Boxes(w), QStringList({"10", "0", "0", "1"}));
    QCOMPARE(QApplication::focusWidget(), Child<QLineEdit>(w, "E_IP4"));

    // A box that cannot take the focus: the dot is dropped and the focus stays.
    Child<QLineEdit>(w, "E_IP3")->setEnabled(false);
    Child<QLineEdit>(w, "E_IP2")->setFocus();
    Type(QStringLiteral("5."));
    QCOMPARE(Child<QLineEdit>(w, "E_IP2")->text(), QStringLiteral("05"));
    QCOMPARE(QApplication::focusWidget(), Child<QLineEdit>(w, "E_IP2"));
}

// A whole address pasted into the first box fills all four; anything else pastes as usual.
void Tst_Boot::pastedAddressFillsTheBoxes_data()
{
    QTest::addColumn<QString>("clipboard");
    QTest::addColumn<bool>("keys"); // Ctrl+V, else the context menu's paste()
    QTest::addColumn<QStringList>("boxes");
    QTest::newRow("Ctrl+V") << "10.1.2.3" << true << QStringList{"10", "1", "2", "3"};
    QTest::newRow("menu") << "10.1.2.3" << false << QStringList{"10", "1", "2", "3"};
    QTest::newRow("not an address") << "7" << true << QStringList{"7", "", "", ""};
}

void Tst_Boot::pastedAddressFillsTheBoxes()
{
    QFETCH(QString, clipboard);
    QFETCH(bool, keys);
    QFETCH(QStringList, boxes);
    TFBoot* w = Open_Window();
    QApplication::setActiveWindow(w);
    QVERIFY(QTest::qWaitForWindowActive(w));
    Set_Boxes(w, {"", "", "", ""});
    QGuiApplication::clipboard()->setText(clipboard);
    auto* e1 = Child<QLineEdit>(w, "E_IP1");
    e1->setFocus();
    if (keys)
        QTest::keyClick(e1, Qt::Key_V, Qt::ControlModifier);
    else
        e1->paste();
    QCOMPARE(Boxes(w), boxes);
}

void Tst_Boot::reachabilityCheck_data()
{
    using A = Fake_Icmp::Answer;
    QTest::addColumn<QList<Fake_Icmp::Answer>>("script");
    QTest::addColumn<bool>("started");
    QTest::addColumn<QString>("box");
    QTest::addColumn<int>("minMs");
    QTest::addColumn<int>("maxMs");
    QTest::addColumn<int>("attempts"); // -1: several

    QTest::newRow("answers") << QList<A>{A::Data} << true << QString() << 0 << 1500 << 2;
    QTest::newRow("answers once, then silent")
        << QList<A>{A::Data, A::Timeout} << false << "W:Device Not Found!" << 4900 << 7000 << -1;
    QTest::newRow("no reply event")
        << QList<A>{A::NoEvent} << false << "E:Error!!! Check the Ip Address" << 4900 << 7000 << -1;
    QTest::newRow("failing client")
        << QList<A>{A::Fail} << false << "E:Error!!! Check the Ip Address" << 0 << 2000 << 1;
}

void Tst_Boot::reachabilityCheck()
{
    QFETCH(QList<Fake_Icmp::Answer>, script);
    QFETCH(bool, started);
    QFETCH(QString, box);
    QFETCH(int, minMs);
    QFETCH(int, maxMs);
    QFETCH(int, attempts);
    Fake_Launcher launcher;
    m_icmp->script = script;
    TFBoot* w = Open_Window();
    Set_Boxes(w, {"127", " 0", "0", "01"});
    Child<QComboBox>(w, "CB_Update_Options")->setCurrentIndex(1);
    Child<QCheckBox>(w, "CB_Update_Option_Read_Back")->setChecked(true);

    QElapsedTimer clock;
    clock.start();
    QTest::mouseClick(Child<QPushButton>(w, "Btn_Update"), Qt::LeftButton);
    const qint64 ms = clock.elapsed();
    QVERIFY2(ms >= minMs && ms <= maxMs, qPrintable(QString::number(ms)));

    if (attempts > 0)
        QCOMPARE(m_icmp->hosts.size(), attempts);
    else
        QVERIFY(m_icmp->hosts.size() > 2);
    // The address the boxes name is the target; their joined texts, unchanged, the data.
    for (int i = 0; i < m_icmp->hosts.size(); ++i) {
        QCOMPARE(m_icmp->hosts.at(i), QStringLiteral("127.0.0.1"));
        QCOMPARE(m_icmp->sent.at(i), QByteArray("127. 0.0.01"));
    }
    QStringList boxes;
    for (const Fake_Ui::Box& b : m_ui->boxes)
        boxes << (b.kind == Fake_Ui::Kind::Warning ? "W:"
                  : b.kind == Fake_Ui::Kind::Error ? "E:"
                                                   : "?:") +
                     b.text;
    QCOMPARE(boxes, box.isEmpty() ? QStringList() : QStringList{box});
    QVERIFY(w->isVisible());

    const QString parameterFile = m_folder->file(Parameter_File_Name);
    if (started) {
        QCOMPARE(launcher.calls.size(), 1);
        const Fake_Launcher::Call& c = launcher.calls.first();
        QCOMPARE(c.program, QDir::toNativeSeparators(m_folder->file(Update_Tool_Name)));
        QCOMPARE(c.args, QStringList());
        QCOMPARE(c.workDir, QString()); // the current folder
        QCOMPARE(c.limitMs, 150000);
        Update_Request r;
        r.ipAddress = QStringLiteral("127. 0.0.01");
        r.updateOption = 1;
        r.readBack = true;
        QCOMPARE(c.parameterFile, Parameter_Xml(r, Shared.Dir_Master, Shared.Conf_Dir));
        QCOMPARE(Shared.Last_IP_Address, QStringLiteral("127. 0.0.01"));
        QCOMPARE(Shared.Last_Update_Option, 1);
        QCOMPARE(Shared.Last_Read_Back, true);
    } else {
        QCOMPARE(launcher.calls.size(), 0);
        QVERIFY(!QFile::exists(parameterFile));
        QCOMPARE(Shared.Last_IP_Address, Default_IP_Address);
        QCOMPARE(Shared.Last_Update_Option, 0);
        QCOMPARE(Shared.Last_Read_Back, false);
    }
}

void Tst_Boot::inputDuringCheck_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("starts");
    QTest::addColumn<bool>("visibleAfter");

    QTest::newRow("second press ignored") << "Btn_Update" << 1 << true;
    QTest::newRow("cancel ignored") << "Btn_Cancel" << 1 << true;
}

void Tst_Boot::inputDuringCheck()
{
    QFETCH(QString, button);
    QFETCH(int, starts);
    QFETCH(bool, visibleAfter);
    Fake_Launcher launcher;
    TFBoot* w = Open_Window();
    Set_Boxes(w, {"127", "0", "0", "1"});
    auto* b = Child<QPushButton>(w, button.toLatin1().constData());
    // Pressed while the check waits for the first reply.
    m_icmp->onPing = [&] {
        m_icmp->onPing = nullptr;
        QTimer::singleShot(0, b, [b] { QTest::mouseClick(b, Qt::LeftButton); });
    };
    QTest::mouseClick(Child<QPushButton>(w, "Btn_Update"), Qt::LeftButton);
    QCoreApplication::processEvents();
    QCOMPARE(m_icmp->hosts.size(), 2);
    QCOMPARE(launcher.calls.size(), starts);
    QCOMPARE(w->isVisible(), visibleAfter);
    QCOMPARE(m_ui->boxes.size(), 0);
    QCOMPARE(Shared.Last_IP_Address, starts ? QStringLiteral("127.0.0.1") : Default_IP_Address);

    // The window works as before afterwards.
    w->show();
    QTest::mouseClick(Child<QPushButton>(w, "Btn_Update"), Qt::LeftButton);
    QCOMPARE(launcher.calls.size(), starts + 1);
}

void Tst_Boot::toolRunsWithoutArgumentsAfterParameterFile()
{
#ifdef Q_OS_WIN
    QSKIP("the fake tool is a shell script");
#else
    TFBoot* w = Open_Window();
    Set_Boxes(w, {"127", "0", "0", "1"});
    // Records its arguments, its folder and the parameter file it found beside itself.
    Write_Script(m_folder->file(Update_Tool_Name),
                 "d=$(dirname \"$0\")\n"
                 "echo \"$#\" > \"$d/args\"\n"
                 "pwd > \"$d/cwd\"\n"
                 "cp \"$d/Zedazede_Zeruvi.xml\" \"$d/seen.xml\"\n");
    QTest::mouseClick(Child<QPushButton>(w, "Btn_Update"), Qt::LeftButton);
    // Waited for the end: the records are there at once.
    QCOMPARE(m_folder->read(QStringLiteral("args")), QByteArray("0\n"));
    QCOMPARE(QString::fromLocal8Bit(m_folder->read(QStringLiteral("cwd"))).trimmed(),
             QDir::currentPath());
    QVERIFY(!m_folder->read(QStringLiteral("seen.xml")).isEmpty());
    QCOMPARE(m_folder->read(QStringLiteral("seen.xml")), m_folder->read(Parameter_File_Name));
    QCOMPARE(m_ui->boxes.size(), 0);
#endif
}

void Tst_Boot::inputDuringToolWait_data()
{
    QTest::addColumn<QString>("input");
    QTest::newRow("second press") << "Btn_Update";
    QTest::newRow("cancel") << "Btn_Cancel";
    QTest::newRow("escape key") << "Escape";
    QTest::newRow("close box") << "Close";
}

void Tst_Boot::inputDuringToolWait()
{
    QFETCH(QString, input);
    TFBoot* w = Open_Window();
    Set_Boxes(w, {"127", "0", "0", "1"});
    Install_Fake_Tool();
    qputenv("FAKE_TOOL_RUN_MS", "1500");
    QObject* target =
        input == QLatin1String("Btn_Update") || input == QLatin1String("Btn_Cancel")
            ? static_cast<QObject*>(Child<QPushButton>(w, input.toLatin1().constData()))
            : w;
    // Queued while the tool runs, as the window system queues a user's clicks and keys.
    std::thread user([&] {
        QThread::msleep(500);
        if (input == QLatin1String("Escape")) {
            QCoreApplication::postEvent(
                target, new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
            QCoreApplication::postEvent(
                target, new QKeyEvent(QEvent::KeyRelease, Qt::Key_Escape, Qt::NoModifier));
        } else if (input == QLatin1String("Close")) {
            QCoreApplication::postEvent(target, new QCloseEvent);
        } else {
            for (QEvent::Type t : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease})
                QCoreApplication::postEvent(
                    target,
                    new QMouseEvent(t, QPointF(4, 4), QPointF(4, 4), Qt::LeftButton,
                                    t == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                                    Qt::NoModifier));
        }
    });
    QTest::mouseClick(Child<QPushButton>(w, "Btn_Update"), Qt::LeftButton);
    user.join();
    // Whatever was still queued now comes through.
    QTest::qWait(200);

    const QByteArray log = m_folder->read(QStringLiteral("tool.log"));
    QCOMPARE(Count(log, "started"), 1);
    QCOMPARE(Count(log, "ended"), 1);
    QVERIFY(w->isVisible());
    QCOMPARE(m_ui->texts(), QStringList());
}

void Tst_Boot::toolOutcome_data()
{
    QTest::addColumn<QByteArray>("variable");
    QTest::addColumn<QString>("told");
    // Only told: what a status means is the tool's own business.
    QTest::newRow("exit status 3")
        << QByteArray("FAKE_TOOL_EXIT") << "The update tool has ended with exit status 3";
    QTest::newRow("crash") << QByteArray("FAKE_TOOL_CRASH")
                           << "The update tool has ended abnormally";
}

void Tst_Boot::statusTextsFit_data()
{
    QTest::addColumn<QString>("language");
    for (const char* l : {"English", "Italiano", "Deutsch", "Français", "Español"})
        QTest::newRow(l) << QString::fromUtf8(l);
}

// The status line has two lines in a window of fixed size: a longer translation is cut off.
void Tst_Boot::statusTextsFit()
{
    QFETCH(QString, language);
    TFBoot* w = Open_Window();
    QVERIFY(Read_Lng_File(
        QDir::cleanPath(QStringLiteral(TEST_DATA_DIR "/../../LANGUAGE/") + language + ".lng")));
    auto* status = Child<QLabel>(w, "L_Update_Status");
    const QStringList texts = {Msg(838), Msg(839) + "150" + Msg(840), Msg(841) + "-1073741819",
                               Msg(842), Msg(843)};
    for (const QString& text : texts) {
        status->setText(text);
        QVERIFY2(status->heightForWidth(status->width()) <= status->height(),
                 qPrintable(QStringLiteral("\"%1\" needs %2 px, has %3 x %4")
                                .arg(text)
                                .arg(status->heightForWidth(status->width()))
                                .arg(status->width())
                                .arg(status->height())));
    }
    QCOMPARE(w->size(), QSize(449, 230));
}

void Tst_Boot::toolOutcome()
{
    QFETCH(QByteArray, variable);
    QFETCH(QString, told);
    TFBoot* w = Open_Window();
    Set_Boxes(w, {"127", "0", "0", "1"});
    Install_Fake_Tool();
    qputenv("FAKE_TOOL_RUN_MS", "700");
    qputenv(variable.constData(), "3");
    auto* status = Child<QLabel>(w, "L_Update_Status");
    QStringList seen;
    bool busyCursor = true;
    bool grabbed = false;
    QTimer look;
    connect(&look, &QTimer::timeout, w, [&] {
        if (seen.isEmpty() || seen.last() != status->text())
            seen << status->text();
        if (!status->text().startsWith(QStringLiteral("The update tool is running")))
            return;
        busyCursor = busyCursor && QApplication::overrideCursor() &&
                     QApplication::overrideCursor()->shape() == Qt::BusyCursor;
        if (!grabbed)
            grabbed = w->grab().save(Screenshot_Path(QStringLiteral("boot_tool_running.png")));
    });
    look.start(50);

    QTest::mouseClick(Child<QPushButton>(w, "Btn_Update"), Qt::LeftButton);
    look.stop();

    // While it ran the window said so, with the time; afterwards how it ended.
    QVERIFY2(seen.contains(QStringLiteral("The update tool is running: 0 s")),
             qPrintable(seen.join(QLatin1Char('|'))));
    QVERIFY(grabbed);
    QVERIFY(busyCursor);
    QCOMPARE(status->text(), told);
    QVERIFY(!QApplication::overrideCursor());
    QCOMPARE(m_ui->texts(), QStringList());
    QVERIFY(w->grab().save(Screenshot_Path(QStringLiteral("boot_tool_ended.png"))));
}

void Tst_Boot::toolOutlivingTheWait()
{
    TFBoot* w = Open_Window();
    Set_Boxes(w, {"127", "0", "0", "1"});
    Install_Fake_Tool();
    qputenv("FAKE_TOOL_RUN_MS", "1500");
    w->Tool_Wait_Limit = 300;
    auto* update = Child<QPushButton>(w, "Btn_Update");

    QTest::mouseClick(update, Qt::LeftButton);
    QCOMPARE(Child<QLabel>(w, "L_Update_Status")->text(),
             QStringLiteral("The update tool is still running after the waiting time"));

    // No second update while the first one's tool still writes to the device.
    QTest::mouseClick(update, Qt::LeftButton);
    QCOMPARE(m_ui->boxes.size(), 1);
    QCOMPARE(m_ui->boxes[0].kind, Fake_Ui::Kind::Warning);
    QCOMPARE(m_ui->boxes[0].text, QStringLiteral("The update tool started before is still "
                                                 "running. Wait until it has ended."));
    QCOMPARE(Count(m_folder->read(QStringLiteral("tool.log")), "started"), 1);

    QTRY_COMPARE_WITH_TIMEOUT(Count(m_folder->read(QStringLiteral("tool.log")), "ended"), 1, 10000);
    w->Tool_Wait_Limit = 150000;
    qputenv("FAKE_TOOL_RUN_MS", "0");
    QTest::mouseClick(update, Qt::LeftButton);
    QCOMPARE(m_ui->boxes.size(), 1);
    QCOMPARE(Count(m_folder->read(QStringLiteral("tool.log")), "started"), 2);
}

void Tst_Boot::filesCheckedBeforeTheTool_data()
{
    QTest::addColumn<int>("choice");
    QTest::addColumn<QString>("change");
    QTest::addColumn<QString>("message"); // %1: the program folder

    const QString bank2 =
        QDir::toNativeSeparators(QStringLiteral("%1/PROJECTS/Line 4/bin/bank2.bin"));
    QTest::newRow("all there") << 0 << QString() << QString();
    QTest::newRow("firmware missing")
        << 1 << "no firmware"
        << "Error! Firmware File not Found: " +
               QDir::toNativeSeparators(QStringLiteral("%1/MASTER/Sim38591.sim"));
    QTest::newRow("firmware alone needs no image") << 1 << "no image" << QString();
    QTest::newRow("configuration alone needs no firmware") << 2 << "no firmware" << QString();
    QTest::newRow("image missing") << 2 << "no image"
                                   << "Error! Configuration File not Found: " + bank2;
    QTest::newRow("image cut") << 0 << "cut"
                               << "Error! Configuration File not Valid: " + bank2;
    QTest::newRow("image with a wrong checksum") << 2 << "checksum"
                                                 << "Error! Configuration File not Valid: " + bank2;
    QTest::newRow("another image")
        << 2 << "other"
        << "Error! Configuration File changed after it was written: " + bank2;
    QTest::newRow("nothing compiled")
        << 0 << "not compiled" << QStringLiteral("Error! No configuration compiled in this update");
}

void Tst_Boot::filesCheckedBeforeTheTool()
{
    QFETCH(int, choice);
    QFETCH(QString, change);
    QFETCH(QString, message);
    Fake_Launcher launcher;
    TFBoot* w = Open_Window();
    Set_Boxes(w, {"127", "0", "0", "1"});
    Child<QComboBox>(w, "CB_Update_Options")->setCurrentIndex(choice);
    const QString bank2 = Shared.Conf_Dir + QStringLiteral("/bin/bank2.bin");
    QByteArray image = Read_All(bank2);
    QCOMPARE(image.size(), 18432);
    if (change == QLatin1String("no firmware"))
        QVERIFY(QFile::remove(m_folder->file(QStringLiteral("MASTER/Sim38591.sim"))));
    else if (change == QLatin1String("no image"))
        QVERIFY(QFile::remove(bank2));
    else if (change == QLatin1String("not compiled"))
        Reset_Config_Image();
    else if (!change.isEmpty()) {
        if (change == QLatin1String("cut"))
            image.chop(1);
        else if (change == QLatin1String("checksum"))
            image[18428] = char(image.at(18428) + 1);
        else {
            // A record byte: the header checksum does not see it.
            image[100] = char(image.at(100) ^ 1);
        }
        QFile f(bank2);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(image);
    }

    QTest::mouseClick(Child<QPushButton>(w, "Btn_Update"), Qt::LeftButton);

    if (message.isEmpty()) {
        QCOMPARE(m_ui->texts(), QStringList());
        QCOMPARE(launcher.calls.size(), 1);
    } else {
        QCOMPARE(m_ui->texts(),
                 QStringList{message.contains(QLatin1String("%1")) ? message.arg(m_folder->path())
                                                                   : message});
        QCOMPARE(m_ui->boxes[0].kind, Fake_Ui::Kind::Error);
        QCOMPARE(launcher.calls.size(), 0);
        QVERIFY(!QFile::exists(m_folder->file(Parameter_File_Name)));
    }
}

void Tst_Boot::missingToolIsReported()
{
    TFBoot* w = Open_Window();
    Set_Boxes(w, {"127", "0", "0", "1"});
    QTest::mouseClick(Child<QPushButton>(w, "Btn_Update"), Qt::LeftButton);
    QCOMPARE(m_ui->boxes.size(), 1);
    QCOMPARE(m_ui->boxes.first().kind, Fake_Ui::Kind::Error);
    QVERIFY2(m_ui->boxes.first().text.contains(
                 QDir::toNativeSeparators(m_folder->file(Update_Tool_Name))),
             qPrintable(m_ui->boxes.first().text));
    // The parameter file stays written.
    QVERIFY(m_folder->read(Parameter_File_Name).contains("<IP_Address_Dev>127.0.0.1<"));
}

void Tst_Boot::parameterFileWriteFailureStartsNothing()
{
    Fake_Launcher launcher;
    TFBoot* w = Open_Window();
    Set_Boxes(w, {"127", "0", "0", "1"});
    // A folder in the way of the file.
    QVERIFY(QDir(m_folder->path()).mkdir(Parameter_File_Name));
    QTest::mouseClick(Child<QPushButton>(w, "Btn_Update"), Qt::LeftButton);
    QCOMPARE(launcher.calls.size(), 0);
    QCOMPARE(m_ui->boxes.size(), 1);
    QCOMPARE(m_ui->boxes.first().kind, Fake_Ui::Kind::Error);
    QVERIFY2(m_ui->boxes.first().text.contains(
                 QDir::toNativeSeparators(m_folder->file(Parameter_File_Name))),
             qPrintable(m_ui->boxes.first().text));
    // The check had succeeded: the values are already the new ones.
    QCOMPARE(Shared.Last_IP_Address, QStringLiteral("127.0.0.1"));
}




// One record per hand-over, appended: the files as handed over, and how the tool ended or
// that it was still running when the wait ended.
void Tst_Boot::recordsEachHandOver()
{
    TFBoot* w = Open_Window();
    Set_Boxes(w, {"127", "0", "0", "1"});
    Install_Fake_Tool();
    const QString log = Path_Join(Shared.Conf_Dir, Update_Log_Name);
    const QString sim = Path_Join(Shared.Dir_Master, QStringLiteral("Sim38591.sim"));
    const QString bank2 = Path_Join(Shared.Conf_Dir, QStringLiteral("bin/bank2.bin"));
    const auto sha = [](const QString& path) {
        return QString::fromLatin1(
            QCryptographicHash::hash(Read_All(path), QCryptographicHash::Sha256).toHex());
    };
    qputenv("FAKE_TOOL_EXIT", "3");
    QTest::mouseClick(Child<QPushButton>(w, "Btn_Update"), Qt::LeftButton);
    const QByteArray first = Read_All(log);

    qputenv("FAKE_TOOL_EXIT", "0");
    qputenv("FAKE_TOOL_RUN_MS", "1500");
    w->Tool_Wait_Limit = 300;
    Child<QComboBox>(w, "CB_Update_Options")->setCurrentIndex(2);
    QTest::mouseClick(Child<QPushButton>(w, "Btn_Update"), Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(Count(m_folder->read(QStringLiteral("tool.log")), "ended"), 2, 10000);

    QCOMPARE(m_ui->texts(), QStringList());
    const QByteArray both = Read_All(log);
    QVERIFY(!first.isEmpty());
    QVERIFY(both.startsWith(first));
    const QList<QStringList> records = Split_Csv(both);
    QCOMPARE(records.size(), 3);
    QCOMPARE(records[0].value(2), QStringLiteral("port_or_address"));
    for (const QStringList& r : records.mid(1)) {
        QCOMPARE(r.size(), 12);
        QVERIFY2(QDateTime::fromString(r[0], Qt::ISODate).isValid(), qPrintable(r[0]));
        QCOMPARE(r[1], QStringLiteral("Ethernet"));
        QCOMPARE(r[2], QStringLiteral("127.0.0.1"));
        QCOMPARE(r[11], SW_Version_Text);
    }
    const QString simSize = QString::number(Read_All(sim).size());
    QCOMPARE(records[1].mid(3, 8),
             (QStringList{QStringLiteral("Firmware + Configuration"), QDir::toNativeSeparators(sim),
                          simSize, sha(sim), QDir::toNativeSeparators(bank2),
                          QStringLiteral("18432"), sha(bank2), QStringLiteral("exit status 3")}));
    QCOMPARE(records[2].mid(3, 8),
             (QStringList{QStringLiteral("Configuration"), QDir::toNativeSeparators(bank2),
                          QStringLiteral("18432"), sha(bank2), QString(), QString(), QString(),
                          QStringLiteral("running after 0.3 s")}));
}

// A record that cannot be written is told; the update itself has run.
void Tst_Boot::unwritableRecordReported()
{
    TFBoot* w = Open_Window();
    Set_Boxes(w, {"127", "0", "0", "1"});
    Install_Fake_Tool();
    const QString log = Path_Join(Shared.Conf_Dir, Update_Log_Name);
    QVERIFY(QDir().mkpath(log));
    QTest::mouseClick(Child<QPushButton>(w, "Btn_Update"), Qt::LeftButton);

    QCOMPARE(Count(m_folder->read(QStringLiteral("tool.log")), "ended 0"), 1);
    QCOMPARE(m_ui->boxes.size(), 1);
    QCOMPARE(m_ui->boxes[0].kind, Fake_Ui::Kind::Error);
    QCOMPARE(m_ui->boxes[0].text, Msg(530) + QDir::toNativeSeparators(log) + Msg(531) +
                                      QStringLiteral("a folder has this name"));
    QCOMPARE(Child<QLabel>(w, "L_Update_Status")->text(),
             QStringLiteral("The update tool has ended with exit status 0"));
}

QTEST_MAIN(Tst_Boot)
#include "tst_boot.moc"
