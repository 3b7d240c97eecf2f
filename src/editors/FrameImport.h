#pragma once

#include "configurations/CsvTable.h"
#include "configurations/DbcFile.h"
#include "editors/FrameTables.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// What an import would do to a frame table as it stands in its editor, before anything
// changes: the windows show it, let the user choose, and then put `rows` in place.

// The CSV columns of a table.
Csv_Layout Frame_Csv_Layout(const Frame_Table_Kind& kind);

// The 1-based last row holding anything a save could lose; 0 for an empty table.
int Last_Filled_Row(const Frame_Table_Kind& kind, const QList<Frame_Cells>& table);

// The rows a save of the table keeps: up to the first blank key cell. What an export writes.
QList<Frame_Cells> Frame_Saved_Rows(const Frame_Table_Kind& kind, const QList<Frame_Cells>& table);

struct Frame_Import_Plan {
    QList<Frame_Cells> rows; // the whole table after the import, as many rows as before
    int first_row = 1;       // 1-based row of the first added row
    int added = 0;
    int rows_left = 0;  // empty rows after the last filled one (all rows when replacing)
    int bytes_used = 0; // of the table after the import, counted as the checks count them
    bool budget = true; // the byte budget applies (not in the reduced table)
    int refusal = 0;    // message number of why it cannot be done; 0: it fits
    Dbc_Mapping mapping;
};

// The ticked messages of a DBC file after the last filled row of `table` (which holds every
// row of the editor). No names: nothing to import. `sa`: the source address of every row.
Frame_Import_Plan Plan_Dbc_Import(const Frame_Table_Kind& kind, const QList<Frame_Cells>& table,
                                  bool reduced, const Dbc_File& file, const QStringList& names,
                                  std::optional<int> sa);

// Rows of a CSV file, replacing the table's rows or after its last filled row. Only rows that do
// not fit are refused: bytes past the budget are left to the checks, as for typed rows.
Frame_Import_Plan Plan_Rows_Import(const Frame_Table_Kind& kind, const QList<Frame_Cells>& table,
                                   bool reduced, const QList<Frame_Cells>& added, bool replace);

// The source address most J1939 messages of the file carry, the first one on a tie; 254 (the
// placeholder) when the file has none.
int Dbc_File_Source_Address(const Dbc_File& file);

// The messages a picker offers: all but the pseudo message of the unattached signals.
QList<const Dbc_Message*> Dbc_Pickable_Messages(const Dbc_File& file);

// A skipped message's reason in the user's language.
QString Dbc_Skip_Text(const Dbc_Row& row);

// Slots of the import texts.
namespace Import_Msg {
inline constexpr int Button = 924, Button_Hint = 925, Dbc_File = 926, Csv_File = 927,
                     Export_Csv = 928, Picker_Caption = 929, Search = 930, All = 931, None = 932,
                     Message = 933, Size = 934, Sender = 935, Signals = 936, Source_Address = 937,
                     Placeholder_Address = 938, Ticked = 939, Left = 940, Too_Many_Rows = 941,
                     Too_Many_Bytes = 942, Nothing_Ticked = 943, Bad_Address = 944, Imported = 945,
                     Skipped = 946, Skip_Not_Can = 947, Skip_Standard = 948, Skip_Data_Page = 949,
                     Skip_Too_Large = 950, Skip_No_Data = 951, Skip_Duplicate = 952,
                     Skip_No_Room = 953, Cannot_Read = 954, Replace_Or_Append = 955, Replace = 956,
                     Append = 957, Unknown_Columns = 958, Rows_Do_Not_Fit = 959;
}
