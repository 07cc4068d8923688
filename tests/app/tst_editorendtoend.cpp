#include "devicewindows.h"
#include "editor/controls/colorselector.h"
#include "editor/controls/trackbar.h"
#include "editor/controls/twostatebutton.h"
#include "editor/editor.h"

#include <QComboBox>
#include <QTabWidget>
#include <QTest>

using namespace Qt::StringLiterals;

// A five-mode parameter block read from the emulated device into the editor
// and written back: what the editor shows, and the bytes the device gets,
// written out by hand from the mapping tables (fixed values, units, passed
// through fields, the push-button-only forced cut-off).
namespace {

QByteArray hex(const char *text)
{
    return QByteArray::fromHex(QByteArray(text).replace(' ', ""));
}

// What the device holds: every field on its control's step and range, and
// the fields the editor does not own set to values it would never write.
const char *const modesIn[5] = {
    // push button, output 1, OUTPUT feedback, beep, volume 7, LED, brightness 153,
    // Color24 11223344, red, LEDstate 2; timings 500 300 800 ms, pulse 1200,
    // double click 200/250, forced cut-off 1500 ms
    "01 00 00 01 01 07 01 99 44 33 22 11 00 F8 02  32 00 1E 00 50 00 0C 00 14 00 19 00  0F",
    // impulse, output 2, INPUT, no beep, volume 0, LED, 255, green; cut-off 2000 ms
    "00 01 01 00 01 00 01 FF 00 00 00 00 E0 07 00  0A 00 0A 00 23 00 32 00 64 00 64 00  14",
    // repeater, both outputs, INPUT, beep, OnlyONBeep 0, volume 10, no LED,
    // brightness 100, Color24 AABBCCDD, LEDstate 1
    "02 02 01 01 00 0A 00 64 DD CC BB AA 1F 05 01  96 00 96 00 5E 01 01 00 01 00 01 00  00",
    // toggle, output 1, OUTPUT, nothing signalled
    "03 00 00 00 01 03 00 00 00 00 00 00 00 00 00  64 00 32 00 64 00 0A 00 0A 00 0A 00  00",
    // double click, output 2, INPUT, beep, volume 1, LED 204, white, LEDstate 1
    "04 01 01 01 01 01 01 CC 04 03 02 01 FF FF 01  14 00 14 00 28 00 05 00 07 00 09 00  00",
};
// Long click, "Change", SingleActionMode 5A, transparent, pre-signal 7,
// hold 2500 ms, double click 300/400 ms.
const char *const specialIn = "01 00 5A 01 07 C4 09 1E 00 28 00";
// Trigger 30 s, volume 4, sound and LED, LED brightness 9, Color24 0A0B0C0D,
// colour 1234, LEDstate 0, repeat 5, pulse 2500 ms, low-battery byte 77.
const char *const alarmIn = "1E 00 04 01 01 09 0D 0C 0B 0A 34 12 00 05 00 19 77";
// Anti-tremor 300 / 120 ms.
const char *const tremorIn = "2C 01 78 00";

// What the editor sends back.
const char *const modesOut[5] = {
    "01 00 00 01 01 07 01 99 44 33 22 11 00 F8 02  32 00 1E 00 50 00 0C 00 14 00 19 00  0F",
    // The forced cut-off belongs to the push button only: 0.
    "00 01 01 00 01 00 01 FF 00 00 00 00 E0 07 00  0A 00 0A 00 23 00 32 00 64 00 64 00  00",
    // OnlyONBeep always 1; brightness level 1 is 51.
    "02 02 01 01 01 0A 00 33 DD CC BB AA 1F 05 01  96 00 96 00 5E 01 01 00 01 00 01 00  00",
    "03 00 00 00 01 03 00 00 00 00 00 00 00 00 00  64 00 32 00 64 00 0A 00 0A 00 0A 00  00",
    "04 01 01 01 01 01 01 CC 04 03 02 01 FF FF 01  14 00 14 00 28 00 05 00 07 00 09 00  00",
};
// Pre-signal always 2 s.
const char *const specialOut = "01 00 5A 01 02 C4 09 1E 00 28 00";
// Alarm LED: brightness 255, red F800, LS_off; repeat 100.
const char *const alarmOut = "1E 00 04 01 01 FF 0D 0C 0B 0A 00 F8 01 64 00 19 77";
const char *const tremorOut = "2C 01 78 00";

QByteArray withCrc(const QByteArray &block)
{
    return block + QByteArray(1, static_cast<char>(VelotrixEmulator::crc8(block)));
}

template<typename T>
T *control(TMainform &w, const QString &name)
{
    T *found = w.findChild<T *>(name);
    if (!found)
        qWarning("no control %s", qPrintable(name));
    return found;
}

} // namespace

