#pragma once

#include "device/records.h"

#include <QString>
#include <QStringList>
#include <memory>

// The setup catalogue: which files the setup folder holds, the summary of
// each and the caption it is shown under.

// Appends to names the names of the files in folder, hidden ones included,
// sorted by name without regard to case (the order of a file manager).
// Every file counts, whatever its extension; sub-folders and special files
// (pipes, sockets, dangling links) do not. A missing folder adds nothing.
void FindSetupFiles(const QString &folder, QStringList &names);

// The summary of the setup file at path: "Name" (cut to 255 characters; the
// file name, extension included, when it is empty), "Image", "Modecount",
// "readonly" and the path itself. A malformed "Image", "Modecount" or
// "readonly" throws IniConversionError, its message led by the path.
std::unique_ptr<tConfig> ReadSetupInfo(const QString &path);

// The caption of a stored name: every "%CALLSYSTEM%" and "%Nexo2 Set%",
// found without regard to case, replaced by its translation in the current
// language.
QString LookupSetupCaption(const QString &name);

// Longest name kept in a catalogue entry.
inline constexpr qsizetype MaxSetupNameLength = 255;
