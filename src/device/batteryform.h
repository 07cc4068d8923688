#pragma once

#include <QDialog>

// Shows the device's battery charge.
class TBatteryform : public QDialog
{
    Q_OBJECT
public:
    explicit TBatteryform(QWidget *parent = nullptr);
};
