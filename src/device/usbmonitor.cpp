#include "device/usbmonitor.h"

#include "device/udevptr.h"
#include "services/translation.h"

#include <QSocketNotifier>
#include <QtDebug>
#include <algorithm>
#include <exception>

namespace {

const QString kAdd = QStringLiteral("add");
const QString kRemove = QStringLiteral("remove");
const QString kBind = QStringLiteral("bind");

// One to four hexadecimal digits, nothing else; -1 otherwise.
int parseHexId(QStringView text)
{
    if (text.isEmpty() || text.size() > 4)
        return -1;
    int value = 0;
    for (QChar c : text) {
        const char16_t u = c.unicode();
        int digit = -1;
        if (u >= u'0' && u <= u'9')
            digit = u - u'0';
        else if (u >= u'A' && u <= u'F')
            digit = u - u'A' + 10;
        else if (u >= u'a' && u <= u'f')
            digit = u - u'a' + 10;
        if (digit < 0)
            return -1;
        value = value * 16 + digit;
    }
    return value;
}

// Vendor and product ID of a USB device event. PRODUCT ("2b4e/71d3/100")
// comes from the kernel and is present on removal too, when udev has
// nothing left to read from the device; ID_VENDOR_ID/ID_MODEL_ID are udev's.
bool readIds(const DeviceProperties &properties, int &vendorId, int &productId)
{
    const QStringList product = properties.value(QStringLiteral("PRODUCT")).split(u'/');
    if (product.size() >= 2) {
        vendorId = parseHexId(product.at(0));
        productId = parseHexId(product.at(1));
        if (vendorId >= 0 && productId >= 0)
            return true;
    }
    vendorId = parseHexId(properties.value(QStringLiteral("ID_VENDOR_ID")));
    productId = parseHexId(properties.value(QStringLiteral("ID_MODEL_ID")));
    return vendorId >= 0 && productId >= 0;
}

DeviceProperties propertiesOf(udev_device *device)
{
    DeviceProperties properties;
    for (udev_list_entry *entry = udev_device_get_properties_list_entry(device); entry;
         entry = udev_list_entry_get_next(entry)) {
        const char *value = udev_list_entry_get_value(entry);
        properties.insert(
            QString::fromUtf8(udev_list_entry_get_name(entry)), value ? QString::fromUtf8(value) : QString());
    }
    const auto ensure = [&properties](const char *key, const char *value) {
        if (value && !properties.contains(QLatin1String(key)))
            properties.insert(QLatin1String(key), QString::fromUtf8(value));
    };
    ensure("SUBSYSTEM", udev_device_get_subsystem(device));
    ensure("DEVTYPE", udev_device_get_devtype(device));
    ensure("DEVPATH", udev_device_get_devpath(device));
    return properties;
}

} // namespace

UdevEventSource::UdevEventSource(QObject *parent)
    : UsbEventSource(parent)
{
    UdevPtr context(udev_new());
    if (!context)
        return;
    UdevMonitorPtr monitor(udev_monitor_new_from_netlink(context.get(), "udev"));
    if (!monitor)
        return;
    if (udev_monitor_filter_add_match_subsystem_devtype(monitor.get(), "usb", "usb_device") < 0
        || udev_monitor_filter_add_match_subsystem_devtype(monitor.get(), "tty", nullptr) < 0
        || udev_monitor_enable_receiving(monitor.get()) < 0)
        return;
    const int fd = udev_monitor_get_fd(monitor.get());
    if (fd < 0)
        return;
    m_udev = context.release();
    m_monitor = monitor.release();
    m_notifier = new QSocketNotifier(fd, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &UdevEventSource::receive);
}

UdevEventSource::~UdevEventSource()
{
    delete m_notifier;
    if (m_monitor)
        udev_monitor_unref(m_monitor);
    if (m_udev)
        udev_unref(m_udev);
}

QList<DeviceProperties> UdevEventSource::presentDevices()
{
    QList<DeviceProperties> result;
    if (!m_udev)
        return result;
    const auto scan = [this, &result](const char *subsystem, const char *devtype, const auto &wanted) {
        const UdevEnumeratePtr enumerate(udev_enumerate_new(m_udev));
        if (!enumerate)
            return;
        udev_enumerate_add_match_subsystem(enumerate.get(), subsystem);
        if (devtype)
            udev_enumerate_add_match_property(enumerate.get(), "DEVTYPE", devtype);
        if (udev_enumerate_scan_devices(enumerate.get()) < 0)
            return;
        for (udev_list_entry *entry = udev_enumerate_get_list_entry(enumerate.get()); entry;
             entry = udev_list_entry_get_next(entry)) {
            const char *syspath = udev_list_entry_get_name(entry);
            if (!wanted(QByteArrayView(syspath)))
                continue;
            const UdevDevicePtr device(udev_device_new_from_syspath(m_udev, syspath));
            if (device)
                result.append(propertiesOf(device.get()));
        }
    };
    // Only ports below a USB device are of use; the consoles and on-board
    // ports, dozens on most systems, are not read at all.
    QList<QByteArray> usbFolders;
    scan("usb", "usb_device", [&usbFolders](QByteArrayView syspath) {
        usbFolders.append(syspath.toByteArray() + '/');
        return true;
    });
    scan("tty", nullptr, [&usbFolders](QByteArrayView syspath) {
        return std::any_of(usbFolders.cbegin(), usbFolders.cend(),
            [syspath](const QByteArray &folder) { return syspath.startsWith(folder); });
    });
    return result;
}

