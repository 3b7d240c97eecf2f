#include "update/ModifyFileSx.h"

#include "language/ULanguage.h"

TFModifyFileSx::TFModifyFileSx(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("FModifyFileSx"));
    Set_Lang();
}

void TFModifyFileSx::Set_Lang()
{
    setWindowTitle(QStringLiteral("Generate Firmware"));
}
