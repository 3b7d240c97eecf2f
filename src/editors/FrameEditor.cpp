#include "editors/FrameEditor.h"

#include "editors/DbcPickerDialog.h"
#include "editors/FrameCommands.h"
#include "editors/FrameImport.h"
#include "editors/TableText.h"

#include "app/LocalSettings.h"
#include "app/Settings.h"
#include "app/UserInteraction.h"
#include "configurations/SafeFile.h"
#include "language/ULanguage.h"
#include "widgets/FrameGrid.h"

#include <QAction>
#include <QClipboard>
#include <QFileDialog>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHash>
#include <QHeaderView>
#include <QHideEvent>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QShowEvent>
#include <QStyle>
#include <QTimer>
#include <QUndoStack>
#include <QVBoxLayout>
#include <functional>
#include <memory>

namespace {

constexpr int Columns = 11;

// Texts of the live checks under the table.
namespace Live_Msg {
constexpr int Error = 910, Errors = 911, Row = 912, Warning = 913, Warnings = 914, Bytes_Used = 915,
              Of = 916, Rows = 917, Undo = 918, Redo = 919, Undo_Hint = 920, Redo_Hint = 921,
              Modified = 922, Bare_Hex = 923;
}

// How close a count is to its limit, shown by the label's colour and its "level" property.
void Show_Level(QLabel* label, int used, int limit, bool past)
{
    const char* level = past ? "past" : used * 10 >= limit * 9 ? "near" : "";
    label->setProperty("level", QString::fromLatin1(level));
    label->setStyleSheet(past     ? QStringLiteral("QLabel { background: #F4B4B4; color: #6A0010; "
                                                       "font-weight: bold; padding: 1px 4px; }")
                         : *level ? QStringLiteral("QLabel { background: #FFE39A; color: #4A3000; "
                                                   "padding: 1px 4px; }")
                                  : QStringLiteral("QLabel { padding: 1px 4px; }"));
}

// "3 errors: row 4 PGN, row 9 Num Bytes": each entry a link to its cell ("col:row").
struct List_Entry {
    int col;
    int row;
};
QString Entry_List(const QList<List_Entry>& entries, int one, int many,
                   const std::function<QString(int)>& title)
{
    QStringList links;
    for (const List_Entry& e : entries)
        links << QStringLiteral("<a href=\"%1:%2\">%3</a>")
                     .arg(e.col)
                     .arg(e.row)
                     .arg((Msg(Live_Msg::Row) + QString::number(e.row) + QLatin1Char(' ') +
                           title(e.col))
                              .toHtmlEscaped());
    return (QString::number(entries.size()) + Msg(entries.size() == 1 ? one : many))
               .toHtmlEscaped() +
           links.join(QStringLiteral(", "));
}

const std::array<const char*, 6> Button_Names = {"Btn_OK",     "Btn_Cancel",  "Btn_DelRow",
                                                 "Btn_InsRow", "Btn_CopyRow", "Btn_PasteRow"};

QString Size_Key(const QObject* window)
{
    return QString::fromLatin1(window->metaObject()->className());
}

// The keys of the six buttons, in their order; none for OK and Cancel.
const std::array<QKeyCombination, 6> Button_Keys = {QKeyCombination(),
                                                    QKeyCombination(),
                                                    QKeyCombination(Qt::CTRL, Qt::Key_Delete),
                                                    QKeyCombination(Qt::CTRL, Qt::Key_Insert),
                                                    QKeyCombination(Qt::CTRL, Qt::Key_C),
                                                    QKeyCombination(Qt::CTRL, Qt::Key_V)};

QString Shortcut_Hint(QKeyCombination key)
{
    if (key == QKeyCombination())
        return {};
    return QStringLiteral(" (") + QKeySequence(key).toString(QKeySequence::NativeText) +
           QLatin1Char(')');
}

} // namespace

