// Setup operations on files: file names, the overwrite comparison, the
// summary read, the records read of a load, the name write, the delete and
// the catalogue's listing of the setup folder.

#include "mocatalogue.h"
#include "services/translation.h"
#include "setups/datapaths.h"
#include "setups/inifile.h"
#include "setups/setupcatalogue.h"
#include "setups/setupfile.h"
#include "setups/setupoperations.h"
#include "testfiles.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

class TestSetupOperations : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();

    void dataFolders();
    void fileNameReplacement_data();
    void fileNameReplacement();
    void usableNames_data();
    void usableNames();
    void overwriteComparison_data();
    void overwriteComparison();

    void summary_data();
    void summary();
    void summaryCutsLongNames();
    void summaryNamesFileOfMalformedValue();
    void captions_data();
    void captions();
    void captionsFollowTheLanguage();

    void folderListing();
    void missingFolderListsNothing();

    void recordsRead_data();
    void recordsRead();
    void refusedFileLeavesRecordsExactly_data();
    void refusedFileLeavesRecordsExactly();

    void nameWriteKeepsFileAndForeignKeys();
    void nameWriteOfMissingFileCreatesNothing();
    void deleteRemovesTheFile();

private:
    QString file(const QString &name) const { return m_dir.path() + QLatin1Char('/') + name; }
    static tParameterSet pattern();

    QTemporaryDir m_dir;
};

tParameterSet TestSetupOperations::pattern()
{
    tParameterSet params;
    QByteArray modes;
    for (int i = 0; i < tParameterSet::ModeBytesSize; ++i)
        modes.append(char((i * 5 + 1) & 0x7F));
    params.setModeBytes(modes);
    params.AntiTremor = { 30, 200 };
    params.AlarmSettings.AlarmTriggerTime_s = 12;
    params.SpecialActionDesc.HoldTime_ms = 1500;
    params.ModeCount = 2;
    return params;
}

void TestSetupOperations::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
}

void TestSetupOperations::init()
{
    m_dir = QTemporaryDir();
    QVERIFY(m_dir.isValid());
    setCurrentLanguage(QStringLiteral("en"));
    bindTextDomain(QStringLiteral("default"), file(QStringLiteral("none.locale")));
}

void TestSetupOperations::dataFolders()
{
    setDocumentsFolder(m_dir.path());
    QCOMPARE(PersonalDatapath(), m_dir.path() + QStringLiteral("/Velotrix/"));
    QCOMPARE(SetupDatapath(), m_dir.path() + QStringLiteral("/Velotrix/Setups/"));

    // Without a folder set, tests in Qt's test mode never see the user's
    // documents.
    setDocumentsFolder({});
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    QVERIFY(!PersonalDatapath().startsWith(documents + QLatin1Char('/')));
    QVERIFY(SetupDatapath().endsWith(QStringLiteral("/Velotrix/Setups/")));
}

void TestSetupOperations::fileNameReplacement_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("fileName");

    QTest::newRow("colon") << "A:B"
                           << "A_B.cfg";
    QTest::newRow("all ten") << "a:b/c*d\\e?f>g<h|i&j\"k"
                             << "a_b_c_d_e_f_g_h_i_j_k.cfg";
    QTest::newRow("blanks and case stay") << " x "
                                          << " x .cfg";
    QTest::newRow("placeholder") << "%CALLSYSTEM% 1"
                                 << "%CALLSYSTEM% 1.cfg";
    QTest::newRow("umlauts and dots") << "Grüße v1.2"
                                      << "Grüße v1.2.cfg";
}

void TestSetupOperations::fileNameReplacement()
{
    QFETCH(QString, name);
    QFETCH(QString, fileName);
    QCOMPARE(setupFilePath(QStringLiteral("/s/"), name), QStringLiteral("/s/") + fileName);
    QCOMPARE(ReplaceInvalidChars(name, QStringLiteral("_")) + QStringLiteral(".cfg"), fileName);
}

void TestSetupOperations::usableNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("usable");

    QTest::newRow("word") << "Morning" << true;
    QTest::newRow("one character") << "x" << true;
    QTest::newRow("only replaced characters") << "::" << true;
    QTest::newRow("leading dot with a name") << ".profile" << true;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("blanks") << "   " << false;
    QTest::newRow("one dot") << "." << false;
    QTest::newRow("dots and blanks") << " .. . " << false;
}

