#pragma once

#include <QByteArray>
#include <QString>

#include <functional>
#include <stdexcept>
#include <string>

// Raised by a port operation that fails: a port that cannot be opened, or a
// read, write or buffer clear on a port that went away.
class SerialPortError : public std::runtime_error
{
public:
    explicit SerialPortError(const QString &message)
        : std::runtime_error(message.toStdString())
    {
    }
};

// The serial port as the command channel sees it. Every operation blocks the
// calling thread; there is no event loop involvement, so exchanges behave the
// same in the GUI, the command-line tool and the tests.
class SerialPort
{
public:
    virtual ~SerialPort() = default;

    // Opens portName() with the fixed line settings. No effect if already
    // open. Marks the port open, then runs the after-open handler. Throws
    // SerialPortError when the port cannot be opened.
    virtual void open() = 0;
    // No effect if closed; otherwise closes, marks closed, then runs the
    // after-close handler.
    virtual void close() = 0;
    virtual bool isOpen() const = 0;

    virtual QString portName() const = 0;
    // Setting a different name while the port is open closes it and opens the
    // new name.
    virtual void setPortName(const QString &name) = 0;

    // Discards everything received but not read and everything queued for
    // sending. Throws SerialPortError on failure.
    virtual void clearBuffers() = 0;
    // Discards only what was received but not read: bytes just written still
    // reach the device. Throws SerialPortError on failure.
    virtual void clearReceived() { clearBuffers(); }
    // Blocks until all bytes are sent or the write time-out
    // (1000 ms + 100 ms per byte) expires; returns the number sent.
    virtual int write(const QByteArray &bytes) = 0;
    // Blocks until n bytes have arrived, 100 ms pass between two bytes, or
    // 2000 ms + 10 ms per requested byte pass in total; returns what arrived
    // (0 to n bytes).
    virtual QByteArray read(int n) = 0;

    std::function<void()> afterOpen;
    std::function<void()> afterClose;
};
