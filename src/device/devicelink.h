#pragma once

#include "serialport.h"
#include "services/prompt.h"

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <memory>

// What the device link shows of its state: the status area in the
// configurator, nothing in velotrixctl, a recorder in tests.
class DeviceUi
{
public:
    virtual ~DeviceUi() = default;
    virtual void setVersionLabel(const QString &text) = 0;
    virtual void setPinLabelVisible(bool visible) = 0;
};

// The serial command channel and the device state it maintains: the
// Communication guard, the version handshake, and the primitives every
// exchange is built from. Owned by the main window.
class DeviceLink
{
public:
    DeviceLink(std::unique_ptr<SerialPort> port, DeviceUi &ui);
    ~DeviceLink();

    DeviceLink(const DeviceLink &) = delete;
    DeviceLink &operator=(const DeviceLink &) = delete;

    SerialPort &port() { return *m_port; }
    const SerialPort &port() const { return *m_port; }
    DeviceUi &ui() { return m_ui; }

    // Opens the port if needed, then writes the command's bytes in one write.
    int WriteBytesToPort(const QByteArray &Ansistr);
    static QByteArray StringToBytes(const QByteArray &Ansistr);
    // Waits 100 ms, reads 3 bytes, true exactly when they are "*OK".
    bool ReadResult_OK();
    // Spins until the monotonic clock has advanced by ms; processes no
    // events (it sleeps in short slices rather than burning a core).
    static void Delay_ms(int ms);

    void ComPortAfterOpen();
    void ComPortAfterClose();
    // Device lock query ("*P"); runs after the handshake for builds above 7.
    // Updates PIN_Protected and the PIN label; returns whether the label is
    // shown.
    bool Read_PinProtection();

    // True from a version handshake that read the whole answer until the
    // port closes or opens again: the device has identified itself.
    bool identified() const { return m_identified; }

    bool Communication = false;
    std::uint8_t Version_Variation = 0;
    std::int16_t Version_Build = 0;
    bool PIN_Protected = false;

private:
    std::unique_ptr<SerialPort> m_port;
    DeviceUi &m_ui;
    bool m_identified = false;
};

// Holds the link's Communication flag for one exchange, so that the version
// handshake, the reset and the battery query never run inside one another.
// Takes the flag only when it is free; acquired() tells whether it did, and
// the flag is released on every way out, exceptions included.
class CommunicationGuard
{
public:
    explicit CommunicationGuard(DeviceLink &link)
        : m_flag(link.Communication)
        , m_acquired(!link.Communication)
    {
        if (m_acquired)
            m_flag = true;
    }
    ~CommunicationGuard()
    {
        if (m_acquired)
            m_flag = false;
    }
    CommunicationGuard(const CommunicationGuard &) = delete;
    CommunicationGuard &operator=(const CommunicationGuard &) = delete;

    bool acquired() const { return m_acquired; }

private:
    bool &m_flag;
    bool m_acquired;
};
