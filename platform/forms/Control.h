// The controls' common ground: the container they sit in, the properties every control
// has (position, size, visibility, colours, font, tooltip, pointer, z-order, focus) and
// the mouse, focus and key events. Units are pixels relative to the container.
#pragma once

#include "platform/forms/Picture.h"

#include <QFont>
#include <QPoint>
#include <QPointer>
#include <QRect>
#include <QWidget>

#include <functional>
#include <memory>
#include <string>

namespace vb {

class Form;
class Control;
class ControlEventFilter;

enum class ControlKind { Label, Image, PictureBox, TextBox, Shape, Line, UserControl };

// A surface that holds controls: a form, a picture box or a user control.
class Container {
public:
    virtual ~Container() = default;
    virtual QWidget* ContainerWidget() const = 0;
    // Where the container's (0, 0) lies in its widget (inside a border).
    virtual QPoint ClientOrigin() const { return {}; }
    virtual Form* OwnerForm() = 0;
};

// A font by its original name; the face is Debian's that SubstituteOriginalFonts (App.h)
// gives that name. Sizes are points at 96 pixels per inch, so the pixel design keeps its
// proportions.
QFont MakeFont(const std::string& name, double sizePoints, bool bold = false, bool italic = false,
               bool underline = false);
// Whether a face of that name, or of one that stands in for it, is installed.
bool FontAvailable(const std::string& name);

// The control that owns a widget (walking up to the nearest one), or nullptr.
Control* ControlOf(const QWidget* widget);

class Control {
public:
    // windowless: labels, images, shapes and lines, which stay below the windowed
    // controls of their container.
    Control(Container& parent, std::string name, int index, QWidget* widget, bool windowless);
    virtual ~Control();
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    virtual ControlKind Kind() const = 0;
    virtual std::string TypeName() const = 0;   // "Label", "TextBox", "THGrid"...

    const std::string& Name() const { return name_; }
    int Index() const { return index_; }        // -1 outside a control array
    Container& Parent() const { return parent_; }
    QWidget* Widget() const { return widget_; }
    bool Windowless() const { return windowless_; }

    int Left() const;
    int Top() const;
    int Width() const;
    int Height() const;
    void SetLeft(int left);
    void SetTop(int top);
    void SetWidth(int width);
    void SetHeight(int height);
    // A negative width or height keeps the current one.
    virtual void Move(int left, int top, int width = -1, int height = -1);
    // The control's rectangle on the screen (the original's window rectangle).
    QRect ScreenRect() const;

    bool Visible() const;
    virtual void SetVisible(bool visible);
    bool Enabled() const;
    void SetEnabled(bool enabled);
    const std::string& Tag() const { return tag_; }
    void SetTag(std::string tag) { tag_ = std::move(tag); }
    const std::string& ToolTipText() const { return toolTip_; }
    void SetToolTipText(const std::string& text);
    long WhatsThisHelpID() const { return whatsThisHelpId_; }
    void SetWhatsThisHelpID(long id) { whatsThisHelpId_ = id; }

    // 0 default, 1 arrow, 3 I-beam, 11 hourglass, 99 the MouseIcon picture.
    int MousePointer() const { return mousePointer_; }
    void SetMousePointer(int pointer);
    const Picture& MouseIcon() const { return mouseIcon_; }
    void SetMouseIcon(const Picture& icon, int hotX = 0, int hotY = 0);

    // A display-only control is drawn but never meets the mouse: presses, clicks, double
    // clicks, moves, the pointer's shape and the tooltip belong to whatever lies under it,
    // as with a hover picture laid over its button. Loaded array elements take it from
    // their template.
    bool DisplayOnly() const { return displayOnly_; }
    void SetDisplayOnly(bool displayOnly);

    long ForeColor() const { return foreColor_; }
    void SetForeColor(long color);
    long BackColor() const { return backColor_; }
    void SetBackColor(long color);

    const std::string& FontName() const { return fontName_; }
    double FontSize() const { return fontSize_; }
    bool FontBold() const { return fontBold_; }
    bool FontItalic() const { return fontItalic_; }
    bool FontUnderline() const { return fontUnderline_; }
    bool FontStrikethru() const { return fontStrikethru_; }
    void SetFontName(const std::string& name);
    void SetFontSize(double points);
    void SetFontBold(bool bold);
    void SetFontItalic(bool italic);
    void SetFontUnderline(bool underline);
    void SetFontStrikethru(bool strikethru);
    void SetFont(const std::string& name, double points, bool bold = false, bool italic = false,
                 bool underline = false);
    QFont Font() const;

    // 0 to the front, 1 to the back, within the control's own layer (windowless or windowed).
    void ZOrder(int position = 0);
    // Raises 5 when the control cannot take the focus (hidden, disabled or not on a shown form).
    virtual void SetFocus();
    bool HasFocus() const;
    void Refresh();

    // Events. Button: 1 left, 2 right, 4 middle; Shift: 1 Shift, 2 Ctrl, 4 Alt; X and Y
    // in pixels from the control's top left.
    std::function<void()> Click, DblClick, GotFocus, LostFocus;
    std::function<void(int Button, int Shift, float X, float Y)> MouseDown, MouseMove, MouseUp;
    std::function<void(int& KeyCode, int Shift)> KeyDown, KeyUp;
    std::function<void(int& KeyAscii)> KeyPress;

    // What a control array's Load copies from element 0: everything but the index, the
    // visibility and the event handlers.
    virtual void CopyLookFrom(const Control& model);

protected:
    // Colour and font changes reach the widget through these.
    virtual void ApplyColors();
    virtual void ApplyFont();
    QPoint Origin() const { return parent_.ClientOrigin(); }
    // A control whose Qt widget handles the mouse itself (a text box) lets the events go on.
    void SetPassMouseToWidget(bool pass) { passMouse_ = pass; }
    // A part of the widget that receives the mouse in its place (a scroll area's viewport).
    void WatchAlso(QWidget* part);

    // Where the widget's events turn into the control's; a user control raises them to
    // its own handlers instead of the host's.
    virtual void RaiseClick();
    virtual void RaiseDblClick();
    virtual void RaiseMouseDown(int button, int shift, float x, float y);
    virtual void RaiseMouseMove(int button, int shift, float x, float y);
    virtual void RaiseMouseUp(int button, int shift, float x, float y);
    virtual void RaiseGotFocus();
    virtual void RaiseLostFocus();

private:
    friend class ControlEventFilter;
    QPointer<ControlEventFilter> eventFilter_;
    bool passMouse_ = false;
    Container& parent_;
    std::string name_;
    int index_;
    QPointer<QWidget> widget_;
    bool windowless_;
    bool displayOnly_ = false;
    std::string tag_, toolTip_;
    long whatsThisHelpId_ = 0;
    int mousePointer_ = 0;
    Picture mouseIcon_;
    QPoint mouseHot_;
    long foreColor_ = 0x80000012;
    long backColor_ = 0x8000000F;
    std::string fontName_ = "MS Sans Serif";
    double fontSize_ = 8.25;
    bool fontBold_ = false, fontItalic_ = false, fontUnderline_ = false;
    bool fontStrikethru_ = false;
};

}  // namespace vb
