// The INI text format of setup files and Config.ini: the input is a file's
// bytes. Every key of every section is read as text, integer, boolean and
// record (conversion errors are expected, nothing else is), and a rewrite
// must read back as exactly the same content.

#include "fuzzcheck.h"
#include "setups/inifile.h"

namespace {

// Keys read per section; a section's lookup is linear in its lines, so this
// keeps the target itself linear on huge inputs.
constexpr qsizetype MaxKeysPerSection = 256;

void readEveryKind(const IniFile &ini, const QString &section, const QString &key)
{
    FUZZ_CHECK(ini.hasKey(section, key));
    const QString text = ini.readString(section, key, QStringLiteral("\x01missing"));
    FUZZ_CHECK(text != QStringLiteral("\x01missing"));
    try {
        const int value = ini.readInteger(section, key, 0);
        // A value that reads as an integer also reads as a boolean.
        FUZZ_CHECK(ini.readBool(section, key, false) == (value != 0));
    } catch (const IniConversionError &) {
    }
    try {
        ini.readBool(section, key, true);
    } catch (const IniConversionError &) {
    }
    // The record sizes of a setup file, and one the value may overrun.
    for (const qsizetype size : { 1, 4, 11, 17, 140 }) {
        QByteArray record(size, '\x5a');
        const QByteArray before = record;
        try {
            ini.readRecord(section, key, record);
            FUZZ_CHECK(record.size() == size);
        } catch (const IniConversionError &) {
            // A rejected value leaves the record untouched.
            FUZZ_CHECK(record == before);
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    IniFile ini;
    ini.parse(fuzzBytes(data, size));

    for (const QString &section : ini.sectionNames()) {
        const QStringList keys = ini.keys(section);
        for (qsizetype i = 0; i < keys.size() && i < MaxKeysPerSection; ++i)
            readEveryKind(ini, section, keys[i]);
    }
    // The keys the program itself reads, present or not.
    const QString config = QStringLiteral("Config");
    FUZZ_CHECK(
        ini.readString(config, QStringLiteral("\x01none"), QStringLiteral("d")) == QStringLiteral("d"));
    for (const char *key : { "Name", "Modecount", "Image", "readonly", "ModeDescriptor", "AntiTremor" }) {
        if (ini.hasKey(config, QString::fromLatin1(key)))
            readEveryKind(ini, config, QString::fromLatin1(key));
    }

    // A rewrite keeps everything it read: written out and read again, the
    // content gives the same bytes once more.
    const QByteArray written = ini.serialize();
    IniFile again;
    again.parse(written);
    FUZZ_CHECK(again.sectionNames() == ini.sectionNames());
    for (const QString &section : ini.sectionNames()) {
        const QStringList keys = ini.keys(section);
        FUZZ_CHECK(again.keys(section) == keys);
        for (qsizetype i = 0; i < keys.size() && i < MaxKeysPerSection; ++i)
            FUZZ_CHECK(again.readString(section, keys[i]) == ini.readString(section, keys[i]));
    }
    FUZZ_CHECK(again.serialize() == written);

    // A value written by the program reads back as written, blanks at its
    // ends aside, and does not disturb the other keys.
    again.writeString(config, QStringLiteral("Name"), ini.readString(config, QStringLiteral("Name")));
    again.writeRecord(config, QStringLiteral("AntiTremor"), QByteArray::fromRawData("\x1e\x00\xc8\x00", 4));
    IniFile third;
    third.parse(again.serialize());
    FUZZ_CHECK(
        third.readString(config, QStringLiteral("Name")) == ini.readString(config, QStringLiteral("Name")));
    FUZZ_CHECK(third.readString(config, QStringLiteral("AntiTremor")) == QStringLiteral("1E00C800"));
    return 0;
}