void TestSetupOperations::usableNames()
{
    QFETCH(QString, name);
    QFETCH(bool, usable);
    QCOMPARE(isUsableSetupName(name), usable);
}

void TestSetupOperations::overwriteComparison_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("same");

    QTest::newRow("equal") << "My setup"
                           << "My setup" << true;
    QTest::newRow("case of A to Z") << "My Setup"
                                    << "mY sETUP" << true;
    QTest::newRow("umlaut case differs") << "Übung"
                                         << "übung" << false;
    QTest::newRow("blank differs") << "My setup"
                                   << "My setup " << false;
    QTest::newRow("placeholder against caption") << "%CALLSYSTEM% 1"
                                                 << "Call system 1" << false;
    QTest::newRow("replaced character differs") << "A:B"
                                                << "A_B" << false;
}

void TestSetupOperations::overwriteComparison()
{
    QFETCH(QString, stored);
    QFETCH(QString, typed);
    QFETCH(bool, same);
    QCOMPARE(sameSetupName(stored, typed), same);
}

void TestSetupOperations::summary_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("image");
    QTest::addColumn<int>("modes");
    QTest::addColumn<bool>("readOnly");

    QTest::newRow("saved by the program")
        << QByteArray("[Config]\r\nName=Morning\r\nModecount=3\r\n") << "Morning" << 0 << 3 << false;
    QTest::newRow("readonly=1") << QByteArray("[Config]\nName=A\nreadonly=1\nImage=4\n") << "A" << 4 << 0
                                << true;
    QTest::newRow("readonly=yes") << QByteArray("[config]\nname=A\nREADONLY=yes\n") << "A" << 0 << 0 << true;
    QTest::newRow("readonly=Y") << QByteArray("[Config]\nName=A\nreadonly=Y\n") << "A" << 0 << 0 << true;
    QTest::newRow("readonly=TRUE") << QByteArray("[Config]\nName=A\nreadonly=TRUE\n") << "A" << 0 << 0
                                   << true;
    QTest::newRow("readonly=0") << QByteArray("[Config]\nName=A\nreadonly=0\n") << "A" << 0 << 0 << false;
    QTest::newRow("readonly=No") << QByteArray("[Config]\nName=A\nreadonly=No\n") << "A" << 0 << 0 << false;
    QTest::newRow("readonly empty") << QByteArray("[Config]\nName=A\nreadonly=\n") << "A" << 0 << 0 << false;
    QTest::newRow("no Name: the file name")
        << QByteArray("just some notes\n") << "setup.txt" << 0 << 0 << false;
    QTest::newRow("blanks around the name") << QByteArray("[Config]\nName= x \n") << "x" << 0 << 0 << false;
    QTest::newRow("other section ignored")
        << QByteArray("[Other]\nName=B\n[Config]\nImage=15\n") << "setup.txt" << 15 << 0 << false;
}

void TestSetupOperations::summary()
{
    QFETCH(QByteArray, content);
    const QString path = file(QStringLiteral("setup.txt"));
    writeAll(path, content);

    const std::unique_ptr<tConfig> info = ReadSetupInfo(path);
    QTEST(info->name, "name");
    QTEST(int(info->ImageIndex), "image");
    QTEST(int(info->ModeCount), "modes");
    QTEST(info->ReadOnly, "readOnly");
    QCOMPARE(info->Filename, path);
}

void TestSetupOperations::summaryCutsLongNames()
{
    const QString path = file(QStringLiteral("long.cfg"));
    writeAll(path, "[Config]\nName=" + QByteArray(300, 'n') + "\n");
    QCOMPARE(ReadSetupInfo(path)->name, QString(255, QLatin1Char('n')));
}

void TestSetupOperations::summaryNamesFileOfMalformedValue()
{
    const QString path = file(QStringLiteral("bad.cfg"));
    for (const QByteArray &line :
        { QByteArray("Image=four"), QByteArray("Modecount=2x"), QByteArray("readonly=maybe") }) {
        writeAll(path, "[Config]\nName=Bad\n" + line + "\n");
        try {
            ReadSetupInfo(path);
            QFAIL("a malformed value was accepted");
        } catch (const IniConversionError &e) {
            QVERIFY2(QString::fromUtf8(e.what()).contains(path), e.what());
        }
    }
}

