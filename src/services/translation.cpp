#include "translation.h"

#include <QCoreApplication>
#include <QFile>
#include <QtEndian>
#include <optional>

namespace {

constexpr quint32 MoMagic = 0x950412de;
constexpr quint32 MoMagicSwapped = 0xde120495;
// Catalogues are small; anything larger is not one of ours.
constexpr qint64 MaxCatalogueSize = 64 * 1024 * 1024;
constexpr char ContextSeparator = '\x04';

// Bounds-checked view of the raw file.
class MoData
{
public:
    explicit MoData(const QByteArray &data)
        : m_data(data)
    {
    }

    bool readMagic()
    {
        const auto magic = u32(0);
        if (!magic)
            return false;
        if (*magic == MoMagic)
            return true;
        if (*magic == MoMagicSwapped) {
            m_bigEndian = true;
            return true;
        }
        return false;
    }

    std::optional<quint32> u32(quint64 offset) const
    {
        if (offset + 4 > quint64(m_data.size()))
            return std::nullopt;
        const auto *p = reinterpret_cast<const uchar *>(m_data.constData()) + offset;
        return m_bigEndian ? qFromBigEndian<quint32>(p) : qFromLittleEndian<quint32>(p);
    }

    // The string described by the (length, offset) descriptor at descOffset.
    // Strings are NUL-terminated in the file; the length excludes the NUL.
    std::optional<QByteArray> string(quint64 descOffset) const
    {
        const auto length = u32(descOffset);
        const auto offset = u32(descOffset + 4);
        if (!length || !offset)
            return std::nullopt;
        const quint64 end = quint64(*offset) + *length;
        if (end >= quint64(m_data.size()) || m_data.at(qsizetype(end)) != '\0')
            return std::nullopt;
        return QByteArray(m_data.constData() + *offset, qsizetype(*length));
    }

    quint64 size() const { return quint64(m_data.size()); }

private:
    const QByteArray &m_data;
    bool m_bigEndian = false;
};

QString charsetFromHeader(const QByteArray &header)
{
    for (const QByteArray &line : header.split('\n')) {
        if (!line.trimmed().toLower().startsWith("content-type:"))
            continue;
        const qsizetype at = line.toLower().indexOf("charset=");
        if (at < 0)
            break;
        QByteArray value = line.mid(at + 8);
        qsizetype end = 0;
        while (end < value.size() && value.at(end) != ';' && value.at(end) != ' ' && value.at(end) != '\t'
            && value.at(end) != '\r')
            ++end;
        value.truncate(end);
        return QString::fromLatin1(value);
    }
    return {};
}

bool isUtf8Charset(const QString &charset)
{
    const QString c = charset.toLower();
    return c == QLatin1String("utf-8") || c == QLatin1String("utf8");
}

} // namespace

MoCatalogue MoCatalogue::fromData(const QByteArray &data)
{
    MoCatalogue result;
    if (qint64(data.size()) > MaxCatalogueSize)
        return result;

    MoData mo(data);
    if (!mo.readMagic())
        return result;
    const auto revision = mo.u32(4);
    const auto count = mo.u32(8);
    const auto origTable = mo.u32(12);
    const auto transTable = mo.u32(16);
    const auto hashSize = mo.u32(20);
    const auto hashTable = mo.u32(24);
    if (!revision || !count || !origTable || !transTable || !hashSize || !hashTable)
        return result;
    // Major revisions 0 and 1 share the plain string tables read here (1 only
    // adds system-dependent strings, which we do not use); minor revisions
    // are compatible by definition.
    if ((*revision >> 16) > 1)
        return result;
    if (quint64(*origTable) + quint64(*count) * 8 > mo.size()
        || quint64(*transTable) + quint64(*count) * 8 > mo.size())
        return result;
    // The hash table is not used for lookup, but one pointing outside the
    // file means the file is damaged.
    if (*hashSize != 0 && quint64(*hashTable) + quint64(*hashSize) * 4 > mo.size())
        return result;

    QList<QPair<QByteArray, QByteArray>> raw;
    raw.reserve(qsizetype(*count));
    QByteArray header;
    QByteArray previousId;
    for (quint32 i = 0; i < *count; ++i) {
        const auto id = mo.string(*origTable + quint64(i) * 8);
        const auto str = mo.string(*transTable + quint64(i) * 8);
        if (!id || !str)
            return result;
        // Ids are stored in strictly ascending byte order (readers without a
        // hash table search them binarily); anything else is damage.
        if (i > 0 && !(previousId < *id))
            return result;
        previousId = *id;
        if (id->isEmpty())
            header = *str;
        else
            raw.append({ *id, *str });
    }

    QString charset = charsetFromHeader(header);
    if (charset.isEmpty())
        charset = QStringLiteral("UTF-8");
    const bool utf8 = isUtf8Charset(charset);
    const auto decode = [utf8](const QByteArray &bytes) {
        return utf8 ? QString::fromUtf8(bytes) : QString::fromLatin1(bytes);
    };

    result.m_charset = charset;
    for (const auto &[id, str] : std::as_const(raw)) {
        // Plural entries: "singular\0plural" -> "form0\0form1...".
        const QByteArray singular = id.left(id.indexOf('\0') < 0 ? id.size() : id.indexOf('\0'));
        const QByteArray firstForm = str.left(str.indexOf('\0') < 0 ? str.size() : str.indexOf('\0'));
        // Only the header has an empty id; a plural entry without a singular
        // would otherwise answer a lookup of the empty text.
        if (firstForm.isEmpty() || singular.isEmpty())
            continue;
        auto &table = singular.contains(ContextSeparator) ? result.m_contextMessages : result.m_messages;
        const QString key = decode(singular);
        if (!table.contains(key))
            table.insert(key, decode(firstForm));
    }
    return result;
}

MoCatalogue MoCatalogue::fromFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > MaxCatalogueSize)
        return {};
    return fromData(file.readAll());
}

QString MoCatalogue::lookup(const QString &context, const QString &msgid) const
{
    if (context.isNull())
        return lookup(msgid);
    return m_contextMessages.value(context + QLatin1Char(ContextSeparator) + msgid);
}

namespace {

// Translation state of the process. Only the user-interface thread
// translates, so no locking.
struct TranslationState
{
    QHash<QString, QString> boundPaths;
    QString language;
    MoCatalogue catalogue;
    bool stale = true;
};

TranslationState &state()
{
    static TranslationState s;
    return s;
}

const MoCatalogue &currentCatalogue()
{
    TranslationState &s = state();
    if (s.stale) {
        s.stale = false;
        QString path = s.boundPaths.value(QStringLiteral("default"));
        if (path.isEmpty() && !s.language.isEmpty())
            path = catalogueFileFor(s.language);
        s.catalogue = path.isEmpty() ? MoCatalogue() : MoCatalogue::fromFile(path);
    }
    return s.catalogue;
}

} // namespace

void bindTextDomain(const QString &domain, const QString &moPath)
{
    state().boundPaths.insert(domain, moPath);
    state().stale = true;
}

void setCurrentLanguage(const QString &code)
{
    state().language = code;
    state().stale = true;
}

QString currentLanguage()
{
    return state().language;
}

QString catalogueFileFor(const QString &code)
{
    return QCoreApplication::applicationDirPath() + QLatin1Char('/') + code + QStringLiteral(".locale");
}

QString tx(const char *msgid)
{
    return tx(QString::fromUtf8(msgid));
}

QString tx(const QString &msgid)
{
    if (msgid.isEmpty())
        return msgid;
    const QString translated = currentCatalogue().lookup(msgid);
    return translated.isNull() ? msgid : translated;
}
