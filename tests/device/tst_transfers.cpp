#include "device/pinprotection.h"
#include "device/transfers.h"
#include "emulatorfixture.h"

#include <QTest>

// The parameter, reset and PIN exchanges against the emulated device on a
// pseudo-terminal, through the real serial port code. Expected wire bytes
// are built from the emulator's own byte images and CRC, never from the
// product's record code.
class TestTransfers : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void writeSendsEveryBlockWithItsCrc_data();
    void writeSendsEveryBlockWithItsCrc();
    void writeStopsAtRejectedBlock();
    void readReceivesTheDeviceParameters_data();
    void readReceivesTheDeviceParameters();
    void failedReadLeavesParametersUntouched_data();
    void failedReadLeavesParametersUntouched();
    void reset_data();
    void reset();
    void pinCheck_data();
    void pinCheck();
    void newPinIsStoredByTheDevice();

private:
    static QByteArray patternImage();
    static QByteArray withCrc(const QByteArray &block);
    static void open(EmulatorFixture &f);
};

QByteArray TestTransfers::patternImage()
{
    QByteArray image(VelotrixEmulator::ParameterSize, '\0');
    for (int i = 0; i < image.size(); ++i)
        image[i] = static_cast<char>((i * 13 + 5) & 0xFF);
    return image;
}

QByteArray TestTransfers::withCrc(const QByteArray &block)
{
    return block + QByteArray(1, static_cast<char>(VelotrixEmulator::crc8(block)));
}

void TestTransfers::open(EmulatorFixture &f)
{
    f.port().open();
    QVERIFY(f.port().isOpen());
    f.emulator.clearReceived();
}

void TestTransfers::writeSendsEveryBlockWithItsCrc_data()
{
    QTest::addColumn<int>("modes");
    QTest::newRow("one mode") << 1;
    QTest::newRow("two modes") << 2;
    QTest::newRow("five modes") << 5;
}

void TestTransfers::writeSendsEveryBlockWithItsCrc()
{
    QFETCH(int, modes);
    EmulatorFixture f;
    f.emulator.setBuild(7);
    open(f);

    // The host's parameter set holds the pattern; the device starts from
    // its factory values and must end up with exactly the pattern.
    const QByteArray image = patternImage();
    tParameterSet params;
    params.setModeBytes(image.left(VelotrixEmulator::SpecialActionOffset));
    params.SpecialActionDesc = tSpecialActionDesc::fromBytes(
        image.mid(VelotrixEmulator::SpecialActionOffset, VelotrixEmulator::SpecialActionSize));
    params.AlarmSettings
        = tAlarmSettings::fromBytes(image.mid(VelotrixEmulator::AlarmOffset, VelotrixEmulator::AlarmSize));
    params.AntiTremor = tAntiTremor::fromBytes(
        image.mid(VelotrixEmulator::AntiTremorOffset, VelotrixEmulator::AntiTremorSize));
    // Booleans are written as 0/1, so compare against what the records
    // hold rather than the raw pattern.
    QByteArray expectedModes = params.modeBytes();

    params.ModeCount = modes;
    QVERIFY(WriteParameterBlocks(f.link, params));

    QByteArray expected = QByteArrayLiteral("*0") + QByteArray(1, static_cast<char>(modes));
    for (int i = 0; i < modes; ++i)
        expected += withCrc(expectedModes.mid(i * VelotrixEmulator::ModeSize, VelotrixEmulator::ModeSize));
    expected += withCrc(params.SpecialActionDesc.toBytes());
    expected += withCrc(params.AlarmSettings.toBytes());
    expected += withCrc(params.AntiTremor.toBytes());
    QCOMPARE(f.emulator.received().toHex(' '), expected.toHex(' '));
    QCOMPARE(f.emulator.modeCount(), modes);
    QCOMPARE(f.emulator.antiTremorBlock(), params.AntiTremor.toBytes());
}

