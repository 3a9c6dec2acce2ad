// The built-in key tables: "Default" with its bindings and the main window's changes to it,
// plus the inactive "WordStar" and "Grid" tables. Also the virtual-key numbers the tables use.
#pragma once

#include "editor/OvcCommandProcessor.h"

#include <cstdint>

namespace wexly {

// Windows virtual-key codes used by the tables (the engine must not include windows.h).
namespace vk {
inline constexpr uint8_t Back = 0x08;
inline constexpr uint8_t Tab = 0x09;
inline constexpr uint8_t Return = 0x0D;
inline constexpr uint8_t Shift = 0x10;
inline constexpr uint8_t Control = 0x11;
inline constexpr uint8_t Menu = 0x12; // Alt
inline constexpr uint8_t Capital = 0x14;
inline constexpr uint8_t Escape = 0x1B;
inline constexpr uint8_t Space = 0x20;
inline constexpr uint8_t Prior = 0x21; // Page Up
inline constexpr uint8_t Next = 0x22; // Page Down
inline constexpr uint8_t End = 0x23;
inline constexpr uint8_t Home = 0x24;
inline constexpr uint8_t Left = 0x25;
inline constexpr uint8_t Up = 0x26;
inline constexpr uint8_t Right = 0x27;
inline constexpr uint8_t Down = 0x28;
inline constexpr uint8_t Insert = 0x2D;
inline constexpr uint8_t Delete = 0x2E;
inline constexpr uint8_t Digit0 = 0x30; // '0'; the digits follow
inline constexpr uint8_t LetterA = 0x41; // 'A'; the letters follow
inline constexpr uint8_t F1 = 0x70; // F2..F12 follow
inline constexpr uint8_t F7 = 0x76;
inline constexpr uint8_t F8 = 0x77;
inline constexpr uint8_t NumLock = 0x90;
inline constexpr uint8_t Scroll = 0x91;
inline constexpr uint8_t LShift = 0xA0; // LShift, RShift, LControl, RControl, LMenu, RMenu
inline constexpr uint8_t RMenu = 0xA5;
inline constexpr uint8_t OemOpenBracket = 0xDB; // [
inline constexpr uint8_t OemCloseBracket = 0xDD; // ]

constexpr uint8_t Letter(char upper)
{
    return static_cast<uint8_t>(upper);
}
}

// The editor's own "Default" bindings, before the main window changes them.
TOvcCommandTable DefaultCommandTable();
// The main window's changes to "Default": user commands 256-262.
void ApplyMainWindowBindings(TOvcCommandTable& table);
// The processor the program uses: "Default" (active, with the main window's changes),
// "WordStar" and "Grid" (inactive; nothing activates them, so they hold no bindings).
TOvcCommandProcessor CreateProgramCommandProcessor();

} // namespace wexly
