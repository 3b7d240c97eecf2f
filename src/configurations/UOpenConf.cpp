#include "configurations/UOpenConf.h"

#include "app/UComon.h"
#include "app/UserInteraction.h"
#include "configurations/ConfigFolders.h"
#include "language/ULanguage.h"
#include "widgets/Panels.h"

#include <QAction>
#include <QDir>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

TFOpenConf::TFOpenConf(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FOpenConf"));
    Set_Window_Look(this);
    const Dialog_Frame frame = New_Dialog_Frame(this);
    L_SW_Code = frame.code;
    L_SW_Desc = frame.subtitle;
    Btn_OK = frame.ok;
    Btn_OK->setDefault(true);
    Btn_Cancel = frame.cancel;
    Btn_Cancel->setAutoDefault(false);

    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    E_Filter = new QLineEdit(this);
    E_Filter->setObjectName(QStringLiteral("E_Filter"));
    E_Filter->setClearButtonEnabled(true);
    E_Filter->installEventFilter(this);
    ListBox1 = new QListWidget(this);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    ListBox1->setSelectionMode(QAbstractItemView::SingleSelection);

    auto* actions = new QHBoxLayout;
    actions->setContentsMargins(0, 0, 0, 0);
    actions->setSpacing(6);
    for (auto [button, name] : {std::pair{&Btn_Duplicate, "Btn_Duplicate"},
                                std::pair{&Btn_Rename, "Btn_Rename"},
                                std::pair{&Btn_Delete, "Btn_Delete"}}) {
        *button = new QPushButton(this);
        (*button)->setObjectName(QLatin1String(name));
        (*button)->setAutoDefault(false); // Enter stays with OK
        actions->addWidget(*button);
    }
    actions->addStretch();

    L_Projects_Dir = new QLabel(this);
    L_Projects_Dir->setObjectName(QStringLiteral("L_Projects_Dir"));
    L_Projects_Dir->setTextInteractionFlags(Qt::TextSelectableByMouse);
    Set_Grey(L_Projects_Dir);
    // A long path is elided to the width the window gives, never widening the window.
    L_Projects_Dir->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);

    frame.body->addWidget(Label1);
    frame.body->addWidget(E_Filter);
    frame.body->addWidget(ListBox1, 1);
    frame.body->addLayout(actions);
    frame.body->addWidget(L_Projects_Dir);

    // The list's context menu holds the same commands; F2 and Delete work in the list.
    auto newAction = [this](const char* name, const QKeySequence& key) {
        auto* a = new QAction(ListBox1);
        a->setObjectName(QLatin1String(name));
        a->setShortcut(key);
        a->setShortcutContext(Qt::WidgetShortcut);
        ListBox1->addAction(a);
        return a;
    };
    Act_Open = newAction("Act_Open", {});
    Act_Duplicate = newAction("Act_Duplicate", {});
    Act_Rename = newAction("Act_Rename", QKeySequence(Qt::Key_F2));
    Act_Delete = newAction("Act_Delete", QKeySequence::Delete);
    ListBox1->setContextMenuPolicy(Qt::ActionsContextMenu);

    connect(ListBox1, &QListWidget::currentTextChanged, this, [this](const QString& text) {
        if (ListBox1->currentRow() >= 0)
            Name_Conf = text;
        Update_Buttons();
    });
    connect(ListBox1, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        Name_Conf = item->text();
        accept();
    });
    connect(E_Filter, &QLineEdit::textChanged, this, [this] { Apply_Filter(); });
    connect(Btn_OK, &QPushButton::clicked, this, &QDialog::accept);
    connect(Btn_Cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(Act_Open, &QAction::triggered, this, [this] {
        if (Btn_OK->isEnabled() && !Selected_Name().isEmpty())
            accept();
    });
    const auto guarded = [this](void (TFOpenConf::*handler)()) {
        return [this, handler] { Guarded([this, handler] { (this->*handler)(); }); };
    };
    connect(Btn_Duplicate, &QPushButton::clicked, this, guarded(&TFOpenConf::Btn_DuplicateClick));
    connect(Act_Duplicate, &QAction::triggered, this, guarded(&TFOpenConf::Btn_DuplicateClick));
    connect(Btn_Rename, &QPushButton::clicked, this, guarded(&TFOpenConf::Btn_RenameClick));
    connect(Act_Rename, &QAction::triggered, this, guarded(&TFOpenConf::Btn_RenameClick));
    connect(Btn_Delete, &QPushButton::clicked, this, guarded(&TFOpenConf::Btn_DeleteClick));
    connect(Act_Delete, &QAction::triggered, this, guarded(&TFOpenConf::Btn_DeleteClick));

    resize(377, 351);
    Set_Lang();
    Update_Buttons();
}

