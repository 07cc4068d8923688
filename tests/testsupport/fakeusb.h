#pragma once

#include "device/usbdevices.h"
#include "device/usbmonitor.h"

#include <QList>
#include <QMap>
#include <QString>

// A serial-port world for discovery tests: the listed ports and, for each
// USB device's sysfs path, its port.
class FakeDeviceEnumerator : public DeviceEnumerator
{
public:
    QList<SerialDeviceInfo> devices;
    QMap<QString, QString> portsByDevpath;
    mutable QStringList askedDevpaths;

    QList<SerialDeviceInfo> serialDevices() const override { return devices; }
    QString portOfUsbDevice(const QString &usbDevpath) const override
    {
        askedDevpaths.append(usbDevpath);
        return portsByDevpath.value(usbDevpath);
    }
};

// Feeds udev-style notifications in the order the system sends them.
class FakeUsbEventSource : public UsbEventSource
{
    Q_OBJECT
public:
    // Reported as present when the component starts.
    QList<DeviceProperties> present;

    QList<DeviceProperties> presentDevices() override { return present; }

    static DeviceProperties usbDevice(const QString &devpath, int vendorId, int productId);
    static DeviceProperties tty(const QString &ttyDevpath);
    // The tty of a CDC serial device: <usbDevpath>/<interface>/tty/<name>.
    static QString ttyDevpath(const QString &usbDevpath, const QString &name);

    void send(const QString &action, const DeviceProperties &properties)
    {
        Q_EMIT deviceEvent(action, properties);
    }

    // add, then (when ttyName is given) the port's add, then bind.
    void plugIn(const QString &usbDevpath, int vendorId, int productId, const QString &ttyName = {});
    // The port's removal first, then the device's, which carries only the
    // kernel's PRODUCT as udev can no longer read the device.
    void unplug(const QString &usbDevpath, int vendorId, int productId, const QString &ttyName = {});
};
