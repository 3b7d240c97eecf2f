#include "app/UComon.h"
#include "editors/DbcPickerDialog.h"
#include "editors/FrameWarnings.h"
#include "editors/UReceive_J1939_Frames.h"
#include "editors/UTransmit_J1939_Frames.h"
#include "language/ULanguage.h"
#include "support/FakeUi.h"
#include "support/TestSupport.h"
#include "widgets/FrameGrid.h"

#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>
#include <QUndoStack>

#include <memory>

// Rows from DBC and CSV files in the frame windows, driven as a user drives them.

namespace {

const QByteArray With_Ethernet = "<Par_Gen><Device_Type>1</Device_Type></Par_Gen>";
const QByteArray Without_Ethernet = "<Par_Gen><Device_Type>0</Device_Type></Par_Gen>";

// Five J1939 messages, most with the placeholder source address 254, and one 11-bit frame.
const QByteArray Engine_Dbc =
    "VERSION \"\"\r\n\r\nBU_: Engine Gearbox\r\n\r\n"
    "BO_ 2364539904 EEC1: 8 Engine\r\n"
    " SG_ EngTorqueMode : 0|4@1+ (1,0) [0|15] \"\" Gearbox\r\n"
    " SG_ EngSpeed : 24|16@1+ (0.125,0) [0|8031.875] \"rpm\" Gearbox\r\n\r\n"
    "BO_ 2566844926 CCVS: 8 Engine\r\n"
    " SG_ WheelSpeed : 8|16@1+ (0.00390625,0) [0|250.996] \"km/h\" Vector__XXX\r\n\r\n"
    "BO_ 2566844158 ET1: 8 Engine\r\n\r\n"
    "BO_ 2348810494 TSC1: 8 Gearbox\r\n\r\n"
    "BO_ 2566852862 PropB: 16 Gearbox\r\n\r\n"
    "BO_ 291 Diag11bit: 8 Gearbox\r\n";

struct Fixture {
    Program_Folder folder;
    Fake_Ui ui;

    explicit Fixture(const QByteArray& parGen)
    {
        Open_Test_Configuration(folder.path());
        write(QStringLiteral("ParGen.xml"), parGen);
    }
    void write(const QString& name, const QByteArray& data) const
    {
        folder.write(QStringLiteral("PROJECTS/Test/") + name, data);
    }
    QByteArray read(const QString& name) const
    {
        return folder.read(QStringLiteral("PROJECTS/Test/") + name);
    }
    QString path(const QString& name) const
    {
        return folder.file(QStringLiteral("PROJECTS/Test/") + name);
    }
};

QByteArray Frames(const QByteArray& rows)
{
    return "<Receive_Frames>" + rows + "</Receive_Frames><!--SW_VERSION = 2.000-->";
}

std::unique_ptr<Frame_Editor> Open_Table(bool receive)
{
    std::unique_ptr<Frame_Editor> w;
    if (receive)
        w = std::make_unique<TFReceive_J1939_Frame>(nullptr);
    else
        w = std::make_unique<TFTransmit_J1939_Frame>(nullptr);
    w->show();
    return w;
}

void Trigger(QWidget* w, const char* action)
{
    QAction* a = w->findChild<QAction*>(QString::fromLatin1(action));
    QVERIFY(a);
    a->trigger();
}

// Answers a file dialog with `path`; other dialogs go to `next`.
std::function<int(QDialog*)> File_Then(const QString& path, std::function<int(QDialog*)> next = {})
{
    return [path, next](QDialog* d) {
        if (auto* fd = qobject_cast<QFileDialog*>(d)) {
            fd->setDirectory(QFileInfo(path).absolutePath());
            fd->selectFile(path);
            return int(QDialog::Accepted);
        }
        if (next)
            return next(d);
        d->reject();
        return int(QDialog::Rejected);
    };
}

// Presses a button of a question box, as a click does.
int Press(QDialog* d, const char* button)
{
    auto* b = d->findChild<QPushButton*>(QString::fromLatin1(button));
    if (!b)
        return -1;
    d->show();
    QTest::mouseClick(b, Qt::LeftButton);
    return d->result();
}

QTreeWidgetItem* Item(QTreeWidget* list, const QString& name)
{
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        if (list->topLevelItem(i)->text(0) == name)
            return list->topLevelItem(i);
    return nullptr;
}

QStringList Shown(QTreeWidget* list)
{
    QStringList names;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        if (!list->topLevelItem(i)->isHidden())
            names << list->topLevelItem(i)->text(0);
    return names;
}

QList<Frame_Cells> Empty_Table(int rows)
{
    return QList<Frame_Cells>(rows, Frame_Cells(10));
}

} // namespace

