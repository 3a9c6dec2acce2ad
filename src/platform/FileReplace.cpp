#include "platform/FileReplace.h"

namespace wexly {
namespace {

// What the replaced file's attributes say about the file rather than its contents.
constexpr uint32_t kCarriedAttributes
    = FileAttribute::Hidden | FileAttribute::System | FileAttribute::NotContentIndexed;

// A temporary file this old is no save in progress (a save writes it continuously and renames
// it at once after the last write).
constexpr TFileTime kStaleTempAge = 60ull * 60 * 10'000'000; // one hour

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

// Ends the producer at the first failed write: the rest would go nowhere.
struct TWriteFailed
{
};

// Writes the contents to temp and flushes it; temp does not stay behind when that fails.
bool WriteTemp(IFileSystem& fs, const std::string& path, const std::string& temp,
    TFileCreate create, const TContentsProducer& produce, TFileError* error)
{
    TFileError openError;
    auto file = fs.Open(temp, TFileAccess::Write, TFileShare::Exclusive, create, &openError);
    if (!file)
        return Fail(error, openError.code, path);
    uint32_t failure = 0;
    try {
        produce([&](const char* data, size_t size) {
            if (!file->Write(data, static_cast<int64_t>(size))) {
                failure = file->LastError();
                throw TWriteFailed {};
            }
        });
        if (!file->Flush())
            failure = file->LastError() ? file->LastError() : FileErrorCode::WriteFault;
    } catch (const TWriteFailed&) {
        if (!failure)
            failure = FileErrorCode::WriteFault;
    } catch (...) {
        file.reset();
        fs.Delete(temp);
        throw;
    }
    file.reset(); // closed before it can be renamed on Windows
    if (failure) {
        fs.Delete(temp);
        return Fail(error, failure, path);
    }
    return true;
}

// Gives temp the attributes of the file it replaces; a file system that cannot keeps the
// new file's own (that loses no text).
void CarryAttributes(IFileSystem& fs, const std::string& temp, uint32_t replaced)
{
    const uint32_t carried = replaced & kCarriedAttributes;
    uint32_t own = 0;
    if (carried && fs.GetAttributes(temp, &own))
        fs.SetAttributes(temp, (own & ~kCarriedAttributes) | carried);
}

bool IsLowerHexDigit(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
}

} // namespace

bool ReplaceFileContents(IFileSystem& fs, const std::string& path, const TContentsProducer& produce,
    const TReplaceOptions& options, TFileError* error)
{
    const bool exists = fs.Exists(path);
    uint32_t attributes = 0;
    if (exists) {
        if (fs.IsReadOnly(path))
            return Fail(error, FileErrorCode::AccessDenied, path);
        if (!fs.GetAttributes(path, &attributes))
            attributes = 0;
    }
    const bool drawn = options.temp.empty();
    const std::string temp = drawn ? fs.TempNameIn(DirectoryOf(path)) : options.temp;
    if (!WriteTemp(fs, path, temp, drawn ? TFileCreate::CreateNew : TFileCreate::CreateAlways,
            produce, error))
        return false;
    CarryAttributes(fs, temp, attributes);

    // The backup is best a second name of the old file: the file itself is then replaced in
    // one step and never missing. Where there are no such names it is moved aside first.
    std::string linked, moved;
    if (exists && !options.backup.empty() && options.backup != path) {
        fs.Delete(options.backup); // there may be none
        TFileError backupError;
        if (fs.HardLink(path, options.backup, &backupError)) {
            linked = options.backup;
        } else if (fs.Rename(path, options.backup, false, &backupError)) {
            moved = options.backup;
        } else {
            fs.Delete(temp);
            return Fail(error, backupError.code, path);
        }
    }
    TFileError replaceError;
    if (!fs.ReplaceWith(temp, path, &replaceError)) {
        if (!moved.empty())
            fs.Rename(moved, path, false); // the old file back where it was
        if (!linked.empty())
            fs.Delete(linked);
        fs.Delete(temp);
        return Fail(error, replaceError.code, path);
    }
    // Temporary files of saves cut short would pile up beside the file, one per ended save.
    TFileTime now = 0;
    if (drawn && fs.GetWriteTime(path, &now))
        RemoveStaleTemps(fs, DirectoryOf(path), now, kStaleTempAge);
    return true;
}

bool ReplaceFileContents(
    IFileSystem& fs, const std::string& path, std::string_view data, TFileError* error)
{
    return ReplaceFileContents(
        fs, path, [data](const TContentsSink& sink) { sink(data.data(), data.size()); }, {}, error);
}

bool ReplaceFileContents(IFileSystem& fs, const std::string& path,
    std::initializer_list<std::string_view> pieces, const std::string& temp, TFileError* error)
{
    TReplaceOptions options;
    options.temp = temp;
    return ReplaceFileContents(
        fs, path,
        [pieces](const TContentsSink& sink) {
            for (std::string_view piece : pieces)
                sink(piece.data(), piece.size());
        },
        options, error);
}

bool IsDrawnTempName(std::string_view name)
{
    if (name.size() != 15 || name.substr(0, 3) != "~wx" || name.substr(11) != ".tmp")
        return false;
    for (char c : name.substr(3, 8))
        if (!IsLowerHexDigit(c))
            return false;
    return true;
}

int RemoveStaleTemps(
    IFileSystem& fs, const std::string& directory, TFileTime reference, TFileTime minAge)
{
    std::string prefix = directory;
    if (!prefix.empty() && !IsPathSeparator(prefix.back()) && prefix.back() != ':')
        prefix += PathSeparator();
    int removed = 0;
    for (const TDirEntry& entry : fs.List(directory, "~wx*.tmp")) {
        if (entry.isDirectory || entry.isReadOnly || !IsDrawnTempName(entry.name)
            || entry.writeTime > reference || reference - entry.writeTime < minAge)
            continue;
        const std::string path = prefix + entry.name;
        // Open by anyone (a save still writing it), it stays.
        if (!fs.Open(
                path, TFileAccess::ReadWrite, TFileShare::Exclusive, TFileCreate::OpenExisting))
            continue;
        if (fs.Delete(path))
            ++removed;
    }
    return removed;
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
    case FileErrorCode::NotEnoughMemory:
        return "Not enough memory resources are available to process this command.";
    case FileErrorCode::WriteProtect:
        return "The media is write protected.";
    case FileErrorCode::WriteFault:
        return "The system cannot write to the specified device.";
    case FileErrorCode::ReadFault:
        return "The system cannot read from the specified device.";
    case FileErrorCode::SharingViolation:
        return "The process cannot access the file because it is being used by another process.";
    case FileErrorCode::HandleDiskFull:
    case FileErrorCode::DiskFull:
        return "There is not enough space on the disk.";
    default:
        return "Error code " + std::to_string(code) + ".";
    }
}

} // namespace wexly
