#pragma once

#include "devicelink.h"
#include "records.h"
#include "transfers.h"

#include <QString>
#include <functional>
#include <memory>
#include <optional>

// One device session: the link with its port and the device state, the
// Communication busy flag, the remembered PIN with the PIN gate, and the
// working records. The configurator and velotrixctl are two front ends of
// it; neither talks to the port on its own.
class DeviceSession
{
public:
    // Asks the user for the device PIN; fills pin and returns true, or
    // returns false when the user cancelled. The configurator answers with
    // its PIN dialog, velotrixctl with --pin.
    using PinRequest = std::function<bool(QString &pin)>;

    DeviceSession(std::unique_ptr<SerialPort> port, DeviceUi &ui);

    DeviceSession(const DeviceSession &) = delete;
    DeviceSession &operator=(const DeviceSession &) = delete;

    DeviceLink &link() { return m_link; }
    SerialPort &port() { return m_link.port(); }

    // Device state, as the last handshake and PIN query left it.
    std::int16_t versionBuild() const { return m_link.Version_Build; }
    std::uint8_t versionVariation() const { return m_link.Version_Variation; }
    bool pinProtected() const { return m_link.PIN_Protected; }
    bool busy() const { return m_link.Communication; }
    // The device answered the version handshake in full on the open port.
    bool identified() const { return m_link.identified(); }
    // The port is open and the device has not been lost since it opened
    // (the device actions' enabling rule).
    bool deviceActionsAllowed() const;

    // Sets the port's name, closes it, reports "connecting..." and opens it
    // again, which runs the handshake. A port that cannot be opened fails
    // silently: the label keeps "connecting...". Returns whether the port is
    // open afterwards.
    bool openPort(const QString &name);

    // The PIN typed last, tried first by every gated exchange; kept for the
    // rest of the run.
    QString rememberedPin() const { return m_pin; }
    void setRememberedPin(const QString &pin) { m_pin = pin; }
    void setPinRequest(PinRequest request) { m_pinRequest = std::move(request); }
    // While the device reports a PIN lock: tries the remembered PIN, then
    // asks until the device accepts one. False when the user cancelled.
    bool PinGatePassed();
    // "*X" with the given PIN; remembers it when the device accepts it.
    bool checkPin(const QString &pin);

    // The working records with their mode count: the one buffer between the
    // editor, the device and the setup files.
    tParameterSet Params;

    // "*1": on success Params (with its ModeCount) holds what the device
    // sent; on failure Params is unchanged. Clears only the receive side at
    // the end, so the final acknowledgement always reaches the device.
    bool readParameters();
    // "*0": sends the first Params.ModeCount modes and the global records.
    bool writeParameters();
    ResetResult resetParameters();

    enum class BatteryStatus { Busy, NoAnswer, Reading };
    struct Battery
    {
        BatteryStatus status = BatteryStatus::NoAnswer;
        quint16 reading = 0; // 0: the device could not measure
    };
    // "*B" under the busy flag. onReading runs with the flag still held (the
    // configurator shows its battery window there); then the device rests
    // for 1000 ms before the flag is released.
    Battery readBattery(const std::function<void(quint16 reading)> &onReading = {});

private:
    DeviceLink m_link;
    QString m_pin;
    PinRequest m_pinRequest;
};
