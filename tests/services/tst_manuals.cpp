// The PDF manuals built beside the program, the path rule that finds them,
// and the generator that makes them.
#include "services/helpdocuments.h"
#include "testfiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace {

QString binDir()
{
    return QCoreApplication::applicationDirPath();
}

// Page objects only: "/Type /Pages" is the page tree.
int pageCount(const QByteArray &pdf)
{
    static const QRegularExpression pageRe(QStringLiteral("/Type\\s*/Page(?![A-Za-z])"));
    int pages = 0;
    for (auto it = pageRe.globalMatch(QString::fromLatin1(pdf)); it.hasNext(); it.next())
        ++pages;
    return pages;
}

struct GenResult
{
    int exitCode = -1;
    QString errors;
};

GenResult runGenerator(const QString &html, const QString &pdf)
{
    QProcess gen;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("SOURCE_DATE_EPOCH"), QStringLiteral("1700000000"));
    // Under the sanitizers a leak report would change the exit status.
    env.insert(QStringLiteral("ASAN_OPTIONS"), QStringLiteral("detect_leaks=0"));
    gen.setProcessEnvironment(env);
    gen.start(binDir() + QStringLiteral("/velotrix-manualgen"), { html, pdf });
    if (!gen.waitForFinished(60000) || gen.exitStatus() != QProcess::NormalExit)
        return {};
    return { gen.exitCode(), QString::fromLocal8Bit(gen.readAllStandardError()) };
}

} // namespace

class TestManuals : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void builtManual_data();
    void builtManual();
    void manualsDifferByLanguage();
    void generatorIsReproducible();
    void generatorRejectsBadPicture_data();
    void generatorRejectsBadPicture();
};

void TestManuals::builtManual_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("file");
    QTest::newRow("German") << QStringLiteral("de") << QStringLiteral("Velotrix_de.pdf");
    QTest::newRow("English") << QStringLiteral("en") << QStringLiteral("Velotrix_en.pdf");
    QTest::newRow("other language") << QStringLiteral("fr") << QStringLiteral("Velotrix_en.pdf");
    QTest::newRow("no language") << QString() << QStringLiteral("Velotrix_en.pdf");
    QTest::newRow("upper-case DE") << QStringLiteral("DE") << QStringLiteral("Velotrix_en.pdf");
}

void TestManuals::builtManual()
{
    QFETCH(QString, language);
    QFETCH(QString, file);

    const QString path = manualPath(language);
    QCOMPARE(path, binDir() + QLatin1Char('/') + file);
    QVERIFY2(QFileInfo(path).isFile(), qPrintable(path));
    const QByteArray pdf = readAll(path);
    QVERIFY(pdf.startsWith("%PDF-"));
    QVERIFY(pdf.trimmed().endsWith("%%EOF"));
    // A title page and at least one page of text.
    QVERIFY2(pageCount(pdf) > 1, qPrintable(QString::number(pageCount(pdf))));
}

void TestManuals::manualsDifferByLanguage()
{
    const QByteArray de = readAll(manualPath(QStringLiteral("de")));
    const QByteArray en = readAll(manualPath(QStringLiteral("en")));
    QVERIFY(!de.isEmpty());
    QVERIFY(!en.isEmpty());
    QVERIFY(de != en);
}

void TestManuals::generatorIsReproducible()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    writeAll(dir.filePath(QStringLiteral("icon.svg")),
        "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"48\" height=\"48\">"
        "<circle cx=\"24\" cy=\"24\" r=\"20\" fill=\"#ef6c00\"/></svg>");
    QByteArray html = "<html><head><title>Fixture</title></head><body>"
                      "<p style=\"page-break-after: always\">Version @VERSION@</p>"
                      "<table border=\"1\"><tr><td><img src=\"icon.svg\" width=\"32\" height=\"32\"></td>"
                      "<td>Write to Velotrix</td></tr></table>";
    // Several faces and many distinct glyphs: font embedding is where
    // run-to-run differences would show.
    for (int i = 0; i < 80; ++i)
        html += "<p>Paragraph " + QByteArray::number(i)
            + ": <b>Übertragung erfolgreich</b>, <i>Zurücksetzen</i>, <code>velotrixctl --pin 1234</code> "
              "– ÄÖÜ äöüß „quoted“ 0123456789 QWERTZ qwertz.</p>";
    html += "</body></html>";
    writeAll(dir.filePath(QStringLiteral("manual.html")), html);

    const QString first = dir.filePath(QStringLiteral("first.pdf"));
    const QString second = dir.filePath(QStringLiteral("second.pdf"));
    const GenResult a = runGenerator(dir.filePath(QStringLiteral("manual.html")), first);
    QVERIFY2(a.exitCode == 0, qPrintable(a.errors));
    const GenResult b = runGenerator(dir.filePath(QStringLiteral("manual.html")), second);
    QVERIFY2(b.exitCode == 0, qPrintable(b.errors));

    const QByteArray pdf = readAll(first);
    QVERIFY(pdf.startsWith("%PDF-"));
    QVERIFY(pageCount(pdf) >= 3);
    // The rendered picture is embedded as an image.
    QVERIFY(pdf.contains("/Subtype /Image"));
    QVERIFY(pdf == readAll(second));
}

void TestManuals::generatorRejectsBadPicture_data()
{
    QTest::addColumn<QByteArray>("svg");
    QTest::addColumn<QString>("src");
    QTest::newRow("missing file") << QByteArray() << QStringLiteral("gone.svg");
    QTest::newRow("not an SVG") << QByteArray("this is no picture") << QStringLiteral("broken.svg");
}

void TestManuals::generatorRejectsBadPicture()
{
    QFETCH(QByteArray, svg);
    QFETCH(QString, src);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    if (!svg.isEmpty())
        writeAll(dir.filePath(src), svg);
    const QString html = dir.filePath(QStringLiteral("manual.html"));
    writeAll(
        html, "<html><body><p>Text</p><p><img src=\"" + src.toUtf8() + "\" width=\"32\"></p></body></html>");

    const QString pdf = dir.filePath(QStringLiteral("manual.pdf"));
    const GenResult result = runGenerator(html, pdf);
    QCOMPARE(result.exitCode, 1);
    QVERIFY2(result.errors.contains(src), qPrintable(result.errors));
    // A failed run leaves no PDF that a later build step could take as done.
    QVERIFY(!QFileInfo::exists(pdf));
}

QTEST_MAIN(TestManuals)
#include "tst_manuals.moc"
