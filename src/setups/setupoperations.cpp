#include "setups/setupoperations.h"

#include "services/translation.h"
#include "setups/inifile.h"
#include "setups/setupfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

QString withFile(const char *msgid, const QString &path)
{
    QString text = tx(msgid);
    text.replace(QLatin1String("%s"), QDir::toNativeSeparators(path));
    return text;
}

char16_t foldAZ(char16_t c)
{
    return (c >= u'a' && c <= u'z') ? char16_t(c - u'a' + u'A') : c;
}

} // namespace

QString ReplaceInvalidChars(const QString &text, const QString &replacement)
{
    static const char16_t invalid[] = { u':', u'/', u'*', u'\\', u'?', u'>', u'<', u'|', u'&', u'"' };
    QString result = text;
    for (const char16_t c : invalid)
        result.replace(QChar(c), replacement);
    return result;
}

QString setupFilePath(const QString &folder, const QString &name)
{
    return folder + ReplaceInvalidChars(name, QStringLiteral("_")) + QStringLiteral(".cfg");
}

bool isUsableSetupName(const QString &name)
{
    const QString trimmed = name.trimmed();
    if (trimmed.isEmpty())
        return false;
    for (const QChar c : trimmed)
        if (c != QLatin1Char('.') && !c.isSpace())
            return true;
    return false;
}

bool sameSetupName(const QString &a, const QString &b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i)
        if (foldAZ(a.at(i).unicode()) != foldAZ(b.at(i).unicode()))
            return false;
    return true;
}

void ReadSetupRecords(const QString &path, tParameterSet &params)
{
    // A file that vanished since it was listed would otherwise load as an
    // empty file: no modes at all in the editor.
    if (!QFileInfo(path).isFile() || !IniFile(path).load())
        throw SetupFileError(withFile("Setup file \"%s\" cannot be read.", path));

    tParameterSet loaded = params;
    SetupFile::read(path, loaded);
    if (loaded.ModeCount < 0 || loaded.ModeCount > tParameterSet::MaxModes) {
        QString text = withFile(
            "Setup file \"%s\" cannot be loaded: it holds %d modes, but only 0 to 5 are possible.", path);
        text.replace(QLatin1String("%d"), QString::number(loaded.ModeCount));
        throw SetupFileError(text);
    }
    params = loaded;
}

bool WriteSetupName(const QString &path, const QString &name)
{
    // A missing file would come back holding nothing but the name; an
    // unreadable one would lose everything but the name.
    if (!QFileInfo(path).isFile())
        return false;
    IniFile ini(path);
    if (!ini.load())
        return false;
    ini.writeString(SetupFile::Section, QStringLiteral("Name"), name);
    return ini.save();
}

bool DeleteSetupFile(const QString &path)
{
    QFile file(path);
    if (file.moveToTrash())
        return true;
    return QFile::remove(path) || !QFileInfo::exists(path);
}
