// Moving the editor's state to and from the working records: rebuilding the
// pages for a mode count, the units, steps and fixed values of every field,
// the fields passed through, and a round trip over random parameter sets.

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
#include <QRandomGenerator>
#include <QTest>
#include <QVBoxLayout>

namespace {

} // namespace

class TestRecordsMapping : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void countZeroKeepsStandardPage();
    void countOneRemovesPages();
    void countThreeAfterFive();
    void countIsClamped_data();
    void countIsClamped();
    void unknownSwitchModeIsKept();
    void offModeIsStoredAsInputWithoutSignals();
    void alarmWithoutChoiceIsOff();
    void alarmOffStoresNoSignals();
    void antiTremorReleasedStoresZero();
    void repeatRateCouplingAfterRead();
    void passThroughFieldsKept();
    void paletteColourRoundTrip();
    void readIntoPagesWhileStandardIsOff();
    void transparentLockHoldsAfterRead();
    void readComposesHelpOfLastMode();
    void roundTripOfRandomSets();
};

void TestRecordsMapping::countZeroKeepsStandardPage()
{
    EditorFixture f;
    f.bar(QStringLiteral("Sound_Trackbar_Volumne_0"))->setPosition(7);
    tParameterSet p = typicalSet();
    p.ModeDescriptor[0].ProxFeedback.Feedback_BeepVolume = 2;
    p.SpecialActionDesc.HoldTime_ms = 1000;

    f.editor->ReadFromDataStructs(p, 0);
    QCOMPARE(f.editor->modeCount(), 1);
    QCOMPARE(f.bar(QStringLiteral("Sound_Trackbar_Volumne_0"))->position(), 7);
    QCOMPARE(f.bar(QStringLiteral("SPECIALACT_HOLD_TIME"))->position(), 1000);
    QVERIFY(!f.button(QStringLiteral("MultiMode_Button"))->isChecked());
}

void TestRecordsMapping::countOneRemovesPages()
{
    EditorFixture f;
    f.editor->ReadFromDataStructs(typicalSet(), 3);
    QCOMPARE(f.editor->modeCount(), 3);
    QVERIFY(f.button(QStringLiteral("MultiMode_Button"))->isChecked());

    tParameterSet p = typicalSet();
    p.ModeDescriptor[0].ProxFeedback.Feedback_BeepVolume = 9;
    f.editor->ReadFromDataStructs(p, 1);
    QCOMPARE(f.editor->modeCount(), 1);
    QCOMPARE(f.findChildCount<TModePage>(), 1);
    QCOMPARE(f.bar(QStringLiteral("Sound_Trackbar_Volumne_0"))->position(), 9);
    QVERIFY(!f.button(QStringLiteral("MultiMode_Button"))->isChecked());
    QVERIFY(!f.get<QWidget>(QStringLiteral("Selection_ModeChangeSlider"))->isEnabled());
    QVERIFY(!f.editor->Pager->isInsertButtonVisible());
    QVERIFY(f.prompt.shown.isEmpty());
}

void TestRecordsMapping::countThreeAfterFive()
{
    EditorFixture f;
    f.editor->ReadFromDataStructs(typicalSet(), 5);
    QCOMPARE(f.editor->acttag, 4);

    tParameterSet p = typicalSet();
    for (std::size_t i = 0; i < 3; ++i)
        p.ModeDescriptor[i].ProxFeedback.Feedback_BeepVolume = std::uint8_t(4 + i);
    f.editor->ReadFromDataStructs(p, 3);
    QCOMPARE(f.editor->modeCount(), 3);
    QCOMPARE(QList<int>({ f.editor->pageNumberAt(0), f.editor->pageNumberAt(1), f.editor->pageNumberAt(2) }),
        QList<int>({ 0, 5, 6 }));
    for (int n = 1; n <= 4; ++n)
        QVERIFY(!f.editor->findChild<QWidget *>(QStringLiteral("Panel_%1").arg(n)));
    for (int i = 0; i < 3; ++i)
        QCOMPARE(f.editor->modePageAt(i)->Sound_Trackbar_Volumne->position(), 4 + i);
    QCOMPARE(f.editor->Pager->tabText(2), QStringLiteral("Mode 2"));
    QVERIFY(f.editor->Pager->isCloseButtonVisible());
}

