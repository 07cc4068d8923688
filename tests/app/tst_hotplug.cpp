#include "app/appwindows.h"
#include "app/mainform.h"
#include "device/qtserialport.h"
#include "fakeusb.h"
#include "scriptedprompt.h"
#include "services/messagedlg.h"
#include "update/formfirmwareupdate.h"
#include "velotrixemulator.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>
#include <stdexcept>

// The main window following the device being plugged in and out: the port
// chooser, the connection and the bootloader flag. The system is a fake
// (ports, hardware IDs, notifications); the device's port is the emulator's
// pseudo-terminal, named "EMU" in the tables.
namespace {

QStringList list(std::initializer_list<const char *> items)
{
    QStringList result;
    for (const char *item : items)
        result.append(QString::fromUtf8(item));
    return result;
}

const QString devA = QStringLiteral("/devices/pci0000:00/0000:00:14.0/usb1/1-2");
const QString devB = QStringLiteral("/devices/pci0000:00/0000:00:14.0/usb1/1-3");

class Rig
{
public:
    // ports: "name" or "name|hardware ID"; EMU stands for the emulator.
    explicit Rig(const QStringList &ports)
    {
        for (const QString &p : ports)
            addPort(p);
        QDir().mkpath(m_dir.filePath(QStringLiteral("Velotrix")));
        const QString configPath = m_dir.filePath(QStringLiteral("Velotrix/Config.ini"));
        QFile config(configPath);
        if (config.open(QIODevice::WriteOnly))
            config.write("[Application]\nLanguage=en\n");
        config.close();

        m_windows = std::make_unique<AppWindows>(prompt,
            std::make_unique<TMainform>(prompt,
                TMainform::Setup { std::make_unique<QtSerialPort>(), configPath,
                    [this] {
                        if (failListing)
                            throw std::runtime_error("port list unavailable");
                        return listAllSerialPorts(enumerator);
                    },
                    { [this] {
                         source = new FakeUsbEventSource;
                         return source;
                     },
                        &enumerator } }));
    }

    ~Rig() { main().port().close(); }

    QString name(const QString &p) const { return p == QLatin1String("EMU") ? emulator.portPath() : p; }

    // entry is "<port>|<hardware id>".
    void addPort(const QString &entry)
    {
        const QStringList parts = entry.split(u'|');
        enumerator.devices.append({ name(parts[0]), parts.value(1) });
    }

    void removePort(const QString &p)
    {
        const QString n = name(p);
        enumerator.devices.removeIf([&n](const SerialDeviceInfo &i) { return i.portName == n; });
    }

    TMainform &main() { return *m_windows->Mainform; }
    AppWindows &windows() { return *m_windows; }

    QStringList chooser()
    {
        QStringList items;
        for (int i = 0; i < main().ComComboBox1->count(); ++i) {
            const QString t = main().ComComboBox1->itemText(i);
            items.append(t == emulator.portPath() ? QStringLiteral("EMU") : t);
        }
        return items;
    }

    QString current()
    {
        const QString t
            = main().ComComboBox1->currentIndex() < 0 ? QString() : main().ComComboBox1->currentText();
        return t == emulator.portPath() ? QStringLiteral("EMU") : t;
    }

    ScriptedPrompt prompt;
    VelotrixEmulator emulator;
    FakeDeviceEnumerator enumerator;
    FakeUsbEventSource *source = nullptr;
    bool failListing = false;

private:
    QTemporaryDir m_dir;
    std::unique_ptr<AppWindows> m_windows;
};

} // namespace

class TestHotplug : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void startup_data();
    void startup();
    void arrival_data();
    void arrival();
    void repeatedAnnouncementKeepsThePortChosen();
    void removal_data();
    void removal();
    void bootloader();
    void handlerErrorsReachTheErrorBox();
};

void TestHotplug::startup_data()
{
    QTest::addColumn<QStringList>("ports");
    QTest::addColumn<QStringList>("listed");
    QTest::addColumn<QString>("label");

    QTest::newRow("device attached") << list({ "/dev/ttyS0", "EMU|USB\\VID_2B4E&PID_71D3", "/dev/modem0" })
                                     << list({ "EMU" }) << "Velotrix V1.1.8";
    // Nothing to open: every port stays listed for a choice by hand.
    QTest::newRow("no device") << list({ "/dev/ttyS0", "/dev/modem0|USB\\VID_1234&PID_0001" })
                               << list({ "/dev/modem0", "/dev/ttyS0" }) << QString();
}

