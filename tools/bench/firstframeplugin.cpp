// A Qt generic plugin that times a program's start-up from the outside: it
// watches for the first paint of a QMainWindow, lets that paint pass finish,
// writes the milliseconds since the process started to the file named by
// VELOTRIX_BENCH_RESULT (or to stderr) and ends the event loop. The program
// under test is the unchanged executable; Qt loads the plugin because
// QT_QPA_GENERIC_PLUGINS names it.
//
// The start is VELOTRIX_BENCH_T0_NS (CLOCK_MONOTONIC, set by the launcher
// just before exec, so loading the libraries counts); without it, the
// kernel's record of the process start, which is coarser (clock ticks).

#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <QGenericPlugin>
#include <QMainWindow>
#include <QTimer>
#include <cstdio>
#include <ctime>
#include <unistd.h>

namespace {

double clockMs(clockid_t clock)
{
    timespec ts {};
    clock_gettime(clock, &ts);
    return double(ts.tv_sec) * 1e3 + double(ts.tv_nsec) / 1e6;
}

// Milliseconds since the process started.
double elapsedSinceStartMs()
{
    bool ok = false;
    const qint64 t0 = qgetenv("VELOTRIX_BENCH_T0_NS").toLongLong(&ok);
    if (ok)
        return clockMs(CLOCK_MONOTONIC) - double(t0) / 1e6;

    // Field 22 of /proc/self/stat: the start in clock ticks since boot.
    QFile stat(QStringLiteral("/proc/self/stat"));
    if (!stat.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray line = stat.readAll();
    // The command name in field 2 may hold spaces; count from its ")".
    const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
    constexpr int StartTimeField = 22 - 3;
    if (fields.size() <= StartTimeField)
        return -1;
    const double startMs
        = double(fields.at(StartTimeField).toLongLong()) * 1e3 / double(sysconf(_SC_CLK_TCK));
    return clockMs(CLOCK_BOOTTIME) - startMs;
}

class FirstFrameProbe : public QObject
{
public:
    FirstFrameProbe() { QCoreApplication::instance()->installEventFilter(this); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (!m_seen && event->type() == QEvent::Paint) {
            const auto *window = qobject_cast<QMainWindow *>(watched);
            if (window && window->isWindow()) {
                m_seen = true;
                // The rest of the window paints in the same pass; the frame
                // is complete when the event loop next turns.
                QTimer::singleShot(0, this, &FirstFrameProbe::report);
            }
        }
        return false;
    }

private:
    void report()
    {
        const double elapsed = elapsedSinceStartMs();
        const QByteArray line = QByteArray::number(elapsed, 'f', 1) + '\n';
        const QString path = qEnvironmentVariable("VELOTRIX_BENCH_RESULT");
        QFile out(path);
        if (!path.isEmpty() && out.open(QIODevice::WriteOnly | QIODevice::Append))
            out.write(line);
        else
            std::fprintf(stderr, "first frame after %s ms\n", line.trimmed().constData());
        QCoreApplication::exit(0);
    }

    bool m_seen = false;
};

} // namespace

class FirstFramePlugin : public QGenericPlugin
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QGenericPluginFactoryInterface_iid FILE "firstframe.json")
public:
    QObject *create(const QString &key, const QString &) override
    {
        return key.compare(QLatin1String("velotrixfirstframe"), Qt::CaseInsensitive) == 0
            ? new FirstFrameProbe
            : nullptr;
    }
};

#include "firstframeplugin.moc"
