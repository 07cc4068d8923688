#include "colorselector.h"

#include "controlstyle.h"
#include "services/windowtranslator.h"

#include <QHash>
#include <QPainter>
#include <QPixmap>
#include <QStandardItemModel>
#include <QStyleOptionComboBox>
#include <QStylePainter>

namespace {

constexpr QSize SwatchSize { 48, 16 };
constexpr int ColorRole = Qt::UserRole;

QIcon drawSwatch(const QColor &color)
{
    QPixmap pm(SwatchSize);
    pm.fill(color);
    QPainter p(&pm);
    p.setPen(QColor(0x80, 0x80, 0x80));
    p.drawRect(0, 0, SwatchSize.width() - 1, SwatchSize.height() - 1);
    return QIcon(pm);
}

// Every mode page lists the same palette, and copies list it again; each
// colour's swatch is drawn once. Colours read from the device come on top,
// so the store is emptied once it holds far more than a palette.
QIcon swatch(const QColor &color)
{
    static QHash<QRgb, QIcon> drawn;
    if (drawn.size() > 256)
        drawn.clear();
    auto it = drawn.constFind(color.rgb());
    if (it == drawn.cend())
        it = drawn.insert(color.rgb(), drawSwatch(color));
    return *it;
}

// Colours are compared by their red, green and blue values only.
bool sameColor(const QColor &a, const QColor &b)
{
    return a.isValid() && b.isValid() && a.rgb() == b.rgb();
}

} // namespace

TColorSelector::TColorSelector(QWidget *parent)
    : QComboBox(parent)
{
    // The entries are colours, not texts.
    ignoreClassForTranslation(QStringLiteral("TColorSelector"));
    setEditable(false);
    setIconSize(SwatchSize);
    setSizeAdjustPolicy(QComboBox::AdjustToContents);
    connect(this, &QComboBox::activated, this, &TColorSelector::userPicked);
}

QString TColorSelector::colorText(const QColor &color)
{
    return QString::asprintf("R %02X  G %02X  B %02X", color.red(), color.green(), color.blue());
}

void TColorSelector::setColors(const QList<QColor> &colors)
{
    const QColor selected = selectedColor();
    m_colors = colors;
    rebuild(selected.isValid() ? selected : (colors.isEmpty() ? QColor() : colors.first()));
}

QColor TColorSelector::selectedColor() const
{
    const int i = currentIndex();
    return i < 0 ? QColor() : itemData(i, ColorRole).value<QColor>();
}

void TColorSelector::setSelectedColor(const QColor &color)
{
    // Selecting the selected colour again changes nothing: an extra entry
    // is always the selected one.
    if (color.isValid() && !sameColor(color, selectedColor()))
        rebuild(color);
}

// Lists the offered colours and selects `selected`, adding it as the extra
// last entry when the list lacks it.
void TColorSelector::rebuild(const QColor &selected)
{
    const QSignalBlocker blocker(this);
    int selectedIndex = -1;
    QList<QColor> entries = m_colors;
    m_hasExtra = false;
    for (qsizetype i = 0; i < m_colors.size() && selectedIndex < 0; ++i)
        if (sameColor(m_colors.at(i), selected))
            selectedIndex = int(i);
    if (selected.isValid() && selectedIndex < 0) {
        entries.append(selected);
        selectedIndex = int(entries.size() - 1);
        m_hasExtra = true;
    }
    // Entries that already show the right colour stay (most rebuilds only
    // change the extra entry); the rest go and come in one step each, as
    // every single change makes the box measure all of its entries again.
    int kept = 0;
    while (kept < count() && kept < entries.size()
        && itemData(kept, ColorRole).value<QColor>().rgb() == entries.at(kept).rgb())
        ++kept;
    if (kept < count())
        model()->removeRows(kept, count() - kept);
    auto *items = qobject_cast<QStandardItemModel *>(model());
    QList<QStandardItem *> added;
    for (qsizetype k = kept; k < entries.size(); ++k) {
        const QColor rgb = QColor::fromRgb(entries.at(k).rgb());
        const QString text = colorText(rgb);
        if (!items) {
            addItem(swatch(rgb), QString(), rgb);
            setItemData(count() - 1, text, Qt::ToolTipRole);
            setItemData(count() - 1, text, Qt::AccessibleTextRole);
            continue;
        }
        // What addItem() and setItemData() would store.
        auto *item = new QStandardItem(QString());
        item->setIcon(swatch(rgb));
        item->setData(rgb, ColorRole);
        item->setData(text, Qt::ToolTipRole);
        item->setData(text, Qt::AccessibleTextRole);
        added.append(item);
    }
    if (!added.isEmpty())
        items->invisibleRootItem()->appendRows(added);
    setCurrentIndex(selectedIndex);
    updateHint();
}

void TColorSelector::userPicked(int index)
{
    if (index < 0)
        return;
    const QColor picked = itemData(index, ColorRole).value<QColor>();
    // Picking a listed colour retires the extra entry.
    if (m_hasExtra && index < count() - 1)
        rebuild(picked);
    updateHint();
    Q_EMIT colorSelected(picked);
}

void TColorSelector::updateHint()
{
    const QColor c = selectedColor();
    const QString text = c.isValid() ? colorText(c) : QString();
    setToolTip(text);
    // The swatch has no text of its own: screen readers say the colour. The
    // label beside it stays the box's "labelled by" relation.
    setAccessibleName(text);
}

void TColorSelector::paintEvent(QPaintEvent *)
{
    QStylePainter p(this);
    QStyleOptionComboBox option;
    initStyleOption(&option);
    option.currentText.clear();
    option.currentIcon = QIcon();
    p.drawComplexControl(QStyle::CC_ComboBox, option);

    const QColor c = selectedColor();
    if (!c.isValid())
        return;
    const QRect field
        = style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
    const QRect box = field.adjusted(2, 3, -2, -3);
    p.fillRect(box, isEnabled() ? c : ControlStyle::faded(c));
    p.setPen(isEnabled() ? QColor(0x60, 0x60, 0x60) : QColor(0xb0, 0xb0, 0xb0));
    p.drawRect(box.adjusted(0, 0, -1, -1));
}
