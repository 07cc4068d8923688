#include "update/intelhex.h"

#include <QTemporaryDir>
#include <QTest>

// The firmware file check that runs before the device is told to restart.
namespace {

// One record with its checksum: count, address, type, data.
QByteArray record(int type, int address, const QByteArray &data)
{
    QByteArray bytes;
    bytes.append(static_cast<char>(data.size()));
    bytes.append(static_cast<char>(address >> 8 & 0xFF));
    bytes.append(static_cast<char>(address & 0xFF));
    bytes.append(static_cast<char>(type));
    bytes.append(data);
    int sum = 0;
    for (const char c : bytes)
        sum += static_cast<unsigned char>(c);
    bytes.append(static_cast<char>(-sum & 0xFF));
    return ':' + bytes.toHex().toUpper() + "\r\n";
}

QByteArray data16(int address)
{
    return record(0, address, QByteArray(16, '\x5A'));
}

const QByteArray eof = ":00000001FF\r\n";

} // namespace

class TestIntelHex : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void check_data();
    void check();
    void realisticImage();
    void fileChecks();
};

void TestIntelHex::check_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<uint>("memory");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<int>("line");

    const uint flash = ApplicationFlashSize;
    const uint eeprom = EepromSize;
    QTest::newRow("two data records") << data16(0) + data16(16) + eof << flash << true << 0;
    QTest::newRow("LF line ends, lower case")
        << QByteArray(data16(0) + eof).replace("\r\n", "\n").toLower() << flash << true << 0;
    QTest::newRow("no line end after the end record") << data16(0) + ":00000001FF" << flash << true << 0;
    QTest::newRow("doubled CR and trailing blanks")
        << QByteArray(data16(0) + eof).replace("\r\n", " \r\r\n") + "\r" << flash << true << 0;
    QTest::newRow("blank lines after the end") << data16(0) + eof + "\r\n\n" << flash << true << 0;
    QTest::newRow("last byte of flash") << record(0, 0x7FFF, "\x01") + eof << flash << true << 0;
    QTest::newRow("start address records")
        << record(3, 0, QByteArray(4, '\0')) + record(5, 0, QByteArray(4, '\0')) + data16(0) + eof << flash
        << true << 0;
    QTest::newRow("linear base 0 then data")
        << record(4, 0, QByteArray(2, '\0')) + data16(0) + eof << flash << true << 0;

    QTest::newRow("empty file") << QByteArray() << flash << false << 0;
    QTest::newRow("no end record") << data16(0) << flash << false << 0;
    QTest::newRow("only an end record") << eof << flash << false << 0;
    QTest::newRow("data after the end") << data16(0) + eof + data16(16) << flash << false << 3;
    QTest::newRow("bad checksum") << data16(0).replace(41, 2, "00") + eof << flash << false << 1;
    QTest::newRow("no colon") << data16(0).mid(1) + eof << flash << false << 1;
    QTest::newRow("odd digit count") << data16(0).replace("\r\n", "0\r\n") + eof << flash << false << 1;
    QTest::newRow("count larger than data")
        << ":10000000" + QByteArray(30, '0') + "F0\r\n" + eof << flash << false << 1;
    QTest::newRow("not hexadecimal") << data16(0).replace(9, 2, "G1") + eof << flash << false << 1;
    QTest::newRow("short record") << ":0000\r\n" + eof << flash << false << 1;
    QTest::newRow("unknown type") << record(6, 0, "") + eof << flash << false << 1;
    QTest::newRow("end record with data") << data16(0) + record(1, 0, "\x01") << flash << false << 2;
    QTest::newRow("crosses the end of flash")
        << record(0, 0x7FF8, QByteArray(16, '\1')) + eof << flash << false << 1;
    QTest::newRow("beyond 64 KiB by linear base")
        << record(4, 0, QByteArray("\x00\x01", 2)) + data16(0) + eof << flash << false << 2;
    QTest::newRow("segment base past flash")
        << record(2, 0, QByteArray("\x08\x00", 2)) + data16(0) + eof << flash << false << 2;
    QTest::newRow("top of 4 GiB does not wrap")
        << record(4, 0, QByteArray("\xFF\xFF", 2)) + record(0, 0xFFF8, QByteArray(16, '\1')) + eof << flash
        << false << 2;
    QTest::newRow("eeprom image in 1 KiB") << data16(0x3F0) + eof << eeprom << true << 0;
    QTest::newRow("eeprom image too large") << data16(0x3F8) + eof << eeprom << false << 1;
    QTest::newRow("address record of wrong size")
        << record(4, 0, "\x01") + data16(0) + eof << flash << false << 1;
}

void TestIntelHex::check()
{
    QFETCH(QByteArray, content);
    QFETCH(uint, memory);
    QFETCH(bool, ok);
    QFETCH(int, line);
    const HexCheck result = checkIntelHex(content, memory);
    QCOMPARE(result.ok, ok);
    if (!ok) {
        QVERIFY(!result.fault.isEmpty());
        QCOMPARE(result.line, line);
    }
}

// A whole 32 KiB image as a compiler writes it, 16 bytes a line.
void TestIntelHex::realisticImage()
{
    QByteArray image;
    for (int a = 0; a < 0x8000; a += 16)
        image += data16(a);
    image += eof;
    const HexCheck result = checkIntelHex(image, ApplicationFlashSize);
    QVERIFY(result.ok);
    QCOMPARE(result.dataBytes, 0x8000u);
    image.insert(image.size() - eof.size(), data16(0x8000));
    QVERIFY(!checkIntelHex(image, ApplicationFlashSize).ok);
}

void TestIntelHex::fileChecks()
{
    QTemporaryDir dir;
    QVERIFY(!checkIntelHexFile(dir.filePath(QStringLiteral("missing.hex")), ApplicationFlashSize).ok);
    QFile big(dir.filePath(QStringLiteral("big.hex")));
    QVERIFY(big.open(QIODevice::WriteOnly));
    big.write(QByteArray(1024 * 1024, ' '));
    big.close();
    QVERIFY(!checkIntelHexFile(big.fileName(), ApplicationFlashSize).ok);
    QFile good(dir.filePath(QStringLiteral("good.hex")));
    QVERIFY(good.open(QIODevice::WriteOnly));
    good.write(data16(0) + eof);
    good.close();
    QVERIFY(checkIntelHexFile(good.fileName(), ApplicationFlashSize).ok);
}

QTEST_GUILESS_MAIN(TestIntelHex)
#include "tst_intelhex.moc"
