#pragma once

#include "editors/FrameEditor.h"

class QPushButton;

// The receive table of the active configuration (Receive_Frame.xml).
class TFReceive_J1939_Frame final : public Frame_Editor {
    Q_OBJECT

public:
    explicit TFReceive_J1939_Frame(QWidget* parent = nullptr);

    void Set_Lang();
    // Puts `cells` (ten, in stored order) into the first row without PGN, as one step on the
    // undo stack. False when every row is in use.
    bool Add_Row(const Frame_Cells& cells);
    void Btn_Bus_CheckClick();

private:
    QPushButton* Btn_Bus_Check = nullptr;
};
