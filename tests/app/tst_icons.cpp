#include <QIcon>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <QtTest>

class TestIcons : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void rendersAt32Pixels_data();
    void rendersAt32Pixels();
    void productPictureRenders();
};

void TestIcons::rendersAt32Pixels_data()
{
    QTest::addColumn<QString>("path");
    for (int i = 0; i <= 16; ++i)
        QTest::addRow("menu %d", i) << QStringLiteral(":/icons/menu/%1.svg").arg(i);
    QTest::newRow("app") << QStringLiteral(":/icons/app.svg");
    QTest::newRow("help") << QStringLiteral(":/icons/help.svg");
}

void TestIcons::rendersAt32Pixels()
{
    QFETCH(QString, path);

    QSvgRenderer renderer(path);
    QVERIFY2(renderer.isValid(), qPrintable(path));
    QCOMPARE(renderer.viewBoxF(), QRectF(0, 0, 48, 48));

    QImage image(32, 32, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        renderer.render(&painter);
    }
    // A legible icon covers a fair part of its square and is not one flat blot.
    int covered = 0;
    QSet<QRgb> colours;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            const QRgb pixel = image.pixel(x, y);
            if (qAlpha(pixel) > 128) {
                ++covered;
                colours.insert(pixel);
            }
        }
    QVERIFY2(covered > 150, qPrintable(QString::number(covered)));
    QVERIFY(colours.size() > 2);

    // The widgets load them through QIcon, which needs the SVG icon engine.
    QVERIFY(!QIcon(path).pixmap(32, 32).isNull());
}

void TestIcons::productPictureRenders()
{
    QSvgRenderer renderer(QStringLiteral(":/images/product.svg"));
    QVERIFY(renderer.isValid());
    QImage image(200, 150, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        renderer.render(&painter);
    }
    QVERIFY(qAlpha(image.pixel(100, 100)) == 255);
}

QTEST_MAIN(TestIcons)
#include "tst_icons.moc"
