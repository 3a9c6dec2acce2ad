// The file services the engine needs: opening with explicit sharing modes, reading, seeking,
// writing, renaming, deleting, time stamps and directory enumeration. The win32 build wraps
// CreateFileW and friends; the native build wraps POSIX calls (sharing is not enforced there,
// except through the scriptable fake).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace wexly {

enum class TFileAccess { Read, Write, ReadWrite };

// What other openers may do while we hold the file open.
enum class TFileShare { Exclusive, DenyWrite, DenyRead, DenyNone };

enum class TFileCreate {
    OpenExisting, // fail when missing
    CreateAlways, // create or truncate
    CreateNew, // fail when it exists
    OpenAlways // open or create
};

// A failed file operation: the OS error code (Windows numbering: 2 not found, 3 path not
// found, 5 access denied, 32 sharing violation, 112 disk full, ...) and the path.
struct TFileError
{
    uint32_t code = 0;
    std::string path;
};

// Windows-numbered error codes that portable code tests for.
namespace FileErrorCode {
inline constexpr uint32_t FileNotFound = 2;
inline constexpr uint32_t PathNotFound = 3;
inline constexpr uint32_t AccessDenied = 5;
inline constexpr uint32_t NotEnoughMemory = 8;
inline constexpr uint32_t WriteProtect = 19;
inline constexpr uint32_t WriteFault = 29;
inline constexpr uint32_t ReadFault = 30;
inline constexpr uint32_t SharingViolation = 32;
inline constexpr uint32_t HandleEof = 38;
inline constexpr uint32_t HandleDiskFull = 39;
inline constexpr uint32_t FileExists = 80;
inline constexpr uint32_t DiskFull = 112;
inline constexpr uint32_t AlreadyExists = 183;
}

// File times are 100-ns intervals since 1601-01-01 UTC, as Windows keeps them.
using TFileTime = uint64_t;

// File attributes, in Windows numbering.
namespace FileAttribute {
inline constexpr uint32_t ReadOnly = 0x1;
inline constexpr uint32_t Hidden = 0x2;
inline constexpr uint32_t System = 0x4;
inline constexpr uint32_t Archive = 0x20;
inline constexpr uint32_t NotContentIndexed = 0x2000;
}

class IFile
{
public:
    virtual ~IFile() = default;
    // Reads up to size bytes; returns the count read (0 at end of file), or -1 on error.
    virtual int64_t Read(void* buffer, int64_t size) = 0;
    // Writes all size bytes; false on error (LastError() tells which).
    virtual bool Write(const void* buffer, int64_t size) = 0;
    virtual bool Seek(int64_t offset) = 0; // from the start of the file
    virtual int64_t Position() const = 0;
    virtual int64_t Size() const = 0; // -1 on error
    virtual bool Truncate() = 0; // end the file at the current position
    virtual bool Flush() = 0; // to the device, not just the OS cache
    virtual uint32_t LastError() const = 0;
};

struct TDirEntry
{
    std::string name; // without the directory
    bool isDirectory = false;
    bool isReadOnly = false;
    bool isHidden = false;
    bool isSystem = false;
    int64_t size = 0;
    TFileTime writeTime = 0;
};

class IFileSystem
{
public:
    virtual ~IFileSystem() = default;
    // Returns null on failure and sets error.
    virtual std::unique_ptr<IFile> Open(const std::string& path, TFileAccess access,
        TFileShare share, TFileCreate create, TFileError* error = nullptr)
        = 0;
    virtual bool Exists(const std::string& path) = 0;
    virtual bool IsDirectory(const std::string& path) = 0;
    virtual bool Delete(const std::string& path, TFileError* error = nullptr) = 0;
    // Fails when newPath exists unless replace is set.
    virtual bool Rename(const std::string& oldPath, const std::string& newPath, bool replace,
        TFileError* error = nullptr)
        = 0;
    virtual bool Copy(const std::string& from, const std::string& to, TFileError* error = nullptr)
        = 0;
    // Last write time; false when the file cannot be examined.
    virtual bool GetWriteTime(const std::string& path, TFileTime* time) = 0;
    virtual bool IsReadOnly(const std::string& path) = 0;
    virtual bool SetReadOnly(const std::string& path, bool readOnly) = 0;
    // Gives an existing file a second name (a hard link); false when the file system has none.
    virtual bool HardLink(const std::string&, const std::string& newPath, TFileError* error)
    {
        if (error)
            *error = { 1, newPath }; // ERROR_INVALID_FUNCTION
        return false;
    }
    // A file's attributes (FileAttribute bits); false when it cannot be examined or the file
    // system keeps none.
    virtual bool GetAttributes(const std::string&, uint32_t*) { return false; }
    // Sets the attributes to exactly these bits; false when it cannot.
    virtual bool SetAttributes(const std::string&, uint32_t) { return false; }
    // Puts the file temp in the place of path, which may exist (a replacing rename). A file
    // system that can carries over to it what belongs to the replaced file rather than to its
    // contents (on Windows its security descriptor, creation time and streams).
    virtual bool ReplaceWith(const std::string& temp, const std::string& path, TFileError* error)
    {
        return Rename(temp, path, true, error);
    }
    // Entries of a directory whose names match a mask with * and ? (case-insensitive);
    // "." and ".." are left out.
    virtual std::vector<TDirEntry> List(const std::string& directory, const std::string& mask) = 0;
    // A name for a new temporary file in the given directory (not yet created). The real file
    // systems draw "~wx" and eight hex digits, with ".tmp".
    virtual std::string TempNameIn(const std::string& directory) = 0;
    // Creates one directory (its parent must exist); false when it cannot, also when it exists
    // already (AlreadyExists). File systems that have no directories refuse.
    virtual bool MakeDirectory(const std::string& path, TFileError* error = nullptr)
    {
        if (error)
            *error = { FileErrorCode::AccessDenied, path };
        return false;
    }
    // Removes a directory that is empty.
    virtual bool RemoveEmptyDirectory(const std::string& path, TFileError* error = nullptr)
    {
        if (error)
            *error = { FileErrorCode::AccessDenied, path };
        return false;
    }
};

// The process-wide real file system of the current build.
IFileSystem& RealFileSystem();

// Directory separator of the build's file system ('\\' on Windows, '/' natively). Paths in the
// engine keep whatever separator they were given; these help to split them.
char PathSeparator();
bool IsPathSeparator(char c);

} // namespace wexly
