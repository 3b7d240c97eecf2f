#include "editors/FrameEditor.h"

#include "app/UserInteraction.h"
#include "language/ULanguage.h"
#include "widgets/FrameGrid.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>

namespace {

constexpr int Columns = 11;

const std::array<const char*, 6> Button_Names = {"Btn_OK",     "Btn_Cancel",  "Btn_DelRow",
                                                 "Btn_InsRow", "Btn_CopyRow", "Btn_PasteRow"};

} // namespace

Frame_Editor::Frame_Editor(const Frame_Table_Kind& kind, QWidget* parent)
    : QDialog(parent), m_kind(kind)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);

    auto* title = new QHBoxLayout;
    L_SW_Code = new QLabel(Shared.SW_Code, this);
    L_SW_Code->setObjectName(QStringLiteral("L_SW_Code"));
    QFont codeFont = L_SW_Code->font();
    codeFont.setBold(true);
    codeFont.setPointSizeF(codeFont.pointSizeF() * 1.4);
    L_SW_Code->setFont(codeFont);
    L_SW_Desc = new QLabel(this);
    L_SW_Desc->setObjectName(QStringLiteral("L_SW_Desc"));
    QFont descFont = L_SW_Desc->font();
    descFont.setBold(true);
    L_SW_Desc->setFont(descFont);
    title->addWidget(L_SW_Code);
    title->addSpacing(16);
    title->addWidget(L_SW_Desc, 1);
    layout->addLayout(title);

    sga = new Frame_Grid(this);
    sga->setObjectName(QStringLiteral("sga"));
    sga->Reset(Frame_Row_Count(false), Columns);
    for (int c = 0; c < Columns; ++c) {
        const Frame_Column& col = m_kind.columns[c];
        sga->Set_Column(c, col.kind, QColor(QRgb(col.colour)));
    }
    sga->Set_Pick_Items(m_kind.pick_items);
    sga->On_Key_Press = [this](QChar key) { return sgaKeyPress(key); };
    connect(sga, &Frame_Grid::Cell_Double_Clicked, this,
            [this](int row, int col) { sgaDblClickCell(row, col); });
    layout->addWidget(sga, 1);

    auto* buttons = new QHBoxLayout;
    const std::array<void (Frame_Editor::*)(), 6> handlers = {
        &Frame_Editor::Btn_OKClick,      &Frame_Editor::Btn_CancelClick,
        &Frame_Editor::Btn_DelRowClick,  &Frame_Editor::Btn_InsRowClick,
        &Frame_Editor::Btn_CopyRowClick, &Frame_Editor::Btn_PasteRowClick};
    for (int i = 0; i < 6; ++i) {
        auto* b = new QPushButton(this);
        b->setObjectName(QString::fromLatin1(Button_Names[i]));
        // Enter belongs to the table (next cell), never to a default button.
        b->setAutoDefault(false);
        const auto handler = handlers[i];
        connect(b, &QPushButton::clicked, this,
                [this, handler] { Guarded([&] { (this->*handler)(); }); });
        buttons->addWidget(b);
        m_buttons[i] = b;
    }
    buttons->addStretch(1);
    layout->addLayout(buttons);

    resize(m_kind.client_width, Frame_Client_Height);
    Set_Lang();
}

void Frame_Editor::Set_Lang()
{
    const int m = m_kind.msg;
    setWindowTitle(Msg(m + Frame_Msg::Caption));
    L_SW_Desc->setText(Msg(m + Frame_Msg::Description));
    for (int i = 0; i < int(m_buttons.size()); ++i) {
        m_buttons[i]->setText(Msg(m + Frame_Msg::Buttons + i));
        m_buttons[i]->setToolTip(Msg(m + Frame_Msg::Button_Hints + i));
    }
    for (int c = 0; c < Columns; ++c)
        sga->Set_Cell(c, 0, Msg(m + Frame_Msg::Headers + c));
    Hint.clear();
    for (int c = 1; c < Columns; ++c)
        Hint.append(Msg(m_kind.columns[c].hint));
    sga->Set_Hints(Hint);
    for (int c = 0; c < Columns; ++c)
        Set_Column_Width(c, c == Mnemonic_Column && Old_Hardware ? m_kind.mnemonic_width_reduced
                                                                 : m_kind.columns[c].width);
}

void Frame_Editor::Set_Column_Width(int col, int width)
{
    // The design widths suit the original fonts; a title must never be cut off.
    const QHeaderView* h = sga->horizontalHeader();
    const int margin = h->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, h);
    const int title = h->fontMetrics().horizontalAdvance(sga->Cell(col, 0)) + 2 * margin + 2;
    sga->Set_Column_Width(col, qMax(width, title));
}

void Frame_Editor::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    // A file that cannot be read keeps the window from opening; closing it from inside its
    // own showing would leave a modal loop without end, so it closes once the loop runs.
    if (!Guarded([this] { FormShow(); }))
        QTimer::singleShot(0, this, [this] { QDialog::reject(); });
}

