#include "services/translation.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

namespace {

const char *const FixturePo = R"po(msgid ""
msgstr ""
"Content-Type: text/plain; charset=UTF-8\n"
"Plural-Forms: nplurals=2; plural=(n != 1);\n"

msgid "Cancel"
msgstr "Abbrechen"

msgctxt "menu"
msgid "Open"
msgstr "Öffnen (Menü)"

msgctxt "menu"
msgid "Close"
msgstr "Schließen (Menü)"

msgid "Close"
msgstr "Schließen"

msgid "%d file"
msgid_plural "%d files"
msgstr[0] "%d Datei"
msgstr[1] "%d Dateien"

msgid "Line one@line two"
msgstr "Zeile eins@Zeile zwei"

msgid "Size"
msgstr "Größe"

#, fuzzy
msgid "Fuzzy"
msgstr "Unsicher"

msgid "Untranslated"
msgstr ""
)po";

} // namespace

class TestTranslation : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanup();
    void readsMsgfmtOutput_data();
    void readsMsgfmtOutput();
    void readsLatin1Catalogue();
    void damagedHeaderOrTable_data();
    void damagedHeaderOrTable();
    void truncatedFileIsEmpty();
    void bitFlipsDoNotCrash();
    void randomDataIsEmpty();
    void txFollowsBindingAndLanguage();
    void builtCatalogues_data();
    void builtCatalogues();

private:
    QByteArray compile(const QByteArray &po, const QStringList &options);
    QByteArray fixture() { return compile(QByteArray(FixturePo), {}); }

    QTemporaryDir m_dir;
    int m_compiled = 0;
};

void TestTranslation::initTestCase()
{
    QVERIFY(m_dir.isValid());
}

void TestTranslation::cleanup()
{
    bindTextDomain(QStringLiteral("default"), QString());
    setCurrentLanguage(QString());
}

QByteArray TestTranslation::compile(const QByteArray &po, const QStringList &options)
{
    const QString base = m_dir.filePath(QStringLiteral("c%1").arg(++m_compiled));
    QFile poFile(base + QStringLiteral(".po"));
    if (!poFile.open(QIODevice::WriteOnly))
        return {};
    poFile.write(po);
    poFile.close();
    QProcess msgfmt;
    msgfmt.start(QStringLiteral(VELOTRIX_MSGFMT),
        QStringList(options) << QStringLiteral("-o") << base + QStringLiteral(".mo") << poFile.fileName());
    if (!msgfmt.waitForFinished() || msgfmt.exitCode() != 0) {
        qWarning() << msgfmt.readAllStandardError();
        return {};
    }
    QFile mo(base + QStringLiteral(".mo"));
    return mo.open(QIODevice::ReadOnly) ? mo.readAll() : QByteArray();
}

void TestTranslation::readsMsgfmtOutput_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::newRow("little endian, hash") << QStringList();
    QTest::newRow("little endian, no hash") << QStringList { QStringLiteral("--no-hash") };
    QTest::newRow("big endian, hash") << QStringList { QStringLiteral("--endianness=big") };
    QTest::newRow("big endian, no hash")
        << QStringList { QStringLiteral("--endianness=big"), QStringLiteral("--no-hash") };
}

void TestTranslation::readsMsgfmtOutput()
{
    QFETCH(QStringList, options);
    const QByteArray data = compile(QByteArray(FixturePo), options);
    QVERIFY(!data.isEmpty());
    const MoCatalogue cat = MoCatalogue::fromData(data);

    QCOMPARE(cat.charset(), QStringLiteral("UTF-8"));
    QCOMPARE(cat.lookup(QStringLiteral("Cancel")), QStringLiteral("Abbrechen"));
    QCOMPARE(cat.lookup(QStringLiteral("Size")), QStringLiteral("Größe"));
    QCOMPARE(cat.lookup(QStringLiteral("Line one@line two")), QStringLiteral("Zeile eins@Zeile zwei"));
    // Plural entry answers its singular id with the first form.
    QCOMPARE(cat.lookup(QStringLiteral("%d file")), QStringLiteral("%d Datei"));
    QVERIFY(cat.lookup(QStringLiteral("%d files")).isNull());
    // Context entries neither shadow nor stand in for the plain id.
    QCOMPARE(cat.lookup(QStringLiteral("Close")), QStringLiteral("Schließen"));
    QVERIFY(cat.lookup(QStringLiteral("Open")).isNull());
    QCOMPARE(cat.lookup(QStringLiteral("menu"), QStringLiteral("Open")), QStringLiteral("Öffnen (Menü)"));
    QCOMPARE(cat.lookup(QStringLiteral("menu"), QStringLiteral("Close")), QStringLiteral("Schließen (Menü)"));
    // msgfmt leaves out fuzzy and empty entries; the header is no message.
    QVERIFY(cat.lookup(QStringLiteral("Fuzzy")).isNull());
    QVERIFY(cat.lookup(QStringLiteral("Untranslated")).isNull());
    QVERIFY(cat.lookup(QString()).isNull());
    QCOMPARE(cat.size(), 7);
}

