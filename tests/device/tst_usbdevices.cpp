#include "device/usbdevices.h"
#include "device/usbmonitor.h"
#include "fakeusb.h"

#include <QRegularExpression>
#include <QSignalSpy>
#include <QtTest>
#include <memory>
#include <stdexcept>

using namespace Qt::StringLiterals;

namespace {

const QString kRootHub = QStringLiteral("/devices/pci0000:00/0000:00:14.0/usb1");
const QString kHub = kRootHub + QStringLiteral("/1-2");
const QString kDevice = kHub + QStringLiteral("/1-2.1");
const QString kSecondDevice = kHub + QStringLiteral("/1-2.3");

} // namespace

class TestUsbDevices : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void readHexId_data();
    void readHexId();
    void subtractPortList_data();
    void subtractPortList();
    void listDevicePorts_data();
    void listDevicePorts();
    void listAllSerialPortsSortsWithoutCase();
    void getComPortName_data();
    void getComPortName();
    void portMapLooksBelowTheDeviceOnly();

    void arrival_data();
    void arrival();
    void removalStillKnowsThePort();
    void devicesPresentAtStartAreKnown();
    void unrelatedEventsAreIgnored();
    void handlerErrorsGoToOnError();
    void systemQueries();

private:
    // A component on a fake source that knows the root hub and the hub the
    // test devices hang off.
    struct Rig
    {
        FakeUsbEventSource *source = new FakeUsbEventSource;
        UsbPortMap map;
        UdevDeviceEnumerator enumerator { map };
        std::unique_ptr<TComponentUSB> usb;

        Rig()
        {
            source->present = { FakeUsbEventSource::usbDevice(kRootHub, 0x1D6B, 0x0002),
                FakeUsbEventSource::usbDevice(kHub, 0x05E3, 0x0610) };
            usb = std::make_unique<TComponentUSB>(nullptr, source, map);
        }
    };
};

void TestUsbDevices::readHexId_data()
{
    QTest::addColumn<QString>("marker");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("expected");

    const QString windowsPath
        = QStringLiteral("\\\\?\\USB#VID_2B4E&PID_71D3#0001#{a5dcbf10-6530-11d2-901f-00c04fb951ed}");
    QTest::newRow("vendor of interface path") << "VID_" << windowsPath << 0x2B4E;
    QTest::newRow("product of interface path") << "PID_" << windowsPath << 0x71D3;
    QTest::newRow("lower-case digits") << "VID_"
                                       << "USB#VID_2b4e&PID_71d3#0001" << 0x2B4E;
    QTest::newRow("mixed-case digits") << "PID_"
                                       << "USB#VID_2b4E&PID_71d3#0001" << 0x71D3;
    QTest::newRow("lower-case marker in path") << "VID_"
                                               << "\\\\?\\usb#vid_2b4e&pid_71d3#0001" << 0;
    QTest::newRow("marker missing") << "PID_"
                                    << "USB#VID_2B4E#0001" << 0;
    QTest::newRow("not hexadecimal") << "VID_"
                                     << "USB#VID_2B4G&PID_71D3" << 0;
    QTest::newRow("leading sign") << "VID_"
                                  << "USB#VID_+1F2&PID_71D3" << 0;
    QTest::newRow("leading space") << "VID_"
                                   << "USB#VID_ 1F2&PID_71D3" << 0;
    QTest::newRow("0x prefix") << "VID_"
                               << "USB#VID_0x1F&PID_71D3" << 0;
    QTest::newRow("too short at end") << "PID_"
                                      << "USB#VID_2B4E&PID_71D" << 0;
    QTest::newRow("only the first occurrence counts") << "VID_"
                                                      << "VID_zzzz VID_2B4E" << 0;
    QTest::newRow("zero id") << "VID_"
                             << "USB\\VID_0000&PID_0001" << 0;
    QTest::newRow("bootloader") << "VID_"
                                << "USB\\VID_03EB&PID_2FE4\\/devices/x" << 0x03EB;
    QTest::newRow("notification path") << "PID_" << usbDevicePath(0x2B4E, 0x71D3, kDevice) << 0x71D3;
}

