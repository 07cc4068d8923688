#pragma once

#include "inifile.h"

#include <QDateTime>
#include <QPoint>
#include <QRect>
#include <QString>

// Main window placement as stored under "Form" in Config.ini.
struct WindowPlacement
{
    int ShowCmd = 1; // 1 normal, 2 minimized, 3 maximized
    int Flags = 0;
    int PixelsPerInch = 96;
    QPoint MinPosition { -1, -1 };
    QPoint MaxPosition { -1, -1 };
    QRect NormalPosition; // left, top, right, bottom in "NormPos"
};

// Config.ini in the user's configuration folder. Every write reaches the
// disk at once; before a read the file is read again if its time stamp
// changed since it was last read.
class AppConfig
{
public:
    // Default location: <configuration folder>/Velotrix/Config.ini
    // (~/.config/Velotrix/Config.ini on Linux).
    static QString defaultPath();

    explicit AppConfig(const QString &path = defaultPath());

    QString path() const { return m_ini.path(); }

    QString readString(const QString &section, const QString &key, const QString &def = {});
    // A value that is no boolean gives def: preferences are read on every
    // action update, where a conversion error must not interrupt the user.
    bool readBool(const QString &section, const QString &key, bool def);
    void writeString(const QString &section, const QString &key, const QString &value);
    void writeBool(const QString &section, const QString &key, bool value);

    void saveWindowPlacement(const WindowPlacement &placement);
    // False when the file holds no usable "Form" section.
    bool loadWindowPlacement(WindowPlacement &placement);

private:
    void refresh();
    void flush();
    void rememberStamp();

    IniFile m_ini;
    QDateTime m_stamp;
    qint64 m_size = -1;
    bool m_loaded = false;
    // The last read of an existing file failed: writing now would replace
    // the user's file with only the keys set in this run.
    bool m_unreadable = false;
};
