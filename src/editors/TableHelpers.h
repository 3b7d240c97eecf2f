#pragma once

#include <QString>

#include <functional>

// How a table column is edited. Only the check-box kind matters to the routines below.
enum class Cell_Kind { Row_Number, Text, Pick_List, Check_Box };

// What the row and cell routines need of a table. Row 0 is the header row, column 0 holds the
// row numbers; data rows are 1..Row_Count()-1, data columns 1..Data_Column_Count().
class Table_Access {
public:
    virtual ~Table_Access() = default;

    virtual int Row_Count() const = 0; // header row included
    virtual int Data_Column_Count() const = 0;
    virtual QString Cell(int col, int row) const = 0;
    virtual void Set_Cell(int col, int row, const QString& text) = 0;
    virtual bool Is_Check_Box_Column(int col) const = 0;

    // The current cell. Columns here count shown columns only (0 = the row-number column),
    // so that moving right never lands on a hidden one.
    virtual int Current_Column() const = 0;
    virtual int Current_Row() const = 0;
    virtual void Set_Current(int shownCol, int row) = 0;
    virtual int Shown_Column_Count() const = 0; // row-number column included

    virtual void Fit_Column(int col) = 0;
};

// How the paste routine talks to the user.
struct Table_Prompts {
    std::function<void(const QString&)> error;
    std::function<bool(const QString&)> confirm; // true only for Yes
};

// Row routines act on all data columns, hidden ones included, so a row travels whole.
void Delete_Row(Table_Access& table, int row);
void Insert_Row(Table_Access& table, int row);
void Copy_Row(const Table_Access& table, int row);
void Paste_Row(Table_Access& table, int row, bool copied, const Table_Prompts& prompts);

// Character 13 with the jump option on moves to the next shown cell. Returns true when the
// key is consumed and must not reach the table.
bool Enter_Key_Next_Cell(Table_Access& table, QChar key);

// A double click on the header row fits the column, when the option is on.
void Auto_Size_Column(Table_Access& table, int row, int col);
