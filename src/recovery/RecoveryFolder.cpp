#include "recovery/RecoveryFolder.h"

#include "platform/FileReplace.h"

#include <algorithm>
#include <charconv>
#include <new>

namespace wexly {

namespace {

constexpr const char* kTempExtension = ".tmp";
constexpr int kNameAttempts = 16;

bool Fail(TFileError* error, uint32_t code, const std::string& path)
{
    if (error)
        *error = { code, path };
    return false;
}

std::string RecordName(uint32_t id, const char* extension)
{
    return kRecordPrefix + std::to_string(id) + extension;
}

// The id in "doc-<id>.wxr"; -1 for other names.
int64_t RecordId(const std::string& name)
{
    const std::string_view prefix(kRecordPrefix), ext(kRecordExtension);
    if (name.size() <= prefix.size() + ext.size() || name.compare(0, prefix.size(), prefix) != 0
        || name.compare(name.size() - ext.size(), ext.size(), ext) != 0)
        return -1;
    uint32_t id = 0;
    const char* first = name.data() + prefix.size();
    const char* last = name.data() + name.size() - ext.size();
    auto [ptr, ec] = std::from_chars(first, last, id);
    return ec == std::errc() && ptr == last ? int64_t(id) : -1;
}

// The whole file, or a problem in plain words.
bool ReadWholeFile(IFileSystem& fs, const std::string& path, std::string& bytes, std::string& why)
{
    TFileError error;
    auto file = fs.Open(
        path, TFileAccess::Read, TFileShare::DenyWrite, TFileCreate::OpenExisting, &error);
    if (!file) {
        why = "it cannot be opened (" + std::to_string(error.code) + ")";
        return false;
    }
    const int64_t size = file->Size();
    if (size < 0) {
        why = "it cannot be read";
        return false;
    }
    try {
        bytes.resize(static_cast<size_t>(size));
    } catch (const std::bad_alloc&) {
        why = "there is not enough memory to read it";
        return false;
    } catch (const std::length_error&) {
        why = "there is not enough memory to read it";
        return false;
    }
    int64_t got = 0;
    while (got < size) {
        const int64_t n = file->Read(bytes.data() + got, size - got);
        if (n <= 0)
            break;
        got += n;
    }
    if (got != size) {
        why = "it cannot be read";
        return false;
    }
    return true;
}

} // namespace

std::string JoinRecoveryPath(const std::string& dir, const std::string& name)
{
    if (dir.empty() || IsPathSeparator(dir.back()))
        return dir + name;
    return dir + PathSeparator() + name;
}

std::string RecoveryRootBeside(const std::string& settingsFile)
{
    size_t dot = settingsFile.rfind('.');
    size_t slash = settingsFile.find_last_of("\\/");
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        dot = settingsFile.size();
    return settingsFile.substr(0, dot) + ".recovery";
}

// ---- this instance's folder ----------------------------------------------------------

TRecoveryFolder::TRecoveryFolder(IFileSystem& fs, std::string root, std::string instanceName)
    : m_fs(fs)
    , m_root(std::move(root))
    , m_name(std::move(instanceName))
{
}

TRecoveryFolder::~TRecoveryFolder() = default;

bool TRecoveryFolder::Open(TFileError* error)
{
    if (IsOpen())
        return true;
    TFileError made;
    if (!m_fs.IsDirectory(m_root) && !m_fs.MakeDirectory(m_root, &made))
        return Fail(error, made.code, m_root);
    const std::string base = m_name;
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        m_name = attempt == 0 ? base : base + "-" + std::to_string(attempt + 1);
        m_path = JoinRecoveryPath(m_root, m_name);
        if (!m_fs.MakeDirectory(m_path, &made)) {
            if (made.code == FileErrorCode::AlreadyExists || made.code == FileErrorCode::FileExists)
                continue;
            return Fail(error, made.code, m_path);
        }
        // Another instance may have claimed the new folder as abandoned before the lock was
        // made; the lock then exists and this instance moves on to another name.
        m_lock = m_fs.Open(JoinRecoveryPath(m_path, kLockFileName), TFileAccess::ReadWrite,
            TFileShare::Exclusive, TFileCreate::CreateNew, &made);
        if (m_lock)
            return true;
        if (made.code != FileErrorCode::FileExists && made.code != FileErrorCode::AlreadyExists) {
            m_fs.RemoveEmptyDirectory(m_path);
            break;
        }
    }
    m_path.clear();
    return Fail(error, made.code, m_root);
}

std::string TRecoveryFolder::RecordPath(uint32_t id) const
{
    return JoinRecoveryPath(m_path, RecordName(id, kRecordExtension));
}

