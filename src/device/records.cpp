#include "device/records.h"

#include <algorithm>

namespace {

// Appends little-endian fields to a byte image.
class ByteWriter
{
public:
    explicit ByteWriter(int size) { m_bytes.reserve(size); }

    void u8(std::uint8_t v) { m_bytes.append(static_cast<char>(v)); }
    void u16(std::uint16_t v)
    {
        u8(static_cast<std::uint8_t>(v & 0xFF));
        u8(static_cast<std::uint8_t>(v >> 8));
    }
    void u32(std::uint32_t v)
    {
        u16(static_cast<std::uint16_t>(v & 0xFFFF));
        u16(static_cast<std::uint16_t>(v >> 16));
    }
    void boolean(bool v) { u8(v ? 1 : 0); }
    template <typename E> void enumeration(E v) { u8(static_cast<std::uint8_t>(v)); }
    void bytes(const QByteArray &b) { m_bytes.append(b); }

    QByteArray result() const { return m_bytes; }

private:
    QByteArray m_bytes;
};

// Reads little-endian fields from a byte image; reading past its end yields 0
// rather than touching memory that is not there.
class ByteReader
{
public:
    explicit ByteReader(QByteArrayView bytes)
        : m_bytes(bytes)
    {
    }

    std::uint8_t u8()
    {
        const qsizetype at = m_pos++;
        return at < m_bytes.size() ? static_cast<std::uint8_t>(m_bytes[at]) : 0;
    }
    std::uint16_t u16()
    {
        const std::uint16_t lo = u8();
        const std::uint16_t hi = u8();
        return static_cast<std::uint16_t>(lo | (hi << 8));
    }
    std::uint32_t u32()
    {
        const std::uint32_t lo = u16();
        const std::uint32_t hi = u16();
        return lo | (hi << 16);
    }
    bool boolean() { return u8() != 0; }
    template <typename E> E enumeration() { return static_cast<E>(u8()); }
    // The next size bytes as a view for a nested record; advances past them.
    QByteArrayView nested(int size)
    {
        const qsizetype from = std::min(m_pos, m_bytes.size());
        const qsizetype len = std::min<qsizetype>(size, m_bytes.size() - from);
        m_pos += size;
        return m_bytes.sliced(from, len);
    }

private:
    QByteArrayView m_bytes;
    qsizetype m_pos = 0;
};

} // namespace

QByteArray tLED::toBytes() const
{
    ByteWriter w(Size);
    w.u8(Brightness);
    w.u32(Color24);
    w.u16(Color16);
    w.enumeration(LEDstate);
    return w.result();
}

tLED tLED::fromBytes(QByteArrayView bytes)
{
    ByteReader r(bytes);
    tLED v;
    v.Brightness = r.u8();
    v.Color24 = r.u32();
    v.Color16 = r.u16();
    v.LEDstate = r.enumeration<tLEDState>();
    return v;
}

QByteArray tDbClickProx::toBytes() const
{
    ByteWriter w(Size);
    w.u16(DbCLick1_time_10ms);
    w.u16(DbClick_delay_10ms);
    return w.result();
}

tDbClickProx tDbClickProx::fromBytes(QByteArrayView bytes)
{
    ByteReader r(bytes);
    tDbClickProx v;
    v.DbCLick1_time_10ms = r.u16();
    v.DbClick_delay_10ms = r.u16();
    return v;
}

QByteArray tProxFeedback::toBytes() const
{
    ByteWriter w(Size);
    w.enumeration(FeedbackMode);
    w.boolean(Feedback_Beep);
    w.boolean(Feedback_OnlyONBeep);
    w.u8(Feedback_BeepVolume);
    w.boolean(Feedback_LEDuse);
    w.bytes(Feedback_LEDdesc.toBytes());
    return w.result();
}

tProxFeedback tProxFeedback::fromBytes(QByteArrayView bytes)
{
    ByteReader r(bytes);
    tProxFeedback v;
    v.FeedbackMode = r.enumeration<tFeedbackMode>();
    v.Feedback_Beep = r.boolean();
    v.Feedback_OnlyONBeep = r.boolean();
    v.Feedback_BeepVolume = r.u8();
    v.Feedback_LEDuse = r.boolean();
    v.Feedback_LEDdesc = tLED::fromBytes(r.nested(tLED::Size));
    return v;
}

QByteArray tRelTiming::toBytes() const
{
    ByteWriter w(Size);
    w.u16(RepeatFct_delay_10ms);
    w.u16(RepeatFct_PulseTime_10ms);
    w.u16(RepeatFct_PulseRepeat_10ms);
    w.u16(ImpulseTime_100ms);
    w.u16(DBClickOutTime_10ms);
    w.u16(DBClickOutDelay_10ms);
    return w.result();
}

tRelTiming tRelTiming::fromBytes(QByteArrayView bytes)
{
    ByteReader r(bytes);
    tRelTiming v;
    v.RepeatFct_delay_10ms = r.u16();
    v.RepeatFct_PulseTime_10ms = r.u16();
    v.RepeatFct_PulseRepeat_10ms = r.u16();
    v.ImpulseTime_100ms = r.u16();
    v.DBClickOutTime_10ms = r.u16();
    v.DBClickOutDelay_10ms = r.u16();
    return v;
}

