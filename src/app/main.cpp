#include "app/appwindows.h"
#include "app/guard.h"
#include "app/mainform.h"
#include "app/splashscreen.h"
#include "services/hintfilter.h"

#include <QIcon>
#include <QPointer>

int main(int argc, char *argv[])
{
    GuardedApplication app(argc, argv);
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

    createAppWindows();
    appWindows().Mainform->show();
    // The splash stays in front of the main window while it lasts.
    if (splash)
        splash->raise();
    const int rc = QApplication::exec();
    destroyAppWindows();
    delete splash;
    return rc;
}
