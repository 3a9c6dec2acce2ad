// The command-line syntax shared by the start-up, the single-instance hand-over, dropped files,
// the reopen dialog and find-in-files results. Parsing only: it yields the ordered actions the
// caller carries out (open a file specification, reopen history entries).
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace wexly {

// Where the caret goes in the next file opened. Line and column are 1-based; 0 means not given.
struct TCaretRequest
{
    int line = 0;
    int column = 0;
    bool lastLine = false; // /E: the file's last line

    bool IsSet() const { return line > 0 || column > 0 || lastLine; }
    bool operator==(const TCaretRequest&) const = default;
};

enum class TCommandLineActionKind {
    OpenFileSpec, // open path (may hold wildcards) with the flags and caret below
    ReopenHistory, // reopen the `count` newest history entries with the flags and caret below
};

struct TCommandLineAction
{
    TCommandLineActionKind kind = TCommandLineActionKind::OpenFileSpec;
    std::string path; // OpenFileSpec only: already made absolute against the base directory
    int count = 0; // ReopenHistory only
    bool readOnly = false;
    bool binary = false;
    TCaretRequest caret;

    bool operator==(const TCommandLineAction&) const = default;
};

// Parses text against baseDir (the directory relative names are taken from; a missing trailing
// backslash is supplied). Options (/R /B /N /E /digits /Jline,column /Pn) are case-insensitive;
// unknown ones are ignored; an unterminated quoted token ends parsing.
std::vector<TCommandLineAction> ParseCommandLine(std::string_view baseDir, std::string_view text);

// Puts baseDir in front of a token as the command line does: "\\server" paths, "X:" paths and
// options stay; "\name" gets the root of baseDir (its drive, or \\server\share); anything else
// gets baseDir.
std::string MakeCommandLinePath(std::string_view baseDir, std::string_view token);

// The command line without the program name (a leading quoted or space-delimited word) and
// without the blanks after it, as the process received it.
std::string CommandLineTail(std::string_view fullCommandLine);

} // namespace wexly
