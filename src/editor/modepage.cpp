#include "modepage.h"

#include "controls/badge.h"
#include "controls/colorselector.h"
#include "controls/ledpalette.h"
#include "controls/trackbar.h"
#include "controls/twostatebutton.h"
#include "device/records.h"
#include "editorwidgets.h"
#include "services/translation.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>
#include <array>

namespace {

constexpr int GroupMargin = 8;
constexpr int GroupSpacing = 6;

// The start colour of the standard page: red 00, green 80, blue FF. It is
// not a palette entry and is kept as it is (RGB565 0x041F).
const QColor StartColour(0x00, 0x80, 0xFF);

// Hidden by code, as opposed to not shown yet because the page is not.
bool hiddenByCode(const QWidget *w)
{
    return w->testAttribute(Qt::WA_WState_ExplicitShowHide) && w->testAttribute(Qt::WA_WState_Hidden);
}

QVBoxLayout *groupLayout(QWidget *group)
{
    auto *layout = new QVBoxLayout(group);
    layout->setContentsMargins(GroupMargin, GroupMargin, GroupMargin, GroupMargin);
    layout->setSpacing(GroupSpacing);
    return layout;
}

} // namespace

TModePage::TModePage(int n, QWidget *parent)
    : QFrame(parent)
    , Tag(n)
{
    setObjectName(nameFor("Panel_"));
    setProperty("Tag", n);
    m_controls.append(this);

    // Built in tab order: output, feedback, function panel, signals.
    QFrame *output = buildOutputGroup();
    QFrame *feedback = buildFeedbackGroup();
    Shape1 = add(new TArrowShape(this), "Shape1_");
    Shape2 = add(new TArrowShape(this), "Shape2_");
    QWidget *function = buildFunctionArea();
    QFrame *signal = buildSignalGroup();

    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(6, 6, 6, 6);
    grid->setHorizontalSpacing(4);
    grid->setVerticalSpacing(8);
    grid->addWidget(output, 0, 0);
    grid->addWidget(Shape1, 0, 1);
    grid->addWidget(function, 0, 2);
    // Both rows' groups fill their row, so the boxes line up and each arrow
    // points from the middle of one box to the middle of the other.
    grid->addWidget(feedback, 1, 0);
    grid->addWidget(Shape2, 1, 1);
    grid->addWidget(signal, 1, 2);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(2, 1);
    grid->setRowStretch(0, 1);
    grid->setRowStretch(1, 1);

    showFunctionPanel();
    chainTabOrder(nullptr);
}

QString TModePage::nameFor(const char *role) const
{
    return QString::fromLatin1(role) + QString::number(Tag);
}

QStringList TModePage::functionItems()
{
    return { N_("Impulse"), N_("Push button "), N_("Repeater"), N_("Toggle"), N_("Double click") };
}

template <typename T> T *TModePage::add(T *control, const char *role)
{
    control->setObjectName(nameFor(role));
    m_controls.append(control);
    return control;
}

TTwoStateButton *TModePage::button(
    const char *role, const QString &caption, const QString &hint, bool pressed, QWidget *parent)
{
    auto *b = add(new TTwoStateButton(caption, parent), role);
    b->setToolTip(hint);
    b->setChecked(pressed);
    return b;
}

TBadge *TModePage::badge(const char *role, const QString &caption, const QString &hint, QWidget *parent)
{
    auto *b = add(new TBadge(caption, parent), role);
    b->setToolTip(hint);
    return b;
}

TTrackBar *TModePage::trackBar(const char *role, QWidget *parent)
{
    return add(new TTrackBar(parent), role);
}

namespace {

void setUp(TTrackBar *bar, const QString &format, int min, int max, int step, int start)
{
    bar->setLabelFormat(format);
    bar->setRange(min, max);
    bar->setStep(step);
    bar->setPosition(start);
}

} // namespace

