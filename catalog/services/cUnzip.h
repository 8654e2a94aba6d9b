// The unzip wrapper of the update installation: set the archive, the target folder and the
// options, optionally list the entries and select some, and extract. The unzip library
// reports back through mUnzip's callbacks, which raise this object's events.
//
// Entry names and folders use "/" as the separator.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/unzip/Unzip.h"
#include "platform/vb/DateTime.h"

class cUnzip {
public:
    // Options; each persists across runs of the same object.
    bool ExtractOnlyNewer() const { return dcl_.ExtractOnlyNewer != 0; }
    void ExtractOnlyNewer(bool value) { dcl_.ExtractOnlyNewer = value ? 1 : 0; }
    bool SpaceToUnderScore() const { return dcl_.SpaceToUnderscore != 0; }
    void SpaceToUnderScore(bool value) { dcl_.SpaceToUnderscore = value ? 1 : 0; }
    bool PromptToOverwrite() const { return dcl_.PromptToOverwrite != 0; }
    void PromptToOverwrite(bool value) { dcl_.PromptToOverwrite = value ? 1 : 0; }
    // 0 every message, 1 problems only, 2 none.
    std::int32_t MessageLevel() const { return dcl_.MessageLevel; }
    void MessageLevel(std::int32_t value) { dcl_.MessageLevel = value; }
    bool TestZip() const { return dcl_.TestOnly != 0; }
    void TestZip(bool value) { dcl_.TestOnly = value ? 1 : 0; }
    bool UseFolderNames() const { return dcl_.UseFolderNames != 0; }
    void UseFolderNames(bool value) { dcl_.UseFolderNames = value ? 1 : 0; }
    bool OverwriteExisting() const { return dcl_.OverwriteExisting != 0; }
    void OverwriteExisting(bool value) { dcl_.OverwriteExisting = value ? 1 : 0; }
    bool ConvertCRToCRLF() const { return dcl_.ConvertLineEnds != 0; }
    void ConvertCRToCRLF(bool value) { dcl_.ConvertLineEnds = value ? 1 : 0; }
    bool CaseSensitiveFileNames() const { return dcl_.CaseSensitive != 0; }
    void CaseSensitiveFileNames(bool value) { dcl_.CaseSensitive = value ? 1 : 0; }

    std::int32_t FileCount() const { return count_; }

    // Per listed entry, from 1; an index outside 1..FileCount raises 9.
    std::string Filename(std::int32_t index) const { return Entry(index).name; }
    std::string FileDirectory(std::int32_t index) const { return Entry(index).folder; }
    std::int32_t FileSize(std::int32_t index) const { return Entry(index).size; }
    // Size x ratio \ 100; raises 6 when the product overflows 32 bits.
    std::int32_t FilePackedSize(std::int32_t index) const;
    std::int32_t FileCompressionRatio(std::int32_t index) const { return Entry(index).ratio; }
    vb::Date FileDate(std::int32_t index) const { return Entry(index).date; }
    std::uint32_t FileCRC(std::int32_t index) const { return Entry(index).crc; }
    std::string FileCompressionMethod(std::int32_t index) const { return Entry(index).method; }
    bool FileEncrypted(std::int32_t index) const { return Entry(index).encrypted; }
    bool FileSelected(std::int32_t index) const { return Entry(index).selected; }
    void FileSelected(std::int32_t index, bool value) { Entry(index).selected = value; }

    // Lists the archive's entries onto the entry list (not emptied first), each selected.
    // Returns the library's code, 0 when all went well.
    std::int32_t Directory();
    // Extracts the selected entries (every entry when all or none are selected) into
    // UnzipFolder. True when the library reported success; False for an empty ZipFile. An
    // entry that cannot be written (a full disk, a refused folder) ends the run there: the
    // entries before it stay, the later ones are not touched, and the error is raised
    // (RunUnzip) with the file and the system's cause.
    bool Unzip();

    void UnzipFolder(const std::string& folder) { folder_ = folder; }
    // The names of the target's folders that the caller keeps for its whole run (told of
    // every file and folder the extraction writes); null, the default: each run reads them.
    void SetFolderNames(os::FolderNames* names) { dcl_.Names = names; }
    std::string UnzipFolder();
    std::string ZipFile() const { return zipFile_; }
    // A new archive: the entry list is emptied.
    void ZipFile(const std::string& path);

    // The unzip engine's version; dDate is left as it is.
    void GetVersion(std::int32_t& lMajor, std::int32_t& lMinor, std::int32_t& lRevision,
                    vb::Date& dDate, std::string& sExtraInfo);

    // For mUnzip's callbacks only.
    void AddDirectoryEntry(const std::string& sFilename, const std::string& sFolder, vb::Date dDate,
                           std::int32_t lSize, std::uint32_t lCRC, bool bEncrypted,
                           std::int32_t lFactor, const std::string& sMethod);
    void AskOverwrite(const std::string& sFile, std::int32_t& eResponse);
    void ReportMessage(const std::string& sMsg);
    void ReportProgress(const std::string& sMsg, bool& bCancel);
    void AskPassword(std::string& sPassword, bool& bCancel);

    // Events, raised from inside the library call.
    std::function<void(const std::string& sMsg, bool& bCancel)> Cancel;
    std::function<void(const std::string& sFIle, std::int32_t& eResponse)> OverwritePrompt;
    std::function<void(std::string& sPassword, bool& bCancel)> PasswordRequest;
    std::function<void(std::int32_t lCount, const std::string& sMsg)> Progress;

private:
    struct EntradaZip {
        std::string name;
        std::string folder;
        std::int32_t size = 0;
        std::int32_t ratio = 0;
        std::string method;
        vb::Date date = 0;
        std::uint32_t crc = 0;
        bool encrypted = false;
        bool selected = false;
    };
    const EntradaZip& Entry(std::int32_t index) const;
    EntradaZip& Entry(std::int32_t index);

    std::string zipFile_;
    std::string folder_;
    std::vector<EntradaZip> entries_;
    std::int32_t count_ = 0;
    uz::DCL dcl_;
};

// The entry's full name as the library knows it: folder "/" name ("\" read as "/").
std::string FullEntryName(const std::string& sFolder, const std::string& sName);
