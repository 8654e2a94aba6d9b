// The unzip library over libzip. Each entry is written to a temporary file beside its
// target and renamed over it only when all of it was read and checked, so a damaged entry
// never replaces a good file and never leaves half a file behind. A file that cannot be
// written stops the extraction there: on a full disk or a refused folder the later entries
// stay as they were, and the caller learns where and why it stopped.
#include "platform/unzip/Unzip.h"

#include "platform/os/FolderNames.h"

#include <zip.h>

#include <fcntl.h>
#include <fnmatch.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <string_view>
#include <system_error>
#include <vector>

namespace uz {

namespace fs = std::filesystem;

namespace {

std::string Normalise(std::string name) {
    std::replace(name.begin(), name.end(), '\\', '/');
    return name;
}

// Splits an entry name into the parts of a path below the target folder. False for a name
// that would reach outside it: absolute, with a drive letter, or with a ".." part.
bool SafeParts(const std::string& name, std::vector<std::string>& parts) {
    parts.clear();
    if (name.empty() || name.front() == '/') return false;
    if (name.size() >= 2 && std::isalpha(static_cast<unsigned char>(name[0])) && name[1] == ':')
        return false;
    std::size_t start = 0;
    while (start <= name.size()) {
        std::size_t end = name.find('/', start);
        if (end == std::string::npos) end = name.size();
        const std::string part = name.substr(start, end - start);
        start = end + 1;
        if (part.empty() || part == ".") continue;
        if (part == "..") return false;
        parts.push_back(part);
    }
    return true;
}

bool NameMatches(const std::string& pattern, const std::string& name, bool caseSensitive) {
    if (caseSensitive ? pattern == name : strcasecmp(pattern.c_str(), name.c_str()) == 0)
        return true;
    return fnmatch(pattern.c_str(), name.c_str(), caseSensitive ? 0 : FNM_CASEFOLD) == 0;
}

const char* MethodName(std::uint16_t method) {
    switch (method) {
    case ZIP_CM_STORE: return "Stored";
    case ZIP_CM_SHRINK: return "Shrunk";
    case ZIP_CM_IMPLODE: return "Imploded";
    case ZIP_CM_DEFLATE: return "Deflated";
    case ZIP_CM_DEFLATE64: return "Deflate64";
    case ZIP_CM_BZIP2: return "BZip2";
    case ZIP_CM_LZMA: return "LZMA";
    case ZIP_CM_XZ: return "XZ";
    case 93: return "Zstd";
    default: return "Unknown";
    }
}

bool LooksLikeText(const std::string& data) {
    for (unsigned char c : data)
        if (c < 0x20 && c != '\t' && c != '\r' && c != '\n' && c != '\f' && c != 0x1A) return false;
    return true;
}

std::string ToCrLf(const std::string& data) {
    std::string out;
    out.reserve(data.size() + data.size() / 16);
    for (std::size_t i = 0; i < data.size(); ++i) {
        const char c = data[i];
        if (c == '\r') {
            out += "\r\n";
            if (i + 1 < data.size() && data[i + 1] == '\n') ++i;
        } else if (c == '\n') {
            out += "\r\n";
        } else {
            out += c;
        }
    }
    return out;
}

WriteRoutine writeRoutine = nullptr;

ssize_t WriteBytes(int fd, const void* data, std::size_t size) {
    return writeRoutine ? writeRoutine(fd, data, size) : ::write(fd, data, size);
}

// The errno of a failed file system call reported through an error_code.
int SystemErrorOf(const std::error_code& ec) {
    return ec.category() == std::generic_category() || ec.category() == std::system_category() ? ec.value() : EIO;
}

mode_t FileMode() {
    static const mode_t mode = [] {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        return static_cast<mode_t>(0666 & ~mask);
    }();
    return mode;
}

class Run {
public:
    Run(DCL& options, USERFUNCTIONS& functions)
        : o_(options), f_(functions), names_(options.Names ? *options.Names : ownNames_) {}

    int Execute(int includeCount, const char* const* includeNames, int excludeCount,
                const char* const* excludeNames);

private:
    void Message(bool problem, const std::string& text) {
        if (!f_.Print || o_.MessageLevel >= 2 || (o_.MessageLevel == 1 && !problem)) return;
        f_.Print(text.c_str(), static_cast<unsigned long>(text.size()));
    }
    void Note(int code) { result_ = std::max(result_, code); }
    // A file or folder that could not be written: the run stops at it, and the first such
    // failure is what the caller is told.
    void DiskFailure(const std::string& what, int error) {
        const std::string text = what + ": " + std::strerror(error);
        Message(true, "  error:  " + text);
        Note(UZ_DISK_ERROR);
        if (!stopped_) {
            f_.SystemError = error;
            f_.ErrorMessage = text;
        }
        stopped_ = true;
    }

