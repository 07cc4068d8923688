#include "app/appwindows.h"
#include "app/mainform.h"
#include "app/splashscreen.h"
#include "services/guard.h"
#include "services/hintfilter.h"
#include "services/messagedlg.h"

#include <QIcon>
#include <QPointer>

int main(int argc, char *argv[])
{
    WindowPrompt prompt;
    GuardedApplication app(argc, argv, prompt);
    QCoreApplication::setOrganizationName(QStringLiteral("Velotrix"));
    QCoreApplication::setApplicationName(QStringLiteral("Velotrix"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VELOTRIX_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral("velotrix-configurator"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/app.svg")));
    // Hints write "@" for a line break and show in the styled hint window.
    installHintFilter(app);

    // The splash closes and deletes itself after its lifetime; it is not
    // tied to the main window.
    QPointer<TSplashScreen> splash = new TSplashScreen;
    splash->showSplash();

    int rc = 0;
    {
        AppWindows windows(prompt);
        windows.Mainform->show();
        // The splash stays in front of the main window while it lasts.
        if (splash)
            splash->raise();
        rc = QApplication::exec();
    }
    delete splash;
    return rc;
}
