// Where recovery records live: under a root beside the settings file, one folder per running
// instance, named after its process and start, holding a lock file that the instance keeps
// open without sharing for as long as it runs. A folder whose lock can be taken belongs to an
// instance that has ended; if records are still in it, that end was not an orderly one.
#pragma once

#include "platform/Files.h"
#include "recovery/RecoveryRecord.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace wexly {

inline constexpr const char* kLockFileName = "instance.lock";
inline constexpr const char* kRecordPrefix = "doc-";
inline constexpr const char* kRecordExtension = ".wxr";

// dir and name joined by the build's separator.
std::string JoinRecoveryPath(const std::string& dir, const std::string& name);
// The recovery root that goes with a settings file: its path with ".recovery" in place of its
// extension (wexly.ini -> wexly.recovery).
std::string RecoveryRootBeside(const std::string& settingsFile);

// This instance's folder. Owns the lock; borrows the file system, which the writer thread uses
// for the record files while the window's thread uses it for others.
class TRecoveryFolder
{
public:
    TRecoveryFolder(IFileSystem& fs, std::string root, std::string instanceName);
    // Releases the lock and keeps the records: an end that is not orderly.
    ~TRecoveryFolder();
    TRecoveryFolder(const TRecoveryFolder&) = delete;
    TRecoveryFolder& operator=(const TRecoveryFolder&) = delete;

    // Makes the root when missing, then the folder and its lock (another name is tried when
    // the folder exists). False when they cannot be made.
    bool Open(TFileError* error = nullptr);
    bool IsOpen() const { return m_lock != nullptr; }
    const std::string& Root() const { return m_root; }
    const std::string& Path() const { return m_path; }
    const std::string& Name() const { return m_name; }
    std::string RecordPath(uint32_t id) const;

    // Replaces document id's record as a whole or not at all: a temporary file beside it is
    // written and flushed, then renamed over it. On failure the old record stays.
    bool WriteRecord(uint32_t id, const TRecordInfo& info, std::string_view text,
        TFileError* error = nullptr) const;
    bool RemoveRecord(uint32_t id) const;
    // Takes over a record file of an ended instance as document id's; a rename, so nothing is
    // copied and the record is never missing from both places.
    bool AdoptRecord(const std::string& recordFile, uint32_t id) const;
    // An orderly end: the records, the lock and the folder go (and the root, when empty).
    void RemoveAll();

private:
    IFileSystem& m_fs;
    std::string m_root;
    std::string m_name;
    std::string m_path;
    std::unique_ptr<IFile> m_lock;
};

// A record file found in an ended instance's folder, and what reading it gave.
struct TFoundRecord
{
    std::string file;
    TRecordParse parse;
};

// The folder of an ended instance, claimed by this one: its lock is held until Discard or
// Finish, so that no other instance reads, recovers or removes the same records meanwhile.
class TOrphanFolder
{
public:
    TOrphanFolder(IFileSystem& fs, std::string path, std::unique_ptr<IFile> lock);
    ~TOrphanFolder(); // releases the lock and keeps what is left
    TOrphanFolder(TOrphanFolder&&) noexcept;
    TOrphanFolder& operator=(TOrphanFolder&&) = delete;

    const std::string& Path() const { return m_path; }
    // The record files, oldest document first.
    std::vector<std::string> RecordFiles() const;
    // Reads and checks one record; never throws for damaged or unreadable files.
    TRecordParse Read(const std::string& recordFile) const;
    void RemoveRecordFile(const std::string& recordFile);
    // Ends the claim: with no record left the folder goes, lock and all; otherwise the lock
    // is given up and the records stay for a later start.
    void Finish();
    // Every record goes, then the folder.
    void Discard();

private:
    IFileSystem* m_fs;
    std::string m_path;
    std::unique_ptr<IFile> m_lock;
};

// Claims every folder under root, other than ownName, whose instance has ended.
std::vector<TOrphanFolder> ClaimOrphanFolders(
    IFileSystem& fs, const std::string& root, const std::string& ownName);

} // namespace wexly
