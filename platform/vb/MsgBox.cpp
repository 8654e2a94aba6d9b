#include "platform/vb/MsgBox.h"

#include <iostream>
#include <mutex>

namespace vb {

namespace {

std::mutex& HandlerMutex() {
    static std::mutex m;
    return m;
}

MsgBoxHandler& Handler() {
    static MsgBoxHandler h;
    return h;
}

int FirstButtonAnswer(int buttons) {
    switch (buttons & 7) {
    case vbAbortRetryIgnore: return vbAbort;
    case vbYesNoCancel:
    case vbYesNo: return vbYes;
    case vbRetryCancel: return vbRetry;
    default: return vbOK;
    }
}

}  // namespace

int MsgBox(const std::string& prompt, int buttons, const std::string& title) {
    MsgBoxHandler handler;
    {
        std::lock_guard lock(HandlerMutex());
        handler = Handler();
    }
    if (handler) return handler(prompt, buttons, title);
    std::cerr << (title.empty() ? std::string() : title + ": ") << prompt << std::endl;
    return FirstButtonAnswer(buttons);
}

MsgBoxHandler SetMsgBoxHandler(MsgBoxHandler handler) {
    std::lock_guard lock(HandlerMutex());
    MsgBoxHandler previous = std::move(Handler());
    Handler() = std::move(handler);
    return previous;
}

}  // namespace vb
