#include "buscheck/UBusCheck.h"

#include "app/UComon.h"
#include "app/UserInteraction.h"
#include "buscheck/CanLive.h"
#include "configurations/SafeFile.h"
#include "editors/UReceive_J1939_Frames.h"
#include "language/ULanguage.h"

#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

#include <cmath>

namespace {

// String table slots of this window.
enum : int {
    M_Caption = 210,
    M_Log = 212,
    M_Start = 213,
    M_Stop = 214,
    M_Close = 215,
    M_Row_Headers = 216, // 216..224: Row, Data Page, PGN, Source Address, Seen, Count, Period, Last
                         // Data, Data Offset
    M_Data_Area = 225,
    M_Unmatched = 226,
    M_Size = 227,
    M_Add_Row = 228,
    M_Trouble = 229,
    M_Own = 230,
    M_Own_Claims = 231,
    M_Null = 232,
    M_Global = 233,
    M_Row = 234,
    M_Several = 235,
    M_Yes = 236,
    M_No = 237,
    M_Log_Filter = 238,
    M_No_Editor = 239,
    M_Frames = 240,
    M_Dropped = 241,
    M_Cannot_Open = 242,
    M_Table_Full = 243,
    M_Plugin = 245,
    M_Interface = 246,
    M_No_Trouble = 247,
    M_Add_Hint = 248,
};

constexpr int Row_Columns = 9;
constexpr int Unmatched_Columns = 6;

QString Hex_Pgn(quint16 pgn)
{
    return QStringLiteral("0x") + QStringLiteral("%1").arg(pgn, 4, 16, QLatin1Char('0')).toUpper();
}

QString Period_Text(const Frame_Stats& s)
{
    const double p = s.Mean_Period_ms();
    return p < 0 ? QString() : QString::number(qint64(std::llround(p)));
}

QTableWidgetItem* Item(const QString& text, bool right = true)
{
    auto* i = new QTableWidgetItem(text);
    i->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    if (right)
        i->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return i;
}

// The last data of a row, the kept bytes marked.
QString Last_Data_Html(const QByteArray& d, const Frame_Record& r)
{
    QString html;
    for (int i = 0; i < d.size(); ++i) {
        const QString b = QStringLiteral("%1").arg(quint8(d[i]), 2, 16, QLatin1Char('0')).toUpper();
        if (i > 0)
            html += QLatin1Char(' ');
        const bool kept = i >= r.Start_Byte && i < r.Start_Byte + r.Byte_Count;
        html += kept ? QStringLiteral("<span style=\"background:#ffd75e;font-weight:bold\">") + b +
                           QStringLiteral("</span>")
                     : b;
        if (i >= 63 && d.size() > 64) {
            html += QStringLiteral(" ...");
            break;
        }
    }
    return html;
}

QString Hex_Dump(const QByteArray& area)
{
    QString out;
    for (qsizetype at = 0; at < area.size(); at += 8) {
        out += QStringLiteral("%1 ").arg(at, 4, 10, QLatin1Char(' '));
        for (qsizetype i = at; i < qMin(at + 8, area.size()); ++i)
            out += QStringLiteral(" %1").arg(quint8(area[i]), 2, 16, QLatin1Char('0')).toUpper();
        out += QLatin1Char('\n');
    }
    return out;
}

} // namespace