void TestUsbDevices::readHexId()
{
    QFETCH(QString, marker);
    QFETCH(QString, text);
    QFETCH(int, expected);
    QCOMPARE(ReadHexId(marker, text), expected);
}

void TestUsbDevices::subtractPortList_data()
{
    QTest::addColumn<QStringList>("first");
    QTest::addColumn<QStringList>("second");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("new port") << QStringList { u"COM1"_s, u"COM3"_s, u"COM5"_s }
                              << QStringList { u"COM1"_s, u"COM3"_s } << QStringList { u"COM5"_s };
    QTest::newRow("case ignored") << QStringList { u"ttyACM0"_s, u"ttyUSB1"_s }
                                  << QStringList { u"TTYACM0"_s } << QStringList { u"ttyUSB1"_s };
    QTest::newRow("nothing new") << QStringList { u"COM1"_s } << QStringList { u"com1"_s, u"COM2"_s }
                                 << QStringList {};
    QTest::newRow("empty second keeps order")
        << QStringList { u"b"_s, u"a"_s, u"b"_s } << QStringList {} << QStringList { u"b"_s, u"a"_s, u"b"_s };
    QTest::newRow("empty first") << QStringList {} << QStringList { u"COM1"_s } << QStringList {};
}

void TestUsbDevices::subtractPortList()
{
    QFETCH(QStringList, first);
    QFETCH(QStringList, second);
    QFETCH(QStringList, expected);
    QCOMPARE(SubtractPortList(first, second), expected);
}

void TestUsbDevices::listDevicePorts_data()
{
    QTest::addColumn<QList<SerialDeviceInfo>>("devices");
    QTest::addColumn<QStringList>("expected");

    const auto dev = [](const char *port, const char *id) {
        return SerialDeviceInfo { QString::fromLatin1(port), QString::fromLatin1(id) };
    };
    QTest::newRow("no device") << QList<SerialDeviceInfo> {} << QStringList {};
    QTest::newRow("only other ports")
        << QList<SerialDeviceInfo> { dev("ttyS0", ""), dev("ttyUSB0", "USB\\VID_0403&PID_6001") }
        << QStringList {};
    QTest::newRow("devices among others, system order")
        << QList<SerialDeviceInfo> { dev("ttyACM3", "USB\\VID_2B4E&PID_71D3"), dev("ttyS0", ""),
               dev("ttyACM1", "USB\\VID_2B4E&PID_71D3&REV_0100"), dev("ttyACM0", "USB\\VID_2B4E&PID_71D4") }
        << QStringList { u"ttyACM3"_s, u"ttyACM1"_s };
    QTest::newRow("prefix only at the start of the ID")
        << QList<SerialDeviceInfo> { dev("ttyACM0", "ACPI\\USB\\VID_2B4E&PID_71D3"),
               dev("ttyACM1", "USB\\VID_2B4E&PID_71D"), dev("ttyACM2", " USB\\VID_2B4E&PID_71D3") }
        << QStringList {};
    QTest::newRow("prefix compared with case")
        << QList<SerialDeviceInfo> { dev("ttyACM0", "USB\\VID_2b4e&PID_71d3") } << QStringList {};
    QTest::newRow("bootloader is no serial device")
        << QList<SerialDeviceInfo> { dev("ttyACM0", "USB\\VID_03EB&PID_2FE4") } << QStringList {};
}

void TestUsbDevices::listDevicePorts()
{
    QFETCH(QList<SerialDeviceInfo>, devices);
    QFETCH(QStringList, expected);

    FakeDeviceEnumerator enumerator;
    enumerator.devices = devices;
    QStringList list { QStringLiteral("stale entry") };
    ListDevicePorts(list, QString::fromLatin1(VelotrixHardwareIdPrefix), enumerator);
    QCOMPARE(list, expected);
}

