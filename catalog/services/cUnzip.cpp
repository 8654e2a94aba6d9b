#include "catalog/services/cUnzip.h"

#include "catalog/services/mUnzip.h"
#include "platform/vb/Err.h"

#include <algorithm>
#include <cstring>
#include <limits>

std::string FullEntryName(const std::string& sFolder, const std::string& sName) {
    if (sFolder.empty() || sFolder == std::string(1, '\0')) return sName;
    std::string nome = sFolder + "/" + sName;
    std::replace(nome.begin(), nome.end(), '\\', '/');
    return nome;
}

const cUnzip::EntradaZip& cUnzip::Entry(std::int32_t index) const {
    if (index < 1 || index > count_) vb::Raise(vb::err::SubscriptOutOfRange);
    return entries_[static_cast<std::size_t>(index - 1)];
}

cUnzip::EntradaZip& cUnzip::Entry(std::int32_t index) {
    return const_cast<EntradaZip&>(static_cast<const cUnzip*>(this)->Entry(index));
}

std::int32_t cUnzip::FilePackedSize(std::int32_t index) const {
    const EntradaZip& e = Entry(index);
    const std::int64_t produto = static_cast<std::int64_t>(e.size) * e.ratio;
    if (produto > std::numeric_limits<std::int32_t>::max() ||
        produto < std::numeric_limits<std::int32_t>::min())
        vb::Raise(vb::err::Overflow);
    return static_cast<std::int32_t>(produto / 100);
}

std::int32_t cUnzip::Directory() {
    dcl_.ZipFile = zipFile_;
    dcl_.ExtractDir.clear();
    dcl_.ListOnly = 1;
    return RunUnzip(*this, dcl_, 0, {}, 0, {});
}

bool cUnzip::Unzip() {
    if (zipFile_.empty()) return false;
    std::vector<std::string> incluidos;
    bool todos = true;
    for (std::int32_t i = 1; i <= count_; ++i) {
        const EntradaZip& e = Entry(i);
        if (e.selected) incluidos.push_back(FullEntryName(e.folder, e.name));
        else todos = false;
    }
    // Every entry selected: no list at all, so the whole archive is extracted.
    if (todos) incluidos.clear();
    dcl_.ZipFile = zipFile_;
    dcl_.ListOnly = 0;
    dcl_.ExtractDir = folder_;
    const std::int32_t codigo = RunUnzip(*this, dcl_, static_cast<std::int32_t>(incluidos.size()),
                                         incluidos, 0, {});
    return codigo == uz::UZ_OK;
}

std::string cUnzip::UnzipFolder() {
    dcl_.ExtractDir = folder_;
    return folder_;
}

void cUnzip::ZipFile(const std::string& path) {
    zipFile_ = path;
    count_ = 0;
    entries_.clear();
}

void cUnzip::GetVersion(std::int32_t& lMajor, std::int32_t& lMinor, std::int32_t& lRevision,
                        vb::Date& /*dDate*/, std::string& sExtraInfo) {
    uz::VersionRecord versao;
    versao.StructLength = sizeof versao;
    std::memset(versao.Extra, ' ', sizeof versao.Extra - 1);
    std::memset(versao.Date, ' ', sizeof versao.Date - 1);
    std::memset(versao.CompressionVersion, ' ', sizeof versao.CompressionVersion - 1);
    uz::UzpVersion2(versao);
    lMajor = versao.Library.Major;
    lMinor = versao.Library.Minor;
    lRevision = versao.Library.Revision;
    sExtraInfo.assign(versao.Extra, strnlen(versao.Extra, sizeof versao.Extra));
}

void cUnzip::AddDirectoryEntry(const std::string& sFilename, const std::string& sFolder,
                               vb::Date dDate, std::int32_t lSize, std::uint32_t lCRC,
                               bool bEncrypted, std::int32_t lFactor, const std::string& sMethod) {
    EntradaZip e;
    e.name = sFilename;
    e.folder = sFolder;
    e.date = dDate;
    e.size = lSize;
    e.crc = lCRC;
    e.encrypted = bEncrypted;
    e.ratio = lFactor;
    e.method = sMethod;
    e.selected = true;
    entries_.push_back(std::move(e));
    ++count_;
}

void cUnzip::AskOverwrite(const std::string& sFile, std::int32_t& eResponse) {
    if (OverwritePrompt) OverwritePrompt(sFile, eResponse);
}

void cUnzip::ReportMessage(const std::string& sMsg) {
    if (Progress) Progress(1, sMsg);
}

void cUnzip::ReportProgress(const std::string& sMsg, bool& bCancel) {
    if (Cancel) Cancel(sMsg, bCancel);
}

void cUnzip::AskPassword(std::string& sPassword, bool& bCancel) {
    if (PasswordRequest) PasswordRequest(sPassword, bCancel);
}
