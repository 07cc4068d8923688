#pragma once

#include "device/modaldialog.h"

#include <QString>

class QLineEdit;
class QPushButton;

// Asks for the device PIN. The PIN confirmed last is in Pincode, and the edit
// keeps it between showings; the device session remembers the PIN the
// device accepted.
class TPIN_Dlg : public ModalDialog
{
    Q_OBJECT
public:
    TPIN_Dlg(Prompt &prompt, QWidget *centreOn, QWidget *parent = nullptr);

    void OKBtnClick();

    QLineEdit *Password = nullptr;
    QPushButton *OKBtn = nullptr;
    QPushButton *CancelBtn = nullptr;

    // The PIN confirmed with OK last.
    QString Pincode;
};
