#include "app/UComon.h"
#include "configurations/ConfigFiles.h"
#include "editors/UReceive_J1939_Frames.h"
#include "editors/UTransmit_J1939_Frames.h"
#include "language/ULanguage.h"
#include "support/FakeUi.h"
#include "support/TestSupport.h"
#include "widgets/FrameGrid.h"

#include <QAction>
#include <QClipboard>
#include <QDir>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeySequence>
#include <QLabel>
#include <QLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTextDocument>
#include <QUndoStack>

#include <memory>

namespace {

const QByteArray Without_Ethernet = "<Par_Gen><Device_Type>0</Device_Type></Par_Gen>";
const QByteArray With_Ethernet = "<Par_Gen><Device_Type>1</Device_Type></Par_Gen>";

// A program folder with an active configuration, the English texts and a fake user.
struct Fixture {
    Program_Folder folder;
    Fake_Ui ui;

    explicit Fixture(const QByteArray& parGen = {})
    {
        Open_Test_Configuration(folder.path());
        if (!parGen.isEmpty())
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
};

template <typename Window> std::unique_ptr<Window> Open()
{
    auto w = std::make_unique<Window>(nullptr);
    w->show(); // runs the opening as a modal showing would
    return w;
}

QPushButton* Button(QWidget* w, const char* name)
{
    return w->findChild<QPushButton*>(QString::fromLatin1(name));
}

void Click(QWidget* w, const char* name)
{
    QTest::mouseClick(Button(w, name), Qt::LeftButton);
}

// Types into the current cell as a user does: the first key opens the cell editor.
void Type(Frame_Grid* g, const QString& text)
{
    QTest::keyClick(g, text.at(0).toLatin1());
    QWidget* editor = g->indexWidget(g->currentIndex());
    QVERIFY(editor);
    QTest::keyClicks(editor, text.mid(1));
    QTest::keyClick(editor, Qt::Key_Return);
}

QPoint Cell_Centre(Frame_Grid* g, int col, int row)
{
    return g->visualRect(g->Index_Of(col, row)).center();
}

QByteArray Rows_Of(int count, const QByteArray& row)
{
    QByteArray xml = "<Receive_Frames>";
    for (int i = 0; i < count; ++i)
        xml += row;
    return xml + "</Receive_Frames><!--SW_VERSION = 2.000-->";
}

Receive_Frame_Row Receive_Row(const QStringList& cells)
{
    Receive_Frame_Row r;
    for (int c = 0; c < Receive_Frame_Row::Count; ++c)
        r.field(c) = cells.at(c);
    return r;
}

struct Cell_At {
    int col;
    int row;
    bool operator==(const Cell_At&) const = default;
};

char* toString(const Cell_At& c)
{
    return QTest::toString(QStringLiteral("col %1 row %2").arg(c.col).arg(c.row));
}

std::unique_ptr<Frame_Editor> Open_Table(bool receive)
{
    if (receive)
        return Open<TFReceive_J1939_Frame>();
    return Open<TFTransmit_J1939_Frame>();
}

// The cells the window marks as failing or advised, in row order.
QList<Cell_At> Marked(Frame_Grid* g, Cell_Mark mark)
{
    QList<Cell_At> cells;
    for (int r = 1; r < g->Row_Count(); ++r)
        for (int c = 1; c < 11; ++c)
            if (g->Model()->Note(c, r).mark == mark)
                cells.append({c, r});
    return cells;
}

// The cell links of a list under the table, in their order.
QStringList Links(const QLabel* list)
{
    QStringList links;
    static const QRegularExpression href(QStringLiteral("href=\"([0-9]+:[0-9]+)\""));
    for (auto it = href.globalMatch(list->text()); it.hasNext();)
        links << it.next().captured(1);
    return links;
}

QString Plain(const QLabel* label)
{
    QTextDocument d;
    d.setHtml(label->text());
    return d.toPlainText();
}

// What a test does to the table before it leaves the window.
enum Table_Edit { Nothing, Typed, Typed_Open, Inserted, Typed_Back, Ticked_Unticked };

} // namespace

Q_DECLARE_METATYPE(Cell_At)

class tst_frameeditors final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void layouts_data()
    {
        QTest::addColumn<bool>("receive");
        QTest::addColumn<QByteArray>("parGen");
        QTest::addColumn<QList<int>>("hidden");
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("mnemonicWidth");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<int>("hintColumn");
        QTest::addColumn<QString>("hint");
        QTest::addColumn<QString>("picture");

        QTest::newRow("receive, no ParGen.xml")
            << true << QByteArray() << QList<int>{} << 57 << 120 << QSize(876, 337) << 7
            << "Enable/Disable the Cancel Data if not arrive the J1939 Frame within the TimeOut"
            << "receive_full.png";
        QTest::newRow("receive, without Ethernet")
            << true << Without_Ethernet << QList<int>{4, 5, 6, 8, 9} << 17 << 511 << QSize(876, 337)
            << 7
            << "Enable/Disable the Cancel Data if not arrive the J1939 Frame within the TimeOut"
            << "receive_reduced.png";
        QTest::newRow("receive, column 3 hint in the reduced table")
            << true << Without_Ethernet << QList<int>{4, 5, 6, 8, 9} << 17 << 511 << QSize(876, 337)
            << 3 << "Source Address of J1939 Frame"
            << "";
        QTest::newRow("transmit, with Ethernet")
            << false << With_Ethernet << QList<int>{} << 57 << 95 << QSize(784, 337) << 9
            << "Time Between Two J1939 Frame in milliseconds if On Timer is Selected"
            << "transmit_full.png";
        QTest::newRow("transmit, without Ethernet")
            << false << QByteArray("<Par_Gen/>") << QList<int>{5, 6, 7, 8, 9} << 17 << 434
            << QSize(784, 337) << 10 << "Description of the J1939 Frame"
            << "transmit_reduced.png";
    }

    void layouts()
    {
        QFETCH(bool, receive);
        QFETCH(QByteArray, parGen);
        QFETCH(QList<int>, hidden);
        QFETCH(int, rows);
        QFETCH(int, mnemonicWidth);
        QFETCH(QSize, size);
        QFETCH(int, hintColumn);
        QFETCH(QString, hint);
        QFETCH(QString, picture);

        Fixture f(parGen);
        const QByteArray row =
            receive ? "<row DataPage=\"0\" PGN=\"0xFEF1\" SA=\"0x80\" TransportProtocol=\"Y\" "
                      "StartByte=\"0\" "
                      "NumBytes=\"8\" Delete=\"Y\" OnRequest=\"N\" OnReq_Time=\"1000\" "
                      "Mnemonic=\"Engine "
                      "speed\"/>"
                    : "<row Priority=\"6\" DataPage=\"0\" PGN=\"0xFEF1\" SA=\"0x80\" NumByte=\"8\" "
                      "OnRequest=\"Y\" DataChange=\"N\" OnTimer=\"Y\" OnTimer_Time=\"100\" "
                      "Mnemonic=\"Cruise control\"/>";
        f.write(receive ? "Receive_Frame.xml" : "Send_Frame.xml", Rows_Of(3, row));
        std::unique_ptr<Frame_Editor> w;
        if (receive)
            w = Open<TFReceive_J1939_Frame>();
        else
            w = Open<TFTransmit_J1939_Frame>();
        QVERIFY(f.ui.boxes.isEmpty());
        Frame_Grid* g = w->findChild<Frame_Grid*>("sga");
        QVERIFY(g);

        // At least the design size, and wide enough for every shown column on a 1366 pixel
        // screen.
        QCOMPARE(w->height(), size.height());
        QVERIFY(w->width() >= size.width());
        QVERIFY(w->width() <= 1366);
        QCoreApplication::processEvents();
        QVERIFY2(g->horizontalHeader()->length() <= g->viewport()->width(),
                 qPrintable(QStringLiteral("columns %1, room %2")
                                .arg(g->horizontalHeader()->length())
                                .arg(g->viewport()->width())));
        QCOMPARE(g->Row_Count(), rows);
        QCOMPARE(g->model()->headerData(rows - 2, Qt::Vertical).toString(),
                 QString::number(rows - 1)); // the fixed row-number column
        QList<int> actuallyHidden;
        for (int c = 1; c < 11; ++c)
            if (g->isColumnHidden(c))
                actuallyHidden.append(c);
        QCOMPARE(actuallyHidden, hidden);
        QCOMPARE(g->columnWidth(10), mnemonicWidth);
        QCOMPARE(g->Column_Width(0), 40);
        QCOMPARE(w->Hint.size(), 10 - hidden.size());
        QCOMPARE(g->model()->headerData(hintColumn, Qt::Horizontal, Qt::ToolTipRole).toString(),
                 hint);
        QVERIFY(!g->model()->headerData(0, Qt::Horizontal, Qt::ToolTipRole).isValid());
        QCOMPARE(w->windowTitle(), receive ? "Receive J1939 Frames" : "Transmit J1939 Frames");

        if (!picture.isEmpty())
            QVERIFY(w->grab().save(Screenshot_Path(picture)));
    }

