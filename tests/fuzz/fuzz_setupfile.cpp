// The setup-file reads: the input is the content of a setup file. The
// catalogue's summary read gives an entry or throws IniConversionError. A
// records read either fills the parameter set or throws and leaves it as it
// was; a save of what was read reads back as the same parameter set and
// keeps every key the save does not write.

#include "fuzzcheck.h"
#include "setups/inifile.h"
#include "setups/setupcatalogue.h"
#include "setups/setupfile.h"

#include <QFile>
#include <QTemporaryDir>

namespace {

// A parameter set whose bytes differ from a default one, so that a read that
// wrongly resets a record shows.
tParameterSet marked()
{
    tParameterSet params;
    QByteArray modes(tParameterSet::ModeBytesSize, '\0');
    for (qsizetype i = 0; i < modes.size(); ++i)
        modes[i] = static_cast<char>(i * 7 + 3);
    params.setModeBytes(modes);
    params.AntiTremor.ON_delay_ms = 30;
    params.AntiTremor.OFF_delay_ms = 200;
    params.ModeCount = 3;
    return params;
}

const QString &setupPath()
{
    static QTemporaryDir dir;
    static const QString path = dir.filePath(QStringLiteral("Fuzz setup.cfg"));
    return path;
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

bool isSavedKey(const QString &key)
{
    for (const char *saved : { "Name", "FileName", "Modecount", "ModeDescriptor", "SpecialActionDesc",
             "AlarmSettings", "AntiTremor" }) {
        if (key.compare(QLatin1String(saved), Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString &path = setupPath();
    const QByteArray input = fuzzBytes(data, size);
    FUZZ_CHECK(writeFile(path, input));

    try {
        const std::unique_ptr<tConfig> config = ReadSetupInfo(path);
        FUZZ_CHECK(config->Filename == path);
        FUZZ_CHECK(!config->name.isEmpty() && config->name.size() <= MaxSetupNameLength);
        LookupSetupCaption(config->name);
    } catch (const IniConversionError &) {
    }

    tParameterSet params = marked();
    try {
        SetupFile::read(path, params);
    } catch (const IniConversionError &) {
        FUZZ_CHECK(params == marked());
        return 0;
    }

    IniFile before;
    before.parse(input);
    const QString name = before.readString(SetupFile::Section, QStringLiteral("Name"));
    FUZZ_CHECK(SetupFile::write(path, name, params));

    tParameterSet back;
    SetupFile::read(path, back);
    FUZZ_CHECK(back == params);

    IniFile after(path);
    FUZZ_CHECK(after.readString(SetupFile::Section, QStringLiteral("Name")) == name);
    FUZZ_CHECK(after.readString(SetupFile::Section, QStringLiteral("FileName")) == path);
    for (const QString &section : before.sectionNames()) {
        const QStringList keys = before.keys(section);
        for (qsizetype i = 0; i < keys.size() && i < 64; ++i) {
            if (section.compare(SetupFile::Section, Qt::CaseInsensitive) == 0 && isSavedKey(keys[i]))
                continue;
            FUZZ_CHECK(after.readString(section, keys[i]) == before.readString(section, keys[i]));
        }
    }
    return 0;
}
