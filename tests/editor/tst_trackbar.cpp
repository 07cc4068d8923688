// The track bar: clamping, the changed() contract the editor's snapping
// handler relies on, the value label, keys, jump-to-click and what assistive
// tools read.

#include "editor/controls/trackbar.h"

#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QSignalSpy>
#include <QSlider>
#include <QTest>
#include <QToolTip>
#include <QVBoxLayout>

namespace {

// Snaps to a multiple of the step the way the editor's shared handler does
// (halves away from zero are good enough here; the editor owns the rounding).
void snapToStep(TTrackBar *bar)
{
    const int step = bar->step();
    const int snapped = qRound(double(bar->position()) / step) * step;
    bar->setPosition(snapped);
}

// A shown, active window holding one track bar.
struct Window
{
    QWidget widget;
    TTrackBar *bar = new TTrackBar;

    Window()
    {
        auto *layout = new QVBoxLayout(&widget);
        layout->addWidget(bar);
        widget.resize(420, 80);
    }

    bool show()
    {
        widget.show();
        widget.activateWindow();
        return QTest::qWaitForWindowActive(&widget);
    }
};

} // namespace

class TestTrackBar : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void setPositionClamps_data();
    void setPositionClamps();
    void setRangeClampsPosition();
    void snappingHandlerSettles_data();
    void snappingHandlerSettles();
    void laterObserversSeeTheSettledValue();
    void labelShowsFormatWithValue_data();
    void labelShowsFormatWithValue();
    void keysMoveByStep_data();
    void keysMoveByStep();
    void clickOnGroove_data();
    void clickOnGroove();
    void dragShowsValueHint();
    void accessibleNameAndValue();
};

void TestTrackBar::setPositionClamps_data()
{
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("expected");
    QTest::addColumn<int>("emissions");

    // Range 10..1000 throughout.
    QTest::newRow("inside") << 100 << 500 << 500 << 1;
    QTest::newRow("below min") << 100 << 5 << 10 << 1;
    QTest::newRow("negative") << 100 << -300 << 10 << 1;
    QTest::newRow("above max") << 100 << 2000 << 1000 << 1;
    QTest::newRow("unchanged") << 100 << 100 << 100 << 0;
    QTest::newRow("above max while at max") << 1000 << 5000 << 1000 << 0;
    QTest::newRow("below min while at min") << 10 << 0 << 10 << 0;
}

void TestTrackBar::setPositionClamps()
{
    QFETCH(int, start);
    QFETCH(int, value);
    QFETCH(int, expected);
    QFETCH(int, emissions);

    TTrackBar bar;
    bar.setRange(10, 1000);
    bar.setStep(10);
    bar.setPosition(start);
    QCOMPARE(bar.position(), start);

    QSignalSpy spy(&bar, &TTrackBar::changed);
    bar.setPosition(value);
    QCOMPARE(bar.position(), expected);
    QCOMPARE(spy.count(), emissions);
    QCOMPARE(bar.slider()->value(), expected);
}

void TestTrackBar::setRangeClampsPosition()
{
    TTrackBar bar;
    bar.setRange(0, 5000);
    bar.setPosition(4000);
    QSignalSpy spy(&bar, &TTrackBar::changed);

    bar.setRange(500, 3000);
    QCOMPARE(bar.position(), 3000);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(bar.minimum(), 500);
    QCOMPARE(bar.maximum(), 3000);

    // A range that keeps the position reports nothing.
    bar.setRange(100, 5000);
    QCOMPARE(bar.position(), 3000);
    QCOMPARE(spy.count(), 1);
}

