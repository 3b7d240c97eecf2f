#pragma once

#include <QDialog>

class TFTransmit_J1939_Frame final : public QDialog {
    Q_OBJECT

public:
    explicit TFTransmit_J1939_Frame(QWidget* parent = nullptr);

    void Set_Lang();
};
