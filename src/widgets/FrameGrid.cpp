#include "widgets/FrameGrid.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QIcon>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QStyleOption>

#include <algorithm>
#include <limits>

namespace {

constexpr QRgb Error_Colour = 0xF4B4B4, Warning_Colour = 0xFFE39A;

// Shapes that differ without their colours: a round cross for an error, a triangle with a bar
// for a warning.
QIcon Mark_Icon(Cell_Mark mark)
{
    static const QIcon icons[2] = {
        [] {
            QPixmap p(12, 12);
            p.fill(Qt::transparent);
            QPainter g(&p);
            g.setRenderHint(QPainter::Antialiasing);
            g.setPen(Qt::NoPen);
            g.setBrush(QColor(0x8A, 0x5A, 0x00));
            g.drawPolygon(QPolygonF({QPointF(6, 0.5), QPointF(11.5, 11.5), QPointF(0.5, 11.5)}));
            g.setPen(QPen(Qt::white, 1.6));
            g.drawLine(QPointF(6, 4.5), QPointF(6, 8));
            g.drawPoint(QPointF(6, 10));
            return QIcon(p);
        }(),
        [] {
            QPixmap p(12, 12);
            p.fill(Qt::transparent);
            QPainter g(&p);
            g.setRenderHint(QPainter::Antialiasing);
            g.setPen(Qt::NoPen);
            g.setBrush(QColor(0xB0, 0x00, 0x20));
            g.drawEllipse(QRectF(0.5, 0.5, 11, 11));
            g.setPen(QPen(Qt::white, 1.8));
            g.drawLine(QPointF(3.5, 3.5), QPointF(8.5, 8.5));
            g.drawLine(QPointF(8.5, 3.5), QPointF(3.5, 8.5));
            return QIcon(p);
        }(),
    };
    return icons[mark == Cell_Mark::Error ? 1 : 0];
}

} // namespace

// ---- model ----

void Frame_Grid_Model::Reset(int tableRows, int columns)
{
    const int rows = qMax(0, tableRows - 1);
    m_notes.clear();
    if (columns != columnCount()) {
        // Only when the grid is set up: a full reset also forgets the view's column widths.
        beginResetModel();
        m_headers.resize(columns);
        m_kinds.resize(columns, Cell_Kind::Text);
        m_colours.resize(columns);
        m_hidden.resize(columns, false);
        m_rows = QList<QStringList>(rows, QStringList(columns));
        endResetModel();
        return;
    }
    if (rows < m_rows.size()) {
        beginRemoveRows({}, rows, int(m_rows.size()) - 1);
        m_rows.resize(rows);
        endRemoveRows();
    } else if (rows > m_rows.size()) {
        beginInsertRows({}, int(m_rows.size()), rows - 1);
        m_rows.resize(rows, QStringList(columns));
        endInsertRows();
    }
    for (QStringList& r : m_rows)
        r = QStringList(columns);
    if (rows > 0) {
        Q_EMIT dataChanged(index(0, 0), index(rows - 1, columns - 1));
        Q_EMIT headerDataChanged(Qt::Vertical, 0, rows - 1);
    }
}

QString Frame_Grid_Model::Cell(int col, int row) const
{
    if (row == 0)
        return m_headers.value(col);
    return m_rows.value(row - 1).value(col);
}

void Frame_Grid_Model::Set_Cell(int col, int row, const QString& text)
{
    if (col < 0 || col >= columnCount())
        return;
    if (row == 0) {
        m_headers[col] = text;
        Q_EMIT headerDataChanged(Qt::Horizontal, col, col);
        return;
    }
    if (row < 1 || row > m_rows.size())
        return;
    if (m_rows[row - 1][col] == text)
        return;
    m_rows[row - 1][col] = text;
    const QModelIndex i = index(row - 1, col);
    Q_EMIT dataChanged(i, i);
    if (col == 0)
        Q_EMIT headerDataChanged(Qt::Vertical, row - 1, row - 1);
    else
        Q_EMIT Cell_Changed(col, row);
}

