#include "app/UComon.h"
#include "buscheck/CanLive.h"
#include "buscheck/UBusCheck.h"
#include "configurations/ConfigFiles.h"
#include "editors/UReceive_J1939_Frames.h"
#include "language/ULanguage.h"
#include "support/FakeUi.h"
#include "support/TestSupport.h"
#include "widgets/FrameGrid.h"

#include <QCanBus>
#include <QCanBusDevice>
#include <QCanBusFrame>
#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QUndoStack>

#include <memory>

namespace {

// An active configuration with two receive rows; the converter's address is 128.
struct Fixture {
    Program_Folder folder;
    Fake_Ui ui;

    Fixture()
    {
        Open_Test_Configuration(folder.path());
        ParGen_Settings s = ParGen_Defaults_Missing_File();
        s.J1939_Device_ID = QStringLiteral("128");
        Write_ParGen(Shared.File_ParGen, s);
        Receive_Frame_Row eec1{"0", "0xF004", "0", "N", "3", "2", "N", "N", "1000", "EEC1"};
        Receive_Frame_Row et1{"0", "0xFEEE", "0", "N", "0", "", "N", "N", "1000", "ET1"};
        Write_Receive_Frames(Shared.File_Receive_Frame, {eec1, et1});
    }
};

QString Cell(QTableWidget* t, int row, int col)
{
    const QTableWidgetItem* i = t->item(row, col);
    return i ? i->text() : QString();
}

const QByteArray Log = "(100.000000) can0 0CF00400#F0FF7D1020FFFFFF\n"
                       "(100.020000) can0 0CF00400#F0FF7D1122FFFFFF\n"
                       "(100.040000) can0 0CF00400#F0FF7D1224FFFFFF\n"
                       "(100.500000) can0 18FEF100#FFFFFFFFFFFFFFFF\n"
                       "(100.600000) can0 18FEF180#0000000000000000\n"
                       "(101.500000) can0 18FEF100#FFFFFFFFFFFFFFFF\n";

} // namespace

