#include "modaldialog.h"

#include "services/messagedlg.h"

void initDeviceResources()
{
    Q_INIT_RESOURCE(device);
}

ModalDialog::ModalDialog(Prompt &prompt, QWidget *centreOn, QWidget *parent)
    : QDialog(parent)
    , m_prompt(prompt)
    , m_centreOn(centreOn ? centreOn : parent)
{
}

int ModalDialog::ShowModal()
{
    setResult(QDialog::Rejected);
    FormShow();
    if (m_centreOnEveryShow || !m_placed)
        centre();
    m_placed = true;
    return m_prompt.execModal(*this);
}

void ModalDialog::centre()
{
    if (!m_centreOn)
        return;
    // The native window must exist for its frame to count in the size.
    winId();
    move(centredTopLeft(m_centreOn->frameGeometry(), frameGeometry().size()));
}
