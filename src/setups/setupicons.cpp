#include "setups/setupicons.h"

#include <QPainter>
#include <QSvgRenderer>

namespace {

constexpr int IconSize = 64;
constexpr int IconCount = 16;

} // namespace

// Q_INIT_RESOURCE declares the resource's function where it is used, so
// this stays outside the anonymous namespace.
static void initSetupResources()
{
    Q_INIT_RESOURCE(setups);
}

const QList<QPixmap> &PngImageList1()
{
    static const QList<QPixmap> icons = [] {
        initSetupResources();
        QList<QPixmap> list;
        for (int i = 0; i < IconCount; ++i) {
            QPixmap pixmap(IconSize, IconSize);
            pixmap.fill(Qt::transparent);
            QSvgRenderer renderer(QStringLiteral(":/setups/%1.svg").arg(i));
            QPainter painter(&pixmap);
            renderer.render(&painter, QRectF(0, 0, IconSize, IconSize));
            list.append(pixmap);
        }
        return list;
    }();
    return icons;
}

QPixmap setupIcon(int imageIndex)
{
    const QList<QPixmap> &icons = PngImageList1();
    return icons.at(imageIndex >= 0 && imageIndex < icons.size() ? imageIndex : 0);
}
