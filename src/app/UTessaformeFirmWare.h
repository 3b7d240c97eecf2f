#pragma once

#include <QWidget>

class QAction;
class QFrame;
class QLabel;
class QAction;
class QMenu;
class QPushButton;
class QTimer;
class QToolButton;
class Click_Label;
class TFCompareConf;

// The main window: the workflow steps. Its creation runs the start-up sequence of the program.
class TFTessaformeFirmWare final : public QWidget {
    Q_OBJECT

public:
    // `programDir` is the program folder: the executable's folder, or a test's folder.
    explicit TFTessaformeFirmWare(const QString& programDir, QWidget* parent = nullptr);

    void Btn_Click(QPushButton* button);
    void Set_Lang();
    void Change_Language();
    void Set_Files();
    void Save_Setting();
    void Create_New_Project();
    void Open_Project();
    void Update_Device();
    bool Old_Hardware() const;
    void L_ZorvekClick();
    void LL_UpdateLinkClick(const QString& link);
    // Looks for a newer version and shows or hides LL_Update.
    void Timer_UpdateTimer();
    // Functions beyond the five steps: each adds its entry here and sets its text in Set_Lang.
    QMenu* Tools_Menu() const { return Tools; }

    QTimer* Timer_Update = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Create_Controls();
    void Create_Shortcuts();
    QPushButton* New_Button(const char* name, const char* picture);
    QLabel* New_Label(const char* name);
    void FormCreate(const QString& programDir);
    void FormClose();
    void Layout_Controls();
    void Set_Timer_Enabled(bool on);
    void Show_Configuration_Labels(bool active);

    QLabel* L_SW_Code = nullptr;
    QLabel* L_SW_Desc = nullptr;
    QFrame* Shape2 = nullptr;
    QLabel* L_Name_Conf = nullptr;
    QLabel* L_Name_Conf_L2 = nullptr;
    QLabel* L_Begin = nullptr;
    QLabel* L_Step[8] = {}; // L_Step_1 .. L_Step_8
    QPushButton* Btn_New = nullptr;
    QPushButton* Btn_Open = nullptr;
    QPushButton* Btn_Prm_Gen = nullptr;
    QPushButton* Btn_J1939_Rec_Frame = nullptr;
    QPushButton* Btn_J1939_Send_Frame = nullptr;
    QPushButton* Btn_CreateBin = nullptr;
    QFrame* Shape1 = nullptr;
    Click_Label* L_Zorvek = nullptr;
    QLabel* LL_Update = nullptr;
    QPushButton* Btn_Info = nullptr;
    QPushButton* Btn_Opz = nullptr;
    QPushButton* Btn_Close = nullptr;
    QToolButton* Btn_Tools = nullptr;
    QMenu* Tools = nullptr;
    QAction* Act_Compare = nullptr;
    TFCompareConf* FCompareConf = nullptr; // made on first use
    QAction* A_Bus_Check = nullptr;
    QAction* Act_Report_Pdf = nullptr;
    QAction* Act_Report_Print = nullptr;
};
