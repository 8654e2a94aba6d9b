#include "platform/forms/PrinterDialog.h"

#include "platform/forms/FileDialog.h"
#include "platform/forms/Printer.h"
#include "platform/vb/Err.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPrinterInfo>
#include <QPushButton>
#include <QStandardPaths>
#include <QVBoxLayout>

#include <optional>

namespace vb {

namespace {

PrinterDialogHandler& Handler()
{
    static PrinterDialogHandler handler;
    return handler;
}

QString Q(const std::string& s) { return QString::fromStdString(s); }

// The toolkit's own texts, under the contexts and source texts of Qt's print dialog, so that
// Qt's translations for the system's locale give them in the system's language.
QString PrintTitle() { return QCoreApplication::translate("QPrintDialog", "Print"); }
QString PrinterCaption() { return QCoreApplication::translate("QPrintWidget", "Printer"); }
QString PrinterNameLabel() { return QCoreApplication::translate("QPrintWidget", "&Name:"); }
QString PdfEntry() { return QCoreApplication::translate("QPrintDialog", "Print to File (PDF)"); }
QString PdfSaveTitle() { return QCoreApplication::translate("QPrintDialog", "Print To File ..."); }

// Where the PDF output goes: asked with the save box; nothing when the user cancels.
std::optional<std::string> AskPdfFile(const PrinterDialogTexts& texts)
{
    CommonDialog save;
    save.DialogTitle = PdfSaveTitle().toStdString();
    save.Filter = "PDF (*.pdf)|*.pdf";
    save.Flags = cdlOFNOverwritePrompt | cdlOFNHideReadOnly;
    save.FileName = texts.pdfFileName;
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    if (folder.isEmpty() || !QDir(folder).exists()) folder = QDir::homePath();
    save.InitDir = folder.toStdString();
    save.CancelError = true;
    try {
        save.ShowSave();
    } catch (const Error& e) {
        if (e.Number() == cdlCancel) return std::nullopt;
        throw;
    }
    if (save.FileName.empty()) return std::nullopt;
    return save.FileName;
}

}  // namespace

bool ShowProgramPrinterDialog(QPrinter& printer, long /*flags*/, const PrinterDialogTexts& texts)
{
    QDialog dialog(QApplication::activeWindow());
    dialog.setObjectName("PrinterDialog");
    dialog.setWindowTitle(PrintTitle());
    auto* box = new QGroupBox(PrinterCaption(), &dialog);
    auto* label = new QLabel(PrinterNameLabel(), box);
    auto* printers = new QComboBox(box);
    printers->setObjectName("printers");
    label->setBuddy(printers);
    const QList<QPrinterInfo> installed = QPrinterInfo::availablePrinters();
    for (const QPrinterInfo& info : installed)
        printers->addItem(info.description().isEmpty() ? info.printerName() : info.description(), info.printerName());
    // Qt's PDF output is one more printer, as the original platform's PDF printer was.
    printers->addItem(PdfEntry(), QString());
    const int standard = printers->findData(QPrinterInfo::defaultPrinterName());
    printers->setCurrentIndex(standard >= 0 && !QPrinterInfo::defaultPrinterName().isEmpty() ? standard : 0);

    // The standard buttons take their texts from the platform theme, as a message box's do.
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QPushButton* ok = buttons->button(QDialogButtonBox::Ok);
    QPushButton* cancel = buttons->button(QDialogButtonBox::Cancel);
    ok->setObjectName("ok");
    cancel->setObjectName("cancel");
    ok->setDefault(true);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);

    auto* row = new QHBoxLayout(box);
    row->addWidget(label);
    row->addWidget(printers, 1);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(box);
    layout->addWidget(buttons);
    dialog.setMinimumWidth(360);

    if (dialog.exec() != QDialog::Accepted) return false;
    const QString name = printers->currentData().toString();
    if (!name.isEmpty()) {
        printer.setOutputFileName(QString());
        printer.setOutputFormat(QPrinter::NativeFormat);
        printer.setPrinterName(name);
        return true;
    }
    const std::optional<std::string> file = AskPdfFile(texts);
    if (!file) return false;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(Q(*file));
    return true;
}

PrinterDialogHandler SetPrinterDialogHandler(PrinterDialogHandler handler)
{
    PrinterDialogHandler previous = std::move(Handler());
    Handler() = std::move(handler);
    return previous;
}

void PrinterDialog::ShowPrinter()
{
    QPrinter& printer = Printer().Device();
    bool chosen = false;
    if (Handler()) {
        chosen = Handler()(printer, Flags, Texts);
    } else {
        if (!qobject_cast<QApplication*>(QCoreApplication::instance()) ||
            QGuiApplication::platformName() == QLatin1String("offscreen"))
            Raise(err::PrinterError, "No printer dialog can be shown here");
        chosen = ShowProgramPrinterDialog(printer, Flags, Texts);
    }
    if (!chosen && CancelError) Raise(err::CommonDialogCancel, "Cancel was selected.");
}

}  // namespace vb
