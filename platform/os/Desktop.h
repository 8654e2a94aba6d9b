// The desktop's own programs: browser, help viewer, mail program.
//
// They are reached through the desktop's helpers (xdg-open, xdg-email), which are watched
// rather than waited for: the call returns once the helper has started, and the window goes
// on. A helper that ends in failure soon after is reported afterwards, from the event loop;
// one still running after HelperGraceMs is taken to be doing its work (a browser started in
// the foreground) and is left to run, also past the end of this program.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace os {

// How long a helper has to report a failure. xdg-email looking through the desktop's programs
// for a mail program took six seconds to fail on a busy machine.
constexpr int HelperGraceMs = 10000;

// Called with the exit code of a helper that failed (xdg-utils: 1 command line syntax, 2 a file
// missing, 3 a required tool not found, 4 the action failed, 5 no permission to read a file);
// one killed by a signal counts as 4. Never called during the call that started the helper,
// nor once the application has begun to quit.
using HelperFailure = std::function<void(int exitCode)>;

// Opens the address in the default browser (xdg-open; QDesktopServices::openUrl on a desktop
// without it, whose failure shows only as false). False when nothing could be started.
bool OpenUrl(const std::string& address, HelperFailure onFailure);

// Opens a file with its associated program (xdg-open); false when that cannot start, with
// the reason in whyNot when given ("xdg-open could not be started: No such file or directory").
bool OpenDocument(const std::string& path, HelperFailure onFailure, std::string* whyNot = nullptr);

// Opens the user's mail program with the files attached (xdg-email --attach).
// Raises error 48 when xdg-email is missing or cannot start, saying which and why.
void SendMailWithAttachments(const std::vector<std::string>& paths, HelperFailure onFailure);

// The whole story of a failed helper in plain words: which one, its code, and what that means
// for the work it was given ("xdg-email ended with code 3: no mail program is configured").
std::string HelperFailureText(const std::string& helper, int exitCode);

// Helpers started here whose process object still exists: running, or ended and not yet freed.
int WatchedHelpers();

}  // namespace os
