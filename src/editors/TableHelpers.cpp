#include "editors/TableHelpers.h"

#include "app/UComon.h"
#include "language/ULanguage.h"

namespace {

void Copy_Data_Cells(Table_Access& table, int from, int to)
{
    for (int c = 1; c <= table.Data_Column_Count(); ++c)
        table.Set_Cell(c, to, table.Cell(c, from));
}

void Empty_Data_Cells(Table_Access& table, int row)
{
    for (int c = 1; c <= table.Data_Column_Count(); ++c)
        table.Set_Cell(c, row, QString());
}

} // namespace

void Delete_Row(Table_Access& table, int row)
{
    const int last = table.Row_Count() - 1;
    for (int r = row; r < last; ++r)
        Copy_Data_Cells(table, r + 1, r);
    Empty_Data_Cells(table, last);
}

void Insert_Row(Table_Access& table, int row)
{
    for (int r = table.Row_Count() - 2; r >= row; --r)
        Copy_Data_Cells(table, r, r + 1);
    Empty_Data_Cells(table, row);
}

void Copy_Row(const Table_Access& table, int row)
{
    Shared.Copy_Row_Buffer.clear();
    for (int c = 1; c <= table.Data_Column_Count(); ++c)
        Shared.Copy_Row_Buffer.append(table.Cell(c, row));
}

void Paste_Row(Table_Access& table, int row, bool copied, const Table_Prompts& prompts)
{
    if (!copied) {
        prompts.error(Msg(902));
        return;
    }
    const int n = table.Data_Column_Count();
    if (Shared.Copy_Row_Buffer.size() != n) {
        prompts.error(Msg(901));
        return;
    }
    // Check boxes hold "N" once touched, so they say nothing about the row being in use.
    bool used = false;
    for (int c = 1; c <= n && !used; ++c)
        used = !table.Is_Check_Box_Column(c) && !table.Cell(c, row).trimmed().isEmpty();
    if (used && !prompts.confirm(Msg(900)))
        return;
    for (int c = 1; c <= n; ++c)
        table.Set_Cell(c, row, Shared.Copy_Row_Buffer.at(c - 1));
}

bool Enter_Key_Next_Cell(Table_Access& table, QChar key)
{
    if (!Shared.Enable_Jump_Field_Tables || key != QChar(13))
        return false;
    const int col = table.Current_Column();
    const int row = table.Current_Row();
    if (col > 0 && row > 0) {
        if (col < table.Shown_Column_Count() - 1)
            table.Set_Current(col + 1, row);
        else
            table.Set_Current(1, row == table.Row_Count() - 1 ? 1 : row + 1);
    }
    return true;
}

void Auto_Size_Column(Table_Access& table, int row, int col)
{
    if (Shared.Double_Click_Auto_Size && row == 0)
        table.Fit_Column(col);
}
