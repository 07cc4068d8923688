#pragma once

#include "app/mainform.h"
#include "fakeusb.h"
#include "velotrixemulator.h"

#include <QTemporaryDir>

// The program's twelve windows in English, with the main window's port
// chooser listing an emulated device on a pseudo-terminal, through the real
// QtSerialPort. Hot-plug sees a fake system without devices. Modal windows
// are answered from ModalDialog's queue (none queued: closed at once); the
// test queues the message box answers it expects.
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

    TMainform &main();
    DeviceLink &link() { return *main().link(); }

    VelotrixEmulator emulator;
    FakeDeviceEnumerator enumerator;

private:
    QTemporaryDir m_dir;
};
