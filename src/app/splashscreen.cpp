#include "app/splashscreen.h"

#include "services/messagedlg.h"
#include "services/translation.h"

#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPropertyAnimation>
#include <QScreen>
#include <QSvgRenderer>
#include <algorithm>

namespace {

constexpr int SplashWidth = 400;
constexpr int SplashHeight = 300;
constexpr qreal CornerRadius = 5;
constexpr int LongestFadeMs = 400;

const QRectF ProductPictureArea(100, 85, 200, 150);

QFont splashFont(int pixelSize, bool bold = false)
{
    QFont font(QStringLiteral("Tahoma"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

// Draws text with its bounding box's top-left corner at the given point.
void drawTextAt(QPainter &painter, int x, int y, const QString &text)
{
    painter.drawText(QRect(x, y, SplashWidth - x, SplashHeight - y), Qt::AlignLeft | Qt::AlignTop, text);
}

} // namespace

TSplashScreen::TSplashScreen(int lifetimeMs, QWidget *parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
    , m_lifetimeMs(std::max(0, lifetimeMs))
    , m_product(new QSvgRenderer(QStringLiteral(":/images/product.svg"), this))
{
    setObjectName(QStringLiteral("SplashScreen"));
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_DeleteOnClose);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFixedSize(SplashWidth, SplashHeight);

    m_lifetime.setSingleShot(true);
    // A coarse timer may fire a little early; the splash keeps its full time.
    m_lifetime.setTimerType(Qt::PreciseTimer);
    connect(&m_lifetime, &QTimer::timeout, this, &QWidget::close);

    m_fadeOutStart.setSingleShot(true);
    connect(&m_fadeOutStart, &QTimer::timeout, this, &TSplashScreen::fadeOut);
}

TSplashScreen::~TSplashScreen() = default;

bool TSplashScreen::canFade()
{
    // Window opacity reaches the screen only where the window system
    // composites top-level windows itself.
    const QString platform = QGuiApplication::platformName();
    return platform == QLatin1String("windows") || platform == QLatin1String("xcb")
        || platform == QLatin1String("cocoa");
}

void TSplashScreen::showSplash()
{
    if (QScreen *screen = QGuiApplication::primaryScreen())
        move(centredTopLeft(screen->geometry(), size()));

    const int fadeMs = std::min(LongestFadeMs, m_lifetimeMs / 4);
    const bool fading = canFade() && fadeMs > 0;
    if (m_fade)
        m_fade->stop();
    setWindowOpacity(fading ? 0.0 : 1.0);
    show();
    raise();

    if (fading) {
        m_fade = new QPropertyAnimation(this, "windowOpacity", this);
        m_fade->setDuration(fadeMs);
        m_fade->setStartValue(0.0);
        m_fade->setEndValue(1.0);
        m_fade->start(QAbstractAnimation::DeleteWhenStopped);
        m_fadeOutStart.start(m_lifetimeMs - fadeMs);
    }
    m_lifetime.start(m_lifetimeMs);
}

void TSplashScreen::fadeOut()
{
    if (m_fade)
        m_fade->stop();
    const int fadeMs = static_cast<int>(std::max<qint64>(0, m_lifetime.remainingTime()));
    m_fade = new QPropertyAnimation(this, "windowOpacity", this);
    m_fade->setDuration(fadeMs);
    m_fade->setStartValue(windowOpacity());
    m_fade->setEndValue(0.0);
    m_fade->start(QAbstractAnimation::DeleteWhenStopped);
}

void TSplashScreen::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);

    QPainterPath body;
    body.addRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), CornerRadius, CornerRadius);
    QLinearGradient gradient(0, 0, 0, height());
    gradient.setColorAt(0.0, QColor(0xcf, 0xe3, 0xf7));
    gradient.setColorAt(1.0, Qt::white);
    painter.fillPath(body, gradient);
    painter.setPen(QPen(QColor(0xa7, 0xc4, 0xe0), 1));
    painter.drawPath(body);

    if (m_product->isValid()) {
        // Keep the drawing's proportions inside its area.
        QSizeF picture = m_product->defaultSize();
        picture.scale(ProductPictureArea.size(), Qt::KeepAspectRatio);
        QRectF target(QPointF(), picture);
        target.moveCenter(ProductPictureArea.center());
        m_product->render(&painter, target);
    }

    painter.setPen(QColor(0xd0, 0x10, 0x10));
    painter.setFont(splashFont(20, true));
    drawTextAt(painter, 50, 30, QString::fromUtf8("Velotrix\u00ae Configurator"));

    painter.setPen(Qt::black);
    painter.setFont(splashFont(19));
    drawTextAt(painter, 50, 55, QString::fromUtf8(VELOTRIX_VERSION));

    painter.setFont(splashFont(11));
    drawTextAt(painter, 100, 250, tx("\u00a9 Orvane. All rights reserved."));
}

void TSplashScreen::mousePressEvent(QMouseEvent *)
{
    close();
}
