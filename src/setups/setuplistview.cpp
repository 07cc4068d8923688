#include "setups/setuplistview.h"

#include "setups/setupicons.h"

#include <QLineEdit>
#include <QMouseEvent>
#include <QStyledItemDelegate>

namespace {

constexpr int RecordRole = Qt::UserRole + 1;

// Hands an accepted edit to the list's owner instead of writing the model:
// the owner decides what the caption becomes (a blank text restores the
// stored name).
class CaptionDelegate : public QStyledItemDelegate
{
public:
    explicit CaptionDelegate(TSetupListView *list)
        : QStyledItemDelegate(list)
        , m_list(list)
    {
    }

    void setModelData(QWidget *editor, QAbstractItemModel *, const QModelIndex &index) const override
    {
        auto *line = qobject_cast<QLineEdit *>(editor);
        QListWidgetItem *item = m_list->item(index.row());
        if (line && item && m_list->onEdited)
            m_list->onEdited(item, line->text());
    }

private:
    TSetupListView *m_list;
};

} // namespace

TSetupListView::TSetupListView(QWidget *parent)
    : QListWidget(parent)
{
    setViewMode(QListView::IconMode);
    setFlow(QListView::LeftToRight);
    setWrapping(true);
    setResizeMode(QListView::Adjust);
    setMovement(QListView::Static);
    setIconSize(QSize(64, 64));
    setGridSize(QSize(104, 100));
    setWordWrap(true);
    setTextElideMode(Qt::ElideRight);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setItemDelegate(new CaptionDelegate(this));
}

void TSetupListView::addEntry(const tConfig *record, const QString &caption)
{
    auto *item = new QListWidgetItem(QIcon(setupIcon(record->ImageIndex)), caption);
    item->setData(RecordRole, QVariant::fromValue(reinterpret_cast<quintptr>(record)));
    item->setFlags(item->flags() | Qt::ItemIsEditable);
    item->setToolTip(caption);
    addItem(item);
}

const tConfig *TSetupListView::entryAt(int row) const
{
    const QListWidgetItem *it = item(row);
    return it ? reinterpret_cast<const tConfig *>(it->data(RecordRole).value<quintptr>()) : nullptr;
}

QListWidgetItem *TSetupListView::selectedItem() const
{
    const QList<QListWidgetItem *> selected = selectedItems();
    return selected.isEmpty() ? nullptr : selected.first();
}

const tConfig *TSetupListView::selectedEntry() const
{
    const QListWidgetItem *it = selectedItem();
    return it ? entryAt(row(it)) : nullptr;
}

QList<const tConfig *> TSetupListView::entries() const
{
    QList<const tConfig *> all;
    for (int i = 0; i < count(); ++i)
        all.append(entryAt(i));
    return all;
}

bool TSetupListView::editSelected()
{
    QListWidgetItem *it = selectedItem();
    if (!it || isEditing())
        return false;
    setCurrentItem(it);
    return edit(indexFromItem(it), QAbstractItemView::AllEditTriggers, nullptr);
}

bool TSetupListView::edit(const QModelIndex &index, EditTrigger trigger, QEvent *event)
{
    // Every start of an edit passes here: the owner's gate decides.
    if (trigger == QAbstractItemView::AllEditTriggers || (editTriggers() & trigger)) {
        QListWidgetItem *it = itemFromIndex(index);
        if (!it || !canEdit || !canEdit(it))
            return false;
    }
    return QListWidget::edit(index, trigger, event);
}

void TSetupListView::mouseReleaseEvent(QMouseEvent *event)
{
    QListWidget::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton)
        Q_EMIT clickedInList();
}
