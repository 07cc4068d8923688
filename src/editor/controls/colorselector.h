#pragma once

#include <QColor>
#include <QComboBox>
#include <QList>

// A drop-down of colour swatches. Its items are data, never translated.
//
// setSelectedColor() from code emits nothing; a colour that is not in the
// list is shown as an extra last entry, which stays offered until another
// colour is selected. colorSelected() follows a user pick. Each entry's tool
// tip and accessible text, and the box's own tool tip for the selected one,
// give the colour as "R F8  G 64  B 00"; so does the box's accessible name.
class TColorSelector : public QComboBox
{
    Q_OBJECT

public:
    explicit TColorSelector(QWidget *parent = nullptr);

    // Replaces the offered colours; the selected colour stays selected (as
    // the extra entry when the new list lacks it). Without a selection the
    // first colour is selected.
    void setColors(const QList<QColor> &colors);
    QList<QColor> colors() const { return m_colors; }

    // Invalid when nothing is selected (an empty list).
    QColor selectedColor() const;
    void setSelectedColor(const QColor &color);

    // "R F8  G 64  B 00"
    static QString colorText(const QColor &color);

Q_SIGNALS:
    void colorSelected(const QColor &color);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void rebuild(const QColor &selected);
    void userPicked(int index);
    void updateHint();

    QList<QColor> m_colors;
    bool m_hasExtra = false;
};
