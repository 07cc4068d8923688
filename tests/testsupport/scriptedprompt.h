#pragma once

#include "services/prompt.h"

#include <QDialog>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

// A Prompt for tests: message boxes are answered from a queue and recorded;
// modal windows are handed to queued steps that act like the user (type into
// an edit, click a button). Nothing is shown and no nested event loop runs.
//
// With no answer queued a message box is answered as if it had been closed
// with its caption (mrCancel), and a modal window ends Rejected, so a missing
// answer fails a test instead of hanging it.
class ScriptedPrompt : public Prompt
{
public:
    struct Shown
    {
        QString text;
        MsgDlgKind kind;
        MsgDlgButtons buttons;
    };
    using Step = std::function<void(QDialog &)>;

    void setNextAnswer(MsgDlgResult result) { answers.append(result); }
    void queueStep(Step step) { steps.append(std::move(step)); }

    MsgDlgResult MessageDlgCentered(const QString &text, MsgDlgKind kind, MsgDlgButtons buttons) override
    {
        shown.append(Shown { text, kind, buttons });
        return answers.isEmpty() ? mrCancel : answers.takeFirst();
    }

    int execModal(QDialog &dialog) override
    {
        dialogs.append(dialog.objectName());
        dialog.setResult(-1);
        while (dialog.result() == -1 && !steps.isEmpty())
            steps.takeFirst()(dialog);
        if (dialog.result() == -1)
            dialog.setResult(QDialog::Rejected);
        return dialog.result();
    }

    // Texts of the message boxes shown, in order.
    QStringList texts() const
    {
        QStringList all;
        for (const Shown &s : shown)
            all.append(s.text);
        return all;
    }

    QList<MsgDlgResult> answers;
    QList<Step> steps;
    QList<Shown> shown;
    QStringList dialogs; // object names of the modal windows shown
};
