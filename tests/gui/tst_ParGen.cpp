#include "app/UComon.h"
#include "editors/UParGen.h"
#include "language/ULanguage.h"
#include "support/FakeUi.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QDomDocument>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <memory>

namespace {

// Element name -> text of every element of a stored ParGen.xml, in document order.
QList<QPair<QString, QString>> Elements(const QByteArray& xml)
{
    QDomDocument doc;
    if (!doc.setContent(xml))
        return {};
    QList<QPair<QString, QString>> out;
    for (QDomElement e = doc.firstChildElement().firstChildElement(); !e.isNull();
         e = e.nextSiblingElement())
        out.append({e.tagName(), e.text()});
    return out;
}

QString Element(const QByteArray& xml, const QString& name)
{
    for (const auto& [n, t] : Elements(xml))
        if (n == name)
            return t;
    return QStringLiteral("<missing>");
}

// One opened settings window of a configuration folder, with a scripted user interaction.
struct Editor {
    Program_Folder folder;
    Fake_Ui ui;
    std::unique_ptr<TFParGen> dlg;

    explicit Editor(const QByteArray& parGen = {})
    {
        Load_Default_Language();
        Shared.SW_Code = SW_Code_Text;
        Shared.Conf_Dir = folder.file("PROJECTS/Plant");
        QDir().mkpath(Shared.Conf_Dir);
        Set_Files();
        if (!parGen.isNull())
            folder.write("PROJECTS/Plant/ParGen.xml", parGen);
        dlg = std::make_unique<TFParGen>();
    }
    void open() { dlg->show(); }

    template <typename W = QWidget> W* get(const QString& name) const
    {
        W* w = dlg->findChild<W*>(name);
        if (!w)
            qFatal("no control %s", qPrintable(name));
        return w;
    }
    QLineEdit* edit(const QString& name) const { return get<QLineEdit>(name); }
    QComboBox* list(const QString& name) const { return get<QComboBox>(name); }
    void click(const QString& name) const
    {
        QTest::mouseClick(get<QAbstractButton>(name), Qt::LeftButton);
    }
    QByteArray stored() const { return folder.read("PROJECTS/Plant/ParGen.xml"); }
    bool stored_exists() const { return QFile::exists(Shared.File_ParGen); }

    // `measure` of each box that is shown, top to bottom.
    QList<int> boxes(int (QWidget::*measure)() const) const
    {
        QList<int> out;
        for (const char* n : {"GB_Select_Device", "GB_J1939", "GB_DeviceNet_Slave", "GB_Ethernet"})
            if (!get(n)->isHidden())
                out.append((get(n)->*measure)());
        return out;
    }
    QList<int> box_tops() const { return boxes(&QWidget::y); }
    QList<int> box_heights() const { return boxes(&QWidget::height); }
};

// The user can see the whole widget: shown, and not cut off by a collapsed box around it.
bool Seen(const QWidget* w)
{
    if (!w || !w->isVisible())
        return false;
    for (const QWidget* p = w->parentWidget(); p && !p->isWindow(); p = p->parentWidget())
        if (!p->rect().contains(QRect(w->mapTo(p, QPoint(0, 0)), w->size())))
            return false;
    return true;
}

QString Name_Of(const QWidget* w)
{
    return w ? w->objectName() : QStringLiteral("<no focus>");
}

} // namespace

