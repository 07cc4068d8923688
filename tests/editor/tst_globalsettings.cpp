// The global settings: their start state, the mode-change switch, the
// transparent-click lock, anti-tremor, the alarm's signal buttons and its
// "Impulse" / "Permanent switch" choice.

#include "editor/controls/checklabel.h"
#include "editor/controls/modepager.h"
#include "editor/controls/slideswitch.h"
#include "editor/controls/trackbar.h"
#include "editor/controls/twostatebutton.h"
#include "editor/editor.h"
#include "editor/globalsettings.h"
#include "editorfixture.h"
#include "scriptedprompt.h"

#include <QComboBox>
#include <QTest>
#include <QVBoxLayout>

namespace {

} // namespace

class TestGlobalSettings : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void startState();
    void modeChangeSwitch();
    void transparentClickLock();
    void antiTremor();
    void alarmEnables();
    void alarmSignals_data();
    void alarmSignals();
    void impulseOrPermanent_data();
    void impulseOrPermanent();
    void alarmReadOffLeavesNoChoice();
};

void TestGlobalSettings::startState()
{
    EditorFixture f;
    TGlobalSettings *gs = f.editor->GlobalSettings;
    QCOMPARE(gs->objectName(), QStringLiteral("AdvOfficePager1"));
    QCOMPARE(gs->count(), 3);
    QCOMPARE(gs->currentWidget(), gs->AdvOfficePage1);
    QCOMPARE(gs->tabText(2), QStringLiteral("Sensor monitoring"));

    QVERIFY(!gs->MultiMode_Button->isChecked());
    for (QWidget *w :
        std::initializer_list<QWidget *> { gs->SPECIALACT_HOLD_TIME, gs->Input_DbCLick1_time_10ms,
            gs->Input_DbCLick1_delay_10ms, gs->Selection_SingleChange, gs->Selection_ModeChangeSlider })
        QVERIFY2(!w->isEnabled(), qPrintable(w->objectName()));
    QVERIFY(!f.editor->Pager->isInsertButtonVisible());
    QVERIFY(gs->Selection_SingleChange->isOn());
    QVERIFY(gs->Selection_ModeChangeSlider->isOn());
    QVERIFY(gs->LongClick_Panel->isVisible());
    QVERIFY(!gs->DoubleClick_Panel->isVisible());
    // The standard mode starts as "Push button ": ticked and locked.
    QVERIFY(gs->LClick_Transparent->isChecked());
    QVERIFY(!gs->LClick_Transparent->isEnabled());

    QVERIFY(!gs->AntiTremor_Button->isChecked());
    QVERIFY(!gs->TrackBar_HoldTime->isEnabled());
    QVERIFY(!gs->TrackBar_ReleaseTime->isEnabled());

    QVERIFY(!gs->Alarm_Button->isChecked());
    QVERIFY(!gs->AlarmLEDON_Button->isChecked());
    QVERIFY(gs->AlarmSoundON_Button->isChecked());
    QVERIFY(gs->Selection_Impulse->isChecked());
    QVERIFY(!gs->Selection_Permanent->isChecked());
    for (QWidget *w : std::initializer_list<QWidget *> { gs->ALARM_TRIGGERTIME, gs->AlarmLEDON_Button,
             gs->AlarmSoundON_Button, gs->ALARM_BEEPVOLUME, gs->Selection_Impulse, gs->Selection_Permanent,
             gs->ALARM_SWITCHTIME })
        QVERIFY2(!w->isEnabled(), qPrintable(w->objectName()));

    const QList<QPair<TTrackBar *, QList<int>>> bars {
        { gs->SPECIALACT_HOLD_TIME, { 500, 5000, 100, 4000 } },
        { gs->Input_DbCLick1_time_10ms, { 0, 1000, 10, 300 } },
        { gs->Input_DbCLick1_delay_10ms, { 0, 1000, 10, 300 } },
        { gs->TrackBar_HoldTime, { 0, 1500, 1, 250 } },
        { gs->TrackBar_ReleaseTime, { 0, 1500, 1, 0 } },
        { gs->ALARM_TRIGGERTIME, { 10, 60, 1, 10 } },
        { gs->ALARM_BEEPVOLUME, { 0, 5, 1, 1 } },
        { gs->ALARM_SWITCHTIME, { 100, 5000, 100, 1000 } },
    };
    for (const auto &[bar, setting] : bars)
        QCOMPARE(QList<int>({ bar->minimum(), bar->maximum(), bar->step(), bar->position() }), setting);
    QVERIFY(gs->ALARM_SWITCHTIME->jumpToClick());
}

