#include "hintfilter.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QHelpEvent>
#include <QMenu>
#include <QTabBar>
#include <QTextDocument>
#include <QToolTip>

QString hintText(const QString &hint)
{
    QString text = hint;
    // Rich-text hints ignore plain line feeds.
    return text.replace(
        QLatin1Char('@'), Qt::mightBeRichText(hint) ? QStringLiteral("<br>") : QStringLiteral("\n"));
}

THintFilter::THintFilter(QObject *parent)
    : QObject(parent)
{
}

QString THintFilter::hintAt(QWidget *widget, const QPoint &pos, QRect *area)
{
    QRect rect;
    QString text;
    if (auto *bar = qobject_cast<QTabBar *>(widget)) {
        const int tab = bar->tabAt(pos);
        if (tab >= 0 && !bar->tabToolTip(tab).isEmpty()) {
            text = bar->tabToolTip(tab);
            rect = bar->tabRect(tab);
        }
    } else if (auto *menu = qobject_cast<QMenu *>(widget)) {
        // Menus show entry hints only when asked to; leave the rest to them.
        if (QAction *action = menu->actionAt(pos); action && menu->toolTipsVisible()) {
            text = action->toolTip();
            rect = menu->actionGeometry(action);
        }
        if (area)
            *area = rect;
        return text;
    } else if (auto *view = qobject_cast<QAbstractItemView *>(widget ? widget->parentWidget() : nullptr);
               view && view->viewport() == widget) {
        const QModelIndex index = view->indexAt(pos);
        if (index.isValid()) {
            text = index.data(Qt::ToolTipRole).toString();
            rect = view->visualRect(index);
        }
    }
    if (text.isEmpty() && widget) {
        text = widget->toolTip();
        rect = QRect();
    }
    if (area)
        *area = rect;
    return text;
}

bool THintFilter::ApplicationEvents1ShowHint(QWidget *widget, QHelpEvent *event)
{
    QRect area;
    const QString hint = hintAt(widget, event->pos(), &area);
    if (!hint.contains(QLatin1Char('@')))
        return false;
    QToolTip::showText(event->globalPos(), hintText(hint), widget, area, widget->toolTipDuration());
    return true;
}

bool THintFilter::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::ToolTip && watched->isWidgetType())
        return ApplicationEvents1ShowHint(static_cast<QWidget *>(watched), static_cast<QHelpEvent *>(event));
    return QObject::eventFilter(watched, event);
}

THintFilter *installHintFilter(QApplication &app)
{
    auto *filter = new THintFilter(&app);
    app.installEventFilter(filter);
    app.setStyleSheet(app.styleSheet()
        + QStringLiteral(
            "\nQToolTip { color: #ffffff; background-color: #34495e; border: 1px solid #22313f;"
            " border-radius: 4px; padding: 3px 5px; font-family: \"Segoe UI\"; font-weight: bold; }"));
    return filter;
}
