// An in-memory file system for tests: Windows sharing rules between open handles, the
// read-only attribute, and scripted failures (open errors, read errors, disk full).
#pragma once

#include "platform/Files.h"

#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace wexly::test {

struct TFakeNode;

class TFakeFileSystem final : public IFileSystem
{
public:
    TFakeFileSystem();
    ~TFakeFileSystem() override;

    // ---- setting up and inspecting ----
    void SetFile(const std::string& path, std::vector<uint8_t> data);
    void SetFile(const std::string& path, const std::string& text);
    std::string Contents(const std::string& path) const; // empty when missing
    int OpenHandles(const std::string& path) const;
    // Failures may be scripted for a path before the file exists (e.g. one the code under
    // test will create). The next opens of path fail with code (count < 0: all of them).
    void FailOpens(const std::string& path, uint32_t code, int count = -1);
    // Reads of path fail with code once the file position reaches offset.
    void FailReadsFrom(const std::string& path, int64_t offset, uint32_t code);
    // Writes to path fail with code once size bytes have been written in total (disk full).
    void FailWritesAfter(const std::string& path, int64_t bytes, uint32_t code);
    void ClearFailures();
    // SetAttributes fails (a file system without them).
    void RefuseAttributes(bool refuse) { m_refuseAttributes = refuse; }
    // HardLink fails (a file system without them).
    void RefuseHardLinks(bool refuse) { m_refuseHardLinks = refuse; }
    // The clock gives every write a later time; this moves it on (time passing).
    void AdvanceClock(TFileTime by) { m_clock += by; }
    void SetWriteTime(const std::string& path, TFileTime time);

    // ---- IFileSystem ----
    std::unique_ptr<IFile> Open(const std::string& path, TFileAccess access, TFileShare share,
        TFileCreate create, TFileError* error = nullptr) override;
    bool Exists(const std::string& path) override;
    bool IsDirectory(const std::string& path) override;
    bool Delete(const std::string& path, TFileError* error = nullptr) override;
    bool Rename(const std::string& oldPath, const std::string& newPath, bool replace,
        TFileError* error = nullptr) override;
    bool Copy(const std::string& from, const std::string& to, TFileError* error = nullptr) override;
    bool GetWriteTime(const std::string& path, TFileTime* time) override;
    bool IsReadOnly(const std::string& path) override;
    bool SetReadOnly(const std::string& path, bool readOnly) override;
    // Both names then share one file, as on a real file system (unless refused).
    bool HardLink(const std::string& existing, const std::string& newPath,
        TFileError* error = nullptr) override;
    bool GetAttributes(const std::string& path, uint32_t* attributes) override;
    bool SetAttributes(const std::string& path, uint32_t attributes) override;
    std::vector<TDirEntry> List(const std::string& directory, const std::string& mask) override;
    std::string TempNameIn(const std::string& directory) override;
    // Directories are names only: files may be set anywhere, with or without them.
    bool MakeDirectory(const std::string& path, TFileError* error = nullptr) override;
    bool RemoveEmptyDirectory(const std::string& path, TFileError* error = nullptr) override;

private:
    std::map<std::string, std::shared_ptr<TFakeNode>> m_files;
    std::set<std::string> m_dirs;
    TFileTime m_clock = 1;
    int m_tempCounter = 0;
    bool m_refuseAttributes = false;
    bool m_refuseHardLinks = false;
};

} // namespace wexly::test
