// A small unzip library over libzip with a single-call interface: one option record, one
// record of callback routines, an include list and an exclude list of entry names. It lists,
// tests or extracts the entries of one archive and reports back through the callbacks,
// synchronously, on the caller's thread.
//
// Entry names use "/" (a "\" written by some archivers counts as "/" too). An entry lands on
// the file or folder already there under another case (os::FolderNames), each target folder
// read once per run. An entry whose
// name is absolute, carries a drive letter or a ".." part is never written: it is skipped
// with a message and the run ends with at least UZ_WARNING.
//
// A file or folder that cannot be written (a full disk, no permission) ends an extraction
// there with UZ_DISK_ERROR: the entries before it stay written, the later ones are not
// touched, and the callback record tells the system's error and the file it struck.
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <string>

namespace os {
class FolderNames;
}

namespace uz {

// Result codes of Wiz_SingleEntryUnzip.
constexpr int UZ_OK = 0;
constexpr int UZ_WARNING = 1;        // some entries skipped: unsafe name, no password, not replaced
constexpr int UZ_DATA_ERROR = 2;     // an entry's data is damaged (bad CRC, bad compressed data)
constexpr int UZ_NO_ARCHIVE = 9;     // the archive is missing or is not a readable ZIP archive
constexpr int UZ_BAD_PARAMETER = 10; // no archive name, or a malformed name list
constexpr int UZ_NO_MATCH = 11;      // no entry matched the include list
constexpr int UZ_DISK_ERROR = 50;    // a file or folder could not be written
constexpr int UZ_CANCELLED = 80;     // the service callback asked to stop

// Answers of the replace callback.
constexpr int UZ_REPLACE_NO = 100;   // keep the existing file
constexpr int UZ_REPLACE_YES = 102;
constexpr int UZ_REPLACE_ALL = 103;  // yes, and for every later file of this run
constexpr int UZ_REPLACE_NONE = 104; // no, and for every later file of this run

// The option record; the numbers are the fields' positions.
struct DCL {
    std::int32_t ExtractOnlyNewer = 0;     // 1: replace an existing file only when the entry is newer
    std::int32_t SpaceToUnderscore = 0;    // 2: blanks in the written names become "_"
    std::int32_t PromptToOverwrite = 0;    // 3: ask the replace callback before replacing
    std::int32_t MessageLevel = 0;         // 4: 0 every message, 1 problems only, 2 and above none
    std::int32_t Unused5 = 0;
    std::int32_t TestOnly = 0;             // 6: read and check every entry, write nothing
    std::int32_t ListOnly = 0;             // 7: report every entry to the directory callback
    std::int32_t Unused8 = 0;
    std::int32_t Unused9 = 0;
    std::int32_t UseFolderNames = 0;       // 10: recreate the entries' folders (else all flat)
    std::int32_t OverwriteExisting = 0;    // 11: replace existing files without asking
    std::int32_t ConvertLineEnds = 0;      // 12: text entries get CR LF line ends
    std::int32_t Unused13 = 0;
    std::int32_t CaseSensitive = 0;        // 14: names of the lists match case-sensitively
    std::int32_t Unused15 = 0;
    std::string ZipFile;                   // 16: the archive
    std::string ExtractDir;                // 17: the target folder (empty: the current folder)
    // Not one of the record's fields: the names of the target's folders as the caller keeps
    // them for its whole run, told of every file and folder written. Null: the run reads
    // each folder it writes into once for itself.
    os::FolderNames* Names = nullptr;
};

// The callback record. Texts are UTF-8 and NUL-terminated. Any routine may be null.
struct USERFUNCTIONS {
    // A message line; returns 0.
    int (*Print)(const char* text, unsigned long length) = nullptr;
    void (*Sound)() = nullptr;
    // An existing file would be replaced: returns one of the UZ_REPLACE_ answers.
    int (*Replace)(const char* fileName) = nullptr;
    // An encrypted entry: writes a NUL-terminated password of at most size - 1 bytes into
    // buffer and returns 0, or returns 1 to skip the entry.
    int (*Password)(char* buffer, int size, const char* prompt, const char* entryName) = nullptr;
    // One entry while listing: sizes in bytes, the packed size as a percentage of the full
    // one, the date (month, day, four-digit year, hour, minute), a flag character (blank),
    // the full name, the compression method, the CRC and 'E' for encrypted, ' ' for not.
    void (*DirectoryEntry)(unsigned long size, unsigned long packedSize, unsigned factor,
                           unsigned month, unsigned day, unsigned year, unsigned hour,
                           unsigned minute, char flag, const char* name, const char* method,
                           unsigned long crc, char encryption) = nullptr;
    // Before each entry is handled: its name and the name's length; returning 1 stops the run.
    int (*Service)(const char* name, unsigned long length) = nullptr;
    // Totals of the last run, filled in by the library.
    std::uint32_t TotalPackedSize = 0;
    std::uint32_t TotalSize = 0;
    std::uint32_t CompressionFactor = 0;
    std::uint32_t EntryCount = 0;
    std::uint16_t CommentLength = 0;
    // What ended an extraction with UZ_DISK_ERROR: the system's error number (errno) and a
    // line naming the file and the cause; 0 and empty otherwise.
    int SystemError = 0;
    std::string ErrorMessage;
};

// Lists (ListOnly), tests (TestOnly) or extracts the archive's entries. An empty include list
// takes every entry; names may hold the wildcards "*" and "?".
int Wiz_SingleEntryUnzip(int includeCount, const char* const* includeNames, int excludeCount,
                         const char* const* excludeNames, DCL& options, USERFUNCTIONS& functions);

struct VersionGroup {
    std::uint8_t Major = 0;
    std::uint8_t Minor = 0;
    std::uint8_t Revision = 0;
    std::uint8_t Unused = 0;
};

struct VersionRecord {
    std::uint32_t StructLength = 0;   // the caller sets sizeof(VersionRecord)
    std::uint32_t Flags = 0;
    char Extra[10] = {};              // the library's name
    char Date[20] = {};
    char CompressionVersion[10] = {};
    VersionGroup Format;              // the archive reader underneath (libzip)
    VersionGroup Lister;
    VersionGroup Reserved;
    VersionGroup Library;             // the unzip engine (libzip)
};

void UzpVersion2(VersionRecord& version);

// Tests only: the routine that writes an entry's bytes into its file in place of ::write,
// so that a disk filling up midway can be played; null puts ::write back.
using WriteRoutine = ssize_t (*)(int fd, const void* data, std::size_t size);
void SetWriteRoutineForTesting(WriteRoutine routine);

}  // namespace uz
