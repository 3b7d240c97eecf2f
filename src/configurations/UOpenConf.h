#pragma once

#include <QDialog>
#include <QStringList>

class QLabel;
class QListWidget;
class QPushButton;

// Lists the configuration folders and lets the user choose one; the caller activates it.
class TFOpenConf final : public QDialog {
    Q_OBJECT

public:
    explicit TFOpenConf(QWidget* parent = nullptr);

    void Set_Lang();
    void Load_Existing_Configuration();
    int Search_Open_Conf(const QString& name) const;

    QStringList SL;
    QString Name_Conf; // kept between showings

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormShow();

    QLabel* L_SW_Code = nullptr;
    QLabel* L_SW_Desc = nullptr;
    QLabel* Label1 = nullptr;
    QListWidget* ListBox1 = nullptr;
    QPushButton* Btn_OK = nullptr;
    QPushButton* Btn_Cancel = nullptr;
};
