#include "setups/inifile.h"

#include "device/hexdigit.h"
#include "services/translation.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>
#include <array>
#include <optional>

namespace {

// Windows-1252 bytes 0x80..0x9F. The five bytes the code page leaves
// undefined map to the C1 control of the same number, as Windows itself
// does, so they survive a read and a write.
constexpr std::array<char16_t, 32> kCp1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, //
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F, //
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, //
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178, //
};

QString decodeCp1252(QByteArrayView bytes)
{
    QString text;
    text.reserve(bytes.size());
    for (char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        text.append(b >= 0x80 && b <= 0x9F ? QChar(kCp1252High[b - 0x80]) : QChar(static_cast<char16_t>(b)));
    }
    return text;
}

std::optional<char> cp1252Byte(QChar ch)
{
    const char16_t u = ch.unicode();
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF))
        return static_cast<char>(u);
    for (std::size_t i = 0; i < kCp1252High.size(); ++i) {
        if (kCp1252High[i] == u)
            return static_cast<char>(0x80 + i);
    }
    return std::nullopt;
}

// Windows-1252 when every character has a byte there, otherwise nothing.
std::optional<QByteArray> encodeCp1252(const QString &text)
{
    QByteArray bytes;
    bytes.reserve(text.size());
    for (QChar ch : text) {
        const std::optional<char> b = cp1252Byte(ch);
        if (!b)
            return std::nullopt;
        bytes.append(*b);
    }
    return bytes;
}

QString decodeText(const QByteArray &data)
{
    const QByteArrayView view(data);
    if (view.startsWith("\xEF\xBB\xBF"))
        return QStringDecoder(QStringConverter::Utf8).decode(view.sliced(3));
    if (view.startsWith("\xFF\xFE"))
        return QStringDecoder(QStringConverter::Utf16LE).decode(view.sliced(2));
    if (view.startsWith("\xFE\xFF"))
        return QStringDecoder(QStringConverter::Utf16BE).decode(view.sliced(2));
    return decodeCp1252(view);
}

QByteArray utf16LeWithMark(const QString &text)
{
    QByteArray bytes;
    bytes.reserve(2 + 2 * text.size());
    bytes.append("\xFF\xFE", 2);
    for (QChar ch : text) {
        const char16_t u = ch.unicode();
        bytes.append(static_cast<char>(u & 0xFF));
        bytes.append(static_cast<char>(u >> 8));
    }
    return bytes;
}

bool isBlankOrControl(QChar ch)
{
    return ch.unicode() <= 0x20;
}

QString strip(QStringView s)
{
    qsizetype from = 0;
    qsizetype to = s.size();
    while (from < to && isBlankOrControl(s[from]))
        ++from;
    while (to > from && isBlankOrControl(s[to - 1]))
        --to;
    return s.sliced(from, to - from).toString();
}

// Line breaks inside a key or value would split its line on the next read
// and could smuggle in keys or sections of their own.
QString singleLine(QString s)
{
    s.replace(QLatin1Char('\r'), QLatin1Char(' '));
    s.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return s;
}

// Decodes the hex value over a copy of record; the bad pair on failure, so
// a failed decode leaves the caller's record untouched.
std::optional<QString> decodeHexInto(const QString &value, QByteArray &record)
{
    const QString digits = value.size() % 2 != 0 ? QLatin1Char('0') + value : value;
    const qsizetype count = std::min<qsizetype>(record.size(), digits.size() / 2);
    QByteArray decoded = record;
    for (qsizetype i = 0; i < count; ++i) {
        const int hi = hexDigitValue(digits[2 * i]);
        const int lo = hexDigitValue(digits[2 * i + 1]);
        if (hi < 0 || lo < 0)
            return digits.mid(2 * i, 2);
        decoded[i] = static_cast<char>(hi * 16 + lo);
    }
    record = decoded;
    return std::nullopt;
}

