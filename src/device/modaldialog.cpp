#include "modaldialog.h"

#include "app/appwindows.h"
#include "app/mainform.h"
#include "app/messagedlg.h"

#include <QList>

namespace {

struct AnswerQueue
{
    bool inUse = false;
    QList<ModalDialog::Answer> answers;
    QStringList shown;
};

AnswerQueue &answerQueue()
{
    static AnswerQueue queue;
    return queue;
}

} // namespace

void initDeviceResources()
{
    Q_INIT_RESOURCE(device);
}

int ModalDialog::ShowModal()
{
    m_finished = false;
    setResult(QDialog::Rejected);
    FormShow();

    AnswerQueue &queue = answerQueue();
    if (queue.inUse) {
        queue.shown.append(objectName());
        while (!m_finished && !queue.answers.isEmpty())
            queue.answers.takeFirst()(*this);
        if (!m_finished)
            done(QDialog::Rejected);
        return result();
    }

    if (m_centreOnEveryShow || !m_placed)
        centreOnMainWindow();
    m_placed = true;
    return exec();
}

void ModalDialog::done(int result)
{
    m_finished = true;
    QDialog::done(result);
}

void ModalDialog::centreOnMainWindow()
{
    QWidget *main = appWindows().Mainform;
    if (!main)
        main = parentWidget();
    if (!main)
        return;
    // The native window must exist for its frame to count in the size.
    winId();
    move(centredTopLeft(main->frameGeometry(), frameGeometry().size()));
}

void ModalDialog::queueAnswer(Answer answer)
{
    AnswerQueue &queue = answerQueue();
    queue.inUse = true;
    queue.answers.append(std::move(answer));
}

void ModalDialog::startAnswering()
{
    answerQueue().inUse = true;
}

void ModalDialog::clearAnswers()
{
    answerQueue() = AnswerQueue {};
}

QStringList ModalDialog::shown()
{
    return answerQueue().shown;
}
