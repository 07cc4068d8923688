#pragma once

#include <QColor>

// The editor controls' shared look, in step with the main window's ribbon.
namespace ControlStyle {

inline const QColor Accent { 0x2f, 0x6d, 0xb5 }; // pressed / on
inline const QColor AccentBorder { 0x24, 0x56, 0x8f };
inline const QColor Released { 0xee, 0xf1, 0xf5 }; // released / off
inline const QColor ReleasedHover { 0xe3, 0xea, 0xf5 };
inline const QColor Border { 0xb9, 0xc4, 0xd4 };
inline const QColor Text { 0x1b, 0x1b, 0x1b };
inline const QColor DisabledText { 0x9a, 0xa2, 0xad };
inline const QColor Focus { 0x1f, 0x3a, 0x60 };

// Disabled controls are drawn in their colours, faded towards white.
QColor faded(const QColor &c);

} // namespace ControlStyle

// Registers the accessibility interfaces of the editor controls with Qt;
// every control's constructor calls it, only the first call does anything.
void installControlAccessibility();
