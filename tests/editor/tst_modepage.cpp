// The controls of a mode page: the function panels, the snapping of the
// track bars, the pulse/repeat coupling, the output buttons, the feedback
// buttons with OFF's memory, and the help texts they compose.

#include "editor/controls/modepager.h"
#include "editor/controls/trackbar.h"
#include "editor/controls/twostatebutton.h"
#include "editor/editor.h"
#include "editor/functionhelp.h"
#include "editor/modepage.h"
#include "editorfixture.h"
#include "scriptedprompt.h"

#include <QComboBox>
#include <QTest>
#include <QVBoxLayout>

namespace {

const QStringList panelNames { QStringLiteral("Panel_SwitchImpulse_0"),
    QStringLiteral("Panel_SwitchPushbutton_0"), QStringLiteral("Panel_SwitchRepeater_0"),
    QStringLiteral("Panel_SwitchDoubleClick_0") };

} // namespace

class TestModePage : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void functionPanels_data();
    void functionPanels();
    void snapping_data();
    void snapping();
    void snappingNeverGoesBelowMinimum();
    void pulseRepeatCoupling_data();
    void pulseRepeatCoupling();
    void outputButtons_data();
    void outputButtons();
    void feedbackButtons_data();
    void feedbackButtons();
    void helpTexts_data();
    void helpTexts();
    void noFunctionOpensHelpOnly();
};

void TestModePage::functionPanels_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("shown"); // empty: none

    QTest::newRow("Impulse") << 0 << "Panel_SwitchImpulse_0";
    QTest::newRow("Push button") << 1 << "Panel_SwitchPushbutton_0";
    QTest::newRow("Repeater") << 2 << "Panel_SwitchRepeater_0";
    QTest::newRow("Toggle hides all four") << 3 << "";
    QTest::newRow("Double click") << 4 << "Panel_SwitchDoubleClick_0";
}

void TestModePage::functionPanels()
{
    QFETCH(int, index);
    QFETCH(QString, shown);

    EditorFixture f;
    // Start from another function so that every row changes the panels.
    f.pick(QStringLiteral("OutputFunctionCombobox_0"), index == 4 ? 0 : 4);
    f.pick(QStringLiteral("OutputFunctionCombobox_0"), index);

    for (const QString &name : panelNames)
        QCOMPARE(f.get<QWidget>(name)->isVisible(), name == shown);
    if (index == 4) {
        QVERIFY(f.bar(QStringLiteral("DBClickOutTime_10ms_0"))->isVisible());
        QVERIFY(f.bar(QStringLiteral("DBClickOutDelay_10ms_0"))->isVisible());
    }
    QCOMPARE(f.help.last(), Output1HelpText() + FunctionHelpText(index));
}

void TestModePage::snapping_data()
{
    QTest::addColumn<QString>("bar");
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("settled");

    QTest::newRow("10 ms: 1234 down") << "RepeatFct_PulseRepeat_10ms_0" << 1234 << 1230;
    QTest::newRow("10 ms: 1235 half to even 1240") << "RepeatFct_PulseRepeat_10ms_0" << 1235 << 1240;
    QTest::newRow("10 ms: 1245 half to even 1240") << "RepeatFct_PulseRepeat_10ms_0" << 1245 << 1240;
    QTest::newRow("10 ms: 1236 up") << "RepeatFct_PulseRepeat_10ms_3" << 1236 << 1240;
    QTest::newRow("clamped, then on the step") << "DBClickOutDelay_10ms_3" << 1236 << 1000;
    QTest::newRow("10 ms on another page") << "DBClickOutTime_10ms_1" << 555 << 560;
    QTest::newRow("100 ms: 4050 half to even 4000") << "SPECIALACT_HOLD_TIME" << 4050 << 4000;
    QTest::newRow("100 ms: 4150 half to even 4200") << "SPECIALACT_HOLD_TIME" << 4150 << 4200;
    QTest::newRow("100 ms: 149 down") << "Impulse_Trackbar_ImpulseLen_0" << 149 << 100;
    QTest::newRow("below min is clamped") << "ALARM_SWITCHTIME" << 20 << 100;
    QTest::newRow("1 ms steps keep every value") << "TrackBar_HoldTime" << 777 << 777;
}

void TestModePage::snapping()
{
    QFETCH(QString, bar);
    QFETCH(int, value);
    QFETCH(int, settled);

    EditorFixture f;
    f.click(QStringLiteral("MultiMode_Button"));
    for (int i = 0; i < 3; ++i)
        QTest::mouseClick(f.editor->Pager->insertButton(), Qt::LeftButton);

    TTrackBar *b = f.bar(bar);
    b->setPosition(value);
    QCOMPARE(b->position(), settled);
}

