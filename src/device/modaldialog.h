#pragma once

#include <QDialog>
#include <QStringList>
#include <functional>

// Registers the device windows' pictures (battery icons, padlock).
void initDeviceResources();

// A window that the program shows modally again and again from the same
// object. ShowModal() runs the window's show handler, places it and runs it
// until it has a result.
//
// Tests answer the showings without a nested event loop: from the first
// queueAnswer() until clearAnswers() every showing is recorded and handed to
// the queued steps in turn. A step acts like the user (types into the edits,
// clicks a button); the showing ends as soon as a step leaves the window with
// a result. When the queue runs dry first, the showing ends as if the window
// had been closed with its caption (Rejected), so a missing answer fails a
// test instead of hanging it.
class ModalDialog : public QDialog
{
    Q_OBJECT
public:
    using QDialog::QDialog;

    // Returns QDialog::Accepted or QDialog::Rejected.
    int ShowModal();
    void done(int result) override;

    using Answer = std::function<void(QDialog &)>;
    static void queueAnswer(Answer answer);
    // Starts answering (and recording) with nothing queued yet.
    static void startAnswering();
    static void clearAnswers();
    // Object names of the windows shown since the first queueAnswer().
    static QStringList shown();

protected:
    // Runs before every showing (e.g. to empty the edits).
    virtual void FormShow() { }
    // Centred on the main window on every showing, or only on the first.
    bool m_centreOnEveryShow = true;

private:
    void centreOnMainWindow();

    bool m_finished = false;
    bool m_placed = false;
};
