#include "device/records.h"
#include "setups/inifile.h"
#include "testfiles.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

IniFile parsed(const QByteArray &data)
{
    IniFile ini;
    ini.parse(data);
    return ini;
}

// The code units of text behind a byte-order mark, in either byte order;
// QString holds lone surrogates as they are, so this builds files no
// encoder would write.
QByteArray utf16File(const QString &text, bool bigEndian)
{
    QByteArray bytes = bigEndian ? QByteArray("\xfe\xff") : QByteArray("\xff\xfe");
    for (QChar ch : text) {
        const char16_t u = ch.unicode();
        const char lo = static_cast<char>(u & 0xFF);
        const char hi = static_cast<char>(u >> 8);
        bytes.append(bigEndian ? hi : lo).append(bigEndian ? lo : hi);
    }
    return bytes;
}

} // namespace

class TestIniFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();

    void lookup_data();
    void lookup();
    void readInteger_data();
    void readInteger();
    void readBool_data();
    void readBool();
    void readRecord_data();
    void readRecord();
    void recordRoundTrip();

    void rewriteKeepsKeysDropsComments();
    void lineBreaksInValuesStayOnOneLine();
    void encodingOnRead_data();
    void encodingOnRead();
    void cp1252RoundTrip();
    void nonCp1252CharacterSurvives();
    void rewriteKeepsText_data();
    void rewriteKeepsText();
    void manySections();
    void sectionsAndKeysListed();
    void missingFileReadsEmpty();
    void saveCreatesFolders();
    void failedSaveReportsFalse();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestIniFile::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void TestIniFile::lookup_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<bool>("found");
    QTest::addColumn<QString>("value");

    QTest::newRow("plain") << QByteArray("[Config]\r\nName=abc\r\n") << "Config"
                           << "Name" << true << "abc";
    QTest::newRow("section and key in other case") << QByteArray("[CONFIG]\r\nNAME=abc\r\n") << "config"
                                                   << "name" << true << "abc";
    QTest::newRow("blanks and control characters stripped")
        << QByteArray("  [ Config ] \t\r\n\t Name \t=  a b \x01\r\n") << "Config"
        << "Name" << true << "a b";
    QTest::newRow("first equals sign splits") << QByteArray("[C]\nk=a=b\n") << "C"
                                              << "k" << true << "a=b";
    QTest::newRow("empty value") << QByteArray("[C]\nk=\n") << "C"
                                 << "k" << true << "";
    QTest::newRow("comment skipped") << QByteArray("[C]\n;k=1\n") << "C"
                                     << "k" << false << "";
    QTest::newRow("key before first section ignored") << QByteArray("k=1\n[C]\n") << "C"
                                                      << "k" << false << "";
    QTest::newRow("line without equals matches nothing") << QByteArray("[C]\nk\n") << "C"
                                                         << "k" << false << "";
    QTest::newRow("LF and CR line ends") << QByteArray("[C]\ra=1\nk=2\r") << "C"
                                         << "k" << true << "2";
    QTest::newRow("key in another section") << QByteArray("[A]\nk=1\n[B]\nx=2\n") << "B"
                                            << "k" << false << "";
    QTest::newRow("repeated section continues the first") << QByteArray("[A]\nx=1\n[B]\n[a]\nk=2\n") << "A"
                                                          << "k" << true << "2";
}

void TestIniFile::lookup()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(bool, found);
    QFETCH(QString, value);

    const IniFile ini = parsed(file);
    QCOMPARE(ini.hasKey(section, key), found);
    QCOMPARE(ini.readString(section, key, QStringLiteral("<default>")),
        found ? value : QStringLiteral("<default>"));
}

void TestIniFile::readInteger_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<int>("expected");
    QTest::addColumn<bool>("error");

    QTest::newRow("decimal") << QByteArray("Modecount=3") << 3 << false;
    QTest::newRow("negative") << QByteArray("Modecount=-12") << -12 << false;
    QTest::newRow("empty reads 0") << QByteArray("Modecount=") << 0 << false;
    QTest::newRow("missing gives default") << QByteArray("Other=1") << 77 << false;
    QTest::newRow("text") << QByteArray("Modecount=three") << 0 << true;
    QTest::newRow("trailing text") << QByteArray("Modecount=3x") << 0 << true;
    QTest::newRow("out of range") << QByteArray("Modecount=99999999999") << 0 << true;
}

