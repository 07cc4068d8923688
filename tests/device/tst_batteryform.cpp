#include "app/appwindows.h"
#include "device/batteryform.h"
#include "devicewindows.h"
#include "services/messagedlg.h"

#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QTest>
#include <QTimer>

// The battery window: its layout, the picture and text painted for a
// reading, and where it appears.
class TestBatteryform : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void layout();
    void paintReading_data();
    void paintReading();
    void centredOnMainWindowOnlyFirstTime();
};

void TestBatteryform::layout()
{
    ScriptedPrompt prompt;
    TBatteryform form(prompt, nullptr);
    QCOMPARE(form.windowTitle(), QStringLiteral("Battery status"));
    QVERIFY(form.windowFlags().testFlag(Qt::Tool));
    QCOMPARE(form.minimumSize(), QSize(260, 136));
    QCOMPARE(form.maximumSize(), QSize(260, 136));
    QCOMPARE(form.palette().color(QPalette::Window), QColor(Qt::white));
    QCOMPARE(form.Image->geometry(), QRect(22, 10, 64, 64));
    QCOMPARE(form.Label1->pos(), QPoint(102, 35));
    QVERIFY(form.Label1->font().bold());
    QCOMPARE(form.Label1->font().pixelSize(), 13);
    QCOMPARE(form.BitBtn1->geometry(), QRect(179, 99, 73, 29));
    QCOMPARE(form.BitBtn1->text(), QStringLiteral("OK"));

    // Four different pictures, all rendered from the resources.
    QCOMPARE(form.PngImageList1.size(), 4);
    for (int i = 0; i < 4; ++i) {
        const QImage image = form.PngImageList1[i].toImage();
        QCOMPARE(image.size(), QSize(64, 64));
        QVERIFY2(image.pixelColor(32, 32).alpha() > 0, "icon not rendered");
        for (int j = 0; j < i; ++j)
            QVERIFY(image != form.PngImageList1[j].toImage());
    }
}

void TestBatteryform::paintReading_data()
{
    QTest::addColumn<int>("reading");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("icon");

    QTest::newRow("1") << 1 << "0%" << 3;
    QTest::newRow("3735") << 3735 << "25%" << 2;
    QTest::newRow("3789") << 3789 << "50%" << 1;
    QTest::newRow("3967") << 3967 << "80%" << 0;
    QTest::newRow("65535") << 65535 << "100%" << 0;
}

void TestBatteryform::paintReading()
{
    QFETCH(int, reading);
    QFETCH(QString, text);
    QFETCH(int, icon);

    ScriptedPrompt prompt;
    TBatteryform form(prompt, nullptr);
    form.PaintReading(quint16(reading));

    QCOMPARE(form.Label1->text(), text);
    // The icon on a solid white picture.
    QImage expected(64, 64, QImage::Format_ARGB32_Premultiplied);
    expected.fill(Qt::white);
    {
        QPainter p(&expected);
        p.drawPixmap(0, 0, form.PngImageList1[icon]);
    }
    const QImage painted = form.picture().toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QCOMPARE(painted, expected);
    QCOMPARE(form.Image->pixmap().toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied), expected);
}

void TestBatteryform::centredOnMainWindowOnlyFirstTime()
{
    DeviceWindows d;
    d.main().show();
    d.main().move(40, 30);
    QVERIFY(QTest::qWaitForWindowExposed(&d.main()));
    // Shown for real, in its own event loop.
    WindowPrompt real;
    TBatteryform form(real, &d.main(), &d.main());

    const auto closeSoon = [&form] { QTimer::singleShot(50, form.BitBtn1, &QPushButton::click); };
    closeSoon();
    form.PaintReading(4000);
    QCOMPARE(form.ShowModal(), int(QDialog::Accepted));
    const QPoint centred = centredTopLeft(d.main().frameGeometry(), form.frameGeometry().size());
    QCOMPARE(form.frameGeometry().topLeft(), centred);

    // Moved by the user, it comes back where it was left.
    form.move(centred + QPoint(70, 50));
    const QPoint left = form.pos();
    closeSoon();
    form.ShowModal();
    QCOMPARE(form.pos(), left);
}

QTEST_MAIN(TestBatteryform)
#include "tst_batteryform.moc"
