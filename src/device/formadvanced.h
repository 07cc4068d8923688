#pragma once

#include <QDialog>

class QLabel;
class QToolButton;
class TMainform;

// The advanced window: PIN protection and the firmware update. Shown without
// blocking the main window.
class TFormAdvanced : public QDialog
{
    Q_OBJECT
public:
    explicit TFormAdvanced(TMainform *mainform);

    // "Set PIN": sets a first PIN on an unlocked device, or changes the PIN
    // of a locked one, then reads the lock state back.
    void PngBitBtn1Click();

    QToolButton *PngBitBtn1 = nullptr; // "Set PIN"
    QToolButton *PngBitBtn2 = nullptr; // carries the main window's Action_FirmwareUpdate
    QToolButton *PngBitBtn3 = nullptr; // closes the window

private:
    TMainform *m_mainform;
};
