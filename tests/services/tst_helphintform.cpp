#include "testdoubles.h"
#include "services/helpdocuments.h"
#include "services/helphintform.h"
#include "services/hintfilter.h"

#include <QApplication>
#include <QDesktopServices>
#include <QHelpEvent>
#include <QImage>
#include <QPainter>
#include <QTabBar>
#include <QTest>
#include <QTextBrowser>
#include <QToolTip>

class TestHelpHintForm : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void pictures();
    void pictureMarkupRenders_data();
    void pictureMarkupRenders();
    void startsHiddenAndEmpty();
    void closingKeepsContent();
    void besideRect_data();
    void besideRect();
    void paneFollowsOnlyWhenVisible();
    void hintText_data();
    void hintText();
    void hintFilterShowsLineBreaks();
    void helpDocuments_data();
    void helpDocuments();
};

namespace {

// Red pixels of the arrow in the upper and the lower half of a picture.
QPair<int, int> redPixels(const QPixmap &pixmap)
{
    const QImage image = pixmap.toImage();
    int upper = 0;
    int lower = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.red() > 180 && c.green() < 60 && c.blue() < 60)
                ++(y < image.height() / 2 ? upper : lower);
        }
    return { upper, lower };
}

} // namespace

void TestHelpHintForm::pictures()
{
    const QList<QPixmap> images = HTML_PngImageList();
    QCOMPARE(images.size(), 2);
    for (const QPixmap &p : images)
        QCOMPARE(p.size(), QSize(128, 128));
    const auto [upper0, lower0] = redPixels(images.at(0));
    const auto [upper1, lower1] = redPixels(images.at(1));
    QVERIFY2(upper0 > 200 && lower0 == 0, qPrintable(QStringLiteral("%1 %2").arg(upper0).arg(lower0)));
    QVERIFY2(lower1 > 200 && upper1 == 0, qPrintable(QStringLiteral("%1 %2").arg(upper1).arg(lower1)));
}

void TestHelpHintForm::pictureMarkupRenders_data()
{
    QTest::addColumn<QString>("html");
    QTest::addColumn<int>("picture");
    QTest::newRow("picture 0, upper-case tag")
        << R"(<p><b>Output 1</b><br><br><IMG src="idx:0"><br></p><hr><br>)" << 0;
    QTest::newRow("picture 1") << R"(<p><img src="idx:1"></p>)" << 1;
}

void TestHelpHintForm::pictureMarkupRenders()
{
    QFETCH(QString, html);
    QFETCH(int, picture);

    THelpHintForm pane;
    pane.setHelpHtml(QStringLiteral("<p>first</p>"));
    pane.HTMLForm1->clear();
    pane.setHelpHtml(html); // pictures survive replaced and cleared content
    QTextDocument *doc = pane.HTMLForm1->document();
    const QVariant resource
        = doc->resource(QTextDocument::ImageResource, QUrl(QStringLiteral("idx:%1").arg(picture)));
    QVERIFY(resource.canConvert<QPixmap>());
    QCOMPARE(resource.value<QPixmap>().toImage(), HTML_PngImageList().at(picture).toImage());

    // Laid out at full size, not as a missing-image placeholder.
    doc->setTextWidth(223);
    QVERIFY2(doc->size().height() >= 128, qPrintable(QString::number(doc->size().height())));

    // Painted: the arrow's red shows in the rendered pane.
    QImage shot(223, 400, QImage::Format_RGB32);
    shot.fill(Qt::white);
    QPainter painter(&shot);
    doc->drawContents(&painter);
    painter.end();
    int red = 0;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x) {
            const QColor c = shot.pixelColor(x, y);
            red += c.red() > 180 && c.green() < 60 && c.blue() < 60;
        }
    QVERIFY(red > 200);
}

