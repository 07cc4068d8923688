#pragma once

#include <QWidget>

// Round red status lamp: lit while the serial port is open.
class TComLed : public QWidget
{
    Q_OBJECT
public:
    explicit TComLed(QWidget *parent = nullptr);

    bool isLit() const { return m_lit; }
    void setLit(bool lit);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    bool m_lit = false;
};