void TestHotplug::startup()
{
    QFETCH(QStringList, ports);
    QFETCH(QStringList, listed);
    QFETCH(QString, label);

    Rig rig(ports);
    QCOMPARE(rig.chooser(), listed);
    QCOMPARE(rig.main().ComComboBox1->currentIndex(), 0);
    QCOMPARE(rig.main().port().isOpen(), !label.isEmpty());
    QCOMPARE(rig.main().VersionLabel->text(), label);
}

void TestHotplug::arrival_data()
{
    QTest::addColumn<QStringList>("atStart");
    QTest::addColumn<int>("vendor");
    QTest::addColumn<QStringList>("listed");
    QTest::addColumn<QString>("selected"); // empty: none
    QTest::addColumn<bool>("connects");

    QTest::newRow("chooser lists every port")
        << list({ "/dev/ttyS0", "/dev/modem0" }) << 0x2B4E << list({ "/dev/modem0", "EMU", "/dev/ttyS0" })
        << "EMU" << true;
    // The chooser held only the first device's port, so the other ports
    // count as new too; the arriving device's own port is the one taken.
    QTest::newRow("second device while only device ports listed")
        << list({ "/dev/modem0", "/dev/ttyACM7|USB\\VID_2B4E&PID_71D3" }) << 0x2B4E
        << list({ "/dev/modem0", "EMU", "/dev/ttyACM7" }) << "EMU" << true;
    QTest::newRow("other vendor") << list({ "/dev/ttyS0" }) << 0x1234 << list({ "/dev/ttyS0" })
                                  << "/dev/ttyS0" << false;
}

void TestHotplug::arrival()
{
    QFETCH(QStringList, atStart);
    QFETCH(int, vendor);
    QFETCH(QStringList, listed);
    QFETCH(QString, selected);
    QFETCH(bool, connects);

    Rig rig(atStart);
    QVERIFY(rig.source);
    rig.addPort(QStringLiteral("EMU|USB\\VID_%1&PID_71D3").arg(vendor, 4, 16, QLatin1Char('0')).toUpper());
    rig.enumerator.portsByDevpath.insert(devB, rig.emulator.portPath());
    rig.source->plugIn(devB, vendor, 0x71D3, QStringLiteral("ttyACM0"));

    QCOMPARE(rig.chooser(), listed);
    QCOMPARE(rig.current(), selected);
    QCOMPARE(rig.main().port().isOpen(), connects);
    if (connects) {
        QCOMPARE(rig.main().port().portName(), rig.emulator.portPath());
        QCOMPARE(rig.main().VersionLabel->text(), QStringLiteral("Velotrix V1.1.8"));
    }
}

// A device with a second serial interface announces itself again when that
// port appears; the chooser keeps showing the port in use.
void TestHotplug::repeatedAnnouncementKeepsThePortChosen()
{
    Rig rig(list({ "/dev/ttyS0" }));
    rig.addPort(QStringLiteral("EMU|USB\\VID_2B4E&PID_71D3"));
    rig.enumerator.portsByDevpath.insert(devB, rig.emulator.portPath());
    rig.source->plugIn(devB, 0x2B4E, 0x71D3, QStringLiteral("ttyACM0"));
    QCOMPARE(rig.current(), QStringLiteral("EMU"));

    rig.source->send(QStringLiteral("add"),
        FakeUsbEventSource::tty(FakeUsbEventSource::ttyDevpath(devB, QStringLiteral("ttyACM1"))));

    QCOMPARE(rig.chooser(), list({ "EMU", "/dev/ttyS0" }));
    QCOMPARE(rig.current(), QStringLiteral("EMU"));
    QVERIFY(rig.main().port().isOpen());
    QCOMPARE(rig.main().VersionLabel->text(), QStringLiteral("Velotrix V1.1.8"));
}

