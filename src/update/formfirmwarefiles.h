#pragma once

#include <QDialog>

// Picks the firmware file to flash.
class TFormFirmwareFiles : public QDialog
{
    Q_OBJECT
public:
    explicit TFormFirmwareFiles(QWidget *parent = nullptr);
};