void TestUsbDevices::listAllSerialPortsSortsWithoutCase()
{
    FakeDeviceEnumerator enumerator;
    for (const char *name : { "ttyS0", "ttyACM2", "TTYACM1", "ttyACM10", "rfcomm0" })
        enumerator.devices.append(SerialDeviceInfo { QString::fromLatin1(name), {} });
    QCOMPARE(listAllSerialPorts(enumerator),
        (QStringList { u"rfcomm0"_s, u"TTYACM1"_s, u"ttyACM10"_s, u"ttyACM2"_s, u"ttyS0"_s }));
}

void TestUsbDevices::getComPortName_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("expectedDevpath");
    QTest::addColumn<QString>("expected");

    QTest::newRow("known device") << usbDevicePath(0x2B4E, 0x71D3, kDevice) << kDevice << "ttyACM0";
    QTest::newRow("device without port")
        << usbDevicePath(0x03EB, 0x2FE4, kSecondDevice) << kSecondDevice << "";
    QTest::newRow("interface path without location")
        << "\\\\?\\USB#VID_2B4E&PID_71D3#0001#{a5dcbf10-6530-11d2-901f-00c04fb951ed}"
        << ""
        << "";
    QTest::newRow("location missing") << "USB\\VID_2B4E&PID_71D3"
                                      << ""
                                      << "";
    QTest::newRow("port name") << "ttyACM0"
                               << ""
                               << "";
}

void TestUsbDevices::getComPortName()
{
    QFETCH(QString, path);
    QFETCH(QString, expectedDevpath);
    QFETCH(QString, expected);

    FakeDeviceEnumerator enumerator;
    enumerator.portsByDevpath.insert(kDevice, QStringLiteral("ttyACM0"));
    QCOMPARE(GetComPortName(path, enumerator), expected);
    QCOMPARE(enumerator.askedDevpaths,
        expectedDevpath.isEmpty() ? QStringList {} : QStringList { expectedDevpath });
}

void TestUsbDevices::portMapLooksBelowTheDeviceOnly()
{
    // Sibling sockets share a text prefix (1-2 and 1-21); a hub's entry must
    // not answer for the device plugged into it, nor the other way round.
    UsbPortMap map;
    const QString bus = kRootHub;
    map.remember(FakeUsbEventSource::ttyDevpath(bus + QStringLiteral("/1-21"), QStringLiteral("ttyACM1")),
        QStringLiteral("ttyACM1"));
    map.remember(
        FakeUsbEventSource::ttyDevpath(bus + QStringLiteral("/1-2/1-2.4"), QStringLiteral("ttyACM2")),
        QStringLiteral("ttyACM2"));

    QCOMPARE(map.portBelow(bus + QStringLiteral("/1-21")), QStringLiteral("ttyACM1"));
    QCOMPARE(map.portBelow(bus + QStringLiteral("/1-2/1-2.4")), QStringLiteral("ttyACM2"));
    QCOMPARE(map.portBelow(bus + QStringLiteral("/1-2/1-2.4/1-2.4:1.0/tty")), QStringLiteral("ttyACM2"));
    QCOMPARE(map.portBelow(bus + QStringLiteral("/1-2/1-2.")), QString());
    QCOMPARE(map.portBelow(QString()), QString());

    map.forgetBelow(bus + QStringLiteral("/1-2"));
    QCOMPARE(map.portBelow(bus + QStringLiteral("/1-2/1-2.4")), QString());
    QCOMPARE(map.portBelow(bus + QStringLiteral("/1-21")), QStringLiteral("ttyACM1"));

    // The system enumerator answers from the map for a device that is gone
    // from sysfs, and refuses locations outside the device tree.
    UdevDeviceEnumerator enumerator(map);
    QCOMPARE(enumerator.portOfUsbDevice(bus + QStringLiteral("/1-21")), QStringLiteral("ttyACM1"));
    QCOMPARE(enumerator.portOfUsbDevice(QStringLiteral("/devices/../../etc")), QString());
    QCOMPARE(enumerator.portOfUsbDevice(QStringLiteral("/devices/no-such-device")), QString());
}

