#include "support/FindInFilesFakes.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace wexly::test {

namespace {
std::string Key(std::string path)
{
    while (path.size() > 3 && path.back() == '\\')
        path.pop_back();
    for (char& c : path)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return path;
}

bool WildMatch(const char* mask, const char* name)
{
    if (*mask == '\0')
        return *name == '\0';
    if (*mask == '*')
        return WildMatch(mask + 1, name) || (*name && WildMatch(mask, name + 1));
    if (*name == '\0')
        return false;
    if (*mask != '?'
        && std::toupper(static_cast<unsigned char>(*mask))
            != std::toupper(static_cast<unsigned char>(*name)))
        return false;
    return WildMatch(mask + 1, name + 1);
}

class TMemFile final : public IFile
{
public:
    explicit TMemFile(std::shared_ptr<std::string> data)
        : m_data(std::move(data))
    {
    }
    int64_t Read(void* buffer, int64_t size) override
    {
        const int64_t n = std::max<int64_t>(
            0, std::min<int64_t>(size, static_cast<int64_t>(m_data->size()) - m_pos));
        std::memcpy(buffer, m_data->data() + m_pos, static_cast<size_t>(n));
        m_pos += n;
        return n;
    }
    bool Write(const void*, int64_t) override { return false; }
    bool Seek(int64_t offset) override
    {
        m_pos = offset;
        return true;
    }
    int64_t Position() const override { return m_pos; }
    int64_t Size() const override { return static_cast<int64_t>(m_data->size()); }
    bool Truncate() override { return false; }
    bool Flush() override { return false; }
    uint32_t LastError() const override { return 0; }

private:
    std::shared_ptr<std::string> m_data;
    int64_t m_pos = 0;
};
}

TFifFileSystem::TNode* TFifFileSystem::Find(const std::string& path)
{
    auto it = m_nodes.find(Key(path));
    return it == m_nodes.end() ? nullptr : &it->second;
}

TFifFileSystem::TNode& TFifFileSystem::Make(const std::string& path, bool directory)
{
    const std::string key = Key(path);
    if (TNode* node = Find(key))
        return *node;
    const size_t slash = key.find_last_of('\\');
    std::string name = path;
    while (name.size() > 3 && name.back() == '\\')
        name.pop_back();
    if (slash != std::string::npos && key.size() > 3) {
        std::string parent = name.substr(0, slash == 2 ? 3 : slash);
        Make(parent, true).children.push_back(key);
        name = name.substr(slash + 1);
    }
    TNode& node = m_nodes[key];
    node.name = name;
    node.isDirectory = directory;
    return node;
}

void TFifFileSystem::AddFile(
    const std::string& path, const std::string& data, bool hidden, bool system)
{
    TNode& node = Make(path, false);
    node.data = std::make_shared<std::string>(data);
    node.hidden = hidden;
    node.system = system;
}

void TFifFileSystem::AddDir(const std::string& path, bool hidden, bool system)
{
    TNode& node = Make(path, true);
    node.hidden = hidden;
    node.system = system;
}

void TFifFileSystem::Lock(const std::string& path)
{
    if (TNode* node = Find(path))
        node->locked = true;
}

std::unique_ptr<IFile> TFifFileSystem::Open(
    const std::string& path, TFileAccess, TFileShare, TFileCreate, TFileError* error)
{
    TNode* node = Find(path);
    if (!node || node->isDirectory || node->locked) {
        if (error)
            *error = { node ? FileErrorCode::SharingViolation : FileErrorCode::FileNotFound, path };
        return nullptr;
    }
    return std::make_unique<TMemFile>(node->data);
}

bool TFifFileSystem::Exists(const std::string& path)
{
    TNode* node = Find(path);
    return node && !node->isDirectory;
}

bool TFifFileSystem::IsDirectory(const std::string& path)
{
    TNode* node = Find(path);
    return node && node->isDirectory;
}

std::vector<TDirEntry> TFifFileSystem::List(const std::string& directory, const std::string& mask)
{
    ++listCalls;
    std::vector<TDirEntry> out;
    TNode* dir = Find(directory);
    if (!dir || !dir->isDirectory)
        return out;
    for (const std::string& key : dir->children) {
        const TNode& node = m_nodes.at(key);
        if (mask != "*.*" && !WildMatch(mask.c_str(), node.name.c_str()))
            continue;
        TDirEntry e;
        e.name = node.name;
        e.isDirectory = node.isDirectory;
        e.isHidden = node.hidden;
        e.isSystem = node.system;
        e.size = node.data ? static_cast<int64_t>(node.data->size()) : 0;
        out.push_back(e);
    }
    return out;
}

void TFifView::ProcessMessages()
{
    ++pumps;
    if (onPump)
        onPump(pumps);
}

} // namespace wexly::test
