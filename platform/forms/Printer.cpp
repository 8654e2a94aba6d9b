#include "platform/forms/Printer.h"

#include "platform/forms/Control.h"
#include "platform/vb/Err.h"

#include <QFontMetricsF>
#include <QPageLayout>

namespace vb {

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

}  // namespace

PrinterObject::PrinterObject() = default;

PrinterObject::~PrinterObject()
{
    if (painter_.isActive()) painter_.end();
}

QPrinter& PrinterObject::Device() const
{
    if (!printer_) printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *printer_;
}

bool PrinterObject::Ready() const
{
    const QPrinter& printer = Device();
    if (!printer.isValid()) return false;
    return printer.outputFormat() != QPrinter::PdfFormat || !printer.outputFileName().isEmpty();
}

std::string PrinterObject::DeviceName() const { return Device().printerName().toStdString(); }

std::string PrinterObject::DocName() const { return Device().docName().toStdString(); }
void PrinterObject::SetDocName(const std::string& name) { Device().setDocName(Q(name)); }

void PrinterObject::SetOrientation(int orientation)
{
    if (orientation != vbPRORPortrait && orientation != vbPRORLandscape)
        Raise(err::InvalidPropertyValue, "Invalid property value");
    orientation_ = orientation;
    Device().setPageOrientation(orientation == vbPRORLandscape ? QPageLayout::Landscape : QPageLayout::Portrait);
}

void PrinterObject::SetScaleMode(int mode)
{
    if (mode != vbTwips && mode != vbPixels) Raise(err::InvalidPropertyValue, "Invalid property value");
    scaleMode_ = mode;
}

double PrinterObject::TwipsPerPixelX() const
{
    const int dpi = Device().resolution();
    return dpi > 0 ? 1440.0 / dpi : 1.0;
}

double PrinterObject::TwipsPerPixelY() const { return TwipsPerPixelX(); }

void PrinterObject::SetFontName(const std::string& name)
{
    if (name.empty() || !FontAvailable(name))
        Raise(err::InvalidPropertyValue, "Invalid property value");
    fontName_ = name;
}

void PrinterObject::SetFontSize(double points)
{
    if (!(points > 0)) Raise(err::InvalidPropertyValue, "Invalid property value");
    fontSize_ = points;
}

double PrinterObject::UnitsToPixels(double v) const { return scaleMode_ == vbTwips ? v / TwipsPerPixelX() : v; }
double PrinterObject::PixelsToUnits(double v) const { return scaleMode_ == vbTwips ? v * TwipsPerPixelX() : v; }

double PrinterObject::CurrentX() const { return PixelsToUnits(x_); }
double PrinterObject::CurrentY() const { return PixelsToUnits(y_); }

void PrinterObject::SetCurrentX(double x) { x_ = UnitsToPixels(x); }
void PrinterObject::SetCurrentY(double y) { y_ = UnitsToPixels(y); }

QFont PrinterObject::CurrentFont() const
{
    QFont font(Q(fontName_));
    font.setPointSizeF(fontSize_);
    font.setBold(fontBold_);
    font.setItalic(fontItalic_);
    return font;
}

bool PrinterObject::DocumentOpen() const { return painter_.isActive(); }

void PrinterObject::EnsureDocument()
{
    if (painter_.isActive()) return;
    QPrinter& printer = Device();
    printer.setPageOrientation(orientation_ == vbPRORLandscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    if (!painter_.begin(&printer)) Raise(err::PrinterError, "Printer error");
    page_ = 1;
}

void PrinterObject::Print(const std::string& text, bool endLine)
{
    EnsureDocument();
    const QFont font = CurrentFont();
    painter_.setFont(font);
    const QFontMetricsF metrics(font, &Device());
    painter_.drawText(QPointF(x_, y_ + metrics.ascent()), Q(text));
    if (endLine) {
        x_ = 0;
        y_ += metrics.lineSpacing();
    } else {
        x_ += metrics.horizontalAdvance(Q(text));
    }
}

void PrinterObject::NewPage()
{
    EnsureDocument();
    if (!Device().newPage()) Raise(err::PrinterError, "Printer error");
    ++page_;
    x_ = 0;
    y_ = 0;
}

void PrinterObject::EndDoc()
{
    if (painter_.isActive() && !painter_.end()) {
        page_ = 1;
        Raise(err::PrinterError, "Printer error");
    }
    page_ = 1;
    x_ = 0;
    y_ = 0;
}

void PrinterObject::PaintPicture(const Picture& picture, double x, double y, double width, double height)
{
    if (picture.IsNothing()) Raise(err::InvalidPicture, "Invalid picture");
    EnsureDocument();
    const QRectF target(UnitsToPixels(x), UnitsToPixels(y), UnitsToPixels(width), UnitsToPixels(height));
    painter_.setRenderHint(QPainter::SmoothPixmapTransform, true);
    painter_.drawPixmap(target, picture.Pixmap(), QRectF(picture.Pixmap().rect()));
}

double PrinterObject::TextWidth(const std::string& text)
{
    return PixelsToUnits(QFontMetricsF(CurrentFont(), &Device()).horizontalAdvance(Q(text)));
}

double PrinterObject::TextHeight(const std::string&)
{
    return PixelsToUnits(QFontMetricsF(CurrentFont(), &Device()).lineSpacing());
}

PrinterObject& Printer()
{
    static PrinterObject* printer = new PrinterObject;
    return *printer;
}

}  // namespace vb
