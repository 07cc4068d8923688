#pragma once

#include "device/records.h"

#include <QString>

// Setup files: one INI section "Config" holding a named copy of the whole
// parameter set as hex records.
namespace SetupFile {

inline const QString Section = QStringLiteral("Config");

// Writes the parameter set into the file at path, starting from its current
// content so keys written by others ("Image", "readonly") survive. Keys in
// the order a new file gets them: Name, FileName, Modecount, ModeDescriptor
// (all five modes, 140 bytes), SpecialActionDesc, AlarmSettings, AntiTremor.
// Returns false when the file could not be written.
bool write(const QString &path, const QString &name, const tParameterSet &params);

// Reads "Modecount" (default 0) into params.ModeCount, unchecked, and the
// four records into params. A missing
// record key leaves that record unchanged; a value that is not valid throws
// IniConversionError, and params is then left as it was.
void read(const QString &path, tParameterSet &params);

} // namespace SetupFile
