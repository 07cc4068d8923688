#include "formadvanced.h"

#include "device/devicesession.h"
#include "device/pinprotection.h"
#include "services/guard.h"
#include "services/translation.h"

#include <QAction>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

namespace {

QToolButton *bigButton(QWidget *parent, const char *name)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setIconSize(QSize(32, 32));
    button->setFixedSize(110, 58);
    return button;
}

} // namespace

TFormAdvanced::TFormAdvanced(DeviceSession &session, Prompt &prompt, QAction *firmwareUpdate,
    PinDialogLaunchers pinDialogs, QWidget *parent)
    : QDialog(parent)
    , m_session(session)
    , m_prompt(prompt)
    , m_pinDialogs(std::move(pinDialogs))
{
    setObjectName(QStringLiteral("FormAdvanced"));
    setWindowTitle(N_("Advanced"));

    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(14, 14, 14, 12);
    grid->setHorizontalSpacing(14);
    grid->setVerticalSpacing(10);

    PngBitBtn1 = bigButton(this, "PngBitBtn1");
    PngBitBtn1->setText(N_("Set PIN"));
    connect(PngBitBtn1, &QToolButton::clicked, this,
        [this] { runGuarded(m_prompt, [this] { PngBitBtn1Click(); }); });
    auto *pinLabel = new QLabel(N_("Protect the settings using a PIN"), this);
    pinLabel->setObjectName(QStringLiteral("Label1"));

    PngBitBtn2 = bigButton(this, "PngBitBtn2");
    if (firmwareUpdate)
        PngBitBtn2->setDefaultAction(firmwareUpdate);
    auto *firmwareLabel = new QLabel(N_("Update the firmware of Velotrix.   "), this);
    firmwareLabel->setObjectName(QStringLiteral("Label2"));

    auto *line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);

    PngBitBtn3 = bigButton(this, "PngBitBtn3");
    PngBitBtn3->setText(N_("&Schließen"));
    PngBitBtn3->setFixedSize(90, 32);
    PngBitBtn3->setToolButtonStyle(Qt::ToolButtonTextOnly);
    connect(PngBitBtn3, &QToolButton::clicked, this, &QDialog::close);

    grid->addWidget(PngBitBtn1, 0, 0);
    grid->addWidget(pinLabel, 0, 1);
    grid->addWidget(PngBitBtn2, 1, 0);
    grid->addWidget(firmwareLabel, 1, 1);
    grid->addWidget(line, 2, 0, 1, 2);
    grid->addWidget(PngBitBtn3, 3, 1, Qt::AlignRight);
    grid->setColumnStretch(1, 1);
    setFixedSize(sizeHint().expandedTo(QSize(380, 0)));
}

void TFormAdvanced::PngBitBtn1Click()
{
    if (!m_pinDialogs.changePin || !m_pinDialogs.firstPin)
        return;
    DeviceLink &link = m_session.link();
    if (link.PIN_Protected) {
        // The device checked the old PIN inside the dialog; the new one is
        // the PIN the dialog accepted.
        if (m_pinDialogs.changePin()) {
            if (!SendNewPin(link, PinValue(m_session.rememberedPin()), false))
                m_prompt.MessageDlgCentered(tx("Action failed"), mtInformation, mbOK);
        }
    } else if (m_pinDialogs.firstPin()) {
        if (!SendNewPin(link, PinValue(m_session.rememberedPin()), true))
            m_prompt.MessageDlgCentered(tx("Action failed"), mtInformation, mbOK);
    }
    link.Read_PinProtection();
}
