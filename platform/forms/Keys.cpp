#include "platform/forms/Keys.h"

#include <QKeyEvent>
#include <QMouseEvent>

namespace vb {

int KeyCodeOf(const QKeyEvent& event) {
    const int key = event.key();
    if (key >= Qt::Key_A && key <= Qt::Key_Z) return key;          // same codes, 65 to 90
    if (key >= Qt::Key_0 && key <= Qt::Key_9) {
        // The number pad has its own codes, 96 to 105.
        if (event.modifiers() & Qt::KeypadModifier) return 96 + (key - Qt::Key_0);
        return key;
    }
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return vbKeyF1 + (key - Qt::Key_F1);
    switch (key) {
    case Qt::Key_Backspace: return vbKeyBack;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return vbKeyTab;    // Shift+Tab arrives as a key of its own
    case Qt::Key_Return:
    case Qt::Key_Enter: return vbKeyReturn;
    case Qt::Key_Shift: return vbKeyShift;
    case Qt::Key_Control: return vbKeyControl;
    case Qt::Key_Alt: return vbKeyMenu;
    case Qt::Key_Pause: return 19;
    case Qt::Key_CapsLock: return 20;
    case Qt::Key_Escape: return vbKeyEscape;
    case Qt::Key_Space: return vbKeySpace;
    case Qt::Key_PageUp: return vbKeyPageUp;
    case Qt::Key_PageDown: return vbKeyPageDown;
    case Qt::Key_End: return vbKeyEnd;
    case Qt::Key_Home: return vbKeyHome;
    case Qt::Key_Left: return vbKeyLeft;
    case Qt::Key_Up: return vbKeyUp;
    case Qt::Key_Right: return vbKeyRight;
    case Qt::Key_Down: return vbKeyDown;
    case Qt::Key_Insert: return vbKeyInsert;
    case Qt::Key_Delete: return vbKeyDelete;
    case Qt::Key_Asterisk: return 106;
    case Qt::Key_Plus: return (event.modifiers() & Qt::KeypadModifier) ? 107 : 187;
    case Qt::Key_Minus: return (event.modifiers() & Qt::KeypadModifier) ? 109 : 189;
    case Qt::Key_Period: return (event.modifiers() & Qt::KeypadModifier) ? 110 : 190;
    case Qt::Key_Slash: return (event.modifiers() & Qt::KeypadModifier) ? 111 : 191;
    case Qt::Key_Comma: return 188;
    case Qt::Key_NumLock: return 144;
    case Qt::Key_ScrollLock: return 145;
    default: return 0;
    }
}

int ShiftOf(const QInputEvent& event) {
    const Qt::KeyboardModifiers m = event.modifiers();
    int shift = 0;
    if (m & Qt::ShiftModifier) shift |= vbShiftMask;
    if (m & Qt::ControlModifier) shift |= vbCtrlMask;
    if (m & Qt::AltModifier) shift |= vbAltMask;
    return shift;
}

int KeyAsciiOf(const QKeyEvent& event) {
    const QString text = event.text();
    if (text.size() != 1) return 0;
    const char16_t c = text.at(0).unicode();
    // The original's KeyPress carried single-byte codes; characters beyond them do not arrive.
    if (c == 127 || c > 255) return 0;
    return static_cast<int>(c);
}

int ButtonOf(const QMouseEvent& event) {
    switch (event.button()) {
    case Qt::LeftButton: return vbLeftButton;
    case Qt::RightButton: return vbRightButton;
    case Qt::MiddleButton: return vbMiddleButton;
    default: return 0;
    }
}

int ButtonsOf(const QMouseEvent& event) {
    const Qt::MouseButtons buttons = event.buttons();
    int result = 0;
    if (buttons & Qt::LeftButton) result |= vbLeftButton;
    if (buttons & Qt::RightButton) result |= vbRightButton;
    if (buttons & Qt::MiddleButton) result |= vbMiddleButton;
    return result;
}

}  // namespace vb
