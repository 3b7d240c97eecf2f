#pragma once

#include <QDialog>

class TFBoot final : public QDialog {
    Q_OBJECT

public:
    explicit TFBoot(QWidget* parent = nullptr);

    void Set_Lang();

    int Form_Type = 0;
};
