#include "device/usbdevices.h"

#include "device/portlist.h"
#include "device/udevptr.h"

#include "device/hexdigit.h"

#include <QSerialPortInfo>
#include <algorithm>

namespace {

// A sysfs device path as udev reports it: absolute below /devices and
// without "." or ".." components, so it cannot point outside /sys.
bool isSafeDevpath(const QString &devpath)
{
    if (!devpath.startsWith(QLatin1String("/devices/")))
        return false;
    const QStringList parts = devpath.split(u'/');
    return std::none_of(parts.begin(), parts.end(), [](const QString &part) {
        return part == QLatin1String(".") || part == QLatin1String("..") || part.contains(QChar(0));
    });
}

QString usbHardwareId(int vendorId, int productId)
{
    return QStringLiteral("USB\\VID_%1&PID_%2")
        .arg(vendorId, 4, 16, QLatin1Char('0'))
        .arg(productId, 4, 16, QLatin1Char('0'))
        .toUpper();
}

// The hardware ID of the USB device a tty belongs to; empty for a tty
// without a USB parent.
QString hardwareIdOfTty(udev *context, const QString &portName)
{
    UdevDevicePtr tty(udev_device_new_from_subsystem_sysname(context, "tty", portName.toUtf8().constData()));
    if (!tty)
        return {};
    // The parent belongs to the child handle and is not released separately.
    udev_device *usbDevice = udev_device_get_parent_with_subsystem_devtype(tty.get(), "usb", "usb_device");
    if (!usbDevice)
        return {};
    const char *vendor = udev_device_get_sysattr_value(usbDevice, "idVendor");
    const char *product = udev_device_get_sysattr_value(usbDevice, "idProduct");
    if (!vendor || !product)
        return {};
    bool vendorOk = false;
    bool productOk = false;
    const int vendorId = QString::fromLatin1(vendor).trimmed().toInt(&vendorOk, 16);
    const int productId = QString::fromLatin1(product).trimmed().toInt(&productOk, 16);
    if (!vendorOk || !productOk)
        return {};
    return usbHardwareId(vendorId, productId);
}

} // namespace

void UsbPortMap::remember(const QString &ttyDevpath, const QString &portName)
{
    m_ports.insert(ttyDevpath, portName);
}

QString UsbPortMap::portBelow(const QString &usbDevpath) const
{
    if (usbDevpath.isEmpty())
        return {};
    const QString prefix = usbDevpath + u'/';
    // Keys are sorted, so every entry below the device follows lowerBound.
    auto it = m_ports.lowerBound(prefix);
    if (it != m_ports.end() && it.key().startsWith(prefix))
        return it.value();
    return {};
}

void UsbPortMap::forgetBelow(const QString &usbDevpath)
{
    if (usbDevpath.isEmpty())
        return;
    const QString prefix = usbDevpath + u'/';
    auto it = m_ports.lowerBound(prefix);
    while (it != m_ports.end() && it.key().startsWith(prefix))
        it = m_ports.erase(it);
}

UsbPortMap &usbPortMap()
{
    static UsbPortMap map;
    return map;
}

UdevDeviceEnumerator::UdevDeviceEnumerator(const UsbPortMap &portMap)
    : m_portMap(portMap)
{
}

QList<SerialDeviceInfo> UdevDeviceEnumerator::serialDevices() const
{
    const UdevPtr context(udev_new());
    QList<SerialDeviceInfo> result;
    const QList<QSerialPortInfo> ports = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo &port : ports) {
        SerialDeviceInfo info;
        info.portName = port.portName();
        if (context)
            info.hardwareId = hardwareIdOfTty(context.get(), info.portName);
        else if (port.hasVendorIdentifier() && port.hasProductIdentifier())
            info.hardwareId = usbHardwareId(port.vendorIdentifier(), port.productIdentifier());
        result.append(info);
    }
    return result;
}

