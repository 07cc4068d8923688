// The editor's click controls: two-state button, badge, check label and
// slide switch. Each reports a user's change after the change, and a change
// made by code runs no handler.

#include "editor/controls/badge.h"
#include "editor/controls/checklabel.h"
#include "editor/controls/slideswitch.h"
#include "editor/controls/twostatebutton.h"

#include <QAccessible>
#include <QApplication>
#include <QHBoxLayout>
#include <QSignalSpy>
#include <QTest>

namespace {

// A shown, active window, so that focus and key input behave as for a user.
struct Window
{
    QWidget widget;
    QHBoxLayout *layout = new QHBoxLayout(&widget);

    template <typename T> T *add(T *w)
    {
        layout->addWidget(w);
        return w;
    }

    bool show()
    {
        widget.show();
        widget.activateWindow();
        return QTest::qWaitForWindowActive(&widget);
    }
};

QString accessibleName(QWidget *w)
{
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(w);
    return iface ? iface->text(QAccessible::Name) : QStringLiteral("<no interface>");
}

} // namespace

class TestControls : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void buttonUserInputFlipsThenEmits_data();
    void buttonUserInputFlipsThenEmits();
    void buttonSetCheckedRunsNoHandler();
    void buttonAccessibleName_data();
    void buttonAccessibleName();
    void buttonSizedForBoldCaption();
    void badgeFlipsAndTakesNoFocus();

    void checkLabelCodeAndUser();

    void switchSetOnEmitsNothing();
    void switchUserInput_data();
    void switchUserInput();
    void switchDragKnob_data();
    void switchDragKnob();
    void switchAccessible();
};

void TestControls::buttonUserInputFlipsThenEmits_data()
{
    QTest::addColumn<bool>("startChecked");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<bool>("byKey");
    QTest::addColumn<int>("emissions");

    QTest::newRow("click released") << false << true << false << 1;
    QTest::newRow("click pressed") << true << true << false << 1;
    QTest::newRow("space released") << false << true << true << 1;
    QTest::newRow("space pressed") << true << true << true << 1;
    QTest::newRow("click disabled") << false << false << false << 0;
}

void TestControls::buttonUserInputFlipsThenEmits()
{
    QFETCH(bool, startChecked);
    QFETCH(bool, enabled);
    QFETCH(bool, byKey);
    QFETCH(int, emissions);

    Window w;
    auto *other = w.add(new TTwoStateButton(QStringLiteral("OTHER")));
    auto *button = w.add(new TTwoStateButton(QStringLiteral("SOUND")));
    button->setChecked(startChecked);
    button->setEnabled(enabled);
    QVERIFY(w.show());

    // What the handler sees when it runs: the state must already be flipped.
    QList<std::pair<bool, bool>> seen; // (argument, isChecked())
    connect(button, &QAbstractButton::clicked, button, [&](bool checked) {
        seen.append({ checked, button->isChecked() });
    });

    if (byKey) {
        button->setFocus();
        QCOMPARE(QApplication::focusWidget(), button);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    } else {
        QTest::mouseClick(button, Qt::LeftButton);
    }

    QCOMPARE(seen.size(), emissions);
    const bool expected = emissions ? !startChecked : startChecked;
    QCOMPARE(button->isChecked(), expected);
    for (const auto &[argument, state] : std::as_const(seen)) {
        QCOMPARE(argument, expected);
        QCOMPARE(state, expected);
    }
    QVERIFY(!other->isChecked());
}

void TestControls::buttonSetCheckedRunsNoHandler()
{
    TTwoStateButton button(QStringLiteral("LED"));
    QSignalSpy clicked(&button, &QAbstractButton::clicked);
    button.setChecked(true);
    QVERIFY(button.isChecked());
    button.setChecked(false);
    QVERIFY(!button.isChecked());
    QCOMPARE(clicked.count(), 0);
    QCOMPARE(button.focusPolicy(), Qt::StrongFocus);
}

void TestControls::buttonAccessibleName_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("toolTip");
    QTest::addColumn<QString>("name");

    QTest::newRow("caption") << "SOUND"
                             << "Sound indication"
                             << "SOUND";
    QTest::newRow("tool tip without caption") << ""
                                              << "Switch 2 - Solid state relay"
                                              << "Switch 2 - Solid state relay";
    QTest::newRow("mnemonic stripped") << "Multi &mode"
                                       << ""
                                       << "Multi mode";
    QTest::newRow("literal ampersand") << "R&&D"
                                       << ""
                                       << "R&D";
}