void UdevEventSource::receive()
{
    const UdevDevicePtr device(udev_monitor_receive_device(m_monitor));
    if (!device)
        return;
    const char *action = udev_device_get_action(device.get());
    Q_EMIT deviceEvent(action ? QString::fromUtf8(action) : QString(), propertiesOf(device.get()));
}

TComponentUSB::TComponentUSB(QObject *owner)
    : TComponentUSB(owner, new UdevEventSource)
{
}

TComponentUSB::TComponentUSB(QObject *owner, UsbEventSource *source, UsbPortMap &portMap)
    : QObject(owner)
    , m_source(source)
    , m_portMap(portMap)
{
    m_source->setParent(this);

    // Devices before ports, so that every port finds its device.
    const QList<DeviceProperties> present = m_source->presentDevices();
    for (const DeviceProperties &properties : present) {
        int vendorId = 0;
        int productId = 0;
        const QString devpath = properties.value(QStringLiteral("DEVPATH"));
        if (properties.value(QStringLiteral("SUBSYSTEM")) == QLatin1String("usb")
            && properties.value(QStringLiteral("DEVTYPE")) == QLatin1String("usb_device")
            && !devpath.isEmpty() && readIds(properties, vendorId, productId))
            m_devices.insert(devpath, UsbDevice { vendorId, productId, true });
    }
    for (const DeviceProperties &properties : present) {
        const QString devpath = properties.value(QStringLiteral("DEVPATH"));
        if (properties.value(QStringLiteral("SUBSYSTEM")) == QLatin1String("tty")
            && parentDevice(devpath) != m_devices.end())
            m_portMap.remember(devpath, devpath.mid(devpath.lastIndexOf(u'/') + 1));
    }

    connect(m_source, &UsbEventSource::deviceEvent, this, &TComponentUSB::handleEvent);
}

TComponentUSB::~TComponentUSB()
{
    // The source goes first so that no notification reaches a half-destroyed
    // component.
    delete m_source;
}

void TComponentUSB::handleEvent(const QString &action, const DeviceProperties &properties)
{
    const QString subsystem = properties.value(QStringLiteral("SUBSYSTEM"));
    if (subsystem == QLatin1String("usb")
        && properties.value(QStringLiteral("DEVTYPE")) == QLatin1String("usb_device"))
        handleUsbDevice(action, properties);
    else if (subsystem == QLatin1String("tty"))
        handleTty(action, properties);
}

void TComponentUSB::handleUsbDevice(const QString &action, const DeviceProperties &properties)
{
    const QString devpath = properties.value(QStringLiteral("DEVPATH"));
    if (devpath.isEmpty())
        return;
    int vendorId = 0;
    int productId = 0;
    const bool haveIds = readIds(properties, vendorId, productId);

    if (action == kAdd) {
        // Not reported yet: the device's serial port (if it has one) is
        // typically set up only after this.
        if (haveIds)
            m_devices.insert(devpath, UsbDevice { vendorId, productId, false });
    } else if (action == kBind) {
        auto it = m_devices.find(devpath);
        if (it == m_devices.end()) {
            if (!haveIds)
                return;
            it = m_devices.insert(devpath, UsbDevice { vendorId, productId, false });
        }
        if (it->announced)
            return;
        it->announced = true;
        emitGuarded(true, usbDevicePath(it->vendorId, it->productId, devpath));
    } else if (action == kRemove) {
        const auto it = m_devices.constFind(devpath);
        if (!haveIds && it != m_devices.constEnd()) {
            vendorId = it->vendorId;
            productId = it->productId;
        } else if (!haveIds) {
            m_portMap.forgetBelow(devpath);
            return;
        }
        m_devices.remove(devpath);
        // Handlers ask GetComPortName for the port, so the device's ports
        // are forgotten only afterwards.
        emitGuarded(false, usbDevicePath(vendorId, productId, devpath));
        m_portMap.forgetBelow(devpath);
    }
}

void TComponentUSB::handleTty(const QString &action, const DeviceProperties &properties)
{
    // A port's removal is not acted on: its device's removal follows and
    // still needs the port's name.
    if (action != kAdd)
        return;
    const QString devpath = properties.value(QStringLiteral("DEVPATH"));
    const auto device = parentDevice(devpath);
    if (device == m_devices.end())
        return;
    m_portMap.remember(devpath, devpath.mid(devpath.lastIndexOf(u'/') + 1));
    device->announced = true;
    emitGuarded(true, usbDevicePath(device->vendorId, device->productId, device.key()));
}

QMap<QString, TComponentUSB::UsbDevice>::iterator TComponentUSB::parentDevice(const QString &devpath)
{
    auto best = m_devices.end();
    for (auto it = m_devices.begin(); it != m_devices.end(); ++it) {
        if (devpath.startsWith(it.key() + u'/')
            && (best == m_devices.end() || it.key().size() > best.key().size()))
            best = it;
    }
    return best;
}

void TComponentUSB::emitGuarded(bool arrival, const QString &devicePath)
{
    QString error;
    try {
        if (arrival)
            Q_EMIT OnUSBArrival(this, devicePath);
        else
            Q_EMIT OnUSBRemove(this, devicePath);
        return;
    } catch (const std::exception &e) {
        error = QString::fromUtf8(e.what());
    } catch (...) {
        error = tx("An unknown error occurred.");
    }
    if (onError)
        onError(error);
    else
        qWarning().noquote() << error;
}
