#pragma once

#include "device/modaldialog.h"
#include "device/records.h"

#include <functional>
#include <memory>
#include <vector>

class QAction;
class QKeyEvent;
class QListWidgetItem;
class QToolButton;
class TSetupListView;

// The manage-setups window: the setup catalogue with load, rename and
// delete. Its list owns the catalogue records. Translated when made and
// again on every language change.
class TSetupsform : public ModalDialog
{
    Q_OBJECT
public:
    // The main window's operations this window runs.
    struct Operations
    {
        std::function<void(const QString &path)> loadSetup;
        std::function<void()> loadSetups;
    };

    TSetupsform(Prompt &prompt, Operations operations, QWidget *centreOn, QWidget *parent = nullptr);
    ~TSetupsform() override;

    // Frees every catalogue record and empties the list.
    void ClearListview_data();
    // Adds an entry owning record; returns the record, which stays valid
    // until the next ClearListview_data.
    const tConfig *addEntry(std::unique_ptr<tConfig> record, const QString &caption);

    TSetupListView *AdvListView1 = nullptr;
    QToolButton *EditBtn = nullptr;
    QToolButton *PngSpeedButton1 = nullptr;
    QToolButton *PngSpeedButton2 = nullptr;
    QToolButton *PngBitBtn1 = nullptr;
    QObject *ActionList1 = nullptr;
    QAction *ActionEditCaption = nullptr;
    QAction *ActionDeleteIcon = nullptr;
    QAction *ActionLoadSetup = nullptr;

public Q_SLOTS:
    void ActionEditCaptionExecute();
    void ActionEditCaptionUpdate();
    void ActionDeleteIconExecute();
    void ActionDeleteIconUpdate();
    void ActionLoadSetupExecute();
    void ActionLoadSetupUpdate();
    void AdvListView1DblClick();

public:
    bool AdvListView1Editing(QListWidgetItem *item) const;
    void AdvListView1Edited(QListWidgetItem *item, const QString &text);
    // Returns true when the key was the program's own.
    bool AdvListView1KeyDown(QKeyEvent *event);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void FormShow() override;

private:
    void layoutControls();
    void FormCreate();
    void FormDestroy();
    void updateActions();
    tConfig *recordOf(QListWidgetItem *item) const;
    // Runs an action's handler the way the action list does: its enabling
    // is evaluated first, errors reach the default error handling.
    void runAction(QAction *action, void (TSetupsform::*updateHandler)(), void (TSetupsform::*execute)());

    Operations m_operations;
    std::vector<std::unique_ptr<tConfig>> m_records;
};