void TestModePage::snappingNeverGoesBelowMinimum()
{
    // No bar of the editor has a minimum off its step; the rule still holds
    // for one that has: 14 rounds to 10 and stays at 14.
    EditorFixture f;
    TTrackBar bar;
    bar.setRange(14, 1000);
    bar.setStep(10);
    bar.setPosition(500);
    QObject::connect(&bar, &TTrackBar::changed, f.editor, [&] { f.editor->ALARM_SWITCHTIMEChange(&bar); });
    bar.setPosition(16);
    QCOMPARE(bar.position(), 20);
    bar.setPosition(14);
    QCOMPARE(bar.position(), 14);
}

void TestModePage::pulseRepeatCoupling_data()
{
    QTest::addColumn<int>("page");
    QTest::addColumn<int>("pulse");
    QTest::addColumn<int>("repeat");
    QTest::addColumn<QString>("moved");
    QTest::addColumn<int>("to");
    QTest::addColumn<int>("expectedRepeat");

    QTest::newRow("pulse above repeat pushes it") << 0 << 500 << 800 << "pulse" << 1000 << 1100;
    QTest::newRow("repeat below pulse is pushed back") << 0 << 1000 << 1100 << "repeat" << 900 << 1100;
    QTest::newRow("equal is not enough") << 0 << 500 << 1000 << "pulse" << 1000 << 1100;
    QTest::newRow("repeat above pulse stays") << 0 << 500 << 1000 << "repeat" << 600 << 600;
    QTest::newRow("pulse below repeat leaves it") << 0 << 500 << 1000 << "pulse" << 700 << 1000;
    QTest::newRow("other pages are not coupled") << 1 << 500 << 800 << "pulse" << 1000 << 800;
}

void TestModePage::pulseRepeatCoupling()
{
    QFETCH(int, page);
    QFETCH(int, pulse);
    QFETCH(int, repeat);
    QFETCH(QString, moved);
    QFETCH(int, to);
    QFETCH(int, expectedRepeat);

    EditorFixture f;
    f.click(QStringLiteral("MultiMode_Button"));
    QTest::mouseClick(f.editor->Pager->insertButton(), Qt::LeftButton);

    TTrackBar *pulseBar = f.bar(QStringLiteral("RepeatFct_PulseTime_10ms_%1").arg(page));
    TTrackBar *repeatBar = f.bar(QStringLiteral("RepeatFct_PulseRepeat_10ms_%1").arg(page));
    repeatBar->setPosition(3500);
    pulseBar->setPosition(pulse);
    repeatBar->setPosition(repeat);
    QCOMPARE(repeatBar->position(), repeat);

    (moved == QStringLiteral("pulse") ? pulseBar : repeatBar)->setPosition(to);
    QCOMPARE(pulseBar->position(), moved == QStringLiteral("pulse") ? to : pulse);
    QCOMPARE(repeatBar->position(), expectedRepeat);
}

void TestModePage::outputButtons_data()
{
    QTest::addColumn<bool>("out1");
    QTest::addColumn<bool>("out2");
    QTest::addColumn<QString>("clicked");
    QTest::addColumn<bool>("expected1");
    QTest::addColumn<bool>("expected2");

    QTest::newRow("output 1 releases output 2") << false << true << "Switch_Button1_0" << true << false;
    QTest::newRow("output 2 releases output 1") << true << false << "Switch_Button2_0" << false << true;
    QTest::newRow("pressed output 1 leaves none") << true << false << "Switch_Button1_0" << false << false;
    QTest::newRow("both pressed: output 2 keeps only itself")
        << true << true << "Switch_Button1_0" << false << true;
}

void TestModePage::outputButtons()
{
    QFETCH(bool, out1);
    QFETCH(bool, out2);
    QFETCH(QString, clicked);
    QFETCH(bool, expected1);
    QFETCH(bool, expected2);

    EditorFixture f;
    f.pick(QStringLiteral("OutputFunctionCombobox_0"), 4);
    f.button(QStringLiteral("Switch_Button1_0"))->setChecked(out1);
    f.button(QStringLiteral("Switch_Button2_0"))->setChecked(out2);
    f.click(clicked);

    QCOMPARE(f.button(QStringLiteral("Switch_Button1_0"))->isChecked(), expected1);
    QCOMPARE(f.button(QStringLiteral("Switch_Button2_0"))->isChecked(), expected2);
    // The help's first part follows output 1; the second stays "Double click".
    QCOMPARE(f.help.last(), (expected1 ? Output1HelpText() : Output2HelpText()) + FunctionHelpText(4));
}

