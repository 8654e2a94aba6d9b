#include "platform/forms/Controls.h"

#include "platform/forms/Colors.h"
#include "platform/forms/Events.h"
#include "platform/forms/Form.h"
#include "platform/vb/Err.h"

#include <QFontMetrics>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPaintEvent>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QTextCursor>
#include <QTextLayout>

#include <algorithm>
#include <cstdlib>

namespace vb {

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

// The paint widgets ask whether their control is still there: a widget outlives its
// control until its deferred deletion.
bool OwnerAlive(const QWidget* widget) { return widget->property("zk_control").value<void*>() != nullptr; }

Qt::Alignment HorizontalAlignment(int alignment) {
    switch (alignment) {
    case vbRightJustify: return Qt::AlignRight;
    case vbCenter: return Qt::AlignHCenter;
    default: return Qt::AlignLeft;
    }
}

Qt::PenStyle PenStyleOf(int borderStyle) {
    switch (borderStyle) {
    case vbTransparent: return Qt::NoPen;
    case vbBSDash: return Qt::DashLine;
    case vbBSDot: return Qt::DotLine;
    case 4: return Qt::DashDotLine;
    case 5: return Qt::DashDotDotLine;
    default: return Qt::SolidLine;
    }
}

// The points of a one-pixel line from (x1, y1) towards (x2, y2), the last one left out.
template <class F>
void ForEachLinePoint(int x1, int y1, int x2, int y2, F&& f) {
    const int dx = std::abs(x2 - x1), dy = -std::abs(y2 - y1);
    const int sx = x1 < x2 ? 1 : -1, sy = y1 < y2 ? 1 : -1;
    int err = dx + dy;
    int x = x1, y = y1;
    while (x != x2 || y != y2) {
        f(x, y);
        const int e2 = 2 * err;
        if (e2 >= dy) { err += dy; x += sx; }
        if (e2 <= dx) { err += dx; y += sy; }
    }
}

}  // namespace

// ---------------------------------------------------------------------------------- Label

namespace {

// Room above the first line for the accents of capitals. The font's ascent holds them, but
// hinting lifts the capitals' tops, and the accents with them, a pixel above it at some
// sizes, where the label's top would cut them off.
int AccentRoom(const QFont& font) {
    static QHash<QString, int> rooms;
    const QString key = font.key();
    if (const auto it = rooms.constFind(key); it != rooms.constEnd()) return *it;
    const QFontMetrics metrics(font);
    const int top = -metrics.tightBoundingRect(QStringLiteral("ÁÀÂÃÄÉÊÍÓÔÕÚÜÇÑ")).top();
    const int room = std::max(0, top - metrics.ascent());
    rooms.insert(key, room);
    return room;
}

// The caption's own lines: each line break ends one, whatever its form.
QStringList CaptionParagraphs(const QString& caption) {
    static const QRegularExpression breaks(QStringLiteral("\r\n|\r|\n"));
    return caption.split(breaks);
}

// A line broken at its blanks without them: they hang past the width, and take no place in
// the alignment nor an underline.
QString WithoutTrailingBlanks(const QString& line) {
    qsizetype end = line.size();
    while (end > 0 && line.at(end - 1).isSpace()) --end;
    return line.left(end);
}

// The caption broken into lines within `width` (without wrapping, its own lines only), each
// placed by the alignment. Lines follow each other at the font's line spacing below the
// accents' room.
std::vector<std::pair<QString, QPoint>> LayOutCaption(const QString& caption, const QFont& font, int width,
                                                      bool wrap, int alignment) {
    const QFontMetrics metrics(font);
    std::vector<QString> lines;
    for (const QString& paragraph : CaptionParagraphs(caption)) {
        if (!wrap || paragraph.isEmpty()) {
            lines.push_back(paragraph);
            continue;
        }
        QTextLayout layout(paragraph, font);
        QTextOption option;
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        layout.setTextOption(option);
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            // A text fits when its width in whole pixels does, as everything else measures it.
            line.setLineWidth(std::max(1, width) + 0.49);
            const QString text = paragraph.mid(line.textStart(), line.textLength());
            const bool broken = line.textStart() + line.textLength() < paragraph.size();
            lines.push_back(broken ? WithoutTrailingBlanks(text) : text);
        }
        layout.endLayout();
    }
    std::vector<std::pair<QString, QPoint>> placed;
    int top = AccentRoom(font);
    for (const QString& line : lines) {
        const int free = width - metrics.horizontalAdvance(line);
        const int left = alignment == vbRightJustify ? free : alignment == vbCenter ? free / 2 : 0;
        placed.emplace_back(line, QPoint(left, top));
        top += metrics.lineSpacing();
    }
    return placed;
}

}  // namespace

