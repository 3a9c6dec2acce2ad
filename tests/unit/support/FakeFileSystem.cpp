#include "support/FakeFileSystem.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace wexly::test {

struct TFakeOpen
{
    TFileAccess access;
    TFileShare share;
};

struct TFakeNode
{
    std::vector<uint8_t> data;
    bool readOnly = false;
    uint32_t attributes = FileAttribute::Archive; // besides read-only
    TFileTime writeTime = 0;
    std::vector<const TFakeOpen*> opens;
    uint32_t openError = 0;
    int openErrorCount = 0; // < 0: every open fails
    int64_t readFailOffset = -1;
    uint32_t readFailCode = 0;
    int64_t writeBudget = -1; // bytes that may still be written; < 0: unlimited
    uint32_t writeFailCode = 0;
};

namespace {

bool Reads(TFileAccess a)
{
    return a != TFileAccess::Write;
}
bool Writes(TFileAccess a)
{
    return a != TFileAccess::Read;
}
bool SharesRead(TFileShare s)
{
    return s == TFileShare::DenyWrite || s == TFileShare::DenyNone;
}
bool SharesWrite(TFileShare s)
{
    return s == TFileShare::DenyRead || s == TFileShare::DenyNone;
}

bool Conflicts(const TFakeOpen& held, TFileAccess access, TFileShare share)
{
    return (Reads(access) && !SharesRead(held.share))
        || (Writes(access) && !SharesWrite(held.share))
        || (Reads(held.access) && !SharesRead(share))
        || (Writes(held.access) && !SharesWrite(share));
}

bool Fail(TFileError* error, const std::string& path, uint32_t code)
{
    if (error) {
        error->code = code;
        error->path = path;
    }
    return false;
}

// * and ? without regard to case, as the directory listing matches masks.
bool MatchMask(const char* mask, const char* name)
{
    if (*mask == 0)
        return *name == 0;
    if (*mask == '*')
        return MatchMask(mask + 1, name) || (*name != 0 && MatchMask(mask, name + 1));
    if (*name == 0)
        return false;
    bool same = *mask == '?'
        || std::tolower(static_cast<unsigned char>(*mask))
            == std::tolower(static_cast<unsigned char>(*name));
    return same && MatchMask(mask + 1, name + 1);
}

class TFakeFile final : public IFile
{
public:
    TFakeFile(std::shared_ptr<TFakeNode> node, TFakeOpen open, TFileTime* clock)
        : m_node(std::move(node))
        , m_open(open)
        , m_clock(clock)
    {
        m_node->opens.push_back(&m_open);
    }
    ~TFakeFile() override { std::erase(m_node->opens, &m_open); }
    TFakeFile(const TFakeFile&) = delete;
    TFakeFile& operator=(const TFakeFile&) = delete;

    int64_t Read(void* buffer, int64_t size) override
    {
        if (!Reads(m_open.access))
            return Error(FileErrorCode::AccessDenied), -1;
        if (m_node->readFailOffset >= 0 && m_pos + size > m_node->readFailOffset)
            return Error(m_node->readFailCode), -1;
        auto total = static_cast<int64_t>(m_node->data.size());
        int64_t n = std::clamp<int64_t>(total - m_pos, 0, size);
        if (n > 0)
            std::memcpy(buffer, m_node->data.data() + m_pos, static_cast<size_t>(n));
        m_pos += n;
        return n;
    }
    bool Write(const void* buffer, int64_t size) override
    {
        if (!Writes(m_open.access))
            return Error(FileErrorCode::AccessDenied);
        if (m_node->writeBudget >= 0) {
            if (size > m_node->writeBudget) {
                m_node->writeBudget = 0;
                return Error(m_node->writeFailCode);
            }
            m_node->writeBudget -= size;
        }
        if (m_pos + size > static_cast<int64_t>(m_node->data.size()))
            m_node->data.resize(static_cast<size_t>(m_pos + size));
        std::memcpy(m_node->data.data() + m_pos, buffer, static_cast<size_t>(size));
        m_pos += size;
        m_node->writeTime = ++*m_clock;
        return true;
    }
    bool Seek(int64_t offset) override
    {
        if (offset < 0)
            return Error(131); // negative seek
        m_pos = offset;
        return true;
    }
    int64_t Position() const override { return m_pos; }
    int64_t Size() const override { return static_cast<int64_t>(m_node->data.size()); }
    bool Truncate() override
    {
        if (!Writes(m_open.access))
            return Error(FileErrorCode::AccessDenied);
        m_node->data.resize(static_cast<size_t>(m_pos));
        return true;
    }
    bool Flush() override { return true; }
    uint32_t LastError() const override { return m_lastError; }

private:
    bool Error(uint32_t code)
    {
        m_lastError = code;
        return false;
    }

    std::shared_ptr<TFakeNode> m_node;
    TFakeOpen m_open;
    TFileTime* m_clock;
    int64_t m_pos = 0;
    uint32_t m_lastError = 0;
};

} // namespace

TFakeFileSystem::TFakeFileSystem() = default;
TFakeFileSystem::~TFakeFileSystem() = default;

