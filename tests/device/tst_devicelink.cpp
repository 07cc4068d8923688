#include "device/devicelink.h"
#include "device/qtserialport.h"
#include "emulatorfixture.h"

#include <QElapsedTimer>
#include <QTimer>
#include <QtTest>
#include <memory>

// The command channel on the real serial port code, against the emulated
// device on a pseudo-terminal.
class TestDeviceLink : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void handshake_data();
    void handshake();
    void incompleteVersionKeepsPortOpen_data();
    void incompleteVersionKeepsPortOpen();
    void failedHandshakeClosesPort_data();
    void failedHandshakeClosesPort();
    void handshakeSkippedWhileCommunicating_data();
    void handshakeSkippedWhileCommunicating();
    void hangUp_data();
    void hangUp();
    void unpluggedPortFailsAndCloses();
    void unpluggedIdlePortCloses();
    void closeResetsState();

    void writeBytesToPortOpensPortFirst();
    void writeBytesToPortSendsBytesUnchanged();
    void readResultOk_data();
    void readResultOk();
    void readPinProtection_data();
    void readPinProtection();

    void delayWaitsWithoutEvents_data();
    void delayWaitsWithoutEvents();

    void portOpenFailureNamesPort();
    void portOpenAndCloseAreIdempotent();
    void portRenameWhileOpenReopens();
    void portReadTimeouts_data();
    void portReadTimeouts();
    void portReadEndsAtAPause_data();
    void portReadEndsAtAPause();
    void portOperationsOnClosedPortThrow();

private:
    std::unique_ptr<EmulatorFixture> f;
};

void TestDeviceLink::init()
{
    f = std::make_unique<EmulatorFixture>();
}

void TestDeviceLink::cleanup()
{
    f.reset();
}

void TestDeviceLink::handshake_data()
{
    QTest::addColumn<int>("variation");
    QTest::addColumn<int>("build");
    QTest::addColumn<bool>("locked");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QByteArray>("wire");

    QTest::newRow("build 7: no PIN query") << 2 << 7 << true << "Velotrix V1.2.7" << QByteArray("*V");
    QTest::newRow("build 8 unlocked") << 1 << 8 << false << "Velotrix V1.1.8" << QByteArray("*V*P");
    QTest::newRow("build 8 locked") << 1 << 8 << true << "Velotrix V1.1.8" << QByteArray("*V*P");
    QTest::newRow("two-byte build, high variation")
        << 200 << 0x1234 << false << "Velotrix V1.200.4660" << QByteArray("*V*P");
    QTest::newRow("negative build") << 3 << -2 << true << "Velotrix V1.3.-2" << QByteArray("*V");
}

void TestDeviceLink::handshake()
{
    QFETCH(int, variation);
    QFETCH(int, build);
    QFETCH(bool, locked);
    QFETCH(QString, label);
    QFETCH(QByteArray, wire);

    f->emulator.setVariation(static_cast<std::uint8_t>(variation));
    f->emulator.setBuild(static_cast<std::int16_t>(build));
    f->emulator.setLocked(locked);

    f->port().open();

    QVERIFY(f->port().isOpen());
    QCOMPARE(f->ui.versionLabel, label);
    QCOMPARE(static_cast<int>(f->link.Version_Variation), variation);
    QCOMPARE(static_cast<int>(f->link.Version_Build), build);
    QCOMPARE(f->emulator.received(), wire);
    const bool queried = build > 7;
    QCOMPARE(f->link.PIN_Protected, queried && locked);
    QCOMPARE(f->ui.pinLabelVisible, queried && locked);
    QVERIFY(!f->link.Communication);
}

void TestDeviceLink::incompleteVersionKeepsPortOpen_data()
{
    QTest::addColumn<int>("replyBytes");
    QTest::addColumn<int>("variation");
    QTest::addColumn<int>("build");

    // Device: variation 4, build 0x0305. What arrived stays in the fields.
    QTest::newRow("header only") << 2 << 0 << 0;
    QTest::newRow("low build byte only") << 4 << 4 << 5;
}