void TestUsbDevices::arrival_data()
{
    QTest::addColumn<int>("vendorId");
    QTest::addColumn<int>("productId");
    QTest::addColumn<QString>("tty");
    QTest::addColumn<bool>("portAfterBind");
    QTest::addColumn<QString>("expectedPath");
    QTest::addColumn<QStringList>("portsSeenByHandler");

    const QString velotrix = QStringLiteral("USB\\VID_2B4E&PID_71D3\\") + kDevice;
    QTest::newRow("device, port set up before bind")
        << 0x2B4E << 0x71D3 << "ttyACM0" << false << velotrix << QStringList { u"ttyACM0"_s };
    QTest::newRow("device, driver loaded late")
        << 0x2B4E << 0x71D3 << "ttyACM0" << true << velotrix << QStringList { u""_s, u"ttyACM0"_s };
    QTest::newRow("bootloader") << 0x03EB << 0x2FE4 << "" << false
                                << QStringLiteral("USB\\VID_03EB&PID_2FE4\\") + kDevice
                                << QStringList { u""_s };
    QTest::newRow("lower-case ids upper-cased")
        << 0x0ABC << 0x00EF << "ttyUSB0" << false << QStringLiteral("USB\\VID_0ABC&PID_00EF\\") + kDevice
        << QStringList { u"ttyUSB0"_s };
}

void TestUsbDevices::arrival()
{
    QFETCH(int, vendorId);
    QFETCH(int, productId);
    QFETCH(QString, tty);
    QFETCH(bool, portAfterBind);
    QFETCH(QString, expectedPath);
    QFETCH(QStringList, portsSeenByHandler);

    Rig rig;
    QStringList paths;
    QStringList ports;
    connect(rig.usb.get(), &TComponentUSB::OnUSBArrival, this, [&](QObject *sender, const QString &path) {
        QCOMPARE(sender, rig.usb.get());
        paths.append(path);
        ports.append(GetComPortName(path, rig.enumerator));
    });
    QSignalSpy removals(rig.usb.get(), &TComponentUSB::OnUSBRemove);

    if (portAfterBind) {
        rig.source->plugIn(kDevice, vendorId, productId);
        rig.source->send(
            QStringLiteral("add"), FakeUsbEventSource::tty(FakeUsbEventSource::ttyDevpath(kDevice, tty)));
    } else {
        rig.source->plugIn(kDevice, vendorId, productId, tty);
    }

    QCOMPARE(ports, portsSeenByHandler);
    QCOMPARE(paths, QStringList(ports.size(), expectedPath));
    QCOMPARE(removals.count(), 0);
    QCOMPARE(isVelotrixDevice(expectedPath), vendorId == VelotrixVendorId && productId == VelotrixProductId);
    QCOMPARE(
        isBootloaderDevice(expectedPath), vendorId == BootloaderVendorId && productId == BootloaderProductId);
}

