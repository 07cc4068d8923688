// The mode pager: the order of its events, its insert and close buttons, and
// the standard page that stays at the first position.

#include "editor/controls/modepager.h"

#include <QApplication>
#include <QSignalSpy>
#include <QTabBar>
#include <QTest>
#include <QToolButton>

namespace {

// A shown pager with the standard page and three mode pages, wide enough for
// all tabs.
struct Fixture
{
    TModePager pager;
    QList<QWidget *> pages;

    Fixture()
    {
        for (const char *caption : { "Standard mode", "Mode 1", "Mode 2", "Mode 3" }) {
            auto *page = new QWidget;
            page->setObjectName(QString::fromLatin1(caption));
            pages.append(page);
            pager.addTab(page, QString::fromLatin1(caption));
        }
        pager.resize(640, 300);
    }

    bool show()
    {
        pager.show();
        pager.activateWindow();
        return QTest::qWaitForWindowActive(&pager);
    }

    QTabBar *bar() const { return pager.tabBar(); }

    // Tab captions in order, checked against the pages they show.
    QStringList order() const
    {
        QStringList captions;
        for (int i = 0; i < pager.count(); ++i) {
            const QString caption = pager.tabText(i);
            captions.append(
                pager.widget(i)->objectName() == caption ? caption : caption + QStringLiteral("?"));
        }
        return captions;
    }

    // Drags a tab with the mouse to x, in small steps.
    void drag(int from, int toX)
    {
        const QPoint start = bar()->tabRect(from).center();
        QTest::mousePress(bar(), Qt::LeftButton, {}, start);
        const int steps = 20;
        for (int i = 1; i <= steps; ++i)
            QTest::mouseMove(bar(), QPoint(start.x() + (toX - start.x()) * i / steps, start.y()));
        QTest::mouseRelease(bar(), Qt::LeftButton, {}, QPoint(toX, start.y()));
        // Let the tab's slide into place finish.
        QTest::qWait(350);
    }
};

QStringList captions(std::initializer_list<const char *> list)
{
    QStringList result;
    for (const char *c : list)
        result.append(QString::fromLatin1(c));
    return result;
}

} // namespace

class TestModePager : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void tabPressedBeforePageChange_data();
    void tabPressedBeforePageChange();
    void buttons_data();
    void buttons();
    void buttonsReachableByKeyboard();
    void moveByCode_data();
    void moveByCode();
    void dragTabs_data();
    void dragTabs();
};

void TestModePager::tabPressedBeforePageChange_data()
{
    QTest::addColumn<int>("current");
    QTest::addColumn<int>("clicked");
    QTest::addColumn<QStringList>("events");

    QTest::newRow("another tab") << 0 << 2 << captions({ "pressed 2 while 0", "changed 2" });
    QTest::newRow("back to the standard page") << 3 << 0 << captions({ "pressed 0 while 3", "changed 0" });
    QTest::newRow("the active tab") << 1 << 1 << captions({ "pressed 1 while 1" });
}

void TestModePager::tabPressedBeforePageChange()
{
    QFETCH(int, current);
    QFETCH(int, clicked);
    QFETCH(QStringList, events);

    Fixture f;
    f.pager.setCurrentIndex(current);
    QVERIFY(f.show());
    QStringList seen;
    connect(&f.pager, &TModePager::tabPressed, &f.pager, [&](int index) {
        seen.append(QStringLiteral("pressed %1 while %2").arg(index).arg(f.pager.currentIndex()));
    });
    connect(&f.pager, &QTabWidget::currentChanged, &f.pager,
        [&](int index) { seen.append(QStringLiteral("changed %1").arg(index)); });

    QTest::mouseClick(f.bar(), Qt::LeftButton, {}, f.bar()->tabRect(clicked).center());
    QCOMPARE(seen, events);
    QCOMPARE(f.pager.currentIndex(), clicked);
}

void TestModePager::buttons_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("hint");
    QTest::addColumn<bool>("insert");

    QTest::newRow("insert") << "InsertButton"
                            << "Insert new page" << true;
    QTest::newRow("close") << "CloseButton"
                           << "Close" << false;
}