void TestTransfers::writeStopsAtRejectedBlock()
{
    EmulatorFixture f;
    f.emulator.setBuild(7);
    open(f);
    f.emulator.setWriteError(3);

    tParameterSet params;
    params.ModeCount = 2;
    QVERIFY(!WriteParameterBlocks(f.link, params));
    // "*0" + count, then blocks 1 to 3 (two modes, the special action) and
    // nothing after the rejected one.
    const int expectedSize
        = 3 + 2 * (VelotrixEmulator::ModeSize + 1) + VelotrixEmulator::SpecialActionSize + 1;
    QTest::qWait(300);
    QCOMPARE(f.emulator.received().size(), expectedSize);
}

void TestTransfers::readReceivesTheDeviceParameters_data()
{
    QTest::addColumn<int>("modes");
    // The smallest and the largest count the device holds, and one between.
    QTest::newRow("one mode") << 1;
    QTest::newRow("three modes") << 3;
    QTest::newRow("five modes") << 5;
}

void TestTransfers::readReceivesTheDeviceParameters()
{
    QFETCH(int, modes);
    EmulatorFixture f;
    f.emulator.setBuild(7);
    const QByteArray image = patternImage();
    f.emulator.setParameters(image);
    f.emulator.setModeCount(modes);
    open(f);

    tParameterSet params;
    params.ModeCount = modes == 1 ? 2 : 1;
    QVERIFY(ReadParameterBlocks(f.link, params));
    QCOMPARE(params.ModeCount, modes);
    // Modes that were not sent keep their previous (zero) bytes.
    // The pattern holds Boolean bytes other than 0 and 1; the records read
    // them as true, so compare against the device's blocks read the same way.
    for (int i = 0; i < modes; ++i)
        QCOMPARE(params.ModeDescriptor[static_cast<std::size_t>(i)].toBytes().toHex(),
            tModeDescriptor::fromBytes(f.emulator.modeBlock(i)).toBytes().toHex());
    // Bytes 15 and 16 of mode 0 are C8 D5: a little-endian 0xD5C8.
    QCOMPARE(params.ModeDescriptor[0].RelTiming.RepeatFct_delay_10ms, 0xD5C8);
    QCOMPARE(params.modeBytes().mid(modes * 28), QByteArray((5 - modes) * 28, '\0'));
    QCOMPARE(params.SpecialActionDesc.toBytes(),
        tSpecialActionDesc::fromBytes(f.emulator.specialActionBlock()).toBytes());
    QCOMPARE(params.AntiTremor.toBytes(), f.emulator.antiTremorBlock());
    QTRY_COMPARE(
        f.emulator.received(), QByteArrayLiteral("*1") + QByteArrayLiteral("*OK").repeated(modes + 3));
}

void TestTransfers::failedReadLeavesParametersUntouched_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QByteArray>("hostSent");

    QTest::newRow("bad CRC in the first mode") << "crc1" << QByteArrayLiteral("*1*ER");
    QTest::newRow("bad CRC in the anti-tremor block") << "crc5" << QByteArrayLiteral("*1*OK*OK*OK*OK*ER");
    QTest::newRow("wrong header") << "header" << QByteArrayLiteral("*1");
    QTest::newRow("mode count above five") << "count7" << QByteArrayLiteral("*1");
    QTest::newRow("mode count zero") << "count0" << QByteArrayLiteral("*1");
    QTest::newRow("reply cut inside a block") << "short" << QByteArrayLiteral("*1");
}

