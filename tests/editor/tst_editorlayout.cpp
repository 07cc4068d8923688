// The editor as users meet it: at the main window's design size every
// control is visible without clipping, in English and in German; the
// controls are reachable with the keyboard in a sensible order and carry
// names for screen readers.

#include "editor/controls/badge.h"
#include "editor/controls/colorselector.h"
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

#include <QAbstractButton>
#include <QAccessible>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QSlider>
#include <QTabBar>
#include <QTest>
#include <QVBoxLayout>

namespace {

// The room the main window leaves the editor: 882 x 440 of its 898 x 621
// client area, below the ribbon and above the "Save Setup" row.
const QSize EditorSize(882, 440);

struct LayoutFixture
{
    ScriptedPrompt prompt;
    QWidget window;
    TEditor *editor = nullptr;

    explicit LayoutFixture(const QString &language)
    {
        setCurrentLanguage(language);
        window.resize(898, 480);
        auto *layout = new QVBoxLayout(&window);
        layout->setContentsMargins(8, 8, 8, 32);
        editor = new TEditor(
            prompt, [](const QString &) {}, &window);
        layout->addWidget(editor);
        editor->FormCreateSteps();
        TranslateComponent(&window);
        window.show();
    }
};

// What does not fit, as "object: problem" lines; empty when all fits.
QStringList clipped(QWidget *root)
{
    QStringList problems;
    const QList<QWidget *> all = root->findChildren<QWidget *>();
    for (QWidget *w : all) {
        if (!w->isVisible())
            continue;
        const QString name = w->objectName().isEmpty() ? QString::fromLatin1(w->metaObject()->className())
                + QLatin1String(" in ") + w->parentWidget()->objectName()
                                                       : w->objectName();
        if (!w->parentWidget()->rect().contains(w->geometry()))
            problems.append(name + QLatin1String(": outside its parent"));
        // A tab bar's minimum counts scroll buttons; its tabs are checked below.
        const QSize least = qobject_cast<QTabBar *>(w) ? QSize() : w->minimumSizeHint();
        if (least.isValid() && (w->width() < least.width() || w->height() < least.height()))
            problems.append(QStringLiteral("%1: smaller than its minimum %2 x %3, has %4 x %5")
                                .arg(name)
                                .arg(least.width())
                                .arg(least.height())
                                .arg(w->width())
                                .arg(w->height()));
        const bool showsText = (qobject_cast<QLabel *>(w) && !static_cast<QLabel *>(w)->text().isEmpty())
            || qobject_cast<QAbstractButton *>(w) || qobject_cast<QComboBox *>(w)
            || qobject_cast<TSlideSwitch *>(w);
        if (showsText && (w->sizeHint().width() > w->width() || w->sizeHint().height() > w->height()))
            problems.append(QStringLiteral("%1: text needs %2 x %3, has %4 x %5")
                                .arg(name)
                                .arg(w->sizeHint().width())
                                .arg(w->sizeHint().height())
                                .arg(w->width())
                                .arg(w->height()));
    }
    for (QTabBar *bar : root->findChildren<QTabBar *>()) {
        if (!bar->isVisible())
            continue;
        for (int i = 0; i < bar->count(); ++i) {
            // The caption fits its tab, on one line or wrapped at its spaces.
            const QRect tab = bar->tabRect(i);
            const QRect text = bar->fontMetrics().boundingRect(
                QRect(0, 0, tab.width(), 1000), Qt::TextWordWrap, bar->tabText(i));
            if (!bar->rect().contains(tab) || text.width() > tab.width() || text.height() > tab.height())
                problems.append(QStringLiteral("tab \"%1\": cut").arg(bar->tabText(i)));
        }
    }
    return problems;
}

// The widest value each track bar can show.
void showWidestValues(QWidget *root)
{
    for (TTrackBar *bar : root->findChildren<TTrackBar *>())
        bar->setPosition(bar->maximum());
}

QString accessibleName(QWidget *w)
{
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(w);
    return iface ? iface->text(QAccessible::Name) : QString();
}

QString labelOf(QWidget *w)
{
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(w);
    if (!iface)
        return {};
    const auto labels = iface->relations(QAccessible::Label);
    return labels.isEmpty() ? QString() : labels.first().first->text(QAccessible::Name);
}

// The controls Tab reaches inside root, in order, named after the control
// (a track bar for its inner slider).
QStringList tabChain(QWidget *root, QWidget *start)
{
    QStringList chain;
    QWidget *w = start;
    do {
        // Qt's Tab skips a widget that hands its focus to a proxy.
        if (w->isVisible() && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus) && !w->focusProxy()
            && root->isAncestorOf(w)) {
            QWidget *named = qobject_cast<QSlider *>(w) ? w->parentWidget() : w;
            chain.append(named->objectName());
        }
        w = w->nextInFocusChain();
    } while (w != start);
    return chain;
}

} // namespace

class TestEditorLayout : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void everythingFits_data();
    void everythingFits();
    void fivePagesFit();
    void tabOrder();
    void accessibleNames();
};

void TestEditorLayout::initTestCase()
{
    QVERIFY2(QFile::exists(catalogueFileFor(QStringLiteral("de"))),
        "the German catalogue must be built beside the test");
}

void TestEditorLayout::everythingFits_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<int>("function");
    QTest::addColumn<int>("globalPage");

    for (const char *language : { "en", "de" }) {
        // Impulse, Push button, Repeater and Double click, each with one of
        // the global pages; Toggle shows the third page again.
        const QList<QPair<int, int>> states { { 0, 0 }, { 1, 1 }, { 2, 2 }, { 4, 0 }, { 3, 2 } };
        for (const auto &[function, page] : states)
            QTest::addRow("%s, function %d, global page %d", language, function, page)
                << QString::fromLatin1(language) << function << page;
    }
}