class LabelWidget : public QLabel {
public:
    explicit LabelWidget(Label* owner) : owner_(owner) {}

protected:
    void paintEvent(QPaintEvent*) override {
        if (!OwnerAlive(this)) return;
        QPainter painter(this);
        painter.setFont(font());
        painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
        const int ascent = QFontMetrics(font()).ascent();
        const Label::Lines& lines = owner_->Layout();
        for (std::size_t i = 0; i < lines.size(); ++i)
            if (Label::LineShows(i, lines[i].second.y(), ascent, height()))
                painter.drawText(QPoint(lines[i].second.x(), lines[i].second.y() + ascent), lines[i].first);
    }

private:
    Label* owner_;
};

Label::Label(Container& parent, std::string name, int index)
    : Control(parent, std::move(name), index, new LabelWidget(this), true), label_(static_cast<QLabel*>(Widget())) {
    label_->setFocusPolicy(Qt::NoFocus);
    label_->setTextFormat(Qt::PlainText);
    label_->setMargin(0);
    label_->setIndent(0);
    ApplyColors();
    ApplyFont();
}

const Label::Lines& Label::Layout() const {
    if (linesWidth_ != Width()) {
        lines_ = LayOutCaption(label_->text(), label_->font(), Width(), !autoSize_ || wordWrap_, alignment_);
        linesWidth_ = Width();
    }
    return lines_;
}

void Label::Relayout() {
    linesWidth_ = -1;
    Fit();
    label_->update();
}

std::vector<LabelLine> Label::ShownLines() const {
    std::vector<LabelLine> shown;
    const int ascent = QFontMetrics(label_->font()).ascent();
    const Lines& lines = Layout();
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (LineShows(i, lines[i].second.y(), ascent, Height()))
            shown.push_back({lines[i].first.toStdString(), lines[i].second.x(), lines[i].second.y()});
    return shown;
}

bool Label::LineShows(std::size_t index, int top, int ascent, int height) {
    // The first line always shows, cut by a label lower than it. A later line shows when its
    // letters stand above the bottom (only descenders may be cut): a line of which only the
    // tops would peek out, as under a list's 16-pixel bar, is left out.
    return index == 0 || top + ascent <= height;
}

void Label::SetCaption(const std::string& caption) {
    caption_ = caption;
    label_->setText(Q(caption));
    Relayout();
}

void Label::SetAlignment(int alignment) {
    alignment_ = alignment;
    Relayout();
}

void Label::SetAutoSize(bool autoSize) {
    autoSize_ = autoSize;
    Relayout();
}

void Label::SetWordWrap(bool wordWrap) {
    wordWrap_ = wordWrap;
    Relayout();
}

void Label::SetBackStyle(int backStyle) {
    backStyle_ = backStyle;
    ApplyColors();
}