bool TRecoveryFolder::WriteRecord(
    uint32_t id, const TRecordInfo& info, std::string_view text, TFileError* error) const
{
    if (!IsOpen())
        return Fail(error, FileErrorCode::PathNotFound, m_root);
    const std::string temp = JoinRecoveryPath(m_path, RecordName(id, kTempExtension));
    return ReplaceFileContents(
        m_fs, RecordPath(id), { RecordHeader(info, text), text }, temp, error);
}

bool TRecoveryFolder::RemoveRecord(uint32_t id) const
{
    const std::string path = RecordPath(id);
    return !m_fs.Exists(path) || m_fs.Delete(path);
}

bool TRecoveryFolder::AdoptRecord(const std::string& recordFile, uint32_t id) const
{
    return IsOpen() && m_fs.Rename(recordFile, RecordPath(id), true);
}

void TRecoveryFolder::RemoveAll()
{
    if (!IsOpen())
        return;
    for (const TDirEntry& e : m_fs.List(m_path, "*"))
        if (!e.isDirectory && e.name != kLockFileName)
            m_fs.Delete(JoinRecoveryPath(m_path, e.name));
    m_lock.reset();
    m_fs.Delete(JoinRecoveryPath(m_path, kLockFileName));
    m_fs.RemoveEmptyDirectory(m_path);
    m_fs.RemoveEmptyDirectory(m_root); // only when no other instance has a folder there
    m_path.clear();
}

// ---- folders of ended instances ----------------------------------------------------------

TOrphanFolder::TOrphanFolder(IFileSystem& fs, std::string path, std::unique_ptr<IFile> lock)
    : m_fs(&fs)
    , m_path(std::move(path))
    , m_lock(std::move(lock))
{
}

TOrphanFolder::~TOrphanFolder() = default;
TOrphanFolder::TOrphanFolder(TOrphanFolder&&) noexcept = default;

std::vector<std::string> TOrphanFolder::RecordFiles() const
{
    std::vector<std::pair<int64_t, std::string>> found;
    for (const TDirEntry& e : m_fs->List(m_path, "*"))
        if (!e.isDirectory)
            if (int64_t id = RecordId(e.name); id >= 0)
                found.emplace_back(id, JoinRecoveryPath(m_path, e.name));
    std::sort(found.begin(), found.end());
    std::vector<std::string> files;
    for (auto& [id, file] : found)
        files.push_back(std::move(file));
    return files;
}

TRecordParse TOrphanFolder::Read(const std::string& recordFile) const
{
    std::string bytes, why;
    if (!ReadWholeFile(*m_fs, recordFile, bytes, why)) {
        TRecordParse parse;
        parse.problem = why;
        return parse;
    }
    return ParseRecord(std::move(bytes));
}

void TOrphanFolder::RemoveRecordFile(const std::string& recordFile)
{
    if (m_fs->Exists(recordFile))
        m_fs->Delete(recordFile);
}

void TOrphanFolder::Finish()
{
    if (!m_lock)
        return;
    if (!RecordFiles().empty()) {
        m_lock.reset();
        return;
    }
    // Left-overs such as a temporary file of a write the end cut short.
    for (const TDirEntry& e : m_fs->List(m_path, "*"))
        if (!e.isDirectory && e.name != kLockFileName)
            m_fs->Delete(JoinRecoveryPath(m_path, e.name));
    m_lock.reset();
    m_fs->Delete(JoinRecoveryPath(m_path, kLockFileName));
    m_fs->RemoveEmptyDirectory(m_path);
}

void TOrphanFolder::Discard()
{
    for (const std::string& file : RecordFiles())
        RemoveRecordFile(file);
    Finish();
}

std::vector<TOrphanFolder> ClaimOrphanFolders(
    IFileSystem& fs, const std::string& root, const std::string& ownName)
{
    std::vector<TOrphanFolder> claimed;
    for (const TDirEntry& e : fs.List(root, "*")) {
        if (!e.isDirectory || e.name == ownName)
            continue;
        const std::string path = JoinRecoveryPath(root, e.name);
        const std::string lockPath = JoinRecoveryPath(path, kLockFileName);
        TFileError error;
        // A running instance holds its lock open without sharing, so this fails for it.
        auto lock = fs.Open(lockPath, TFileAccess::ReadWrite, TFileShare::Exclusive,
            TFileCreate::OpenExisting, &error);
        if (!lock && error.code == FileErrorCode::FileNotFound)
            lock = fs.Open(
                lockPath, TFileAccess::ReadWrite, TFileShare::Exclusive, TFileCreate::CreateNew);
        if (lock)
            claimed.emplace_back(fs, path, std::move(lock));
    }
    return claimed;
}

} // namespace wexly
