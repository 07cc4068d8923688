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

QList<QWidget *> AppWindows::all() const
{
    return { Mainform, HelpHintForm, Setupsform, Batteryform, Saveform, FormFirmwareUpdate, PIN_Dlg,
        FormAdvanced, ChangePINDialog, NewPIN_Dlg, Formwebupdate, FormFirmwareFiles };
}

AppWindows::AppWindows(Prompt &prompt, std::unique_ptr<TMainform> mainform)
{
    Mainform = mainform ? mainform.release() : new TMainform(prompt);
    TMainform *main = Mainform;
    DeviceSession &session = main->session();

    // The help pane is made without a parent; giving it the main window as
    // its transient parent (keeping its own window flags) leaves the main
    // window as the only one with a taskbar entry and ties its lifetime to it.
    HelpHintForm = new THelpHintForm;
    HelpHintForm->setParent(main, HelpHintForm->windowFlags() | Qt::Window);

    Setupsform = new TSetupsform(prompt,
        { [main](const QString &path) { main->LoadSetup(path); }, [main] { main->LoadSetups(); } }, main, main);
    Batteryform = new TBatteryform(prompt, main, main);
    Saveform = new TSaveform(prompt, main->ActionSaveSetup, [main] { main->LoadSetups(); }, main, main);
    // The file selection window comes later in the order; the update window
    // reaches it when it is shown.
    FormFirmwareUpdate = new TFormFirmwareUpdate(
        session, main->config(), prompt, [this] { return FormFirmwareFiles; }, main, main);
    PIN_Dlg = new TPIN_Dlg(prompt, main, main);
    // "Set PIN" uses the change and first-PIN windows, which come after it.
    FormAdvanced = new TFormAdvanced(session, prompt, main->Action_FirmwareUpdate,
        { [this] { return ChangePINDialog->ShowModal() == QDialog::Accepted; },
            [this] { return NewPIN_Dlg->ShowModal() == QDialog::Accepted; } },
        main);
    ChangePINDialog = new TChangePINDialog(session, prompt, main, main);
    NewPIN_Dlg = new TNewPIN_Dlg(session, prompt, main, main);
    Formwebupdate = new TFormwebupdate(main);
    FormFirmwareFiles = new TFormFirmwareFiles(session, main->config(), prompt, main, main);

    main->setWindows(this);
}

AppWindows::~AppWindows()
{
    // Every other window is a child of the main window.
    Mainform->setWindows(nullptr);
    delete Mainform;
}
