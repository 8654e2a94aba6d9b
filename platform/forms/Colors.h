// Colours as the original's longs: &HBBGGRR, and the system colours &H800000nn.
#pragma once

#include <QColor>

namespace vb {

constexpr long RGB(int red, int green, int blue) {
    return static_cast<long>(red & 0xFF) | (static_cast<long>(green & 0xFF) << 8) |
           (static_cast<long>(blue & 0xFF) << 16);
}

constexpr long vbBlack = 0x000000, vbWhite = 0xFFFFFF, vbRed = 0x0000FF, vbGreen = 0x00FF00,
               vbBlue = 0xFF0000, vbYellow = 0x00FFFF;

// System colours the controls start with.
constexpr long vbButtonFace = 0x8000000F, vbButtonText = 0x80000012, vbWindowBackground = 0x80000005,
               vbWindowText = 0x80000008, vbHighlight = 0x8000000D, vbHighlightText = 0x8000000E;

// A system colour takes the classic desktop's value, the same on every machine, so the
// fixed 800 x 600 design looks as it was drawn.
QColor ToQColor(long color);
long FromQColor(const QColor& color);

}  // namespace vb