void Label::Fit() {
    if (!autoSize_) return;
    const QFontMetrics metrics(label_->font());
    const Lines& lines = Layout();
    const int height = AccentRoom(label_->font()) + static_cast<int>(lines.size()) * metrics.lineSpacing();
    if (wordWrap_) {
        Move(Left(), Top(), Width(), height);
    } else {
        int width = 0;
        for (const auto& line : lines) width = std::max(width, metrics.horizontalAdvance(line.first));
        Move(Left(), Top(), width, height);
    }
}

void Label::ApplyColors() {
    Control::ApplyColors();
    label_->setAutoFillBackground(backStyle_ == 1);
}

void Label::ApplyFont() {
    Control::ApplyFont();
    Relayout();
}

void Label::CopyLookFrom(const Control& model) {
    Control::CopyLookFrom(model);
    if (auto* m = dynamic_cast<const Label*>(&model)) {
        alignment_ = m->alignment_;
        wordWrap_ = m->wordWrap_;
        backStyle_ = m->backStyle_;
        autoSize_ = m->autoSize_;
        ApplyColors();
        SetCaption(m->caption_);
    }
}

// ---------------------------------------------------------------------------------- Image

class ImageWidget : public QWidget {
public:
    explicit ImageWidget(Image* owner) : owner_(owner) {}

protected:
    void paintEvent(QPaintEvent*) override {
        if (!OwnerAlive(this) || owner_->picture_.IsNothing()) return;
        QPainter painter(this);
        if (owner_->stretch_) {
            painter.setRenderHint(QPainter::SmoothPixmapTransform);
            painter.drawPixmap(rect(), owner_->picture_.Pixmap());
        } else {
            painter.drawPixmap(0, 0, owner_->picture_.Pixmap());
        }
    }

private:
    Image* owner_;
};

Image::Image(Container& parent, std::string name, int index)
    : Control(parent, std::move(name), index, new ImageWidget(this), true) {}

void Image::SetPicture(const Picture& picture) {
    picture_ = picture;
    if (!stretch_ && !picture_.IsNothing()) Move(Left(), Top(), picture_.Width(), picture_.Height());
    Widget()->update();
}

void Image::SetStretch(bool stretch) {
    stretch_ = stretch;
    SetPicture(picture_);
}

void Image::CopyLookFrom(const Control& model) {
    Control::CopyLookFrom(model);
    if (auto* m = dynamic_cast<const Image*>(&model)) {
        stretch_ = m->stretch_;
        SetPicture(m->picture_);
        Move(m->Left(), m->Top(), m->Width(), m->Height());
    }
}

// ----------------------------------------------------------------------------- PictureBox

class PictureBoxWidget : public QWidget {
public:
    explicit PictureBoxWidget(PictureBox* owner) : owner_(owner) {}

protected:
    void paintEvent(QPaintEvent*) override {
        if (!OwnerAlive(this)) return;
        QPainter painter(this);
        const QPoint origin = owner_->ClientOrigin();
        painter.fillRect(rect(), ToQColor(owner_->BackColor()));
        if (!owner_->surface_.isNull())
            painter.drawImage(origin, owner_->surface_, QRect(0, 0, owner_->ScaleWidth(), owner_->ScaleHeight()));
        if (owner_->borderStyle_ == 1) {
            // The original's sunken two-pixel edge.
            const int w = width() - 1, h = height() - 1;
            painter.setPen(QColor(160, 160, 160));
            painter.drawLine(0, 0, w, 0);
            painter.drawLine(0, 0, 0, h);
            painter.setPen(QColor(105, 105, 105));
            painter.drawLine(1, 1, w - 1, 1);
            painter.drawLine(1, 1, 1, h - 1);
            painter.setPen(QColor(255, 255, 255));
            painter.drawLine(0, h, w, h);
            painter.drawLine(w, 0, w, h);
            painter.setPen(QColor(227, 227, 227));
            painter.drawLine(1, h - 1, w - 1, h - 1);
            painter.drawLine(w - 1, 1, w - 1, h - 1);
        }
    }
    void resizeEvent(QResizeEvent*) override {
        if (OwnerAlive(this)) owner_->EnsureSurface();
    }

private:
    PictureBox* owner_;
};

