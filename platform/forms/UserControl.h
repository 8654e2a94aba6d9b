// The base of the program's own controls (the list controls): the host sees it as any
// control (position, size, visibility, focus, Tag); inside it holds constituent controls,
// keeps its stored properties in a property bag and raises its own events to the host.
#pragma once

#include "platform/forms/Control.h"
#include "platform/forms/ControlArray.h"
#include "platform/forms/Controls.h"

#include <QVariant>

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace vb {

class Form;

// Stored properties by name. A value equal to its default is not kept, as the original
// left defaults out of the saved form.
class PropertyBag {
public:
    QVariant ReadProperty(const std::string& name, const QVariant& defaultValue = {}) const;
    void WriteProperty(const std::string& name, const QVariant& value, const QVariant& defaultValue = {});
    bool Contains(const std::string& name) const { return values_.count(name) != 0; }

private:
    std::map<std::string, QVariant> values_;
};

class UserControl : public Control, public Container {
public:
    UserControl(Container& parent, std::string name, int index = -1);
    ~UserControl() override;
    ControlKind Kind() const override { return ControlKind::UserControl; }

    QWidget* ContainerWidget() const override { return Widget(); }
    Form* OwnerForm() override { return Parent().OwnerForm(); }
    int ScaleWidth() const { return Width(); }
    int ScaleHeight() const { return Height(); }

    // Runs once the control stands in its host: Initialize, then the stored properties
    // (ReadProperties) or, without any, InitProperties, then Resize.
    void StartUp(const PropertyBag* stored);
    // The control's stored properties as it would save them now.
    PropertyBag SaveProperties();
    // Marks a stored property as changed (the original's PropertyChanged).
    void PropertyChanged(const std::string& name) { changed_.insert(name); }
    bool WasPropertyChanged(const std::string& name) const { return changed_.count(name) != 0; }

    void CopyLookFrom(const Control& model) override;

protected:
    // Constituent controls, owned by the user control.
    template <class T, class... Args>
    T* New(Container& parent, std::string name, Args&&... args) {
        auto control = std::make_shared<T>(parent, std::move(name), -1, std::forward<Args>(args)...);
        T* result = control.get();
        owned_.push_back(std::move(control));
        return result;
    }
    template <class T, class... Args>
    ControlArray<T>* NewArray(Container& parent, std::string name, Args... args) {
        Container* where = &parent;
        auto array = std::make_shared<ControlArray<T>>(name, [where, name, args...](int index) {
            return std::make_unique<T>(*where, name, index, args...);
        });
        ControlArray<T>* result = array.get();
        owned_.push_back(std::move(array));
        return result;
    }
    Timer* NewTimer(std::string name, int interval, bool enabled = true);
    // Focus given to the user control goes on to this constituent.
    void SetFocusProxy(Control& constituent);

    // Raises one of the control's own events to the host's handler, when it has one.
    template <class F, class... A>
    static void RaiseEvent(const F& handler, A&&... args) {
        if (handler) handler(std::forward<A>(args)...);
    }

    virtual void UserControl_Initialize() {}
    virtual void UserControl_InitProperties() {}
    virtual void UserControl_ReadProperties(const PropertyBag& /*bag*/) {}
    virtual void UserControl_WriteProperties(PropertyBag& /*bag*/) {}
    virtual void UserControl_Resize() {}
    virtual void UserControl_EnterFocus() {}
    virtual void UserControl_ExitFocus() {}
    virtual void UserControl_Click() {}
    virtual void UserControl_DblClick() {}
    virtual void UserControl_MouseDown(int /*Button*/, int /*Shift*/, float /*X*/, float /*Y*/) {}
    virtual void UserControl_MouseMove(int /*Button*/, int /*Shift*/, float /*X*/, float /*Y*/) {}
    virtual void UserControl_MouseUp(int /*Button*/, int /*Shift*/, float /*X*/, float /*Y*/) {}

    // The bare surface's events stay inside the control; the host sees what it raises.
    void RaiseClick() override { UserControl_Click(); }
    void RaiseDblClick() override { UserControl_DblClick(); }
    void RaiseMouseDown(int b, int s, float x, float y) override { UserControl_MouseDown(b, s, x, y); }
    void RaiseMouseMove(int b, int s, float x, float y) override { UserControl_MouseMove(b, s, x, y); }
    void RaiseMouseUp(int b, int s, float x, float y) override { UserControl_MouseUp(b, s, x, y); }
    void RaiseGotFocus() override {}
    void RaiseLostFocus() override {}

    void ApplyColors() override;

private:
    friend class UserControlWidget;
    void FocusMoved(QWidget* from, QWidget* to);
    std::vector<std::shared_ptr<void>> owned_;
    std::set<std::string> changed_;
    bool started_ = false;
    bool focusInside_ = false;   // the window's focus is on this control or inside it
};

}  // namespace vb
