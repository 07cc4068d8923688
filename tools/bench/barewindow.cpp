// The start-up baseline: a bare Qt Widgets main window with the
// configurator's client size (898 x 621), shown the way the configurator
// shows its own. The launcher times both through the same plugin.

#include <QApplication>
#include <QMainWindow>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.resize(898, 621);
    window.show();
    return QApplication::exec();
}