void Frame_Grid_Model::Set_Notes(const QHash<quint32, Cell_Note>& notes)
{
    QList<quint32> changed;
    for (auto it = m_notes.cbegin(); it != m_notes.cend(); ++it)
        if (notes.value(it.key()) != it.value())
            changed.append(it.key());
    for (auto it = notes.cbegin(); it != notes.cend(); ++it)
        if (!m_notes.contains(it.key()))
            changed.append(it.key());
    m_notes = notes;
    for (quint32 key : changed) {
        const QModelIndex i = index(int(key >> 8) - 1, int(key & 0xFF));
        Q_EMIT dataChanged(i, i, {Qt::BackgroundRole, Qt::DecorationRole, Qt::ToolTipRole});
    }
}

void Frame_Grid_Model::Set_Kind(int col, Cell_Kind kind)
{
    m_kinds[col] = kind;
}

void Frame_Grid_Model::Set_Colour(int col, const QColor& colour)
{
    m_colours[col] = colour;
}

void Frame_Grid_Model::Set_Hidden(int col, bool hidden)
{
    m_hidden[col] = hidden;
    Q_EMIT headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
}

void Frame_Grid_Model::Set_Hints(const QStringList& hints)
{
    m_hints = hints;
    Q_EMIT headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
}

int Frame_Grid_Model::Shown_Data_Position(int col) const
{
    int pos = 0;
    for (int c = 1; c <= col && c < columnCount(); ++c)
        if (!m_hidden.at(c))
            ++pos;
    return pos;
}

int Frame_Grid_Model::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int Frame_Grid_Model::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_headers.size());
}

QVariant Frame_Grid_Model::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    const QString& text = m_rows.at(index.row()).at(index.column());
    const Cell_Kind kind = Kind(index.column());
    switch (role) {
    case Qt::DisplayRole:
        if (kind == Cell_Kind::Check_Box)
            return {};
        return text;
    case Qt::EditRole:
        return text;
    case Qt::CheckStateRole:
        if (kind != Cell_Kind::Check_Box)
            return {};
        return text == QLatin1String("Y") ? Qt::Checked : Qt::Unchecked;
    case Qt::DecorationRole: {
        const Cell_Mark mark = Note(index.column(), index.row() + 1).mark;
        return mark == Cell_Mark::None ? QVariant() : QVariant(Mark_Icon(mark));
    }
    case Qt::ToolTipRole: {
        const QString tip = Note(index.column(), index.row() + 1).tip;
        return tip.isEmpty() ? QVariant() : QVariant(tip);
    }
    case Qt::BackgroundRole:
        switch (Note(index.column(), index.row() + 1).mark) {
        case Cell_Mark::Error:
            return QColor(Error_Colour);
        case Cell_Mark::Warning:
            return QColor(Warning_Colour);
        case Cell_Mark::None:
            break;
        }
        return m_colours.at(index.column()).isValid() ? QVariant(m_colours.at(index.column()))
                                                      : QVariant();
    case Qt::TextAlignmentRole:
        if (kind == Cell_Kind::Pick_List)
            return int(Qt::AlignCenter);
        return int(Qt::AlignLeft | Qt::AlignVCenter);
    default:
        return {};
    }
}

bool Frame_Grid_Model::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid())
        return false;
    const Cell_Kind kind = Kind(index.column());
    if (kind == Cell_Kind::Row_Number)
        return false;
    if (role == Qt::CheckStateRole && kind == Cell_Kind::Check_Box) {
        const bool ticked = value.toInt() == Qt::Checked;
        Set_Cell(index.column(), index.row() + 1,
                 ticked ? QStringLiteral("Y") : QStringLiteral("N"));
        return true;
    }
    if (role == Qt::EditRole && kind != Cell_Kind::Check_Box) {
        Set_Cell(index.column(), index.row() + 1, value.toString());
        return true;
    }
    return false;
}