class tst_importwindow final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // The whole road once: file dialog, picker driven with keys and clicks, rows after the
    // last filled one, one undo step that gives the table back exactly, and OK saving them.
    void dbc_import_through_the_window_then_undo()
    {
        Fixture f(With_Ethernet);
        f.write("Receive_Frame.xml",
                Frames("<row DataPage=\"0\" PGN=\"0xFEF5\" SA=\"0\" TransportProtocol=\"N\" "
                       "StartByte=\"\" NumBytes=\"\" Delete=\"N\" OnRequest=\"N\" "
                       "OnReq_Time=\"1000\" Mnemonic=\"Ambient\"/>"
                       "<row DataPage=\"0\" PGN=\"0xFEEF\" SA=\"0\" TransportProtocol=\"N\" "
                       "StartByte=\"\" NumBytes=\"\" Delete=\"N\" OnRequest=\"N\" "
                       "OnReq_Time=\"1000\" Mnemonic=\"\"/>"));
        f.write("engine.dbc", Engine_Dbc);
        auto w = Open_Table(true);
        const QList<Frame_Cells> before = w->Rows();
        const int steps = w->Undo_Stack()->count();

        QString count, refusal;
        bool okBefore = true;
        f.ui.onModal = File_Then(f.path("engine.dbc"), [&](QDialog* d) {
            auto* picker = qobject_cast<Dbc_Picker_Dialog*>(d);
            if (!picker)
                return int(QDialog::Rejected);
            d->show();
            okBefore = d->findChild<QPushButton*>("Btn_OK")->isEnabled();
            auto* list = d->findChild<QTreeWidget*>("LV_Messages");
            QTest::keyClicks(d->findChild<QLineEdit*>("E_Search"), "fef1");
            if (Shown(list) != QStringList{"CCVS"})
                return int(QDialog::Rejected);
            list->setCurrentItem(Item(list, "CCVS"));
            QTest::keyClick(list, Qt::Key_Space);
            auto* sa = d->findChild<QLineEdit*>("E_Source_Address");
            sa->selectAll();
            QTest::keyClicks(sa, "0x21");
            count = d->findChild<QLabel*>("L_Count")->text();
            refusal = d->findChild<QLabel*>("L_Refusal")->text();
            QTest::mouseClick(d->findChild<QPushButton*>("Btn_OK"), Qt::LeftButton);
            return d->result();
        });
        Trigger(w.get(), "A_Import_Dbc");

        QVERIFY(!okBefore); // nothing ticked yet
        QCOMPARE(count, QStringLiteral("Ticked: 1 · Rows: 1 of 54 left · Bytes used: 24 of 455"));
        QCOMPARE(refusal, QString());
        QCOMPARE(f.ui.shownDialogs, (QStringList{"Dbc_File_Dialog", "Dbc_Picker"}));
        QCOMPARE(w->Row(3),
                 (Frame_Cells{"0", "0xFEF1", "33", "N", "0", "8", "N", "N", "1000", "CCVS"}));
        QCOMPARE(w->Row(4), Frame_Cells(10));
        QCOMPARE(f.ui.texts(), QStringList{"Rows imported: 1"});
        QVERIFY(w->Is_Changed());
        QCOMPARE(w->Undo_Stack()->count(), steps + 1);
        QCOMPARE(w->Bytes_Used(), 24);

        // The window system gives the editor back the focus when the picker closes.
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        QTest::keyClick(w->sga, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(w->Rows(), before);
        QVERIFY(!w->Is_Changed());

        QTest::keyClick(w->sga, Qt::Key_Y, Qt::ControlModifier);
        QTest::mouseClick(w->findChild<QPushButton*>("Btn_OK"), Qt::LeftButton);
        QVERIFY(!w->isVisible());
        QVERIFY(f.read("Receive_Frame.xml")
                    .contains("<row DataPage=\"0\" PGN=\"0xFEF1\" SA=\"33\" "
                              "TransportProtocol=\"N\" StartByte=\"0\" NumBytes=\"8\" "
                              "Delete=\"N\" OnRequest=\"N\" OnReq_Time=\"1000\" "
                              "Mnemonic=\"CCVS\"/></Receive_Frames>"));
    }

    // The file's placeholder address is offered with a warning; taken as it is, the rows get
    // the table's advice like typed rows, and the summary names each skipped message.
    void placeholder_address_warns_and_skips_are_reported()
    {
        Fixture f(With_Ethernet);
        f.write("Send_Frame.xml", Frames("<row Priority=\"6\" DataPage=\"0\" PGN=\"0xFEEE\" "
                                         "SA=\"254\" NumByte=\"8\" OnRequest=\"N\" "
                                         "DataChange=\"N\" OnTimer=\"N\" OnTimer_Time=\"1000\" "
                                         "Mnemonic=\"\"/>"));
        f.write("engine.dbc", Engine_Dbc);
        auto w = Open_Table(false);
        bool warned = false;
        QString address;
        f.ui.onModal = File_Then(f.path("engine.dbc"), [&](QDialog* d) {
            d->show();
            address = d->findChild<QLineEdit*>("E_Source_Address")->text();
            warned = d->findChild<QLabel*>("L_Address_Warning")->isVisible();
            QTest::mouseClick(d->findChild<QPushButton*>("Btn_All"), Qt::LeftButton);
            QTest::mouseClick(d->findChild<QPushButton*>("Btn_OK"), Qt::LeftButton);
            return d->result();
        });
        Trigger(w.get(), "A_Import_Dbc");
        QCOMPARE(address, QStringLiteral("254"));
        QVERIFY(warned);
        // ET1 is row 1 already; the 11-bit frame is no J1939 frame.
        QCOMPARE(f.ui.texts(),
                 QStringList{"Rows imported: 4\n"
                             "Skipped ET1: same data page, PGN and source address as row 1\n"
                             "Skipped Diag11bit: standard 11-bit frame; the tables hold J1939 "
                             "frames only"});
        QCOMPARE(w->Row(2),
                 (Frame_Cells{"3", "0", "0xF004", "254", "8", "N", "N", "N", "1000", "EEC1"}));
        QCOMPARE(w->Row(4),
                 (Frame_Cells{"3", "0", "0x0000", "254", "8", "N", "N", "N", "1000", "TSC1"}));
        QCOMPARE(w->Bytes_Used(), 48);
        bool advised = false;
        for (const Frame_Warning& x : w->Live_Warnings())
            advised |= x.row == 3 && x.message == Warning_Msg::Not_Own_Address_Sent;
        QVERIFY(advised);
    }

    void picker_counts_and_refusal_data()
    {
        QTest::addColumn<bool>("receive");
        QTest::addColumn<bool>("reduced");
        QTest::addColumn<QList<Frame_Cells>>("filled");
        QTest::addColumn<QStringList>("ticked");
        QTest::addColumn<QString>("sa");
        QTest::addColumn<QString>("count");
        QTest::addColumn<int>("refusal");

        const auto rx = [](const QString& pgn, const QString& numBytes) {
            return Frame_Cells{"0", pgn, "0", "N", "", numBytes, "N", "N", "1000", ""};
        };
        const auto tx = [](const QString& pgn, const QString& numByte) {
            return Frame_Cells{"6", "0", pgn, "0", numByte, "N", "N", "N", "1000", ""};
        };
        QTest::newRow("nothing ticked")
            << true << false << QList<Frame_Cells>{} << QStringList{} << "254"
            << "Ticked: 0 · Rows: 0 of 56 left · Bytes "
               "used: 0 of 455"
            << 943;
        QTest::newRow("budget reached exactly")
            << true << false << QList<Frame_Cells>{rx("0xFEF5", "423")}
            << QStringList{"EEC1", "PropB", "ET1"} << "254"
            << "Ticked: 3 · Rows: 3 of 55 left · Bytes used: 455 of 455" << 0;
        QTest::newRow("one byte past the budget")
            << true << false << QList<Frame_Cells>{rx("0xFEF5", "424")}
            << QStringList{"EEC1", "PropB", "ET1"} << "254"
            << "Ticked: 3 · Rows: 3 of 55 left · Bytes used: 456 of 455" << 942;
        // An empty Num Bytes counts 8, as the checks count it.
        QTest::newRow("empty Num Bytes counts 8")
            << true << false << QList<Frame_Cells>(55, rx("0xFEF5", "")) << QStringList{"CCVS"}
            << "3"
            << "Ticked: 1 · Rows: 1 of 1 left · Bytes used: 448 of 455" << 0;
        QTest::newRow("transmit past the budget")
            << false << false << QList<Frame_Cells>{tx("0xFEF5", "440")}
            << QStringList{"EEC1", "CCVS"} << "254"
            << "Ticked: 2 · Rows: 2 of 55 left · Bytes used: 456 of 455" << 942;
        QTest::newRow("reduced: rows, no budget")
            << false << true << QList<Frame_Cells>(15, tx("0xFEF5", "400"))
            << QStringList{"EEC1", "CCVS"} << "254"
            << "Ticked: 2 · Rows: 2 of 1 left" << 941;
        QTest::newRow("reduced: the last row")
            << true << true << QList<Frame_Cells>(15, rx("0xFEF5", "400")) << QStringList{"ET1"}
            << "254"
            << "Ticked: 1 · Rows: 1 of 1 left" << 0;
        // Frames the table holds already and 11-bit frames take no room.
        QTest::newRow("duplicate and 11-bit frame take no row")
            << true << false << QList<Frame_Cells>{rx("0xFEF1", ""), rx("0xFEF5", "")}
            << QStringList{"CCVS", "Diag11bit", "ET1"} << "0"
            << "Ticked: 3 · Rows: 1 of 54 left · Bytes used: 24 of 455" << 0;
        // The rows go after the last filled row, also past a row without its key cell; the
        // budget counts what OK checks: up to that row (OK then asks about the rows below it).
        QTest::newRow("after the last filled row, past a blank key")
            << true << false
            << QList<Frame_Cells>{rx("0xFEF5", ""),
                                  Frame_Cells{"", "", "", "", "", "", "", "", "", "note"},
                                  rx("0xFEF6", "")}
            << QStringList{"CCVS"} << "0"
            << "Ticked: 1 · Rows: 1 of 53 left · Bytes used: 8 of 455" << 0;
        QTest::newRow("address past 255")
            << true << false << QList<Frame_Cells>{} << QStringList{"CCVS"} << "256"
            << "Ticked: 1 · Rows: 0 of 56 left · Bytes used: 0 of 455" << 944;
    }

    void picker_counts_and_refusal()
    {
        QFETCH(bool, receive);
        QFETCH(bool, reduced);
        QFETCH(QList<Frame_Cells>, filled);
        QFETCH(QStringList, ticked);
        QFETCH(QString, sa);
        QFETCH(QString, count);
        QFETCH(int, refusal);
        Load_Default_Language();
        QList<Frame_Cells> table = Empty_Table(reduced ? 16 : 56);
        for (int i = 0; i < filled.size(); ++i)
            table[i] = filled.at(i);
        const Dbc_File file = Parse_Dbc(Engine_Dbc, QStringLiteral("engine.dbc"));
        Dbc_Picker_Dialog d(receive ? Receive_Table : Send_Table, table, reduced, file,
                            QStringLiteral("engine.dbc"), nullptr);
        auto* list = d.findChild<QTreeWidget*>("LV_Messages");
        for (const QString& name : ticked)
            Item(list, name)->setCheckState(0, Qt::Checked);
        auto* address = d.findChild<QLineEdit*>("E_Source_Address");
        address->clear();
        QTest::keyClicks(address, sa);
        QCOMPARE(d.findChild<QLabel*>("L_Count")->text(), count);
        QCOMPARE(d.findChild<QLabel*>("L_Refusal")->text(), refusal ? Msg(refusal) : QString());
        QCOMPARE(d.findChild<QPushButton*>("Btn_OK")->isEnabled(), refusal == 0);
        QCOMPARE(d.Plan().refusal, refusal);
    }

    void search_by_name_or_pgn_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("shown");
        QTest::newRow("name, any case") << "tsc" << QStringList{"TSC1"};
        QTest::newRow("hex PGN with prefix") << "0xFEEE" << QStringList{"ET1"};
        QTest::newRow("decimal PGN") << "65265" << QStringList{"CCVS"};
        QTest::newRow("part of a PGN") << "FE" << QStringList{"CCVS", "ET1"};
        QTest::newRow("cleared") << "" << QStringList{"EEC1", "CCVS",  "ET1",
                                                      "TSC1", "PropB", "Diag11bit"};
    }

    void search_by_name_or_pgn()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, shown);
        Load_Default_Language();
        const Dbc_File file = Parse_Dbc(Engine_Dbc, QStringLiteral("engine.dbc"));
        Dbc_Picker_Dialog d(Receive_Table, Empty_Table(56), false, file,
                            QStringLiteral("engine.dbc"), nullptr);
        QTest::keyClicks(d.findChild<QLineEdit*>("E_Search"), text);
        auto* list = d.findChild<QTreeWidget*>("LV_Messages");
        QCOMPARE(Shown(list), shown);
        // "All" ticks only what the search shows.
        QTest::mouseClick(d.findChild<QPushButton*>("Btn_All"), Qt::LeftButton);
        QCOMPARE(d.Ticked(), shown);
    }

    void csv_export_then_replace_gives_the_same_file_data()
    {
        QTest::addColumn<bool>("receive");
        QTest::addColumn<QByteArray>("parGen");
        QTest::addColumn<QByteArray>("stored");
        QTest::newRow("receive, full") << true << With_Ethernet
                                       << Frames("<row DataPage=\"0\" PGN=\" 0xFEF1\" SA=\"3\" "
                                                 "StartByte=\"2\" NumBytes=\"4\" "
                                                 "Mnemonic=\"Öl, &quot;neu&quot;\"/>"
                                                 "<row DataPage=\"1\" PGN=\"65280\" SA=\"x21\" "
                                                 "OnRequest=\"Y\" OnReq_Time=\"500\"/>");
        QTest::newRow("receive, reduced keeps hidden cells")
            << true << Without_Ethernet
            << Frames("<row DataPage=\"0\" PGN=\"0xFEF1\" SA=\"3\" StartByte=\"5000\" "
                      "Mnemonic=\"Température\"/>");
        QTest::newRow("transmit, full")
            << false << With_Ethernet
            << Frames("<row Priority=\"6\" DataPage=\"0\" PGN=\"0xFEF1\" SA=\"0x80\" "
                      "NumByte=\"8\" OnTimer=\"Y\" OnTimer_Time=\"100\" Mnemonic=\"a\nb\"/>"
                      "<row Priority=\"3\" DataPage=\"0\" PGN=\"0\" SA=\"5\" NumByte=\"0\"/>");
    }

    // The export writes the table as it stands, an unsaved edit included; importing it again
    // with Replace after the table was changed gives back the stored file byte for byte.
    void csv_export_then_replace_gives_the_same_file()
    {
        QFETCH(bool, receive);
        QFETCH(QByteArray, parGen);
        QFETCH(QByteArray, stored);
        Fixture f(parGen);
        const QString file = receive ? "Receive_Frame.xml" : "Send_Frame.xml";
        f.write(file, stored);
        auto w = Open_Table(receive);
        // An edit not saved yet: the mnemonic of row 1.
        w->sga->Set_Cell(Mnemonic_Column, 1, QStringLiteral("Ölstand; \"Nord\" "));
        const QString csv = f.path("table.csv");
        f.ui.onModal = File_Then(csv);
        Trigger(w.get(), "A_Export_Csv");
        QVERIFY(QFile::exists(csv));
        const QByteArray exported = f.read("table.csv");
        QVERIFY(exported.startsWith("\xEF\xBB\xBF"));
        QVERIFY(exported.contains("\"Ölstand; \"\"Nord\"\" \""));
        QTest::mouseClick(w->findChild<QPushButton*>("Btn_OK"), Qt::LeftButton);
        const QByteArray saved = f.read(file);

        w = Open_Table(receive);
        const QList<Frame_Cells> opened = w->Rows();
        // The table changed in every way a replace has to undo: a cell, an extra row.
        w->sga->Set_Cell(2, 1, QStringLiteral("7"));
        for (int c = 1; c <= 4; ++c)
            w->sga->Set_Cell(c, 3, QStringLiteral("1"));
        const QList<Frame_Cells> changed = w->Rows();
        const int steps = w->Undo_Stack()->count();
        f.ui.clear();
        f.ui.onModal = File_Then(csv, [](QDialog* d) { return Press(d, "Btn_Replace"); });
        Trigger(w.get(), "A_Import_Csv");
        QCOMPARE(f.ui.shownDialogs, (QStringList{"Csv_File_Dialog", "Csv_Replace_Or_Append"}));
        QCOMPARE(w->Rows(), opened);
        QCOMPARE(w->Undo_Stack()->count(), steps + 1);
        w->Btn_UndoClick();
        QCOMPARE(w->Rows(), changed);
        w->Btn_RedoClick();
        QTest::mouseClick(w->findChild<QPushButton*>("Btn_OK"), Qt::LeftButton);
        QVERIFY(!w->isVisible());
        QCOMPARE(f.read(file), saved);
    }

    // A spreadsheet saved in Europe: semicolons, a BOM, another column order, a column the
    // table does not have. Appended after the last filled row, the unknown column reported.
    void csv_append_reports_unknown_columns()
    {
        Fixture f(With_Ethernet);
        f.write("Receive_Frame.xml", Frames("<row DataPage=\"0\" PGN=\"0xFEF5\" SA=\"0\"/>"));
        f.write("list.csv", "\xEF\xBB\xBF"
                            "PGN;Data Page;Source Address;Comment;Mnemonic\r\n"
                            "0xFEEE;0;0;hot;Température\r\n");
        auto w = Open_Table(true);
        f.ui.onModal =
            File_Then(f.path("list.csv"), [](QDialog* d) { return Press(d, "Btn_Append"); });
        Trigger(w.get(), "A_Import_Csv");
        QCOMPARE(w->Row(1).value(1), QStringLiteral("0xFEF5"));
        QCOMPARE(w->Row(2),
                 (Frame_Cells{"0", "0xFEEE", "0", "N", "", "", "N", "N", "1000", "Température"}));
        QCOMPARE(f.ui.texts(), QStringList{"Rows imported: 1\n"
                                           "Columns not imported (not in the table): Comment"});
    }

    void unreadable_files_leave_the_table_unchanged_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("error");
        QTest::newRow("DBC without a colon")
            << "A_Import_Dbc" << Read_All(Test_Data("dbc/missing_colon.dbc"))
            << "bad.txt, line 8: expected ':', found '8'";
        QTest::newRow("CSV with a quote left open")
            << "A_Import_Csv" << QByteArray("PGN,Data Page\r\n0xFEF1,0\r\n\"0xFEF2,0\r\n")
            << "bad.txt, line 3: ";
        QTest::newRow("CSV: more rows than the table has left")
            << "A_Import_Csv"
            << QByteArray("PGN\r\n1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\n9\r\n"
                          "10\r\n11\r\n12\r\n13\r\n14\r\n15\r\n16\r\n")
            << "The rows of the file do not fit into the table. Rows: 16 of 15 left";
    }

    void unreadable_files_leave_the_table_unchanged()
    {
        QFETCH(QString, action);
        QFETCH(QByteArray, content);
        QFETCH(QString, error);
        Fixture f(Without_Ethernet);
        f.write("Receive_Frame.xml", Frames("<row DataPage=\"0\" PGN=\"0xFEF5\" SA=\"0\"/>"));
        f.write("bad.txt", content);
        auto w = Open_Table(true);
        const QList<Frame_Cells> before = w->Rows();
        const int steps = w->Undo_Stack()->count();
        f.ui.onModal =
            File_Then(f.path("bad.txt"), [](QDialog* d) { return Press(d, "Btn_Append"); });
        Trigger(w.get(), qPrintable(action));
        QCOMPARE(f.ui.boxes.size(), 1);
        QCOMPARE(f.ui.boxes.at(0).kind, Fake_Ui::Kind::Error);
        QVERIFY2(f.ui.boxes.at(0).text.contains(error), qPrintable(f.ui.boxes.at(0).text));
        QVERIFY(!f.ui.shownDialogs.contains("Dbc_Picker"));
        QCOMPARE(w->Rows(), before);
        QCOMPARE(w->Undo_Stack()->count(), steps);
        QVERIFY(!w->Is_Changed());
    }

    void pictures_data()
    {
        QTest::addColumn<QString>("language");
        QTest::newRow("English") << "English";
        QTest::newRow("Deutsch") << "Deutsch";
    }

    // The picker and the table after the import, for a look with the fonts of this machine.
    void pictures()
    {
        QFETCH(QString, language);
        Fixture f(With_Ethernet);
        f.write("engine.dbc", Engine_Dbc);
        QVERIFY(Read_Lng_File(
            QDir::cleanPath(QStringLiteral(TEST_DATA_DIR "/../../LANGUAGE/") + language + ".lng")));
        auto w = Open_Table(true);
        w->Set_Lang();
        QString picker;
        f.ui.onModal = File_Then(f.path("engine.dbc"), [&](QDialog* d) {
            d->show();
            auto* list = d->findChild<QTreeWidget*>("LV_Messages");
            for (const char* name : {"EEC1", "CCVS", "TSC1"})
                Item(list, name)->setCheckState(0, Qt::Checked);
            d->layout()->activate();
            picker = QStringLiteral("import_picker_%1.png").arg(language.left(2));
            d->grab().save(Screenshot_Path(picker));
            QTest::mouseClick(d->findChild<QPushButton*>("Btn_OK"), Qt::LeftButton);
            return d->result();
        });
        Trigger(w.get(), "A_Import_Dbc");
        QVERIFY(!picker.isEmpty());
        w->layout()->activate();
        QVERIFY(w->grab().save(
            Screenshot_Path(QStringLiteral("import_editor_%1.png").arg(language.left(2)))));
        Load_Default_Language();
    }
};

QTEST_MAIN(tst_importwindow)
#include "tst_importwindow.moc"
