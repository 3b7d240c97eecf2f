#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

// Asks for the name of a new configuration, creates its folder and makes it active.
class TFNew_Project final : public QDialog {
    Q_OBJECT

public:
    explicit TFNew_Project(QWidget* parent = nullptr);

    void Set_Lang();
    void Btn_OKClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormShow();

    QLabel* L_SW_Code = nullptr;
    QLabel* L_SW_Desc = nullptr;
    QLabel* Label1 = nullptr;
    QLineEdit* E_New_Proj = nullptr;
    QPushButton* Btn_OK = nullptr;
    QPushButton* Btn_Cancel = nullptr;
};
