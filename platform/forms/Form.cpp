#include "platform/forms/Form.h"

#include "platform/forms/Colors.h"
#include "platform/forms/Events.h"
#include "platform/forms/Keys.h"
#include "platform/forms/UserControl.h"
#include "platform/vb/Err.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QEventLoop>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QTimer>
#include <QWindowStateChangeEvent>

#include <algorithm>
#include <map>

namespace vb {

namespace {

std::vector<Form*>& Registry() {
    static std::vector<Form*> forms;
    return forms;
}

Form* lastActivated = nullptr;

PopupMenuHandler& PopupHandler() {
    static PopupMenuHandler handler;
    return handler;
}

// Bring a window to the front where the platform can (the offscreen one of the tests cannot).
void BringToFront(QWidget* window) {
    if (QGuiApplication::platformName() != "offscreen") window->raise();
    window->activateWindow();
}

}  // namespace

// ------------------------------------------------------------------------------ Disposal

void DisposeLater(std::shared_ptr<void> object) {
    if (!QCoreApplication::instance()) return;   // released here and now
    QTimer::singleShot(0, QCoreApplication::instance(), [held = std::move(object)]() mutable { held.reset(); });
}

// ---------------------------------------------------------------------------- FormWindow

class FormWindow : public QWidget {
public:
    explicit FormWindow(Form* form) : form_(form) {
        setMouseTracking(true);
        setAttribute(Qt::WA_DeleteOnClose, false);
        setProperty("zk_form", QVariant::fromValue<void*>(form));
    }
    Form* OwnerForm() const { return form_; }
    void Detach() {
        form_ = nullptr;
        setProperty("zk_form", QVariant());
    }

protected:
    bool event(QEvent* e) override {
        if (form_ && e->type() == QEvent::WindowActivate && lastActivated != form_) {
            // Activate belongs to a change of the program's active window, not to the
            // program coming back from another one.
            lastActivated = form_;
            Form* form = form_;
            RunEvent([form] { form->Form_Activate(); });
        }
        return QWidget::event(e);
    }
    void closeEvent(QCloseEvent* e) override {
        // The window manager's close request runs the same unload as the program's own.
        e->ignore();
        if (!form_) return;
        Form* form = form_;
        RunEvent([form] { form->UnloadFor(vbFormControlMenu); });
    }
    void resizeEvent(QResizeEvent* e) override {
        QWidget::resizeEvent(e);
        if (!form_) return;
        Form* form = form_;
        RunEvent([form] { form->Form_Resize(); });
    }
    void changeEvent(QEvent* e) override {
        QWidget::changeEvent(e);
        // Minimising and restoring resize the form, as far as the program is concerned.
        if (form_ && e->type() == QEvent::WindowStateChange) {
            Form* form = form_;
            RunEvent([form] { form->Form_Resize(); });
        }
    }
    void mousePressEvent(QMouseEvent* e) override {
        if (!form_) return;
        Form* form = form_;
        const QPointF p = e->position();
        RunEvent([&] { form->Form_MouseDown(ButtonOf(*e), ShiftOf(*e), float(p.x()), float(p.y())); });
    }
    void mouseReleaseEvent(QMouseEvent* e) override {
        if (!form_) return;
        Form* form = form_;
        const QPointF p = e->position();
        RunEvent([&] { form->Form_MouseUp(ButtonOf(*e), ShiftOf(*e), float(p.x()), float(p.y())); });
        if (form_ && e->button() == Qt::LeftButton && rect().contains(p.toPoint()))
            RunEvent([form] { form->Form_Click(); });
    }
    void mouseMoveEvent(QMouseEvent* e) override {
        if (!form_) return;
        Form* form = form_;
        const QPointF p = e->position();
        RunEvent([&] { form->Form_MouseMove(ButtonsOf(*e), ShiftOf(*e), float(p.x()), float(p.y())); });
    }

private:
    Form* form_;
};

// ----------------------------------------------------------------------------- KeyRouter

// The form sees every key first when its key preview is on; a key code (or character
// code) set to 0 swallows the key, so neither the control nor Qt sees it.
class KeyRouter : public QObject {
public:
    static void Install() {
        static KeyRouter* router = nullptr;
        if (router || !QCoreApplication::instance()) return;
        router = new KeyRouter(QCoreApplication::instance());
        QCoreApplication::instance()->installEventFilter(router);
    }