void TestTransfers::failedReadLeavesParametersUntouched()
{
    QFETCH(QString, fault);
    QFETCH(QByteArray, hostSent);
    EmulatorFixture f;
    f.emulator.setBuild(7);
    f.emulator.setParameters(patternImage());
    f.emulator.setModeCount(2);
    open(f);
    if (fault == QLatin1String("crc1"))
        f.emulator.setBadReadCrc(1);
    else if (fault == QLatin1String("crc5"))
        f.emulator.setBadReadCrc(5);
    else if (fault == QLatin1String("header"))
        f.emulator.setWrongHeader('1', QByteArrayLiteral("*X"));
    else if (fault == QLatin1String("count7"))
        f.emulator.setClaimedModeCount(7);
    else if (fault == QLatin1String("count0"))
        f.emulator.setClaimedModeCount(0);
    else if (fault == QLatin1String("short"))
        f.emulator.setShortReply('1', 3 + 10);

    tParameterSet params;
    params.AntiTremor.ON_delay_ms = 30;
    params.ModeCount = 4;
    const tParameterSet before = params;
    QVERIFY(!ReadParameterBlocks(f.link, params));
    QVERIFY(params == before);
    QCOMPARE(params.ModeCount, 4);
    // The emulator logs on its own thread; the last answer may still be
    // on its way.
    QTRY_COMPARE(f.emulator.received(), hostSent);
}

void TestTransfers::reset_data()
{
    QTest::addColumn<bool>("busy");
    QTest::addColumn<bool>("silent");
    QTest::addColumn<int>("result");
    QTest::addColumn<QByteArray>("hostSent");

    QTest::newRow("device confirms") << false << false << int(ResetResult::Reset) << QByteArrayLiteral("*R");
    QTest::newRow("another exchange runs") << true << false << int(ResetResult::Busy) << QByteArray();
    QTest::newRow("no answer") << false << true << int(ResetResult::NoAnswer) << QByteArrayLiteral("*R");
}

void TestTransfers::reset()
{
    QFETCH(bool, busy);
    QFETCH(bool, silent);
    QFETCH(int, result);
    QFETCH(QByteArray, hostSent);
    EmulatorFixture f;
    f.emulator.setBuild(7);
    open(f);
    f.emulator.setSilent(silent);
    f.link.Communication = busy;

    QCOMPARE(int(ResetDeviceParameters(f.link)), result);
    QCOMPARE(f.link.Communication, busy);
    QCOMPARE(f.emulator.received(), hostSent);
}

void TestTransfers::pinCheck_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("devicePin");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QByteArray>("wire");

    QTest::newRow("right PIN") << "1234" << 1234 << true << QByteArray::fromHex("2A5804D2");
    QTest::newRow("leading zeros give the same bytes")
        << "01234" << 1234 << true << QByteArray::fromHex("2A5804D2");
    QTest::newRow("wrong PIN") << "1235" << 1234 << false << QByteArray::fromHex("2A5804D3");
    QTest::newRow("low byte in 0x80-0x9F goes raw")
        << "0150" << 150 << true << QByteArray::fromHex("2A580096");
    QTest::newRow("empty text is sent as 0") << "" << 1234 << false << QByteArray::fromHex("2A580000");
}

void TestTransfers::pinCheck()
{
    QFETCH(QString, typed);
    QFETCH(int, devicePin);
    QFETCH(bool, accepted);
    QFETCH(QByteArray, wire);
    EmulatorFixture f;
    f.emulator.setBuild(7);
    f.emulator.setPin(static_cast<std::uint16_t>(devicePin));
    open(f);

    QCOMPARE(CheckPINCode(f.link, typed), accepted);
    QCOMPARE(f.emulator.received().toHex(' '), wire.toHex(' '));
}

void TestTransfers::newPinIsStoredByTheDevice()
{
    EmulatorFixture f;
    f.emulator.setBuild(7);
    open(f);

    QVERIFY(SendNewPin(f.link, 4711, true));
    QCOMPARE(f.emulator.pin(), 4711);
    QVERIFY(f.emulator.locked());
    QVERIFY(SendNewPin(f.link, DisablePinValue, false));
    QVERIFY(!f.emulator.locked());

    f.emulator.setSilent(true);
    QVERIFY(!SendNewPin(f.link, 1111, false));
}

QTEST_GUILESS_MAIN(TestTransfers)
#include "tst_transfers.moc"
