// The file system of FaultVfs.h: every call goes on to SQLite's default file system (with
// that file system as its own argument, which its locking relies on); a database file with a
// fault set is opened read-only or has its writes refused.
#define SQLITE_HAS_CODEC 1
#include "platform/dao/FaultVfs.h"

#include <QFileInfo>

#include <sqlite3.h>

#include <atomic>
#include <cerrno>
#include <map>
#include <mutex>
#include <new>

namespace dao {

namespace {

std::mutex& faultsMutex() {
    static std::mutex m;
    return m;
}

std::map<std::string, FileFault>& faults() {
    static std::map<std::string, FileFault> f;
    return f;
}

std::atomic<bool> anyFault{false};

FileFault faultOf(const std::string& path) {
    if (!anyFault.load(std::memory_order_relaxed)) return FileFault::None;
    std::lock_guard<std::mutex> lock(faultsMutex());
    const auto it = faults().find(path);
    return it == faults().end() ? FileFault::None : it->second;
}

sqlite3_vfs* realVfs() {
    static sqlite3_vfs* const vfs = sqlite3_vfs_find(nullptr);
    return vfs;
}

// Ours, then the default file system's file object right behind it.
struct FaultFile {
    sqlite3_file base;
    sqlite3_file* real;
    std::string* path;   // of a main database file; nullptr for the others
};

sqlite3_file* real(sqlite3_file* f) { return reinterpret_cast<FaultFile*>(f)->real; }
const sqlite3_io_methods* realMethods(sqlite3_file* f) { return real(f)->pMethods; }

int fileClose(sqlite3_file* f) {
    auto* p = reinterpret_cast<FaultFile*>(f);
    const int rc = p->real->pMethods ? p->real->pMethods->xClose(p->real) : SQLITE_OK;
    delete p->path;
    p->path = nullptr;
    return rc;
}
int fileRead(sqlite3_file* f, void* buffer, int amount, sqlite3_int64 offset) {
    return realMethods(f)->xRead(real(f), buffer, amount, offset);
}
int fileWrite(sqlite3_file* f, const void* buffer, int amount, sqlite3_int64 offset) {
    const auto* p = reinterpret_cast<FaultFile*>(f);
    if (p->path && faultOf(*p->path) == FileFault::FullDisk) return SQLITE_FULL;
    return realMethods(f)->xWrite(real(f), buffer, amount, offset);
}
int fileTruncate(sqlite3_file* f, sqlite3_int64 size) { return realMethods(f)->xTruncate(real(f), size); }
int fileSync(sqlite3_file* f, int flags) { return realMethods(f)->xSync(real(f), flags); }
int fileSize(sqlite3_file* f, sqlite3_int64* size) { return realMethods(f)->xFileSize(real(f), size); }
int fileLock(sqlite3_file* f, int level) { return realMethods(f)->xLock(real(f), level); }
int fileUnlock(sqlite3_file* f, int level) { return realMethods(f)->xUnlock(real(f), level); }
int fileCheckReservedLock(sqlite3_file* f, int* out) { return realMethods(f)->xCheckReservedLock(real(f), out); }
int fileControl(sqlite3_file* f, int op, void* arg) { return realMethods(f)->xFileControl(real(f), op, arg); }
int fileSectorSize(sqlite3_file* f) { return realMethods(f)->xSectorSize(real(f)); }
int fileDeviceCharacteristics(sqlite3_file* f) { return realMethods(f)->xDeviceCharacteristics(real(f)); }
int fileShmMap(sqlite3_file* f, int page, int size, int extend, void volatile** pp) {
    const auto* m = realMethods(f);
    return m->iVersion >= 2 && m->xShmMap ? m->xShmMap(real(f), page, size, extend, pp) : SQLITE_IOERR;
}
int fileShmLock(sqlite3_file* f, int offset, int n, int flags) {
    const auto* m = realMethods(f);
    return m->iVersion >= 2 && m->xShmLock ? m->xShmLock(real(f), offset, n, flags) : SQLITE_IOERR;
}
void fileShmBarrier(sqlite3_file* f) {
    const auto* m = realMethods(f);
    if (m->iVersion >= 2 && m->xShmBarrier) m->xShmBarrier(real(f));
}
int fileShmUnmap(sqlite3_file* f, int deleteFlag) {
    const auto* m = realMethods(f);
    return m->iVersion >= 2 && m->xShmUnmap ? m->xShmUnmap(real(f), deleteFlag) : SQLITE_OK;
}
int fileFetch(sqlite3_file* f, sqlite3_int64 offset, int amount, void** pp) {
    const auto* m = realMethods(f);
    if (m->iVersion >= 3 && m->xFetch) return m->xFetch(real(f), offset, amount, pp);
    *pp = nullptr;
    return SQLITE_OK;
}
int fileUnfetch(sqlite3_file* f, sqlite3_int64 offset, void* p) {
    const auto* m = realMethods(f);
    return m->iVersion >= 3 && m->xUnfetch ? m->xUnfetch(real(f), offset, p) : SQLITE_OK;
}

const sqlite3_io_methods kMethods = {
    3,           fileClose,      fileRead,          fileWrite,     fileTruncate,
    fileSync,    fileSize,       fileLock,          fileUnlock,    fileCheckReservedLock,
    fileControl, fileSectorSize, fileDeviceCharacteristics,
    fileShmMap,  fileShmLock,    fileShmBarrier,    fileShmUnmap,  fileFetch,
    fileUnfetch,
};

int vfsOpen(sqlite3_vfs*, const char* name, sqlite3_file* f, int flags, int* outFlags) {
    auto* p = reinterpret_cast<FaultFile*>(f);
    p->base.pMethods = nullptr;
    p->real = reinterpret_cast<sqlite3_file*>(reinterpret_cast<char*>(p) + sizeof(FaultFile));
    p->real->pMethods = nullptr;
    p->path = nullptr;
    const bool mainDb = name && (flags & SQLITE_OPEN_MAIN_DB);
    if (name && (flags & SQLITE_OPEN_MAIN_JOURNAL)) {
        const std::string journal = name;
        const std::string suffix = "-journal";
        if (journal.size() > suffix.size() && journal.compare(journal.size() - suffix.size(), suffix.size(), suffix) == 0 &&
            faultOf(journal.substr(0, journal.size() - suffix.size())) == FileFault::FolderNotWritable) {
            errno = EACCES;
            return SQLITE_CANTOPEN;
        }
    }
    if (mainDb && (flags & SQLITE_OPEN_READWRITE) && faultOf(name) == FileFault::NoWriteAccess) {
        // As SQLite does itself when the file refuses to open for writing.
        flags = (flags & ~(SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE)) | SQLITE_OPEN_READONLY;
    }
    const int rc = realVfs()->xOpen(realVfs(), name, p->real, flags, outFlags);
    if (p->real->pMethods) {
        p->base.pMethods = &kMethods;
        if (mainDb) p->path = new (std::nothrow) std::string(name);
    }
    return rc;
}

int vfsDelete(sqlite3_vfs*, const char* name, int syncDir) { return realVfs()->xDelete(realVfs(), name, syncDir); }
int vfsAccess(sqlite3_vfs*, const char* name, int flags, int* out) {
    return realVfs()->xAccess(realVfs(), name, flags, out);
}
int vfsFullPathname(sqlite3_vfs*, const char* name, int n, char* out) {
    return realVfs()->xFullPathname(realVfs(), name, n, out);
}
void* vfsDlOpen(sqlite3_vfs*, const char* name) { return realVfs()->xDlOpen(realVfs(), name); }
void vfsDlError(sqlite3_vfs*, int n, char* message) { realVfs()->xDlError(realVfs(), n, message); }
void (*vfsDlSym(sqlite3_vfs*, void* handle, const char* symbol))(void) {
    return realVfs()->xDlSym(realVfs(), handle, symbol);
}
void vfsDlClose(sqlite3_vfs*, void* handle) { realVfs()->xDlClose(realVfs(), handle); }
int vfsRandomness(sqlite3_vfs*, int n, char* out) { return realVfs()->xRandomness(realVfs(), n, out); }
int vfsSleep(sqlite3_vfs*, int microseconds) { return realVfs()->xSleep(realVfs(), microseconds); }
int vfsCurrentTime(sqlite3_vfs*, double* out) { return realVfs()->xCurrentTime(realVfs(), out); }
int vfsGetLastError(sqlite3_vfs*, int n, char* out) { return realVfs()->xGetLastError(realVfs(), n, out); }
int vfsCurrentTimeInt64(sqlite3_vfs*, sqlite3_int64* out) {
    return realVfs()->xCurrentTimeInt64(realVfs(), out);
}

sqlite3_vfs* faultVfs() {
    static sqlite3_vfs vfs = [] {
        sqlite3_vfs v{};
        sqlite3_vfs* r = realVfs();
        // Versions 1 and 2; the system-call overrides of version 3 stay the default's own.
        v.iVersion = r->iVersion >= 2 ? 2 : 1;
        v.szOsFile = static_cast<int>(sizeof(FaultFile)) + r->szOsFile;
        v.mxPathname = r->mxPathname;
        v.zName = "zk_faults";
        v.xOpen = vfsOpen;
        v.xDelete = vfsDelete;
        v.xAccess = vfsAccess;
        v.xFullPathname = vfsFullPathname;
        v.xDlOpen = vfsDlOpen;
        v.xDlError = vfsDlError;
        v.xDlSym = vfsDlSym;
        v.xDlClose = vfsDlClose;
        v.xRandomness = vfsRandomness;
        v.xSleep = vfsSleep;
        v.xCurrentTime = vfsCurrentTime;
        v.xGetLastError = vfsGetLastError;
        if (v.iVersion >= 2) v.xCurrentTimeInt64 = vfsCurrentTimeInt64;
        return v;
    }();
    static const bool registered = [] { return sqlite3_vfs_register(&vfs, 0) == SQLITE_OK; }();
    return registered ? &vfs : nullptr;
}

}  // namespace

const char* FaultVfsName() {
    sqlite3_vfs* v = faultVfs();
    return v ? v->zName : nullptr;
}

void SetFileFaultForTesting(const std::string& path, FileFault fault) {
    faultVfs();
    const QFileInfo info(QString::fromStdString(path));
    const std::string canonical = info.exists() ? info.canonicalFilePath().toStdString() : path;
    std::lock_guard<std::mutex> lock(faultsMutex());
    if (fault == FileFault::None) faults().erase(canonical);
    else faults()[canonical] = fault;
    anyFault = !faults().empty();
}

}  // namespace dao