void TestDeviceLink::incompleteVersionKeepsPortOpen()
{
    QFETCH(int, replyBytes);
    QFETCH(int, variation);
    QFETCH(int, build);

    f->emulator.setVariation(4);
    f->emulator.setBuild(0x0305);
    f->emulator.setShortReply('V', replyBytes);
    f->ui.versionLabel = QStringLiteral("connecting...");

    f->port().open();

    QVERIFY(f->port().isOpen());
    QCOMPARE(f->ui.versionLabel, QStringLiteral("connecting..."));
    QVERIFY(f->ui.versionLabels.isEmpty());
    QVERIFY(!f->ui.pinLabelVisible);
    QCOMPARE(static_cast<int>(f->link.Version_Variation), variation);
    QCOMPARE(static_cast<int>(f->link.Version_Build), build);
    QCOMPARE(f->emulator.received(), QByteArray("*V"));
    QVERIFY(!f->link.Communication);
}

void TestDeviceLink::failedHandshakeClosesPort_data()
{
    QTest::addColumn<QString>("fault");

    QTest::newRow("wrong header") << "header";
    QTest::newRow("one byte") << "short";
    QTest::newRow("silent") << "silent";
}

void TestDeviceLink::failedHandshakeClosesPort()
{
    QFETCH(QString, fault);

    if (fault == QLatin1String("header"))
        f->emulator.setWrongHeader('V', "*X");
    else if (fault == QLatin1String("short"))
        f->emulator.setShortReply('V', 1);
    else
        f->emulator.setSilent(true);
    f->emulator.setBuild(8);
    f->ui.versionLabel = QStringLiteral("connecting...");

    f->port().open();

    QVERIFY(!f->port().isOpen());
    QCOMPARE(f->ui.versionLabel, QStringLiteral("not connected"));
    QCOMPARE(static_cast<int>(f->link.Version_Build), -1);
    QVERIFY(!f->ui.pinLabelVisible);
    QVERIFY(!f->link.Communication);
    QCOMPARE(f->emulator.received(), QByteArray("*V"));
}

void TestDeviceLink::handshakeSkippedWhileCommunicating_data()
{
    QTest::addColumn<int>("storedBuild");
    QTest::addColumn<QByteArray>("wire");
    QTest::addColumn<bool>("pinLabel");

    // The device is locked; only the stored build decides on the query.
    QTest::newRow("stored build 7") << 7 << QByteArray() << false;
    QTest::newRow("stored build 8") << 8 << QByteArray("*P") << true;
}

void TestDeviceLink::handshakeSkippedWhileCommunicating()
{
    QFETCH(int, storedBuild);
    QFETCH(QByteArray, wire);
    QFETCH(bool, pinLabel);

    f->emulator.setLocked(true);
    f->emulator.setBuild(3);
    f->link.Communication = true;
    f->link.Version_Build = static_cast<std::int16_t>(storedBuild);
    f->link.PIN_Protected = true;

    f->port().open();

    QVERIFY(f->port().isOpen());
    QCOMPARE(f->emulator.received(), wire);
    QCOMPARE(static_cast<int>(f->link.Version_Build), storedBuild);
    QCOMPARE(f->link.PIN_Protected, pinLabel); // cleared by the opening, set again by the query
    QCOMPARE(f->ui.pinLabelVisible, pinLabel);
    QVERIFY(f->ui.versionLabels.isEmpty());
    // The flag belongs to the exchange that set it.
    QVERIFY(f->link.Communication);
}

void TestDeviceLink::hangUp_data()
{
    QTest::addColumn<char>("command");
    QTest::addColumn<int>("afterBytes");
    QTest::addColumn<bool>("throws");

    // In the handshake the error is caught; in the PIN query that follows it
    // reaches whoever opened the port.
    QTest::newRow("on *V") << 'V' << 0 << false;
    QTest::newRow("mid *V reply") << 'V' << 3 << false;
    QTest::newRow("on *P") << 'P' << 0 << true;
}