void TFOpenConf::Set_Lang()
{
    setWindowTitle(Msg(200));
    L_SW_Desc->setText(Msg(201));
    Label1->setText(Msg(202));
    Btn_OK->setText(Msg(203));
    Btn_Cancel->setText(Msg(204));
    ListBox1->setToolTip(Msg(205));
    Btn_OK->setToolTip(Msg(206));
    Btn_Cancel->setToolTip(Msg(207));
    Btn_Duplicate->setText(Msg(113));
    Btn_Rename->setText(Msg(114));
    Btn_Delete->setText(Msg(115));
    Btn_Duplicate->setToolTip(Msg(116));
    Btn_Rename->setToolTip(Msg(117));
    Btn_Delete->setToolTip(Msg(118));
    Act_Open->setText(Msg(119));
    Act_Duplicate->setText(Msg(113));
    Act_Rename->setText(Msg(114));
    Act_Delete->setText(Msg(115));
    E_Filter->setToolTip(Msg(120));
    E_Filter->setPlaceholderText(Msg(121));
    Show_Projects_Folder();
}

void TFOpenConf::Load_Existing_Configuration()
{
    SL = Configuration_Folders(Shared.Dir_Projects);
    Sort_Configuration_Names(SL);
}

int TFOpenConf::Search_Open_Conf(const QString& name) const
{
    return Search_Configuration(SL, name);
}

void TFOpenConf::FormShow()
{
    {
        const QSignalBlocker block(E_Filter);
        E_Filter->clear();
    }
    Refresh_List(QString());
    ListBox1->setFocus();
    Centre_On_Screen(this);
}

void TFOpenConf::Refresh_List(const QString& select)
{
    Load_Existing_Configuration();
    {
        // Rebuilding the list is no choice of the user's.
        const QSignalBlocker block(ListBox1);
        ListBox1->clear();
        ListBox1->addItems(SL);
    }
    int index = select.isEmpty() ? -1 : int(SL.indexOf(select));
    if (index < 0)
        index = Search_Open_Conf(Active_Configuration_Name());
    if (index < 0 && !SL.isEmpty())
        index = 0;
    if (index >= 0) {
        ListBox1->setCurrentRow(index);
        Name_Conf = SL[index];
    }
    if (!select.isEmpty() && index >= 0 && SL[index] == select
        && !SL[index].contains(E_Filter->text(), Qt::CaseInsensitive)) {
        // The configuration just made must not vanish behind the filter.
        const QSignalBlocker block(E_Filter);
        E_Filter->clear();
    }
    Apply_Filter();
    Show_Projects_Folder();
}

void TFOpenConf::Apply_Filter()
{
    const QString filter = E_Filter->text();
    int firstShown = -1;
    for (int i = 0; i < ListBox1->count(); ++i) {
        QListWidgetItem* item = ListBox1->item(i);
        item->setHidden(!item->text().contains(filter, Qt::CaseInsensitive));
        if (!item->isHidden() && firstShown < 0)
            firstShown = i;
    }
    QListWidgetItem* current = ListBox1->currentItem();
    if (!current || current->isHidden()) {
        if (firstShown >= 0) {
            ListBox1->setCurrentRow(firstShown);
        } else {
            // Nothing matches: nothing may be opened by Enter, and Name_Conf stays as it was.
            const QSignalBlocker block(ListBox1);
            ListBox1->setCurrentRow(-1);
        }
    }
    Update_Buttons();
}

