#pragma once

#include <QDialog>
#include <QStringList>

#include <functional>

class QAction;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

// Lists the configuration folders and lets the user choose one; the caller activates it.
// Duplicating, renaming and deleting a configuration happen here at once, on the folders.
class TFOpenConf final : public QDialog {
    Q_OBJECT

public:
    explicit TFOpenConf(QWidget* parent = nullptr);

    void Set_Lang();
    void Load_Existing_Configuration();
    int Search_Open_Conf(const QString& name) const;

    QStringList SL;
    QString Name_Conf; // kept between showings

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormShow();
    // Rebuilds the list from the folders and selects `select` (else the active configuration,
    // else the first).
    void Refresh_List(const QString& select);
    void Apply_Filter();
    void Update_Buttons();
    void Show_Projects_Folder();
    QString Selected_Name() const;
    // Asks for a name until `act` takes it (returns 0) or the user cancels; each refusal is
    // shown. Returns the name taken, or an empty text.
    QString Ask_Name(int title, int prompt, const QString& current,
                     const std::function<int(const QString&)>& act);
    void Btn_DuplicateClick();
    void Btn_RenameClick();
    void Btn_DeleteClick();

    QLabel* L_SW_Code = nullptr;
    QLabel* L_SW_Desc = nullptr;
    QLabel* Label1 = nullptr;
    QLineEdit* E_Filter = nullptr;
    QListWidget* ListBox1 = nullptr;
    QPushButton* Btn_Duplicate = nullptr;
    QPushButton* Btn_Rename = nullptr;
    QPushButton* Btn_Delete = nullptr;
    QLabel* L_Projects_Dir = nullptr;
    QPushButton* Btn_OK = nullptr;
    QPushButton* Btn_Cancel = nullptr;
    QAction* Act_Open = nullptr;
    QAction* Act_Duplicate = nullptr;
    QAction* Act_Rename = nullptr;
    QAction* Act_Delete = nullptr;
};
