#include "faketool.h"
#include "update/dfuprogrammer.h"
#include "update/dfurunner.h"
#include "update/firmwarefolder.h"
#include "update/tooloutput.h"

#include <QTemporaryDir>
#include <QTest>

namespace {

QStringList lines(std::initializer_list<const char *> items)
{
    QStringList result;
    for (const char *item : items)
        result.append(QString::fromUtf8(item));
    return result;
}

} // namespace

// The firmware folder's names, the tool's dialects and verdicts, and its
// output on the way to the memo; the runs use the test's own tool.
class TestFirmwareLogic : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void findNewUpdate_data();
    void findNewUpdate();
    void listingIsSortedAndMasked();
    void eepromPath();
    void commandLines_data();
    void commandLines();
    void versionText_data();
    void versionText();
    void verdict_data();
    void verdict();
    void splitter_data();
    void splitter();
    void memoKeepsProgressOnOneLine();
    void runsOfTheTool_data();
    void runsOfTheTool();
    void hangingToolIsStopped();
    void toolLookup();
};

void TestFirmwareLogic::findNewUpdate_data()
{
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<int>("build");
    QTest::addColumn<int>("index");
    const QString n07 = QStringLiteral("Velotrix_V1.3.07.hex");
    const QString n11 = QStringLiteral("Velotrix_V1.3.11.hex");
    const QString n12 = QStringLiteral("Velotrix_V1.3.12.hex");
    QTest::newRow("newer one picked") << QStringList { n07, n12 } << 10 << 1;
    QTest::newRow("same build is not newer") << QStringList { n07, n12 } << 12 << -1;
    QTest::newRow("first newer, not newest") << QStringList { n11, n12 } << 10 << 0;
    QTest::newRow("non-digits skipped")
        << QStringList { QStringLiteral("Velotrix_V1.3.xx.hex"), n12 } << 10 << 1;
    QTest::newRow("two-digit variation finds none")
        << QStringList { QStringLiteral("Velotrix_V1.12.15.hex") } << 1 << -1;
    QTest::newRow("short name") << QStringList { QStringLiteral("Velotrix.hex") } << 0 << -1;
    QTest::newRow("empty list") << QStringList {} << 0 << -1;
}

void TestFirmwareLogic::findNewUpdate()
{
    QFETCH(QStringList, names);
    QFETCH(int, build);
    QFETCH(int, index);
    QCOMPARE(FindNewUpdate(names, build), index);
}

void TestFirmwareLogic::listingIsSortedAndMasked()
{
    QTemporaryDir dir;
    for (const char *name : { "Velotrix_V1.3.12.hex", "Velotrix_V1.3.07.hex", "Velotrix_V1.3.9a.hex",
             "Velotrix_V1.4.01.hex", "Velotrix_V1.3.123.hex", "Velotrix_V1.3.10.eep", "other.hex" }) {
        QFile f(dir.filePath(QString::fromLatin1(name)));
        QVERIFY(f.open(QIODevice::WriteOnly));
    }
    QDir().mkpath(dir.filePath(QStringLiteral("Velotrix_V1.3.99.hex"))); // a folder, not a file
    QStringList list { QStringLiteral("stale") };
    QVERIFY(GetFilenames(dir.path(), firmwareMask(3), list));
    QCOMPARE(list,
        QStringList({ QStringLiteral("Velotrix_V1.3.07.hex"), QStringLiteral("Velotrix_V1.3.9a.hex"),
            QStringLiteral("Velotrix_V1.3.12.hex") }));
    QVERIFY(!GetFilenames(dir.filePath(QStringLiteral("missing")), firmwareMask(3), list));
    QVERIFY(list.isEmpty());
    QCOMPARE(firmwareMask(12), QStringLiteral("Velotrix_V1.12.??.hex"));
    QCOMPARE(firmwareFolder(QStringLiteral("/home/u/Documents/Velotrix/")),
        QStringLiteral("/home/u/Documents/Velotrix/FWUpdate/"));
}

void TestFirmwareLogic::eepromPath()
{
    QCOMPARE(eepromPathOf(QStringLiteral("/d/FWUpdate/Velotrix_V1.3.12.hex")),
        QStringLiteral("/d/FWUpdate/Velotrix_V1.3.12.eep"));
    QCOMPARE(eepromPathOf(QStringLiteral("Velotrix_V1.3.12.hex")), QStringLiteral("Velotrix_V1.3.12.eep"));
}

