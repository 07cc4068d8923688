#include "testfiles.h"
#include "setups/appconfig.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Rewrites the file as another program would, moving its time stamp so the
// change is visible even when the size stays the same.
void writeExternally(const QString &path, const QByteArray &data, int secondsAhead)
{
    QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(data);
    f.close();
    QVERIFY(f.open(QIODevice::ReadWrite));
    QVERIFY(
        f.setFileTime(QDateTime::currentDateTime().addSecs(secondsAhead), QFileDevice::FileModificationTime));
}

const QString kApp = QStringLiteral("Application");

} // namespace

class TestAppConfig : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();

    void missingFileGivesDefaults();
    void writesReachDiskAtOnce();
    void writeStartsFromContentOnDisk();
    void rereadsAfterExternalChange();
    void malformedBooleanGivesDefault();
    void placementRoundTrip();
    void malformedPlacement_data();
    void malformedPlacement();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_path;
};

void TestAppConfig::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_path = m_dir->filePath(QStringLiteral("Velotrix/Config.ini"));
}

void TestAppConfig::missingFileGivesDefaults()
{
    AppConfig config(m_path);
    QCOMPARE(config.readString(kApp, QStringLiteral("Language"), QStringLiteral("de")), QStringLiteral("de"));
    QCOMPARE(config.readBool(kApp, QStringLiteral("Flash_EEPROM"), false), false);
    QCOMPARE(config.readBool(kApp, QStringLiteral("Flash_Explicit"), true), true);
    WindowPlacement p;
    QVERIFY(!config.loadWindowPlacement(p));
    QVERIFY(!QFile::exists(m_path)); // reading never creates the file
}

void TestAppConfig::writesReachDiskAtOnce()
{
    AppConfig config(m_path);
    config.writeString(kApp, QStringLiteral("Language"), QStringLiteral("en"));
    QCOMPARE(readAll(m_path), QByteArray("[Application]\r\nLanguage=en\r\n\r\n"));
    config.writeBool(kApp, QStringLiteral("Flash_EEPROM"), true);
    QCOMPARE(readAll(m_path), QByteArray("[Application]\r\nLanguage=en\r\nFlash_EEPROM=TRUE\r\n\r\n"));
}

void TestAppConfig::writeStartsFromContentOnDisk()
{
    AppConfig first(m_path);
    AppConfig second(m_path);
    // Each write changes the file's size, so each writer notices the other.
    first.writeString(kApp, QStringLiteral("Language"), QStringLiteral("en"));
    second.writeBool(kApp, QStringLiteral("Flash_EEPROM"), true);
    first.writeBool(kApp, QStringLiteral("Flash_Explicit"), false);

    AppConfig third(m_path);
    QCOMPARE(third.readString(kApp, QStringLiteral("Language")), QStringLiteral("en"));
    QCOMPARE(third.readBool(kApp, QStringLiteral("Flash_EEPROM"), false), true);
    QCOMPARE(readAll(m_path),
        QByteArray("[Application]\r\nLanguage=en\r\nFlash_EEPROM=TRUE\r\n"
                   "Flash_Explicit=FALSE\r\n\r\n"));
}

void TestAppConfig::rereadsAfterExternalChange()
{
    AppConfig config(m_path);
    config.writeString(kApp, QStringLiteral("Language"), QStringLiteral("en"));
    QCOMPARE(config.readString(kApp, QStringLiteral("Language")), QStringLiteral("en"));

    // Same size, new time stamp.
    writeExternally(m_path, "[Application]\r\nLanguage=de\r\n\r\n", 5);
    QCOMPARE(config.readString(kApp, QStringLiteral("Language")), QStringLiteral("de"));

    // Different size.
    writeExternally(m_path, "[Application]\r\nLanguage=en\r\nFlash_EEPROM=yes\r\n", 5);
    QCOMPARE(config.readBool(kApp, QStringLiteral("Flash_EEPROM"), false), true);
    QCOMPARE(config.readString(kApp, QStringLiteral("Language")), QStringLiteral("en"));

    // Deleted.
    QVERIFY(QFile::remove(m_path));
    QCOMPARE(config.readString(kApp, QStringLiteral("Language"), QStringLiteral("de")), QStringLiteral("de"));
}

