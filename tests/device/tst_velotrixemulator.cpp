#include "device/qtserialport.h"
#include "velotrixemulator.h"

#include <QtTest>
#include <memory>

// The emulated device is the reference every protocol test relies on; these
// cases pin its answers down byte for byte, using hand-made wire images.
class TestVelotrixEmulator : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void commands_data();
    void commands();
    void writeThenReadBack();
    void writeStopsAtBadCrc();
    void pinAndResetChangeState();
    void readFaults();
    void abandonedWriteTimesOut();

private:
    static QByteArray withCrc(const QByteArray &block);
    static QByteArray pattern(int size, int seed);

    std::unique_ptr<VelotrixEmulator> emu;
    std::unique_ptr<QtSerialPort> port;
};

QByteArray TestVelotrixEmulator::withCrc(const QByteArray &block)
{
    return block + QByteArray(1, static_cast<char>(VelotrixEmulator::crc8(block)));
}

QByteArray TestVelotrixEmulator::pattern(int size, int seed)
{
    QByteArray bytes(size, '\0');
    for (int i = 0; i < size; ++i)
        bytes[i] = static_cast<char>(seed * 31 + i * 7);
    return bytes;
}

void TestVelotrixEmulator::init()
{
    emu = std::make_unique<VelotrixEmulator>();
    port = std::make_unique<QtSerialPort>();
    port->setPortName(emu->portPath());
    port->open();
}

void TestVelotrixEmulator::cleanup()
{
    port.reset();
    emu.reset();
}

void TestVelotrixEmulator::commands_data()
{
    QTest::addColumn<QByteArray>("command");
    QTest::addColumn<QByteArray>("reply");

    // Device: variation 3, build 0x0109, PIN 1234 (04 D2), locked, battery
    // 0x0F3C.
    QTest::newRow("version") << QByteArray("*V") << QByteArray("*V\x03\x09\x01");
    QTest::newRow("lock query") << QByteArray("*P") << QByteArray("*P\x01");
    QTest::newRow("right PIN") << QByteArray("*X\x04\xd2") << QByteArray("*X\x01");
    QTest::newRow("PIN bytes swapped") << QByteArray("*X\xd2\x04") << QByteArray("*X\x00", 3);
    QTest::newRow("battery") << QByteArray("*B") << QByteArray("*B\x3c\x0f");
    QTest::newRow("reset") << QByteArray("*R") << QByteArray("*R");
    QTest::newRow("noise before a command") << QByteArray("x**Q\x00*V", 7) << QByteArray("*V\x03\x09\x01");
}

void TestVelotrixEmulator::commands()
{
    QFETCH(QByteArray, command);
    QFETCH(QByteArray, reply);

    emu->setVariation(3);
    emu->setBuild(0x0109);
    emu->setPin(1234);
    emu->setLocked(true);
    emu->setBattery(0x0F3C);

    QCOMPARE(port->write(command), command.size());
    QCOMPARE(port->read(reply.size() + 1), reply);
    QCOMPARE(emu->received(), command);
}

void TestVelotrixEmulator::writeThenReadBack()
{
    const QList<QByteArray> blocks { pattern(28, 1), pattern(28, 2), pattern(11, 3), pattern(17, 4),
        pattern(4, 5) };

    port->write(QByteArray("*0\x02", 3));
    for (const QByteArray &block : blocks) {
        port->write(block);
        port->write(withCrc(block).right(1));
        QCOMPARE(port->read(3), QByteArray("*OK"));
    }
    QCOMPARE(emu->modeCount(), 2);
    QCOMPARE(emu->modeBlock(0), blocks[0]);
    QCOMPARE(emu->modeBlock(1), blocks[1]);
    QCOMPARE(emu->specialActionBlock(), blocks[2]);
    QCOMPARE(emu->alarmBlock(), blocks[3]);
    QCOMPARE(emu->antiTremorBlock(), blocks[4]);

    emu->clearSent();
    port->write("*1");
    QByteArray expected("*0\x02", 3);
    QCOMPARE(port->read(3), expected);
    for (const QByteArray &block : blocks) {
        QCOMPARE(port->read(block.size() + 1), withCrc(block));
        expected += withCrc(block);
        port->write("*OK");
    }
    // Nothing follows the last block.
    QTest::qWait(100);
    QCOMPARE(emu->sent(), expected);
}

void TestVelotrixEmulator::writeStopsAtBadCrc()
{
    const QByteArray before = emu->parameters();
    const QByteArray first = pattern(28, 7);
    const QByteArray second = pattern(28, 8);

    port->write(QByteArray("*0\x02", 3));
    port->write(withCrc(first));
    QCOMPARE(port->read(3), QByteArray("*OK"));
    QByteArray damaged = withCrc(second);
    damaged[damaged.size() - 1] = static_cast<char>(damaged.back() ^ 1);
    port->write(damaged);
    QCOMPARE(port->read(3), QByteArray("*ER"));

    // The accepted block stays; the rejected one does not land; the device
    // listens for commands again.
    QCOMPARE(emu->modeBlock(0), first);
    QCOMPARE(emu->modeBlock(1), before.mid(28, 28));
    port->write("*R");
    QCOMPARE(port->read(2), QByteArray("*R"));
    QCOMPARE(emu->parameters(), VelotrixEmulator::factoryParameters());
    QCOMPARE(emu->modeCount(), VelotrixEmulator::FactoryModeCount);
}

void TestVelotrixEmulator::pinAndResetChangeState()
{
    emu->setLocked(false);

    port->write(QByteArray("*W\x04\xd2", 4)); // 1234
    QCOMPARE(port->read(3), QByteArray("*OK"));
    QVERIFY(emu->locked());
    QCOMPARE(emu->pin(), 1234);
    port->write(QByteArray("*X\x04\xd2", 4));
    QCOMPARE(port->read(3), QByteArray("*X\x01"));

    port->write(QByteArray("*W\x26\x0a", 4)); // 9738 unlocks
    QCOMPARE(port->read(3), QByteArray("*OK"));
    QVERIFY(!emu->locked());
    port->write("*P");
    QCOMPARE(port->read(3), QByteArray("*P\x00", 3));

    port->write("*U");
    QTRY_VERIFY(emu->bootloaderRequested());
}

void TestVelotrixEmulator::readFaults()
{
    emu->setModeCount(1);
    emu->setClaimedModeCount(7);
    emu->setBadReadCrc(2);

    port->write("*1");
    QCOMPARE(port->read(3), QByteArray("*0\x07", 3));
    QCOMPARE(port->read(29), withCrc(emu->modeBlock(0)));
    port->write("*OK");
    const QByteArray second = port->read(29);
    QCOMPARE(second.size(), 29);
    QVERIFY(static_cast<std::uint8_t>(second.back()) != VelotrixEmulator::crc8(second.left(28)));
    port->write("*ER");

    // The read is over: the next command gets its own answer.
    port->write("*P");
    QCOMPARE(port->read(4), QByteArray("*P\x00", 3));
}

void TestVelotrixEmulator::abandonedWriteTimesOut()
{
    emu->setIncompleteTimeout(200);
    const QByteArray before = emu->parameters();

    port->write(QByteArray("*0\x01", 3) + pattern(10, 1));
    QTest::qWait(400);
    port->write("*B");
    QCOMPARE(port->read(4), QByteArray("*B\x3c\x0f", 4));
    QCOMPARE(emu->parameters(), before);
}

QTEST_GUILESS_MAIN(TestVelotrixEmulator)
#include "tst_velotrixemulator.moc"
