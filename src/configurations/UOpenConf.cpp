#include "configurations/UOpenConf.h"

#include "app/UComon.h"
#include "configurations/ConfigFolders.h"
#include "language/ULanguage.h"
#include "widgets/Panels.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QVBoxLayout>

TFOpenConf::TFOpenConf(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("FOpenConf"));
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Window_Colour);
    setPalette(pal);
    setStyleSheet(QString::fromLatin1(Button_Style));

    QFrame* title = New_Panel(this, "P_Title", Qt::white);
    L_SW_Code = new QLabel(title);
    L_SW_Code->setObjectName(QStringLiteral("L_SW_Code"));
    Set_Large_Grey(L_SW_Code);
    L_SW_Desc = new QLabel(title);
    L_SW_Desc->setObjectName(QStringLiteral("L_SW_Desc"));
    Set_Bold_Grey(L_SW_Desc);
    auto* titleLayout = new QVBoxLayout(title);
    titleLayout->setContentsMargins(10, 4, 10, 4);
    titleLayout->setSpacing(0);
    titleLayout->addWidget(L_SW_Code);
    titleLayout->addWidget(L_SW_Desc);

    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    ListBox1 = new QListWidget(this);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    ListBox1->setSelectionMode(QAbstractItemView::SingleSelection);

    QFrame* buttons = New_Panel(this, "P_Buttons", Window_Colour);
    Btn_OK = new QPushButton(buttons);
    Btn_OK->setObjectName(QStringLiteral("Btn_OK"));
    Btn_OK->setDefault(true);
    Btn_Cancel = new QPushButton(buttons);
    Btn_Cancel->setObjectName(QStringLiteral("Btn_Cancel"));
    Btn_Cancel->setAutoDefault(false);
    for (QPushButton* b : {Btn_OK, Btn_Cancel})
        b->setMinimumWidth(80);
    auto* buttonLayout = new QHBoxLayout(buttons);
    buttonLayout->setContentsMargins(10, 6, 10, 6);
    buttonLayout->addStretch();
    buttonLayout->addWidget(Btn_OK);
    buttonLayout->addWidget(Btn_Cancel);

    auto* middle = new QVBoxLayout;
    middle->setContentsMargins(10, 8, 10, 8);
    middle->addWidget(Label1);
    middle->addWidget(ListBox1, 1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(title);
    layout->addLayout(middle, 1);
    layout->addWidget(buttons);

    connect(ListBox1, &QListWidget::currentTextChanged, this, [this](const QString& text) {
        if (ListBox1->currentRow() >= 0)
            Name_Conf = text;
    });
    connect(Btn_OK, &QPushButton::clicked, this, &QDialog::accept);
    connect(Btn_Cancel, &QPushButton::clicked, this, &QDialog::reject);

    L_SW_Code->setText(Shared.SW_Code);
    resize(377, 351);
    Set_Lang();
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
}

void TFOpenConf::Load_Existing_Configuration()
{
    SL = Configuration_Folders(Shared.Dir_Projects);
}

int TFOpenConf::Search_Open_Conf(const QString& name) const
{
    return Search_Name_Ignoring_Case(SL, name);
}

void TFOpenConf::FormShow()
{
    Load_Existing_Configuration();
    {
        // Rebuilding the list is no choice of the user's.
        const QSignalBlocker block(ListBox1);
        ListBox1->clear();
        ListBox1->addItems(SL);
    }
    int index = Search_Open_Conf(Active_Configuration_Name());
    if (index < 0 && !SL.isEmpty())
        index = 0;
    if (index >= 0) {
        ListBox1->setCurrentRow(index);
        Name_Conf = SL[index];
    }
    ListBox1->setFocus();
    if (const QScreen* s = screen())
        move(s->availableGeometry().center() - rect().center());
}

void TFOpenConf::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    FormShow();
}
