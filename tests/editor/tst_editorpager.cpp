// The mode pager of the editor: inserting pages (numbers, captions, the
// five-page limit, the copy of the standard page), closing them with the
// question, and switching Multi mode off.

#include "editor/controls/colorselector.h"
#include "editor/controls/modepager.h"
#include "editor/controls/trackbar.h"
#include "editor/controls/twostatebutton.h"
#include "editor/editor.h"
#include "editor/functionhelp.h"
#include "editor/globalsettings.h"
#include "editor/modepage.h"
#include "editorfixture.h"
#include "scriptedprompt.h"

#include <QComboBox>
#include <QLabel>
#include <QTabBar>
#include <QTest>
#include <QVBoxLayout>

namespace {

} // namespace

class TestEditorPager : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void insertNumbersAndCaptions();
    void fivePagesAtMost();
    void numbersAreNeverReused();
    void newPageCopiesStandardPage();
    void closeAsks_data();
    void closeAsks();
    void standardPageCannotBeClosed();
    void tabClickDecidesCloseButton();
    void multiModeOffAsks_data();
    void multiModeOffAsks();
    void multiModeOffWithoutPagesAsksNothing();

private:
    static void insert(EditorFixture &f)
    {
        QTest::mouseClick(f.editor->Pager->insertButton(), Qt::LeftButton);
    }
    static QStringList captions(const EditorFixture &f)
    {
        QStringList all;
        for (int i = 0; i < f.editor->Pager->count(); ++i)
            all.append(f.editor->Pager->tabText(i));
        return all;
    }
};

void TestEditorPager::insertNumbersAndCaptions()
{
    EditorFixture f;
    TModePager *pager = f.editor->Pager;
    QVERIFY(!pager->isInsertButtonVisible());
    f.click(QStringLiteral("MultiMode_Button"));
    QVERIFY(pager->isInsertButtonVisible());
    QCOMPARE(pager->count(), 1); // Multi mode adds no page by itself

    insert(f);
    QCOMPARE(pager->count(), 2);
    QCOMPARE(pager->currentIndex(), 1);
    QCOMPARE(f.editor->acttag, 1);
    QCOMPARE(f.editor->pageNumberAt(1), 1);
    QCOMPARE(pager->widget(1)->property("Tag").toInt(), 1);
    QCOMPARE(pager->tabText(1), QStringLiteral("Mode 1"));
    // The new page shows the push button function and its help.
    QCOMPARE(f.get<QComboBox>(QStringLiteral("OutputFunctionCombobox_1"))->currentIndex(), 1);
    QTRY_VERIFY(f.get<QWidget>(QStringLiteral("Panel_SwitchPushbutton_1"))->isVisible());
    QVERIFY(!f.get<QWidget>(QStringLiteral("Panel_SwitchRepeater_1"))->isVisibleTo(pager->widget(1)));
    QCOMPARE(f.help.last(), Output1HelpText() + FunctionHelpText(1));
    QVERIFY(pager->isCloseButtonVisible());

    insert(f);
    insert(f);
    QVERIFY(pager->isInsertButtonVisible());
    insert(f);
    QCOMPARE(captions(f),
        QStringList({ QStringLiteral("Standard mode"), QStringLiteral("Mode 1"), QStringLiteral("Mode 2"),
            QStringLiteral("Mode 3"), QStringLiteral("Mode 4") }));
    QCOMPARE(f.editor->pageNumberAt(4), 4);
    QCOMPARE(f.editor->modeCount(), 5);
    QVERIFY(!pager->isInsertButtonVisible());
}

void TestEditorPager::fivePagesAtMost()
{
    // Reading five modes presses Multi mode, which shows the insert button
    // again; a page inserted then goes at once.
    EditorFixture f;
    f.editor->ReadFromDataStructs(tParameterSet {}, 5);
    QCOMPARE(f.editor->modeCount(), 5);
    QVERIFY(f.editor->Pager->isInsertButtonVisible());
    const int tag = f.editor->acttag;

    insert(f);
    QCOMPARE(f.editor->modeCount(), 5);
    QCOMPARE(f.editor->acttag, tag);
    QVERIFY(!f.editor->Pager->isInsertButtonVisible());
    QCOMPARE(f.editor->findChildren<TModePage *>().size(), 5);
}

void TestEditorPager::numbersAreNeverReused()
{
    EditorFixture f;
    f.click(QStringLiteral("MultiMode_Button"));
    insert(f);
    insert(f);
    f.prompt.setNextAnswer(mrYes);
    QTest::mouseClick(f.editor->Pager->closeButton(), Qt::LeftButton); // Mode 2 is active
    QCOMPARE(f.editor->modeCount(), 2);
    QVERIFY(!f.editor->findChild<QWidget *>(QStringLiteral("Panel_2")));

    insert(f);
    QCOMPARE(f.editor->pageNumberAt(2), 3);
    QCOMPARE(f.editor->Pager->tabText(2), QStringLiteral("Mode 2"));
    QVERIFY(f.editor->findChild<QComboBox *>(QStringLiteral("OutputFunctionCombobox_3")));
    QVERIFY(!f.editor->findChild<QComboBox *>(QStringLiteral("OutputFunctionCombobox_2")));
    // Every control of the new page carries the new number.
    for (QWidget *w : f.editor->modePageAt(2)->controls())
        QVERIFY2(w->objectName().endsWith(QLatin1String("_3")), qPrintable(w->objectName()));
}

