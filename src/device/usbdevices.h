#pragma once

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

// USB identity of the device and of the chip's DFU bootloader.
constexpr int VelotrixVendorId = 0x2B4E;
constexpr int VelotrixProductId = 0x71D3;
constexpr int BootloaderVendorId = 0x03EB;
constexpr int BootloaderProductId = 0x2FE4;
// Hardware IDs of the device's serial ports start with this text.
inline constexpr char VelotrixHardwareIdPrefix[] = "USB\\VID_2B4E&PID_71D3";

// One serial port of the system. hardwareId is "USB\VID_xxxx&PID_xxxx" for a
// port that belongs to a USB device, empty otherwise.
struct SerialDeviceInfo
{
    QString portName;
    QString hardwareId;
};

// Ports of USB devices, remembered by the sysfs path of the tty device
// (e.g. /devices/.../usb1/1-2/1-2:1.0/tty/ttyACM0 -> ttyACM0). Once a device
// is unplugged the system can no longer say which tty it had, so the
// notification component records them while the devices are present and
// forgets them only after the removal has been handled. UI thread only.
class UsbPortMap
{
public:
    void remember(const QString &ttyDevpath, const QString &portName);
    // The first port (in path order) below the USB device at usbDevpath;
    // empty when none is known.
    QString portBelow(const QString &usbDevpath) const;
    void forgetBelow(const QString &usbDevpath);
    bool isEmpty() const { return m_ports.isEmpty(); }

private:
    QMap<QString, QString> m_ports;
};

// The process-wide map, filled by TComponentUSB and read by the system
// enumerator.
UsbPortMap &usbPortMap();

// The system queries behind discovery, so that tests can supply a fake.
class DeviceEnumerator
{
public:
    virtual ~DeviceEnumerator() = default;
    // Every serial port present now, in the system's order.
    virtual QList<SerialDeviceInfo> serialDevices() const = 0;
    // The tty name ("ttyACM0") of the USB device at the sysfs path
    // usbDevpath ("/devices/.../usb1/1-2"); empty when it has none.
    virtual QString portOfUsbDevice(const QString &usbDevpath) const = 0;
};

// libudev and QSerialPortInfo. portOfUsbDevice asks the port map first, so
// it still answers for a device that has just been removed.
class UdevDeviceEnumerator : public DeviceEnumerator
{
public:
    explicit UdevDeviceEnumerator(const UsbPortMap &portMap = usbPortMap());
    QList<SerialDeviceInfo> serialDevices() const override;
    QString portOfUsbDevice(const QString &usbDevpath) const override;

private:
    const UsbPortMap &m_portMap;
};

const DeviceEnumerator &systemDeviceEnumerator();

// "USB\VID_2B4E&PID_71D3\/devices/.../1-2": the path that device
// notifications carry. The IDs are four upper-case hexadecimal digits.
QString usbDevicePath(int vendorId, int productId, const QString &usbDevpath);
// The sysfs part of a path built by usbDevicePath; empty when the text has
// no such part.
QString usbDevpathOf(const QString &devicePath);

// Reads the four characters after the first occurrence of marker (compared
// with case) as a hexadecimal number; 0 when the marker is missing or they
// are not four hexadecimal digits.
int ReadHexId(const QString &marker, const QString &text);
bool isVelotrixDevice(const QString &devicePath);
bool isBootloaderDevice(const QString &devicePath);

// The port name ("ttyACM0") of the USB device a notification path names;
// empty when there is none.
QString GetComPortName(
    const QString &devicePath, const DeviceEnumerator &enumerator = systemDeviceEnumerator());

// A copy of first without the entries that also occur in second (compared
// without regard to case).
QStringList SubtractPortList(const QStringList &first, const QStringList &second);

// Replaces the list's entries with the ports of present devices whose
// hardware ID starts with the prefix (compared with case).
void ListDevicePorts(QStringList &list, const QString &hardwareIdPrefix,
    const DeviceEnumerator &enumerator = systemDeviceEnumerator());

// listAllSerialPorts() of portlist.h over the ports the enumerator lists,
// so that callers can be tested with a fake.
QStringList listAllSerialPorts(const DeviceEnumerator &enumerator);