// Defers the checks until a change of many cells is complete.
struct Frame_Batch {
    Frame_Editor* editor;
    explicit Frame_Batch(Frame_Editor* e) : editor(e) { ++editor->m_batch; }
    ~Frame_Batch()
    {
        if (--editor->m_batch == 0)
            editor->Cell_Changed();
    }
    Frame_Batch(const Frame_Batch&) = delete;
    Frame_Batch& operator=(const Frame_Batch&) = delete;
};

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
    sga->On_Grid_Key = [this](const QKeyEvent* e) {
        bool used = false;
        Guarded([&] { used = Grid_Key(e); });
        return used;
    };
    connect(sga, &Frame_Grid::Cell_Double_Clicked, this,
            [this](int row, int col) { sgaDblClickCell(row, col); });
    layout->addWidget(sga, 1);
    connect(sga->Model(), &Frame_Grid_Model::Cell_Changed, this, [this] { Cell_Changed(); });

    auto* status = new QHBoxLayout;
    L_Bytes = new QLabel(this);
    L_Bytes->setObjectName(QStringLiteral("L_Bytes"));
    L_Rows = new QLabel(this);
    L_Rows->setObjectName(QStringLiteral("L_Rows"));
    status->addWidget(L_Bytes);
    status->addWidget(L_Rows);
    status->addStretch(1);
    layout->addLayout(status);
    const auto listLabel = [this](const char* name, const char* colour) {
        auto* l = new QLabel(this);
        l->setObjectName(QString::fromLatin1(name));
        l->setWordWrap(true);
        l->setTextFormat(Qt::RichText);
        l->setTextInteractionFlags(Qt::LinksAccessibleByMouse);
        l->setStyleSheet(QStringLiteral("QLabel { color: %1; }").arg(QLatin1String(colour)));
        connect(l, &QLabel::linkActivated, this, [this](const QString& link) {
            const QStringList parts = link.split(QLatin1Char(':'));
            if (parts.size() == 2)
                Select_Cell(parts.at(0).toInt(), parts.at(1).toInt());
        });
        return l;
    };
    L_Errors = listLabel("L_Errors", "#B00020");
    L_Warnings = listLabel("L_Warnings", "#7A4E00");
    // A long list scrolls within three lines, so that the table keeps its rows in view.
    const auto listArea = [this](QLabel* label) {
        auto* area = new QScrollArea(this);
        area->setWidget(label);
        area->setWidgetResizable(true);
        area->setFrameShape(QFrame::NoFrame);
        area->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        return area;
    };
    m_errorArea = listArea(L_Errors);
    m_warningArea = listArea(L_Warnings);
    layout->addWidget(m_errorArea);
    layout->addWidget(m_warningArea);

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
    m_undo = new QUndoStack(this);
    const auto undoButton = [&](const char* name, void (Frame_Editor::*handler)()) {
        auto* b = new QPushButton(this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        b->setEnabled(false);
        connect(b, &QPushButton::clicked, this, [this, handler] { (this->*handler)(); });
        buttons->addWidget(b);
        return b;
    };
    buttons->addSpacing(12);
    Btn_Undo = undoButton("Btn_Undo", &Frame_Editor::Btn_UndoClick);
    Btn_Redo = undoButton("Btn_Redo", &Frame_Editor::Btn_RedoClick);
    connect(m_undo, &QUndoStack::canUndoChanged, Btn_Undo, &QWidget::setEnabled);
    connect(m_undo, &QUndoStack::canRedoChanged, Btn_Redo, &QWidget::setEnabled);
    // An open cell editor keeps Ctrl+Z for its own text; these act on the table.
    auto* undo = new QAction(this);
    undo->setShortcuts(QKeySequence::Undo);
    undo->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    connect(undo, &QAction::triggered, this, &Frame_Editor::Btn_UndoClick);
    auto* redo = new QAction(this);
    redo->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    redo->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    connect(redo, &QAction::triggered, this, &Frame_Editor::Btn_RedoClick);
    addActions({undo, redo});
    // The same commands on the table's context menu.
    undo->setObjectName(QStringLiteral("A_Undo"));
    redo->setObjectName(QStringLiteral("A_Redo"));
    connect(m_undo, &QUndoStack::canUndoChanged, undo, &QAction::setEnabled);
    connect(m_undo, &QUndoStack::canRedoChanged, redo, &QAction::setEnabled);
    undo->setEnabled(false);
    redo->setEnabled(false);
    m_menuActions = {undo, redo};
    auto* separator = new QAction(this);
    separator->setSeparator(true);
    sga->addActions({undo, redo, separator});
    for (int i = 2; i < 6; ++i) {
        auto* a = new QAction(this);
        a->setObjectName(QStringLiteral("A_") + QString::fromLatin1(Button_Names[i] + 4));
        QPushButton* b = m_buttons[i];
        connect(a, &QAction::triggered, b, &QPushButton::click);
        sga->addAction(a);
        m_menuActions.append(a);
    }
    sga->setContextMenuPolicy(Qt::ActionsContextMenu);
    buttons->addSpacing(12);
    Btn_Import = new QPushButton(this);
    Btn_Import->setObjectName(QStringLiteral("Btn_Import"));
    Btn_Import->setAutoDefault(false);
    auto* importMenu = new QMenu(Btn_Import);
    importMenu->setObjectName(QStringLiteral("M_Import"));
    const std::array<std::pair<const char*, void (Frame_Editor::*)()>, 3> imports = {
        {{"A_Import_Dbc", &Frame_Editor::Import_Dbc},
         {"A_Import_Csv", &Frame_Editor::Import_Csv},
         {"A_Export_Csv", &Frame_Editor::Export_Csv}}};
    for (int i = 0; i < 3; ++i) {
        if (i == 2)
            importMenu->addSeparator();
        QAction* a = importMenu->addAction(QString());
        a->setObjectName(QString::fromLatin1(imports[i].first));
        const auto handler = imports[i].second;
        connect(a, &QAction::triggered, this,
                [this, handler] { Guarded([&] { (this->*handler)(); }); });
        m_importActions[i] = a;
    }
    Btn_Import->setMenu(importMenu);
    buttons->addWidget(Btn_Import);
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
        m_buttons[i]->setToolTip(Msg(m + Frame_Msg::Button_Hints + i) +
                                 Shortcut_Hint(Button_Keys[i]));
    }
    Btn_Undo->setText(Msg(Live_Msg::Undo));
    Btn_Undo->setToolTip(Msg(Live_Msg::Undo_Hint));
    Btn_Redo->setText(Msg(Live_Msg::Redo));
    Btn_Redo->setToolTip(Msg(Live_Msg::Redo_Hint));
    if (m_menuActions.size() == 6) {
        m_menuActions[0]->setText(Msg(Live_Msg::Undo));
        m_menuActions[1]->setText(Msg(Live_Msg::Redo));
        for (int i = 2; i < 6; ++i)
            m_menuActions[i]->setText(Msg(m + Frame_Msg::Buttons + i));
    }
    Btn_Import->setText(Msg(Import_Msg::Button));
    Btn_Import->setToolTip(Msg(Import_Msg::Button_Hint));
    for (int i = 0; i < 3; ++i)
        m_importActions[i]->setText(Msg(Import_Msg::Dbc_File + i));
    for (int c = 0; c < Columns; ++c)
        sga->Set_Cell(c, 0, Msg(m + Frame_Msg::Headers + c));
    Hint.clear();
    for (int c = 1; c < Columns; ++c)
        Hint.append(Msg(m_kind.columns[c].hint));
    sga->Set_Hints(Hint);
    for (int c = 0; c < Columns; ++c)
        Set_Column_Width(c, c == Mnemonic_Column && Old_Hardware ? m_kind.mnemonic_width_reduced
                                                                 : m_kind.columns[c].width);
    Update_Checks();
}

