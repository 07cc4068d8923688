#include "device/portlist.h"
#include "velotrixemulator.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
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
    void emulatorAnnouncements();
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

// A running emulator's terminal is listed; stale announcements and paths
// that are not pseudo-terminals are not.
void TestPortList::emulatorAnnouncements()
{
    QTemporaryDir runtime;
    QVERIFY(runtime.isValid());
    QFile::setPermissions(runtime.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
    QVERIFY(QDir().mkpath(emulatorAnnouncementFolder()));
    QVERIFY(emulatorAnnouncementFolder().startsWith(runtime.path()));

    VelotrixEmulator emulator;
    const auto announce = [](const QString &name, const QByteArray &content) {
        QFile f(emulatorAnnouncementFolder() + QLatin1Char('/') + name);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(content);
    };
    announce(QStringLiteral("100.port"), emulator.portPath().toLocal8Bit() + "\n");
    announce(QStringLiteral("101.port"), "/dev/pts/999999\n");
    announce(QStringLiteral("102.port"), "/etc/passwd\n");
    announce(QStringLiteral("103.txt"), emulator.portPath().toLocal8Bit());

    QCOMPARE(announcedEmulatorPorts(), QStringList{emulator.portPath()});
    QVERIFY(listAllSerialPorts().contains(emulator.portPath()));
    qunsetenv("XDG_RUNTIME_DIR");
}

QTEST_GUILESS_MAIN(TestPortList)
#include "tst_portlist.moc"
