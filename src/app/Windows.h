#pragma once

#include <QString>

class TFTessaformeFirmWare;
class TFNew_Project;
class TFOpenConf;
class TFAbout;
class TFSoftOptions;
class TFParGen;
class TFReceive_J1939_Frame;
class TFTransmit_J1939_Frame;
class TFModifyFileSx;
class TFBoot;

// The ten windows of the program, each created once. Windows reach each other through these.
struct App_Windows {
    TFTessaformeFirmWare* FTessaformeFirmWare = nullptr;
    TFNew_Project* FNew_Project = nullptr;
    TFOpenConf* FOpenConf = nullptr;
    TFAbout* FAbout = nullptr;
    TFSoftOptions* FSoftOptions = nullptr;
    TFParGen* FParGen = nullptr;
    TFReceive_J1939_Frame* FReceive_J1939_Frame = nullptr;
    TFTransmit_J1939_Frame* FTransmit_J1939_Frame = nullptr;
    TFModifyFileSx* FModifyFileSx = nullptr;
    TFBoot* FBoot = nullptr;
};

extern App_Windows Forms;

// Creates the ten windows in the fixed order, main window first; the main window's creation
// runs the start-up sequence from `programDir`. The dialogs are children of the main window.
void Create_Windows(const QString& programDir);

// Deletes them (tests create a fresh set for every case).
void Destroy_Windows();
