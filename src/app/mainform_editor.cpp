// TMainform: the mode editor's entry points. The editor (src/editor/) holds
// the controls and the logic; the main window owns the working records and
// the help pane the editor writes to.
#include "app/appwindows.h"
#include "editor/editor.h"
#include "mainform.h"
#include "services/helphintform.h"

void TMainform::showHelpText(const QString &html)
{
    // The pane does not exist yet while the main window is being made.
    THelpHintForm *pane = m_windows ? m_windows->HelpHintForm : nullptr;
    if (!pane)
        return;
    if (!html.isNull())
        pane->setHelpHtml(html);
    pane->openBesideIfHidden(frameGeometry());
}

void TMainform::ReadFromDataStructs(int count)
{
    Editor->ReadFromDataStructs(Params, count);
}

void TMainform::WriteToDataStructs()
{
    Editor->WriteToDataStructs(Params);
    Params.ModeCount = Editor->modeCount();
}

void TMainform::OutputFunctionCombobox_0Change(QObject *Sender) { Editor->OutputFunctionCombobox_0Change(Sender); }
void TMainform::Switch_Button1_0Click(QObject *Sender) { Editor->Switch_Button1_0Click(Sender); }
void TMainform::Output_Button_0Click(QObject *Sender) { Editor->Output_Button_0Click(Sender); }
void TMainform::Input_Button_0Click(QObject *Sender) { Editor->Input_Button_0Click(Sender); }
void TMainform::Off_Button_0Click(QObject *Sender) { Editor->Off_Button_0Click(Sender); }
void TMainform::ALARM_SWITCHTIMEChange(QObject *Sender) { Editor->ALARM_SWITCHTIMEChange(Sender); }
void TMainform::PagerInsertPage(QWidget *page) { Editor->PagerInsertPage(page); }
void TMainform::PagerClosePage(int PageIndex, bool &Allow) { Editor->PagerClosePage(PageIndex, Allow); }
void TMainform::PagerClosedPage(int PageIndex) { Editor->PagerClosedPage(PageIndex); }
void TMainform::PagerChange() { Editor->PagerChange(); }
void TMainform::PagerTabClick(int PageIndex) { Editor->PagerTabClick(PageIndex); }
QWidget *TMainform::CloneControl(QWidget *source, int n, QWidget *parent) { return Editor->CloneControl(source, n, parent); }
void TMainform::MultiMode_ButtonClick() { Editor->MultiMode_ButtonClick(); }
void TMainform::Selection_ModeChangeSliderStateChanged(bool on) { Editor->Selection_ModeChangeSliderStateChanged(on); }
void TMainform::update_LClick_Transparent() { Editor->update_LClick_Transparent(); }
void TMainform::AntiTremor_ButtonClick() { Editor->AntiTremor_ButtonClick(); }
void TMainform::Alarm_ButtonClick() { Editor->Alarm_ButtonClick(); }
void TMainform::AlarmLEDON_ButtonClick() { Editor->AlarmLEDON_ButtonClick(); }
void TMainform::AlarmSoundON_ButtonClick() { Editor->AlarmSoundON_ButtonClick(); }
void TMainform::Selection_ImpulseClick() { Editor->Selection_ImpulseClick(); }
void TMainform::Selection_PermanentClick() { Editor->Selection_PermanentClick(); }
void TMainform::ShowFunctionHelp(int n) { Editor->ShowFunctionHelp(n); }
