// velotrix-emulator: serves an emulated Velotrix on a pseudo-terminal so the
// configurator can be tried without the device.

#include "velotrixemulator.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <csignal>
#include <cstdio>
#include <pthread.h>

namespace {

bool parseNumber(const QCommandLineParser &parser, const QString &name, long min, long max, long &value)
{
    if (!parser.isSet(name))
        return true;
    bool ok = false;
    value = parser.value(name).toLong(&ok, 0);
    if (ok && value >= min && value <= max)
        return true;
    std::fprintf(
        stderr, "velotrix-emulator: --%s must be a number from %ld to %ld\n", qPrintable(name), min, max);
    return false;
}

// Announces the terminal where the configurator's port chooser looks for
// emulators (it lists pseudo-terminals only from there). The folder name is
// the configurator's; the emulator keeps its own copy so it links no product
// code.
class Announcement
{
public:
    explicit Announcement(const QString &portPath)
    {
        const QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation)
            + QStringLiteral("/velotrix-emulators");
        if (!QDir().mkpath(folder))
            return;
        m_file = folder + QStringLiteral("/%1.port").arg(QCoreApplication::applicationPid());
        QFile file(m_file);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(portPath.toLocal8Bit() + '\n') < 0)
            m_file.clear();
    }
    ~Announcement()
    {
        if (!m_file.isEmpty())
            QFile::remove(m_file);
    }
    Announcement(const Announcement &) = delete;
    Announcement &operator=(const Announcement &) = delete;

private:
    QString m_file;
};

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("velotrix-emulator"));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Emulates a Velotrix switch interface on a pseudo-terminal."));
    parser.addHelpOption();
    parser.addOptions({
        { QStringLiteral("variation"), QStringLiteral("Device variation (0-255)."), QStringLiteral("N") },
        { QStringLiteral("build"), QStringLiteral("Firmware build (-32768-32767)."), QStringLiteral("N") },
        { QStringLiteral("pin"), QStringLiteral("Stored PIN (0-65535)."), QStringLiteral("N") },
        { QStringLiteral("locked"), QStringLiteral("Start locked by the PIN.") },
        { QStringLiteral("battery"), QStringLiteral("Battery reading (0-65535)."), QStringLiteral("N") },
        { QStringLiteral("modes"), QStringLiteral("Mode count of the parameter block (0-5)."),
            QStringLiteral("N") },
    });
    parser.process(app);

    long variation = 1, build = 8, pin = VelotrixEmulator::UnlockPin, battery = 3900,
         modes = VelotrixEmulator::FactoryModeCount;
    if (!parseNumber(parser, QStringLiteral("variation"), 0, 255, variation)
        || !parseNumber(parser, QStringLiteral("build"), -32768, 32767, build)
        || !parseNumber(parser, QStringLiteral("pin"), 0, 65535, pin)
        || !parseNumber(parser, QStringLiteral("battery"), 0, 65535, battery)
        || !parseNumber(parser, QStringLiteral("modes"), 0, 5, modes))
        return 2;

    // Block the termination signals before the serving thread starts, so it
    // inherits the mask and only sigwait below sees them.
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);

    try {
        VelotrixEmulator emulator;
        emulator.setVariation(static_cast<std::uint8_t>(variation));
        emulator.setBuild(static_cast<std::int16_t>(build));
        emulator.setPin(static_cast<std::uint16_t>(pin));
        emulator.setLocked(parser.isSet(QStringLiteral("locked")));
        emulator.setBattery(static_cast<std::uint16_t>(battery));
        emulator.setModeCount(static_cast<int>(modes));
        emulator.setLogger([](const QString &line) {
            std::fprintf(stderr, "%s\n", qPrintable(line));
            std::fflush(stderr);
        });

        const Announcement announcement(emulator.portPath());
        std::printf("%s\n", qPrintable(emulator.portPath()));
        std::printf("Velotrix emulator ready: pick %s in the configurator's port chooser; Ctrl-C ends.\n",
            qPrintable(emulator.portPath()));
        std::fflush(stdout);

        int received = 0;
        sigwait(&signals, &received);
    } catch (const std::exception &e) {
        std::fprintf(stderr, "velotrix-emulator: %s\n", e.what());
        return 1;
    }
    return 0;
}
