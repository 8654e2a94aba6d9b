#include "platform/forms/PrinterDialog.h"

#include "platform/forms/Printer.h"
#include "platform/vb/Err.h"

#include <QApplication>
#include <QGuiApplication>
#include <QPrintDialog>

namespace vb {

namespace {

PrinterDialogHandler& Handler()
{
    static PrinterDialogHandler handler;
    return handler;
}

bool ShowQtPrintDialog(QPrinter& printer, long flags)
{
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()) ||
        QGuiApplication::platformName() == QLatin1String("offscreen"))
        Raise(err::PrinterError, "No printer dialog can be shown here");
    QPrintDialog dialog(&printer, QApplication::activeWindow());
    QAbstractPrintDialog::PrintDialogOptions options = dialog.options();
    options.setFlag(QAbstractPrintDialog::PrintSelection, !(flags & cdlPDNoSelection));
    options.setFlag(QAbstractPrintDialog::PrintPageRange, !(flags & cdlPDNoPageNums));
    options.setFlag(QAbstractPrintDialog::PrintToFile, !(flags & cdlPDHidePrintToFile));
    options.setFlag(QAbstractPrintDialog::PrintShowPageSize, true);
    dialog.setOptions(options);
    return dialog.exec() == QDialog::Accepted;
}

}  // namespace

PrinterDialogHandler SetPrinterDialogHandler(PrinterDialogHandler handler)
{
    PrinterDialogHandler previous = std::move(Handler());
    Handler() = std::move(handler);
    return previous;
}

void PrinterDialog::ShowPrinter()
{
    QPrinter& printer = Printer().Device();
    const bool chosen = Handler() ? Handler()(printer, Flags) : ShowQtPrintDialog(printer, Flags);
    if (!chosen && CancelError) Raise(err::CommonDialogCancel, "Cancel was selected.");
}

}  // namespace vb
