#pragma once

#include <QDialog>

class TFModifyFileSx final : public QDialog {
    Q_OBJECT

public:
    explicit TFModifyFileSx(QWidget* parent = nullptr);

    void Set_Lang();
};
