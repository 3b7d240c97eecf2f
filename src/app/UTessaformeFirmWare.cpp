#include "app/UTessaformeFirmWare.h"

#include "app/Settings.h"
#include "app/UComon.h"
#include "app/UserInteraction.h"
#include "app/Windows.h"
#include "buscheck/UBusCheck.h"
#include "compiler/USaveBincc.h"
#include "configurations/ConfigFiles.h"
#include "configurations/ConfigFolders.h"
#include "configurations/UCompareConf.h"
#include "configurations/UNew_Project.h"
#include "configurations/UOpenConf.h"
#include "editors/UParGen.h"
#include "editors/UReceive_J1939_Frames.h"
#include "editors/UTransmit_J1939_Frames.h"
#include "language/ULanguage.h"
#include "options/UAbout.h"
#include "options/USoftOptions.h"
#include "options/UpdateTimer.h"
#include "options/VersionCheck.h"
#include "report/ReportActions.h"
#include "update/ModifyFileSx.h"
#include "update/UBoot.h"
#include "widgets/ClickLabel.h"
#include "widgets/Panels.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QFrame>
#include <QIcon>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QShortcut>
#include <QToolButton>
#include <QTimer>
#include <QUrl>

namespace {

constexpr int Step_Button_Width = 170;
constexpr int Step_Button_Height = 36;
constexpr int Picture_Button_Size = 50;

// Step buttons carry their picture left of a left-aligned caption; the three picture buttons
// only a picture.
const char* const Main_Button_Style =
    "QPushButton { text-align: left; padding-left: 6px; }"
    "QPushButton#Btn_Info, QPushButton#Btn_Opz, QPushButton#Btn_Close"
    " { text-align: center; padding: 0px; }";

} // namespace

TFTessaformeFirmWare::TFTessaformeFirmWare(const QString& programDir, QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("FTessaformeFirmWare"));
    Init_Pictures();
    setWindowFlags(Qt::Window);
    Set_Fixed_Border(this);
    setWindowIcon(QIcon(QStringLiteral(":/pictures/icon.png")));
    Set_Window_Look(this, QString::fromLatin1(Main_Button_Style));
    Create_Controls();
    Create_Shortcuts();
    FormCreate(programDir);
    Centre_On_Screen(this);
}

QLabel* TFTessaformeFirmWare::New_Label(const char* name)
{
    auto* label = new QLabel(this);
    label->setObjectName(QString::fromLatin1(name));
    return label;
}

QPushButton* TFTessaformeFirmWare::New_Button(const char* name, const char* picture)
{
    auto* button = new QPushButton(this);
    button->setObjectName(QString::fromLatin1(name));
    button->setIcon(QIcon(QStringLiteral(":/pictures/") + QString::fromLatin1(picture)));
    button->setFocusPolicy(Qt::TabFocus);
    connect(button, &QPushButton::clicked, this,
            [this, button] { Guarded([this, button] { Btn_Click(button); }); });
    return button;
}

