// The editor without a mouse: Tab visits the controls of the global pages and
// of the visible mode page in reading order, on pages added later as well,
// and screen readers find a name on every control.

#include "editor/controls/badge.h"
#include "editor/controls/colorselector.h"
#include "editor/controls/ledpalette.h"
#include "editor/controls/modepager.h"
#include "editor/controls/slideswitch.h"
#include "editor/controls/trackbar.h"
#include "editor/controls/twostatebutton.h"
#include "editor/editor.h"
#include "editor/editorwidgets.h"
#include "editor/globalsettings.h"
#include "editor/modepage.h"
#include "scriptedprompt.h"
#include "services/translation.h"
#include "services/windowtranslator.h"

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QPushButton>
#include <QSlider>
#include <QTabBar>
#include <QTest>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

// The editor as the main window holds it, with the window's "Save Setup"
// button after it: a control that comes last in the window's tab chain, as
// the controls of a page added later would without their own tab order.
struct AccessFixture
{
    ScriptedPrompt prompt;
    QWidget window;
    TEditor *editor = nullptr;
    QPushButton *save = nullptr;

    explicit AccessFixture(const QString &language = QStringLiteral("en"))
    {
        setCurrentLanguage(language);
        window.resize(898, 480);
        auto *layout = new QVBoxLayout(&window);
        layout->setContentsMargins(8, 8, 8, 8);
        editor = new TEditor(
            prompt, [](const QString &) {}, &window);
        layout->addWidget(editor, 1);
        save = new QPushButton(QStringLiteral("Save Setup"), &window);
        save->setObjectName(QStringLiteral("Save"));
        layout->addWidget(save, 0, Qt::AlignRight);
        editor->FormCreateSteps();
        TranslateComponent(&window);
    }

    bool show()
    {
        window.show();
        QApplication::setActiveWindow(&window);
        return QTest::qWaitForWindowActive(&window);
    }

    TGlobalSettings *globals() const { return editor->GlobalSettings; }

    // Changes a control as a user does, so that its handlers run.
    void pick(TModePage *page, int function) const
    {
        page->OutputFunctionCombobox->setCurrentIndex(function);
        editor->OutputFunctionCombobox_0Change(page->OutputFunctionCombobox);
    }
    static void click(QWidget *w) { QTest::mouseClick(w, Qt::LeftButton); }

    // Multi mode on and a page added with the pager's insert button.
    TModePage *insertPage() const
    {
        if (!globals()->MultiMode_Button->isChecked())
            click(globals()->MultiMode_Button);
        click(editor->Pager->insertButton());
        return editor->modePageAt(editor->Pager->currentIndex());
    }
};

// What has the focus, named as the tests write it: a track bar for its inner
// slider, "<pager> tabs" for a pager's tab bar.
QString focusName()
{
    QWidget *w = QApplication::focusWidget();
    if (!w)
        return QStringLiteral("(none)");
    if (qobject_cast<QSlider *>(w) && qobject_cast<TTrackBar *>(w->parentWidget()))
        return w->parentWidget()->objectName();
    if (qobject_cast<QTabBar *>(w))
        return w->parentWidget()->objectName() + QStringLiteral(" tabs");
    return w->objectName();
}

// Presses Tab (or Shift+Tab) from `start` until the focus reaches `stop` and
// lists what got the focus on the way, `stop` included. Gives up after 40
// presses, when the focus went round the window without reaching it.
QStringList tabFrom(QWidget *start, QWidget *stop, bool backwards = false)
{
    start->setFocus(backwards ? Qt::BacktabFocusReason : Qt::TabFocusReason);
    QStringList visited;
    for (int i = 0; i < 40 && QApplication::focusWidget() != stop; ++i) {
        QWidget *from = QApplication::focusWidget();
        if (!from)
            break;
        QTest::keyClick(from, Qt::Key_Tab, backwards ? Qt::ShiftModifier : Qt::NoModifier);
        visited.append(focusName());
    }
    return visited;
}

QStringList names(std::initializer_list<const char *> list, const QString &pageNumber = QString())
{
    QStringList result;
    for (const char *name : list) {
        QString s = QString::fromLatin1(name);
        if (s.endsWith(QLatin1Char('_')))
            s += pageNumber;
        result.append(s);
    }
    return result;
}

