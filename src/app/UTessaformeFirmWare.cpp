#include "app/UTessaformeFirmWare.h"

#include "app/Settings.h"
#include "app/UComon.h"
#include "app/UserInteraction.h"
#include "app/Windows.h"
#include "configurations/UNew_Project.h"
#include "configurations/UOpenConf.h"
#include "editors/UParGen.h"
#include "editors/UReceive_J1939_Frames.h"
#include "editors/UTransmit_J1939_Frames.h"
#include "options/USoftOptions.h"
#include "update/UBoot.h"
#include "language/ULanguage.h"

#include <QCloseEvent>
#include <QDir>
#include <QLabel>
#include <QTimer>

TFTessaformeFirmWare::TFTessaformeFirmWare(const QString& programDir, QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("FTessaformeFirmWare"));
    L_SW_Code = new QLabel(this);
    L_SW_Code->setObjectName(QStringLiteral("L_SW_Code"));
    L_SW_Desc = new QLabel(this);
    L_SW_Desc->setObjectName(QStringLiteral("L_SW_Desc"));
    L_Name_Conf = new QLabel(this);
    L_Name_Conf->setObjectName(QStringLiteral("L_Name_Conf"));
    L_Name_Conf_L2 = new QLabel(this);
    L_Name_Conf_L2->setObjectName(QStringLiteral("L_Name_Conf_L2"));
    Timer_Update = new QTimer(this);
    Timer_Update->setObjectName(QStringLiteral("Timer_Update"));
    Timer_Update->setInterval(60000);
    FormCreate(programDir);
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
    try {
        Read_Settings();
    } catch (const std::exception& e) {
        Set_Settings_Defaults();
        Report_Error(e);
    }
    // 6.
    Set_Timer_Enabled(Shared.Enable_Internet && Shared.Enable_Update);
    // 7.
    Shared.Title_Program = Title_Program_Text;
    Shared.SW_Code = SW_Code_Text;
    Shared.SW_Desc = SW_Desc_Text;
    setWindowTitle(Shared.Title_Program);
    L_SW_Code->setText(Shared.SW_Code);
    L_SW_Desc->setText(Shared.SW_Desc);
    // 8.
    Load_Language();
    // 9.
    if (Restore_Configuration()) {
        L_Name_Conf->setText(Msg(11));
        L_Name_Conf_L2->setText(Shared.Conf_Name);
    } else {
        L_Name_Conf->setText(Msg(9));
        L_Name_Conf_L2->setText(Msg(10));
    }
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
    L_Name_Conf->move(87, 75);
    L_Name_Conf_L2->move(87, 88);
    setFixedSize(694, 440);
}

void TFTessaformeFirmWare::Set_Lang()
{
}

void TFTessaformeFirmWare::Change_Language()
{
    Set_Lang();
    Forms.FBoot->Set_Lang();
    Forms.FNew_Project->Set_Lang();
    Forms.FOpenConf->Set_Lang();
    Forms.FSoftOptions->Set_Lang();
    Forms.FParGen->Set_Lang();
    Forms.FReceive_J1939_Frame->Set_Lang();
    Forms.FTransmit_J1939_Frame->Set_Lang();
}

void TFTessaformeFirmWare::Set_Files()
{
    ::Set_Files();
}

void TFTessaformeFirmWare::Set_Timer_Enabled(bool on)
{
    // Enabling a running timer must not restart its countdown.
    if (on && !Timer_Update->isActive())
        Timer_Update->start();
    else if (!on)
        Timer_Update->stop();
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
