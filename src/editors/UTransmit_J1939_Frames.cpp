#include "editors/UTransmit_J1939_Frames.h"

TFTransmit_J1939_Frame::TFTransmit_J1939_Frame(QWidget* parent) : Frame_Editor(Send_Table, parent)
{
    setObjectName(QStringLiteral("FTransmit_J1939_Frame"));
}
