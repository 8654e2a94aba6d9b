// The windows sit at fixed screen positions, which Wayland does not allow a program to
// choose: where an X display is there (XWayland too), the program uses Qt's xcb platform.
#pragma once

#include <string>

namespace vb {

// The Qt platform to ask for, given QT_QPA_PLATFORM, DISPLAY and WAYLAND_DISPLAY (each
// nullptr when unset); "" leaves Qt's own choice. A platform the user named is kept.
std::string ChooseWindowPlatform(const char* qpaPlatform, const char* display, const char* waylandDisplay);

// Applies the choice to this process's environment; call before the QApplication is made.
void PrepareWindowPlatform();

}  // namespace vb
