#pragma once

#include "device/modaldialog.h"

#include <QString>

class QLineEdit;
class QPushButton;

// Asks for the device PIN. The PIN typed last is remembered in Pincode for
// the rest of the run, and the edit keeps it between showings.
class TPIN_Dlg : public ModalDialog
{
    Q_OBJECT
public:
    explicit TPIN_Dlg(QWidget *parent = nullptr);

    void OKBtnClick();

    QLineEdit *Password = nullptr;
    QPushButton *OKBtn = nullptr;
    QPushButton *CancelBtn = nullptr;

    // Tried first by every write and reset of a locked device; also set by
    // the change and new-PIN dialogs.
    QString Pincode;
};
