#pragma once

#include <QDialog>

class TFSoftOptions final : public QDialog {
    Q_OBJECT

public:
    explicit TFSoftOptions(QWidget* parent = nullptr);

    void Set_Lang();
};
