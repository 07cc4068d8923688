#pragma once

#include "device/records.h"
#include "editor/controls/modepager.h"
#include "editor/globalsettings.h"

#include <QString>
#include <QWidget>
#include <functional>

class Prompt;
class TModePage;

// The mode editor: the global settings pager on the left and the mode pager
// with one tab per mode on the right. The editor's state lives in its
// controls; ReadFromDataStructs and WriteToDataStructs move it to and from
// the working records.
//
// The handlers carry the names of the controls and events that run them and
// are shared by all mode pages: each finds its page from the name of the
// control that fired it (role + page number).
class TEditor : public QWidget
{
    Q_OBJECT
public:
    // showHelp receives each composed help text for the help pane, which it
    // opens beside the main window when hidden; a null text means "open the
    // pane, keep its text".
    TEditor(Prompt &prompt, std::function<void(const QString &html)> showHelp, QWidget *parent = nullptr);
    ~TEditor() override;

    // The last page number given; never given twice in a run.
    int acttag = 0;

    // Start-up steps of the main window's creation sequence: quantise the LED
    // palette, show the insert button for Multi mode, apply Multi mode and
    // the alarm, select "Push button " on the standard page (no handler) and
    // apply the transparent-click rule.
    void FormCreateSteps();

    // Mode page controls
    void OutputFunctionCombobox_0Change(QObject *Sender);
    void Switch_Button1_0Click(QObject *Sender);
    void Output_Button_0Click(QObject *Sender);
    void Input_Button_0Click(QObject *Sender);
    void Off_Button_0Click(QObject *Sender);
    void ALARM_SWITCHTIMEChange(QObject *Sender);

    // Mode pager
    void PagerInsertPage(QWidget *page);
    void PagerClosePage(int PageIndex, bool &Allow);
    void PagerClosedPage(int PageIndex);
    void PagerChange();
    void PagerTabClick(int PageIndex);
    // Builds the copy of a mode panel (Panel_<m>) for page number n inside
    // parent, in the source's current state. Returns null for any other
    // kind of control, which the editor never copies.
    QWidget *CloneControl(QWidget *source, int n, QWidget *parent);

    // Global settings
    void MultiMode_ButtonClick();
    void Selection_ModeChangeSliderStateChanged(bool on);
    void update_LClick_Transparent();
    void LClick_TransparentClick();
    void AntiTremor_ButtonClick();
    void Alarm_ButtonClick();
    void AlarmLEDON_ButtonClick();
    void AlarmSoundON_ButtonClick();
    void Selection_ImpulseClick();
    void Selection_PermanentClick();

    // Records. A count outside 0 to 5 is taken as the nearest of them.
    void ReadFromDataStructs(const tParameterSet &records, int count);
    // Fills the records in place; fields the editor does not own keep their
    // values.
    void WriteToDataStructs(tParameterSet &records) const;
    int modeCount() const;

    // Help texts of page number n.
    void ShowFunctionHelp(int n);
    QString OutputHelpText(int n) const;

    // Widgets
    TModePager *Pager = nullptr;
    QWidget *FirstPage = nullptr;
    TModePage *Panel_0 = nullptr;
    TGlobalSettings *GlobalSettings = nullptr;

    // The mode page at a tab position, and its page number (-1 when none).
    TModePage *modePageAt(int position) const;
    int pageNumberAt(int position) const;
    // The mode page with this page number, or null.
    TModePage *modePage(int n) const;

private:
    // The page whose control of this role fired; null when none matches.
    TModePage *pageOf(const QObject *Sender, const char *role) const;
    void connectPage(TModePage *page);
    void connectGlobalSettings();
    void insertClicked();
    void closeClicked();
    void removeAddedPages();
    QWidget *appendPage();

    Prompt &m_prompt;
    std::function<void(const QString &)> m_showHelp;
};