// The controls of a mode page after the pager's buttons; a role ending in
// "_" takes the page's number.
QStringList pageChain(const QStringList &functionBars, const QString &n)
{
    QStringList chain = names({ "Switch_Button1_", "Switch_Button2_", "OutputFunctionCombobox_",
                                  "Output_Button_", "Input_Button_", "Off_Button_" },
        n);
    for (const QString &bar : functionBars)
        chain.append(bar + n);
    chain += names({ "LED_Button_", "LED_ColorCombo_", "LED_Trackbar_Brightness_", "Sound_Button_",
                       "Sound_Trackbar_Volumne_" },
        n);
    return chain;
}

QString accessibleName(QWidget *w)
{
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(w);
    return iface ? iface->text(QAccessible::Name) : QString();
}

// The text of the label that names a control for assistive tools.
QString labelOf(QWidget *w)
{
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(w);
    if (!iface)
        return {};
    const auto labels = iface->relations(QAccessible::Label);
    return labels.isEmpty() ? QString() : labels.first().first->text(QAccessible::Name);
}

// A track bar is read through its inner slider, which takes the focus.
QWidget *readWidget(QWidget *w)
{
    auto *bar = qobject_cast<TTrackBar *>(w);
    return bar ? bar->slider() : w;
}

} // namespace

class TestEditorAccess : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void modePageTabOrder_data();
    void modePageTabOrder();
    void globalPagesTabOrder_data();
    void globalPagesTabOrder();
    void decorationOutOfTheChain();
    void accessibleNames_data();
    void accessibleNames();
    void namesFollowTheLanguage();
    void colourNameFollowsTheColour();
};

void TestEditorAccess::initTestCase()
{
    QVERIFY2(QFile::exists(catalogueFileFor(QStringLiteral("de"))),
        "the German catalogue must be built beside the test");
}

void TestEditorAccess::modePageTabOrder_data()
{
    QTest::addColumn<int>("pages"); // mode pages, the standard page counted
    QTest::addColumn<int>("function");
    QTest::addColumn<QStringList>("functionBars");

    const QStringList none;
    const QStringList impulse { QStringLiteral("Impulse_Trackbar_ImpulseLen_") };
    const QStringList push { QStringLiteral("TrackBar_ContStop_100ms_") };
    const QStringList repeater { QStringLiteral("RepeatFct_PulseTime_10ms_"),
        QStringLiteral("RepeatFct_delay_10ms_"), QStringLiteral("RepeatFct_PulseRepeat_10ms_") };
    const QStringList doubleClick { QStringLiteral("DBClickOutTime_10ms_"),
        QStringLiteral("DBClickOutDelay_10ms_") };

    QTest::newRow("standard page, impulse") << 1 << 0 << impulse;
    QTest::newRow("standard page, push button") << 1 << 1 << push;
    QTest::newRow("standard page, repeater") << 1 << 2 << repeater;
    QTest::newRow("standard page, toggle") << 1 << 3 << none;
    QTest::newRow("standard page, double click") << 1 << 4 << doubleClick;
    QTest::newRow("added page, push button") << 2 << 1 << push;
    QTest::newRow("third added page, repeater") << 4 << 2 << repeater;
    QTest::newRow("fifth page, double click") << 5 << 4 << doubleClick;
}

void TestEditorAccess::modePageTabOrder()
{
    QFETCH(int, pages);
    QFETCH(int, function);
    QFETCH(QStringList, functionBars);

    AccessFixture f;
    QVERIFY(f.show());
    TModePage *page = f.editor->Panel_0;
    for (int i = 1; i < pages; ++i)
        page = f.insertPage();
    QVERIFY(page);
    QCOMPARE(f.editor->Pager->currentIndex(), pages - 1);
    // A page's panel is shown once the events of its insertion ran.
    QTRY_VERIFY(page->isVisible());
    f.pick(page, function);

    // From the tabs over the pager's buttons into the page, then out of the
    // editor; the way back is the same.
    QStringList expected;
    if (f.editor->Pager->isInsertButtonVisible())
        expected.append(QStringLiteral("InsertButton"));
    if (f.editor->Pager->isCloseButtonVisible())
        expected.append(QStringLiteral("CloseButton"));
    expected += pageChain(functionBars, QString::number(page->Tag));
    expected.append(QStringLiteral("Save"));
    QCOMPARE(tabFrom(f.editor->Pager->tabBar(), f.save), expected);

    QStringList back = tabFrom(f.save, f.editor->Pager->tabBar(), true);
    std::reverse(back.begin(), back.end());
    expected.prepend(QStringLiteral("Pager tabs"));
    expected.removeLast();
    QCOMPARE(back, expected);
}

