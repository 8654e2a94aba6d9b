#include "platform/forms/Screen.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>

namespace vb {

void ScreenObject::SetMousePointer(int pointer) {
    pointer_ = pointer;
    // Without a GUI application (the tests, a program without windows) there is no cursor.
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return;
    while (QGuiApplication::overrideCursor()) QGuiApplication::restoreOverrideCursor();
    if (pointer == vbHourglass) QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    else if (pointer == vbArrow) QGuiApplication::setOverrideCursor(QCursor(Qt::ArrowCursor));
}

long ScreenObject::Width() const {
    if (testWidth_ > 0) return static_cast<long>(testWidth_) * TwipsPerPixelX;
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return 0;
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? static_cast<long>(screen->geometry().width()) * TwipsPerPixelX : 0;
}

long ScreenObject::Height() const {
    if (testHeight_ > 0) return static_cast<long>(testHeight_) * TwipsPerPixelY;
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return 0;
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? static_cast<long>(screen->geometry().height()) * TwipsPerPixelY : 0;
}

void ScreenObject::SetSizeForTesting(int widthPixels, int heightPixels) {
    testWidth_ = widthPixels;
    testHeight_ = heightPixels;
}

ScreenObject& Screen() {
    static ScreenObject screen;
    return screen;
}

}  // namespace vb
