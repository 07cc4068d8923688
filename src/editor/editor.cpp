#include "editor.h"

#include "controls/checklabel.h"
#include "controls/colorselector.h"
#include "controls/ledpalette.h"
#include "controls/modepager.h"
#include "controls/slideswitch.h"
#include "controls/trackbar.h"
#include "controls/twostatebutton.h"
#include "editorwidgets.h"
#include "functionhelp.h"
#include "globalsettings.h"
#include "modepage.h"
#include "recordsmapping.h"
#include "services/prompt.h"
#include "services/translation.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QVBoxLayout>
#include <memory>

namespace {

constexpr int GlobalSettingsWidth = 300;

// Halves go to the even multiple: 1235 -> 1240, 1245 -> 1240 on a step of 10.
int snapToStep(int value, int step)
{
    int q = value / step;
    int r = value % step;
    if (r < 0) {
        --q;
        r += step;
    }
    if (2 * r > step || (2 * r == step && q % 2 != 0))
        ++q;
    return q * step;
}

QVBoxLayout *pageLayout(QWidget *page)
{
    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    return layout;
}

} // namespace

TEditor::TEditor(Prompt &prompt, std::function<void(const QString &html)> showHelp, QWidget *parent)
    : QWidget(parent)
    , m_prompt(prompt)
    , m_showHelp(std::move(showHelp))
{
    setObjectName(QStringLiteral("Editor"));
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    pal.setColor(QPalette::Base, Qt::white);
    setPalette(pal);
    setAutoFillBackground(true);
    setStyleSheet(editorStyleSheet());

    GlobalSettings = new TGlobalSettings(this);
    GlobalSettings->setFixedWidth(GlobalSettingsWidth);

    Pager = new TModePager(this);
    Pager->setObjectName(QStringLiteral("Pager"));
    FirstPage = new QWidget(Pager);
    FirstPage->setObjectName(QStringLiteral("FirstPage"));
    FirstPage->setProperty("Tag", 0);
    // In the pager before it is filled: moving a filled page there would
    // style every control on it again.
    Pager->addTab(FirstPage, N_("Standard mode"));
    Panel_0 = new TModePage(0, FirstPage);
    pageLayout(FirstPage)->addWidget(Panel_0);
    // At start: the close button is shown (it refuses the standard page),
    // the insert button only comes with Multi mode.
    Pager->setCloseButtonVisible(true);
    Pager->setInsertButtonVisible(false);

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(8);
    layout->addWidget(GlobalSettings);
    layout->addWidget(Pager, 1);

    connectPage(Panel_0);
    connectGlobalSettings();
    connect(Pager, &TModePager::insertClicked, this, &TEditor::insertClicked);
    connect(Pager, &TModePager::closeClicked, this, &TEditor::closeClicked);
    connect(Pager, &QTabWidget::currentChanged, this, [this] { PagerChange(); });
    connect(Pager, &TModePager::tabPressed, this, &TEditor::PagerTabClick);
}

TEditor::~TEditor() = default;

void TEditor::connectPage(TModePage *page)
{
    QComboBox *combo = page->OutputFunctionCombobox;
    connect(combo, &QComboBox::activated, this, [this, combo] { OutputFunctionCombobox_0Change(combo); });
    for (TTwoStateButton *b : { page->Switch_Button1, page->Switch_Button2 })
        connect(b, &TTwoStateButton::clicked, this, [this, b] { Switch_Button1_0Click(b); });
    TTwoStateButton *output = page->Output_Button;
    connect(output, &TTwoStateButton::clicked, this, [this, output] { Output_Button_0Click(output); });
    TTwoStateButton *input = page->Input_Button;
    connect(input, &TTwoStateButton::clicked, this, [this, input] { Input_Button_0Click(input); });
    TTwoStateButton *off = page->Off_Button;
    connect(off, &TTwoStateButton::clicked, this, [this, off] { Off_Button_0Click(off); });
    for (TTrackBar *bar : page->trackBars())
        connect(bar, &TTrackBar::changed, this, [this, bar] { ALARM_SWITCHTIMEChange(bar); });
}

