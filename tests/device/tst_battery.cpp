#include "device/battery.h"

#include <QTest>

class TestBattery : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void levelFromReading_data();
    void levelFromReading();
    void firstReadingOfEachStep();
};

void TestBattery::levelFromReading_data()
{
    QTest::addColumn<int>("reading");
    QTest::addColumn<int>("percent");
    QTest::addColumn<int>("icon");

    QTest::newRow("lowest non-zero") << 1 << 0 << 3;
    QTest::newRow("empty breakpoint") << 3320 << 0 << 3;
    QTest::newRow("just above empty") << 3321 << 0 << 3;
    QTest::newRow("still 0 after rounding") << 3328 << 0 << 3;
    QTest::newRow("first 5") << 3329 << 5 << 3;
    QTest::newRow("25 in empty band") << 3660 << 25 << 3;
    QTest::newRow("top of empty band") << 3734 << 25 << 3;
    QTest::newRow("bottom of red band") << 3735 << 25 << 2;
    QTest::newRow("30 in red band") << 3736 << 30 << 2;
    QTest::newRow("top of red band") << 3788 << 50 << 2;
    QTest::newRow("bottom of yellow band") << 3789 << 50 << 1;
    QTest::newRow("55") << 3792 << 55 << 1;
    QTest::newRow("top of yellow band") << 3964 << 75 << 1;
    QTest::newRow("bottom of green band") << 3965 << 75 << 0;
    QTest::newRow("80") << 3967 << 80 << 0;
    QTest::newRow("first 100") << 4076 << 100 << 0;
    QTest::newRow("full") << 4100 << 100 << 0;
    QTest::newRow("above full counts as full") << 4101 << 100 << 0;
    QTest::newRow("largest reading") << 65535 << 100 << 0;
}

void TestBattery::levelFromReading()
{
    QFETCH(int, reading);
    QFETCH(int, percent);
    QFETCH(int, icon);
    const BatteryLevel level = BatteryLevelFromReading(static_cast<quint16>(reading));
    QCOMPARE(level.percent, percent);
    QCOMPARE(level.icon, icon);
}

// Every step of 5 starts at exactly one reading: the one before it still
// shows the previous step.
void TestBattery::firstReadingOfEachStep()
{
    const int firsts[] = { 3329, 3412, 3494, 3577, 3660, 3736, 3746, 3757, 3768, 3779, 3792, 3827, 3862, 3898,
        3933, 3967, 3994, 4022, 4049, 4076 };
    int expected = 5;
    for (const int reading : firsts) {
        QCOMPARE(BatteryLevelFromReading(static_cast<quint16>(reading)).percent, expected);
        QVERIFY2(BatteryLevelFromReading(static_cast<quint16>(reading - 1)).percent < expected,
            qPrintable(QString::number(reading - 1)));
        expected += 5;
    }
}

QTEST_GUILESS_MAIN(TestBattery)
#include "tst_battery.moc"
