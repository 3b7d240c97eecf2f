#include "editors/UReceive_J1939_Frames.h"

#include "language/ULanguage.h"

TFReceive_J1939_Frame::TFReceive_J1939_Frame(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("FReceive_J1939_Frame"));
    Set_Lang();
}

void TFReceive_J1939_Frame::Set_Lang()
{
    setWindowTitle(Msg(600));
}