void TEditor::connectGlobalSettings()
{
    // The settings' own handlers are connected inside TGlobalSettings.
    connect(GlobalSettings->MultiMode_Button, &TTwoStateButton::clicked, this,
        [this] { MultiMode_ButtonClick(); });
    connect(GlobalSettings->LClick_Transparent, &TCheckLabel::clicked, this,
        [this] { LClick_TransparentClick(); });
    for (TTrackBar *bar : GlobalSettings->trackBars())
        connect(bar, &TTrackBar::changed, this, [this, bar] { ALARM_SWITCHTIMEChange(bar); });
}

void TEditor::FormCreateSteps()
{
    // Step 3: offer only colours the device can show.
    TColorSelector *colours = Panel_0->LED_ColorCombo;
    QList<QColor> quantised;
    for (const QColor &c : colours->colors())
        quantised.append(quantisedColor(c));
    const QColor selected = colours->selectedColor();
    colours->setColors(quantised);
    colours->setSelectedColor(selected);

    // Step 4.
    Pager->setInsertButtonVisible(GlobalSettings->MultiMode_Button->isChecked());
    // Step 6.
    MultiMode_ButtonClick();
    Alarm_ButtonClick();
    // Step 10: selected from code, so no handler runs.
    Panel_0->OutputFunctionCombobox->setCurrentIndex(NormalON);
    // Step 12.
    update_LClick_Transparent();
}

// Pages and names

TModePage *TEditor::modePageAt(int position) const
{
    QWidget *page = Pager->widget(position);
    return page ? page->findChild<TModePage *>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
}

int TEditor::pageNumberAt(int position) const
{
    QWidget *page = Pager->widget(position);
    if (!page)
        return -1;
    bool ok = false;
    const int n = page->property("Tag").toInt(&ok);
    return ok ? n : -1;
}

TModePage *TEditor::modePage(int n) const
{
    for (int i = 0; i < Pager->count(); ++i)
        if (pageNumberAt(i) == n)
            return modePageAt(i);
    return nullptr;
}

TModePage *TEditor::pageOf(const QObject *Sender, const char *role) const
{
    if (!Sender)
        return nullptr;
    const QString name = Sender->objectName();
    for (int i = 0; i < Pager->count(); ++i) {
        const int n = pageNumberAt(i);
        if (n >= 0 && name == QString::fromLatin1(role) + QString::number(n))
            return modePageAt(i);
    }
    return nullptr;
}

int TEditor::modeCount() const
{
    return Pager->count();
}

// Mode page controls

void TEditor::OutputFunctionCombobox_0Change(QObject *Sender)
{
    TModePage *page = pageOf(Sender, "OutputFunctionCombobox_");
    if (!page)
        return;
    page->showFunctionPanel();
    if (page->Tag == 0) {
        // "Push button " and "Repeater" in the standard mode need the
        // transparent click.
        const int index = page->OutputFunctionCombobox->currentIndex();
        if (index == NormalON || index == RepeatFuncON)
            GlobalSettings->LClick_Transparent->setChecked(true);
        update_LClick_Transparent();
    }
    ShowFunctionHelp(page->Tag);
}

void TEditor::Switch_Button1_0Click(QObject *Sender)
{
    if (!Sender)
        return;
    const QString name = Sender->objectName();
    for (int i = 0; i < Pager->count(); ++i) {
        const QString n = QString::number(pageNumberAt(i));
        if (name == QLatin1String("Switch_Button1_") + n || name == QLatin1String("Switch_Button2_") + n) {
            if (TModePage *page = modePageAt(i)) {
                page->outputButtonClicked(Sender);
                ShowFunctionHelp(page->Tag);
            }
            return;
        }
    }
}

void TEditor::Output_Button_0Click(QObject *Sender)
{
    if (TModePage *page = pageOf(Sender, "Output_Button_"))
        page->Output_Button_0Click();
}

void TEditor::Input_Button_0Click(QObject *Sender)
{
    if (TModePage *page = pageOf(Sender, "Input_Button_"))
        page->Input_Button_0Click();
}

void TEditor::Off_Button_0Click(QObject *Sender)
{
    if (TModePage *page = pageOf(Sender, "Off_Button_"))
        page->Off_Button_0Click();
}