QString UdevDeviceEnumerator::portOfUsbDevice(const QString &usbDevpath) const
{
    const QString remembered = m_portMap.portBelow(usbDevpath);
    if (!remembered.isEmpty() || !isSafeDevpath(usbDevpath))
        return remembered;

    const UdevPtr context(udev_new());
    if (!context)
        return {};
    const QByteArray syspath = QByteArrayLiteral("/sys") + usbDevpath.toUtf8();
    const UdevDevicePtr usbDevice(udev_device_new_from_syspath(context.get(), syspath.constData()));
    if (!usbDevice)
        return {};
    const UdevEnumeratePtr enumerate(udev_enumerate_new(context.get()));
    if (!enumerate)
        return {};
    udev_enumerate_add_match_parent(enumerate.get(), usbDevice.get());
    udev_enumerate_add_match_subsystem(enumerate.get(), "tty");
    if (udev_enumerate_scan_devices(enumerate.get()) < 0)
        return {};
    // Entries come sorted by path, so a composite device yields its first
    // interface's port.
    udev_list_entry *first = udev_enumerate_get_list_entry(enumerate.get());
    if (!first)
        return {};
    const QString ttyPath = QString::fromUtf8(udev_list_entry_get_name(first));
    return ttyPath.mid(ttyPath.lastIndexOf(u'/') + 1);
}

const DeviceEnumerator &systemDeviceEnumerator()
{
    static const UdevDeviceEnumerator enumerator;
    return enumerator;
}

QString usbDevicePath(int vendorId, int productId, const QString &usbDevpath)
{
    return usbHardwareId(vendorId, productId) + u'\\' + usbDevpath;
}

QString usbDevpathOf(const QString &devicePath)
{
    // "USB" \ "VID_xxxx&PID_xxxx" \ devpath
    if (!devicePath.startsWith(QLatin1String("USB\\")))
        return {};
    const int separator = devicePath.indexOf(u'\\', 4);
    if (separator < 0 || devicePath.mid(separator + 1, 1) != QLatin1String("/"))
        return {};
    return devicePath.mid(separator + 1);
}

int ReadHexId(const QString &marker, const QString &text)
{
    if (marker.isEmpty())
        return 0;
    const int pos = text.indexOf(marker, 0, Qt::CaseSensitive);
    if (pos < 0)
        return 0;
    const QStringView digits = QStringView(text).mid(pos + marker.size());
    if (digits.size() < 4)
        return 0;
    int value = 0;
    for (int i = 0; i < 4; ++i) {
        const int digit = hexDigitValue(digits[i]);
        if (digit < 0)
            return 0;
        value = value * 16 + digit;
    }
    return value;
}

bool isVelotrixDevice(const QString &devicePath)
{
    return ReadHexId(QStringLiteral("VID_"), devicePath) == VelotrixVendorId
        && ReadHexId(QStringLiteral("PID_"), devicePath) == VelotrixProductId;
}

bool isBootloaderDevice(const QString &devicePath)
{
    return ReadHexId(QStringLiteral("VID_"), devicePath) == BootloaderVendorId
        && ReadHexId(QStringLiteral("PID_"), devicePath) == BootloaderProductId;
}

QString GetComPortName(const QString &devicePath, const DeviceEnumerator &enumerator)
{
    const QString devpath = usbDevpathOf(devicePath);
    if (devpath.isEmpty())
        return {};
    return enumerator.portOfUsbDevice(devpath);
}

QStringList SubtractPortList(const QStringList &first, const QStringList &second)
{
    QStringList result;
    for (const QString &entry : first) {
        if (!second.contains(entry, Qt::CaseInsensitive))
            result.append(entry);
    }
    return result;
}

void ListDevicePorts(QStringList &list, const QString &hardwareIdPrefix, const DeviceEnumerator &enumerator)
{
    list.clear();
    const QList<SerialDeviceInfo> devices = enumerator.serialDevices();
    for (const SerialDeviceInfo &device : devices) {
        if (device.hardwareId.isEmpty() || device.portName.isEmpty())
            continue;
        if (device.hardwareId.startsWith(hardwareIdPrefix, Qt::CaseSensitive))
            list.append(device.portName);
    }
}

QStringList listAllSerialPorts(const DeviceEnumerator &enumerator)
{
    QStringList names;
    const QList<SerialDeviceInfo> devices = enumerator.serialDevices();
    for (const SerialDeviceInfo &device : devices)
        names.append(device.portName);
    return sortPortNames(names);
}