void TFTessaformeFirmWare::Create_Controls()
{
    // Frames first, so that the labels inside them are drawn above.
    Shape2 = new QFrame(this);
    Shape2->setObjectName(QStringLiteral("Shape2"));
    Shape2->setStyleSheet(QStringLiteral(
        "#Shape2 { border: 1px solid rgb(192, 192, 192); background: transparent; }"));
    Shape1 = new QFrame(this);
    Shape1->setObjectName(QStringLiteral("Shape1"));
    Shape1->setStyleSheet(QStringLiteral("#Shape1 { background-color: rgb(160, 160, 160); }"));

    L_SW_Code = New_Label("L_SW_Code");
    Set_Large_Grey(L_SW_Code);
    L_SW_Desc = New_Label("L_SW_Desc");
    Set_Bold_Grey(L_SW_Desc);
    L_Name_Conf = New_Label("L_Name_Conf");
    Set_Grey(L_Name_Conf);
    L_Name_Conf_L2 = New_Label("L_Name_Conf_L2");
    Set_Grey(L_Name_Conf_L2);
    L_Begin = New_Label("L_Begin");
    Set_Bold_Grey(L_Begin);
    for (int i = 0; i < 8; ++i) {
        L_Step[i] = New_Label(QStringLiteral("L_Step_%1").arg(i + 1).toLatin1().constData());
        Set_Bold_Grey(L_Step[i]);
    }

    Btn_New = New_Button("Btn_New", "new.png");
    Btn_Open = New_Button("Btn_Open", "open.png");
    Btn_Prm_Gen = New_Button("Btn_Prm_Gen", "prm_gen.png");
    Btn_J1939_Rec_Frame = New_Button("Btn_J1939_Rec_Frame", "rec_frame.png");
    Btn_J1939_Send_Frame = New_Button("Btn_J1939_Send_Frame", "send_frame.png");
    Btn_CreateBin = New_Button("Btn_CreateBin", "create_bin.png");
    for (QPushButton* b : {Btn_New, Btn_Open, Btn_Prm_Gen, Btn_J1939_Rec_Frame,
                           Btn_J1939_Send_Frame, Btn_CreateBin}) {
        b->setIconSize(QSize(28, 28));
        b->installEventFilter(this); // their hints are kept but not shown
    }
    Btn_Info = New_Button("Btn_Info", "info.png");
    Btn_Opz = New_Button("Btn_Opz", "options.png");
    Btn_Close = New_Button("Btn_Close", "close.png");
    for (QPushButton* b : {Btn_Info, Btn_Opz, Btn_Close})
        b->setIconSize(QSize(40, 40));
    // Kept apart from the workflow's own controls, in the free space at the right.
    Btn_Tools = new QToolButton(this);
    Btn_Tools->setObjectName(QStringLiteral("Btn_Tools"));
    Btn_Tools->setPopupMode(QToolButton::InstantPopup);
    Btn_Tools->setToolButtonStyle(Qt::ToolButtonTextOnly);
    Btn_Tools->setFocusPolicy(Qt::TabFocus);
    Tools = new QMenu(Btn_Tools);
    Tools->setObjectName(QStringLiteral("Tools_Menu"));
    Btn_Tools->setMenu(Tools);
    Act_Compare = Tools->addAction(QString());
    Act_Compare->setObjectName(QStringLiteral("Act_Compare"));
    connect(Act_Compare, &QAction::triggered, this, [this] {
        Guarded([this] {
            if (!FCompareConf)
                FCompareConf = new TFCompareConf(this);
            Ui().Show_Modal(FCompareConf);
        });
    });
    A_Bus_Check = Tools->addAction(QString());
    A_Bus_Check->setObjectName(QStringLiteral("A_Bus_Check"));
    connect(A_Bus_Check, &QAction::triggered, this, [this] {
        if (Shared.Conf_Dir.isEmpty()) {
            Ui().Error_Box(Msg(18));
            return;
        }
        Guarded([&] {
            TFBus_Check& w = Bus_Check_Window(this);
            // No receive editor is open here: the check shows, "Add to Table" waits for it.
            w.Open_For(Shared.Conf_Dir, nullptr);
            Ui().Show_Modal(&w);
        });
    });
    Act_Report_Pdf = Tools->addAction(QString(), this, [this] { Save_Report_Pdf(this); });
    Act_Report_Pdf->setObjectName(QStringLiteral("Act_Report_Pdf"));
    Act_Report_Print = Tools->addAction(QString(), this, [this] { Print_Report(this); });
    Act_Report_Print->setObjectName(QStringLiteral("Act_Report_Print"));
    // The report is of the active configuration.
    connect(Tools, &QMenu::aboutToShow, this, [this] {
        for (QAction* a : {Act_Report_Pdf, Act_Report_Print})
            a->setEnabled(!Shared.Conf_Dir.isEmpty());
    });

    L_Zorvek = new Click_Label(this);
    L_Zorvek->setObjectName(QStringLiteral("L_Zorvek"));
    Set_Bold_Grey(L_Zorvek);
    QFont small = L_Zorvek->font();
    small.setPixelSize(10); // the address must fit between its column and the window's edge
    L_Zorvek->setFont(small);
    L_Zorvek->setText(QUrl(Maker_Site).host());
    connect(L_Zorvek, &Click_Label::clicked, this,
            [this] { Guarded([this] { L_ZorvekClick(); }); });

    LL_Update = New_Label("LL_Update");
    LL_Update->setTextFormat(Qt::RichText);
    LL_Update->setTextInteractionFlags(Qt::LinksAccessibleByMouse);
    LL_Update->setOpenExternalLinks(false);
    connect(LL_Update, &QLabel::linkActivated, this,
            [this](const QString& link) { Guarded([this, &link] { LL_UpdateLinkClick(link); }); });

    Timer_Update = new QTimer(this);
    Timer_Update->setObjectName(QStringLiteral("Timer_Update"));
    Timer_Update->setInterval(Update_First_Interval_Ms);
    connect(Timer_Update, &QTimer::timeout, this,
            [this] { Guarded([this] { Timer_UpdateTimer(); }); });
}

