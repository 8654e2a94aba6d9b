// The Printer object: the printer chosen in the printer dialog, drawn on at a current
// position with the original's property names. It sits over a QPrinter and a QPainter.
//
// - Coordinates are in the scale mode's units (twips or printer pixels) from the top left of
//   the printable area, as the original's printer measured them.
// - A document starts with the first thing drawn and goes to the printer with EndDoc; a
//   document with nothing drawn sends nothing.
// - Fonts take the same Debian faces as the windows ("Arial" is Liberation Sans); sizes are
//   points on paper, at the printer's own resolution.
#pragma once

#include "platform/forms/Picture.h"

#include <QFont>
#include <QPainter>
#include <QPrinter>

#include <memory>
#include <string>

namespace vb {

constexpr int vbPRORPortrait = 1, vbPRORLandscape = 2;
constexpr int vbTwips = 1, vbPixels = 3;

namespace err {
constexpr long InvalidPropertyValue = 380;
constexpr long PrinterError = 482;
}  // namespace err

class PrinterObject {
public:
    PrinterObject();
    ~PrinterObject();
    PrinterObject(const PrinterObject&) = delete;
    PrinterObject& operator=(const PrinterObject&) = delete;

    // The device itself, which the printer dialog sets up (printer, copies, output file).
    QPrinter& Device() const;
    std::string DeviceName() const;
    // False when there is nowhere to print: no printer in the system and no output file
    // (Qt then stands in a PDF writer that has no file to write).
    bool Ready() const;

    // The name the document goes to the printer under: the job's title in the print queue,
    // the title of a PDF file. Set before the document starts; it stays for later documents
    // until it is set again.
    std::string DocName() const;
    void SetDocName(const std::string& name);

    // 1 portrait, 2 landscape; any other value raises 380. Set before a document starts
    // (a change during one takes effect where the device allows it, at the next page).
    int Orientation() const { return orientation_; }
    void SetOrientation(int orientation);
    // 1 twips, 3 pixels; any other value raises 380.
    int ScaleMode() const { return scaleMode_; }
    void SetScaleMode(int mode);
    // 1440 divided by the printer's resolution in dots per inch.
    double TwipsPerPixelX() const;
    double TwipsPerPixelY() const;

    // A font the system does not have raises 380 and leaves the font as it was.
    const std::string& FontName() const { return fontName_; }
    void SetFontName(const std::string& name);
    double FontSize() const { return fontSize_; }
    void SetFontSize(double points);   // 380 for 0 or less
    bool FontBold() const { return fontBold_; }
    void SetFontBold(bool bold) { fontBold_ = bold; }
    bool FontItalic() const { return fontItalic_; }
    void SetFontItalic(bool italic) { fontItalic_ = italic; }

    double CurrentX() const;
    double CurrentY() const;
    void SetCurrentX(double x);
    void SetCurrentY(double y);

    // Prints at the current position, the text's top at CurrentY. Staying on the line moves
    // CurrentX past the text; ending it sets CurrentX to 0 and moves CurrentY down one line
    // of the current font.
    void Print(const std::string& text, bool endLine = true);
    // The number of the page being drawn: 1 on the first page of every document.
    int Page() const { return page_; }
    void NewPage();
    // Ends the document and sends it to the printer; without a document it does nothing.
    void EndDoc();
    // True between the first drawing and EndDoc.
    bool DocumentOpen() const;
    // Draws the picture scaled into the rectangle (scale units).
    void PaintPicture(const Picture& picture, double x, double y, double width, double height);

    // The width of the text and the height of one line, in scale units, on this printer.
    double TextWidth(const std::string& text);
    double TextHeight(const std::string& text = {});

private:
    QFont CurrentFont() const;
    void EnsureDocument();
    double UnitsToPixels(double v) const;
    double PixelsToUnits(double v) const;

    mutable std::unique_ptr<QPrinter> printer_;   // made on first use: it needs the application
    QPainter painter_;
    int orientation_ = vbPRORPortrait;
    int scaleMode_ = vbTwips;
    std::string fontName_ = "Arial";
    double fontSize_ = 10;
    bool fontBold_ = false, fontItalic_ = false;
    double x_ = 0, y_ = 0;   // printer pixels
    int page_ = 1;
};

// The program's one printer object (never destroyed: a QPrinter must not outlive the
// application object, and the program ends its documents itself).
PrinterObject& Printer();

}  // namespace vb