Qt::ItemFlags Frame_Grid_Model::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    switch (Kind(index.column())) {
    case Cell_Kind::Row_Number:
        // Never current: the row numbers are the editor's, not the user's.
        return Qt::NoItemFlags;
    case Cell_Kind::Check_Box:
        return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable;
    default:
        return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
    }
}

QVariant Frame_Grid_Model::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Vertical) {
        // The row numbers of column 0, shown as the fixed column.
        if (section < 0 || section >= rowCount())
            return {};
        if (role == Qt::DisplayRole)
            return m_rows.at(section).at(0);
        if (role == Qt::TextAlignmentRole)
            return int(Qt::AlignCenter);
        return {};
    }
    if (section < 0 || section >= columnCount())
        return QAbstractTableModel::headerData(section, orientation, role);
    if (role == Qt::DisplayRole)
        return m_headers.at(section);
    if (role == Qt::ToolTipRole && section > 0) {
        const QString hint = m_hints.value(Shown_Data_Position(section) - 1);
        return hint.isEmpty() ? QVariant() : QVariant(hint);
    }
    return {};
}

// ---- delegate ----

namespace {

const Frame_Grid_Model* Grid_Model(const QModelIndex& index)
{
    return qobject_cast<const Frame_Grid_Model*>(index.model());
}

Cell_Kind Kind_Of(const QModelIndex& index)
{
    const Frame_Grid_Model* m = Grid_Model(index);
    return m ? m->Kind(index.column()) : Cell_Kind::Text;
}

} // namespace

QWidget* Frame_Grid_Delegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                           const QModelIndex& index) const
{
    switch (Kind_Of(index)) {
    case Cell_Kind::Row_Number:
    case Cell_Kind::Check_Box:
        return nullptr;
    case Cell_Kind::Pick_List: {
        auto* box = new QComboBox(parent);
        box->addItems(pick_items);
        auto* self = const_cast<Frame_Grid_Delegate*>(this);
        connect(box, &QComboBox::activated, self, [self, box] { Q_EMIT self->commitData(box); });
        return box;
    }
    case Cell_Kind::Text:
        break;
    }
    QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
    // A cell holds any length; the line edit's own limit would cut a long text on editing.
    if (auto* line = qobject_cast<QLineEdit*>(editor))
        line->setMaxLength(std::numeric_limits<int>::max());
    return editor;
}

void Frame_Grid_Delegate::setEditorData(QWidget* editor, const QModelIndex& index) const
{
    if (auto* box = qobject_cast<QComboBox*>(editor)) {
        box->setCurrentIndex(box->findText(index.data(Qt::EditRole).toString()));
        return;
    }
    QStyledItemDelegate::setEditorData(editor, index);
}

void Frame_Grid_Delegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                                       const QModelIndex& index) const
{
    if (auto* box = qobject_cast<QComboBox*>(editor)) {
        // An untouched list keeps what the cell held, also a text not in the list.
        if (box->currentIndex() >= 0)
            model->setData(index, box->currentText(), Qt::EditRole);
        return;
    }
    QStyledItemDelegate::setModelData(editor, model, index);
}

void Frame_Grid_Delegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                const QModelIndex& index) const
{
    if (Kind_Of(index) != Cell_Kind::Check_Box) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    const QWidget* widget = option.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    const bool ticked = opt.checkState == Qt::Checked;
    opt.features &= ~QStyleOptionViewItem::HasCheckIndicator;
    opt.text.clear();
    style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);

    QStyleOptionViewItem box = opt;
    const int w = style->pixelMetric(QStyle::PM_IndicatorWidth, &opt, widget);
    const int h = style->pixelMetric(QStyle::PM_IndicatorHeight, &opt, widget);
    box.rect = QRect(opt.rect.center().x() - w / 2, opt.rect.center().y() - h / 2, w, h);
    box.state =
        (opt.state & QStyle::State_Enabled) | (ticked ? QStyle::State_On : QStyle::State_Off);
    style->drawPrimitive(QStyle::PE_IndicatorItemViewItemCheck, &box, painter, widget);
}

