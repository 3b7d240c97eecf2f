#include "editors/UTransmit_J1939_Frames.h"

#include "language/ULanguage.h"

TFTransmit_J1939_Frame::TFTransmit_J1939_Frame(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("FTransmit_J1939_Frame"));
    Set_Lang();
}

void TFTransmit_J1939_Frame::Set_Lang()
{
    setWindowTitle(Msg(700));
}