    explicit KeyRouter(QObject* parent) : QObject(parent) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (replaying_ || (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease)) return false;
        auto* widget = qobject_cast<QWidget*>(watched);
        if (!widget) return false;
        auto* window = dynamic_cast<FormWindow*>(widget->window());
        if (!window || !window->OwnerForm()) return false;
        // Qt hands an unused key on to the parents; only its first delivery counts.
        QWidget* target = QApplication::focusWidget();
        if (!target || target->window() != window) target = window->focusWidget();
        if (!target) target = window;
        if (widget != target) return false;
        Form* form = window->OwnerForm();
        auto* key = static_cast<QKeyEvent*>(event);
        Control* control = widget == window ? nullptr : ControlOf(widget);
        const bool toForm = form->keyPreview_ || !control;
        const int shift = ShiftOf(*key);
        if (event->type() == QEvent::KeyRelease) {
            int code = KeyCodeOf(*key);
            if (code == 0) return false;
            if (toForm) RunEvent([&] { form->Form_KeyUp(code, shift); });
            if (code == 0) return true;
            if (control && control->KeyUp) RunEvent([&] { control->KeyUp(code, shift); });
            return code == 0;
        }
        // A handler may unload the form or the control; stop when it did.
        QPointer<QWidget> alive(widget);
        int code = KeyCodeOf(*key);
        if (code != 0) {
            if (toForm) RunEvent([&] { form->Form_KeyDown(code, shift); });
            if (code == 0 || !alive || !form->IsLoaded()) return true;
            if (control && control->KeyDown) RunEvent([&] { control->KeyDown(code, shift); });
            if (code == 0 || !alive) return true;
        }
        const int typed = KeyAsciiOf(*key);
        int ascii = typed;
        if (ascii != 0) {
            if (toForm) RunEvent([&] { form->Form_KeyPress(ascii); });
            if (ascii == 0 || !alive || !form->IsLoaded()) return true;
            if (control && control->KeyPress) RunEvent([&] { control->KeyPress(ascii); });
            if (ascii == 0 || !alive) return true;
            if (ascii != typed && ascii > 0 && ascii < 256) {
                // A handler typed another character in place of this one.
                QKeyEvent replaced(QEvent::KeyPress, key->key(), key->modifiers(), QString(QChar(ascii)));
                replaying_ = true;
                QCoreApplication::sendEvent(widget, &replaced);
                replaying_ = false;
                return true;
            }
        }
        return false;
    }

private:
    bool replaying_ = false;
};

// ---------------------------------------------------------------------------------- Form

Form::Form(std::string name) : name_(std::move(name)) {}

Form::~Form() {
    if (loaded_) {
        // No events: the program is ending or the object goes away with its form.
        auto& forms = Registry();
        forms.erase(std::remove(forms.begin(), forms.end(), this), forms.end());
        loaded_ = false;
        TearDown(true);
    }
    if (lastActivated == this) lastActivated = nullptr;
}

QWidget* Form::ContainerWidget() const {
    if (!window_) Raise(err::ObjectRequired, "Form " + name_ + " is not loaded");
    return window_;
}

QWidget* Form::Window() const { return window_.data(); }

void Form::Load() {
    if (loaded_) return;
    KeyRouter::Install();
    // The program ends through its own End (the closing credits), never because its last
    // window happened to be hidden.
    if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        app->setQuitOnLastWindowClosed(false);
    window_ = new FormWindow(this);
    window_->setObjectName(QString::fromStdString(name_));
    window_->setWindowTitle(QString::fromStdString(caption_));
    SetBackColor(backColor_);
    if (borderStyle_ == 0) SetBorderStyle(0);
    if (!region_.isEmpty()) SetRegion(region_);
    loaded_ = true;
    Registry().push_back(this);
    // A failing Form_Load leaves the form loaded, as the original did; the caller decides.
    Build();
    Form_Load();
}

void Form::Show(int modal) {
    Load();
    if (!loaded_ || !window_) return;   // Form_Load unloaded it again
    if (modal == vbModal) {
        if (window_->isVisible()) Raise(400, "Form already displayed; can't show modally");
        window_->setWindowModality(Qt::ApplicationModal);
        window_->show();
        BringToFront(window_);
        if (!loaded_ || !window_ || !window_->isVisible()) return;   // gone while being shown
        QEventLoop loop;
        modalLoop_ = &loop;
        loop.exec(QEventLoop::DialogExec);
        modalLoop_ = nullptr;
        return;
    }
    window_->setWindowModality(Qt::NonModal);
    window_->show();
    BringToFront(window_);
}

void Form::Hide() {
    if (!window_) return;
    window_->hide();
    if (modalLoop_) modalLoop_->quit();
}

void Form::Unload() { UnloadFor(vbFormCode); }