void TestEditorPager::newPageCopiesStandardPage()
{
    EditorFixture f;
    // The standard page as the user left it, its texts already translated.
    f.click(QStringLiteral("Switch_Button2_0"));
    f.click(QStringLiteral("Output_Button_0"));
    f.pick(QStringLiteral("OutputFunctionCombobox_0"), 2);
    f.bar(QStringLiteral("RepeatFct_PulseTime_10ms_0"))->setPosition(700);
    f.bar(QStringLiteral("LED_Trackbar_Brightness_0"))->setPosition(2);
    f.bar(QStringLiteral("Sound_Trackbar_Volumne_0"))->setPosition(7);
    const QColor picked(0xf8, 0x64, 0x00);
    f.get<TColorSelector>(QStringLiteral("LED_ColorCombo_0"))->setSelectedColor(picked);
    f.get<QLabel>(QStringLiteral("Functionality_Label_0"))->setText(QStringLiteral("Funktion:"));
    f.get<QComboBox>(QStringLiteral("OutputFunctionCombobox_0"))->setItemText(1, QStringLiteral("Taster "));
    f.bar(QStringLiteral("Impulse_Trackbar_ImpulseLen_0"))
        ->setLabelFormat(QStringLiteral("Impulslänge: %d ms"));
    f.button(QStringLiteral("Off_Button_0"))->Tag = 0;
    f.button(QStringLiteral("Sound_Button_0"))->Tag = 1;

    f.click(QStringLiteral("MultiMode_Button"));
    insert(f);

    // Output 1 pressed by the insert, output 2 as copied; OUTPUT as copied
    // and INPUT pressed by the insert.
    QVERIFY(f.button(QStringLiteral("Switch_Button1_1"))->isChecked());
    QVERIFY(f.button(QStringLiteral("Switch_Button2_1"))->isChecked());
    QVERIFY(f.button(QStringLiteral("Output_Button_1"))->isChecked());
    QVERIFY(f.button(QStringLiteral("Input_Button_1"))->isChecked());
    QVERIFY(!f.button(QStringLiteral("Off_Button_1"))->isChecked());
    QCOMPARE(f.button(QStringLiteral("Sound_Button_1"))->Tag, 1);
    QCOMPARE(f.bar(QStringLiteral("RepeatFct_PulseTime_10ms_1"))->position(), 700);
    QCOMPARE(f.bar(QStringLiteral("LED_Trackbar_Brightness_1"))->position(), 2);
    QCOMPARE(f.bar(QStringLiteral("Sound_Trackbar_Volumne_1"))->position(), 7);
    auto *colours = f.get<TColorSelector>(QStringLiteral("LED_ColorCombo_1"));
    QCOMPARE(colours->selectedColor(), picked);
    QCOMPARE(colours->colors(), f.get<TColorSelector>(QStringLiteral("LED_ColorCombo_0"))->colors());
    QCOMPARE(f.get<QLabel>(QStringLiteral("Functionality_Label_1"))->text(), QStringLiteral("Funktion:"));
    QCOMPARE(f.get<QComboBox>(QStringLiteral("OutputFunctionCombobox_1"))->currentText(),
        QStringLiteral("Taster "));
    QCOMPARE(f.bar(QStringLiteral("Impulse_Trackbar_ImpulseLen_1"))->labelFormat(),
        QStringLiteral("Impulslänge: %d ms"));
    // The function chosen by the insert shows its panel, not the copied one.
    QTRY_VERIFY(f.get<QWidget>(QStringLiteral("Panel_SwitchPushbutton_1"))->isVisible());
    QVERIFY(!f.get<QWidget>(QStringLiteral("Panel_SwitchRepeater_1"))->isVisible());

    // The copy reacts to its own controls only.
    f.click(QStringLiteral("Switch_Button1_1"));
    QVERIFY(!f.button(QStringLiteral("Switch_Button1_1"))->isChecked());
    QVERIFY(f.button(QStringLiteral("Switch_Button2_0"))->isChecked());
    f.click(QStringLiteral("Off_Button_1"));
    QVERIFY(!f.get<QWidget>(QStringLiteral("LED_ColorCombo_1"))->isEnabled());
    QVERIFY(f.get<QWidget>(QStringLiteral("LED_ColorCombo_0"))->isEnabled());
}

void TestEditorPager::closeAsks_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<QStringList>("left");
    QTest::addColumn<int>("active");

    QTest::newRow("Yes") << int(mrYes)
                         << QStringList({ QStringLiteral("Standard mode"), QStringLiteral("Mode 2") }) << 0;
    QTest::newRow("No") << int(mrNo)
                        << QStringList({ QStringLiteral("Standard mode"), QStringLiteral("Mode 1"),
                               QStringLiteral("Mode 2") })
                        << 1;
    QTest::newRow("box closed") << int(mrCancel)
                                << QStringList({ QStringLiteral("Standard mode"), QStringLiteral("Mode 1"),
                                       QStringLiteral("Mode 2") })
                                << 1;
}

