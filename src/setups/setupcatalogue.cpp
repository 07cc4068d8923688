#include "setups/setupcatalogue.h"

#include "services/translation.h"
#include "setups/inifile.h"
#include "setups/setupfile.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

void FindSetupFiles(const QString &folder, QStringList &names)
{
    // QDir::Files without QDir::System: regular files and links to them.
    // Reading a pipe would block, and a folder is no setup.
    const QDir dir(folder);
    QStringList found = dir.entryList(QDir::Files | QDir::Hidden, QDir::Unsorted);
    std::sort(found.begin(), found.end(), [](const QString &a, const QString &b) {
        const int folded = QString::compare(a, b, Qt::CaseInsensitive);
        return folded != 0 ? folded < 0 : QString::compare(a, b, Qt::CaseSensitive) < 0;
    });
    names.append(found);
}

std::unique_ptr<tConfig> ReadSetupInfo(const QString &path)
{
    auto config = std::make_unique<tConfig>();
    const IniFile ini(path);
    const QString &section = SetupFile::Section;
    config->name = ini.readString(section, QStringLiteral("Name")).left(MaxSetupNameLength);
    if (config->name.isEmpty())
        config->name = QFileInfo(path).fileName();
    try {
        config->ImageIndex = ini.readInteger(section, QStringLiteral("Image"), 0);
        // The path stays whole: a cut path would name another file, or none,
        // for the load, rename and delete of this entry.
        config->Filename = path;
        config->ModeCount = ini.readInteger(section, QStringLiteral("Modecount"), 0);
        config->ReadOnly = ini.readBool(section, QStringLiteral("readonly"), false);
    } catch (const IniConversionError &e) {
        // Among many setups the user must learn which file is at fault.
        throw IniConversionError(
            QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(path), QString::fromUtf8(e.what())));
    }
    return config;
}

QString LookupSetupCaption(const QString &name)
{
    QString result = name;
    result.replace(QStringLiteral("%CALLSYSTEM%"), tx("Call system"), Qt::CaseInsensitive);
    result.replace(QStringLiteral("%Nexo2 Set%"), tx("Nexo 2 Set (proximity sensor)"), Qt::CaseInsensitive);
    return result;
}
