#include "mocatalogue.h"

#include <QFile>
#include <QList>
#include <QtEndian>
#include <algorithm>

bool writeMoCatalogue(const QString &path, const QMap<QString, QString> &messages)
{
    QList<QPair<QByteArray, QByteArray>> entries;
    entries.append({ QByteArray(), QByteArray("Content-Type: text/plain; charset=UTF-8\n") });
    for (auto it = messages.cbegin(); it != messages.cend(); ++it)
        entries.append({ it.key().toUtf8(), it.value().toUtf8() });
    // Readers expect the ids in byte order.
    std::sort(entries.begin(), entries.end(), [](const auto &a, const auto &b) { return a.first < b.first; });

    const quint32 count = quint32(entries.size());
    const quint32 origTable = 28;
    const quint32 transTable = origTable + count * 8;
    QByteArray header(28, '\0');
    QByteArray tables(int(count) * 16, '\0');
    QByteArray strings;
    quint32 stringBase = transTable + count * 8;
    const auto put = [](QByteArray &where, int at, quint32 value) {
        qToLittleEndian<quint32>(value, where.data() + at);
    };
    put(header, 0, 0x950412de);
    put(header, 8, count);
    put(header, 12, origTable);
    put(header, 16, transTable);
    put(header, 24, stringBase);
    for (int pass = 0; pass < 2; ++pass) {
        for (quint32 i = 0; i < count; ++i) {
            const QByteArray &s = pass == 0 ? entries.at(i).first : entries.at(i).second;
            const int desc = int((pass == 0 ? 0 : count * 8) + i * 8);
            put(tables, desc, quint32(s.size()));
            put(tables, desc + 4, stringBase + quint32(strings.size()));
            strings += s;
            strings += '\0';
        }
    }
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    return file.write(header + tables + strings) == header.size() + tables.size() + strings.size();
}
