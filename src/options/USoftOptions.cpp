#include "options/USoftOptions.h"

#include "app/UComon.h"
#include "app/UTessaformeFirmWare.h"
#include "app/UserInteraction.h"
#include "app/Windows.h"
#include "language/ULanguage.h"
#include "options/LanguageList.h"
#include "options/VersionCheck.h"
#include "widgets/ClickLabel.h"
#include "widgets/Panels.h"

#include <QApplication>
#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QScopeGuard>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

constexpr int Flag_Size = 48;

QLabel* New_Label(QWidget* parent, const char* name)
{
    auto* l = new QLabel(parent);
    l->setObjectName(QLatin1String(name));
    return l;
}

QPushButton* New_Button(QWidget* parent, const char* name)
{
    auto* b = new QPushButton(parent);
    b->setObjectName(QLatin1String(name));
    b->setAutoDefault(false);
    return b;
}

QCheckBox* New_Check(QWidget* parent, const char* name)
{
    auto* c = new QCheckBox(parent);
    c->setObjectName(QLatin1String(name));
    return c;
}

// Keeps a hidden control's place, so the page does not jump when slots come and go.
void Keep_Place(QWidget* w)
{
    QSizePolicy p = w->sizePolicy();
    p.setRetainSizeWhenHidden(true);
    w->setSizePolicy(p);
}

// One half of a language slot: the flag or the name.
Click_Label* New_Slot(QWidget* parent, const QString& name)
{
    auto* l = new Click_Label(parent);
    l->setObjectName(name);
    Keep_Place(l);
    return l;
}

// The flag drawn transparent: the colour of its bottom-left pixel is left out. A picture
// larger than its place is scaled down to fit; a smaller one is centred.
QPixmap Flag_Pixmap(const QString& path)
{
    QImage img(path);
    if (img.isNull())
        return {};
    const QColor key = img.pixelColor(0, img.height() - 1);
    QPixmap pix = QPixmap::fromImage(img);
    pix.setMask(pix.createMaskFromColor(key, Qt::MaskInColor));
    if (pix.width() > Flag_Size || pix.height() > Flag_Size)
        pix = pix.scaled(Flag_Size, Flag_Size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    return pix;
}

} // namespace