QByteArray tModeDescriptor::toBytes() const
{
    ByteWriter w(Size);
    w.enumeration(SwitchMode);
    w.enumeration(RelOut);
    w.bytes(ProxFeedback.toBytes());
    w.bytes(RelTiming.toBytes());
    w.u8(ContStop_100ms);
    return w.result();
}

tModeDescriptor tModeDescriptor::fromBytes(QByteArrayView bytes)
{
    ByteReader r(bytes);
    tModeDescriptor v;
    v.SwitchMode = r.enumeration<tSwitchMode>();
    v.RelOut = r.enumeration<tRelOut>();
    v.ProxFeedback = tProxFeedback::fromBytes(r.nested(tProxFeedback::Size));
    v.RelTiming = tRelTiming::fromBytes(r.nested(tRelTiming::Size));
    v.ContStop_100ms = r.u8();
    return v;
}

QByteArray tSpecialActionDesc::toBytes() const
{
    ByteWriter w(Size);
    w.enumeration(SelectionClick);
    w.enumeration(SpecialAction);
    w.u8(SingleActionMode);
    w.boolean(LClick_Transparent);
    w.u8(preLClickSignal_s);
    w.u16(HoldTime_ms);
    w.bytes(DbClickProx.toBytes());
    return w.result();
}

tSpecialActionDesc tSpecialActionDesc::fromBytes(QByteArrayView bytes)
{
    ByteReader r(bytes);
    tSpecialActionDesc v;
    v.SelectionClick = r.enumeration<tSelectionClick>();
    v.SpecialAction = r.enumeration<tSpecialAction>();
    v.SingleActionMode = r.u8();
    v.LClick_Transparent = r.boolean();
    v.preLClickSignal_s = r.u8();
    v.HoldTime_ms = r.u16();
    v.DbClickProx = tDbClickProx::fromBytes(r.nested(tDbClickProx::Size));
    return v;
}

QByteArray tAlarmSettings::toBytes() const
{
    ByteWriter w(Size);
    w.u16(AlarmTriggerTime_s);
    w.u8(Alarm_BeepVolume);
    w.boolean(AlarmSignal_BeepOn);
    w.boolean(AlarmSignal_BlinkOn);
    w.bytes(AlarmLED.toBytes());
    w.u16(AlarmSignalRepeat_10ms);
    w.u8(AlarmRelSwitchTime_100ms);
    w.u8(Alarm_LowBattAlarm);
    return w.result();
}

tAlarmSettings tAlarmSettings::fromBytes(QByteArrayView bytes)
{
    ByteReader r(bytes);
    tAlarmSettings v;
    v.AlarmTriggerTime_s = r.u16();
    v.Alarm_BeepVolume = r.u8();
    v.AlarmSignal_BeepOn = r.boolean();
    v.AlarmSignal_BlinkOn = r.boolean();
    v.AlarmLED = tLED::fromBytes(r.nested(tLED::Size));
    v.AlarmSignalRepeat_10ms = r.u16();
    v.AlarmRelSwitchTime_100ms = r.u8();
    v.Alarm_LowBattAlarm = r.u8();
    return v;
}

QByteArray tAntiTremor::toBytes() const
{
    ByteWriter w(Size);
    w.u16(ON_delay_ms);
    w.u16(OFF_delay_ms);
    return w.result();
}

tAntiTremor tAntiTremor::fromBytes(QByteArrayView bytes)
{
    ByteReader r(bytes);
    tAntiTremor v;
    v.ON_delay_ms = r.u16();
    v.OFF_delay_ms = r.u16();
    return v;
}

QByteArray tParameterSet::modeBytes() const
{
    QByteArray bytes;
    bytes.reserve(ModeBytesSize);
    for (const tModeDescriptor &mode : ModeDescriptor)
        bytes.append(mode.toBytes());
    return bytes;
}

void tParameterSet::setModeBytes(QByteArrayView bytes)
{
    QByteArray image = modeBytes();
    const qsizetype n = std::min<qsizetype>(bytes.size(), ModeBytesSize);
    std::copy_n(bytes.begin(), n, image.begin());
    for (int i = 0; i < MaxModes; ++i)
        ModeDescriptor[static_cast<std::size_t>(i)] = tModeDescriptor::fromBytes(
            QByteArrayView(image).sliced(i * tModeDescriptor::Size, tModeDescriptor::Size));
}

std::uint16_t ColorToRGB565(std::uint32_t color)
{
    const std::uint32_t r = color & 0xFF;
    const std::uint32_t g = (color >> 8) & 0xFF;
    const std::uint32_t b = (color >> 16) & 0xFF;
    return static_cast<std::uint16_t>(((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3));
}

std::uint32_t RGB565ToColor(std::uint16_t value)
{
    const std::uint32_t red = (value >> 8) & 0xF8;
    const std::uint32_t green = (value >> 3) & 0xFC;
    const std::uint32_t blue = (value & 0x1F) << 3;
    return red | (green << 8) | (blue << 16);
}
