// Fakes for the find-in-files tests: a Windows-style in-memory directory tree whose listings
// come in the order entries were added and carry hidden and system attributes, files held by
// another program, and a recording dialog view that can press Halt from its message pump.
#pragma once

#include "search/FindInFilesModel.h"

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace wexly::test {

class TFifFileSystem final : public IFileSystem
{
public:
    // Paths use backslashes; parent directories are made on the way.
    void AddFile(
        const std::string& path, const std::string& data, bool hidden = false, bool system = false);
    void AddDir(const std::string& path, bool hidden = false, bool system = false);
    void Lock(const std::string& path); // opening fails, as for a file in use
    int listCalls = 0;

    std::unique_ptr<IFile> Open(const std::string& path, TFileAccess access, TFileShare share,
        TFileCreate create, TFileError* error = nullptr) override;
    bool Exists(const std::string& path) override;
    bool IsDirectory(const std::string& path) override;
    bool Delete(const std::string&, TFileError* = nullptr) override { return false; }
    bool Rename(const std::string&, const std::string&, bool, TFileError* = nullptr) override
    {
        return false;
    }
    bool Copy(const std::string&, const std::string&, TFileError* = nullptr) override
    {
        return false;
    }
    bool GetWriteTime(const std::string&, TFileTime*) override { return false; }
    bool IsReadOnly(const std::string&) override { return false; }
    bool SetReadOnly(const std::string&, bool) override { return false; }
    std::vector<TDirEntry> List(const std::string& directory, const std::string& mask) override;
    std::string TempNameIn(const std::string&) override { return {}; }

private:
    struct TNode
    {
        std::string name;
        bool isDirectory = false;
        bool hidden = false;
        bool system = false;
        bool locked = false;
        std::shared_ptr<std::string> data;
        std::vector<std::string> children; // keys, in the order added
    };
    TNode* Find(const std::string& path);
    TNode& Make(const std::string& path, bool directory);
    std::map<std::string, TNode> m_nodes; // by upper-cased path without a trailing backslash
};

class TFifView final : public IFindInFilesView
{
public:
    std::vector<std::string> statuses;
    std::vector<size_t> found;
    int cleared = 0;
    int refreshed = 0;
    int pumps = 0;
    bool waitCursor = false;
    // Runs inside every ProcessMessages call, with its count (1-based).
    std::function<void(int)> onPump;

    void StatusChanged(const std::string& text) override { statuses.push_back(text); }
    void FileFound(size_t file) override { found.push_back(file); }
    void ProcessMessages() override;
    void TreeCleared() override { ++cleared; }
    void TreeRefreshed() override { ++refreshed; }
    void SetWaitCursor(bool on) override { waitCursor = on; }
};

} // namespace wexly::test