QFrame *TModePage::buildOutputGroup()
{
    Panel_Switch = add(makeGroup({}, this), "Panel_Switch_");
    QVBoxLayout *layout = groupLayout(Panel_Switch);

    Output_selection_Label = add(makeGroupTitle({}, N_("Output"), Panel_Switch), "Output_selection_Label_");
    layout->addWidget(Output_selection_Label);

    auto *row = new QHBoxLayout;
    row->setSpacing(GroupSpacing);
    Switch_Button
        = badge("Switch_Button_", N_("SWITCH"), N_("Active output and its functionality"), Panel_Switch);
    Switch_Button->setChecked(true);
    Switch_Button1 = button(
        "Switch_Button1_", {}, N_("Switch 1 - Changeover contact and alarm circuit"), true, Panel_Switch);
    Switch_Button1->setIcon(outputIcon(1));
    Switch_Button2 = button("Switch_Button2_", {}, N_("Switch 2 - Solid state relay"), false, Panel_Switch);
    Switch_Button2->setIcon(outputIcon(2));
    row->addWidget(Switch_Button);
    row->addStretch(1);
    row->addWidget(Switch_Button1);
    row->addWidget(Switch_Button2);
    layout->addLayout(row);

    Functionality_Label = add(makeLabel({}, N_("Functionality:"), Panel_Switch), "Functionality_Label_");
    OutputFunctionCombobox = add(new QComboBox(Panel_Switch), "OutputFunctionCombobox_");
    OutputFunctionCombobox->addItems(functionItems());
    OutputFunctionCombobox->setCurrentIndex(NormalON);
    OutputFunctionCombobox->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    Functionality_Label->setBuddy(OutputFunctionCombobox);
    layout->addWidget(Functionality_Label);
    layout->addWidget(OutputFunctionCombobox);
    layout->addStretch(1);
    return Panel_Switch;
}

QFrame *TModePage::buildFeedbackGroup()
{
    Panel_Feedback = add(makeGroup({}, this), "Panel_Feedback_");
    QVBoxLayout *layout = groupLayout(Panel_Feedback);

    Feedback_selection_Label
        = add(makeGroupTitle({}, N_("Feedback"), Panel_Feedback), "Feedback_selection_Label_");
    layout->addWidget(Feedback_selection_Label);

    auto *row = new QHBoxLayout;
    row->setSpacing(GroupSpacing);
    Output_Button = button("Output_Button_", N_("OUTPUT"), {}, false, Panel_Feedback);
    Input_Button = button("Input_Button_", N_("INPUT"), {}, true, Panel_Feedback);
    Off_Button = button("Off_Button_", N_("OFF"), {}, false, Panel_Feedback);
    row->addWidget(Output_Button);
    row->addWidget(Input_Button);
    row->addWidget(Off_Button);
    row->addStretch(1);
    layout->addLayout(row);
    layout->addStretch(1);
    return Panel_Feedback;
}

