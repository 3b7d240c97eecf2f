#pragma once

#include <QDialog>

class QLabel;
class QPushButton;
class Click_Label;

// What the program is; fixed English texts that do not follow the language.
class TFAbout final : public QDialog {
    Q_OBJECT

public:
    explicit TFAbout(QWidget* parent = nullptr);

    void Set_Lang();
    void Label4Click();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormShow();

    Click_Label* Image2 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label6 = nullptr;
    QLabel* Label9 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label10 = nullptr;
    QLabel* Label8 = nullptr;
    QLabel* Label12 = nullptr;
    Click_Label* Label4 = nullptr;
    QPushButton* LbButton1 = nullptr;
};
