#include <QFile>
#include <QRegularExpression>
#include <QTest>

// The shipped udev rules: every rule that grants something names the device
// or its bootloader by vendor and product, so no other device is touched.
class TestUdevRules : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void rulesMatchOnlyTheDeviceAndItsBootloader();
};

void TestUdevRules::rulesMatchOnlyTheDeviceAndItsBootloader()
{
    QFile file(QFINDTESTDATA("../../resources/udev/70-velotrix.rules"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    static const QRegularExpression vendor(QStringLiteral("ATTRS?\\{idVendor\\}==\"([0-9a-f]{4})\""));
    static const QRegularExpression product(QStringLiteral("ATTRS?\\{idProduct\\}==\"([0-9a-f]{4})\""));
    QSet<QString> granted;
    bool ignoresModemManager = false;
    for (const QString &line : lines) {
        const QString rule = line.trimmed();
        if (rule.isEmpty() || rule.startsWith(QLatin1Char('#')) || !rule.contains(QLatin1String("+=")))
            continue;
        const QString id
            = vendor.match(rule).captured(1) + QLatin1Char(':') + product.match(rule).captured(1);
        QVERIFY2(id == QLatin1String("2b4e:71d3") || id == QLatin1String("03eb:2fe4"), qPrintable(rule));
        QVERIFY2(rule.contains(QLatin1String("TAG+=\"uaccess\"")), qPrintable(rule));
        // No rule makes a device open to everyone.
        QVERIFY2(!rule.contains(QLatin1String("MODE=")), qPrintable(rule));
        granted.insert(id);
        if (id == QLatin1String("2b4e:71d3") && rule.contains(QLatin1String("SUBSYSTEM==\"tty\"")))
            ignoresModemManager = rule.contains(QLatin1String("ENV{ID_MM_DEVICE_IGNORE}=\"1\""));
    }
    QCOMPARE(granted, (QSet<QString> { QStringLiteral("2b4e:71d3"), QStringLiteral("03eb:2fe4") }));
    QVERIFY(ignoresModemManager);
}

QTEST_APPLESS_MAIN(TestUdevRules)
#include "tst_udevrules.moc"