void TestHelpHintForm::startsHiddenAndEmpty()
{
    THelpHintForm pane;
    QCOMPARE(pane.windowTitle(), QStringLiteral("Info"));
    QVERIFY(pane.windowFlags().testFlag(Qt::Tool));
    QVERIFY(!pane.isVisible());
    QCOMPARE(pane.size(), QSize(223, 628));
    QVERIFY(pane.HTMLForm1->document()->isEmpty());
    QCOMPARE(pane.palette().color(QPalette::Window), QColor(Qt::white));
    QCOMPARE(pane.HTMLForm1->frameShape(), QFrame::NoFrame);
    pane.show();
    QVERIFY(QTest::qWaitForWindowExposed(&pane));
    QCOMPARE(pane.HTMLForm1->geometry(), pane.rect());
}

void TestHelpHintForm::closingKeepsContent()
{
    THelpHintForm pane;
    pane.setHelpHtml(QStringLiteral("<p><b>Toggle switch</b><br>text</p>"));
    pane.show();
    QVERIFY(QTest::qWaitForWindowExposed(&pane));
    QVERIFY(pane.close());
    QVERIFY(!pane.isVisible());
    QVERIFY(!pane.testAttribute(Qt::WA_DeleteOnClose));
    QVERIFY(pane.HTMLForm1->toPlainText().contains(QStringLiteral("Toggle switch")));
}

void TestHelpHintForm::besideRect_data()
{
    QTest::addColumn<QRect>("main");
    QTest::addColumn<QRect>("pane");
    QTest::addColumn<bool>("takeHeight");
    QTest::addColumn<QRect>("expected");

    QTest::newRow("takes height") << QRect(100, 50, 914, 660) << QRect(0, 0, 239, 667) << true
                                  << QRect(1014, 50, 239, 660);
    QTest::newRow("keeps own height")
        << QRect(100, 50, 914, 660) << QRect(5, 5, 239, 667) << false << QRect(1014, 50, 239, 667);
    QTest::newRow("negative position")
        << QRect(-300, -20, 500, 400) << QRect(0, 0, 223, 628) << true << QRect(200, -20, 223, 400);
}

void TestHelpHintForm::besideRect()
{
    QFETCH(QRect, main);
    QFETCH(QRect, pane);
    QFETCH(bool, takeHeight);
    QFETCH(QRect, expected);
    QCOMPARE(THelpHintForm::besideRect(main, pane, takeHeight), expected);
}

void TestHelpHintForm::paneFollowsOnlyWhenVisible()
{
    THelpHintForm pane;
    QWidget main;
    main.setGeometry(40, 30, 898, 621);

    // Hidden pane: the main window's moves leave it alone.
    pane.followMainWindow(main.frameGeometry());
    QVERIFY(!pane.isVisible());

    // Help button: beside the main window with its own height.
    pane.showFromHelpButton(main.frameGeometry());
    QVERIFY(QTest::qWaitForWindowExposed(&pane));
    QCOMPARE(
        pane.frameGeometry().topLeft(), QPoint(main.frameGeometry().right() + 1, main.frameGeometry().top()));
    QCOMPARE(pane.height(), 628);

    // Visible pane, main window moved and resized: it follows with the height.
    main.setGeometry(200, 120, 898, 500);
    pane.followMainWindow(main.frameGeometry());
    QTRY_COMPARE(
        pane.frameGeometry(), THelpHintForm::besideRect(main.frameGeometry(), pane.frameGeometry(), true));
    QCOMPARE(pane.frameGeometry().height(), main.frameGeometry().height());

    // A help text for a visible pane does not move it.
    pane.move(600, 600);
    QTRY_COMPARE(pane.pos(), QPoint(600, 600));
    pane.openBesideIfHidden(main.frameGeometry());
    QCOMPARE(pane.pos(), QPoint(600, 600));

    // Closed by the user: it stays closed; the next help text reopens it.
    pane.close();
    pane.followMainWindow(main.frameGeometry());
    QVERIFY(!pane.isVisible());
    pane.openBesideIfHidden(main.frameGeometry());
    QVERIFY(pane.isVisible());
    QTRY_COMPARE(
        pane.frameGeometry().topLeft(), QPoint(main.frameGeometry().right() + 1, main.frameGeometry().top()));
}

