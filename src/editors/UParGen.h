#pragma once

#include <QDialog>

class TFParGen final : public QDialog {
    Q_OBJECT

public:
    explicit TFParGen(QWidget* parent = nullptr);

    void Set_Lang();
};
