#pragma once

#include "editors/FrameEditor.h"

// The transmit table of the active configuration (Send_Frame.xml).
class TFTransmit_J1939_Frame final : public Frame_Editor {
    Q_OBJECT

public:
    explicit TFTransmit_J1939_Frame(QWidget* parent = nullptr);
};
