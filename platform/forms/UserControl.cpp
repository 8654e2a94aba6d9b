#include "platform/forms/UserControl.h"

#include "platform/forms/Events.h"

#include <QApplication>
#include <QResizeEvent>

namespace vb {

QVariant PropertyBag::ReadProperty(const std::string& name, const QVariant& defaultValue) const {
    auto it = values_.find(name);
    return it == values_.end() ? defaultValue : it->second;
}

void PropertyBag::WriteProperty(const std::string& name, const QVariant& value, const QVariant& defaultValue) {
    if (defaultValue.isValid() && value == defaultValue) values_.erase(name);
    else values_[name] = value;
}

class UserControlWidget : public QWidget {
public:
    explicit UserControlWidget(UserControl* owner) : owner_(owner) {}

protected:
    void resizeEvent(QResizeEvent* e) override {
        QWidget::resizeEvent(e);
        if (property("zk_control").value<void*>() != owner_ || !owner_->started_) return;
        UserControl* owner = owner_;
        RunEvent([owner] { owner->UserControl_Resize(); });
    }

private:
    UserControl* owner_;
};

UserControl::UserControl(Container& parent, std::string name, int index)
    : Control(parent, std::move(name), index, new UserControlWidget(this), false) {
    Widget()->setFocusPolicy(Qt::StrongFocus);
    ApplyColors();
    ApplyFont();
    if (auto* app = qobject_cast<QApplication*>(QCoreApplication::instance())) {
        QWidget* widget = Widget();
        void* self = this;
        QObject::connect(app, &QApplication::focusChanged, widget, [widget, self](QWidget* from, QWidget* to) {
            // The widget outlives the control until its deferred deletion.
            if (widget->property("zk_control").value<void*>() != self) return;
            static_cast<UserControl*>(self)->FocusMoved(from, to);
        });
    }
}

UserControl::~UserControl() {
    // Constituents go before the user control's own widget.
    while (!owned_.empty()) owned_.pop_back();
}

void UserControl::StartUp(const PropertyBag* stored) {
    UserControl_Initialize();
    if (stored) UserControl_ReadProperties(*stored);
    else UserControl_InitProperties();
    started_ = true;
    UserControl_Resize();
}

PropertyBag UserControl::SaveProperties() {
    PropertyBag bag;
    UserControl_WriteProperties(bag);
    return bag;
}

void UserControl::CopyLookFrom(const Control& model) {
    Control::CopyLookFrom(model);
    if (auto* m = dynamic_cast<UserControl*>(const_cast<Control*>(&model))) {
        // A loaded element takes the template's stored properties.
        const PropertyBag bag = m->SaveProperties();
        UserControl_ReadProperties(bag);
    }
}

Timer* UserControl::NewTimer(std::string name, int interval, bool enabled) {
    auto timer = std::make_shared<Timer>(std::move(name), -1, OwnerForm());
    timer->SetEnabled(enabled);
    timer->SetInterval(interval);
    Timer* result = timer.get();
    owned_.push_back(std::move(timer));
    return result;
}

void UserControl::SetFocusProxy(Control& constituent) { Widget()->setFocusProxy(constituent.Widget()); }

void UserControl::FocusMoved(QWidget* /*from*/, QWidget* to) {
    QWidget* self = Widget();
    // The focus that leaves the window (another program's window, a message box, a pop-up
    // menu, another form) stays this window's active control: the control keeps it, as the
    // original's controls kept it, and gets it back without entering again. Only the focus
    // going to another control of the same window is an exit.
    if (!to || to->window() != self->window()) return;
    const bool isInside = to == self || self->isAncestorOf(to);
    if (isInside == focusInside_) return;
    focusInside_ = isInside;
    if (isInside) {
        RunEvent([this] { UserControl_EnterFocus(); });
        RunEvent([this] { if (GotFocus) GotFocus(); });
    } else {
        RunEvent([this] { UserControl_ExitFocus(); });
        RunEvent([this] { if (LostFocus) LostFocus(); });
    }
}

void UserControl::ApplyColors() {
    Control::ApplyColors();
    Widget()->setAutoFillBackground(true);
}

}  // namespace vb
