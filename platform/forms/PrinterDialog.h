// The printer dialog of the common dialog control. The program shows a QPrintDialog on the
// Printer object's device; tests install a handler that sets the device up (a PDF file) and
// answers, the same seam as the message boxes.
#pragma once

#include <QPrinter>

#include <functional>

namespace vb {

// Flags of the printer dialog, as the original's constants.
constexpr long cdlPDNoSelection = 0x4;            // no choice of printing the selection
constexpr long cdlPDNoPageNums = 0x8;             // no page range
constexpr long cdlPDUseDevModeCopies = 0x40000;   // the copies are the printer's business
constexpr long cdlPDHidePrintToFile = 0x100000;   // no "print to file"

namespace err {
constexpr long CommonDialogCancel = 32755;        // "Cancel was selected."
}  // namespace err

// Shows the dialog for the device; True when the user chose to print, False on cancel.
using PrinterDialogHandler = std::function<bool(QPrinter& printer, long flags)>;

// Installs a handler and gives back the one it replaces (empty: the QPrintDialog).
PrinterDialogHandler SetPrinterDialogHandler(PrinterDialogHandler handler);

// The common dialog control, as far as the program uses it: Flags, CancelError, ShowPrinter.
class PrinterDialog {
public:
    long Flags = 0;
    bool CancelError = false;
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