QWidget *TModePage::buildFunctionArea()
{
    // The four panels share one place; each keeps its space when hidden so
    // the page does not jump when the function changes.
    auto *area = new QWidget(this);
    auto *stack = new QGridLayout(area);
    stack->setContentsMargins(0, 0, 0, 0);

    auto panel = [&](const char *role) {
        QFrame *p = add(makeGroup({}, area), role);
        QSizePolicy policy = p->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        p->setSizePolicy(policy);
        stack->addWidget(p, 0, 0);
        return p;
    };

    Panel_SwitchImpulse = panel("Panel_SwitchImpulse_");
    QVBoxLayout *impulse = groupLayout(Panel_SwitchImpulse);
    Repeater_Button = badge("Repeater_Button_", N_("IMPULSE"), N_("Impulse function"), Panel_SwitchImpulse);
    Impulse_Trackbar_ImpulseLen = trackBar("Impulse_Trackbar_ImpulseLen_", Panel_SwitchImpulse);
    setUp(Impulse_Trackbar_ImpulseLen, N_("Impulse len: %d ms"), 100, 5000, 100, 1000);
    impulse->addWidget(Repeater_Button, 0, Qt::AlignLeft);
    impulse->addWidget(Impulse_Trackbar_ImpulseLen);
    impulse->addStretch(1);

    Panel_SwitchPushbutton = panel("Panel_SwitchPushbutton_");
    QVBoxLayout *push = groupLayout(Panel_SwitchPushbutton);
    PushButton_Button
        = badge("PushButton_Button_", N_("PUSHBUTTON"), N_("Pushbutton function"), Panel_SwitchPushbutton);
    TrackBar_ContStop_100ms = trackBar("TrackBar_ContStop_100ms_", Panel_SwitchPushbutton);
    setUp(TrackBar_ContStop_100ms, N_("Long hold break: %d ms"), 0, 5000, 100, 0);
    push->addWidget(PushButton_Button, 0, Qt::AlignLeft);
    push->addWidget(TrackBar_ContStop_100ms);
    push->addStretch(1);

    Panel_SwitchRepeater = panel("Panel_SwitchRepeater_");
    QVBoxLayout *repeater = groupLayout(Panel_SwitchRepeater);
    Impulse_Button = badge("Impulse_Button_", N_("REPEATER"), N_("Repeater function"), Panel_SwitchRepeater);
    RepeatFct_PulseTime_10ms = trackBar("RepeatFct_PulseTime_10ms_", Panel_SwitchRepeater);
    setUp(RepeatFct_PulseTime_10ms, N_("Impulse: %d ms"), 100, 1500, 10, 500);
    RepeatFct_delay_10ms = trackBar("RepeatFct_delay_10ms_", Panel_SwitchRepeater);
    setUp(RepeatFct_delay_10ms, N_("Delay: %d ms"), 100, 1500, 10, 1000);
    RepeatFct_PulseRepeat_10ms = trackBar("RepeatFct_PulseRepeat_10ms_", Panel_SwitchRepeater);
    setUp(RepeatFct_PulseRepeat_10ms, N_("Repeat rate: %d ms"), 100, 3500, 10, 1000);
    repeater->addWidget(Impulse_Button, 0, Qt::AlignLeft);
    repeater->addWidget(RepeatFct_PulseTime_10ms);
    repeater->addWidget(RepeatFct_delay_10ms);
    repeater->addWidget(RepeatFct_PulseRepeat_10ms);
    repeater->addStretch(1);

    Panel_SwitchDoubleClick = panel("Panel_SwitchDoubleClick_");
    QVBoxLayout *doubleClick = groupLayout(Panel_SwitchDoubleClick);
    DoubleClick_button
        = badge("DoubleClick_button_", N_("DOUBLE CLICK"), N_("Repeater function"), Panel_SwitchDoubleClick);
    DBClickOutTime_10ms = trackBar("DBClickOutTime_10ms_", Panel_SwitchDoubleClick);
    setUp(DBClickOutTime_10ms, N_("Time: %d ms"), 10, 1000, 10, 100);
    DBClickOutDelay_10ms = trackBar("DBClickOutDelay_10ms_", Panel_SwitchDoubleClick);
    setUp(DBClickOutDelay_10ms, N_("Delay: %d ms"), 10, 1000, 10, 100);
    doubleClick->addWidget(DoubleClick_button, 0, Qt::AlignLeft);
    doubleClick->addWidget(DBClickOutTime_10ms);
    doubleClick->addWidget(DBClickOutDelay_10ms);
    doubleClick->addStretch(1);

    return area;
}