void TestIniFile::readInteger()
{
    QFETCH(QByteArray, line);
    QFETCH(int, expected);
    QFETCH(bool, error);

    const IniFile ini = parsed("[Config]\r\n" + line + "\r\n");
    if (!error) {
        QCOMPARE(ini.readInteger(QStringLiteral("Config"), QStringLiteral("Modecount"), 77), expected);
        return;
    }
    try {
        ini.readInteger(QStringLiteral("Config"), QStringLiteral("Modecount"), 77);
        QFAIL("no conversion error");
    } catch (const IniConversionError &e) {
        // The message names the offending value.
        const QByteArray value = line.mid(line.indexOf('=') + 1);
        QVERIFY2(QByteArray(e.what()).contains(value), e.what());
    }
}

void TestIniFile::readBool_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<bool>("expected");
    QTest::addColumn<bool>("error");

    QTest::newRow("1") << QByteArray("readonly=1") << true << false;
    QTest::newRow("yes") << QByteArray("readonly=yes") << true << false;
    QTest::newRow("Y") << QByteArray("readonly=Y") << true << false;
    QTest::newRow("TRUE") << QByteArray("readonly=TRUE") << true << false;
    QTest::newRow("-5") << QByteArray("readonly=-5") << true << false;
    QTest::newRow("0") << QByteArray("readonly=0") << false << false;
    QTest::newRow("No") << QByteArray("readonly=No") << false << false;
    QTest::newRow("false") << QByteArray("readonly=false") << false << false;
    QTest::newRow("empty") << QByteArray("readonly=") << false << false;
    QTest::newRow("missing") << QByteArray("Image=4") << false << false;
    QTest::newRow("maybe") << QByteArray("readonly=maybe") << false << true;
}

void TestIniFile::readBool()
{
    QFETCH(QByteArray, line);
    QFETCH(bool, expected);
    QFETCH(bool, error);

    const IniFile ini = parsed("[Config]\r\n" + line + "\r\n");
    if (!error) {
        QCOMPARE(ini.readBool(QStringLiteral("Config"), QStringLiteral("readonly"), false), expected);
        if (!ini.hasKey(QStringLiteral("Config"), QStringLiteral("readonly")))
            QCOMPARE(ini.readBool(QStringLiteral("Config"), QStringLiteral("readonly"), true), true);
        return;
    }
    QVERIFY_THROWS_EXCEPTION(
        IniConversionError, ini.readBool(QStringLiteral("Config"), QStringLiteral("readonly"), false));
}

void TestIniFile::readRecord_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QByteArray>("expected"); // record after the read, 4 bytes from 11 22 33 44
    QTest::addColumn<bool>("error");

    QTest::newRow("full") << QByteArray("AntiTremor=1E00C800") << QByteArray::fromHex("1E00C800") << false;
    QTest::newRow("odd length gets leading 0")
        << QByteArray("AntiTremor=ABC") << QByteArray::fromHex("0ABC3344") << false;
    QTest::newRow("lower case") << QByteArray("AntiTremor=ab") << QByteArray::fromHex("AB223344") << false;
    QTest::newRow("empty changes nothing")
        << QByteArray("AntiTremor=") << QByteArray::fromHex("11223344") << false;
    QTest::newRow("missing changes nothing")
        << QByteArray("Other=00") << QByteArray::fromHex("11223344") << false;
    QTest::newRow("longer value fills the record only")
        << QByteArray("AntiTremor=0102030405060708") << QByteArray::fromHex("01020304") << false;
    QTest::newRow("bad pair is rejected as a whole")
        << QByteArray("AntiTremor=00G1") << QByteArray::fromHex("11223344") << true;
    QTest::newRow("sign is no hex digit")
        << QByteArray("AntiTremor=-1") << QByteArray::fromHex("11223344") << true;
}

void TestIniFile::readRecord()
{
    QFETCH(QByteArray, line);
    QFETCH(QByteArray, expected);
    QFETCH(bool, error);

    const IniFile ini = parsed("[Config]\r\n" + line + "\r\n");
    QByteArray record = QByteArray::fromHex("11223344");
    bool thrown = false;
    try {
        ini.readRecord(QStringLiteral("Config"), QStringLiteral("AntiTremor"), record);
    } catch (const IniConversionError &e) {
        thrown = true;
        QVERIFY2(QByteArray(e.what()).contains("AntiTremor"), e.what());
    }
    QCOMPARE(thrown, error);
    QCOMPARE(record.toHex(), expected.toHex());
}

