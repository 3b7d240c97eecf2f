#include "options/USoftOptions.h"

#include "language/ULanguage.h"

TFSoftOptions::TFSoftOptions(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("FSoftOptions"));
    Set_Lang();
}

void TFSoftOptions::Set_Lang()
{
    setWindowTitle(Msg(300));
}