void TestGlobalSettings::modeChangeSwitch()
{
    EditorFixture f;
    TGlobalSettings *gs = f.editor->GlobalSettings;
    f.click(QStringLiteral("MultiMode_Button"));
    QVERIFY(gs->Selection_ModeChangeSlider->isEnabled());

    QTest::mouseClick(gs->Selection_ModeChangeSlider, Qt::LeftButton);
    QVERIFY(!gs->Selection_ModeChangeSlider->isOn());
    QVERIFY(gs->DoubleClick_Panel->isVisible());
    QVERIFY(gs->Input_DbCLick1_time_10ms->isVisible());
    QVERIFY(gs->Input_DbCLick1_delay_10ms->isVisible());
    QVERIFY(!gs->SPECIALACT_HOLD_TIME->isVisible());
    QVERIFY(!gs->LClick_Transparent->isVisible());

    QTest::mouseClick(gs->Selection_ModeChangeSlider, Qt::LeftButton);
    QVERIFY(gs->LongClick_Panel->isVisible());
    QVERIFY(!gs->DoubleClick_Panel->isVisible());
}

void TestGlobalSettings::transparentClickLock()
{
    EditorFixture f;
    TCheckLabel *transparent = f.editor->GlobalSettings->LClick_Transparent;
    f.pick(QStringLiteral("OutputFunctionCombobox_0"), 3); // Toggle
    QVERIFY(transparent->isEnabled());
    QVERIFY(transparent->isChecked());
    QTest::mouseClick(transparent, Qt::LeftButton);
    QVERIFY(!transparent->isChecked());
    QTest::mouseClick(transparent, Qt::LeftButton);
    QVERIFY(transparent->isChecked());
    QTest::mouseClick(transparent, Qt::LeftButton);

    f.pick(QStringLiteral("OutputFunctionCombobox_0"), 2); // Repeater ticks and locks
    QVERIFY(transparent->isChecked());
    QVERIFY(!transparent->isEnabled());
    QTest::mouseClick(transparent, Qt::LeftButton);
    QVERIFY(transparent->isChecked());

    f.pick(QStringLiteral("OutputFunctionCombobox_0"), 3); // unlocked, still ticked
    QVERIFY(transparent->isEnabled());
    QVERIFY(transparent->isChecked());

    // Another mode's function does not touch it.
    QTest::mouseClick(transparent, Qt::LeftButton);
    f.click(QStringLiteral("MultiMode_Button"));
    QTest::mouseClick(f.editor->Pager->insertButton(), Qt::LeftButton);
    f.pick(QStringLiteral("OutputFunctionCombobox_1"), 2);
    QVERIFY(transparent->isEnabled());
    QVERIFY(!transparent->isChecked());
}

void TestGlobalSettings::antiTremor()
{
    EditorFixture f;
    TGlobalSettings *gs = f.editor->GlobalSettings;
    f.click(QStringLiteral("AntiTremor_Button"));
    QVERIFY(gs->TrackBar_HoldTime->isEnabled());
    QVERIFY(gs->TrackBar_ReleaseTime->isEnabled());
    f.click(QStringLiteral("AntiTremor_Button"));
    QVERIFY(!gs->TrackBar_HoldTime->isEnabled());
    QVERIFY(!gs->TrackBar_ReleaseTime->isEnabled());
}

void TestGlobalSettings::alarmEnables()
{
    EditorFixture f;
    TGlobalSettings *gs = f.editor->GlobalSettings;
    f.click(QStringLiteral("Alarm_Button"));
    for (QWidget *w : std::initializer_list<QWidget *> { gs->ALARM_TRIGGERTIME, gs->AlarmLEDON_Button,
             gs->AlarmSoundON_Button, gs->Selection_Impulse, gs->Selection_Permanent })
        QVERIFY2(w->isEnabled(), qPrintable(w->objectName()));
    QVERIFY(gs->ALARM_SWITCHTIME->isEnabled()); // "Impulse" ticked
    QVERIFY(gs->ALARM_BEEPVOLUME->isEnabled()); // SOUND pressed

    f.click(QStringLiteral("Alarm_Button"));
    for (QWidget *w : std::initializer_list<QWidget *> { gs->ALARM_TRIGGERTIME, gs->AlarmLEDON_Button,
             gs->AlarmSoundON_Button, gs->Selection_Impulse, gs->Selection_Permanent, gs->ALARM_SWITCHTIME,
             gs->ALARM_BEEPVOLUME })
        QVERIFY2(!w->isEnabled(), qPrintable(w->objectName()));
}

