#include "piles/DynamicMenu.h"

#include "config/UtilsBox.h"

namespace wexly {

TDynamicMenuItem TDynamicMenuItem::Separator()
{
    TDynamicMenuItem item;
    item.separator = true;
    item.caption = "-";
    return item;
}

namespace {

unsigned char IdAt(const std::string& line, size_t index)
{
    return index < line.size() ? static_cast<unsigned char>(line[index]) : 0;
}

std::string Tail(const std::string& line)
{
    return line.size() > 2 ? line.substr(2) : "";
}

TDynamicMenuItem AddToPileItem(std::string caption, unsigned char id)
{
    TDynamicMenuItem item;
    item.caption = std::move(caption);
    item.hint = "Add to this pile";
    item.tag = id;
    item.action = TMenuAction::AddToPile;
    return item;
}

// Each pile's contents are built once: a damaged file with a cycle (a pile listed under its
// own descendant) or with one identifier given to several piles must neither recurse forever
// nor multiply the menu at every level. Such a pile still shows, without its contents.
std::vector<TDynamicMenuItem> BuildLevel(const TSortedStringList& piles,
    const TSortedStringList& pileFiles, unsigned char id, std::vector<bool>& built)
{
    std::vector<TDynamicMenuItem> items;
    built[id] = true;
    for (const std::string& line : piles) {
        if (line.size() < 2 || IdAt(line, 0) != id)
            continue;
        const unsigned char sub = IdAt(line, 1);
        TDynamicMenuItem pile;
        pile.caption = EscapeAmpersands(Tail(line));
        pile.tag = sub;
        pile.hint = "Sub-pile";
        pile.submenu = true;
        pile.children.push_back(AddToPileItem("Add to this pile", sub));
        pile.children.push_back(TDynamicMenuItem::Separator());
        if (!built[sub]) {
            for (auto& child : BuildLevel(piles, pileFiles, sub, built))
                pile.children.push_back(std::move(child));
        }
        items.push_back(std::move(pile));
    }
    for (const std::string& line : pileFiles) {
        if (line.size() < 2 || IdAt(line, 0) != id)
            continue;
        TDynamicMenuItem file;
        file.caption = EscapeAmpersands(Tail(line));
        file.tag = line[1] == '1' ? 1 : 0;
        file.hint = "Open this file";
        file.action = TMenuAction::OpenPileFile;
        items.push_back(std::move(file));
    }
    return items;
}

} // namespace

std::vector<TDynamicMenuItem> BuildPileMenu(
    const TSortedStringList& piles, const TSortedStringList& pileFiles, unsigned char id)
{
    std::vector<bool> built(256, false);
    return BuildLevel(piles, pileFiles, id, built);
}

std::vector<TDynamicMenuItem> RebuildPilesMenu(
    const TSortedStringList& piles, const TSortedStringList& pileFiles)
{
    std::vector<TDynamicMenuItem> items;
    TDynamicMenuItem stick = AddToPileItem("&Stick in Main Pile", kMainPileId);
    stick.shortcut = "Ctrl+B";
    items.push_back(std::move(stick));
    items.push_back(TDynamicMenuItem::Separator());
    for (auto& item : BuildPileMenu(piles, pileFiles, kMainPileId))
        items.push_back(std::move(item));
    return items;
}

std::vector<TDynamicMenuItem> RebuildMacrosMenu(const TSortedStringList& macros)
{
    std::vector<TDynamicMenuItem> items;
    for (const std::string& line : macros) {
        int number = 0;
        const std::string digits = line.substr(0, 2);
        bool numeric = !digits.empty();
        for (char c : digits) {
            if (c < '0' || c > '9')
                numeric = false;
        }
        if (numeric)
            number = std::stoi(digits);
        TDynamicMenuItem item;
        item.caption = "Macro" + std::to_string(number);
        item.tag = number;
        item.hint = "Execute this macro";
        item.shortcut = "Shift+F" + std::to_string(number);
        item.action = TMenuAction::PlayMacro;
        items.push_back(std::move(item));
    }
    return items;
}

std::vector<TDynamicMenuItem> RebuildToolsMenu(const std::vector<TExternalTool>& tools)
{
    std::vector<TDynamicMenuItem> items;
    for (size_t i = 0; i < tools.size() && i < kToolsInMenu; ++i) {
        TDynamicMenuItem item;
        item.caption = tools[i].Name;
        item.hint = "Execute this program";
        item.tag = static_cast<int>(i);
        item.action = TMenuAction::RunTool;
        items.push_back(std::move(item));
    }
    return items;
}

} // namespace wexly
