#include "comled.h"

#include <QPainter>
#include <QRadialGradient>

TComLed::TComLed(QWidget *parent)
    : QWidget(parent)
{
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void TComLed::setLit(bool lit)
{
    if (m_lit == lit)
        return;
    m_lit = lit;
    update();
}

QSize TComLed::sizeHint() const
{
    return { 18, 18 };
}

void TComLed::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal side = qMin(width(), height()) - 2.0;
    const QRectF r((width() - side) / 2.0, (height() - side) / 2.0, side, side);

    // A highlight towards the upper left gives the lamp some depth.
    QRadialGradient g(r.center() - QPointF(side / 5.0, side / 5.0), side * 0.75);
    if (m_lit) {
        g.setColorAt(0.0, QColor(255, 190, 190));
        g.setColorAt(0.45, QColor(235, 30, 30));
        g.setColorAt(1.0, QColor(150, 0, 0));
    } else {
        g.setColorAt(0.0, QColor(150, 110, 110));
        g.setColorAt(0.5, QColor(95, 40, 40));
        g.setColorAt(1.0, QColor(55, 20, 20));
    }
    p.setPen(QPen(QColor(70, 70, 70), 1.0));
    p.setBrush(g);
    p.drawEllipse(r);
}