void TestIniFile::recordRoundTrip()
{
    tAntiTremor t;
    t.ON_delay_ms = 30;
    t.OFF_delay_ms = 200;

    IniFile ini;
    ini.writeRecord(QStringLiteral("Config"), QStringLiteral("AntiTremor"), t.toBytes());
    const QByteArray expected("\xff\x10\x00\x7f", 4);
    ini.writeRecord(QStringLiteral("Config"), QStringLiteral("Raw"), expected);
    const QByteArray text = ini.serialize();
    QCOMPARE(text, QByteArray("[Config]\r\nAntiTremor=1E00C800\r\nRaw=FF10007F\r\n\r\n"));

    const IniFile back = parsed(text);
    QByteArray bytes(tAntiTremor::Size, '\0');
    back.readRecord(QStringLiteral("Config"), QStringLiteral("AntiTremor"), bytes);
    QVERIFY(tAntiTremor::fromBytes(bytes) == t);
    QByteArray raw(4, '\0');
    back.readRecord(QStringLiteral("Config"), QStringLiteral("Raw"), raw);
    QCOMPARE(raw, expected);
}

void TestIniFile::rewriteKeepsKeysDropsComments()
{
    const QString path = m_dir->filePath(QStringLiteral("A_B.cfg"));
    writeAll(path,
        "; installed setup\r\n"
        "[Config]\r\n"
        "name=Old\r\n"
        "\r\n"
        "Image=4\r\n"
        "readonly=TRUE\r\n"
        "stray line\r\n"
        "[Extra]\r\n"
        "keep=me\r\n");

    IniFile ini(path);
    QVERIFY(ini.load());
    ini.writeString(QStringLiteral("Config"), QStringLiteral("Name"), QStringLiteral("A:B"));
    ini.writeInteger(QStringLiteral("config"), QStringLiteral("Modecount"), 2);
    ini.writeBool(QStringLiteral("Application"), QStringLiteral("Flash_EEPROM"), true);
    QVERIFY(ini.save());

    // Replaced key takes the writer's letters in place, the new key goes to
    // the end of its section, the new section to the end of the file.
    QCOMPARE(readAll(path),
        QByteArray("[Config]\r\n"
                   "Name=A:B\r\n"
                   "Image=4\r\n"
                   "readonly=TRUE\r\n"
                   "stray line\r\n"
                   "Modecount=2\r\n"
                   "\r\n"
                   "[Extra]\r\n"
                   "keep=me\r\n"
                   "\r\n"
                   "[Application]\r\n"
                   "Flash_EEPROM=TRUE\r\n"
                   "\r\n"));
}

void TestIniFile::lineBreaksInValuesStayOnOneLine()
{
    IniFile ini;
    ini.writeString(QStringLiteral("Config"), QStringLiteral("Name"),
        QStringLiteral("x\r\n[Config]\r\nreadonly=TRUE\nImage=9"));
    const IniFile back = parsed(ini.serialize());
    QVERIFY(!back.hasKey(QStringLiteral("Config"), QStringLiteral("readonly")));
    QVERIFY(!back.hasKey(QStringLiteral("Config"), QStringLiteral("Image")));
    QVERIFY(back.readString(QStringLiteral("Config"), QStringLiteral("Name")).startsWith(QLatin1Char('x')));
}

void TestIniFile::encodingOnRead_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("expected");

    const QString umlauts = QStringLiteral("Gr\u00fc\u00dfe \u20ac\u201e\u0178");
    QTest::newRow("no mark: Windows-1252") << QByteArray("[C]\r\nk=Gr\xfc\xdf"
                                                         "e \x80\x84\x9f\r\n")
                                           << umlauts;
    QTest::newRow("UTF-8 mark") << QByteArray("\xef\xbb\xbf[C]\r\nk=") + umlauts.toUtf8() + "\r\n" << umlauts;

    QString text = QStringLiteral("[C]\r\nk=") + umlauts + QStringLiteral("\r\n");
    QByteArray le("\xff\xfe");
    QByteArray be("\xfe\xff");
    for (QChar ch : text) {
        const char16_t u = ch.unicode();
        le.append(char(u & 0xFF)).append(char(u >> 8));
        be.append(char(u >> 8)).append(char(u & 0xFF));
    }
    QTest::newRow("UTF-16 LE mark") << le << umlauts;
    QCOMPARE(utf16File(text, false), le);
    QTest::newRow("UTF-16 BE mark") << be << umlauts;
}

