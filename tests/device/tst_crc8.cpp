#include "device/crc8.h"
#include "velotrixemulator.h"

#include <QtTest>

// The product's CRC and the emulator's own table-driven one must both meet
// the published check values; the emulator is only a fair judge if they do.
class TestCrc8 : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void vectors_data();
    void vectors();
};

void TestCrc8::vectors_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<int>("crc");

    QTest::newRow("check string") << QByteArray("123456789") << 0xF4;
    QTest::newRow("01") << QByteArray("\x01", 1) << 0x07;
    QTest::newRow("FF") << QByteArray("\xff", 1) << 0xF3;
    QTest::newRow("1E 00 C8 00") << QByteArray("\x1e\x00\xc8\x00", 4) << 0xE6;
    QTest::newRow("empty") << QByteArray() << 0x00;
    QTest::newRow("one zero byte") << QByteArray(1, '\0') << 0x00;
    QTest::newRow("28 zero bytes") << QByteArray(28, '\0') << 0x00;
}

void TestCrc8::vectors()
{
    QFETCH(QByteArray, data);
    QFETCH(int, crc);

    QCOMPARE(static_cast<int>(CRC8(data, 0x07, 0x00)), crc);
    QCOMPARE(static_cast<int>(CRC8(data)), crc);
    QCOMPARE(static_cast<int>(VelotrixEmulator::crc8(data)), crc);
}

QTEST_GUILESS_MAIN(TestCrc8)
#include "tst_crc8.moc"
