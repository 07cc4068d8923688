#include "device/pinprotection.h"

#include <QTest>

// PIN texts as the dialogs and --pin give them, and the bytes the device
// gets for them.
class TestPinProtection : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void pinText_data();
    void pinText();
};

void TestPinProtection::pinText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<int>("value");
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("one digit") << "7" << true << 7 << QByteArray("\x00\x07", 2);
    QTest::newRow("four digits") << "1234" << true << 1234 << QByteArray("\x04\xd2", 2);
    QTest::newRow("leading zeros") << "0815" << true << 815 << QByteArray("\x03\x2f", 2);
    QTest::newRow("all zeros") << "0000" << true << 0 << QByteArray("\x00\x00", 2);
    QTest::newRow("largest") << "9999" << true << 9999 << QByteArray("\x27\x0f", 2);
    QTest::newRow("unlock PIN") << "9738" << true << 9738 << QByteArray("\x26\x0a", 2);
    QTest::newRow("empty") << "" << false << 0 << QByteArray("\x00\x00", 2);
    QTest::newRow("five digits") << "12345" << false << 12345 << QByteArray("\x30\x39", 2);
    // Only the low 16 bits reach the device: 65537 = 0x10001.
    QTest::newRow("above 16 bits") << "65537" << false << 1 << QByteArray("\x00\x01", 2);
    QTest::newRow("letter") << "12a4" << false << 0 << QByteArray("\x00\x00", 2);
    QTest::newRow("sign") << "-12" << false << 65524 << QByteArray("\xff\xf4", 2);
    QTest::newRow("space inside") << "1 2" << false << 0 << QByteArray("\x00\x00", 2);
    QTest::newRow("surrounding spaces") << " 12 " << false << 12 << QByteArray("\x00\x0c", 2);
    QTest::newRow("Arabic-Indic digits")
        << QString::fromUtf8("\u0661\u0662") << false << 0 << QByteArray("\x00\x00", 2);
}

void TestPinProtection::pinText()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QFETCH(int, value);
    QFETCH(QByteArray, bytes);

    QCOMPARE(IsValidPin(text), valid);
    QCOMPARE(int(PinValue(text)), value);
    QCOMPARE(PinBytes(PinValue(text)), bytes);
}

QTEST_GUILESS_MAIN(TestPinProtection)
#include "tst_pinprotection.moc"
