#include "widgets/Panels.h"

#include <QFrame>
#include <QLabel>

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
