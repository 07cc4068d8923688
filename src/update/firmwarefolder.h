#pragma once

#include <QString>
#include <QStringList>

// The firmware folder: PersonalDatapath() + "FWUpdate/".
QString firmwareFolder(const QString &personalDatapath);

// "Velotrix_V1." + the variation in decimal + ".??.hex".
QString firmwareMask(int variation);

// Clears list, then adds the name of every file in folder that matches mask
// ('?' one character, '*' any run), sorted as a file manager shows them
// (case-insensitive, numbers by value). True when the list is not empty. A
// missing folder gives an empty list.
bool GetFilenames(const QString &folder, const QString &mask, QStringList &list);

// Index of the first name whose build number (the characters at positions
// 15 and 16, counted from 1) is a decimal number above build; a name whose
// two characters are not digits is skipped. -1 when none qualifies.
int FindNewUpdate(const QStringList &names, int build);

// The EEPROM image beside a firmware file: the same path ending in ".eep".
QString eepromPathOf(const QString &firmwarePath);
