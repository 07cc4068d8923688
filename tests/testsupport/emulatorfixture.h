#pragma once

#include "device/devicelink.h"
#include "velotrixemulator.h"

#include <QList>
#include <QString>
#include <QStringList>

// A DeviceUi that remembers what the device link showed.
class RecordingDeviceUi : public DeviceUi
{
public:
    void setVersionLabel(const QString &text) override;
    void setPinLabelVisible(bool visible) override;

    QString versionLabel;
    QStringList versionLabels; // every text set, in order
    bool pinLabelVisible = false;
};

// An emulated device on a pseudo-terminal and a DeviceLink that talks to it
// through the real QtSerialPort. The port starts closed.
class EmulatorFixture
{
public:
    EmulatorFixture();

    SerialPort &port() { return link.port(); }

    VelotrixEmulator emulator;
    RecordingDeviceUi ui;
    DeviceLink link;
};
