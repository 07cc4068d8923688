#pragma once

#include "device/modaldialog.h"
#include "device/records.h"

#include <functional>

class QAction;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QToolButton;
class TSetupListView;

// The save-setup dialog: the catalogue to pick a setup to save over, and
// the name field. Its Save button carries the main window's Save action
// (ActionSaveSetup), whose handler writes the file and closes the dialog.
// The list points to the catalogue records without owning them. The
// window's own texts are not translated.
class TSaveform : public ModalDialog
{
    Q_OBJECT
public:
    // saveAction: the main window's Save action; loadSetups rebuilds the
    // catalogue (after a delete).
    TSaveform(Prompt &prompt, QAction *saveAction, std::function<void()> loadSetups, QWidget *centreOn,
        QWidget *parent = nullptr);

    // Shows the dialog modally; the list is emptied when it closes.
    int ShowModal();

    void clearList();
    void addEntry(const tConfig *record, const QString &caption);
    QList<const tConfig *> entries() const;

    // The Save action's rule: the name field is not empty and no entry, or
    // an entry that is not read-only, is selected.
    bool saveAllowed() const;

    TSetupListView *AdvListView1 = nullptr;
    QLabel *Label1 = nullptr;
    QLineEdit *NameEdit = nullptr;
    QToolButton *PngBitBtn2 = nullptr;
    QToolButton *PngBitBtn1 = nullptr;

public Q_SLOTS:
    void AdvListView1Click();
    void FormClose();

public:
    // Return true when the key was the program's own.
    bool AdvListView1KeyDown(QKeyEvent *event);
    bool NameEditKeyDown(QKeyEvent *event);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void FormShow() override;

private:
    void layoutControls();
    void pickSelected();
    void deleteSelected();

    QAction *m_saveAction;
    std::function<void()> m_loadSetups;
};
