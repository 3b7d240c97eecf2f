#pragma once

#include "editors/FrameTables.h"

#include <QDialog>
#include <QStringList>

#include <array>

class Frame_Grid;
class QLabel;
class QPushButton;
class QAction;
class QKeyEvent;
class QScrollArea;
class QUndoStack;

// The window both frame tables share: the same controls, life cycle and table comfort; the
// kind of table brings columns, texts, file and checks.
class Frame_Editor : public QDialog {
    Q_OBJECT

public:
    Frame_Editor(const Frame_Table_Kind& kind, QWidget* parent);

    void Set_Lang();
    // Chooses the layout, loads the file, forgets the copy state. Throws App_Error when a file
    // cannot be read.
    void FormShow();
    bool Controllo_dati();

    void Btn_OKClick();
    void Btn_CancelClick();
    void Btn_DelRowClick();
    void Btn_InsRowClick();
    void Btn_CopyRowClick();
    void Btn_PasteRowClick();
    bool sgaKeyPress(QChar key);
    void sgaDblClickCell(int row, int col);

    // The table's data rows as they stand, hidden columns included.
    QList<Frame_Cells> Rows() const;
    Frame_Cells Row(int row) const; // table row, 1 = first data row
    // The table differs from what the opening loaded.
    bool Is_Changed() const;

    // Cancel, Escape and the close box: asks before edits are dropped.
    void reject() override;

    // The live checks of the table as it stands: every failing row with its first failing
    // check, the J1939 advice, the byte budget. Kept up to date with every committed cell.
    const QList<Frame_Check_Failure>& Live_Failures() const { return m_failures; }
    const QList<Frame_Warning>& Live_Warnings() const { return m_warnings; }
    int Bytes_Used() const { return m_bytesUsed; }
    QUndoStack* Undo_Stack() const { return m_undo; }
    // Spreadsheet comfort on the grid: Ctrl+C copies the selected rows (also as tab-separated
    // text), Ctrl+V pastes them (tab-separated text from elsewhere into the shown columns),
    // Ctrl+Insert and Ctrl+Delete insert and delete a row, Delete clears the selected text cells.
    bool Grid_Key(const QKeyEvent* event);
    void Copy_Rows();
    void Paste_Rows();
    void Clear_Selected_Cells();

    void Btn_UndoClick();
    void Btn_RedoClick();

    // Rows from files technicians already have, each import one undoable edit after the last
    // filled row (a CSV file may also replace the rows); the export writes the table as it
    // stands, also what is not saved yet.
    void Import_Dbc();
    void Import_Csv();
    void Export_Csv();

    // Selects the cell a list entry names ("col:row"), as a click on the entry does.
    void Select_Cell(int col, int row);

    bool Old_Hardware = false;
    bool Do_Copy = false;
    QStringList Hint; // header hints of the shown data columns

    Frame_Grid* sga = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void Apply_Layout();
    // Wide enough for every shown column, up to a 1366 pixel screen; past that the columns
    // share the width.
    QSize Opening_Size();
    void Update_Checks();
    void Update_Title();
    // Each list as high as its lines, at most three; past that it scrolls.
    void Fit_Lists();
    void Cell_Changed();
    // Puts a change since the last one on the undo stack.
    void Record_Change();
    void Set_Rows(const QList<Frame_Cells>& rows);
    void Set_Column_Width(int col, int width);
    // A file name from a file dialog shown through the user interaction; empty when cancelled.
    QString Choose_File(bool save, int title, const QString& filter, const char* name);
    // Puts the rows of an import in place as one edit and shows them.
    void Apply_Import(const QList<Frame_Cells>& rows, int firstRow);
    // The questions before a save that leaves rows out; false when the user says No.
    bool Confirm_Rows_Left_Out(const QList<Frame_Cells>& rows);

    const Frame_Table_Kind& m_kind;
    QList<Frame_Cells> m_loaded; // the rows as the opening filled them
    int m_fileRows = 0;          // rows the file held, also those the table could not take
    QLabel* L_SW_Code = nullptr;
    QLabel* L_SW_Desc = nullptr;
    std::array<QPushButton*, 6> m_buttons{};
    QLabel* L_Errors = nullptr;
    QLabel* L_Warnings = nullptr;
    QScrollArea* m_errorArea = nullptr;
    QScrollArea* m_warningArea = nullptr;
    QLabel* L_Bytes = nullptr;
    QLabel* L_Rows = nullptr;
    Frame_Context m_context;
    QList<Frame_Check_Failure> m_failures;
    QList<Frame_Warning> m_warnings;
    int m_bytesUsed = 0;
    // Row routines and loads change many cells; the checks run once they are done.
    int m_batch = 0;
    QUndoStack* m_undo = nullptr;
    QList<Frame_Cells> m_recorded; // the table as the undo stack last saw it
    bool m_applying = false;
    QSize m_openedSize;
    QString m_clipText; // what Copy_Rows last put on the clipboard
    int m_clipRows = 0; // the size the opening gave; another one is the user's       // an undo or
                        // redo puts rows back: no new command
    QPushButton* Btn_Undo = nullptr;
    QPushButton* Btn_Redo = nullptr;
    QPushButton* Btn_Import = nullptr;
    std::array<QAction*, 3> m_importActions{}; // DBC file, CSV file, CSV export
    QList<QAction*> m_menuActions; // of the table's context menu: undo, redo, the row buttons
    friend struct Frame_Batch;
};
