#include "setups/inifile.h"
#include "setups/setupfile.h"
#include "testfiles.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestSetupFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void writeThenReadGivesTheSameParameters();
    void rewriteKeepsForeignKeys();
    void badRecordLeavesParametersUnchanged();

private:
    static tParameterSet sample();

    QTemporaryDir m_dir;
};

namespace {

tParameterSet withModes(tParameterSet params, int count)
{
    params.ModeCount = count;
    return params;
}

} // namespace

tParameterSet TestSetupFile::sample()
{
    tParameterSet params;
    QByteArray modes;
    for (int i = 0; i < tParameterSet::ModeBytesSize; ++i)
        modes.append(static_cast<char>((i * 7 + 3) & 0x7F));
    params.setModeBytes(modes);
    params.AntiTremor.ON_delay_ms = 30;
    params.AntiTremor.OFF_delay_ms = 200;
    params.AlarmSettings.AlarmTriggerTime_s = 20;
    params.SpecialActionDesc.HoldTime_ms = 1500;
    return params;
}

void TestSetupFile::init()
{
    QVERIFY(m_dir.isValid());
}

void TestSetupFile::writeThenReadGivesTheSameParameters()
{
    const QString path = m_dir.filePath(QStringLiteral("A_B.cfg"));
    QVERIFY(SetupFile::write(path, QStringLiteral("A:B"), withModes(sample(), 3)));

    const IniFile ini(path);
    QCOMPARE(ini.readString(QStringLiteral("config"), QStringLiteral("name")), QStringLiteral("A:B"));
    QCOMPARE(ini.readString(QStringLiteral("Config"), QStringLiteral("FileName")), path);
    QCOMPARE(
        ini.readString(QStringLiteral("Config"), QStringLiteral("AntiTremor")), QStringLiteral("1E00C800"));
    QCOMPARE(ini.readString(QStringLiteral("Config"), QStringLiteral("ModeDescriptor")).size(), 280);

    tParameterSet loaded;
    loaded.ModeCount = 0;
    SetupFile::read(path, loaded);
    QCOMPARE(loaded.ModeCount, 3);
    QVERIFY(loaded == withModes(sample(), 3));
}

void TestSetupFile::rewriteKeepsForeignKeys()
{
    const QString path = m_dir.filePath(QStringLiteral("shipped.cfg"));
    writeAll(path, "[Config]\r\nName=Shipped\r\nImage=4\r\nreadonly=TRUE\r\n");
    QVERIFY(SetupFile::write(path, QStringLiteral("Shipped"), withModes(sample(), 1)));

    const IniFile ini(path);
    QCOMPARE(ini.readInteger(QStringLiteral("Config"), QStringLiteral("Image"), 0), 4);
    QCOMPARE(ini.readBool(QStringLiteral("Config"), QStringLiteral("readonly"), false), true);
    QCOMPARE(ini.readInteger(QStringLiteral("Config"), QStringLiteral("Modecount"), 0), 1);
}

void TestSetupFile::badRecordLeavesParametersUnchanged()
{
    const QString path = m_dir.filePath(QStringLiteral("broken.cfg"));
    writeAll(path, "[Config]\r\nModecount=2\r\nAntiTremor=FFFF\r\nAlarmSettings=0G\r\n");
    tParameterSet params = withModes(sample(), 5);
    QVERIFY_THROWS_EXCEPTION(IniConversionError, SetupFile::read(path, params));
    QVERIFY(params == withModes(sample(), 5));
    QCOMPARE(params.ModeCount, 5);
}

QTEST_GUILESS_MAIN(TestSetupFile)
#include "tst_setupfile.moc"