void TFTessaformeFirmWare::FormCreate(const QString& programDir)
{
    // 1. An empty string table until the language is loaded.
    Shared.Lang_Table.clear();
    // 2.
    Layout_Controls();
    // 3.
    Set_Program_Folders(programDir);
    // 4, 5. A settings file that cannot be parsed is reported; start-up goes on with the
    // defaults of a missing file.
    Shared.Conf_Name.clear();
    QString settingsError;
    try {
        Read_Settings();
    } catch (const std::exception& e) {
        Set_Settings_Defaults();
        settingsError = Error_Text(e);
    }
    // 6.
    Set_Timer_Enabled(Shared.Enable_Internet && Shared.Enable_Update);
    // 7.
    Shared.Title_Program = Title_Program_Text;
    Shared.SW_Code = SW_Code_Text;
    Shared.SW_Desc = SW_Desc_Text;
    setWindowTitle(Shared.Title_Program);
    L_SW_Code->setText(Shared.SW_Code);
    L_SW_Code->adjustSize();
    L_SW_Desc->setText(Shared.SW_Desc);
    L_SW_Desc->adjustSize();
    // 8.
    Load_Language();
    // The report waits for the string table, so that it can say where the broken file went.
    if (!settingsError.isEmpty()) {
        try {
            settingsError += QLatin1Char('\n') + Msg(29)
                             + QDir::toNativeSeparators(Keep_Broken_Settings());
        } catch (const std::exception& e) {
            settingsError += QLatin1Char('\n') + Msg(30) + Error_Text(e);
        }
        Ui().Error_Box(settingsError);
    }
    // 9.
    Show_Configuration_Labels(Restore_Configuration());
    // 10.
    Set_Lang();
    // 11.
    Set_Files();
    // 12.
    Shared.Copy_Row_Buffer.clear();
}

void TFTessaformeFirmWare::Layout_Controls()
{
    L_SW_Code->move(16, 8);
    L_SW_Desc->move(16, 42);
    Shape2->setGeometry(80, 70, 348, 36);
    L_Name_Conf->setGeometry(87, 75, 336, 15);
    L_Name_Conf_L2->setGeometry(87, 88, 336, 15);
    L_Begin->move(16, 84);
    for (int i = 0; i < 8; ++i)
        L_Step[i]->move(16, 128 + 44 * i);
    Btn_New->setGeometry(80, 112, Step_Button_Width, Step_Button_Height);
    Btn_Open->setGeometry(258, 112, Step_Button_Width, Step_Button_Height);
    Btn_Prm_Gen->setGeometry(80, 156, Step_Button_Width, Step_Button_Height);
    Btn_J1939_Rec_Frame->setGeometry(80, 200, Step_Button_Width, Step_Button_Height);
    Btn_J1939_Send_Frame->setGeometry(80, 244, Step_Button_Width, Step_Button_Height);
    LL_Update->move(208, 19);
    Btn_Info->setGeometry(516, 8, Picture_Button_Size, Picture_Button_Size);
    Btn_Opz->setGeometry(574, 8, Picture_Button_Size, Picture_Button_Size);
    Btn_Close->setGeometry(632, 8, Picture_Button_Size, Picture_Button_Size);
    Btn_Tools->setGeometry(516, 70, 168, 36);

    for (int i = 0; i < 8; ++i)
        L_Step[i]->setVisible(i < 5); // the workflow has five steps
    L_Zorvek->move(565, L_Step[4]->y());
    L_Zorvek->adjustSize();
    LL_Update->hide();

    // The separator and the window's size follow the last step.
    Btn_CreateBin->setGeometry(80, 288, Step_Button_Width, Step_Button_Height);
    Shape1->setGeometry(10, Btn_CreateBin->y() + 51, 674, 1);
    setFixedSize(694, Btn_CreateBin->y() + 152);
}

