// Checks the German catalogue against the sources: every message id the
// program passes to tx() or marks with N_() needs a German translation, and
// translations keep the placeholders of their ids.

#include <QDirIterator>
#include <QFile>
#include <QMap>
#include <QRegularExpression>
#include <QTest>

namespace {

struct Message
{
    QString id;
    QString where; // file:line of the first use
};

bool isIdentChar(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

void appendCodePoint(QByteArray &out, char32_t cp)
{
    out += QString::fromUcs4(&cp, 1).toUtf8();
}

// Reads C/C++ source text: comments, character literals and string literals
// (with escapes, adjacent literals and raw strings) as the compiler sees them.
class SourceScanner
{
public:
    explicit SourceScanner(const QByteArray &text)
        : m_s(text)
    {
    }

    // Message ids of tx("...") and N_("...") calls whose argument is made of
    // string literals only, with their line numbers.
    QList<QPair<QString, int>> messages()
    {
        QList<QPair<QString, int>> found;
        while (m_pos < m_s.size()) {
            if (skipCommentOrLiteral())
                continue;
            const char c = m_s.at(m_pos);
            if (!isIdentChar(c)) {
                ++m_pos;
                continue;
            }
            const qsizetype start = m_pos;
            while (m_pos < m_s.size() && isIdentChar(m_s.at(m_pos)))
                ++m_pos;
            const QByteArray word = m_s.mid(start, m_pos - start);
            if (word != "tx" && word != "N_")
                continue;
            const int line = lineAt(start);
            const qsizetype after = m_pos;
            if (auto id = literalArgument())
                found.append({ QString::fromUtf8(*id), line });
            else
                m_pos = after;
        }
        return found;
    }

private:
    int lineAt(qsizetype pos) const { return int(m_s.left(pos).count('\n')) + 1; }

    void skipSpaceAndComments()
    {
        for (;;) {
            while (m_pos < m_s.size() && QChar::isSpace(uchar(m_s.at(m_pos))))
                ++m_pos;
            if (m_s.mid(m_pos, 2) == "//") {
                m_pos = m_s.indexOf('\n', m_pos);
                if (m_pos < 0)
                    m_pos = m_s.size();
            } else if (m_s.mid(m_pos, 2) == "/*") {
                const qsizetype end = m_s.indexOf("*/", m_pos + 2);
                m_pos = end < 0 ? m_s.size() : end + 2;
            } else {
                return;
            }
        }
    }

    bool skipCommentOrLiteral()
    {
        const qsizetype before = m_pos;
        skipSpaceAndComments();
        if (m_pos != before)
            return true;
        if (m_pos < m_s.size() && m_s.at(m_pos) == '\'') {
            ++m_pos;
            while (m_pos < m_s.size() && m_s.at(m_pos) != '\'')
                m_pos += m_s.at(m_pos) == '\\' ? 2 : 1;
            ++m_pos;
            return true;
        }
        if (startsLiteral()) {
            readLiteral();
            return true;
        }
        return false;
    }

    // A string literal with an optional encoding prefix, or a raw one.
    bool startsLiteral() const
    {
        static const QRegularExpression prefix(QStringLiteral("^(u8|u|U|L)?R?\""));
        if (m_pos > 0 && isIdentChar(m_s.at(m_pos - 1)))
            return false;
        return prefix.match(QString::fromLatin1(m_s.mid(m_pos, 4))).hasMatch();
    }

    QByteArray readLiteral()
    {
        while (m_s.at(m_pos) != '"' && m_s.at(m_pos) != 'R')
            ++m_pos;
        QByteArray out;
        if (m_s.at(m_pos) == 'R') {
            const qsizetype open = m_s.indexOf('(', m_pos);
            const QByteArray delimiter = ')' + m_s.mid(m_pos + 2, open - m_pos - 2) + '"';
            const qsizetype close = m_s.indexOf(delimiter, open);
            out = m_s.mid(open + 1, close - open - 1);
            m_pos = close + delimiter.size();
            return out;
        }
        ++m_pos;
        while (m_pos < m_s.size() && m_s.at(m_pos) != '"') {
            const char c = m_s.at(m_pos++);
            if (c != '\\') {
                out += c;
                continue;
            }
            const char e = m_s.at(m_pos++);
            switch (e) {
            case 'n':
                out += '\n';
                break;
            case 't':
                out += '\t';
                break;
            case 'r':
                out += '\r';
                break;
            case 'a':
                out += '\a';
                break;
            case 'b':
                out += '\b';
                break;
            case 'f':
                out += '\f';
                break;
            case 'v':
                out += '\v';
                break;
            case 'x': {
                int value = 0;
                while (m_pos < m_s.size() && hexValue(m_s.at(m_pos)) >= 0)
                    value = value * 16 + hexValue(m_s.at(m_pos++));
                out += char(value);
                break;
            }
            case 'u':
            case 'U': {
                char32_t cp = 0;
                for (int i = 0; i < (e == 'u' ? 4 : 8); ++i)
                    cp = cp * 16 + char32_t(hexValue(m_s.at(m_pos++)));
                appendCodePoint(out, cp);
                break;
            }
            default:
                if (e >= '0' && e <= '7') {
                    int value = e - '0';
                    for (int i = 0;
                         i < 2 && m_pos < m_s.size() && m_s.at(m_pos) >= '0' && m_s.at(m_pos) <= '7'; ++i)
                        value = value * 8 + (m_s.at(m_pos++) - '0');
                    out += char(value);
                } else {
                    out += e; // \" \' \\ \?
                }
            }
        }
        ++m_pos;
        return out;
    }

    // "(" literal... ")" with optional QStringLiteral( ) around the literals.
    std::optional<QByteArray> literalArgument()
    {
        skipSpaceAndComments();
        if (m_pos >= m_s.size() || m_s.at(m_pos) != '(')
            return std::nullopt;
        ++m_pos;
        skipSpaceAndComments();
        bool wrapped = false;
        if (m_s.mid(m_pos, 15) == "QStringLiteral(") {
            wrapped = true;
            m_pos += 15;
            skipSpaceAndComments();
        }
        QByteArray id;
        bool any = false;
        while (startsLiteral()) {
            id += readLiteral();
            any = true;
            skipSpaceAndComments();
        }
        if (!any)
            return std::nullopt;
        if (wrapped) {
            if (m_pos >= m_s.size() || m_s.at(m_pos) != ')')
                return std::nullopt;
            ++m_pos;
            skipSpaceAndComments();
        }
        if (m_pos >= m_s.size() || m_s.at(m_pos) != ')')
            return std::nullopt;
        return id;
    }

    const QByteArray m_s;
    qsizetype m_pos = 0;
};

QString unescapePo(const QString &s)
{
    QString out;
    for (qsizetype i = 0; i < s.size(); ++i) {
        if (s.at(i) != QLatin1Char('\\') || i + 1 == s.size()) {
            out += s.at(i);
            continue;
        }
        const QChar e = s.at(++i);
        out += e == QLatin1Char('n') ? QChar(QLatin1Char('\n'))
            : e == QLatin1Char('t')  ? QChar(QLatin1Char('\t'))
            : e == QLatin1Char('r')  ? QChar(QLatin1Char('\r'))
                                     : e;
    }
    return out;
}

// Translations of a .po file that msgfmt would compile: no context, not
// fuzzy, not empty.
QMap<QString, QString> readPo(const QString &path, QString *error)
{
    QMap<QString, QString> result;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        *error = QStringLiteral("cannot read ") + path;
        return result;
    }
    QString msgctxt, msgid, msgstr, *current = nullptr;
    bool fuzzy = false;
    bool hasContext = false;
    const auto flush = [&] {
        if (!msgid.isEmpty() && !msgstr.isEmpty() && !fuzzy && !hasContext)
            result.insert(msgid, msgstr);
        msgctxt.clear();
        msgid.clear();
        msgstr.clear();
        current = nullptr;
        fuzzy = hasContext = false;
    };
    static const QRegularExpression keyword(
        QStringLiteral(R"(^(msgctxt|msgid|msgid_plural|msgstr(?:\[(\d+)\])?)\s+\"(.*)\"\s*$)"));
    static const QRegularExpression continuation(QStringLiteral(R"(^\"(.*)\"\s*$)"));
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    QString ignored;
    for (const QString &raw : lines) {
        const QString line = raw.trimmed();
        if (line.isEmpty())
            continue;
        if (line.startsWith(QLatin1String("#,")) && line.contains(QLatin1String("fuzzy"))) {
            if (current)
                flush();
            fuzzy = true;
            continue;
        }
        if (line.startsWith(QLatin1Char('#')))
            continue;
        if (const auto m = keyword.match(line); m.hasMatch()) {
            const QString kw = m.captured(1);
            if ((kw == QLatin1String("msgid") || kw == QLatin1String("msgctxt")) && current
                && current != &msgctxt) {
                const bool keepFuzzy = false;
                flush();
                fuzzy = keepFuzzy;
            }
            if (kw == QLatin1String("msgctxt")) {
                hasContext = true;
                current = &msgctxt;
            } else if (kw == QLatin1String("msgid")) {
                current = &msgid;
            } else if (kw == QLatin1String("msgid_plural")) {
                current = &ignored;
            } else {
                current
                    = (m.captured(2).isEmpty() || m.captured(2) == QLatin1String("0")) ? &msgstr : &ignored;
            }
            *current += unescapePo(m.captured(3));
            continue;
        }
        if (const auto m = continuation.match(line); m.hasMatch() && current) {
            *current += unescapePo(m.captured(1));
            continue;
        }
        *error = QStringLiteral("unreadable line in %1: %2").arg(path, raw);
        return {};
    }
    flush();
    return result;
}

QStringList placeholders(const QString &text)
{
    static const QRegularExpression re(QStringLiteral(R"(%(?:%|[sd]|[1-9]))"));
    QStringList found;
    for (auto it = re.globalMatch(text); it.hasNext();)
        found.append(it.next().captured());
    found.sort();
    return found;
}

} // namespace

