#include "editors/FrameImport.h"

#include "configurations/TextToInt.h"
#include "language/ULanguage.h"

#include <QMap>

namespace {

// The table after the added rows were put from `first` (0-based) on; rows past its end are
// kept too, so that the byte count sees every one of them.
QList<Frame_Cells> Placed(const QList<Frame_Cells>& table, int first,
                          const QList<Frame_Cells>& added)
{
    QList<Frame_Cells> rows = table.mid(0, first);
    rows += added;
    for (qsizetype r = rows.size(); r < table.size(); ++r)
        rows << table.at(r);
    return rows;
}

// `refuseBytes`: a selection past the budget is refused; else the checks show it as for typed
// rows.
void Finish(const Frame_Table_Kind& kind, bool reduced, Frame_Import_Plan& plan,
            const QList<Frame_Cells>& table, const QList<Frame_Cells>& added, bool refuseBytes)
{
    plan.added = int(added.size());
    plan.budget = !reduced;
    const QList<Frame_Cells> all = Placed(table, plan.first_row - 1, added);
    plan.bytes_used = kind.bytes_used(all);
    if (plan.added > plan.rows_left)
        plan.refusal = Import_Msg::Too_Many_Rows;
    else if (refuseBytes && plan.budget && plan.bytes_used > Frame_Byte_Budget)
        plan.refusal = Import_Msg::Too_Many_Bytes;
    plan.rows = plan.refusal ? table : all.mid(0, table.size());
}

} // namespace

Csv_Layout Frame_Csv_Layout(const Frame_Table_Kind& kind)
{
    return &kind == &Receive_Table ? Receive_Csv_Layout() : Send_Csv_Layout();
}

int Last_Filled_Row(const Frame_Table_Kind& kind, const QList<Frame_Cells>& table)
{
    for (qsizetype r = table.size(); r > 0; --r)
        if (Frame_Row_Filled(kind, table.at(r - 1)))
            return int(r);
    return 0;
}

QList<Frame_Cells> Frame_Saved_Rows(const Frame_Table_Kind& kind, const QList<Frame_Cells>& table)
{
    QList<Frame_Cells> out;
    for (const Frame_Cells& r : table) {
        if (r.value(kind.key_column - 1).trimmed().isEmpty())
            break;
        out << r;
    }
    return out;
}

Frame_Import_Plan Plan_Dbc_Import(const Frame_Table_Kind& kind, const QList<Frame_Cells>& table,
                                  bool reduced, const Dbc_File& file, const QStringList& names,
                                  std::optional<int> sa)
{
    Frame_Import_Plan plan;
    const int last = Last_Filled_Row(kind, table);
    plan.first_row = last + 1;
    plan.rows_left = int(table.size()) - last;
    if (sa && (*sa < 0 || *sa > 255)) {
        plan.rows = table;
        plan.budget = !reduced;
        plan.bytes_used = kind.bytes_used(table);
        plan.refusal = Import_Msg::Bad_Address;
        return plan;
    }
    QList<Frame_Cells> added;
    if (!names.isEmpty()) {
        Dbc_Choice choice;
        choice.receive = &kind == &Receive_Table;
        choice.names = names;
        choice.sa = sa;
        choice.existing = table.mid(0, last);
        // Room is judged here, against the table as the checks count it; the mapping takes all.
        choice.rows_left = Dbc_No_Budget;
        choice.bytes_left = Dbc_No_Budget;
        plan.mapping = Map_Dbc_Messages(file, choice);
        for (const Dbc_Row& r : plan.mapping.rows)
            if (r.skip == Dbc_Skip::None)
                added << r.cells;
    }
    Finish(kind, reduced, plan, table, added, true);
    if (!plan.refusal && names.isEmpty())
        plan.refusal = Import_Msg::Nothing_Ticked;
    return plan;
}

Frame_Import_Plan Plan_Rows_Import(const Frame_Table_Kind& kind, const QList<Frame_Cells>& table,
                                   bool reduced, const QList<Frame_Cells>& added, bool replace)
{
    Frame_Import_Plan plan;
    QList<Frame_Cells> base = table;
    if (replace)
        for (Frame_Cells& r : base)
            r = Frame_Cells(r.size());
    const int last = replace ? 0 : Last_Filled_Row(kind, table);
    plan.first_row = last + 1;
    plan.rows_left = int(table.size()) - last;
    Finish(kind, reduced, plan, base, added, false);
    if (plan.refusal)
        plan.rows = table;
    return plan;
}

int Dbc_File_Source_Address(const Dbc_File& file)
{
    QMap<int, int> count;
    QList<int> order;
    for (const Dbc_Message* m : Dbc_Pickable_Messages(file)) {
        const J1939_Id j =
            Split_J1939_Id(m->id, m->attributes.value(QStringLiteral("VFrameFormat")));
        if (!j.extended)
            continue;
        if (!count.contains(j.source_address))
            order << j.source_address;
        ++count[j.source_address];
    }
    int best = 0xFE, most = 0;
    for (int sa : order)
        if (count.value(sa) > most) {
            most = count.value(sa);
            best = sa;
        }
    return best;
}

QList<const Dbc_Message*> Dbc_Pickable_Messages(const Dbc_File& file)
{
    QList<const Dbc_Message*> out;
    for (const Dbc_Message& m : file.messages)
        if (m.name != QLatin1String("VECTOR__INDEPENDENT_SIG_MSG") && m.id != 0xC0000000u)
            out << &m;
    return out;
}

QString Dbc_Skip_Text(const Dbc_Row& row)
{
    namespace M = Import_Msg;
    switch (row.skip) {
    case Dbc_Skip::None:
        return {};
    case Dbc_Skip::Not_Can:
        return Msg(M::Skip_Not_Can);
    case Dbc_Skip::Standard_Frame:
        return Msg(M::Skip_Standard);
    case Dbc_Skip::Extended_Data_Page:
        return Msg(M::Skip_Data_Page);
    case Dbc_Skip::Too_Large:
        return Msg(M::Skip_Too_Large);
    case Dbc_Skip::No_Data:
        return Msg(M::Skip_No_Data);
    case Dbc_Skip::Duplicate:
        return Msg(M::Skip_Duplicate) + QString::number(row.duplicate_of);
    case Dbc_Skip::No_Room:
        return Msg(M::Skip_No_Room);
    }
    return row.skipped;
}