void TestSetupOperations::captions_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("caption");

    QTest::newRow("call system") << "%callsystem% 2"
                                 << "Call system 2";
    QTest::newRow("twice") << "%CALLSYSTEM%%CALLSYSTEM%"
                           << "Call systemCall system";
    QTest::newRow("nexo") << "%Nexo2 Set% A"
                          << "Nexo 2 Set (proximity sensor) A";
    QTest::newRow("nexo any case") << "%NEXO2 SET%"
                                   << "Nexo 2 Set (proximity sensor)";
    QTest::newRow("both") << "%Nexo2 Set%/%CallSystem%"
                          << "Nexo 2 Set (proximity sensor)/Call system";
    QTest::newRow("incomplete placeholder") << "%CALLSYSTEM"
                                            << "%CALLSYSTEM";
    QTest::newRow("plain") << "readme.txt"
                           << "readme.txt";
}

void TestSetupOperations::captions()
{
    QFETCH(QString, stored);
    QTEST(LookupSetupCaption(stored), "caption");
}

void TestSetupOperations::captionsFollowTheLanguage()
{
    const QString mo = file(QStringLiteral("de.locale"));
    QVERIFY(writeMoCatalogue(mo,
        { { QStringLiteral("Call system"), QStringLiteral("Rufanlage") },
            { QStringLiteral("Nexo 2 Set (proximity sensor)"),
                QStringLiteral("Nexo 2 Set (Näherungssensor)") } }));
    bindTextDomain(QStringLiteral("default"), mo);
    setCurrentLanguage(QStringLiteral("de"));
    QCOMPARE(LookupSetupCaption(QStringLiteral("%CALLSYSTEM% %nexo2 set%")),
        QStringLiteral("Rufanlage Nexo 2 Set (Näherungssensor)"));

    bindTextDomain(QStringLiteral("default"), file(QStringLiteral("none.locale")));
    setCurrentLanguage(QStringLiteral("en"));
    QCOMPARE(LookupSetupCaption(QStringLiteral("%CALLSYSTEM%")), QStringLiteral("Call system"));
}

void TestSetupOperations::folderListing()
{
    const QString folder = file(QStringLiteral("Setups/"));
    QVERIFY(QDir().mkpath(folder + QStringLiteral("sub folder")));
    QVERIFY(QDir().mkpath(folder + QStringLiteral(".hidden folder")));
    for (const char *name : { "beta.cfg", "Alpha.cfg", ".hidden.cfg", "readme", "Zeta.txt", "alpha2.cfg" })
        writeAll(folder + QString::fromLatin1(name), "[Config]\n");
    QVERIFY(QFile::link(folder + QStringLiteral("beta.cfg"), folder + QStringLiteral("link.cfg")));
    QVERIFY(QFile::link(folder + QStringLiteral("gone.cfg"), folder + QStringLiteral("dangling.cfg")));

    QStringList names { QStringLiteral("kept") };
    FindSetupFiles(folder, names);
    QCOMPARE(names,
        QStringList({ QStringLiteral("kept"), QStringLiteral(".hidden.cfg"), QStringLiteral("Alpha.cfg"),
            QStringLiteral("alpha2.cfg"), QStringLiteral("beta.cfg"), QStringLiteral("link.cfg"),
            QStringLiteral("readme"), QStringLiteral("Zeta.txt") }));
}

void TestSetupOperations::missingFolderListsNothing()
{
    QStringList names;
    FindSetupFiles(file(QStringLiteral("no such folder/")), names);
    QVERIFY(names.isEmpty());
}

void TestSetupOperations::recordsRead_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("modes");
    QTest::addColumn<bool>("modesKept");

    const QByteArray full = "[Config]\r\nModecount=4\r\nModeDescriptor=" + QByteArray(280, '0')
        + "\r\nSpecialActionDesc=" + QByteArray(22, '0') + "\r\nAlarmSettings=" + QByteArray(34, '0')
        + "\r\nAntiTremor=00000000\r\n";
    QTest::newRow("every record") << full << 4 << false;
    QTest::newRow("without ModeDescriptor")
        << QByteArray("[Config]\nModecount=3\nAntiTremor=1E00C800\n") << 3 << true;
    QTest::newRow("without Modecount") << QByteArray("[Config]\nName=x\n") << 0 << true;
    QTest::newRow("five modes") << QByteArray("[Config]\nModecount=5\n") << 5 << true;
}

