#include "editors/UReceive_J1939_Frames.h"

TFReceive_J1939_Frame::TFReceive_J1939_Frame(QWidget* parent) : Frame_Editor(Receive_Table, parent)
{
    setObjectName(QStringLiteral("FReceive_J1939_Frame"));
}
