// The menus the main window rebuilds from lists in the settings: the "&Piles" menu (sub-piles
// and their files, nested), the "&Macros" submenu and the tool entries of the "&Tools" menu.
// Each is built afresh as plain items that the window turns into real menu items.
#pragma once

#include "config/Settings.h"

#include <string>
#include <vector>

namespace wexly {

// What clicking an item does; the window maps it to its handler.
enum class TMenuAction { None, AddToPile, OpenPileFile, PlayMacro, RunTool };

struct TDynamicMenuItem
{
    bool separator = false;
    std::string caption; // exactly what the menu shows: "&" already doubled where needed
    std::string hint;
    std::string shortcut; // e.g. "Shift+F3"; empty for none
    int tag = 0;
    TMenuAction action = TMenuAction::None;
    std::vector<TDynamicMenuItem> children; // non-empty makes it a submenu
    bool submenu = false; // a sub-pile is a submenu even while it holds nothing

    static TDynamicMenuItem Separator();
};

inline constexpr unsigned char kMainPileId = 33;

// The items a pile's menu holds below its fixed part: its sub-piles, each with "Add to this
// pile", a separator and its own contents, then its files.
std::vector<TDynamicMenuItem> BuildPileMenu(
    const TSortedStringList& piles, const TSortedStringList& pileFiles, unsigned char id);
// The whole "&Piles" menu: "&Stick in Main Pile", a separator, then the Main Pile's contents.
std::vector<TDynamicMenuItem> RebuildPilesMenu(
    const TSortedStringList& piles, const TSortedStringList& pileFiles);
// "Macro3" for the line "03...", played with Shift+F3.
std::vector<TDynamicMenuItem> RebuildMacrosMenu(const TSortedStringList& macros);
// The first ten tools, to go between the "&Tools" menu's separator and "List...".
std::vector<TDynamicMenuItem> RebuildToolsMenu(const std::vector<TExternalTool>& tools);

inline constexpr size_t kToolsInMenu = 10;

} // namespace wexly