void TestRecordsMapping::countIsClamped_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("pages");

    QTest::newRow("7 is 5") << 7 << 5;
    QTest::newRow("6 is 5") << 6 << 5;
    QTest::newRow("-3 is 0") << -3 << 1;
}

void TestRecordsMapping::countIsClamped()
{
    QFETCH(int, count);
    QFETCH(int, pages);

    EditorFixture f;
    f.bar(QStringLiteral("Sound_Trackbar_Volumne_0"))->setPosition(9);
    f.editor->ReadFromDataStructs(typicalSet(), count);
    QCOMPARE(f.editor->modeCount(), pages);
    // Count 0 loads no mode; 5 loads the standard page as well.
    QCOMPARE(f.bar(QStringLiteral("Sound_Trackbar_Volumne_0"))->position(), count < 0 ? 9 : 1);
    QCOMPARE(written(*f.editor).ModeDescriptor[4].ProxFeedback.Feedback_BeepVolume, count > 0 ? 5 : 0);
}

void TestRecordsMapping::unknownSwitchModeIsKept()
{
    EditorFixture f;
    tParameterSet p = typicalSet();
    p.ModeDescriptor[0].SwitchMode = tSwitchMode(9);
    p.ModeDescriptor[0].ContStop_100ms = 20;
    f.editor->ReadFromDataStructs(p, 1);

    QCOMPARE(f.get<QComboBox>(QStringLiteral("OutputFunctionCombobox_0"))->currentIndex(), -1);
    for (QFrame *panel : f.editor->Panel_0->functionPanels())
        QVERIFY(!panel->isVisible());
    QVERIFY(f.help.last().isNull());
    tParameterSet out = written(*f.editor, p);
    QCOMPARE(int(out.ModeDescriptor[0].SwitchMode), 9);
    QCOMPARE(int(out.ModeDescriptor[0].ContStop_100ms), 0);

    f.pick(QStringLiteral("OutputFunctionCombobox_0"), 2);
    QCOMPARE(int(written(*f.editor, p).ModeDescriptor[0].SwitchMode), 2);
}

void TestRecordsMapping::offModeIsStoredAsInputWithoutSignals()
{
    EditorFixture f;
    f.click(QStringLiteral("Off_Button_0"));
    const tParameterSet out = written(*f.editor, typicalSet());
    const tProxFeedback &fb = out.ModeDescriptor[0].ProxFeedback;
    QCOMPARE(fb.FeedbackMode, FB_Prox);
    QCOMPARE(fb.Feedback_Beep, false);
    QCOMPARE(fb.Feedback_LEDuse, false);

    f.editor->ReadFromDataStructs(out, 1);
    QVERIFY(f.button(QStringLiteral("Input_Button_0"))->isChecked());
    QVERIFY(!f.button(QStringLiteral("Off_Button_0"))->isChecked());
    QVERIFY(!f.button(QStringLiteral("Sound_Button_0"))->isChecked());
    QVERIFY(!f.button(QStringLiteral("LED_Button_0"))->isChecked());
}

void TestRecordsMapping::alarmWithoutChoiceIsOff()
{
    EditorFixture f;
    tParameterSet p = typicalSet();
    p.AlarmSettings.AlarmRelSwitchTime_100ms = 0;
    f.editor->ReadFromDataStructs(p, 1);
    f.click(QStringLiteral("Alarm_Button")); // on, but neither choice ticked

    const tParameterSet out = written(*f.editor, p);
    QCOMPARE(int(out.AlarmSettings.AlarmRelSwitchTime_100ms), 0);
    f.editor->ReadFromDataStructs(out, 1);
    QVERIFY(!f.button(QStringLiteral("Alarm_Button"))->isChecked());
}

void TestRecordsMapping::alarmOffStoresNoSignals()
{
    EditorFixture f;
    f.button(QStringLiteral("AlarmLEDON_Button"))->setChecked(true);
    f.button(QStringLiteral("AlarmSoundON_Button"))->setChecked(true);
    QVERIFY(!f.button(QStringLiteral("Alarm_Button"))->isChecked());
    const tParameterSet out = written(*f.editor, typicalSet());
    QCOMPARE(out.AlarmSettings.AlarmSignal_BeepOn, false);
    QCOMPARE(out.AlarmSettings.AlarmSignal_BlinkOn, false);
    QCOMPARE(int(out.AlarmSettings.AlarmRelSwitchTime_100ms), 0);

    // The editor being disabled around a transfer changes nothing.
    f.click(QStringLiteral("Alarm_Button"));
    f.editor->setEnabled(false);
    const tParameterSet on = written(*f.editor, typicalSet());
    QCOMPARE(on.AlarmSettings.AlarmSignal_BeepOn, true);
    QCOMPARE(on.AlarmSettings.AlarmSignal_BlinkOn, true);
    QCOMPARE(int(on.AlarmSettings.AlarmRelSwitchTime_100ms), 10);
}

