#include "platform/forms/Colors.h"

namespace vb {

namespace {

QColor SystemColor(int index) {
    switch (index) {
    case 1: return QColor(0, 0, 0);          // desktop
    case 5: return QColor(255, 255, 255);    // window background
    case 8: return QColor(0, 0, 0);          // window text
    case 12: return QColor(171, 171, 171);   // application workspace
    case 13: return QColor(0, 120, 215);     // highlight
    case 14: return QColor(255, 255, 255);   // highlight text
    case 15: return QColor(240, 240, 240);   // button face
    case 16: return QColor(160, 160, 160);   // button shadow
    case 17: return QColor(109, 109, 109);   // grey text
    case 18: return QColor(0, 0, 0);         // button text
    case 20: return QColor(255, 255, 255);   // button highlight
    case 23: return QColor(0, 0, 0);         // tooltip text
    case 24: return QColor(255, 255, 225);   // tooltip background
    default: return QColor(240, 240, 240);
    }
}

}  // namespace

QColor ToQColor(long color) {
    const unsigned long bits = static_cast<unsigned long>(color) & 0xFFFFFFFFul;
    if (bits & 0x80000000ul) return SystemColor(static_cast<int>(bits & 0xFF));
    return QColor(static_cast<int>(bits & 0xFF), static_cast<int>((bits >> 8) & 0xFF),
                  static_cast<int>((bits >> 16) & 0xFF));
}

long FromQColor(const QColor& color) { return RGB(color.red(), color.green(), color.blue()); }

}  // namespace vb