bool Frame_Grid_Delegate::editorEvent(QEvent* event, QAbstractItemModel* model,
                                      const QStyleOptionViewItem& option, const QModelIndex& index)
{
    if (Kind_Of(index) != Cell_Kind::Check_Box || !(index.flags() & Qt::ItemIsEnabled))
        return QStyledItemDelegate::editorEvent(event, model, option, index);
    switch (event->type()) {
    case QEvent::MouseButtonRelease: {
        // Anywhere in the cell: the box is centred and small.
        const auto* me = static_cast<QMouseEvent*>(event);
        if (me->button() != Qt::LeftButton || !option.rect.contains(me->position().toPoint()))
            return false;
        break;
    }
    case QEvent::MouseButtonDblClick:
        return true;
    case QEvent::KeyPress: {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key != Qt::Key_Space && key != Qt::Key_Select)
            return false;
        break;
    }
    default:
        return false;
    }
    const bool ticked = index.data(Qt::CheckStateRole).toInt() == Qt::Checked;
    return model->setData(index, ticked ? Qt::Unchecked : Qt::Checked, Qt::CheckStateRole);
}

bool Frame_Grid_Delegate::eventFilter(QObject* object, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && on_key &&
        on_key(Key_Char(static_cast<QKeyEvent*>(event))))
        return true;
    return QStyledItemDelegate::eventFilter(object, event);
}

// ---- view ----

QChar Key_Char(const QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        return QChar(13);
    const QString text = event->text();
    return text.isEmpty() ? QChar() : text.at(0);
}

Frame_Grid::Frame_Grid(QWidget* parent)
    : QTableView(parent), m_model(new Frame_Grid_Model(this)),
      m_delegate(new Frame_Grid_Delegate(this))
{
    setModel(m_model);
    setItemDelegate(m_delegate);
    m_delegate->on_key = [this](QChar key) { return Handle_Key(key); };
    // Column 0 is shown as the vertical header, so it stays in place when the grid scrolls.
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 8);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setSectionsClickable(false);
    verticalHeader()->setHighlightSections(false);
    if (auto* corner = findChild<QAbstractButton*>()) {
        corner->installEventFilter(this);
    }
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setMinimumSectionSize(0);
    // Several rows at once for copy, paste and clearing.
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                    QAbstractItemView::AnyKeyPressed | QAbstractItemView::SelectedClicked);
    setWordWrap(false);

    // Fitting a column is the editor's choice (an option), also from a header border.
    disconnect(horizontalHeader(), SIGNAL(sectionHandleDoubleClicked(int)), this,
               SLOT(resizeColumnToContents(int)));
    connect(horizontalHeader(), &QHeaderView::sectionHandleDoubleClicked, this,
            [this](int col) { Q_EMIT Cell_Double_Clicked(0, col); });
    connect(horizontalHeader(), &QHeaderView::sectionDoubleClicked, this,
            [this](int col) { Q_EMIT Cell_Double_Clicked(0, col); });
    connect(this, &QAbstractItemView::doubleClicked, this,
            [this](const QModelIndex& i) { Q_EMIT Cell_Double_Clicked(i.row() + 1, i.column()); });
}

void Frame_Grid::Set_Column(int col, Cell_Kind kind, const QColor& colour)
{
    m_model->Set_Kind(col, kind);
    m_model->Set_Colour(col, colour);
    if (col == 0)
        setColumnHidden(0, true);
}

void Frame_Grid::Set_Column_Width(int col, int width)
{
    if (col == 0)
        verticalHeader()->setFixedWidth(width);
    else
        setColumnWidth(col, width);
}

int Frame_Grid::Column_Width(int col) const
{
    return col == 0 ? verticalHeader()->width() : columnWidth(col);
}