void TFTessaformeFirmWare::Show_Configuration_Labels(bool active)
{
    L_Name_Conf->setText(active ? Msg(11) : Msg(9));
    // A long name is cut between letters, with the whole of it and its folder in the hint.
    const QString line = active ? Shared.Conf_Name : Msg(10);
    L_Name_Conf_L2->setText(
        L_Name_Conf_L2->fontMetrics().elidedText(line, Qt::ElideRight, L_Name_Conf_L2->width()));
    L_Name_Conf_L2->setToolTip(active ? Shared.Conf_Name + QLatin1Char('\n')
                                            + QDir::toNativeSeparators(Shared.Conf_Dir)
                                      : QString());
}

void TFTessaformeFirmWare::Create_Shortcuts()
{
    // No Alt+letter: a translated caption may carry that mnemonic.
    const struct {
        QKeySequence keys;
        QPushButton* button;
    } table[] = {
        {QKeySequence(Qt::ALT | Qt::Key_1), Btn_New},
        {QKeySequence(Qt::CTRL | Qt::Key_N), Btn_New},
        {QKeySequence(Qt::CTRL | Qt::Key_O), Btn_Open},
        {QKeySequence(Qt::ALT | Qt::Key_2), Btn_Prm_Gen},
        {QKeySequence(Qt::ALT | Qt::Key_3), Btn_J1939_Rec_Frame},
        {QKeySequence(Qt::ALT | Qt::Key_4), Btn_J1939_Send_Frame},
        {QKeySequence(Qt::ALT | Qt::Key_5), Btn_CreateBin},
        {QKeySequence(Qt::Key_F1), Btn_Info},
        {QKeySequence(Qt::CTRL | Qt::Key_Comma), Btn_Opz},
        {QKeySequence(Qt::CTRL | Qt::Key_Q), Btn_Close},
    };
    for (const auto& t : table) {
        auto* shortcut = new QShortcut(t.keys, this);
        QPushButton* button = t.button;
        connect(shortcut, &QShortcut::activated, button, [button] { button->click(); });
    }
}

void TFTessaformeFirmWare::Set_Lang()
{
    L_Begin->setText(Msg(0));
    L_Begin->adjustSize();
    for (int i = 0; i < 8; ++i) {
        L_Step[i]->setText(Msg(i + 1));
        L_Step[i]->adjustSize();
    }
    Btn_Info->setToolTip(Msg(12));
    Btn_Opz->setToolTip(Msg(13));
    Btn_Close->setToolTip(Msg(14));
    Btn_New->setText(Msg(15));
    Btn_New->setToolTip(Msg(23));
    Btn_Open->setText(Msg(16));
    Btn_Open->setToolTip(Msg(24));
    Btn_CreateBin->setText(Msg(17));
    Btn_CreateBin->setToolTip(Msg(28));
    Btn_Prm_Gen->setText(Msg(20));
    Btn_Prm_Gen->setToolTip(Msg(25));
    Btn_J1939_Rec_Frame->setText(Msg(21));
    Btn_J1939_Rec_Frame->setToolTip(Msg(26));
    Btn_J1939_Send_Frame->setText(Msg(22));
    Btn_J1939_Send_Frame->setToolTip(Msg(27));
    Act_Compare->setText(Msg(532));
    Act_Report_Pdf->setText(Msg(465));
    Act_Report_Print->setText(Msg(466));
    Btn_Tools->setText(Msg(32));
    A_Bus_Check->setText(Msg(211));
    A_Bus_Check->setToolTip(Msg(244));
    Btn_Tools->setVisible(!Tools->isEmpty());
}

void TFTessaformeFirmWare::Change_Language()
{
    Set_Lang();
    Show_Configuration_Labels(!Shared.Conf_Dir.isEmpty());
    Forms.FBoot->Set_Lang();
    Forms.FNew_Project->Set_Lang();
    Forms.FOpenConf->Set_Lang();
    Forms.FSoftOptions->Set_Lang();
    Forms.FParGen->Set_Lang();
    Forms.FReceive_J1939_Frame->Set_Lang();
    Forms.FTransmit_J1939_Frame->Set_Lang();
}

