#include "platform/forms/Control.h"

#include "platform/forms/Colors.h"
#include "platform/forms/ControlEvents.h"
#include "platform/forms/Events.h"
#include "platform/vb/Err.h"

#include <QCoreApplication>
#include <QCursor>
#include <QFontDatabase>
#include <QPalette>

#include <cmath>
#include <unordered_map>

namespace vb {

namespace {

const char* const kControlProperty = "zk_control";

// The control of each widget, also kept apart from the widget's property: placing a control
// looks at every sibling, so the lookup must be cheap (a window builds hundreds of
// controls, some containers hold dozens).
std::unordered_map<const QWidget*, Control*>& ControlsOfWidgets() {
    static std::unordered_map<const QWidget*, Control*> controls;
    return controls;
}

Control* ControlOnWidget(const QWidget* widget) {
    if (!widget) return nullptr;
    const auto& controls = ControlsOfWidgets();
    const auto it = controls.find(widget);
    return it == controls.end() ? nullptr : it->second;
}

// The lowest windowed control among the widget's siblings; windowless ones stay below it.
QWidget* LowestWindowedSibling(const QWidget* widget) {
    const QWidget* parent = widget->parentWidget();
    if (!parent) return nullptr;
    for (QObject* child : parent->children()) {
        auto* sibling = qobject_cast<QWidget*>(child);
        if (!sibling || sibling == widget) continue;
        const Control* control = ControlOnWidget(sibling);
        if (control && !control->Windowless()) return sibling;
    }
    return nullptr;
}

void PlaceInLayer(QWidget* widget, bool windowless, bool front) {
    QWidget* lowestWindowed = LowestWindowedSibling(widget);
    if (windowless == front) {
        // A windowless control to the front, or a windowed one to the back: just under the
        // windowed layer.
        if (lowestWindowed) widget->stackUnder(lowestWindowed);
        else widget->raise();
    } else if (front) {
        widget->raise();
    } else {
        widget->lower();
    }
}

}  // namespace

bool FontAvailable(const std::string& name) {
    const QString family = QString::fromStdString(name);
    if (QFontDatabase::hasFamily(family)) return true;
    for (const QString& substitute : QFont::substitutes(family))
        if (QFontDatabase::hasFamily(substitute)) return true;
    return false;
}

QFont MakeFont(const std::string& name, double sizePoints, bool bold, bool italic, bool underline) {
    QFont font(QString::fromStdString(name));
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(sizePoints * 96.0 / 72.0))));
    font.setBold(bold);
    font.setItalic(italic);
    font.setUnderline(underline);
    return font;
}

Control* ControlOf(const QWidget* widget) {
    for (const QWidget* w = widget; w; w = w->parentWidget()) {
        if (Control* control = ControlOnWidget(w)) return control;
        if (w->isWindow()) break;
    }
    return nullptr;
}

Control::Control(Container& parent, std::string name, int index, QWidget* widget, bool windowless)
    : parent_(parent), name_(std::move(name)), index_(index), widget_(widget), windowless_(windowless) {
    widget->setParent(parent.ContainerWidget());
    widget->setObjectName(QString::fromStdString(index < 0 ? name_ : name_ + "(" + std::to_string(index) + ")"));
    widget->setMouseTracking(true);   // MouseMove also without a button down, as the original
    widget->move(Origin());
    if (windowless) PlaceInLayer(widget, true, true);
    // Shown before the widget knows its control: showing may deliver a resize at once,
    // while the control's own members do not exist yet.
    widget->show();
    widget->setProperty(kControlProperty, QVariant::fromValue<void*>(this));
    ControlsOfWidgets()[widget] = this;
    // A widget that Qt deletes with its parent leaves no entry behind for a later widget at
    // the same address.
    QObject::connect(widget, &QObject::destroyed, [widget] { ControlsOfWidgets().erase(widget); });
    eventFilter_ = new ControlEventFilter(this, widget);
    widget->installEventFilter(eventFilter_);
}

