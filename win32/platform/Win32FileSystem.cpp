// The Windows build's file system: CreateFileW with the requested sharing modes, UTF-8 paths
// converted to UTF-16, error codes straight from GetLastError.
#include "platform/Files.h"
#include "win32/platform/WinStrings.h"

#include <windows.h>

#include <random>

namespace wexly {
namespace {

void SetError(TFileError* error, const std::string& path, DWORD code = GetLastError())
{
    if (error) {
        error->code = code;
        error->path = path;
    }
}

TFileTime ToFileTime(const FILETIME& ft)
{
    return (static_cast<uint64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
}

class TWin32File final : public IFile
{
public:
    explicit TWin32File(HANDLE handle)
        : m_handle(handle)
    {
    }
    ~TWin32File() override { CloseHandle(m_handle); }
    TWin32File(const TWin32File&) = delete;
    TWin32File& operator=(const TWin32File&) = delete;

    int64_t Read(void* buffer, int64_t size) override
    {
        auto* out = static_cast<char*>(buffer);
        int64_t total = 0;
        while (total < size) {
            DWORD chunk = static_cast<DWORD>(std::min<int64_t>(size - total, 1 << 30));
            DWORD read = 0;
            if (!ReadFile(m_handle, out + total, chunk, &read, nullptr)) {
                m_lastError = GetLastError();
                return -1;
            }
            if (read == 0)
                break;
            total += read;
        }
        return total;
    }
    bool Write(const void* buffer, int64_t size) override
    {
        const auto* in = static_cast<const char*>(buffer);
        int64_t total = 0;
        while (total < size) {
            DWORD chunk = static_cast<DWORD>(std::min<int64_t>(size - total, 1 << 30));
            DWORD written = 0;
            if (!WriteFile(m_handle, in + total, chunk, &written, nullptr)) {
                m_lastError = GetLastError();
                return false;
            }
            if (written == 0) {
                m_lastError = FileErrorCode::WriteFault;
                return false;
            }
            total += written;
        }
        return true;
    }
    bool Seek(int64_t offset) override
    {
        LARGE_INTEGER to {};
        to.QuadPart = offset;
        if (!SetFilePointerEx(m_handle, to, nullptr, FILE_BEGIN)) {
            m_lastError = GetLastError();
            return false;
        }
        return true;
    }
    int64_t Position() const override
    {
        LARGE_INTEGER zero {}, at {};
        if (!SetFilePointerEx(m_handle, zero, &at, FILE_CURRENT))
            return -1;
        return at.QuadPart;
    }
    int64_t Size() const override
    {
        LARGE_INTEGER size {};
        if (!GetFileSizeEx(m_handle, &size))
            return -1;
        return size.QuadPart;
    }
    bool Truncate() override
    {
        if (!SetEndOfFile(m_handle)) {
            m_lastError = GetLastError();
            return false;
        }
        return true;
    }
    bool Flush() override
    {
        if (!FlushFileBuffers(m_handle)) {
            m_lastError = GetLastError();
            return false;
        }
        return true;
    }
    uint32_t LastError() const override { return m_lastError; }

private:
    HANDLE m_handle;
    uint32_t m_lastError = 0;
};

char LowerAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
}

// * and ? matching without regard to ASCII case; "*" and "*.*" match every name, as the
// native build does (Windows' own matching also consults short names, which we don't want).
bool MatchMask(const std::string& mask, const std::string& name)
{
    if (mask.empty() || mask == "*" || mask == "*.*")
        return true;
    size_t m = 0, n = 0, starM = std::string::npos, starN = 0;
    while (n < name.size()) {
        if (m < mask.size() && (mask[m] == '?' || LowerAscii(mask[m]) == LowerAscii(name[n]))) {
            ++m;
            ++n;
        } else if (m < mask.size() && mask[m] == '*') {
            starM = m++;
            starN = n;
        } else if (starM != std::string::npos) {
            m = starM + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (m < mask.size() && mask[m] == '*')
        ++m;
    return m == mask.size();
}

DWORD ShareFlags(TFileShare share)
{
    switch (share) {
    case TFileShare::Exclusive:
        return 0;
    case TFileShare::DenyWrite:
        return FILE_SHARE_READ;
    case TFileShare::DenyRead:
        return FILE_SHARE_WRITE;
    case TFileShare::DenyNone:
        break;
    }
    return FILE_SHARE_READ | FILE_SHARE_WRITE;
}

DWORD Disposition(TFileCreate create)
{
    switch (create) {
    case TFileCreate::OpenExisting:
        return OPEN_EXISTING;
    case TFileCreate::CreateAlways:
        return CREATE_ALWAYS;
    case TFileCreate::CreateNew:
        return CREATE_NEW;
    case TFileCreate::OpenAlways:
        break;
    }
    return OPEN_ALWAYS;
}

std::string JoinPath(const std::string& directory, const std::string& name)
{
    if (directory.empty())
        return name;
    char last = directory.back();
    return (last == '\\' || last == '/' || last == ':') ? directory + name
                                                        : directory + "\\" + name;
}

bool RunningOnWine()
{
    static const bool wine
        = GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
    return wine;
}

// Whether a file cannot be opened for deletion because another opener does not share that.
bool HeldByAnother(const std::wstring& path)
{
    HANDLE h = CreateFileW(path.c_str(), DELETE,
        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h != INVALID_HANDLE_VALUE) {
        CloseHandle(h);
        return false;
    }
    return GetLastError() == ERROR_SHARING_VIOLATION;
}

class TWin32FileSystem final : public IFileSystem
{
public:
    std::unique_ptr<IFile> Open(const std::string& path, TFileAccess access, TFileShare share,
        TFileCreate create, TFileError* error) override
    {
        DWORD desired = access == TFileAccess::Read ? GENERIC_READ
            : access == TFileAccess::Write          ? GENERIC_WRITE
                                                    : GENERIC_READ | GENERIC_WRITE;
        HANDLE handle = CreateFileW(Utf8ToWide(path).c_str(), desired, ShareFlags(share), nullptr,
            Disposition(create), FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle == INVALID_HANDLE_VALUE) {
            SetError(error, path);
            return nullptr;
        }
        return std::make_unique<TWin32File>(handle);
    }
    bool Exists(const std::string& path) override
    {
        return GetFileAttributesW(Utf8ToWide(path).c_str()) != INVALID_FILE_ATTRIBUTES;
    }
    bool IsDirectory(const std::string& path) override
    {
        DWORD attributes = GetFileAttributesW(Utf8ToWide(path).c_str());
        return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
    }
    bool Delete(const std::string& path, TFileError* error) override
    {
        if (!DeleteFileW(Utf8ToWide(path).c_str())) {
            SetError(error, path);
            return false;
        }
        return true;
    }
    bool Rename(const std::string& oldPath, const std::string& newPath, bool replace,
        TFileError* error) override
    {
        DWORD flags = replace ? MOVEFILE_REPLACE_EXISTING : 0;
        if (!MoveFileExW(Utf8ToWide(oldPath).c_str(), Utf8ToWide(newPath).c_str(), flags)) {
            DWORD code = GetLastError();
            SetError(error,
                code == ERROR_ALREADY_EXISTS || code == ERROR_FILE_EXISTS ? newPath : oldPath,
                code);
            return false;
        }
        return true;
    }
    bool Copy(const std::string& from, const std::string& to, TFileError* error) override
    {
        if (!CopyFileW(Utf8ToWide(from).c_str(), Utf8ToWide(to).c_str(), FALSE)) {
            SetError(error, from);
            return false;
        }
        return true;
    }
    bool GetWriteTime(const std::string& path, TFileTime* time) override
    {
        WIN32_FILE_ATTRIBUTE_DATA data {};
        if (!GetFileAttributesExW(Utf8ToWide(path).c_str(), GetFileExInfoStandard, &data))
            return false;
        *time = ToFileTime(data.ftLastWriteTime);
        return true;
    }
    bool IsReadOnly(const std::string& path) override
    {
        DWORD attributes = GetFileAttributesW(Utf8ToWide(path).c_str());
        return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
    }
    bool SetReadOnly(const std::string& path, bool readOnly) override
    {
        std::wstring wide = Utf8ToWide(path);
        DWORD attributes = GetFileAttributesW(wide.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES)
            return false;
        attributes = readOnly ? (attributes | FILE_ATTRIBUTE_READONLY)
                              : (attributes & ~DWORD(FILE_ATTRIBUTE_READONLY));
        if (attributes == 0)
            attributes = FILE_ATTRIBUTE_NORMAL;
        return SetFileAttributesW(wide.c_str(), attributes) != 0;
    }
    bool HardLink(const std::string& existing, const std::string& newPath, TFileError* error) override
    {
        if (!CreateHardLinkW(Utf8ToWide(newPath).c_str(), Utf8ToWide(existing).c_str(), nullptr)) {
            SetError(error, newPath);
            return false;
        }
        return true;
    }
    bool GetAttributes(const std::string& path, uint32_t* attributes) override
    {
        DWORD found = GetFileAttributesW(Utf8ToWide(path).c_str());
        if (found == INVALID_FILE_ATTRIBUTES)
            return false;
        *attributes = found;
        return true;
    }
    bool SetAttributes(const std::string& path, uint32_t attributes) override
    {
        return SetFileAttributesW(
                   Utf8ToWide(path).c_str(), attributes ? attributes : FILE_ATTRIBUTE_NORMAL)
            != 0;
    }
    // On Windows ReplaceFileW keeps the replaced file's security descriptor, creation time,
    // short name and streams. Wine's keeps none of them, and moves the old file aside before
    // the new one takes its name (a moment with no file, and an "rf*.tmp" left when that
    // fails), so there, and where ReplaceFileW cannot be used (no such file yet, a file system
    // that refuses its steps), this is the plain replacing rename, which is one step.
    bool ReplaceWith(const std::string& temp, const std::string& path, TFileError* error) override
    {
        const std::wstring wideTemp = Utf8ToWide(temp), widePath = Utf8ToWide(path);
        if (!RunningOnWine() && GetFileAttributesW(widePath.c_str()) != INVALID_FILE_ATTRIBUTES) {
            if (ReplaceFileW(widePath.c_str(), wideTemp.c_str(), nullptr,
                    REPLACEFILE_IGNORE_MERGE_ERRORS | REPLACEFILE_IGNORE_ACL_ERRORS, nullptr,
                    nullptr))
                return true;
            const DWORD code = GetLastError();
            if (code == ERROR_SHARING_VIOLATION || code == ERROR_LOCK_VIOLATION) {
                SetError(error, path, code);
                return false;
            }
            // ERROR_UNABLE_TO_MOVE_REPLACEMENT: the replaced file is gone and temp keeps its
            // name, so the rename below is what puts the text in place.
        }
        if (MoveFileExW(wideTemp.c_str(), widePath.c_str(), MOVEFILE_REPLACE_EXISTING))
            return true;
        DWORD code = GetLastError();
        // A file another program holds open (without letting it be deleted) refuses the
        // rename as access denied; the user is better told who is in the way.
        if (code == ERROR_ACCESS_DENIED && HeldByAnother(widePath))
            code = ERROR_SHARING_VIOLATION;
        SetError(error, path, code);
        return false;
    }
    std::vector<TDirEntry> List(const std::string& directory, const std::string& mask) override
    {
        std::vector<TDirEntry> result;
        WIN32_FIND_DATAW data {};
        std::string pattern = JoinPath(directory.empty() ? "." : directory, "*");
        HANDLE find = FindFirstFileW(Utf8ToWide(pattern).c_str(), &data);
        if (find == INVALID_HANDLE_VALUE)
            return result;
        do {
            std::string name = WideToUtf8(data.cFileName);
            if (name == "." || name == ".." || !MatchMask(mask, name))
                continue;
            TDirEntry entry;
            entry.name = std::move(name);
            entry.isDirectory = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
            entry.isReadOnly = (data.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0;
            entry.isHidden = (data.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN) != 0;
            entry.isSystem = (data.dwFileAttributes & FILE_ATTRIBUTE_SYSTEM) != 0;
            entry.size = static_cast<int64_t>(
                (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow);
            entry.writeTime = ToFileTime(data.ftLastWriteTime);
            result.push_back(std::move(entry));
        } while (FindNextFileW(find, &data));
        FindClose(find);
        return result;
    }
    bool MakeDirectory(const std::string& path, TFileError* error) override
    {
        if (!CreateDirectoryW(Utf8ToWide(path).c_str(), nullptr)) {
            SetError(error, path);
            return false;
        }
        return true;
    }
    bool RemoveEmptyDirectory(const std::string& path, TFileError* error) override
    {
        if (!RemoveDirectoryW(Utf8ToWide(path).c_str())) {
            SetError(error, path);
            return false;
        }
        return true;
    }
    std::string TempNameIn(const std::string& directory) override
    {
        static std::mt19937 rng { std::random_device {}() };
        for (;;) {
            char name[32];
            std::snprintf(name, sizeof name, "~wx%08x.tmp", static_cast<unsigned>(rng()));
            std::string path = JoinPath(directory, name);
            if (!Exists(path))
                return path;
        }
    }
};

} // namespace

IFileSystem& RealFileSystem()
{
    static TWin32FileSystem fileSystem;
    return fileSystem;
}

char PathSeparator()
{
    return '\\';
}
// Windows takes either slash in a path.
bool IsPathSeparator(char c)
{
    return c == '\\' || c == '/';
}

} // namespace wexly
