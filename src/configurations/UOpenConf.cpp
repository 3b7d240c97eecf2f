#include "configurations/UOpenConf.h"

#include "app/UComon.h"
#include "configurations/ConfigFolders.h"
#include "language/ULanguage.h"
#include "widgets/Panels.h"

#include <QLabel>
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
    ListBox1 = new QListWidget(this);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    ListBox1->setSelectionMode(QAbstractItemView::SingleSelection);
    frame.body->addWidget(Label1);
    frame.body->addWidget(ListBox1, 1);

    connect(ListBox1, &QListWidget::currentTextChanged, this, [this](const QString& text) {
        if (ListBox1->currentRow() >= 0)
            Name_Conf = text;
    });
    connect(Btn_OK, &QPushButton::clicked, this, &QDialog::accept);
    connect(Btn_Cancel, &QPushButton::clicked, this, &QDialog::reject);

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
    return Search_Configuration(SL, name);
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
    Centre_On_Screen(this);
}

void TFOpenConf::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    FormShow();
}
