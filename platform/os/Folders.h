// Folders of the operating system, in place of the original's system calls.
// Every folder is returned without a trailing "/".
#pragma once

#include <cstdint>
#include <string>

namespace os {

std::string ProgramFolder();        // the running executable's folder (App.Path)
std::string LocalAppDataFolder();   // $XDG_CONFIG_HOME, default ~/.config; "" when it cannot be had
std::string SystemFolder();         // the program folder: Linux has no Windows system folder
std::string TempFolder();           // $TMPDIR, default /tmp
std::string DesktopFolder();        // QStandardPaths::DesktopLocation; "" when unknown

// Low 32 bits of statvfs(path).f_fsid; false when the system cannot tell.
bool VolumeSerial(const std::string& rootPath, std::uint32_t& serial);

// A path that can be handed to another program. Programs are started with their arguments as
// text, which cannot carry a folder name that is not UTF-8: such a path is given as a link of
// the same file name in a folder of this process's under the temporary folder, removed with
// its links when the program ends. Any other path comes back as it is; so does one whose link
// cannot be made.
std::string PathForOtherPrograms(const std::string& path);

// Tests point the program folder elsewhere; "" restores the executable's own.
void SetProgramFolderForTesting(const std::string& folder);

}  // namespace os
