#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QDateTime>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <stdexcept>

// A value that cannot be converted (an integer key holding text, a record
// value with a pair that is not two hex digits).
class IniConversionError : public std::runtime_error
{
public:
    explicit IniConversionError(const QString &message)
        : std::runtime_error(message.toStdString())
    {
    }
};

// The INI text format shared by setup files and Config.ini. The content is
// held in memory; load() reads the file whole and save() writes it whole
// (temporary file + rename, so a crash mid-write never loses the old file).
// Section names and keys match without regard to case.
class IniFile
{
public:
    IniFile() = default;
    // Sets the path and reads the file, so a write that follows starts from
    // its current content; call load() to learn whether the read succeeded.
    explicit IniFile(const QString &path);

    QString path() const { return m_path; }
    void setPath(const QString &path) { m_path = path; }

    // Reads the file; a missing file reads as empty. Returns false only when
    // an existing file could not be read; the content is then empty.
    bool load();
    // Writes the whole content back, creating missing folders first.
    // Returns false when the file could not be written.
    bool save() const;

    // Parsing and formatting of the text itself (byte-order mark handling,
    // CR LF line ends) without touching the disk. Text without a byte-order
    // mark is Windows-1252. Output is Windows-1252 without a mark when every
    // character fits, otherwise UTF-8 with a mark so that nothing is lost;
    // text that is not valid Unicode (a lone UTF-16 surrogate read from a
    // UTF-16 file) has no UTF-8 form and is written as UTF-16 LE with a mark.
    // Parsing time is linear in the size of the text.
    void parse(const QByteArray &data);
    QByteArray serialize() const;

    // Section names in file order, and the keys of a section in line order
    // (lines without "=" are not keys).
    QStringList sectionNames() const;
    QStringList keys(const QString &section) const;

    bool hasKey(const QString &section, const QString &key) const;
    QString readString(const QString &section, const QString &key, const QString &def = {}) const;
    // Empty value reads as 0, missing key gives def, other text throws.
    int readInteger(const QString &section, const QString &key, int def) const;
    // "TRUE"/"YES"/"Y", "FALSE"/"NO"/"N" in any case; else integer, non-zero
    // meaning true; missing key gives def.
    bool readBool(const QString &section, const QString &key, bool def) const;
    // Decodes the hex value into record in place: bytes beyond the decoded
    // count keep their contents; a missing key changes nothing. Throws
    // IniConversionError on a pair that is not two hex digits.
    void readRecord(const QString &section, const QString &key, QByteArray &record) const;

    void writeString(const QString &section, const QString &key, const QString &value);
    void writeInteger(const QString &section, const QString &key, int value);
    void writeBool(const QString &section, const QString &key, bool value);
    void writeRecord(const QString &section, const QString &key, QByteArrayView bytes);

    static QString encodeRecord(QByteArrayView bytes);
    static void decodeRecord(const QString &value, QByteArray &record);

private:
    struct Entry
    {
        QString key;
        QString value;
        // A line without "=": it matches no key but is written back as it
        // was, so a rewrite does not drop it.
        bool raw = false;
    };
    struct Section
    {
        QString name;
        QList<Entry> entries;
    };

    const Entry *findEntry(const QString &section, const QString &key) const;
    const Section *findSection(const QString &section) const;
    Section *findSection(const QString &section);
    Section &addSection(const QString &name);
    void clear();
    void setValue(const QString &section, const QString &key, const QString &value);

    QString m_path;
    QList<Section> m_sections;
    // Case-folded section name -> index into m_sections, so that a file with
    // many sections does not cost a scan of all earlier ones per section.
    QHash<QString, qsizetype> m_sectionIndex;
};