void TestModePage::feedbackButtons_data()
{
    // Clicks: O = OUTPUT, I = INPUT, F = OFF. The standard page starts with
    // INPUT, SOUND and LED pressed. "pressed" lists the buttons down after
    // the clicks; "signals" tells whether LED, SOUND, colour and volume are
    // enabled.
    QTest::addColumn<QString>("clicks");
    QTest::addColumn<QString>("pressed");
    QTest::addColumn<bool>("signals");

    QTest::newRow("OUTPUT releases INPUT") << "O"
                                           << "OUTPUT SOUND LED" << true;
    QTest::newRow("releasing the only one presses OFF, signals stay") << "OO"
                                                                      << "OFF SOUND LED" << true;
    QTest::newRow("releasing INPUT presses OFF") << "I"
                                                 << "OFF SOUND LED" << true;
    QTest::newRow("OFF releases all four and disables") << "F"
                                                        << "OFF" << false;
    QTest::newRow("OFF again restores and enables") << "FF"
                                                    << "INPUT SOUND LED" << true;
    QTest::newRow("OUTPUT after OFF: signals stay off") << "FO"
                                                        << "OUTPUT" << false;
    QTest::newRow("OFF pressed and released again enables") << "FOFF"
                                                            << "OUTPUT" << true;
    QTest::newRow("OFF from the logic, released by a click: nothing remembered") << "IF"
                                                                                 << "" << true;
    QTest::newRow("released by a click: the older memory comes back") << "FFIF"
                                                                      << "INPUT SOUND LED" << true;
}

void TestModePage::feedbackButtons()
{
    QFETCH(QString, clicks);
    QFETCH(QString, pressed);
    QFETCH(bool, signals);

    EditorFixture f;
    for (const QChar c : clicks)
        f.click(c == QLatin1Char('O')   ? QStringLiteral("Output_Button_0")
                : c == QLatin1Char('I') ? QStringLiteral("Input_Button_0")
                                        : QStringLiteral("Off_Button_0"));

    const QList<QPair<QString, QString>> buttons { { QStringLiteral("OUTPUT"),
                                                       QStringLiteral("Output_Button_0") },
        { QStringLiteral("INPUT"), QStringLiteral("Input_Button_0") },
        { QStringLiteral("OFF"), QStringLiteral("Off_Button_0") },
        { QStringLiteral("SOUND"), QStringLiteral("Sound_Button_0") },
        { QStringLiteral("LED"), QStringLiteral("LED_Button_0") } };
    const QStringList down = pressed.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    for (const auto &[caption, name] : buttons)
        QVERIFY2(f.button(name)->isChecked() == down.contains(caption), qPrintable(caption));

    for (const char *name :
        { "LED_Button_0", "Sound_Button_0", "LED_ColorCombo_0", "Sound_Trackbar_Volumne_0" })
        QVERIFY2(f.get<QWidget>(QLatin1String(name))->isEnabled() == signals, name);
    QVERIFY(f.bar(QStringLiteral("LED_Trackbar_Brightness_0"))->isEnabled());
}

void TestModePage::helpTexts_data()
{
    QTest::addColumn<bool>("output2");
    QTest::addColumn<int>("function");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");

    QTest::newRow("output 1, Toggle") << false << 3 << "<p><b>Switching output 1 - changeover contact</b>"
                                      << "<b>Toggle switch</b><br>";
    QTest::newRow("output 2, Double click") << true << 4 << "<p><b>Switching output 2 - Solid state relay</b>"
                                            << "<b>Double click</b><br>";
    QTest::newRow("output 1, Repeater") << false << 2 << "<p><b>Switching output 1 - changeover contact</b>"
                                        << "<b>Repeated switching</b><br>";
}

void TestModePage::helpTexts()
{
    QFETCH(bool, output2);
    QFETCH(int, function);
    QFETCH(QString, first);
    QFETCH(QString, second);

    EditorFixture f;
    if (output2)
        f.click(QStringLiteral("Switch_Button2_0"));
    f.pick(QStringLiteral("OutputFunctionCombobox_0"), function);

    const QString html = f.help.last();
    QVERIFY(html.startsWith(first));
    const qsizetype rule = html.indexOf(QLatin1String("</p><hr><br>"));
    QVERIFY(rule > 0);
    QCOMPARE(html.mid(rule + 12, second.size()), second);
    QVERIFY(html.contains(QLatin1String("<IMG src=\"idx:0\">")));
}

void TestModePage::noFunctionOpensHelpOnly()
{
    EditorFixture f;
    f.editor->ShowFunctionHelp(0);
    QCOMPARE(f.help.size(), 1);
    QVERIFY(!f.help.last().isEmpty());

    f.get<QComboBox>(QStringLiteral("OutputFunctionCombobox_0"))->setCurrentIndex(-1);
    f.editor->ShowFunctionHelp(0);
    QCOMPARE(f.help.size(), 2);
    QVERIFY(f.help.last().isNull());
    // A page number without a page opens the pane too.
    f.editor->ShowFunctionHelp(42);
    QVERIFY(f.help.last().isNull());
    QCOMPARE(FunctionHelpText(5), QString());
    QCOMPARE(FunctionHelpText(-1), QString());
}

QTEST_MAIN(TestModePage)
#include "tst_modepage.moc"
