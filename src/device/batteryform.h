#pragma once

#include "device/modaldialog.h"

#include <QList>
#include <QPixmap>

class QLabel;
class QPushButton;

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
    // Full (green), half (yellow), low (red), empty; 64 x 64 each.
    QList<QPixmap> PngImageList1;

private:
    QPixmap m_picture;
};
