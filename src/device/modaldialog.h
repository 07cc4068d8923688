#pragma once

#include "services/prompt.h"

#include <QDialog>
#include <QPointer>

// Registers the device windows' pictures (battery icons, padlock).
void initDeviceResources();

// A window that the program shows modally again and again from the same
// object. ShowModal() runs the window's show handler, centres it on the
// widget it was given and runs it through the prompt until it has a result;
// tests pass a prompt that answers without a nested event loop.
class ModalDialog : public QDialog
{
    Q_OBJECT
public:
    // centreOn: the window to centre on (the main window); parent: the
    // owner.
    ModalDialog(Prompt &prompt, QWidget *centreOn, QWidget *parent = nullptr);

    // Returns QDialog::Accepted or QDialog::Rejected.
    int ShowModal();

protected:
    // Runs before every showing (e.g. to empty the edits).
    virtual void FormShow() { }
    Prompt &prompt() { return m_prompt; }
    // Centred on every showing, or only on the first.
    bool m_centreOnEveryShow = true;

private:
    void centre();

    Prompt &m_prompt;
    QPointer<QWidget> m_centreOn;
    bool m_placed = false;
};
