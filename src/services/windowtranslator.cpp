#include "windowtranslator.h"

#include "translation.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QSet>
#include <QTabBar>
#include <QTabWidget>
#include <QTextEdit>
#include <QToolBox>
#include <QToolButton>
#include <QTreeWidget>
#include <optional>

namespace {

// Where a text lives: a Qt property of the object, or an indexed text that
// Qt exposes only through functions (items, tabs, pages, header columns).
enum class Slot {
    Property,
    ComboItem,
    ListItem,
    ListItemToolTip,
    TabText,
    TabToolTip,
    ToolBoxText,
    ToolBoxToolTip,
    TreeHeader,
};

struct Key
{
    const QObject *object;
    Slot slot;
    QByteArray property;
    int index;
    bool operator==(const Key &other) const = default;
};

size_t qHash(const Key &key, size_t seed = 0)
{
    return qHashMulti(seed, key.object, int(key.slot), key.property, key.index);
}

struct Entry
{
    QPointer<QObject> object;
    Key key;
    QString msgid;
    QString shown; // the text we put there last
};

struct WindowRecord
{
    QPointer<QWidget> window;
    QList<Entry> entries;
    QHash<Key, qsizetype> index;
    QStringList ignoreNext;
};

struct Registry
{
    QHash<const QWidget *, WindowRecord> windows;
    QStringList ignoredClasses;

    // Drops records of deleted windows, so a new window at the same address
    // starts clean.
    WindowRecord *record(QWidget *window, bool create)
    {
        for (auto it = windows.begin(); it != windows.end();)
            it = it->window.isNull() ? windows.erase(it) : std::next(it);
        auto it = windows.find(window);
        if (it == windows.end()) {
            if (!create)
                return nullptr;
            it = windows.insert(window, WindowRecord());
            it->window = window;
        }
        return &*it;
    }
};

Registry &registry()
{
    static Registry r;
    return r;
}

std::optional<QString> readText(QObject *object, const Key &key)
{
    const int i = key.index;
    switch (key.slot) {
    case Slot::Property: {
        const QVariant value = object->property(key.property.constData());
        if (!value.isValid())
            return std::nullopt;
        return value.toString();
    }
    case Slot::ComboItem:
        if (auto *combo = qobject_cast<QComboBox *>(object); combo && i < combo->count())
            return combo->itemText(i);
        break;
    case Slot::ListItem:
    case Slot::ListItemToolTip:
        if (auto *list = qobject_cast<QListWidget *>(object); list && i < list->count())
            return key.slot == Slot::ListItem ? list->item(i)->text() : list->item(i)->toolTip();
        break;
    case Slot::TabText:
    case Slot::TabToolTip:
        if (auto *tabs = qobject_cast<QTabWidget *>(object); tabs && i < tabs->count())
            return key.slot == Slot::TabText ? tabs->tabText(i) : tabs->tabToolTip(i);
        if (auto *bar = qobject_cast<QTabBar *>(object); bar && i < bar->count())
            return key.slot == Slot::TabText ? bar->tabText(i) : bar->tabToolTip(i);
        break;
    case Slot::ToolBoxText:
    case Slot::ToolBoxToolTip:
        if (auto *box = qobject_cast<QToolBox *>(object); box && i < box->count())
            return key.slot == Slot::ToolBoxText ? box->itemText(i) : box->itemToolTip(i);
        break;
    case Slot::TreeHeader:
        if (auto *tree = qobject_cast<QTreeWidget *>(object); tree && i < tree->columnCount())
            return tree->headerItem()->text(i);
        break;
    }
    return std::nullopt;
}

void writeText(QObject *object, const Key &key, const QString &text)
{
    const int i = key.index;
    switch (key.slot) {
    case Slot::Property:
        object->setProperty(key.property.constData(), text);
        break;
    case Slot::ComboItem:
        static_cast<QComboBox *>(object)->setItemText(i, text);
        break;
    case Slot::ListItem:
        static_cast<QListWidget *>(object)->item(i)->setText(text);
        break;
    case Slot::ListItemToolTip:
        static_cast<QListWidget *>(object)->item(i)->setToolTip(text);
        break;
    case Slot::TabText:
    case Slot::TabToolTip:
        if (auto *tabs = qobject_cast<QTabWidget *>(object)) {
            key.slot == Slot::TabText ? tabs->setTabText(i, text) : tabs->setTabToolTip(i, text);
        } else {
            auto *bar = static_cast<QTabBar *>(object);
            key.slot == Slot::TabText ? bar->setTabText(i, text) : bar->setTabToolTip(i, text);
        }
        break;
    case Slot::ToolBoxText:
        static_cast<QToolBox *>(object)->setItemText(i, text);
        break;
    case Slot::ToolBoxToolTip:
        static_cast<QToolBox *>(object)->setItemToolTip(i, text);
        break;
    case Slot::TreeHeader:
        static_cast<QTreeWidget *>(object)->headerItem()->setText(i, text);
        break;
    }
}

// Text properties that the editor's own controls declare: a track bar's
// label format and a slide switch's captions. Read on any widget whose class
// declares them, so no control class needs to be known here.
constexpr const char *ownControlTexts[] = { "labelFormat", "onCaption", "offCaption" };

// Looks the remembered id up again, unless code has put another text there
// since the last translation.
void retranslate(Entry &entry)
{
    if (entry.object.isNull())
        return;
    const std::optional<QString> current = readText(entry.object, entry.key);
    if (!current || *current != entry.shown)
        return;
    const QString text = tx(entry.msgid);
    if (text != *current)
        writeText(entry.object, entry.key, text);
    entry.shown = text;
}

// Without an explicit tool tip (or icon text) an action derives one from its
// text; such derived texts follow the text and are not translated on their
// own.
bool isDerivedFromText(const QAction *action, const QByteArray &property)
{
    QAction plain(action->text());
    return plain.property(property.constData()) == action->property(property.constData());
}

class Walker
{
public:
    Walker(WindowRecord &record, QWidget *root, const QStringList &ignoreNames)
        : m_record(record)
        , m_root(root)
        , m_ignoreNames(ignoreNames)
    {
    }