void TestTrackBar::snappingHandlerSettles_data()
{
    QTest::addColumn<int>("min");
    QTest::addColumn<int>("max");
    QTest::addColumn<int>("step");
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("settled");
    QTest::addColumn<int>("emissions");

    QTest::newRow("snaps down") << 10 << 1000 << 10 << 234 << 230 << 2;
    QTest::newRow("snaps up") << 10 << 1000 << 10 << 236 << 240 << 2;
    QTest::newRow("already a multiple") << 10 << 1000 << 10 << 230 << 230 << 1;
    // The minimum is no multiple of the step: the snapped value falls below
    // it and is clamped back, which then changes nothing.
    QTest::newRow("snapped below the minimum") << 10 << 1000 << 100 << 30 << 10 << 2;
    QTest::newRow("small range below one step") << 10 << 60 << 100 << 40 << 10 << 2;
    QTest::newRow("maximum off the step grid") << 0 << 1500 << 1000 << 1400 << 1000 << 2;
}

void TestTrackBar::snappingHandlerSettles()
{
    QFETCH(int, min);
    QFETCH(int, max);
    QFETCH(int, step);
    QFETCH(int, value);
    QFETCH(int, settled);
    QFETCH(int, emissions);

    TTrackBar bar;
    bar.setRange(min, max);
    bar.setStep(step);
    bar.setPosition(min);
    connect(&bar, &TTrackBar::changed, &bar, [&bar] { snapToStep(&bar); });
    QSignalSpy spy(&bar, &TTrackBar::changed);

    bar.setPosition(value);
    QCOMPARE(bar.position(), settled);
    QCOMPARE(spy.count(), emissions);
    QCOMPARE(bar.slider()->value(), settled);
}

void TestTrackBar::laterObserversSeeTheSettledValue()
{
    Window w;
    TTrackBar *bar = w.bar;
    bar->setRange(0, 5000);
    bar->setStep(100);
    bar->setLabelFormat(QStringLiteral("Long hold break: %d ms"));
    QVERIFY(w.show());
    connect(bar, &TTrackBar::changed, bar, [bar] { snapToStep(bar); });
    QList<int> seen;
    connect(bar, &TTrackBar::changed, bar, [&] { seen.append(bar->position()); });

    bar->setPosition(1234);
    QCOMPARE(bar->position(), 1200);
    QCOMPARE(seen, (QList<int> { 1200, 1200 }));
    QCOMPARE(bar->labelText(), QStringLiteral("Long hold break: 1200 ms"));

    // The same through the keyboard: End goes to 5000, which is on the grid.
    seen.clear();
    bar->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_End);
    QCOMPARE(bar->position(), 5000);
    QCOMPARE(seen, (QList<int> { 5000 }));
}

void TestTrackBar::labelShowsFormatWithValue_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("shown");

    QTest::newRow("ms") << "Long hold break: %d ms" << 1500 << "Long hold break: 1500 ms";
    QTest::newRow("no space before unit") << "Time: %dms" << 300 << "Time: 300ms";
    QTest::newRow("level") << "Brightness: %d" << 0 << "Brightness: 0";
    QTest::newRow("no placeholder") << "Volume" << 7 << "Volume";
}

void TestTrackBar::labelShowsFormatWithValue()
{
    QFETCH(QString, format);
    QFETCH(int, value);
    QFETCH(QString, shown);

    TTrackBar bar;
    bar.setRange(0, 5000);
    bar.setPosition(value);
    bar.setLabelFormat(format);
    QCOMPARE(bar.labelFormat(), format);
    QCOMPARE(bar.labelText(), shown);
    QList<QLabel *> labels = bar.findChildren<QLabel *>();
    QCOMPARE(labels.size(), 1);
    QCOMPARE(labels.first()->text(), shown);

    // The label follows the value.
    bar.setPosition(value + 1);
    QString next = format;
    next.replace(QLatin1String("%d"), QString::number(value + 1));
    QCOMPARE(labels.first()->text(), next);
}

void TestTrackBar::keysMoveByStep_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("expected");

    // Range 100..5000, step 100, start 1000.
    QTest::newRow("right") << int(Qt::Key_Right) << 1100;
    QTest::newRow("left") << int(Qt::Key_Left) << 900;
    QTest::newRow("up") << int(Qt::Key_Up) << 1100;
    QTest::newRow("down") << int(Qt::Key_Down) << 900;
    QTest::newRow("page up") << int(Qt::Key_PageUp) << 1100;
    QTest::newRow("page down") << int(Qt::Key_PageDown) << 900;
    QTest::newRow("home") << int(Qt::Key_Home) << 100;
    QTest::newRow("end") << int(Qt::Key_End) << 5000;
}

