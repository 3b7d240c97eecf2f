#pragma once

#include "editors/FrameImport.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;

// Chooses the messages of a DBC file that become rows of a frame table, and the source
// address they get; refuses a choice that does not fit the table as it stands.
class Dbc_Picker_Dialog final : public QDialog {
    Q_OBJECT

public:
    // `table`: every row of the editor now; `reduced`: the table without a byte budget.
    Dbc_Picker_Dialog(const Frame_Table_Kind& kind, QList<Frame_Cells> table, bool reduced,
                      const Dbc_File& file, const QString& fileName, QWidget* parent);

    QStringList Ticked() const;
    // None while the field holds no address from 0 to 255.
    std::optional<int> Source_Address() const;
    // What OK would do; computed again at every change of the ticks or the address.
    const Frame_Import_Plan& Plan() const { return m_plan; }

    void Tick_All(bool on); // the shown messages only

private:
    void Filter(const QString& text);
    void Update_Count();

    const Frame_Table_Kind& m_kind;
    QList<Frame_Cells> m_table;
    bool m_reduced;
    const Dbc_File& m_file;
    Frame_Import_Plan m_plan;
    QLineEdit* E_Search = nullptr;
    QTreeWidget* LV_Messages = nullptr;
    QLineEdit* E_Source_Address = nullptr;
    QLabel* L_Address_Warning = nullptr;
    QLabel* L_Count = nullptr;
    QLabel* L_Refusal = nullptr;
    QPushButton* Btn_OK = nullptr;
};
