#include "config/FileReplace.h"

namespace wexly {
namespace {

std::string DirectoryOf(const std::string& path)
{
    for (size_t i = path.size(); i > 0; --i)
        if (IsPathSeparator(path[i - 1]))
            return path.substr(0, i);
    return {};
}

bool Fail(TFileError* error, uint32_t code, const std::string& path)
{
    if (error)
        *error = { code, path };
    return false;
}

// Writes the pieces to temp, flushed, and renames it over path; temp never stays behind.
bool WriteThrough(IFileSystem& fs, const std::string& path,
    std::initializer_list<std::string_view> pieces, const std::string& temp, TFileCreate create,
    TFileError* error)
{
    TFileError openError;
    auto file = fs.Open(temp, TFileAccess::Write, TFileShare::Exclusive, create, &openError);
    if (!file)
        return Fail(error, openError.code, path);
    bool written = true;
    for (std::string_view piece : pieces)
        written = written && file->Write(piece.data(), static_cast<int64_t>(piece.size()));
    written = written && file->Flush();
    uint32_t code = written ? 0 : file->LastError();
    file.reset(); // closed before it can be renamed on Windows
    if (!written) {
        fs.Delete(temp);
        return Fail(error, code ? code : FileErrorCode::WriteFault, path);
    }
    TFileError renameError;
    if (!fs.Rename(temp, path, true, &renameError)) {
        fs.Delete(temp);
        return Fail(error, renameError.code, path);
    }
    return true;
}

} // namespace

bool ReplaceFileContents(
    IFileSystem& fs, const std::string& path, std::string_view data, TFileError* error)
{
    if (fs.Exists(path) && fs.IsReadOnly(path))
        return Fail(error, FileErrorCode::AccessDenied, path);
    return WriteThrough(
        fs, path, { data }, fs.TempNameIn(DirectoryOf(path)), TFileCreate::CreateNew, error);
}

bool ReplaceFileContents(IFileSystem& fs, const std::string& path,
    std::initializer_list<std::string_view> pieces, const std::string& temp, TFileError* error)
{
    return WriteThrough(fs, path, pieces, temp, TFileCreate::CreateAlways, error);
}

std::string FileErrorText(uint32_t code)
{
    switch (code) {
    case FileErrorCode::FileNotFound:
        return "The system cannot find the file specified.";
    case FileErrorCode::PathNotFound:
        return "The system cannot find the path specified.";
    case FileErrorCode::AccessDenied:
        return "Access is denied.";
    case FileErrorCode::WriteFault:
        return "The system cannot write to the specified device.";
    case FileErrorCode::ReadFault:
        return "The system cannot read from the specified device.";
    case FileErrorCode::SharingViolation:
        return "The process cannot access the file because it is being used by another process.";
    case FileErrorCode::DiskFull:
        return "There is not enough space on the disk.";
    default:
        return "Error code " + std::to_string(code) + ".";
    }
}

} // namespace wexly
