// Writes a whole file so that it is either fully replaced or left as it was: the new contents
// go to a temporary file beside it, which then takes the old file's place.
#pragma once

#include "platform/Files.h"

#include <initializer_list>
#include <string>
#include <string_view>

namespace wexly {

// False, with the reason in error, when the file could not be replaced; the old file, if
// any, is then unchanged and no temporary file is left behind. A read-only file is not
// replaced (access denied), as writing it in place would fail too.
bool ReplaceFileContents(
    IFileSystem& fs, const std::string& path, std::string_view data, TFileError* error);

// The same for contents in pieces written one after another, through a temporary file of the
// caller's naming (replaced if an earlier run left it): for writers on other threads, which
// cannot draw a temporary name.
bool ReplaceFileContents(IFileSystem& fs, const std::string& path,
    std::initializer_list<std::string_view> pieces, const std::string& temp, TFileError* error);

// A one-line reason for a file error code, for message boxes.
std::string FileErrorText(uint32_t code);

} // namespace wexly
