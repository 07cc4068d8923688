#include "newpin_dlg.h"

#include "device/devicesession.h"
#include "device/pinprotection.h"
#include "device/pinwidgets.h"
#include "services/messagedlg.h"
#include "services/translation.h"
#include "services/windowtranslator.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

TNewPIN_Dlg::TNewPIN_Dlg(DeviceSession &session, Prompt &prompt, QWidget *centreOn, QWidget *parent)
    : ModalDialog(prompt, centreOn, parent)
    , m_session(session)
{
    setObjectName(QStringLiteral("NewPIN_Dlg"));
    setWindowTitle(N_("Set PIN"));
    setFixedSize(260, 165);

    createPadlockImage(this);
    auto *first = new QLabel(N_("Enter PIN:"), this);
    first->setObjectName(QStringLiteral("Label1"));
    first->setGeometry(76, 10, 170, 18);
    PIN = createPinEdit(this, "PIN");
    PIN->setGeometry(76, 29, 110, 24);
    auto *second = new QLabel(N_("Reenter PIN:"), this);
    second->setObjectName(QStringLiteral("Label2"));
    second->setGeometry(76, 62, 170, 18);
    PINValidate = createPinEdit(this, "PINValidate");
    PINValidate->setGeometry(76, 81, 110, 24);

    OKBtn = new QPushButton(N_("OK"), this);
    OKBtn->setObjectName(QStringLiteral("OKBtn"));
    OKBtn->setGeometry(92, 126, 75, 27);
    OKBtn->setDefault(true);
    CancelBtn = new QPushButton(N_("Cancel"), this);
    CancelBtn->setObjectName(QStringLiteral("CancelBtn"));
    CancelBtn->setGeometry(173, 126, 75, 27);
    connect(OKBtn, &QPushButton::clicked, this, &TNewPIN_Dlg::OKBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);

    TranslateComponent(this);
}

void TNewPIN_Dlg::FormShow()
{
    PIN->clear();
    PINValidate->clear();
    PIN->setFocus();
}

void TNewPIN_Dlg::OKBtnClick()
{
    if (PIN->text() != PINValidate->text()) {
        prompt().MessageDlgCentered(tx("New PINs are different"), mtCustom, mbOK);
        return;
    }
    // An empty PIN has no value to send to the device.
    if (!IsValidPin(PIN->text())) {
        prompt().MessageDlgCentered(tx("Please enter a PIN of 1 to 4 digits."), mtCustom, mbOK);
        return;
    }
    m_session.setRememberedPin(PIN->text());
    accept();
}
