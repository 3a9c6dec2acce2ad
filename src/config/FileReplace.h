// Writes a whole file so that it is either fully replaced or left as it was: the new contents
// go to a temporary file beside it, which then takes the old file's place.
#pragma once

#include "platform/Files.h"

#include <string>
#include <string_view>

namespace wexly {

// False, with the reason in error, when the file could not be replaced; the old file, if
// any, is then unchanged and no temporary file is left behind. A read-only file is not
// replaced (access denied), as writing it in place would fail too.
bool ReplaceFileContents(
    IFileSystem& fs, const std::string& path, std::string_view data, TFileError* error);

// A one-line reason for a file error code, for message boxes.
std::string FileErrorText(uint32_t code);

} // namespace wexly
