#pragma once

#include "device/modaldialog.h"

#include <QList>
#include <QPixmap>

class QLabel;
class QPushButton;

// The four battery pictures (full, half, low, empty; 64 x 64 each), rendered
// from their drawings the first time one is asked for: the battery window is
// made at start but seldom shown.
class TBatteryPictures
{
public:
    static constexpr qsizetype Count = 4;
    qsizetype size() const { return Count; }
    const QPixmap &at(qsizetype i) const;
    const QPixmap &operator[](qsizetype i) const { return at(i); }

private:
    mutable QList<QPixmap> m_pixmaps;
};

// Shows the device's battery charge: a battery picture and the percentage.
// Centred on the main window the first time it is shown.
class TBatteryform : public ModalDialog
{
    Q_OBJECT
public:
    TBatteryform(Prompt &prompt, QWidget *centreOn, QWidget *parent = nullptr);

    // Paints the picture and the percentage text for a non-zero reading.
    void PaintReading(quint16 reading);
    // The picture as last painted.
    QPixmap picture() const { return m_picture; }

    QLabel *Image = nullptr;
    QLabel *Label1 = nullptr;
    QPushButton *BitBtn1 = nullptr;
    // Full (green), half (yellow), low (red), empty.
    TBatteryPictures PngImageList1;

private:
    QPixmap m_picture;
};
