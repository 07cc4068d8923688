#include "appwindows.h"

#include "app/mainform.h"
#include "device/batteryform.h"
#include "device/changepindialog.h"
#include "device/formadvanced.h"
#include "device/newpin_dlg.h"
#include "device/pin_dlg.h"
#include "services/helphintform.h"
#include "setups/saveform.h"
#include "setups/setupsform.h"
#include "update/formfirmwarefiles.h"
#include "update/formfirmwareupdate.h"
#include "update/formwebupdate.h"

AppWindows &appWindows()
{
    static AppWindows windows;
    return windows;
}

QList<QWidget *> AppWindows::all() const
{
    return { Mainform, HelpHintForm, Setupsform, Batteryform, Saveform, FormFirmwareUpdate, PIN_Dlg,
        FormAdvanced, ChangePINDialog, NewPIN_Dlg, Formwebupdate, FormFirmwareFiles };
}

void createAppWindows(std::unique_ptr<TMainform> mainform)
{
    AppWindows &w = appWindows();
    if (w.Mainform)
        return;

    w.Mainform = mainform ? mainform.release() : new TMainform;
    TMainform *main = w.Mainform;

    // The help pane is made without a parent; giving it the main window as
    // its transient parent (keeping its own window flags) leaves the main
    // window as the only one with a taskbar entry and ties its lifetime to it.
    w.HelpHintForm = new THelpHintForm;
    w.HelpHintForm->setParent(main, w.HelpHintForm->windowFlags() | Qt::Window);

    w.Setupsform = new TSetupsform(main);
    w.Batteryform = new TBatteryform(main);
    w.Saveform = new TSaveform(main);
    w.FormFirmwareUpdate = new TFormFirmwareUpdate(main);
    w.PIN_Dlg = new TPIN_Dlg(main);
    w.FormAdvanced = new TFormAdvanced(main);
    w.ChangePINDialog = new TChangePINDialog(main);
    w.NewPIN_Dlg = new TNewPIN_Dlg(main);
    w.Formwebupdate = new TFormwebupdate(main);
    w.FormFirmwareFiles = new TFormFirmwareFiles(main);
}

void destroyAppWindows()
{
    AppWindows &w = appWindows();
    // Every other window is a child of the main window.
    delete w.Mainform;
    w = AppWindows {};
}