TFSoftOptions::TFSoftOptions(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FSoftOptions"));
    Set_Fixed_Border(this);
    Set_Window_Look(this);
    const Dialog_Frame frame = New_Dialog_Frame(this);
    L_SW_Code = frame.code;
    L_SW_Desc = frame.subtitle;
    Btn_OK = frame.ok;
    Btn_OK->setDefault(true);
    Btn_Cancel = frame.cancel;
    Btn_Cancel->setAutoDefault(false);
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    PC_Options = new QTabWidget(this);
    PC_Options->setObjectName(QStringLiteral("PC_Options"));
    frame.body->addWidget(PC_Options);

    // Language tab.
    TS_Language = new QWidget;
    TS_Language->setObjectName(QStringLiteral("TS_Language"));
    auto* langLayout = new QVBoxLayout(TS_Language);
    L_Sel_Lang = New_Label(TS_Language, "L_Sel_Lang");
    langLayout->addWidget(L_Sel_Lang);
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(24);
    grid->setVerticalSpacing(8);
    for (int k = 0; k < Languages_Per_Page; ++k) {
        I_L[k] = New_Slot(TS_Language, QStringLiteral("I_L%1").arg(k + 1));
        I_L[k]->setFixedSize(Flag_Size, Flag_Size);
        I_L[k]->setAlignment(Qt::AlignCenter);
        L_L[k] = New_Slot(TS_Language, QStringLiteral("L_L%1").arg(k + 1));
        L_L[k]->setMinimumWidth(150);
        for (Click_Label* w : {I_L[k], L_L[k]})
            connect(w, &Click_Label::clicked, this, [this, w] { Guarded([&] { LangClick(w); }); });
        auto* slot = new QHBoxLayout;
        slot->setSpacing(10);
        slot->addWidget(I_L[k]);
        slot->addWidget(L_L[k], 1);
        // Slots 1 to 3 form the left column, 4 to 6 the right one.
        grid->addLayout(slot, k % 3, k / 3);
    }
    langLayout->addLayout(grid);
    langLayout->addStretch(1);
    auto* pageRow = new QHBoxLayout;
    Btn_Prev = New_Button(TS_Language, "Btn_Prev");
    Btn_Next = New_Button(TS_Language, "Btn_Next");
    L_Page_Lang = New_Label(TS_Language, "L_Page_Lang");
    L_Page_Lang->setAlignment(Qt::AlignCenter);
    Keep_Place(Btn_Prev);
    Keep_Place(Btn_Next);
    pageRow->addWidget(Btn_Prev);
    pageRow->addWidget(L_Page_Lang, 1);
    pageRow->addWidget(Btn_Next);
    langLayout->addLayout(pageRow);
    PC_Options->addTab(TS_Language, QString());

    // Connection tab.
    TS_Con_Options = new QWidget;
    TS_Con_Options->setObjectName(QStringLiteral("TS_Con_Options"));
    auto* conLayout = new QVBoxLayout(TS_Con_Options);
    CB_En_Con = New_Check(TS_Con_Options, "CB_En_Con");
    CB_Update = New_Check(TS_Con_Options, "CB_Update");
    Btn_Check_Update = New_Button(TS_Con_Options, "Btn_Check_Update");
    LL_Check_Update = New_Label(TS_Con_Options, "LL_Check_Update");
    LL_Check_Update->setTextInteractionFlags(Qt::LinksAccessibleByMouse);
    Keep_Place(LL_Check_Update);
    conLayout->addWidget(CB_En_Con);
    conLayout->addWidget(CB_Update);
    conLayout->addSpacing(12);
    auto* checkRow = new QHBoxLayout;
    checkRow->addWidget(Btn_Check_Update);
    checkRow->addStretch(1);
    conLayout->addLayout(checkRow);
    conLayout->addWidget(LL_Check_Update);
    conLayout->addStretch(1);
    PC_Options->addTab(TS_Con_Options, QString());

    // Table settings tab.
    TS_Soft_Settings = new QWidget;
    TS_Soft_Settings->setObjectName(QStringLiteral("TS_Soft_Settings"));
    auto* softLayout = new QVBoxLayout(TS_Soft_Settings);
    CB_Soft_Set_Jump_Table = New_Check(TS_Soft_Settings, "CB_Soft_Set_Jump_Table");
    CB_DoubleClick_Auto_Size = New_Check(TS_Soft_Settings, "CB_DoubleClick_Auto_Size");
    softLayout->addWidget(CB_Soft_Set_Jump_Table);
    softLayout->addWidget(CB_DoubleClick_Auto_Size);
    softLayout->addStretch(1);
    PC_Options->addTab(TS_Soft_Settings, QString());
    PC_Options->setMinimumSize(520, 270);

    connect(Btn_Prev, &QPushButton::clicked, this, [this] { Btn_NextClick(Btn_Prev); });
    connect(Btn_Next, &QPushButton::clicked, this, [this] { Btn_NextClick(Btn_Next); });
    for (QCheckBox* c : {CB_En_Con, CB_Update, CB_Soft_Set_Jump_Table, CB_DoubleClick_Auto_Size})
        connect(c, &QCheckBox::toggled, this, [this] { Update_CheckBox(); });
    connect(Btn_Check_Update, &QPushButton::clicked, this,
            [this] { Guarded([this] { Btn_Check_UpdateClick(); }); });
    connect(LL_Check_Update, &QLabel::linkActivated, this,
            [this](const QString& link) { Guarded([&] { LL_Check_UpdateLinkClick(link); }); });
    connect(Btn_OK, &QPushButton::clicked, this, [this] { Btn_OKClick(); });
    connect(Btn_Cancel, &QPushButton::clicked, this, &QDialog::reject);

    FormCreate();
}

void TFSoftOptions::FormCreate()
{
    SL_Languages.clear();
    L_SW_Code->setText(Shared.SW_Code);
    Set_Lang();
}

void TFSoftOptions::Set_Lang()
{
    setWindowTitle(Msg(300));
    L_SW_Desc->setText(Msg(301));
    PC_Options->setTabText(PC_Options->indexOf(TS_Language), Msg(302));
    PC_Options->setTabText(PC_Options->indexOf(TS_Con_Options), Msg(303));
    L_Sel_Lang->setText(Msg(304));
    L_Page_Lang->setText(Msg(305) + QStringLiteral("1") + Msg(306) + QStringLiteral("1"));
    Btn_Prev->setText(Msg(307));
    Btn_Next->setText(Msg(308));
    CB_En_Con->setText(Msg(309));
    CB_Update->setText(Msg(310));
    Btn_Check_Update->setText(Msg(311));
    Btn_OK->setText(Msg(312));
    Btn_Cancel->setText(Msg(313));
    PC_Options->setTabText(PC_Options->indexOf(TS_Soft_Settings), Msg(319));
    CB_Soft_Set_Jump_Table->setText(Msg(320));
    CB_DoubleClick_Auto_Size->setText(Msg(321));
}

void TFSoftOptions::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    FormShow();
    Centre_On_Screen(this);
}

void TFSoftOptions::FormShow()
{
    Language_In_Use = Shared.Language_Name;
    Create_Lang_List();
    Update_CheckBox();
    LL_Check_Update->hide();
    PC_Options->setCurrentWidget(TS_Language);
    CB_En_Con->setChecked(Shared.Enable_Internet);
    CB_Update->setChecked(Shared.Enable_Update);
    CB_Soft_Set_Jump_Table->setChecked(Shared.Enable_Jump_Field_Tables);
    CB_DoubleClick_Auto_Size->setChecked(Shared.Double_Click_Auto_Size);
    Update_CheckBox(); // also when no box changed its state
}

