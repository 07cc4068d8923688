#include "editorwidgets.h"

#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

QPixmap jackPixmap(int output, const QColor &colour, qreal dpr)
{
    constexpr int Side = 18;
    QPixmap pixmap(QSize(Side, Side) * dpr);
    pixmap.setDevicePixelRatio(dpr);
    pixmap.fill(Qt::transparent);

    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QPen pen(colour, 1.6);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QRectF(1.5, 1.5, Side - 3, Side - 3));
    QFont f;
    f.setBold(true);
    f.setPixelSize(11);
    p.setFont(f);
    p.drawText(QRectF(0, 0, Side, Side), Qt::AlignCenter, QString::number(output));
    return pixmap;
}

} // namespace

QFrame *makeGroup(const QString &objectName, QWidget *parent)
{
    auto *frame = new QFrame(parent);
    frame->setObjectName(objectName);
    frame->setProperty("editorGroup", true);
    frame->setAttribute(Qt::WA_StyledBackground);
    return frame;
}

QLabel *makeGroupTitle(const QString &objectName, const QString &text, QWidget *parent)
{
    QLabel *label = makeLabel(objectName, text, parent);
    label->setProperty("groupTitle", true);
    QFont f = label->font();
    f.setBold(true);
    label->setFont(f);
    return label;
}

QLabel *makeLabel(const QString &objectName, const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(objectName);
    return label;
}

namespace {

QIcon drawOutputIcon(int output)
{
    QIcon icon;
    for (const qreal dpr : { 1.0, 2.0 }) {
        icon.addPixmap(jackPixmap(output, QColor(0x1b, 0x1b, 0x1b), dpr), QIcon::Normal, QIcon::Off);
        icon.addPixmap(jackPixmap(output, Qt::white, dpr), QIcon::Normal, QIcon::On);
        icon.addPixmap(jackPixmap(output, QColor(0x9a, 0xa2, 0xad), dpr), QIcon::Disabled, QIcon::Off);
        icon.addPixmap(jackPixmap(output, QColor(0xdd, 0xe4, 0xee), dpr), QIcon::Disabled, QIcon::On);
    }
    return icon;
}

} // namespace

QIcon outputIcon(int output)
{
    // Every mode page shows the same two icons; they are drawn once.
    static const QIcon icons[] = { drawOutputIcon(1), drawOutputIcon(2) };
    return output == 1 || output == 2 ? icons[output - 1] : drawOutputIcon(output);
}

QString editorStyleSheet()
{
    return QStringLiteral(R"(
TEditor, TEditor QTabWidget > QStackedWidget > QWidget { background: #ffffff; }
QFrame[editorGroup="true"] { background: #ffffff; border: 1px solid #d3dae5; border-radius: 4px; }
QLabel[groupTitle="true"] { color: #1f3a60; }
)");
}

TArrowShape::TArrowShape(QWidget *parent)
    : QWidget(parent)
{
    setFocusPolicy(Qt::NoFocus);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
}

QSize TArrowShape::sizeHint() const
{
    return QSize(14, 28);
}

QSize TArrowShape::minimumSizeHint() const
{
    return QSize(14, 20);
}

void TArrowShape::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal w = width();
    const qreal mid = height() / 2.0;
    const qreal half = qMin(w, 14.0) * 0.7;
    QPainterPath triangle;
    triangle.moveTo(1, mid - half);
    triangle.lineTo(w - 1, mid);
    triangle.lineTo(1, mid + half);
    triangle.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xb9, 0xc4, 0xd4));
    p.drawPath(triangle);
}
