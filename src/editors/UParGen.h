#pragma once

#include "configurations/ConfigFiles.h"

#include <QDialog>

#include <array>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

// The communication settings editor: ParGen.xml of the active configuration.
class TFParGen final : public QDialog {
    Q_OBJECT

public:
    explicit TFParGen(QWidget* parent = nullptr);

    void Set_Lang();
    void Move_GroupBoxs();
    // Runs the checks on the controls; shows the first failure and returns false.
    bool Controllo_Dati();
    // Opening loads the file first; a file that cannot be read keeps the window closed.
    int exec() override;
    void setVisible(bool visible) override;

protected:
    bool event(QEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    struct Box {
        QGroupBox* group = nullptr;
        QToolButton* collapse = nullptr;
        QToolButton* expand = nullptr;
        bool* expanded = nullptr;
        QList<QWidget*> firstLine; // hidden while collapsed
    };

    void FormCreate();
    void FormShow();
    void FormActivate();
    void Btn_OKClick();
    void Btn_CancelClick();
    void On_Change();
    void On_Click();
    bool KeyPress(QLineEdit* field);
    void Btn_GB_Collapse();
    void Btn_GB_Expande();
    void Collapse_Expand_Creation();
    void Create_Controls();
    void Show_Values(const ParGen_Settings& shown);
    // The controls' values in their stored form.
    ParGen_Settings Values() const;
    Box* Box_Of_Button(QObject* button);
    // Before a save that switches to the device without Ethernet port: which frame rows the
    // shorter tables will not keep. False when the user says No.
    bool Confirm_Reduced_Tables(const ParGen_Settings& values);

    bool m_shownLoaded = false; // exec() has loaded the file for the showing it starts
    bool Is_Change = false;
    bool m_loadedReduced = false; // the stored file was for the device without Ethernet port
    bool GB_Select_Device_Visible = true;
    bool GB_J1939_Visible = true;
    bool GB_DeviceNet_Slave_Visible = true;
    bool GB_Ethernet_Visible = true;

    QLabel* L_SW_Code = nullptr;
    QLabel* L_SW_Desc = nullptr;

    QGroupBox* GB_Select_Device = nullptr;
    QComboBox* CB_Select_Device = nullptr;

    QGroupBox* GB_J1939 = nullptr;
    QLabel* L_J1939_Baud = nullptr;
    QComboBox* CB_Baud_J1939 = nullptr;
    QLabel* L_J1939_SendType = nullptr;
    QComboBox* CB_J1939_SendType = nullptr;
    QLabel* L_J1939_SendTimer = nullptr;
    QLineEdit* E_J1939_SendTimer = nullptr;
    QLabel* L_J1939_TO = nullptr;
    QLineEdit* E_J1939_TO = nullptr;
    QCheckBox* CB_J1939_En_Peer = nullptr;
    QLabel* L_J1939_DevID = nullptr;
    QLineEdit* E_J1939_DevID = nullptr;

    QGroupBox* GB_DeviceNet_Slave = nullptr;
    QLabel* L_DeviceNet_Slave_IDDev = nullptr;
    QLineEdit* E_DeviceNet_Slave_IDDev = nullptr;
    QLabel* L_DeviceNet_Slave_Baud = nullptr;
    QComboBox* CB_DeviceNet_Slave_Baud = nullptr;

    QGroupBox* GB_Ethernet = nullptr;
    QLabel* L_Ethernet_IP = nullptr;
    QLabel* L_Ethernet_SM = nullptr;
    std::array<QLineEdit*, 4> E_Ethernet_IP{};
    std::array<QLineEdit*, 4> E_Ethernet_SM{};
    std::array<QLineEdit*, 4> E_Ethernet_GAT{};
    QCheckBox* CB_Ethernet_EN_GAT = nullptr;

    QPushButton* Btn_OK = nullptr;
    QPushButton* Btn_Cancel = nullptr;

    std::array<Box, 4> m_boxes;
    // The twelve address fields in the order the "." key walks them.
    std::array<QLineEdit*, 12> m_addressChain{};
};
