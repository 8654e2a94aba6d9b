#include "platform/os/Folders.h"

#include "platform/vb/Text.h"

#include <QFileInfo>
#include <QStandardPaths>

#include <cstdlib>
#include <filesystem>
#include <sys/statvfs.h>
#include <unistd.h>

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
    // The link's bytes as they stand: a folder name that is not UTF-8 would not survive the
    // text conversion of the application's own folder.
    std::string exe(4096, '\0');
    const ssize_t n = ::readlink("/proc/self/exe", exe.data(), exe.size());
    if (n > 0 && static_cast<std::size_t>(n) < exe.size()) {
        exe.resize(static_cast<std::size_t>(n));
        const std::size_t barra = exe.find_last_of('/');
        if (barra != std::string::npos) return barra == 0 ? std::string("/") : exe.substr(0, barra);
    }
    std::error_code ec;
    return WithoutTrailingSlash(std::filesystem::current_path(ec).string());
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

std::string TempFolder() {
    // TMPDIR's bytes, as the system's own programs take it; a name that is not UTF-8 stays
    // whole, which the text of QDir::tempPath() would not.
    const char* tmp = std::getenv("TMPDIR");
    if (tmp && *tmp) return WithoutTrailingSlash(tmp);
    return "/tmp";
}

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

std::string PathForOtherPrograms(const std::string& path) {
    if (vb::IsValidUtf8(path)) return path;
    // One folder for the run, made on first need. The links stay while the run lasts (a mail
    // program may read its attachment long after xdg-email has returned) and go with the
    // folder at the program's end, however it ends normally (also through SIGTERM, which ends
    // it as its close does); only the process that made them takes them away.
    struct LinkFolder {
        LinkFolder() {
            // The links' own folder must be a name other programs can carry.
            const std::string temp = vb::IsValidUtf8(TempFolder()) ? TempFolder() : std::string("/tmp");
            std::string model = temp + "/zk-ligacoes-XXXXXX";
            if (::mkdtemp(model.data())) path = model;
        }
        ~LinkFolder() {
            std::error_code ec;
            if (!path.empty() && ::getpid() == owner) std::filesystem::remove_all(path, ec);
        }
        LinkFolder(const LinkFolder&) = delete;
        LinkFolder& operator=(const LinkFolder&) = delete;
        std::string path;
        const pid_t owner = ::getpid();
    };
    static const LinkFolder links;
    const std::string& folder = links.path;
    if (folder.empty()) return path;
    const std::size_t barra = path.find_last_of('/');
    std::string nome = barra == std::string::npos ? path : path.substr(barra + 1);
    if (!vb::IsValidUtf8(nome) || nome.empty()) {
        const std::size_t ponto = nome.find_last_of('.');
        const std::string extensao = ponto == std::string::npos ? "" : nome.substr(ponto);
        nome = "arquivo" + (vb::IsValidUtf8(extensao) ? extensao : "");
    }
    static int contador = 0;
    const std::string sub = folder + "/" + std::to_string(++contador);
    const std::string ligacao = sub + "/" + nome;
    std::error_code ec;
    if (!std::filesystem::create_directory(sub, ec) || ::symlink(path.c_str(), ligacao.c_str()) != 0) return path;
    return ligacao;
}

}  // namespace os