void Frame_Editor::Cell_Changed()
{
    if (m_batch > 0)
        return;
    Record_Change();
    Update_Checks();
}

void Frame_Editor::Record_Change()
{
    if (m_applying)
        return;
    QList<Frame_Cells> now = Rows();
    if (now == m_recorded)
        return;
    m_undo->push(new Frame_Rows_Command(
        m_recorded, now, [this](const QList<Frame_Cells>& rows) { Set_Rows(rows); }));
    m_recorded = std::move(now);
}

void Frame_Editor::Set_Rows(const QList<Frame_Cells>& rows)
{
    m_applying = true;
    {
        Frame_Batch batch(this);
        for (int r = 0; r < rows.size(); ++r)
            for (int c = 1; c < Columns; ++c)
                sga->Set_Cell(c, r + 1, rows.at(r).value(c - 1));
    }
    m_applying = false;
    m_recorded = rows;
}

bool Frame_Editor::Grid_Key(const QKeyEvent* event)
{
    const QKeyCombination key = event->keyCombination();
    // Before the standard keys: some desktops copy with Ctrl+Insert.
    if (key == QKeyCombination(Qt::CTRL, Qt::Key_Insert)) {
        Btn_InsRowClick();
        return true;
    }
    if (key == QKeyCombination(Qt::CTRL, Qt::Key_Delete)) {
        Btn_DelRowClick();
        return true;
    }
    if (event->matches(QKeySequence::Copy)) {
        Copy_Rows();
        return true;
    }
    if (event->matches(QKeySequence::Paste)) {
        Paste_Rows();
        return true;
    }
    if (key == QKeyCombination(Qt::Key_Delete)) {
        Clear_Selected_Cells();
        return true;
    }
    return false;
}

