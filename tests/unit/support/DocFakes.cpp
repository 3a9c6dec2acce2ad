#include "support/DocFakes.h"

#include "config/IniFile.h"
#include "config/SettingsFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <new>

namespace wexly::test {

namespace {

bool Slash(char c)
{
    return c == '\\' || c == '/';
}

std::string Upper(std::string s)
{
    for (char& c : s)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

std::string TrimSlash(std::string s)
{
    while (s.size() > 3 && Slash(s.back()))
        s.pop_back();
    return s;
}

bool Match(const char* mask, const char* name)
{
    if (*mask == 0)
        return *name == 0;
    if (*mask == '*')
        return Match(mask + 1, name) || (*name != 0 && Match(mask, name + 1));
    if (*name == 0)
        return false;
    return (*mask == '?'
               || std::toupper(static_cast<unsigned char>(*mask))
                   == std::toupper(static_cast<unsigned char>(*name)))
        && Match(mask + 1, name + 1);
}

bool Fail(TFileError* error, const std::string& path, uint32_t code)
{
    if (error)
        *error = { code, path };
    return false;
}

// Writes go straight into the node, so a file is what its last writer left.
class TDocFile final : public IFile
{
public:
    explicit TDocFile(std::shared_ptr<TDocFileSystem::TNode> node, TFileTime* clock)
        : m_node(std::move(node))
        , m_clock(clock)
    {
    }
    int64_t Read(void* buffer, int64_t size) override
    {
        const auto n = std::min<int64_t>(size, Size() - m_pos);
        if (n <= 0)
            return 0;
        if (m_pos <= m_node->failReadAt && m_node->failReadAt < m_pos + n)
            throw std::bad_alloc();
        std::memcpy(buffer, m_node->data.data() + m_pos, static_cast<size_t>(n));
        m_pos += n;
        return n;
    }
    bool Write(const void* buffer, int64_t size) override
    {
        auto& d = m_node->data;
        if (static_cast<int64_t>(d.size()) < m_pos + size)
            d.resize(static_cast<size_t>(m_pos + size));
        std::memcpy(d.data() + m_pos, buffer, static_cast<size_t>(size));
        m_pos += size;
        m_node->time = ++*m_clock;
        return true;
    }
    bool Seek(int64_t offset) override
    {
        m_pos = offset;
        return true;
    }
    int64_t Position() const override { return m_pos; }
    int64_t Size() const override { return static_cast<int64_t>(m_node->data.size()); }
    bool Truncate() override
    {
        m_node->data.resize(static_cast<size_t>(m_pos));
        return true;
    }
    bool Flush() override { return true; }
    uint32_t LastError() const override { return 0; }

private:
    std::shared_ptr<TDocFileSystem::TNode> m_node;
    TFileTime* m_clock;
    int64_t m_pos = 0;
};

} // namespace

std::string TDocFileSystem::Key(const std::string& path)
{
    return Upper(TrimSlash(path));
}

void TDocFileSystem::AddDir(const std::string& dir)
{
    std::string d = TrimSlash(dir);
    while (!d.empty()) {
        m_dirs.insert(Key(d));
        const size_t slash = d.find_last_of("\\/");
        if (slash == std::string::npos || slash < 2)
            break;
        d = d.substr(0, slash == 2 ? 3 : slash);
        if (d.size() == 3) {
            m_dirs.insert(Key(d));
            break;
        }
    }
}

void TDocFileSystem::SetFile(const std::string& path, const std::string& data)
{
    const size_t slash = path.find_last_of("\\/");
    if (slash != std::string::npos)
        AddDir(path.substr(0, slash == 2 ? 3 : slash));
    auto& node = m_files[Key(path)];
    if (!node) {
        node = std::make_shared<TNode>();
        node->path = path;
    }
    node->data = data;
    node->time = ++m_clock;
}

std::string TDocFileSystem::Contents(const std::string& path) const
{
    auto it = m_files.find(Key(path));
    return it == m_files.end() ? std::string() : it->second->data;
}

bool TDocFileSystem::HasFile(const std::string& path) const
{
    return m_files.count(Key(path)) != 0;
}

void TDocFileSystem::Touch(const std::string& path)
{
    m_files.at(Key(path))->time = ++m_clock;
}

void TDocFileSystem::FailAllocationWhileReading(const std::string& path, int64_t at)
{
    m_files.at(Key(path))->failReadAt = at;
}

void TDocFileSystem::Lock(const std::string& path)
{
    m_files.at(Key(path))->locked = true;
}

std::unique_ptr<IFile> TDocFileSystem::Open(
    const std::string& path, TFileAccess access, TFileShare, TFileCreate create, TFileError* error)
{
    auto it = m_files.find(Key(path));
    if (it != m_files.end() && it->second->locked) {
        Fail(error, path, FileErrorCode::SharingViolation);
        return nullptr;
    }
    if (it != m_files.end() && it->second->readOnly && access != TFileAccess::Read) {
        Fail(error, path, FileErrorCode::AccessDenied);
        return nullptr;
    }
    if (it == m_files.end()) {
        if (create == TFileCreate::OpenExisting) {
            Fail(error, path, FileErrorCode::FileNotFound);
            return nullptr;
        }
        SetFile(path, "");
        it = m_files.find(Key(path));
    } else if (create == TFileCreate::CreateNew) {
        Fail(error, path, FileErrorCode::FileExists);
        return nullptr;
    } else if (create == TFileCreate::CreateAlways) {
        it->second->data.clear();
    }
    return std::make_unique<TDocFile>(it->second, &m_clock);
}

bool TDocFileSystem::IsDirectory(const std::string& path)
{
    return m_dirs.count(Key(path)) != 0;
}

bool TDocFileSystem::Delete(const std::string& path, TFileError* error)
{
    if (m_files.erase(Key(path)) == 0)
        return Fail(error, path, FileErrorCode::FileNotFound);
    return true;
}

bool TDocFileSystem::Rename(
    const std::string& oldPath, const std::string& newPath, bool replace, TFileError* error)
{
    auto it = m_files.find(Key(oldPath));
    if (it == m_files.end())
        return Fail(error, oldPath, FileErrorCode::FileNotFound);
    if (HasFile(newPath) && !replace)
        return Fail(error, newPath, FileErrorCode::AlreadyExists);
    // A file held open without sharing can neither move nor be replaced.
    if (it->second->locked)
        return Fail(error, oldPath, FileErrorCode::SharingViolation);
    if (HasFile(newPath) && m_files.at(Key(newPath))->locked)
        return Fail(error, newPath, FileErrorCode::SharingViolation);
    auto node = it->second;
    m_files.erase(it);
    node->path = newPath;
    m_files[Key(newPath)] = node;
    return true;
}

bool TDocFileSystem::Copy(const std::string& from, const std::string& to, TFileError* error)
{
    if (!HasFile(from))
        return Fail(error, from, FileErrorCode::FileNotFound);
    SetFile(to, Contents(from));
    return true;
}

bool TDocFileSystem::GetWriteTime(const std::string& path, TFileTime* time)
{
    auto it = m_files.find(Key(path));
    if (it == m_files.end())
        return false;
    *time = it->second->time;
    return true;
}

bool TDocFileSystem::IsReadOnly(const std::string& path)
{
    auto it = m_files.find(Key(path));
    return it != m_files.end() && it->second->readOnly;
}

bool TDocFileSystem::SetReadOnly(const std::string& path, bool readOnly)
{
    auto it = m_files.find(Key(path));
    if (it == m_files.end())
        return false;
    it->second->readOnly = readOnly;
    return true;
}

std::vector<TDirEntry> TDocFileSystem::List(const std::string& directory, const std::string& mask)
{
    std::vector<TDirEntry> out;
    std::string dir = Key(directory);
    if (!dir.empty() && !Slash(dir.back()))
        dir += '\\';
    for (const auto& [key, node] : m_files) {
        if (key.compare(0, dir.size(), dir) != 0 || key.find('\\', dir.size()) != std::string::npos)
            continue;
        const std::string name = node->path.substr(node->path.find_last_of("\\/") + 1);
        if (!Match(mask.c_str(), name.c_str()))
            continue;
        TDirEntry e;
        e.name = name;
        e.size = static_cast<int64_t>(node->data.size());
        e.writeTime = node->time;
        out.push_back(e);
    }
    return out;
}

std::string TDocFileSystem::TempNameIn(const std::string& directory)
{
    return directory + (directory.empty() ? "" : "\\") + "~tmp" + std::to_string(++m_temp);
}

// ---- asker, clipboard, windows ------------------------------------------------------------

TMsgResult TDocAsker::Ask(const TMessage& message)
{
    asked.push_back(message);
    if (answers.empty())
        return message.buttons == TMsgButtons::Ok ? TMsgResult::Ok : TMsgResult::Cancel;
    const TMsgResult r = answers.front();
    answers.pop_front();
    return r;
}

std::vector<std::string> TDocAsker::TakeTexts()
{
    std::vector<std::string> texts;
    for (const auto& m : asked)
        texts.push_back(m.text);
    asked.clear();
    return texts;
}

bool TDocClipboard::SetText(const std::string& t)
{
    if (failSet)
        return false;
    text = t;
    return true;
}

void TDocWindows::ShowView(TEditFile& doc, bool focus)
{
    if (focus)
        focused = &doc;
}

TButtonSize TDocWindows::MeasureButton(const TEditFile& doc)
{
    return { 8 * static_cast<int>(doc.ShortName().size()) + 30, 22 };
}

void TDocWindows::DocumentDestroyed(TEditFile& doc)
{
    destroyed.push_back(&doc);
    if (focused == &doc)
        focused = nullptr;
}

void TDocWindows::SplitChanged(bool splitOn, bool)
{
    ++splitChanges;
    splitShown = splitOn;
}

void TDocWindows::FocusTopTitleBar()
{
    ++titleBarFocused;
}

TOpenDialogResult TDocDialogs::ShowOpen(const TOpenDialogRequest&)
{
    if (opens.empty())
        return {};
    auto r = opens.front();
    opens.pop_front();
    return r;
}

TSaveDialogResult TDocDialogs::ShowSave(const TSaveDialogRequest& request)
{
    saveRequests.push_back(request);
    if (saves.empty())
        return {};
    auto r = saves.front();
    saves.pop_front();
    return r;
}

std::optional<std::string> TDocDialogs::ShowReopen(std::vector<std::string>&)
{
    if (reopens.empty())
        return std::nullopt;
    auto r = reopens.front();
    reopens.pop_front();
    return r;
}

bool TDocHost::SendToRecycleBin(const std::string& path)
{
    recycled.push_back(path);
    return true;
}

// ---- the environment ----------------------------------------------------------------------

TDocEnv::TDocEnv()
{
    TSettingsEnv env;
    env.ExePath = "C:\\prog\\wexly.exe";
    env.Files = &fs;
    ReadSettings(settings, TMemIniFile(), env);
    set = std::make_unique<TDocumentSet>(services, windows);
    set->CreateBottomView();
    history = std::make_unique<TReopenHistory>(settings.FileHistory, settings.ReopenCount);
    commands = std::make_unique<TFileCommands>(*set, services, settings, *history, dialogs, host);
    commands->SetStartDir("C:\\w\\");
    fs.AddDir("C:\\w");
}

TDocEnv::~TDocEnv() = default;

TEditFile& TDocEnv::Open(const std::string& path, bool binary)
{
    TEditFile* doc = commands->OpenFile(path, false, binary);
    EXPECT_NE(doc, nullptr) << path;
    if (!doc)
        throw std::runtime_error("not opened: " + path);
    return *doc;
}

std::vector<std::string> TDocEnv::Names() const
{
    std::vector<std::string> names;
    for (int i = 0; i < set->Count(); ++i)
        names.push_back(set->At(i).ShortName());
    return names;
}

} // namespace wexly::test
