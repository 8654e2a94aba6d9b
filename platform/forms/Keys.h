// Key codes, mouse buttons and shift states as the original's KeyDown, KeyPress and mouse events saw them.
#pragma once

class QInputEvent;
class QKeyEvent;
class QMouseEvent;

namespace vb {

constexpr int vbShiftMask = 1, vbCtrlMask = 2, vbAltMask = 4;
constexpr int vbLeftButton = 1, vbRightButton = 2, vbMiddleButton = 4;

constexpr int vbKeyBack = 8, vbKeyTab = 9, vbKeyReturn = 13, vbKeyShift = 16, vbKeyControl = 17,
              vbKeyMenu = 18, vbKeyEscape = 27, vbKeySpace = 32, vbKeyPageUp = 33,
              vbKeyPageDown = 34, vbKeyEnd = 35, vbKeyHome = 36, vbKeyLeft = 37, vbKeyUp = 38,
              vbKeyRight = 39, vbKeyDown = 40, vbKeyInsert = 45, vbKeyDelete = 46,
              vbKeyF1 = 112, vbKeyF2 = 113, vbKeyF3 = 114, vbKeyF4 = 115, vbKeyF5 = 116,
              vbKeyF6 = 117, vbKeyF7 = 118, vbKeyF8 = 119, vbKeyF9 = 120, vbKeyF10 = 121,
              vbKeyF11 = 122, vbKeyF12 = 123;
// Letters and digits are their upper-case character codes: vbKeyP is 80.
constexpr int vbKeyA = 65, vbKeyP = 80, vbKey0 = 48;

// The key code of a Qt key event (0 for keys the original had no code for).
int KeyCodeOf(const QKeyEvent& event);
// The shift state of a key or mouse event: Shift 1, Ctrl 2, Alt 4.
int ShiftOf(const QInputEvent& event);
// The character code KeyPress would see (0 when the key types no character).
int KeyAsciiOf(const QKeyEvent& event);

// The button a mouse press or release is about, as MouseDown and MouseUp saw it
// (Left 1, Right 2, Middle 4; 0 for any other).
int ButtonOf(const QMouseEvent& event);
// The buttons held while the mouse moves, added up the same way, as MouseMove saw them.
int ButtonsOf(const QMouseEvent& event);

}  // namespace vb
