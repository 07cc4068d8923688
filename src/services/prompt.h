#pragma once

#include <QFlags>
#include <QString>

class QDialog;

// Message box kinds, buttons and results shared by every dialogue with the
// user. The numbers are the ones the program has always used (results 1 OK,
// 2 closed or Cancel, 6 Yes, 7 No).
enum MsgDlgKind { mtWarning = 0, mtError = 1, mtInformation = 2, mtConfirmation = 3, mtCustom = 4 };
enum MsgDlgButton { mbYes = 1, mbNo = 2, mbOK = 4, mbCancel = 8 };
Q_DECLARE_FLAGS(MsgDlgButtons, MsgDlgButton)
Q_DECLARE_OPERATORS_FOR_FLAGS(MsgDlgButtons)
inline constexpr MsgDlgButtons mbYesNo = mbYes | mbNo;
enum MsgDlgResult { mrOk = 1, mrCancel = 2, mrYes = 6, mrNo = 7 };

// Everything that asks the user something: message boxes and modal windows.
// The configurator answers with real, centred boxes and windows; tests inject
// a scripted prompt. Windows and the device session get one through their
// constructors; nothing reaches for a global one.
class Prompt
{
public:
    virtual ~Prompt() = default;

    // A modal message box centred on the active window.
    virtual MsgDlgResult MessageDlgCentered(const QString &text, MsgDlgKind kind, MsgDlgButtons buttons) = 0;

    // Runs a modal window that its owner has prepared and placed, until it
    // has a result (QDialog::Accepted or QDialog::Rejected).
    virtual int execModal(QDialog &dialog) = 0;
};