void TestModePager::buttons()
{
    QFETCH(QString, name);
    QFETCH(QString, hint);
    QFETCH(bool, insert);

    Fixture f;
    QVERIFY(f.show());
    auto *button = f.pager.findChild<QToolButton *>(name);
    QVERIFY(button);
    QCOMPARE(button, insert ? f.pager.insertButton() : f.pager.closeButton());
    QCOMPARE(button->toolTip(), hint);
    QVERIFY(!button->icon().isNull());
    QVERIFY(button->isVisible());

    QSignalSpy inserts(&f.pager, &TModePager::insertClicked);
    QSignalSpy closes(&f.pager, &TModePager::closeClicked);
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(inserts.count(), insert ? 1 : 0);
    QCOMPARE(closes.count(), insert ? 0 : 1);
    QCOMPARE(f.pager.count(), 4); // the owner adds and removes pages

    const auto setVisible = [&](bool visible) {
        insert ? f.pager.setInsertButtonVisible(visible) : f.pager.setCloseButtonVisible(visible);
    };
    const auto isVisible
        = [&] { return insert ? f.pager.isInsertButtonVisible() : f.pager.isCloseButtonVisible(); };
    setVisible(false);
    QVERIFY(!isVisible());
    QVERIFY(!button->isVisible());
    // The other button stays.
    QVERIFY((insert ? f.pager.closeButton() : f.pager.insertButton())->isVisible());
    setVisible(true);
    QVERIFY(isVisible());
    QVERIFY(button->isVisible());
}

void TestModePager::buttonsReachableByKeyboard()
{
    Fixture f;
    QVERIFY(f.show());
    f.bar()->setFocus();
    QSignalSpy inserts(&f.pager, &TModePager::insertClicked);

    // Tab through the window until the insert button has the focus.
    for (int i = 0; i < 10 && QApplication::focusWidget() != f.pager.insertButton(); ++i)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), f.pager.insertButton());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    QCOMPARE(inserts.count(), 1);

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), f.pager.closeButton());
}

void TestModePager::moveByCode_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<QStringList>("order");

    const QStringList unchanged = captions({ "Standard mode", "Mode 1", "Mode 2", "Mode 3" });
    QTest::newRow("standard page away") << 0 << 2 << unchanged;
    QTest::newRow("standard page to the end") << 0 << 3 << unchanged;
    QTest::newRow("before the standard page") << 2 << 0 << unchanged;
    QTest::newRow("neighbour before it") << 1 << 0 << unchanged;
    QTest::newRow("among the modes") << 3 << 1 << captions({ "Standard mode", "Mode 3", "Mode 1", "Mode 2" });
    QTest::newRow("to the end") << 1 << 3 << captions({ "Standard mode", "Mode 2", "Mode 3", "Mode 1" });
}

void TestModePager::moveByCode()
{
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(QStringList, order);

    Fixture f;
    f.bar()->moveTab(from, to);
    QCOMPARE(f.order(), order);
    QCOMPARE(f.pager.widget(0), f.pages.first());
}

void TestModePager::dragTabs_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<QString>("to"); // "start" or "end" of the tab bar
    QTest::addColumn<QStringList>("order");

    const QStringList unchanged = captions({ "Standard mode", "Mode 1", "Mode 2", "Mode 3" });
    QTest::newRow("standard page to the end") << 0 << "end" << unchanged;
    QTest::newRow("mode 2 to the start")
        << 2 << "start" << captions({ "Standard mode", "Mode 2", "Mode 1", "Mode 3" });
    QTest::newRow("mode 3 to the start")
        << 3 << "start" << captions({ "Standard mode", "Mode 3", "Mode 1", "Mode 2" });
    QTest::newRow("mode 1 to the end")
        << 1 << "end" << captions({ "Standard mode", "Mode 2", "Mode 3", "Mode 1" });
}

void TestModePager::dragTabs()
{
    QFETCH(int, from);
    QFETCH(QString, to);
    QFETCH(QStringList, order);

    Fixture f;
    QVERIFY(f.show());
    const int x = to == QLatin1String("start") ? 1 : f.bar()->tabRect(f.bar()->count() - 1).right() - 1;
    f.drag(from, x);
    QCOMPARE(f.order(), order);
    QCOMPARE(f.pager.widget(0), f.pages.first());
}

QTEST_MAIN(TestModePager)
#include "tst_modepager.moc"