void TestGlobalSettings::alarmSignals_data()
{
    // Clicks on the alarm's L(ED) and S(OUND) buttons after ALARM is
    // pressed (LED starts released, SOUND pressed).
    QTest::addColumn<QString>("clicks");
    QTest::addColumn<bool>("led");
    QTest::addColumn<bool>("sound");
    QTest::addColumn<bool>("volume");

    QTest::newRow("LED on") << "L" << true << true << true;
    QTest::newRow("SOUND off while LED on") << "LS" << true << false << false;
    QTest::newRow("SOUND off alone presses LED") << "S" << true << false << false;
    QTest::newRow("LED off while SOUND off presses SOUND") << "SL" << false << true << true;
    QTest::newRow("SOUND back on") << "SS" << true << true << true;
}

void TestGlobalSettings::alarmSignals()
{
    QFETCH(QString, clicks);
    QFETCH(bool, led);
    QFETCH(bool, sound);
    QFETCH(bool, volume);

    EditorFixture f;
    f.click(QStringLiteral("Alarm_Button"));
    for (const QChar c : clicks)
        f.click(c == QLatin1Char('L') ? QStringLiteral("AlarmLEDON_Button")
                                      : QStringLiteral("AlarmSoundON_Button"));
    TGlobalSettings *gs = f.editor->GlobalSettings;
    QCOMPARE(gs->AlarmLEDON_Button->isChecked(), led);
    QCOMPARE(gs->AlarmSoundON_Button->isChecked(), sound);
    QCOMPARE(gs->ALARM_BEEPVOLUME->isEnabled(), volume);
}

void TestGlobalSettings::impulseOrPermanent_data()
{
    QTest::addColumn<QString>("clicks"); // I(mpulse), P(ermanent)
    QTest::addColumn<bool>("impulse");
    QTest::addColumn<bool>("permanent");
    QTest::addColumn<bool>("switchTime");

    QTest::newRow("untick Impulse") << "I" << false << true << false;
    QTest::newRow("tick Impulse again") << "II" << true << false << true;
    QTest::newRow("tick Permanent") << "P" << false << true << false;
    QTest::newRow("untick Permanent") << "PP" << true << false << true;
}

void TestGlobalSettings::impulseOrPermanent()
{
    QFETCH(QString, clicks);
    QFETCH(bool, impulse);
    QFETCH(bool, permanent);
    QFETCH(bool, switchTime);

    EditorFixture f;
    TGlobalSettings *gs = f.editor->GlobalSettings;
    f.click(QStringLiteral("Alarm_Button"));
    for (const QChar c : clicks)
        QTest::mouseClick(
            c == QLatin1Char('I') ? gs->Selection_Impulse : gs->Selection_Permanent, Qt::LeftButton);
    QCOMPARE(gs->Selection_Impulse->isChecked(), impulse);
    QCOMPARE(gs->Selection_Permanent->isChecked(), permanent);
    QCOMPARE(gs->ALARM_SWITCHTIME->isEnabled(), switchTime);
}

void TestGlobalSettings::alarmReadOffLeavesNoChoice()
{
    EditorFixture f;
    TGlobalSettings *gs = f.editor->GlobalSettings;
    tParameterSet records;
    records.AlarmSettings.AlarmRelSwitchTime_100ms = 0;
    f.editor->ReadFromDataStructs(records, 1);
    QVERIFY(!gs->Selection_Impulse->isChecked());
    QVERIFY(!gs->Selection_Permanent->isChecked());

    f.click(QStringLiteral("Alarm_Button"));
    QVERIFY(!gs->Selection_Impulse->isChecked());
    QVERIFY(!gs->Selection_Permanent->isChecked());
    QVERIFY(!gs->ALARM_SWITCHTIME->isEnabled());
    QTest::mouseClick(gs->Selection_Permanent, Qt::LeftButton);
    QVERIFY(gs->Selection_Permanent->isChecked());
    QVERIFY(!gs->Selection_Impulse->isChecked());
    QVERIFY(!gs->ALARM_SWITCHTIME->isEnabled());
}

QTEST_MAIN(TestGlobalSettings)
#include "tst_globalsettings.moc"
