// The native build's file system: POSIX calls, Windows-numbered error codes. Sharing modes
// are not enforced (POSIX has no such thing); tests that need a sharing conflict use a fake.
#include "platform/Files.h"

#include <cerrno>
#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <fnmatch.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace wexly {
namespace {

    uint32_t FromErrno(int e)
    {
        switch (e) {
        case ENOENT:
            return FileErrorCode::FileNotFound;
        case ENOTDIR:
            return FileErrorCode::PathNotFound;
        case EACCES:
        case EPERM:
        case EROFS:
        case EISDIR:
            return FileErrorCode::AccessDenied;
        case EEXIST:
            return FileErrorCode::FileExists;
        case ENOSPC:
        case EDQUOT:
        case EFBIG:
            return FileErrorCode::DiskFull;
        case EBUSY:
        case ETXTBSY:
            return FileErrorCode::SharingViolation;
        case EIO:
            return FileErrorCode::WriteFault;
        default:
            return 1000u + static_cast<uint32_t>(e);
        }
    }

    void SetError(TFileError* error, const std::string& path, int e)
    {
        if (error) {
            error->code = FromErrno(e);
            error->path = path;
        }
    }

    TFileTime ToFileTime(const struct timespec& ts)
    {
        // Seconds between 1601-01-01 and 1970-01-01.
        constexpr uint64_t epochDelta = 11644473600ULL;
        return (static_cast<uint64_t>(ts.tv_sec) + epochDelta) * 10000000ULL
            + static_cast<uint64_t>(ts.tv_nsec) / 100;
    }

    class TPosixFile final : public IFile {
    public:
        explicit TPosixFile(int fd)
            : m_fd(fd)
        {
        }
        ~TPosixFile() override { ::close(m_fd); }
        TPosixFile(const TPosixFile&) = delete;
        TPosixFile& operator=(const TPosixFile&) = delete;

        int64_t Read(void* buffer, int64_t size) override
        {
            auto* out = static_cast<char*>(buffer);
            int64_t total = 0;
            while (total < size) {
                ssize_t n = ::read(m_fd, out + total, static_cast<size_t>(size - total));
                if (n < 0) {
                    if (errno == EINTR)
                        continue;
                    m_lastError = FromErrno(errno);
                    return -1;
                }
                if (n == 0)
                    break;
                total += n;
            }
            return total;
        }
        bool Write(const void* buffer, int64_t size) override
        {
            const auto* in = static_cast<const char*>(buffer);
            int64_t total = 0;
            while (total < size) {
                ssize_t n = ::write(m_fd, in + total, static_cast<size_t>(size - total));
                if (n < 0) {
                    if (errno == EINTR)
                        continue;
                    m_lastError = FromErrno(errno);
                    return false;
                }
                total += n;
            }
            return true;
        }
        bool Seek(int64_t offset) override
        {
            if (::lseek(m_fd, static_cast<off_t>(offset), SEEK_SET) < 0) {
                m_lastError = FromErrno(errno);
                return false;
            }
            return true;
        }
        int64_t Position() const override { return ::lseek(m_fd, 0, SEEK_CUR); }
        int64_t Size() const override
        {
            struct stat st {};
            if (::fstat(m_fd, &st) != 0)
                return -1;
            return st.st_size;
        }
        bool Truncate() override
        {
            if (::ftruncate(m_fd, ::lseek(m_fd, 0, SEEK_CUR)) != 0) {
                m_lastError = FromErrno(errno);
                return false;
            }
            return true;
        }
        bool Flush() override
        {
            if (::fsync(m_fd) != 0 && errno != EINVAL && errno != EROFS) {
                m_lastError = FromErrno(errno);
                return false;
            }
            return true;
        }
        uint32_t LastError() const override { return m_lastError; }

    private:
        int m_fd;
        uint32_t m_lastError = 0;
    };

    bool MatchMask(const std::string& mask, const std::string& name)
    {
        if (mask.empty() || mask == "*" || mask == "*.*")
            return true;
        return ::fnmatch(mask.c_str(), name.c_str(), FNM_CASEFOLD) == 0;
    }

