#include "editors/FrameTables.h"

namespace {

template <typename Row> Row Row_From_Cells(const Frame_Cells& cells)
{
    Row row;
    for (int c = 0; c < Row::Count; ++c)
        row.field(c) = cells.value(c);
    return row;
}

template <typename Row> QList<Row> Rows_From_Cells(const QList<Frame_Cells>& cells)
{
    QList<Row> rows;
    rows.reserve(cells.size());
    for (const Frame_Cells& c : cells)
        rows.append(Row_From_Cells<Row>(c));
    return rows;
}

template <typename Row> QList<Frame_Cells> Cells_From_Rows(const QList<Row>& rows)
{
    QList<Frame_Cells> out;
    out.reserve(rows.size());
    for (const Row& r : rows) {
        Frame_Cells cells;
        for (int c = 0; c < Row::Count; ++c)
            cells.append(r.field(c));
        out.append(cells);
    }
    return out;
}

using K = Cell_Kind;

// Column group colours: identity, stored bytes, storage, timing; Mnemonic white.
constexpr unsigned Identity = 0xE3F0FB, Transport = 0xF6E7D2, Bytes = 0xE5F4E0, Cancel = 0xF9E0E0,
                   Timing = 0xEEE6F7, White = 0xFFFFFF, Fixed = 0xE8E8E8;

} // namespace

const Frame_Table_Kind Receive_Table = {
    600,
    QStringLiteral("Receive_Frame.xml"),
    &Shared_State::File_Receive_Frame,
    {{
        {614, K::Row_Number, 40, 0, true, Fixed},
        {615, K::Pick_List, 65, 625, true, Identity},
        {616, K::Text, 65, 626, true, Identity},
        {617, K::Text, 95, 627, true, Identity},
        {618, K::Check_Box, 115, 628, false, Transport},
        {619, K::Text, 65, 629, false, Bytes},
        {620, K::Text, 71, 630, false, Bytes},
        {621, K::Check_Box, 75, 631, true, Cancel},
        {622, K::Check_Box, 75, 632, false, Timing},
        {623, K::Text, 65, 633, false, Timing},
        {624, K::Text, 120, 634, true, White},
    }},
    511,
    {QStringLiteral("0"), QStringLiteral("1")},
    876,
    2,
    [](const QString& path) { return Cells_From_Rows(Read_Receive_Frames(path)); },
    [](const QString& path, const QList<Frame_Cells>& rows) {
        Write_Receive_Frames(path, Rows_From_Cells<Receive_Frame_Row>(rows));
    },
    [](const QList<Frame_Cells>& rows, bool reduced) {
        return Check_Receive_Rows(Rows_From_Cells<Receive_Frame_Row>(rows), reduced);
    },
    [](const QList<Frame_Cells>& rows, bool reduced) {
        return All_Receive_Failures(Rows_From_Cells<Receive_Frame_Row>(rows), reduced);
    },
    [](const QList<Frame_Cells>& rows, const Frame_Context& context, bool reduced) {
        return Receive_Warnings(Rows_From_Cells<Receive_Frame_Row>(rows), context, reduced);
    },
    [](const QList<Frame_Cells>& rows) {
        return Receive_Bytes_Used(Rows_From_Cells<Receive_Frame_Row>(rows));
    },
};

const Frame_Table_Kind Send_Table = {
    700,
    QStringLiteral("Send_Frame.xml"),
    &Shared_State::File_Send_Frame,
    {{
        {714, K::Row_Number, 40, 0, true, Fixed},
        {715, K::Text, 60, 725, true, Identity},
        {716, K::Pick_List, 65, 726, true, Identity},
        {717, K::Text, 65, 727, true, Identity},
        {718, K::Text, 95, 728, true, Identity},
        {719, K::Text, 60, 729, false, Bytes},
        {720, K::Check_Box, 75, 730, false, Timing},
        {721, K::Check_Box, 80, 731, false, Timing},
        {722, K::Check_Box, 60, 732, false, Timing},
        {723, K::Text, 64, 733, false, Timing},
        {724, K::Text, 95, 734, true, White},
    }},
    434,
    {QStringLiteral("0"), QStringLiteral("1")},
    784,
    1,
    [](const QString& path) { return Cells_From_Rows(Read_Send_Frames(path)); },
    [](const QString& path, const QList<Frame_Cells>& rows) {
        Write_Send_Frames(path, Rows_From_Cells<Send_Frame_Row>(rows));
    },
    [](const QList<Frame_Cells>& rows, bool reduced) {
        return Check_Send_Rows(Rows_From_Cells<Send_Frame_Row>(rows), reduced);
    },
    [](const QList<Frame_Cells>& rows, bool reduced) {
        return All_Send_Failures(Rows_From_Cells<Send_Frame_Row>(rows), reduced);
    },
    [](const QList<Frame_Cells>& rows, const Frame_Context& context, bool reduced) {
        return Send_Warnings(Rows_From_Cells<Send_Frame_Row>(rows), context, reduced);
    },
    [](const QList<Frame_Cells>& rows) {
        return Send_Bytes_Used(Rows_From_Cells<Send_Frame_Row>(rows));
    },
};

