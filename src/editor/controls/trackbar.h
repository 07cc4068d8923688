#pragma once

#include <QString>
#include <QWidget>

class QLabel;
class QSlider;

// A horizontal slider with its value label above its right end.
//
// setPosition() clamps to the range; a value that differs from the current
// one is stored and changed() is emitted, whether the user or code moved it.
// The track bar does not snap to step() itself: a handler connected to
// changed() may call setPosition() again (also re-entrantly) and the last
// value wins.
//
// The label shows labelFormat with "%d" replaced by the position. The inner
// slider is the focus proxy and carries the accessible name (the label as
// shown) and value; while it has the keyboard focus its handle is ringed.
// Keys: arrows and Page Up/Down move by step(), Home/End go to the ends.
class TTrackBar : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(QString labelFormat READ labelFormat WRITE setLabelFormat)
    Q_PROPERTY(int position READ position WRITE setPosition NOTIFY changed)

public:
    explicit TTrackBar(QWidget *parent = nullptr);

    // A range with max < min is taken as min..min. The position is clamped
    // into the new range (emitting changed() when that moves it).
    void setRange(int min, int max);
    int minimum() const { return m_min; }
    int maximum() const { return m_max; }

    // The distance keys and clicks on the groove move by (at least 1).
    void setStep(int step);
    int step() const { return m_step; }

    int position() const { return m_position; }
    void setPosition(int value);

    QString labelFormat() const { return m_labelFormat; }
    void setLabelFormat(const QString &format);
    // The label as currently shown.
    QString labelText() const;

    // On: a click on the groove moves the handle straight to the clicked
    // place. Off (the default): a click pages by step() towards it.
    void setJumpToClick(bool on);
    bool jumpToClick() const { return m_jumpToClick; }

    // The inner slider, for layout and tests; change the track bar through
    // the track bar's own functions.
    QSlider *slider() const { return m_slider; }

Q_SIGNALS:
    void changed();

private:
    void sliderValueChanged(int value);
    void showDragHint();
    void updateLabel();

    QLabel *m_label;
    QSlider *m_slider;
    QString m_labelFormat;
    int m_min = 0;
    int m_max = 100;
    int m_step = 1;
    int m_position = 0;
    bool m_jumpToClick = false;
};
