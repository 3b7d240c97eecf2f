#include "editors/UParGen.h"

#include "language/ULanguage.h"

TFParGen::TFParGen(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("FParGen"));
    Set_Lang();
}

void TFParGen::Set_Lang()
{
    setWindowTitle(Msg(400));
}
