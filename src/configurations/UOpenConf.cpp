#include "configurations/UOpenConf.h"

#include "language/ULanguage.h"

TFOpenConf::TFOpenConf(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("FOpenConf"));
    Set_Lang();
}

void TFOpenConf::Set_Lang()
{
    setWindowTitle(Msg(200));
}