void TEditor::ALARM_SWITCHTIMEChange(QObject *Sender)
{
    auto *bar = qobject_cast<TTrackBar *>(Sender);
    if (!bar)
        return;
    // Setting the snapped value runs this handler again, which then finds
    // the value on its step and changes nothing.
    const int x = snapToStep(bar->position(), qMax(1, bar->step()));
    bar->setPosition(x < bar->minimum() ? bar->minimum() : x);

    // On the standard page the repeat rate stays above the pulse time.
    TModePage *standard = modePage(0);
    if (standard
        && (bar == standard->RepeatFct_PulseTime_10ms || bar == standard->RepeatFct_PulseRepeat_10ms)) {
        const int pulse = standard->RepeatFct_PulseTime_10ms->position();
        if (pulse >= standard->RepeatFct_PulseRepeat_10ms->position())
            standard->RepeatFct_PulseRepeat_10ms->setPosition(pulse + 100);
    }
}

// Mode pager

QWidget *TEditor::appendPage()
{
    auto *page = new QWidget(Pager);
    Pager->addTab(page, QString());
    return page;
}

void TEditor::insertClicked()
{
    QWidget *page = appendPage();
    Pager->setCurrentWidget(page);
    PagerInsertPage(page);
}

void TEditor::PagerInsertPage(QWidget *page)
{
    if (!page)
        return;
    // The five mode records allow five pages; a sixth goes at once.
    if (Pager->count() > tParameterSet::MaxModes) {
        const int at = Pager->indexOf(page);
        if (at >= 0)
            Pager->removeTab(at);
        delete page;
        return;
    }
    ++acttag;
    const int n = acttag;
    page->setProperty("Tag", n);

    const int position = Pager->indexOf(page);
    if (QWidget *panel = CloneControl(Panel_0, n, page)) {
        QLayout *layout = page->layout() ? page->layout() : pageLayout(page);
        layout->addWidget(panel);
        // Tab goes from the pager's tabs and buttons into the page, as on the
        // standard page, not past the controls below the pager first.
        TModePage *before = modePageAt(position - 1);
        if (auto *copy = qobject_cast<TModePage *>(panel))
            copy->chainTabOrder((before ? before : Panel_0)->tabOrder().constLast());
    }
    Pager->setTabText(position, QStringLiteral("Mode ") + QString::number(position));

    const QString number = QString::number(n);
    auto button = [page, &number](const char *role) {
        return page->findChild<TTwoStateButton *>(QLatin1String(role) + number);
    };
    if (TTwoStateButton *out1 = button("Switch_Button1_"))
        out1->setChecked(true);
    if (auto *combo = page->findChild<QComboBox *>(QLatin1String("OutputFunctionCombobox_") + number)) {
        combo->setCurrentIndex(NormalON);
        OutputFunctionCombobox_0Change(combo);
    }
    for (const char *role : { "Input_Button_", "LED_Button_", "Sound_Button_" })
        if (TTwoStateButton *b = button(role))
            b->setChecked(true);
}

QWidget *TEditor::CloneControl(QWidget *source, int n, QWidget *parent)
{
    const auto *from = qobject_cast<const TModePage *>(source);
    if (!from)
        return nullptr;
    // Built in its parent, as moving a finished page there would style all
    // of its controls again; a failure deletes the half-built copy, which
    // leaves the parent with it.
    auto copy = std::make_unique<TModePage>(n, parent);
    copy->copyStateFrom(*from);
    connectPage(copy.get());
    return copy.release();
}

void TEditor::closeClicked()
{
    const int index = Pager->currentIndex();
    if (index < 0)
        return;
    bool allow = true;
    PagerClosePage(index, allow);
    if (!allow)
        return;
    QWidget *page = Pager->widget(index);
    Pager->removeTab(index);
    delete page;
    PagerClosedPage(index);
}

void TEditor::PagerClosePage(int PageIndex, bool &Allow)
{
    if (PageIndex <= 0) {
        Allow = false;
        return;
    }
    QString text = tx("Delete %s?");
    text.replace(QLatin1String("%s"), Pager->tabText(PageIndex));
    Allow = m_prompt.MessageDlgCentered(text, mtConfirmation, mbYesNo) == mrYes;
}

void TEditor::PagerClosedPage(int PageIndex)
{
    if (PageIndex - 1 >= 0 && PageIndex - 1 < Pager->count())
        Pager->setCurrentIndex(PageIndex - 1);
}