void TestTranslation::readsLatin1Catalogue()
{
    const QByteArray po
        = QByteArray("msgid \"\"\nmsgstr \"Content-Type: text/plain; charset=ISO-8859-1\\n\"\n\n"
                     "msgid \"Size\"\nmsgstr \"Gr")
        + QByteArray("\xf6\xdf", 2) + QByteArray("e\"\n");
    const MoCatalogue cat = MoCatalogue::fromData(compile(po, {}));
    QCOMPARE(cat.charset(), QStringLiteral("ISO-8859-1"));
    QCOMPARE(cat.lookup(QStringLiteral("Size")), QStringLiteral("Größe"));
}

// Header fields and table entries patched with absurd values.
void TestTranslation::damagedHeaderOrTable_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<quint32>("value");
    QTest::addColumn<bool>("loads");

    QTest::newRow("minor revision") << QStringLiteral("revision") << 0x00000001u << true;
    QTest::newRow("major revision 1") << QStringLiteral("revision") << 0x00010000u << true;
    QTest::newRow("major revision 2") << QStringLiteral("revision") << 0x00020000u << false;
    QTest::newRow("wrong magic") << QStringLiteral("magic") << 0x12345678u << false;
    QTest::newRow("huge count") << QStringLiteral("count") << 0xffffffffu << false;
    QTest::newRow("count one too many") << QStringLiteral("count+1") << 0u << false;
    QTest::newRow("id table beyond end") << QStringLiteral("origTable") << 0xfffffff0u << false;
    QTest::newRow("translation table beyond end") << QStringLiteral("transTable") << 0x7fffffffu << false;
    QTest::newRow("hash table beyond end") << QStringLiteral("hashTable") << 0xffffff00u << false;
    QTest::newRow("huge hash size") << QStringLiteral("hashSize") << 0x40000000u << false;
    QTest::newRow("id offset beyond end") << QStringLiteral("idOffset") << 0xffffffffu << false;
    QTest::newRow("id length beyond end") << QStringLiteral("idLength") << 0xfffffff0u << false;
    QTest::newRow("id offset+length wraps") << QStringLiteral("idOffsetWrap") << 0u << false;
    QTest::newRow("translation length beyond end") << QStringLiteral("strLength") << 0x00100000u << false;
    QTest::newRow("string not terminated") << QStringLiteral("strLength+1") << 0u << false;
}

void TestTranslation::damagedHeaderOrTable()
{
    QFETCH(QString, field);
    QFETCH(quint32, value);
    QFETCH(bool, loads);

    QByteArray data = fixture();
    QVERIFY(!MoCatalogue::fromData(data).isEmpty());
    auto *raw = reinterpret_cast<uchar *>(data.data());
    const auto get = [raw](int at) { return qFromLittleEndian<quint32>(raw + at); };
    const auto put = [raw](int at, quint32 v) { qToLittleEndian<quint32>(v, raw + at); };
    const int origTable = int(get(12));
    const int transTable = int(get(16));
    // Entry 1 (entry 0 is the header).
    const int idDesc = origTable + 8;
    const int strDesc = transTable + 8;

    if (field == QLatin1String("magic"))
        put(0, value);
    else if (field == QLatin1String("revision"))
        put(4, value);
    else if (field == QLatin1String("count"))
        put(8, value);
    else if (field == QLatin1String("count+1"))
        put(8, get(8) + 1);
    else if (field == QLatin1String("origTable"))
        put(12, value);
    else if (field == QLatin1String("transTable"))
        put(16, value);
    else if (field == QLatin1String("hashSize"))
        put(20, value);
    else if (field == QLatin1String("hashTable"))
        put(24, value);
    else if (field == QLatin1String("idOffset"))
        put(idDesc + 4, value);
    else if (field == QLatin1String("idLength"))
        put(idDesc, value);
    else if (field == QLatin1String("idOffsetWrap"))
        put(idDesc, 0xffffffffu - get(idDesc + 4) + 2);
    else if (field == QLatin1String("strLength"))
        put(strDesc, value);
    else if (field == QLatin1String("strLength+1"))
        put(strDesc, get(strDesc) + 1);
    else
        QFAIL("unknown field");

    const MoCatalogue cat = MoCatalogue::fromData(data);
    QCOMPARE(!cat.isEmpty(), loads);
    if (loads)
        QCOMPARE(cat.lookup(QStringLiteral("Cancel")), QStringLiteral("Abbrechen"));
}

void TestTranslation::truncatedFileIsEmpty()
{
    for (const QStringList &options : { QStringList(), QStringList { QStringLiteral("--endianness=big") } }) {
        const QByteArray data = compile(QByteArray(FixturePo), options);
        QVERIFY(!MoCatalogue::fromData(data).isEmpty());
        for (qsizetype length = 0; length < data.size(); ++length) {
            const MoCatalogue cat = MoCatalogue::fromData(data.left(length));
            if (!cat.isEmpty())
                QFAIL(qPrintable(
                    QStringLiteral("truncated at %1 of %2 still loads").arg(length).arg(data.size())));
        }
    }
}

