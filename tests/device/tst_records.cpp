#include "device/records.h"

#include <QTest>

// Byte images below are written out by hand from the record layouts; they are
// never produced by the code under test.
static QByteArray hex(const char *text)
{
    return QByteArray::fromHex(QByteArray(text).replace(' ', ""));
}

class TestRecords : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void modeDescriptorLayout();
    void specialActionLayout();
    void alarmSettingsLayout();
    void antiTremorLayout();
    void rewrite_data();
    void rewrite();
    void shortInputReadsZeros();
    void parameterSetModeBytes();
    void colorConversion_data();
    void colorConversion();
};

void TestRecords::modeDescriptorLayout()
{
    const QByteArray bytes = hex("02 01 01 01 01 0A 00 99 EF BE AD DE 20 FD 02"
                                 "96 00 0A 00 5E 01 32 00 64 00 01 00 28");
    QCOMPARE(bytes.size(), tModeDescriptor::Size);

    tModeDescriptor m;
    m.SwitchMode = RepeatFuncON;
    m.RelOut = Relais2;
    m.ProxFeedback.FeedbackMode = FB_Prox;
    m.ProxFeedback.Feedback_Beep = true;
    m.ProxFeedback.Feedback_OnlyONBeep = true;
    m.ProxFeedback.Feedback_BeepVolume = 10;
    m.ProxFeedback.Feedback_LEDuse = false;
    m.ProxFeedback.Feedback_LEDdesc.Brightness = 153;
    m.ProxFeedback.Feedback_LEDdesc.Color24 = 0xDEADBEEF;
    m.ProxFeedback.Feedback_LEDdesc.Color16 = 0xFD20;
    m.ProxFeedback.Feedback_LEDdesc.LEDstate = LS_Blick;
    m.RelTiming.RepeatFct_delay_10ms = 150;
    m.RelTiming.RepeatFct_PulseTime_10ms = 10;
    m.RelTiming.RepeatFct_PulseRepeat_10ms = 350;
    m.RelTiming.ImpulseTime_100ms = 50;
    m.RelTiming.DBClickOutTime_10ms = 100;
    m.RelTiming.DBClickOutDelay_10ms = 1;
    m.ContStop_100ms = 40;

    QCOMPARE(m.toBytes().toHex(' '), bytes.toHex(' '));
    QVERIFY(tModeDescriptor::fromBytes(bytes) == m);
}

void TestRecords::specialActionLayout()
{
    const QByteArray bytes = hex("01 01 03 01 02 88 13 64 00 32 00");
    QCOMPARE(bytes.size(), tSpecialActionDesc::Size);

    tSpecialActionDesc s;
    s.SelectionClick = LongClick;
    s.SpecialAction = SingleAction;
    s.SingleActionMode = 3;
    s.LClick_Transparent = true;
    s.preLClickSignal_s = 2;
    s.HoldTime_ms = 5000;
    s.DbClickProx.DbCLick1_time_10ms = 100;
    s.DbClickProx.DbClick_delay_10ms = 50;

    QCOMPARE(s.toBytes().toHex(' '), bytes.toHex(' '));
    QVERIFY(tSpecialActionDesc::fromBytes(bytes) == s);
}

void TestRecords::alarmSettingsLayout()
{
    const QByteArray bytes = hex("3C 00 05 01 00 FF 11 22 33 44 00 F8 01 64 00 FF 07");
    QCOMPARE(bytes.size(), tAlarmSettings::Size);

    tAlarmSettings a;
    a.AlarmTriggerTime_s = 60;
    a.Alarm_BeepVolume = 5;
    a.AlarmSignal_BeepOn = true;
    a.AlarmSignal_BlinkOn = false;
    a.AlarmLED.Brightness = 255;
    a.AlarmLED.Color24 = 0x44332211;
    a.AlarmLED.Color16 = 0xF800;
    a.AlarmLED.LEDstate = LS_off;
    a.AlarmSignalRepeat_10ms = 100;
    a.AlarmRelSwitchTime_100ms = 255;
    a.Alarm_LowBattAlarm = 7;

    QCOMPARE(a.toBytes().toHex(' '), bytes.toHex(' '));
    QVERIFY(tAlarmSettings::fromBytes(bytes) == a);
}

void TestRecords::antiTremorLayout()
{
    const QByteArray bytes = hex("1E 00 C8 00");
    tAntiTremor t;
    t.ON_delay_ms = 30;
    t.OFF_delay_ms = 200;
    QCOMPARE(t.toBytes().toHex(' '), bytes.toHex(' '));
    QVERIFY(tAntiTremor::fromBytes(bytes) == t);
}

// Reading a record and writing it again: passed-through fields and unknown
// enumeration ordinals come back byte for byte, Boolean bytes come back as
// 0 or 1.
void TestRecords::rewrite_data()
{
    QTest::addColumn<QString>("type");
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("mode: pass-through Color24 and LEDstate")
        << "mode"
        << hex("00 00 00 00 01 05 01 33 A1 B2 C3 D4 00 00 02 0A 00 0A 00 0A 00 01 00 01 00 01 00 00")
        << hex("00 00 00 00 01 05 01 33 A1 B2 C3 D4 00 00 02 0A 00 0A 00 0A 00 01 00 01 00 01 00 00");
    QTest::newRow("mode: Boolean bytes 2 and FF written as 1")
        << "mode"
        << hex("01 00 00 02 FF 00 02 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00")
        << hex("01 00 00 01 01 00 01 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00");
    QTest::newRow("mode: unknown ordinals survive")
        << "mode"
        << hex("07 09 05 00 00 00 00 00 00 00 00 00 00 00 FE 00 00 00 00 00 00 00 00 00 00 00 00 00")
        << hex("07 09 05 00 00 00 00 00 00 00 00 00 00 00 FE 00 00 00 00 00 00 00 00 00 00 00 00 00");
    QTest::newRow("special: SingleActionMode passed through, Boolean 2")
        << "special" << hex("09 08 E7 02 02 F4 01 0A 00 14 00") << hex("09 08 E7 01 02 F4 01 0A 00 14 00");
    QTest::newRow("alarm: LowBattAlarm passed through, Booleans 2")
        << "alarm" << hex("0A 00 03 02 80 FF 01 02 03 04 00 F8 01 64 00 00 A5")
        << hex("0A 00 03 01 01 FF 01 02 03 04 00 F8 01 64 00 00 A5");
    QTest::newRow("antitremor: high bytes") << "antitremor" << hex("DC 05 FF FF") << hex("DC 05 FF FF");
}

