#pragma once

#include "editors/FrameChecks.h"
#include "editors/FrameWarnings.h"
#include "editors/TableHelpers.h"

#include "app/UComon.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>

struct Frame_Column {
    int header; // message number of the title
    Cell_Kind kind;
    int width;          // design width, pixels
    int hint;           // message number of the header hint; 0: none
    bool shown_reduced; // shown in the table of the device without Ethernet port
    unsigned colour;    // background, 0xRRGGBB
};

// The ten data cells of a row, column 1 first, as the table holds them.
using Frame_Cells = QStringList;

// Everything that differs between the receive and the transmit table.
struct Frame_Table_Kind {
    // Caption message; the window's other texts follow it at fixed offsets (Frame_Msg).
    int msg;
    QString file_name;
    QString Shared_State::*file_path; // the active configuration's file of this table
    std::array<Frame_Column, 11> columns;
    int mnemonic_width_reduced;
    QStringList pick_items; // the fixed entries of the Data Page list
    int client_width;
    int key_column; // a blank key cell ends the stored list

    QList<Frame_Cells> (*read)(const QString& path);
    void (*write)(const QString& path, const QList<Frame_Cells>& rows);
    std::optional<Frame_Check_Failure> (*check)(const QList<Frame_Cells>& rows, bool reduced);
    QList<Frame_Check_Failure> (*all_checks)(const QList<Frame_Cells>& rows, bool reduced);
    QList<Frame_Warning> (*warnings)(const QList<Frame_Cells>& rows, const Frame_Context& context,
                                     bool reduced);
    int (*bytes_used)(const QList<Frame_Cells>& rows);
};

// Offsets of the texts of a frame window from its caption message.
namespace Frame_Msg {
inline constexpr int Caption = 0, Description = 1, Buttons = 2, Button_Hints = 8, Headers = 14,
                     Hints = 25, Error_In_Row = 35, Confirm_Delete = 43, Rows_Not_Saved = 44;
}

// Questions both frame windows share.
namespace Frame_Shared_Msg {
inline constexpr int Save_Without_Them = 645, Insert_Drops_Row = 646, Insert_Drops_Row_End = 647,
                     File_Holds = 648, Table_Keeps = 649, Others_Not_Saved = 650;
}

extern const Frame_Table_Kind Receive_Table;
extern const Frame_Table_Kind Send_Table;

inline constexpr int Frame_Client_Height = 337;
inline constexpr int Mnemonic_Column = 10;

// Row count with the header row: 16 data rows for the device without Ethernet port, else 56.
int Frame_Row_Count(bool reduced);

// Header hints of the shown data columns, in column order (the window's `Hint` list).
QList<int> Frame_Hint_Messages(const Frame_Table_Kind& kind, bool reduced);

// The table rows an editor shows after opening: the file's rows up to the table's capacity.
// The layout comes from the device type rule on `parGenPath`. Throws App_Error for a file that
// is not well-formed.
struct Frame_Table_Content {
    bool reduced = false;
    QList<Frame_Cells> rows;
    int file_rows = 0; // rows in the file, also those beyond the table
};
Frame_Table_Content Load_Frame_Table(const Frame_Table_Kind& kind, const QString& parGenPath,
                                     const QString& path);

// A row holds something a save could lose: a text that is not blank, or a ticked box.
bool Frame_Row_Filled(const Frame_Table_Kind& kind, const Frame_Cells& row);

// The filled rows (1-based) from the first row with a blank key cell on: a save leaves them out.
QList<int> Frame_Rows_Not_Saved(const Frame_Table_Kind& kind, const QList<Frame_Cells>& rows);

// Row numbers for a message, runs joined: "2-4, 7".
QString Row_Numbers_Text(const QList<int>& rows);

// Equal tables for the user: a check box never touched (empty) and one unticked ("N") both
// mean not set.
bool Same_Frame_Rows(const Frame_Table_Kind& kind, const QList<Frame_Cells>& a,
                     const QList<Frame_Cells>& b);

// How many rows of a stored frame file a table of the given layout cannot hold. A file that
// cannot be read counts none: its editor reports it when it opens.
int Stored_Rows_Beyond(const Frame_Table_Kind& kind, const QString& path, bool reduced);

// Runs the editor's checks on its stored file as the editor would after opening it.
// Empty when they pass, else the text of the error box.
QString Check_Frame_File(const Frame_Table_Kind& kind, const QString& parGenPath,
                         const QString& path);

// Every failing row of a stored file, each as the error box would show it, in row order.
QStringList Check_Frame_File_All(const Frame_Table_Kind& kind, const QString& parGenPath,
                                 const QString& path);

// The advice on a stored file, each as "row <N>: <text>", in row order.
QStringList Frame_File_Warnings(const Frame_Table_Kind& kind, const QString& parGenPath,
                                const QString& path);