void TestAppConfig::malformedBooleanGivesDefault()
{
    writeExternally(m_path, "[Application]\r\nFlash_Explicit=perhaps\r\n", 0);
    AppConfig config(m_path);
    QCOMPARE(config.readBool(kApp, QStringLiteral("Flash_Explicit"), false), false);
    QCOMPARE(config.readBool(kApp, QStringLiteral("Flash_Explicit"), true), true);
}

void TestAppConfig::placementRoundTrip()
{
    writeExternally(m_path, "[Application]\r\nLanguage=en\r\n", 0);

    WindowPlacement saved;
    saved.ShowCmd = 3;
    saved.Flags = 2;
    saved.PixelsPerInch = 120;
    saved.MinPosition = QPoint(-1, -1);
    saved.MaxPosition = QPoint(-8, -8);
    saved.NormalPosition = QRect(10, 20, 800, 600);

    AppConfig config(m_path);
    config.saveWindowPlacement(saved);
    QCOMPARE(readAll(m_path),
        QByteArray("[Application]\r\nLanguage=en\r\n\r\n"
                   "[Form]\r\n"
                   "ShowCmd=3\r\n"
                   "Flags=2\r\n"
                   "PixelsPerInch=120\r\n"
                   "MinMaxPos=-1,-1,-8,-8\r\n"
                   "NormPos=10,20,810,620\r\n"
                   "\r\n"));

    WindowPlacement loaded;
    AppConfig fresh(m_path);
    QVERIFY(fresh.loadWindowPlacement(loaded));
    QCOMPARE(loaded.ShowCmd, 3);
    QCOMPARE(loaded.Flags, 2);
    QCOMPARE(loaded.PixelsPerInch, 120);
    QCOMPARE(loaded.MinPosition, QPoint(-1, -1));
    QCOMPARE(loaded.MaxPosition, QPoint(-8, -8));
    QCOMPARE(loaded.NormalPosition, QRect(10, 20, 800, 600));
}

void TestAppConfig::malformedPlacement_data()
{
    QTest::addColumn<QByteArray>("form");

    QTest::newRow("no NormPos") << QByteArray(
        "ShowCmd=1\r\nFlags=0\r\nPixelsPerInch=96\r\nMinMaxPos=-1,-1,-1,-1\r\n");
    QTest::newRow("no ShowCmd") << QByteArray("Flags=0\r\nPixelsPerInch=96\r\nMinMaxPos=-1,-1,-1,-1\r\n"
                                              "NormPos=0,0,10,10\r\n");
    QTest::newRow("three numbers") << QByteArray("ShowCmd=1\r\nFlags=0\r\nPixelsPerInch=96\r\n"
                                                 "MinMaxPos=-1,-1,-1,-1\r\nNormPos=0,0,10\r\n");
    QTest::newRow("not a number") << QByteArray("ShowCmd=1\r\nFlags=0\r\nPixelsPerInch=96\r\n"
                                                "MinMaxPos=-1,-1,-1,x\r\nNormPos=0,0,10,10\r\n");
    QTest::newRow("ShowCmd text") << QByteArray("ShowCmd=max\r\nFlags=0\r\nPixelsPerInch=96\r\n"
                                                "MinMaxPos=-1,-1,-1,-1\r\nNormPos=0,0,10,10\r\n");
    QTest::newRow("size overflows") << QByteArray(
        "ShowCmd=1\r\nFlags=0\r\nPixelsPerInch=96\r\n"
        "MinMaxPos=-1,-1,-1,-1\r\nNormPos=-2147483648,0,2147483647,10\r\n");
}

void TestAppConfig::malformedPlacement()
{
    QFETCH(QByteArray, form);
    writeExternally(m_path, "[Form]\r\n" + form, 0);

    WindowPlacement p;
    p.ShowCmd = 42;
    AppConfig config(m_path);
    QVERIFY(!config.loadWindowPlacement(p));
    QCOMPARE(p.ShowCmd, 42); // untouched on failure
}

QTEST_GUILESS_MAIN(TestAppConfig)
#include "tst_appconfig.moc"
