#pragma once

#include <QDialog>

class TFReceive_J1939_Frame final : public QDialog {
    Q_OBJECT

public:
    explicit TFReceive_J1939_Frame(QWidget* parent = nullptr);

    void Set_Lang();
};
