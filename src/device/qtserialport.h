#pragma once

#include "serialport.h"

#include <memory>

class QSerialPort;

// SerialPort on QtSerialPort: 9600 8N1, CTS output flow control with RTS
// handshake, DTR held off, no XON/XOFF.
class QtSerialPort final : public SerialPort
{
public:
    QtSerialPort();
    ~QtSerialPort() override;

    void open() override;
    void close() override;
    bool isOpen() const override;
    QString portName() const override;
    void setPortName(const QString &name) override;
    void clearBuffers() override;
    void clearReceived() override;
    int write(const QByteArray &bytes) override;
    QByteArray read(int n) override;

private:
    void requireOpen() const;
    bool lineHungUp() const;
    // Throws SerialPortError with `format` filled with the port name and the
    // driver's error text; a vanished device closes the port first.
    [[noreturn]] void fail(const QString &format);

    std::unique_ptr<QSerialPort> m_port;
    QString m_name = QStringLiteral("COM1");
};
