#pragma once

#include "device/modaldialog.h"

class DeviceSession;
class QLineEdit;
class QPushButton;

// Asks for the old PIN, which the device checks, and a new one twice. On
// acceptance the new PIN becomes the session's remembered PIN; sending it is
// up to the caller.
class TChangePINDialog : public ModalDialog
{
    Q_OBJECT
public:
    TChangePINDialog(DeviceSession &session, Prompt &prompt, QWidget *centreOn, QWidget *parent = nullptr);

    void OKBtnClick();

    QLineEdit *OldPin = nullptr;
    QLineEdit *NewPIN = nullptr;
    QLineEdit *NewPINValidate = nullptr;
    QPushButton *OKBtn = nullptr;
    QPushButton *CancelBtn = nullptr;

protected:
    void FormShow() override;

private:
    DeviceSession &m_session;
};
