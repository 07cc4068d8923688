#include "pin_dlg.h"

#include "device/pinwidgets.h"
#include "services/translation.h"
#include "services/windowtranslator.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

TPIN_Dlg::TPIN_Dlg(Prompt &prompt, QWidget *centreOn, QWidget *parent)
    : ModalDialog(prompt, centreOn, parent)
{
    setObjectName(QStringLiteral("PIN_Dlg"));
    setWindowTitle(N_("PIN "));
    setFixedSize(260, 130);

    createPadlockImage(this);
    auto *label = new QLabel(N_("Enter PIN:"), this);
    label->setObjectName(QStringLiteral("Label1"));
    label->setGeometry(76, 14, 170, 18);
    Password = createPinEdit(this, "Password");
    Password->setGeometry(76, 34, 110, 24);
    label->setBuddy(Password);

    OKBtn = new QPushButton(N_("OK"), this);
    OKBtn->setObjectName(QStringLiteral("OKBtn"));
    OKBtn->setGeometry(92, 90, 75, 27);
    OKBtn->setDefault(true);
    CancelBtn = new QPushButton(N_("Cancel"), this);
    CancelBtn->setObjectName(QStringLiteral("CancelBtn"));
    CancelBtn->setGeometry(173, 90, 75, 27);
    connect(OKBtn, &QPushButton::clicked, this, &TPIN_Dlg::OKBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);

    TranslateComponent(this);
}

void TPIN_Dlg::OKBtnClick()
{
    Pincode = Password->text();
    accept();
}
