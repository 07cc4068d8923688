// velotrixctl: the configurator's device exchanges from the command line,
// for technicians who set up many devices and for scripts.

#include "device/battery.h"
#include "device/devicesession.h"
#include "device/qtserialport.h"
#include "setups/inifile.h"
#include "setups/setupfile.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>
#include <QTextStream>
#include <cstdio>
#include <exception>

namespace {

// A failure that ends the command with a one-line message.
class CommandError : public std::runtime_error
{
public:
    explicit CommandError(const QString &message)
        : std::runtime_error(message.toStdString())
    {
    }
};

// The console shows none of the status area: the session tells what the
// device answered.
class ConsoleUi final : public DeviceUi
{
public:
    void setVersionLabel(const QString &) override { }
    void setPinLabelVisible(bool) override { }
};

void out(const QString &line)
{
    std::fprintf(stdout, "%s\n", line.toLocal8Bit().constData());
}

// Opens the port and runs the version handshake; the device must identify
// itself before anything else is sent. A port that cannot be opened ends
// the command with the port's own error.
void connectDevice(DeviceSession &session, const QString &portName)
{
    session.port().setPortName(portName);
    session.port().open();
    if (!session.port().isOpen() || session.versionBuild() == -1)
        throw CommandError(QStringLiteral("no Velotrix answered on %1").arg(portName));
    if (!session.identified())
        throw CommandError(QStringLiteral("the device on %1 did not report its version").arg(portName));
}

// Write and reset are refused on a locked device until it accepts the PIN
// given with --pin; nothing is asked.
void passPinGate(DeviceSession &session, const QString &pin, bool pinGiven)
{
    if (!session.pinProtected())
        return;
    if (!pinGiven)
        throw CommandError(QStringLiteral("the device is locked by a PIN; pass it with --pin"));
    session.setRememberedPin(pin);
    session.setPinRequest([](QString &) { return false; });
    if (!session.PinGatePassed())
        throw CommandError(QStringLiteral("the device refused the PIN"));
}

int run(const QCommandLineParser &parser)
{
    const QStringList args = parser.positionalArguments();
    if (args.isEmpty())
        throw CommandError(QStringLiteral("no command given (see --help)"));
    const QString command = args.first();
    const QString portName = parser.value(QStringLiteral("port"));
    if (portName.isEmpty())
        throw CommandError(QStringLiteral("no port given: use --port PORT (for example /dev/ttyACM0)"));

    static const QStringList withFile { QStringLiteral("read"), QStringLiteral("write") };
    static const QStringList withoutFile { QStringLiteral("info"), QStringLiteral("reset"),
        QStringLiteral("battery") };
    if (withFile.contains(command)) {
        if (args.size() != 2)
            throw CommandError(QStringLiteral("%1 needs exactly one FILE").arg(command));
    } else if (withoutFile.contains(command)) {
        if (args.size() != 1)
            throw CommandError(QStringLiteral("%1 takes no further arguments").arg(command));
    } else {
        throw CommandError(QStringLiteral("unknown command \"%1\" (see --help)").arg(command));
    }

    // A setup file to write is checked before the device is touched.
    tParameterSet params;
    if (command == QLatin1String("write")) {
        const QString file = args.at(1);
        if (!QFileInfo(file).isFile())
            throw CommandError(QStringLiteral("cannot read %1").arg(file));
        try {
            SetupFile::read(file, params);
        } catch (const IniConversionError &e) {
            throw CommandError(QStringLiteral("%1: %2").arg(file, QString::fromUtf8(e.what())));
        }
        if (params.ModeCount < 1 || params.ModeCount > tParameterSet::MaxModes)
            throw CommandError(
                QStringLiteral("%1: Modecount must be 1 to 5, not %2").arg(file).arg(params.ModeCount));
    }

    ConsoleUi ui;
    DeviceSession session(std::make_unique<QtSerialPort>(), ui);
    connectDevice(session, portName);
    const QString pin = parser.value(QStringLiteral("pin"));
    const bool pinGiven = parser.isSet(QStringLiteral("pin"));

    if (command == QLatin1String("info")) {
        out(QStringLiteral("Velotrix V1.%1.%2")
                .arg(static_cast<int>(session.versionVariation()))
                .arg(static_cast<int>(session.versionBuild())));
        if (session.versionBuild() > 7)
            out(session.pinProtected() ? QStringLiteral("PIN protected: yes")
                                       : QStringLiteral("PIN protected: no"));
        else
            out(QStringLiteral("PIN protected: no (firmware without PIN lock)"));
    } else if (command == QLatin1String("read")) {
        if (!session.readParameters())
            throw CommandError(QStringLiteral("Transmission failed"));
        const QString file = args.at(1);
        const QString name = parser.isSet(QStringLiteral("name")) ? parser.value(QStringLiteral("name"))
                                                                  : QFileInfo(file).completeBaseName();
        if (!SetupFile::write(QFileInfo(file).absoluteFilePath(), name, session.Params))
            throw CommandError(QStringLiteral("cannot write %1").arg(file));
        out(QStringLiteral("read %1 mode(s) into %2").arg(session.Params.ModeCount).arg(file));
    } else if (command == QLatin1String("write")) {
        passPinGate(session, pin, pinGiven);
        session.Params = params;
        if (!session.writeParameters())
            throw CommandError(QStringLiteral("Transmission failed"));
        out(QStringLiteral("Transmission successful"));
    } else if (command == QLatin1String("reset")) {
        passPinGate(session, pin, pinGiven);
        switch (session.resetParameters()) {
        case ResetResult::Reset:
            out(QStringLiteral("Velotrix was reset."));
            break;
        case ResetResult::Busy:
        case ResetResult::NoAnswer:
            throw CommandError(QStringLiteral("the device did not confirm the reset"));
        }
    } else if (command == QLatin1String("battery")) {
        const DeviceSession::Battery battery = session.readBattery();
        if (battery.status != DeviceSession::BatteryStatus::Reading)
            throw CommandError(QStringLiteral("the device did not report its battery reading"));
        if (battery.reading == 0)
            throw CommandError(QStringLiteral("Please unplug Velotrix for 5 seconds and try again."));
        out(QStringLiteral("%1%").arg(BatteryLevelFromReading(battery.reading).percent));
    }
    session.port().close();
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("velotrixctl"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VELOTRIX_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Talks to a Velotrix switch interface on a serial port.\n\n"
                       "Commands:\n"
                       "  info          print the device's version and whether it is PIN-locked\n"
                       "  read FILE     save the device's parameters as a setup file\n"
                       "  write FILE    send a setup file's parameters to the device\n"
                       "  reset         reset the device's parameters to factory settings\n"
                       "  battery       print the battery charge in percent\n\n"
                       "Exit status 0 on success; otherwise 1 with a one-line message on stderr."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addOption({ { QStringLiteral("p"), QStringLiteral("port") },
        QStringLiteral("Serial port of the device, e.g. /dev/ttyACM0."), QStringLiteral("PORT") });
    parser.addOption({ QStringLiteral("pin"), QStringLiteral("PIN of a locked device (write, reset)."),
        QStringLiteral("PIN") });
    parser.addOption({ QStringLiteral("name"),
        QStringLiteral("Setup name stored by read (default: the file name)."), QStringLiteral("NAME") });
    parser.addPositionalArgument(
        QStringLiteral("command"), QStringLiteral("info, read, write, reset or battery"));
    parser.addPositionalArgument(
        QStringLiteral("FILE"), QStringLiteral("setup file for read and write"), QStringLiteral("[FILE]"));
    parser.process(app);

    try {
        return run(parser);
    } catch (const std::exception &e) {
        std::fprintf(stderr, "velotrixctl: %s\n", e.what());
        return 1;
    }
}
