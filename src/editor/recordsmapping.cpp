#include "recordsmapping.h"

#include "controls/checklabel.h"
#include "controls/colorselector.h"
#include "controls/ledpalette.h"
#include "controls/slideswitch.h"
#include "controls/trackbar.h"
#include "controls/twostatebutton.h"
#include "editor.h"
#include "globalsettings.h"
#include "modepage.h"

#include <QComboBox>

namespace RecordsMapping {

namespace {

using M = tModeDescriptor;
using P = tParameterSet;

template <typename T> T *control(const TModePage &page, const char *role)
{
    return role ? page.findChild<T *>(page.nameFor(role)) : nullptr;
}

template <typename T> T *control(const TGlobalSettings &settings, const char *name)
{
    return name ? settings.findChild<T *>(QLatin1String(name)) : nullptr;
}

bool pressed(const TTwoStateButton *b)
{
    return b && b->isChecked();
}

void press(TTwoStateButton *b, bool down)
{
    if (b)
        b->setChecked(down);
}

} // namespace

const QList<ModeRow> &modeRows()
{
    // clang-format off
    static const QList<ModeRow> rows {
        { .field = "SwitchMode", .kind = ModeKind::FunctionIndex, .role = "OutputFunctionCombobox_", .min = 0, .max = 4,
          .get = [](const M &m) -> int { return m.SwitchMode; },
          .set = [](M &m, int v) { m.SwitchMode = tSwitchMode(v); } },
        { .field = "OutputFunctionCombobox_0Change", .kind = ModeKind::Handler,
          .run = [](TEditor &e, TModePage &page, const M &) { e.OutputFunctionCombobox_0Change(page.OutputFunctionCombobox); } },
        { .field = "ImpulseTime_100ms", .kind = ModeKind::TrackBar, .role = "Impulse_Trackbar_ImpulseLen_", .unit = 100, .min = 1, .max = 50,
          .get = [](const M &m) -> int { return m.RelTiming.ImpulseTime_100ms; },
          .set = [](M &m, int v) { m.RelTiming.ImpulseTime_100ms = std::uint16_t(v); } },
        { .field = "RepeatFct_PulseTime_10ms", .kind = ModeKind::TrackBar, .role = "RepeatFct_PulseTime_10ms_", .unit = 10, .min = 10, .max = 150,
          .get = [](const M &m) -> int { return m.RelTiming.RepeatFct_PulseTime_10ms; },
          .set = [](M &m, int v) { m.RelTiming.RepeatFct_PulseTime_10ms = std::uint16_t(v); } },
        { .field = "RepeatFct_delay_10ms", .kind = ModeKind::TrackBar, .role = "RepeatFct_delay_10ms_", .unit = 10, .min = 10, .max = 150,
          .get = [](const M &m) -> int { return m.RelTiming.RepeatFct_delay_10ms; },
          .set = [](M &m, int v) { m.RelTiming.RepeatFct_delay_10ms = std::uint16_t(v); } },
        { .field = "RepeatFct_PulseRepeat_10ms", .kind = ModeKind::TrackBar, .role = "RepeatFct_PulseRepeat_10ms_", .unit = 10, .min = 10, .max = 350,
          .get = [](const M &m) -> int { return m.RelTiming.RepeatFct_PulseRepeat_10ms; },
          .set = [](M &m, int v) { m.RelTiming.RepeatFct_PulseRepeat_10ms = std::uint16_t(v); } },
        { .field = "DBClickOutTime_10ms", .kind = ModeKind::TrackBar, .role = "DBClickOutTime_10ms_", .unit = 10, .min = 1, .max = 100,
          .get = [](const M &m) -> int { return m.RelTiming.DBClickOutTime_10ms; },
          .set = [](M &m, int v) { m.RelTiming.DBClickOutTime_10ms = std::uint16_t(v); } },
        { .field = "DBClickOutDelay_10ms", .kind = ModeKind::TrackBar, .role = "DBClickOutDelay_10ms_", .unit = 10, .min = 1, .max = 100,
          .get = [](const M &m) -> int { return m.RelTiming.DBClickOutDelay_10ms; },
          .set = [](M &m, int v) { m.RelTiming.DBClickOutDelay_10ms = std::uint16_t(v); } },
        // After SwitchMode, which it depends on when written.
        { .field = "ContStop_100ms", .kind = ModeKind::PushButtonTime, .role = "TrackBar_ContStop_100ms_", .unit = 100, .min = 0, .max = 50,
          .get = [](const M &m) -> int { return m.ContStop_100ms; },
          .set = [](M &m, int v) { m.ContStop_100ms = std::uint8_t(v); } },
        { .field = "RelOut", .kind = ModeKind::Outputs, .role = "Switch_Button1_", .role2 = "Switch_Button2_", .min = 0, .max = 2,
          .get = [](const M &m) -> int { return m.RelOut; },
          .set = [](M &m, int v) { m.RelOut = tRelOut(v); } },
        { .field = "FeedbackMode", .kind = ModeKind::Feedback, .role = "Output_Button_", .role2 = "Input_Button_", .min = 0, .max = 1,
          .get = [](const M &m) -> int { return m.ProxFeedback.FeedbackMode; },
          .set = [](M &m, int v) { m.ProxFeedback.FeedbackMode = tFeedbackMode(v); } },
        { .field = "Output_Button_0Click / Input_Button_0Click", .kind = ModeKind::Handler,
          .run = [](TEditor &e, TModePage &page, const M &m) {
              if (m.ProxFeedback.FeedbackMode == FB_Relais)
                  e.Output_Button_0Click(page.Output_Button);
              else if (m.ProxFeedback.FeedbackMode == FB_Prox)
                  e.Input_Button_0Click(page.Input_Button);
          } },
        { .field = "Feedback_Beep", .kind = ModeKind::Button, .role = "Sound_Button_", .min = 0, .max = 1,
          .get = [](const M &m) -> int { return m.ProxFeedback.Feedback_Beep; },
          .set = [](M &m, int v) { m.ProxFeedback.Feedback_Beep = v != 0; } },
        { .field = "Feedback_OnlyONBeep", .kind = ModeKind::Fixed, .min = 1, .max = 1,
          .set = [](M &m, int v) { m.ProxFeedback.Feedback_OnlyONBeep = v != 0; } },
        { .field = "Feedback_BeepVolume", .kind = ModeKind::TrackBar, .role = "Sound_Trackbar_Volumne_", .unit = 1, .min = 0, .max = 10,
          .get = [](const M &m) -> int { return m.ProxFeedback.Feedback_BeepVolume; },
          .set = [](M &m, int v) { m.ProxFeedback.Feedback_BeepVolume = std::uint8_t(v); } },
        { .field = "Feedback_LEDuse", .kind = ModeKind::Button, .role = "LED_Button_", .min = 0, .max = 1,
          .get = [](const M &m) -> int { return m.ProxFeedback.Feedback_LEDuse; },
          .set = [](M &m, int v) { m.ProxFeedback.Feedback_LEDuse = v != 0; } },
        { .field = "Color16", .kind = ModeKind::Colour, .role = "LED_ColorCombo_", .min = 0, .max = 0xFFFF,
          .get = [](const M &m) -> int { return m.ProxFeedback.Feedback_LEDdesc.Color16; },
          .set = [](M &m, int v) { m.ProxFeedback.Feedback_LEDdesc.Color16 = std::uint16_t(v); } },
        { .field = "Brightness", .kind = ModeKind::TrackBarLevel, .role = "LED_Trackbar_Brightness_", .unit = 51, .min = 0, .max = 255,
          .get = [](const M &m) -> int { return m.ProxFeedback.Feedback_LEDdesc.Brightness; },
          .set = [](M &m, int v) { m.ProxFeedback.Feedback_LEDdesc.Brightness = std::uint8_t(v); } },
        // A page copied from a standard page with OFF pressed starts with its
        // signal controls disabled; once its feedback is read as OUTPUT or
        // INPUT they belong to the user again.
        { .field = "signal controls", .kind = ModeKind::Handler,
          .run = [](TEditor &, TModePage &page, const M &) {
              if (!page.Off_Button->isChecked())
                  page.setSignalControlsEnabled(true);
          } },
    };
    // clang-format on
    return rows;
}

void readMode(TEditor &editor, TModePage &page, const tModeDescriptor &mode)
{
    for (const ModeRow &row : modeRows()) {
        switch (row.kind) {
        case ModeKind::FunctionIndex:
            if (auto *combo = control<QComboBox>(page, row.role)) {
                const int v = row.get(mode);
                // An unknown switch mode shows no function at all.
                combo->setCurrentIndex(v >= 0 && v < combo->count() ? v : -1);
            }
            break;
        case ModeKind::TrackBar:
        case ModeKind::PushButtonTime:
            if (auto *bar = control<TTrackBar>(page, row.role))
                bar->setPosition(row.get(mode) * row.unit);
            break;
        case ModeKind::TrackBarLevel:
            if (auto *bar = control<TTrackBar>(page, row.role))
                bar->setPosition(row.get(mode) / row.unit);
            break;
        case ModeKind::Outputs: {
            auto *out1 = control<TTwoStateButton>(page, row.role);
            auto *out2 = control<TTwoStateButton>(page, row.role2);
            switch (row.get(mode)) {
            case Relais1:
                press(out1, true);
                press(out2, false);
                break;
            case Relais2:
                press(out1, false);
                press(out2, true);
                break;
            case Relais12:
                press(out1, true);
                press(out2, true);
                break;
            default:
                break;
            }
            break;
        }
        case ModeKind::Feedback:
            // The click handler that follows releases the other buttons.
            if (row.get(mode) == FB_Relais)
                press(control<TTwoStateButton>(page, row.role), true);
            else if (row.get(mode) == FB_Prox)
                press(control<TTwoStateButton>(page, row.role2), true);
            break;
        case ModeKind::Button:
            press(control<TTwoStateButton>(page, row.role), row.get(mode) != 0);
            break;
        case ModeKind::Colour:
            if (auto *colours = control<TColorSelector>(page, row.role))
                colours->setSelectedColor(fromWindowColor(RGB565ToColor(std::uint16_t(row.get(mode)))));
            break;
        case ModeKind::Fixed:
            break;
        case ModeKind::Handler:
            row.run(editor, page, mode);
            break;
        }
    }
}

void writeMode(const TModePage &page, tModeDescriptor &mode)
{
    auto store = [&mode](const ModeRow &row, int v) { row.set(mode, qBound(row.min, v, row.max)); };
    for (const ModeRow &row : modeRows()) {
        switch (row.kind) {
        case ModeKind::FunctionIndex:
            if (auto *combo = control<QComboBox>(page, row.role); combo && combo->currentIndex() >= 0)
                store(row, combo->currentIndex());
            break;
        case ModeKind::TrackBar:
            if (auto *bar = control<TTrackBar>(page, row.role))
                store(row, bar->position() / row.unit);
            break;
        case ModeKind::PushButtonTime:
            if (auto *bar = control<TTrackBar>(page, row.role))
                store(row, mode.SwitchMode == NormalON ? bar->position() / row.unit : 0);
            break;
        case ModeKind::TrackBarLevel:
            if (auto *bar = control<TTrackBar>(page, row.role))
                store(row, bar->position() * row.unit);
            break;
        case ModeKind::Outputs: {
            const bool out1 = pressed(control<TTwoStateButton>(page, row.role));
            const bool out2 = pressed(control<TTwoStateButton>(page, row.role2));
            // Neither output pressed keeps what the record says.
            if (out1)
                store(row, out2 ? Relais12 : Relais1);
            else if (out2)
                store(row, Relais2);
            break;
        }
        case ModeKind::Feedback:
            store(row, pressed(control<TTwoStateButton>(page, row.role)) ? FB_Relais : FB_Prox);
            break;
        case ModeKind::Button:
            store(row, pressed(control<TTwoStateButton>(page, row.role)) ? 1 : 0);
            break;
        case ModeKind::Colour:
            if (auto *colours = control<TColorSelector>(page, row.role))
                store(row, ColorToRGB565(toWindowColor(colours->selectedColor())));
            break;
        case ModeKind::Fixed:
            store(row, row.min);
            break;
        case ModeKind::Handler:
            break;
        }
    }
}

const QList<GlobalRow> &globalReadRows()
{
    // clang-format off
    static const QList<GlobalRow> rows {
        { .field = "SelectionClick", .kind = GlobalKind::SelectionSwitch, .control = "Selection_ModeChangeSlider",
          .get = [](const P &p, int) -> int { return p.SpecialActionDesc.SelectionClick; } },
        { .field = "mode count", .kind = GlobalKind::CountButton, .control = "MultiMode_Button",
          .get = [](const P &, int count) { return count; } },
        { .field = "SpecialAction", .kind = GlobalKind::SwitchUnlessZero, .control = "Selection_SingleChange",
          .get = [](const P &p, int) -> int { return p.SpecialActionDesc.SpecialAction; } },
        { .field = "LClick_Transparent", .kind = GlobalKind::Check, .control = "LClick_Transparent",
          .get = [](const P &p, int) -> int { return p.SpecialActionDesc.LClick_Transparent; } },
        // The tick just read must not undo the lock that "Push button " and
        // "Repeater" on the standard page put on it.
        { .field = "update_LClick_Transparent", .kind = GlobalKind::Handler,
          .run = [](TEditor &e) { e.update_LClick_Transparent(); } },
        { .field = "HoldTime_ms", .kind = GlobalKind::TrackBar, .control = "SPECIALACT_HOLD_TIME", .unit = 1,
          .get = [](const P &p, int) -> int { return p.SpecialActionDesc.HoldTime_ms; } },
        { .field = "DbCLick1_time_10ms", .kind = GlobalKind::TrackBar, .control = "Input_DbCLick1_time_10ms", .unit = 10,
          .get = [](const P &p, int) -> int { return p.SpecialActionDesc.DbClickProx.DbCLick1_time_10ms; } },
        { .field = "DbClick_delay_10ms", .kind = GlobalKind::TrackBar, .control = "Input_DbCLick1_delay_10ms", .unit = 10,
          .get = [](const P &p, int) -> int { return p.SpecialActionDesc.DbClickProx.DbClick_delay_10ms; } },
        { .field = "MultiMode_ButtonClick", .kind = GlobalKind::Handler,
          .run = [](TEditor &e) { e.MultiMode_ButtonClick(); } },
        { .field = "AlarmRelSwitchTime_100ms", .kind = GlobalKind::Button, .control = "Alarm_Button",
          .get = [](const P &p, int) -> int { return p.AlarmSettings.AlarmRelSwitchTime_100ms; } },
        { .field = "AlarmSignal_BlinkOn", .kind = GlobalKind::Button, .control = "AlarmLEDON_Button",
          .get = [](const P &p, int) -> int { return p.AlarmSettings.AlarmSignal_BlinkOn; } },
        { .field = "AlarmSignal_BeepOn", .kind = GlobalKind::Button, .control = "AlarmSoundON_Button",
          .get = [](const P &p, int) -> int { return p.AlarmSettings.AlarmSignal_BeepOn; } },
        { .field = "Alarm_BeepVolume", .kind = GlobalKind::TrackBar, .control = "ALARM_BEEPVOLUME", .unit = 1,
          .get = [](const P &p, int) -> int { return p.AlarmSettings.Alarm_BeepVolume; } },
        { .field = "AlarmTriggerTime_s", .kind = GlobalKind::TrackBar, .control = "ALARM_TRIGGERTIME", .unit = 1,
          .get = [](const P &p, int) -> int { return p.AlarmSettings.AlarmTriggerTime_s; } },
        { .field = "AlarmRelSwitchTime_100ms", .kind = GlobalKind::AlarmOutput, .control = "ALARM_SWITCHTIME", .unit = 100,
          .get = [](const P &p, int) -> int { return p.AlarmSettings.AlarmRelSwitchTime_100ms; } },
        { .field = "Alarm_ButtonClick", .kind = GlobalKind::Handler,
          .run = [](TEditor &e) { e.Alarm_ButtonClick(); } },
        { .field = "ON_delay_ms", .kind = GlobalKind::TrackBar, .control = "TrackBar_HoldTime", .unit = 1,
          .get = [](const P &p, int) -> int { return p.AntiTremor.ON_delay_ms; } },
        { .field = "OFF_delay_ms", .kind = GlobalKind::TrackBar, .control = "TrackBar_ReleaseTime", .unit = 1,
          .get = [](const P &p, int) -> int { return p.AntiTremor.OFF_delay_ms; } },
        { .field = "ON_delay_ms + OFF_delay_ms", .kind = GlobalKind::Button, .control = "AntiTremor_Button",
          .get = [](const P &p, int) -> int { return p.AntiTremor.ON_delay_ms + p.AntiTremor.OFF_delay_ms; } },
        { .field = "AntiTremor_ButtonClick", .kind = GlobalKind::Handler,
          .run = [](TEditor &e) { e.AntiTremor_ButtonClick(); } },
        { .field = "Selection_ModeChangeSliderStateChanged", .kind = GlobalKind::Handler,
          .run = [](TEditor &e) { e.Selection_ModeChangeSliderStateChanged(e.GlobalSettings->Selection_ModeChangeSlider->isOn()); } },
    };
    // clang-format on
    return rows;
}

const QList<GlobalRow> &globalWriteRows()
{
    // clang-format off
    static const QList<GlobalRow> rows {
        { .field = "SelectionClick", .kind = GlobalKind::SelectionSwitch, .control = "Selection_ModeChangeSlider", .min = 0, .max = 2,
          .set = [](P &p, int v) { p.SpecialActionDesc.SelectionClick = tSelectionClick(v); } },
        { .field = "SpecialAction", .kind = GlobalKind::SwitchUnlessZero, .control = "Selection_SingleChange", .min = 0, .max = 1,
          .set = [](P &p, int v) { p.SpecialActionDesc.SpecialAction = tSpecialAction(v); } },
        { .field = "LClick_Transparent", .kind = GlobalKind::TransparentClick, .control = "LClick_Transparent", .min = 0, .max = 1,
          .set = [](P &p, int v) { p.SpecialActionDesc.LClick_Transparent = v != 0; } },
        { .field = "preLClickSignal_s", .kind = GlobalKind::Fixed, .min = 2, .max = 2,
          .set = [](P &p, int v) { p.SpecialActionDesc.preLClickSignal_s = std::uint8_t(v); } },
        { .field = "HoldTime_ms", .kind = GlobalKind::TrackBar, .control = "SPECIALACT_HOLD_TIME", .unit = 1, .min = 500, .max = 5000,
          .set = [](P &p, int v) { p.SpecialActionDesc.HoldTime_ms = std::uint16_t(v); } },
        { .field = "DbCLick1_time_10ms", .kind = GlobalKind::TrackBar, .control = "Input_DbCLick1_time_10ms", .unit = 10, .min = 0, .max = 100,
          .set = [](P &p, int v) { p.SpecialActionDesc.DbClickProx.DbCLick1_time_10ms = std::uint16_t(v); } },
        { .field = "DbClick_delay_10ms", .kind = GlobalKind::TrackBar, .control = "Input_DbCLick1_delay_10ms", .unit = 10, .min = 0, .max = 100,
          .set = [](P &p, int v) { p.SpecialActionDesc.DbClickProx.DbClick_delay_10ms = std::uint16_t(v); } },
        { .field = "AlarmTriggerTime_s", .kind = GlobalKind::TrackBar, .control = "ALARM_TRIGGERTIME", .unit = 1, .min = 10, .max = 60,
          .set = [](P &p, int v) { p.AlarmSettings.AlarmTriggerTime_s = std::uint16_t(v); } },
        { .field = "Alarm_BeepVolume", .kind = GlobalKind::TrackBar, .control = "ALARM_BEEPVOLUME", .unit = 1, .min = 0, .max = 5,
          .set = [](P &p, int v) { p.AlarmSettings.Alarm_BeepVolume = std::uint8_t(v); } },
        { .field = "AlarmSignal_BeepOn", .kind = GlobalKind::EnabledButton, .control = "AlarmSoundON_Button", .min = 0, .max = 1,
          .set = [](P &p, int v) { p.AlarmSettings.AlarmSignal_BeepOn = v != 0; } },
        { .field = "AlarmSignal_BlinkOn", .kind = GlobalKind::EnabledButton, .control = "AlarmLEDON_Button", .min = 0, .max = 1,
          .set = [](P &p, int v) { p.AlarmSettings.AlarmSignal_BlinkOn = v != 0; } },
        { .field = "AlarmLED.Color16", .kind = GlobalKind::Fixed, .min = 0xF800, .max = 0xF800,
          .set = [](P &p, int v) { p.AlarmSettings.AlarmLED.Color16 = std::uint16_t(v); } },
        { .field = "AlarmLED.LEDstate", .kind = GlobalKind::Fixed, .min = LS_off, .max = LS_off,
          .set = [](P &p, int v) { p.AlarmSettings.AlarmLED.LEDstate = tLEDState(v); } },
        { .field = "AlarmLED.Brightness", .kind = GlobalKind::Fixed, .min = 255, .max = 255,
          .set = [](P &p, int v) { p.AlarmSettings.AlarmLED.Brightness = std::uint8_t(v); } },
        { .field = "AlarmSignalRepeat_10ms", .kind = GlobalKind::Fixed, .min = 100, .max = 100,
          .set = [](P &p, int v) { p.AlarmSettings.AlarmSignalRepeat_10ms = std::uint16_t(v); } },
        { .field = "AlarmRelSwitchTime_100ms", .kind = GlobalKind::AlarmOutput, .control = "ALARM_SWITCHTIME", .unit = 100, .min = 0, .max = 255,
          .set = [](P &p, int v) { p.AlarmSettings.AlarmRelSwitchTime_100ms = std::uint8_t(v); } },
        { .field = "ON_delay_ms", .kind = GlobalKind::AntiTremorTime, .control = "TrackBar_HoldTime", .min = 0, .max = 1500,
          .set = [](P &p, int v) { p.AntiTremor.ON_delay_ms = std::uint16_t(v); } },
        { .field = "OFF_delay_ms", .kind = GlobalKind::AntiTremorTime, .control = "TrackBar_ReleaseTime", .min = 0, .max = 1500,
          .set = [](P &p, int v) { p.AntiTremor.OFF_delay_ms = std::uint16_t(v); } },
    };
    // clang-format on
    return rows;
}

void readGlobals(TEditor &editor, const tParameterSet &records, int count)
{
    const TGlobalSettings &gs = *editor.GlobalSettings;
    for (const GlobalRow &row : globalReadRows()) {
        switch (row.kind) {
        case GlobalKind::SelectionSwitch:
            if (auto *s = control<TSlideSwitch>(gs, row.control)) {
                const int v = row.get(records, count);
                if (v == DoubleClick || v == LongClick)
                    s->setOn(v == LongClick);
            }
            break;
        case GlobalKind::SwitchUnlessZero:
            if (auto *s = control<TSlideSwitch>(gs, row.control))
                s->setOn(row.get(records, count) != 0);
            break;
        case GlobalKind::CountButton:
            press(control<TTwoStateButton>(gs, row.control), row.get(records, count) > 1);
            break;
        case GlobalKind::Check:
            if (auto *c = control<TCheckLabel>(gs, row.control))
                c->setChecked(row.get(records, count) != 0);
            break;
        case GlobalKind::TrackBar:
            if (auto *bar = control<TTrackBar>(gs, row.control))
                bar->setPosition(row.get(records, count) * row.unit);
            break;
        case GlobalKind::Button:
            press(control<TTwoStateButton>(gs, row.control), row.get(records, count) != 0);
            break;
        case GlobalKind::AlarmOutput: {
            // 0: alarm off, neither choice; 255: permanent; else a pulse of
            // this many 100 ms. Off and permanent keep the switch time.
            const int v = row.get(records, count);
            gs.Selection_Impulse->setChecked(v != 0 && v != 255);
            gs.Selection_Permanent->setChecked(v == 255);
            if (v != 0 && v != 255)
                if (auto *bar = control<TTrackBar>(gs, row.control))
                    bar->setPosition(v * row.unit);
            break;
        }
        case GlobalKind::Handler:
            row.run(editor);
            break;
        case GlobalKind::TransparentClick:
        case GlobalKind::EnabledButton:
        case GlobalKind::AntiTremorTime:
        case GlobalKind::Fixed:
            break;
        }
    }
}

void writeGlobals(const TEditor &editor, tParameterSet &records)
{
    const TGlobalSettings &gs = *editor.GlobalSettings;
    auto store = [&records](const GlobalRow &row, int v) { row.set(records, qBound(row.min, v, row.max)); };
    for (const GlobalRow &row : globalWriteRows()) {
        switch (row.kind) {
        case GlobalKind::SelectionSwitch:
            // A single mode has nothing to select.
            if (editor.modeCount() < 2)
                store(row, NoSelectMode);
            else if (auto *s = control<TSlideSwitch>(gs, row.control))
                store(row, s->isOn() ? LongClick : DoubleClick);
            break;
        case GlobalKind::SwitchUnlessZero:
            if (auto *s = control<TSlideSwitch>(gs, row.control))
                store(row, s->isOn() ? 1 : 0);
            break;
        case GlobalKind::TransparentClick:
            if (auto *c = control<TCheckLabel>(gs, row.control))
                store(row, c->isChecked() && gs.Selection_ModeChangeSlider->isOn() ? 1 : 0);
            break;
        case GlobalKind::TrackBar:
            if (auto *bar = control<TTrackBar>(gs, row.control))
                store(row, bar->position() / row.unit);
            break;
        case GlobalKind::EnabledButton:
            // Enabled within the settings: a window disabled around them
            // during a transfer changes nothing.
            if (auto *b = control<TTwoStateButton>(gs, row.control))
                store(row, b->isEnabledTo(&gs) && b->isChecked() ? 1 : 0);
            break;
        case GlobalKind::AlarmOutput: {
            int v = 0;
            if (!gs.Alarm_Button->isChecked())
                v = 0;
            else if (gs.Selection_Permanent->isChecked())
                v = 255;
            else if (gs.Selection_Impulse->isChecked())
                if (auto *bar = control<TTrackBar>(gs, row.control))
                    v = bar->position() / row.unit;
            store(row, v);
            break;
        }
        case GlobalKind::AntiTremorTime:
            if (auto *bar = control<TTrackBar>(gs, row.control))
                store(row, gs.AntiTremor_Button->isChecked() ? bar->position() : 0);
            break;
        case GlobalKind::Fixed:
            store(row, row.min);
            break;
        case GlobalKind::CountButton:
        case GlobalKind::Check:
        case GlobalKind::Button:
        case GlobalKind::Handler:
            break;
        }
    }
}

} // namespace RecordsMapping