void TestRecordsMapping::antiTremorReleasedStoresZero()
{
    EditorFixture f;
    f.editor->ReadFromDataStructs(typicalSet(), 1);
    QVERIFY(f.button(QStringLiteral("AntiTremor_Button"))->isChecked());
    f.bar(QStringLiteral("TrackBar_ReleaseTime"))->setPosition(120);
    QCOMPARE(written(*f.editor).AntiTremor, (tAntiTremor { 250, 120 }));
    f.click(QStringLiteral("AntiTremor_Button"));
    QCOMPARE(written(*f.editor, typicalSet()).AntiTremor, (tAntiTremor { 0, 0 }));
}

void TestRecordsMapping::repeatRateCouplingAfterRead()
{
    EditorFixture f;
    tParameterSet p = typicalSet();
    for (std::size_t i = 0; i < 2; ++i) {
        p.ModeDescriptor[i].RelTiming.RepeatFct_PulseTime_10ms = 100; // 1000 ms
        p.ModeDescriptor[i].RelTiming.RepeatFct_PulseRepeat_10ms = 50; // 500 ms
    }
    f.editor->ReadFromDataStructs(p, 2);
    QCOMPARE(f.bar(QStringLiteral("RepeatFct_PulseRepeat_10ms_0"))->position(), 1100);
    QCOMPARE(f.editor->modePageAt(1)->RepeatFct_PulseRepeat_10ms->position(), 500);
    const tParameterSet out = written(*f.editor, p);
    QCOMPARE(int(out.ModeDescriptor[0].RelTiming.RepeatFct_PulseRepeat_10ms), 110);
    QCOMPARE(int(out.ModeDescriptor[1].RelTiming.RepeatFct_PulseRepeat_10ms), 50);
}

void TestRecordsMapping::passThroughFieldsKept()
{
    EditorFixture f;
    tParameterSet p = typicalSet();
    for (std::size_t i = 0; i < 5; ++i) {
        p.ModeDescriptor[i].ProxFeedback.Feedback_LEDdesc.Color24 = 0x00ABCDEF + std::uint32_t(i);
        p.ModeDescriptor[i].ProxFeedback.Feedback_LEDdesc.LEDstate = tLEDState(5 + i);
    }
    p.SpecialActionDesc.SingleActionMode = 77;
    p.AlarmSettings.AlarmLED.Color24 = 0x12345678;
    p.AlarmSettings.Alarm_LowBattAlarm = 0xA5;
    f.editor->ReadFromDataStructs(p, 3);

    tParameterSet out = p;
    f.editor->WriteToDataStructs(out);
    for (std::size_t i = 0; i < 5; ++i) {
        QCOMPARE(out.ModeDescriptor[i].ProxFeedback.Feedback_LEDdesc.Color24, 0x00ABCDEF + std::uint32_t(i));
        QCOMPARE(int(out.ModeDescriptor[i].ProxFeedback.Feedback_LEDdesc.LEDstate), int(5 + i));
    }
    QCOMPARE(out.SpecialActionDesc.SingleActionMode, 77);
    QCOMPARE(out.AlarmSettings.AlarmLED.Color24, 0x12345678u);
    QCOMPARE(out.AlarmSettings.Alarm_LowBattAlarm, 0xA5);
    // Modes beyond the pages are not touched.
    QCOMPARE(out.ModeDescriptor[3], p.ModeDescriptor[3]);
    QCOMPARE(out.ModeDescriptor[4], p.ModeDescriptor[4]);
}

