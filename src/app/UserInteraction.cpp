#include "app/UserInteraction.h"

#include "app/UComon.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QMessageBox>
#include <QUrl>

namespace {

QWidget* Box_Parent()
{
    if (QWidget* w = QApplication::activeModalWidget())
        return w;
    return QApplication::activeWindow();
}

QString Box_Title()
{
    return Shared.Title_Program.isEmpty() ? SW_Code_Text : Shared.Title_Program.trimmed();
}

class Qt_User_Interaction final : public User_Interaction {
public:
    void Error_Box(const QString& text) override
    {
        QMessageBox::critical(Box_Parent(), Box_Title(), text, QMessageBox::Ok);
    }
    void Warning_Box(const QString& text) override
    {
        QMessageBox::warning(Box_Parent(), Box_Title(), text, QMessageBox::Ok);
    }
    void Info_Box(const QString& text) override
    {
        QMessageBox::information(Box_Parent(), Box_Title(), text, QMessageBox::Ok);
    }
    bool Confirm_Box(const QString& text) override
    {
        return QMessageBox::question(Box_Parent(), Box_Title(), text,
                                     QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
            == QMessageBox::Yes;
    }
    int Show_Modal(QDialog* dialog) override { return dialog->exec(); }
    void Open_Url(const QString& url) override { QDesktopServices::openUrl(QUrl(url)); }
};

Qt_User_Interaction Qt_Ui;
User_Interaction* Current = nullptr;

} // namespace

User_Interaction& Ui()
{
    return Current ? *Current : Qt_Ui;
}

void Set_Ui(User_Interaction* ui)
{
    Current = ui;
}

void Report_Error(const std::exception& e)
{
    Ui().Error_Box(Error_Text(e));
}

bool Guarded(const std::function<void()>& handler)
{
    try {
        handler();
        return true;
    } catch (const std::exception& e) {
        Report_Error(e);
    } catch (...) {
        Ui().Error_Box(QStringLiteral("Unexpected error"));
    }
    return false;
}
