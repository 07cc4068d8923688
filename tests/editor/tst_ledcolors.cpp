// LED colours: the palette, what the device makes of a colour (RGB565), and
// the colour selector that offers them.

#include "device/records.h"
#include "editor/controls/colorselector.h"
#include "editor/controls/ledpalette.h"
#include "mocatalogue.h"
#include "services/translation.h"
#include "services/windowtranslator.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QSet>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QVBoxLayout>

namespace {

QColor rgb(std::uint32_t value)
{
    return QColor::fromRgb(QRgb(value));
}

QList<QColor> quantisedPalette()
{
    QList<QColor> colors;
    for (const QColor &c : ledPaletteColors())
        colors.append(quantisedColor(c));
    return colors;
}

// A shown window with a selector offering the quantised palette, as the
// editor sets it up.
struct Window
{
    QWidget widget;
    TColorSelector *selector = new TColorSelector;

    Window()
    {
        auto *layout = new QVBoxLayout(&widget);
        layout->addWidget(selector);
        selector->setColors(quantisedPalette());
    }

    bool show()
    {
        widget.show();
        widget.activateWindow();
        return QTest::qWaitForWindowActive(&widget);
    }
};

} // namespace

class TestLedColors : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void paletteInTableOrder_data();
    void paletteInTableOrder();
    void quantised_data();
    void quantised();
    void quantisingTwiceChangesNothing();
    void windowColorByteOrder();

    void colorText_data();
    void colorText();
    void listedColorSelectedByCode();
    void unlistedColorIsTheExtraEntry();
    void userPickFromPopup();
    void userPickByKey();
    void entriesCarryTheirValues();
    void neverTranslated();
};

void TestLedColors::paletteInTableOrder_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QColor>("color");

    QTest::newRow("first") << 0 << rgb(0x993300);
    QTest::newRow("orange") << 3 << rgb(0xFF6600);
    QTest::newRow("grey") << 9 << rgb(0x808080);
    QTest::newRow("magenta") << 18 << rgb(0xFF00FF);
    QTest::newRow("silver") << 25 << rgb(0xC0C0C0);
    QTest::newRow("lavender") << 32 << rgb(0xCC99FF);
    QTest::newRow("white, last") << 33 << rgb(0xFFFFFF);
}

void TestLedColors::paletteInTableOrder()
{
    QFETCH(int, index);
    QFETCH(QColor, color);

    const QList<QColor> palette = ledPaletteColors();
    QCOMPARE(palette.size(), 34);
    QCOMPARE(palette.at(index), color);
    // Not quantised, and every colour once.
    QSet<QRgb> distinct;
    for (const QColor &c : palette)
        distinct.insert(c.rgb());
    QCOMPARE(distinct.size(), 34);
}

void TestLedColors::quantised_data()
{
    QTest::addColumn<QColor>("color");
    QTest::addColumn<QColor>("expected");

    QTest::newRow("orange") << rgb(0xFF6600) << rgb(0xF86400);
    QTest::newRow("white") << rgb(0xFFFFFF) << rgb(0xF8FCF8);
    QTest::newRow("low bits clear") << rgb(0x808080) << rgb(0x808080);
    QTest::newRow("start colour") << rgb(0x0080FF) << rgb(0x0080F8);
    QTest::newRow("black") << rgb(0x000000) << rgb(0x000000);
}

void TestLedColors::quantised()
{
    QFETCH(QColor, color);
    QFETCH(QColor, expected);
    QCOMPARE(quantisedColor(color), expected);
}

void TestLedColors::quantisingTwiceChangesNothing()
{
    for (const QColor &c : ledPaletteColors()) {
        const QColor once = quantisedColor(c);
        QCOMPARE(quantisedColor(once), once);
        // What the device keeps: five bits of red and blue, six of green.
        QCOMPARE(once.red() & 0x07, 0);
        QCOMPARE(once.green() & 0x03, 0);
        QCOMPARE(once.blue() & 0x07, 0);
        QVERIFY(c.red() - once.red() < 8 && c.green() - once.green() < 4 && c.blue() - once.blue() < 8);
    }
}

