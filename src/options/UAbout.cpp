#include "options/UAbout.h"

#include "language/ULanguage.h"

TFAbout::TFAbout(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("FAbout"));
    Set_Lang();
}

void TFAbout::Set_Lang()
{
    setWindowTitle(QStringLiteral("About..."));
}
