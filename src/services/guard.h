#pragma once

#include "services/prompt.h"

#include <QApplication>
#include <exception>
#include <functional>

// The application's default error handling. An error that an action or a
// device handler does not catch itself is shown in an error message box and
// the program goes on; no exception ever unwinds through Qt's frames.
void runGuarded(Prompt &prompt, const std::function<void()> &fn);

// Shows the text of an error the way runGuarded does.
void showError(Prompt &prompt, const std::exception &error);

// Last line of defence for code that reaches Qt without runGuarded: an
// exception escaping an event handler is reported through the prompt
// instead of terminating.
class GuardedApplication : public QApplication
{
public:
    GuardedApplication(int &argc, char **argv, Prompt &prompt);
    bool notify(QObject *receiver, QEvent *event) override;

private:
    Prompt &m_prompt;
};
