#include "device/devicesession.h"
#include "device/pinprotection.h"
#include "device/qtserialport.h"
#include "emulatorfixture.h"

#include <QTest>

using namespace Qt::StringLiterals;

// The device session against the emulator: the PIN gate with its remembered
// PIN, the one busy flag, and the port-opening routine.
namespace {

struct SessionRig
{
    SessionRig()
        : session(std::make_unique<QtSerialPort>(), ui)
    {
    }

    // Opens the emulator's port (handshake and lock query) and forgets what
    // that sent.
    void connect()
    {
        QVERIFY(session.openPort(emulator.portPath()));
        QVERIFY(session.identified());
        emulator.clearReceived();
    }

    VelotrixEmulator emulator;
    RecordingDeviceUi ui;
    DeviceSession session;
};

QByteArray checkPin(quint16 pin)
{
    return QByteArrayLiteral("*X") + QByteArray(1, char(pin >> 8)) + QByteArray(1, char(pin & 0xFF));
}

} // namespace

class TestDeviceSession : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void pinGate_data();
    void pinGate();
    void busyFlagKeepsExchangesApart();
    void batteryHoldsTheFlagWhileItsReadingIsShown();
    void openPortFailsSilently();
};

void TestDeviceSession::pinGate_data()
{
    QTest::addColumn<bool>("locked");
    QTest::addColumn<QString>("remembered");
    QTest::addColumn<QStringList>("typed"); // answers of the PIN request; "cancel" ends it
    QTest::addColumn<bool>("passed");
    QTest::addColumn<int>("asked");
    QTest::addColumn<QString>("rememberedAfter");

    // The device's PIN is 4711 in every row.
    QTest::newRow("unlocked: nothing sent, nothing asked")
        << false << QString() << QStringList() << true << 0 << QString();
    QTest::newRow("remembered PIN accepted without asking")
        << true << "4711" << QStringList() << true << 0 << "4711";
    QTest::newRow("asked until the device accepts")
        << true << "" << QStringList { u"1"_s, u"2"_s, u"4711"_s } << true << 3 << "4711";
    QTest::newRow("cancel ends the gate")
        << true << "1111" << QStringList { u"2"_s, u"cancel"_s } << false << 2 << "2";
}

void TestDeviceSession::pinGate()
{
    QFETCH(bool, locked);
    QFETCH(QString, remembered);
    QFETCH(QStringList, typed);
    QFETCH(bool, passed);
    QFETCH(int, asked);
    QFETCH(QString, rememberedAfter);

    SessionRig rig;
    rig.emulator.setPin(4711);
    rig.emulator.setLocked(locked);
    rig.connect();
    QCOMPARE(rig.session.pinProtected(), locked);
    rig.session.setRememberedPin(remembered);
    int asks = 0;
    rig.session.setPinRequest([&](QString &pin) {
        const QString answer = typed.value(asks++);
        if (answer == QLatin1String("cancel") || answer.isNull())
            return false;
        pin = answer;
        return true;
    });

    QCOMPARE(rig.session.PinGatePassed(), passed);
    QCOMPARE(asks, asked);
    QCOMPARE(rig.session.rememberedPin(), rememberedAfter);

    // One "*X" for the remembered PIN, then one for every PIN typed.
    QByteArray expected;
    if (locked) {
        expected += checkPin(PinValue(remembered));
        for (const QString &t : typed) {
            if (t != QLatin1String("cancel"))
                expected += checkPin(PinValue(t));
        }
    }
    QTRY_COMPARE(rig.emulator.received(), expected);
}

// The handshake, the reset and the battery query never run inside one
// another: while the flag is held none of them sends anything.
void TestDeviceSession::busyFlagKeepsExchangesApart()
{
    SessionRig rig;
    rig.connect();
    {
        CommunicationGuard held(rig.session.link());
        QVERIFY(held.acquired());
        QVERIFY(rig.session.busy());
        CommunicationGuard second(rig.session.link());
        QVERIFY(!second.acquired());

        QCOMPARE(rig.session.resetParameters(), ResetResult::Busy);
        QCOMPARE(rig.session.readBattery().status, DeviceSession::BatteryStatus::Busy);
        // Reopening runs no handshake.
        QVERIFY(rig.session.openPort(rig.emulator.portPath()));
        QVERIFY(!rig.session.identified());
        QTest::qWait(100);
        QVERIFY(rig.emulator.received().isEmpty());
        QVERIFY(rig.session.busy());
    }
    QVERIFY(!rig.session.busy());
    QCOMPARE(rig.session.resetParameters(), ResetResult::Reset);
    QVERIFY(!rig.session.busy());
}

void TestDeviceSession::batteryHoldsTheFlagWhileItsReadingIsShown()
{
    SessionRig rig;
    rig.emulator.setBattery(3900);
    rig.connect();
    bool heldWhileShown = false;
    ResetResult inside = ResetResult::Reset;
    const DeviceSession::Battery battery = rig.session.readBattery([&](quint16 reading) {
        QCOMPARE(reading, quint16(3900));
        heldWhileShown = rig.session.busy();
        inside = rig.session.resetParameters();
    });
    QCOMPARE(battery.status, DeviceSession::BatteryStatus::Reading);
    QCOMPARE(battery.reading, quint16(3900));
    QVERIFY(heldWhileShown);
    QCOMPARE(inside, ResetResult::Busy);
    QVERIFY(!rig.session.busy());
    QCOMPARE(rig.emulator.received(), QByteArrayLiteral("*B"));
}

void TestDeviceSession::openPortFailsSilently()
{
    SessionRig rig;
    QVERIFY(!rig.session.openPort(QStringLiteral("/dev/velotrix-no-such-port")));
    QCOMPARE(rig.ui.versionLabel, QStringLiteral("connecting..."));
    QVERIFY(!rig.session.identified());
    QVERIFY(!rig.session.deviceActionsAllowed());

    QVERIFY(rig.session.openPort(rig.emulator.portPath()));
    QCOMPARE(rig.ui.versionLabel, QStringLiteral("Velotrix V1.1.8"));
    QVERIFY(rig.session.deviceActionsAllowed());
}

QTEST_GUILESS_MAIN(TestDeviceSession)
#include "tst_devicesession.moc"
