// TMainform: setups. Saving the working records under a name, the catalogue
// shown by both setup dialogs, and loading a setup into the editor.
#include "app/appwindows.h"
#include "mainform.h"
#include "services/guard.h"
#include "services/translation.h"
#include "setups/datapaths.h"
#include "setups/inifile.h"
#include "setups/saveform.h"
#include "setups/setupcatalogue.h"
#include "setups/setupfile.h"
#include "setups/setupoperations.h"
#include "setups/setupsform.h"

#include <QAbstractEventDispatcher>
#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>

namespace {

QString filled(const char *msgid, const QString &value)
{
    QString text = tx(msgid);
    text.replace(QLatin1String("%s"), value);
    return text;
}

} // namespace

void TMainform::connectSetupActions()
{
    connect(Action_ManageSetups, &QAction::triggered, this,
        [this] { runGuarded(m_prompt, [this] { Action_ManageSetupsExecute(); }); });
    connect(ActionSaveSetupWindow, &QAction::triggered, this,
        [this] { runGuarded(m_prompt, [this] { ActionSaveSetupWindowExecute(); }); });
    connect(ActionSaveSetup, &QAction::triggered, this, [this] {
        // The rule is evaluated again just before the action runs.
        ActionSaveSetupUpdate();
        if (ActionSaveSetup->isEnabled())
            runGuarded(m_prompt, [this] { ActionSaveSetupExecute(); });
    });
    if (auto *dispatcher = QAbstractEventDispatcher::instance())
        connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this, &TMainform::ActionSaveSetupUpdate);
}

void TMainform::LoadSetups()
{
    TSetupsform *manage = m_windows ? m_windows->Setupsform : nullptr;
    TSaveform *save = m_windows ? m_windows->Saveform : nullptr;
    // The save dialog's items point into the manage dialog's records.
    if (save)
        save->clearList();
    if (manage)
        manage->ClearListview_data();

    const QString folder = SetupDatapath();
    QStringList names;
    FindSetupFiles(folder, names);
    // While the main window is being made the dialogs do not exist yet.
    if (!manage)
        return;
    for (const QString &name : names) {
        std::unique_ptr<tConfig> record = ReadSetupInfo(folder + name);
        const QString caption = LookupSetupCaption(record->name);
        const tConfig *kept = manage->addEntry(std::move(record), caption);
        if (save)
            save->addEntry(kept, caption);
    }
}

void TMainform::LoadSetup(const QString &path)
{
    IniFile ini;
    ini.setPath(path);
    if (!QFileInfo(path).isFile() || !ini.load()) {
        MessageDlgCentered(
            filled("Setup file \"%s\" cannot be read.", QDir::toNativeSeparators(path)), mtError, mbOK);
        return;
    }
    const QString caption = LookupSetupCaption(ini.readString(SetupFile::Section, QStringLiteral("name")));
    if (MessageDlgCentered(
            filled("Overwrite parameters with setup \"%s\"?", caption), mtConfirmation, mbYesNo)
        != mrYes)
        return;
    // Leaves the working records as they were when the file is refused.
    ReadSetupRecords(path, Params);
    ReadFromDataStructs(Params.ModeCount);
}

void TMainform::Action_ManageSetupsExecute()
{
    LoadSetups();
    if (TSetupsform *manage = m_windows ? m_windows->Setupsform : nullptr)
        manage->ShowModal();
}

void TMainform::ActionSaveSetupWindowExecute()
{
    // The records saved are the editor's state at this moment.
    WriteToDataStructs();
    QDir().mkpath(SetupDatapath());
    LoadSetups();
    if (TSaveform *save = m_windows ? m_windows->Saveform : nullptr)
        save->ShowModal();
}

void TMainform::ActionSaveSetupUpdate()
{
    TSaveform *save = m_windows ? m_windows->Saveform : nullptr;
    ActionSaveSetup->setEnabled(save && save->saveAllowed());
}

void TMainform::ActionSaveSetupExecute()
{
    TSaveform *save = m_windows ? m_windows->Saveform : nullptr;
    if (!save)
        return;
    const QString name = save->NameEdit->text();
    if (!isUsableSetupName(name)) {
        MessageDlgCentered(
            filled(
                "\"%s\" cannot be used as a setup name. Please enter a name with letters or digits.", name),
            mtWarning, mbOK);
        return;
    }
    const QString path = setupFilePath(SetupDatapath(), name);
    // Asked once per listed entry of that name, as the list shows them.
    for (const tConfig *entry : save->entries()) {
        if (!sameSetupName(entry->name, name) || !QFileInfo::exists(path))
            continue;
        if (MessageDlgCentered(filled("Overwrite setup \"%s\"?", name), mtConfirmation, mbYesNo) != mrYes)
            return;
    }
    if (!SetupFile::write(path, name, Params)) {
        // The dialog stays open so that nothing typed is lost.
        MessageDlgCentered(
            filled("The setup could not be saved to \"%s\".", QDir::toNativeSeparators(path)), mtError, mbOK);
        return;
    }
    save->accept();
}