    void visit(QObject *object)
    {
        if (!object || m_visited.contains(object) || isIgnored(object))
            return;
        m_visited.insert(object);

        // Qt's own helper objects (a tab widget's page stack, a scroll
        // area's viewport, a spin box's editor) carry no texts of ours, but
        // the pages and contents they hold do.
        const bool qtHelper = object->objectName().startsWith(QLatin1String("qt_"));
        if (auto *widget = qobject_cast<QWidget *>(object)) {
            // Other windows parented to this one translate on their own;
            // menus are windows too but belong to their owner.
            if (widget != m_root && widget->isWindow() && !qobject_cast<QMenu *>(widget))
                return;
            if (!qtHelper) {
                visitWidget(widget);
                for (QAction *action : widget->actions())
                    visit(action);
            }
        } else if (auto *action = qobject_cast<QAction *>(object); action && !qtHelper) {
            visitAction(action);
        }
        for (QObject *child : object->children())
            visit(child);
    }

private:
    bool isIgnored(const QObject *object) const
    {
        if (!object->objectName().isEmpty() && m_ignoreNames.contains(object->objectName()))
            return true;
        for (const QString &className : registry().ignoredClasses)
            if (object->inherits(className.toLatin1().constData()))
                return true;
        return false;
    }

    void text(QObject *object, Slot slot, const QByteArray &property = {}, int index = -1)
    {
        const Key key { object, slot, property, index };
        if (const auto known = m_record.index.constFind(key); known != m_record.index.cend()) {
            // Translated before: behave like a retranslation.
            retranslate(m_record.entries[*known]);
            return;
        }
        const std::optional<QString> current = readText(object, key);
        if (!current || current->isEmpty())
            return;
        const QString msgid = knownElsewhere(key, *current).value_or(*current);
        const QString translated = tx(msgid);
        if (translated != *current)
            writeText(object, key, translated);
        m_record.index.insert(key, m_record.entries.size());
        m_record.entries.append(Entry { object, key, msgid, translated });
    }

    // An object shared with a window translated before (an action shown on
    // both) already holds a translation; its id is the one remembered there.
    std::optional<QString> knownElsewhere(const Key &key, const QString &current) const
    {
        for (const WindowRecord &other : std::as_const(registry().windows)) {
            if (&other == &m_record)
                continue;
            const auto at = other.index.constFind(key);
            if (at == other.index.cend())
                continue;
            const Entry &entry = other.entries.at(*at);
            if (!entry.object.isNull() && entry.shown == current)
                return entry.msgid;
        }
        return std::nullopt;
    }

    void property(QObject *object, const char *name) { text(object, Slot::Property, QByteArray(name)); }

