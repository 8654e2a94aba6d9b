#include "platform/forms/Screen.h"

#include <QCursor>
#include <QGuiApplication>

namespace vb {

void ScreenObject::SetMousePointer(int pointer) {
    pointer_ = pointer;
    // Without a GUI application (the tests, a program without windows) there is no cursor.
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return;
    while (QGuiApplication::overrideCursor()) QGuiApplication::restoreOverrideCursor();
    if (pointer == vbHourglass) QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    else if (pointer == vbArrow) QGuiApplication::setOverrideCursor(QCursor(Qt::ArrowCursor));
}

ScreenObject& Screen() {
    static ScreenObject screen;
    return screen;
}

}  // namespace vb