PictureBox::PictureBox(Container& parent, std::string name, int index)
    : Control(parent, std::move(name), index, new PictureBoxWidget(this), false) {
    Widget()->setFocusPolicy(Qt::StrongFocus);
    ApplyColors();
    ApplyFont();
    ResetSurface();
}

PictureBox::~PictureBox() = default;

QPoint PictureBox::ClientOrigin() const { return borderStyle_ == 1 ? QPoint(2, 2) : QPoint(0, 0); }

int PictureBox::ScaleWidth() const { return std::max(0, Width() - 2 * ClientOrigin().x()); }
int PictureBox::ScaleHeight() const { return std::max(0, Height() - 2 * ClientOrigin().y()); }

// The drawing surface exists once something is drawn: most boxes are panels that only show
// their back colour, and a window has dozens of them.
void PictureBox::ResetSurface() {
    surface_ = QImage();
    if (!picture_.IsNothing()) EnsureSurface();
    Widget()->update();
}

void PictureBox::EnsureSurface() {
    const int w = std::max(1, ScaleWidth()), h = std::max(1, ScaleHeight());
    if (!surface_.isNull() && w <= surface_.width() && h <= surface_.height()) return;
    // Growing keeps what was drawn; the new area shows the back colour and the picture.
    QImage grown(std::max(w, surface_.width()), std::max(h, surface_.height()), QImage::Format_RGB32);
    grown.fill(ToQColor(BackColor()));
    QPainter painter(&grown);
    if (!picture_.IsNothing()) painter.drawPixmap(0, 0, picture_.Pixmap());
    if (!surface_.isNull()) painter.drawImage(0, 0, surface_);
    painter.end();
    surface_ = grown;
}

void PictureBox::SetPicture(const Picture& picture) {
    picture_ = picture;
    if (autoSize_ && !picture_.IsNothing())
        Move(Left(), Top(), picture_.Width() + 2 * ClientOrigin().x(), picture_.Height() + 2 * ClientOrigin().y());
    ResetSurface();
}

Picture PictureBox::GetImage() const {
    const int w = std::max(1, ScaleWidth()), h = std::max(1, ScaleHeight());
    if (surface_.isNull()) {
        QImage fundo(w, h, QImage::Format_RGB32);
        fundo.fill(ToQColor(BackColor()));
        return Picture(QPixmap::fromImage(fundo));
    }
    return Picture(QPixmap::fromImage(surface_.copy(0, 0, w, h)));
}

void PictureBox::SetAutoSize(bool autoSize) {
    autoSize_ = autoSize;
    if (autoSize_) SetPicture(picture_);
}

void PictureBox::SetBorderStyle(int borderStyle) {
    const QPoint before = ClientOrigin();
    borderStyle_ = borderStyle;
    const QPoint shift = ClientOrigin() - before;
    if (shift.isNull()) return;
    // Children are placed relative to the inner area, which moves with the border.
    for (QObject* child : Widget()->children())
        if (auto* w = qobject_cast<QWidget*>(child); w && ControlOf(w) != this) w->move(w->pos() + shift);
    EnsureSurface();
    Widget()->update();
}

void PictureBox::PaintPicture(const Picture& picture, int x, int y, int width, int height, int srcX,
                              int srcY, int srcWidth, int srcHeight) {
    if (picture.IsNothing()) Raise(err::InvalidProcedureCall, "Invalid picture");
    const int sw = srcWidth < 0 ? picture.Width() - srcX : srcWidth;
    const int sh = srcHeight < 0 ? picture.Height() - srcY : srcHeight;
    const int w = width < 0 ? sw : width;
    const int h = height < 0 ? sh : height;
    EnsureSurface();   // a hidden box gets its resize event only when shown
    QPainter painter(&surface_);
    painter.drawPixmap(QRect(x, y, w, h), picture.Pixmap(), QRect(srcX, srcY, sw, sh));
    painter.end();
    Widget()->update();
}