void TestTranslation::bitFlipsDoNotCrash()
{
    const QByteArray data = fixture();
    const QStringList ids { QStringLiteral("Cancel"), QStringLiteral("Close"), QStringLiteral("Size"),
        QStringLiteral("%d file"), QStringLiteral("Line one@line two") };
    QRandomGenerator random(20240611);
    int rejected = 0;
    for (int round = 0; round < 3000; ++round) {
        QByteArray damaged = data;
        const int flips = 1 + int(random.bounded(4));
        for (int i = 0; i < flips; ++i) {
            // Half of the flips hit the header and tables, where they matter most.
            const qsizetype limit
                = (i % 2) ? damaged.size() : qMin<qsizetype>(damaged.size(), 28 + 2 * 8 * 8);
            const qsizetype at = random.bounded(int(limit));
            damaged[at] = char(uchar(damaged.at(at)) ^ (1u << random.bounded(8)));
        }
        const MoCatalogue cat = MoCatalogue::fromData(damaged);
        if (cat.isEmpty())
            ++rejected;
        for (const QString &id : ids)
            cat.lookup(id).size();
    }
    // Most damage in the header and tables is caught.
    QVERIFY2(rejected > 1000, qPrintable(QString::number(rejected)));
}

void TestTranslation::randomDataIsEmpty()
{
    QRandomGenerator random(7);
    for (int round = 0; round < 500; ++round) {
        QByteArray data(qsizetype(random.bounded(400)), '\0');
        for (char &c : data)
            c = char(random.bounded(256));
        if (data.size() >= 4 && round % 2)
            qToLittleEndian<quint32>(0x950412de, data.data()); // get past the magic
        const MoCatalogue cat = MoCatalogue::fromData(data);
        QVERIFY(cat.isEmpty());
    }
}

void TestTranslation::txFollowsBindingAndLanguage()
{
    const QString path = m_dir.filePath(QStringLiteral("fixture.locale"));
    {
        QFile out(path);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(fixture());
    }
    bindTextDomain(QStringLiteral("default"), path);
    setCurrentLanguage(QStringLiteral("de"));
    QCOMPARE(currentLanguage(), QStringLiteral("de"));
    QCOMPARE(tx("Cancel"), QStringLiteral("Abbrechen"));
    QCOMPARE(tx(QStringLiteral("Size")), QStringLiteral("Größe"));
    QCOMPARE(tx("Not in the catalogue"), QStringLiteral("Not in the catalogue"));
    QCOMPARE(tx(""), QString());

    // Another binding is read at the next translation.
    bindTextDomain(QStringLiteral("default"), m_dir.filePath(QStringLiteral("missing.locale")));
    setCurrentLanguage(QStringLiteral("xx"));
    QCOMPARE(tx("Cancel"), QStringLiteral("Cancel"));

    // A damaged file behaves like a missing one.
    {
        QFile out(path);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(fixture().left(100));
    }
    bindTextDomain(QStringLiteral("default"), path);
    setCurrentLanguage(QStringLiteral("de"));
    QCOMPARE(tx("Cancel"), QStringLiteral("Cancel"));
}

void TestTranslation::builtCatalogues_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("msgid");
    QTest::addColumn<QString>("expected");

    QTest::newRow("de caption") << "de"
                                << "Write to Velotrix"
                                << "Auf Velotrix schreiben";
    QTest::newRow("de window title") << "de"
                                     << "Battery status"
                                     << "Batteriestatus";
    QTest::newRow("de status") << "de"
                               << "not connected"
                               << "nicht verbunden";
    QTest::newRow("de German stays") << "de"
                                     << "Abbrechen"
                                     << "Abbrechen";
    QTest::newRow("en cancel") << "en"
                               << "Abbrechen"
                               << "Cancel";
    QTest::newRow("en close") << "en"
                              << "&Schließen"
                              << "&Close";
    QTest::newRow("en English stays") << "en"
                                      << "Write to Velotrix"
                                      << "Write to Velotrix";
    QTest::newRow("unknown code") << "xx"
                                  << "Write to Velotrix"
                                  << "Write to Velotrix";
}

void TestTranslation::builtCatalogues()
{
    QFETCH(QString, code);
    QFETCH(QString, msgid);
    QFETCH(QString, expected);

    const QString path = catalogueFileFor(code);
    QCOMPARE(
        path, QCoreApplication::applicationDirPath() + QLatin1Char('/') + code + QStringLiteral(".locale"));
    if (code != QLatin1String("xx"))
        QVERIFY2(QFile::exists(path), qPrintable(path));
    bindTextDomain(QStringLiteral("default"), path);
    setCurrentLanguage(code);
    QCOMPARE(tx(msgid), expected);
}

QTEST_GUILESS_MAIN(TestTranslation)
#include "tst_translation.moc"