void TestDeviceLink::hangUp()
{
    QFETCH(char, command);
    QFETCH(int, afterBytes);
    QFETCH(bool, throws);

    f->emulator.setBuild(8);
    f->emulator.setHangUp(command, afterBytes);

    bool thrown = false;
    try {
        f->port().open();
    } catch (const SerialPortError &e) {
        thrown = true;
        QVERIFY2(QString::fromStdString(e.what()).contains(f->emulator.portPath()), e.what());
    }

    QCOMPARE(thrown, throws);
    QVERIFY(f->emulator.hungUp());
    QVERIFY(!f->port().isOpen());
    QCOMPARE(f->ui.versionLabel, QStringLiteral("not connected"));
    QCOMPARE(static_cast<int>(f->link.Version_Build), -1);
    QVERIFY(!f->ui.pinLabelVisible);
    QVERIFY(!f->link.Communication);
}

void TestDeviceLink::unpluggedPortFailsAndCloses()
{
    f->emulator.setBuild(7);
    f->port().open();
    f->emulator.hangUpNow();

    QVERIFY_THROWS_EXCEPTION(SerialPortError, f->link.WriteBytesToPort("*B"));

    QVERIFY(!f->port().isOpen());
    QCOMPARE(f->ui.versionLabel, QStringLiteral("not connected"));
    QCOMPARE(static_cast<int>(f->link.Version_Build), -1);
}

void TestDeviceLink::unpluggedIdlePortCloses()
{
    f->emulator.setBuild(7);
    f->port().open();

    f->emulator.hangUpNow();

    // No exchange runs: the event loop notices and closes the port.
    QTRY_VERIFY(!f->port().isOpen());
    QCOMPARE(f->ui.versionLabel, QStringLiteral("not connected"));
    QCOMPARE(static_cast<int>(f->link.Version_Build), -1);
}

void TestDeviceLink::closeResetsState()
{
    f->emulator.setLocked(true);
    f->port().open();
    QVERIFY(f->ui.pinLabelVisible);

    f->port().close();

    QVERIFY(!f->port().isOpen());
    QCOMPARE(static_cast<int>(f->link.Version_Build), -1);
    QCOMPARE(f->ui.versionLabel, QStringLiteral("not connected"));
    QVERIFY(!f->ui.pinLabelVisible);
    // The lock state is left for the next opening to clear.
    QVERIFY(f->link.PIN_Protected);
}

void TestDeviceLink::writeBytesToPortOpensPortFirst()
{
    f->emulator.setBuild(7);

    QCOMPARE(f->link.WriteBytesToPort("*B"), 2);

    QVERIFY(f->port().isOpen());
    QCOMPARE(f->ui.versionLabel, QStringLiteral("Velotrix V1.1.7"));
    // The handshake ran and was answered before the command went out.
    QTRY_COMPARE(f->emulator.received(), QByteArray("*V*B"));
    QCOMPARE(f->port().read(4), QByteArray("*B\x3c\x0f", 4)); // 3900
}

void TestDeviceLink::writeBytesToPortSendsBytesUnchanged()
{
    QCOMPARE(DeviceLink::StringToBytes(QByteArray()), QByteArray());

    f->emulator.setBuild(7);
    f->port().open();
    f->emulator.clearReceived();
    // Parameter bytes are values: NUL and bytes above 0x7F pass unchanged,
    // and nothing is appended.
    const QByteArray command("*X\x00\x9f", 4);
    QCOMPARE(DeviceLink::StringToBytes(command), command);
    QCOMPARE(f->link.WriteBytesToPort(command), 4);
    QCOMPARE(f->port().read(3), QByteArray("*X\x00", 3));
    QCOMPARE(f->emulator.received(), command);
}

void TestDeviceLink::readResultOk_data()
{
    QTest::addColumn<QByteArray>("header");
    QTest::addColumn<int>("replyBytes");
    QTest::addColumn<bool>("ok");

    // "*W" is answered with "*OK"; the faults bend that reply.
    QTest::newRow("*OK") << QByteArray() << -1 << true;
    QTest::newRow("*ER") << QByteArray("*ER") << -1 << false;
    QTest::newRow("*O only") << QByteArray() << 2 << false;
    QTest::newRow("*OX") << QByteArray("*OX") << -1 << false;
}

void TestDeviceLink::readResultOk()
{
    QFETCH(QByteArray, header);
    QFETCH(int, replyBytes);
    QFETCH(bool, ok);

    f->emulator.setBuild(7);
    f->port().open();
    f->emulator.setWrongHeader('W', header);
    f->emulator.setShortReply('W', replyBytes);

    f->link.WriteBytesToPort(QByteArray("*W\x26\x0a", 4));
    QElapsedTimer timer;
    timer.start();
    QCOMPARE(f->link.ReadResult_OK(), ok);
    QVERIFY(timer.elapsed() >= 100);
}

