#pragma once

#include "device/records.h"

#include <QListWidget>
#include <functional>

// The large-icon list of both setup dialogs. Each item points to a
// catalogue record (tConfig) that the list does not own.
//
// In-place edits of a caption (started by edit(), F2 handling of the owner
// or a slow second click where enabled) are allowed only when canEdit says
// so; an accepted edit is handed to onEdited with the text as typed and
// changes nothing by itself. A cancelled edit (Esc) reaches no one.
class TSetupListView : public QListWidget
{
    Q_OBJECT
public:
    explicit TSetupListView(QWidget *parent = nullptr);

    void addEntry(const tConfig *record, const QString &caption);
    const tConfig *entryAt(int row) const;
    // The record of the selected item, or null when none is selected.
    const tConfig *selectedEntry() const;
    QListWidgetItem *selectedItem() const;
    QList<const tConfig *> entries() const;

    // Starts the in-place edit of the selected item's caption; false when
    // nothing is selected or the edit is not allowed.
    bool editSelected();
    bool isEditing() const { return state() == QAbstractItemView::EditingState; }

    std::function<bool(QListWidgetItem *item)> canEdit;
    std::function<void(QListWidgetItem *item, const QString &text)> onEdited;

Q_SIGNALS:
    // A mouse click anywhere in the list, after the selection followed it.
    void clickedInList();

protected:
    bool edit(const QModelIndex &index, EditTrigger trigger, QEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
};
