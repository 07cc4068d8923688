#include "setups/appconfig.h"

#include <QFileInfo>
#include <QStandardPaths>
#include <QStringList>
#include <array>
#include <limits>
#include <optional>

namespace {

const QString kForm = QStringLiteral("Form");

QString formatQuad(int a, int b, int c, int d)
{
    return QStringLiteral("%1,%2,%3,%4").arg(a).arg(b).arg(c).arg(d);
}

// "%d,%d,%d,%d" back into four numbers; blanks around a number are allowed.
std::optional<std::array<int, 4>> parseQuad(const QString &text)
{
    const QStringList parts = text.split(QLatin1Char(','));
    if (parts.size() != 4)
        return std::nullopt;
    std::array<int, 4> values {};
    for (int i = 0; i < 4; ++i) {
        bool ok = false;
        values[static_cast<std::size_t>(i)] = parts[i].trimmed().toInt(&ok, 10);
        if (!ok)
            return std::nullopt;
    }
    return values;
}

} // namespace

QString AppConfig::defaultPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
        + QStringLiteral("/Velotrix/Config.ini");
}

AppConfig::AppConfig(const QString &path)
{
    m_ini.setPath(path);
    refresh();
}

void AppConfig::rememberStamp()
{
    const QFileInfo info(m_ini.path());
    m_stamp = info.exists() ? info.lastModified() : QDateTime();
    m_size = info.exists() ? info.size() : -1;
}

// Reads the file again when it changed on disk since it was last read or
// written here (time stamp or size).
void AppConfig::refresh()
{
    const QFileInfo info(m_ini.path());
    const QDateTime stamp = info.exists() ? info.lastModified() : QDateTime();
    const qint64 size = info.exists() ? info.size() : -1;
    if (m_loaded && !m_unreadable && stamp == m_stamp && size == m_size)
        return;
    m_unreadable = !m_ini.load();
    m_loaded = true;
    m_stamp = stamp;
    m_size = size;
}

void AppConfig::flush()
{
    if (m_unreadable)
        return;
    if (m_ini.save())
        rememberStamp();
}

QString AppConfig::readString(const QString &section, const QString &key, const QString &def)
{
    refresh();
    return m_ini.readString(section, key, def);
}

bool AppConfig::readBool(const QString &section, const QString &key, bool def)
{
    refresh();
    try {
        return m_ini.readBool(section, key, def);
    } catch (const IniConversionError &) {
        return def;
    }
}

void AppConfig::writeString(const QString &section, const QString &key, const QString &value)
{
    refresh();
    m_ini.writeString(section, key, value);
    flush();
}

void AppConfig::writeBool(const QString &section, const QString &key, bool value)
{
    refresh();
    m_ini.writeBool(section, key, value);
    flush();
}

void AppConfig::saveWindowPlacement(const WindowPlacement &placement)
{
    refresh();
    const QRect &r = placement.NormalPosition;
    m_ini.writeInteger(kForm, QStringLiteral("ShowCmd"), placement.ShowCmd);
    m_ini.writeInteger(kForm, QStringLiteral("Flags"), placement.Flags);
    m_ini.writeInteger(kForm, QStringLiteral("PixelsPerInch"), placement.PixelsPerInch);
    m_ini.writeString(kForm, QStringLiteral("MinMaxPos"),
        formatQuad(placement.MinPosition.x(), placement.MinPosition.y(), placement.MaxPosition.x(),
            placement.MaxPosition.y()));
    // Right and bottom are exclusive, as in a Windows RECT.
    m_ini.writeString(
        kForm, QStringLiteral("NormPos"), formatQuad(r.x(), r.y(), r.x() + r.width(), r.y() + r.height()));
    flush();
}

bool AppConfig::loadWindowPlacement(WindowPlacement &placement)
{
    refresh();
    WindowPlacement p;
    try {
        for (const char *key : { "ShowCmd", "Flags", "PixelsPerInch" }) {
            if (!m_ini.hasKey(kForm, QLatin1String(key)))
                return false;
        }
        p.ShowCmd = m_ini.readInteger(kForm, QStringLiteral("ShowCmd"), p.ShowCmd);
        p.Flags = m_ini.readInteger(kForm, QStringLiteral("Flags"), p.Flags);
        p.PixelsPerInch = m_ini.readInteger(kForm, QStringLiteral("PixelsPerInch"), p.PixelsPerInch);
    } catch (const IniConversionError &) {
        return false;
    }
    const auto minMax = parseQuad(m_ini.readString(kForm, QStringLiteral("MinMaxPos")));
    const auto norm = parseQuad(m_ini.readString(kForm, QStringLiteral("NormPos")));
    if (!minMax || !norm)
        return false;
    p.MinPosition = QPoint((*minMax)[0], (*minMax)[1]);
    p.MaxPosition = QPoint((*minMax)[2], (*minMax)[3]);
    const auto &[left, top, right, bottom] = *norm;
    // A corrupt file must not overflow the size arithmetic; QRect keeps
    // right - 1 and bottom - 1, so those must fit as well.
    const qint64 width = static_cast<qint64>(right) - left;
    const qint64 height = static_cast<qint64>(bottom) - top;
    constexpr qint64 maxInt = std::numeric_limits<int>::max();
    constexpr int minInt = std::numeric_limits<int>::min();
    if (width > maxInt || width < minInt || height > maxInt || height < minInt || right == minInt
        || bottom == minInt)
        return false;
    p.NormalPosition = QRect(left, top, static_cast<int>(width), static_cast<int>(height));
    placement = p;
    return true;
}
