#pragma once

#include "device/modaldialog.h"

class QLineEdit;
class QPushButton;

// Asks for the old PIN, which the device checks, and a new one twice. On
// acceptance the new PIN is remembered in the PIN dialog's Pincode; sending
// it is up to the caller.
class TChangePINDialog : public ModalDialog
{
    Q_OBJECT
public:
    explicit TChangePINDialog(QWidget *parent = nullptr);

    void OKBtnClick();

    QLineEdit *OldPin = nullptr;
    QLineEdit *NewPIN = nullptr;
    QLineEdit *NewPINValidate = nullptr;
    QPushButton *OKBtn = nullptr;
    QPushButton *CancelBtn = nullptr;

protected:
    void FormShow() override;
};
