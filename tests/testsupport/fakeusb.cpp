#include "fakeusb.h"

DeviceProperties FakeUsbEventSource::usbDevice(const QString &devpath, int vendorId, int productId)
{
    const auto hex4 = [](int v) { return QStringLiteral("%1").arg(v, 4, 16, QLatin1Char('0')); };
    return DeviceProperties {
        { QStringLiteral("SUBSYSTEM"), QStringLiteral("usb") },
        { QStringLiteral("DEVTYPE"), QStringLiteral("usb_device") },
        { QStringLiteral("DEVPATH"), devpath },
        { QStringLiteral("PRODUCT"), QStringLiteral("%1/%2/100").arg(vendorId, 0, 16).arg(productId, 0, 16) },
        { QStringLiteral("ID_VENDOR_ID"), hex4(vendorId) },
        { QStringLiteral("ID_MODEL_ID"), hex4(productId) },
    };
}

DeviceProperties FakeUsbEventSource::tty(const QString &ttyDevpath)
{
    return DeviceProperties {
        { QStringLiteral("SUBSYSTEM"), QStringLiteral("tty") },
        { QStringLiteral("DEVPATH"), ttyDevpath },
        { QStringLiteral("DEVNAME"), QStringLiteral("/dev/") + ttyDevpath.section(u'/', -1) },
    };
}

QString FakeUsbEventSource::ttyDevpath(const QString &usbDevpath, const QString &name)
{
    const QString port = usbDevpath.section(u'/', -1);
    return usbDevpath + u'/' + port + QStringLiteral(":1.0/tty/") + name;
}

void FakeUsbEventSource::plugIn(
    const QString &usbDevpath, int vendorId, int productId, const QString &ttyName)
{
    send(QStringLiteral("add"), usbDevice(usbDevpath, vendorId, productId));
    if (!ttyName.isEmpty())
        send(QStringLiteral("add"), tty(ttyDevpath(usbDevpath, ttyName)));
    send(QStringLiteral("bind"), usbDevice(usbDevpath, vendorId, productId));
}

void FakeUsbEventSource::unplug(
    const QString &usbDevpath, int vendorId, int productId, const QString &ttyName)
{
    if (!ttyName.isEmpty())
        send(QStringLiteral("remove"), tty(ttyDevpath(usbDevpath, ttyName)));
    DeviceProperties gone = usbDevice(usbDevpath, vendorId, productId);
    gone.remove(QStringLiteral("ID_VENDOR_ID"));
    gone.remove(QStringLiteral("ID_MODEL_ID"));
    send(QStringLiteral("remove"), gone);
}
