#pragma once

#include <QDialog>

class TFAbout final : public QDialog {
    Q_OBJECT

public:
    explicit TFAbout(QWidget* parent = nullptr);

    void Set_Lang();
};