void TestIniFile::encodingOnRead()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, expected);

    const QString path = m_dir->filePath(QStringLiteral("enc.ini"));
    writeAll(path, file);
    IniFile ini(path);
    QVERIFY(ini.load());
    QCOMPARE(ini.readString(QStringLiteral("C"), QStringLiteral("k")), expected);
}

void TestIniFile::cp1252RoundTrip()
{
    const QString path = m_dir->filePath(QStringLiteral("umlaut.cfg"));
    IniFile ini(path);
    ini.writeString(
        QStringLiteral("Config"), QStringLiteral("Name"), QStringLiteral("\u00c4rger \u20ac\u2122"));
    QVERIFY(ini.save());
    // One byte per character, no byte-order mark.
    QCOMPARE(readAll(path), QByteArray("[Config]\r\nName=\xc4rger \x80\x99\r\n\r\n"));

    IniFile back(path);
    QVERIFY(back.load());
    QCOMPARE(back.readString(QStringLiteral("Config"), QStringLiteral("Name")),
        QStringLiteral("\u00c4rger \u20ac\u2122"));
}

void TestIniFile::nonCp1252CharacterSurvives()
{
    const QString path = m_dir->filePath(QStringLiteral("wide.cfg"));
    const QString name = QStringLiteral("\u0141\u00f3d\u017a \u65e5\u672c \u00e4");
    IniFile ini(path);
    ini.writeString(QStringLiteral("Config"), QStringLiteral("Name"), name);
    QVERIFY(ini.save());
    QVERIFY(readAll(path).startsWith("\xef\xbb\xbf[Config]\r\n"));

    IniFile back(path);
    QVERIFY(back.load());
    QCOMPARE(back.readString(QStringLiteral("Config"), QStringLiteral("Name")), name);
}

void TestIniFile::rewriteKeepsText_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("mark"); // leading bytes of the rewritten file

    const QString fits = QStringLiteral("Gr\u00fc\u00dfe \u20ac");
    const QString wide = QStringLiteral("\u0141\u00f3d\u017a \U0001F600");
    const QString loneHigh = QStringLiteral("a") + QChar(char16_t(0xD83D)) + QStringLiteral("b");
    const QString loneLow = QStringLiteral("a") + QChar(char16_t(0xDE00));
    const QString reversed = QString(QChar(char16_t(0xDE00))) + QChar(char16_t(0xD83D));
    const auto file = [](const QString &name) {
        return QStringLiteral("[Config]\r\nName=") + name + QStringLiteral("\r\n");
    };

    QTest::newRow("Windows-1252 stays 8-bit") << QByteArray("[Config]\r\nName=Gr\xfc\xdf"
                                                            "e \x80\r\n")
                                              << fits << QByteArray("[Config]");
    QTest::newRow("UTF-16 text that fits 8 bits")
        << utf16File(file(fits), false) << fits << QByteArray("[Config]");
    QTest::newRow("UTF-16 text with a surrogate pair")
        << utf16File(file(wide), true) << wide << QByteArray("\xef\xbb\xbf[Config]");
    QTest::newRow("lone high surrogate, UTF-16 LE")
        << utf16File(file(loneHigh), false) << loneHigh << QByteArray("\xff\xfe[\0C\0");
    QTest::newRow("lone low surrogate at the end, UTF-16 BE")
        << utf16File(file(loneLow), true) << loneLow << QByteArray("\xff\xfe[\0C\0");
    QTest::newRow("surrogates in reverse order")
        << utf16File(file(reversed), false) << reversed << QByteArray("\xff\xfe[\0C\0");
}

