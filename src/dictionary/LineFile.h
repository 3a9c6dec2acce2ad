// Small text files read and written whole as lines: dictionaries and macro sets. Lines end in
// CR, LF or CR LF on reading and in CR LF on writing. Borrows the file system.
#pragma once

#include "editor/LineReader.h"
#include "platform/Files.h"

#include <string>
#include <string_view>
#include <vector>

namespace wexly {

// The lines of a file's bytes; a line end at the very end makes no extra empty line.
std::vector<std::string> SplitLines(std::string_view bytes);

// The error of a line file that could not be opened, read or written ("opened", ...).
EInOutError LineFileError(const std::string& path, const char* failed, uint32_t code);

// Reads the whole file; raises EInOutError, naming the file, when it cannot be opened or read.
std::vector<std::string> ReadLineFile(IFileSystem& fs, const std::string& path);

// Writes every line followed by CR LF, replacing an existing file only once the new one is
// complete; raises EInOutError and leaves the old file as it was on failure.
void WriteLineFile(IFileSystem& fs, const std::string& path, const std::vector<std::string>& lines);

} // namespace wexly
