#pragma once

#include <QWidget>

class QLabel;
class QTimer;

// The main window. Its creation runs the start-up sequence of the program.
class TFTessaformeFirmWare final : public QWidget {
    Q_OBJECT

public:
    // `programDir` is the program folder: the executable's folder, or a test's folder.
    explicit TFTessaformeFirmWare(const QString& programDir, QWidget* parent = nullptr);

    void Set_Lang();
    void Change_Language();
    void Set_Files();
    void Save_Setting();

    QTimer* Timer_Update = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void FormCreate(const QString& programDir);
    void FormClose();
    void Layout_Controls();
    void Set_Timer_Enabled(bool on);

    QLabel* L_SW_Code = nullptr;
    QLabel* L_SW_Desc = nullptr;
    QLabel* L_Name_Conf = nullptr;
    QLabel* L_Name_Conf_L2 = nullptr;
};
