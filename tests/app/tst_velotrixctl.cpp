#include "setups/inifile.h"
#include "velotrixemulator.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

// velotrixctl as a user runs it: the real executable against the emulated
// device on a pseudo-terminal.
class TestVelotrixCtl : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void info_data();
    void info();
    void readSavesASetupFile();
    void readAnswersEveryBlock_data();
    void readAnswersEveryBlock();
    void writeSendsTheSetupFile();
    void lockedDeviceNeedsThePin_data();
    void lockedDeviceNeedsThePin();
    void resetAndBattery_data();
    void resetAndBattery();
    void refusedBeforeTheDeviceIsTouched_data();
    void refusedBeforeTheDeviceIsTouched();
    void silentDevice();

private:
    struct Result
    {
        int exitCode = -1;
        QString out;
        QString err;
    };
    Result run(const QStringList &args);
    QString writeSetup(const QString &name, const QByteArray &content);

    QString m_ctl;
    QTemporaryDir m_dir;
    std::unique_ptr<VelotrixEmulator> m_emu;
};

void TestVelotrixCtl::initTestCase()
{
    m_ctl = QCoreApplication::applicationDirPath() + QStringLiteral("/velotrixctl");
    QVERIFY2(QFile::exists(m_ctl), qPrintable(m_ctl));
    QVERIFY(m_dir.isValid());
}

void TestVelotrixCtl::init()
{
    m_emu = std::make_unique<VelotrixEmulator>();
    m_emu->setVariation(3);
    m_emu->setBuild(12);
}

TestVelotrixCtl::Result TestVelotrixCtl::run(const QStringList &args)
{
    QProcess p;
    p.start(m_ctl, QStringList{QStringLiteral("--port"), m_emu->portPath()} + args);
    if (!p.waitForFinished(30000))
        return {};
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromLocal8Bit(p.readAllStandardOutput()),
            QString::fromLocal8Bit(p.readAllStandardError())};
}

QString TestVelotrixCtl::writeSetup(const QString &name, const QByteArray &content)
{
    const QString path = m_dir.filePath(name);
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return {};
    f.write(content);
    return path;
}

void TestVelotrixCtl::info_data()
{
    QTest::addColumn<int>("build");
    QTest::addColumn<bool>("locked");
    QTest::addColumn<QString>("expected");

    QTest::newRow("unlocked") << 12 << false << "Velotrix V1.3.12\nPIN protected: no\n";
    QTest::newRow("locked") << 12 << true << "Velotrix V1.3.12\nPIN protected: yes\n";
    QTest::newRow("firmware without PIN lock")
        << 7 << true << "Velotrix V1.3.7\nPIN protected: no (firmware without PIN lock)\n";
}

void TestVelotrixCtl::info()
{
    QFETCH(int, build);
    QFETCH(bool, locked);
    QFETCH(QString, expected);
    m_emu->setBuild(static_cast<std::int16_t>(build));
    m_emu->setLocked(locked);

    const Result r = run({QStringLiteral("info")});
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(r.out, expected);
    QVERIFY(m_emu->received().startsWith("*V"));
}

void TestVelotrixCtl::readSavesASetupFile()
{
    QByteArray image(VelotrixEmulator::ParameterSize, '\0');
    for (int i = 0; i < image.size(); ++i)
        image[i] = static_cast<char>(i & 0x3F);
    m_emu->setParameters(image);
    m_emu->setModeCount(2);
    const QString file = m_dir.filePath(QStringLiteral("therapy room.cfg"));

    const Result r = run({QStringLiteral("read"), file});
    QCOMPARE(r.exitCode, 0);

    const IniFile ini(file);
    QCOMPARE(ini.readString(QStringLiteral("Config"), QStringLiteral("Name")), QStringLiteral("therapy room"));
    QCOMPARE(ini.readInteger(QStringLiteral("Config"), QStringLiteral("Modecount"), 0), 2);
    QCOMPARE(ini.readString(QStringLiteral("Config"), QStringLiteral("AntiTremor")),
             QString::fromLatin1(m_emu->antiTremorBlock().toHex().toUpper()));
    QCOMPARE(ini.readString(QStringLiteral("Config"), QStringLiteral("ModeDescriptor")).size(), 280);
}

void TestVelotrixCtl::readAnswersEveryBlock_data()
{
    QTest::addColumn<int>("badCrcBlock");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QByteArray>("answers");

    QTest::newRow("all blocks accepted") << -1 << 0 << QByteArray("*OK*OK*OK*OK*OK");
    QTest::newRow("second block rejected") << 2 << 1 << QByteArray("*OK*ER");
}

// The last acknowledgement (or the rejection) reaches the device even though
// the tool clears the port and ends right after sending it. A few runs,
// because losing it depends on how quickly the device reads.
void TestVelotrixCtl::readAnswersEveryBlock()
{
    QFETCH(int, badCrcBlock);
    QFETCH(int, exitCode);
    QFETCH(QByteArray, answers);
    m_emu->setModeCount(2);
    m_emu->setBadReadCrc(badCrcBlock);
    const QString file = m_dir.filePath(QStringLiteral("answers.cfg"));

    for (int run = 0; run < 3; ++run) {
        m_emu->clearReceived();
        const Result r = this->run({QStringLiteral("read"), file});
        QCOMPARE(r.exitCode, exitCode);
        QTRY_COMPARE(m_emu->received(), QByteArray("*V*P*1") + answers);
    }
}