void TestLedColors::windowColorByteOrder()
{
    QCOMPARE(toWindowColor(rgb(0x123456)), 0x563412u);
    QCOMPARE(fromWindowColor(0x563412u), rgb(0x123456));
    // The standard page's start colour as the mode record stores it.
    QCOMPARE(ColorToRGB565(toWindowColor(rgb(0x0080FF))), std::uint16_t(0x041F));
}

void TestLedColors::colorText_data()
{
    QTest::addColumn<QColor>("color");
    QTest::addColumn<QString>("text");

    QTest::newRow("orange") << rgb(0xF86400) << "R F8  G 64  B 00";
    QTest::newRow("start colour") << rgb(0x0080FF) << "R 00  G 80  B FF";
    QTest::newRow("black") << rgb(0x000000) << "R 00  G 00  B 00";
    QTest::newRow("small values") << rgb(0x0A0B0C) << "R 0A  G 0B  B 0C";
}

void TestLedColors::colorText()
{
    QFETCH(QColor, color);
    QFETCH(QString, text);
    QCOMPARE(TColorSelector::colorText(color), text);
}

void TestLedColors::listedColorSelectedByCode()
{
    TColorSelector selector;
    QSignalSpy spy(&selector, &TColorSelector::colorSelected);
    selector.setColors(quantisedPalette());
    QCOMPARE(selector.colors(), quantisedPalette());
    QCOMPARE(selector.count(), 34);
    QCOMPARE(selector.selectedColor(), quantisedColor(rgb(0x993300)));

    selector.setSelectedColor(rgb(0xF86400));
    QCOMPARE(selector.currentIndex(), 3);
    QCOMPARE(selector.selectedColor(), rgb(0xF86400));
    QCOMPARE(selector.count(), 34);
    QCOMPARE(selector.toolTip(), QStringLiteral("R F8  G 64  B 00"));
    QCOMPARE(spy.count(), 0);
}

void TestLedColors::unlistedColorIsTheExtraEntry()
{
    TColorSelector selector;
    selector.setColors(quantisedPalette());
    QSignalSpy spy(&selector, &TColorSelector::colorSelected);

    selector.setSelectedColor(rgb(0x0080FF));
    QCOMPARE(selector.count(), 35);
    QCOMPARE(selector.currentIndex(), 34);
    QCOMPARE(selector.selectedColor(), rgb(0x0080FF));
    QCOMPARE(selector.toolTip(), QStringLiteral("R 00  G 80  B FF"));

    // Another unlisted colour takes the extra entry's place.
    selector.setSelectedColor(rgb(0x112233));
    QCOMPARE(selector.count(), 35);
    QCOMPARE(selector.selectedColor(), rgb(0x112233));

    // New colours keep the selection, still as the extra entry.
    selector.setColors(quantisedPalette().mid(0, 10));
    QCOMPARE(selector.count(), 11);
    QCOMPARE(selector.selectedColor(), rgb(0x112233));

    // A listed colour retires it; the colour list itself never held it.
    selector.setSelectedColor(quantisedPalette().at(2));
    QCOMPARE(selector.count(), 10);
    QCOMPARE(selector.currentIndex(), 2);
    QCOMPARE(selector.colors().size(), 10);
    QCOMPARE(spy.count(), 0);
}

