// Command lines of external tools: the "%c" and "%f" placeholders, and the program part that
// the tool editor's "..." button starts from.
#pragma once

#include <string>

namespace wexly {

// Replaces the first "%c" by path, then the first "%f" by the name part of path; no quotes
// are added.
std::string ExpandToolCommandLine(const std::string& commandLine, const std::string& path);
// True when the command line names the active document.
bool NeedsDocument(const std::string& commandLine);
// The command line up to its first space outside double quotes.
std::string ProgramPart(const std::string& commandLine);

} // namespace wexly
