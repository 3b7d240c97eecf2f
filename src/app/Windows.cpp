#include "app/Windows.h"

#include "app/UTessaformeFirmWare.h"
#include "configurations/UNew_Project.h"
#include "configurations/UOpenConf.h"
#include "editors/UParGen.h"
#include "editors/UReceive_J1939_Frames.h"
#include "editors/UTransmit_J1939_Frames.h"
#include "options/UAbout.h"
#include "options/USoftOptions.h"
#include "update/ModifyFileSx.h"
#include "update/UBoot.h"

App_Windows Forms;

void Create_Windows(const QString& programDir)
{
    Forms.FTessaformeFirmWare = new TFTessaformeFirmWare(programDir);
    QWidget* main = Forms.FTessaformeFirmWare;
    Forms.FNew_Project = new TFNew_Project(main);
    Forms.FOpenConf = new TFOpenConf(main);
    Forms.FAbout = new TFAbout(main);
    Forms.FSoftOptions = new TFSoftOptions(main);
    Forms.FParGen = new TFParGen(main);
    Forms.FReceive_J1939_Frame = new TFReceive_J1939_Frame(main);
    Forms.FTransmit_J1939_Frame = new TFTransmit_J1939_Frame(main);
    Forms.FModifyFileSx = new TFModifyFileSx(main);
    Forms.FBoot = new TFBoot(main);
}

void Destroy_Windows()
{
    delete Forms.FTessaformeFirmWare; // owns the others
    Forms = App_Windows{};
}