void TestControls::buttonAccessibleName()
{
    QFETCH(QString, text);
    QFETCH(QString, toolTip);
    QFETCH(QString, name);

    TTwoStateButton button;
    button.setText(text);
    button.setToolTip(toolTip);
    QCOMPARE(accessibleName(&button), name);

    // The name follows later changes of caption and hint.
    button.setText(QStringLiteral("INPUT"));
    QCOMPARE(accessibleName(&button), QStringLiteral("INPUT"));
    button.setText(QString());
    button.setToolTip(QStringLiteral("Alarm on/off"));
    QCOMPARE(accessibleName(&button), QStringLiteral("Alarm on/off"));

    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(&button);
    QVERIFY(iface->state().checkable);
    QVERIFY(!iface->state().checked);
    button.setChecked(true);
    QVERIFY(iface->state().checked);
}

void TestControls::buttonSizedForBoldCaption()
{
    TTwoStateButton shortButton(QStringLiteral("OK"));
    TTwoStateButton longButton(QStringLiteral("Activate Multi mode for all pages"));
    QFont bold = longButton.font();
    bold.setBold(true);
    const int captionWidth = QFontMetrics(bold).horizontalAdvance(longButton.text());

    QVERIFY(longButton.sizeHint().width() > captionWidth);
    QVERIFY(longButton.sizeHint().width() > shortButton.sizeHint().width());
    // Short captions get a usable target; pressing does not resize.
    QVERIFY(shortButton.sizeHint().width() >= 40);
    QVERIFY(shortButton.sizeHint().height() >= 24);
    const QSize released = longButton.sizeHint();
    longButton.setChecked(true);
    QCOMPARE(longButton.sizeHint(), released);
}

void TestControls::badgeFlipsAndTakesNoFocus()
{
    Window w;
    auto *button = w.add(new TTwoStateButton(QStringLiteral("OUTPUT")));
    auto *badge = w.add(new TBadge(QStringLiteral("PUSHBUTTON")));
    QVERIFY(w.show());
    button->setFocus();

    QTest::mouseClick(badge, Qt::LeftButton);
    QVERIFY(badge->isChecked());
    QTest::mouseClick(badge, Qt::LeftButton);
    QVERIFY(!badge->isChecked());
    // A click leaves the focus where it was, and Tab passes the badge by.
    QCOMPARE(QApplication::focusWidget(), button);
    QTest::keyClick(button, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), button);
    QVERIFY(!badge->hasFocus());
}

void TestControls::checkLabelCodeAndUser()
{
    Window w;
    auto *label = w.add(new TCheckLabel(QStringLiteral("Transparent click")));
    QVERIFY(w.show());
    QList<std::pair<bool, bool>> seen; // (argument, isChecked())
    connect(label, &QAbstractButton::clicked, label, [&](bool checked) {
        seen.append({ checked, label->isChecked() });
    });

    label->setChecked(true);
    label->setChecked(false);
    label->setChecked(true);
    QVERIFY(seen.isEmpty());

    QTest::mouseClick(label, Qt::LeftButton, {}, label->rect().center());
    QCOMPARE(seen, (QList<std::pair<bool, bool>> { { false, false } }));
    QTest::mouseClick(label, Qt::LeftButton, {}, label->rect().center());
    QCOMPARE(seen.size(), 2);
    QCOMPARE(seen.at(1), std::make_pair(true, true));

    // A disabled label (locked "Transparent click") ignores clicks.
    label->setEnabled(false);
    QTest::mouseClick(label, Qt::LeftButton, {}, label->rect().center());
    QCOMPARE(seen.size(), 2);
    QVERIFY(label->isChecked());
}

void TestControls::switchSetOnEmitsNothing()
{
    TSlideSwitch sw;
    QSignalSpy spy(&sw, &TSlideSwitch::stateChanged);
    QVERIFY(!sw.isOn());
    sw.setOn(true);
    QVERIFY(sw.isOn());
    sw.setOn(true);
    sw.setOn(false);
    QVERIFY(!sw.isOn());
    QCOMPARE(spy.count(), 0);
}

void TestControls::switchUserInput_data()
{
    QTest::addColumn<bool>("startOn");
    QTest::addColumn<QString>("input");
    QTest::addColumn<bool>("endOn");
    QTest::addColumn<int>("emissions");

    QTest::newRow("click off") << false << "click" << true << 1;
    QTest::newRow("click on") << true << "click" << false << 1;
    QTest::newRow("space off") << false << "space" << true << 1;
    QTest::newRow("space on") << true << "space" << false << 1;
    QTest::newRow("right off") << false << "right" << true << 1;
    QTest::newRow("left on") << true << "left" << false << 1;
    QTest::newRow("right when on") << true << "right" << true << 0;
    QTest::newRow("left when off") << false << "left" << false << 0;
    QTest::newRow("click disabled") << true << "click disabled" << true << 0;
    QTest::newRow("space disabled") << false << "space disabled" << false << 0;
}