void Frame_Editor::Copy_Rows()
{
    sga->Commit_Edit();
    const QList<int> selected = sga->Selected_Rows();
    if (selected.isEmpty())
        return;
    Btn_CopyRowClick();
    // The shown columns in their order, as a spreadsheet would take them.
    QList<QStringList> rows;
    for (int r : selected) {
        QStringList cells;
        for (int c = 1; c < Columns; ++c)
            if (!sga->isColumnHidden(c))
                cells << sga->Cell(c, r);
        rows << cells;
    }
    m_clipText = Rows_To_Tab_Text(rows);
    m_clipRows = int(rows.size());
    QGuiApplication::clipboard()->setText(m_clipText);
}

void Frame_Editor::Paste_Rows()
{
    sga->Commit_Edit();
    const int start = sga->Current_Row();
    if (start < 1)
        return;
    const QString text = QGuiApplication::clipboard()->text();
    // One row copied here: the Paste Row of the table, hidden cells and questions included.
    if (text.isEmpty() || (text == m_clipText && m_clipRows == 1)) {
        Btn_PasteRowClick();
        return;
    }
    const QList<QStringList> lines = Tab_Text_To_Rows(text);
    QList<int> shown;
    for (int c = 1; c < Columns; ++c)
        if (!sga->isColumnHidden(c))
            shown << c;
    const int last = qMin(sga->Row_Count() - 1, start + int(lines.size()) - 1);
    bool used = false;
    for (int r = start; r <= last && !used; ++r)
        for (int c = 1; c < Columns && !used; ++c)
            used = !sga->Is_Check_Box_Column(c) && !sga->Cell(c, r).trimmed().isEmpty();
    if (used && !Ui().Confirm_Box(Msg(900)))
        return;
    Frame_Batch batch(this);
    for (int r = start; r <= last; ++r) {
        const QStringList& cells = lines.at(r - start);
        for (int i = 0; i < shown.size() && i < cells.size(); ++i)
            sga->Set_Cell(shown.at(i), r, cells.at(i));
    }
}

void Frame_Editor::Clear_Selected_Cells()
{
    Frame_Batch batch(this);
    for (const QModelIndex& i : sga->selectionModel()->selectedIndexes())
        if (const Cell_Kind k = sga->Model()->Kind(i.column());
            k == Cell_Kind::Text || k == Cell_Kind::Pick_List)
            sga->Set_Cell(i.column(), i.row() + 1, QString());
}

void Frame_Editor::Btn_UndoClick()
{
    sga->Commit_Edit();
    m_undo->undo();
}

void Frame_Editor::Btn_RedoClick()
{
    sga->Commit_Edit();
    m_undo->redo();
}

