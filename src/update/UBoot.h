#pragma once

#include <QDialog>

#include <array>
#include <functional>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
struct Update_Request;

// The update window for the device with Ethernet port: checks that the device answers,
// writes the update tool's parameter file and runs the tool.
class TFBoot final : public QDialog {
    Q_OBJECT

public:
    explicit TFBoot(QWidget* parent = nullptr);

    void Set_Lang();

    int Form_Type = 0;

    // The reachability check against the address in the boxes; sets ping_res.
    bool Send_Ping();
    void Btn_UpdateClick();

    // 0 no reply event yet, 1 the device answered, 2 a reply without data.
    int ping_res = 0;

    // How long an update waits for the tool.
    int Tool_Wait_Limit = 150000;

    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormShow();
    bool KeyPress(int box, const QString& key);
    std::array<QString, 4> IP_Texts() const;
    void Show_Status(const QString& text);
    void Run_Update_Tool(const Update_Request& request);

    QWidget* P_Title = nullptr;
    QWidget* P_IP_Address = nullptr;
    QWidget* P_Options = nullptr;
    QWidget* P_Button = nullptr;
    QLabel* L_SW_Code = nullptr;
    QLabel* L_SW_Desc = nullptr;
    QLabel* L_IP_Address = nullptr;
    std::array<QLineEdit*, 4> E_IP{};
    QLabel* L_Update_Option = nullptr;
    QComboBox* CB_Update_Options = nullptr;
    QCheckBox* CB_Update_Option_Read_Back = nullptr;
    QPushButton* Btn_Cancel = nullptr;
    QPushButton* Btn_Update = nullptr;
    QLabel* L_Update_Status = nullptr;

    // The check or the wait for the tool runs; user input is discarded meanwhile.
    bool m_busy = false;
    // Set while a tool this window started outlives its wait: whether it still runs.
    std::function<bool()> m_toolRunning;
};
