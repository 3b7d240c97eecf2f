#pragma once

#include "editors/FrameTables.h"

#include <QUndoCommand>

#include <functional>

// One change of a frame table, whatever made it (a cell, a tick, a row routine, a paste): the
// data rows before and after, put back whole. A table is at most 56 rows of ten short texts,
// so whole copies cost less than knowing each routine's inverse.
class Frame_Rows_Command final : public QUndoCommand {
public:
    using Apply = std::function<void(const QList<Frame_Cells>&)>;

    // `after` is the table as it stands already: the first redo, from the push, does nothing.
    Frame_Rows_Command(QList<Frame_Cells> before, QList<Frame_Cells> after, Apply apply);

    void undo() override;
    void redo() override;

private:
    QList<Frame_Cells> m_before;
    QList<Frame_Cells> m_after;
    Apply m_apply;
    bool m_done = true;
};