void Frame_Editor::Update_Checks()
{
    const QList<Frame_Cells> rows = Rows();
    m_failures = m_kind.all_checks(rows, Old_Hardware);
    m_warnings = m_kind.warnings(rows, m_context, Old_Hardware);
    m_bytesUsed = m_kind.bytes_used(rows);

    QHash<quint32, Cell_Note> notes;
    QList<List_Entry> errors, warnings;
    const int prefix = m_kind.msg + Frame_Msg::Error_In_Row;
    for (const Frame_Check_Failure& f : m_failures) {
        const int col = Failure_Column(f.message) + 1;
        if (col < 1)
            continue;
        Cell_Note& n = notes[Cell_Key(col, f.row)];
        n.mark = Cell_Mark::Error;
        n.tip = Check_Failure_Text(prefix, f);
        errors.append({col, f.row});
    }
    for (const Frame_Warning& w : m_warnings) {
        const int col = w.column + 1;
        Cell_Note& n = notes[Cell_Key(col, w.row)];
        if (n.mark == Cell_Mark::None)
            n.mark = Cell_Mark::Warning;
        n.tip += (n.tip.isEmpty() ? QString() : QStringLiteral("\n")) + Warning_Text(w);
        warnings.append({col, w.row});
    }
    // Number cells show their value in the other base; a refused bare hex number how to write it,
    // the first of them also under the table, where it is seen without pointing at the cell.
    QString hexHint;
    for (int r = 0; r < rows.size(); ++r)
        for (int c = 1; c < Columns; ++c) {
            if (m_kind.columns[c].kind != Cell_Kind::Text || c == Mnemonic_Column)
                continue;
            const QString cell = rows.at(r).value(c - 1);
            if (cell.trimmed().isEmpty())
                continue;
            const auto it = notes.constFind(Cell_Key(c, r + 1));
            QString tip = Number_Tip(cell);
            if (tip.isEmpty() && it != notes.constEnd() && it->mark == Cell_Mark::Error &&
                Is_Bare_Hex(cell)) {
                tip = Msg(Live_Msg::Bare_Hex) + cell.trimmed();
                if (hexHint.isEmpty())
                    hexHint = tip;
            }
            if (tip.isEmpty())
                continue;
            Cell_Note& n = notes[Cell_Key(c, r + 1)];
            n.tip += (n.tip.isEmpty() ? QString() : QStringLiteral("\n")) + tip;
        }
    sga->Model()->Set_Notes(notes);

    const auto title = [this](int col) { return sga->Cell(col, 0); };
    L_Errors->setText(
        Entry_List(errors, Live_Msg::Error, Live_Msg::Errors, title) +
        (hexHint.isEmpty() ? QString() : QStringLiteral("<br>") + hexHint.toHtmlEscaped()));
    m_errorArea->setVisible(!errors.isEmpty());
    L_Warnings->setText(Entry_List(warnings, Live_Msg::Warning, Live_Msg::Warnings, title));
    m_warningArea->setVisible(!warnings.isEmpty());

    // The reduced table has no byte budget: its checks leave the hidden counts alone.
    L_Bytes->setText(Msg(Live_Msg::Bytes_Used) + QString::number(m_bytesUsed) + Msg(Live_Msg::Of) +
                     QString::number(Frame_Byte_Budget));
    Show_Level(L_Bytes, m_bytesUsed, Frame_Byte_Budget, m_bytesUsed > Frame_Byte_Budget);
    L_Bytes->setVisible(!Old_Hardware);
    const int capacity = sga->Row_Count() - 1;
    int used = 0;
    while (used < rows.size() && !rows.at(used).value(m_kind.key_column - 1).trimmed().isEmpty())
        ++used;
    L_Rows->setText(Msg(Live_Msg::Rows) + QString::number(used) + Msg(Live_Msg::Of) +
                    QString::number(capacity));
    // Past the limit: the file held rows this table cannot keep.
    Show_Level(L_Rows, used, capacity, m_fileRows > capacity);
    Fit_Lists();
    Update_Title();
}

void Frame_Editor::Fit_Lists()
{
    // The width the layout gives the lists, known before the layout has placed them.
    const QMargins m = layout()->contentsMargins();
    const int width = this->width() - m.left() - m.right();
    for (QScrollArea* area : {m_errorArea, m_warningArea}) {
        const QWidget* label = area->widget();
        const int most = 3 * label->fontMetrics().lineSpacing() + 2;
        int h = label->heightForWidth(width);
        const bool scroll = h > most;
        if (scroll)
            h = label->heightForWidth(width - area->verticalScrollBar()->sizeHint().width());
        area->setVerticalScrollBarPolicy(scroll ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
        area->setFixedHeight(qMin(h, most));
    }
}

void Frame_Editor::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    Fit_Lists();
}

void Frame_Editor::Update_Title()
{
    setWindowTitle(Msg(m_kind.msg + Frame_Msg::Caption) +
                   (Is_Changed() ? Msg(Live_Msg::Modified) : QString()));
}

