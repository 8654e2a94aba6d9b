// The Screen object: the mouse pointer of the whole program and the screen's metrics.
#pragma once

namespace vb {

constexpr int vbDefault = 0, vbArrow = 1, vbHourglass = 11, vbCustom = 99;

class ScreenObject {
public:
    // An assignment, not a stack: 11 shows the hourglass over every window, 0 restores.
    void SetMousePointer(int pointer);
    int MousePointer() const { return pointer_; }

    static constexpr int TwipsPerPixelX = 15;
    static constexpr int TwipsPerPixelY = 15;

private:
    int pointer_ = vbDefault;
};

ScreenObject& Screen();

}  // namespace vb