    // The archives come from a system whose file names ignore case: an entry lands on the
    // file or folder already there under another case ("FG001_01.png" for "fg001_01.png"),
    // as the update's list entries do, instead of writing a second file beside it. The exact
    // name wins; among several matches the first in name order, and only folders for the
    // parts that must be folders.
    fs::path ExistingCase(const fs::path& base, const fs::path& relative, bool folder);
    // Folders made below base: the names learn them.
    void FoldersMade(const fs::path& base, const fs::path& folder);
    bool Selected(const std::string& name);
    void List(zip_uint64_t index, const zip_stat_t& st, const std::string& name);
    void Test(zip_uint64_t index, const std::string& name, bool encrypted);
    void Extract(zip_uint64_t index, const zip_stat_t& st, const std::string& name);
    // Opens the entry, asking for a password when it is encrypted; null when skipped.
    zip_file_t* Open(zip_uint64_t index, const std::string& name, bool encrypted);
    bool MayReplace(const fs::path& target, const zip_stat_t& st);
    // Reads the whole entry through `sink`; False (with a message) when its data are bad.
    template <class Sink>
    bool ReadAll(zip_file_t* file, const std::string& name, Sink sink);

    DCL& o_;
    USERFUNCTIONS& f_;
    os::FolderNames ownNames_;
    os::FolderNames& names_;
    zip_t* archive_ = nullptr;
    int result_ = UZ_OK;
    bool replaceAll_ = false;
    bool replaceNone_ = false;
    bool stopped_ = false;
    std::vector<std::string> includes_;
    std::vector<std::string> excludes_;
    std::vector<bool> matched_;
};

fs::path Run::ExistingCase(const fs::path& base, const fs::path& relative, bool folder) {
    const std::vector<fs::path> parts(relative.begin(), relative.end());
    std::size_t lastName = parts.size();
    for (std::size_t i = 0; i < parts.size(); ++i)
        if (!parts[i].empty() && parts[i] != ".") lastName = i;
    fs::path current = base;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        const std::string part = parts[i].string();
        if (part.empty() || part == ".") {
            current /= parts[i];
            continue;
        }
        const std::string existing = names_.Existing(current.string(), part, folder || i != lastName);
        current /= existing.empty() ? part : existing;
    }
    return current;
}

void Run::FoldersMade(const fs::path& base, const fs::path& folder) {
    auto bare = [](const fs::path& p) { return p.has_filename() || p == p.root_path() ? p : p.parent_path(); };
    const fs::path stop = bare(base);
    for (fs::path p = bare(folder); !p.empty() && p != stop && p != p.parent_path(); p = p.parent_path())
        names_.Added(p.string(), true);
}

bool Run::Selected(const std::string& name) {
    bool in = includes_.empty();
    for (std::size_t i = 0; i < includes_.size(); ++i) {
        if (NameMatches(includes_[i], name, o_.CaseSensitive != 0)) {
            matched_[i] = true;
            in = true;
        }
    }
    if (!in) return false;
    for (const std::string& pattern : excludes_)
        if (NameMatches(pattern, name, o_.CaseSensitive != 0)) return false;
    return true;
}

void Run::List(zip_uint64_t /*index*/, const zip_stat_t& st, const std::string& name) {
    if (!f_.DirectoryEntry) return;
    std::tm when{};
    const std::time_t mtime = (st.valid & ZIP_STAT_MTIME) ? st.mtime : 0;
    localtime_r(&mtime, &when);
    const unsigned long size = static_cast<unsigned long>(st.size);
    const unsigned long packed = static_cast<unsigned long>(st.comp_size);
    const unsigned factor =
        st.size == 0 ? 0 : static_cast<unsigned>(std::min<zip_uint64_t>(st.comp_size * 100 / st.size, 999));
    const bool encrypted = (st.valid & ZIP_STAT_ENCRYPTION_METHOD) && st.encryption_method != ZIP_EM_NONE;
    f_.DirectoryEntry(size, packed, factor, static_cast<unsigned>(when.tm_mon + 1),
                      static_cast<unsigned>(when.tm_mday), static_cast<unsigned>(when.tm_year + 1900),
                      static_cast<unsigned>(when.tm_hour), static_cast<unsigned>(when.tm_min), ' ',
                      name.c_str(), MethodName(st.comp_method), static_cast<unsigned long>(st.crc),
                      encrypted ? 'E' : ' ');
}

zip_file_t* Run::Open(zip_uint64_t index, const std::string& name, bool encrypted) {
    if (!encrypted) {
        zip_file_t* file = zip_fopen_index(archive_, index, 0);
        if (!file) {
            Message(true, "  error:  " + name + ": " + zip_strerror(archive_));
            Note(UZ_DATA_ERROR);
        }
        return file;
    }
    if (!f_.Password) {
        Message(true, "  skipping: " + name + ": encrypted, no password");
        Note(UZ_WARNING);
        return nullptr;
    }
    for (int attempt = 0; attempt < 3; ++attempt) {
        char buffer[256] = {};
        const std::string prompt = name + " password: ";
        if (f_.Password(buffer, static_cast<int>(sizeof buffer), prompt.c_str(), name.c_str()) != 0) {
            Message(true, "  skipping: " + name + ": no password given");
            Note(UZ_WARNING);
            return nullptr;
        }
        buffer[sizeof buffer - 1] = '\0';
        if (zip_file_t* file = zip_fopen_index_encrypted(archive_, index, 0, buffer)) return file;
        if (zip_error_code_zip(zip_get_error(archive_)) != ZIP_ER_WRONGPASSWD) {
            Message(true, "  error:  " + name + ": " + zip_strerror(archive_));
            Note(UZ_DATA_ERROR);
            return nullptr;
        }
    }
    Message(true, "  skipping: " + name + ": incorrect password");
    Note(UZ_WARNING);
    return nullptr;
}

template <class Sink>
bool Run::ReadAll(zip_file_t* file, const std::string& name, Sink sink) {
    char buffer[65536];
    for (;;) {
        const zip_int64_t n = zip_fread(file, buffer, sizeof buffer);
        if (n < 0) {
            Message(true, "  error:  " + name + ": " + zip_error_strerror(zip_file_get_error(file)));
            Note(UZ_DATA_ERROR);
            return false;
        }
        if (n == 0) return true;
        if (!sink(buffer, static_cast<std::size_t>(n))) return false;
    }
}

void Run::Test(zip_uint64_t index, const std::string& name, bool encrypted) {
    if (!name.empty() && name.back() == '/') return;
    zip_file_t* file = Open(index, name, encrypted);
    if (!file) return;
    const bool good = ReadAll(file, name, [](const char*, std::size_t) { return true; });
    zip_fclose(file);
    if (good) Message(false, "    testing: " + name + "   OK");
}

bool Run::MayReplace(const fs::path& target, const zip_stat_t& st) {
    if (o_.ExtractOnlyNewer) {
        struct stat existing {};
        if (::stat(target.c_str(), &existing) == 0 && (st.valid & ZIP_STAT_MTIME) &&
            existing.st_mtime >= st.mtime)
            return false;
        return true;
    }
    if (o_.OverwriteExisting || replaceAll_) return true;
    if (replaceNone_ || !o_.PromptToOverwrite || !f_.Replace) return false;
    switch (f_.Replace(target.c_str())) {
    case UZ_REPLACE_YES: return true;
    case UZ_REPLACE_ALL: replaceAll_ = true; return true;
    case UZ_REPLACE_NONE: replaceNone_ = true; return false;
    default: return false;
    }
}

void Run::Extract(zip_uint64_t index, const zip_stat_t& st, const std::string& name) {
    std::vector<std::string> parts;
    if (!SafeParts(name, parts)) {
        Message(true, "  skipping: " + name + ": the name leads outside the target folder");
        Note(UZ_WARNING);
        return;
    }
    const bool folder = name.back() == '/';
    if (folder && !o_.UseFolderNames) return;
    if (parts.empty()) return;

    fs::path relative;
    if (o_.UseFolderNames) {
        for (const std::string& part : parts) relative /= part;
    } else {
        relative = parts.back();
    }
    std::string written = relative.string();
    if (o_.SpaceToUnderscore) std::replace(written.begin(), written.end(), ' ', '_');
    const fs::path base = fs::path(o_.ExtractDir.empty() ? "." : o_.ExtractDir).lexically_normal();
    const fs::path target = ExistingCase(base, fs::path(written).lexically_normal(), folder);
    // Belt and braces: whatever the name held, the target stays below the folder.
    const fs::path inside = target.lexically_relative(base);
    if (inside.empty() || *inside.begin() == "..") {
        Message(true, "  skipping: " + name + ": the name leads outside the target folder");
        Note(UZ_WARNING);
        return;
    }

    std::error_code ec;
    if (folder) {
        const bool made = fs::create_directories(target, ec);
        if (ec && !fs::is_directory(target)) {
            DiskFailure("cannot create " + target.string(), SystemErrorOf(ec));
        } else {
            if (made) FoldersMade(base, target);
            Message(false, "   creating: " + target.string());
        }
        return;
    }

    const fs::file_status status = fs::symlink_status(target, ec);
    if (fs::exists(status)) {
        if (fs::is_directory(status)) {
            Message(true, "  error:  " + target.string() + " is a folder");
            Note(UZ_WARNING);
            return;
        }
        if (!MayReplace(target, st)) {
            Message(false, "  skipping: " + target.string() + " (exists)");
            return;
        }
    }
    const bool made = fs::create_directories(target.parent_path(), ec);
    if (ec && !fs::is_directory(target.parent_path())) {
        DiskFailure("cannot create " + target.parent_path().string(), SystemErrorOf(ec));
        return;
    }
    if (made) FoldersMade(base, target.parent_path());

    const bool encrypted = (st.valid & ZIP_STAT_ENCRYPTION_METHOD) && st.encryption_method != ZIP_EM_NONE;
    zip_file_t* file = Open(index, name, encrypted);
    if (!file) return;

    // A short name, so that even an entry name at the length limit leaves room for it.
    std::string temporary = (target.parent_path() / ".zkpartXXXXXX").string();
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0) {
        const int error = errno;
        zip_fclose(file);
        DiskFailure("cannot write " + target.string(), error);
        return;
    }
    int writeError = 0;   // the errno of the failed write, close or rename
    auto writeAll = [&](const char* data, std::size_t size) {
        while (size > 0) {
            const ssize_t n = WriteBytes(fd, data, size);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) {
                writeError = n < 0 ? errno : ENOSPC;
                return false;
            }
            data += n;
            size -= static_cast<std::size_t>(n);
        }
        return true;
    };
    bool good;
    if (o_.ConvertLineEnds) {
        std::string data;
        good = ReadAll(file, name, [&](const char* p, std::size_t n) {
            data.append(p, n);
            return true;
        });
        if (good) {
            if (LooksLikeText(data)) data = ToCrLf(data);
            good = writeAll(data.data(), data.size());
        }
    } else {
        good = ReadAll(file, name, writeAll);
    }
    zip_fclose(file);
    if (good) {
        ::fchmod(fd, FileMode());
        if (st.valid & ZIP_STAT_MTIME) {
            const timespec times[2] = {{st.mtime, 0}, {st.mtime, 0}};
            ::futimens(fd, times);
        }
    }
    if (::close(fd) != 0 && good) {
        writeError = errno;
        good = false;
    }
    if (good && std::rename(temporary.c_str(), target.c_str()) != 0) {
        writeError = errno;
        good = false;
    }
    if (!good) {
        ::unlink(temporary.c_str());
        if (writeError != 0) DiskFailure("cannot write " + target.string(), writeError);
        return;
    }
    names_.Added(target.string(), false);
    Message(false, "  inflating: " + target.string());
}

