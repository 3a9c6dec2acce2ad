#include "piles/DynamicMenu.h"

#include <gtest/gtest.h>

namespace wexly::test {

namespace {

TSortedStringList List(std::initializer_list<std::string> lines)
{
    TSortedStringList list;
    for (const auto& line : lines)
        list.Add(line);
    return list;
}

std::vector<std::string> Captions(const std::vector<TDynamicMenuItem>& items)
{
    std::vector<std::string> out;
    for (const auto& item : items)
        out.push_back(item.caption);
    return out;
}

} // namespace

TEST(DynamicMenu, EmptyPileListsLeaveOnlyTheFixedItems)
{
    const auto menu = RebuildPilesMenu({}, {});
    ASSERT_EQ(menu.size(), 2u);
    EXPECT_EQ(menu[0].caption, "&Stick in Main Pile");
    EXPECT_EQ(menu[0].tag, 33);
    EXPECT_EQ(menu[0].shortcut, "Ctrl+B");
    EXPECT_EQ(menu[0].action, TMenuAction::AddToPile);
    EXPECT_TRUE(menu[1].separator);
}

TEST(DynamicMenu, SubPilesComeBeforeFilesAndNestWithTheirOwnAddItem)
{
    const auto piles = List({ "!\"Letters", "\"#Old", "!$Empty" });
    const auto files = List({ "!0C:\\a.txt", "\"1C:\\data.bin", "#0C:\\old\\x & y.txt" });
    const auto menu = RebuildPilesMenu(piles, files);
    ASSERT_EQ(Captions(menu),
        (std::vector<std::string> { "&Stick in Main Pile", "-", "Letters", "Empty", "C:\\a.txt" }));

    const TDynamicMenuItem& empty = menu[3];
    EXPECT_TRUE(empty.submenu);
    EXPECT_EQ(empty.tag, '$');
    EXPECT_EQ(empty.hint, "Sub-pile");
    ASSERT_EQ(Captions(empty.children), (std::vector<std::string> { "Add to this pile", "-" }));
    EXPECT_EQ(empty.children[0].tag, '$');
    EXPECT_EQ(empty.children[0].action, TMenuAction::AddToPile);

    const TDynamicMenuItem& letters = menu[2];
    ASSERT_EQ(Captions(letters.children),
        (std::vector<std::string> { "Add to this pile", "-", "Old", "C:\\data.bin" }));
    EXPECT_EQ(letters.children[3].tag, 1); // binary
    EXPECT_EQ(letters.children[3].action, TMenuAction::OpenPileFile);
    const TDynamicMenuItem& old = letters.children[2];
    ASSERT_EQ(old.children.size(), 3u);
    EXPECT_EQ(old.children[2].caption, "C:\\old\\x && y.txt");
    EXPECT_EQ(old.children[2].tag, 0);
    EXPECT_EQ(old.children[2].hint, "Open this file");
    EXPECT_EQ(menu[4].tag, 0);
}

TEST(DynamicMenu, PileNamesHaveAmpersandsDoubledAndOrphansAreLeftOut)
{
    const auto piles = List({ "!\"R&D", "zzLost" });
    const auto files = List({ "z0C:\\lost.txt" });
    const auto menu = RebuildPilesMenu(piles, files);
    ASSERT_EQ(menu.size(), 3u);
    EXPECT_EQ(menu[2].caption, "R&&D");
}

TEST(DynamicMenu, APileListedUnderItsOwnDescendantDoesNotRecurseForever)
{
    const auto piles = List({ "!\"A", "\"#B", "#\"Loop", "$$Self" });
    const auto menu = BuildPileMenu(piles, {}, '!');
    ASSERT_EQ(menu.size(), 1u);
    EXPECT_EQ(BuildPileMenu(piles, {}, '$').size(), 1u);
}

TEST(DynamicMenu, ACycleThroughAReusedIdentifierDoesNotMultiplyTheMenu)
{
    // B and C share an identifier that leads back to A: without care every level doubles.
    const auto piles = List({ "!\"A", "\"#B", "\"#C", "#\"D" });
    const auto menu = BuildPileMenu(piles, List({ "#0C:\\f.txt" }), '!');
    ASSERT_EQ(menu.size(), 1u);
    const auto& a = menu[0].children;
    ASSERT_EQ(Captions(a), (std::vector<std::string> { "Add to this pile", "-", "B", "C" }));
    EXPECT_EQ(Captions(a[2].children),
        (std::vector<std::string> { "Add to this pile", "-", "D", "C:\\f.txt" }));
    EXPECT_EQ(a[3].children.size(), 2u);
    EXPECT_EQ(a[2].children[2].children.size(), 2u);
}

TEST(DynamicMenu, MacrosMenuTakesNumberFromTheLineStart)
{
    const auto macros = List({ "03abc", "12def", "xxjunk" });
    const auto items = RebuildMacrosMenu(macros);
    ASSERT_EQ(items.size(), 3u);
    std::vector<std::string> captions = Captions(items);
    std::sort(captions.begin(), captions.end());
    EXPECT_EQ(captions, (std::vector<std::string> { "Macro0", "Macro12", "Macro3" }));
    for (const auto& item : items) {
        EXPECT_EQ(item.shortcut, "Shift+F" + std::to_string(item.tag));
        EXPECT_EQ(item.hint, "Execute this macro");
    }
}

TEST(DynamicMenu, OnlyTheFirstTenToolsAreInTheMenuWithTitlesAsStored)
{
    std::vector<TExternalTool> tools;
    for (int i = 0; i < 11; ++i)
        tools.push_back({ "T&" + std::to_string(i), {} });
    const auto items = RebuildToolsMenu(tools);
    ASSERT_EQ(items.size(), 10u);
    EXPECT_EQ(items[9].caption, "T&9");
    EXPECT_EQ(items[9].tag, 9);
    EXPECT_EQ(items[9].hint, "Execute this program");
    EXPECT_EQ(items[9].action, TMenuAction::RunTool);
}

} // namespace wexly::test