void TFTessaformeFirmWare::Btn_Click(QPushButton* button)
{
    if (button == Btn_New) {
        Create_New_Project();
    } else if (button == Btn_Open) {
        Open_Project();
    } else if (button == Btn_Close) {
        close();
    } else if (button == Btn_Info) {
        Ui().Show_Modal(Forms.FAbout);
    } else if (button == Btn_Opz) {
        if (Ui().Show_Modal(Forms.FSoftOptions) != QDialog::Accepted)
            return;
        const bool lookUp = Shared.Enable_Internet && Shared.Enable_Update;
        try {
            Save_Setting();
        } catch (...) {
            Set_Timer_Enabled(lookUp); // the switches hold for this run even when not stored
            throw;
        }
        Set_Timer_Enabled(lookUp);
    } else if (Shared.Conf_Dir.isEmpty()) {
        Ui().Error_Box(Msg(18));
    } else if (button == Btn_Prm_Gen) {
        Ui().Show_Modal(Forms.FParGen);
    } else if (button == Btn_J1939_Rec_Frame) {
        Ui().Show_Modal(Forms.FReceive_J1939_Frame);
    } else if (button == Btn_J1939_Send_Frame) {
        Ui().Show_Modal(Forms.FTransmit_J1939_Frame);
    } else if (button == Btn_CreateBin) {
        Update_Device();
    }
}

void TFTessaformeFirmWare::Create_New_Project()
{
    if (Ui().Show_Modal(Forms.FNew_Project) != QDialog::Accepted)
        return;
    // The dialog has made the new configuration active.
    Show_Configuration_Labels(true);
}

void TFTessaformeFirmWare::Open_Project()
{
    if (Ui().Show_Modal(Forms.FOpenConf) != QDialog::Accepted) {
        // The dialog may have renamed or deleted the active configuration.
        Show_Configuration_Labels(!Shared.Conf_Dir.isEmpty());
        return;
    }
    Show_Configuration_Labels(Activate_Configuration(Forms.FOpenConf->Name_Conf));
}

void TFTessaformeFirmWare::Update_Device()
{
    // Any error ends here, before a window opens: no tool gets stale or missing images.
    Compile_Bin();
    Save_Bin();
    if (Old_Hardware()) {
        Ui().Show_Modal(Forms.FModifyFileSx);
    } else {
        Forms.FBoot->Form_Type = 1;
        Ui().Show_Modal(Forms.FBoot);
    }
}

bool TFTessaformeFirmWare::Old_Hardware() const
{
    return Is_Device_Without_Ethernet(Shared.File_ParGen);
}

void TFTessaformeFirmWare::L_ZorvekClick()
{
    Ui().Open_Url(Product_Page_Url);
}

void TFTessaformeFirmWare::LL_UpdateLinkClick(const QString& link)
{
    Ui().Open_Url(link);
}

void TFTessaformeFirmWare::Set_Files()
{
    ::Set_Files();
}

void TFTessaformeFirmWare::Set_Timer_Enabled(bool on)
{
    Set_Update_Timer(*Timer_Update, on);
}

void TFTessaformeFirmWare::Timer_UpdateTimer()
{
    if (Update_Timer_Event(*Timer_Update, Check_Version)) {
        LL_Update->setText(Download_Link_Html(Msg(19)));
        LL_Update->adjustSize();
        LL_Update->show();
    } else {
        LL_Update->hide();
    }
}

void TFTessaformeFirmWare::Save_Setting()
{
    ::Save_Setting();
}

void TFTessaformeFirmWare::FormClose()
{
    try {
        Save_Setting();
    } catch (const std::exception& e) {
        // Closing goes on; the user learns that the settings were not kept.
        Ui().Warning_Box(QStringLiteral("The settings could not be saved.\n") + Error_Text(e));
    }
}

void TFTessaformeFirmWare::closeEvent(QCloseEvent* event)
{
    FormClose();
    event->accept();
}

bool TFTessaformeFirmWare::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::ToolTip)
        return true;
    return QWidget::eventFilter(watched, event);
}
