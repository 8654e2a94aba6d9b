// The control kinds the catalogue uses: Label, Image, PictureBox, TextBox, Shape, Line
// and Timer, with the original's property names.
#pragma once

#include "platform/forms/Control.h"

#include <QImage>
#include <QTimer>

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

class QLabel;
class QLineEdit;
class QPlainTextEdit;

namespace vb {

constexpr int vbLeftJustify = 0, vbRightJustify = 1, vbCenter = 2;

// A line of a label's caption as the label draws it: its text and its top left, in pixels of
// the label.
struct LabelLine {
    std::string text;
    int left = 0, top = 0;
    bool operator==(const LabelLine&) const = default;
};

// A label draws as the original's did. With AutoSize off the caption breaks at word
// boundaries within the width (a word wider than the width at the width, a line break of
// the caption always), each line aligned on its own; lines are drawn from the top, and a
// line below the first shows only when its letters stand above the bottom. With AutoSize on
// the label grows sideways to its longest line, or downwards within its width when WordWrap
// is on.
class Label : public Control {
public:
    Label(Container& parent, std::string name, int index = -1);
    ControlKind Kind() const override { return ControlKind::Label; }
    std::string TypeName() const override { return "Label"; }

    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption);
    int Alignment() const { return alignment_; }   // 0 left, 1 right, 2 centre
    void SetAlignment(int alignment);
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool autoSize);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool wordWrap);
    int BackStyle() const { return backStyle_; }   // 0 transparent, 1 opaque
    void SetBackStyle(int backStyle);

    // The lines that show, top to bottom: the first, and each later one whose letters stand
    // above the label's bottom.
    std::vector<LabelLine> ShownLines() const;

    void CopyLookFrom(const Control& model) override;

protected:
    void ApplyColors() override;
    void ApplyFont() override;

private:
    friend class LabelWidget;
    using Lines = std::vector<std::pair<QString, QPoint>>;
    // Every line of the caption with its top left, also those below the bottom. Kept until
    // the caption, the font, the alignment, the sizing or the width changes: a list's
    // labels are painted at every move of the pointer.
    const Lines& Layout() const;
    static bool LineShows(std::size_t index, int top, int ascent, int height);
    void Relayout();
    void Fit();
    mutable Lines lines_;
    mutable int linesWidth_ = -1;
    QLabel* label_;
    std::string caption_;
    int alignment_ = vbLeftJustify;
    bool autoSize_ = false, wordWrap_ = false;
    int backStyle_ = 1;
};

class Image : public Control {
public:
    Image(Container& parent, std::string name, int index = -1);
    ControlKind Kind() const override { return ControlKind::Image; }
    std::string TypeName() const override { return "Image"; }

    const Picture& GetPicture() const { return picture_; }
    // Without Stretch the control takes the picture's size, as the original.
    void SetPicture(const Picture& picture);
    bool Stretch() const { return stretch_; }
    void SetStretch(bool stretch);

    void CopyLookFrom(const Control& model) override;

private:
    friend class ImageWidget;
    Picture picture_;
    bool stretch_ = false;
};

// A picture box: a container with a background picture and a drawing surface. What is
// drawn is always kept (Qt draws only when asked to paint), so AutoRedraw only records
// the setting; Point reads what was drawn.
class PictureBox : public Control, public Container {
public:
    PictureBox(Container& parent, std::string name, int index = -1);
    ~PictureBox() override;
    ControlKind Kind() const override { return ControlKind::PictureBox; }
    std::string TypeName() const override { return "PictureBox"; }

    QWidget* ContainerWidget() const override { return Widget(); }
    QPoint ClientOrigin() const override;
    Form* OwnerForm() override { return Parent().OwnerForm(); }

    const Picture& GetPicture() const { return picture_; }
    // The drawing starts again from the back colour and the picture at the top left.
    void SetPicture(const Picture& picture);
    // The surface with what was drawn on it (the original's Image property).
    Picture GetImage() const;
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool autoSize);
    bool AutoRedraw() const { return autoRedraw_; }
    void SetAutoRedraw(bool autoRedraw) { autoRedraw_ = autoRedraw; }
    int BorderStyle() const { return borderStyle_; }   // 0 none, 1 fixed single
    void SetBorderStyle(int borderStyle);
    int ScaleWidth() const;    // the inner size, without the border
    int ScaleHeight() const;

    // Drawing, in pixels of the inner area. A negative size means the picture's own.
    void PaintPicture(const Picture& picture, int x, int y, int width = -1, int height = -1,
                      int srcX = 0, int srcY = 0, int srcWidth = -1, int srcHeight = -1);
    void Cls();
    double CurrentX() const { return currentX_; }
    double CurrentY() const { return currentY_; }
    void SetCurrentX(double x) { currentX_ = x; }
    void SetCurrentY(double y) { currentY_ = y; }
    // Prints at the current position in the fore colour and the box's font; a new line
    // goes back to x 0 one text line lower, otherwise the position moves past the text.
    void Print(const std::string& text, bool newLine = true);
    long TextWidth(const std::string& text) const;
    long TextHeight(const std::string& text) const;
    // Line (x1, y1)-(x2, y2), colour, BF: both corners included.
    void FillRectangle(int x1, int y1, int x2, int y2, long color);
    // Line (x1, y1)-(x2, y2), colour: the last point is not drawn.
    void DrawLine(int x1, int y1, int x2, int y2, long color);
    void PSet(int x, int y, long color);
    // The colour at (x, y), or -1 outside the inner area.
    long Point(int x, int y) const;

    void CopyLookFrom(const Control& model) override;

