// Forms: top-level windows built in code. Build() makes the controls each time the form
// loads; they live until it unloads. The Form_ methods are the original's form events.
//
//   class frmCreditos : public vb::Form {
//   public:
//       frmCreditos() : Form("frmCreditos") {}
//   private:
//       vb::Image* imgCreditos = nullptr;
//       vb::Timer* Timer1 = nullptr;
//       void Build() override {
//           imgCreditos = New<vb::Image>(*this, "imgCreditos");
//           Timer1 = NewTimer("Timer1", 500);
//           Timer1->TimerEvent = [this] { Timer1_Timer(); };
//       }
//       void Form_Load() override { ... }
//       void Timer1_Timer() { ... }
//   };
//
// Events that come from Qt run through RunEvent (Events.h): what escapes them goes to the
// error box. Calls from code (Load, Show, Unload) let errors reach their caller.
#pragma once

#include "platform/forms/Control.h"
#include "platform/forms/ControlArray.h"
#include "platform/forms/Controls.h"
#include "platform/forms/Menu.h"

#include <QPointer>
#include <QRegion>

#include <memory>
#include <string>
#include <type_traits>
#include <vector>

class QEventLoop;

namespace vb {

class FormWindow;
class KeyRouter;
class UserControl;
class PropertyBag;

constexpr int vbModeless = 0, vbModal = 1;
constexpr int vbNormal = 0, vbMinimized = 1, vbMaximized = 2;
// Why a form unloads (QueryUnload's UnloadMode).
constexpr int vbFormControlMenu = 0, vbFormCode = 1, vbAppWindows = 2, vbAppTaskManager = 3;

class Form : public Container {
public:
    explicit Form(std::string name);
    ~Form() override;
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    const std::string& Name() const { return name_; }

    // Creates the window and its controls and runs Form_Load; an error in Form_Load
    // reaches the caller, as it reached the code that loaded the form.
    void Load();
    bool IsLoaded() const { return loaded_; }
    // Loads when needed. Modal: runs a modal loop and returns after the form was hidden or
    // unloaded; a form already shown cannot be shown modally (error 400).
    void Show(int modal = vbModeless);
    void Hide();
    // From code: Form_QueryUnload and Form_Unload run, and when neither cancels the window
    // and its controls go. Unloading a form that is not loaded does nothing.
    void Unload();

    // Container.
    QWidget* ContainerWidget() const override;
    Form* OwnerForm() override { return this; }
    QWidget* Window() const;   // nullptr when not loaded

    std::string Caption() const { return caption_; }
    void SetCaption(const std::string& caption);
    // Position of the window on the screen; size of its inner area, all in pixels.
    int Left() const;
    int Top() const;
    int Width() const;
    int Height() const;
    void Move(int left, int top, int width = -1, int height = -1);
    int ScaleWidth() const { return Width(); }
    int ScaleHeight() const { return Height(); }
    int WindowState() const;           // 0 normal, 1 minimised, 2 maximised
    void SetWindowState(int state);
    bool Visible() const;
    // With key preview the form's key events run before the focused control's. A key code
    // or character set to 0 swallows the key; another character is typed in its place.
    // Without a focused control the form gets its keys anyway.
    bool KeyPreview() const { return keyPreview_; }
    void SetKeyPreview(bool preview) { keyPreview_ = preview; }
    int BorderStyle() const { return borderStyle_; }   // 0 none, else a normal frame
    void SetBorderStyle(int style);
    // The window region: the window becomes frameless and shows only the region.
    void SetRegion(const QRegion& region);
    long BackColor() const { return backColor_; }
    void SetBackColor(long color);
    int MousePointer() const { return mousePointer_; }
    void SetMousePointer(int pointer);
    void Refresh();
    // Freezes the window's drawing while controls move, and lets it draw again (the
    // original's LockWindowUpdate).
    void LockUpdates(bool locked);
    // The window's rectangle on the screen, frame excluded.
    QRect ScreenRect() const;
    // The control with the focus (the outermost user control when the focus is inside
    // one), or nullptr.
    Control* ActiveControl() const;
    // Shows the menu at the mouse and runs the chosen item's Click before returning.
    void PopupMenu(Menu& menu);