Control::~Control() {
    if (eventFilter_) eventFilter_->Detach();
    if (widget_) {
        widget_->setProperty(kControlProperty, QVariant());
        ControlsOfWidgets().erase(widget_);
        widget_->hide();
        // The control may go while one of its own events is being delivered. Once the
        // application object is gone (the process is ending) widgets are left alone.
        if (QCoreApplication::instance()) widget_->deleteLater();
    }
}

void Control::WatchAlso(QWidget* part) {
    part->setMouseTracking(true);
    if (eventFilter_) {
        eventFilter_->AddPart(part);
        part->installEventFilter(eventFilter_);
    }
}

int Control::Left() const { return widget_->x() - Origin().x(); }
int Control::Top() const { return widget_->y() - Origin().y(); }
int Control::Width() const { return widget_->width(); }
int Control::Height() const { return widget_->height(); }
void Control::SetLeft(int left) { Move(left, Top()); }
void Control::SetTop(int top) { Move(Left(), top); }
void Control::SetWidth(int width) { Move(Left(), Top(), width); }
void Control::SetHeight(int height) { Move(Left(), Top(), -1, height); }

void Control::Move(int left, int top, int width, int height) {
    const int w = width < 0 ? widget_->width() : width;
    const int h = height < 0 ? widget_->height() : height;
    widget_->setGeometry(left + Origin().x(), top + Origin().y(), w, h);
}

QRect Control::ScreenRect() const { return QRect(widget_->mapToGlobal(QPoint(0, 0)), widget_->size()); }

bool Control::Visible() const { return !widget_->isHidden(); }
void Control::SetVisible(bool visible) { widget_->setVisible(visible); }
// The control's own setting, whatever its container's.
bool Control::Enabled() const { return !widget_->testAttribute(Qt::WA_ForceDisabled); }
void Control::SetEnabled(bool enabled) { widget_->setEnabled(enabled); }

void Control::SetToolTipText(const std::string& text) {
    toolTip_ = text;
    widget_->setToolTip(QString::fromStdString(text));
}

void Control::SetMousePointer(int pointer) {
    mousePointer_ = pointer;
    switch (pointer) {
    case 1: widget_->setCursor(Qt::ArrowCursor); break;
    case 2: widget_->setCursor(Qt::CrossCursor); break;
    case 3: widget_->setCursor(Qt::IBeamCursor); break;
    case 11: widget_->setCursor(Qt::WaitCursor); break;
    case 12: widget_->setCursor(Qt::ForbiddenCursor); break;
    case 13: widget_->setCursor(Qt::BusyCursor); break;
    case 14: widget_->setCursor(Qt::WhatsThisCursor); break;
    case 15: widget_->setCursor(Qt::SizeAllCursor); break;
    case 99:
        if (!mouseIcon_.IsNothing()) widget_->setCursor(QCursor(mouseIcon_.Pixmap(), mouseHot_.x(), mouseHot_.y()));
        else widget_->unsetCursor();   // a custom pointer without a picture shows the default
        break;
    default: widget_->unsetCursor(); break;
    }
}

void Control::SetMouseIcon(const Picture& icon, int hotX, int hotY) {
    mouseIcon_ = icon;
    mouseHot_ = QPoint(hotX, hotY);
    if (mousePointer_ == 99) SetMousePointer(99);
}

void Control::SetDisplayOnly(bool displayOnly) {
    displayOnly_ = displayOnly;
    // Qt then finds the widget under the pointer past this one, for the events, the
    // pointer's shape and the tooltip alike.
    widget_->setAttribute(Qt::WA_TransparentForMouseEvents, displayOnly);
}

void Control::SetForeColor(long color) {
    foreColor_ = color;
    ApplyColors();
}

void Control::SetBackColor(long color) {
    backColor_ = color;
    ApplyColors();
}