void Frame_Editor::Select_Cell(int col, int row)
{
    const QModelIndex i = sga->Index_Of(col, row);
    if (!i.isValid())
        return;
    // Exactly this cell, whatever modifier keys the selection would otherwise follow.
    sga->selectionModel()->setCurrentIndex(i, QItemSelectionModel::ClearAndSelect);
    sga->scrollTo(i);
    sga->setFocus();
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
    // Loading is no edit: nothing of it goes on the undo stack, also when it fails half-way.
    m_undo->clear();
    m_applying = true;
    const std::unique_ptr<void, std::function<void(void*)>> loaded(
        this, [this](void*) { m_applying = false; });
    Frame_Batch batch(this);
    sga->Reset(sga->Row_Count(), Columns);
    const Frame_Table_Content content =
        Load_Frame_Table(m_kind, Shared.File_ParGen, Shared.*m_kind.file_path);
    // Advice only: settings that cannot be read give the defaults, as for a missing file.
    try {
        m_context = Read_Frame_Context(Shared.File_ParGen);
    } catch (const App_Error&) {
        m_context = {};
    }
    Old_Hardware = content.reduced;
    Apply_Layout();
    sga->Reset(Frame_Row_Count(Old_Hardware), Columns);
    for (int r = 1; r < sga->Row_Count(); ++r)
        sga->Set_Cell(0, r, QString::number(r));
    for (int i = 0; i < content.rows.size(); ++i)
        for (int c = 1; c < Columns; ++c)
            sga->Set_Cell(c, i + 1, content.rows.at(i).value(c - 1));
    const QSize stored = Local_Settings(Data_Folder()).Window_Size(Size_Key(this));
    m_openedSize = stored.isValid() ? stored : Opening_Size();
    resize(m_openedSize);
    Do_Copy = false;
    m_loaded = Rows();
    m_recorded = m_loaded;
    m_fileRows = content.file_rows;
    sga->Set_Current(1, 1);
    sga->setFocus();
}

void Frame_Editor::hideEvent(QHideEvent* event)
{
    QDialog::hideEvent(event);
    if (!event->spontaneous() && m_openedSize.isValid() && size() != m_openedSize)
        Local_Settings(Data_Folder()).Set_Window_Size(Size_Key(this), size());
}