class TestEditorEndToEnd : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void readShowsAndWriteSendsWhatTheEditorShows();
};

void TestEditorEndToEnd::readShowsAndWriteSendsWhatTheEditorShows()
{
    DeviceWindows d;
    QByteArray image;
    for (const char *mode : modesIn)
        image += hex(mode);
    image += hex(specialIn) + hex(alarmIn) + hex(tremorIn);
    QCOMPARE(image.size(), VelotrixEmulator::ParameterSize);
    d.emulator.setParameters(image);
    d.emulator.setModeCount(5);
    d.connect();
    TMainform &w = d.main();

    d.prompt.setNextAnswer(mrYes);
    d.prompt.setNextAnswer(mrOk);
    w.Action_ReadFromVelotrixExecute();
    QCOMPARE(d.prompt.texts(), QStringList({ u"Overwrite parameters?"_s, u"Transmission successful"_s }));

    // Five pages, in mode order.
    QCOMPARE(w.ModePager->count(), 5);
    QCOMPARE(w.ModePager->tabText(0), u"Standard mode"_s);
    for (int i = 1; i < 5; ++i)
        QCOMPARE(w.ModePager->tabText(i), QStringLiteral("Mode %1").arg(i));
    const auto page = [&](int position) { return w.Editor->pageNumberAt(position); };
    const auto name = [&](const char *role, int position) {
        return QString::fromLatin1(role) + QString::number(page(position));
    };
    const int functions[5] = { 1, 0, 2, 3, 4 };
    for (int i = 0; i < 5; ++i)
        QCOMPARE(control<QComboBox>(w, name("OutputFunctionCombobox_", i))->currentIndex(), functions[i]);
    QCOMPARE(control<TTrackBar>(w, name("TrackBar_ContStop_100ms_", 0))->position(), 1500);
    QCOMPARE(control<TTrackBar>(w, name("Impulse_Trackbar_ImpulseLen_", 1))->position(), 5000);
    QVERIFY(control<TTwoStateButton>(w, name("Switch_Button1_", 2))->isChecked());
    QVERIFY(control<TTwoStateButton>(w, name("Switch_Button2_", 2))->isChecked());
    QVERIFY(control<TTwoStateButton>(w, name("Input_Button_", 1))->isChecked());
    QVERIFY(control<TTwoStateButton>(w, name("Output_Button_", 0))->isChecked());
    QCOMPARE(control<TTrackBar>(w, name("LED_Trackbar_Brightness_", 2))->position(), 1);
    QCOMPARE(control<TTrackBar>(w, name("RepeatFct_PulseRepeat_10ms_", 2))->position(), 3500);
    QCOMPARE(control<TTrackBar>(w, name("DBClickOutDelay_10ms_", 4))->position(), 90);
    QCOMPARE(control<TColorSelector>(w, name("LED_ColorCombo_", 1))->selectedColor(), QColor(0, 252, 0));
    QVERIFY(control<TTwoStateButton>(w, u"MultiMode_Button"_s)->isChecked());
    QVERIFY(control<TTwoStateButton>(w, u"Alarm_Button"_s)->isChecked());
    QCOMPARE(control<TTrackBar>(w, u"ALARM_SWITCHTIME"_s)->position(), 2500);
    QCOMPARE(control<TTrackBar>(w, u"SPECIALACT_HOLD_TIME"_s)->position(), 2500);
    QVERIFY(control<TTwoStateButton>(w, u"AntiTremor_Button"_s)->isChecked());
    QCOMPARE(control<TTrackBar>(w, u"TrackBar_ReleaseTime"_s)->position(), 120);

    d.emulator.clearReceived();
    d.prompt.shown.clear();
    d.prompt.setNextAnswer(mrYes);
    d.prompt.setNextAnswer(mrOk);
    w.Action_WritetovelotrixExecute();
    QCOMPARE(d.prompt.texts().last(), u"Transmission successful"_s);

    QByteArray expected = QByteArrayLiteral("*0") + QByteArray(1, '\x05');
    for (const char *mode : modesOut)
        expected += withCrc(hex(mode));
    expected += withCrc(hex(specialOut)) + withCrc(hex(alarmOut)) + withCrc(hex(tremorOut));
    QTRY_COMPARE(d.emulator.received().toHex(' '), expected.toHex(' '));
}

QTEST_MAIN(TestEditorEndToEnd)
#include "tst_editorendtoend.moc"