void PictureBox::Cls() {
    ResetSurface();
    currentX_ = currentY_ = 0;
}

void PictureBox::Print(const std::string& text, bool newLine) {
    const QFont font = Font();
    const QFontMetrics metrics(font);
    EnsureSurface();
    QPainter painter(&surface_);
    painter.setFont(font);
    painter.setPen(ToQColor(ForeColor()));
    painter.drawText(QPointF(currentX_, currentY_ + metrics.ascent()), Q(text));
    painter.end();
    if (newLine) {
        currentX_ = 0;
        currentY_ += metrics.height();
    } else {
        currentX_ += metrics.horizontalAdvance(Q(text));
    }
    Widget()->update();
}

long PictureBox::TextWidth(const std::string& text) const {
    return QFontMetrics(Font()).horizontalAdvance(Q(text));
}

long PictureBox::TextHeight(const std::string&) const { return QFontMetrics(Font()).height(); }

void PictureBox::FillRectangle(int x1, int y1, int x2, int y2, long color) {
    EnsureSurface();
    QPainter painter(&surface_);
    painter.fillRect(QRect(QPoint(std::min(x1, x2), std::min(y1, y2)), QPoint(std::max(x1, x2), std::max(y1, y2))),
                     ToQColor(color));
    painter.end();
    Widget()->update();
}

void PictureBox::DrawLine(int x1, int y1, int x2, int y2, long color) {
    EnsureSurface();
    const QRgb rgb = ToQColor(color).rgb();
    ForEachLinePoint(x1, y1, x2, y2, [&](int x, int y) {
        if (surface_.valid(x, y)) surface_.setPixel(x, y, rgb);
    });
    Widget()->update();
}

void PictureBox::PSet(int x, int y, long color) {
    if (x < 0 || y < 0 || x >= ScaleWidth() || y >= ScaleHeight()) return;
    EnsureSurface();
    if (!surface_.valid(x, y)) return;
    surface_.setPixel(x, y, ToQColor(color).rgb());
    Widget()->update();
}

long PictureBox::Point(int x, int y) const {
    if (x < 0 || y < 0 || x >= ScaleWidth() || y >= ScaleHeight()) return -1;
    if (surface_.isNull()) return FromQColor(ToQColor(BackColor()));
    if (!surface_.valid(x, y)) return -1;
    return FromQColor(QColor(surface_.pixel(x, y)));
}

void PictureBox::ApplyColors() {
    Control::ApplyColors();
    // A new back colour clears the drawing, as the original's did.
    if (!surface_.isNull()) ResetSurface();
}

void PictureBox::CopyLookFrom(const Control& model) {
    Control::CopyLookFrom(model);
    if (auto* m = dynamic_cast<const PictureBox*>(&model)) {
        SetBorderStyle(m->borderStyle_);
        autoSize_ = m->autoSize_;
        autoRedraw_ = m->autoRedraw_;
        Move(m->Left(), m->Top(), m->Width(), m->Height());
        SetPicture(m->picture_);
    }
}

// -------------------------------------------------------------------------------- TextBox

TextBox::TextBox(Container& parent, std::string name, int index, bool multiLine)
    : Control(parent, std::move(name), index,
              multiLine ? static_cast<QWidget*>(new QPlainTextEdit) : static_cast<QWidget*>(new QLineEdit),
              false) {
    SetPassMouseToWidget(true);
    if (multiLine) {
        plain_ = static_cast<QPlainTextEdit*>(Widget());
        WatchAlso(plain_->viewport());
        QObject::connect(plain_, &QPlainTextEdit::textChanged, plain_, [this] { TextChanged(); });
    } else {
        line_ = static_cast<QLineEdit*>(Widget());
        QObject::connect(line_, &QLineEdit::textChanged, line_, [this] { TextChanged(); });
    }
    Widget()->setFocusPolicy(Qt::StrongFocus);
    SetForeColor(vbWindowText);
    SetBackColor(vbWindowBackground);
    ApplyFont();
}