std::optional<int> parseInteger(const QString &value)
{
    if (value.isEmpty())
        return 0;
    bool ok = false;
    const int v = value.toInt(&ok, 10);
    if (!ok)
        return std::nullopt;
    return v;
}

} // namespace

IniFile::IniFile(const QString &path)
    : m_path(path)
{
    load();
}

void IniFile::clear()
{
    m_sections.clear();
    m_sectionIndex.clear();
}

bool IniFile::load()
{
    clear();
    QFile file(m_path);
    if (!file.exists())
        return true;
    if (!file.open(QIODevice::ReadOnly))
        return false;
    parse(file.readAll());
    return true;
}

bool IniFile::save() const
{
    if (m_path.isEmpty())
        return false;
    if (!QFileInfo(m_path).absoluteDir().mkpath(QStringLiteral(".")))
        return false;
    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QByteArray data = serialize();
    if (file.write(data) != data.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

void IniFile::parse(const QByteArray &data)
{
    clear();
    const QString text = decodeText(data);
    Section *current = nullptr;

    qsizetype pos = 0;
    while (pos <= text.size()) {
        // Lines end in CR LF, LF or CR.
        qsizetype end = pos;
        while (end < text.size() && text[end] != QLatin1Char('\r') && text[end] != QLatin1Char('\n'))
            ++end;
        const QString line = strip(QStringView(text).sliced(pos, end - pos));
        if (end < text.size() && text[end] == QLatin1Char('\r') && end + 1 < text.size()
            && text[end + 1] == QLatin1Char('\n'))
            ++end;
        pos = end + 1;

        if (line.isEmpty() || line.startsWith(QLatin1Char(';')))
            continue;
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            const QString name = strip(QStringView(line).sliced(1, line.size() - 2));
            // A section that appears twice continues the first one.
            current = findSection(name);
            if (!current)
                current = &addSection(name);
            continue;
        }
        if (!current)
            continue;
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq < 0)
            current->entries.append(Entry { line, QString(), true });
        else
            current->entries.append(
                Entry { strip(QStringView(line).first(eq)), strip(QStringView(line).sliced(eq + 1)), false });
    }
}

QByteArray IniFile::serialize() const
{
    QString text;
    const QLatin1String crlf("\r\n");
    for (const Section &section : m_sections) {
        text += QLatin1Char('[') + section.name + QLatin1Char(']') + crlf;
        for (const Entry &entry : section.entries) {
            if (entry.raw)
                text += entry.key + crlf;
            else
                text += entry.key + QLatin1Char('=') + entry.value + crlf;
        }
        text += crlf;
    }
    if (const std::optional<QByteArray> ansi = encodeCp1252(text))
        return *ansi;
    // Characters outside the 8-bit code page would be lost there; UTF-8 with
    // its byte-order mark keeps them and reads back through the same rules.
    if (text.isValidUtf16())
        return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
    // A lone surrogate (read from a UTF-16 file) has no UTF-8 form and would
    // come back as "?"; UTF-16 holds any sequence of code units as it is.
    return utf16LeWithMark(text);
}

QStringList IniFile::sectionNames() const
{
    QStringList names;
    names.reserve(m_sections.size());
    for (const Section &s : m_sections)
        names.append(s.name);
    return names;
}

QStringList IniFile::keys(const QString &section) const
{
    QStringList result;
    if (const Section *s = findSection(section)) {
        for (const Entry &e : s->entries) {
            if (!e.raw)
                result.append(e.key);
        }
    }
    return result;
}

const IniFile::Section *IniFile::findSection(const QString &section) const
{
    const auto it = m_sectionIndex.constFind(section.toCaseFolded());
    return it == m_sectionIndex.constEnd() ? nullptr : &m_sections[*it];
}

IniFile::Section *IniFile::findSection(const QString &section)
{
    const auto it = m_sectionIndex.constFind(section.toCaseFolded());
    return it == m_sectionIndex.constEnd() ? nullptr : &m_sections[*it];
}