void TestSetupOperations::recordsRead()
{
    QFETCH(QByteArray, content);
    QFETCH(int, modes);
    QFETCH(bool, modesKept);
    const QString path = file(QStringLiteral("load.cfg"));
    writeAll(path, content);

    tParameterSet params = pattern();
    ReadSetupRecords(path, params);
    QCOMPARE(params.ModeCount, modes);
    QCOMPARE(params.modeBytes() == pattern().modeBytes(), modesKept);
}

void TestSetupOperations::refusedFileLeavesRecordsExactly_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("conversionError");

    QTest::newRow("six modes") << QByteArray("[Config]\nModecount=6\nAntiTremor=00000000\n") << false;
    QTest::newRow("negative mode count") << QByteArray("[Config]\nModecount=-1\n") << false;
    QTest::newRow("malformed mode count") << QByteArray("[Config]\nModecount=two\n") << true;
    // The bad pair comes after good ones, and after a good record.
    QTest::newRow("malformed last record")
        << QByteArray("[Config]\nModecount=1\nModeDescriptor=0000\nAntiTremor=0000XY00\n") << true;
}

void TestSetupOperations::refusedFileLeavesRecordsExactly()
{
    QFETCH(QByteArray, content);
    QFETCH(bool, conversionError);
    const QString path = file(QStringLiteral("refused.cfg"));
    writeAll(path, content);

    tParameterSet params = pattern();
    bool refused = false;
    try {
        ReadSetupRecords(path, params);
    } catch (const IniConversionError &) {
        refused = conversionError;
    } catch (const SetupFileError &e) {
        refused = !conversionError;
        QVERIFY2(QString::fromUtf8(e.what()).contains(path), e.what());
    }
    QVERIFY(refused);
    QVERIFY(params == pattern());
}

void TestSetupOperations::nameWriteKeepsFileAndForeignKeys()
{
    const QString path = file(QStringLiteral("A_B.cfg"));
    QVERIFY(SetupFile::write(path, QStringLiteral("A:B"), pattern()));
    IniFile edited(path);
    edited.writeInteger(SetupFile::Section, QStringLiteral("Image"), 4);
    edited.writeBool(SetupFile::Section, QStringLiteral("readonly"), false);
    QVERIFY(edited.save());

    QVERIFY(WriteSetupName(path, QStringLiteral("C")));
    QCOMPARE(QDir(m_dir.path()).entryList(QDir::Files), QStringList { QStringLiteral("A_B.cfg") });
    const IniFile ini(path);
    QCOMPARE(ini.readString(SetupFile::Section, QStringLiteral("Name")), QStringLiteral("C"));
    QCOMPARE(ini.readInteger(SetupFile::Section, QStringLiteral("Image"), 0), 4);
    QVERIFY(ini.hasKey(SetupFile::Section, QStringLiteral("readonly")));
    tParameterSet back;
    SetupFile::read(path, back);
    QVERIFY(back == pattern());

    // Saving over it keeps "Image" and "readonly" too.
    QVERIFY(SetupFile::write(path, QStringLiteral("D"), pattern()));
    QCOMPARE(IniFile(path).readInteger(SetupFile::Section, QStringLiteral("Image"), 0), 4);
}

void TestSetupOperations::nameWriteOfMissingFileCreatesNothing()
{
    const QString path = file(QStringLiteral("gone.cfg"));
    QVERIFY(!WriteSetupName(path, QStringLiteral("New")));
    QVERIFY(!QFile::exists(path));
}

void TestSetupOperations::deleteRemovesTheFile()
{
    const QString path = file(QStringLiteral("old.cfg"));
    writeAll(path, "[Config]\nName=old\n");
    QVERIFY(DeleteSetupFile(path));
    QVERIFY(!QFile::exists(path));
}

QTEST_GUILESS_MAIN(TestSetupOperations)
#include "tst_setupoperations.moc"
