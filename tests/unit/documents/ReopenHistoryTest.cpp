#include "documents/ReopenHistory.h"

#include "dialogs/ReopenForm.h"
#include "support/DocFakes.h"

#include <gtest/gtest.h>

namespace wexly::test {

TEST(ReopenHistory, AddingAtTheLimitDropsTheOldestLine)
{
    std::vector<std::string> lines;
    int32_t limit = 20;
    int rebuilt = 0;
    TReopenHistory history(lines, limit);
    history.OnChanged = [&] { ++rebuilt; };
    for (int i = 0; i < 20; ++i)
        history.Add("C:\\f" + std::to_string(i), false, false, 1, 1);
    history.Add("C:\\new", true, true, 7, 9);
    ASSERT_EQ(lines.size(), 20u);
    EXPECT_EQ(lines.front(), "11C:\\new|7|9");
    EXPECT_EQ(lines.back(), "00C:\\f1|1|1");
    EXPECT_EQ(rebuilt, 21);
    history.Add("C:\\new", false, false, 1, 1); // an older line for it stays
    EXPECT_EQ(lines[1], "11C:\\new|7|9");
}

TEST(ReopenHistory, RemoveTakesTheFirstLineWithThePathIgnoringCase)
{
    std::vector<std::string> lines { "00C:\\a.txt|1|1", "10c:\\A.TXT|2|2", "00C:\\b.txt|1|1" };
    int32_t limit = 20;
    TReopenHistory history(lines, limit);
    history.Remove("C:\\A.txt");
    EXPECT_EQ(lines, (std::vector<std::string> { "10c:\\A.TXT|2|2", "00C:\\b.txt|1|1" }));
}

TEST(ReopenHistory, LinesWithoutBarsReadAsFlagsAndPath)
{
    const THistoryEntry e = ParseHistoryLine("10D:\\x y.bin");
    EXPECT_TRUE(e.binary);
    EXPECT_FALSE(e.readOnly);
    EXPECT_EQ(e.path, "D:\\x y.bin");
    const THistoryEntry f = ParseHistoryLine("01C:\\a|12|34");
    EXPECT_EQ(f.line, 12);
    EXPECT_EQ(f.column, 34);
    EXPECT_EQ(MakeHistoryLine(f), "01C:\\a|12|34");
}

TEST(ReopenHistory, MenuShowsFourEntriesAndRoundTripsAmpersands)
{
    EXPECT_FALSE(RebuildReopenMenu({}).postSeparatorVisible);
    const TReopenMenu two = RebuildReopenMenu({ "10C:\\R&D\\a.bin|1|1", "00C:\\b.txt" });
    EXPECT_TRUE(two.postSeparatorVisible);
    ASSERT_EQ(two.entries.size(), 2u);
    EXPECT_EQ(two.entries[0].caption, "&1 C:\\R&&D\\a.bin");
    EXPECT_EQ(two.entries[0].tag, 1);
    EXPECT_EQ(two.entries[1].caption, "&2 C:\\b.txt");
    EXPECT_EQ(two.entries[1].hint, "Open this file");
    EXPECT_EQ(RebuildReopenMenu(std::vector<std::string>(6, "00C:\\x")).entries.size(), 4u);

    TDocEnv env;
    env.fs.SetFile("C:\\R&D\\a.bin", "a");
    std::string opened;
    bool asBinary = false;
    auto open = [&](const std::string& p, bool b) {
        opened = p;
        asBinary = b;
    };
    EXPECT_TRUE(PileFileClick(two.entries[0].caption, 1, env.fs, env.asker, open));
    EXPECT_EQ(opened, "C:\\R&D\\a.bin");
    EXPECT_TRUE(asBinary);
    EXPECT_FALSE(PileFileClick("&2 C:\\b.txt", 0, env.fs, env.asker, open));
    ASSERT_EQ(env.asker.asked.size(), 1u);
    EXPECT_EQ(env.asker.asked[0].text, "C:\\b.txt");
    EXPECT_EQ(env.asker.asked[0].caption, "File not found!");
    EXPECT_EQ(PileFileItemPath("C:\\pile&&member.txt"), "C:\\pile&member.txt");
}

TEST(ReopenForm, CommandLineSwitchesModesOnlyWhenTheRowsNeedIt)
{
    const std::vector<std::string> history { "00C:\\t.txt|1|1", "10C:\\b.bin|1|1",
        "01C:\\r.txt|1|1", "11C:\\rb.bin|1|1" };
    TReopenForm form;
    form.Show(history);
    EXPECT_EQ(form.Open(), "");
    form.SetSelected(0, true);
    form.SetSelected(1, true);
    form.SetSelected(2, true);
    EXPECT_EQ(form.Open(), "\"C:\\t.txt\" /b \"C:\\b.bin\" /n /r \"C:\\r.txt\" ");
    form.SetSelected(3, true);
    EXPECT_EQ(form.Open(), "\"C:\\t.txt\" /b \"C:\\b.bin\" /n /r \"C:\\r.txt\" /b \"C:\\rb.bin\" ");
    EXPECT_EQ(form.Result(), form.Open());
    EXPECT_EQ(form.RowFlagImage(0), 0);
    EXPECT_EQ(form.RowFlagImage(1), 3);
    EXPECT_EQ(form.RowFlagImage(2), 2);
    EXPECT_EQ(form.RowFlagImage(3), 4);
    EXPECT_EQ(form.RowPath(3), "C:\\rb.bin");
}

TEST(ReopenForm, HeaderClickTogglesSortingAndKeepsTheSelection)
{
    const std::vector<std::string> history { "10c:\\z.bin", "00C:\\b.txt", "00c:\\A.txt" };
    TReopenForm form;
    form.Show(history);
    form.SetSelected(0, true);
    form.SetFocusedRow(1);
    form.HeaderClick();
    EXPECT_TRUE(form.Sorted());
    EXPECT_EQ(form.RowLine(0), "00c:\\A.txt");
    EXPECT_EQ(form.RowLine(2), "10c:\\z.bin");
    EXPECT_TRUE(form.Selected(2));
    EXPECT_FALSE(form.Selected(0));
    EXPECT_EQ(form.FocusedRow(), 1);
    form.HeaderClick();
    EXPECT_FALSE(form.Sorted());
    EXPECT_EQ(form.RowLine(0), "10c:\\z.bin");
    EXPECT_TRUE(form.Selected(0));
}

TEST(ReopenForm, BoundsAreKeptInMainWindowClientCoordinates)
{
    EXPECT_FALSE(TReopenForm::InitialBounds({ 5, 0, 100, 200 }, { 10, 20 }));
    const auto shown = TReopenForm::InitialBounds({ 5, 6, 100, 200 }, { 10, 20 });
    ASSERT_TRUE(shown);
    EXPECT_EQ(*shown, (TRect { 15, 26, 110, 220 }));
    EXPECT_EQ(TReopenForm::BoundsToStore(*shown, { 10, 20 }), (TRect { 5, 6, 100, 200 }));
}

} // namespace wexly::test