void TFSoftOptions::Create_Lang_List()
{
    SL_Languages = List_Language_Files(Shared.Dir_Language);
    Show_Page = 1;
    Update_Lang_Page(Show_Page);
}

void TFSoftOptions::Show_Page_Label(int Num_Page)
{
    L_Sel_Lang->setText(Msg(304) + Language_In_Use);
    L_Page_Lang->setText(Msg(305) + QString::number(Num_Page) + Msg(306) +
                         QString::number(Language_Page_Count(int(SL_Languages.size()))));
}

void TFSoftOptions::Update_Lang_Page(int Num_Page)
{
    const int count = int(SL_Languages.size());
    Show_Page_Label(Num_Page);
    Btn_Prev->setVisible(Num_Page != 1);
    Btn_Next->setVisible(Num_Page != Language_Page_Count(count));
    const int shown = Languages_On_Page(count, Num_Page);
    for (int k = 0; k < Languages_Per_Page; ++k) {
        if (k >= shown) {
            I_L[k]->hide();
            L_L[k]->hide();
            continue;
        }
        const QString name =
            Language_Of_File(SL_Languages.at((Num_Page - 1) * Languages_Per_Page + k));
        L_L[k]->setText(name);
        L_L[k]->show();
        const QString flag = Flag_Picture_Path(Shared.Dir_Language, name);
        const QPixmap pix = flag.isEmpty() ? QPixmap() : Flag_Pixmap(flag);
        I_L[k]->setPixmap(pix);
        I_L[k]->setVisible(!pix.isNull());
    }
}

void TFSoftOptions::Btn_NextClick(QObject* Sender)
{
    const int pages = Language_Page_Count(int(SL_Languages.size()));
    if (Sender == Btn_Next && Show_Page + 1 <= pages)
        ++Show_Page;
    else if (Sender == Btn_Prev && Show_Page >= 2)
        --Show_Page;
    Update_Lang_Page(Show_Page);
}

int TFSoftOptions::Slot_Of(QObject* control) const
{
    for (int k = 0; k < Languages_Per_Page; ++k) {
        if (control == I_L[k] || control == L_L[k])
            return k;
    }
    return -1;
}

void TFSoftOptions::LangClick(QObject* Sender)
{
    const int k = Slot_Of(Sender);
    const qsizetype entry = qsizetype(Show_Page - 1) * Languages_Per_Page + k;
    if (k < 0 || entry >= SL_Languages.size())
        return;
    const QString N = Language_Of_File(SL_Languages.at(entry));
    if (N == Language_In_Use)
        return;
    if (!Ui().Confirm_Box(Msg(316) + Language_In_Use + Msg(317) + N + Msg(318)))
        return;
    Language_In_Use = N;

    // The new texts show at once; Language_Name changes only with OK.
    const QString kept = Shared.Language_Name;
    Shared.Language_Name = N;
    Load_Language();
    Shared.Language_Name = kept;
    Refresh_Texts();
}

void TFSoftOptions::Refresh_Texts()
{
    if (Forms.FTessaformeFirmWare)
        Forms.FTessaformeFirmWare->Change_Language(); // this window's Set_Lang included
    else
        Set_Lang();
    Show_Page_Label(Show_Page);
}

void TFSoftOptions::reject()
{
    if (Language_In_Use != Shared.Language_Name) {
        Language_In_Use = Shared.Language_Name;
        Guarded([this] {
            Load_Language();
            Refresh_Texts();
        });
    }
    QDialog::reject();
}

void TFSoftOptions::Update_CheckBox()
{
    if (CB_En_Con->isChecked()) {
        CB_Update->setEnabled(true);
    } else {
        CB_Update->setEnabled(false); // keeps its check mark
        Btn_Check_Update->setEnabled(false);
    }
    Btn_Check_Update->setEnabled(CB_Update->isEnabled() && CB_Update->isChecked());
}

void TFSoftOptions::Btn_Check_UpdateClick()
{
    bool newer = false;
    {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        const auto restore = qScopeGuard([] { QApplication::restoreOverrideCursor(); });
        newer = Check_Version();
    }
    LL_Check_Update->setTextFormat(newer ? Qt::RichText : Qt::PlainText);
    LL_Check_Update->setText(newer ? Download_Link_Html(Msg(314)) : Msg(315));
    LL_Check_Update->show();
}

void TFSoftOptions::LL_Check_UpdateLinkClick(const QString& link)
{
    Ui().Open_Url(link);
}

void TFSoftOptions::Btn_OKClick()
{
    Shared.Language_Name = Language_In_Use;
    Shared.Enable_Internet = CB_En_Con->isChecked();
    Shared.Enable_Update = CB_Update->isChecked(); // also when it is disabled
    Shared.Enable_Jump_Field_Tables = CB_Soft_Set_Jump_Table->isChecked();
    Shared.Double_Click_Auto_Size = CB_DoubleClick_Auto_Size->isChecked();
    accept();
}
