#pragma once

#include <QDialog>
#include <QString>

#include <array>

class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QProgressBar;
class QPushButton;
class QShowEvent;

// "Generate Firmware": merges the configuration images into the firmware and hands the result
// to the serial flash tool. Fixed English texts; it does not follow the language.
class TFModifyFileSx final : public QDialog {
    Q_OBJECT

public:
    explicit TFModifyFileSx(QWidget* parent = nullptr);

    void Set_Lang();

    void FormShow();
    void LbButton1Click();
    void LbButton2Click();
    // True only when this press wrote the result file.
    bool ExeModFileSxClick();
    void ExeUpdateFirClick();

    // Kept from one opening to the next; folders end with '/'.
    QString NomeFileSx;
    QString NomeDirSxNew;
    QString NomeFileSxNew;
    QString NomeDirBin;

protected:
    void showEvent(QShowEvent* event) override;

private:
    // Marks the ports of this computer and preselects the one to use.
    void Show_Ports();

    QFrame* Shape1 = nullptr;
    QComboBox* cbport = nullptr;
    QProgressBar* Avanzamento = nullptr;
    QPushButton* LbButton1 = nullptr;
    QPushButton* LbButton2 = nullptr;
    QGroupBox* GbBank = nullptr;
    std::array<QCheckBox*, 5> Cbbank{};
};
