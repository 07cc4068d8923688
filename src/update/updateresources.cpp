#include "update/updateresources.h"

#include <QPainter>
#include <QSvgRenderer>

void initUpdateResources()
{
    Q_INIT_RESOURCE(update);
}

QPixmap updatePicture(const QString &name, QSize size)
{
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    QSvgRenderer renderer(QStringLiteral(":/update/") + name);
    QPainter painter(&pixmap);
    renderer.render(&painter);
    return pixmap;
}