void TestLedColors::userPickFromPopup()
{
    Window w;
    w.selector->setSelectedColor(rgb(0x0080FF));
    QVERIFY(w.show());
    QList<std::pair<QColor, QColor>> seen; // (argument, selectedColor())
    connect(w.selector, &TColorSelector::colorSelected, w.selector, [&](const QColor &c) {
        seen.append({ c, w.selector->selectedColor() });
    });

    w.selector->showPopup();
    QAbstractItemView *view = w.selector->view();
    QTRY_VERIFY(view->isVisible());
    const QRect item = view->visualRect(view->model()->index(3, 0));
    QVERIFY(item.isValid());
    // The popup ignores a release that comes as fast as a double click.
    QTest::qWait(QApplication::doubleClickInterval() + 50);
    const QPoint at(qMin(item.center().x(), view->viewport()->width() / 2), item.center().y());
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
    QTRY_VERIFY(!view->isVisible());

    QCOMPARE(seen.size(), 1);
    QCOMPARE(seen.first().first, rgb(0xF86400));
    QCOMPARE(seen.first().second, rgb(0xF86400));
    QCOMPARE(w.selector->toolTip(), QStringLiteral("R F8  G 64  B 00"));
    // The start colour is no longer offered.
    QCOMPARE(w.selector->count(), 34);
}

void TestLedColors::userPickByKey()
{
    Window w;
    w.selector->setSelectedColor(quantisedPalette().at(5));
    QVERIFY(w.show());
    w.selector->setFocus();
    QSignalSpy spy(w.selector, &TColorSelector::colorSelected);

    QTest::keyClick(w.selector, Qt::Key_Down);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.first().at(0).value<QColor>(), quantisedPalette().at(6));
    QCOMPARE(w.selector->selectedColor(), quantisedPalette().at(6));
    QCOMPARE(w.selector->toolTip(), TColorSelector::colorText(quantisedPalette().at(6)));
}

void TestLedColors::entriesCarryTheirValues()
{
    TColorSelector selector;
    selector.setColors(quantisedPalette());
    selector.setSelectedColor(rgb(0x0080FF));
    for (int i = 0; i < selector.count(); ++i) {
        const QColor c = i < 34 ? quantisedPalette().at(i) : rgb(0x0080FF);
        QCOMPARE(selector.itemData(i, Qt::ToolTipRole).toString(), TColorSelector::colorText(c));
        QCOMPARE(selector.itemData(i, Qt::AccessibleTextRole).toString(), TColorSelector::colorText(c));
        // A swatch, no text.
        QVERIFY(selector.itemText(i).isEmpty());
        QVERIFY(!selector.itemIcon(i).isNull());
    }
    QCOMPARE(selector.itemData(3, Qt::ToolTipRole).toString(), QStringLiteral("R F8  G 64  B 00"));
}

void TestLedColors::neverTranslated()
{
    // The selector's hint is data that happens to be in the catalogue; a
    // plain combo box beside it shows the catalogue is in use.
    const QString hint = TColorSelector::colorText(rgb(0x0080FF));
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString catalogue = dir.filePath(QStringLiteral("de.locale"));
    QVERIFY(writeMoCatalogue(catalogue, { { hint, QStringLiteral("übersetzt") } }));
    bindTextDomain(QStringLiteral("default"), catalogue);
    setCurrentLanguage(QStringLiteral("de"));

    QWidget window;
    auto *layout = new QVBoxLayout(&window);
    auto *selector = new TColorSelector;
    selector->setColors(quantisedPalette());
    selector->setSelectedColor(rgb(0x0080FF));
    auto *plain = new QComboBox;
    plain->addItem(hint);
    plain->setToolTip(hint);
    layout->addWidget(selector);
    layout->addWidget(plain);

    TranslateComponent(&window);
    QCOMPARE(plain->toolTip(), QStringLiteral("übersetzt"));
    QCOMPARE(plain->itemText(0), QStringLiteral("übersetzt"));
    QCOMPARE(selector->toolTip(), hint);
    QCOMPARE(selector->count(), 35);
    QCOMPARE(selector->itemData(34, Qt::ToolTipRole).toString(), hint);
    QCOMPARE(selector->selectedColor(), rgb(0x0080FF));

    setCurrentLanguage(QStringLiteral("en"));
}

QTEST_MAIN(TestLedColors)
#include "tst_ledcolors.moc"