QSize Frame_Editor::Opening_Size()
{
    constexpr int Screen_Width = 1366, Window_Frame = 16;
    int columns = 0;
    QList<int> shown;
    for (int c = 1; c < Columns; ++c)
        if (!sga->isColumnHidden(c)) {
            shown.append(c);
            columns += sga->columnWidth(c);
        }
    const QMargins m = layout()->contentsMargins();
    const int fixed = m.left() + m.right() + 2 * sga->frameWidth() + sga->Column_Width(0) +
                      sga->verticalScrollBar()->sizeHint().width() + 2;
    // The smallest screen the program is made for; a window system keeps a wider window on a
    // smaller screen by itself.
    const int limit = Screen_Width - Window_Frame;
    if (fixed + columns > limit && columns > 0) {
        const double share = double(limit - fixed) / columns;
        for (int c : shown)
            sga->Set_Column_Width(c, int(sga->columnWidth(c) * share));
        columns = 0;
        for (int c : shown)
            columns += sga->columnWidth(c);
    }
    return {qMax(m_kind.client_width, fixed + columns), Frame_Client_Height};
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
    Select_Cell(Failure_Column(failure->message) + 1, failure->row);
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
    if (Ui().Confirm_Box(Msg(m_kind.msg + Frame_Msg::Confirm_Delete) + QString::number(row))) {
        Frame_Batch batch(this);
        Delete_Row(*sga, row);
    }
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
    Frame_Batch batch(this);
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
    Frame_Batch batch(this);
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

QString Frame_Editor::Choose_File(bool save, int title, const QString& filter, const char* name)
{
    QFileDialog dialog(this, Msg(title));
    dialog.setObjectName(QString::fromLatin1(name));
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setNameFilters({filter, QStringLiteral("* (*)")});
    if (save)
        dialog.setDefaultSuffix(QStringLiteral("csv"));
    if (!Shared.Conf_Dir.isEmpty())
        dialog.setDirectory(Shared.Conf_Dir);
    if (Ui().Show_Modal(&dialog) != QDialog::Accepted)
        return {};
    return dialog.selectedFiles().value(0);
}

void Frame_Editor::Apply_Import(const QList<Frame_Cells>& rows, int firstRow)
{
    {
        Frame_Batch batch(this);
        for (int r = 0; r < rows.size() && r + 1 < sga->Row_Count(); ++r)
            for (int c = 1; c < Columns; ++c)
                sga->Set_Cell(c, r + 1, rows.at(r).value(c - 1));
    }
    Select_Cell(m_kind.key_column, qBound(1, firstRow, sga->Row_Count() - 1));
}

void Frame_Editor::Import_Dbc()
{
    namespace M = Import_Msg;
    sga->Commit_Edit();
    const QString path =
        Choose_File(false, M::Dbc_File, QStringLiteral("DBC (*.dbc)"), "Dbc_File_Dialog");
    if (path.isEmpty())
        return;
    Dbc_File file;
    try {
        file = Read_Dbc_File(path);
    } catch (const App_Error& e) {
        Ui().Error_Box(Msg(M::Cannot_Read) + e.text());
        return;
    }
    Dbc_Picker_Dialog picker(m_kind, Rows(), Old_Hardware, file, path, this);
    if (Ui().Show_Modal(&picker) != QDialog::Accepted || picker.Plan().refusal)
        return;
    const Frame_Import_Plan plan = picker.Plan();
    Apply_Import(plan.rows, plan.first_row);
    QString summary = Msg(M::Imported) + QString::number(plan.added);
    for (const Dbc_Row& r : plan.mapping.rows)
        if (r.skip != Dbc_Skip::None)
            summary += QLatin1Char('\n') + Msg(M::Skipped) + r.message + QStringLiteral(": ") +
                       Dbc_Skip_Text(r);
    Ui().Info_Box(summary);
}

void Frame_Editor::Import_Csv()
{
    namespace M = Import_Msg;
    sga->Commit_Edit();
    const QString path =
        Choose_File(false, M::Csv_File, QStringLiteral("CSV (*.csv *.txt)"), "Csv_File_Dialog");
    if (path.isEmpty())
        return;
    Csv_Import in;
    try {
        in = Read_Csv_Table(Read_Whole_File(path), path, Frame_Csv_Layout(m_kind));
    } catch (const App_Error& e) {
        Ui().Error_Box(Msg(M::Cannot_Read) + e.text());
        return;
    }
    const QList<Frame_Cells> table = Rows();
    bool replace = true;
    if (Last_Filled_Row(m_kind, table) > 0) {
        QMessageBox box(QMessageBox::Question, Msg(M::Csv_File), Msg(M::Replace_Or_Append),
                        QMessageBox::NoButton, this);
        box.setObjectName(QStringLiteral("Csv_Replace_Or_Append"));
        QPushButton* replaceButton = box.addButton(Msg(M::Replace), QMessageBox::AcceptRole);
        replaceButton->setObjectName(QStringLiteral("Btn_Replace"));
        QPushButton* appendButton = box.addButton(Msg(M::Append), QMessageBox::AcceptRole);
        appendButton->setObjectName(QStringLiteral("Btn_Append"));
        QPushButton* cancel = box.addButton(Msg(603), QMessageBox::RejectRole);
        cancel->setObjectName(QStringLiteral("Btn_Cancel"));
        box.setDefaultButton(appendButton);
        Ui().Show_Modal(&box);
        if (box.clickedButton() != replaceButton && box.clickedButton() != appendButton)
            return;
        replace = box.clickedButton() == replaceButton;
    }
    const Frame_Import_Plan plan = Plan_Rows_Import(m_kind, table, Old_Hardware, in.rows, replace);
    if (plan.refusal) {
        Ui().Error_Box(Msg(M::Rows_Do_Not_Fit) + QString::number(plan.added) + Msg(916) +
                       QString::number(plan.rows_left) + Msg(M::Left));
        return;
    }
    Apply_Import(plan.rows, plan.first_row);
    QString summary = Msg(M::Imported) + QString::number(plan.added);
    if (!in.unknown.isEmpty())
        summary +=
            QLatin1Char('\n') + Msg(M::Unknown_Columns) + in.unknown.join(QStringLiteral(", "));
    Ui().Info_Box(summary);
}

void Frame_Editor::Export_Csv()
{
    sga->Commit_Edit();
    const QString path = Choose_File(true, Import_Msg::Export_Csv, QStringLiteral("CSV (*.csv)"),
                                     "Csv_Export_Dialog");
    if (path.isEmpty())
        return;
    Write_File_Atomic(path, Csv_Text(Frame_Csv_Layout(m_kind), Frame_Saved_Rows(m_kind, Rows())));
}