class tst_ParGen final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void new_configuration_saves_defaults()
    {
        Editor ed;
        ed.open();
        QVERIFY(ed.dlg->isVisible());
        QCOMPARE(ed.list("CB_Select_Device")->currentText(),
                 QStringLiteral("Device With Ethernet Port"));
        ed.click("Btn_OK");
        QVERIFY(ed.ui.boxes.isEmpty());
        QVERIFY(!ed.dlg->isVisible());
        QCOMPARE(ed.dlg->result(), int(QDialog::Accepted));

        const QList<QPair<QString, QString>> expected = {
            {"Device_Type", "1"},     {"Can_Baud", "5"},        {"CAN_Type", "1"},
            {"How_Send", "0"},        {"Delay_Send", "100"},    {"TimeOut_Data", "5"},
            {"PeerToPeer", "0"},      {"J1939_Device_ID", "0"}, {"Net_Dev_Id", "10"},
            {"Net_Baud", "2"},        {"Ethernet_IP1", "192"},  {"Ethernet_IP2", "168"},
            {"Ethernet_IP3", "0"},    {"Ethernet_IP4", "5"},    {"Ethernet_SM1", "255"},
            {"Ethernet_SM2", "255"},  {"Ethernet_SM3", "255"},  {"Ethernet_SM4", "0"},
            {"Ethernet_GAT1", "192"}, {"Ethernet_GAT2", "168"}, {"Ethernet_GAT3", "0"},
            {"Ethernet_GAT4", "1"},   {"Ethernet_EN_GAT", "0"}};
        QCOMPARE(Elements(ed.stored()), expected);
        QVERIFY(ed.stored().startsWith("<Par_Gen>"));
        QVERIFY(ed.stored().trimmed().endsWith("<!--SW_VERSION = 2.000-->"));
    }

    void loading()
    {
        // Missing elements take their defaults (the device without Ethernet port among them);
        // list values outside their list select nothing and are saved as "-1".
        Editor ed("<Par_Gen><Can_Baud>9</Can_Baud><How_Send>1</How_Send>"
                  "<Delay_Send>0x20</Delay_Send><PeerToPeer>1</PeerToPeer>"
                  "<Net_Baud>0x1</Net_Baud><Ethernet_EN_GAT>yes</Ethernet_EN_GAT>"
                  "<CAN_Type>3</CAN_Type></Par_Gen>");
        ed.open();
        QCOMPARE(ed.list("CB_Select_Device")->currentIndex(), 0);
        QCOMPARE(ed.list("CB_Baud_J1939")->currentIndex(), -1);
        QCOMPARE(ed.list("CB_J1939_SendType")->currentIndex(), 1);
        QCOMPARE(ed.edit("E_J1939_SendTimer")->text(), QStringLiteral("0x20"));
        QVERIFY(ed.get<QCheckBox>("CB_J1939_En_Peer")->isChecked());
        QCOMPARE(ed.list("CB_DeviceNet_Slave_Baud")->currentText(), QStringLiteral("250K"));
        QVERIFY(!ed.get<QCheckBox>("CB_Ethernet_EN_GAT")->isChecked());
        QVERIFY(ed.get("GB_Ethernet")->isHidden());

        // Nothing changed yet: Cancel closes without asking.
        ed.click("Btn_Cancel");
        QVERIFY(ed.ui.boxes.isEmpty());
        QVERIFY(!ed.dlg->isVisible());

        // Values left in a cancelled window do not survive the next opening.
        ed.open();
        ed.edit("E_J1939_TO")->setText("77");
        ed.ui.answers = {true};
        ed.click("Btn_Cancel");
        ed.open();
        QCOMPARE(ed.edit("E_J1939_TO")->text(), QStringLiteral("5"));

        ed.click("Btn_OK");
        const QByteArray saved = ed.stored();
        QCOMPARE(Element(saved, "Can_Baud"), QStringLiteral("-1"));
        QCOMPARE(Element(saved, "Device_Type"), QStringLiteral("0"));
        QCOMPARE(Element(saved, "Net_Baud"), QStringLiteral("1"));
        QCOMPARE(Element(saved, "Delay_Send"), QStringLiteral("0x20"));
        QCOMPARE(Element(saved, "Ethernet_EN_GAT"), QStringLiteral("0"));
        QCOMPARE(Element(saved, "CAN_Type"), QStringLiteral("1"));
    }

    void ok_data()
    {
        QTest::addColumn<int>("device");
        QTest::addColumn<int>("sendType");
        QTest::addColumn<bool>("gateway");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("message"); // 0: saved
        QTest::addColumn<QString>("element");

        QTest::newRow("empty timer on data change") << 0 << 0 << false << "E_J1939_SendTimer"
                                                    << "" << 0 << "Delay_Send";
        QTest::newRow("empty timer on timer") << 0 << 1 << false << "E_J1939_SendTimer"
                                              << "" << 443 << "";
        QTest::newRow("hex DeviceNet id") << 1 << 0 << false << "E_DeviceNet_Slave_IDDev"
                                          << "0x3F" << 0 << "Net_Dev_Id";
        QTest::newRow("timeout 10001") << 1 << 0 << false << "E_J1939_TO"
                                       << "10001" << 444 << "";
        QTest::newRow("device id 240") << 1 << 0 << false << "E_J1939_DevID"
                                       << "240" << 459 << "";
        QTest::newRow("device id 240 hidden") << 0 << 0 << false << "E_J1939_DevID"
                                              << "240" << 0 << "J1939_Device_ID";
        QTest::newRow("gateway 256 checked") << 1 << 0 << true << "E_Ethernet_GAT3"
                                             << "256" << 456 << "";
        QTest::newRow("gateway 256 unchecked") << 1 << 0 << false << "E_Ethernet_GAT3"
                                               << "256" << 0 << "Ethernet_GAT3";
        QTest::newRow("mask blank") << 1 << 0 << false << "E_Ethernet_SM2"
                                    << " " << 451 << "";
        QTest::newRow("address without Ethernet port") << 0 << 0 << false << "E_Ethernet_IP1"
                                                       << " 300 " << 0 << "Ethernet_IP1";
        QTest::newRow("40000 characters without Ethernet port")
            << 0 << 0 << false << "E_Ethernet_GAT4" << QString(40000, '1') << 0 << "Ethernet_GAT4";
    }

    void ok()
    {
        QFETCH(int, device);
        QFETCH(int, sendType);
        QFETCH(bool, gateway);
        QFETCH(QString, field);
        QFETCH(QString, text);
        QFETCH(int, message);
        QFETCH(QString, element);

        Editor ed;
        ed.open();
        ed.list("CB_Select_Device")->setCurrentIndex(device);
        ed.list("CB_J1939_SendType")->setCurrentIndex(sendType);
        ed.get<QCheckBox>("CB_Ethernet_EN_GAT")->setChecked(gateway);
        ed.edit(field)->setText(text);
        ed.click("Btn_OK");
        if (message != 0) {
            QCOMPARE(ed.ui.texts(), QStringList{Msg(message)});
            QCOMPARE(ed.ui.boxes.first().kind, Fake_Ui::Kind::Error);
            QVERIFY(ed.dlg->isVisible());
            QCOMPARE(ed.edit(field)->text(), text);
            QVERIFY(!ed.stored_exists());
        } else {
            QVERIFY(ed.ui.boxes.isEmpty());
            QVERIFY(!ed.dlg->isVisible());
            QCOMPARE(Element(ed.stored(), element), text);
        }
    }

    void address_dot_moves_focus()
    {
        Editor ed;
        ed.open();
        QApplication::setActiveWindow(ed.dlg.get());
        QVERIFY(QTest::qWaitForWindowActive(ed.dlg.get()));
        const QStringList chain = {"E_Ethernet_IP1",  "E_Ethernet_IP2",  "E_Ethernet_IP3",
                                   "E_Ethernet_IP4",  "E_Ethernet_SM1",  "E_Ethernet_SM2",
                                   "E_Ethernet_SM3",  "E_Ethernet_SM4",  "E_Ethernet_GAT1",
                                   "E_Ethernet_GAT2", "E_Ethernet_GAT3", "E_Ethernet_GAT4"};
        for (const QString& n : chain)
            ed.edit(n)->clear();
        // The gateway box is unchecked: the chain still runs through the gateway fields.
        ed.edit("E_Ethernet_IP1")->setFocus();
        for (int i = 0; i < chain.size(); ++i) {
            QCOMPARE(QApplication::focusWidget()->objectName(), chain[i]);
            QTest::keyClicks(QApplication::focusWidget(), QString::number(i + 1) + ".");
        }
        QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("E_Ethernet_GAT4"));
        QTest::keyClicks(QApplication::focusWidget(), "..");
        for (int i = 0; i < chain.size(); ++i)
            QCOMPARE(ed.edit(chain[i])->text(), QString::number(i + 1));
        QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("E_Ethernet_GAT4"));

        // Other fields keep their dots; no digit filter on the address fields.
        QTest::keyClicks(ed.edit("E_J1939_TO"), "1.5");
        QTest::keyClicks(ed.edit("E_Ethernet_IP1"), "a,");
        QCOMPARE(ed.edit("E_J1939_TO")->text(), QStringLiteral("51.5"));
        QCOMPARE(ed.edit("E_Ethernet_IP1")->text(), QStringLiteral("1a,"));
    }

    // A whole address pasted into the first field of a group fills the group's four fields,
    // with Ctrl+V and with the context menu's Paste alike; other texts paste as usual.
    void pasted_address_fills_the_group_data()
    {
        QTest::addColumn<QString>("group");
        QTest::addColumn<QString>("clipboard");
        QTest::addColumn<bool>("keys"); // Ctrl+V, else the context menu's paste()
        QTest::addColumn<QStringList>("fields");
        QTest::newRow("address, Ctrl+V") << "E_Ethernet_IP" << "10.1.2.3" << true
                                         << QStringList{"10", "1", "2", "3"};
        QTest::newRow("mask, menu") << "E_Ethernet_SM" << " 255.255.0.0\n" << false
                                    << QStringList{"255", "255", "0", "0"};
        QTest::newRow("gateway, values as given")
            << "E_Ethernet_GAT" << "10.1.2.300" << true << QStringList{"10", "1", "2", "300"};
        QTest::newRow("no address") << "E_Ethernet_IP" << "12" << true
                                    << QStringList{"12", "", "", ""};
        QTest::newRow("three parts") << "E_Ethernet_IP" << "1.2.3" << true
                                     << QStringList{"1.2.3", "", "", ""};
    }
    void pasted_address_fills_the_group()
    {
        QFETCH(QString, group);
        QFETCH(QString, clipboard);
        QFETCH(bool, keys);
        QFETCH(QStringList, fields);
        Editor ed;
        ed.open();
        QApplication::setActiveWindow(ed.dlg.get());
        QVERIFY(QTest::qWaitForWindowActive(ed.dlg.get()));
        for (int i = 1; i <= 4; ++i)
            ed.edit(group + QString::number(i))->clear();
        QGuiApplication::clipboard()->setText(clipboard);
        QLineEdit* first = ed.edit(group + QStringLiteral("1"));
        first->setFocus();
        if (keys)
            QTest::keyClick(first, Qt::Key_V, Qt::ControlModifier);
        else
            first->paste();
        QStringList shown;
        for (int i = 1; i <= 4; ++i)
            shown << ed.edit(group + QString::number(i))->text();
        QCOMPARE(shown, fields);
        // The fields' own check on OK still judges each value as it stands.
        if (fields.last() == QLatin1String("300")) {
            ed.get<QCheckBox>("CB_Ethernet_EN_GAT")->setChecked(true);
            ed.click("Btn_OK");
            QCOMPARE(ed.ui.boxes.size(), 1);
            QVERIFY(ed.dlg->isVisible());
        }
    }

    void cancel_after_device_change()
    {
        Editor ed("<Par_Gen><Device_Type>1</Device_Type></Par_Gen>");
        ed.open();
        QVERIFY(!ed.get("GB_Ethernet")->isHidden());
        ed.list("CB_Select_Device")->setCurrentIndex(0);
        QVERIFY(ed.get("GB_Ethernet")->isHidden()); // laid out at once
        QCOMPARE(ed.dlg->height(), 478);

        ed.ui.answers = {false, true};
        ed.click("Btn_Cancel");
        QCOMPARE(ed.ui.texts(), QStringList{Msg(458)});
        QCOMPARE(ed.ui.boxes.first().kind, Fake_Ui::Kind::Confirm);
        QVERIFY(ed.dlg->isVisible());
        QCOMPARE(ed.list("CB_Select_Device")->currentIndex(), 0);

        ed.click("Btn_Cancel");
        QVERIFY(!ed.dlg->isVisible());
        QCOMPARE(ed.dlg->result(), int(QDialog::Rejected));
        QCOMPARE(Element(ed.stored(), "Device_Type"), QStringLiteral("1"));
    }

    // Switching to the device without Ethernet port: the frame tables keep 16 rows.
    void switch_to_reduced_layout_tells_what_is_not_kept_data()
    {
        QTest::addColumn<QByteArray>("parGen");
        QTest::addColumn<int>("receiveRows");
        QTest::addColumn<int>("sendRows");
        QTest::addColumn<int>("device"); // chosen before OK
        QTest::addColumn<QString>("question");

        const QByteArray full = "<Par_Gen><Device_Type>1</Device_Type></Par_Gen>";
        QTest::newRow("both tables too long")
            << full << 20 << 17 << 0
            << "The device without Ethernet port keeps only 16 rows in each frame table.\n"
               "Receive J1939 Frames - rows that will not be kept: 4\n"
               "Transmit J1939 Frames - rows that will not be kept: 1\n"
               "Save the settings anyway?";
        QTest::newRow("new configuration, transmit table too long")
            << QByteArray() << 16 << 30 << 0
            << "The device without Ethernet port keeps only 16 rows in each frame table.\n"
               "Transmit J1939 Frames - rows that will not be kept: 14\n"
               "Save the settings anyway?";
        QTest::newRow("tables fit") << full << 16 << 0 << 0 << QString();
        QTest::newRow("device kept") << full << 20 << 20 << 1 << QString();
        QTest::newRow("already without Ethernet")
            << QByteArray("<Par_Gen/>") << 20 << 20 << 0 << QString();
    }

    void switch_to_reduced_layout_tells_what_is_not_kept()
    {
        QFETCH(QByteArray, parGen);
        QFETCH(int, receiveRows);
        QFETCH(int, sendRows);
        QFETCH(int, device);
        QFETCH(QString, question);
        Editor ed(parGen.isEmpty() ? QByteArray() : parGen);
        const auto rows = [](int n, const QByteArray& row) {
            return "<Receive_Frames>" + row.repeated(n) + "</Receive_Frames>";
        };
        ed.folder.write("PROJECTS/Plant/Receive_Frame.xml",
                        rows(receiveRows, "<row DataPage=\"0\" PGN=\"1\" SA=\"2\"/>"));
        ed.folder.write("PROJECTS/Plant/Send_Frame.xml",
                        rows(sendRows, "<row Priority=\"6\" DataPage=\"0\" PGN=\"1\"/>"));
        ed.open();
        ed.list("CB_Select_Device")->setCurrentIndex(device);
        const QByteArray before = ed.stored();

        ed.ui.answers = {false};
        ed.click("Btn_OK");
        if (question.isEmpty()) {
            QCOMPARE(ed.ui.texts(), QStringList{});
        } else {
            QCOMPARE(ed.ui.texts(), QStringList{question});
            QCOMPARE(ed.ui.boxes.first().kind, Fake_Ui::Kind::Confirm);
            QVERIFY(ed.dlg->isVisible()); // No: nothing written
            QCOMPARE(ed.stored(), before);
            ed.click("Btn_OK");
        }
        QVERIFY(!ed.dlg->isVisible());
        QCOMPARE(Element(ed.stored(), "Device_Type"), QString::number(device));
    }

    // Typing never reaches a field that a collapsed box keeps out of sight.
    void focus_stays_out_of_collapsed_boxes_data()
    {
        QTest::addColumn<QByteArray>("parGen");
        QTest::addColumn<QStringList>("collapse");
        QTest::addColumn<QString>(
            "focused"); // before the collapse; empty: collapsed before opening
        QTest::addColumn<QString>("box");

        const QByteArray full = "<Par_Gen><Device_Type>1</Device_Type></Par_Gen>";
        QTest::newRow("J1939 collapsed while a field has the focus")
            << QByteArray("<Par_Gen/>") << QStringList{"Btn_J1939_Collapse"} << "E_J1939_TO"
            << "GB_J1939";
        QTest::newRow("Ethernet collapsed while an address field has the focus")
            << full << QStringList{"Btn_Ethernet_Collapse"} << "E_Ethernet_IP3"
            << "GB_Ethernet";
        QTest::newRow("DeviceNet collapsed while its baud list has the focus")
            << full << QStringList{"Btn_DeviceNet_Slave_Collapse"} << "CB_DeviceNet_Slave_Baud"
            << "GB_DeviceNet_Slave";
        QTest::newRow("two boxes collapsed before the opening")
            << QByteArray("<Par_Gen/>")
            << QStringList{"Btn_Select_Device_Collapse", "Btn_J1939_Collapse"} << QString()
            << "GB_J1939";
    }

    void focus_stays_out_of_collapsed_boxes()
    {
        QFETCH(QByteArray, parGen);
        QFETCH(QStringList, collapse);
        QFETCH(QString, focused);
        QFETCH(QString, box);
        Editor ed(parGen);
        if (focused.isEmpty())
            for (const QString& b : collapse)
                ed.get<QAbstractButton>(b)->click();
        ed.open();
        QApplication::setActiveWindow(ed.dlg.get());
        QVERIFY(QTest::qWaitForWindowActive(ed.dlg.get()));
        if (!focused.isEmpty()) {
            ed.get(focused)->setFocus();
            QCOMPARE(Name_Of(QApplication::focusWidget()), focused);
            for (const QString& b : collapse)
                ed.click(b);
        }
        const auto fields = [&] {
            QStringList values;
            for (const QLineEdit* e : ed.get(box)->findChildren<QLineEdit*>())
                values.append(e->text());
            for (const QComboBox* c : ed.get(box)->findChildren<QComboBox*>())
                values.append(QString::number(c->currentIndex()));
            return values;
        };
        const QStringList before = fields();

        QVERIFY2(Seen(QApplication::focusWidget()),
                 qPrintable(Name_Of(QApplication::focusWidget())));
        QTest::keyClicks(QApplication::focusWidget(), "7.");
        for (int i = 0; i < 30; ++i) {
            QWidget* w = QApplication::focusWidget();
            QVERIFY2(Seen(w), qPrintable(Name_Of(w)));
            QTest::keyClick(w, Qt::Key_Tab);
        }
        QCOMPARE(fields(), before);
    }

    void close_box_and_escape()
    {
        Editor ed;
        ed.open();
        ed.get<QCheckBox>("CB_J1939_En_Peer")->click();
        ed.dlg->close(); // the close box: Cancel without asking
        QVERIFY(ed.ui.boxes.isEmpty());
        QVERIFY(!ed.dlg->isVisible());
        QCOMPARE(ed.dlg->result(), int(QDialog::Rejected));
        QVERIFY(!ed.stored_exists());

        // Escape is the Cancel button and asks before dropping changes.
        ed.open();
        ed.get<QCheckBox>("CB_J1939_En_Peer")->click();
        ed.ui.answers = {false};
        QTest::keyClick(ed.dlg.get(), Qt::Key_Escape);
        QCOMPARE(ed.ui.texts(), QStringList{Msg(458)});
        QVERIFY(ed.dlg->isVisible());
    }

    void layout_and_collapse()
    {
        Editor ed;
        ed.open();
        QCOMPARE(ed.box_tops(), (QList<int>{70, 134, 299, 397}));
        QCOMPARE(ed.box_heights(), (QList<int>{58, 159, 92, 190}));
        QCOMPARE(ed.get("Btn_OK")->y(), 600);
        QCOMPARE(ed.get("Btn_Cancel")->y(), 600);
        QCOMPARE(ed.dlg->size(), QSize(312, 641));
        QVERIFY(ed.get("E_J1939_DevID")->isVisible());
        QVERIFY(!ed.get("E_J1939_SendTimer")->isVisible());
        ed.dlg->grab().save(Screenshot_Path("ParGen_with_ethernet.png"));

        ed.list("CB_Select_Device")->setCurrentIndex(0);
        QCOMPARE(ed.box_tops(), (QList<int>{70, 134, 332}));
        QCOMPARE(ed.box_heights(), (QList<int>{58, 192, 92}));
        QCOMPARE(ed.get("Btn_OK")->y(), 437);
        QCOMPARE(ed.dlg->size(), QSize(312, 478));
        QCOMPARE(ed.get("E_J1939_SendTimer")->pos(), QPoint(148, 89));
        QVERIFY(!ed.get("E_J1939_DevID")->isVisible());
        ed.dlg->grab().save(Screenshot_Path("ParGen_without_ethernet.png"));

        ed.list("CB_Select_Device")->setCurrentIndex(1);
        QVERIFY(ed.get("Btn_J1939_Collapse")->isVisible());
        QVERIFY(!ed.get("Btn_J1939_Expande")->isVisible());
        QCOMPARE(ed.get("Btn_J1939_Collapse")->geometry(), QRect(280, 10, 11, 11));
        ed.click("Btn_J1939_Collapse");
        QCOMPARE(ed.box_tops(), (QList<int>{70, 134, 166, 264}));
        QCOMPARE(ed.box_heights(), (QList<int>{58, 26, 92, 190}));
        QCOMPARE(ed.dlg->height(), 508);
        QVERIFY(!ed.get("Btn_J1939_Collapse")->isVisible());
        QVERIFY(ed.get("Btn_J1939_Expande")->isVisible());
        QVERIFY(!ed.get("CB_Baud_J1939")->isVisible());
        ed.dlg->grab().save(Screenshot_Path("ParGen_j1939_collapsed.png"));

        // The collapsed state is kept for the next opening.
        ed.click("Btn_Cancel");
        ed.ui.clear();
        ed.open();
        QCOMPARE(ed.box_heights(), (QList<int>{58, 26, 92, 190}));

        ed.click("Btn_J1939_Expande");
        QCOMPARE(ed.box_tops(), (QList<int>{70, 134, 299, 397}));
        QCOMPARE(ed.box_heights(), (QList<int>{58, 159, 92, 190}));
        QVERIFY(ed.get("CB_Baud_J1939")->isVisible());
        QVERIFY(ed.get("Btn_J1939_Collapse")->isVisible());

        ed.click("Btn_Ethernet_Collapse");
        ed.click("Btn_Select_Device_Collapse");
        QCOMPARE(ed.box_tops(), (QList<int>{70, 102, 267, 365}));
        QCOMPARE(ed.box_heights(), (QList<int>{26, 159, 92, 26}));
        QVERIFY(!ed.get("CB_Select_Device")->isVisible());
        QVERIFY(!ed.get("L_Ethernet_IP")->isVisible());
        ed.dlg->grab().save(Screenshot_Path("ParGen_two_collapsed.png"));
    }

    void window_above_screen_moves_to_top()
    {
        Editor ed;
        ed.open();
        ed.dlg->move(40, -120);
        QEvent activate(QEvent::WindowActivate);
        QApplication::sendEvent(ed.dlg.get(), &activate);
        QCOMPARE(ed.dlg->pos(), QPoint(40, 0));
    }

    void modal_run()
    {
        Editor ed("<Par_Gen><Device_Type>1</Device_Type>");
        // A modal run must end by itself; the timer only rescues a hanging test.
        QTimer::singleShot(5000, ed.dlg.get(), [&] { ed.dlg->done(99); });
        QCOMPARE(ed.dlg->exec(), int(QDialog::Rejected));
        QVERIFY(!ed.dlg->isVisible());
        QCOMPARE(ed.ui.boxes.size(), 1);
        QCOMPARE(ed.ui.boxes.first().kind, Fake_Ui::Kind::Error);
        QVERIFY(ed.ui.boxes.first().text.contains("ParGen.xml"));

        ed.folder.write("PROJECTS/Plant/ParGen.xml",
                        "<Par_Gen><TimeOut_Data>42</TimeOut_Data></Par_Gen>");
        QString shownTimeout;
        QTimer::singleShot(0, ed.dlg.get(), [&] {
            shownTimeout = ed.edit("E_J1939_TO")->text();
            ed.click("Btn_OK");
        });
        QCOMPARE(ed.dlg->exec(), int(QDialog::Accepted));
        QCOMPARE(shownTimeout, QStringLiteral("42"));
        QCOMPARE(ed.ui.boxes.size(), 1);
    }

    void failed_write_keeps_window_open()
    {
        Editor ed;
        ed.open();
        ed.edit("E_J1939_TO")->setText("9");
        QDir(Shared.Conf_Dir).removeRecursively();
        ed.click("Btn_OK");
        QCOMPARE(ed.ui.boxes.size(), 1);
        QCOMPARE(ed.ui.boxes.first().kind, Fake_Ui::Kind::Error);
        QVERIFY(ed.ui.boxes.first().text.contains("ParGen.xml"));
        QVERIFY(ed.dlg->isVisible());
        QCOMPARE(ed.edit("E_J1939_TO")->text(), QStringLiteral("9"));
    }

    void texts()
    {
        Editor ed;
        QCOMPARE(ed.dlg->windowTitle(), QStringLiteral("Set Communication"));
        QCOMPARE(ed.get<QLabel>("L_SW_Code")->text(), QStringLiteral("SW38591"));
        QCOMPARE(ed.get<QGroupBox>("GB_Select_Device")->title(), QStringLiteral(" Select Device "));
        QCOMPARE(ed.get<QLabel>("L_J1939_DevID")->text(), QStringLiteral("Device ID J1939"));
        QCOMPARE(ed.edit("E_Ethernet_GAT4")->toolTip(),
                 QStringLiteral("Insert here the fourth byte of Default Gateway"));
        QCOMPARE(ed.get("Btn_DeviceNet_Slave_Expande")->toolTip(), QStringLiteral("Expand"));

        Shared.Lang_Table[400] = "Comunicazione";
        Shared.Lang_Table[404] = "Con Ethernet";
        Shared.Lang_Table[409] = "A tempo";
        Shared.Lang_Table[420] = "Chiudi";
        ed.dlg->Set_Lang();
        QCOMPARE(ed.dlg->windowTitle(), QStringLiteral("Comunicazione"));
        QCOMPARE(ed.list("CB_Select_Device")->itemText(1), QStringLiteral("Con Ethernet"));
        QCOMPARE(ed.list("CB_Select_Device")->currentIndex(), 0);
        QCOMPARE(ed.list("CB_J1939_SendType")->itemText(1), QStringLiteral("A tempo"));
        QCOMPARE(ed.list("CB_J1939_SendType")->count(), 2);
        QCOMPARE(ed.list("CB_Baud_J1939")->itemText(8), QStringLiteral("1000K"));
        QCOMPARE(ed.list("CB_DeviceNet_Slave_Baud")->count(), 3);
        QCOMPARE(ed.get("Btn_J1939_Collapse")->toolTip(), QStringLiteral("Chiudi"));
        QCOMPARE(ed.get<QPushButton>("Btn_OK")->text(), QStringLiteral("OK"));
        QCOMPARE(ed.get<QPushButton>("Btn_Cancel")->text(), QStringLiteral("Cancel"));
    }

    // A translated label must end before the field beside it starts, or the field hides it.
    void translated_labels_fit_data()
    {
        QTest::addColumn<QString>("language");
        for (const char* l : {"English", "Italiano", "Deutsch", "Français", "Español"})
            QTest::newRow(l) << QString::fromUtf8(l);
    }
    void translated_labels_fit()
    {
        QFETCH(QString, language);
        Editor ed("<Par_Gen><Device_Type>0</Device_Type></Par_Gen>");
        QVERIFY(Read_Lng_File(
            QDir::cleanPath(QStringLiteral(TEST_DATA_DIR "/../../LANGUAGE/") + language + ".lng")));
        ed.dlg->Set_Lang();
        const std::pair<const char*, const char*> pairs[] = {
            {"L_J1939_Baud", "CB_Baud_J1939"},
            {"L_J1939_SendType", "CB_J1939_SendType"},
            {"L_J1939_SendTimer", "E_J1939_SendTimer"},
            {"L_J1939_TO", "E_J1939_TO"},
            {"L_J1939_DevID", "E_J1939_DevID"},
            {"L_DeviceNet_Slave_IDDev", "E_DeviceNet_Slave_IDDev"},
            {"L_DeviceNet_Slave_Baud", "CB_DeviceNet_Slave_Baud"}};
        for (const auto& [label, field] : pairs) {
            const QLabel* l = ed.get<QLabel>(label);
            const int textRight = l->x() + l->fontMetrics().horizontalAdvance(l->text());
            QVERIFY2(textRight < ed.get(field)->x(),
                     qPrintable(QStringLiteral("%1 \"%2\" ends at %3, %4 starts at %5")
                                    .arg(label, l->text())
                                    .arg(textRight)
                                    .arg(field)
                                    .arg(ed.get(field)->x())));
        }
        for (const char* name : {"CB_Select_Device", "CB_J1939_SendType"}) {
            const QComboBox* list = ed.list(name);
            QComboBox needed;
            needed.setFont(list->font());
            for (int i = 0; i < list->count(); ++i)
                needed.addItem(list->itemText(i));
            QVERIFY2(needed.sizeHint().width() <= list->width(),
                     qPrintable(QStringLiteral("%1 needs %2, has %3")
                                    .arg(name)
                                    .arg(needed.sizeHint().width())
                                    .arg(list->width())));
        }
        for (const char* box : {"CB_J1939_En_Peer", "CB_Ethernet_EN_GAT"}) {
            const QCheckBox* c = ed.get<QCheckBox>(box);
            QVERIFY2(c->x() + c->sizeHint().width() < c->parentWidget()->width(), box);
        }
        ed.open();
        ed.dlg->grab().save(Screenshot_Path(QStringLiteral("ParGen_%1.png").arg(language)));
    }
};

QTEST_MAIN(tst_ParGen)
#include "tst_ParGen.moc"