void TestEditorAccess::globalPagesTabOrder_data()
{
    QTest::addColumn<int>("globalPage");
    QTest::addColumn<QStringList>("switchOn"); // buttons clicked first
    QTest::addColumn<bool>("longClick");
    QTest::addColumn<QStringList>("chain");

    const auto list = [](std::initializer_list<const char *> l) { return names(l); };
    // "Transparent click" does not depend on Multi mode.
    QTest::newRow("Multi mode off") << 0 << QStringList() << true
                                    << list({ "MultiMode_Button", "LClick_Transparent" });
    QTest::newRow("Multi mode, long click")
        << 0 << list({ "MultiMode_Button" }) << true
        << list({ "MultiMode_Button", "Selection_SingleChange", "Selection_ModeChangeSlider",
               "SPECIALACT_HOLD_TIME", "LClick_Transparent" });
    QTest::newRow("Multi mode, double click")
        << 0 << list({ "MultiMode_Button" }) << false
        << list({ "MultiMode_Button", "Selection_SingleChange", "Selection_ModeChangeSlider",
               "Input_DbCLick1_time_10ms", "Input_DbCLick1_delay_10ms" });
    QTest::newRow("Anti-Tremor off") << 1 << QStringList() << true << list({ "AntiTremor_Button" });
    QTest::newRow("Anti-Tremor on") << 1 << list({ "AntiTremor_Button" }) << true
                                    << list({ "AntiTremor_Button", "TrackBar_HoldTime",
                                           "TrackBar_ReleaseTime" });
    QTest::newRow("alarm off") << 2 << QStringList() << true << list({ "Alarm_Button" });
    QTest::newRow("alarm on") << 2 << list({ "Alarm_Button" }) << true
                              << list({ "Alarm_Button", "ALARM_TRIGGERTIME", "AlarmLEDON_Button",
                                     "AlarmSoundON_Button", "ALARM_BEEPVOLUME", "Selection_Impulse",
                                     "Selection_Permanent", "ALARM_SWITCHTIME" });
    QTest::newRow("alarm on, LED only, permanent")
        << 2 << list({ "Alarm_Button", "AlarmLEDON_Button", "AlarmSoundON_Button", "Selection_Permanent" })
        << true
        << list({ "Alarm_Button", "ALARM_TRIGGERTIME", "AlarmLEDON_Button", "AlarmSoundON_Button",
               "Selection_Impulse", "Selection_Permanent" });
}

void TestEditorAccess::globalPagesTabOrder()
{
    QFETCH(int, globalPage);
    QFETCH(QStringList, switchOn);
    QFETCH(bool, longClick);
    QFETCH(QStringList, chain);

    AccessFixture f;
    QVERIFY(f.show());
    TGlobalSettings *gs = f.globals();
    // "Toggle" in the standard mode leaves "Transparent click" free.
    f.pick(f.editor->Panel_0, 3);
    gs->setCurrentIndex(globalPage);
    for (const QString &name : switchOn)
        f.click(gs->findChild<QWidget *>(name));
    if (!longClick) {
        gs->Selection_ModeChangeSlider->setFocus();
        QTest::keyClick(gs->Selection_ModeChangeSlider, Qt::Key_Left);
        QVERIFY(gs->DoubleClick_Panel->isVisible());
    }

    // From the page's tabs through its controls to the mode pager's tabs.
    chain.append(QStringLiteral("Pager tabs"));
    QCOMPARE(tabFrom(gs->tabBar(), f.editor->Pager->tabBar()), chain);
}

