#include "devicesession.h"

#include "battery.h"
#include "pinprotection.h"
#include "services/translation.h"

#include <QThread>
#include <exception>

DeviceSession::DeviceSession(std::unique_ptr<SerialPort> port, DeviceUi &ui)
    : m_link(std::move(port), ui)
{
}

bool DeviceSession::deviceActionsAllowed() const
{
    return m_link.port().isOpen() && m_link.Version_Build != -1;
}

bool DeviceSession::openPort(const QString &name)
{
    try {
        port().setPortName(name);
        port().close();
        m_link.ui().setVersionLabel(tx("connecting..."));
        port().open();
    } catch (const std::exception &) {
        // Ends silently; the label keeps "connecting...".
    }
    return port().isOpen();
}

bool DeviceSession::checkPin(const QString &pin)
{
    if (!CheckPINCode(m_link, pin))
        return false;
    m_pin = pin;
    return true;
}

bool DeviceSession::PinGatePassed()
{
    if (!m_link.PIN_Protected)
        return true;
    QString pin = m_pin;
    while (!CheckPINCode(m_link, pin)) {
        if (!m_pinRequest || !m_pinRequest(pin))
            return false;
        m_pin = pin;
    }
    return true;
}

bool DeviceSession::readParameters()
{
    const bool ok = ReadParameterBlocks(m_link, Params);
    // Only the receive side: flushing the output as well could discard the
    // final "*OK" or "*ER" before the device has it.
    port().clearReceived();
    return ok;
}

bool DeviceSession::writeParameters()
{
    if (!WriteParameterBlocks(m_link, Params))
        return false;
    DeviceLink::Delay_ms(300);
    return true;
}

ResetResult DeviceSession::resetParameters()
{
    return ResetDeviceParameters(m_link);
}

DeviceSession::Battery DeviceSession::readBattery(const std::function<void(quint16)> &onReading)
{
    CommunicationGuard guard(m_link);
    if (!guard.acquired())
        return { BatteryStatus::Busy, 0 };
    Battery result;
    const std::optional<quint16> reading = RequestBatteryReading(m_link);
    if (reading) {
        result = { BatteryStatus::Reading, *reading };
        if (onReading)
            onReading(*reading);
    }
    // The device needs a rest after the measurement.
    QThread::msleep(1000);
    return result;
}
