#include "guard.h"

#include "app/messagedlg.h"
#include "device/devicelink.h"
#include "services/translation.h"

void showError(const std::exception &error)
{
    MessageDlgCentered(QString::fromUtf8(error.what()), mtError, mbOK);
}

void runGuarded(const std::function<void()> &fn)
{
    try {
        fn();
    } catch (const std::exception &error) {
        showError(error);
    } catch (...) {
        MessageDlgCentered(tx("An unknown error occurred."), mtError, mbOK);
    }
}

GuardedApplication::GuardedApplication(int &argc, char **argv)
    : QApplication(argc, argv)
{
}

bool GuardedApplication::notify(QObject *receiver, QEvent *event)
{
    bool handled = false;
    runGuarded([&] { handled = QApplication::notify(receiver, event); });
    return handled;
}