bool Form::UnloadFor(int unloadMode) {
    if (!loaded_ || unloading_) return true;
    int cancel = 0;
    Form_QueryUnload(cancel, unloadMode);
    if (cancel != 0) return false;
    unloading_ = true;
    try {
        Form_Unload(cancel);
    } catch (...) {
        unloading_ = false;
        throw;
    }
    unloading_ = false;
    if (cancel != 0) return false;
    auto& forms = Registry();
    forms.erase(std::remove(forms.begin(), forms.end(), this), forms.end());
    loaded_ = false;
    if (lastActivated == this) lastActivated = nullptr;
    if (window_) window_->hide();
    if (modalLoop_) modalLoop_->quit();
    TearDown(false);
    return true;
}

void Form::TearDown(bool now) {
    // The controls and the window go after the event that unloaded the form has ended;
    // when the form object itself goes, they go with it.
    auto owned = std::make_shared<std::vector<std::shared_ptr<void>>>(std::move(owned_));
    owned_.clear();
    QPointer<FormWindow> window = window_;
    window_ = nullptr;
    if (window) window->Detach();
    auto release = [owned, window]() mutable {
        while (!owned->empty()) owned->pop_back();   // the last made goes first
        if (window && QCoreApplication::instance()) delete window.data();
    };
    if (!now && QCoreApplication::instance() && !QCoreApplication::closingDown())
        QTimer::singleShot(0, QCoreApplication::instance(), release);
    else
        release();
}

void Form::SetCaption(const std::string& caption) {
    caption_ = caption;
    if (window_) window_->setWindowTitle(QString::fromStdString(caption));
}

int Form::Left() const { return window_ ? window_->x() : 0; }
int Form::Top() const { return window_ ? window_->y() : 0; }
int Form::Width() const { return window_ ? window_->width() : 0; }
int Form::Height() const { return window_ ? window_->height() : 0; }

void Form::Move(int left, int top, int width, int height) {
    QWidget* w = ContainerWidget();
    w->move(left, top);
    if (width >= 0 || height >= 0) w->resize(width < 0 ? w->width() : width, height < 0 ? w->height() : height);
}

int Form::WindowState() const {
    if (!window_) return vbNormal;
    const Qt::WindowStates state = window_->windowState();
    if (state & Qt::WindowMinimized) return vbMinimized;
    if (state & Qt::WindowMaximized) return vbMaximized;
    return vbNormal;
}

void Form::SetWindowState(int state) {
    QWidget* w = ContainerWidget();
    Qt::WindowStates s = w->windowState();
    if (state == vbMinimized) {
        // Minimising keeps what the window comes back to: a maximised window is restored
        // maximised, as the original platform's windows were. Without the Maximized flag the
        // window manager is told to unmaximise it first.
        s |= Qt::WindowMinimized;
    } else {
        s &= ~(Qt::WindowMinimized | Qt::WindowMaximized);
        if (state == vbMaximized) s |= Qt::WindowMaximized;
    }
    w->setWindowState(s);
}

bool Form::Visible() const { return window_ && window_->isVisible(); }

void Form::SetBorderStyle(int style) {
    borderStyle_ = style;
    if (!window_) return;
    const bool shown = window_->isVisible();
    window_->setWindowFlag(Qt::FramelessWindowHint, style == 0 || !region_.isEmpty());
    if (shown) window_->show();   // changing the flags hides a window
}

void Form::SetRegion(const QRegion& region) {
    region_ = region;
    if (!window_) return;
    const bool shown = window_->isVisible();
    window_->setWindowFlag(Qt::FramelessWindowHint, true);
    window_->setMask(region);
    if (shown) window_->show();
}

void Form::SetBackColor(long color) {
    backColor_ = color;
    if (!window_) return;
    QPalette palette = window_->palette();
    palette.setColor(QPalette::Window, ToQColor(color));
    window_->setPalette(palette);
    window_->setAutoFillBackground(true);
}

void Form::SetMousePointer(int pointer) {
    mousePointer_ = pointer;
    if (!window_) return;
    if (pointer == 11) window_->setCursor(Qt::WaitCursor);
    else if (pointer == 1) window_->setCursor(Qt::ArrowCursor);
    else window_->unsetCursor();
}

void Form::Refresh() {
    if (window_) window_->repaint();
}

void Form::LockUpdates(bool locked) {
    if (window_) window_->setUpdatesEnabled(!locked);
}

QRect Form::ScreenRect() const {
    if (!window_) return {};
    return QRect(window_->mapToGlobal(QPoint(0, 0)), window_->size());
}

Control* Form::ActiveControl() const {
    if (!window_) return nullptr;
    QWidget* focus = window_->focusWidget();
    if (QApplication::focusWidget() && QApplication::focusWidget()->window() == window_)
        focus = QApplication::focusWidget();
    if (!focus || focus == window_) return nullptr;
    Control* found = nullptr;
    for (QWidget* w = focus; w && w != window_; w = w->parentWidget()) {
        Control* c = ControlOf(w);
        if (!c) continue;
        if (!found || c->Kind() == ControlKind::UserControl) found = c;
        w = c->Widget();   // go on above this control
    }
    return found;
}