TFBus_Check::TFBus_Check(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FBus_Check"));
    Choose_Log = [this](QWidget* p) {
        return QFileDialog::getOpenFileName(p, windowTitle(), QString(), Msg(M_Log_Filter));
    };
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);

    auto* source = new QHBoxLayout;
    Btn_Log = new QPushButton(this);
    Btn_Log->setObjectName(QStringLiteral("Btn_Log"));
    L_Plugin = new QLabel(this);
    CB_Plugin = new QComboBox(this);
    CB_Plugin->setObjectName(QStringLiteral("CB_Plugin"));
    CB_Plugin->addItems(Can_Live_Source::Plugins());
    L_Interface = new QLabel(this);
    CB_Interface = new QComboBox(this);
    CB_Interface->setObjectName(QStringLiteral("CB_Interface"));
    CB_Interface->setEditable(true);
    CB_Interface->setMinimumContentsLength(12);
    Btn_Start = new QPushButton(this);
    Btn_Start->setObjectName(QStringLiteral("Btn_Start"));
    Btn_Stop = new QPushButton(this);
    Btn_Stop->setObjectName(QStringLiteral("Btn_Stop"));
    source->addWidget(Btn_Log);
    source->addSpacing(16);
    source->addWidget(L_Plugin);
    source->addWidget(CB_Plugin);
    source->addWidget(L_Interface);
    source->addWidget(CB_Interface, 1);
    source->addWidget(Btn_Start);
    source->addWidget(Btn_Stop);
    layout->addLayout(source);
    L_Status = new QLabel(this);
    L_Status->setObjectName(QStringLiteral("L_Status"));
    layout->addWidget(L_Status);

    L_Rows = new QLabel(this);
    sga_Rows = new QTableWidget(0, Row_Columns, this);
    sga_Rows->setObjectName(QStringLiteral("sga_Rows"));
    sga_Rows->verticalHeader()->hide();
    sga_Rows->horizontalHeader()->setSectionResizeMode(7, QHeaderView::Stretch);
    sga_Rows->setSelectionBehavior(QAbstractItemView::SelectRows);
    layout->addWidget(L_Rows);
    layout->addWidget(sga_Rows, 3);

    auto* lower = new QGridLayout;
    L_Data_Area = new QLabel(this);
    E_Data_Area = new QPlainTextEdit(this);
    E_Data_Area->setObjectName(QStringLiteral("E_Data_Area"));
    E_Data_Area->setReadOnly(true);
    E_Data_Area->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    E_Data_Area->setLineWrapMode(QPlainTextEdit::NoWrap);
    L_Unmatched = new QLabel(this);
    sga_Unmatched = new QTableWidget(0, Unmatched_Columns, this);
    sga_Unmatched->setObjectName(QStringLiteral("sga_Unmatched"));
    sga_Unmatched->verticalHeader()->hide();
    sga_Unmatched->setSelectionBehavior(QAbstractItemView::SelectRows);
    sga_Unmatched->setSelectionMode(QAbstractItemView::SingleSelection);
    Btn_Add_Row = new QPushButton(this);
    Btn_Add_Row->setObjectName(QStringLiteral("Btn_Add_Row"));
    L_Trouble = new QLabel(this);
    LB_Trouble = new QListWidget(this);
    LB_Trouble->setObjectName(QStringLiteral("LB_Trouble"));
    LB_Trouble->setWordWrap(true);
    lower->addWidget(L_Data_Area, 0, 0);
    lower->addWidget(E_Data_Area, 1, 0, 2, 1);
    lower->addWidget(L_Unmatched, 0, 1);
    lower->addWidget(sga_Unmatched, 1, 1);
    lower->addWidget(Btn_Add_Row, 2, 1, Qt::AlignLeft);
    lower->addWidget(L_Trouble, 0, 2);
    lower->addWidget(LB_Trouble, 1, 2, 2, 1);
    lower->setColumnStretch(0, 2);
    lower->setColumnStretch(1, 3);
    lower->setColumnStretch(2, 3);
    layout->addLayout(lower, 2);

    auto* bottom = new QHBoxLayout;
    Btn_Close = new QPushButton(this);
    Btn_Close->setObjectName(QStringLiteral("Btn_Close"));
    bottom->addStretch(1);
    bottom->addWidget(Btn_Close);
    layout->addLayout(bottom);

    for (QPushButton* b : {Btn_Log, Btn_Start, Btn_Stop, Btn_Add_Row, Btn_Close})
        b->setAutoDefault(false);
    connect(Btn_Log, &QPushButton::clicked, this, [this] {
        Guarded([&] {
            const QString path = Choose_Log(this);
            if (!path.isEmpty())
                Load_Log(path);
        });
    });
    connect(Btn_Start, &QPushButton::clicked, this,
            [this] { Start_Live(CB_Plugin->currentText(), CB_Interface->currentText()); });
    connect(Btn_Stop, &QPushButton::clicked, this, &TFBus_Check::Stop_Live);
    connect(Btn_Add_Row, &QPushButton::clicked, this,
            [this] { Guarded([&] { Btn_Add_RowClick(); }); });
    connect(Btn_Close, &QPushButton::clicked, this, &QDialog::reject);
    connect(CB_Plugin, &QComboBox::currentTextChanged, this, &TFBus_Check::Fill_Interfaces);
    connect(sga_Unmatched, &QTableWidget::itemSelectionChanged, this, &TFBus_Check::Update_Buttons);

    // A loaded bus brings thousands of frames a second: the view follows a few times a second.
    m_refresh = new QTimer(this);
    m_refresh->setInterval(250);
    connect(m_refresh, &QTimer::timeout, this, [this] {
        if (m_dirty)
            Refresh();
    });

    const int socketcan = CB_Plugin->findText(QStringLiteral("socketcan"));
    if (socketcan >= 0)
        CB_Plugin->setCurrentIndex(socketcan);
    Fill_Interfaces();
    resize(980, 640);
    Set_Lang();
    Reset_Check();
}