QFrame *TModePage::buildSignalGroup()
{
    Panel_LED = add(makeGroup({}, this), "Panel_LED_");
    auto *grid = new QGridLayout(Panel_LED);
    grid->setContentsMargins(GroupMargin, GroupMargin, GroupMargin, GroupMargin);
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(GroupSpacing);

    LED_Button = button("LED_Button_", N_("LED"), N_("LED indication"), true, Panel_LED);
    Label_LED = add(makeLabel({}, N_("LED color"), Panel_LED), "Label_LED_");
    LED_ColorCombo = add(new TColorSelector(Panel_LED), "LED_ColorCombo_");
    LED_ColorCombo->setColors(ledPaletteColors());
    LED_ColorCombo->setSelectedColor(StartColour);
    LED_ColorCombo->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    Label_LED->setBuddy(LED_ColorCombo);
    LED_Trackbar_Brightness = trackBar("LED_Trackbar_Brightness_", Panel_LED);
    setUp(LED_Trackbar_Brightness, N_("Brightness: %d"), 0, 5, 1, 5);
    Sound_Button = button("Sound_Button_", N_("SOUND"), N_("Sound indication"), true, Panel_LED);
    Sound_Trackbar_Volumne = trackBar("Sound_Trackbar_Volumne_", Panel_LED);
    setUp(Sound_Trackbar_Volumne, N_("Volume: %d"), 0, 10, 1, 3);

    auto *colour = new QHBoxLayout;
    colour->setSpacing(GroupSpacing);
    colour->addWidget(Label_LED);
    colour->addWidget(LED_ColorCombo, 1);
    grid->addWidget(LED_Button, 0, 0, Qt::AlignTop);
    grid->addLayout(colour, 0, 1);
    grid->addWidget(LED_Trackbar_Brightness, 1, 1);
    grid->addWidget(Sound_Button, 2, 0, Qt::AlignVCenter);
    grid->addWidget(Sound_Trackbar_Volumne, 2, 1);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(3, 1);
    return Panel_LED;
}

QList<TTrackBar *> TModePage::trackBars() const
{
    return { TrackBar_ContStop_100ms, DBClickOutTime_10ms, DBClickOutDelay_10ms, Impulse_Trackbar_ImpulseLen,
        RepeatFct_PulseTime_10ms, RepeatFct_delay_10ms, RepeatFct_PulseRepeat_10ms, LED_Trackbar_Brightness,
        Sound_Trackbar_Volumne };
}

QList<QWidget *> TModePage::tabOrder() const
{
    return { Switch_Button1, Switch_Button2, OutputFunctionCombobox, Output_Button, Input_Button, Off_Button,
        Impulse_Trackbar_ImpulseLen, TrackBar_ContStop_100ms, RepeatFct_PulseTime_10ms, RepeatFct_delay_10ms,
        RepeatFct_PulseRepeat_10ms, DBClickOutTime_10ms, DBClickOutDelay_10ms, LED_Button, LED_ColorCombo,
        LED_Trackbar_Brightness, Sound_Button, Sound_Trackbar_Volumne };
}

void TModePage::chainTabOrder(QWidget *after)
{
    // setTabOrder moves a track bar together with its inner slider.
    QWidget *previous = after;
    for (QWidget *control : tabOrder()) {
        if (previous)
            QWidget::setTabOrder(previous, control);
        previous = control;
    }
}

QList<QFrame *> TModePage::functionPanels() const
{
    return { Panel_SwitchImpulse, Panel_SwitchPushbutton, Panel_SwitchRepeater, Panel_SwitchDoubleClick };
}

void TModePage::showFunctionPanel()
{
    // Function list index -> panel; "Toggle" (3) has none.
    const int index = OutputFunctionCombobox->currentIndex();
    QFrame *shown = nullptr;
    switch (index) {
    case ImpulseON:
        shown = Panel_SwitchImpulse;
        break;
    case NormalON:
        shown = Panel_SwitchPushbutton;
        break;
    case RepeatFuncON:
        shown = Panel_SwitchRepeater;
        break;
    case DoubleClickOut:
        shown = Panel_SwitchDoubleClick;
        break;
    default:
        break;
    }
    for (QFrame *panel : functionPanels())
        panel->setVisible(panel == shown);
}

