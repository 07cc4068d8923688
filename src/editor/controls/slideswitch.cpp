#include "slideswitch.h"

#include "controlstyle.h"

#include <QAccessible>
#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace {

constexpr int KnobMargin = 3;
constexpr int CaptionPadding = 10;
constexpr int MinimumHeight = 24;

QFont boldFont(const QWidget *w)
{
    QFont f = w->font();
    f.setBold(true);
    return f;
}

} // namespace

// Where things are drawn: the track fills the widget, the knob is a circle
// inside it, the caption sits on the side the knob is not on.
struct TSlideSwitch::Geometry
{
    QRectF track;
    qreal knobDiameter;
    qreal knobMinX; // knob's left edge when off
    qreal knobMaxX; // knob's left edge when on
};

TSlideSwitch::TSlideSwitch(QWidget *parent)
    : QWidget(parent)
{
    installControlAccessibility();
    setFocusPolicy(Qt::StrongFocus);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void TSlideSwitch::setOnCaption(const QString &caption)
{
    if (caption == m_onCaption)
        return;
    m_onCaption = caption;
    captionsChanged();
}

void TSlideSwitch::setOffCaption(const QString &caption)
{
    if (caption == m_offCaption)
        return;
    m_offCaption = caption;
    captionsChanged();
}

void TSlideSwitch::captionsChanged()
{
    updateGeometry();
    update();
    QAccessibleEvent nameChanged(this, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&nameChanged);
}

void TSlideSwitch::setOn(bool on)
{
    if (on == m_on)
        return;
    m_on = on;
    update();
    QAccessible::State changed;
    changed.checked = true;
    QAccessibleStateChangeEvent stateEvent(this, changed);
    QAccessible::updateAccessibility(&stateEvent);
    QAccessibleEvent nameChanged(this, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&nameChanged);
}

void TSlideSwitch::click()
{
    if (isEnabled())
        userSet(!m_on);
}

void TSlideSwitch::userSet(bool on)
{
    if (on == m_on)
        return;
    setOn(on);
    Q_EMIT stateChanged(on);
}

QSize TSlideSwitch::sizeHint() const
{
    const QFontMetrics fm(boldFont(this));
    const int height = qMax(MinimumHeight, fm.height() + 2 * KnobMargin + 4);
    const int knob = height - 2 * KnobMargin;
    const int caption = qMax(fm.horizontalAdvance(m_onCaption), fm.horizontalAdvance(m_offCaption));
    return QSize(2 * KnobMargin + knob + 2 * CaptionPadding + qMax(caption, knob), height);
}

QSize TSlideSwitch::minimumSizeHint() const
{
    return sizeHint();
}

TSlideSwitch::Geometry TSlideSwitch::geometry() const
{
    Geometry g;
    g.track = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    g.knobDiameter = qMax<qreal>(4, g.track.height() - 2 * KnobMargin);
    g.knobMinX = g.track.left() + KnobMargin;
    g.knobMaxX = qMax(g.knobMinX, g.track.right() - KnobMargin - g.knobDiameter);
    return g;
}

void TSlideSwitch::paintEvent(QPaintEvent *)
{
    using namespace ControlStyle;
    const Geometry g = geometry();
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);

    const bool enabled = isEnabled();
    QColor fill = m_on ? Accent : Released;
    QColor border = m_on ? AccentBorder : Border;
    QColor ink = m_on ? QColor(Qt::white) : Text;
    QColor knob = Qt::white;
    if (!enabled) {
        fill = faded(fill);
        border = faded(border);
        ink = m_on ? QColor(Qt::white) : DisabledText;
        knob = QColor(0xf7, 0xf8, 0xfa);
    }

    const qreal radius = g.track.height() / 2;
    p.setPen(border);
    p.setBrush(fill);
    p.drawRoundedRect(g.track, radius, radius);

    const qreal knobX
        = m_dragging ? qBound(g.knobMinX, qreal(m_dragKnobX), g.knobMaxX) : (m_on ? g.knobMaxX : g.knobMinX);
    const QRectF knobRect(knobX, g.track.top() + KnobMargin, g.knobDiameter, g.knobDiameter);

    // The caption of the state shown, on the free side of the knob; hidden
    // while the knob is dragged across.
    if (!m_dragging) {
        QRectF captionRect = g.track.adjusted(CaptionPadding, 0, -CaptionPadding, 0);
        if (m_on)
            captionRect.setRight(knobRect.left() - KnobMargin);
        else
            captionRect.setLeft(knobRect.right() + KnobMargin);
        QFont f = font();
        f.setBold(m_on);
        p.setFont(f);
        p.setPen(ink);
        p.drawText(captionRect, Qt::AlignCenter, currentCaption());
    }

    p.setPen(enabled ? border : faded(border));
    p.setBrush(knob);
    p.drawEllipse(knobRect);

    if (hasFocus()) {
        p.setPen(QPen(m_on ? QColor(Qt::white) : Focus, 1, Qt::DotLine));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(g.track.adjusted(2, 2, -2, -2), radius - 2, radius - 2);
    }
}

void TSlideSwitch::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    const Geometry g = geometry();
    m_pressed = true;
    m_dragging = false;
    m_pressX = qRound(event->position().x());
    m_dragKnobX = qRound(m_on ? g.knobMaxX : g.knobMinX);
    event->accept();
}

void TSlideSwitch::mouseMoveEvent(QMouseEvent *event)
{
    if (!m_pressed)
        return;
    const int dx = qRound(event->position().x()) - m_pressX;
    if (!m_dragging && qAbs(dx) < QApplication::startDragDistance())
        return;
    const Geometry g = geometry();
    m_dragging = true;
    m_dragKnobX = qRound((m_on ? g.knobMaxX : g.knobMinX) + dx);
    update();
}

void TSlideSwitch::mouseReleaseEvent(QMouseEvent *event)
{
    if (!m_pressed || event->button() != Qt::LeftButton) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    m_pressed = false;
    const bool dragged = m_dragging;
    m_dragging = false;
    update();
    if (dragged) {
        // The knob lands on the side its centre was let go on.
        const Geometry g = geometry();
        const qreal middle = (g.knobMinX + g.knobMaxX) / 2;
        const qreal knobX = qBound(g.knobMinX, qreal(m_dragKnobX), g.knobMaxX);
        userSet(knobX > middle);
    } else if (rect().contains(event->position().toPoint())) {
        userSet(!m_on);
    }
}

void TSlideSwitch::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Space:
    case Qt::Key_Select:
        if (!event->isAutoRepeat())
            userSet(!m_on);
        break;
    // The knob sits on the right when on.
    case Qt::Key_Left:
        userSet(false);
        break;
    case Qt::Key_Right:
        userSet(true);
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
}

void TSlideSwitch::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::EnabledChange && !isEnabled()) {
        m_pressed = false;
        m_dragging = false;
    }
    if (event->type() == QEvent::FontChange)
        updateGeometry();
    QWidget::changeEvent(event);
}
