#pragma once

#include "editors/FrameEditor.h"

// The receive table of the active configuration (Receive_Frame.xml).
class TFReceive_J1939_Frame final : public Frame_Editor {
    Q_OBJECT

public:
    explicit TFReceive_J1939_Frame(QWidget* parent = nullptr);
};