    class TPosixFileSystem final : public IFileSystem {
    public:
        std::unique_ptr<IFile> Open(const std::string& path, TFileAccess access, TFileShare,
            TFileCreate create, TFileError* error) override
        {
            int flags = access == TFileAccess::Read ? O_RDONLY
                : access == TFileAccess::Write      ? O_WRONLY
                                                    : O_RDWR;
            switch (create) {
            case TFileCreate::OpenExisting:
                break;
            case TFileCreate::CreateAlways:
                flags |= O_CREAT | O_TRUNC;
                break;
            case TFileCreate::CreateNew:
                flags |= O_CREAT | O_EXCL;
                break;
            case TFileCreate::OpenAlways:
                flags |= O_CREAT;
                break;
            }
            int fd = ::open(path.c_str(), flags | O_CLOEXEC, 0666);
            if (fd < 0) {
                SetError(error, path, errno);
                return nullptr;
            }
            struct stat st {};
            if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
                ::close(fd);
                SetError(error, path, EACCES);
                return nullptr;
            }
            return std::make_unique<TPosixFile>(fd);
        }
        bool Exists(const std::string& path) override
        {
            struct stat st {};
            return ::stat(path.c_str(), &st) == 0;
        }
        bool IsDirectory(const std::string& path) override
        {
            struct stat st {};
            return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
        }
        bool Delete(const std::string& path, TFileError* error) override
        {
            if (::unlink(path.c_str()) != 0) {
                SetError(error, path, errno);
                return false;
            }
            return true;
        }
        bool Rename(const std::string& oldPath, const std::string& newPath, bool replace,
            TFileError* error) override
        {
            if (!replace && Exists(newPath)) {
                SetError(error, newPath, EEXIST);
                return false;
            }
            if (::rename(oldPath.c_str(), newPath.c_str()) != 0) {
                SetError(error, oldPath, errno);
                return false;
            }
            return true;
        }
        bool HardLink(
            const std::string& existing, const std::string& newPath, TFileError* error) override
        {
            if (::link(existing.c_str(), newPath.c_str()) != 0) {
                SetError(error, newPath, errno);
                return false;
            }
            return true;
        }
        bool Copy(const std::string& from, const std::string& to, TFileError* error) override
        {
            auto in = Open(from, TFileAccess::Read, TFileShare::DenyWrite,
                TFileCreate::OpenExisting, error);
            if (!in)
                return false;
            auto out = Open(to, TFileAccess::Write, TFileShare::Exclusive,
                TFileCreate::CreateAlways, error);
            if (!out)
                return false;
            std::vector<char> buffer(1 << 16);
            for (;;) {
                int64_t n = in->Read(buffer.data(), static_cast<int64_t>(buffer.size()));
                if (n < 0) {
                    if (error)
                        *error = { in->LastError(), from };
                    return false;
                }
                if (n == 0)
                    break;
                if (!out->Write(buffer.data(), n)) {
                    if (error)
                        *error = { out->LastError(), to };
                    return false;
                }
            }
            return true;
        }
        bool GetWriteTime(const std::string& path, TFileTime* time) override
        {
            struct stat st {};
            if (::stat(path.c_str(), &st) != 0)
                return false;
            *time = ToFileTime(st.st_mtim);
            return true;
        }
        bool IsReadOnly(const std::string& path) override
        {
            struct stat st {};
            return ::stat(path.c_str(), &st) == 0 && (st.st_mode & S_IWUSR) == 0;
        }
        bool SetReadOnly(const std::string& path, bool readOnly) override
        {
            struct stat st {};
            if (::stat(path.c_str(), &st) != 0)
                return false;
            mode_t mode = readOnly ? (st.st_mode & ~mode_t(S_IWUSR | S_IWGRP | S_IWOTH))
                                   : (st.st_mode | S_IWUSR);
            return ::chmod(path.c_str(), mode) == 0;
        }
        std::vector<TDirEntry> List(const std::string& directory, const std::string& mask) override
        {
            std::vector<TDirEntry> result;
            DIR* dir = ::opendir(directory.empty() ? "." : directory.c_str());
            if (!dir)
                return result;
            while (dirent* e = ::readdir(dir)) {
                std::string name = e->d_name;
                if (name == "." || name == ".." || !MatchMask(mask, name))
                    continue;
                std::string full = directory;
                if (!full.empty() && full.back() != '/')
                    full += '/';
                full += name;
                struct stat st {};
                if (::stat(full.c_str(), &st) != 0)
                    continue;
                TDirEntry entry;
                entry.name = name;
                entry.isDirectory = S_ISDIR(st.st_mode);
                entry.isReadOnly = (st.st_mode & S_IWUSR) == 0;
                entry.isHidden = name[0] == '.';
                entry.size = st.st_size;
                entry.writeTime = ToFileTime(st.st_mtim);
                result.push_back(std::move(entry));
            }
            ::closedir(dir);
            return result;
        }
        bool MakeDirectory(const std::string& path, TFileError* error) override
        {
            if (::mkdir(path.c_str(), 0777) != 0) {
                SetError(error, path, errno);
                if (error && errno == EEXIST)
                    error->code = FileErrorCode::AlreadyExists;
                return false;
            }
            return true;
        }
        bool RemoveEmptyDirectory(const std::string& path, TFileError* error) override
        {
            if (::rmdir(path.c_str()) != 0) {
                SetError(error, path, errno);
                return false;
            }
            return true;
        }
        std::string TempNameIn(const std::string& directory) override
        {
            static std::mt19937 rng { std::random_device {}() };
            std::string base = directory;
            if (!base.empty() && base.back() != '/')
                base += '/';
            for (;;) {
                char name[32];
                std::snprintf(name, sizeof name, "~wx%08x.tmp", static_cast<unsigned>(rng()));
                std::string path = base + name;
                if (!Exists(path))
                    return path;
            }
        }
    };

} // namespace

IFileSystem& RealFileSystem()
{
    static TPosixFileSystem fileSystem;
    return fileSystem;
}

char PathSeparator() { return '/'; }
bool IsPathSeparator(char c) { return c == '/'; }

} // namespace wexly
