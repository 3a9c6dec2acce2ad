// Writes a whole file so that it is either fully replaced or left as it was: the new contents
// go to a temporary file beside it, which then takes the old file's place. The one way the
// program rewrites a file: documents, the settings file, word lists and recovery records.
#pragma once

#include "platform/Files.h"

#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>

namespace wexly {

// Hands the next bytes of the new contents to the file being written.
using TContentsSink = std::function<void(const char* data, size_t size)>;
// Produces the whole new contents through the sink, in as many pieces as it likes. It may
// throw; the old file is then kept, the temporary file removed and the exception passed on.
using TContentsProducer = std::function<void(const TContentsSink& sink)>;

struct TReplaceOptions
{
    // The temporary file's name. Empty: a fresh name beside the file. Else this name, replaced
    // if an earlier run left it (for writers on other threads, which cannot draw a name).
    std::string temp;
    // Not empty: the old file, if any, is kept under this name (an older one there replaced).
    std::string backup;
};

// False, with the reason in error, when the file could not be replaced; the old file, if
// any, is then unchanged and no temporary file is left behind. A read-only file is not
// replaced (access denied), as writing it in place would fail too; nothing is written then.
// The replaced file's hidden, system and not-indexed attributes carry over to the new one
// (read-only never arises; archive is set, as the contents are new); a file system that keeps
// more (the Windows security descriptor, creation time, streams) carries that over in
// IFileSystem::ReplaceWith.
bool ReplaceFileContents(IFileSystem& fs, const std::string& path,
    const TContentsProducer& produce, const TReplaceOptions& options, TFileError* error);

// The same for contents at hand, through a fresh temporary file.
bool ReplaceFileContents(
    IFileSystem& fs, const std::string& path, std::string_view data, TFileError* error);

// The same for contents in pieces written one after another, through a temporary file of the
// caller's naming (see TReplaceOptions::temp).
bool ReplaceFileContents(IFileSystem& fs, const std::string& path,
    std::initializer_list<std::string_view> pieces, const std::string& temp, TFileError* error);

// Whether name (without its folder) has the form of the fresh temporary files the real file
// systems draw (IFileSystem::TempNameIn): "~wx", eight hex digits, ".tmp".
bool IsDrawnTempName(std::string_view name);

// Removes, from directory, temporary files of that form that a save cut short left behind
// (the program was ended during the save): only those nobody holds open and that were last
// written at least minAge before reference (a file time of the same file system, such as the
// write time of a file just saved). Returns how many were removed.
int RemoveStaleTemps(
    IFileSystem& fs, const std::string& directory, TFileTime reference, TFileTime minAge);

// A one-line reason for a file error code, for message boxes.
std::string FileErrorText(uint32_t code);

} // namespace wexly
