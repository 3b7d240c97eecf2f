#include "configurations/UNew_Project.h"

#include "app/UComon.h"
#include "app/UserInteraction.h"
#include "configurations/ConfigFolders.h"
#include "language/ULanguage.h"
#include "widgets/Panels.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TFNew_Project::TFNew_Project(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FNew_Project"));
    Set_Fixed_Border(this);
    Set_Window_Look(this);
    const Dialog_Frame frame = New_Dialog_Frame(this);
    L_SW_Code = frame.code;
    L_SW_Desc = frame.subtitle;
    Btn_OK = frame.ok;
    Btn_Cancel = frame.cancel;
    // Enter is handled by the edit box alone, so that one key press is one attempt.
    for (QPushButton* b : {Btn_OK, Btn_Cancel}) {
        b->setAutoDefault(false);
        b->setDefault(false);
    }

    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    E_New_Proj = new QLineEdit(this);
    E_New_Proj->setObjectName(QStringLiteral("E_New_Proj"));
    frame.body->addWidget(Label1);
    frame.body->addWidget(E_New_Proj);
    frame.body->addStretch();

    connect(Btn_OK, &QPushButton::clicked, this, [this] { Guarded([this] { Btn_OKClick(); }); });
    connect(Btn_Cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(E_New_Proj, &QLineEdit::returnPressed, this,
            [this] { Guarded([this] { Btn_OKClick(); }); });

    setFixedSize(331, 162);
    Set_Lang();
}

void TFNew_Project::Set_Lang()
{
    setWindowTitle(Msg(100));
    L_SW_Desc->setText(Msg(101));
    Label1->setText(Msg(102));
    Btn_OK->setText(Msg(103));
    Btn_Cancel->setText(Msg(104));
    E_New_Proj->setToolTip(Msg(108));
    Btn_OK->setToolTip(Msg(109));
    Btn_Cancel->setToolTip(Msg(110));
}

void TFNew_Project::Btn_OKClick()
{
    const QString name = E_New_Proj->text();
    if (const int refusal = Create_Configuration_Folder(Shared.Dir_Projects, name)) {
        Ui().Error_Box(Refusal_Text(refusal, Shared.Dir_Projects));
        return;
    }
    Activate_Configuration(name);
    accept();
}

void TFNew_Project::FormShow()
{
    E_New_Proj->clear();
    if (E_New_Proj->isEnabled())
        E_New_Proj->setFocus();
    Centre_On_Screen(this);
}

void TFNew_Project::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    FormShow();
}
