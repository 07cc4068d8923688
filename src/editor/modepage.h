#pragma once

#include <QFrame>
#include <QList>
#include <QString>

class QComboBox;
class QLabel;
class TArrowShape;
class TBadge;
class TColorSelector;
class TTrackBar;
class TTwoStateButton;

// One mode page: the panel Panel_<n> with everything the device needs to
// know about one mode. Every control is named by its role followed by the
// page number n ("OutputFunctionCombobox_3"), so handlers and the records
// mapping find the controls of any page by name; the members give typed
// access to the same controls.
//
// The page lays out four groups in two columns with an arrow between them:
// output and feedback on the left, the function panel (one of four, or none
// for "Toggle") and the signals on the right.
class TModePage : public QFrame
{
    Q_OBJECT
public:
    // Builds the page for number n in the standard page's start state.
    explicit TModePage(int n, QWidget *parent = nullptr);

    // The page number; never changes. Also the widget's "Tag" property.
    const int Tag;

    // The name of this page's control of a role; the role ends in "_"
    // ("Switch_Button1_" gives "Switch_Button1_3" on page 3).
    QString nameFor(const char *role) const;

    // Indexes of the function list, in the order of the records' switch modes.
    static QStringList functionItems();

    // Shows the one panel of the selected switch function and hides the
    // other three; "Toggle" and no selection hide all four.
    void showFunctionPanel();

    // The output buttons: the one clicked, when now pressed, releases the
    // other. Returns false when button is neither output button.
    bool outputButtonClicked(const QObject *button);

    // The feedback buttons, after the click has flipped them.
    void Output_Button_0Click();
    void Input_Button_0Click();
    void Off_Button_0Click();

    // Enables or disables what OFF takes away: LED, SOUND, colour, volume.
    void setSignalControlsEnabled(bool enabled);

    // Copies the current state of another page (of the same build): values,
    // pressed states, tags, enabled and visible states, palettes and the texts
    // it shows now (they may be translated already).
    void copyStateFrom(const TModePage &source);

    // Every control of the page in build order, the page's own panels
    // included; the same positions hold the same roles on every page.
    QList<QWidget *> controls() const { return m_controls; }
    QList<TTrackBar *> trackBars() const;

    // The controls Tab visits, in order: the output buttons and function
    // list, the feedback buttons, the function panels' track bars (only the
    // visible panel's are reached) and the signals. Badges, labels and the
    // arrows are not in it.
    QList<QWidget *> tabOrder() const;
    // Puts the page's controls into the window's tab chain, in tabOrder(),
    // right after `after` (or after each other only, when it is null). A page
    // that joins a window later comes last in its chain otherwise, behind
    // the controls under the pager.
    void chainTabOrder(QWidget *after);

    // The four function panels, in the order of the function list that
    // shows them (impulse, push button, repeater, double click).
    QList<QFrame *> functionPanels() const;

    // Output group
    QFrame *Panel_Switch = nullptr;
    QLabel *Output_selection_Label = nullptr;
    TBadge *Switch_Button = nullptr;
    TTwoStateButton *Switch_Button1 = nullptr;
    TTwoStateButton *Switch_Button2 = nullptr;
    QLabel *Functionality_Label = nullptr;
    QComboBox *OutputFunctionCombobox = nullptr;

    // Feedback group
    QFrame *Panel_Feedback = nullptr;
    QLabel *Feedback_selection_Label = nullptr;
    TTwoStateButton *Output_Button = nullptr;
    TTwoStateButton *Input_Button = nullptr;
    TTwoStateButton *Off_Button = nullptr;

    // Function panels
    QFrame *Panel_SwitchImpulse = nullptr;
    TBadge *Repeater_Button = nullptr; // captioned "IMPULSE"
    TTrackBar *Impulse_Trackbar_ImpulseLen = nullptr;
    QFrame *Panel_SwitchPushbutton = nullptr;
    TBadge *PushButton_Button = nullptr;
    TTrackBar *TrackBar_ContStop_100ms = nullptr;
    QFrame *Panel_SwitchRepeater = nullptr;
    TBadge *Impulse_Button = nullptr; // captioned "REPEATER"
    TTrackBar *RepeatFct_PulseTime_10ms = nullptr;
    TTrackBar *RepeatFct_delay_10ms = nullptr;
    TTrackBar *RepeatFct_PulseRepeat_10ms = nullptr;
    QFrame *Panel_SwitchDoubleClick = nullptr;
    TBadge *DoubleClick_button = nullptr;
    TTrackBar *DBClickOutTime_10ms = nullptr;
    TTrackBar *DBClickOutDelay_10ms = nullptr;

    // Signal group
    QFrame *Panel_LED = nullptr;
    TTwoStateButton *LED_Button = nullptr;
    QLabel *Label_LED = nullptr;
    TColorSelector *LED_ColorCombo = nullptr;
    TTrackBar *LED_Trackbar_Brightness = nullptr;
    TTwoStateButton *Sound_Button = nullptr;
    TTrackBar *Sound_Trackbar_Volumne = nullptr;

    // Arrows between the columns
    TArrowShape *Shape1 = nullptr;
    TArrowShape *Shape2 = nullptr;

private:
    template <typename T> T *add(T *control, const char *role);
    QFrame *buildOutputGroup();
    QFrame *buildFeedbackGroup();
    QWidget *buildFunctionArea();
    QFrame *buildSignalGroup();
    TTrackBar *trackBar(const char *role, QWidget *parent);
    TTwoStateButton *button(
        const char *role, const QString &caption, const QString &hint, bool pressed, QWidget *parent);
    TBadge *badge(const char *role, const QString &caption, const QString &hint, QWidget *parent);

    QList<QWidget *> m_controls;
};
