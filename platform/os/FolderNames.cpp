#include "platform/os/FolderNames.h"

#include "platform/vb/Strings.h"
#include "platform/vb/Text.h"

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace os {

namespace {

std::string WithSlash(const std::string& folder) {
    return folder.empty() || folder.back() == '/' ? folder : folder + "/";
}

bool SameTime(const timespec& a, const timespec& b) { return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec; }

}  // namespace

std::string FolderNames::Key(const std::string& name) {
    // Bytes that are no UTF-8 would all turn into the same replacement character.
    return vb::IsValidUtf8(name) ? vb::UCase(name) : name;
}

std::string FolderNames::FolderKey(const std::string& folder) {
    std::string k = folder;
    while (k.size() > 1 && k.back() == '/') k.pop_back();
    return k.empty() ? std::string(".") : k;
}

void FolderNames::Split(const std::string& path, std::string& folder, std::string& name) {
    std::string p = path;
    while (p.size() > 1 && p.back() == '/') p.pop_back();
    const std::size_t slash = p.rfind('/');
    if (slash == std::string::npos) {
        folder.clear();
        name = p;
    } else {
        folder = p.substr(0, slash + 1);
        name = p.substr(slash + 1);
    }
}

void FolderNames::Stamp(const std::string& folder, Listing& f) {
    struct stat st {};
    if (::stat(FolderKey(folder).c_str(), &st) == 0) {
        f.device = st.st_dev;
        f.inode = st.st_ino;
        f.modified = st.st_mtim;
    } else {
        f.device = 0;
        f.inode = 0;
        f.modified = {};
    }
}

void FolderNames::Read(const std::string& folder, Listing& f) {
    ++readings_;
    // Stamped before the listing: a change made while it is read shows as a newer time.
    Stamp(folder, f);
    f.byKey.clear();
    f.read = true;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(FolderKey(folder), ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code e;
        const std::string name = it->path().filename().string();
        f.byKey[Key(name)].push_back({name, it->is_directory(e)});
    }
    for (auto& [key, entries] : f.byKey)
        std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) { return a.name < b.name; });
}

FolderNames::Listing& FolderNames::Current(const std::string& folder) {
    Listing& f = folders_[FolderKey(folder)];
    if (!f.read) {
        Read(folder, f);
        return f;
    }
    struct stat st {};
    const bool exists = ::stat(FolderKey(folder).c_str(), &st) == 0;
    if (!exists ? f.inode != 0
                : (st.st_dev != f.device || st.st_ino != f.inode || !SameTime(st.st_mtim, f.modified)))
        Read(folder, f);
    return f;
}

std::string FolderNames::Existing(const std::string& folder, const std::string& name, bool onlyFolder) {
    const std::string dir = WithSlash(folder);
    struct stat st {};
    // A folder on the way is asked of the file system by its exact name first: the folder
    // above it (the data folder, where the downloads come and go) need not be read for it.
    if (onlyFolder && ::lstat((dir + name).c_str(), &st) == 0) return name;
    Listing& f = Current(folder);
    const std::string key = Key(name);
    for (int round = 0; round < 2; ++round) {
        bool stale = false;
        if (const auto it = f.byKey.find(key); it != f.byKey.end()) {
            for (const Entry& e : it->second) {
                if (e.name != name) continue;
                // Listed, but gone (the exact name of a folder was looked for above).
                if (onlyFolder) stale = true;
                else return name;
            }
            for (const Entry& e : it->second) {
                if (e.name == name || (onlyFolder && !e.folder)) continue;
                const bool there = onlyFolder ? ::stat((dir + e.name).c_str(), &st) == 0 && S_ISDIR(st.st_mode)
                                              : ::lstat((dir + e.name).c_str(), &st) == 0;
                if (there) return e.name;
                stale = true;
            }
        }
        if (!stale) break;
        // The listing is older than the folder: read again, once.
        if (round == 0) Read(folder, f);
    }
    return {};
}

namespace {

std::vector<std::string> Parts(const std::string& relative) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (;;) {
        const std::size_t slash = relative.find('/', start);
        parts.push_back(relative.substr(start, slash == std::string::npos ? std::string::npos : slash - start));
        if (slash == std::string::npos) return parts;
        start = slash + 1;
    }
}

}  // namespace

std::string FolderNames::Folder(const std::string& base, const std::string& relative, bool make,
                                std::error_code& ec, std::string* failed) {
    ec.clear();
    const std::size_t slash = relative.rfind('/');
    std::string current = WithSlash(base);
    if (slash == std::string::npos) return current;
    const std::string folderPart = relative.substr(0, slash);
    std::string key = current;
    key += '\0';
    key += folderPart;
    if (const auto known = folderPaths_.find(key); known != folderPaths_.end()) return known->second;
    bool complete = true;
    for (const std::string& p : Parts(folderPart)) {
        if (p.empty() || p == ".") continue;
        std::string part = Existing(current, p, true);
        if (part.empty()) {
            part = p;
            if (make) {
                std::filesystem::create_directory(current + part, ec);
                if (ec) {
                    if (failed) *failed = current + part;
                    return {};
                }
                Added(current + part, true);
            } else {
                complete = false;
            }
        }
        current += part + "/";
    }
    if (complete) folderPaths_.emplace(std::move(key), current);
    return current;
}

std::string FolderNames::Resolve(const std::string& base, const std::string& relative) {
    std::error_code ec;
    std::string current = Folder(base, relative, false, ec);
    const std::size_t slash = relative.rfind('/');
    const std::string last = slash == std::string::npos ? relative : relative.substr(slash + 1);
    if (last.empty() || last == ".") return current;
    const std::string existing = Existing(current, last);
    return current + (existing.empty() ? last : existing);
}

void FolderNames::Added(const std::string& path, bool isFolder) {
    std::string folder, name;
    Split(path, folder, name);
    const auto it = folders_.find(FolderKey(folder));
    if (it == folders_.end() || !it->second.read || name.empty()) return;
    std::vector<Entry>& entries = it->second.byKey[Key(name)];
    const auto at = std::lower_bound(entries.begin(), entries.end(), name,
                                     [](const Entry& e, const std::string& n) { return e.name < n; });
    if (at != entries.end() && at->name == name) at->folder = isFolder;
    else entries.insert(at, {name, isFolder});
    Stamp(folder, it->second);
}

void FolderNames::Removed(const std::string& path) {
    std::string folder, name;
    Split(path, folder, name);
    const auto it = folders_.find(FolderKey(folder));
    if (it == folders_.end() || !it->second.read || name.empty()) return;
    if (const auto k = it->second.byKey.find(Key(name)); k != it->second.byKey.end()) {
        std::erase_if(k->second, [&](const Entry& e) { return e.name == name; });
        if (k->second.empty()) it->second.byKey.erase(k);
    }
    Stamp(folder, it->second);
}

}  // namespace os
