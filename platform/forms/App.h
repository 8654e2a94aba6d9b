// The App object: where the program lives and which process it is; and the toolkit set up
// as the original platform was, for both programs.
#pragma once

#include <string>

namespace vb {

class AppObject {
public:
    std::string Path() const;     // the program folder, without a trailing "/"
    long ProcessId() const;
};

AppObject& App();

// The original's font names drawn with Debian's metric-close fonts, through Qt's font
// substitution: every font the program names by its original name gets the face the design
// was measured with. Call once the application object exists, before any window is built.
void SubstituteOriginalFonts();

// Qt's own texts (message box buttons, the file dialog) in the system's language, from the
// toolkit's translations, as the original platform took them from the system. Nothing
// changes when the toolkit has no translation for that language. Call once the application
// object exists.
void LoadToolkitTranslations();

}  // namespace vb
