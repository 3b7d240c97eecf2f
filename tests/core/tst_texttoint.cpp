#include "configurations/TextToInt.h"

#include <QTest>

class Tst_TextToInt : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void parse_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("isNumber");
        QTest::addColumn<int>("value");

        QTest::newRow("decimal") << "65265" << true << 65265;
        QTest::newRow("leading zero") << "012" << true << 12;
        QTest::newRow("leading blanks") << "  42" << true << 42;
        QTest::newRow("trailing blank") << "42 " << false << 0;
        QTest::newRow("negative") << "-17" << true << -17;
        QTest::newRow("plus") << "+17" << true << 17;
        QTest::newRow("lone plus") << "+" << false << 0;
        QTest::newRow("lone minus") << "-" << false << 0;
        QTest::newRow("empty") << "" << false << 0;
        QTest::newRow("only blanks") << "   " << false << 0;
        QTest::newRow("blank after sign") << "- 5" << false << 0;
        QTest::newRow("0x prefix") << "0xFEF1" << true << 65265;
        QTest::newRow("0X prefix") << "0XfeF1" << true << 65265;
        QTest::newRow("dollar") << "$FEF1" << true << 65265;
        QTest::newRow("x") << "xFF" << true << 255;
        QTest::newRow("X") << "XFF" << true << 255;
        QTest::newRow("0x alone") << "0x" << false << 0;
        QTest::newRow("dollar alone") << "$" << false << 0;
        QTest::newRow("hex all ones") << "0xFFFFFFFF" << true << -1;
        QTest::newRow("hex high bit") << "$80000000" << true << int(0x80000000u);
        QTest::newRow("hex nine digits") << "0x100000000" << false << 0;
        QTest::newRow("negative hex") << "-0x10" << true << -16;
        QTest::newRow("hex bad digit") << "0xFG" << false << 0;
        QTest::newRow("blank then hex") << " 0xFEF1" << true << 65265;
        QTest::newRow("hex then blank") << "0xFEF1 " << false << 0;
        QTest::newRow("max") << "2147483647" << true << 2147483647;
        QTest::newRow("over max") << "2147483648" << false << 0;
        QTest::newRow("min") << "-2147483648" << true << int(-2147483647 - 1);
        QTest::newRow("under min") << "-2147483649" << false << 0;
        QTest::newRow("huge") << "99999999999999999999" << false << 0;
        QTest::newRow("letters") << "abc" << false << 0;
        QTest::newRow("decimal point") << "1.5" << false << 0;
        QTest::newRow("tab before") << "\t5" << false << 0;
    }

    void parse()
    {
        QFETCH(QString, text);
        QFETCH(bool, isNumber);
        QFETCH(int, value);
        const auto r = Parse_Int(text);
        QCOMPARE(r.has_value(), isNumber);
        QCOMPARE(Text_To_Int(text, 777), isNumber ? value : 777);
    }
};

QTEST_GUILESS_MAIN(Tst_TextToInt)
#include "tst_texttoint.moc"
