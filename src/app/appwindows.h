#pragma once

#include "services/prompt.h"

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

// The program's twelve windows, made once at start in this order and living
// until the process entry destroys them. Each window gets what it works with
// (the device session, the prompt, the window to centre on, the actions it
// carries) through its constructor; only the main window is handed the set.
class AppWindows
{
public:
    // The main window comes first and its creation sequence runs before the
    // others exist; pass one in to choose its port, Config.ini, port list and
    // discovery (tests), or leave it out for the defaults.
    explicit AppWindows(Prompt &prompt, std::unique_ptr<TMainform> mainform = {});
    ~AppWindows();

    AppWindows(const AppWindows &) = delete;
    AppWindows &operator=(const AppWindows &) = delete;

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