void TestDeviceLink::readPinProtection_data()
{
    QTest::addColumn<bool>("before");
    QTest::addColumn<bool>("locked");
    QTest::addColumn<QByteArray>("header");
    QTest::addColumn<int>("replyBytes");
    QTest::addColumn<bool>("after");
    QTest::addColumn<bool>("shown");

    QTest::newRow("locked") << false << true << QByteArray() << -1 << true << true;
    QTest::newRow("unlocked") << true << false << QByteArray() << -1 << false << false;
    // A wrong header leaves the flag; the label follows it since bytes came.
    QTest::newRow("wrong header, was locked") << true << false << QByteArray("*X") << -1 << true << true;
    QTest::newRow("wrong header, was unlocked") << false << true << QByteArray("*X") << -1 << false << false;
    // The lock byte never came: the flag stays, the label hides.
    QTest::newRow("header only, was locked") << true << false << QByteArray() << 2 << true << false;
}

void TestDeviceLink::readPinProtection()
{
    QFETCH(bool, before);
    QFETCH(bool, locked);
    QFETCH(QByteArray, header);
    QFETCH(int, replyBytes);
    QFETCH(bool, after);
    QFETCH(bool, shown);

    f->emulator.setBuild(7);
    f->port().open();
    f->emulator.clearReceived();
    f->emulator.setLocked(locked);
    f->emulator.setWrongHeader('P', header);
    f->emulator.setShortReply('P', replyBytes);
    f->link.PIN_Protected = before;
    f->ui.pinLabelVisible = !shown;

    QCOMPARE(f->link.Read_PinProtection(), shown);

    QCOMPARE(f->link.PIN_Protected, after);
    QCOMPARE(f->ui.pinLabelVisible, shown);
    QCOMPARE(f->emulator.received(), QByteArray("*P"));
}

void TestDeviceLink::delayWaitsWithoutEvents_data()
{
    QTest::addColumn<int>("ms");

    QTest::newRow("0") << 0;
    QTest::newRow("1") << 1;
    QTest::newRow("50") << 50;
}

void TestDeviceLink::delayWaitsWithoutEvents()
{
    QFETCH(int, ms);

    bool fired = false;
    QTimer::singleShot(0, this, [&fired] { fired = true; });
    QElapsedTimer timer;
    timer.start();
    DeviceLink::Delay_ms(ms);
    QVERIFY(timer.elapsed() >= ms);
    QVERIFY(timer.elapsed() < ms + 500);
    QVERIFY(!fired);
    QTRY_VERIFY(fired); // drain the timer before the next row
}

void TestDeviceLink::portOpenFailureNamesPort()
{
    f->port().setPortName(QStringLiteral("/dev/velotrix-no-such-port"));
    try {
        f->port().open();
        QFAIL("open succeeded");
    } catch (const SerialPortError &e) {
        QVERIFY2(
            QString::fromUtf8(e.what()).contains(QStringLiteral("/dev/velotrix-no-such-port")), e.what());
    }
    QVERIFY(!f->port().isOpen());
    QVERIFY(f->ui.versionLabels.isEmpty());
    QVERIFY(f->emulator.received().isEmpty());
}

void TestDeviceLink::portOpenAndCloseAreIdempotent()
{
    f->emulator.setBuild(7);
    f->port().close(); // closed already: no after-close
    QVERIFY(f->ui.versionLabels.isEmpty());
    QCOMPARE(static_cast<int>(f->link.Version_Build), 0);

    f->port().open();
    f->port().open(); // open already: no second handshake
    QCOMPARE(f->emulator.received(), QByteArray("*V"));
    QCOMPARE(f->ui.versionLabels, QStringList { QStringLiteral("Velotrix V1.1.7") });

    f->port().close();
    f->port().close();
    QCOMPARE(f->ui.versionLabels.size(), 2);

    // A closed port opens again with a fresh handshake.
    f->port().open();
    QCOMPARE(f->emulator.received(), QByteArray("*V*V"));
    QCOMPARE(static_cast<int>(f->link.Version_Build), 7);
}

