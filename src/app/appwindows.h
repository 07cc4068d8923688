#pragma once

#include <QList>
#include <memory>

class QWidget;
class TMainform;
class THelpHintForm;
class TSetupsform;
class TBatteryform;
class TSaveform;
class TFormFirmwareUpdate;
class TPIN_Dlg;
class TFormAdvanced;
class TChangePINDialog;
class TNewPIN_Dlg;
class TFormwebupdate;
class TFormFirmwareFiles;

// The program's windows. Each is made once at start, in this order, and
// lives until the program ends; code anywhere reaches them through
// appWindows().
struct AppWindows
{
    TMainform *Mainform = nullptr;
    THelpHintForm *HelpHintForm = nullptr;
    TSetupsform *Setupsform = nullptr;
    TBatteryform *Batteryform = nullptr;
    TSaveform *Saveform = nullptr;
    TFormFirmwareUpdate *FormFirmwareUpdate = nullptr;
    TPIN_Dlg *PIN_Dlg = nullptr;
    TFormAdvanced *FormAdvanced = nullptr;
    TChangePINDialog *ChangePINDialog = nullptr;
    TNewPIN_Dlg *NewPIN_Dlg = nullptr;
    TFormwebupdate *Formwebupdate = nullptr;
    TFormFirmwareFiles *FormFirmwareFiles = nullptr;

    // The twelve windows in creation order.
    QList<QWidget *> all() const;
};

AppWindows &appWindows();

// Makes the twelve windows. The main window comes first and its creation
// sequence runs before the others exist; pass one in to choose its port,
// Config.ini and port list (tests), or leave it out for the defaults.
void createAppWindows(std::unique_ptr<TMainform> mainform = {});

// Destroys the windows made by createAppWindows().
void destroyAppWindows();