void TFakeFileSystem::SetFile(const std::string& path, std::vector<uint8_t> data)
{
    auto& node = m_files[path];
    if (!node)
        node = std::make_shared<TFakeNode>();
    node->data = std::move(data);
    node->writeTime = ++m_clock;
}

void TFakeFileSystem::SetFile(const std::string& path, const std::string& text)
{
    SetFile(path, std::vector<uint8_t>(text.begin(), text.end()));
}

std::string TFakeFileSystem::Contents(const std::string& path) const
{
    auto it = m_files.find(path);
    return it == m_files.end() ? std::string()
                               : std::string(it->second->data.begin(), it->second->data.end());
}

int TFakeFileSystem::OpenHandles(const std::string& path) const
{
    auto it = m_files.find(path);
    return it == m_files.end() ? 0 : static_cast<int>(it->second->opens.size());
}

void TFakeFileSystem::FailOpens(const std::string& path, uint32_t code, int count)
{
    auto& node = m_files[path];
    if (!node)
        node = std::make_shared<TFakeNode>();
    node->openError = code;
    node->openErrorCount = count;
}

void TFakeFileSystem::FailReadsFrom(const std::string& path, int64_t offset, uint32_t code)
{
    auto& node = m_files[path];
    if (!node)
        node = std::make_shared<TFakeNode>();
    node->readFailOffset = offset;
    node->readFailCode = code;
}

void TFakeFileSystem::FailWritesAfter(const std::string& path, int64_t bytes, uint32_t code)
{
    auto& node = m_files[path];
    if (!node)
        node = std::make_shared<TFakeNode>();
    node->writeBudget = bytes;
    node->writeFailCode = code;
}

void TFakeFileSystem::ClearFailures()
{
    for (auto& [path, node] : m_files) {
        node->openError = 0;
        node->openErrorCount = 0;
        node->readFailOffset = -1;
        node->writeBudget = -1;
    }
}

std::unique_ptr<IFile> TFakeFileSystem::Open(const std::string& path, TFileAccess access,
    TFileShare share, TFileCreate create, TFileError* error)
{
    auto it = m_files.find(path);
    if (it != m_files.end() && it->second->openError != 0 && it->second->openErrorCount != 0) {
        if (it->second->openErrorCount > 0)
            --it->second->openErrorCount;
        Fail(error, path, it->second->openError);
        return nullptr;
    }
    // A node made only to carry a scripted failure is not a file.
    bool exists = it != m_files.end() && it->second->writeTime != 0;
    if (!exists && (create == TFileCreate::OpenExisting))
        return Fail(error, path, FileErrorCode::FileNotFound), nullptr;
    if (exists && create == TFileCreate::CreateNew)
        return Fail(error, path, FileErrorCode::FileExists), nullptr;
    auto& node = m_files[path];
    if (!node)
        node = std::make_shared<TFakeNode>();
    if (exists && node->readOnly && (Writes(access) || create == TFileCreate::CreateAlways))
        return Fail(error, path, FileErrorCode::AccessDenied), nullptr;
    for (const TFakeOpen* held : node->opens) {
        if (Conflicts(*held, access, share))
            return Fail(error, path, FileErrorCode::SharingViolation), nullptr;
    }
    if (!exists || create == TFileCreate::CreateAlways) {
        node->data.clear();
        node->writeTime = ++m_clock;
    }
    return std::make_unique<TFakeFile>(node, TFakeOpen { access, share }, &m_clock);
}

bool TFakeFileSystem::Exists(const std::string& path)
{
    auto it = m_files.find(path);
    return it != m_files.end() && it->second->writeTime != 0;
}

bool TFakeFileSystem::IsDirectory(const std::string& path)
{
    return m_dirs.count(path) > 0;
}

bool TFakeFileSystem::MakeDirectory(const std::string& path, TFileError* error)
{
    auto it = m_files.find(path);
    if (m_dirs.count(path) || (it != m_files.end() && it->second->writeTime != 0))
        return Fail(error, path, FileErrorCode::AlreadyExists);
    if (it != m_files.end() && it->second->openError != 0 && it->second->openErrorCount != 0) {
        if (it->second->openErrorCount > 0)
            --it->second->openErrorCount;
        return Fail(error, path, it->second->openError);
    }
    m_dirs.insert(path);
    return true;
}

bool TFakeFileSystem::RemoveEmptyDirectory(const std::string& path, TFileError* error)
{
    if (!m_dirs.count(path))
        return Fail(error, path, FileErrorCode::FileNotFound);
    const std::string prefix = path + PathSeparator();
    auto inside = [&](const std::string& p) { return p.compare(0, prefix.size(), prefix) == 0; };
    for (const auto& [name, node] : m_files)
        if (node->writeTime != 0 && inside(name))
            return Fail(error, path, 145); // the directory is not empty
    for (const std::string& dir : m_dirs)
        if (inside(dir))
            return Fail(error, path, 145);
    m_dirs.erase(path);
    return true;
}

