#pragma once

#include <QString>
#include <QWidget>

// A two-state slide switch: a pill-shaped track with a knob, showing a caption
// for each state with the current one emphasised.
//
// setOn() from code changes the look only and emits nothing. A user click,
// Space, Left (off) / Right (on), or dragging the knob changes the state and
// then emits stateChanged(on). Assistive tools see a check box whose name is
// the current state's caption.
class TSlideSwitch : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(QString onCaption READ onCaption WRITE setOnCaption)
    Q_PROPERTY(QString offCaption READ offCaption WRITE setOffCaption)
    Q_PROPERTY(bool on READ isOn WRITE setOn)

public:
    explicit TSlideSwitch(QWidget *parent = nullptr);

    QString onCaption() const { return m_onCaption; }
    void setOnCaption(const QString &caption);
    QString offCaption() const { return m_offCaption; }
    void setOffCaption(const QString &caption);
    // The caption of the current state.
    QString currentCaption() const { return m_on ? m_onCaption : m_offCaption; }

    bool isOn() const { return m_on; }
    void setOn(bool on);
    // Does what a user click does: flips the state and emits stateChanged().
    void click();

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

Q_SIGNALS:
    void stateChanged(bool on);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    struct Geometry;
    Geometry geometry() const;
    void userSet(bool on);
    void captionsChanged();

    QString m_onCaption;
    QString m_offCaption;
    bool m_on = false;
    bool m_pressed = false;
    bool m_dragging = false;
    int m_pressX = 0;
    int m_dragKnobX = 0; // knob's left edge while dragging
};
