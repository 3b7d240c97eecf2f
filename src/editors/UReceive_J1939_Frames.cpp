#include "editors/UReceive_J1939_Frames.h"

#include "app/UComon.h"
#include "app/UserInteraction.h"
#include "buscheck/UBusCheck.h"
#include "language/ULanguage.h"
#include "widgets/FrameGrid.h"

#include <QBoxLayout>
#include <QPushButton>
#include <QUndoStack>

TFReceive_J1939_Frame::TFReceive_J1939_Frame(QWidget* parent) : Frame_Editor(Receive_Table, parent)
{
    setObjectName(QStringLiteral("FReceive_J1939_Frame"));
    // At the right end of the button row, after its stretch: the table's own buttons stay put.
    Btn_Bus_Check = new QPushButton(this);
    Btn_Bus_Check->setObjectName(QStringLiteral("Btn_Bus_Check"));
    Btn_Bus_Check->setAutoDefault(false);
    connect(Btn_Bus_Check, &QPushButton::clicked, this,
            [this] { Guarded([&] { Btn_Bus_CheckClick(); }); });
    if (auto* buttons =
            qobject_cast<QBoxLayout*>(layout()->itemAt(layout()->count() - 1)->layout()))
        buttons->addWidget(Btn_Bus_Check);
    Set_Lang();
}

void TFReceive_J1939_Frame::Set_Lang()
{
    Frame_Editor::Set_Lang();
    if (Btn_Bus_Check) {
        Btn_Bus_Check->setText(Msg(211));
        Btn_Bus_Check->setToolTip(Msg(244));
    }
}

bool TFReceive_J1939_Frame::Add_Row(const Frame_Cells& cells)
{
    int row = -1;
    for (int r = 1; r < sga->Row_Count() && row < 0; ++r)
        if (sga->Cell(Receive_Table.key_column, r).trimmed().isEmpty())
            row = r;
    if (row < 0)
        return false;
    // Each cell records its own change; the macro makes them one step for undo and redo.
    Undo_Stack()->beginMacro(Msg(228));
    for (int c = 1; c <= Mnemonic_Column && c - 1 < cells.size(); ++c)
        sga->Set_Cell(c, row, cells.at(c - 1));
    Undo_Stack()->endMacro();
    return true;
}

void TFReceive_J1939_Frame::Btn_Bus_CheckClick()
{
    TFBus_Check& w = Bus_Check_Window(this);
    w.Open_For(Shared.Conf_Dir, this);
    Ui().Show_Modal(&w);
}
