#include "documents/CommandLine.h"

#include <climits>
#include <cstddef>

namespace wexly {

namespace {

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

char UpperAscii(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
}

// The leading run of digits as a number, saturating rather than overflowing; 0 when the text
// does not start with a digit.
int LeadingNumber(std::string_view text, size_t* consumed = nullptr)
{
    long long value = 0;
    size_t i = 0;
    for (; i < text.size() && IsDigit(text[i]); ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > INT_MAX)
            value = INT_MAX;
    }
    if (consumed)
        *consumed = i;
    return static_cast<int>(value);
}

// "\\server\share" of a UNC directory, or its drive "X:"; empty when it has neither.
std::string_view RootOf(std::string_view dir)
{
    if (dir.size() >= 2 && dir[0] == '\\' && dir[1] == '\\') {
        size_t server = dir.find('\\', 2);
        if (server == std::string_view::npos)
            return dir;
        size_t share = dir.find('\\', server + 1);
        return share == std::string_view::npos ? dir : dir.substr(0, share);
    }
    if (dir.size() >= 2 && dir[1] == ':')
        return dir.substr(0, 2);
    return dir.substr(0, 0);
}

struct TParseState
{
    bool readOnly = false;
    bool binary = false;
    TCaretRequest caret;
    std::vector<TCommandLineAction> actions;
};

void ApplyOption(TParseState& state, std::string_view option)
{
    if (option.empty())
        return;
    if (IsDigit(option[0])) {
        state.caret = TCaretRequest { LeadingNumber(option), 0, false };
        return;
    }
    std::string_view arg = option.substr(1);
    switch (UpperAscii(option[0])) {
    case 'R':
        state.readOnly = true;
        break;
    case 'B':
        state.binary = true;
        break;
    case 'N':
        state.readOnly = false;
        state.binary = false;
        break;
    case 'E':
        state.caret = TCaretRequest { 0, 0, true };
        break;
    case 'J': {
        // "/J5,3"; without the comma only the line is taken.
        size_t used = 0;
        int line = LeadingNumber(arg, &used);
        int column = 0;
        if (used < arg.size() && arg[used] == ',')
            column = LeadingNumber(arg.substr(used + 1));
        state.caret = TCaretRequest { line, column, false };
        break;
    }
    case 'P': {
        int count = LeadingNumber(arg);
        if (count > 0) {
            TCommandLineAction action;
            action.kind = TCommandLineActionKind::ReopenHistory;
            action.count = count;
            action.readOnly = state.readOnly;
            action.binary = state.binary;
            action.caret = state.caret;
            state.actions.push_back(action);
        }
        state.caret = {};
        break;
    }
    default:
        break; // unknown options are ignored
    }
}

} // namespace

std::string MakeCommandLinePath(std::string_view baseDir, std::string_view token)
{
    if (token.size() >= 2 && token[0] == '\\' && token[1] == '\\')
        return std::string(token);
    if (!token.empty() && token[0] == '\\')
        return std::string(RootOf(baseDir)) + std::string(token);
    if ((token.size() >= 2 && token[1] == ':') || (!token.empty() && token[0] == '/'))
        return std::string(token);
    std::string path(baseDir);
    // A base without its trailing separator would glue the directory's last name to the file's.
    if (!path.empty() && path.back() != '\\' && path.back() != '/')
        path += '\\';
    return path + std::string(token);
}

std::vector<TCommandLineAction> ParseCommandLine(std::string_view baseDir, std::string_view text)
{
    TParseState state;
    size_t pos = 0;
    while (true) {
        while (pos < text.size() && text[pos] == ' ')
            ++pos;
        if (pos >= text.size())
            break;
        std::string_view token;
        if (text[pos] == '"') {
            size_t close = text.find('"', pos + 1);
            if (close == std::string_view::npos)
                break;
            token = text.substr(pos + 1, close - pos - 1);
            pos = close + 1;
        } else {
            size_t end = text.find(' ', pos);
            if (end == std::string_view::npos)
                end = text.size();
            token = text.substr(pos, end - pos);
            pos = end;
        }
        // An empty quoted token ("") names nothing; opening the base directory itself would fail.
        if (token.empty())
            continue;
        if (token[0] == '/') {
            ApplyOption(state, token.substr(1));
            continue;
        }
        TCommandLineAction action;
        action.kind = TCommandLineActionKind::OpenFileSpec;
        action.path = MakeCommandLinePath(baseDir, token);
        action.readOnly = state.readOnly;
        action.binary = state.binary;
        action.caret = state.caret;
        state.actions.push_back(std::move(action));
        state.caret = {};
    }
    return std::move(state.actions);
}

std::string CommandLineTail(std::string_view fullCommandLine)
{
    size_t pos = 0;
    auto isBlank = [](char c) { return c == ' ' || c == '\t'; };
    while (pos < fullCommandLine.size() && isBlank(fullCommandLine[pos]))
        ++pos;
    if (pos < fullCommandLine.size() && fullCommandLine[pos] == '"') {
        size_t close = fullCommandLine.find('"', pos + 1);
        pos = close == std::string_view::npos ? fullCommandLine.size() : close + 1;
    } else {
        while (pos < fullCommandLine.size() && !isBlank(fullCommandLine[pos]))
            ++pos;
    }
    while (pos < fullCommandLine.size() && isBlank(fullCommandLine[pos]))
        ++pos;
    return std::string(fullCommandLine.substr(pos));
}

} // namespace wexly
