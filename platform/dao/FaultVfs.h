// Faults of the file system on purpose, for tests: the layer opens every database file through
// a thin file system over SQLite's own, which passes everything on unless a test has set a
// fault for that file. The engine then meets the fault as it would meet the real one (a full
// disk in the middle of a commit, a file the user may not change) and reacts as it would.
#pragma once

#include <string>

namespace dao {

enum class FileFault {
    None,
    // Every write into the database file (not its journal) fails as on a full disk. Acts on
    // connections already open; with the page cache kept in memory, the first such write is
    // the commit's.
    FullDisk,
    // The file opens only for reading, as one the user has no permission to change. Acts on
    // connections opened afterwards.
    NoWriteAccess,
    // The file's folder takes no new file (made read-only while the program runs): the
    // journal of the next write cannot be created, as the system refuses it (EACCES). Acts
    // on connections already open.
    FolderNotWritable,
};

// Tests only: the fault of the database file at path (an existing file, matched by its
// canonical path); None takes it away.
void SetFileFaultForTesting(const std::string& path, FileFault fault);

// The name of that file system, registered with SQLite on the first call.
const char* FaultVfsName();

}  // namespace dao