void TestIniFile::rewriteKeepsText()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, name);
    QFETCH(QByteArray, mark);

    const QString path = m_dir->filePath(QStringLiteral("setup.cfg"));
    writeAll(path, file);
    IniFile ini(path);
    QVERIFY(ini.load());
    QCOMPARE(ini.readString(QStringLiteral("Config"), QStringLiteral("Name")), name);
    // Any rewrite of the file, here one that touches another key only.
    ini.writeInteger(QStringLiteral("Config"), QStringLiteral("Modecount"), 1);
    QVERIFY(ini.save());
    const QByteArray written = readAll(path);
    QVERIFY2(written.startsWith(mark), written.toHex(' ').constData());

    IniFile back(path);
    QVERIFY(back.load());
    QCOMPARE(back.readString(QStringLiteral("Config"), QStringLiteral("Name")), name);
    QCOMPARE(back.readInteger(QStringLiteral("Config"), QStringLiteral("Modecount"), 0), 1);
    // A second rewrite gives the same bytes.
    QVERIFY(back.save());
    QCOMPARE(readAll(path), written);
}

void TestIniFile::manySections()
{
    // Sections are found by name however many come before; a repeated one
    // in another case continues the first, far back in the file.
    constexpr int count = 20000;
    QByteArray data;
    for (int i = 0; i < count; ++i)
        data += "[S" + QByteArray::number(i) + "]\r\nk=" + QByteArray::number(i) + "\r\n";
    data += "[s0]\r\nlate=yes\r\n";
    const IniFile ini = parsed(data);

    QCOMPARE(ini.sectionNames().size(), count);
    QCOMPARE(ini.readInteger(QStringLiteral("s0"), QStringLiteral("k"), -1), 0);
    QCOMPARE(ini.readBool(QStringLiteral("S0"), QStringLiteral("late"), false), true);
    QCOMPARE(ini.readInteger(QStringLiteral("S19999"), QStringLiteral("K"), -1), count - 1);
    QCOMPARE(ini.readInteger(QStringLiteral("S20000"), QStringLiteral("k"), -1), -1);
    QVERIFY(!ini.hasKey(QStringLiteral("S1"), QStringLiteral("late")));
    QCOMPARE(parsed(ini.serialize()).serialize(), ini.serialize());
}

void TestIniFile::sectionsAndKeysListed()
{
    IniFile ini = parsed("[A]\nx=1\nraw line\ny=2\n[B]\n[a]\nz=3\n");
    ini.writeString(QStringLiteral("C"), QStringLiteral("w"), QStringLiteral("4"));
    ini.writeString(QStringLiteral("c"), QStringLiteral("v"), QStringLiteral("5"));
    QCOMPARE(
        ini.sectionNames(), QStringList({ QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C") }));
    QCOMPARE(ini.keys(QStringLiteral("a")),
        QStringList({ QStringLiteral("x"), QStringLiteral("y"), QStringLiteral("z") }));
    QCOMPARE(ini.keys(QStringLiteral("B")), QStringList());
    QCOMPARE(ini.keys(QStringLiteral("C")), QStringList({ QStringLiteral("w"), QStringLiteral("v") }));
    QCOMPARE(ini.keys(QStringLiteral("D")), QStringList());
}

void TestIniFile::missingFileReadsEmpty()
{
    IniFile ini(m_dir->filePath(QStringLiteral("none.ini")));
    QVERIFY(ini.load());
    QVERIFY(!ini.hasKey(QStringLiteral("Config"), QStringLiteral("Name")));
    QCOMPARE(ini.readInteger(QStringLiteral("Config"), QStringLiteral("Modecount"), 0), 0);
    QCOMPARE(ini.serialize(), QByteArray());
}

void TestIniFile::saveCreatesFolders()
{
    const QString path = m_dir->filePath(QStringLiteral("a/b/c/Config.ini"));
    IniFile ini(path);
    ini.writeString(QStringLiteral("Application"), QStringLiteral("Language"), QStringLiteral("en"));
    QVERIFY(ini.save());
    QCOMPARE(readAll(path), QByteArray("[Application]\r\nLanguage=en\r\n\r\n"));
}

void TestIniFile::failedSaveReportsFalse()
{
    // The parent "folder" is a file, so neither the folder nor the file can
    // be created; the failure must be reported, not swallowed.
    const QString blocker = m_dir->filePath(QStringLiteral("blocker"));
    writeAll(blocker, "x");
    IniFile ini(blocker + QStringLiteral("/Config.ini"));
    ini.writeString(QStringLiteral("A"), QStringLiteral("k"), QStringLiteral("v"));
    QVERIFY(!ini.save());
    QCOMPARE(readAll(blocker), QByteArray("x"));
}

QTEST_GUILESS_MAIN(TestIniFile)
#include "tst_inifile.moc"
