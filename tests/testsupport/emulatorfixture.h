#pragma once

#include "device/devicelink.h"
#include "velotrixemulator.h"

#include <QList>
#include <QString>
#include <QStringList>

// A DeviceUi that remembers what the device link showed and answers message
// boxes from a queue.
class RecordingDeviceUi : public DeviceUi
{
public:
    struct Message
    {
        QString text;
        int kind = 0;
        int buttons = 0;
    };

    void setVersionLabel(const QString &text) override;
    void setPinLabelVisible(bool visible) override;
    // Takes the next queued answer; with none queued, OK boxes answer OK and
    // others No.
    int MessageDlgCentered(const QString &text, int kind, int buttons) override;

    QString versionLabel;
    QStringList versionLabels; // every text set, in order
    bool pinLabelVisible = false;
    QList<Message> messages;
    QList<int> answers;
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