void TestEditorAccess::decorationOutOfTheChain()
{
    // Badges flip their look on a click but hold nothing; the arrows are
    // drawings. Neither takes the focus, on any page.
    AccessFixture f;
    QVERIFY(f.show());
    f.insertPage();
    const QList<TBadge *> badges = f.editor->findChildren<TBadge *>();
    const QList<TArrowShape *> arrows = f.editor->findChildren<TArrowShape *>();
    QCOMPARE(badges.size(), 2 * 5);
    QCOMPARE(arrows.size(), 2 * 2);
    for (QWidget *w : badges)
        QVERIFY2(w->focusPolicy() == Qt::NoFocus, qPrintable(w->objectName()));
    for (QWidget *w : arrows)
        QVERIFY2(w->focusPolicy() == Qt::NoFocus, qPrintable(w->objectName()));
    // Clicking a badge leaves the focus where it was.
    f.editor->Panel_0->Output_Button->setFocus();
    f.click(f.editor->Panel_0->Switch_Button);
    QCOMPARE(QApplication::focusWidget(), f.editor->Panel_0->Output_Button);
}

void TestEditorAccess::accessibleNames_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("label"); // the "labelled by" text, when there is a label

    const QString none;
    struct Row
    {
        const char *role;
        const char *name;
        const char *label;
    };
    const Row modeRows[] = {
        // Output buttons without caption are named by their hint.
        { "Switch_Button1_", "Switch 1 - Changeover contact and alarm circuit", nullptr },
        { "Switch_Button2_", "Switch 2 - Solid state relay", nullptr },
        { "Switch_Button_", "SWITCH", nullptr },
        { "Output_Button_", "OUTPUT", nullptr },
        { "Input_Button_", "INPUT", nullptr },
        { "Off_Button_", "OFF", nullptr },
        { "Repeater_Button_", "IMPULSE", nullptr },
        { "PushButton_Button_", "PUSHBUTTON", nullptr },
        { "Impulse_Button_", "REPEATER", nullptr },
        { "DoubleClick_button_", "DOUBLE CLICK", nullptr },
        { "Impulse_Trackbar_ImpulseLen_", "Impulse len: 1000 ms", nullptr },
        { "TrackBar_ContStop_100ms_", "Long hold break: 0 ms", nullptr },
        { "RepeatFct_PulseTime_10ms_", "Impulse: 500 ms", nullptr },
        { "RepeatFct_delay_10ms_", "Delay: 1000 ms", nullptr },
        { "RepeatFct_PulseRepeat_10ms_", "Repeat rate: 1000 ms", nullptr },
        { "DBClickOutTime_10ms_", "Time: 100 ms", nullptr },
        { "DBClickOutDelay_10ms_", "Delay: 100 ms", nullptr },
        { "LED_Button_", "LED", nullptr },
        // The swatch is named by its colour and labelled by its label.
        { "LED_ColorCombo_", "R 00  G 80  B FF", "LED color" },
        { "LED_Trackbar_Brightness_", "Brightness: 5", nullptr },
        { "Sound_Button_", "SOUND", nullptr },
        { "Sound_Trackbar_Volumne_", "Volume: 3", nullptr },
    };
    for (const char *page : { "0", "1" })
        for (const Row &row : modeRows) {
            const QString control = QString::fromLatin1(row.role) + QString::fromLatin1(page);
            QTest::newRow(qPrintable(control))
                << control << QString::fromLatin1(row.name) << QString::fromLatin1(row.label);
        }

    const Row globalRows[] = {
        { "MultiMode_Button", "Multi mode", nullptr },
        // A switch says the state it shows; the label above asks the question.
        { "Selection_SingleChange", "Single", nullptr },
        { "Selection_ModeChangeSlider", "Long click", "Mode changing at:" },
        { "SPECIALACT_HOLD_TIME", "Time: 4000 ms", nullptr },
        { "LClick_Transparent", "Transparent click", nullptr },
        { "Input_DbCLick1_time_10ms", "Time: 300ms", nullptr },
        { "Input_DbCLick1_delay_10ms", "Delay: 300ms", nullptr },
        { "AntiTremor_Button", "ANTI-TREMOR", nullptr },
        { "TrackBar_HoldTime", "Min. hold time: 250 ms", nullptr },
        { "TrackBar_ReleaseTime", "Min. release time: 0 ms", nullptr },
        { "Alarm_Button", "ALARM", nullptr },
        { "ALARM_TRIGGERTIME", "trigger time: 10 sec", nullptr },
        { "AlarmLEDON_Button", "LED", nullptr },
        { "AlarmSoundON_Button", "SOUND", nullptr },
        { "ALARM_BEEPVOLUME", "Beep volume: 1", nullptr },
        { "Selection_Impulse", "Impulse", nullptr },
        { "Selection_Permanent", "Permanent switch", nullptr },
        { "ALARM_SWITCHTIME", "Switch time: 1000 ms", nullptr },
        { "InsertButton", "Insert new page", nullptr },
        { "CloseButton", "Close", nullptr },
    };
    for (const Row &row : globalRows)
        QTest::newRow(row.role) << QString::fromLatin1(row.role) << QString::fromLatin1(row.name)
                                << QString::fromLatin1(row.label);
}