class TestCatalogue : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void scanner_data();
    void scanner();
    void everyMessageHasGerman();
    void translationsKeepPlaceholders_data();
    void translationsKeepPlaceholders();
};

void TestCatalogue::scanner_data()
{
    QTest::addColumn<QByteArray>("source");
    QTest::addColumn<QByteArrayList>("ids");

    QTest::newRow("plain") << QByteArray(R"(x = tx("Battery status");)")
                           << QByteArrayList { "Battery status" };
    QTest::newRow("window text") << QByteArray(R"(setText(N_("&Schlie\xc3\x9f" "en"));)")
                                 << QByteArrayList { "&Schließen" };
    QTest::newRow("adjacent literals over lines")
        << QByteArray("tx(\"This will overwrite \" // why\n  \"the parameters.\")")
        << QByteArrayList { "This will overwrite the parameters." };
    QTest::newRow("escapes") << QByteArray(R"(tx("Attention!\r\nSay \"hi\"\t\\ \x41\101\u00e4"))")
                             << QByteArrayList { "Attention!\r\nSay \"hi\"\t\\ AAä" };
    QTest::newRow("QStringLiteral") << QByteArray(R"(tx(QStringLiteral("Wait")))")
                                    << QByteArrayList { "Wait" };
    QTest::newRow("raw string") << QByteArray(R"x(tx(R"(<b>"bold"</b>)"))x")
                                << QByteArrayList { "<b>\"bold\"</b>" };
    QTest::newRow("not a literal") << QByteArray(R"(tx(name); tx(QString("a") + b); N_(text))")
                                   << QByteArrayList {};
    QTest::newRow("other identifiers")
        << QByteArray(R"(ctx("a"); tx_("b"); XN_("c"); obj.tx2("d");)") << QByteArrayList {};
    QTest::newRow("in comments and strings")
        << QByteArray("// tx(\"a\")\n/* N_(\"b\") */ s = \"tx(\\\"c\\\")\"; c = '\"'; tx(\"d\");")
        << QByteArrayList { "d" };
    QTest::newRow("followed by arg") << QByteArray(R"(tx("Delete %1?").arg(n), N_("Time: %d ms"))")
                                     << QByteArrayList { "Delete %1?", "Time: %d ms" };
}