class tst_buscheckwindow final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void after_a_log_and_add_to_table()
    {
        Fixture fx;
        TFReceive_J1939_Frame editor;
        editor.show();
        auto* open = editor.findChild<QPushButton*>(QStringLiteral("Btn_Bus_Check"));
        QVERIFY(open);
        QCOMPARE(open->text(), Msg(211));
        // At the right end of the row: the table's own buttons keep their places.
        QVERIFY(open->x() > editor.findChild<QPushButton*>(QStringLiteral("Btn_Redo"))->x());
        QCoreApplication::processEvents(); // the status line's layout follows its texts
        QVERIFY(
            editor.grab().save(Screenshot_Path(QStringLiteral("receive_editor_bus_check.png"))));
        TFBus_Check w;
        w.Open_For(Shared.Conf_Dir, &editor);
        fx.folder.write(QStringLiteral("bus.log"), Log);
        w.Choose_Log = [&](QWidget*) { return fx.folder.file(QStringLiteral("bus.log")); };
        w.show();
        QTest::mouseClick(w.findChild<QPushButton*>(QStringLiteral("Btn_Log")), Qt::LeftButton);
        QVERIFY(fx.ui.boxes.isEmpty());

        auto* rows = w.findChild<QTableWidget*>(QStringLiteral("sga_Rows"));
        QCOMPARE(rows->rowCount(), 2);
        // Row 1: seen, 3 frames every 20 ms, bytes 3 and 4 kept at offset 0.
        QCOMPARE(Cell(rows, 0, 2), QStringLiteral("0xF004"));
        QCOMPARE(Cell(rows, 0, 4), QStringLiteral("yes"));
        QCOMPARE(Cell(rows, 0, 5), QStringLiteral("3"));
        QCOMPARE(Cell(rows, 0, 6), QStringLiteral("20"));
        QCOMPARE(Cell(rows, 0, 8), QStringLiteral("0"));
        auto* data = qobject_cast<QLabel*>(rows->cellWidget(0, 7));
        QVERIFY(data);
        QVERIFY2(data->text().contains(QStringLiteral(
                     "7D <span style=\"background:#ffd75e;font-weight:bold\">12</span> "
                     "<span style=\"background:#ffd75e;font-weight:bold\">24</span> FF")),
                 qPrintable(data->text()));
        // Row 2 never came; its 8 bytes start at offset 2.
        QCOMPARE(Cell(rows, 1, 4), QStringLiteral("no"));
        QCOMPARE(Cell(rows, 1, 8), QStringLiteral("2"));
        const QString area =
            w.findChild<QPlainTextEdit*>(QStringLiteral("E_Data_Area"))->toPlainText();
        QCOMPARE(area, QStringLiteral("   0  12 24 00 00 00 00 00 00\n   8  00 00\n"));

        auto* unmatched = w.findChild<QTableWidget*>(QStringLiteral("sga_Unmatched"));
        QCOMPARE(unmatched->rowCount(), 2);
        QCOMPARE(Cell(unmatched, 0, 1), QStringLiteral("0xFEF1"));
        QCOMPARE(Cell(unmatched, 0, 2), QStringLiteral("0"));
        QCOMPARE(Cell(unmatched, 0, 3), QStringLiteral("2"));
        QCOMPARE(Cell(unmatched, 0, 4), QStringLiteral("1000"));
        QCOMPARE(Cell(unmatched, 1, 2), QStringLiteral("128"));
        auto* trouble = w.findChild<QListWidget*>(QStringLiteral("LB_Trouble"));
        QCOMPARE(trouble->count(), 1);
        QCOMPARE(trouble->item(0)->text(),
                 QStringLiteral("1 frames use the converter's address 128"));

        w.resize(1000, 620);
        QVERIFY(w.grab().save(Screenshot_Path(QStringLiteral("bus_check_after_log.png"))));

        // Add to Table: one undo step on the editor, which then shows unsaved changes.
        auto* add = w.findChild<QPushButton*>(QStringLiteral("Btn_Add_Row"));
        QVERIFY(!add->isEnabled());
        unmatched->selectRow(0);
        QVERIFY(add->isEnabled());
        const int steps = editor.Undo_Stack()->count();
        QVERIFY(!editor.Is_Changed());
        QTest::mouseClick(add, Qt::LeftButton);
        QCOMPARE(editor.Undo_Stack()->count(), steps + 1);
        QVERIFY(editor.Is_Changed());
        QCOMPARE(editor.Row(3).mid(0, 6), (QStringList{"0", "0xFEF1", "0", "N", "0", "8"}));
        QVERIFY(editor.windowTitle().startsWith(Msg(600)) && editor.windowTitle() != Msg(600));
        editor.Undo_Stack()->undo();
        QCOMPARE(editor.Row(3).at(1), QString());
        QVERIFY(!editor.Is_Changed());
        editor.Undo_Stack()->redo();
        QCOMPARE(editor.Row(3).at(1), QStringLiteral("0xFEF1"));
    }

    void opened_without_editor_cannot_add()
    {
        Fixture fx;
        TFBus_Check w;
        w.Open_For(Shared.Conf_Dir, nullptr);
        fx.folder.write(QStringLiteral("bus.log"), Log);
        w.Load_Log(fx.folder.file(QStringLiteral("bus.log")));
        auto* unmatched = w.findChild<QTableWidget*>(QStringLiteral("sga_Unmatched"));
        unmatched->selectRow(0);
        auto* add = w.findChild<QPushButton*>(QStringLiteral("Btn_Add_Row"));
        QVERIFY(!add->isEnabled());
        QCOMPARE(add->toolTip(), Msg(239));
    }

    void a_bad_log_names_its_line()
    {
        Fixture fx;
        TFBus_Check w;
        w.Open_For(Shared.Conf_Dir, nullptr);
        fx.folder.write(QStringLiteral("bad.log"),
                        "(1.0) can0 0CF00400#01\n(1.1) can0 0CF004#01\n");
        w.Choose_Log = [&](QWidget*) { return fx.folder.file(QStringLiteral("bad.log")); };
        QTest::mouseClick(w.findChild<QPushButton*>(QStringLiteral("Btn_Log")), Qt::LeftButton);
        QCOMPARE(fx.ui.boxes.size(), 1);
        QVERIFY2(fx.ui.boxes.at(0).text.endsWith(QStringLiteral(
                     "bad.log: Line 2: not a CAN frame of a candump or Vector ASC log")),
                 qPrintable(fx.ui.boxes.at(0).text));
    }

    // A second virtualcan device, opened by the test on 127.0.0.1, puts frames on the bus.
    void live_through_virtualcan()
    {
        qInfo() << "CAN bus plugins:" << Can_Live_Source::Plugins();
        if (!Can_Live_Source::Plugins().contains(QStringLiteral("virtualcan")))
            QSKIP("the virtualcan plugin is not installed");
        Fixture fx;
        // A port of this run's own, so that parallel runs do not share a bus.
        const QString url = QStringLiteral("tcp://127.0.0.1:%1/can0")
                                .arg(36000 + QCoreApplication::applicationPid() % 2000);
        TFBus_Check w;
        w.Open_For(Shared.Conf_Dir, nullptr);
        w.show();
        if (!w.Start_Live(QStringLiteral("virtualcan"), url))
            QSKIP(qPrintable(QStringLiteral("virtualcan cannot start here: ") +
                             fx.ui.texts().join(' ')));
        QString error;
        std::unique_ptr<QCanBusDevice> sender(
            QCanBus::instance()->createDevice(QStringLiteral("virtualcan"), url, &error));
        QVERIFY2(sender, qPrintable(error));
        QVERIFY2(sender->connectDevice(), qPrintable(sender->errorString()));
        QTRY_COMPARE(sender->state(), QCanBusDevice::ConnectedState);
        QTest::qWait(200); // both clients registered with the server
        // One second of a fully loaded 500 kbit/s bus, sent as fast as the socket takes it.
        for (int i = 0; i < 4000; ++i) {
            QCanBusFrame f(0x0CF00400, QByteArray::fromHex("F0FF7D1020FFFFFF"));
            f.setExtendedFrameFormat(true);
            QVERIFY(sender->writeFrame(f));
        }
        QCanBusFrame own(0x18FEF180, QByteArray(8, '\0'));
        own.setExtendedFrameFormat(true);
        QVERIFY(sender->writeFrame(own));
        QTRY_COMPARE_WITH_TIMEOUT(w.Check()->Frames(), 4001, 20000);
        QCOMPARE(w.Check()->Rows().at(0).stats.count, 4000);
        QCOMPARE(w.Check()->Trouble().own_address, 1);
        QCOMPARE(w.Live()->Dropped(), 0);
        auto* rows = w.findChild<QTableWidget*>(QStringLiteral("sga_Rows"));
        QTRY_COMPARE(Cell(rows, 0, 5), QStringLiteral("4000"));
        w.Stop_Live();
        QVERIFY(!w.findChild<QPushButton*>(QStringLiteral("Btn_Stop"))->isEnabled());
        sender->disconnectDevice();
    }
};

QTEST_MAIN(tst_buscheckwindow)
#include "tst_buscheckwindow.moc"
