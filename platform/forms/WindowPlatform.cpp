#include "platform/forms/WindowPlatform.h"

#include <cstdlib>

namespace vb {

std::string ChooseWindowPlatform(const char* qpaPlatform, const char* display, const char* waylandDisplay) {
    if (qpaPlatform && *qpaPlatform) return {};
    if (display && *display) return "xcb";
    (void)waylandDisplay;   // Wayland alone: Qt's choice; the windows then go where the compositor puts them
    return {};
}

void PrepareWindowPlatform() {
    const std::string platform = ChooseWindowPlatform(std::getenv("QT_QPA_PLATFORM"), std::getenv("DISPLAY"),
                                                      std::getenv("WAYLAND_DISPLAY"));
    if (!platform.empty()) setenv("QT_QPA_PLATFORM", platform.c_str(), 1);
}

}  // namespace vb