void TestFirmwareLogic::commandLines_data()
{
    QTest::addColumn<QByteArray>("version");
    QTest::addColumn<QByteArray>("flash");
    QTest::addColumn<QByteArray>("eeprom");
    QTest::addColumn<QByteArray>("launch");
    QTest::newRow("0.6.1") << QByteArray("dfu-programmer 0.6.1")
                           << QByteArray(
                                  "atxmega32a4u flash --suppress-bootloader-mem --suppress-validation F.hex")
                           << QByteArray("atxmega32a4u flash-eeprom --suppress-validation F.eep")
                           << QByteArray("atxmega32a4u start");
    QTest::newRow("0.7.2")
        << QByteArray("dfu-programmer 0.7.2")
        << QByteArray("atxmega32a4u flash --force --suppress-bootloader-mem --suppress-validation F.hex")
        << QByteArray("atxmega32a4u flash --force --eeprom --suppress-validation F.eep")
        << QByteArray("atxmega32a4u launch --no-reset");
    QTest::newRow("1.1.0")
        << QByteArray("dfu-programmer 1.1.0")
        << QByteArray("atxmega32a4u flash --force --suppress-bootloader-mem --suppress-validation F.hex")
        << QByteArray("atxmega32a4u flash --force --eeprom --suppress-validation F.eep")
        << QByteArray("atxmega32a4u launch --no-reset");
}

void TestFirmwareLogic::commandLines()
{
    QFETCH(QByteArray, version);
    QFETCH(QByteArray, flash);
    QFETCH(QByteArray, eeprom);
    QFETCH(QByteArray, launch);
    const DfuVersion v = parseDfuVersion(QString::fromLatin1(version));
    QCOMPARE(dfuFlashArguments(v, QStringLiteral("F.hex")).join(u' ').toLatin1(), flash);
    QCOMPARE(dfuEepromArguments(v, QStringLiteral("F.eep")).join(u' ').toLatin1(), eeprom);
    QCOMPARE(dfuLaunchArguments(v).join(u' ').toLatin1(), launch);
}

void TestFirmwareLogic::versionText_data()
{
    QTest::addColumn<QByteArray>("output");
    QTest::addColumn<bool>("known");
    QTest::addColumn<bool>("modern");
    QTest::newRow("0.6.1") << QByteArray("dfu-programmer 0.6.1\n") << true << false;
    QTest::newRow("0.5.4") << QByteArray("dfu-programmer 0.5.4\n") << true << false;
    QTest::newRow("0.7.0") << QByteArray("dfu-programmer 0.7.0\n") << true << true;
    QTest::newRow("two parts") << QByteArray("dfu-programmer 0.8\n") << true << true;
    QTest::newRow("garbage") << QByteArray("Usage: ...\n") << false << true;
}

void TestFirmwareLogic::versionText()
{
    QFETCH(QByteArray, output);
    QFETCH(bool, known);
    QFETCH(bool, modern);
    const DfuVersion v = parseDfuVersion(QString::fromLatin1(output));
    QCOMPARE(v.known, known);
    QCOMPARE(v.modern(), modern);
}

void TestFirmwareLogic::verdict_data()
{
    QTest::addColumn<QByteArray>("version");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<bool>("crashed");
    QTest::addColumn<QByteArray>("output");
    QTest::addColumn<bool>("ok");
    const QByteArray good07 = "[>>>>]  Success\n0x3000 bytes written";
    QTest::newRow("0.7 marker, exit 0") << QByteArray("0.7.2") << 0 << false << good07 << true;
    QTest::newRow("0.7 marker, exit 1") << QByteArray("0.7.2") << 1 << false << good07 << false;
    QTest::newRow("0.7 exit 0 without marker")
        << QByteArray("0.7.2") << 0 << false << QByteArray("[>>>>]\n") << false;
    QTest::newRow("0.7 Success without space")
        << QByteArray("0.7.2") << 0 << false << QByteArray("[>>>>]Success\n") << false;
    QTest::newRow("0.7 crashed after marker") << QByteArray("0.7.2") << 0 << true << good07 << false;
    QTest::newRow("0.6 exit 0, no marker")
        << QByteArray("0.6.1") << 0 << false << QByteArray("12288 bytes used (37.50%)\n") << true;
    QTest::newRow("0.6 exit 1") << QByteArray("0.6.1") << 1 << false << QByteArray("Error while flashing.\n")
                                << false;
    QTest::newRow("0.6 exit 1 with marker text")
        << QByteArray("0.6.1") << 1 << false << QByteArray(" Success") << false;
}

