#pragma once

#include <QDialog>

class TFOpenConf final : public QDialog {
    Q_OBJECT

public:
    explicit TFOpenConf(QWidget* parent = nullptr);

    void Set_Lang();
};
