// Fuzzes the command line and the single-instance hand-over: any window title a second start
// sends is either refused, ignored or split into a start directory and a command line that
// the receiver parses. A start directory without a bar comes back whole; what the parser
// yields, written out again as a command line, parses to the same actions.
#include "FuzzSupport.h"
#include "app/HandOver.h"
#include "documents/CommandLine.h"

#include <cctype>

namespace {

using namespace wexly;

bool IsAbsolute(std::string_view path)
{
    return (path.size() >= 2 && path[1] == ':') || path.starts_with("\\\\")
        || path.starts_with("/");
}

void CheckActions(std::string_view baseDir, const std::vector<TCommandLineAction>& actions)
{
    for (const TCommandLineAction& a : actions) {
        FUZZ_CHECK(a.caret.line >= 0 && a.caret.column >= 0);
        if (a.kind == TCommandLineActionKind::ReopenHistory) {
            FUZZ_CHECK(a.count > 0 && a.path.empty());
            continue;
        }
        FUZZ_CHECK(!a.path.empty());
        // A drive-rooted base makes every file name absolute.
        if (baseDir.size() >= 2 && baseDir[1] == ':')
            FUZZ_CHECK(IsAbsolute(a.path));
    }
}

// The actions as a command line of their own: flags and caret spelled out before each one.
std::string Rewrite(const std::vector<TCommandLineAction>& actions, bool* writable)
{
    std::string text;
    for (const TCommandLineAction& a : actions) {
        text += "/N ";
        if (a.readOnly)
            text += "/R ";
        if (a.binary)
            text += "/B ";
        if (a.caret.lastLine)
            text += "/E ";
        else if (a.caret.IsSet())
            text
                += "/J" + std::to_string(a.caret.line) + "," + std::to_string(a.caret.column) + " ";
        if (a.kind == TCommandLineActionKind::ReopenHistory) {
            text += "/P" + std::to_string(a.count) + " ";
            continue;
        }
        // A path with a quote in it can only stand unquoted, so it must hold no space.
        if (a.path.find('"') != std::string::npos) {
            *writable = *writable && a.path.find(' ') == std::string::npos;
            text += a.path + " ";
        } else {
            text += "\"" + a.path + "\" ";
        }
    }
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::TFuzzInput in(data, size);
    const uint8_t flags = in.Byte();
    const std::string title(in.Rest());

    std::string startDir = "C:\\old\\", cmdLine = "old";
    const THandOverOutcome outcome
        = ReceiveHandOver(flags & 1 ? HandOverKey : flags, flags & 2, title, startDir, cmdLine);
    FUZZ_CHECK(HandOverResult(outcome) == (outcome == THandOverOutcome::Refused ? 0 : 1));
    if (outcome == THandOverOutcome::Refused || outcome == THandOverOutcome::Ignored) {
        FUZZ_CHECK(startDir == "C:\\old\\" && cmdLine == "old");
        FUZZ_CHECK(outcome == THandOverOutcome::Refused || title.find('|') == std::string::npos);
    } else {
        FUZZ_CHECK(MakeHandOverText(startDir, cmdLine) == title);
        FUZZ_CHECK(startDir.find('|') == std::string::npos);
        FUZZ_CHECK((outcome == THandOverOutcome::TakenToOpen) == !cmdLine.empty());
    }
    // The sender's side: a start directory without a bar travels whole.
    const std::string sentDir
        = WithTrailingBackslash(std::string(title.substr(0, title.find('|'))));
    std::string gotDir, gotLine;
    FUZZ_CHECK(
        ReceiveHandOver(HandOverKey, false, MakeHandOverText(sentDir, title), gotDir, gotLine)
        != THandOverOutcome::Refused);
    FUZZ_CHECK(gotDir == sentDir && gotLine == title);

    // The receiver parses what it was handed, against its start directory as kept.
    const std::string baseDir = flags & 4 ? WithTrailingBackslash(startDir) : "C:\\work\\";
    const std::vector<TCommandLineAction> actions = ParseCommandLine(baseDir, cmdLine);
    CheckActions(baseDir, actions);
    // Windows start directories begin with a drive or a server; a quoted name starting with a
    // slash would be an option.
    const bool windowsBase = (baseDir.size() >= 2 && std::isalpha(static_cast<uint8_t>(baseDir[0]))
                                 && baseDir[1] == ':')
        || baseDir.starts_with("\\\\");
    if (windowsBase && baseDir.find('"') == std::string::npos) {
        bool writable = true;
        const std::string again = Rewrite(actions, &writable);
        if (writable)
            FUZZ_CHECK(ParseCommandLine(baseDir, again) == actions);
    }
    (void)CommandLineTail(title);
    FUZZ_CHECK(CommandLineTail("wexly.exe " + cmdLine).size() <= cmdLine.size());
    return 0;
}
