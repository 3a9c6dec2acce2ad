// The name a file's backup copy gets: "~" put in front of the extension (name.txt ->
// name.~txt), or ".~" appended when the name has no extension (README -> README.~).
#pragma once

#include <string>
#include <string_view>

namespace wexly {

// Only a dot in the last path component counts, so "dir.old/file" gets "dir.old/file.~".
std::string BackupFileName(std::string_view path);

} // namespace wexly