void TestHelpHintForm::hintText_data()
{
    QTest::addColumn<QString>("hint");
    QTest::addColumn<QString>("shown");
    QTest::newRow("two words") << "Battery@status"
                               << "Battery\nstatus";
    QTest::newRow("none") << "Write the parameters to the device."
                          << "Write the parameters to the device.";
    QTest::newRow("several") << "a@@b@"
                             << "a\n\nb\n";
    QTest::newRow("rich text") << "<b>Hint</b>@next"
                               << "<b>Hint</b><br>next";
    QTest::newRow("empty") << ""
                           << "";
}

void TestHelpHintForm::hintText()
{
    QFETCH(QString, hint);
    QFETCH(QString, shown);
    QCOMPARE(::hintText(hint), shown);
}

void TestHelpHintForm::hintFilterShowsLineBreaks()
{
    THintFilter *filter = installHintFilter(*qApp);
    QVERIFY(qApp->styleSheet().contains(QStringLiteral("QToolTip")));

    QWidget window;
    window.resize(300, 200);
    auto *bar = new QTabBar(&window);
    bar->addTab(QStringLiteral("Menu"));
    bar->setTabToolTip(0, QStringLiteral("Device@actions"));
    bar->setToolTip(QStringLiteral("Bar"));
    auto *plain = new QWidget(&window);
    plain->setGeometry(0, 100, 100, 50);
    plain->setToolTip(QStringLiteral("Battery@status"));
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    QHelpEvent onPlain(QEvent::ToolTip, QPoint(5, 5), plain->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(plain, &onPlain);
    QTRY_COMPARE(QToolTip::text(), QStringLiteral("Battery\nstatus"));

    const QPoint onTab = bar->tabRect(0).center();
    QCOMPARE(THintFilter::hintAt(bar, onTab), QStringLiteral("Device@actions"));
    QHelpEvent tabEvent(QEvent::ToolTip, onTab, bar->mapToGlobal(onTab));
    QApplication::sendEvent(bar, &tabEvent);
    QTRY_COMPARE(QToolTip::text(), QStringLiteral("Device\nactions"));

    // A hint without "@" takes Qt's own way.
    plain->setToolTip(QStringLiteral("Plain"));
    QHelpEvent plainEvent(QEvent::ToolTip, QPoint(5, 5), plain->mapToGlobal(QPoint(5, 5)));
    QVERIFY(!filter->ApplicationEvents1ShowHint(plain, &plainEvent));
    qApp->removeEventFilter(filter);
}

void TestHelpHintForm::helpDocuments_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("manual");
    QTest::newRow("German") << "de"
                            << "Velotrix_de.pdf";
    QTest::newRow("English") << "en"
                             << "Velotrix_en.pdf";
    QTest::newRow("other code") << "fr"
                                << "Velotrix_en.pdf";
    QTest::newRow("not lower case") << "DE"
                                    << "Velotrix_en.pdf";
    QTest::newRow("empty") << ""
                           << "Velotrix_en.pdf";
}

void TestHelpHintForm::helpDocuments()
{
    QFETCH(QString, language);
    QFETCH(QString, manual);

    const QString expected = QCoreApplication::applicationDirPath() + QLatin1Char('/') + manual;
    QCOMPARE(manualPath(language), expected);

    UrlCatcher catcher;
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &catcher, "open");
    QDesktopServices::setUrlHandler(QStringLiteral("https"), &catcher, "open");
    openManual(language);
    openWebsite();
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
    QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
    QCOMPARE(catcher.urls.size(), 2);
    QCOMPARE(catcher.urls.at(0), QUrl::fromLocalFile(expected));
    QCOMPARE(catcher.urls.at(1), makerWebsite());
}

QTEST_MAIN(TestHelpHintForm)
#include "tst_helphintform.moc"
