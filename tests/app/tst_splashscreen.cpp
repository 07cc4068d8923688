#include "app/splashscreen.h"

#include <QElapsedTimer>
#include <QImage>
#include <QPointer>
#include <QScreen>
#include <QtTest>

class TestSplashScreen : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void closesAndDeletesItselfAfterItsLifetime();
    void clickClosesEarly();
    void framelessOnTopAndCentred();
    void paintsCardPictureAndTexts();
};

void TestSplashScreen::closesAndDeletesItselfAfterItsLifetime()
{
    // Long enough that showing another window and waiting a little cannot
    // outlast it on a loaded machine.
    QPointer<TSplashScreen> splash = new TSplashScreen(1000);
    QElapsedTimer clock;
    qint64 goneAfter = -1;
    connect(splash, &QObject::destroyed, this, [&]() { goneAfter = clock.elapsed(); });

    clock.start();
    splash->showSplash();
    QVERIFY(splash->isVisible());

    // Another window coming up (the main window at start) does not end it.
    QWidget mainWindow;
    mainWindow.show();
    QApplication::setActiveWindow(&mainWindow);
    QTest::qWait(100);
    QVERIFY(!splash.isNull());
    QVERIFY(splash->isVisible());

    QTRY_VERIFY_WITH_TIMEOUT(splash.isNull(), 5000);
    QVERIFY2(goneAfter >= 1000, qPrintable(QString::number(goneAfter)));
}

void TestSplashScreen::clickClosesEarly()
{
    QPointer<TSplashScreen> splash = new TSplashScreen(60000);
    splash->showSplash();
    QVERIFY(QTest::qWaitForWindowExposed(splash));
    QTest::mouseClick(splash, Qt::LeftButton, Qt::NoModifier, QPoint(200, 150));
    QTRY_VERIFY_WITH_TIMEOUT(splash.isNull(), 2000);
}

void TestSplashScreen::framelessOnTopAndCentred()
{
    QPointer<TSplashScreen> splash = new TSplashScreen(60000);
    splash->showSplash();

    QCOMPARE(splash->size(), QSize(400, 300));
    const Qt::WindowFlags flags = splash->windowFlags();
    QCOMPARE(flags & Qt::WindowType_Mask, Qt::SplashScreen);
    QVERIFY(flags.testFlag(Qt::FramelessWindowHint));
    QVERIFY(flags.testFlag(Qt::WindowStaysOnTopHint));

    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    QVERIFY((splash->geometry().center() - screen.center()).manhattanLength() <= 2);
    delete splash;
}

void TestSplashScreen::paintsCardPictureAndTexts()
{
    QPointer<TSplashScreen> splash = new TSplashScreen(60000);
    splash->showSplash();
    const QImage image = splash->grab().toImage().convertToFormat(QImage::Format_ARGB32);
    delete splash;
    QCOMPARE(image.size(), QSize(400, 300));

    // Rounded corners leave the outermost corner pixels see-through.
    QCOMPARE(qAlpha(image.pixel(0, 0)), 0);
    QCOMPARE(qAlpha(image.pixel(399, 299)), 0);

    // Light blue at the top, fading to white at the bottom.
    const QColor top = image.pixelColor(10, 4);
    const QColor bottom = image.pixelColor(10, 295);
    QVERIFY2(top.blue() > top.red() + 20, qPrintable(top.name()));
    QVERIFY2(bottom.red() > 245 && bottom.green() > 245 && bottom.blue() > 245, qPrintable(bottom.name()));

    auto count = [&](const QRect &area, auto match) {
        int n = 0;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                n += match(image.pixelColor(x, y)) ? 1 : 0;
        return n;
    };
    const auto red = [](const QColor &c) { return c.red() > 150 && c.green() < 90 && c.blue() < 90; };
    const auto dark = [](const QColor &c) { return c.lightness() < 90; };

    QVERIFY(count(QRect(50, 30, 260, 24), red) > 100); // product name
    QVERIFY(count(QRect(50, 55, 120, 24), dark) > 40); // version
    QVERIFY(count(QRect(100, 250, 200, 14), dark) > 40); // legal notice
    QVERIFY(count(QRect(100, 100, 200, 120), dark) > 3000); // product picture
}

QTEST_MAIN(TestSplashScreen)
#include "tst_splashscreen.moc"
