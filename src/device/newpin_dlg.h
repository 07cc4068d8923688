#pragma once

#include "device/modaldialog.h"

class QLineEdit;
class QPushButton;

// Asks for a first PIN, twice. On acceptance the PIN is remembered in the PIN
// dialog's Pincode; sending it is up to the caller.
class TNewPIN_Dlg : public ModalDialog
{
    Q_OBJECT
public:
    explicit TNewPIN_Dlg(QWidget *parent = nullptr);

    void OKBtnClick();

    QLineEdit *PIN = nullptr;
    QLineEdit *PINValidate = nullptr;
    QPushButton *OKBtn = nullptr;
    QPushButton *CancelBtn = nullptr;

protected:
    void FormShow() override;
};
