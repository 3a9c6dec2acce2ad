// An in-memory file system for the settings tests, with failures that can be switched on:
// a disk that fills up after some bytes, a refused rename, files that cannot be opened.
#pragma once

#include "platform/Files.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <new>
#include <set>
#include <string>
#include <vector>

namespace wexly::test {

class TMemFileSystem final : public IFileSystem
{
public:
    std::map<std::string, std::string> files;
    std::set<std::string> readOnly;
    std::map<std::string, uint32_t> openFailures; // path -> error code on every open
    int64_t diskSpace = -1; // bytes that can still be written; -1 unlimited
    uint32_t renameFailure = 0; // error code, 0 for none
    bool readRunsOutOfMemory = false; // Read throws std::bad_alloc
    int renames = 0;

    std::unique_ptr<IFile> Open(const std::string& path, TFileAccess access, TFileShare,
        TFileCreate create, TFileError* error) override
    {
        auto fail = [&](uint32_t code) -> std::unique_ptr<IFile> {
            if (error)
                *error = { code, path };
            return nullptr;
        };
        if (auto it = openFailures.find(path); it != openFailures.end())
            return fail(it->second);
        bool exists = files.count(path) != 0;
        if (create == TFileCreate::OpenExisting && !exists)
            return fail(FileErrorCode::FileNotFound);
        if (create == TFileCreate::CreateNew && exists)
            return fail(FileErrorCode::FileExists);
        if (access != TFileAccess::Read && readOnly.count(path))
            return fail(FileErrorCode::AccessDenied);
        if (create == TFileCreate::CreateAlways || create == TFileCreate::CreateNew)
            files[path].clear();
        else
            files[path];
        return std::make_unique<TMemFile>(*this, path);
    }
    bool Exists(const std::string& path) override { return files.count(path) != 0; }
    bool IsDirectory(const std::string&) override { return false; }
    bool Delete(const std::string& path, TFileError* error) override
    {
        if (files.erase(path))
            return true;
        if (error)
            *error = { FileErrorCode::FileNotFound, path };
        return false;
    }
    bool Rename(const std::string& oldPath, const std::string& newPath, bool replace,
        TFileError* error) override
    {
        ++renames;
        uint32_t code = renameFailure;
        if (!code && !files.count(oldPath))
            code = FileErrorCode::FileNotFound;
        if (!code && !replace && files.count(newPath))
            code = FileErrorCode::AlreadyExists;
        if (code) {
            if (error)
                *error = { code, oldPath };
            return false;
        }
        std::string data = std::move(files[oldPath]);
        files.erase(oldPath);
        files[newPath] = std::move(data);
        return true;
    }
    bool Copy(const std::string& from, const std::string& to, TFileError*) override
    {
        files[to] = files.at(from);
        return true;
    }
    bool GetWriteTime(const std::string&, TFileTime*) override { return false; }
    bool IsReadOnly(const std::string& path) override { return readOnly.count(path) != 0; }
    bool SetReadOnly(const std::string& path, bool on) override
    {
        if (on)
            readOnly.insert(path);
        else
            readOnly.erase(path);
        return true;
    }
    std::vector<TDirEntry> List(const std::string&, const std::string&) override { return {}; }
    std::string TempNameIn(const std::string& directory) override
    {
        return directory + "tmp" + std::to_string(++m_tempCounter) + ".tmp";
    }

private:
    class TMemFile final : public IFile
    {
    public:
        TMemFile(TMemFileSystem& fs, std::string path)
            : m_fs(fs)
            , m_path(std::move(path))
        {
        }
        int64_t Read(void* buffer, int64_t size) override
        {
            if (m_fs.readRunsOutOfMemory)
                throw std::bad_alloc();
            const std::string& data = m_fs.files[m_path];
            int64_t n = std::min<int64_t>(size, static_cast<int64_t>(data.size()) - m_pos);
            if (n <= 0)
                return 0;
            std::memcpy(buffer, data.data() + m_pos, static_cast<size_t>(n));
            m_pos += n;
            return n;
        }
        bool Write(const void* buffer, int64_t size) override
        {
            std::string& data = m_fs.files[m_path];
            int64_t n = size;
            if (m_fs.diskSpace >= 0 && n > m_fs.diskSpace)
                n = m_fs.diskSpace;
            data.resize(static_cast<size_t>(m_pos));
            data.append(static_cast<const char*>(buffer), static_cast<size_t>(n));
            m_pos += n;
            if (m_fs.diskSpace >= 0)
                m_fs.diskSpace -= n;
            if (n < size) {
                m_error = FileErrorCode::DiskFull;
                return false;
            }
            return true;
        }
        bool Seek(int64_t offset) override
        {
            m_pos = offset;
            return true;
        }
        int64_t Position() const override { return m_pos; }
        int64_t Size() const override { return static_cast<int64_t>(m_fs.files[m_path].size()); }
        bool Truncate() override
        {
            m_fs.files[m_path].resize(static_cast<size_t>(m_pos));
            return true;
        }
        bool Flush() override { return true; }
        uint32_t LastError() const override { return m_error; }

    private:
        TMemFileSystem& m_fs;
        std::string m_path;
        int64_t m_pos = 0;
        uint32_t m_error = 0;
    };

    int m_tempCounter = 0;
};

} // namespace wexly::test