void TestUsbDevices::removalStillKnowsThePort()
{
    Rig rig;
    rig.source->plugIn(kDevice, 0x2B4E, 0x71D3, QStringLiteral("ttyACM0"));
    rig.source->plugIn(kSecondDevice, 0x2B4E, 0x71D3, QStringLiteral("ttyACM1"));
    rig.source->plugIn(kRootHub + QStringLiteral("/1-3"), 0x03EB, 0x2FE4);

    QStringList removed;
    connect(rig.usb.get(), &TComponentUSB::OnUSBRemove, this, [&](QObject *, const QString &path) {
        removed.append(path + QStringLiteral(" -> ") + GetComPortName(path, rig.enumerator));
    });

    // The port's removal comes first and the device's removal carries only
    // PRODUCT; the handler must still learn which port went away.
    rig.source->unplug(kDevice, 0x2B4E, 0x71D3, QStringLiteral("ttyACM0"));
    rig.source->unplug(kRootHub + QStringLiteral("/1-3"), 0x03EB, 0x2FE4);
    QCOMPARE(removed,
        (QStringList { usbDevicePath(0x2B4E, 0x71D3, kDevice) + u" -> ttyACM0"_s,
            usbDevicePath(0x03EB, 0x2FE4, kRootHub + u"/1-3"_s) + u" -> "_s }));

    // Forgotten once handled; the other device keeps its port.
    QCOMPARE(rig.map.portBelow(kDevice), QString());
    QCOMPARE(rig.map.portBelow(kSecondDevice), QStringLiteral("ttyACM1"));

    // Plugged in again in the same socket, it may get another port.
    QStringList arrived;
    connect(rig.usb.get(), &TComponentUSB::OnUSBArrival, this,
        [&](QObject *, const QString &path) { arrived.append(GetComPortName(path, rig.enumerator)); });
    rig.source->plugIn(kDevice, 0x2B4E, 0x71D3, QStringLiteral("ttyACM2"));
    QCOMPARE(arrived, QStringList { u"ttyACM2"_s });
}

void TestUsbDevices::devicesPresentAtStartAreKnown()
{
    auto *source = new FakeUsbEventSource;
    source->present = {
        FakeUsbEventSource::usbDevice(kRootHub, 0x1D6B, 0x0002),
        FakeUsbEventSource::tty(FakeUsbEventSource::ttyDevpath(kDevice, QStringLiteral("ttyACM4"))),
        FakeUsbEventSource::usbDevice(kHub, 0x05E3, 0x0610),
        FakeUsbEventSource::usbDevice(kDevice, 0x2B4E, 0x71D3),
        FakeUsbEventSource::tty(QStringLiteral("/devices/platform/serial8250/tty/ttyS0")),
    };
    UsbPortMap map;
    TComponentUSB usb(nullptr, source, map);
    QSignalSpy arrivals(&usb, &TComponentUSB::OnUSBArrival);
    QSignalSpy removals(&usb, &TComponentUSB::OnUSBRemove);

    // A port not on a USB device is of no interest.
    QCOMPARE(map.portBelow(QStringLiteral("/devices/platform/serial8250")), QString());

    QString port;
    connect(&usb, &TComponentUSB::OnUSBRemove, this,
        [&](QObject *, const QString &path) { port = GetComPortName(path, UdevDeviceEnumerator(map)); });
    source->unplug(kDevice, 0x2B4E, 0x71D3, QStringLiteral("ttyACM4"));
    QCOMPARE(arrivals.count(), 0);
    QCOMPARE(removals.count(), 1);
    QCOMPARE(removals.at(0).at(1).toString(), usbDevicePath(0x2B4E, 0x71D3, kDevice));
    QCOMPARE(port, QStringLiteral("ttyACM4"));
}

