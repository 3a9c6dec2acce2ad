// Playing stored macros from the "&Macros" menu and Shift+F1..F12, with the guard that keeps
// playback from starting again inside itself, and the items of that menu. Borrows the macros
// list of the settings.
#pragma once

#include "config/SortedStringList.h"

#include <cstdint>
#include <string>
#include <vector>

namespace wexly {

class TEditFile;

inline constexpr const char* kMacrosMenuCaption = "&Macros";
inline constexpr const char* kMacrosMenuHint = "Preset sequences of commands";

struct TMacroMenuItem
{
    int tag = 0; // the macro number; 0 when the entry does not start with one
    std::string caption; // "Macro3"
    std::string hint;
    std::string shortcut; // "Shift+F3"
};

// One item per entry, in list order.
std::vector<TMacroMenuItem> BuildMacrosMenu(const TSortedStringList& macros);

// 1..12 for Shift+F1..Shift+F12 (Shift alone held), else 0.
int MacroNumberForKey(uint8_t key, uint8_t shiftState);

// "01" .. "12": the key macro n is stored under.
std::string MacroKeyOf(int number);

// The text stored under number: the first entry starting with its key, without the key.
std::string StoredMacroText(const TSortedStringList& macros, int number);

// Plays a macro text into a document: nothing for binary documents.
void PlayMacroInto(TEditFile& doc, const std::string& text);

class TMacroPlayer
{
public:
    explicit TMacroPlayer(const TSortedStringList& macros)
        : m_macros(macros)
    {
    }

    bool Playing() const { return m_playing; }
    // A macro item chosen (tag = number) with focusFile as the focused document. Nothing
    // without a document or while a macro is playing; false then.
    bool MacroClick(int tag, TEditFile* focusFile);

private:
    const TSortedStringList& m_macros;
    bool m_playing = false;
};

} // namespace wexly
