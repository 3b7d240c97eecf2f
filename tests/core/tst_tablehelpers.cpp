#include "app/UComon.h"
#include "editors/TableHelpers.h"
#include "language/ULanguage.h"
#include "support/TestSupport.h"

#include <QSet>
#include <QTest>

namespace {

// A table in memory: 4 data columns, the third a check box, the last one may be hidden.
class Memory_Table final : public Table_Access {
public:
    explicit Memory_Table(int rows, int cols = 4) : m_cells(rows, QStringList(cols + 1))
    {
        for (int r = 1; r < rows; ++r)
            m_cells[r][0] = QString::number(r);
    }

    int Row_Count() const override { return int(m_cells.size()); }
    int Data_Column_Count() const override { return int(m_cells.first().size()) - 1; }
    QString Cell(int col, int row) const override { return m_cells.at(row).at(col); }
    void Set_Cell(int col, int row, const QString& text) override { m_cells[row][col] = text; }
    bool Is_Check_Box_Column(int col) const override { return col == 3; }
    int Current_Column() const override { return m_col; }
    int Current_Row() const override { return m_row; }
    void Set_Current(int shownCol, int row) override
    {
        m_col = shownCol;
        m_row = row;
    }
    int Shown_Column_Count() const override { return Data_Column_Count() + 1 - int(hidden.size()); }
    void Fit_Column(int col) override { fitted.append(col); }

    void Fill_Row(int row, const QString& tag)
    {
        for (int c = 1; c <= Data_Column_Count(); ++c)
            m_cells[row][c] = tag + QString::number(c);
    }
    QStringList Data(int row) const { return m_cells.at(row).mid(1); }

    QSet<int> hidden;
    QList<int> fitted;

private:
    QList<QStringList> m_cells;
    int m_col = 1;
    int m_row = 1;
};

QStringList Empty_Row()
{
    return QStringList(4);
}

struct Prompt_Log {
    QStringList errors;
    QStringList questions;
    bool answer = true;
    Table_Prompts prompts()
    {
        return {[this](const QString& t) { errors.append(t); },
                [this](const QString& t) {
                    questions.append(t);
                    return answer;
                }};
    }
};

} // namespace

