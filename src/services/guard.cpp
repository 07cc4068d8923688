#include "guard.h"

#include "services/translation.h"

void showError(Prompt &prompt, const std::exception &error)
{
    prompt.MessageDlgCentered(QString::fromUtf8(error.what()), mtError, mbOK);
}

void runGuarded(Prompt &prompt, const std::function<void()> &fn)
{
    try {
        fn();
    } catch (const std::exception &error) {
        showError(prompt, error);
    } catch (...) {
        prompt.MessageDlgCentered(tx("An unknown error occurred."), mtError, mbOK);
    }
}

GuardedApplication::GuardedApplication(int &argc, char **argv, Prompt &prompt)
    : QApplication(argc, argv)
    , m_prompt(prompt)
{
}

bool GuardedApplication::notify(QObject *receiver, QEvent *event)
{
    bool handled = false;
    runGuarded(m_prompt, [&] { handled = QApplication::notify(receiver, event); });
    return handled;
}
