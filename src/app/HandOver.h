// The single-instance hand-over: a second start puts its start directory and command line into
// its application window's title and sends the running main window a message; the receiver
// takes both over. These are the rules of both sides; the window plumbing lives in win32/.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace wexly {

inline constexpr const char* MainWindowClass = "TWexlyMainForm";
inline constexpr const char* MainWindowCaption = "Wexly2";
inline constexpr const char* ApplicationTitle = "Wexly2";
inline constexpr const char* HelpFileName = "wexly.hlp";
inline constexpr uint32_t HandOverMessage = 32769; // WM_APP + 1
inline constexpr uintptr_t HandOverKey = 57005; // 0xDEAD, in wParam

// The start directory as kept: always ending in a backslash.
std::string WithTrailingBackslash(std::string dir);

// "C:\work\" and "/R a.txt" give "C:\work\|/R a.txt".
std::string MakeHandOverText(std::string_view startDir, std::string_view cmdLine);

enum class THandOverOutcome {
    Refused, // wrong key, or the receiver is closing: message result 0
    Ignored, // title without a bar: nothing changes, message result 1
    Taken, // start directory and command line replaced, nothing to open: result 1
    TakenToOpen, // replaced, and the command line is to be opened: result 1
};

// What the running instance does with a hand-over. On Taken/TakenToOpen startDir and cmdLine
// hold the sender's values.
THandOverOutcome ReceiveHandOver(uintptr_t key, bool closing, std::string_view title,
    std::string& startDir, std::string& cmdLine);

// The message result for an outcome.
inline int HandOverResult(THandOverOutcome outcome)
{
    return outcome == THandOverOutcome::Refused ? 0 : 1;
}

} // namespace wexly
