#include "setupfile.h"

#include "inifile.h"

namespace SetupFile {

bool write(const QString &path, const QString &name, const tParameterSet &params)
{
    // An existing file that cannot be read is not replaced by one holding
    // only the saved keys.
    IniFile ini(path);
    if (!ini.load())
        return false;
    ini.writeString(Section, QStringLiteral("Name"), name);
    ini.writeString(Section, QStringLiteral("FileName"), path);
    ini.writeInteger(Section, QStringLiteral("Modecount"), params.ModeCount);
    ini.writeRecord(Section, QStringLiteral("ModeDescriptor"), params.modeBytes());
    ini.writeRecord(Section, QStringLiteral("SpecialActionDesc"), params.SpecialActionDesc.toBytes());
    ini.writeRecord(Section, QStringLiteral("AlarmSettings"), params.AlarmSettings.toBytes());
    ini.writeRecord(Section, QStringLiteral("AntiTremor"), params.AntiTremor.toBytes());
    return ini.save();
}

void read(const QString &path, tParameterSet &params)
{
    const IniFile ini(path);
    const int count = ini.readInteger(Section, QStringLiteral("Modecount"), 0);

    // Decode into copies of the current bytes: undecoded bytes keep their
    // contents, and nothing changes unless every value is valid.
    QByteArray modes = params.modeBytes();
    QByteArray special = params.SpecialActionDesc.toBytes();
    QByteArray alarm = params.AlarmSettings.toBytes();
    QByteArray tremor = params.AntiTremor.toBytes();
    ini.readRecord(Section, QStringLiteral("ModeDescriptor"), modes);
    ini.readRecord(Section, QStringLiteral("SpecialActionDesc"), special);
    ini.readRecord(Section, QStringLiteral("AlarmSettings"), alarm);
    ini.readRecord(Section, QStringLiteral("AntiTremor"), tremor);

    params.setModeBytes(modes);
    params.SpecialActionDesc = tSpecialActionDesc::fromBytes(special);
    params.AlarmSettings = tAlarmSettings::fromBytes(alarm);
    params.AntiTremor = tAntiTremor::fromBytes(tremor);
    params.ModeCount = count;
}

} // namespace SetupFile