void TestVelotrixCtl::writeSendsTheSetupFile()
{
    const QString file = writeSetup(QStringLiteral("two.cfg"),
                                    "[Config]\r\nName=two\r\nModecount=2\r\nAntiTremor=1E00C800\r\n"
                                    "AlarmSettings=0A00\r\n");
    m_emu->clearReceived();
    const Result r = run({QStringLiteral("write"), file});
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(r.out, QStringLiteral("Transmission successful\n"));
    QCOMPARE(m_emu->modeCount(), 2);
    QCOMPARE(m_emu->antiTremorBlock().toHex(), QByteArray("1e00c800"));
    QCOMPARE(m_emu->alarmBlock().left(2).toHex(), QByteArray("0a00"));
    QVERIFY(m_emu->received().contains(QByteArrayLiteral("*0\x02")));
}

void TestVelotrixCtl::lockedDeviceNeedsThePin_data()
{
    QTest::addColumn<QStringList>("pinArgs");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("message");

    QTest::newRow("no PIN given") << QStringList() << 1 << "locked by a PIN";
    QTest::newRow("wrong PIN") << QStringList{QStringLiteral("--pin"), QStringLiteral("1111")} << 1 << "refused the PIN";
    QTest::newRow("right PIN") << QStringList{QStringLiteral("--pin"), QStringLiteral("4321")} << 0 << "";
}

void TestVelotrixCtl::lockedDeviceNeedsThePin()
{
    QFETCH(QStringList, pinArgs);
    QFETCH(int, exitCode);
    QFETCH(QString, message);
    m_emu->setPin(4321);
    m_emu->setLocked(true);
    const QString file = writeSetup(QStringLiteral("one.cfg"), "[Config]\r\nModecount=1\r\nAntiTremor=1E00C800\r\n");

    const Result r = run(pinArgs + QStringList{QStringLiteral("write"), file});
    QCOMPARE(r.exitCode, exitCode);
    QVERIFY2(r.err.contains(message), qPrintable(r.err));
    QCOMPARE(m_emu->antiTremorBlock() == QByteArray::fromHex("1E00C800"), exitCode == 0);
}

void TestVelotrixCtl::resetAndBattery_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<int>("battery");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("out");
    QTest::addColumn<QString>("err");

    QTest::newRow("reset") << "reset" << 3900 << 0 << "Velotrix was reset.\n" << "";
    QTest::newRow("battery full") << "battery" << 4100 << 0 << "100%\n" << "";
    QTest::newRow("battery 70") << "battery" << 3900 << 0 << "70%\n" << "";
    QTest::newRow("battery not measured") << "battery" << 0 << 1 << ""
                                          << "Please unplug Velotrix for 5 seconds and try again.";
}

void TestVelotrixCtl::resetAndBattery()
{
    QFETCH(QString, command);
    QFETCH(int, battery);
    QFETCH(int, exitCode);
    QFETCH(QString, out);
    QFETCH(QString, err);
    m_emu->setBattery(static_cast<std::uint16_t>(battery));

    const Result r = run({command});
    QCOMPARE(r.exitCode, exitCode);
    QCOMPARE(r.out, out);
    QVERIFY2(r.err.contains(err), qPrintable(r.err));
}

void TestVelotrixCtl::refusedBeforeTheDeviceIsTouched_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("message");

    QTest::newRow("unknown command") << QStringList{QStringLiteral("fly")} << "unknown command";
    QTest::newRow("read without file") << QStringList{QStringLiteral("read")} << "exactly one FILE";
    QTest::newRow("missing setup file") << QStringList{QStringLiteral("write"), QStringLiteral("/nonexistent/x.cfg")}
                                        << "cannot read";
    QTest::newRow("mode count above five") << QStringList{QStringLiteral("write"), QStringLiteral("@seven")}
                                           << "Modecount must be 1 to 5";
    QTest::newRow("bad record value") << QStringList{QStringLiteral("write"), QStringLiteral("@bad")} << "bad.cfg";
}

void TestVelotrixCtl::refusedBeforeTheDeviceIsTouched()
{
    QFETCH(QStringList, args);
    QFETCH(QString, message);
    for (QString &a : args) {
        if (a == QLatin1String("@seven"))
            a = writeSetup(QStringLiteral("seven.cfg"), "[Config]\r\nModecount=7\r\n");
        else if (a == QLatin1String("@bad"))
            a = writeSetup(QStringLiteral("bad.cfg"), "[Config]\r\nModecount=1\r\nAntiTremor=XY\r\n");
    }
    const Result r = run(args);
    QCOMPARE(r.exitCode, 1);
    QVERIFY2(r.err.contains(message), qPrintable(r.err));
    QCOMPARE(r.err.count(QLatin1Char('\n')), 1);
    QCOMPARE(m_emu->received(), QByteArray());
}

void TestVelotrixCtl::silentDevice()
{
    m_emu->setSilent(true);
    const Result r = run({QStringLiteral("info")});
    QCOMPARE(r.exitCode, 1);
    QVERIFY2(r.err.contains(QLatin1String("no Velotrix answered")), qPrintable(r.err));
}

QTEST_GUILESS_MAIN(TestVelotrixCtl)
#include "tst_velotrixctl.moc"
