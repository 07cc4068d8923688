// The value of every record field after a read and a write: units, steps,
// ranges, fixed values and the cases where the record's value is kept.

#include "editor/controls/checklabel.h"
#include "editor/controls/colorselector.h"
#include "editor/controls/modepager.h"
#include "editor/controls/slideswitch.h"
#include "editor/controls/trackbar.h"
#include "editor/controls/twostatebutton.h"
#include "editor/editor.h"
#include "editor/functionhelp.h"
#include "editor/globalsettings.h"
#include "editor/modepage.h"
#include "editorfixture.h"
#include "scriptedprompt.h"

#include <QComboBox>
#include <QTest>
#include <QVBoxLayout>

namespace {

using Change = void (*)(tParameterSet &);
using Field = int (*)(const tParameterSet &);

} // namespace

Q_DECLARE_METATYPE(Change)
Q_DECLARE_METATYPE(Field)

class TestRecordFields : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void fieldValues_data();
    void fieldValues();
};

void TestRecordFields::fieldValues_data()
{
    // A change to the typical set, the count read, and the field written
    // back after the read.
    QTest::addColumn<Change>("change");
    QTest::addColumn<int>("count");
    QTest::addColumn<Field>("field");
    QTest::addColumn<int>("expected");

    auto row = [](const char *name, Change change, int count, Field field, int expected) {
        QTest::newRow(name) << change << count << field << expected;
    };
    row(
        "Brightness 100 is level 1, written 51",
        [](tParameterSet &p) { p.ModeDescriptor[0].ProxFeedback.Feedback_LEDdesc.Brightness = 100; }, 1,
        [](const tParameterSet &p) -> int {
            return p.ModeDescriptor[0].ProxFeedback.Feedback_LEDdesc.Brightness;
        },
        51);
    row(
        "Brightness 255 is level 5",
        [](tParameterSet &p) { p.ModeDescriptor[1].ProxFeedback.Feedback_LEDdesc.Brightness = 255; }, 2,
        [](const tParameterSet &p) -> int {
            return p.ModeDescriptor[1].ProxFeedback.Feedback_LEDdesc.Brightness;
        },
        255);
    row(
        "Brightness 50 is level 0",
        [](tParameterSet &p) { p.ModeDescriptor[0].ProxFeedback.Feedback_LEDdesc.Brightness = 50; }, 1,
        [](const tParameterSet &p) -> int {
            return p.ModeDescriptor[0].ProxFeedback.Feedback_LEDdesc.Brightness;
        },
        0);
    row(
        "ContStop is 0 for Toggle",
        [](tParameterSet &p) {
            p.ModeDescriptor[1].SwitchMode = ToggleON;
            p.ModeDescriptor[1].ContStop_100ms = 30;
        },
        2, [](const tParameterSet &p) -> int { return p.ModeDescriptor[1].ContStop_100ms; }, 0);
    row(
        "ContStop kept for Push button", [](tParameterSet &p) { p.ModeDescriptor[1].ContStop_100ms = 30; }, 2,
        [](const tParameterSet &p) -> int { return p.ModeDescriptor[1].ContStop_100ms; }, 30);
    row(
        "RelOut 2 shows both and is kept", [](tParameterSet &p) { p.ModeDescriptor[0].RelOut = Relais12; }, 1,
        [](const tParameterSet &p) -> int { return p.ModeDescriptor[0].RelOut; }, 2);
    row(
        "RelOut 1", [](tParameterSet &p) { p.ModeDescriptor[2].RelOut = Relais2; }, 3,
        [](const tParameterSet &p) -> int { return p.ModeDescriptor[2].RelOut; }, 1);
    row(
        "FeedbackMode 0 is OUTPUT",
        [](tParameterSet &p) { p.ModeDescriptor[0].ProxFeedback.FeedbackMode = FB_Relais; }, 1,
        [](const tParameterSet &p) -> int { return p.ModeDescriptor[0].ProxFeedback.FeedbackMode; }, 0);
    row(
        "a Boolean byte 2 is written 1",
        [](tParameterSet &p) {
            p.setModeBytes(QByteArray::fromHex("01000102000102")); // Feedback_LEDuse byte = 2
        },
        1, [](const tParameterSet &p) -> int { return p.ModeDescriptor[0].ProxFeedback.Feedback_LEDuse; }, 1);
    row(
        "OnlyONBeep is always 1",
        [](tParameterSet &p) { p.ModeDescriptor[0].ProxFeedback.Feedback_OnlyONBeep = false; }, 1,
        [](const tParameterSet &p) -> int { return p.ModeDescriptor[0].ProxFeedback.Feedback_OnlyONBeep; },
        1);
    row(
        "volume 10 is 10",
        [](tParameterSet &p) { p.ModeDescriptor[0].ProxFeedback.Feedback_BeepVolume = 10; }, 1,
        [](const tParameterSet &p) -> int { return p.ModeDescriptor[0].ProxFeedback.Feedback_BeepVolume; },
        10);
    row(
        "volume 50 is clamped to 10",
        [](tParameterSet &p) { p.ModeDescriptor[0].ProxFeedback.Feedback_BeepVolume = 50; }, 1,
        [](const tParameterSet &p) -> int { return p.ModeDescriptor[0].ProxFeedback.Feedback_BeepVolume; },
        10);
    row(
        "pulse length 0 is clamped to 1",
        [](tParameterSet &p) { p.ModeDescriptor[0].RelTiming.ImpulseTime_100ms = 0; }, 1,
        [](const tParameterSet &p) -> int { return p.ModeDescriptor[0].RelTiming.ImpulseTime_100ms; }, 1);
    row(
        "any RGB565 value is kept",
        [](tParameterSet &p) { p.ModeDescriptor[1].ProxFeedback.Feedback_LEDdesc.Color16 = 0x51A2; }, 2,
        [](const tParameterSet &p) -> int {
            return p.ModeDescriptor[1].ProxFeedback.Feedback_LEDdesc.Color16;
        },
        0x51A2);
    row(
        "HoldTime 4050 is 4000", [](tParameterSet &p) { p.SpecialActionDesc.HoldTime_ms = 4050; }, 1,
        [](const tParameterSet &p) -> int { return p.SpecialActionDesc.HoldTime_ms; }, 4000);
    row(
        "double-click time 33 (330 ms) is 340 ms",
        [](tParameterSet &p) { p.SpecialActionDesc.DbClickProx.DbCLick1_time_10ms = 150; }, 1,
        [](const tParameterSet &p) -> int { return p.SpecialActionDesc.DbClickProx.DbCLick1_time_10ms; },
        100);
    row(
        "one mode selects nothing",
        [](tParameterSet &p) { p.SpecialActionDesc.SelectionClick = DoubleClick; }, 1,
        [](const tParameterSet &p) -> int { return p.SpecialActionDesc.SelectionClick; }, 2);
    row(
        "double click with two modes",
        [](tParameterSet &p) { p.SpecialActionDesc.SelectionClick = DoubleClick; }, 2,
        [](const tParameterSet &p) -> int { return p.SpecialActionDesc.SelectionClick; }, 0);
    row(
        "no selection read leaves the switch on long click",
        [](tParameterSet &p) { p.SpecialActionDesc.SelectionClick = NoSelectMode; }, 2,
        [](const tParameterSet &p) -> int { return p.SpecialActionDesc.SelectionClick; }, 1);
    row(
        "transparent click only with long click",
        [](tParameterSet &p) {
            p.SpecialActionDesc.SelectionClick = DoubleClick;
            p.SpecialActionDesc.LClick_Transparent = true;
        },
        2, [](const tParameterSet &p) -> int { return p.SpecialActionDesc.LClick_Transparent; }, 0);
    row(
        "single action", [](tParameterSet &p) { p.SpecialActionDesc.SpecialAction = tSpecialAction(7); }, 2,
        [](const tParameterSet &p) -> int { return p.SpecialActionDesc.SpecialAction; }, 1);
    row(
        "pre-long-click signal is always 2",
        [](tParameterSet &p) { p.SpecialActionDesc.preLClickSignal_s = 9; }, 1,
        [](const tParameterSet &p) -> int { return p.SpecialActionDesc.preLClickSignal_s; }, 2);
    row(
        "alarm pulse 12", [](tParameterSet &p) { p.AlarmSettings.AlarmRelSwitchTime_100ms = 12; }, 1,
        [](const tParameterSet &p) -> int { return p.AlarmSettings.AlarmRelSwitchTime_100ms; }, 12);
    row(
        "alarm pulse 200 is clamped to 50",
        [](tParameterSet &p) { p.AlarmSettings.AlarmRelSwitchTime_100ms = 200; }, 1,
        [](const tParameterSet &p) -> int { return p.AlarmSettings.AlarmRelSwitchTime_100ms; }, 50);
    row(
        "alarm permanent", [](tParameterSet &p) { p.AlarmSettings.AlarmRelSwitchTime_100ms = 255; }, 1,
        [](const tParameterSet &p) -> int { return p.AlarmSettings.AlarmRelSwitchTime_100ms; }, 255);
    row(
        "alarm LED colour is always red", [](tParameterSet &p) { p.AlarmSettings.AlarmLED.Color16 = 0x1234; },
        1, [](const tParameterSet &p) -> int { return p.AlarmSettings.AlarmLED.Color16; }, 0xF800);
    row(
        "alarm repeat is always 100", [](tParameterSet &p) { p.AlarmSettings.AlarmSignalRepeat_10ms = 3; }, 1,
        [](const tParameterSet &p) -> int { return p.AlarmSettings.AlarmSignalRepeat_10ms; }, 100);
    row(
        "alarm LED brightness is always 255",
        [](tParameterSet &p) { p.AlarmSettings.AlarmLED.Brightness = 3; }, 1,
        [](const tParameterSet &p) -> int { return p.AlarmSettings.AlarmLED.Brightness; }, 255);
    row(
        "alarm LED state is always off",
        [](tParameterSet &p) { p.AlarmSettings.AlarmLED.LEDstate = LS_Blick; }, 1,
        [](const tParameterSet &p) -> int { return p.AlarmSettings.AlarmLED.LEDstate; }, 1);
    row(
        "alarm trigger time 99 is clamped to 60",
        [](tParameterSet &p) { p.AlarmSettings.AlarmTriggerTime_s = 99; }, 1,
        [](const tParameterSet &p) -> int { return p.AlarmSettings.AlarmTriggerTime_s; }, 60);
    row(
        "anti-tremor with one delay is on",
        [](tParameterSet &p) {
            p.AntiTremor = { 0, 300 };
        },
        1, [](const tParameterSet &p) -> int { return p.AntiTremor.OFF_delay_ms; }, 300);
    row(
        "anti-tremor with both 0 is off",
        [](tParameterSet &p) {
            p.AntiTremor = { 0, 0 };
        },
        1, [](const tParameterSet &p) -> int { return p.AntiTremor.ON_delay_ms + p.AntiTremor.OFF_delay_ms; },
        0);
}

void TestRecordFields::fieldValues()
{
    QFETCH(Change, change);
    QFETCH(int, count);
    QFETCH(Field, field);
    QFETCH(int, expected);

    EditorFixture f;
    tParameterSet p = typicalSet();
    change(p);
    f.editor->ReadFromDataStructs(p, count);
    QCOMPARE(field(written(*f.editor, p)), expected);
}

QTEST_MAIN(TestRecordFields)
#include "tst_recordfields.moc"
