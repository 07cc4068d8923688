#pragma once

#include <QPointer>
#include <QTimer>
#include <QWidget>

class QPropertyAnimation;
class QSvgRenderer;

// The start-up window: product picture, name, version and legal notice on a
// rounded gradient card. It fades in, stays on top on its own (other windows
// showing do not end it), and closes and deletes itself lifetimeMs after it
// appeared. A click ends it early.
class TSplashScreen : public QWidget
{
    Q_OBJECT

public:
    explicit TSplashScreen(int lifetimeMs = 5000, QWidget *parent = nullptr);
    ~TSplashScreen() override;

    void showSplash();

    // True when the window system can change a window's opacity, so fading
    // has a visible effect.
    static bool canFade();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    void fadeOut();

    int m_lifetimeMs;
    QTimer m_lifetime;
    QTimer m_fadeOutStart;
    QPointer<QPropertyAnimation> m_fade;
    QSvgRenderer *m_product;
};