void TestCatalogue::scanner()
{
    QFETCH(QByteArray, source);
    QFETCH(QByteArrayList, ids);
    QByteArrayList found;
    for (const auto &m : SourceScanner(source).messages())
        found.append(m.first.toUtf8());
    QCOMPARE(found, ids);
}

void TestCatalogue::everyMessageHasGerman()
{
    QString error;
    const QMap<QString, QString> german
        = readPo(QStringLiteral(VELOTRIX_SOURCE_DIR "/resources/translations/de.po"), &error);
    QVERIFY2(error.isEmpty(), qPrintable(error));

    QMap<QString, Message> used;
    const QString src = QStringLiteral(VELOTRIX_SOURCE_DIR "/src");
    QDirIterator it(
        src, { QStringLiteral("*.cpp"), QStringLiteral("*.h") }, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        for (const auto &[id, line] : SourceScanner(file.readAll()).messages())
            if (!used.contains(id))
                used.insert(
                    id, Message { id, path.mid(src.size() + 1) + QLatin1Char(':') + QString::number(line) });
    }
    QVERIFY2(!used.isEmpty(), "no message ids found in the sources");

    QStringList missing;
    for (const Message &m : used)
        if (!german.contains(m.id))
            missing.append(QStringLiteral("  %1: \"%2\"").arg(m.where, m.id));
    missing.sort();
    // Test messages are cut short; list every id on its own line.
    for (const QString &line : std::as_const(missing))
        qInfo().noquote() << line;
    QVERIFY2(missing.isEmpty(),
        qPrintable(QStringLiteral("%1 message ids without German translation in de.po (listed above)")
                       .arg(missing.size())));
}

void TestCatalogue::translationsKeepPlaceholders_data()
{
    QTest::addColumn<QString>("po");
    QTest::newRow("de") << QStringLiteral(VELOTRIX_SOURCE_DIR "/resources/translations/de.po");
    QTest::newRow("en") << QStringLiteral(VELOTRIX_SOURCE_DIR "/resources/translations/en.po");
}

void TestCatalogue::translationsKeepPlaceholders()
{
    QFETCH(QString, po);
    QString error;
    const QMap<QString, QString> messages = readPo(po, &error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QVERIFY(!messages.isEmpty());
    QStringList wrong;
    for (auto it = messages.cbegin(); it != messages.cend(); ++it)
        if (placeholders(it.key()) != placeholders(it.value()))
            wrong.append(QStringLiteral("  \"%1\" -> \"%2\"").arg(it.key(), it.value()));
    for (const QString &line : std::as_const(wrong))
        qInfo().noquote() << line;
    QVERIFY2(
        wrong.isEmpty(), qPrintable(QStringLiteral("%1 translations change placeholders").arg(wrong.size())));
}

QTEST_GUILESS_MAIN(TestCatalogue)
#include "tst_catalogue.moc"
