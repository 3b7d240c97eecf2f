#include "app/UComon.h"
#include "app/UTessaformeFirmWare.h"
#include "app/Windows.h"
#include "configurations/ConfigFiles.h"
#include "configurations/UCompareConf.h"
#include "language/ULanguage.h"
#include "support/FakeUi.h"
#include "support/TestSupport.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QTableWidget>
#include <QTest>
#include <QToolButton>

#include <memory>

namespace {

const QByteArray Comment = "<!--SW_VERSION = 2.000-->";

template <class W> W* Child(QWidget* w, const char* name)
{
    W* c = w->findChild<W*>(QLatin1String(name));
    if (!c)
        qFatal("no control %s", name);
    return c;
}

QStringList Row_Cells(QTableWidget* t, int row)
{
    QStringList cells;
    for (int c = 0; c < t->columnCount(); ++c)
        cells << (t->item(row, c) ? t->item(row, c)->text() : QString());
    return cells;
}

} // namespace

class Tst_CompareConf final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        m_env = std::make_unique<Window_Test_Env>();
        // "Line 1" is active; "Line 2" has another baud rate, a changed PGN and a row more.
        m_env->folder.write(QStringLiteral("Tessaform.xml"),
                        "<Conf_Settings><lastproj><projectname>Line 1</projectname></lastproj>"
                        "</Conf_Settings>");
        ParGen_Settings s = ParGen_Defaults_Missing_File();
        m_env->folder.write(QStringLiteral("PROJECTS/Line 1/ParGen.xml"), ParGen_Xml(s));
        m_env->folder.write(QStringLiteral("PROJECTS/Line 1/Receive_Frame.xml"),
                        "<Receive_Frames><row DataPage=\"0\" PGN=\"0xFEF1\" SA=\"0\"/>"
                        "</Receive_Frames>" + Comment);
        s.Can_Baud = QStringLiteral("3");
        m_env->folder.write(QStringLiteral("PROJECTS/Line 2/ParGen.xml"), ParGen_Xml(s));
        m_env->folder.write(QStringLiteral("PROJECTS/Line 2/Receive_Frame.xml"),
                        "<Receive_Frames><row DataPage=\"0\" PGN=\"65265\" SA=\"0\"/>"
                        "<row DataPage=\"0\" PGN=\"65262\" SA=\"3\"/></Receive_Frames>" + Comment);
        QDir().mkpath(m_env->folder.file(QStringLiteral("PROJECTS/Line 3")));
    }

    void cleanup() { m_env.reset(); }

    // From the Tools menu, the active configuration as A; the differences in the table.
    void fromToolsMenu()
    {
        Create_Windows(m_env->folder.path());
        TFTessaformeFirmWare* main = Forms.FTessaformeFirmWare;
        QVERIFY(!Shared.Conf_Dir.isEmpty());
        auto* tools = Child<QToolButton>(main, "Btn_Tools");
        QVERIFY(!tools->isHidden());
        QAction* action = nullptr;
        for (QAction* a : main->Tools_Menu()->actions())
            if (a->objectName() == QLatin1String("Act_Compare"))
                action = a;
        QVERIFY(action);
        QCOMPARE(action->text(), QStringLiteral("Compare Configurations…"));

        QString preselected;
        QStringList header;
        QList<QStringList> rows;
        QString result;
        m_env->ui.onModal = [&](QDialog* d) {
            d->show(); // as exec() would
            preselected = Child<QComboBox>(d, "CB_Conf_A")->currentText();
            Child<QComboBox>(d, "CB_Conf_B")->setCurrentText(QStringLiteral("Line 2"));
            auto* table = Child<QTableWidget>(d, "G_Differences");
            for (int c = 0; c < table->columnCount(); ++c)
                header << table->horizontalHeaderItem(c)->text();
            for (int r = 0; r < table->rowCount(); ++r)
                rows << Row_Cells(table, r);
            result = Child<QLabel>(d, "L_Result")->text();
            [&] { QVERIFY(d->grab().save(Screenshot_Path(QStringLiteral("compare_conf.png")))); }();
            return int(QDialog::Rejected);
        };
        action->trigger();
        QCOMPARE(m_env->ui.shownDialogs, QStringList{QStringLiteral("FCompareConf")});
        QCOMPARE(preselected, QStringLiteral("Line 1"));
        QCOMPARE(header, (QStringList{"File", "Row", "Column", "Value in A", "Value in B"}));
        QCOMPARE(rows, (QList<QStringList>{
                           {"ParGen.xml", "", "Can_Baud", "5", "3"},
                           {"Receive_Frame.xml", "1", "PGN", "0xFEF1", "65265"},
                           {"Receive_Frame.xml", "2", "Row only in B", "",
                            "0, 65262, 3, N, , , N, N, 1000, "},
                       }));
        QCOMPARE(result, QStringLiteral("Differences: 3"));
        QCOMPARE(m_env->ui.boxes.size(), 0);
    }

    // The same configuration on both sides, and a configuration without files against the
    // defaults it reads as: the hint instead of rows.
    void sameValues_data()
    {
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("b");
        QTest::newRow("itself") << "Line 2" << "Line 2";
        QTest::newRow("empty folder against defaults") << "Line 3" << "Line 4";
    }

    void sameValues()
    {
        QFETCH(QString, a);
        QFETCH(QString, b);
        m_env->folder.write(QStringLiteral("PROJECTS/Line 4/ParGen.xml"),
                        ParGen_Xml(ParGen_Defaults_Missing_File()));
        Reset_Shared();
        Shared.Dir_Projects = m_env->folder.file(QStringLiteral("PROJECTS"));
        Load_Default_Language();
        TFCompareConf w;
        w.show();
        Child<QComboBox>(&w, "CB_Conf_A")->setCurrentText(a);
        Child<QComboBox>(&w, "CB_Conf_B")->setCurrentText(b);
        QCOMPARE(Child<QComboBox>(&w, "CB_Conf_A")->currentText(), a);
        QCOMPARE(Child<QComboBox>(&w, "CB_Conf_B")->currentText(), b);
        QCOMPARE(Child<QTableWidget>(&w, "G_Differences")->rowCount(), 0);
        QCOMPARE(Child<QLabel>(&w, "L_Result")->text(),
                 QStringLiteral("The two configurations store the same values."));
    }

    // A file that cannot be read is reported; the window stays usable.
    void unreadableFileReported()
    {
        m_env->folder.write(QStringLiteral("PROJECTS/Line 3/Send_Frame.xml"), "<Receive_Frames><row");
        Reset_Shared();
        Shared.Dir_Projects = m_env->folder.file(QStringLiteral("PROJECTS"));
        Load_Default_Language();
        TFCompareConf w;
        w.show();
        Child<QComboBox>(&w, "CB_Conf_A")->setCurrentText(QStringLiteral("Line 1"));
        Child<QComboBox>(&w, "CB_Conf_B")->setCurrentText(QStringLiteral("Line 2"));
        m_env->ui.clear();
        Child<QComboBox>(&w, "CB_Conf_B")->setCurrentText(QStringLiteral("Line 3"));
        QCOMPARE(m_env->ui.boxes.size(), 1);
        QCOMPARE(m_env->ui.boxes[0].kind, Fake_Ui::Kind::Error);
        QVERIFY2(m_env->ui.boxes[0].text.contains(QStringLiteral("Send_Frame.xml")),
                 qPrintable(m_env->ui.boxes[0].text));
        QCOMPARE(Child<QTableWidget>(&w, "G_Differences")->rowCount(), 0);
    }

private:
    std::unique_ptr<Window_Test_Env> m_env;
};

QTEST_MAIN(Tst_CompareConf)
#include "tst_compareconf.moc"
