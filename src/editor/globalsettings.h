#pragma once

#include <QTabWidget>

class QLabel;
class TCheckLabel;
class TSlideSwitch;
class TTrackBar;
class TTwoStateButton;

// The global settings pager AdvOfficePager1 with its three fixed pages:
// "Multi mode" (how the user changes between modes at the sensor),
// "Anti-Tremor" (the input filter) and "Sensor monitoring" (the alarm).
// The handlers here derive what is enabled and shown from the buttons and
// switches; Multi mode's effect on the mode pages belongs to the editor.
class TGlobalSettings : public QTabWidget
{
    Q_OBJECT
public:
    explicit TGlobalSettings(QWidget *parent = nullptr);

    // Enables the mode-change controls exactly while Multi mode is pressed.
    void applyMultiMode();
    // "Long click" shows the hold time and "Transparent click", "Double
    // click" the double-click time and delay.
    void Selection_ModeChangeSliderStateChanged(bool on);
    // Unlocks "Transparent click", then ticks and locks it while the standard
    // mode uses "Push button " (1) or "Repeater" (2).
    void update_LClick_Transparent(int standardFunctionIndex);
    void AntiTremor_ButtonClick();
    void Alarm_ButtonClick();
    void AlarmLEDON_ButtonClick();
    void AlarmSoundON_ButtonClick();
    void Selection_ImpulseClick();
    void Selection_PermanentClick();

    QList<TTrackBar *> trackBars() const;

    // Page "Multi mode"
    QWidget *AdvOfficePage1 = nullptr;
    TTwoStateButton *MultiMode_Button = nullptr;
    TSlideSwitch *Selection_SingleChange = nullptr;
    QLabel *Label_ModeChange = nullptr;
    TSlideSwitch *Selection_ModeChangeSlider = nullptr;
    QWidget *LongClick_Panel = nullptr;
    TTrackBar *SPECIALACT_HOLD_TIME = nullptr;
    TCheckLabel *LClick_Transparent = nullptr;
    QWidget *DoubleClick_Panel = nullptr;
    TTrackBar *Input_DbCLick1_time_10ms = nullptr;
    TTrackBar *Input_DbCLick1_delay_10ms = nullptr;

    // Page "Anti-Tremor"
    QWidget *AdvOfficePage2 = nullptr;
    TTwoStateButton *AntiTremor_Button = nullptr;
    TTrackBar *TrackBar_HoldTime = nullptr;
    TTrackBar *TrackBar_ReleaseTime = nullptr;

    // Page "Sensor monitoring"
    QWidget *AdvOfficePage3 = nullptr;
    TTwoStateButton *Alarm_Button = nullptr;
    TTrackBar *ALARM_TRIGGERTIME = nullptr;
    TTwoStateButton *AlarmLEDON_Button = nullptr;
    TTwoStateButton *AlarmSoundON_Button = nullptr;
    TTrackBar *ALARM_BEEPVOLUME = nullptr;
    TCheckLabel *Selection_Impulse = nullptr;
    TCheckLabel *Selection_Permanent = nullptr;
    TTrackBar *ALARM_SWITCHTIME = nullptr;

private:
    QWidget *buildMultiModePage();
    QWidget *buildAntiTremorPage();
    QWidget *buildSensorPage();
    void connectHandlers();
    void updateSwitchTimeEnabled();
};
