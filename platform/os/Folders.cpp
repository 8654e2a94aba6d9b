#include "platform/os/Folders.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <cstdlib>
#include <filesystem>
#include <sys/statvfs.h>

namespace os {

namespace {

std::string& ProgramFolderOverride() {
    static std::string folder;
    return folder;
}

// Every folder goes out without a trailing "/", except the root, which is nothing but one.
std::string WithoutTrailingSlash(std::string folder) {
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    return folder;
}

}  // namespace

std::string ProgramFolder() {
    if (!ProgramFolderOverride().empty()) return ProgramFolderOverride();
    if (QCoreApplication::instance())
        return WithoutTrailingSlash(QCoreApplication::applicationDirPath().toStdString());
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) return WithoutTrailingSlash(std::filesystem::current_path(ec).string());
    return WithoutTrailingSlash(exe.parent_path().string());
}

std::string LocalAppDataFolder() {
    // The base-directory rules say a relative XDG_CONFIG_HOME is to be ignored.
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg && *xdg == '/') return WithoutTrailingSlash(xdg);
    const char* home = std::getenv("HOME");
    if (home && *home) return WithoutTrailingSlash(std::string(home) + "/.config");
    return {};
}

std::string SystemFolder() { return ProgramFolder(); }

std::string TempFolder() { return WithoutTrailingSlash(QDir::tempPath().toStdString()); }

std::string DesktopFolder() {
    const QString desktop = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    // A desktop that is not there is no place to start a save dialog in.
    if (desktop.isEmpty() || !QFileInfo(desktop).isDir()) return {};
    return WithoutTrailingSlash(desktop.toStdString());
}

bool VolumeSerial(const std::string& rootPath, std::uint32_t& serial) {
    struct statvfs info {};
    if (statvfs(rootPath.empty() ? "/" : rootPath.c_str(), &info) != 0) return false;
    serial = static_cast<std::uint32_t>(info.f_fsid & 0xFFFFFFFFu);
    return true;
}

void SetProgramFolderForTesting(const std::string& folder) {
    ProgramFolderOverride() = folder.empty() ? std::string() : WithoutTrailingSlash(folder);
}

}  // namespace os