bool TModePage::outputButtonClicked(const QObject *button)
{
    if (button == Switch_Button1) {
        if (Switch_Button1->isChecked())
            Switch_Button2->setChecked(false);
        return true;
    }
    if (button == Switch_Button2) {
        if (Switch_Button2->isChecked())
            Switch_Button1->setChecked(false);
        return true;
    }
    return false;
}

void TModePage::Output_Button_0Click()
{
    if (Output_Button->isChecked()) {
        Input_Button->setChecked(false);
        Off_Button->setChecked(false);
    } else if (!Input_Button->isChecked()) {
        Off_Button->setChecked(true);
    }
}

void TModePage::Input_Button_0Click()
{
    if (Input_Button->isChecked()) {
        Output_Button->setChecked(false);
        Off_Button->setChecked(false);
    } else if (!Output_Button->isChecked()) {
        Off_Button->setChecked(true);
    }
}

void TModePage::Off_Button_0Click()
{
    // Each button remembers in its tag what it was when OFF was pressed by a
    // click; releasing OFF by a click brings those states back.
    const std::array remembered { Output_Button, Input_Button, Sound_Button, LED_Button };
    if (Off_Button->isChecked()) {
        for (TTwoStateButton *b : remembered) {
            b->Tag = b->isChecked() ? 1 : 0;
            b->setChecked(false);
        }
        setSignalControlsEnabled(false);
    } else {
        for (TTwoStateButton *b : remembered)
            b->setChecked(b->Tag != 0);
        setSignalControlsEnabled(true);
    }
}

void TModePage::setSignalControlsEnabled(bool enabled)
{
    // The brightness stays as it is: OFF leaves it enabled.
    LED_Button->setEnabled(enabled);
    Sound_Button->setEnabled(enabled);
    LED_ColorCombo->setEnabled(enabled);
    Sound_Trackbar_Volumne->setEnabled(enabled);
}

void TModePage::copyStateFrom(const TModePage &source)
{
    const QList<QWidget *> from = source.controls();
    Q_ASSERT(from.size() == m_controls.size());
    for (qsizetype i = 0; i < from.size() && i < m_controls.size(); ++i) {
        const QWidget *s = from.at(i);
        QWidget *d = m_controls.at(i);
        d->setEnabled(!s->testAttribute(Qt::WA_ForceDisabled));
        if (hiddenByCode(s))
            d->hide();
        else if (hiddenByCode(d))
            d->show();
        d->setToolTip(s->toolTip());
        if (s->testAttribute(Qt::WA_SetPalette))
            d->setPalette(s->palette());

        if (auto *sb = qobject_cast<const TTwoStateButton *>(s)) {
            auto *db = static_cast<TTwoStateButton *>(d);
            db->setText(sb->text());
            db->setChecked(sb->isChecked());
            db->Tag = sb->Tag;
        } else if (auto *sl = qobject_cast<const QLabel *>(s)) {
            static_cast<QLabel *>(d)->setText(sl->text());
        } else if (auto *sc = qobject_cast<const TColorSelector *>(s)) {
            auto *dc = static_cast<TColorSelector *>(d);
            dc->setColors(sc->colors());
            dc->setSelectedColor(sc->selectedColor());
        } else if (auto *sf = qobject_cast<const QComboBox *>(s)) {
            auto *df = static_cast<QComboBox *>(d);
            for (int k = 0; k < sf->count() && k < df->count(); ++k)
                df->setItemText(k, sf->itemText(k));
            df->setCurrentIndex(sf->currentIndex());
        } else if (auto *st = qobject_cast<const TTrackBar *>(s)) {
            auto *dt = static_cast<TTrackBar *>(d);
            dt->setLabelFormat(st->labelFormat());
            dt->setRange(st->minimum(), st->maximum());
            dt->setStep(st->step());
            dt->setJumpToClick(st->jumpToClick());
            dt->setPosition(st->position());
        }
    }
}