void TestControls::switchUserInput()
{
    QFETCH(bool, startOn);
    QFETCH(QString, input);
    QFETCH(bool, endOn);
    QFETCH(int, emissions);

    Window w;
    auto *sw = w.add(new TSlideSwitch);
    sw->setOnCaption(QStringLiteral("Long click"));
    sw->setOffCaption(QStringLiteral("Double click"));
    sw->setOn(startOn);
    QVERIFY(w.show());
    sw->setFocus();
    QCOMPARE(QApplication::focusWidget(), sw);
    if (input.endsWith(QLatin1String(" disabled")))
        sw->setEnabled(false);

    QList<std::pair<bool, bool>> seen; // (argument, isOn())
    connect(sw, &TSlideSwitch::stateChanged, sw, [&](bool on) { seen.append({ on, sw->isOn() }); });

    if (input.startsWith(QLatin1String("click")))
        QTest::mouseClick(sw, Qt::LeftButton);
    else if (input.startsWith(QLatin1String("space")))
        QTest::keyClick(sw, Qt::Key_Space);
    else
        QTest::keyClick(sw, input == QLatin1String("right") ? Qt::Key_Right : Qt::Key_Left);

    QCOMPARE(sw->isOn(), endOn);
    QCOMPARE(seen.size(), emissions);
    if (emissions)
        QCOMPARE(seen.first(), std::make_pair(endOn, endOn));
}

void TestControls::switchDragKnob_data()
{
    QTest::addColumn<bool>("startOn");
    QTest::addColumn<double>("toFraction"); // of the width, where the knob is let go
    QTest::addColumn<bool>("endOn");
    QTest::addColumn<int>("emissions");

    QTest::newRow("off to on") << false << 0.95 << true << 1;
    QTest::newRow("on to off") << true << 0.05 << false << 1;
    QTest::newRow("off, not past the middle") << false << 0.3 << false << 0;
}

void TestControls::switchDragKnob()
{
    QFETCH(bool, startOn);
    QFETCH(double, toFraction);
    QFETCH(bool, endOn);
    QFETCH(int, emissions);

    Window w;
    auto *sw = w.add(new TSlideSwitch);
    sw->setOnCaption(QStringLiteral("Single"));
    sw->setOffCaption(QStringLiteral("Change"));
    sw->setOn(startOn);
    QVERIFY(w.show());
    QSignalSpy spy(sw, &TSlideSwitch::stateChanged);

    // Grab the knob and move it in small steps, as a hand would.
    const int y = sw->height() / 2;
    const int from = startOn ? sw->width() - sw->height() / 2 : sw->height() / 2;
    const int to = int(sw->width() * toFraction);
    QTest::mousePress(sw, Qt::LeftButton, {}, QPoint(from, y));
    const int steps = 8;
    for (int i = 1; i <= steps; ++i)
        QTest::mouseMove(sw, QPoint(from + (to - from) * i / steps, y));
    QTest::mouseRelease(sw, Qt::LeftButton, {}, QPoint(to, y));

    QCOMPARE(sw->isOn(), endOn);
    QCOMPARE(spy.count(), emissions);
    if (emissions)
        QCOMPARE(spy.first().at(0).toBool(), endOn);
}

void TestControls::switchAccessible()
{
    TSlideSwitch sw;
    sw.setOnCaption(QStringLiteral("Single"));
    sw.setOffCaption(QStringLiteral("Change"));
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(&sw);
    QVERIFY(iface);
    QCOMPARE(iface->role(), QAccessible::CheckBox);
    QCOMPARE(iface->text(QAccessible::Name), QStringLiteral("Change"));
    QVERIFY(iface->state().checkable);
    QVERIFY(!iface->state().checked);

    sw.setOn(true);
    QCOMPARE(iface->text(QAccessible::Name), QStringLiteral("Single"));
    QVERIFY(iface->state().checked);
    sw.setOnCaption(QStringLiteral("Einmal"));
    QCOMPARE(iface->text(QAccessible::Name), QStringLiteral("Einmal"));

    // Toggling through the accessibility action is a user change.
    QSignalSpy spy(&sw, &TSlideSwitch::stateChanged);
    QAccessibleActionInterface *actions = iface->actionInterface();
    QVERIFY(actions);
    QVERIFY(actions->actionNames().contains(QAccessibleActionInterface::toggleAction()));
    actions->doAction(QAccessibleActionInterface::toggleAction());
    QVERIFY(!sw.isOn());
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.first().at(0).toBool(), false);
}

QTEST_MAIN(TestControls)
#include "tst_controls.moc"
