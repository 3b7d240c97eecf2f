#include "configurations/UNew_Project.h"

#include "language/ULanguage.h"

TFNew_Project::TFNew_Project(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("FNew_Project"));
    Set_Lang();
}

void TFNew_Project::Set_Lang()
{
    setWindowTitle(Msg(100));
}
