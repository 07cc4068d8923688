#pragma once

#include "device/usbdevices.h"

#include <QHash>
#include <QList>
#include <QMap>
#include <QObject>
#include <QString>
#include <functional>

class QSocketNotifier;
struct udev;
struct udev_monitor;

// udev's properties of one device: SUBSYSTEM, DEVTYPE, DEVPATH, PRODUCT,
// ID_VENDOR_ID, ID_MODEL_ID and so on.
using DeviceProperties = QHash<QString, QString>;

// Where device notifications come from: udev, or a fake in tests.
class UsbEventSource : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;
    // The USB devices ("usb"/"usb_device") present now and the serial ports
    // ("tty") below them, read once when the component starts.
    virtual QList<DeviceProperties> presentDevices() = 0;

Q_SIGNALS:
    // action is udev's: "add", "remove", "bind", "unbind", "change", ...
    void deviceEvent(const QString &action, const DeviceProperties &properties);
};

// Listens on udev's netlink monitor for USB devices and serial ports. The
// socket is watched on the thread that creates the source. When udev cannot
// be set up the source stays silent.
class UdevEventSource : public UsbEventSource
{
    Q_OBJECT
public:
    explicit UdevEventSource(QObject *parent = nullptr);
    ~UdevEventSource() override;

    bool isActive() const { return m_monitor != nullptr; }
    QList<DeviceProperties> presentDevices() override;

private:
    void receive();

    udev *m_udev = nullptr;
    udev_monitor *m_monitor = nullptr;
    QSocketNotifier *m_notifier = nullptr;
};

// The device-change notification component. It reports USB devices arriving
// and leaving with a path "USB\VID_xxxx&PID_xxxx\<sysfs path>" (four
// upper-case hexadecimal digits each) that ReadHexId and GetComPortName
// understand.
//
// An arrival is reported once the device is ready for use: when a serial
// port below it has been set up (the device's port can then be opened), or
// when the device has been bound to its driver, whichever comes first; a
// serial port that appears later is reported as a further arrival of its
// device. A removal is reported once; the device's ports stay known to
// GetComPortName until the handlers have run.
class TComponentUSB : public QObject
{
    Q_OBJECT
public:
    explicit TComponentUSB(QObject *owner);
    // Takes ownership of source; records the ports of USB devices in portMap.
    TComponentUSB(QObject *owner, UsbEventSource *source, UsbPortMap &portMap = usbPortMap());
    ~TComponentUSB() override;

    // Receives the text of an error raised by a connected handler; the
    // component goes on delivering notifications.
    std::function<void(const QString &)> onError;

Q_SIGNALS:
    void OnUSBArrival(QObject *Sender, const QString &Port);
    void OnUSBRemove(QObject *Sender, const QString &Port);

private:
    struct UsbDevice
    {
        int vendorId = 0;
        int productId = 0;
        bool announced = false;
    };

    void handleEvent(const QString &action, const DeviceProperties &properties);
    void handleUsbDevice(const QString &action, const DeviceProperties &properties);
    void handleTty(const QString &action, const DeviceProperties &properties);
    // The known USB device a sysfs path lies below (the innermost one, as
    // hubs are USB devices too); end() when none.
    QMap<QString, UsbDevice>::iterator parentDevice(const QString &devpath);
    void emitGuarded(bool arrival, const QString &devicePath);

    UsbEventSource *m_source;
    UsbPortMap &m_portMap;
    QMap<QString, UsbDevice> m_devices;
};