protected:
    void ApplyColors() override;

private:
    friend class PictureBoxWidget;
    void ResetSurface();
    void EnsureSurface();
    Picture picture_;
    QImage surface_;
    bool autoSize_ = false, autoRedraw_ = false;
    int borderStyle_ = 1;
    double currentX_ = 0, currentY_ = 0;
};

class TextBox : public Control {
public:
    TextBox(Container& parent, std::string name, int index = -1, bool multiLine = false);
    ControlKind Kind() const override { return ControlKind::TextBox; }
    std::string TypeName() const override { return "TextBox"; }

    std::string Text() const;
    // Raises Change when the text differs, as typing does; an error in that Change
    // handler reaches this caller.
    void SetText(const std::string& text);
    bool MultiLine() const { return plain_ != nullptr; }
    const std::string& PasswordChar() const { return passwordChar_; }
    void SetPasswordChar(const std::string& character);   // "" shows the text
    long MaxLength() const { return maxLength_; }
    void SetMaxLength(long length);                      // 0 no limit
    bool Locked() const { return locked_; }
    void SetLocked(bool locked);
    int Alignment() const { return alignment_; }
    void SetAlignment(int alignment);
    long SelStart() const;
    void SetSelStart(long start);
    long SelLength() const;
    void SetSelLength(long length);
    std::string SelText() const;

    std::function<void()> Change;

    void CopyLookFrom(const Control& model) override;

protected:
    void ApplyColors() override;

private:
    void TextChanged();
    QLineEdit* line_ = nullptr;
    QPlainTextEdit* plain_ = nullptr;
    std::string lastText_, passwordChar_;
    long maxLength_ = 0;
    bool locked_ = false;
    int alignment_ = vbLeftJustify;
    bool settingText_ = false;
    std::exception_ptr changeError_;
};

constexpr int vbShapeRectangle = 0, vbShapeSquare = 1, vbShapeOval = 2, vbShapeCircle = 3,
              vbShapeRoundedRectangle = 4, vbShapeRoundedSquare = 5;
constexpr int vbFSSolid = 0, vbFSTransparent = 1;
constexpr int vbTransparent = 0, vbBSSolid = 1, vbBSDash = 2, vbBSDot = 3;

// Shapes and lines draw only; the mouse goes through them.
class Shape : public Control {
public:
    Shape(Container& parent, std::string name, int index = -1);
    ControlKind Kind() const override { return ControlKind::Shape; }
    std::string TypeName() const override { return "Shape"; }

    int ShapeKind() const { return shape_; }
    void SetShape(int shape);
    long BorderColor() const { return borderColor_; }
    void SetBorderColor(long color);
    int BorderWidth() const { return borderWidth_; }
    void SetBorderWidth(int width);
    int BorderStyle() const { return borderStyle_; }     // 0 transparent, 1 solid, 2 dash, 3 dot
    void SetBorderStyle(int style);
    long FillColor() const { return fillColor_; }
    void SetFillColor(long color);
    int FillStyle() const { return fillStyle_; }          // 0 solid, 1 transparent
    void SetFillStyle(int style);
    int BackStyle() const { return backStyle_; }          // 0 transparent, 1 opaque
    void SetBackStyle(int style);

    void CopyLookFrom(const Control& model) override;

private:
    friend class ShapeWidget;
    int shape_ = vbShapeRectangle;
    long borderColor_ = 0x80000008, fillColor_ = 0;
    int borderWidth_ = 1, borderStyle_ = vbBSSolid, fillStyle_ = vbFSTransparent, backStyle_ = 0;
};

class Line : public Control {
public:
    Line(Container& parent, std::string name, int index = -1);
    ControlKind Kind() const override { return ControlKind::Line; }
    std::string TypeName() const override { return "Line"; }

    int X1() const { return x1_; }
    int Y1() const { return y1_; }
    int X2() const { return x2_; }
    int Y2() const { return y2_; }
    void SetEnds(int x1, int y1, int x2, int y2);
    long BorderColor() const { return borderColor_; }
    void SetBorderColor(long color);
    int BorderWidth() const { return borderWidth_; }
    void SetBorderWidth(int width);
    int BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(int style);

    void CopyLookFrom(const Control& model) override;

private:
    friend class LineWidget;
    void Place();
    int x1_ = 0, y1_ = 0, x2_ = 0, y2_ = 0;
    long borderColor_ = 0x80000008;
    int borderWidth_ = 1, borderStyle_ = vbBSSolid;
};

// A timer: Timer runs every Interval milliseconds while Enabled; interval 0 stops it.
// A timer of a form stops ticking when the form unloads.
class Timer {
public:
    explicit Timer(std::string name, int index = -1, Form* owner = nullptr);
    const std::string& Name() const { return name_; }
    int Index() const { return index_; }
    int Interval() const { return interval_; }
    void SetInterval(int milliseconds);   // restarts the count
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);        // restarts the count
    const std::string& Tag() const { return tag_; }
    void SetTag(std::string tag) { tag_ = std::move(tag); }
    void CopyLookFrom(const Timer& model);
    void SetVisible(bool) {}              // for control arrays; a timer is never seen

    std::function<void()> TimerEvent;

private:
    void Restart();
    std::string name_;
    int index_;
    Form* owner_;
    QTimer timer_;
    int interval_ = 0;
    bool enabled_ = true;
    std::string tag_;
};

}  // namespace vb