int Run::Execute(int includeCount, const char* const* includeNames, int excludeCount,
                 const char* const* excludeNames) {
    if (o_.ZipFile.empty() || includeCount < 0 || excludeCount < 0 ||
        (includeCount > 0 && !includeNames) || (excludeCount > 0 && !excludeNames))
        return UZ_BAD_PARAMETER;
    for (int i = 0; i < includeCount; ++i) {
        if (!includeNames[i]) return UZ_BAD_PARAMETER;
        includes_.push_back(Normalise(includeNames[i]));
    }
    for (int i = 0; i < excludeCount; ++i) {
        if (!excludeNames[i]) return UZ_BAD_PARAMETER;
        excludes_.push_back(Normalise(excludeNames[i]));
    }
    matched_.assign(includes_.size(), false);
    f_.TotalPackedSize = f_.TotalSize = f_.CompressionFactor = f_.EntryCount = 0;
    f_.CommentLength = 0;
    f_.SystemError = 0;
    f_.ErrorMessage.clear();

    // An empty file is no archive (the smallest one has 22 bytes): a download that brought
    // nothing must not pass for an archive with nothing in it.
    struct stat info {};
    if (::stat(o_.ZipFile.c_str(), &info) == 0 && S_ISREG(info.st_mode) && info.st_size == 0) {
        Message(true, "  error:  " + o_.ZipFile + " is empty");
        return UZ_NO_ARCHIVE;
    }
    int error = 0;
    archive_ = zip_open(o_.ZipFile.c_str(), ZIP_RDONLY | ZIP_CHECKCONS, &error);
    if (!archive_) {
        zip_error_t e;
        zip_error_init_with_code(&e, error);
        Message(true, "  error:  cannot open " + o_.ZipFile + ": " + zip_error_strerror(&e));
        zip_error_fini(&e);
        return UZ_NO_ARCHIVE;
    }
    int commentLength = 0;
    if (zip_get_archive_comment(archive_, &commentLength, 0))
        f_.CommentLength = static_cast<std::uint16_t>(std::min(commentLength, 65535));

    std::uint64_t totalSize = 0;
    std::uint64_t totalPacked = 0;
    const zip_int64_t count = zip_get_num_entries(archive_, 0);
    bool any = false;
    for (zip_int64_t i = 0; i < count; ++i) {
        const auto index = static_cast<zip_uint64_t>(i);
        zip_stat_t st;
        if (zip_stat_index(archive_, index, 0, &st) != 0 || !(st.valid & ZIP_STAT_NAME)) {
            Message(true, "  error:  entry " + std::to_string(i + 1) + ": " + zip_strerror(archive_));
            Note(UZ_DATA_ERROR);
            continue;
        }
        const std::string name = Normalise(st.name);
        if (!Selected(name)) continue;
        any = true;
        if (f_.Service && f_.Service(name.c_str(), static_cast<unsigned long>(name.size())) == 1) {
            Message(true, "  cancelled");
            Note(UZ_CANCELLED);
            break;
        }
        totalSize += st.size;
        totalPacked += st.comp_size;
        ++f_.EntryCount;
        const bool encrypted = (st.valid & ZIP_STAT_ENCRYPTION_METHOD) && st.encryption_method != ZIP_EM_NONE;
        if (o_.ListOnly) List(index, st, name);
        else if (o_.TestOnly) Test(index, name, encrypted);
        else Extract(index, st, name);
        if (stopped_) break;
    }
    zip_discard(archive_);
    archive_ = nullptr;

    f_.TotalSize = static_cast<std::uint32_t>(std::min<std::uint64_t>(totalSize, UINT32_MAX));
    f_.TotalPackedSize = static_cast<std::uint32_t>(std::min<std::uint64_t>(totalPacked, UINT32_MAX));
    f_.CompressionFactor = totalSize == 0 ? 0 : static_cast<std::uint32_t>(totalPacked * 100 / totalSize);

    if (result_ != UZ_CANCELLED) {
        for (std::size_t i = 0; i < includes_.size(); ++i) {
            if (!matched_[i]) {
                Message(true, "  caution: " + includes_[i] + " not found in " + o_.ZipFile);
                Note(UZ_WARNING);
            }
        }
        if (!includes_.empty() && !any) Note(UZ_NO_MATCH);
    }
    return result_;
}

}  // namespace

int Wiz_SingleEntryUnzip(int includeCount, const char* const* includeNames, int excludeCount,
                         const char* const* excludeNames, DCL& options, USERFUNCTIONS& functions) {
    Run run(options, functions);
    return run.Execute(includeCount, includeNames, excludeCount, excludeNames);
}

void SetWriteRoutineForTesting(WriteRoutine routine) { writeRoutine = routine; }

void UzpVersion2(VersionRecord& version) {
    version.Flags = 0;
    std::snprintf(version.Extra, sizeof version.Extra, "%s", "libzip");
    std::snprintf(version.Date, sizeof version.Date, "%s", __DATE__);
    version.CompressionVersion[0] = '\0';
    unsigned major = 0, minor = 0, revision = 0;
    std::sscanf(zip_libzip_version(), "%u.%u.%u", &major, &minor, &revision);
    version.Format = {static_cast<std::uint8_t>(major), static_cast<std::uint8_t>(minor),
                      static_cast<std::uint8_t>(revision), 0};
    version.Lister = version.Format;
    version.Reserved = {};
    version.Library = version.Format;
}

}  // namespace uz
