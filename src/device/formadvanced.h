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

    QToolButton *PngBitBtn1 = nullptr; // "Set PIN"
    QToolButton *PngBitBtn2 = nullptr; // carries the main window's Action_FirmwareUpdate
    QToolButton *PngBitBtn3 = nullptr; // closes the window
};