void TestDeviceLink::portRenameWhileOpenReopens()
{
    VelotrixEmulator other;
    other.setVariation(9);
    other.setBuild(5);
    f->emulator.setBuild(7);
    f->port().open();

    f->port().setPortName(f->emulator.portPath()); // same name: nothing happens
    QCOMPARE(f->ui.versionLabels.size(), 1);

    f->port().setPortName(other.portPath());

    QVERIFY(f->port().isOpen());
    QCOMPARE(f->port().portName(), other.portPath());
    QCOMPARE(f->ui.versionLabels,
        (QStringList { QStringLiteral("Velotrix V1.1.7"), QStringLiteral("not connected"),
            QStringLiteral("Velotrix V1.9.5") }));
    QCOMPARE(other.received(), QByteArray("*V"));
    QCOMPARE(f->emulator.received(), QByteArray("*V"));
}

void TestDeviceLink::portReadTimeouts_data()
{
    QTest::addColumn<int>("replyBytes");
    QTest::addColumn<int>("request");
    QTest::addColumn<QByteArray>("expected");
    QTest::addColumn<int>("minMs");
    QTest::addColumn<int>("maxMs");

    // "*B" is answered with 4 bytes.
    // The upper bounds stay well below the total time-out (2040 and 2060 ms)
    // yet leave room for a loaded machine.
    QTest::newRow("complete") << -1 << 4 << QByteArray("*B\x3c\x0f", 4) << 0 << 1000;
    QTest::newRow("more than sent: interval ends it") << -1 << 6 << QByteArray("*B\x3c\x0f", 4) << 90 << 1200;
    QTest::newRow("nothing: total time-out") << 0 << 10 << QByteArray() << 2100 << 2900;
}

void TestDeviceLink::portReadTimeouts()
{
    QFETCH(int, replyBytes);
    QFETCH(int, request);
    QFETCH(QByteArray, expected);
    QFETCH(int, minMs);
    QFETCH(int, maxMs);

    f->emulator.setBuild(7);
    f->port().open();
    f->emulator.setShortReply('B', replyBytes);
    QCOMPARE(f->port().write("*B"), 2);

    QElapsedTimer timer;
    timer.start();
    QCOMPARE(f->port().read(request), expected);
    const auto elapsed = timer.elapsed();
    QVERIFY2(elapsed >= minMs && elapsed <= maxMs, QByteArray::number(elapsed).constData());
}

// A read ends when the line stays quiet for 100 ms after a byte: a shorter
// pause is bridged, a longer one returns what has arrived.
void TestDeviceLink::portReadEndsAtAPause_data()
{
    QTest::addColumn<int>("pauseMs");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("40 ms pause is bridged") << 40 << QByteArray("*B\x3c\x0f", 4);
    QTest::newRow("250 ms pause ends the read") << 250 << QByteArray("*");
    QTest::newRow("1500 ms pause ends the read") << 1500 << QByteArray("*");
}

void TestDeviceLink::portReadEndsAtAPause()
{
    QFETCH(int, pauseMs);
    QFETCH(QByteArray, expected);

    f->emulator.setBuild(7);
    f->emulator.setBattery(3900); // 0x0F3C, low byte first
    f->port().open();
    f->emulator.setReplyPause('B', 1, pauseMs);
    QCOMPARE(f->port().write("*B"), 2);

    QElapsedTimer timer;
    timer.start();
    QCOMPARE(f->port().read(4), expected);
    if (expected.size() < 4)
        QVERIFY2(timer.elapsed() < pauseMs, QByteArray::number(timer.elapsed()).constData());
}

void TestDeviceLink::portOperationsOnClosedPortThrow()
{
    QVERIFY_THROWS_EXCEPTION(SerialPortError, f->port().read(1));
    QVERIFY_THROWS_EXCEPTION(SerialPortError, f->port().write("*V"));
    QVERIFY_THROWS_EXCEPTION(SerialPortError, f->port().clearBuffers());
    QVERIFY(f->emulator.received().isEmpty());
}

QTEST_GUILESS_MAIN(TestDeviceLink)
#include "tst_devicelink.moc"