void TestEditorPager::closeAsks()
{
    QFETCH(int, answer);
    QFETCH(QStringList, left);
    QFETCH(int, active);

    EditorFixture f;
    f.click(QStringLiteral("MultiMode_Button"));
    insert(f);
    insert(f);
    f.editor->Pager->setCurrentIndex(1);
    f.prompt.setNextAnswer(MsgDlgResult(answer));
    QTest::mouseClick(f.editor->Pager->closeButton(), Qt::LeftButton);

    QCOMPARE(f.prompt.texts(), QStringList { QStringLiteral("Delete Mode 1?") });
    QCOMPARE(f.prompt.shown.first().kind, mtConfirmation);
    QCOMPARE(f.prompt.shown.first().buttons, mbYesNo);
    QCOMPARE(captions(f), left);
    QCOMPARE(f.editor->Pager->currentIndex(), active);
    // The page that moved forward keeps its number and controls.
    QCOMPARE(f.editor->pageNumberAt(left.size() - 1), 2);
    QCOMPARE(f.editor->findChild<QWidget *>(QStringLiteral("Panel_1")) != nullptr, answer != mrYes);
}

void TestEditorPager::standardPageCannotBeClosed()
{
    EditorFixture f;
    QVERIFY(f.editor->Pager->isCloseButtonVisible());
    QTest::mouseClick(f.editor->Pager->closeButton(), Qt::LeftButton);
    QCOMPARE(f.editor->modeCount(), 1);
    QVERIFY(f.prompt.shown.isEmpty());

    bool allow = true;
    f.editor->PagerClosePage(0, allow);
    QVERIFY(!allow);
    QVERIFY(f.prompt.shown.isEmpty());
}

void TestEditorPager::tabClickDecidesCloseButton()
{
    EditorFixture f;
    f.click(QStringLiteral("MultiMode_Button"));
    insert(f);
    TModePager *pager = f.editor->Pager;
    pager->setCurrentIndex(0);
    QVERIFY(pager->isCloseButtonVisible()); // two pages

    // A click on the active standard tab hides it ...
    QTabBar *bar = pager->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(0).center());
    QVERIFY(!pager->isCloseButtonVisible());
    // ... a click that changes the page lets the page change decide.
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(1).center());
    QCOMPARE(pager->currentIndex(), 1);
    QVERIFY(pager->isCloseButtonVisible());
}

void TestEditorPager::multiModeOffAsks_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<int>("pages");
    QTest::addColumn<bool>("multiMode");

    QTest::newRow("Yes") << int(mrYes) << 1 << false;
    QTest::newRow("No") << int(mrNo) << 3 << true;
}

void TestEditorPager::multiModeOffAsks()
{
    QFETCH(int, answer);
    QFETCH(int, pages);
    QFETCH(bool, multiMode);

    EditorFixture f;
    f.click(QStringLiteral("MultiMode_Button"));
    insert(f);
    insert(f);
    f.prompt.setNextAnswer(MsgDlgResult(answer));
    f.click(QStringLiteral("MultiMode_Button"));

    QCOMPARE(f.prompt.texts(), QStringList { QStringLiteral("Delete other modes?") });
    QCOMPARE(f.prompt.shown.first().kind, mtConfirmation);
    QCOMPARE(f.prompt.shown.first().buttons, mbYesNo);
    QCOMPARE(f.editor->modeCount(), pages);
    QCOMPARE(f.findChildCount<TModePage>(), pages);
    QCOMPARE(f.button(QStringLiteral("MultiMode_Button"))->isChecked(), multiMode);
    QCOMPARE(f.editor->Pager->isInsertButtonVisible(), multiMode);
    for (const char *name : { "SPECIALACT_HOLD_TIME", "Input_DbCLick1_time_10ms", "Input_DbCLick1_delay_10ms",
             "Selection_SingleChange", "Selection_ModeChangeSlider" })
        QVERIFY2(f.get<QWidget>(QLatin1String(name))->isEnabled() == multiMode, name);
}

void TestEditorPager::multiModeOffWithoutPagesAsksNothing()
{
    EditorFixture f;
    f.click(QStringLiteral("MultiMode_Button"));
    QVERIFY(f.get<QWidget>(QStringLiteral("Selection_SingleChange"))->isEnabled());
    f.click(QStringLiteral("MultiMode_Button"));
    QVERIFY(f.prompt.shown.isEmpty());
    QVERIFY(!f.button(QStringLiteral("MultiMode_Button"))->isChecked());
    QVERIFY(!f.get<QWidget>(QStringLiteral("Selection_SingleChange"))->isEnabled());
    QVERIFY(!f.editor->Pager->isInsertButtonVisible());
}

QTEST_MAIN(TestEditorPager)
#include "tst_editorpager.moc"
