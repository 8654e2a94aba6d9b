#include "platform/forms/ControlEvents.h"

#include "platform/forms/Control.h"
#include "platform/forms/Events.h"
#include "platform/forms/Keys.h"

#include <QMouseEvent>
#include <QPointer>

namespace vb {

bool ControlEventFilter::Watches(QObject* watched) const {
    if (watched == control_->Widget()) return true;
    for (const QPointer<QWidget>& part : parts_)
        if (part == watched) return true;
    return false;
}

bool ControlEventFilter::eventFilter(QObject* watched, QEvent* event) {
    if (!control_ || !Watches(watched)) return false;
    auto* area = static_cast<QWidget*>(watched);
    // A handler may unload the control; the filter lives on with the widget and checks.
    QPointer<ControlEventFilter> self(this);
    Control* c = control_;
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto* m = static_cast<QMouseEvent*>(event);
        afterDoubleClick_ = false;
        const QPointF p = m->position();
        RunEvent([&] { c->RaiseMouseDown(ButtonOf(*m), ShiftOf(*m), float(p.x()), float(p.y())); });
        return self && control_ && !control_->passMouse_;
    }
    case QEvent::MouseButtonRelease: {
        auto* m = static_cast<QMouseEvent*>(event);
        const QPointF p = m->position();
        const bool pass = c->passMouse_;
        const bool inside = area->rect().contains(p.toPoint());
        RunEvent([&] { c->RaiseMouseUp(ButtonOf(*m), ShiftOf(*m), float(p.x()), float(p.y())); });
        if (!self || !control_) return !pass;
        // After a double click the original raised only MouseUp.
        const bool click = inside && m->button() == Qt::LeftButton && !afterDoubleClick_;
        afterDoubleClick_ = false;
        if (click) RunEvent([&] { c->RaiseClick(); });
        return !pass;
    }
    case QEvent::MouseButtonDblClick: {
        auto* m = static_cast<QMouseEvent*>(event);
        const bool pass = c->passMouse_;
        if (m->button() == Qt::LeftButton) {
            afterDoubleClick_ = true;
            RunEvent([&] { c->RaiseDblClick(); });
        }
        return !pass;
    }
    case QEvent::MouseMove: {
        auto* m = static_cast<QMouseEvent*>(event);
        const QPointF p = m->position();
        const bool pass = c->passMouse_;
        RunEvent([&] { c->RaiseMouseMove(ButtonsOf(*m), ShiftOf(*m), float(p.x()), float(p.y())); });
        return !pass;
    }
    case QEvent::FocusIn:
        RunEvent([&] { c->RaiseGotFocus(); });
        return false;
    case QEvent::FocusOut:
        RunEvent([&] { c->RaiseLostFocus(); });
        return false;
    default:
        return false;
    }
}

}  // namespace vb
