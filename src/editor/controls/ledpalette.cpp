#include "ledpalette.h"

#include "device/records.h"

#include <array>

namespace {

// Red, green, blue.
constexpr std::array<std::uint32_t, 34> Palette {
    0x993300,
    0x000080,
    0x800000,
    0xFF6600,
    0x808000,
    0x008000,
    0x008080,
    0x0000FF,
    0x666699,
    0x808080,
    0xFF0000,
    0xFF9900,
    0x99CC00,
    0x339966,
    0x33CCCC,
    0x3366FF,
    0x800080,
    0x999999,
    0xFF00FF,
    0xFFCC00,
    0xFFFF00,
    0x00FF00,
    0x00FFFF,
    0x00CCFF,
    0x993366,
    0xC0C0C0,
    0xFF99CC,
    0xFFCC99,
    0xFFFF99,
    0xCCFFCC,
    0xCCFFFF,
    0x99CCFF,
    0xCC99FF,
    0xFFFFFF,
};

} // namespace

QList<QColor> ledPaletteColors()
{
    QList<QColor> colors;
    colors.reserve(qsizetype(Palette.size()));
    for (const std::uint32_t rgb : Palette)
        colors.append(QColor::fromRgb(QRgb(rgb)));
    return colors;
}

QColor quantisedColor(const QColor &c)
{
    return fromWindowColor(RGB565ToColor(ColorToRGB565(toWindowColor(c))));
}

std::uint32_t toWindowColor(const QColor &c)
{
    const QColor rgb = c.toRgb();
    return std::uint32_t(rgb.red()) | (std::uint32_t(rgb.green()) << 8) | (std::uint32_t(rgb.blue()) << 16);
}

QColor fromWindowColor(std::uint32_t color)
{
    return QColor(int(color & 0xFF), int((color >> 8) & 0xFF), int((color >> 16) & 0xFF));
}
