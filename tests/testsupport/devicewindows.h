#pragma once

#include "app/appwindows.h"
#include "app/mainform.h"
#include "fakeusb.h"
#include "scriptedprompt.h"
#include "velotrixemulator.h"

#include <QTemporaryDir>
#include <memory>

// The program's twelve windows in English, with the main window's port
// chooser listing an emulated device on a pseudo-terminal, through the real
// QtSerialPort. Hot-plug sees a fake system without devices. Message boxes
// and modal windows are answered by the scripted prompt (nothing queued:
// closed at once); the test queues the answers it expects.
class DeviceWindows
{
public:
    DeviceWindows();
    ~DeviceWindows();

    DeviceWindows(const DeviceWindows &) = delete;
    DeviceWindows &operator=(const DeviceWindows &) = delete;

    // Picks the emulator's port, which runs the version handshake, then
    // forgets the bytes the handshake sent. Configure the emulator first.
    void connect();

    TMainform &main() { return *m_windows->Mainform; }
    AppWindows &windows() { return *m_windows; }
    DeviceLink &link() { return *main().link(); }
    DeviceSession &session() { return main().session(); }

    ScriptedPrompt prompt;
    VelotrixEmulator emulator;
    FakeDeviceEnumerator enumerator;

private:
    QTemporaryDir m_dir;
    std::unique_ptr<AppWindows> m_windows;
};