void TestRecordsMapping::paletteColourRoundTrip()
{
    EditorFixture f;
    auto *colours = f.get<TColorSelector>(QStringLiteral("LED_ColorCombo_0"));
    // The start colour is not in the palette and goes out as it is.
    QCOMPARE(int(written(*f.editor).ModeDescriptor[0].ProxFeedback.Feedback_LEDdesc.Color16), 0x041F);

    // Palette colour 3 (FF 66 00) is offered as the device shows it.
    const QColor offered = colours->colors().at(3);
    QCOMPARE(offered, QColor(0xF8, 0x64, 0x00));
    colours->setSelectedColor(offered);
    const tParameterSet out = written(*f.editor);
    QCOMPARE(int(out.ModeDescriptor[0].ProxFeedback.Feedback_LEDdesc.Color16), 0xFB20);

    colours->setSelectedColor(Qt::black);
    f.editor->ReadFromDataStructs(out, 1);
    QCOMPARE(colours->selectedColor(), offered);
}

void TestRecordsMapping::readIntoPagesWhileStandardIsOff()
{
    EditorFixture f;
    f.click(QStringLiteral("Off_Button_0"));
    tParameterSet p = typicalSet();
    p.ModeDescriptor[2].ProxFeedback.FeedbackMode = tFeedbackMode(7); // leaves the copied OFF
    f.editor->ReadFromDataStructs(p, 3);

    for (int i = 0; i < 2; ++i) {
        TModePage *page = f.editor->modePageAt(i);
        QVERIFY(!page->Off_Button->isChecked());
        for (QWidget *w : std::initializer_list<QWidget *> {
                 page->LED_Button, page->Sound_Button, page->LED_ColorCombo, page->Sound_Trackbar_Volumne })
            QVERIFY2(w->isEnabled(), qPrintable(w->objectName()));
    }
    TModePage *stillOff = f.editor->modePageAt(2);
    QVERIFY(stillOff->Off_Button->isChecked());
    QVERIFY(!stillOff->LED_ColorCombo->isEnabled());
}

void TestRecordsMapping::transparentLockHoldsAfterRead()
{
    EditorFixture f;
    tParameterSet p = typicalSet();
    p.ModeDescriptor[0].SwitchMode = RepeatFuncON;
    p.SpecialActionDesc.LClick_Transparent = false;
    f.editor->ReadFromDataStructs(p, 2);
    QVERIFY(f.editor->GlobalSettings->LClick_Transparent->isChecked());
    QVERIFY(!f.editor->GlobalSettings->LClick_Transparent->isEnabled());
    QCOMPARE(written(*f.editor, p).SpecialActionDesc.LClick_Transparent, true);

    p.ModeDescriptor[0].SwitchMode = ToggleON;
    f.editor->ReadFromDataStructs(p, 2);
    QVERIFY(!f.editor->GlobalSettings->LClick_Transparent->isChecked());
    QVERIFY(f.editor->GlobalSettings->LClick_Transparent->isEnabled());
}

void TestRecordsMapping::readComposesHelpOfLastMode()
{
    EditorFixture f;
    tParameterSet p = typicalSet();
    p.ModeDescriptor[2].SwitchMode = DoubleClickOut;
    p.ModeDescriptor[2].RelOut = Relais2;
    f.editor->ReadFromDataStructs(p, 3);
    QCOMPARE(f.help.last(), Output2HelpText() + FunctionHelpText(4));
}