TFBus_Check::~TFBus_Check() = default;

void TFBus_Check::Set_Lang()
{
    setWindowTitle(Msg(M_Caption));
    Btn_Log->setText(Msg(M_Log));
    L_Plugin->setText(Msg(M_Plugin));
    L_Interface->setText(Msg(M_Interface));
    Btn_Start->setText(Msg(M_Start));
    Btn_Stop->setText(Msg(M_Stop));
    Btn_Close->setText(Msg(M_Close));
    L_Rows->setText(Msg(21));
    QStringList headers;
    for (int c = 0; c < Row_Columns; ++c)
        headers << Msg(M_Row_Headers + c);
    sga_Rows->setHorizontalHeaderLabels(headers);
    L_Data_Area->setText(Msg(M_Data_Area));
    L_Unmatched->setText(Msg(M_Unmatched));
    sga_Unmatched->setHorizontalHeaderLabels({Msg(M_Row_Headers + 1), Msg(M_Row_Headers + 2),
                                              Msg(M_Row_Headers + 3), Msg(M_Row_Headers + 5),
                                              Msg(M_Row_Headers + 6), Msg(M_Size)});
    Btn_Add_Row->setText(Msg(M_Add_Row));
    L_Trouble->setText(Msg(M_Trouble));
    Update_Buttons();
    Refresh();
}

void TFBus_Check::Open_For(const QString& confDir, TFReceive_J1939_Frame* editor)
{
    Stop_Live();
    m_editor = editor;
    m_setup = Load_Bus_Check_Setup(confDir);
    m_source.clear();
    Reset_Check();
}

void TFBus_Check::Reset_Check()
{
    m_check = std::make_unique<Bus_Check>(m_setup);
    m_dirty = false;
    Refresh();
}

void TFBus_Check::Load_Log(const QString& path)
{
    Stop_Live();
    const QByteArray text = Read_Whole_File(path);
    auto check = std::make_unique<Bus_Check>(m_setup);
    try {
        For_Each_Log_Frame(text, [&](const Can_Frame& f) { check->Feed(f); });
    } catch (const App_Error& e) {
        throw App_Error(QDir::toNativeSeparators(path) + QStringLiteral(": ") + e.text());
    }
    m_check = std::move(check);
    m_source = QDir::toNativeSeparators(path);
    Refresh();
}

