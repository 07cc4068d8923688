#include "changepindialog.h"

#include "device/devicesession.h"
#include "device/pinprotection.h"
#include "device/pinwidgets.h"
#include "services/guard.h"
#include "services/messagedlg.h"
#include "services/translation.h"
#include "services/windowtranslator.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

QLabel *caption(QWidget *parent, const QString &text, const char *name, int y)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(76, y, 145, 18);
    return label;
}

} // namespace

TChangePINDialog::TChangePINDialog(DeviceSession &session, Prompt &prompt, QWidget *centreOn, QWidget *parent)
    : ModalDialog(prompt, centreOn, parent)
    , m_session(session)
{
    setObjectName(QStringLiteral("ChangePINDialog"));
    setWindowTitle(N_("Change PIN"));
    setFixedSize(330, 215);

    createPadlockImage(this);
    caption(this, N_("Enter old PIN:"), "Label1", 10);
    OldPin = createPinEdit(this, "OldPin");
    OldPin->setGeometry(76, 29, 110, 24);
    caption(this, N_("Enter new PIN: "), "Label2", 62);
    NewPIN = createPinEdit(this, "NewPIN");
    NewPIN->setGeometry(76, 81, 110, 24);
    caption(this, N_("Reenter new PIN:"), "Label3", 114);
    NewPINValidate = createPinEdit(this, "NewPINValidate");
    NewPINValidate->setGeometry(76, 133, 110, 24);

    auto *disableHint = new QLabel(N_("disable PIN: 9738"), this);
    disableHint->setObjectName(QStringLiteral("Label4"));
    disableHint->setWordWrap(true);
    disableHint->setGeometry(226, 81, 94, 48);
    disableHint->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    OKBtn = new QPushButton(N_("OK"), this);
    OKBtn->setObjectName(QStringLiteral("OKBtn"));
    OKBtn->setGeometry(162, 176, 75, 27);
    OKBtn->setDefault(true);
    CancelBtn = new QPushButton(N_("Cancel"), this);
    CancelBtn->setObjectName(QStringLiteral("CancelBtn"));
    CancelBtn->setGeometry(243, 176, 75, 27);
    // The old PIN is checked on the device; a port error is reported like
    // every other one and leaves the dialog open.
    connect(
        OKBtn, &QPushButton::clicked, this, [this] { runGuarded(this->prompt(), [this] { OKBtnClick(); }); });
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);

    TranslateComponent(this);
}

void TChangePINDialog::FormShow()
{
    OldPin->clear();
    NewPIN->clear();
    NewPINValidate->clear();
    OldPin->setFocus();
}

void TChangePINDialog::OKBtnClick()
{
    if (!CheckPINCode(m_session.link(), OldPin->text())) {
        prompt().MessageDlgCentered(tx("Wrong PIN code"), mtCustom, mbOK);
        return;
    }
    if (NewPINValidate->text() != NewPIN->text()) {
        prompt().MessageDlgCentered(tx("New PINs are different"), mtCustom, mbOK);
        return;
    }
    // An empty PIN has no value to send to the device.
    if (!IsValidPin(NewPIN->text())) {
        prompt().MessageDlgCentered(tx("Please enter a PIN of 1 to 4 digits."), mtCustom, mbOK);
        return;
    }
    m_session.setRememberedPin(NewPIN->text());
    accept();
}
