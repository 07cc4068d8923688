#pragma once

#include <QList>
#include <QPixmap>

// The catalogue's large icons: sixteen pictures of 64 x 64 pixels, indexed
// by a setup's "Image" (0 the default box with the red button, 1 the bell,
// 2 the hand-held device, 3 the device with a plus, 4 keyboard and mouse,
// 5 to 14 the tiles 1 to 10, 15 the plus). Drawn once, on first use.
const QList<QPixmap> &PngImageList1();

// The icon of an "Image" value; a value outside 0 to 15 shows icon 0.
QPixmap setupIcon(int imageIndex);
