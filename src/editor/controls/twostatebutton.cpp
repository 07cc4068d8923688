#include "twostatebutton.h"

#include "controlstyle.h"

#include <QAccessible>
#include <QEvent>
#include <QPainter>

namespace {

constexpr int HorizontalPadding = 12;
constexpr int VerticalPadding = 6;
constexpr int IconTextGap = 6;
constexpr QSize MinimumSize { 44, 26 };

// The caption is drawn bold when pressed; the size is taken from the bold
// font so that the button keeps its size when it flips.
QFont captionFont(const QWidget *w)
{
    QFont f = w->font();
    f.setBold(true);
    return f;
}

} // namespace

TTwoStateButton::TTwoStateButton(QWidget *parent)
    : QToolButton(parent)
{
    installControlAccessibility();
    setCheckable(true);
    setFocusPolicy(Qt::StrongFocus);
    setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    setAttribute(Qt::WA_Hover);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

TTwoStateButton::TTwoStateButton(const QString &text, QWidget *parent)
    : TTwoStateButton(parent)
{
    setText(text);
}

QString TTwoStateButton::accessibleCaption() const
{
    QString caption = text();
    // "&&" is a literal ampersand, a single "&" marks the mnemonic.
    caption.replace(QLatin1String("&&"), QStringLiteral("\x01"));
    caption.remove(QLatin1Char('&'));
    caption.replace(QLatin1Char('\x01'), QLatin1Char('&'));
    return caption.isEmpty() ? toolTip() : caption;
}

QSize TTwoStateButton::sizeHint() const
{
    const QFontMetrics fm(captionFont(this));
    const QString caption = text();
    int width = caption.isEmpty() ? 0 : fm.horizontalAdvance(caption);
    int height = fm.height();
    if (!icon().isNull()) {
        const QSize is = iconSize();
        width += is.width() + (caption.isEmpty() ? 0 : IconTextGap);
        height = qMax(height, is.height());
    }
    return QSize(width + 2 * HorizontalPadding, height + 2 * VerticalPadding).expandedTo(MinimumSize);
}

QSize TTwoStateButton::minimumSizeHint() const
{
    return sizeHint();
}

bool TTwoStateButton::event(QEvent *event)
{
    const bool result = QToolButton::event(event);
    // Without a caption the tool tip names the button.
    if (event->type() == QEvent::ToolTipChange && text().isEmpty()) {
        QAccessibleEvent nameChanged(this, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&nameChanged);
    }
    return result;
}

void TTwoStateButton::paintEvent(QPaintEvent *)
{
    using namespace ControlStyle;
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);

    const bool pressed = isChecked() || isDown();
    const bool enabled = isEnabled();
    QColor fill = pressed ? Accent : (underMouse() && enabled ? ReleasedHover : Released);
    QColor border = pressed ? AccentBorder : Border;
    QColor ink = pressed ? QColor(Qt::white) : Text;
    if (!enabled) {
        fill = faded(fill);
        border = faded(border);
        ink = pressed ? QColor(Qt::white) : DisabledText;
    }

    const QRectF frame = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    p.setPen(border);
    p.setBrush(fill);
    p.drawRoundedRect(frame, 4, 4);

    if (hasFocus()) {
        // Solid, like the ring of a focused track bar: a dotted line is
        // hard to make out on the light grey of a released button.
        p.setPen(QPen(pressed ? QColor(Qt::white) : Focus, 1.5));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(frame.adjusted(2.5, 2.5, -2.5, -2.5), 3, 3);
    }

    const QString caption = text();
    const QFontMetrics fm(captionFont(this));
    const QSize is = icon().isNull() ? QSize(0, 0) : iconSize();
    const int textWidth = caption.isEmpty() ? 0 : fm.horizontalAdvance(caption);
    const int gap = is.width() > 0 && textWidth > 0 ? IconTextGap : 0;
    int x = (width() - is.width() - gap - textWidth) / 2;
    if (is.width() > 0) {
        const QPixmap pm = icon().pixmap(is, devicePixelRatioF(), enabled ? QIcon::Normal : QIcon::Disabled,
            pressed ? QIcon::On : QIcon::Off);
        p.drawPixmap(x, (height() - is.height()) / 2, pm);
        x += is.width() + gap;
    }
    if (textWidth > 0) {
        QFont f = font();
        f.setBold(pressed);
        p.setFont(f);
        p.setPen(ink);
        p.drawText(QRect(x, 0, textWidth, height()), Qt::AlignCenter | Qt::TextShowMnemonic, caption);
    }
}