void TFOpenConf::Update_Buttons()
{
    const bool selected = !Selected_Name().isEmpty();
    for (QPushButton* b : {Btn_Duplicate, Btn_Rename, Btn_Delete})
        b->setEnabled(selected);
    for (QAction* a : {Act_Open, Act_Duplicate, Act_Rename, Act_Delete})
        a->setEnabled(selected);
    // An empty list still opens the name held from before; a filter matching nothing does not.
    Btn_OK->setEnabled(selected || E_Filter->text().isEmpty());
}

void TFOpenConf::Show_Projects_Folder()
{
    const QString path = QDir::toNativeSeparators(Shared.Dir_Projects);
    L_Projects_Dir->setToolTip(Msg(122) + path);
    // The path gives way in its middle; its beginning and the folder's own name stay.
    const QFontMetrics metrics = L_Projects_Dir->fontMetrics();
    const int room = L_Projects_Dir->contentsRect().width() - metrics.horizontalAdvance(Msg(122));
    L_Projects_Dir->setText(Msg(122)
                            + (room > 0 ? metrics.elidedText(path, Qt::ElideMiddle, room) : path));
}

QString TFOpenConf::Selected_Name() const
{
    const QListWidgetItem* item = ListBox1->currentItem();
    return item && !item->isHidden() ? item->text() : QString();
}

QString TFOpenConf::Ask_Name(int title, int prompt, const QString& current,
                             const std::function<int(const QString&)>& act)
{
    QInputDialog ask(this);
    ask.setObjectName(QStringLiteral("FConf_Name"));
    ask.setInputMode(QInputDialog::TextInput);
    ask.setWindowTitle(Msg(title));
    ask.setLabelText(Msg(prompt) + current);
    ask.setOkButtonText(Msg(Msg_Box_Yes + 2));
    ask.setCancelButtonText(Msg(Msg_Box_Yes + 3));
    QString name = current;
    for (;;) {
        ask.setTextValue(name);
        if (Ui().Show_Modal(&ask) != QDialog::Accepted)
            return {};
        name = ask.textValue(); // exactly as typed, as a new configuration's name is taken
        const int refusal = act(name);
        if (refusal == 0)
            return name;
        Ui().Error_Box(Refusal_Text(refusal, Shared.Dir_Projects));
    }
}

void TFOpenConf::Btn_DuplicateClick()
{
    const QString from = Selected_Name();
    if (from.isEmpty())
        return;
    const QString made = Ask_Name(123, 124, from, [&](const QString& to) {
        return Duplicate_Configuration(Shared.Dir_Projects, from, to);
    });
    Refresh_List(made.isEmpty() ? from : made);
}

void TFOpenConf::Btn_RenameClick()
{
    const QString from = Selected_Name();
    if (from.isEmpty())
        return;
    const QString made = Ask_Name(125, 126, from, [&](const QString& to) {
        return Rename_Configuration(Shared.Dir_Projects, from, to);
    });
    if (!made.isEmpty() && Name_Conf == from)
        Name_Conf = made;
    Refresh_List(made.isEmpty() ? from : made);
}

void TFOpenConf::Btn_DeleteClick()
{
    const QString name = Selected_Name();
    if (name.isEmpty())
        return;
    const bool active = Is_Active_Configuration(Shared.Dir_Projects, name);
    if (!Ui().Confirm_Box(Msg(active ? 129 : 127) + name + Msg(128)))
        return;
    try {
        Delete_Configuration(Shared.Dir_Projects, name);
    } catch (...) {
        Refresh_List(name);
        throw;
    }
    if (Name_Conf == name)
        Name_Conf.clear();
    Refresh_List(QString());
}

void TFOpenConf::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    FormShow();
}

void TFOpenConf::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    Show_Projects_Folder();
}

bool TFOpenConf::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == E_Filter && event->type() == QEvent::KeyPress
        && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Down) {
        ListBox1->setFocus();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}
