#pragma once

#include "device/records.h"

#include <QString>
#include <stdexcept>

// File-level operations on setups that the dialogs and velotrixctl share.

// A setup file that is refused as a whole (a mode count that no editor can
// show, a file that cannot be read). The message is translated and names
// the file.
class SetupFileError : public std::runtime_error
{
public:
    explicit SetupFileError(const QString &message)
        : std::runtime_error(message.toStdString())
    {
    }
};

// text with each of : / * \ ? > < | & " replaced by replacement, in this
// order. Nothing else changes.
QString ReplaceInvalidChars(const QString &text, const QString &replacement);

// The file of the setup named name: folder + the name with its invalid
// characters replaced by "_" + ".cfg". folder ends in "/".
QString setupFilePath(const QString &folder, const QString &name);

// False for a name that would give a file without a name of its own: blank
// only, or dots only (".cfg", "..cfg", a hidden file).
bool isUsableSetupName(const QString &name);

// The comparison of the save's overwrite question: letters A to Z match
// without regard to case, every other character only itself.
bool sameSetupName(const QString &a, const QString &b);

// Reads "Modecount" and the four records of the setup file at path into
// params. Throws IniConversionError for a malformed value and
// SetupFileError for a file that cannot be read or a mode count outside
// 0 to 5; params is then left exactly as it was.
void ReadSetupRecords(const QString &path, tParameterSet &params);

// Sets "Name" in the existing setup file at path, keeping every other key
// and the file's name. False when the file is gone, cannot be read or
// cannot be written; the file is then unchanged.
bool WriteSetupName(const QString &path, const QString &name);

// Moves the setup file to the desktop's trash where there is one, otherwise
// removes it. False when the file is still there.
bool DeleteSetupFile(const QString &path);