bool TFakeFileSystem::Delete(const std::string& path, TFileError* error)
{
    auto it = m_files.find(path);
    if (it == m_files.end() || it->second->writeTime == 0)
        return Fail(error, path, FileErrorCode::FileNotFound);
    if (!it->second->opens.empty())
        return Fail(error, path, FileErrorCode::SharingViolation);
    if (it->second->readOnly)
        return Fail(error, path, FileErrorCode::AccessDenied);
    m_files.erase(it);
    return true;
}

bool TFakeFileSystem::Rename(
    const std::string& oldPath, const std::string& newPath, bool replace, TFileError* error)
{
    if (!Exists(oldPath))
        return Fail(error, oldPath, FileErrorCode::FileNotFound);
    if (!m_files.at(oldPath)->opens.empty())
        return Fail(error, oldPath, FileErrorCode::SharingViolation);
    if (Exists(newPath)) {
        if (!replace)
            return Fail(error, newPath, FileErrorCode::AlreadyExists);
        if (!Delete(newPath, error))
            return false;
    }
    auto node = m_files.at(oldPath);
    m_files.erase(oldPath);
    m_files[newPath] = node;
    return true;
}

bool TFakeFileSystem::Copy(const std::string& from, const std::string& to, TFileError* error)
{
    if (!Exists(from))
        return Fail(error, from, FileErrorCode::FileNotFound);
    SetFile(to, m_files.at(from)->data);
    return true;
}

bool TFakeFileSystem::GetWriteTime(const std::string& path, TFileTime* time)
{
    if (!Exists(path))
        return false;
    *time = m_files.at(path)->writeTime;
    return true;
}

bool TFakeFileSystem::IsReadOnly(const std::string& path)
{
    return Exists(path) && m_files.at(path)->readOnly;
}

bool TFakeFileSystem::SetReadOnly(const std::string& path, bool readOnly)
{
    if (!Exists(path))
        return false;
    m_files.at(path)->readOnly = readOnly;
    return true;
}

bool TFakeFileSystem::HardLink(
    const std::string& existing, const std::string& newPath, TFileError* error)
{
    if (m_refuseHardLinks)
        return Fail(error, newPath, 1);
    if (!Exists(existing))
        return Fail(error, existing, FileErrorCode::FileNotFound);
    if (Exists(newPath))
        return Fail(error, newPath, FileErrorCode::AlreadyExists);
    m_files[newPath] = m_files.at(existing);
    return true;
}

bool TFakeFileSystem::GetAttributes(const std::string& path, uint32_t* attributes)
{
    if (!Exists(path))
        return false;
    const TFakeNode& node = *m_files.at(path);
    *attributes = node.attributes | (node.readOnly ? FileAttribute::ReadOnly : 0);
    return true;
}

bool TFakeFileSystem::SetAttributes(const std::string& path, uint32_t attributes)
{
    if (!Exists(path) || m_refuseAttributes)
        return false;
    TFakeNode& node = *m_files.at(path);
    node.readOnly = (attributes & FileAttribute::ReadOnly) != 0;
    node.attributes = attributes & ~FileAttribute::ReadOnly;
    return true;
}

void TFakeFileSystem::SetWriteTime(const std::string& path, TFileTime time)
{
    m_files.at(path)->writeTime = time;
}

std::vector<TDirEntry> TFakeFileSystem::List(const std::string& directory, const std::string& mask)
{
    std::vector<TDirEntry> entries;
    std::string prefix = directory.empty() || IsPathSeparator(directory.back())
        ? directory
        : directory + PathSeparator();
    for (const auto& [path, node] : m_files) {
        if (node->writeTime == 0 || path.compare(0, prefix.size(), prefix) != 0)
            continue;
        std::string name = path.substr(prefix.size());
        if (name.find(PathSeparator()) != std::string::npos
            || !(mask.empty() || mask == "*.*" || MatchMask(mask.c_str(), name.c_str())))
            continue;
        TDirEntry entry;
        entry.name = name;
        entry.isReadOnly = node->readOnly;
        entry.isHidden = (node->attributes & FileAttribute::Hidden) != 0;
        entry.isSystem = (node->attributes & FileAttribute::System) != 0;
        entry.size = static_cast<int64_t>(node->data.size());
        entry.writeTime = node->writeTime;
        entries.push_back(entry);
    }
    for (const std::string& dir : m_dirs) {
        if (dir.compare(0, prefix.size(), prefix) != 0)
            continue;
        std::string name = dir.substr(prefix.size());
        if (name.empty() || name.find(PathSeparator()) != std::string::npos
            || !(mask.empty() || mask == "*.*" || MatchMask(mask.c_str(), name.c_str())))
            continue;
        TDirEntry entry;
        entry.name = name;
        entry.isDirectory = true;
        entries.push_back(entry);
    }
    return entries;
}

std::string TFakeFileSystem::TempNameIn(const std::string& directory)
{
    std::string name;
    const std::string prefix
        = !directory.empty() && IsPathSeparator(directory.back()) ? directory : directory + PathSeparator();
    do {
        name = prefix + "tmp" + std::to_string(++m_tempCounter) + ".tmp";
    } while (Exists(name));
    return name;
}

} // namespace wexly::test