void TestFirmwareLogic::verdict()
{
    QFETCH(QByteArray, version);
    QFETCH(int, exitCode);
    QFETCH(bool, crashed);
    QFETCH(QByteArray, output);
    QFETCH(bool, ok);
    const DfuVersion v = parseDfuVersion(QStringLiteral("dfu-programmer ") + QString::fromLatin1(version));
    DfuStepResult r;
    r.started = true;
    r.exitCode = exitCode;
    r.exitStatus = crashed ? QProcess::CrashExit : QProcess::NormalExit;
    r.output = QString::fromLatin1(output);
    QCOMPARE(dfuStepSucceeded(v, r), ok);
    r.started = false;
    QVERIFY(!dfuStepSucceeded(v, r));
}

void TestFirmwareLogic::splitter_data()
{
    QTest::addColumn<QList<QByteArray>>("chunks");
    QTest::addColumn<QStringList>("expected");
    using C = QList<QByteArray>;
    QTest::newRow("lines") << C { "a\nb\n" } << lines({ "a", "b" });
    QTest::newRow("pieces extend the line")
        << C { "[", ">>", ">>", "]  Success\n", "next\n" } << lines({ "[>>>>]  Success", "next" });
    QTest::newRow("CRLF is one line end") << C { "a\r\nb\r", "\nc" } << lines({ "a", "b", "c" });
    QTest::newRow("carriage-return progress")
        << C { "  0%\r", " 50%\r", "100%\n", "done\n" } << lines({ "100%", "done" });
    QTest::newRow("blank lines dropped") << C { "a\n\n\nb" } << lines({ "a", "b" });
    QTest::newRow("UTF-8 split across chunks") << C { "Gr\xC3",
        "\xBC\xC3\x9F"
        "e\n" } << lines({ "Grüße" });
}

void TestFirmwareLogic::splitter()
{
    QFETCH(QList<QByteArray>, chunks);
    QFETCH(QStringList, expected);
    ToolOutputSplitter splitter;
    MemoLines memo;
    memo.addLine(QStringLiteral("Writing ROM."));
    for (const QByteArray &chunk : chunks) {
        for (const OutputPiece &piece : splitter.feed(chunk))
            memo.apply(piece);
    }
    QCOMPARE(memo.lines(), QStringList { QStringLiteral("Writing ROM.") } + expected);
}

void TestFirmwareLogic::memoKeepsProgressOnOneLine()
{
    MemoLines memo;
    memo.apply({ QStringLiteral("first"), OutputPiece::Continue });
    QCOMPARE(memo.lines(), QStringList { QStringLiteral("first") });
    memo.addLine(QStringLiteral("Waiting for device ."));
    memo.appendTo(1, QStringLiteral("."));
    memo.appendTo(7, QStringLiteral("x"));
    QCOMPARE(memo.lines(), lines({ "first", "Waiting for device ..", "x" }));
}

void TestFirmwareLogic::runsOfTheTool_data()
{
    QTest::addColumn<QByteArray>("version");
    QTest::addColumn<QByteArray>("mode");
    QTest::addColumn<bool>("eeprom");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<bool>("permission");
    QTest::newRow("0.6.1 flash") << QByteArray("0.6.1") << QByteArray("ok") << false << true << false;
    QTest::newRow("0.6.1 eeprom") << QByteArray("0.6.1") << QByteArray("ok") << true << true << false;
    QTest::newRow("0.6.1 flash fails")
        << QByteArray("0.6.1") << QByteArray("fail-flash") << false << false << false;
    QTest::newRow("0.6.1 no device") << QByteArray("0.6.1") << QByteArray("nodevice") << false << false
                                     << true;
    QTest::newRow("0.7.2 flash") << QByteArray("0.7.2") << QByteArray("ok") << false << true << false;
    QTest::newRow("0.7.2 eeprom") << QByteArray("0.7.2") << QByteArray("ok") << true << true << false;
    QTest::newRow("0.7.2 error") << QByteArray("0.7.2") << QByteArray("fail-flash") << false << false
                                 << false;
    QTest::newRow("0.7.2 Success without space")
        << QByteArray("0.7.2") << QByteArray("nospace") << false << false << false;
    QTest::newRow("0.7.2 exit 0 without marker")
        << QByteArray("0.7.2") << QByteArray("zero-no-marker") << false << false << false;
}