void TEditor::PagerChange()
{
    const int count = Pager->count();
    Pager->setCloseButtonVisible(count > 1);
    Pager->setInsertButtonVisible(count < tParameterSet::MaxModes);
}

void TEditor::PagerTabClick(int)
{
    // Reported before the active page changes: only a click on the tab that
    // is active already is decided here, any other by PagerChange.
    Pager->setCloseButtonVisible(Pager->currentIndex() != 0);
}

void TEditor::removeAddedPages()
{
    for (int k = Pager->count() - 1; k >= 1; --k) {
        QWidget *page = Pager->widget(k);
        Pager->removeTab(k);
        delete page;
    }
}

// Global settings

void TEditor::MultiMode_ButtonClick()
{
    TTwoStateButton *multiMode = GlobalSettings->MultiMode_Button;
    if (!multiMode->isChecked()) {
        const bool yes = Pager->count() < 2
            || m_prompt.MessageDlgCentered(tx("Delete other modes?"), mtConfirmation, mbYesNo) == mrYes;
        if (yes)
            removeAddedPages();
        else
            multiMode->setChecked(true);
    }
    GlobalSettings->applyMultiMode();
    Pager->setInsertButtonVisible(multiMode->isChecked());
}

void TEditor::Selection_ModeChangeSliderStateChanged(bool on)
{
    GlobalSettings->Selection_ModeChangeSliderStateChanged(on);
}

void TEditor::update_LClick_Transparent()
{
    const TModePage *standard = modePage(0);
    GlobalSettings->update_LClick_Transparent(
        standard ? standard->OutputFunctionCombobox->currentIndex() : -1);
}

void TEditor::LClick_TransparentClick()
{
    // Nothing to do: the tick is read when the records are written.
}

void TEditor::AntiTremor_ButtonClick()
{
    GlobalSettings->AntiTremor_ButtonClick();
}

void TEditor::Alarm_ButtonClick()
{
    GlobalSettings->Alarm_ButtonClick();
}

void TEditor::AlarmLEDON_ButtonClick()
{
    GlobalSettings->AlarmLEDON_ButtonClick();
}

void TEditor::AlarmSoundON_ButtonClick()
{
    GlobalSettings->AlarmSoundON_ButtonClick();
}

void TEditor::Selection_ImpulseClick()
{
    GlobalSettings->Selection_ImpulseClick();
}

void TEditor::Selection_PermanentClick()
{
    GlobalSettings->Selection_PermanentClick();
}

// Records

void TEditor::ReadFromDataStructs(const tParameterSet &records, int count)
{
    count = qBound(0, count, int(tParameterSet::MaxModes));
    removeAddedPages();
    for (int i = 1; i < count; ++i)
        PagerInsertPage(appendPage());
    // Appending does not change the active page; the pager's buttons follow
    // the new number of pages (Multi mode decides the insert button below).
    PagerChange();

    for (int i = 0; i < count; ++i)
        if (TModePage *page = modePageAt(i))
            RecordsMapping::readMode(*this, *page, records.ModeDescriptor.at(std::size_t(i)));
    RecordsMapping::readGlobals(*this, records, count);
}

void TEditor::WriteToDataStructs(tParameterSet &records) const
{
    for (int i = 0; i < Pager->count() && i < tParameterSet::MaxModes; ++i)
        if (const TModePage *page = modePageAt(i))
            RecordsMapping::writeMode(*page, records.ModeDescriptor.at(std::size_t(i)));
    RecordsMapping::writeGlobals(*this, records);
}

// Help texts

void TEditor::ShowFunctionHelp(int n)
{
    if (!m_showHelp)
        return;
    const auto *combo = findChild<QComboBox *>(QLatin1String("OutputFunctionCombobox_") + QString::number(n));
    const int index = combo ? combo->currentIndex() : -1;
    const QString function = FunctionHelpText(index);
    // No function selected: the pane opens and keeps its text.
    m_showHelp(function.isNull() ? QString() : OutputHelpText(n) + function);
}

QString TEditor::OutputHelpText(int n) const
{
    const auto *out1 = findChild<TTwoStateButton *>(QLatin1String("Switch_Button1_") + QString::number(n));
    return out1 && out1->isChecked() ? Output1HelpText() : Output2HelpText();
}
