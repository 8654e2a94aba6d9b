// Entry points from Qt into the program. Nothing thrown by a handler may cross into Qt:
// every event handler, timer tick and menu action runs through RunEvent, which shows an
// escaping error with the program's error box.
#pragma once

#include <functional>
#include <string>

namespace vb {

using ErrorHandler = std::function<void(long number, const std::string& description)>;

// The program installs its common error box; without one the error goes to standard
// error. Returns the handler it replaces.
ErrorHandler SetErrorHandler(ErrorHandler handler);

// Shows an error through the installed handler; a handler that fails itself falls back
// to standard error.
void ShowError(long number, const std::string& description);

// Runs f and shows what escapes it: vb::Error with its number and description, running
// out of memory as 7, any other exception as 51 ("Internal error") with its text.
void RunEvent(const std::function<void()>& f) noexcept;

// Lets pending window events run (the original's DoEvents). Returns the number of loaded forms.
int DoEvents();

// Ends the program: every window goes without its unload events and the event loops
// stop with the exit code. Before the main loop runs, main() reads EndRequested().
void End(int exitCode = 0);
bool EndRequested();
int EndExitCode();

// Sends keys to the focused control, as the original's SendKeys: plain characters and
// {DOWN}, {UP}, {LEFT}, {RIGHT}, {PGDN}, {PGUP}, {HOME}, {END}, {ENTER}, {ESC}, {TAB}.
// With wait, the keys are processed before the call returns. An unknown {name} raises 5.
void SendKeys(const std::string& keys, bool wait = false);

}  // namespace vb