void Control::ApplyColors() {
    QPalette palette = widget_->palette();
    const QColor fore = ToQColor(foreColor_), back = ToQColor(backColor_);
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        palette.setColor(group, QPalette::WindowText, fore);
        palette.setColor(group, QPalette::Text, fore);
        palette.setColor(group, QPalette::ButtonText, fore);
        palette.setColor(group, QPalette::Window, back);
        palette.setColor(group, QPalette::Base, back);
        palette.setColor(group, QPalette::Button, back);
    }
    palette.setColor(QPalette::Disabled, QPalette::Window, back);
    palette.setColor(QPalette::Disabled, QPalette::Base, back);
    widget_->setPalette(palette);
    widget_->update();
}

QFont Control::Font() const {
    QFont font = MakeFont(fontName_, fontSize_, fontBold_, fontItalic_, fontUnderline_);
    font.setStrikeOut(fontStrikethru_);
    return font;
}

void Control::ApplyFont() {
    widget_->setFont(Font());
    widget_->update();
}

void Control::SetFontName(const std::string& name) { fontName_ = name; ApplyFont(); }
void Control::SetFontSize(double points) { fontSize_ = points; ApplyFont(); }
void Control::SetFontBold(bool bold) { fontBold_ = bold; ApplyFont(); }
void Control::SetFontItalic(bool italic) { fontItalic_ = italic; ApplyFont(); }
void Control::SetFontUnderline(bool underline) { fontUnderline_ = underline; ApplyFont(); }
void Control::SetFontStrikethru(bool strikethru) { fontStrikethru_ = strikethru; ApplyFont(); }

void Control::SetFont(const std::string& name, double points, bool bold, bool italic, bool underline) {
    fontName_ = name;
    fontSize_ = points;
    fontBold_ = bold;
    fontItalic_ = italic;
    fontUnderline_ = underline;
    ApplyFont();
}

void Control::ZOrder(int position) { PlaceInLayer(widget_, windowless_, position == 0); }

void Control::SetFocus() {
    if (!widget_->isVisible() || !widget_->isEnabled() || widget_->focusPolicy() == Qt::NoFocus)
        Raise(err::InvalidProcedureCall,
              "Invalid procedure call or argument: " + name_ + " cannot take the focus");
    widget_->setFocus(Qt::OtherFocusReason);
}

bool Control::HasFocus() const {
    const QWidget* focus = widget_->window()->focusWidget();
    return focus && (focus == widget_ || widget_->isAncestorOf(focus));
}

void Control::Refresh() { widget_->repaint(); }

void Control::CopyLookFrom(const Control& model) {
    Move(model.Left(), model.Top(), model.Width(), model.Height());
    tag_ = model.tag_;
    whatsThisHelpId_ = model.whatsThisHelpId_;
    SetToolTipText(model.toolTip_);
    mouseIcon_ = model.mouseIcon_;
    mouseHot_ = model.mouseHot_;
    SetMousePointer(model.mousePointer_);
    SetDisplayOnly(model.displayOnly_);
    foreColor_ = model.foreColor_;
    backColor_ = model.backColor_;
    ApplyColors();
    fontName_ = model.fontName_;
    fontSize_ = model.fontSize_;
    fontBold_ = model.fontBold_;
    fontItalic_ = model.fontItalic_;
    fontUnderline_ = model.fontUnderline_;
    fontStrikethru_ = model.fontStrikethru_;
    ApplyFont();
    SetEnabled(model.Enabled());
}

void Control::RaiseClick() { if (Click) Click(); }
void Control::RaiseDblClick() { if (DblClick) DblClick(); }
void Control::RaiseMouseDown(int button, int shift, float x, float y) { if (MouseDown) MouseDown(button, shift, x, y); }
void Control::RaiseMouseMove(int button, int shift, float x, float y) { if (MouseMove) MouseMove(button, shift, x, y); }
void Control::RaiseMouseUp(int button, int shift, float x, float y) { if (MouseUp) MouseUp(button, shift, x, y); }
void Control::RaiseGotFocus() { if (GotFocus) GotFocus(); }
void Control::RaiseLostFocus() { if (LostFocus) LostFocus(); }

}  // namespace vb
