#include "editors/DbcPickerDialog.h"

#include "configurations/TextToInt.h"
#include "language/ULanguage.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <tuple>

namespace {

enum Column { Name, Pgn, Size, Sender, Signals, Count };

// Enough signal names to recognise a message without widening the list past the screen.
QString Signal_Summary(const Dbc_Message& m)
{
    constexpr int Most = 60;
    QString text;
    for (const Dbc_Signal& s : m.signal_list) {
        const QString next = text.isEmpty() ? s.name : text + QStringLiteral(", ") + s.name;
        if (next.size() > Most)
            return text + QStringLiteral(", …");
        text = next;
    }
    return text;
}

QString Pgn_Text(const J1939_Id& j)
{
    return QStringLiteral("0x") + QString::number(j.pgn, 16).toUpper().rightJustified(4, u'0') +
           QStringLiteral(" (") + QString::number(j.pgn) + QLatin1Char(')');
}

} // namespace

Dbc_Picker_Dialog::Dbc_Picker_Dialog(const Frame_Table_Kind& kind, QList<Frame_Cells> table,
                                     bool reduced, const Dbc_File& file, const QString& fileName,
                                     QWidget* parent)
    : QDialog(parent), m_kind(kind), m_table(std::move(table)), m_reduced(reduced), m_file(file)
{
    namespace M = Import_Msg;
    setObjectName(QStringLiteral("Dbc_Picker"));
    setWindowTitle(Msg(M::Picker_Caption) + QFileInfo(fileName).fileName());
    auto* layout = new QVBoxLayout(this);

    auto* top = new QHBoxLayout;
    E_Search = new QLineEdit(this);
    E_Search->setObjectName(QStringLiteral("E_Search"));
    E_Search->setPlaceholderText(Msg(M::Search));
    E_Search->setClearButtonEnabled(true);
    top->addWidget(E_Search, 1);
    for (const auto& [name, text, on] :
         {std::tuple{"Btn_All", M::All, true}, std::tuple{"Btn_None", M::None, false}}) {
        auto* b = new QPushButton(Msg(text), this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        const bool tick = on;
        connect(b, &QPushButton::clicked, this, [this, tick] { Tick_All(tick); });
        top->addWidget(b);
    }
    layout->addLayout(top);

    LV_Messages = new QTreeWidget(this);
    LV_Messages->setObjectName(QStringLiteral("LV_Messages"));
    LV_Messages->setRootIsDecorated(false);
    LV_Messages->setColumnCount(Count);
    LV_Messages->setHeaderLabels(
        {Msg(M::Message), Msg(616), Msg(M::Size), Msg(M::Sender), Msg(M::Signals)});
    for (const Dbc_Message* m : Dbc_Pickable_Messages(file)) {
        const J1939_Id j =
            Split_J1939_Id(m->id, m->attributes.value(QStringLiteral("VFrameFormat")));
        auto* item = new QTreeWidgetItem(LV_Messages);
        item->setText(Name, m->name);
        item->setText(Pgn, j.extended
                               ? Pgn_Text(j)
                               : QStringLiteral("0x") + QString::number(j.can_id, 16).toUpper());
        item->setText(Size, QString::number(m->size));
        item->setTextAlignment(Size, Qt::AlignRight | Qt::AlignVCenter);
        item->setText(Sender, m->sender);
        item->setText(Signals, Signal_Summary(*m));
        QStringList all;
        for (const Dbc_Signal& s : m->signal_list)
            all << s.name;
        item->setToolTip(Signals, all.join(QLatin1Char('\n')));
        if (!m->comment.isEmpty())
            item->setToolTip(Name, m->comment);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Name, Qt::Unchecked);
    }
    for (int c = 0; c < Signals; ++c)
        LV_Messages->resizeColumnToContents(c);
    layout->addWidget(LV_Messages, 1);

    auto* address = new QHBoxLayout;
    auto* addressLabel = new QLabel(Msg(M::Source_Address), this);
    E_Source_Address = new QLineEdit(QString::number(Dbc_File_Source_Address(file)), this);
    E_Source_Address->setObjectName(QStringLiteral("E_Source_Address"));
    E_Source_Address->setMaximumWidth(80);
    addressLabel->setBuddy(E_Source_Address);
    L_Address_Warning = new QLabel(this);
    L_Address_Warning->setObjectName(QStringLiteral("L_Address_Warning"));
    L_Address_Warning->setWordWrap(true);
    L_Address_Warning->setStyleSheet(
        QStringLiteral("QLabel { background: #FFE39A; color: #4A3000; padding: 1px 4px; }"));
    address->addWidget(addressLabel);
    address->addWidget(E_Source_Address);
    address->addWidget(L_Address_Warning, 1);
    layout->addLayout(address);

    L_Count = new QLabel(this);
    L_Count->setObjectName(QStringLiteral("L_Count"));
    L_Refusal = new QLabel(this);
    L_Refusal->setObjectName(QStringLiteral("L_Refusal"));
    L_Refusal->setStyleSheet(QStringLiteral("QLabel { color: #B00020; font-weight: bold; }"));
    layout->addWidget(L_Count);
    layout->addWidget(L_Refusal);

    auto* buttons = new QDialogButtonBox(this);
    Btn_OK = buttons->addButton(Msg(602), QDialogButtonBox::AcceptRole);
    Btn_OK->setObjectName(QStringLiteral("Btn_OK"));
    QPushButton* cancel = buttons->addButton(Msg(603), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("Btn_Cancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        if (!m_plan.refusal)
            accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);

    connect(E_Search, &QLineEdit::textChanged, this, &Dbc_Picker_Dialog::Filter);
    connect(LV_Messages, &QTreeWidget::itemChanged, this, [this] { Update_Count(); });
    connect(E_Source_Address, &QLineEdit::textChanged, this, [this] { Update_Count(); });
    resize(760, 440);
    Update_Count();
}

QStringList Dbc_Picker_Dialog::Ticked() const
{
    QStringList names;
    for (int i = 0; i < LV_Messages->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = LV_Messages->topLevelItem(i);
        if (item->checkState(Name) == Qt::Checked)
            names << item->text(Name);
    }
    return names;
}

std::optional<int> Dbc_Picker_Dialog::Source_Address() const
{
    const int sa = Text_To_Int(E_Source_Address->text().trimmed(), -1);
    if (sa < 0 || sa > 255)
        return std::nullopt;
    return sa;
}

void Dbc_Picker_Dialog::Tick_All(bool on)
{
    // One count for the whole change, not one per message.
    const QSignalBlocker block(LV_Messages);
    for (int i = 0; i < LV_Messages->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = LV_Messages->topLevelItem(i);
        if (!item->isHidden())
            item->setCheckState(Name, on ? Qt::Checked : Qt::Unchecked);
    }
    Update_Count();
}

void Dbc_Picker_Dialog::Filter(const QString& text)
{
    const QString t = text.trimmed();
    for (int i = 0; i < LV_Messages->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = LV_Messages->topLevelItem(i);
        // The PGN in either base: "FEF1", "0xfef1" and "65265" all find it.
        const bool shown = t.isEmpty() || item->text(Name).contains(t, Qt::CaseInsensitive) ||
                           item->text(Pgn).contains(t, Qt::CaseInsensitive) ||
                           (t.startsWith(QLatin1String("0x"), Qt::CaseInsensitive) &&
                            item->text(Pgn).contains(t.mid(2), Qt::CaseInsensitive));
        item->setHidden(!shown);
    }
}

void Dbc_Picker_Dialog::Update_Count()
{
    namespace M = Import_Msg;
    const std::optional<int> sa = Source_Address();
    // An address that is no number is refused by the plan; -1 says so.
    m_plan = Plan_Dbc_Import(m_kind, m_table, m_reduced, m_file, Ticked(),
                             sa ? sa : std::optional<int>(-1));
    L_Address_Warning->setText(sa && *sa >= 0xFE ? Msg(M::Placeholder_Address) : QString());
    L_Address_Warning->setVisible(sa && *sa >= 0xFE);
    QString count = Msg(M::Ticked) + QString::number(Ticked().size()) + QStringLiteral(" · ") +
                    Msg(917) + QString::number(m_plan.added) + Msg(916) +
                    QString::number(m_plan.rows_left) + Msg(M::Left);
    if (m_plan.budget)
        count += QStringLiteral(" · ") + Msg(915) + QString::number(m_plan.bytes_used) + Msg(916) +
                 QString::number(Frame_Byte_Budget);
    L_Count->setText(count);
    L_Refusal->setText(m_plan.refusal ? Msg(m_plan.refusal) : QString());
    L_Refusal->setVisible(m_plan.refusal != 0);
    Btn_OK->setEnabled(m_plan.refusal == 0);
}