bool TFBus_Check::Start_Live(const QString& plugin, const QString& interfaceName)
{
    Stop_Live();
    Reset_Check();
    m_live = std::make_unique<Can_Live_Source>([this](const Can_Frame& f) { m_check->Feed(f); });
    connect(m_live.get(), &Can_Live_Source::Batch_Read, this, [this] { m_dirty = true; });
    connect(m_live.get(), &Can_Live_Source::Failed, this, [this](const QString& reason) {
        Stop_Live();
        Ui().Error_Box(Msg(M_Cannot_Open) + reason);
    });
    const QString error = m_live->Start(plugin, interfaceName, m_setup.bit_rate);
    if (!error.isEmpty()) {
        m_live.reset();
        Update_Buttons();
        Ui().Error_Box(Msg(M_Cannot_Open) + error);
        return false;
    }
    m_source = plugin + QLatin1Char(' ') + interfaceName;
    m_refresh->start();
    Update_Buttons();
    Refresh();
    return true;
}

void TFBus_Check::Stop_Live()
{
    if (!m_live)
        return;
    m_live->Stop();
    m_refresh->stop();
    Refresh();
    // The counts stay on screen; the source goes once its last batch was shown.
    m_live.release()->deleteLater();
    Update_Buttons();
}

void TFBus_Check::showEvent(QShowEvent* event)
{
    Set_Lang(); // the language may have changed since the last opening
    QDialog::showEvent(event);
}

void TFBus_Check::hideEvent(QHideEvent* event)
{
    Stop_Live();
    QDialog::hideEvent(event);
}

void TFBus_Check::Fill_Interfaces()
{
    const QString keep = CB_Interface->currentText();
    CB_Interface->clear();
    CB_Interface->addItems(Can_Live_Source::Interfaces(CB_Plugin->currentText()));
    if (!keep.isEmpty() && CB_Interface->findText(keep) < 0)
        CB_Interface->setEditText(keep);
}

void TFBus_Check::Update_Buttons()
{
    const bool live = m_live && m_live->Running();
    Btn_Start->setEnabled(!live && CB_Plugin->count() > 0);
    Btn_Stop->setEnabled(live);
    const bool selected = !sga_Unmatched->selectedItems().isEmpty();
    Btn_Add_Row->setEnabled(m_editor != nullptr && selected);
    Btn_Add_Row->setToolTip(m_editor ? Msg(M_Add_Hint) : Msg(M_No_Editor));
}

void TFBus_Check::Btn_Add_RowClick()
{
    const int at = sga_Unmatched->currentRow();
    if (!m_editor || at < 0 || at >= int(m_check->Unmatched().size()))
        return;
    if (!m_editor->Add_Row(Receive_Row_For(m_check->Unmatched()[size_t(at)])))
        Ui().Error_Box(Msg(M_Table_Full));
}

