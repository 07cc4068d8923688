#pragma once

#include "device/serialport.h"

#include <QList>
#include <QObject>
#include <QUrl>

// A port that is never there: opening it fails. For tests of windows whose
// behaviour does not depend on a device.
class AbsentPort : public SerialPort
{
public:
    void open() override { throw SerialPortError(QStringLiteral("no such port")); }
    void close() override { }
    bool isOpen() const override { return false; }
    QString portName() const override { return m_name; }
    void setPortName(const QString &name) override { m_name = name; }
    void clearBuffers() override { }
    int write(const QByteArray &) override { return 0; }
    QByteArray read(int) override { return {}; }

private:
    QString m_name;
};

// Receives the addresses handed to the desktop instead of opening them
// (install with QDesktopServices::setUrlHandler).
class UrlCatcher : public QObject
{
    Q_OBJECT
public:
    QList<QUrl> urls;
public Q_SLOTS:
    void open(const QUrl &url) { urls.append(url); }
};
