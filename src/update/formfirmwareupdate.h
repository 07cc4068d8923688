#pragma once

#include <QDialog>

// Runs the device firmware update.
class TFormFirmwareUpdate : public QDialog
{
    Q_OBJECT
public:
    explicit TFormFirmwareUpdate(QWidget *parent = nullptr);

    // Set when the chip's USB bootloader has been plugged in.
    bool Bootloader_Ready = false;
};
