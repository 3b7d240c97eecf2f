#include "editors/FrameCommands.h"

Frame_Rows_Command::Frame_Rows_Command(QList<Frame_Cells> before, QList<Frame_Cells> after,
                                       Apply apply)
    : m_before(std::move(before)), m_after(std::move(after)), m_apply(std::move(apply))
{
}

void Frame_Rows_Command::undo()
{
    m_apply(m_before);
    m_done = false;
}

void Frame_Rows_Command::redo()
{
    if (!m_done)
        m_apply(m_after);
    m_done = true;
}