void TestFirmwareLogic::runsOfTheTool()
{
    QFETCH(QByteArray, version);
    QFETCH(QByteArray, mode);
    QFETCH(bool, eeprom);
    QFETCH(bool, ok);
    QFETCH(bool, permission);
    QTemporaryDir dir;
    QVERIFY(FakeTool::install(dir.path()));
    FakeTool::configure(version.constData(), mode.constData(), dir.filePath(QStringLiteral("log")));
    const QString tool = findDfuProgrammer(dir.path());
    QCOMPARE(tool, QDir(dir.path()).filePath(QStringLiteral("dfu-programmer")));
    QFile image(dir.filePath(QStringLiteral("F.hex")));
    QVERIFY(image.open(QIODevice::WriteOnly));
    image.close();

    DfuRunner runner;
    MemoLines memo;
    int pieces = 0;
    runner.onPiece = [&](const OutputPiece &piece) {
        ++pieces;
        memo.apply(piece);
    };
    const DfuVersion v = runner.version(tool);
    QCOMPARE(v.text(), QString::fromLatin1(version));
    const QStringList args = eeprom ? dfuEepromArguments(v, QStringLiteral("F.hex"))
                                    : dfuFlashArguments(v, QStringLiteral("F.hex"));
    const DfuStepResult result = runner.run(tool, args, dir.path());
    QVERIFY(result.started);
    QCOMPARE(dfuStepSucceeded(v, result), ok);
    QCOMPARE(dfuLacksPermission(result), permission);
    // What reached the memo is what the tool printed, line for line.
    QCOMPARE(memo.text(),
        QString(result.output)
            .remove(QLatin1Char('\r'))
            .trimmed()
            .replace(QStringLiteral("\n\n"), QStringLiteral("\n")));
    if (version == "0.7.2" && mode == "ok")
        QVERIFY2(pieces > 3, "the progress bar arrives in pieces");
}

void TestFirmwareLogic::hangingToolIsStopped()
{
    QTemporaryDir dir;
    QVERIFY(FakeTool::install(dir.path()));
    FakeTool::configure("0.7.2", "hang", dir.filePath(QStringLiteral("log")));
    QFile image(dir.filePath(QStringLiteral("F.hex")));
    QVERIFY(image.open(QIODevice::WriteOnly));
    image.close();
    DfuRunner runner;
    runner.timeoutMs = 300;
    QElapsedTimer timer;
    timer.start();
    const DfuStepResult result = runner.run(findDfuProgrammer(dir.path()),
        dfuFlashArguments(parseDfuVersion(QStringLiteral("dfu-programmer 0.7.2")), QStringLiteral("F.hex")),
        dir.path());
    QVERIFY(result.timedOut);
    QVERIFY(!dfuStepSucceeded(parseDfuVersion(QStringLiteral("dfu-programmer 0.7.2")), result));
    QVERIFY(timer.elapsed() < 5000);
}

void TestFirmwareLogic::toolLookup()
{
    QTemporaryDir dir;
    // A copy that may not be run is passed over for the one on the PATH.
    QFile plain(dir.filePath(QStringLiteral("dfu-programmer")));
    QVERIFY(plain.open(QIODevice::WriteOnly));
    plain.close();
    QVERIFY(QFile::setPermissions(plain.fileName(), QFile::ReadOwner | QFile::WriteOwner));
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", dir.filePath(QStringLiteral("nothing")).toLocal8Bit());
    QCOMPARE(findDfuProgrammer(dir.path()), QString());
    qputenv("PATH", path);
    QVERIFY(FakeTool::install(dir.path()));
    QCOMPARE(findDfuProgrammer(dir.path()), plain.fileName());
    DfuRunner runner;
    const DfuStepResult missing = runner.run(dir.filePath(QStringLiteral("none")), {}, dir.path());
    QVERIFY(!missing.started);
}

QTEST_GUILESS_MAIN(TestFirmwareLogic)
#include "tst_firmwarelogic.moc"
