#pragma once

#include <QDialog>

// Runs the device firmware update.
class TFormFirmwareUpdate : public QDialog
{
    Q_OBJECT
public:
    explicit TFormFirmwareUpdate(QWidget *parent = nullptr);
};
