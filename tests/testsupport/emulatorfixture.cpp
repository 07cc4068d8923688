#include "emulatorfixture.h"

#include "device/qtserialport.h"

namespace {

std::unique_ptr<SerialPort> portOn(const QString &path)
{
    auto port = std::make_unique<QtSerialPort>();
    port->setPortName(path);
    return port;
}

} // namespace

void RecordingDeviceUi::setVersionLabel(const QString &text)
{
    versionLabel = text;
    versionLabels.append(text);
}

void RecordingDeviceUi::setPinLabelVisible(bool visible)
{
    pinLabelVisible = visible;
}

EmulatorFixture::EmulatorFixture()
    : link(portOn(emulator.portPath()), ui)
{
}