void TestEditorAccess::accessibleNames()
{
    QFETCH(QString, control);
    QFETCH(QString, name);
    QFETCH(QString, label);

    AccessFixture f;
    QVERIFY(f.show());
    // Page 1 is a copy of the standard page in its start state.
    f.insertPage();
    auto *w = f.editor->findChild<QWidget *>(control);
    QVERIFY2(w, "no such control");
    QCOMPARE(accessibleName(readWidget(w)), name);
    if (!label.isEmpty())
        QCOMPARE(labelOf(readWidget(w)), label);
}

void TestEditorAccess::namesFollowTheLanguage()
{
    AccessFixture f(QStringLiteral("de"));
    QVERIFY(f.show());
    TModePage *copy = f.insertPage();
    for (TModePage *page : { f.editor->Panel_0, copy }) {
        // A drop-down list says its label: on Windows as its name, on Linux
        // (whose convention names a list by its entry) as its label relation.
#ifdef Q_OS_UNIX
        QCOMPARE(labelOf(page->OutputFunctionCombobox), QStringLiteral("Funktion:"));
        QCOMPARE(accessibleName(page->OutputFunctionCombobox), QStringLiteral("Taster "));
#else
        QCOMPARE(accessibleName(page->OutputFunctionCombobox), QStringLiteral("Funktion:"));
#endif
        QCOMPARE(labelOf(page->LED_ColorCombo), QStringLiteral("LED-Farbe"));
        QCOMPARE(accessibleName(page->Switch_Button1),
            QStringLiteral("Schalter 1 - Wechselkontakt und Alarmkreis"));
        QCOMPARE(accessibleName(page->Off_Button), QStringLiteral("AUS"));
        QCOMPARE(accessibleName(page->TrackBar_ContStop_100ms->slider()),
            QStringLiteral("Zwangsabschaltung nach: 0 ms"));
    }
    QCOMPARE(labelOf(f.globals()->Selection_ModeChangeSlider), QStringLiteral("Moduswechsel bei:"));
    QCOMPARE(accessibleName(f.globals()->Selection_ModeChangeSlider), QStringLiteral("Langer Klick"));

    // Every control the keyboard can reach has a name, on every page.
    for (QWidget *w : f.editor->findChildren<QWidget *>()) {
        if (!(w->focusPolicy() & Qt::TabFocus) || qobject_cast<QTabBar *>(w)
            || w->objectName().startsWith(QLatin1String("qt_")))
            continue;
        if (w->focusProxy() || w->window() != &f.window) // a list's pop-up is its own
            continue; // the proxy carries the name (a track bar's slider)
        QVERIFY2(!accessibleName(w).isEmpty(),
            qPrintable(
                QString::fromLatin1(w->metaObject()->className()) + QLatin1Char(' ') + w->objectName()));
    }
}

void TestEditorAccess::colourNameFollowsTheColour()
{
    AccessFixture f;
    QVERIFY(f.show());
    TColorSelector *colours = f.editor->Panel_0->LED_ColorCombo;
    // Palette colour 3 as the device shows it.
    const QColor orange = quantisedColor(ledPaletteColors().at(3));
    colours->setSelectedColor(orange);
    QCOMPARE(accessibleName(colours), QStringLiteral("R F8  G 64  B 00"));

    // A user's pick names the box after the picked colour, on a copy too.
    TModePage *copy = f.insertPage();
    QCOMPARE(accessibleName(copy->LED_ColorCombo), QStringLiteral("R F8  G 64  B 00"));
    copy->LED_ColorCombo->setFocus();
    QTest::keyClick(copy->LED_ColorCombo, Qt::Key_Home);
    QCOMPARE(accessibleName(copy->LED_ColorCombo),
        TColorSelector::colorText(copy->LED_ColorCombo->colors().constFirst()));
    QCOMPARE(accessibleName(colours), QStringLiteral("R F8  G 64  B 00"));
}

QTEST_MAIN(TestEditorAccess)
#include "tst_editoraccess.moc"
