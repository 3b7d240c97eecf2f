#pragma once

#include <QDialog>
#include <QStringList>

class Click_Label;
class QCheckBox;
class QLabel;
class QPushButton;
class QTabWidget;

// The software options: language, internet access and version look-up, table behaviour.
class TFSoftOptions final : public QDialog {
    Q_OBJECT

public:
    explicit TFSoftOptions(QWidget* parent = nullptr);

    void Set_Lang();

    void Create_Lang_List();
    void Update_Lang_Page(int Num_Page);
    void Btn_NextClick(QObject* Sender);
    void LangClick(QObject* Sender);
    void Update_CheckBox();
    void Btn_Check_UpdateClick();
    void LL_Check_UpdateLinkClick(const QString& link);
    void Btn_OKClick();

    QStringList SL_Languages;
    int Show_Page = 1;
    QString Language_In_Use;

    // Also the close box and Escape: a language tried here gives way to the one in force.
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormCreate();
    void FormShow();
    void Show_Page_Label(int Num_Page);
    int Slot_Of(QObject* control) const;
    void Refresh_Texts();

    QLabel* L_SW_Code = nullptr;
    QLabel* L_SW_Desc = nullptr;
    QTabWidget* PC_Options = nullptr;
    QWidget* TS_Language = nullptr;
    QWidget* TS_Con_Options = nullptr;
    QWidget* TS_Soft_Settings = nullptr;
    QLabel* L_Sel_Lang = nullptr;
    Click_Label* I_L[6] = {};
    Click_Label* L_L[6] = {};
    QLabel* L_Page_Lang = nullptr;
    QPushButton* Btn_Prev = nullptr;
    QPushButton* Btn_Next = nullptr;
    QCheckBox* CB_En_Con = nullptr;
    QCheckBox* CB_Update = nullptr;
    QPushButton* Btn_Check_Update = nullptr;
    QLabel* LL_Check_Update = nullptr;
    QCheckBox* CB_Soft_Set_Jump_Table = nullptr;
    QCheckBox* CB_DoubleClick_Auto_Size = nullptr;
    QPushButton* Btn_OK = nullptr;
    QPushButton* Btn_Cancel = nullptr;
};
