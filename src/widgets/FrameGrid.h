#pragma once

#include "editors/TableHelpers.h"

#include <QAbstractTableModel>
#include <QColor>
#include <QHash>
#include <QList>
#include <QStringList>
#include <QStyledItemDelegate>
#include <QTableView>

#include <functional>

// What the live checks say of one cell: an error outranks a warning in colour and icon; the
// tooltip carries every text.
enum class Cell_Mark { None, Warning, Error };
struct Cell_Note {
    Cell_Mark mark = Cell_Mark::None;
    QString tip;
    bool operator==(const Cell_Note&) const = default;
};
// Key of a data cell: table column and table row.
inline quint32 Cell_Key(int col, int row)
{
    return quint32(row) << 8 | quint32(col);
}

// Rows of texts. Table row 0 is the header (the horizontal header of the view); table row r > 0
// is model row r - 1. Column 0 holds the row numbers, shown as the vertical header. Check-box cells
// keep the text the file stores: "Y" shows ticked, a click writes "Y" or "N", untouched stays
// empty.
class Frame_Grid_Model final : public QAbstractTableModel {
    Q_OBJECT

public:
    using QAbstractTableModel::QAbstractTableModel;

    // Sets the table size (header row included) and empties every cell but the titles.
    void Reset(int tableRows, int columns);

    QString Cell(int col, int row) const;
    void Set_Cell(int col, int row, const QString& text);

    void Set_Kind(int col, Cell_Kind kind);
    Cell_Kind Kind(int col) const { return m_kinds.value(col, Cell_Kind::Text); }
    void Set_Colour(int col, const QColor& colour);
    void Set_Hidden(int col, bool hidden);
    bool Is_Hidden(int col) const { return m_hidden.value(col, false); }
    // Header hints, one per shown data column in column order.
    void Set_Hints(const QStringList& hints);
    // 1-based position of a data column among the shown data columns; 0 for column 0.
    int Shown_Data_Position(int col) const;
    // Replaces every cell's note; repaints only the cells whose note changed.
    void Set_Notes(const QHash<quint32, Cell_Note>& notes);
    Cell_Note Note(int col, int row) const { return m_notes.value(Cell_Key(col, row)); }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

Q_SIGNALS:
    // The text of a data cell changed (an edit, a tick, a row routine, a load).
    void Cell_Changed(int col, int row);

private:
    QHash<quint32, Cell_Note> m_notes;
    QStringList m_headers;
    QList<QStringList> m_rows;
    QList<Cell_Kind> m_kinds;
    QList<QColor> m_colours;
    QList<bool> m_hidden;
    QStringList m_hints;
};

// Editing per column kind: a line edit, a fixed drop-down list, or a centred check box that a
// click or the space bar toggles.
class Frame_Grid_Delegate final : public QStyledItemDelegate {
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QStringList pick_items;
    // Sees every key typed in an open cell editor; true consumes the key.
    std::function<bool(QChar)> on_key;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

protected:
    bool editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                     const QModelIndex& index) override;
    bool eventFilter(QObject* object, QEvent* event) override;
};

// The editable grid of the frame tables.
class Frame_Grid final : public QTableView, public Table_Access {
    Q_OBJECT

public:
    explicit Frame_Grid(QWidget* parent = nullptr);

    Frame_Grid_Model* Model() const { return m_model; }

    void Reset(int tableRows, int columns) { m_model->Reset(tableRows, columns); }
    void Set_Column(int col, Cell_Kind kind, const QColor& colour);
    // Column 0 is the fixed row-number column.
    void Set_Column_Width(int col, int width);
    int Column_Width(int col) const;
    void Set_Column_Hidden(int col, bool hidden);
    void Set_Pick_Items(const QStringList& items) { m_delegate->pick_items = items; }
    void Set_Hints(const QStringList& hints) { m_model->Set_Hints(hints); }

    // Sees every key typed in the grid or in a cell editor; true consumes it.
    std::function<bool(QChar)> On_Key_Press;
    // Sees each key press on the grid itself (not in a cell editor) first; true consumes it.
    std::function<bool(const QKeyEvent*)> On_Grid_Key;

    // Table rows with a selected cell, in order; the current row when none is selected.
    QList<int> Selected_Rows() const;

    int Row_Count() const override;
    int Data_Column_Count() const override;
    QString Cell(int col, int row) const override { return m_model->Cell(col, row); }
    void Set_Cell(int col, int row, const QString& text) override;
    bool Is_Check_Box_Column(int col) const override;
    int Current_Column() const override;
    int Current_Row() const override;
    void Set_Current(int shownCol, int row) override;
    int Shown_Column_Count() const override;
    void Fit_Column(int col) override;

    // Ends an open cell editor, keeping what was typed.
    void Commit_Edit();

    // The model index of a table cell; invalid for the header row.
    QModelIndex Index_Of(int col, int row) const;

Q_SIGNALS:
    // A double click on a cell; row 0 is the header row.
    void Cell_Double_Clicked(int row, int col);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* object, QEvent* event) override;

private:
    bool Handle_Key(QChar key);
    bool Is_Shown(int col) const;

    Frame_Grid_Model* m_model;
    Frame_Grid_Delegate* m_delegate;
};

// The character a key press carries, with Enter and Return as character 13.
QChar Key_Char(const QKeyEvent* event);
