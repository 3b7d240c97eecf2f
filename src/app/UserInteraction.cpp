#include "app/UserInteraction.h"

#include "app/UComon.h"
#include "language/ULanguage.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QMessageBox>
#include <QPushButton>
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

int Run_Box(QMessageBox::Icon icon, const QString& text, QMessageBox::StandardButtons buttons,
            QMessageBox::StandardButton defaultButton)
{
    QMessageBox box(icon, Box_Title(), text, buttons, Box_Parent());
    Set_Box_Button_Texts(box);
    box.setDefaultButton(defaultButton);
    return box.exec();
}

class Qt_User_Interaction final : public User_Interaction {
public:
    void Error_Box(const QString& text) override
    {
        Run_Box(QMessageBox::Critical, text, QMessageBox::Ok, QMessageBox::Ok);
    }
    void Warning_Box(const QString& text) override
    {
        Run_Box(QMessageBox::Warning, text, QMessageBox::Ok, QMessageBox::Ok);
    }
    void Info_Box(const QString& text) override
    {
        Run_Box(QMessageBox::Information, text, QMessageBox::Ok, QMessageBox::Ok);
    }
    bool Confirm_Box(const QString& text) override
    {
        return Run_Box(QMessageBox::Question, text, QMessageBox::Yes | QMessageBox::No,
                       QMessageBox::No)
            == QMessageBox::Yes;
    }
    int Show_Modal(QDialog* dialog) override { return dialog->exec(); }
    void Open_Url(const QString& url) override { QDesktopServices::openUrl(QUrl(url)); }
};

Qt_User_Interaction Qt_Ui;
User_Interaction* Current = nullptr;

} // namespace

void Set_Box_Button_Texts(QMessageBox& box)
{
    // Only the texts change: the buttons keep their roles, so Enter and Escape still choose
    // the default and the No or Cancel button.
    QString yes = Msg(Msg_Box_Yes);
    QString no = Msg(Msg_Box_Yes + 1);
    // Alt and the first letter answer a question, as Qt's own texts allowed, unless a
    // translation marks its letters itself or both words begin alike.
    if (!yes.contains(QLatin1Char('&')) && !no.contains(QLatin1Char('&')) && !yes.isEmpty()
        && !no.isEmpty() && yes.front().toCaseFolded() != no.front().toCaseFolded()) {
        yes.prepend(QLatin1Char('&'));
        no.prepend(QLatin1Char('&'));
    }
    const struct {
        QMessageBox::StandardButton button;
        QString text;
    } texts[] = {{QMessageBox::Yes, yes},
                 {QMessageBox::No, no},
                 {QMessageBox::Ok, Msg(Msg_Box_Yes + 2)},
                 {QMessageBox::Cancel, Msg(Msg_Box_Yes + 3)}};
    for (const auto& t : texts) {
        if (QAbstractButton* b = box.button(t.button))
            b->setText(t.text);
    }
}

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
