#pragma once

#include <QDialog>

class TFNew_Project final : public QDialog {
    Q_OBJECT

public:
    explicit TFNew_Project(QWidget* parent = nullptr);

    void Set_Lang();
};
