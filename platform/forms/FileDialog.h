// The common dialog's file boxes (the original's CommonDialog control): the program shows a
// QFileDialog, tests install a handler that answers in its place.
#pragma once

#include <functional>
#include <optional>
#include <string>

namespace vb {

// Flags, as the original's constants.
constexpr long cdlOFNReadOnly = 1, cdlOFNOverwritePrompt = 2, cdlOFNHideReadOnly = 4;
// The error a cancelled box raises when CancelError is set.
constexpr long cdlCancel = 32755;

// What the program asks of a save box.
struct SaveFileRequest {
    std::string title;
    std::string initDir;
    std::string filter;        // "Description|pattern|Description|pattern..."
    int filterIndex = 1;       // 1-based
    long flags = 0;
    std::string fileName;      // proposed name (or path)
};

// The chosen path, or nothing when the user cancelled.
using SaveFileHandler = std::function<std::optional<std::string>(const SaveFileRequest&)>;

// Installs a handler and gives back the one it replaces; without one the QFileDialog shows.
SaveFileHandler SetSaveFileHandler(SaveFileHandler handler);

// The original's filter text as Qt's name filters: "TXT (*.txt)|*.txt" gives "TXT (*.txt)".
std::string QtNameFilters(const std::string& filter, int filterIndex, std::string* selected = nullptr);

class CommonDialog {
public:
    std::string DialogTitle, InitDir, Filter, FileName;
    int FilterIndex = 1;
    long Flags = 0;
    bool CancelError = false;

    // Shows the save box; FileName becomes the chosen path. A cancel raises cdlCancel when
    // CancelError is set, else leaves FileName as it was.
    void ShowSave();
};

}  // namespace vb
