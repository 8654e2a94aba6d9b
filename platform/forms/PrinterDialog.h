// The printer dialog of the common dialog control. The program shows its own small dialog on
// the Printer object's device: the system's printers and, as one more printer, Qt's PDF
// output (as the original platform offered its PDF printer). It is the platform's dialog, so
// it speaks the system's language, as the message boxes and the save box do: its texts are
// the toolkit's own, from Qt's translations for the system's locale.
// Tests install a handler that sets the device up (a PDF file) and answers, the same seam as
// the message boxes.
#pragma once

#include <QPrinter>

#include <functional>
#include <string>

namespace vb {

// Flags of the printer dialog, as the original's constants.
constexpr long cdlPDNoSelection = 0x4;            // no choice of printing the selection
constexpr long cdlPDNoPageNums = 0x8;             // no page range
constexpr long cdlPDUseDevModeCopies = 0x40000;   // the copies are the printer's business
constexpr long cdlPDHidePrintToFile = 0x100000;   // no "print to file"

namespace err {
constexpr long CommonDialogCancel = 32755;        // "Cancel was selected."
}  // namespace err

// What the program gives the dialog: the only text of it that is the program's own.
struct PrinterDialogTexts {
    std::string pdfFileName = "document.pdf";  // proposed in the save box of the PDF output
};

// Shows the dialog for the device; True when the user chose to print, False on cancel.
using PrinterDialogHandler = std::function<bool(QPrinter& printer, long flags, const PrinterDialogTexts& texts)>;

// Installs a handler and gives back the one it replaces (empty: the program's dialog).
PrinterDialogHandler SetPrinterDialogHandler(PrinterDialogHandler handler);

// The program's dialog itself: the system's printers (the default one chosen) and the PDF
// output last (chosen when the system has no printer). Choosing the PDF output asks where to
// write it with the save box (FileDialog.h); a cancel there is a cancel of the dialog. The
// selection, page range and print-to-file choices of the flags are never offered. Its title,
// the printer box's caption and name, the PDF entry and the buttons are Qt's texts of its
// own print dialog, translated by whatever translator the application has installed.
bool ShowProgramPrinterDialog(QPrinter& printer, long flags, const PrinterDialogTexts& texts);

// The common dialog control, as far as the program uses it: Flags, CancelError, ShowPrinter.
class PrinterDialog {
public:
    long Flags = 0;
    bool CancelError = false;
    PrinterDialogTexts Texts;
    // Shows the printer dialog on Printer().Device(). A cancel with CancelError set raises
    // 32755. Without a handler and without a screen (the offscreen platform) nobody could
    // answer the dialog: it raises 482 instead of waiting for ever.
    void ShowPrinter();
};

// Answers every printer dialog for its lifetime (tests).
class ScopedPrinterDialog {
public:
    explicit ScopedPrinterDialog(PrinterDialogHandler handler)
        : previous_(SetPrinterDialogHandler(std::move(handler))) {}
    ~ScopedPrinterDialog() { SetPrinterDialogHandler(std::move(previous_)); }
    ScopedPrinterDialog(const ScopedPrinterDialog&) = delete;
    ScopedPrinterDialog& operator=(const ScopedPrinterDialog&) = delete;

private:
    PrinterDialogHandler previous_;
};

}  // namespace vb