int Frame_Row_Count(bool reduced)
{
    return reduced ? 17 : 57;
}

QList<int> Frame_Hint_Messages(const Frame_Table_Kind& kind, bool reduced)
{
    QList<int> hints;
    for (int c = 1; c < int(kind.columns.size()); ++c)
        if (!reduced || kind.columns[c].shown_reduced)
            hints.append(kind.columns[c].hint);
    return hints;
}

Frame_Table_Content Load_Frame_Table(const Frame_Table_Kind& kind, const QString& parGenPath,
                                     const QString& path)
{
    Frame_Table_Content content;
    content.reduced = Is_Device_Without_Ethernet(parGenPath);
    content.rows = kind.read(path);
    content.file_rows = int(content.rows.size());
    const int capacity = Frame_Row_Count(content.reduced) - 1;
    if (content.rows.size() > capacity)
        content.rows.resize(capacity);
    return content;
}

int Stored_Rows_Beyond(const Frame_Table_Kind& kind, const QString& path, bool reduced)
{
    try {
        return qMax(0, int(kind.read(path).size()) - (Frame_Row_Count(reduced) - 1));
    } catch (const App_Error&) {
        return 0;
    }
}

QString Check_Frame_File(const Frame_Table_Kind& kind, const QString& parGenPath,
                         const QString& path)
{
    const Frame_Table_Content content = Load_Frame_Table(kind, parGenPath, path);
    const auto failure = kind.check(content.rows, content.reduced);
    return failure ? Check_Failure_Text(kind.msg + Frame_Msg::Error_In_Row, *failure) : QString();
}

QStringList Check_Frame_File_All(const Frame_Table_Kind& kind, const QString& parGenPath,
                                 const QString& path)
{
    const Frame_Table_Content content = Load_Frame_Table(kind, parGenPath, path);
    QStringList texts;
    for (const Frame_Check_Failure& f : kind.all_checks(content.rows, content.reduced))
        texts << Check_Failure_Text(kind.msg + Frame_Msg::Error_In_Row, f);
    return texts;
}

QStringList Frame_File_Warnings(const Frame_Table_Kind& kind, const QString& parGenPath,
                                const QString& path)
{
    const Frame_Table_Content content = Load_Frame_Table(kind, parGenPath, path);
    QStringList texts;
    for (const Frame_Warning& w :
         kind.warnings(content.rows, Read_Frame_Context(parGenPath), content.reduced))
        texts << QStringLiteral("row %1: %2").arg(w.row).arg(Warning_Text(w));
    return texts;
}

bool Same_Frame_Rows(const Frame_Table_Kind& kind, const QList<Frame_Cells>& a,
                     const QList<Frame_Cells>& b)
{
    if (a.size() != b.size())
        return false;
    const auto unset = [](const QString& t) { return t.isEmpty() || t == QLatin1String("N"); };
    for (int r = 0; r < a.size(); ++r) {
        for (int c = 1; c < int(kind.columns.size()); ++c) {
            const QString x = a.at(r).value(c - 1), y = b.at(r).value(c - 1);
            if (x != y && !(kind.columns[c].kind == Cell_Kind::Check_Box && unset(x) && unset(y)))
                return false;
        }
    }
    return true;
}

bool Frame_Row_Filled(const Frame_Table_Kind& kind, const Frame_Cells& row)
{
    for (int c = 1; c < int(kind.columns.size()); ++c) {
        const QString cell = row.value(c - 1);
        if (kind.columns[c].kind == Cell_Kind::Check_Box ? cell == QLatin1String("Y")
                                                         : !cell.trimmed().isEmpty())
            return true;
    }
    return false;
}

QList<int> Frame_Rows_Not_Saved(const Frame_Table_Kind& kind, const QList<Frame_Cells>& rows)
{
    QList<int> lost;
    bool ended = false;
    for (int r = 0; r < rows.size(); ++r) {
        ended = ended || rows.at(r).value(kind.key_column - 1).trimmed().isEmpty();
        if (ended && Frame_Row_Filled(kind, rows.at(r)))
            lost.append(r + 1);
    }
    return lost;
}

QString Row_Numbers_Text(const QList<int>& rows)
{
    QStringList parts;
    for (int i = 0; i < rows.size();) {
        int j = i;
        while (j + 1 < rows.size() && rows.at(j + 1) == rows.at(j) + 1)
            ++j;
        parts.append(j == i ? QString::number(rows.at(i))
                            : QString::number(rows.at(i)) + QLatin1Char('-') +
                                  QString::number(rows.at(j)));
        i = j + 1;
    }
    return parts.join(QLatin1String(", "));
}
