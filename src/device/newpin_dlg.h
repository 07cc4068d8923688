#pragma once

#include "device/modaldialog.h"

class DeviceSession;
class QLineEdit;
class QPushButton;

// Asks for a first PIN, twice. On acceptance the PIN becomes the session's
// remembered PIN; sending it is up to the caller.
class TNewPIN_Dlg : public ModalDialog
{
    Q_OBJECT
public:
    TNewPIN_Dlg(DeviceSession &session, Prompt &prompt, QWidget *centreOn, QWidget *parent = nullptr);

    void OKBtnClick();

    QLineEdit *PIN = nullptr;
    QLineEdit *PINValidate = nullptr;
    QPushButton *OKBtn = nullptr;
    QPushButton *CancelBtn = nullptr;

protected:
    void FormShow() override;

private:
    DeviceSession &m_session;
};
