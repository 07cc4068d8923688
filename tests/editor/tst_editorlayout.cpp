// The editor as users meet it: at the main window's design size every
// control is visible without clipping or overlapping another, in English and
// in German. (Keyboard order and screen-reader names: tst_editoraccess.)

#include "editor/controls/modepager.h"
#include "editor/controls/slideswitch.h"
#include "editor/controls/trackbar.h"
#include "editor/controls/twostatebutton.h"
#include "editor/editor.h"
#include "editor/globalsettings.h"
#include "editor/modepage.h"
#include "scriptedprompt.h"
#include "services/translation.h"
#include "services/windowtranslator.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QFile>
#include <QLabel>
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

QString nameOf(const QWidget *w)
{
    return w->objectName().isEmpty() ? QString::fromLatin1(w->metaObject()->className())
            + QLatin1String(" in ") + w->parentWidget()->objectName()
                                     : w->objectName();
}

// What does not fit, as "object: problem" lines; empty when all fits.
QStringList clipped(QWidget *root)
{
    QStringList problems;
    const QList<QWidget *> all = root->findChildren<QWidget *>();
    for (QWidget *w : all) {
        if (!w->isVisible())
            continue;
        const QString name = nameOf(w);
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
    // Visible siblings share no pixel; panels that share one place show one
    // at a time.
    for (QWidget *w : all) {
        if (!w->isVisible() || !w->parentWidget() || qobject_cast<QTabWidget *>(w->parentWidget()))
            continue;
        const QList<QWidget *> siblings
            = w->parentWidget()->findChildren<QWidget *>(Qt::FindDirectChildrenOnly);
        for (qsizetype k = siblings.indexOf(w) + 1; k < siblings.size(); ++k) {
            QWidget *other = siblings.at(k);
            if (other->isVisible() && !other->isWindow() && w->geometry().intersects(other->geometry()))
                problems.append(QStringLiteral("%1 and %2: overlap").arg(nameOf(w), nameOf(other)));
        }
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

} // namespace

class TestEditorLayout : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void everythingFits_data();
    void everythingFits();
    void fivePagesFit_data();
    void fivePagesFit();
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

void TestEditorLayout::fivePagesFit_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<int>("page");
    for (const char *language : { "en", "de" })
        for (const int page : { 0, 4 })
            QTest::addRow("%s, page %d", language, page) << QString::fromLatin1(language) << page;
}

void TestEditorLayout::fivePagesFit()
{
    QFETCH(QString, language);
    QFETCH(int, page);

    // Five tabs beside both pager buttons: Multi mode shows the insert
    // button even when no further page can be added.
    LayoutFixture f(language);
    f.editor->ReadFromDataStructs(tParameterSet {}, 5);
    f.editor->Pager->setCurrentIndex(page);
    if (!f.editor->GlobalSettings->MultiMode_Button->isChecked())
        QTest::mouseClick(f.editor->GlobalSettings->MultiMode_Button, Qt::LeftButton);
    else
        f.editor->MultiMode_ButtonClick();
    QVERIFY(f.editor->Pager->isInsertButtonVisible());
    QVERIFY(f.editor->Pager->isCloseButtonVisible());
    showWidestValues(f.editor);
    QCoreApplication::processEvents();
    QCOMPARE(f.editor->size(), EditorSize);
    const QStringList problems = clipped(f.editor);
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QLatin1String("\n"))));
}

QTEST_MAIN(TestEditorLayout)
#include "tst_editorlayout.moc"
