#include "modepager.h"

#include "services/translation.h"

#include <QHBoxLayout>
#include <QMouseEvent>
#include <QPainter>
#include <QTabBar>
#include <QToolButton>

namespace {

// A tab bar whose first tab stays first: a drag that starts on it does not
// move it, a dragged tab stops at its right edge, and a move made by code
// that would take it away or put another tab before it is undone.
class ModePagerTabBar : public QTabBar
{
public:
    explicit ModePagerTabBar(QWidget *parent)
        : QTabBar(parent)
    {
        setMovable(true);
        setUsesScrollButtons(true);
        connect(this, &QTabBar::tabMoved, this, &ModePagerTabBar::keepFirstTab);
    }

protected:
    void mousePressEvent(QMouseEvent *event) override
    {
        const QPoint pos = event->position().toPoint();
        m_pressedTab = event->button() == Qt::LeftButton ? tabAt(pos) : -1;
        if (m_pressedTab >= 0)
            m_grabOffset = pos.x() - tabRect(m_pressedTab).left();
        QTabBar::mousePressEvent(event);
    }

    void mouseMoveEvent(QMouseEvent *event) override
    {
        if (!(event->buttons() & Qt::LeftButton) || m_pressedTab < 0 || count() < 2) {
            QTabBar::mouseMoveEvent(event);
            return;
        }
        // The first tab is not dragged at all.
        if (m_pressedTab == 0) {
            event->accept();
            return;
        }
        // The dragged tab's left edge follows the mouse at the grab offset;
        // keep it right of the first tab so that it never takes its place.
        const int minX = tabRect(0).right() + 1 + m_grabOffset;
        const QPointF pos = event->position();
        if (pos.x() >= minX) {
            QTabBar::mouseMoveEvent(event);
            return;
        }
        QMouseEvent clamped(event->type(), QPointF(minX, pos.y()), event->scenePosition(),
            event->globalPosition(), event->button(), event->buttons(), event->modifiers(),
            event->pointingDevice());
        QTabBar::mouseMoveEvent(&clamped);
        event->setAccepted(clamped.isAccepted());
    }

    void mouseReleaseEvent(QMouseEvent *event) override
    {
        if (event->button() == Qt::LeftButton)
            m_pressedTab = -1;
        QTabBar::mouseReleaseEvent(event);
    }

private:
    void keepFirstTab(int from, int to)
    {
        if (m_undoing || (from != 0 && to != 0))
            return;
        // The tab widget moves its pages on the same signal, possibly after
        // this; a move and its inverse leave the pages in order either way.
        m_undoing = true;
        moveTab(to, from);
        m_undoing = false;
    }

    int m_pressedTab = -1;
    int m_grabOffset = 0;
    bool m_undoing = false;
};

// The pager's buttons carry drawn marks rather than theme icons, so they look
// the same everywhere.
QIcon markIcon(bool plus)
{
    QIcon icon;
    for (const QIcon::Mode mode : { QIcon::Normal, QIcon::Disabled }) {
        QPixmap pm(16, 16);
        pm.fill(Qt::transparent);
        QPainter p(&pm);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(mode == QIcon::Normal ? QColor(0x1f, 0x3a, 0x60) : QColor(0x9a, 0xa2, 0xad), 2,
            Qt::SolidLine, Qt::RoundCap));
        if (plus) {
            p.drawLine(QPointF(8, 3), QPointF(8, 13));
            p.drawLine(QPointF(3, 8), QPointF(13, 8));
        } else {
            p.drawLine(QPointF(4, 4), QPointF(12, 12));
            p.drawLine(QPointF(12, 4), QPointF(4, 12));
        }
        p.end();
        icon.addPixmap(pm, mode);
    }
    return icon;
}

QToolButton *pagerButton(QWidget *parent, const char *objectName, const QString &hint, bool plus)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(objectName));
    // The text is not shown; it names the button for assistive tools.
    button->setText(hint);
    button->setToolTip(hint);
    button->setIcon(markIcon(plus));
    button->setToolButtonStyle(Qt::ToolButtonIconOnly);
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::TabFocus);
    return button;
}

} // namespace

TModePager::TModePager(QWidget *parent)
    : QTabWidget(parent)
{
    setTabBar(new ModePagerTabBar(this));
    tabBar()->installEventFilter(this);

    auto *corner = new QWidget(this);
    auto *layout = new QHBoxLayout(corner);
    layout->setContentsMargins(2, 0, 2, 0);
    layout->setSpacing(2);
    m_insertButton = pagerButton(corner, "InsertButton", N_("Insert new page"), true);
    m_closeButton = pagerButton(corner, "CloseButton", N_("Close"), false);
    layout->addWidget(m_insertButton);
    layout->addWidget(m_closeButton);
    setCornerWidget(corner, Qt::TopRightCorner);

    connect(m_insertButton, &QToolButton::clicked, this, &TModePager::insertClicked);
    connect(m_closeButton, &QToolButton::clicked, this, &TModePager::closeClicked);
}

void TModePager::setInsertButtonVisible(bool visible)
{
    m_insertButton->setVisible(visible);
}

bool TModePager::isInsertButtonVisible() const
{
    return !m_insertButton->isHidden();
}

void TModePager::setCloseButtonVisible(bool visible)
{
    m_closeButton->setVisible(visible);
}

bool TModePager::isCloseButtonVisible() const
{
    return !m_closeButton->isHidden();
}

bool TModePager::eventFilter(QObject *watched, QEvent *event)
{
    // Reported before the tab bar sees the press, so before it switches pages.
    if (watched == tabBar() && event->type() == QEvent::MouseButtonPress) {
        const int index = tabBar()->tabAt(static_cast<QMouseEvent *>(event)->position().toPoint());
        if (index >= 0)
            Q_EMIT tabPressed(index);
    }
    return QTabWidget::eventFilter(watched, event);
}