void TestUsbDevices::unrelatedEventsAreIgnored()
{
    Rig rig;
    QSignalSpy arrivals(rig.usb.get(), &TComponentUSB::OnUSBArrival);
    QSignalSpy removals(rig.usb.get(), &TComponentUSB::OnUSBRemove);

    DeviceProperties iface
        = FakeUsbEventSource::usbDevice(kDevice + QStringLiteral("/1-2.1:1.0"), 0x2B4E, 0x71D3);
    iface.insert(QStringLiteral("DEVTYPE"), QStringLiteral("usb_interface"));
    rig.source->send(QStringLiteral("add"), iface);
    rig.source->send(QStringLiteral("bind"), iface);

    // A port without a USB device above it, and a device without IDs.
    rig.source->send(
        QStringLiteral("add"), FakeUsbEventSource::tty(QStringLiteral("/devices/virtual/tty/ttyprintk")));
    DeviceProperties anonymous = FakeUsbEventSource::usbDevice(kSecondDevice, 0, 0);
    anonymous.insert(QStringLiteral("PRODUCT"), QStringLiteral("garbage"));
    anonymous.insert(QStringLiteral("ID_VENDOR_ID"), QStringLiteral("+1F2"));
    rig.source->send(QStringLiteral("add"), anonymous);
    rig.source->send(QStringLiteral("bind"), anonymous);
    rig.source->send(QStringLiteral("remove"), anonymous);

    // Re-binding a device already reported, and a change event.
    rig.source->send(QStringLiteral("bind"), FakeUsbEventSource::usbDevice(kHub, 0x05E3, 0x0610));
    rig.source->send(QStringLiteral("change"), FakeUsbEventSource::usbDevice(kHub, 0x05E3, 0x0610));

    QCOMPARE(arrivals.count(), 0);
    QCOMPARE(removals.count(), 0);
}

void TestUsbDevices::handlerErrorsGoToOnError()
{
    Rig rig;
    QStringList errors;
    rig.usb->onError = [&](const QString &text) { errors.append(text); };
    int calls = 0;
    connect(rig.usb.get(), &TComponentUSB::OnUSBArrival, this, [&](QObject *, const QString &) {
        ++calls;
        if (calls == 1)
            throw std::runtime_error("Port busy");
        if (calls == 2)
            throw 42;
    });
    QStringList removedPorts;
    connect(rig.usb.get(), &TComponentUSB::OnUSBRemove, this, [&](QObject *, const QString &path) {
        removedPorts.append(GetComPortName(path, rig.enumerator));
        throw std::runtime_error("Close failed");
    });

    rig.source->plugIn(kDevice, 0x2B4E, 0x71D3, QStringLiteral("ttyACM0"));
    rig.source->plugIn(kSecondDevice, 0x03EB, 0x2FE4);
    rig.source->plugIn(kRootHub + QStringLiteral("/1-4"), 0x2B4E, 0x71D3, QStringLiteral("ttyACM1"));
    rig.source->unplug(kDevice, 0x2B4E, 0x71D3, QStringLiteral("ttyACM0"));
    rig.source->unplug(kRootHub + QStringLiteral("/1-4"), 0x2B4E, 0x71D3, QStringLiteral("ttyACM1"));

    QCOMPARE(calls, 3);
    QCOMPARE(errors,
        (QStringList {
            u"Port busy"_s, u"An unknown error occurred."_s, u"Close failed"_s, u"Close failed"_s }));
    QCOMPARE(removedPorts, (QStringList { u"ttyACM0"_s, u"ttyACM1"_s }));
    QVERIFY(rig.map.isEmpty());
}

void TestUsbDevices::systemQueries()
{
    // The real udev set-up and queries on whatever this machine has: they
    // must not fail, and every listed port carries a well-formed identity.
    const QList<SerialDeviceInfo> devices = systemDeviceEnumerator().serialDevices();
    const QRegularExpression hardwareId(QStringLiteral("^USB\\\\VID_[0-9A-F]{4}&PID_[0-9A-F]{4}$"));
    for (const SerialDeviceInfo &device : devices) {
        QVERIFY(!device.portName.isEmpty());
        QVERIFY2(device.hardwareId.isEmpty() || hardwareId.match(device.hardwareId).hasMatch(),
            qPrintable(device.hardwareId));
    }
    QCOMPARE(listAllSerialPorts(systemDeviceEnumerator()).size(), devices.size());

    TComponentUSB usb(nullptr);
    QSignalSpy arrivals(&usb, &TComponentUSB::OnUSBArrival);
    QCoreApplication::processEvents();
    QCOMPARE(arrivals.count(), 0);
}

QTEST_GUILESS_MAIN(TestUsbDevices)
#include "tst_usbdevices.moc"
