#pragma once

#include <QColor>
#include <QList>
#include <cstdint>

// The colours offered for the LED, in table order, exactly as listed (the
// device shows them quantised to RGB565).
QList<QColor> ledPaletteColors();

// The colour the device really shows: through RGB565 and back.
QColor quantisedColor(const QColor &c);

// Window-system colour 0x00BBGGRR (low byte red), as the records store it.
std::uint32_t toWindowColor(const QColor &c);
QColor fromWindowColor(std::uint32_t color);
