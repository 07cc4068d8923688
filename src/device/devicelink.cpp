#include "devicelink.h"

#include "services/translation.h"

#include <QElapsedTimer>
#include <chrono>
#include <exception>
#include <thread>

DeviceLink::DeviceLink(std::unique_ptr<SerialPort> port, DeviceUi &ui)
    : m_port(std::move(port))
    , m_ui(ui)
{
    m_port->afterOpen = [this] { ComPortAfterOpen(); };
    m_port->afterClose = [this] { ComPortAfterClose(); };
}

DeviceLink::~DeviceLink()
{
    // The port may outlive nothing of ours, but it must not call back into a
    // link that is being destroyed.
    m_port->afterOpen = nullptr;
    m_port->afterClose = nullptr;
}

int DeviceLink::WriteBytesToPort(const QByteArray &Ansistr)
{
    m_port->open();
    return m_port->write(StringToBytes(Ansistr));
}

QByteArray DeviceLink::StringToBytes(const QByteArray &Ansistr)
{
    return Ansistr;
}

bool DeviceLink::ReadResult_OK()
{
    Delay_ms(100);
    return m_port->read(3) == "*OK";
}

void DeviceLink::Delay_ms(int ms)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

void DeviceLink::ComPortAfterOpen()
{
    PIN_Protected = false;
    m_identified = false;
    if (CommunicationGuard guard(*this); guard.acquired()) {
        try {
            m_port->clearBuffers();
            WriteBytesToPort(QByteArrayLiteral("*V"));
            Delay_ms(50);
            if (m_port->read(2) == "*V") {
                const QByteArray variation = m_port->read(1);
                if (variation.size() == 1) {
                    Version_Variation = static_cast<std::uint8_t>(variation.at(0));
                    const QByteArray build = m_port->read(2);
                    // A short read leaves what arrived in place, low byte
                    // first, as a read straight into the field would.
                    auto value = static_cast<std::uint16_t>(Version_Build);
                    if (build.size() >= 1)
                        value = static_cast<std::uint16_t>(
                            (value & 0xFF00u) | static_cast<std::uint8_t>(build.at(0)));
                    if (build.size() == 2)
                        value = static_cast<std::uint16_t>(
                            (static_cast<std::uint8_t>(build.at(1)) << 8) | (value & 0xFFu));
                    Version_Build = static_cast<std::int16_t>(value);
                    m_identified = build.size() == 2;
                    if (m_identified)
                        m_ui.setVersionLabel(QStringLiteral("Velotrix V1.%1.%2")
                                                 .arg(static_cast<int>(Version_Variation))
                                                 .arg(static_cast<int>(Version_Build)));
                }
            } else {
                try {
                    m_port->close();
                } catch (const std::exception &) {
                    m_ui.setVersionLabel(tx("not connected"));
                }
            }
        } catch (const std::exception &) {
            m_ui.setVersionLabel(tx("not connected"));
        }
    }
    if (Version_Build > 7)
        Read_PinProtection();
}

void DeviceLink::ComPortAfterClose()
{
    Version_Build = -1;
    m_identified = false;
    m_ui.setVersionLabel(tx("not connected"));
    m_ui.setPinLabelVisible(false);
}

bool DeviceLink::Read_PinProtection()
{
    WriteBytesToPort(QByteArrayLiteral("*P"));
    Delay_ms(500);
    const QByteArray header = m_port->read(2);
    qsizetype lastRead = header.size();
    if (header == "*P") {
        const QByteArray locked = m_port->read(1);
        lastRead = locked.size();
        if (locked.size() == 1)
            PIN_Protected = locked.at(0) != 0;
    }
    const bool shown = PIN_Protected && lastRead >= 1;
    m_ui.setPinLabelVisible(shown);
    return shown;
}
