#include "support/FakeUi.h"

#include "app/Windows.h"

#include <QDialog>
#include <QStringList>

Fake_Ui::Fake_Ui() { Set_Ui(this); }
Fake_Ui::~Fake_Ui() { Set_Ui(nullptr); }

void Fake_Ui::Error_Box(const QString& text) { boxes.append({Kind::Error, text}); }
void Fake_Ui::Warning_Box(const QString& text) { boxes.append({Kind::Warning, text}); }
void Fake_Ui::Info_Box(const QString& text) { boxes.append({Kind::Info, text}); }

bool Fake_Ui::Confirm_Box(const QString& text)
{
    boxes.append({Kind::Confirm, text});
    return answers.isEmpty() ? true : answers.takeFirst();
}

int Fake_Ui::Show_Modal(QDialog* dialog)
{
    shownDialogs.append(dialog->objectName());
    if (onModal)
        return onModal(dialog);
    dialog->show();
    dialog->reject();
    return dialog->result();
}

void Fake_Ui::Open_Url(const QString& url) { openedUrls.append(url); }

QStringList Fake_Ui::texts() const
{
    QStringList out;
    for (const Box& b : boxes)
        out.append(b.text);
    return out;
}

void Fake_Ui::clear()
{
    boxes.clear();
    shownDialogs.clear();
    openedUrls.clear();
}

Window_Test_Env::~Window_Test_Env()
{
    Destroy_Windows();
}
