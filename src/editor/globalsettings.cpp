#include "globalsettings.h"

#include "controls/checklabel.h"
#include "controls/slideswitch.h"
#include "controls/trackbar.h"
#include "controls/twostatebutton.h"
#include "editorwidgets.h"
#include "services/translation.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QStyleOptionTab>
#include <QStylePainter>
#include <QVBoxLayout>
#include <numeric>

namespace {

constexpr int Margin = 8;
constexpr int Spacing = 6;

QVBoxLayout *pageLayout(QWidget *page)
{
    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(Margin, Margin, Margin, Margin);
    layout->setSpacing(8);
    return layout;
}

QVBoxLayout *groupLayout(QWidget *group)
{
    auto *layout = new QVBoxLayout(group);
    layout->setContentsMargins(Margin, Margin, Margin, Margin);
    layout->setSpacing(Spacing);
    return layout;
}

TTwoStateButton *makeButton(
    const char *name, const QString &caption, const QString &hint, bool pressed, QWidget *parent)
{
    auto *b = new TTwoStateButton(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setToolTip(hint);
    b->setChecked(pressed);
    return b;
}

TTrackBar *makeTrackBar(
    const char *name, const QString &format, int min, int max, int step, int start, QWidget *parent)
{
    auto *bar = new TTrackBar(parent);
    bar->setObjectName(QString::fromLatin1(name));
    bar->setLabelFormat(format);
    bar->setRange(min, max);
    bar->setStep(step);
    bar->setPosition(start);
    bar->setEnabled(false);
    return bar;
}

TSlideSwitch *makeSwitch(
    const char *name, const QString &on, const QString &off, const QString &hint, QWidget *parent)
{
    auto *s = new TSlideSwitch(parent);
    s->setObjectName(QString::fromLatin1(name));
    s->setOnCaption(on);
    s->setOffCaption(off);
    s->setToolTip(hint);
    s->setOn(true);
    s->setEnabled(false);
    return s;
}

TCheckLabel *makeCheck(const char *name, const QString &caption, bool ticked, QWidget *parent)
{
    auto *c = new TCheckLabel(caption, parent);
    c->setObjectName(QString::fromLatin1(name));
    c->setChecked(ticked);
    return c;
}

// Keeps its space when hidden, so panels sharing one place do not move the
// controls below them.
void shareOnePlace(QWidget *w)
{
    QSizePolicy policy = w->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    w->setSizePolicy(policy);
}

// Tab captions that wrap onto several lines when the three do not fit the
// pager's width side by side, so that no caption is cut or scrolled away.
class WrappingTabBar : public QTabBar
{
public:
    explicit WrappingTabBar(QWidget *parent)
        : QTabBar(parent)
    {
        setElideMode(Qt::ElideNone);
        setUsesScrollButtons(false);
        setExpanding(false);
        setDrawBase(true);
    }

protected:
    QSize tabSizeHint(int index) const override
    {
        const Measure &m = measure();
        return QSize(m.widths.value(index) + 2 * HPad, m.height + 2 * VPad);
    }

    QSize minimumTabSizeHint(int index) const override { return tabSizeHint(index); }

    void paintEvent(QPaintEvent *) override
    {
        QStylePainter p(this);
        for (int i = 0; i < count(); ++i) {
            QStyleOptionTab option;
            initStyleOption(&option, i);
            const QString text = option.text;
            option.text.clear();
            p.drawControl(QStyle::CE_TabBarTabShape, option);
            const QRect textRect = option.rect.adjusted(HPad, VPad, -HPad, -VPad);
            p.setPen(
                palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
            p.drawText(textRect, Qt::AlignCenter | Qt::TextWordWrap, text);
            if (hasFocus() && i == currentIndex()) {
                QStyleOptionFocusRect focus;
                focus.initFrom(this);
                focus.rect = textRect.adjusted(-2, -1, 2, 1);
                p.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
            }
        }
    }

private:
    static constexpr int HPad = 8;
    static constexpr int VPad = 5;

    // The tab bar asks for every tab's size many times over while it lays
    // out; the captions are measured again only when what they depend on
    // has changed.
    struct Measure
    {
        int available = -1;
        QFont font;
        QStringList texts;
        QList<int> widths;
        int height = 0;
    };
    mutable Measure m_measure;

    const Measure &measure() const
    {
        QStringList texts;
        for (int i = 0; i < count(); ++i)
            texts.append(tabText(i));
        if (m_measure.available == availableWidth() && m_measure.font == font() && m_measure.texts == texts)
            return m_measure;
        m_measure.available = availableWidth();
        m_measure.font = font();
        m_measure.texts = texts;
        m_measure.widths = textWidths();
        const QFontMetrics fm(font());
        m_measure.height = fm.height();
        for (int i = 0; i < count(); ++i)
            m_measure.height = qMax(m_measure.height, wrapped(fm, i, m_measure.widths.at(i)).height());
        return m_measure;
    }

    int availableWidth() const
    {
        return (parentWidget() ? parentWidget()->width() : width()) - 4 - count() * 2 * HPad;
    }

    QRect wrapped(const QFontMetrics &fm, int index, int width) const
    {
        return fm.boundingRect(QRect(0, 0, width, 1000), Qt::AlignCenter | Qt::TextWordWrap, tabText(index));
    }

    // Each caption on one line when all fit; otherwise every caption gets at
    // least its longest word, and the room left is shared out in proportion.
    QList<int> textWidths() const
    {
        const QFontMetrics fm(font());
        const int available = availableWidth();
        QList<int> full;
        QList<int> least;
        for (int i = 0; i < count(); ++i) {
            full.append(fm.horizontalAdvance(tabText(i)) + 1);
            least.append(qMin(full.last(), wrapped(fm, i, 1).width() + 1));
        }
        const int fullSum = std::accumulate(full.cbegin(), full.cend(), 0);
        if (fullSum <= available)
            return full;
        const int leastSum = std::accumulate(least.cbegin(), least.cend(), 0);
        const double share = fullSum > leastSum
            ? qBound(0.0, double(available - leastSum) / (fullSum - leastSum), 1.0)
            : 0.0;
        QList<int> widths;
        for (int i = 0; i < count(); ++i)
            widths.append(least.at(i) + int((full.at(i) - least.at(i)) * share));
        return widths;
    }
};

} // namespace

TGlobalSettings::TGlobalSettings(QWidget *parent)
    : QTabWidget(parent)
{
    setObjectName(QStringLiteral("AdvOfficePager1"));
    setTabBar(new WrappingTabBar(this));
    // Each page joins the pager before it is filled: moving a filled page
    // there would style every control on it again.
    AdvOfficePage1 = new QWidget;
    addTab(AdvOfficePage1, N_("Multi mode"));
    buildMultiModePage();
    AdvOfficePage2 = new QWidget;
    addTab(AdvOfficePage2, N_("Anti-Tremor"));
    buildAntiTremorPage();
    AdvOfficePage3 = new QWidget;
    addTab(AdvOfficePage3, N_("Sensor monitoring"));
    buildSensorPage();
    setCurrentIndex(0);
    connectHandlers();
}

QWidget *TGlobalSettings::buildMultiModePage()
{
    AdvOfficePage1->setObjectName(QStringLiteral("AdvOfficePage1"));
    QVBoxLayout *page = pageLayout(AdvOfficePage1);

    MultiMode_Button
        = makeButton("MultiMode_Button", N_("Multi mode"), N_("Activate Multi mode"), false, AdvOfficePage1);
    page->addWidget(MultiMode_Button, 0, Qt::AlignLeft);

    QFrame *group = makeGroup(QStringLiteral("MultiMode_Group"), AdvOfficePage1);
    QVBoxLayout *layout = groupLayout(group);
    const QString switchHint = N_("\"Single\" activates onetime switching to the second mode. After "
                                  "execution the mode switches back to Standard mode. \"Change\" persists "
                                  "in new mode.");
    Selection_SingleChange
        = makeSwitch("Selection_SingleChange", N_("Single"), N_("Change"), switchHint, group);
    layout->addWidget(Selection_SingleChange, 0, Qt::AlignLeft);

    Label_ModeChange = makeLabel(QStringLiteral("Label_ModeChange"), N_("Mode changing at:"), group);
    layout->addWidget(Label_ModeChange);
    Selection_ModeChangeSlider
        = makeSwitch("Selection_ModeChangeSlider", N_("Long click"), N_("Double click"), switchHint, group);
    // Screen readers give the switch its question: "Mode changing at:".
    Label_ModeChange->setBuddy(Selection_ModeChangeSlider);
    layout->addWidget(Selection_ModeChangeSlider, 0, Qt::AlignLeft);

    auto *place = new QGridLayout;
    place->setContentsMargins(0, 0, 0, 0);

    LongClick_Panel = new QWidget(group);
    LongClick_Panel->setObjectName(QStringLiteral("LongClick_Panel"));
    QVBoxLayout *longClick = new QVBoxLayout(LongClick_Panel);
    longClick->setContentsMargins(0, 0, 0, 0);
    longClick->setSpacing(Spacing);
    SPECIALACT_HOLD_TIME
        = makeTrackBar("SPECIALACT_HOLD_TIME", N_("Time: %d ms"), 500, 5000, 100, 4000, LongClick_Panel);
    LClick_Transparent = makeCheck("LClick_Transparent", N_("Transparent click"), true, LongClick_Panel);
    LClick_Transparent->setToolTip(
        N_("With a transparent click the output will be switched immediately according to the settings. "
           "It is only enabled with impulse , double click and toogle switch as output."));
    longClick->addWidget(SPECIALACT_HOLD_TIME);
    longClick->addWidget(LClick_Transparent, 0, Qt::AlignLeft);
    longClick->addStretch(1);

    DoubleClick_Panel = new QWidget(group);
    DoubleClick_Panel->setObjectName(QStringLiteral("DoubleClick_Panel"));
    QVBoxLayout *doubleClick = new QVBoxLayout(DoubleClick_Panel);
    doubleClick->setContentsMargins(0, 0, 0, 0);
    doubleClick->setSpacing(Spacing);
    Input_DbCLick1_time_10ms
        = makeTrackBar("Input_DbCLick1_time_10ms", N_("Time: %dms"), 0, 1000, 10, 300, DoubleClick_Panel);
    Input_DbCLick1_delay_10ms
        = makeTrackBar("Input_DbCLick1_delay_10ms", N_("Delay: %dms"), 0, 1000, 10, 300, DoubleClick_Panel);
    doubleClick->addWidget(Input_DbCLick1_time_10ms);
    doubleClick->addWidget(Input_DbCLick1_delay_10ms);
    doubleClick->addStretch(1);

    shareOnePlace(LongClick_Panel);
    shareOnePlace(DoubleClick_Panel);
    place->addWidget(DoubleClick_Panel, 0, 0);
    place->addWidget(LongClick_Panel, 0, 0);
    // The long-click panel lies in front until the switch state is applied.
    DoubleClick_Panel->hide();
    layout->addLayout(place);

    page->addWidget(group);
    page->addStretch(1);
    return AdvOfficePage1;
}

QWidget *TGlobalSettings::buildAntiTremorPage()
{
    AdvOfficePage2->setObjectName(QStringLiteral("AdvOfficePage2"));
    QVBoxLayout *page = pageLayout(AdvOfficePage2);

    AntiTremor_Button
        = makeButton("AntiTremor_Button", N_("ANTI-TREMOR"), N_("LED indication"), false, AdvOfficePage2);
    page->addWidget(AntiTremor_Button, 0, Qt::AlignLeft);

    QFrame *group = makeGroup(QStringLiteral("AntiTremor_Group"), AdvOfficePage2);
    QVBoxLayout *layout = groupLayout(group);
    TrackBar_HoldTime
        = makeTrackBar("TrackBar_HoldTime", N_("Min. hold time: %d ms"), 0, 1500, 1, 250, group);
    TrackBar_ReleaseTime
        = makeTrackBar("TrackBar_ReleaseTime", N_("Min. release time: %d ms"), 0, 1500, 1, 0, group);
    layout->addWidget(TrackBar_HoldTime);
    layout->addWidget(TrackBar_ReleaseTime);

    page->addWidget(group);
    page->addStretch(1);
    return AdvOfficePage2;
}

QWidget *TGlobalSettings::buildSensorPage()
{
    AdvOfficePage3->setObjectName(QStringLiteral("AdvOfficePage3"));
    QVBoxLayout *page = pageLayout(AdvOfficePage3);

    Alarm_Button = makeButton("Alarm_Button", N_("ALARM"), N_("Alarm on/off"), false, AdvOfficePage3);
    page->addWidget(Alarm_Button, 0, Qt::AlignLeft);

    QFrame *signal = makeGroup(QStringLiteral("Alarm_SignalGroup"), AdvOfficePage3);
    QVBoxLayout *signalLayout = groupLayout(signal);
    ALARM_TRIGGERTIME = makeTrackBar("ALARM_TRIGGERTIME", N_("trigger time: %d sec"), 10, 60, 1, 10, signal);
    signalLayout->addWidget(ALARM_TRIGGERTIME);
    auto *buttons = new QHBoxLayout;
    buttons->setSpacing(Spacing);
    AlarmLEDON_Button = makeButton("AlarmLEDON_Button", N_("LED"), N_("Alarm LED indication"), false, signal);
    AlarmSoundON_Button
        = makeButton("AlarmSoundON_Button", N_("SOUND"), N_("Alarm sound indication"), true, signal);
    AlarmLEDON_Button->setEnabled(false);
    AlarmSoundON_Button->setEnabled(false);
    buttons->addWidget(AlarmLEDON_Button);
    buttons->addWidget(AlarmSoundON_Button);
    buttons->addStretch(1);
    signalLayout->addLayout(buttons);
    ALARM_BEEPVOLUME = makeTrackBar("ALARM_BEEPVOLUME", N_("Beep volume: %d"), 0, 5, 1, 1, signal);
    signalLayout->addWidget(ALARM_BEEPVOLUME);

    QFrame *output = makeGroup(QStringLiteral("Alarm_OutputGroup"), AdvOfficePage3);
    QVBoxLayout *outputLayout = groupLayout(output);
    Selection_Impulse = makeCheck("Selection_Impulse", N_("Impulse"), true, output);
    Selection_Permanent = makeCheck("Selection_Permanent", N_("Permanent switch"), false, output);
    Selection_Impulse->setEnabled(false);
    Selection_Permanent->setEnabled(false);
    ALARM_SWITCHTIME
        = makeTrackBar("ALARM_SWITCHTIME", N_("Switch time: %d ms"), 100, 5000, 100, 1000, output);
    ALARM_SWITCHTIME->setJumpToClick(true);
    auto *choice = new QHBoxLayout;
    choice->setSpacing(12);
    choice->addWidget(Selection_Impulse);
    choice->addWidget(Selection_Permanent);
    choice->addStretch(1);
    outputLayout->addLayout(choice);
    outputLayout->addWidget(ALARM_SWITCHTIME);

    page->addWidget(signal);
    page->addWidget(output);
    page->addStretch(1);
    return AdvOfficePage3;
}

void TGlobalSettings::connectHandlers()
{
    // Multi mode and the track bars are the editor's: they reach the mode
    // pages and the shared track bar handler.
    connect(Selection_ModeChangeSlider, &TSlideSwitch::stateChanged, this,
        &TGlobalSettings::Selection_ModeChangeSliderStateChanged);
    connect(AntiTremor_Button, &TTwoStateButton::clicked, this, &TGlobalSettings::AntiTremor_ButtonClick);
    connect(Alarm_Button, &TTwoStateButton::clicked, this, &TGlobalSettings::Alarm_ButtonClick);
    connect(AlarmLEDON_Button, &TTwoStateButton::clicked, this, &TGlobalSettings::AlarmLEDON_ButtonClick);
    connect(AlarmSoundON_Button, &TTwoStateButton::clicked, this, &TGlobalSettings::AlarmSoundON_ButtonClick);
    connect(Selection_Impulse, &TCheckLabel::clicked, this, &TGlobalSettings::Selection_ImpulseClick);
    connect(Selection_Permanent, &TCheckLabel::clicked, this, &TGlobalSettings::Selection_PermanentClick);
}

QList<TTrackBar *> TGlobalSettings::trackBars() const
{
    return { SPECIALACT_HOLD_TIME, Input_DbCLick1_time_10ms, Input_DbCLick1_delay_10ms, TrackBar_HoldTime,
        TrackBar_ReleaseTime, ALARM_TRIGGERTIME, ALARM_BEEPVOLUME, ALARM_SWITCHTIME };
}

void TGlobalSettings::applyMultiMode()
{
    const bool on = MultiMode_Button->isChecked();
    SPECIALACT_HOLD_TIME->setEnabled(on);
    Input_DbCLick1_time_10ms->setEnabled(on);
    Input_DbCLick1_delay_10ms->setEnabled(on);
    Selection_SingleChange->setEnabled(on);
    Selection_ModeChangeSlider->setEnabled(on);
}

void TGlobalSettings::Selection_ModeChangeSliderStateChanged(bool on)
{
    LongClick_Panel->setVisible(on);
    DoubleClick_Panel->setVisible(!on);
}

void TGlobalSettings::update_LClick_Transparent(int standardFunctionIndex)
{
    LClick_Transparent->setEnabled(true);
    LClick_Transparent->update();
    if (standardFunctionIndex == 1 || standardFunctionIndex == 2) {
        LClick_Transparent->setChecked(true);
        LClick_Transparent->setEnabled(false);
    }
}

void TGlobalSettings::AntiTremor_ButtonClick()
{
    const bool on = AntiTremor_Button->isChecked();
    TrackBar_HoldTime->setEnabled(on);
    TrackBar_ReleaseTime->setEnabled(on);
}

void TGlobalSettings::Alarm_ButtonClick()
{
    const bool on = Alarm_Button->isChecked();
    ALARM_TRIGGERTIME->setEnabled(on);
    AlarmLEDON_Button->setEnabled(on);
    AlarmSoundON_Button->setEnabled(on);
    Selection_Permanent->setEnabled(on);
    Selection_Impulse->setEnabled(on);
    ALARM_SWITCHTIME->setEnabled(on && Selection_Impulse->isChecked());
    ALARM_BEEPVOLUME->setEnabled(on && AlarmSoundON_Button->isChecked());
}

void TGlobalSettings::AlarmLEDON_ButtonClick()
{
    // At least one of the two alarm signals stays chosen.
    if (!AlarmLEDON_Button->isChecked())
        AlarmSoundON_Button->setChecked(true);
    ALARM_BEEPVOLUME->setEnabled(AlarmSoundON_Button->isChecked());
}

void TGlobalSettings::AlarmSoundON_ButtonClick()
{
    ALARM_BEEPVOLUME->setEnabled(AlarmSoundON_Button->isChecked());
    if (!AlarmSoundON_Button->isChecked())
        AlarmLEDON_Button->setChecked(true);
}

void TGlobalSettings::Selection_ImpulseClick()
{
    Selection_Permanent->setChecked(!Selection_Impulse->isChecked());
    updateSwitchTimeEnabled();
}

void TGlobalSettings::Selection_PermanentClick()
{
    Selection_Impulse->setChecked(!Selection_Permanent->isChecked());
    updateSwitchTimeEnabled();
}

void TGlobalSettings::updateSwitchTimeEnabled()
{
    ALARM_SWITCHTIME->setEnabled(Selection_Impulse->isChecked() && Selection_Impulse->isEnabledTo(this));
}
