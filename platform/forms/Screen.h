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

    // The primary screen's size in twips (pixels x 15); 0 without a GUI application.
    long Width() const;
    long Height() const;
    // Tests give the screen a size in pixels; 0, 0 goes back to the real one.
    void SetSizeForTesting(int widthPixels, int heightPixels);

private:
    int pointer_ = vbDefault;
    int testWidth_ = 0, testHeight_ = 0;
};

ScreenObject& Screen();

}  // namespace vb
