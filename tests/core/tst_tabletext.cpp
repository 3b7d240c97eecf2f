#include "editors/TableText.h"

#include <QTest>

using Rows = QList<QStringList>;

class tst_tabletext final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void tab_text_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<Rows>("rows");
        QTest::newRow("two rows, CR LF") << "0\t0xFEF1\r\n1\t7\r\n"
                                         << Rows{{"0", "0xFEF1"}, {"1", "7"}};
        QTest::newRow("LF, no closing break") << "a\tb\nc\td" << Rows{{"a", "b"}, {"c", "d"}};
        QTest::newRow("empty cells kept") << "\t\tx\r\n" << Rows{{"", "", "x"}};
        QTest::newRow("empty line is a row") << "a\r\n\r\nb\r\n" << Rows{{"a"}, {""}, {"b"}};
        QTest::newRow("quoted tab, line break, quote")
            << "\"a\tb\"\t\"two\r\nlines\"\t\"say \"\"hi\"\"\"\r\n"
            << Rows{{"a\tb", "two\r\nlines", "say \"hi\""}};
        QTest::newRow("quote inside a cell is text") << "5\"\t6\r\n" << Rows{{"5\"", "6"}};
        QTest::newRow("nothing") << "" << Rows{};
    }
    void tab_text()
    {
        QFETCH(QString, text);
        QFETCH(Rows, rows);
        QCOMPARE(Tab_Text_To_Rows(text), rows);
        // What we write reads back the same.
        QCOMPARE(Tab_Text_To_Rows(Rows_To_Tab_Text(rows)), rows);
    }

    void number_tips_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("tip");
        QTest::addColumn<bool>("bareHex");
        QTest::newRow("hex") << "0xFEF1"
                             << "0xFEF1 = 65265" << false;
        QTest::newRow("dollar") << "$80"
                                << "$80 = 128" << false;
        QTest::newRow("decimal") << "128"
                                 << "128 = 0x80" << false;
        QTest::newRow("blanks around") << "  255"
                                       << "255 = 0xFF" << false;
        QTest::newRow("negative decimal") << "-1"
                                          << "" << false;
        QTest::newRow("bare hex") << "FEF1"
                                  << "" << true;
        QTest::newRow("bare hex, lower case") << "fe"
                                              << "" << true;
        QTest::newRow("text") << "engine"
                              << "" << false;
        QTest::newRow("empty") << ""
                               << "" << false;
    }
    void number_tips()
    {
        QFETCH(QString, text);
        QFETCH(QString, tip);
        QFETCH(bool, bareHex);
        QCOMPARE(Number_Tip(text), tip);
        QCOMPARE(Is_Bare_Hex(text), bareHex);
    }
};

QTEST_GUILESS_MAIN(tst_tabletext)
#include "tst_tabletext.moc"