bool Frame_Grid::Is_Shown(int col) const
{
    return col == 0 || !isColumnHidden(col);
}

bool Frame_Grid::eventFilter(QObject* object, QEvent* event)
{
    // The corner above the row numbers carries the title of column 0.
    auto* corner = qobject_cast<QAbstractButton*>(object);
    if (!corner || event->type() != QEvent::Paint)
        return QTableView::eventFilter(object, event);
    QStyleOptionHeader opt;
    opt.initFrom(corner);
    opt.state = QStyle::State_Enabled | QStyle::State_Raised;
    opt.rect = corner->rect();
    opt.position = QStyleOptionHeader::OnlyOneSection;
    opt.orientation = Qt::Horizontal;
    opt.text = m_model->Cell(0, 0);
    opt.textAlignment = Qt::AlignCenter;
    QPainter painter(corner);
    corner->style()->drawControl(QStyle::CE_Header, &opt, &painter, corner);
    return true;
}

void Frame_Grid::Set_Column_Hidden(int col, bool hidden)
{
    if (col == 0)
        return;
    m_model->Set_Hidden(col, hidden);
    setColumnHidden(col, hidden);
}

int Frame_Grid::Row_Count() const
{
    return m_model->rowCount() + 1;
}

int Frame_Grid::Data_Column_Count() const
{
    return m_model->columnCount() - 1;
}

void Frame_Grid::Set_Cell(int col, int row, const QString& text)
{
    m_model->Set_Cell(col, row, text);
}

bool Frame_Grid::Is_Check_Box_Column(int col) const
{
    return m_model->Kind(col) == Cell_Kind::Check_Box;
}

int Frame_Grid::Current_Column() const
{
    const QModelIndex i = currentIndex();
    if (!i.isValid())
        return 0;
    int shown = 0;
    for (int c = 0; c < i.column(); ++c)
        if (Is_Shown(c))
            ++shown;
    return shown;
}

int Frame_Grid::Current_Row() const
{
    const QModelIndex i = currentIndex();
    return i.isValid() ? i.row() + 1 : 0;
}

void Frame_Grid::Set_Current(int shownCol, int row)
{
    int shown = -1;
    for (int c = 0; c < m_model->columnCount(); ++c) {
        if (!Is_Shown(c))
            continue;
        if (++shown == shownCol) {
            const QModelIndex i = Index_Of(c, row);
            setCurrentIndex(i);
            scrollTo(i);
            return;
        }
    }
}

int Frame_Grid::Shown_Column_Count() const
{
    int shown = 0;
    for (int c = 0; c < m_model->columnCount(); ++c)
        if (Is_Shown(c))
            ++shown;
    return shown;
}

void Frame_Grid::Fit_Column(int col)
{
    if (col > 0)
        resizeColumnToContents(col);
}

void Frame_Grid::Commit_Edit()
{
    if (state() != QAbstractItemView::EditingState)
        return;
    if (QWidget* editor = indexWidget(currentIndex())) {
        commitData(editor);
        closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
}

QModelIndex Frame_Grid::Index_Of(int col, int row) const
{
    return row > 0 ? m_model->index(row - 1, col) : QModelIndex();
}

bool Frame_Grid::Handle_Key(QChar key)
{
    return On_Key_Press && On_Key_Press(key);
}

QList<int> Frame_Grid::Selected_Rows() const
{
    QList<int> rows;
    for (const QModelIndex& i : selectionModel()->selectedIndexes())
        if (!rows.contains(i.row() + 1))
            rows.append(i.row() + 1);
    std::sort(rows.begin(), rows.end());
    if (rows.isEmpty() && Current_Row() > 0)
        rows.append(Current_Row());
    return rows;
}

void Frame_Grid::keyPressEvent(QKeyEvent* event)
{
    if (On_Grid_Key && On_Grid_Key(event)) {
        event->accept();
        return;
    }
    if (Handle_Key(Key_Char(event))) {
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}