    // Building, from Build(): the form owns what it makes until it unloads.
    template <class T, class... Args>
    T* New(Container& parent, std::string name, Args&&... args);
    template <class T, class... Args>
    ControlArray<T>* NewArray(Container& parent, std::string name, Args... args);
    Timer* NewTimer(std::string name, int interval, bool enabled = true);
    ControlArray<Timer>* NewTimerArray(std::string name, int interval, bool enabled = true);
    Menu* NewMenu(std::string name, Menu* parent = nullptr);
    ControlArray<Menu>* NewMenuArray(std::string name, Menu* parent);
    // The stored properties of a user control made afterwards with that name.
    void SetStoredProperties(const std::string& controlName, const PropertyBag& bag);

protected:
    virtual void Build() {}
    virtual void Form_Load() {}
    virtual void Form_Activate() {}
    virtual void Form_KeyDown(int& /*KeyCode*/, int /*Shift*/) {}
    virtual void Form_KeyPress(int& /*KeyAscii*/) {}
    virtual void Form_KeyUp(int& /*KeyCode*/, int /*Shift*/) {}
    virtual void Form_MouseDown(int /*Button*/, int /*Shift*/, float /*X*/, float /*Y*/) {}
    virtual void Form_MouseMove(int /*Button*/, int /*Shift*/, float /*X*/, float /*Y*/) {}
    virtual void Form_MouseUp(int /*Button*/, int /*Shift*/, float /*X*/, float /*Y*/) {}
    virtual void Form_Click() {}
    virtual void Form_Resize() {}
    virtual void Form_QueryUnload(int& /*Cancel*/, int /*UnloadMode*/) {}
    virtual void Form_Unload(int& /*Cancel*/) {}

private:
    friend class FormWindow;
    friend class KeyRouter;
    bool UnloadFor(int unloadMode);
    void TearDown(bool now);
    void Own(std::shared_ptr<void> object) { owned_.push_back(std::move(object)); }
    const PropertyBag* StoredProperties(const std::string& controlName) const;
    void StartUserControl(UserControl* control, const std::string& name);

    std::string name_;
    QPointer<FormWindow> window_;
    bool loaded_ = false, unloading_ = false;
    std::vector<std::shared_ptr<void>> owned_;   // in creation order, released in reverse
    std::vector<std::pair<std::string, std::shared_ptr<PropertyBag>>> stored_;
    std::string caption_;
    bool keyPreview_ = false;
    int borderStyle_ = 2;
    QRegion region_;
    long backColor_ = 0x8000000F;
    int mousePointer_ = 0;
    QEventLoop* modalLoop_ = nullptr;
};

// The loaded forms of the program, in load order (the original's Forms collection).
std::vector<Form*> Forms();
// The first loaded form with exactly that name, or nullptr.
Form* FindLoadedForm(const std::string& name);

template <class T, class... Args>
T* Form::New(Container& parent, std::string name, Args&&... args) {
    auto control = std::make_shared<T>(parent, name, -1, std::forward<Args>(args)...);
    T* result = control.get();
    Own(std::move(control));
    if constexpr (std::is_base_of_v<UserControl, T>) StartUserControl(result, name);
    return result;
}

template <class T, class... Args>
ControlArray<T>* Form::NewArray(Container& parent, std::string name, Args... args) {
    Container* where = &parent;
    auto array = std::make_shared<ControlArray<T>>(name, [this, where, name, args...](int index) {
        auto control = std::make_unique<T>(*where, name, index, args...);
        if constexpr (std::is_base_of_v<UserControl, T>) {
            StartUserControl(control.get(), name);
        } else {
            (void)this;   // only user controls need the form
        }
        return control;
    });
    ControlArray<T>* result = array.get();
    Own(std::move(array));
    return result;
}

}  // namespace vb
