#pragma once

#include <QDialog>

// Asks for the device PIN.
class TPIN_Dlg : public QDialog
{
    Q_OBJECT
public:
    explicit TPIN_Dlg(QWidget *parent = nullptr);
};
