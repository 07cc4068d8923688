// Times TEditor::ReadFromDataStructs for five modes inside the configurator's
// shown main window, with its eleven other windows made as at start: each
// read removes the added mode pages, builds four new ones from the standard
// page's state and fills every control (and the help pane) from the records.
//
//   velotrix-bench-editor [--runs N]
//
// No serial port is listed or opened, no device notification is followed,
// and Config.ini lives in a temporary folder. Exit status: 0 target met,
// 1 target missed, 2 the bench could not run.

#include "app/appwindows.h"
#include "app/mainform.h"
#include "device/serialport.h"
#include "device/usbdevices.h"
#include "device/usbmonitor.h"
#include "editor/editor.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QWindow>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

constexpr double TargetMs = 50;

// Nothing asks the user during a read; an unexpected question is answered
// No and fails the bench.
class QuietPrompt : public Prompt
{
public:
    int asked = 0;
    MsgDlgResult MessageDlgCentered(const QString &, MsgDlgKind, MsgDlgButtons) override
    {
        ++asked;
        return mrNo;
    }
    int execModal(QDialog &) override
    {
        ++asked;
        return 0;
    }
};

class NoDevices : public DeviceEnumerator
{
public:
    QList<SerialDeviceInfo> serialDevices() const override { return {}; }
    QString portOfUsbDevice(const QString &) const override { return {}; }
};

class NoNotifications : public UsbEventSource
{
public:
    QList<DeviceProperties> presentDevices() override { return {}; }
};

// Lets the window lay out and paint what the last step changed.
void settle()
{
    QEventLoop loop;
    for (int i = 0; i < 100 && loop.processEvents(); ++i) { }
}

// The offscreen platform says on every window that it cannot do some
// window-manager requests; that says nothing about the editor.
void dropPlatformNotes(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (message.startsWith(QLatin1String("This plugin does not support")))
        return;
    qt_message_output(type, context, message);
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

} // namespace

int main(int argc, char *argv[])
{
    qInstallMessageHandler(dropPlatformNotes);
    QApplication app(argc, argv);
    int runs = 11;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--runs") == 0 && i + 1 < argc) {
            runs = std::max(1, std::atoi(argv[++i]));
        } else {
            std::fprintf(stderr, "usage: velotrix-bench-editor [--runs N]\n");
            return 2;
        }
    }

    QTemporaryDir folder;
    if (!folder.isValid())
        return 2;
    static const NoDevices noDevices;
    TMainform::Setup setup;
    setup.configPath = folder.filePath(QStringLiteral("Config.ini"));
    setup.listPorts = [] { return QStringList(); };
    setup.discovery.makeEventSource = [] { return new NoNotifications; };
    setup.discovery.enumerator = &noDevices;

    QuietPrompt prompt;
    AppWindows windows(prompt, std::make_unique<TMainform>(prompt, std::move(setup)));
    TMainform *main = windows.Mainform;
    main->show();
    QElapsedTimer exposed;
    exposed.start();
    while (!(main->windowHandle() && main->windowHandle()->isExposed()) && exposed.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    settle();

    // Five modes, one of each switch function, on alternating outputs: the
    // standard page's valid values, varied.
    TEditor *editor = main->Editor;
    tParameterSet records = main->Params;
    editor->WriteToDataStructs(records);
    for (int i = 0; i < tParameterSet::MaxModes; ++i) {
        tModeDescriptor &mode = records.ModeDescriptor.at(std::size_t(i));
        mode = records.ModeDescriptor.at(0);
        mode.SwitchMode = tSwitchMode(i);
        mode.RelOut = i % 2 ? Relais2 : Relais1;
    }
    records.ModeCount = tParameterSet::MaxModes;

    // The first reads also open the help pane and fill caches; not counted.
    for (int i = 0; i < 2; ++i) {
        editor->ReadFromDataStructs(records, tParameterSet::MaxModes);
        settle();
    }

    std::vector<double> callMs, settledMs;
    QElapsedTimer timer;
    for (int i = 0; i < runs; ++i) {
        timer.start();
        editor->ReadFromDataStructs(records, tParameterSet::MaxModes);
        callMs.push_back(double(timer.nsecsElapsed()) / 1e6);
        settle();
        settledMs.push_back(double(timer.nsecsElapsed()) / 1e6);
    }

    if (editor->modeCount() != tParameterSet::MaxModes || prompt.asked > 0) {
        std::fprintf(stderr, "velotrix-bench-editor: the read did not build five silent pages\n");
        return 2;
    }

    const double call = median(callMs);
    const double settled = median(settledMs);
    std::printf("editor read runs (ms):");
    for (double v : callMs)
        std::printf(" %.1f", v);
    std::printf("\neditor read, 5 modes: %.1f ms (target <= %.0f ms)%s\n", call, TargetMs,
        call <= TargetMs ? "" : "  MISSED");
    std::printf("editor read, 5 modes, until laid out and painted: %.1f ms (for information)\n", settled);
    return call <= TargetMs ? 0 : 1;
}
