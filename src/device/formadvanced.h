#pragma once

#include "services/prompt.h"

#include <QDialog>
#include <functional>

class DeviceSession;
class QAction;
class QLabel;
class QToolButton;

// The two PIN windows "Set PIN" uses, shown modally; each returns whether
// the user confirmed it (the confirmed PIN is then the session's remembered
// PIN). Passed as calls because those windows are made after this one.
struct PinDialogLaunchers
{
    std::function<bool()> changePin; // old PIN checked by the device, new PIN twice
    std::function<bool()> firstPin; // first PIN twice
};

// The advanced window: PIN protection and the firmware update. Shown without
// blocking the main window.
class TFormAdvanced : public QDialog
{
    Q_OBJECT
public:
    TFormAdvanced(DeviceSession &session, Prompt &prompt, QAction *firmwareUpdate,
        PinDialogLaunchers pinDialogs, QWidget *parent = nullptr);

    // "Set PIN": sets a first PIN on an unlocked device, or changes the PIN
    // of a locked one, then reads the lock state back.
    void PngBitBtn1Click();

    QToolButton *PngBitBtn1 = nullptr; // "Set PIN"
    QToolButton *PngBitBtn2 = nullptr; // carries the firmware update action
    QToolButton *PngBitBtn3 = nullptr; // closes the window

private:
    DeviceSession &m_session;
    Prompt &m_prompt;
    PinDialogLaunchers m_pinDialogs;
};