void TestRecords::rewrite()
{
    QFETCH(QString, type);
    QFETCH(QByteArray, input);
    QFETCH(QByteArray, expected);

    QByteArray out;
    if (type == QLatin1String("mode"))
        out = tModeDescriptor::fromBytes(input).toBytes();
    else if (type == QLatin1String("special"))
        out = tSpecialActionDesc::fromBytes(input).toBytes();
    else if (type == QLatin1String("alarm"))
        out = tAlarmSettings::fromBytes(input).toBytes();
    else
        out = tAntiTremor::fromBytes(input).toBytes();
    QCOMPARE(out.toHex(' '), expected.toHex(' '));
}

void TestRecords::shortInputReadsZeros()
{
    // Fewer bytes than the record holds must not read beyond them.
    const tAlarmSettings a = tAlarmSettings::fromBytes(hex("3C 00 05 01"));
    QCOMPARE(a.AlarmTriggerTime_s, 60);
    QVERIFY(a.AlarmSignal_BeepOn);
    QCOMPARE(a.toBytes().toHex(' '), hex("3C 00 05 01 00 00 00 00 00 00 00 00 00 00 00 00 00").toHex(' '));
    QVERIFY(tModeDescriptor::fromBytes({}) == tModeDescriptor {});
}

void TestRecords::parameterSetModeBytes()
{
    tParameterSet set;
    set.ModeDescriptor[2].SwitchMode = ToggleON;
    set.ModeDescriptor[4].ContStop_100ms = 0x33;

    const QByteArray image = set.modeBytes();
    QCOMPARE(image.size(), 140);
    QCOMPARE(image[56], char(3)); // mode 2 starts at 2 * 28
    QCOMPARE(image[139], char(0x33)); // last byte of mode 4
    QCOMPARE(image.count(char(0)), 138);

    tParameterSet other;
    other.setModeBytes(image);
    QVERIFY(other == set);

    // A shorter image changes only the bytes it covers.
    QByteArray head(30, char(0));
    head[0] = char(DoubleClickOut);
    head[29] = char(Relais12); // mode 1 starts at 28, RelOut is its second byte
    other.setModeBytes(head);
    QCOMPARE(other.ModeDescriptor[0].SwitchMode, DoubleClickOut);
    QCOMPARE(other.ModeDescriptor[1].RelOut, Relais12);
    QCOMPARE(other.ModeDescriptor[2].SwitchMode, ToggleON);
    QCOMPARE(other.ModeDescriptor[4].ContStop_100ms, 0x33);
}

void TestRecords::colorConversion_data()
{
    QTest::addColumn<int>("r");
    QTest::addColumn<int>("g");
    QTest::addColumn<int>("b");
    QTest::addColumn<int>("rgb565");
    QTest::addColumn<int>("backR");
    QTest::addColumn<int>("backG");
    QTest::addColumn<int>("backB");

    QTest::newRow("red") << 255 << 0 << 0 << 0xF800 << 248 << 0 << 0;
    QTest::newRow("green") << 0 << 255 << 0 << 0x07E0 << 0 << 252 << 0;
    QTest::newRow("blue") << 0 << 0 << 255 << 0x001F << 0 << 0 << 248;
    QTest::newRow("white") << 255 << 255 << 255 << 0xFFFF << 248 << 252 << 248;
    QTest::newRow("grey unchanged") << 128 << 128 << 128 << 0x8410 << 128 << 128 << 128;
    QTest::newRow("brown") << 86 << 52 << 18 << 0x51A2 << 80 << 52 << 16;
    QTest::newRow("orange") << 255 << 165 << 0 << 0xFD20 << 248 << 164 << 0;
    QTest::newRow("black") << 0 << 0 << 0 << 0x0000 << 0 << 0 << 0;
}

void TestRecords::colorConversion()
{
    QFETCH(int, r);
    QFETCH(int, g);
    QFETCH(int, b);
    QFETCH(int, rgb565);
    QFETCH(int, backR);
    QFETCH(int, backG);
    QFETCH(int, backB);

    const auto color = static_cast<std::uint32_t>(r | (g << 8) | (b << 16));
    const auto expectedBack = static_cast<std::uint32_t>(backR | (backG << 8) | (backB << 16));

    QCOMPARE(ColorToRGB565(color), rgb565);
    QCOMPARE(ColorToRGB565(color | 0xAB000000u), rgb565); // top byte ignored
    QCOMPARE(RGB565ToColor(static_cast<std::uint16_t>(rgb565)), expectedBack);
    // Converting the device colour again changes nothing.
    QCOMPARE(ColorToRGB565(expectedBack), rgb565);
}

QTEST_GUILESS_MAIN(TestRecords)
#include "tst_records.moc"