    void visitWidget(QWidget *w)
    {
        // A tool button that shows an action takes its texts from it.
        auto *toolButton = qobject_cast<QToolButton *>(w);
        const bool fromAction = toolButton && toolButton->defaultAction();

        property(w, "windowTitle");
        if (!fromAction) {
            property(w, "toolTip");
            property(w, "statusTip");
            property(w, "whatsThis");
        }

        if (qobject_cast<QLabel *>(w) || (qobject_cast<QAbstractButton *>(w) && !fromAction))
            property(w, "text");
        // Texts of the program's own controls, under their own property names.
        for (const char *name : ownControlTexts)
            if (w->metaObject()->indexOfProperty(name) >= 0)
                property(w, name);
        if (qobject_cast<QGroupBox *>(w) || qobject_cast<QMenu *>(w))
            property(w, "title");
        if (qobject_cast<QLineEdit *>(w) || qobject_cast<QTextEdit *>(w) || qobject_cast<QPlainTextEdit *>(w))
            property(w, "placeholderText");
        if (qobject_cast<QAbstractSpinBox *>(w)) {
            property(w, "specialValueText");
            // QSpinBox and QDoubleSpinBox; QDateTimeEdit has none.
            if (w->metaObject()->indexOfProperty("suffix") >= 0) {
                property(w, "prefix");
                property(w, "suffix");
            }
        }

        if (auto *combo = qobject_cast<QComboBox *>(w)) {
            property(w, "placeholderText");
            for (int i = 0; i < combo->count(); ++i)
                text(w, Slot::ComboItem, {}, i);
        } else if (auto *list = qobject_cast<QListWidget *>(w)) {
            for (int i = 0; i < list->count(); ++i) {
                text(w, Slot::ListItem, {}, i);
                text(w, Slot::ListItemToolTip, {}, i);
            }
        } else if (auto *tree = qobject_cast<QTreeWidget *>(w)) {
            for (int i = 0; i < tree->columnCount(); ++i)
                text(w, Slot::TreeHeader, {}, i);
        } else if (auto *tabs = qobject_cast<QTabWidget *>(w)) {
            m_visited.insert(tabs->tabBar()); // its texts are the tab widget's
            for (int i = 0; i < tabs->count(); ++i) {
                text(w, Slot::TabText, {}, i);
                text(w, Slot::TabToolTip, {}, i);
            }
        } else if (auto *bar = qobject_cast<QTabBar *>(w)) {
            for (int i = 0; i < bar->count(); ++i) {
                text(w, Slot::TabText, {}, i);
                text(w, Slot::TabToolTip, {}, i);
            }
        } else if (auto *box = qobject_cast<QToolBox *>(w)) {
            for (int i = 0; i < box->count(); ++i) {
                text(w, Slot::ToolBoxText, {}, i);
                text(w, Slot::ToolBoxToolTip, {}, i);
            }
        }

        if (auto *button = qobject_cast<QToolButton *>(w))
            visit(button->menu());
        else if (auto *push = qobject_cast<QPushButton *>(w))
            visit(push->menu());
    }

    void visitAction(QAction *action)
    {
        auto *menu = action->menu<QMenu *>();
        // A menu's own action carries the menu title, translated with the menu.
        const bool isMenuTitle = menu && menu->menuAction() == action;
        if (!isMenuTitle)
            property(action, "text");
        for (const char *name : { "toolTip", "iconText" }) {
            const Key key { action, Slot::Property, QByteArray(name), -1 };
            if (m_record.index.contains(key) || !isDerivedFromText(action, QByteArray(name)))
                property(action, name);
        }
        property(action, "statusTip");
        property(action, "whatsThis");
        visit(menu);
    }

    WindowRecord &m_record;
    QWidget *m_root;
    const QStringList &m_ignoreNames;
    QSet<const QObject *> m_visited;
};

} // namespace

void TranslateComponent(QWidget *window)
{
    if (!window)
        return;
    WindowRecord *record = registry().record(window, true);
    // Entries of objects deleted since the last walk go; the index is rebuilt.
    record->entries.removeIf([](const Entry &e) { return e.object.isNull(); });
    record->index.clear();
    for (qsizetype i = 0; i < record->entries.size(); ++i)
        record->index.insert(record->entries.at(i).key, i);

    const QStringList ignoreNames = std::exchange(record->ignoreNext, {});
    Walker(*record, window, ignoreNames).visit(window);
}

void RetranslateComponent(QWidget *window)
{
    if (!window)
        return;
    WindowRecord *record = registry().record(window, false);
    if (!record)
        return;
    for (Entry &entry : record->entries)
        retranslate(entry);
}

void ignoreClassForTranslation(const QString &className)
{
    if (!registry().ignoredClasses.contains(className))
        registry().ignoredClasses.append(className);
}

void ignoreForNextTranslation(QWidget *window, const QString &objectName)
{
    if (window)
        registry().record(window, true)->ignoreNext.append(objectName);
}
