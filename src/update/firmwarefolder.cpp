#include "update/firmwarefolder.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

namespace {

bool isAsciiDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// The order of a file manager: runs of digits by their value, everything
// else without regard to case; ties by the plain text. Done here rather
// than by the locale's collation, which without ICU ignores numbers.
bool naturalLess(const QString &a, const QString &b)
{
    qsizetype i = 0;
    qsizetype j = 0;
    while (i < a.size() && j < b.size()) {
        if (isAsciiDigit(a[i]) && isAsciiDigit(b[j])) {
            qsizetype ei = i;
            qsizetype ej = j;
            while (ei < a.size() && isAsciiDigit(a[ei]))
                ++ei;
            while (ej < b.size() && isAsciiDigit(b[ej]))
                ++ej;
            // Leading zeros do not count; then the longer run is larger.
            QStringView da = QStringView(a).sliced(i, ei - i);
            QStringView db = QStringView(b).sliced(j, ej - j);
            while (da.size() > 1 && da.front() == QLatin1Char('0'))
                da = da.sliced(1);
            while (db.size() > 1 && db.front() == QLatin1Char('0'))
                db = db.sliced(1);
            if (da.size() != db.size())
                return da.size() < db.size();
            if (const int c = da.compare(db); c != 0)
                return c < 0;
            i = ei;
            j = ej;
            continue;
        }
        const QChar ca = a[i].toCaseFolded();
        const QChar cb = b[j].toCaseFolded();
        if (ca != cb)
            return ca < cb;
        ++i;
        ++j;
    }
    if ((i < a.size()) != (j < b.size()))
        return j < b.size();
    return a < b;
}

} // namespace

QString firmwareFolder(const QString &personalDatapath)
{
    QString folder = personalDatapath;
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    return folder + QStringLiteral("FWUpdate/");
}

QString firmwareMask(int variation)
{
    return QStringLiteral("Velotrix_V1.%1.??.hex").arg(variation);
}

bool GetFilenames(const QString &folder, const QString &mask, QStringList &list)
{
    list.clear();
    QDir dir(folder);
    // Matched without regard to case, so "VELOTRIX_V1.3.12.HEX" is listed too.
    dir.setNameFilters({ mask });
    dir.setFilter(QDir::Files | QDir::Hidden);
    list = dir.entryList();
    std::stable_sort(
        list.begin(), list.end(), [](const QString &a, const QString &b) { return naturalLess(a, b); });
    return !list.isEmpty();
}

int FindNewUpdate(const QStringList &names, int build)
{
    for (int i = 0; i < names.size(); ++i) {
        const QString digits = names[i].mid(14, 2);
        const auto ascii = [](QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); };
        if (digits.size() != 2 || !ascii(digits[0]) || !ascii(digits[1]))
            continue;
        if (digits.toInt() > build)
            return i;
    }
    return -1;
}

QString eepromPathOf(const QString &firmwarePath)
{
    const QFileInfo info(firmwarePath);
    const QString dir = info.path();
    const QString name = info.completeBaseName() + QStringLiteral(".eep");
    return firmwarePath.contains(QLatin1Char('/')) ? dir + QLatin1Char('/') + name : name;
}