void TestTrackBar::keysMoveByStep()
{
    QFETCH(int, key);
    QFETCH(int, expected);

    Window w;
    w.bar->setRange(100, 5000);
    w.bar->setStep(100);
    w.bar->setPosition(1000);
    QVERIFY(w.show());
    // Focus given to the track bar lands on its slider.
    w.bar->setFocus();
    QCOMPARE(QApplication::focusWidget(), w.bar->slider());

    QSignalSpy spy(w.bar, &TTrackBar::changed);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
    QCOMPARE(w.bar->position(), expected);
    QCOMPARE(spy.count(), 1);
}

void TestTrackBar::clickOnGroove_data()
{
    QTest::addColumn<bool>("jump");
    QTest::addColumn<double>("fraction"); // of the slider's width
    QTest::addColumn<int>("low");
    QTest::addColumn<int>("high");

    // Range 0..1000, step 10, start 0.
    QTest::newRow("jump to three quarters") << true << 0.75 << 700 << 800;
    QTest::newRow("jump to a quarter") << true << 0.25 << 200 << 300;
    QTest::newRow("jump to the right end") << true << 0.999 << 980 << 1000;
    QTest::newRow("pages without jump") << false << 0.75 << 10 << 10;
}

void TestTrackBar::clickOnGroove()
{
    QFETCH(bool, jump);
    QFETCH(double, fraction);
    QFETCH(int, low);
    QFETCH(int, high);

    Window w;
    w.bar->setRange(0, 1000);
    w.bar->setStep(10);
    w.bar->setJumpToClick(jump);
    QVERIFY(w.show());
    QCOMPARE(w.bar->jumpToClick(), jump);

    QSlider *slider = w.bar->slider();
    const QPoint at(int(slider->width() * fraction), slider->height() / 2);
    QTest::mouseClick(slider, Qt::LeftButton, {}, at);
    QVERIFY2(w.bar->position() >= low && w.bar->position() <= high,
        qPrintable(QStringLiteral("position %1").arg(w.bar->position())));
}

void TestTrackBar::dragShowsValueHint()
{
    Window w;
    w.bar->setRange(0, 1000);
    w.bar->setStep(10);
    w.bar->setPosition(0);
    QVERIFY(w.show());

    QSlider *slider = w.bar->slider();
    const int y = slider->height() / 2;
    QTest::mousePress(slider, Qt::LeftButton, {}, QPoint(3, y));
    QVERIFY(slider->isSliderDown());
    for (int x = 10; x <= slider->width() / 2; x += 10)
        QTest::mouseMove(slider, QPoint(x, y));
    QVERIFY(w.bar->position() > 300);
    QCOMPARE(QToolTip::text(), QString::number(w.bar->position()));
    QTest::mouseRelease(slider, Qt::LeftButton, {}, QPoint(slider->width() / 2, y));
}

void TestTrackBar::accessibleNameAndValue()
{
    TTrackBar bar;
    bar.setRange(0, 10);
    bar.setPosition(3);
    bar.setLabelFormat(QStringLiteral("Volume: %d"));
    QCOMPARE(bar.focusProxy(), bar.slider());

    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(bar.slider());
    QVERIFY(iface);
    QCOMPARE(iface->text(QAccessible::Name), QStringLiteral("Volume: 3"));
    QAccessibleValueInterface *value = iface->valueInterface();
    QVERIFY(value);
    QCOMPARE(value->currentValue().toInt(), 3);

    bar.setPosition(8);
    QCOMPARE(iface->text(QAccessible::Name), QStringLiteral("Volume: 8"));
    QCOMPARE(value->currentValue().toInt(), 8);
    bar.setLabelFormat(QStringLiteral("Lautstärke: %d"));
    QCOMPARE(iface->text(QAccessible::Name), QStringLiteral("Lautstärke: 8"));
}

QTEST_MAIN(TestTrackBar)
#include "tst_trackbar.moc"