class tst_tablehelpers final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        Reset_Shared();
        Load_Default_Language();
    }

    void delete_row_moves_rows_up_and_empties_the_last()
    {
        Memory_Table t(8); // rows 1..7
        for (int r = 1; r <= 5; ++r)
            t.Fill_Row(r, QStringLiteral("r%1c").arg(r));
        Delete_Row(t, 3);
        QCOMPARE(t.Data(1), QStringList({"r1c1", "r1c2", "r1c3", "r1c4"}));
        QCOMPARE(t.Data(2).first(), QStringLiteral("r2c1"));
        QCOMPARE(t.Data(3), QStringList({"r4c1", "r4c2", "r4c3", "r4c4"}));
        QCOMPARE(t.Data(4).first(), QStringLiteral("r5c1"));
        QCOMPARE(t.Data(5), Empty_Row());
        QCOMPARE(t.Data(7), Empty_Row());
        for (int r = 1; r < 8; ++r)
            QCOMPARE(t.Cell(0, r), QString::number(r));

        Memory_Table last(4);
        last.Fill_Row(3, QStringLiteral("x"));
        Delete_Row(last, 3);
        QCOMPARE(last.Data(3), Empty_Row());
    }

    void insert_row_moves_rows_down_and_drops_the_last()
    {
        Memory_Table t(6); // rows 1..5
        for (int r = 1; r <= 5; ++r)
            t.Fill_Row(r, QStringLiteral("r%1c").arg(r));
        Insert_Row(t, 2);
        QCOMPARE(t.Data(1).first(), QStringLiteral("r1c1"));
        QCOMPARE(t.Data(2), Empty_Row());
        QCOMPARE(t.Data(3), QStringList({"r2c1", "r2c2", "r2c3", "r2c4"}));
        QCOMPARE(t.Data(4).first(), QStringLiteral("r3c1"));
        QCOMPARE(t.Data(5), QStringList({"r4c1", "r4c2", "r4c3", "r4c4"})); // r5 is gone
        for (int r = 1; r < 6; ++r)
            QCOMPARE(t.Cell(0, r), QString::number(r));
    }

    void rows_travel_whole_with_hidden_columns()
    {
        Memory_Table t(5);
        t.hidden = {4};
        t.Fill_Row(1, QStringLiteral("a"));
        Copy_Row(t, 1);
        QCOMPARE(Shared.Copy_Row_Buffer, QStringList({"a1", "a2", "a3", "a4"}));
        Prompt_Log log;
        Paste_Row(t, 3, true, log.prompts());
        QCOMPARE(t.Data(3), t.Data(1));
        Delete_Row(t, 1);
        QCOMPARE(t.Data(2), QStringList({"a1", "a2", "a3", "a4"}));
    }

    void paste_row_data()
    {
        QTest::addColumn<bool>("copied");
        QTest::addColumn<QStringList>("buffer");
        QTest::addColumn<QStringList>("target");
        QTest::addColumn<bool>("answer");
        QTest::addColumn<QStringList>("errors");
        QTest::addColumn<bool>("asked");
        QTest::addColumn<QStringList>("after");

        const QStringList buf = {"p1", "p2", "Y", "p4"};
        const QStringList used = {"", "0xFEF1", "", ""};
        const QString e902 = "Error!!! Copy a valid row before Paste it";
        const QString e901 = "Error in the Copy values!!! Copy a valid row before Paste it";
        QTest::newRow("no copy in this opening, buffer still full")
            << false << buf << Empty_Row() << true << QStringList{e902} << false << Empty_Row();
        QTest::newRow("buffer of another width")
            << true << QStringList{"a", "b", "c"} << Empty_Row() << true << QStringList{e901}
            << false << Empty_Row();
        QTest::newRow("check box holding N is no use")
            << true << buf << QStringList{"", "", "N", ""} << true << QStringList{} << false << buf;
        QTest::newRow("blank-only mnemonic is no use")
            << true << buf << QStringList{"", "", "", "   "} << true << QStringList{} << false
            << buf;
        QTest::newRow("used row, Yes overwrites")
            << true << buf << used << true << QStringList{} << true << buf;
        QTest::newRow("used row, No keeps it")
            << true << buf << used << false << QStringList{} << true << used;
    }

    void paste_row()
    {
        QFETCH(bool, copied);
        QFETCH(QStringList, buffer);
        QFETCH(QStringList, target);
        QFETCH(bool, answer);
        QFETCH(QStringList, errors);
        QFETCH(bool, asked);
        QFETCH(QStringList, after);

        Memory_Table t(4);
        for (int c = 1; c <= 4; ++c)
            t.Set_Cell(c, 2, target.at(c - 1));
        Shared.Copy_Row_Buffer = buffer;
        Prompt_Log log;
        log.answer = answer;
        Paste_Row(t, 2, copied, log.prompts());
        QCOMPARE(log.errors, errors);
        QCOMPARE(log.questions,
                 asked ? QStringList{"Row Already used. Do you want to overwrite the values?"}
                       : QStringList{});
        QCOMPARE(t.Data(2), after);
        QCOMPARE(Shared.Copy_Row_Buffer, buffer); // a paste never empties the buffer
    }

    void enter_key_data()
    {
        QTest::addColumn<bool>("option");
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("hideLast");
        QTest::addColumn<QPoint>("from"); // (shown column, row)
        QTest::addColumn<QPoint>("to");
        QTest::addColumn<bool>("consumed");

        // 4 data columns, rows 1..5.
        QTest::newRow("next column") << true << 13 << false << QPoint(1, 2) << QPoint(2, 2) << true;
        QTest::newRow("last column to next row")
            << true << 13 << false << QPoint(4, 2) << QPoint(1, 3) << true;
        QTest::newRow("last cell wraps to row 1")
            << true << 13 << false << QPoint(4, 5) << QPoint(1, 1) << true;
        QTest::newRow("hidden column skipped")
            << true << 13 << true << QPoint(3, 2) << QPoint(1, 3) << true;
        QTest::newRow("column 0 stays, key consumed")
            << true << 13 << false << QPoint(0, 2) << QPoint(0, 2) << true;
        QTest::newRow("option off")
            << false << 13 << false << QPoint(1, 2) << QPoint(1, 2) << false;
        QTest::newRow("other key")
            << true << int('a') << false << QPoint(1, 2) << QPoint(1, 2) << false;
    }

    void enter_key()
    {
        QFETCH(bool, option);
        QFETCH(int, key);
        QFETCH(bool, hideLast);
        QFETCH(QPoint, from);
        QFETCH(QPoint, to);
        QFETCH(bool, consumed);

        Shared.Enable_Jump_Field_Tables = option;
        Memory_Table t(6);
        if (hideLast)
            t.hidden = {4};
        t.Set_Current(from.x(), from.y());
        QCOMPARE(Enter_Key_Next_Cell(t, QChar(key)), consumed);
        QCOMPARE(QPoint(t.Current_Column(), t.Current_Row()), to);
    }

    void auto_size_data()
    {
        QTest::addColumn<bool>("option");
        QTest::addColumn<int>("row");
        QTest::addColumn<QList<int>>("fitted");
        QTest::newRow("header, option on") << true << 0 << QList<int>{2};
        QTest::newRow("data row, option on") << true << 1 << QList<int>{};
        QTest::newRow("header, option off") << false << 0 << QList<int>{};
    }

    void auto_size()
    {
        QFETCH(bool, option);
        QFETCH(int, row);
        QFETCH(QList<int>, fitted);
        Shared.Double_Click_Auto_Size = option;
        Memory_Table t(4);
        Auto_Size_Column(t, row, 2);
        QCOMPARE(t.fitted, fitted);
    }
};

QTEST_GUILESS_MAIN(tst_tablehelpers)
#include "tst_tablehelpers.moc"
