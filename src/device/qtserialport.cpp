#include "qtserialport.h"

#include "services/translation.h"

#include <QDeadlineTimer>
#include <QSerialPort>
#include <poll.h>

namespace {

constexpr int ReadIntervalMs = 100;
constexpr int ReadTotalBaseMs = 2000;
constexpr int ReadTotalPerByteMs = 10;
constexpr int WriteTotalBaseMs = 1000;
constexpr int WriteTotalPerByteMs = 100;

} // namespace

QtSerialPort::QtSerialPort()
    : m_port(std::make_unique<QSerialPort>())
{
    // A device that goes away while no exchange runs is noticed by the
    // port's own read notifier. Close it from the event loop (queued, never
    // inside a QSerialPort call), so the owner learns of it and the notifier
    // does not keep firing on the dead descriptor.
    QObject::connect(
        m_port.get(), &QSerialPort::errorOccurred, m_port.get(),
        [this](QSerialPort::SerialPortError error) {
            // The error may stem from an earlier opening; only a descriptor
            // that is hung up now counts.
            if (error != QSerialPort::NoError && error != QSerialPort::TimeoutError && isOpen()
                && lineHungUp())
                close();
        },
        Qt::QueuedConnection);
}

QtSerialPort::~QtSerialPort()
{
    // The owner's handlers may already be gone: close without running them.
    if (m_port->isOpen())
        m_port->close();
}

void QtSerialPort::open()
{
    if (isOpen())
        return;
    m_port->setPortName(m_name);
    m_port->setBaudRate(QSerialPort::Baud9600);
    m_port->setDataBits(QSerialPort::Data8);
    m_port->setParity(QSerialPort::NoParity);
    m_port->setStopBits(QSerialPort::OneStop);
    // CTS output flow control with the RTS handshake; no XON/XOFF.
    m_port->setFlowControl(QSerialPort::HardwareControl);
    if (!m_port->open(QIODevice::ReadWrite)) {
        const QString detail = m_port->errorString();
        m_port->clearError();
        throw SerialPortError(tx("Cannot open port %1: %2").arg(m_name, detail));
    }
    // Lines a pseudo-terminal or a plain USB modem does not have refuse the
    // modem-control call; that is harmless, DTR simply is not there.
    m_port->setDataTerminalReady(false);
    m_port->clearError();
    if (afterOpen)
        afterOpen();
}

void QtSerialPort::close()
{
    if (!isOpen())
        return;
    m_port->close();
    m_port->clearError();
    if (afterClose)
        afterClose();
}

bool QtSerialPort::isOpen() const
{
    return m_port->isOpen();
}

QString QtSerialPort::portName() const
{
    return m_name;
}

void QtSerialPort::setPortName(const QString &name)
{
    if (name == m_name)
        return;
    if (isOpen()) {
        close();
        m_name = name;
        open();
    } else {
        m_name = name;
    }
}

void QtSerialPort::clearBuffers()
{
    requireOpen();
    if (!m_port->clear(QSerialPort::AllDirections))
        fail(tx("Cannot clear the buffers of port %1: %2"));
}

void QtSerialPort::clearReceived()
{
    requireOpen();
    if (!m_port->clear(QSerialPort::Input))
        fail(tx("Cannot clear the buffers of port %1: %2"));
}

int QtSerialPort::write(const QByteArray &bytes)
{
    requireOpen();
    if (bytes.isEmpty())
        return 0;
    if (m_port->write(bytes) != bytes.size())
        fail(tx("Cannot write to port %1: %2"));
    const QDeadlineTimer deadline(WriteTotalBaseMs + WriteTotalPerByteMs * static_cast<qint64>(bytes.size()));
    while (m_port->bytesToWrite() > 0) {
        if (m_port->waitForBytesWritten(static_cast<int>(deadline.remainingTime())))
            continue;
        if (m_port->error() != QSerialPort::TimeoutError)
            fail(tx("Cannot write to port %1: %2"));
        m_port->clearError();
        break;
    }
    // What did not go out in time is dropped, so that the count returned is
    // what reached the line and nothing trickles out behind a later command.
    const auto unsent = m_port->bytesToWrite();
    if (unsent > 0)
        m_port->clear(QSerialPort::Output);
    return static_cast<int>(bytes.size() - unsent);
}

QByteArray QtSerialPort::read(int n)
{
    requireOpen();
    QByteArray result;
    if (n <= 0)
        return result;
    const QDeadlineTimer total(ReadTotalBaseMs + ReadTotalPerByteMs * static_cast<qint64>(n));
    while (result.size() < n) {
        if (m_port->bytesAvailable() > 0) {
            result += m_port->read(n - result.size());
            continue;
        }
        const qint64 remaining = total.remainingTime();
        if (remaining <= 0)
            break;
        // The first byte may take the whole total; after that, a gap longer
        // than the interval ends the read.
        const int wait
            = static_cast<int>(result.isEmpty() ? remaining : std::min<qint64>(remaining, ReadIntervalMs));
        if (m_port->waitForReadyRead(wait))
            continue;
        if (m_port->error() == QSerialPort::TimeoutError || m_port->error() == QSerialPort::NoError) {
            m_port->clearError();
            if (!result.isEmpty() || total.hasExpired())
                break;
            continue;
        }
        fail(tx("Cannot read from port %1: %2"));
    }
    return result;
}

void QtSerialPort::requireOpen() const
{
    if (!isOpen())
        throw SerialPortError(tx("Port %1 is not open").arg(m_name));
}

bool QtSerialPort::lineHungUp() const
{
    // A vanished device leaves the descriptor hung up. Reads then see end of
    // file, which QSerialPort reports as a plain read error with a stale
    // errno, so ask the descriptor itself.
    pollfd pfd { static_cast<int>(m_port->handle()), POLLIN, 0 };
    return poll(&pfd, 1, 0) > 0 && (pfd.revents & (POLLHUP | POLLERR | POLLNVAL));
}

void QtSerialPort::fail(const QString &format)
{
    const bool gone = m_port->error() == QSerialPort::ResourceError || lineHungUp();
    const QString message
        = format.arg(m_name, gone ? tx("the device was disconnected") : m_port->errorString());
    m_port->clearError();
    // A device that went away leaves the port closed as far as everyone is
    // concerned, so the owner's after-close handler runs before the error
    // reaches the caller.
    if (gone)
        close();
    throw SerialPortError(message);
}
