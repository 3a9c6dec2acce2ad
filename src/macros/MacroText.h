// Macro texts: literal characters and "<...>" tokens for editing keys. Playing a text into an
// editor through its command codes, turning recorded keys and pasted text into tokens, and
// removing the last keypress.
#pragma once

#include "editor/OvcCommands.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace wexly {

class TOvcCustomEditor;

// A token's commands: normal, and while selection mode is on.
struct TMacroToken
{
    std::string_view text;
    TCommandCode command;
    TCommandCode selectCommand;
    char data = 0; // the character of ccTypedChar tokens
};

// The token text starts with, if any.
const TMacroToken* FindMacroToken(std::string_view text);

inline constexpr std::string_view kBeginSelToken = "<BEGINSEL>";
inline constexpr std::string_view kEndSelToken = "<ENDSEL>";

// Plays text into the editor as if its keys were typed, with screen updates held back until
// the end. Unknown tokens are skipped; a "<" with no ">" after it is typed as a character.
void PlayMacroText(TOvcCustomEditor& editor, std::string_view text);

// Clipboard text as macro text: TAB, line ends (CR LF, LF CR, CR or LF: one "<ENTER>" each),
// "<" and ">" become tokens.
std::string PasteToMacroText(std::string_view text);

// Without its last token (back to the last "<" when it ends with ">"; everything when there
// is no "<") or, else, its last character.
std::string RemoveLastKeypress(std::string_view text);

// Virtual keys the recorder knows.
namespace MacroKey {
inline constexpr uint8_t Back = 0x08, Tab = 0x09, Enter = 0x0D, PageUp = 0x21, PageDown = 0x22,
                         End = 0x23, Home = 0x24, Left = 0x25, Up = 0x26, Right = 0x27, Down = 0x28,
                         Insert = 0x2D, Delete = 0x2E, C = 0x43, V = 0x56, X = 0x58, F1 = 0x70,
                         F12 = 0x7B, Comma = 188, Period = 190;
}

// A key pressed in the recorder: the token or character it appends. layoutChar is what the
// keyboard layout gives the key with the current shift state (0 for none). Nothing for keys
// without one (and for F keys and Ctrl+Tab, which the page handles itself).
std::optional<std::string> RecordedKeyText(uint8_t key, bool shift, bool ctrl, char layoutChar);

} // namespace wexly