IniFile::Section &IniFile::addSection(const QString &name)
{
    m_sectionIndex.insert(name.toCaseFolded(), m_sections.size());
    m_sections.append(Section { name, {} });
    return m_sections.last();
}

const IniFile::Entry *IniFile::findEntry(const QString &section, const QString &key) const
{
    const Section *s = findSection(section);
    if (!s)
        return nullptr;
    for (const Entry &e : s->entries) {
        if (!e.raw && e.key.compare(key, Qt::CaseInsensitive) == 0)
            return &e;
    }
    return nullptr;
}

void IniFile::setValue(const QString &section, const QString &key, const QString &value)
{
    const QString k = singleLine(key);
    const QString v = singleLine(value);
    const QString name = singleLine(section);
    Section *s = findSection(name);
    if (!s)
        s = &addSection(name);
    for (Entry &e : s->entries) {
        if (!e.raw && e.key.compare(k, Qt::CaseInsensitive) == 0) {
            e.key = k;
            e.value = v;
            return;
        }
    }
    s->entries.append(Entry { k, v, false });
}

bool IniFile::hasKey(const QString &section, const QString &key) const
{
    return findEntry(section, key) != nullptr;
}

QString IniFile::readString(const QString &section, const QString &key, const QString &def) const
{
    const Entry *e = findEntry(section, key);
    return e ? e->value : def;
}

int IniFile::readInteger(const QString &section, const QString &key, int def) const
{
    const Entry *e = findEntry(section, key);
    if (!e)
        return def;
    const std::optional<int> v = parseInteger(e->value);
    if (!v)
        throw IniConversionError(tx("\"%1\" is not a valid integer value for \"%2\"").arg(e->value, key));
    return *v;
}

bool IniFile::readBool(const QString &section, const QString &key, bool def) const
{
    const Entry *e = findEntry(section, key);
    if (!e)
        return def;
    const QString upper = e->value.toUpper();
    if (upper == QLatin1String("TRUE") || upper == QLatin1String("YES") || upper == QLatin1String("Y"))
        return true;
    if (upper == QLatin1String("FALSE") || upper == QLatin1String("NO") || upper == QLatin1String("N"))
        return false;
    const std::optional<int> v = parseInteger(e->value);
    if (!v)
        throw IniConversionError(tx("\"%1\" is not a valid boolean value for \"%2\"").arg(e->value, key));
    return *v != 0;
}

void IniFile::readRecord(const QString &section, const QString &key, QByteArray &record) const
{
    const Entry *e = findEntry(section, key);
    if (!e)
        return;
    if (const std::optional<QString> bad = decodeHexInto(e->value, record))
        throw IniConversionError(
            tx("\"%1\" in the value of \"%2\" is not a hexadecimal byte").arg(*bad, key));
}

void IniFile::writeString(const QString &section, const QString &key, const QString &value)
{
    setValue(section, key, value);
}

void IniFile::writeInteger(const QString &section, const QString &key, int value)
{
    setValue(section, key, QString::number(value));
}

void IniFile::writeBool(const QString &section, const QString &key, bool value)
{
    setValue(section, key, value ? QStringLiteral("TRUE") : QStringLiteral("FALSE"));
}

void IniFile::writeRecord(const QString &section, const QString &key, QByteArrayView bytes)
{
    setValue(section, key, encodeRecord(bytes));
}

QString IniFile::encodeRecord(QByteArrayView bytes)
{
    return QString::fromLatin1(bytes.toByteArray().toHex().toUpper());
}

void IniFile::decodeRecord(const QString &value, QByteArray &record)
{
    if (const std::optional<QString> bad = decodeHexInto(value, record))
        throw IniConversionError(
            tx("\"%1\" in the record value \"%2\" is not a hexadecimal byte").arg(*bad, value));
}
