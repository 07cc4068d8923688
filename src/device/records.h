#pragma once

// The device's parameter records. Their byte images are what the serial link
// carries and what setup files store: packed, little-endian, one byte per
// enumeration and per Boolean. They are produced and read field by field, so
// the host's structure layout never leaks into them.

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <array>
#include <cstdint>

// Enumerations keep whatever ordinal the device sent: the underlying type is
// fixed, so an unknown value survives a read and goes back unchanged.
enum tSwitchMode : std::uint8_t { ImpulseON, NormalON, RepeatFuncON, ToggleON, DoubleClickOut };
enum tRelOut : std::uint8_t { Relais1, Relais2, Relais12 };
enum tFeedbackMode : std::uint8_t { FB_Relais, FB_Prox };
enum tSelectionClick : std::uint8_t { DoubleClick, LongClick, NoSelectMode };
enum tSpecialAction : std::uint8_t { ModeChange, SingleAction };
enum tLEDState : std::uint8_t { LS_on, LS_off, LS_Blick };

// Every fromBytes() expects at least Size bytes; missing bytes read as 0.
// A Boolean byte reads true when it is non-zero and is written as 0 or 1.

struct tLED
{
    static constexpr int Size = 8;

    std::uint8_t Brightness = 0;
    std::uint32_t Color24 = 0; // passed through, never shown
    std::uint16_t Color16 = 0; // RGB565
    tLEDState LEDstate = LS_on;

    QByteArray toBytes() const;
    static tLED fromBytes(QByteArrayView bytes);
    bool operator==(const tLED &) const = default;
};

struct tDbClickProx
{
    static constexpr int Size = 4;

    std::uint16_t DbCLick1_time_10ms = 0;
    std::uint16_t DbClick_delay_10ms = 0;

    QByteArray toBytes() const;
    static tDbClickProx fromBytes(QByteArrayView bytes);
    bool operator==(const tDbClickProx &) const = default;
};

struct tProxFeedback
{
    static constexpr int Size = 13;

    tFeedbackMode FeedbackMode = FB_Relais;
    bool Feedback_Beep = false;
    bool Feedback_OnlyONBeep = false;
    std::uint8_t Feedback_BeepVolume = 0;
    bool Feedback_LEDuse = false;
    tLED Feedback_LEDdesc;

    QByteArray toBytes() const;
    static tProxFeedback fromBytes(QByteArrayView bytes);
    bool operator==(const tProxFeedback &) const = default;
};

struct tRelTiming
{
    static constexpr int Size = 12;

    std::uint16_t RepeatFct_delay_10ms = 0;
    std::uint16_t RepeatFct_PulseTime_10ms = 0;
    std::uint16_t RepeatFct_PulseRepeat_10ms = 0;
    std::uint16_t ImpulseTime_100ms = 0;
    std::uint16_t DBClickOutTime_10ms = 0;
    std::uint16_t DBClickOutDelay_10ms = 0;

    QByteArray toBytes() const;
    static tRelTiming fromBytes(QByteArrayView bytes);
    bool operator==(const tRelTiming &) const = default;
};

// One mode of the device.
struct tModeDescriptor
{
    static constexpr int Size = 28;

    tSwitchMode SwitchMode = ImpulseON;
    tRelOut RelOut = Relais1;
    tProxFeedback ProxFeedback;
    tRelTiming RelTiming;
    std::uint8_t ContStop_100ms = 0; // pushbutton only; 0 = no forced cut-off

    QByteArray toBytes() const;
    static tModeDescriptor fromBytes(QByteArrayView bytes);
    bool operator==(const tModeDescriptor &) const = default;
};

// The gesture at the input sensor that changes between modes.
struct tSpecialActionDesc
{
    static constexpr int Size = 11;

    tSelectionClick SelectionClick = DoubleClick;
    tSpecialAction SpecialAction = ModeChange;
    std::uint8_t SingleActionMode = 0; // passed through
    bool LClick_Transparent = false;
    std::uint8_t preLClickSignal_s = 0;
    std::uint16_t HoldTime_ms = 0;
    tDbClickProx DbClickProx;

    QByteArray toBytes() const;
    static tSpecialActionDesc fromBytes(QByteArrayView bytes);
    bool operator==(const tSpecialActionDesc &) const = default;
};

// The alarm raised when the sensor stays actuated. It is on exactly when
// AlarmRelSwitchTime_100ms is non-zero (255 = switch permanently).
struct tAlarmSettings
{
    static constexpr int Size = 17;

    std::uint16_t AlarmTriggerTime_s = 0;
    std::uint8_t Alarm_BeepVolume = 0;
    bool AlarmSignal_BeepOn = false;
    bool AlarmSignal_BlinkOn = false;
    tLED AlarmLED;
    std::uint16_t AlarmSignalRepeat_10ms = 0;
    std::uint8_t AlarmRelSwitchTime_100ms = 0;
    // Passed through untouched; kept as a raw byte so any value the device
    // sent goes back exactly as it came.
    std::uint8_t Alarm_LowBattAlarm = 0;

    QByteArray toBytes() const;
    static tAlarmSettings fromBytes(QByteArrayView bytes);
    bool operator==(const tAlarmSettings &) const = default;
};

// Input filter against tremor; both 0 when the filter is off.
struct tAntiTremor
{
    static constexpr int Size = 4;

    std::uint16_t ON_delay_ms = 0;
    std::uint16_t OFF_delay_ms = 0;

    QByteArray toBytes() const;
    static tAntiTremor fromBytes(QByteArrayView bytes);
    bool operator==(const tAntiTremor &) const = default;
};

// Summary of one setup file in the setup catalogue; never sent or stored as
// a whole.
struct tConfig
{
    bool ReadOnly = false;
    QString name; // at most 255 characters
    QString Filename; // at most 255 characters
    std::int32_t ImageIndex = 0;
    tAlarmSettings AlarmSettings;
    tSpecialActionDesc SpecialActionDesc;
    std::int32_t ModeCount = 0;
    QList<tModeDescriptor> ModeDescriptor;
};

// The working parameter set: the one buffer between the editor, the device
// and the setup files.
struct tParameterSet
{
    static constexpr int MaxModes = 5;
    static constexpr int ModeBytesSize = MaxModes * tModeDescriptor::Size; // 140

    std::array<tModeDescriptor, MaxModes> ModeDescriptor {};
    tSpecialActionDesc SpecialActionDesc {};
    tAlarmSettings AlarmSettings {};
    tAntiTremor AntiTremor {};
    // How many of the modes are in use: the count a read or a setup file
    // brought, or the number of mode pages the editor last wrote. Only the
    // first ModeCount modes go to the device; files keep all five.
    int ModeCount = 1;

    // The five modes as 140 contiguous bytes, mode i at byte 28 * i.
    QByteArray modeBytes() const;
    // Overlays bytes onto the mode image from its start: a shorter view
    // changes only the bytes it covers, bytes beyond 140 are ignored.
    void setModeBytes(QByteArrayView bytes);

    bool operator==(const tParameterSet &) const = default;
};

// Window-system colour 0x00BBGGRR <-> RGB565. The low bits of each channel
// are dropped on the way in and come back as 0.
std::uint16_t ColorToRGB565(std::uint32_t color);
std::uint32_t RGB565ToColor(std::uint16_t value);
