#include "device/portlist.h"

#include <QTest>

namespace {

QStringList list(const char *commaSeparated)
{
    return QString::fromLatin1(commaSeparated).split(QLatin1Char(','), Qt::SkipEmptyParts);
}

} // namespace

class TestPortList : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void sortedAsText_data();
    void sortedAsText();
};

void TestPortList::sortedAsText_data()
{
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QStringList>("sorted");

    QTest::newRow("empty") << QStringList() << QStringList();
    QTest::newRow("text order, not numeric") << list("COM2,COM10,COM1") << list("COM1,COM10,COM2");
    QTest::newRow("case ignored") << list("ttyUSB0,COM3,com1,ttyACM0") << list("com1,COM3,ttyACM0,ttyUSB0");
    QTest::newRow("equal apart from case keep their order")
        << list("com4,COM4,COM3") << list("COM3,com4,COM4");
}

void TestPortList::sortedAsText()
{
    QFETCH(QStringList, names);
    QFETCH(QStringList, sorted);
    QCOMPARE(sortPortNames(names), sorted);
}

QTEST_GUILESS_MAIN(TestPortList)
#include "tst_portlist.moc"
