#include "configurations/UNew_Project.h"

#include "app/UComon.h"
#include "app/UserInteraction.h"
#include "configurations/ConfigFolders.h"
#include "language/ULanguage.h"
#include "widgets/Panels.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

TFNew_Project::TFNew_Project(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("FNew_Project"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                   | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
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
    E_New_Proj = new QLineEdit(this);
    E_New_Proj->setObjectName(QStringLiteral("E_New_Proj"));

    QFrame* buttons = New_Panel(this, "P_Buttons", Window_Colour);
    Btn_OK = new QPushButton(buttons);
    Btn_OK->setObjectName(QStringLiteral("Btn_OK"));
    Btn_Cancel = new QPushButton(buttons);
    Btn_Cancel->setObjectName(QStringLiteral("Btn_Cancel"));
    // Enter is handled by the edit box alone, so that one key press is one attempt.
    for (QPushButton* b : {Btn_OK, Btn_Cancel}) {
        b->setAutoDefault(false);
        b->setDefault(false);
        b->setMinimumWidth(80);
    }
    auto* buttonLayout = new QHBoxLayout(buttons);
    buttonLayout->setContentsMargins(10, 6, 10, 6);
    buttonLayout->addStretch();
    buttonLayout->addWidget(Btn_OK);
    buttonLayout->addWidget(Btn_Cancel);

    auto* middle = new QVBoxLayout;
    middle->setContentsMargins(10, 8, 10, 8);
    middle->addWidget(Label1);
    middle->addWidget(E_New_Proj);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(title);
    layout->addLayout(middle);
    layout->addStretch();
    layout->addWidget(buttons);

    connect(Btn_OK, &QPushButton::clicked, this, [this] { Guarded([this] { Btn_OKClick(); }); });
    connect(Btn_Cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(E_New_Proj, &QLineEdit::returnPressed, this,
            [this] { Guarded([this] { Btn_OKClick(); }); });

    L_SW_Code->setText(Shared.SW_Code);
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
        Ui().Error_Box(Msg(refusal));
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
    if (const QScreen* s = screen())
        move(s->availableGeometry().center() - rect().center());
}

void TFNew_Project::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    FormShow();
}
