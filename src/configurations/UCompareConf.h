#pragma once

#include <QDialog>

class QComboBox;
class QLabel;
class QPushButton;
class QTableWidget;

// Lists the differences between two configurations of PROJECTS, by stored value.
class TFCompareConf final : public QDialog {
    Q_OBJECT

public:
    explicit TFCompareConf(QWidget* parent = nullptr);

    void Set_Lang();
    // Fills both lists from PROJECTS: A on the active configuration when there is one, B on the
    // first other one; then compares.
    void FormShow();
    void Compare();

protected:
    void showEvent(QShowEvent* event) override;

private:
    QLabel* L_SW_Code = nullptr;
    QLabel* L_SW_Desc = nullptr;
    QLabel* L_Conf_A = nullptr;
    QLabel* L_Conf_B = nullptr;
    QComboBox* CB_Conf_A = nullptr;
    QComboBox* CB_Conf_B = nullptr;
    QTableWidget* G_Differences = nullptr;
    QLabel* L_Result = nullptr;
    QPushButton* Btn_Close = nullptr;
};