// A multi-line text holds CR LF line ends, as the original's did.
std::string TextBox::Text() const {
    if (line_) return line_->text().toStdString();
    return plain_->toPlainText().replace(QChar('\n'), QStringLiteral("\r\n")).toStdString();
}

void TextBox::SetText(const std::string& text) {
    settingText_ = true;
    changeError_ = nullptr;
    if (line_) line_->setText(Q(text));
    else plain_->setPlainText(Q(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    settingText_ = false;
    if (changeError_) std::rethrow_exception(std::exchange(changeError_, nullptr));
}

void TextBox::TextChanged() {
    const std::string now = Text();
    if (now == lastText_) return;
    lastText_ = now;
    if (!Change) return;
    if (settingText_) {
        // Raised by the program's own assignment: the error belongs to that caller, but it
        // must not travel through Qt's signal on its way there.
        try {
            Change();
        } catch (...) {
            changeError_ = std::current_exception();
        }
    } else {
        RunEvent(Change);
    }
}

void TextBox::SetPasswordChar(const std::string& character) {
    passwordChar_ = character;
    if (!line_) return;
    if (character.empty()) {
        line_->setEchoMode(QLineEdit::Normal);
        line_->setStyleSheet({});
        return;
    }
    const QString c = Q(character);
    line_->setStyleSheet(QString("QLineEdit { lineedit-password-character: %1; }").arg(c.isEmpty() ? 42 : c.at(0).unicode()));
    line_->setEchoMode(QLineEdit::Password);
}

void TextBox::SetMaxLength(long length) {
    maxLength_ = length;
    if (line_) line_->setMaxLength(length <= 0 ? 32767 : static_cast<int>(length));
}

void TextBox::SetLocked(bool locked) {
    locked_ = locked;
    if (line_) line_->setReadOnly(locked);
    else plain_->setReadOnly(locked);
}

void TextBox::SetAlignment(int alignment) {
    alignment_ = alignment;
    if (line_) line_->setAlignment(HorizontalAlignment(alignment) | Qt::AlignVCenter);
}

long TextBox::SelStart() const {
    if (line_) return line_->hasSelectedText() ? line_->selectionStart() : line_->cursorPosition();
    return plain_->textCursor().selectionStart();
}

void TextBox::SetSelStart(long start) {
    // Moving the start leaves nothing selected, as the original.
    const long length = static_cast<long>(Text().empty() ? 0 : Q(Text()).size());
    const int s = static_cast<int>(std::clamp(start, 0L, length));
    if (line_) {
        line_->deselect();
        line_->setCursorPosition(s);
    } else {
        QTextCursor cursor = plain_->textCursor();
        cursor.setPosition(s);
        plain_->setTextCursor(cursor);
    }
}

long TextBox::SelLength() const {
    if (line_) return line_->hasSelectedText() ? line_->selectedText().size() : 0;
    const QTextCursor cursor = plain_->textCursor();
    return cursor.selectionEnd() - cursor.selectionStart();
}

void TextBox::SetSelLength(long length) {
    const int start = static_cast<int>(SelStart());
    const int total = static_cast<int>(Q(Text()).size());
    const int n = static_cast<int>(std::clamp(length, 0L, static_cast<long>(total - start)));
    if (line_) {
        line_->setSelection(start, n);
    } else {
        QTextCursor cursor = plain_->textCursor();
        cursor.setPosition(start);
        cursor.setPosition(start + n, QTextCursor::KeepAnchor);
        plain_->setTextCursor(cursor);
    }
}

std::string TextBox::SelText() const {
    if (line_) return line_->selectedText().toStdString();
    return plain_->textCursor().selectedText().toStdString();
}

void TextBox::ApplyColors() {
    Control::ApplyColors();
    Widget()->setAutoFillBackground(true);
}

void TextBox::CopyLookFrom(const Control& model) {
    Control::CopyLookFrom(model);
    if (auto* m = dynamic_cast<const TextBox*>(&model)) {
        SetPasswordChar(m->passwordChar_);
        SetMaxLength(m->maxLength_);
        SetLocked(m->locked_);
        SetAlignment(m->alignment_);
        SetText(m->Text());
    }
}

// ---------------------------------------------------------------------------------- Shape

class ShapeWidget : public QWidget {
public:
    explicit ShapeWidget(Shape* owner) : owner_(owner) {}

protected:
    void paintEvent(QPaintEvent*) override {
        if (!OwnerAlive(this)) return;
        const Shape& s = *owner_;
        QPainter painter(this);
        QRectF box(0, 0, width(), height());
        if (s.shape_ == vbShapeSquare || s.shape_ == vbShapeCircle || s.shape_ == vbShapeRoundedSquare) {
            const double side = std::min(box.width(), box.height());
            box = QRectF(box.center().x() - side / 2, box.center().y() - side / 2, side, side);
        }
        const double inset = s.borderStyle_ == vbTransparent ? 0.0 : s.borderWidth_ / 2.0;
        const QRectF inner = box.adjusted(inset, inset, -inset, -inset);
        QPen pen(ToQColor(s.borderColor_));
        pen.setWidth(s.borderWidth_);
        pen.setStyle(PenStyleOf(s.borderStyle_));
        pen.setJoinStyle(Qt::MiterJoin);
        const bool oval = s.shape_ == vbShapeOval || s.shape_ == vbShapeCircle;
        const bool rounded = s.shape_ == vbShapeRoundedRectangle || s.shape_ == vbShapeRoundedSquare;
        const double radius = std::min(inner.width(), inner.height()) / 6.0;
        auto draw = [&](const QRectF& r) {
            if (oval) painter.drawEllipse(r);
            else if (rounded) painter.drawRoundedRect(r, radius, radius);
            else painter.drawRect(r);
        };
        painter.setPen(Qt::NoPen);
        if (s.backStyle_ == 1) {
            painter.setBrush(ToQColor(s.BackColor()));
            draw(inner);
        }
        if (s.fillStyle_ == vbFSSolid) {
            painter.setBrush(ToQColor(s.fillColor_));
            draw(inner);
        }
        painter.setBrush(Qt::NoBrush);
        painter.setPen(pen);
        if (s.borderStyle_ != vbTransparent) {
            // A one-pixel border sits on the outermost pixels.
            draw(s.borderWidth_ == 1 ? box.adjusted(0, 0, -1, -1) : inner);
        }
    }

private:
    Shape* owner_;
};

Shape::Shape(Container& parent, std::string name, int index)
    : Control(parent, std::move(name), index, new ShapeWidget(this), true) {
    Widget()->setAttribute(Qt::WA_TransparentForMouseEvents);
    Widget()->setFocusPolicy(Qt::NoFocus);
    SetBackColor(vbWindowBackground);
}

void Shape::SetShape(int shape) { shape_ = shape; Widget()->update(); }
void Shape::SetBorderColor(long color) { borderColor_ = color; Widget()->update(); }
void Shape::SetBorderWidth(int width) { borderWidth_ = std::max(1, width); Widget()->update(); }
void Shape::SetBorderStyle(int style) { borderStyle_ = style; Widget()->update(); }
void Shape::SetFillColor(long color) { fillColor_ = color; Widget()->update(); }
void Shape::SetFillStyle(int style) { fillStyle_ = style; Widget()->update(); }
void Shape::SetBackStyle(int style) { backStyle_ = style; Widget()->update(); }

void Shape::CopyLookFrom(const Control& model) {
    Control::CopyLookFrom(model);
    if (auto* m = dynamic_cast<const Shape*>(&model)) {
        shape_ = m->shape_;
        borderColor_ = m->borderColor_;
        fillColor_ = m->fillColor_;
        borderWidth_ = m->borderWidth_;
        borderStyle_ = m->borderStyle_;
        fillStyle_ = m->fillStyle_;
        backStyle_ = m->backStyle_;
        Widget()->update();
    }
}

// ----------------------------------------------------------------------------------- Line

class LineWidget : public QWidget {
public:
    explicit LineWidget(Line* owner) : owner_(owner) {}

protected:
    void paintEvent(QPaintEvent*) override {
        if (!OwnerAlive(this) || owner_->borderStyle_ == vbTransparent) return;
        const Line& l = *owner_;
        QPainter painter(this);
        QPen pen(ToQColor(l.borderColor_));
        pen.setWidth(l.borderWidth_);
        pen.setStyle(PenStyleOf(l.borderStyle_));
        painter.setPen(pen);
        const QPoint offset = pos() - l.Parent().ClientOrigin();
        painter.drawLine(QPoint(l.x1_, l.y1_) - offset, QPoint(l.x2_, l.y2_) - offset);
    }

private:
    Line* owner_;
};

Line::Line(Container& parent, std::string name, int index)
    : Control(parent, std::move(name), index, new LineWidget(this), true) {
    Widget()->setAttribute(Qt::WA_TransparentForMouseEvents);
    Widget()->setFocusPolicy(Qt::NoFocus);
    Place();
}

void Line::SetEnds(int x1, int y1, int x2, int y2) {
    x1_ = x1;
    y1_ = y1;
    x2_ = x2;
    y2_ = y2;
    Place();
}

void Line::Place() {
    // The widget covers the line's bounding box, widened by the pen.
    const int pad = borderWidth_;
    const int left = std::min(x1_, x2_) - pad, top = std::min(y1_, y2_) - pad;
    Control::Move(left, top, std::abs(x2_ - x1_) + 2 * pad + 1, std::abs(y2_ - y1_) + 2 * pad + 1);
    Widget()->update();
}

void Line::SetBorderColor(long color) { borderColor_ = color; Widget()->update(); }
void Line::SetBorderWidth(int width) { borderWidth_ = std::max(1, width); Place(); }
void Line::SetBorderStyle(int style) { borderStyle_ = style; Widget()->update(); }

void Line::CopyLookFrom(const Control& model) {
    Control::CopyLookFrom(model);
    if (auto* m = dynamic_cast<const Line*>(&model)) {
        borderColor_ = m->borderColor_;
        borderWidth_ = m->borderWidth_;
        borderStyle_ = m->borderStyle_;
        SetEnds(m->x1_, m->y1_, m->x2_, m->y2_);
    }
}

// ---------------------------------------------------------------------------------- Timer

Timer::Timer(std::string name, int index, Form* owner) : name_(std::move(name)), index_(index), owner_(owner) {
    QObject::connect(&timer_, &QTimer::timeout, &timer_, [this] {
        // The form's controls go a moment after it unloads; its timers stop at once.
        if (owner_ && !owner_->IsLoaded()) {
            timer_.stop();
            return;
        }
        if (TimerEvent) RunEvent(TimerEvent);
    });
}

void Timer::SetInterval(int milliseconds) {
    interval_ = std::max(0, milliseconds);
    Restart();
}

void Timer::SetEnabled(bool enabled) {
    enabled_ = enabled;
    Restart();
}

void Timer::Restart() {
    timer_.stop();
    if (enabled_ && interval_ > 0) timer_.start(interval_);
}

void Timer::CopyLookFrom(const Timer& model) {
    tag_ = model.tag_;
    interval_ = model.interval_;
    enabled_ = model.enabled_;
    Restart();
}

}  // namespace vb