void TestHotplug::removal_data()
{
    QTest::addColumn<QString>("devpath");
    QTest::addColumn<int>("vendor");
    QTest::addColumn<QString>("gonePort");
    QTest::addColumn<bool>("stillOpen");
    QTest::addColumn<QStringList>("listed");
    QTest::addColumn<QString>("selected");

    QTest::newRow("connected device")
        << devA << 0x2B4E << "EMU" << false << list({ "/dev/ttyACM9" }) << QString();
    QTest::newRow("another device of the same kind")
        << devB << 0x2B4E << "/dev/ttyACM9" << true << list({ "EMU" }) << QString();
    QTest::newRow("bootloader leaving")
        << devB << 0x03EB << QString() << true << list({ "EMU", "/dev/ttyACM9" }) << "EMU";
}

void TestHotplug::removal()
{
    QFETCH(QString, devpath);
    QFETCH(int, vendor);
    QFETCH(QString, gonePort);
    QFETCH(bool, stillOpen);
    QFETCH(QStringList, listed);
    QFETCH(QString, selected);

    Rig rig(list({ "EMU|USB\\VID_2B4E&PID_71D3", "/dev/ttyACM9|USB\\VID_2B4E&PID_71D3" }));
    // Both devices become known to the notification component.
    rig.enumerator.portsByDevpath.insert(devA, rig.emulator.portPath());
    rig.source->send(QStringLiteral("add"), FakeUsbEventSource::usbDevice(devA, 0x2B4E, 0x71D3));
    QCOMPARE(rig.current(), QStringLiteral("EMU"));
    QVERIFY(rig.main().port().isOpen());
    rig.enumerator.portsByDevpath.insert(devB, QStringLiteral("/dev/ttyACM9"));
    rig.source->send(QStringLiteral("add"),
        FakeUsbEventSource::usbDevice(devB, vendor, vendor == 0x03EB ? 0x2FE4 : 0x71D3));

    if (!gonePort.isEmpty())
        rig.removePort(gonePort);
    rig.source->unplug(devpath, vendor, vendor == 0x03EB ? 0x2FE4 : 0x71D3);

    QCOMPARE(rig.main().port().isOpen(), stillOpen);
    QCOMPARE(rig.chooser(), listed);
    QCOMPARE(rig.current(), selected);
    if (!stillOpen)
        QCOMPARE(rig.main().VersionLabel->text(), QStringLiteral("not connected"));
}

void TestHotplug::bootloader()
{
    Rig rig(list({ "/dev/ttyS0" }));
    TFormFirmwareUpdate *update = rig.windows().FormFirmwareUpdate;
    QVERIFY(!update->Bootloader_Ready);

    rig.source->plugIn(devA, 0x03EB, 0x2FE4);
    QVERIFY(update->Bootloader_Ready);
    QCOMPARE(rig.current(), QStringLiteral("/dev/ttyS0"));

    rig.source->unplug(devA, 0x03EB, 0x2FE4);
    QVERIFY(update->Bootloader_Ready);
    QCOMPARE(rig.current(), QStringLiteral("/dev/ttyS0"));
    QVERIFY(rig.prompt.shown.isEmpty());
}

void TestHotplug::handlerErrorsReachTheErrorBox()
{
    Rig rig(list({ "/dev/ttyS0" }));
    // The handler reports its own error: nothing may unwind through the
    // signal back into the notification component.
    int reachedComponent = 0;
    rig.main().USB->onError = [&reachedComponent](const QString &) { ++reachedComponent; };
    rig.prompt.setNextAnswer(mrOk);
    rig.failListing = true;
    rig.source->plugIn(devA, 0x2B4E, 0x71D3);

    QCOMPARE(reachedComponent, 0);
    const auto shown = rig.prompt.shown;
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown[0].text, QStringLiteral("port list unavailable"));
    QCOMPARE(shown[0].kind, mtError);

    // The component goes on delivering.
    rig.failListing = false;
    rig.source->plugIn(devB, 0x03EB, 0x2FE4);
    QVERIFY(rig.windows().FormFirmwareUpdate->Bootloader_Ready);
}

QTEST_MAIN(TestHotplug)
#include "tst_hotplug.moc"
