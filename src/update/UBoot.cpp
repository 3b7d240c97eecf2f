#include "update/UBoot.h"

#include "language/ULanguage.h"

TFBoot::TFBoot(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FBoot"));
    Set_Lang();
}

void TFBoot::Set_Lang()
{
    setWindowTitle(Msg(802));
}
