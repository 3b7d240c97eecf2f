#pragma once

#include "buscheck/BusCheck.h"

#include <QDialog>
#include <QStringList>

#include <functional>
#include <memory>

class Can_Live_Source;
class QComboBox;
class QLabel;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QTableWidget;
class QTimer;
class TFReceive_J1939_Frame;

// The receive table of a configuration held against the bus: a CAN log or a live interface.
class TFBus_Check final : public QDialog {
    Q_OBJECT

public:
    explicit TFBus_Check(QWidget* parent = nullptr);
    ~TFBus_Check() override;

    // Compiles the stored configuration in `confDir` and starts an empty check. `editor`, when
    // given, is the open receive editor that "Add to Table" extends. Throws App_Error.
    void Open_For(const QString& confDir, TFReceive_J1939_Frame* editor);
    void Set_Lang();

    // Runs a whole log through the check. Throws App_Error naming file and line.
    void Load_Log(const QString& path);
    // Opens a live interface; false (with an error box) when it cannot.
    bool Start_Live(const QString& plugin, const QString& interfaceName);
    void Stop_Live();

    // Adds the selected entry of the not-in-table list to the receive editor, one undo step.
    void Btn_Add_RowClick();
    void Refresh();

    const Bus_Check* Check() const { return m_check.get(); }
    const Can_Live_Source* Live() const { return m_live.get(); }
    // Picks the log file; a test replaces it.
    std::function<QString(QWidget*)> Choose_Log;

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void Reset_Check();
    void Fill_Interfaces();
    void Update_Buttons();

    Bus_Check_Setup m_setup;
    std::unique_ptr<Bus_Check> m_check;
    std::unique_ptr<Can_Live_Source> m_live;
    TFReceive_J1939_Frame* m_editor = nullptr;
    QString m_source; // the log file or interface shown in the status line
    QTimer* m_refresh = nullptr;
    bool m_dirty = false;

    QLabel* L_Source = nullptr;
    QPushButton* Btn_Log = nullptr;
    QLabel* L_Plugin = nullptr;
    QComboBox* CB_Plugin = nullptr;
    QLabel* L_Interface = nullptr;
    QComboBox* CB_Interface = nullptr;
    QPushButton* Btn_Start = nullptr;
    QPushButton* Btn_Stop = nullptr;
    QLabel* L_Status = nullptr;
    QLabel* L_Rows = nullptr;
    QTableWidget* sga_Rows = nullptr;
    QLabel* L_Data_Area = nullptr;
    QPlainTextEdit* E_Data_Area = nullptr;
    QLabel* L_Unmatched = nullptr;
    QTableWidget* sga_Unmatched = nullptr;
    QPushButton* Btn_Add_Row = nullptr;
    QLabel* L_Trouble = nullptr;
    QListWidget* LB_Trouble = nullptr;
    QPushButton* Btn_Close = nullptr;
};

// The one bus check window, created at its first use.
TFBus_Check& Bus_Check_Window(QWidget* parent);