void Form::PopupMenu(Menu& menu) {
    Menu* chosen = nullptr;
    if (PopupHandler()) {
        chosen = PopupHandler()(menu);
    } else {
        QMenu popup(window_);
        std::map<QAction*, Menu*> actions;
        std::function<void(QMenu&, Menu&)> fill = [&](QMenu& into, Menu& from) {
            for (Menu* item : from.Items()) {
                if (!item->Visible()) continue;
                const QString caption = QString::fromStdString(item->Caption());
                if (caption == "-") {
                    into.addSeparator();
                } else if (!item->Items().empty()) {
                    QMenu* sub = into.addMenu(caption);
                    sub->setEnabled(item->Enabled());
                    fill(*sub, *item);
                } else {
                    QAction* action = into.addAction(caption);
                    action->setEnabled(item->Enabled());
                    action->setCheckable(item->Checked());
                    action->setChecked(item->Checked());
                    actions[action] = item;
                }
            }
        };
        fill(popup, menu);
        if (QAction* picked = popup.exec(QCursor::pos())) {
            auto it = actions.find(picked);
            if (it != actions.end()) chosen = it->second;
        }
    }
    if (chosen && chosen->Enabled() && chosen->Click) RunEvent(chosen->Click);
}

Timer* Form::NewTimer(std::string name, int interval, bool enabled) {
    auto timer = std::make_shared<Timer>(std::move(name), -1, this);
    timer->SetEnabled(enabled);
    timer->SetInterval(interval);
    Timer* result = timer.get();
    Own(std::move(timer));
    return result;
}

ControlArray<Timer>* Form::NewTimerArray(std::string name, int interval, bool enabled) {
    auto array = std::make_shared<ControlArray<Timer>>(name, [this, name, interval, enabled](int index) {
        auto timer = std::make_unique<Timer>(name, index, this);
        timer->SetEnabled(enabled);
        timer->SetInterval(interval);
        return timer;
    });
    ControlArray<Timer>* result = array.get();
    Own(std::move(array));
    return result;
}

Menu* Form::NewMenu(std::string name, Menu* parent) {
    auto menu = std::make_shared<Menu>(*this, std::move(name), parent);
    Menu* result = menu.get();
    Own(std::move(menu));
    return result;
}

ControlArray<Menu>* Form::NewMenuArray(std::string name, Menu* parent) {
    auto array = std::make_shared<ControlArray<Menu>>(name, [this, name, parent](int index) {
        return std::make_unique<Menu>(*this, name, parent, index);
    });
    ControlArray<Menu>* result = array.get();
    Own(std::move(array));
    return result;
}

void Form::SetStoredProperties(const std::string& controlName, const PropertyBag& bag) {
    for (auto& [name, stored] : stored_)
        if (name == controlName) {
            *stored = bag;
            return;
        }
    stored_.emplace_back(controlName, std::make_shared<PropertyBag>(bag));
}

const PropertyBag* Form::StoredProperties(const std::string& controlName) const {
    for (const auto& [name, stored] : stored_)
        if (name == controlName) return stored.get();
    return nullptr;
}

void Form::StartUserControl(UserControl* control, const std::string& name) {
    control->StartUp(StoredProperties(name));
}

std::vector<Form*> Forms() { return Registry(); }

Form* FindLoadedForm(const std::string& name) {
    for (Form* form : Registry())
        if (form->Name() == name) return form;
    return nullptr;
}

// ---------------------------------------------------------------------------------- Menu

Menu::Menu(Form& form, std::string name, Menu* parent, int index)
    : form_(form), name_(std::move(name)), parent_(parent), index_(index) {
    if (!parent_) return;
    auto& siblings = parent_->items_;
    auto after = siblings.end();
    if (index_ > 0)
        for (auto it = siblings.begin(); it != siblings.end(); ++it)
            if ((*it)->name_ == name_) after = it + 1;
    siblings.insert(after, this);
}

Menu::~Menu() {
    for (Menu* item : items_) item->parent_ = nullptr;
    if (parent_) {
        auto& siblings = parent_->items_;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
    }
}

void Menu::CopyLookFrom(const Menu& model) {
    caption_ = model.caption_;
    enabled_ = model.enabled_;
    checked_ = model.checked_;
    tag_ = model.tag_;
}

PopupMenuHandler SetPopupMenuHandler(PopupMenuHandler handler) {
    return std::exchange(PopupHandler(), std::move(handler));
}

}  // namespace vb