void TFBus_Check::Refresh()
{
    m_dirty = false;
    if (!m_check)
        return;
    const Bus_Check& c = *m_check;
    QString status = m_source.isEmpty() ? QString() : m_source + QStringLiteral(" - ");
    status += Msg(M_Frames) + QString::number(c.Frames());
    if (m_live)
        status += Msg(M_Dropped) + QString::number(m_live->Dropped());
    L_Status->setText(status);

    sga_Rows->setRowCount(int(c.Rows().size()));
    for (int r = 0; r < int(c.Rows().size()); ++r) {
        const Row_Result& res = c.Rows()[size_t(r)];
        const Frame_Record& rec = m_setup.rows[size_t(r)];
        const quint32 id = rec.Identifier;
        sga_Rows->setItem(r, 0, Item(QString::number(r + 1)));
        sga_Rows->setItem(r, 1, Item(QString::number((id >> 24) & 0xFF)));
        sga_Rows->setItem(r, 2, Item(Hex_Pgn(quint16(id >> 8))));
        sga_Rows->setItem(
            r, 3, Item(m_setup.peer_to_peer ? QStringLiteral("*") : QString::number(id & 0xFF)));
        auto* seen = Item(res.Seen() ? Msg(M_Yes) : Msg(M_No), false);
        seen->setBackground(res.Seen() ? QColor(0xc8, 0xf0, 0xc8) : QColor(0xf8, 0xc8, 0xc8));
        sga_Rows->setItem(r, 4, seen);
        sga_Rows->setItem(r, 5, Item(QString::number(res.stats.count)));
        sga_Rows->setItem(r, 6, Item(Period_Text(res.stats)));
        auto* data = qobject_cast<QLabel*>(sga_Rows->cellWidget(r, 7));
        if (!data) {
            data = new QLabel;
            data->setTextFormat(Qt::RichText);
            data->setContentsMargins(4, 0, 4, 0);
            sga_Rows->setCellWidget(r, 7, data);
        }
        data->setText(Last_Data_Html(res.last_data, rec));
        sga_Rows->setItem(r, 8, Item(QString::number(rec.Data_Offset)));
    }
    sga_Rows->resizeColumnsToContents();
    sga_Rows->horizontalHeader()->setSectionResizeMode(7, QHeaderView::Stretch);

    E_Data_Area->setPlainText(Hex_Dump(c.Data_Area()));

    const int selected = sga_Unmatched->currentRow();
    sga_Unmatched->setRowCount(int(c.Unmatched().size()));
    for (int r = 0; r < int(c.Unmatched().size()); ++r) {
        const Unmatched_Frame& u = c.Unmatched()[size_t(r)];
        sga_Unmatched->setItem(r, 0, Item(QString::number(u.Data_Page())));
        sga_Unmatched->setItem(r, 1, Item(Hex_Pgn(u.Pgn())));
        sga_Unmatched->setItem(r, 2, Item(QString::number(u.Sa())));
        sga_Unmatched->setItem(r, 3, Item(QString::number(u.stats.count)));
        sga_Unmatched->setItem(r, 4, Item(Period_Text(u.stats)));
        sga_Unmatched->setItem(r, 5, Item(QString::number(u.size)));
    }
    if (selected >= 0 && selected < sga_Unmatched->rowCount())
        sga_Unmatched->selectRow(selected);
    sga_Unmatched->resizeColumnsToContents();
    // Every column in sight: the size tells a transport message from a single frame.
    sga_Unmatched->setMinimumWidth(sga_Unmatched->horizontalHeader()->length() +
                                   2 * sga_Unmatched->frameWidth() +
                                   sga_Unmatched->verticalScrollBar()->sizeHint().width());

    LB_Trouble->clear();
    const Address_Trouble& t = c.Trouble();
    const QString own = QString::number(m_setup.device_address);
    if (t.own_address > 0)
        LB_Trouble->addItem(QString::number(t.own_address) + Msg(M_Own) + own);
    if (t.own_claims > 0)
        LB_Trouble->addItem(QString::number(t.own_claims) + Msg(M_Own_Claims) + own);
    if (t.null_address > 0)
        LB_Trouble->addItem(QString::number(t.null_address) + Msg(M_Null));
    if (t.global_address > 0)
        LB_Trouble->addItem(QString::number(t.global_address) + Msg(M_Global));
    for (const int r : c.Rows_With_Several_Senders()) {
        QStringList senders;
        const auto& set = c.Rows()[size_t(r)].senders;
        for (int sa = 0; sa < 256; ++sa)
            if (set.test(size_t(sa)))
                senders << QString::number(sa);
        LB_Trouble->addItem(Msg(M_Row) + QString::number(r + 1) + Msg(M_Several) +
                            senders.join(QStringLiteral(", ")));
    }
    if (LB_Trouble->count() == 0)
        LB_Trouble->addItem(Msg(M_No_Trouble));
    Update_Buttons();
}

TFBus_Check& Bus_Check_Window(QWidget* parent)
{
    static QPointer<TFBus_Check> window;
    if (!window)
        window = new TFBus_Check(parent);
    else if (window->parentWidget() != parent)
        window->setParent(parent, window->windowFlags()); // modal over whoever opened it
    return *window;
}
