#include "widgets/Panels.h"

#include "app/UComon.h"

#include <QBoxLayout>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

namespace {

void Set_Colour(QWidget* w, QPalette::ColorRole role, const QColor& colour)
{
    QPalette pal = w->palette();
    pal.setColor(role, colour);
    w->setPalette(pal);
}

} // namespace

void Set_Large_Grey(QLabel* label)
{
    QFont f = label->font();
    f.setPixelSize(26);
    f.setBold(true);
    label->setFont(f);
    Set_Colour(label, QPalette::WindowText, Title_Grey);
}

void Set_Bold_Grey(QLabel* label)
{
    QFont f = label->font();
    f.setBold(true);
    label->setFont(f);
    Set_Colour(label, QPalette::WindowText, Title_Grey);
}

void Set_Grey(QLabel* label)
{
    Set_Colour(label, QPalette::WindowText, Title_Grey);
}

QFrame* New_Panel(QWidget* parent, const char* name, const QColor& colour)
{
    auto* panel = new QFrame(parent);
    panel->setObjectName(QString::fromLatin1(name));
    panel->setAutoFillBackground(true);
    Set_Colour(panel, QPalette::Window, colour);
    return panel;
}

const char* const Button_Style =
    "QPushButton { background-color: rgb(236, 236, 228); border: 1px solid rgb(160, 160, 150);"
    " border-radius: 3px; padding: 2px 8px; }"
    "QPushButton:hover { background-color: rgb(245, 232, 210); }"
    "QPushButton:pressed { background-color: rgb(255, 128, 0); }"
    "QPushButton:focus { border: 1px solid rgb(255, 128, 0); }";

void Init_Pictures()
{
    Q_INIT_RESOURCE(pictures);
}

void Set_Window_Look(QWidget* window, const QString& extraStyle)
{
    window->setAutoFillBackground(true);
    Set_Colour(window, QPalette::Window, Window_Colour);
    window->setStyleSheet(QString::fromLatin1(Button_Style) + extraStyle);
}

void Set_Fixed_Border(QWidget* window)
{
    window->setWindowFlags((window->windowFlags() & Qt::WindowType_Mask) | Qt::CustomizeWindowHint |
                           Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                           Qt::MSWindowsFixedSizeDialogHint);
}

Dialog_Frame New_Dialog_Frame(QWidget* dialog)
{
    Dialog_Frame f;
    QFrame* title = New_Panel(dialog, "P_Title", Qt::white);
    f.code = new QLabel(Shared.SW_Code, title);
    f.code->setObjectName(QStringLiteral("L_SW_Code"));
    Set_Large_Grey(f.code);
    f.subtitle = new QLabel(title);
    f.subtitle->setObjectName(QStringLiteral("L_SW_Desc"));
    Set_Bold_Grey(f.subtitle);
    auto* titleLayout = new QVBoxLayout(title);
    titleLayout->setContentsMargins(10, 4, 10, 4);
    titleLayout->setSpacing(0);
    titleLayout->addWidget(f.code);
    titleLayout->addWidget(f.subtitle);

    QFrame* buttons = New_Panel(dialog, "P_Buttons", Window_Colour);
    f.ok = new QPushButton(buttons);
    f.ok->setObjectName(QStringLiteral("Btn_OK"));
    f.cancel = new QPushButton(buttons);
    f.cancel->setObjectName(QStringLiteral("Btn_Cancel"));
    auto* buttonLayout = new QHBoxLayout(buttons);
    buttonLayout->setContentsMargins(10, 6, 10, 6);
    buttonLayout->addStretch();
    for (QPushButton* b : {f.ok, f.cancel}) {
        b->setMinimumWidth(80);
        buttonLayout->addWidget(b);
    }

    f.body = new QVBoxLayout;
    f.body->setContentsMargins(10, 8, 10, 8);
    auto* layout = new QVBoxLayout(dialog);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(title);
    layout->addLayout(f.body, 1);
    layout->addWidget(buttons);
    return f;
}

void Centre_On_Screen(QWidget* window)
{
    if (const QScreen* s = window->screen())
        window->move(s->availableGeometry().center() - window->rect().center());
}