void TestRecordsMapping::roundTripOfRandomSets()
{
    // Whatever the records hold, a write, a read of it and a second write
    // store the same, and every value the editor writes is one its controls
    // can show.
    EditorFixture f;
    QRandomGenerator random(20240611);
    auto bytes = [&random](int size) {
        QByteArray b(size, Qt::Uninitialized);
        for (char &c : b)
            c = char(random.bounded(256));
        return b;
    };
    struct Timing
    {
        const char *role;
        int unit;
        int (*get)(const tModeDescriptor &);
    };
    const Timing timings[] = {
        { "Impulse_Trackbar_ImpulseLen_", 100,
            [](const tModeDescriptor &m) -> int { return m.RelTiming.ImpulseTime_100ms; } },
        { "RepeatFct_PulseTime_10ms_", 10,
            [](const tModeDescriptor &m) -> int { return m.RelTiming.RepeatFct_PulseTime_10ms; } },
        { "RepeatFct_delay_10ms_", 10,
            [](const tModeDescriptor &m) -> int { return m.RelTiming.RepeatFct_delay_10ms; } },
        { "RepeatFct_PulseRepeat_10ms_", 10,
            [](const tModeDescriptor &m) -> int { return m.RelTiming.RepeatFct_PulseRepeat_10ms; } },
        { "DBClickOutTime_10ms_", 10,
            [](const tModeDescriptor &m) -> int { return m.RelTiming.DBClickOutTime_10ms; } },
        { "DBClickOutDelay_10ms_", 10,
            [](const tModeDescriptor &m) -> int { return m.RelTiming.DBClickOutDelay_10ms; } },
        { "TrackBar_ContStop_100ms_", 100, [](const tModeDescriptor &m) -> int { return m.ContStop_100ms; } },
        { "Sound_Trackbar_Volumne_", 1,
            [](const tModeDescriptor &m) -> int { return m.ProxFeedback.Feedback_BeepVolume; } },
        { "LED_Trackbar_Brightness_", 1,
            [](const tModeDescriptor &m) -> int { return m.ProxFeedback.Feedback_LEDdesc.Brightness / 51; } },
    };
    auto onBar = [](const TTrackBar *bar, int value) {
        return bar && value >= bar->minimum() && value <= bar->maximum() && value % bar->step() == 0;
    };

    for (int run = 0; run < 300; ++run) {
        tParameterSet p;
        p.setModeBytes(bytes(tParameterSet::ModeBytesSize));
        p.SpecialActionDesc = tSpecialActionDesc::fromBytes(bytes(tSpecialActionDesc::Size));
        p.AlarmSettings = tAlarmSettings::fromBytes(bytes(tAlarmSettings::Size));
        p.AntiTremor = tAntiTremor::fromBytes(bytes(tAntiTremor::Size));
        const int count = int(random.bounded(-1, 8));

        f.editor->ReadFromDataStructs(p, count);
        tParameterSet first = p;
        f.editor->WriteToDataStructs(first);
        f.editor->ReadFromDataStructs(first, f.editor->modeCount());
        tParameterSet second = first;
        f.editor->WriteToDataStructs(second);
        QVERIFY2(second == first, qPrintable(QStringLiteral("run %1, count %2").arg(run).arg(count)));

        for (int i = 0; i < f.editor->modeCount(); ++i) {
            const TModePage *page = f.editor->modePageAt(i);
            const tModeDescriptor &m = first.ModeDescriptor.at(std::size_t(i));
            for (const Timing &t : timings) {
                const int shown = t.get(m) * t.unit;
                const auto *bar = page->findChild<TTrackBar *>(page->nameFor(t.role));
                // The forced cut-off of other functions is stored as 0.
                if (QByteArray(t.role) == "TrackBar_ContStop_100ms_" && m.SwitchMode != NormalON)
                    QCOMPARE(shown, 0);
                else
                    QVERIFY2(onBar(bar, shown), t.role);
            }
            QCOMPARE(m.ProxFeedback.Feedback_LEDdesc.Brightness % 51, 0);
            QVERIFY(m.RelOut <= Relais12 || m.RelOut == p.ModeDescriptor.at(std::size_t(i)).RelOut);
            QVERIFY(m.ProxFeedback.FeedbackMode <= FB_Prox);
        }
        const TGlobalSettings *gs = f.editor->GlobalSettings;
        const tSpecialActionDesc &s = first.SpecialActionDesc;
        QVERIFY(onBar(gs->SPECIALACT_HOLD_TIME, s.HoldTime_ms));
        QVERIFY(onBar(gs->Input_DbCLick1_time_10ms, s.DbClickProx.DbCLick1_time_10ms * 10));
        QVERIFY(onBar(gs->Input_DbCLick1_delay_10ms, s.DbClickProx.DbClick_delay_10ms * 10));
        QVERIFY(s.SelectionClick <= NoSelectMode);
        QCOMPARE(s.SelectionClick == NoSelectMode, f.editor->modeCount() < 2);
        const tAlarmSettings &a = first.AlarmSettings;
        QVERIFY(onBar(gs->ALARM_TRIGGERTIME, a.AlarmTriggerTime_s));
        QVERIFY(onBar(gs->ALARM_BEEPVOLUME, a.Alarm_BeepVolume));
        QVERIFY(a.AlarmRelSwitchTime_100ms == 0 || a.AlarmRelSwitchTime_100ms == 255
            || onBar(gs->ALARM_SWITCHTIME, a.AlarmRelSwitchTime_100ms * 100));
        QVERIFY(onBar(gs->TrackBar_HoldTime, first.AntiTremor.ON_delay_ms));
        QVERIFY(onBar(gs->TrackBar_ReleaseTime, first.AntiTremor.OFF_delay_ms));
    }
}

QTEST_MAIN(TestRecordsMapping)
#include "tst_recordsmapping.moc"
