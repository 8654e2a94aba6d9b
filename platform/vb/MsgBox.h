// The message box seam: the program shows a QMessageBox (installed by the forms layer),
// tests install a fake that records the box and answers it.
#pragma once

#include <functional>
#include <string>

namespace vb {

// Buttons and icons, as the original's constants.
constexpr int vbOKOnly = 0, vbOKCancel = 1, vbAbortRetryIgnore = 2, vbYesNoCancel = 3,
              vbYesNo = 4, vbRetryCancel = 5;
constexpr int vbCritical = 16, vbQuestion = 32, vbExclamation = 48, vbInformation = 64;
constexpr int vbDefaultButton2 = 256;
// Answers.
constexpr int vbOK = 1, vbCancel = 2, vbAbort = 3, vbRetry = 4, vbIgnore = 5, vbYes = 6, vbNo = 7;

using MsgBoxHandler = std::function<int(const std::string& prompt, int buttons,
                                        const std::string& title)>;

// Shows the box through the installed handler. Without one (a program without windows)
// the box goes to standard error and the answer is the first button's.
int MsgBox(const std::string& prompt, int buttons = vbOKOnly, const std::string& title = {});

// Installs a handler and gives back the one it replaces.
MsgBoxHandler SetMsgBoxHandler(MsgBoxHandler handler);

}  // namespace vb