    // Everything typed through the real grid, with the Enter option on, then OK.
    void receive_row_typed_and_saved()
    {
        Fixture f(With_Ethernet);
        Shared.Enable_Jump_Field_Tables = true;
        auto w = Open<TFReceive_J1939_Frame>();
        Frame_Grid* g = w->sga;
        QCOMPARE(g->Current_Row(), 1);
        QCOMPARE(g->currentIndex().column(), 1);

        Type(g, "1"); // the Data Page list
        Type(g, "0xFEF1");
        Type(g, "128");
        QTest::keyClick(g, Qt::Key_Space); // Transport Protocol
        QTest::keyClick(g, Qt::Key_Return);
        Type(g, "2");
        Type(g, "4");
        QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, Cell_Centre(g, 7, 1)); // Cancel Data
        QCOMPARE(g->Cell(7, 1), QStringLiteral("Y"));
        QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, Cell_Centre(g, 7, 1));
        QCOMPARE(g->Cell(7, 1), QStringLiteral("N"));
        QTest::keyClick(g, Qt::Key_Return);
        QCOMPARE(g->currentIndex().column(), 8);
        QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, Cell_Centre(g, 8, 1)); // On Request
        QTest::keyClick(g, Qt::Key_Return);
        Type(g, "500");
        Type(g, "Engine speed");
        QCOMPARE(g->Current_Row(), 2);
        QCOMPARE(g->currentIndex().column(), 1);

        Click(w.get(), "Btn_OK");
        QCOMPARE(f.ui.texts(), QStringList{});
        QCOMPARE(w->result(), int(QDialog::Accepted));
        QVERIFY(!w->isVisible());
        const Receive_Frame_Row expected =
            Receive_Row({"1", "0xFEF1", "128", "Y", "2", "4", "N", "Y", "500", "Engine speed"});
        QCOMPARE(f.read("Receive_Frame.xml"), Receive_Frames_Xml({expected}));
    }

    void failed_check_keeps_window_and_file()
    {
        Fixture f(Without_Ethernet);
        const QByteArray stored =
            Rows_Of(1, "<row Priority=\"6\" DataPage=\"0\" PGN=\"1\" SA=\"1\"/>");
        f.write("Send_Frame.xml", stored);
        auto w = Open<TFTransmit_J1939_Frame>();
        Frame_Grid* g = w->sga;
        g->setCurrentIndex(g->Index_Of(1, 2));
        Type(g, "8");
        QTest::keyClick(g, Qt::Key_Return);
        Click(w.get(), "Btn_OK");
        QCOMPARE(f.ui.texts(), QStringList{"Error in row 2!! Priority must be between 0 and 7"});
        QVERIFY(w->isVisible());
        QCOMPARE(g->Cell(1, 2), QStringLiteral("8"));
        QCOMPARE(f.read("Send_Frame.xml"), stored);
    }

    // The cells marked while typing are the rows OK refuses, with the same texts; OK then
    // selects the first of them.
    void live_checks_agree_with_ok_data()
    {
        QTest::addColumn<bool>("receive");
        QTest::addColumn<QByteArray>("parGen");
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<QString>("typed"); // into the cell below
        QTest::addColumn<int>("col");
        QTest::addColumn<int>("row");
        QTest::addColumn<QList<Cell_At>>("failing");
        QTest::addColumn<QString>("list");

        const QByteArray rx = "<row DataPage=\"0\" PGN=\"0xFEF1\" SA=\"0\"/>";
        QTest::newRow("receive: hex PGN without prefix, Num Bytes 0")
            << true << With_Ethernet
            << Rows_Of(1, rx + "<row DataPage=\"0\" PGN=\"1\" SA=\"0\"/>"
                               "<row DataPage=\"1\" PGN=\"2\" SA=\"0\" NumBytes=\"0\"/>")
            << "FEF1" << 2 << 2 << QList<Cell_At>{{2, 2}, {6, 3}}
            << "2 errors: row 2 PGN, row 3 Num Bytes\n"
               "Hexadecimal numbers need a prefix (0x, x or $): write 0xFEF1";
        QTest::newRow("receive: 56 rows of 8 bytes, then 16 in row 1")
            << true << With_Ethernet << Rows_Of(56, rx) << "16" << 6 << 1 << QList<Cell_At>{{6, 56}}
            << "1 error: row 56 Num Bytes";
        QTest::newRow("receive: time of a request ticked")
            << true << With_Ethernet
            << Rows_Of(1, "<row DataPage=\"0\" PGN=\"1\" SA=\"0\" OnRequest=\"Y\"/>") << "1" << 9
            << 1 << QList<Cell_At>{{9, 1}} << "1 error: row 1 Time(ms)";
        QTest::newRow("receive reduced: hidden Start Byte not checked")
            << true << Without_Ethernet
            << Rows_Of(2, "<row DataPage=\"0\" PGN=\"1\" SA=\"0\" StartByte=\"5000\"/>") << "256"
            << 3 << 2 << QList<Cell_At>{{3, 2}} << "1 error: row 2 Source Address";
        QTest::newRow("transmit: priority, time of the timer")
            << false << With_Ethernet
            << Rows_Of(1, "<row Priority=\"1\" DataPage=\"0\" PGN=\"1\" SA=\"0\"/>"
                          "<row Priority=\"1\" DataPage=\"0\" PGN=\"1\" SA=\"0\" "
                          "OnTimer=\"Y\" OnTimer_Time=\"0\"/>")
            << "8" << 1 << 1 << QList<Cell_At>{{1, 1}, {9, 2}}
            << "2 errors: row 1 Priority, row 2 Time(ms)";
        QTest::newRow("transmit: Num Byte below 0")
            << false << With_Ethernet
            << Rows_Of(2, "<row Priority=\"1\" DataPage=\"0\" PGN=\"1\" SA=\"0\"/>") << "-1" << 5
            << 2 << QList<Cell_At>{{5, 2}} << "1 error: row 2 Num Byte";
        QTest::newRow("receive: all pass") << true << With_Ethernet << Rows_Of(3, rx) << "0x10" << 3
                                           << 3 << QList<Cell_At>{} << "";
    }

    void live_checks_agree_with_ok()
    {
        QFETCH(bool, receive);
        QFETCH(QByteArray, parGen);
        QFETCH(QByteArray, stored);
        QFETCH(QString, typed);
        QFETCH(int, col);
        QFETCH(int, row);
        QFETCH(QList<Cell_At>, failing);
        QFETCH(QString, list);

        Fixture f(parGen);
        f.write(receive ? "Receive_Frame.xml" : "Send_Frame.xml", stored);
        auto w = Open_Table(receive);
        Frame_Grid* g = w->sga;
        g->setCurrentIndex(g->Index_Of(col, row));
        Type(g, typed);
        QCoreApplication::processEvents();

        QCOMPARE(Marked(g, Cell_Mark::Error), failing);
        auto* errors = w->findChild<QLabel*>("L_Errors");
        QCOMPARE(errors->isVisibleTo(w.get()), !failing.isEmpty());
        if (!failing.isEmpty())
            QCOMPARE(Plain(errors), list);
        QStringList links;
        for (const Cell_At& c : failing) {
            links << QStringLiteral("%1:%2").arg(c.col).arg(c.row);
            const QModelIndex i = g->Index_Of(c.col, c.row);
            QVERIFY(i.data(Qt::DecorationRole).isValid()); // not colour alone
            QVERIFY(i.data(Qt::ToolTipRole).toString().startsWith("Error in row "));
        }
        QCOMPARE(Links(errors), links);

        g->setCurrentIndex(g->Index_Of(10, 5));
        Click(w.get(), "Btn_OK");
        if (failing.isEmpty()) {
            QCOMPARE(f.ui.texts(), QStringList{});
            QVERIFY(!w->isVisible());
            return;
        }
        const Cell_At first = failing.first();
        // The tooltip's first line; a number's other base may follow.
        QCOMPARE(f.ui.texts(), QStringList{g->Index_Of(first.col, first.row)
                                               .data(Qt::ToolTipRole)
                                               .toString()
                                               .section(QLatin1Char('\n'), 0, 0)});
        QVERIFY(w->isVisible());
        QCOMPARE(g->currentIndex(), g->Index_Of(first.col, first.row));

        // A click on the last entry of the list selects its cell.
        g->setCurrentIndex(g->Index_Of(10, 5));
        Q_EMIT errors->linkActivated(links.last());
        QCOMPARE(g->currentIndex(), g->Index_Of(failing.last().col, failing.last().row));
    }

    // Advice is marked and listed in its own style and never keeps OK from saving.
    void warnings_advise_without_blocking_data()
    {
        QTest::addColumn<bool>("receive");
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<QList<Cell_At>>("advised");
        QTest::addColumn<QString>("tip");
        QTest::addColumn<QString>("list");

        QTest::newRow("receive: global source, the converter's own address")
            << true
            << Rows_Of(1, "<row DataPage=\"0\" PGN=\"0xFEF1\" SA=\"255\"/>"
                          "<row DataPage=\"0\" PGN=\"0xFEF2\" SA=\"0x21\"/>")
            << QList<Cell_At>{{3, 1}, {3, 2}}
            << "Source address 254 (null) or 255 (global) never sends data: enter the address "
               "of the node that sends this PGN"
            << "2 warnings: row 1 Source Address, row 2 Source Address";
        QTest::newRow("transmit: sent with another address")
            << false << Rows_Of(1, "<row Priority=\"6\" DataPage=\"0\" PGN=\"0xFEF1\" SA=\"5\"/>")
            << QList<Cell_At>{{4, 1}}
            << "The converter sends with its own address: set the source address to 33"
            << "1 warning: row 1 Source Address";
    }

    void warnings_advise_without_blocking()
    {
        QFETCH(bool, receive);
        QFETCH(QByteArray, stored);
        QFETCH(QList<Cell_At>, advised);
        QFETCH(QString, tip);
        QFETCH(QString, list);

        Fixture f("<Par_Gen><Device_Type>1</Device_Type><J1939_Device_ID>33</J1939_Device_ID>"
                  "<PeerToPeer>0</PeerToPeer></Par_Gen>");
        const QString file = receive ? "Receive_Frame.xml" : "Send_Frame.xml";
        f.write(file, stored);
        auto w = Open_Table(receive);
        Frame_Grid* g = w->sga;
        QCOMPARE(Marked(g, Cell_Mark::Warning), advised);
        QCOMPARE(Marked(g, Cell_Mark::Error), QList<Cell_At>{});
        const QModelIndex first = g->Index_Of(advised.first().col, advised.first().row);
        QCOMPARE(first.data(Qt::ToolTipRole).toString().section(QLatin1Char('\n'), 0, 0), tip);
        QVERIFY(first.data(Qt::DecorationRole).isValid());
        QVERIFY(first.data(Qt::BackgroundRole) !=
                g->Index_Of(advised.first().col, 9).data(Qt::BackgroundRole));
        auto* warnings = w->findChild<QLabel*>("L_Warnings");
        QCOMPARE(Plain(warnings), list);
        QVERIFY(!w->findChild<QLabel*>("L_Errors")->isVisibleTo(w.get()));

        Q_EMIT warnings->linkActivated(Links(warnings).first());
        QCOMPARE(g->currentIndex(), first);
        g->setCurrentIndex(g->Index_Of(10, 1));
        Type(g, "x");
        Click(w.get(), "Btn_OK");
        QCOMPARE(f.ui.texts(), QStringList{});
        QVERIFY(!w->isVisible());
    }

    // The budget line counts as the check does: an empty Num Bytes is 8.
    void budget_and_rows_under_the_table_data()
    {
        QTest::addColumn<bool>("receive");
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<QString>("typed"); // into the Num Bytes cell of row 1
        QTest::addColumn<QString>("bytes");
        QTest::addColumn<QString>("bytesLevel");
        QTest::addColumn<QString>("rows");
        QTest::addColumn<QString>("rowsLevel");

        const QByteArray rx = "<row DataPage=\"0\" PGN=\"1\" SA=\"0\"/>";
        QTest::newRow("448: 56 rows of 8") << true << Rows_Of(56, rx) << ""
                                           << "Bytes used: 448 of 455"
                                           << "near"
                                           << "Rows: 56 of 56"
                                           << "near";
        QTest::newRow("455") << true << Rows_Of(56, rx) << "15"
                             << "Bytes used: 455 of 455"
                             << "near"
                             << "Rows: 56 of 56"
                             << "near";
        QTest::newRow("456") << true << Rows_Of(56, rx) << "16"
                             << "Bytes used: 456 of 455"
                             << "past"
                             << "Rows: 56 of 56"
                             << "near";
        QTest::newRow("few rows") << true << Rows_Of(3, rx) << "100"
                                  << "Bytes used: 116 of 455"
                                  << ""
                                  << "Rows: 3 of 56"
                                  << "";
        QTest::newRow("60 rows stored") << true << Rows_Of(60, rx) << "1"
                                        << "Bytes used: 441 of 455"
                                        << "near"
                                        << "Rows: 56 of 56"
                                        << "past";
        QTest::newRow("transmit: 0 counts nothing")
            << false
            << Rows_Of(2, "<row Priority=\"1\" DataPage=\"0\" PGN=\"1\" SA=\"0\" NumByte=\"200\"/>")
            << "0"
            << "Bytes used: 200 of 455"
            << ""
            << "Rows: 2 of 56"
            << "";
    }

    void budget_and_rows_under_the_table()
    {
        QFETCH(bool, receive);
        QFETCH(QByteArray, stored);
        QFETCH(QString, typed);
        QFETCH(QString, bytes);
        QFETCH(QString, bytesLevel);
        QFETCH(QString, rows);
        QFETCH(QString, rowsLevel);

        Fixture f(With_Ethernet);
        f.ui.answers = {false}; // keep the window when OK names the rows it cannot keep
        f.write(receive ? "Receive_Frame.xml" : "Send_Frame.xml", stored);
        auto w = Open_Table(receive);
        Frame_Grid* g = w->sga;
        g->setCurrentIndex(g->Index_Of(receive ? 6 : 5, 1));
        if (typed.isEmpty())
            g->Set_Cell(receive ? 6 : 5, 1, typed);
        else
            Type(g, typed);
        QCoreApplication::processEvents();
        auto* bytesLabel = w->findChild<QLabel*>("L_Bytes");
        auto* rowsLabel = w->findChild<QLabel*>("L_Rows");
        QCOMPARE(bytesLabel->text(), bytes);
        QCOMPARE(bytesLabel->property("level").toString(), bytesLevel);
        QCOMPARE(rowsLabel->text(), rows);
        QCOMPARE(rowsLabel->property("level").toString(), rowsLevel);
        QCOMPARE(w->Live_Failures().isEmpty(), bytesLevel != "past");
    }

    // The reduced table has no budget to show; its rows count to 16.
    void reduced_table_counts_16_rows()
    {
        Fixture f(Without_Ethernet);
        f.write("Receive_Frame.xml", Rows_Of(15, "<row DataPage=\"0\" PGN=\"1\" SA=\"0\"/>"));
        auto w = Open<TFReceive_J1939_Frame>();
        QVERIFY(!w->findChild<QLabel*>("L_Bytes")->isVisibleTo(w.get()));
        auto* rowsLabel = w->findChild<QLabel*>("L_Rows");
        QCOMPARE(rowsLabel->text(), QStringLiteral("Rows: 15 of 16"));
        QCOMPARE(rowsLabel->property("level").toString(), QStringLiteral("near"));
    }

    // Pictures of the live checks in two languages, to look at.
    void workbench_pictures_data()
    {
        QTest::addColumn<bool>("receive");
        QTest::addColumn<QString>("language");
        for (const char* l : {"English", "Français"}) {
            QTest::newRow(qPrintable(QStringLiteral("receive ") + QString::fromUtf8(l)))
                << true << QString::fromUtf8(l);
            QTest::newRow(qPrintable(QStringLiteral("transmit ") + QString::fromUtf8(l)))
                << false << QString::fromUtf8(l);
        }
    }

    void workbench_pictures()
    {
        QFETCH(bool, receive);
        QFETCH(QString, language);
        Fixture f("<Par_Gen><Device_Type>1</Device_Type><J1939_Device_ID>33</J1939_Device_ID>"
                  "</Par_Gen>");
        f.write(receive ? "Receive_Frame.xml" : "Send_Frame.xml",
                receive ? Rows_Of(1, "<row DataPage=\"0\" PGN=\"0xFEF1\" SA=\"255\"/>"
                                     "<row DataPage=\"0\" PGN=\"FEF1\" SA=\"3\"/>"
                                     "<row DataPage=\"0\" PGN=\"0xFEF3\" SA=\"3\" "
                                     "NumBytes=\"0\"/>"
                                     "<row DataPage=\"0\" PGN=\"0xFEF4\" SA=\"3\" "
                                     "StartByte=\"4\" NumBytes=\"8\"/>")
                        : Rows_Of(1, "<row Priority=\"9\" DataPage=\"0\" PGN=\"0xFEF1\" "
                                     "SA=\"33\"/>"
                                     "<row Priority=\"6\" DataPage=\"0\" PGN=\"0xFEF2\" "
                                     "SA=\"5\" NumByte=\"400\"/>"
                                     "<row Priority=\"6\" DataPage=\"0\" PGN=\"0xFEF3\" "
                                     "SA=\"33\" OnTimer=\"Y\" OnTimer_Time=\"0\"/>"));
        QVERIFY(Read_Lng_File(
            QDir::cleanPath(QStringLiteral(TEST_DATA_DIR "/../../LANGUAGE/") + language + ".lng")));
        auto w = Open_Table(receive);
        w->Set_Lang();
        w->layout()->activate();
        QVERIFY(!w->Live_Failures().isEmpty());
        QVERIFY(!w->Live_Warnings().isEmpty());
        for (const char* name : {"L_Bytes", "L_Rows"}) {
            const QLabel* l = w->findChild<QLabel*>(name);
            QVERIFY2(l->width() >= l->sizeHint().width(), name);
        }
        const QString picture = QStringLiteral("workbench_%1_%2.png")
                                    .arg(receive ? "receive" : "transmit", language.left(2));
        QVERIFY(w->grab().save(Screenshot_Path(picture)));
        Load_Default_Language();
    }

    // A table full of failures keeps its rows in view: the lists scroll instead of growing.
    void many_failures_leave_the_table_in_view()
    {
        Fixture f(With_Ethernet);
        f.write("Receive_Frame.xml", Rows_Of(56, "<row DataPage=\"0\" PGN=\"FEF1\" SA=\"255\" "
                                                 "StartByte=\"4\" NumBytes=\"8\"/>"));
        auto w = Open<TFReceive_J1939_Frame>();
        QCoreApplication::processEvents();
        QCOMPARE(w->Live_Failures().size(), 56);
        QVERIFY(w->Live_Warnings().size() >= 56);
        Frame_Grid* g = w->sga;
        QVERIFY2(g->viewport()->height() >= 5 * g->verticalHeader()->defaultSectionSize(),
                 qPrintable(QString::number(g->viewport()->height())));
        QVERIFY(w->grab().save(Screenshot_Path("workbench_many_failures.png")));
    }

    // Every kind of edit undoes, redoes, and all undone leaves the file as it was.
    void undo_and_redo_every_edit()
    {
        Fixture f(With_Ethernet);
        const QByteArray stored =
            Receive_Frames_Xml({Receive_Row({"0", "1", "2", "N", "", "", "N", "N", "1000", "a"}),
                                Receive_Row({"1", "3", "4", "N", "", "", "N", "N", "1000", ""})});
        f.write("Receive_Frame.xml", stored);
        auto w = Open<TFReceive_J1939_Frame>();
        Frame_Grid* g = w->sga;
        const QList<Frame_Cells> opened = w->Rows();
        QVERIFY(!Button(w.get(), "Btn_Undo")->isEnabled());
        QCOMPARE(w->windowTitle(), QStringLiteral("Receive J1939 Frames"));

        QList<QList<Frame_Cells>> states{opened};
        g->setCurrentIndex(g->Index_Of(3, 1));
        Type(g, "7");
        QCoreApplication::processEvents();
        states << w->Rows();
        g->setCurrentIndex(g->Index_Of(4, 2));
        QTest::keyClick(g, Qt::Key_Space); // Transport Protocol
        states << w->Rows();
        g->setCurrentIndex(g->Index_Of(2, 1));
        Click(w.get(), "Btn_CopyRow");
        g->setCurrentIndex(g->Index_Of(2, 2));
        Click(w.get(), "Btn_InsRow");
        states << w->Rows();
        Click(w.get(), "Btn_PasteRow");
        states << w->Rows();
        QCOMPARE(w->Rows().at(1), w->Rows().at(0));
        QCOMPARE(w->windowTitle(), QStringLiteral("Receive J1939 Frames *"));
        QCOMPARE(w->Undo_Stack()->count(), 4);

        // Ctrl+Z and the button step back through every state; Ctrl+Y and Ctrl+Shift+Z forward.
        QTest::keyClick(g, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(w->Rows(), states.at(3));
        QTest::keyClick(g, Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(w->Rows(), states.at(4));
        for (int i = 3; i >= 0; --i) {
            Click(w.get(), "Btn_Undo");
            QCOMPARE(w->Rows(), states.at(i));
        }
        QVERIFY(!Button(w.get(), "Btn_Undo")->isEnabled());
        QCOMPARE(w->windowTitle(), QStringLiteral("Receive J1939 Frames"));
        QTest::keyClick(g, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(w->Rows(), states.at(1));
        // The table's context menu holds the same commands.
        auto* menuRedo = w->findChild<QAction*>("A_Redo");
        QVERIFY(menuRedo && g->actions().contains(menuRedo));
        QCOMPARE(menuRedo->text(), QStringLiteral("Redo"));
        menuRedo->trigger();
        QCOMPARE(w->Rows(), states.at(2));
        w->findChild<QAction*>("A_Undo")->trigger();
        QVERIFY(g->actions().contains(w->findChild<QAction*>("A_InsRow")));
        QCOMPARE(w->Rows(), states.at(1));
        QVERIFY(w->Live_Failures().isEmpty());
        Click(w.get(), "Btn_Undo");

        Click(w.get(), "Btn_OK");
        QCOMPARE(f.ui.texts(), QStringList{});
        QCOMPARE(f.read("Receive_Frame.xml"), stored);

        // A new opening starts with an empty stack.
        w->show();
        QCOMPARE(w->Undo_Stack()->count(), 0);
    }

    // An undo puts the marks back with the cells.
    void undo_brings_back_the_marks()
    {
        Fixture f(With_Ethernet);
        f.write("Send_Frame.xml",
                Rows_Of(1, "<row Priority=\"1\" DataPage=\"0\" PGN=\"1\" SA=\"0\"/>"));
        auto w = Open<TFTransmit_J1939_Frame>();
        Frame_Grid* g = w->sga;
        Type(g, "9");
        QCoreApplication::processEvents();
        QCOMPARE(Marked(g, Cell_Mark::Error), (QList<Cell_At>{{1, 1}}));
        Click(w.get(), "Btn_Undo");
        QCOMPARE(Marked(g, Cell_Mark::Error), QList<Cell_At>{});
        Click(w.get(), "Btn_Redo");
        QCOMPARE(Marked(g, Cell_Mark::Error), (QList<Cell_At>{{1, 1}}));
    }

    // Every shown column is in view, in every language; the size the user gives a window
    // comes back at the next run.
    void columns_in_view_and_size_remembered_data()
    {
        QTest::addColumn<bool>("receive");
        QTest::addColumn<QString>("language");
        for (const char* l : {"English", "Italiano", "Deutsch", "Français", "Español"}) {
            QTest::newRow(qPrintable(QStringLiteral("receive ") + QString::fromUtf8(l)))
                << true << QString::fromUtf8(l);
            QTest::newRow(qPrintable(QStringLiteral("transmit ") + QString::fromUtf8(l)))
                << false << QString::fromUtf8(l);
        }
    }

    void columns_in_view_and_size_remembered()
    {
        QFETCH(bool, receive);
        QFETCH(QString, language);
        Fixture f(With_Ethernet);
        QVERIFY(Read_Lng_File(
            QDir::cleanPath(QStringLiteral(TEST_DATA_DIR "/../../LANGUAGE/") + language + ".lng")));
        {
            auto w = Open_Table(receive); // created after the language, as at program start
            QCoreApplication::processEvents();
            Frame_Grid* g = w->sga;
            QVERIFY(w->width() <= 1366);
            QVERIFY2(g->horizontalHeader()->length() <= g->viewport()->width(),
                     qPrintable(QStringLiteral("columns %1, room %2")
                                    .arg(g->horizontalHeader()->length())
                                    .arg(g->viewport()->width())));
            w->resize(1100, 500);
            Click(w.get(), "Btn_Cancel");
            QVERIFY(!w->isVisible());
        }
        auto next = Open_Table(receive); // the next run
        QCOMPARE(next->size(), QSize(1100, 500));
        auto other = Open_Table(!receive); // each window its own size
        QVERIFY(other->size() != QSize(1100, 500));
        Load_Default_Language();
    }

    // Rows go to a spreadsheet and come back as tab-separated text in the shown columns; the
    // hidden cells of the rows pasted into stay.
    void rows_through_the_clipboard()
    {
        Fixture f(Without_Ethernet);
        f.write("Receive_Frame.xml",
                Rows_Of(1, "<row DataPage=\"0\" PGN=\"0xFEF1\" SA=\"1\" Delete=\"Y\" "
                           "Mnemonic=\"Engine speed\"/>"
                           "<row DataPage=\"1\" PGN=\"7\" SA=\"2\"/>"
                           "<row DataPage=\"0\" PGN=\"9\" SA=\"3\" StartByte=\"40\"/>"));
        auto w = Open<TFReceive_J1939_Frame>();
        Frame_Grid* g = w->sga;
        g->setCurrentIndex(g->Index_Of(2, 1));
        g->selectionModel()->select(g->Index_Of(3, 2), QItemSelectionModel::Select);
        QTest::keyClick(g, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(),
                 QStringLiteral("0\t0xFEF1\t1\tY\tEngine speed\r\n1\t7\t2\tN\t\r\n"));

        // From a spreadsheet: two rows, the first into a used row (asked), one cell short.
        QGuiApplication::clipboard()->setText(
            QStringLiteral("1\t0x10\t5\tY\tOil\r\n0\t$20\t6\r\n"));
        g->setCurrentIndex(g->Index_Of(1, 3));
        f.ui.answers = {false, true};
        QTest::keyClick(g, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(g->Cell(2, 3), QStringLiteral("9")); // No: nothing pasted
        QTest::keyClick(g, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(f.ui.texts(),
                 QStringList(2, "Row Already used. Do you want to overwrite the values?"));
        QCOMPARE(w->Rows().at(2),
                 (Frame_Cells{"1", "0x10", "5", "N", "40", "", "Y", "N", "1000", "Oil"}));
        QCOMPARE(w->Rows().at(3), (Frame_Cells{"0", "$20", "6", "", "", "", "", "", "", ""}));
        Click(w.get(), "Btn_Undo"); // the paste is one step
        QCOMPARE(g->Cell(2, 3), QStringLiteral("9"));
        QCOMPARE(g->Cell(2, 4), QString());

        // One row copied here pastes whole, hidden cells included, through Paste Row.
        g->setCurrentIndex(g->Index_Of(2, 3));
        QTest::keyClick(g, Qt::Key_C, Qt::ControlModifier);
        g->setCurrentIndex(g->Index_Of(2, 5));
        QTest::keyClick(g, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(w->Rows().at(4), w->Rows().at(2));
        QCOMPARE(g->Cell(5, 5), QStringLiteral("40"));
    }

    void row_keys_and_delete_clear_cells()
    {
        Fixture f(With_Ethernet);
        f.write("Send_Frame.xml",
                Rows_Of(1, "<row Priority=\"1\" DataPage=\"0\" PGN=\"1\" SA=\"2\" OnTimer=\"Y\"/>"
                           "<row Priority=\"2\" DataPage=\"0\" PGN=\"3\" SA=\"4\"/>"));
        auto w = Open<TFTransmit_J1939_Frame>();
        Frame_Grid* g = w->sga;
        QVERIFY(
            Button(w.get(), "Btn_CopyRow")
                ->toolTip()
                .endsWith(QKeySequence(Qt::CTRL | Qt::Key_C).toString(QKeySequence::NativeText) +
                          ")"));
        g->setCurrentIndex(g->Index_Of(3, 1));
        QTest::keyClick(g, Qt::Key_Insert, Qt::ControlModifier);
        QCOMPARE(g->Cell(1, 1), QString());
        QCOMPARE(g->Cell(1, 2), QStringLiteral("1"));
        f.ui.answers = {true};
        QTest::keyClick(g, Qt::Key_Delete, Qt::ControlModifier);
        QCOMPARE(f.ui.texts(), QStringList{"Are you sure to delete the Row number 1"});
        QCOMPARE(g->Cell(1, 1), QStringLiteral("1"));

        // Delete empties the selected text and drop-down cells, never a box; one undo step.
        g->selectionModel()->setCurrentIndex(g->Index_Of(1, 1),
                                             QItemSelectionModel::ClearAndSelect);
        for (int c : {2, 3, 8, 10})
            g->selectionModel()->select(g->Index_Of(c, 1), QItemSelectionModel::Select);
        g->selectionModel()->select(g->Index_Of(3, 2), QItemSelectionModel::Select);
        QTest::keyClick(g, Qt::Key_Delete);
        QCOMPARE(w->Rows().at(0).mid(0, 8), (Frame_Cells{"", "", "", "2", "8", "N", "N", "Y"}));
        QCOMPARE(g->Cell(3, 2), QString());
        Click(w.get(), "Btn_Undo");
        QCOMPARE(g->Cell(1, 1), QStringLiteral("1"));
        QCOMPARE(g->Cell(2, 1), QStringLiteral("0"));
        QCOMPARE(g->Cell(3, 2), QStringLiteral("3"));
        Click(w.get(), "Btn_Redo");
        QCOMPARE(g->Cell(2, 1), QString());
    }

    // A number cell shows its value in the other base; hex without a prefix says how to write it.
    void number_tooltips_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("tip");
        QTest::newRow("hex") << "0xFEF1"
                             << "0xFEF1 = 65265";
        QTest::newRow("decimal") << "65265"
                                 << "65265 = 0xFEF1";
        QTest::newRow("bare hex") << "FEF1"
                                  << "Error in row 1!! PGN must be between 0x00000 and 0xFFFF\n"
                                     "Hexadecimal numbers need a prefix (0x, x or $): write 0xFEF1";
    }
    void number_tooltips()
    {
        QFETCH(QString, typed);
        QFETCH(QString, tip);
        Fixture f(With_Ethernet);
        f.write("Receive_Frame.xml",
                Rows_Of(1, "<row DataPage=\"0\" PGN=\"1\" SA=\"254\" Mnemonic=\"12\"/>"));
        auto w = Open<TFReceive_J1939_Frame>();
        Frame_Grid* g = w->sga;
        g->setCurrentIndex(g->Index_Of(2, 1));
        Type(g, typed);
        QCoreApplication::processEvents();
        QCOMPARE(g->Index_Of(2, 1).data(Qt::ToolTipRole).toString(), tip);
        QVERIFY(!g->Index_Of(10, 1).data(Qt::ToolTipRole).isValid()); // Mnemonic is no number
        QVERIFY(g->Index_Of(3, 1).data(Qt::ToolTipRole).toString().endsWith("\n254 = 0xFE"));
    }

    // The reduced table keeps and saves what its hidden columns hold; 20 rows become 16.
    void reduced_table_saves_hidden_cells_and_capacity()
    {
        Fixture f(Without_Ethernet);
        QByteArray xml = "<Receive_Frames>";
        for (int i = 1; i <= 20; ++i)
            xml += "<row Priority=\" " + QByteArray::number(i % 8) +
                   "\" DataPage=\"1\" PGN=\"1\" SA=\"2\" NumByte=\"\" OnTimer=\"Y\" "
                   "OnTimer_Time=\"0\"/>";
        f.write("Send_Frame.xml", xml + "</Receive_Frames>");
        auto w = Open<TFTransmit_J1939_Frame>();
        QCOMPARE(w->sga->Cell(1, 16), QStringLiteral(" 0"));
        f.ui.answers = {false};
        Click(w.get(), "Btn_OK");
        QCOMPARE(f.ui.texts(), QStringList{"The file of this table holds 20 rows, but the table "
                                           "keeps only 16: the other rows will not be saved. "
                                           "Save the table?"});
        QVERIFY(w->isVisible()); // No: nothing written
        QCOMPARE(Read_Send_Frames(Shared.File_Send_Frame).size(), 20);
        Click(w.get(), "Btn_OK");
        QVERIFY(!w->isVisible());
        const QList<Send_Frame_Row> saved = Read_Send_Frames(Shared.File_Send_Frame);
        QCOMPARE(saved.size(), 16);
        QCOMPARE(saved.at(15).Priority, QStringLiteral(" 0")); // untrimmed
        QCOMPARE(saved.at(15).NumByte, QString());
        QCOMPARE(saved.at(15).OnTimer_Time, QStringLiteral("0"));
    }

    void full_table_shows_56_of_60_rows_and_ends_at_a_blank_key()
    {
        Fixture f;
        f.write("Receive_Frame.xml",
                Rows_Of(60, "<row DataPage=\"0\" PGN=\"1\" SA=\"2\" Mnemonic=\"m\"/>"));
        auto w = Open<TFReceive_J1939_Frame>();
        Click(w.get(), "Btn_OK");
        QCOMPARE(f.ui.texts(), QStringList{"The file of this table holds 60 rows, but the table "
                                           "keeps only 56: the other rows will not be saved. "
                                           "Save the table?"});
        QCOMPARE(Read_Receive_Frames(Shared.File_Receive_Frame).size(), 56);

        w->show();
        w->sga->Set_Cell(2, 3, QStringLiteral("  ")); // PGN of row 3
        Click(w.get(), "Btn_OK");
        QCOMPARE(f.ui.texts().size(), 2); // only the question about rows 3 to 56
        QVERIFY(f.ui.texts().last().contains(": 3-56. "));
        const QList<Receive_Frame_Row> saved = Read_Receive_Frames(Shared.File_Receive_Frame);
        QCOMPARE(saved.size(), 2);
        QCOMPARE(saved.at(1).Delete, QStringLiteral("N")); // the attribute default, now stored
    }

    void cancel_and_close_box_write_nothing()
    {
        Fixture f;
        const QByteArray stored = Rows_Of(1, "<row DataPage=\"0\" PGN=\"1\" SA=\"2\"/>");
        f.write("Receive_Frame.xml", stored);
        auto w = Open<TFReceive_J1939_Frame>();
        w->sga->Set_Cell(3, 1, QStringLiteral("bad"));
        Click(w.get(), "Btn_Cancel");
        QCOMPARE(w->result(), int(QDialog::Rejected));
        QVERIFY(!w->isVisible());

        w->show();
        QCOMPARE(w->sga->Cell(3, 1), QStringLiteral("2")); // typed values do not survive
        w->sga->Set_Cell(3, 1, QStringLiteral("bad"));
        w->close();
        QCOMPARE(w->result(), int(QDialog::Rejected));
        QCOMPARE(f.read("Receive_Frame.xml"), stored);
        QCOMPARE(f.ui.texts(), QStringList(2, Msg(458))); // both answered Yes
    }

    // Leaving with changes asks 458; a table back as loaded is no change.
    void leaving_asks_when_the_table_changed_data()
    {
        QTest::addColumn<int>("leave"); // 0 Cancel button, 1 Escape, 2 close box
        QTest::addColumn<int>("edit");
        QTest::addColumn<bool>("changed");
        enum { Cancel, Escape, Close_Box };
        QTest::newRow("Cancel, cell typed") << int(Cancel) << int(Typed) << true;
        QTest::newRow("Escape, cell typed") << int(Escape) << int(Typed) << true;
        QTest::newRow("close box, cell typed") << int(Close_Box) << int(Typed) << true;
        QTest::newRow("Cancel, cell editor still open") << int(Cancel) << int(Typed_Open) << true;
        QTest::newRow("Escape, row inserted") << int(Escape) << int(Inserted) << true;
        QTest::newRow("Cancel, nothing done") << int(Cancel) << int(Nothing) << false;
        QTest::newRow("close box, typed and typed back")
            << int(Close_Box) << int(Typed_Back) << false;
        QTest::newRow("Escape, empty box ticked and unticked")
            << int(Escape) << int(Ticked_Unticked) << false;
    }

    void leaving_asks_when_the_table_changed()
    {
        QFETCH(int, leave);
        QFETCH(int, edit);
        QFETCH(bool, changed);
        Fixture f;
        const QByteArray stored = Rows_Of(1, "<row DataPage=\"0\" PGN=\"1\" SA=\"2\"/>");
        f.write("Receive_Frame.xml", stored);
        auto w = Open<TFReceive_J1939_Frame>();
        Frame_Grid* g = w->sga;
        const auto typeInto = [g](int col, int row, const QString& text) {
            g->setCurrentIndex(g->Index_Of(col, row));
            Type(g, text);
            QCoreApplication::processEvents(); // Return ends the cell editor from the event loop
        };
        switch (edit) {
        case Typed:
            typeInto(3, 1, "7");
            break;
        case Typed_Open:
            g->setCurrentIndex(g->Index_Of(3, 1));
            QTest::keyClick(g, '7');
            QVERIFY(g->indexWidget(g->currentIndex()));
            break;
        case Inserted:
            Click(w.get(), "Btn_InsRow");
            break;
        case Typed_Back:
            typeInto(3, 1, "9");
            typeInto(3, 1, "2");
            break;
        case Ticked_Unticked:
            g->setCurrentIndex(g->Index_Of(4, 2)); // never touched: empty
            QTest::keyClick(g, Qt::Key_Space);
            QTest::keyClick(g, Qt::Key_Space);
            QCOMPARE(g->Cell(4, 2), QStringLiteral("N"));
            break;
        }
        QList<Frame_Cells> edited = w->Rows();
        if (edit == Typed_Open)
            edited[0][2] = QStringLiteral("7"); // still in the open cell editor
        const auto leaveWindow = [&] {
            if (leave == 0)
                Click(w.get(), "Btn_Cancel");
            else if (leave == 1)
                QTest::keyClick(g, Qt::Key_Escape);
            else
                w->close();
        };

        f.ui.answers = {false};
        leaveWindow();
        if (changed) {
            QCOMPARE(f.ui.texts(), QStringList{"Do you want to exit without saving changes?"});
            QCOMPARE(f.ui.boxes.first().kind, Fake_Ui::Kind::Confirm);
            QVERIFY(w->isVisible());
            g->Commit_Edit();
            QCOMPARE(w->Rows(), edited); // No keeps every edit
            leaveWindow();               // Yes
            QCOMPARE(f.ui.boxes.size(), 2);
        } else {
            QCOMPARE(f.ui.texts(), QStringList{});
        }
        QVERIFY(!w->isVisible());
        QCOMPARE(w->result(), int(QDialog::Rejected));
        QCOMPARE(f.read("Receive_Frame.xml"), stored);
    }

    // Filled rows below an empty key cell are not saved: OK names them first.
    void ok_asks_before_rows_below_an_empty_key_are_dropped_data()
    {
        QTest::addColumn<bool>("receive");
        QTest::addColumn<int>("edit"); // 0 Insert Row at row 1, 1 key of row 3 blanked, 2 gaps
        QTest::addColumn<QString>("question");
        QTest::addColumn<int>("savedRows");

        QTest::newRow("receive, Insert Row at row 1")
            << true << 0
            << "A row with an empty PGN ends the table that is saved. These rows will not be "
               "saved: 2-4. Save without them?"
            << 0;
        QTest::newRow("transmit, Priority of row 3 blanked")
            << false << 1
            << "A row with an empty Priority ends the table that is saved. These rows will not "
               "be saved: 3. Save without them?"
            << 2;
        QTest::newRow("transmit, rows 5 and 7 below empty rows")
            << false << 2
            << "A row with an empty Priority ends the table that is saved. These rows will not "
               "be saved: 5, 7-8. Save without them?"
            << 3;
        QTest::newRow("receive, only an unticked box below") << true << 3 << QString() << 3;
    }

    void ok_asks_before_rows_below_an_empty_key_are_dropped()
    {
        QFETCH(bool, receive);
        QFETCH(int, edit);
        QFETCH(QString, question);
        QFETCH(int, savedRows);
        Fixture f(With_Ethernet);
        const QString file = receive ? "Receive_Frame.xml" : "Send_Frame.xml";
        const QByteArray stored =
            Rows_Of(3, receive ? "<row DataPage=\"0\" PGN=\"1\" SA=\"2\"/>"
                               : "<row Priority=\"6\" DataPage=\"0\" PGN=\"1\" SA=\"2\"/>");
        f.write(file, stored);
        std::unique_ptr<Frame_Editor> w;
        if (receive)
            w = Open<TFReceive_J1939_Frame>();
        else
            w = Open<TFTransmit_J1939_Frame>();
        Frame_Grid* g = w->sga;
        switch (edit) {
        case 0:
            Click(w.get(), "Btn_InsRow");
            break;
        case 1:
            g->setCurrentIndex(g->Index_Of(1, 3));
            QTest::keyClick(g, Qt::Key_Space); // a blank replaces the Priority
            QTest::keyClick(g->indexWidget(g->currentIndex()), Qt::Key_Return);
            break;
        case 2:
            g->Set_Cell(10, 5, QStringLiteral("spare"));
            g->Set_Cell(6, 7, QStringLiteral("Y")); // a ticked box is data
            g->Set_Cell(9, 8, QStringLiteral("100"));
            break;
        case 3:
            g->Set_Cell(8, 5, QStringLiteral("N"));
            break;
        }

        f.ui.answers = {false};
        Click(w.get(), "Btn_OK");
        if (question.isEmpty()) {
            QCOMPARE(f.ui.texts(), QStringList{});
        } else {
            QCOMPARE(f.ui.texts(), QStringList{question});
            QCOMPARE(f.ui.boxes.first().kind, Fake_Ui::Kind::Confirm);
            QVERIFY(w->isVisible()); // No: nothing written, the table as it was
            QCOMPARE(f.read(file), stored);
            QCOMPARE(w->Is_Changed(), true);
            if (receive) { // the question as the user sees it, over the table it is about
                QVERIFY(w->grab().save(Screenshot_Path("receive_rows_below_empty_key.png")));
                QMessageBox box(QMessageBox::Question, SW_Code_Text, question,
                                QMessageBox::Yes | QMessageBox::No, w.get());
                box.show();
                QVERIFY(box.grab().save(Screenshot_Path("receive_rows_below_empty_key_box.png")));
            }
            Click(w.get(), "Btn_OK"); // Yes
        }
        QVERIFY(!w->isVisible());
        QCOMPARE(w->result(), int(QDialog::Accepted));
        const int saved = receive ? Read_Receive_Frames(Shared.File_Receive_Frame).size()
                                  : Read_Send_Frames(Shared.File_Send_Frame).size();
        QCOMPARE(saved, savedRows);
    }

    // Insert Row drops the last row: asked first when that row holds anything.
    void insert_row_asks_when_the_last_row_is_filled_data()
    {
        QTest::addColumn<QByteArray>("lastRow");
        QTest::addColumn<bool>("asked");
        QTest::newRow("last row filled")
            << QByteArray("<row DataPage=\"1\" PGN=\"16\" SA=\"2\"/>") << true;
        QTest::newRow("last row holds a hidden cell only")
            << QByteArray("<row StartByte=\"40\" TransportProtocol=\"N\" Delete=\"N\" "
                          "OnRequest=\"N\" OnReq_Time=\"\"/>")
            << true;
        QTest::newRow("last row empty")
            << QByteArray("<row TransportProtocol=\"\" Delete=\"N\" OnRequest=\"\" "
                          "OnReq_Time=\" \"/>")
            << false;
    }

    void insert_row_asks_when_the_last_row_is_filled()
    {
        QFETCH(QByteArray, lastRow);
        QFETCH(bool, asked);
        Fixture f(Without_Ethernet);
        QByteArray rows;
        for (int i = 1; i < 16; ++i)
            rows += "<row DataPage=\"0\" PGN=\"" + QByteArray::number(i) + "\" SA=\"2\"/>";
        f.write("Receive_Frame.xml", "<Receive_Frames>" + rows + lastRow + "</Receive_Frames>");
        auto w = Open<TFReceive_J1939_Frame>();
        Frame_Grid* g = w->sga;
        g->setCurrentIndex(g->Index_Of(2, 5));
        const QList<Frame_Cells> before = w->Rows();

        f.ui.answers = {false};
        Click(w.get(), "Btn_InsRow");
        if (asked) {
            QCOMPARE(f.ui.texts(),
                     QStringList{"Inserting a row drops the last row of the table (row 16), which "
                                 "holds values. Insert the row?"});
            QCOMPARE(w->Rows(), before); // No: nothing changes
            Click(w.get(), "Btn_InsRow");
            QCOMPARE(f.ui.boxes.size(), 2);
        } else {
            QCOMPARE(f.ui.texts(), QStringList{});
        }
        QCOMPARE(g->Cell(2, 5), QString());
        QCOMPARE(g->Cell(2, 6), QStringLiteral("5"));
        QCOMPARE(g->Cell(2, 16), QStringLiteral("15"));
    }

    // Text cells have no length limit, also while a cell editor is open.
    void long_texts_are_kept_whole_data()
    {
        QTest::addColumn<int>("edit"); // 0 nothing, 1 another cell of the row, 2 the long cell
        QTest::addColumn<QString>("added");
        QTest::newRow("untouched") << 0 << QString();
        QTest::newRow("another cell of the row edited") << 1 << QString();
        QTest::newRow("the long cell opened and closed") << 2 << QString();
        QTest::newRow("the long cell typed at its end") << 2 << QStringLiteral("!");
    }

    void long_texts_are_kept_whole()
    {
        QFETCH(int, edit);
        QFETCH(QString, added);
        Fixture f;
        Receive_Frame_Row row = Receive_Row({"0", "1", "2", "N", "", "", "N", "N", "1000", ""});
        for (int i = 0; i < 4000; ++i)
            row.Mnemonic += QStringLiteral("Frame %1 ").arg(i % 10, 3, 10, QLatin1Char('0'));
        QCOMPARE(row.Mnemonic.size(), 40000);
        f.write("Receive_Frame.xml", Receive_Frames_Xml({row}));
        auto w = Open<TFReceive_J1939_Frame>();
        Frame_Grid* g = w->sga;
        if (edit == 1) {
            g->setCurrentIndex(g->Index_Of(3, 1));
            Type(g, "7");
            row.SA = QStringLiteral("7");
        } else if (edit == 2) {
            g->setCurrentIndex(g->Index_Of(10, 1));
            QTest::keyClick(g, Qt::Key_F2);
            QWidget* editor = g->indexWidget(g->currentIndex());
            QVERIFY(editor);
            QTest::keyClick(editor, Qt::Key_End);
            QTest::keyClicks(editor, added);
            QTest::keyClick(editor, Qt::Key_Return);
            row.Mnemonic += added;
        }
        Click(w.get(), "Btn_OK");
        QCOMPARE(f.ui.texts(), QStringList{});
        const QList<Receive_Frame_Row> saved = Read_Receive_Frames(Shared.File_Receive_Frame);
        QCOMPARE(saved.size(), 1);
        QCOMPARE(saved.first().Mnemonic.size(), row.Mnemonic.size());
        QVERIFY(saved.first() == row);
    }

    void delete_row_asks_with_the_row_number()
    {
        Fixture f;
        f.write("Send_Frame.xml",
                "<Receive_Frames><row Priority=\"1\"/><row Priority=\"2\"/><row Priority=\"3\"/>"
                "<row Priority=\"4\"/><row Priority=\"5\"/></Receive_Frames>");
        auto w = Open<TFTransmit_J1939_Frame>();
        w->sga->setCurrentIndex(w->sga->Index_Of(3, 4));
        f.ui.answers = {false, true};
        Click(w.get(), "Btn_DelRow");
        QCOMPARE(w->sga->Cell(1, 4), QStringLiteral("4"));
        Click(w.get(), "Btn_DelRow");
        QCOMPARE(f.ui.texts(), QStringList(2, "Are you sure to delete the Row number 4"));
        QCOMPARE(w->sga->Cell(1, 4), QStringLiteral("5"));
        QCOMPARE(w->sga->Cell(1, 5), QString());
        QCOMPARE(w->sga->Cell(0, 5), QStringLiteral("5"));

        Click(w.get(), "Btn_InsRow"); // without asking
        QCOMPARE(f.ui.boxes.size(), 2);
        QCOMPARE(w->sga->Cell(1, 4), QString());
        QCOMPARE(w->sga->Cell(1, 5), QStringLiteral("5"));
    }

    // A paste needs a copy in the same window during the same opening.
    void copy_and_paste_per_opening()
    {
        Fixture f;
        f.write("Receive_Frame.xml",
                Rows_Of(1, "<row DataPage=\"1\" PGN=\"7\" SA=\"2\" StartByte=\"3\"/>"));
        auto rx = Open<TFReceive_J1939_Frame>();
        auto tx = Open<TFTransmit_J1939_Frame>();
        Click(rx.get(), "Btn_CopyRow");
        QVERIFY(rx->Do_Copy);
        rx->sga->setCurrentIndex(rx->sga->Index_Of(2, 3));
        Click(rx.get(), "Btn_PasteRow");
        QCOMPARE(f.ui.texts(), QStringList{});
        QCOMPARE(rx->Rows().at(2), rx->Rows().at(0));

        Click(tx.get(), "Btn_PasteRow");
        rx->hide();
        rx->show();
        QVERIFY(!rx->Do_Copy);
        Click(rx.get(), "Btn_PasteRow");
        const QString e902 = "Error!!! Copy a valid row before Paste it";
        QCOMPARE(f.ui.texts(), QStringList({e902, e902}));
        QCOMPARE(Shared.Copy_Row_Buffer.size(), 10);
    }

    void enter_wraps_over_hidden_columns()
    {
        Fixture f(Without_Ethernet);
        Shared.Enable_Jump_Field_Tables = true;
        auto w = Open<TFReceive_J1939_Frame>();
        Frame_Grid* g = w->sga;
        g->setCurrentIndex(g->Index_Of(3, 1));
        QTest::keyClick(g, Qt::Key_Return);
        QCOMPARE(g->currentIndex().column(), 7); // Source Address to Cancel Data
        g->setCurrentIndex(g->Index_Of(10, 16));
        QTest::keyClick(g, Qt::Key_Return);
        QCOMPARE(g->currentIndex(), g->Index_Of(1, 1));

        Shared.Enable_Jump_Field_Tables = false;
        QTest::keyClick(g, Qt::Key_Return);
        QCOMPARE(g->currentIndex(), g->Index_Of(1, 1));
        QVERIFY(w->isVisible()); // Enter never presses a button
    }

    void double_click_on_title_fits_the_column_data()
    {
        QTest::addColumn<bool>("option");
        QTest::newRow("option on") << true;
        QTest::newRow("option off") << false;
    }

    void double_click_on_title_fits_the_column()
    {
        QFETCH(bool, option);
        Fixture f;
        Shared.Double_Click_Auto_Size = option;
        auto w = Open<TFReceive_J1939_Frame>();
        Frame_Grid* g = w->sga;
        g->Set_Cell(10, 2, QStringLiteral("A rather long description of this J1939 frame"));
        const int before = g->columnWidth(10);
        QHeaderView* h = g->horizontalHeader();
        const QPoint title(h->sectionViewportPosition(10) + 10, h->height() / 2);
        QTest::mouseDClick(h->viewport(), Qt::LeftButton, {}, title);
        if (option)
            QVERIFY(g->columnWidth(10) > before + 100);
        else
            QCOMPARE(g->columnWidth(10), before);
        // A data cell never sizes the column.
        const int now = g->columnWidth(2);
        QTest::mouseDClick(g->viewport(), Qt::LeftButton, {}, Cell_Centre(g, 2, 2));
        QCOMPARE(g->columnWidth(2), now);
    }

    void unreadable_files_keep_the_window_closed()
    {
        Fixture f("<Par_Gen><Device_Type>0</Device_Type>");
        auto w = Open<TFReceive_J1939_Frame>();
        QTRY_VERIFY(!w->isVisible());
        QCOMPARE(w->result(), int(QDialog::Rejected));
        QCOMPARE(f.ui.boxes.size(), 1);
        QVERIFY(f.ui.texts().first().contains("ParGen.xml"));
    }

    void failed_write_is_reported_and_window_stays()
    {
        Fixture f;
        f.write("Send_Frame.xml",
                Rows_Of(1, "<row Priority=\"1\" DataPage=\"0\" PGN=\"1\" SA=\"2\"/>"));
        auto w = Open<TFTransmit_J1939_Frame>();
        w->sga->Set_Cell(4, 1, QStringLiteral("3"));
        QVERIFY(QDir(Shared.Conf_Dir).removeRecursively()); // the folder is gone meanwhile
        Click(w.get(), "Btn_OK");
        QCOMPARE(f.ui.boxes.size(), 1);
        QVERIFY(f.ui.texts().first().contains("Send_Frame.xml"));
        QVERIFY(w->isVisible());
        QCOMPARE(w->sga->Cell(4, 1), QStringLiteral("3"));
    }
};

QTEST_MAIN(tst_frameeditors)
#include "tst_frameeditors.moc"
