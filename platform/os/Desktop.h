// The desktop's own programs: browser, help viewer, mail program.
#pragma once

#include <string>
#include <vector>

namespace os {

// Opens the address in the default browser (QDesktopServices::openUrl).
bool OpenUrl(const std::string& address);

// Opens a file with its associated program (xdg-open); false when that cannot start.
bool OpenDocument(const std::string& path);

// Opens the user's mail program with the files attached (xdg-email --attach).
// Raises error 48 when xdg-email is missing.
void SendMailWithAttachments(const std::vector<std::string>& paths);

}  // namespace os
