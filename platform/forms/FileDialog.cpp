#include "platform/forms/FileDialog.h"

#include "platform/vb/Err.h"
#include "platform/vb/Strings.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>

namespace vb {

namespace {
SaveFileHandler& Handler() {
    static SaveFileHandler handler;
    return handler;
}

std::optional<std::string> QtSave(const SaveFileRequest& r) {
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
        Raise(err::InvalidProcedureCall, "A file box needs the program's windows");
    std::string selected;
    const QString filters = QString::fromStdString(QtNameFilters(r.filter, r.filterIndex, &selected));
    QString start = QString::fromStdString(r.fileName);
    if (!r.initDir.empty() && !QDir::isAbsolutePath(start))
        start = QDir(QString::fromStdString(r.initDir)).filePath(start);
    QFileDialog::Options options;
    if (!(r.flags & cdlOFNOverwritePrompt)) options |= QFileDialog::DontConfirmOverwrite;
    QString chosenFilter = QString::fromStdString(selected);
    const QString path = QFileDialog::getSaveFileName(QApplication::activeWindow(), QString::fromStdString(r.title),
                                                      start, filters, &chosenFilter, options);
    if (path.isEmpty()) return std::nullopt;
    return path.toStdString();
}
}  // namespace

SaveFileHandler SetSaveFileHandler(SaveFileHandler handler) {
    SaveFileHandler previous = std::move(Handler());
    Handler() = std::move(handler);
    return previous;
}

std::string QtNameFilters(const std::string& filter, int filterIndex, std::string* selected) {
    // The original pairs a description with its patterns; Qt reads the patterns from the
    // parentheses of the description, so each pair becomes "description (patterns)".
    const std::vector<std::string> parts = Split(filter, "|");
    std::string result;
    int index = 0;
    for (std::size_t i = 0; i + 1 < parts.size(); i += 2) {
        ++index;
        const std::string patterns = Replace(parts[i + 1], ";", " ");
        std::string item = parts[i];
        if (InStr(item, "(" + parts[i + 1] + ")") == 0 && InStr(item, "(" + patterns + ")") == 0)
            item += " (" + patterns + ")";
        if (!result.empty()) result += ";;";
        result += item;
        if (selected && index == filterIndex) *selected = item;
    }
    return result;
}

void CommonDialog::ShowSave() {
    SaveFileRequest r{DialogTitle, InitDir, Filter, FilterIndex, Flags, FileName};
    const std::optional<std::string> chosen = Handler() ? Handler()(r) : QtSave(r);
    if (!chosen) {
        if (CancelError) Raise(cdlCancel, "Cancel was selected.");
        return;
    }
    FileName = *chosen;
}

}  // namespace vb
