// The names in the folders that a run writes into (an update's installation, an archive's
// unpacking), read once per folder and matched without case: the names in the update's lists
// and archives come from a system whose file names ignore case, and must land on the file
// already there under another case instead of writing a second one beside it.
//
// A folder is read when a name is first looked for in it, and kept current by what the run
// tells (Added, Removed). What another program changes meanwhile is seen by the folder's
// modification time, looked at on every search, and an answer that the file system does not
// confirm makes the folder be read again: the answers are those of a fresh listing, but a
// folder of thousands of files is listed once, not once per name. The folders of a path are
// remembered once found (Folder); a caller whose work then fails on a missing folder forgets
// them (ForgetFolders) and looks again.
#pragma once

#include <sys/types.h>

#include <ctime>
#include <string>
#include <system_error>
#include <unordered_map>
#include <vector>

namespace os {

class FolderNames {
public:
    // The name under which `name` exists in `folder`: the exact name when an entry of that
    // name exists; else, among the entries whose name is the same without case, the first in
    // name order (only folders when `onlyFolder`); "" when there is none. Names that are not
    // UTF-8 match only exactly.
    std::string Existing(const std::string& folder, const std::string& name, bool onlyFolder = false);

    // `relative` ("/" between its parts) below `base`, each part that exists written as it
    // exists (the folders among the parts before the last matched only with folders). Empty
    // parts and "." are left out; the result is `base`, a "/", then the parts.
    std::string Resolve(const std::string& base, const std::string& relative);

    // The folder of `relative`'s parts but the last, as Resolve writes it (ending with "/").
    // With `make`, the folders that exist in no case are made (a failure is told in `ec`, with
    // the folder that could not be made in `failed`). Once every folder of it exists, the
    // answer is kept for the run.
    std::string Folder(const std::string& base, const std::string& relative, bool make, std::error_code& ec,
                       std::string* failed = nullptr);
    void ForgetFolders() { folderPaths_.clear(); }

    // What the run itself did at `path` (a file or folder written, replaced or removed).
    void Added(const std::string& path, bool isFolder);
    void Removed(const std::string& path);

    // Searches that had to read a folder (for the tests).
    int Readings() const { return readings_; }

private:
    struct Entry {
        std::string name;
        bool folder = false;
    };
    struct Listing {
        bool read = false;
        dev_t device = 0;
        ino_t inode = 0;
        timespec modified{};
        // The entries by name in upper case, each list in name order.
        std::unordered_map<std::string, std::vector<Entry>> byKey;
    };

    static std::string Key(const std::string& name);
    static std::string FolderKey(const std::string& folder);
    static void Split(const std::string& path, std::string& folder, std::string& name);
    // The folder's listing, read again when the folder changed since it was read.
    Listing& Current(const std::string& folder);
    void Read(const std::string& folder, Listing& f);
    static void Stamp(const std::string& folder, Listing& f);

    std::unordered_map<std::string, Listing> folders_;
    // Folder answers by base and relative folder.
    std::unordered_map<std::string, std::string> folderPaths_;
    int readings_ = 0;
};

}  // namespace os