void Frame_Editor::FormShow()
{
    sga->Commit_Edit();
    sga->Reset(sga->Row_Count(), Columns);
    const Frame_Table_Content content =
        Load_Frame_Table(m_kind, Shared.File_ParGen, Shared.*m_kind.file_path);
    Old_Hardware = content.reduced;
    Apply_Layout();
    sga->Reset(Frame_Row_Count(Old_Hardware), Columns);
    for (int r = 1; r < sga->Row_Count(); ++r)
        sga->Set_Cell(0, r, QString::number(r));
    for (int i = 0; i < content.rows.size(); ++i)
        for (int c = 1; c < Columns; ++c)
            sga->Set_Cell(c, i + 1, content.rows.at(i).value(c - 1));
    Do_Copy = false;
    m_loaded = Rows();
    m_fileRows = content.file_rows;
    sga->Set_Current(1, 1);
    sga->setFocus();
}

void Frame_Editor::Apply_Layout()
{
    for (int c = 1; c < Columns; ++c)
        sga->Set_Column_Hidden(c, Old_Hardware && !m_kind.columns[c].shown_reduced);
    Set_Column_Width(Mnemonic_Column, Old_Hardware ? m_kind.mnemonic_width_reduced
                                                   : m_kind.columns[Mnemonic_Column].width);
    Hint.clear();
    for (int message : Frame_Hint_Messages(m_kind, Old_Hardware))
        Hint.append(Msg(message));
    sga->Set_Hints(Hint);
}

Frame_Cells Frame_Editor::Row(int row) const
{
    Frame_Cells cells;
    for (int c = 1; c < Columns; ++c)
        cells.append(sga->Cell(c, row));
    return cells;
}

QList<Frame_Cells> Frame_Editor::Rows() const
{
    QList<Frame_Cells> rows;
    for (int r = 1; r < sga->Row_Count(); ++r)
        rows.append(Row(r));
    return rows;
}

bool Frame_Editor::Controllo_dati()
{
    const auto failure = m_kind.check(Rows(), Old_Hardware);
    if (!failure)
        return true;
    Ui().Error_Box(Check_Failure_Text(m_kind.msg + Frame_Msg::Error_In_Row, *failure));
    return false;
}

void Frame_Editor::Btn_OKClick()
{
    sga->Commit_Edit();
    if (!Controllo_dati())
        return;
    const QList<Frame_Cells> rows = Rows();
    if (!Confirm_Rows_Left_Out(rows))
        return;
    m_kind.write(Shared.*m_kind.file_path, rows);
    accept();
}

bool Frame_Editor::Confirm_Rows_Left_Out(const QList<Frame_Cells>& rows)
{
    namespace M = Frame_Shared_Msg;
    const int capacity = sga->Row_Count() - 1;
    if (m_fileRows > capacity &&
        !Ui().Confirm_Box(Msg(M::File_Holds) + QString::number(m_fileRows) + Msg(M::Table_Keeps) +
                          QString::number(capacity) + Msg(M::Others_Not_Saved)))
        return false;
    const QList<int> lost = Frame_Rows_Not_Saved(m_kind, rows);
    return lost.isEmpty() || Ui().Confirm_Box(Msg(m_kind.msg + Frame_Msg::Rows_Not_Saved) +
                                              Row_Numbers_Text(lost) + Msg(M::Save_Without_Them));
}

void Frame_Editor::Btn_CancelClick()
{
    reject();
}

bool Frame_Editor::Is_Changed() const
{
    return !Same_Frame_Rows(m_kind, Rows(), m_loaded);
}

void Frame_Editor::reject()
{
    sga->Commit_Edit();
    if (Is_Changed() && !Ui().Confirm_Box(Msg(458)))
        return;
    QDialog::reject();
}

void Frame_Editor::Btn_DelRowClick()
{
    sga->Commit_Edit();
    const int row = sga->Current_Row();
    if (row < 1)
        return;
    if (Ui().Confirm_Box(Msg(m_kind.msg + Frame_Msg::Confirm_Delete) + QString::number(row)))
        Delete_Row(*sga, row);
}

void Frame_Editor::Btn_InsRowClick()
{
    sga->Commit_Edit();
    if (sga->Current_Row() < 1)
        return;
    const int last = sga->Row_Count() - 1;
    if (Frame_Row_Filled(m_kind, Row(last)) &&
        !Ui().Confirm_Box(Msg(Frame_Shared_Msg::Insert_Drops_Row) + QString::number(last) +
                          Msg(Frame_Shared_Msg::Insert_Drops_Row_End)))
        return;
    Insert_Row(*sga, sga->Current_Row());
}

void Frame_Editor::Btn_CopyRowClick()
{
    sga->Commit_Edit();
    if (sga->Current_Row() < 1)
        return;
    Copy_Row(*sga, sga->Current_Row());
    Do_Copy = true;
}

void Frame_Editor::Btn_PasteRowClick()
{
    sga->Commit_Edit();
    if (sga->Current_Row() < 1)
        return;
    const Table_Prompts prompts{[](const QString& text) { Ui().Error_Box(text); },
                                [](const QString& text) { return Ui().Confirm_Box(text); }};
    Paste_Row(*sga, sga->Current_Row(), Do_Copy, prompts);
}

bool Frame_Editor::sgaKeyPress(QChar key)
{
    return Enter_Key_Next_Cell(*sga, key);
}

void Frame_Editor::sgaDblClickCell(int row, int col)
{
    Auto_Size_Column(*sga, row, col);
}