void TestEditorLayout::everythingFits()
{
    QFETCH(QString, language);
    QFETCH(int, function);
    QFETCH(int, globalPage);

    LayoutFixture f(language);
    if (language == QStringLiteral("de"))
        QCOMPARE(f.editor->Pager->tabText(0), QStringLiteral("Standardmodus"));
    QTRY_COMPARE(f.editor->size(), EditorSize);

    f.editor->Panel_0->OutputFunctionCombobox->setCurrentIndex(function);
    f.editor->OutputFunctionCombobox_0Change(f.editor->Panel_0->OutputFunctionCombobox);
    f.editor->GlobalSettings->setCurrentIndex(globalPage);
    if (globalPage == 0 && function == 4) {
        // The double-click panel of the mode change instead of the long click.
        f.editor->GlobalSettings->Selection_ModeChangeSlider->setOn(false);
        f.editor->Selection_ModeChangeSliderStateChanged(false);
    }
    showWidestValues(f.editor);
    QCoreApplication::processEvents();

    const QStringList problems = clipped(f.editor);
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QLatin1String("\n"))));
    // Nor does the editor ask the main window for more room.
    const QSize least = f.editor->minimumSizeHint();
    QVERIFY2(least.width() <= EditorSize.width() && least.height() <= EditorSize.height(),
        qPrintable(QStringLiteral("%1 x %2").arg(least.width()).arg(least.height())));
}

void TestEditorLayout::fivePagesFit()
{
    LayoutFixture f(QStringLiteral("de"));
    f.editor->ReadFromDataStructs(tParameterSet {}, 5);
    f.editor->Pager->setCurrentIndex(4);
    showWidestValues(f.editor);
    QCoreApplication::processEvents();
    QCOMPARE(f.editor->size(), EditorSize);
    const QStringList problems = clipped(f.editor);
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QLatin1String("\n"))));
}

void TestEditorLayout::tabOrder()
{
    LayoutFixture f(QStringLiteral("en"));
    QCoreApplication::processEvents();
    TModePage *page = f.editor->Panel_0;
    QCOMPARE(tabChain(page, page->Switch_Button1),
        QStringList({ QStringLiteral("Switch_Button1_0"), QStringLiteral("Switch_Button2_0"),
            QStringLiteral("OutputFunctionCombobox_0"), QStringLiteral("Output_Button_0"),
            QStringLiteral("Input_Button_0"), QStringLiteral("Off_Button_0"),
            QStringLiteral("TrackBar_ContStop_100ms_0"), QStringLiteral("LED_Button_0"),
            QStringLiteral("LED_ColorCombo_0"), QStringLiteral("LED_Trackbar_Brightness_0"),
            QStringLiteral("Sound_Button_0"), QStringLiteral("Sound_Trackbar_Volumne_0") }));

    // A page added later has the same order.
    QStringList expected = tabChain(page, page->Switch_Button1);
    expected.replaceInStrings(QStringLiteral("_0"), QStringLiteral("_1"));
    QTest::mouseClick(f.editor->GlobalSettings->MultiMode_Button, Qt::LeftButton);
    QTest::mouseClick(f.editor->Pager->insertButton(), Qt::LeftButton);
    QTRY_VERIFY(f.editor->modePageAt(1)->isVisible());
    TModePage *copy = f.editor->modePageAt(1);
    QCOMPARE(tabChain(copy, copy->Switch_Button1), expected);

    TGlobalSettings *gs = f.editor->GlobalSettings;
    f.editor->Panel_0->OutputFunctionCombobox->setCurrentIndex(3);
    f.editor->OutputFunctionCombobox_0Change(f.editor->Panel_0->OutputFunctionCombobox);
    QCOMPARE(tabChain(gs->AdvOfficePage1, gs->MultiMode_Button),
        QStringList({ QStringLiteral("MultiMode_Button"), QStringLiteral("Selection_SingleChange"),
            QStringLiteral("Selection_ModeChangeSlider"), QStringLiteral("SPECIALACT_HOLD_TIME"),
            QStringLiteral("LClick_Transparent") }));
    // Badges and arrows are not in the chain.
    for (QWidget *w :
        std::initializer_list<QWidget *> { page->Switch_Button, page->PushButton_Button, page->Shape1 })
        QCOMPARE(w->focusPolicy(), Qt::NoFocus);
}

void TestEditorLayout::accessibleNames()
{
    LayoutFixture f(QStringLiteral("de"));
    TModePage *page = f.editor->Panel_0;
    // The lists are labelled by their labels (on Linux through the
    // "labelled by" relation, elsewhere as their name).
    QCOMPARE(labelOf(page->OutputFunctionCombobox), QStringLiteral("Funktion:"));
    QCOMPARE(labelOf(page->LED_ColorCombo), QStringLiteral("LED-Farbe"));
    QCOMPARE(
        accessibleName(page->Switch_Button1), QStringLiteral("Schalter 1 - Wechselkontakt und Alarmkreis"));
    QCOMPARE(accessibleName(page->Off_Button), QStringLiteral("AUS"));
    QCOMPARE(accessibleName(page->TrackBar_ContStop_100ms->slider()),
        QStringLiteral("Zwangsabschaltung nach: 0 ms"));

    // Every control the keyboard reaches has a name.
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

QTEST_MAIN(TestEditorLayout)
#include "tst_editorlayout.moc"
