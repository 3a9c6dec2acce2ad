#include "dictionary/DicMaintModel.h"
#include "dictionary/DicChooseModel.h"

#include "support/DocFakes.h"

#include <gtest/gtest.h>

namespace wexly::test {
namespace {

const std::string kHeader = "[Wexly2 Dictionary File V1]\r\n";

struct TMaintEnv
{
    TDocFileSystem fs;
    TDocAsker asker;
    TDocDialogs dialogs;
    TSettings settings;
    TDicMaintModel model { settings, fs, asker, dialogs };

    void Fill(const std::vector<std::pair<std::string, std::string>>& rows)
    {
        for (const auto& [word, repl] : rows) {
            int row = model.RowCount() - 1;
            model.SetCell(row, 0, word);
            model.SetCell(row, 1, repl);
            model.SelectCell(row, 1);
            ASSERT_TRUE(model.CheckInvariants());
        }
    }
    void SaveAnswer(const std::string& name)
    {
        TSaveDialogResult r;
        r.confirmed = true;
        r.fileName = name;
        dialogs.saves.push_back(r);
    }
};

} // namespace

TEST(DicMaintModel, ShowsCurrentDictionaryOrNone)
{
    TMaintEnv env;
    env.model.Show();
    EXPECT_EQ(env.model.Label(), "None");
    EXPECT_EQ(env.model.RowCount(), 2);
    EXPECT_EQ(env.model.Cell(0, 0), "Convert");
    EXPECT_EQ(env.model.Cell(0, 1), "To");

    env.fs.SetFile("C:\\d\\a.ydc", kHeader + "1\r\nteh..the\r\nwx..Wexly..2\r\n");
    env.settings.LastDic = "C:\\d\\a.ydc";
    env.model.Show();
    EXPECT_EQ(env.model.Label(), "C:\\d\\a.ydc");
    EXPECT_TRUE(env.model.MatchCase());
    // Two entries, and the empty row that selecting row 1 adds after a filled last row.
    ASSERT_EQ(env.model.RowCount(), 4);
    EXPECT_EQ(env.model.Cell(2, 1), "Wexly..2");
    EXPECT_EQ(env.model.Cell(3, 0), "");
    EXPECT_FALSE(env.model.Modified());
    EXPECT_EQ(env.model.CurrentRow(), 1);
    env.model.SelectCell(3, 0);
    EXPECT_EQ(env.model.RowCount(), 4);
}

TEST(DicMaintModel, WrongHeaderChangesNothing)
{
    TMaintEnv env;
    env.fs.SetFile("C:\\d\\a.ydc", kHeader + "0\r\na..b\r\n");
    env.fs.SetFile("C:\\d\\bad.ydc", "[Wexly2 Dictionary File V2]\r\n0\r\nx..y\r\n");
    ASSERT_TRUE(env.model.LoadFile("C:\\d\\a.ydc"));
    env.model.SetCell(1, 1, "c");
    EXPECT_FALSE(env.model.LoadFile("C:\\d\\bad.ydc"));
    EXPECT_FALSE(env.model.LoadFile("C:\\d\\missing.ydc"));
    ASSERT_EQ(env.asker.asked.size(), 2u);
    EXPECT_EQ(env.asker.asked[0].text, "Unable to load file!  May be corrupt");
    EXPECT_EQ(env.model.CurrentFile(), "C:\\d\\a.ydc");
    EXPECT_EQ(env.model.Cell(1, 1), "c");
    EXPECT_TRUE(env.model.Modified());
}

TEST(DicMaintModel, TriggerCharactersCannotBeTyped)
{
    TMaintEnv env;
    env.model.Show();
    EXPECT_EQ(env.model.SetCell(1, 0, "a b.c'd9"), "abc'd9");
    EXPECT_EQ(env.model.SetCell(1, 1, "x..y"), "xy");
    EXPECT_TRUE(env.model.Modified());
}

TEST(DicMaintModel, SaveSortsIgnoringCaseAndDropsRowsWithoutWord)
{
    TMaintEnv env;
    env.model.Show();
    env.Fill({ { "zeta", "Z" }, { "", "orphan" }, { "Beta", "B" }, { "alpha", "A" } });
    env.model.SetMatchCase(true);
    env.SaveAnswer("C:\\d\\new");
    ASSERT_TRUE(env.model.Save());
    EXPECT_EQ(
        env.fs.Contents("C:\\d\\new.ydc"), kHeader + "1\r\nalpha..A\r\nBeta..B\r\nzeta..Z\r\n");
    EXPECT_EQ(env.model.CurrentFile(), "C:\\d\\new.ydc");
    EXPECT_EQ(env.settings.DicDir, "C:\\d\\");
    EXPECT_FALSE(env.model.Modified());
    ASSERT_EQ(env.dialogs.saveRequests.size(), 1u);
    EXPECT_EQ(env.dialogs.saveRequests[0].filterList, "Dictionary Files (*.ydc)|*.ydc");

    // The next Save goes to the current file without asking.
    env.model.SetCell(1, 1, "AA");
    ASSERT_TRUE(env.model.Save());
    EXPECT_EQ(env.dialogs.saveRequests.size(), 1u);
}

TEST(DicMaintModel, SaveAsKeepsAnyTypedExtension)
{
    EXPECT_EQ(WithDictionaryExtension("C:\\d\\words"), "C:\\d\\words.ydc");
    EXPECT_EQ(WithDictionaryExtension("C:\\d\\words.txt"), "C:\\d\\words.txt");
    EXPECT_EQ(WithDictionaryExtension("C:\\d.x\\words"), "C:\\d.x\\words.ydc");
}

TEST(DicMaintModel, CtrlDeleteRemovesRowExceptTheLast)
{
    TMaintEnv env;
    env.model.Show();
    env.Fill({ { "a", "1" }, { "b", "2" } });
    ASSERT_EQ(env.model.RowCount(), 4);
    env.model.SelectCell(3, 0); // the empty row
    env.fs.SetFile("C:\\d\\x.ydc", kHeader + "0\r\na..1\r\nb..2\r\n");
    ASSERT_TRUE(env.model.LoadFile("C:\\d\\x.ydc"));
    env.model.SelectCell(2, 0);
    EXPECT_EQ(env.model.RowCount(), 4);
    env.model.SelectCell(3, 0);
    EXPECT_TRUE(env.model.DeleteCurrentRow());
    EXPECT_EQ(env.model.RowCount(), 4);
    EXPECT_FALSE(env.model.Modified());

    env.model.SelectCell(1, 0);
    EXPECT_TRUE(env.model.DeleteCurrentRow());
    EXPECT_EQ(env.model.RowCount(), 3);
    EXPECT_EQ(env.model.Cell(1, 0), "b");
    EXPECT_TRUE(env.model.Modified());
    EXPECT_TRUE(env.model.CheckInvariants());
    env.asker.answers.push_back(TMsgResult::Cancel);
    EXPECT_FALSE(env.model.CloseQuery());
    EXPECT_EQ(env.asker.asked.back().text, "Current Dictionary hasn't been saved!\rSave Now?");
    EXPECT_EQ(env.asker.asked.back().caption, "Attention!");
    EXPECT_EQ(env.asker.asked.back().buttons, TMsgButtons::YesNoCancel);
}

TEST(DicMaintModel, CloseSavesOnYesAndStaysOpenWhenSaveFails)
{
    TMaintEnv env;
    env.model.Show();
    env.Fill({ { "a", "1" } });
    // Yes with no current file: Save As cancelled, so nothing is lost by closing.
    env.asker.answers.push_back(TMsgResult::Yes);
    EXPECT_FALSE(env.model.CloseQuery());
    env.asker.answers.push_back(TMsgResult::Yes);
    env.SaveAnswer("C:\\d\\a.ydc");
    EXPECT_TRUE(env.model.CloseQuery());
    EXPECT_EQ(env.fs.Contents("C:\\d\\a.ydc"), kHeader + "0\r\na..1\r\n");
    env.model.SetCell(1, 1, "2");
    env.asker.answers.push_back(TMsgResult::No);
    EXPECT_TRUE(env.model.CloseQuery());
}

TEST(DicMaintModel, FailedSaveKeepsChangesAndCurrentFile)
{
    TMaintEnv env;
    env.fs.SetFile("C:\\d\\a.ydc", kHeader + "0\r\na..1\r\n");
    ASSERT_TRUE(env.model.LoadFile("C:\\d\\a.ydc"));
    env.model.SetCell(1, 1, "2");
    env.fs.SetReadOnly("C:\\d\\a.ydc", true);
    EXPECT_FALSE(env.model.Save());
    ASSERT_EQ(env.asker.asked.size(), 1u);
    EXPECT_EQ(env.asker.asked[0].caption, "Error");
    EXPECT_TRUE(env.model.Modified());
    EXPECT_EQ(env.fs.Contents("C:\\d\\a.ydc"), kHeader + "0\r\na..1\r\n");
    env.asker.answers.push_back(TMsgResult::Yes);
    EXPECT_FALSE(env.model.CloseQuery());
}

TEST(DicMaintModel, OpenAsksFirstAndUpdatesDirectory)
{
    TMaintEnv env;
    env.model.Show();
    env.Fill({ { "a", "1" } });
    env.fs.SetFile("C:\\e\\b.ydc", kHeader + "0\r\nb..2\r\n");
    TOpenDialogResult r;
    r.confirmed = true;
    r.files = { "C:\\e\\b.ydc" };
    env.asker.answers.push_back(TMsgResult::Cancel);
    env.dialogs.opens.push_back(r);
    env.model.Open();
    EXPECT_EQ(env.model.Cell(1, 0), "a"); // cancelled before the dialog
    env.asker.answers.push_back(TMsgResult::No);
    env.model.Open();
    EXPECT_EQ(env.model.Cell(1, 0), "b");
    EXPECT_EQ(env.settings.DicDir, "C:\\e\\");
    EXPECT_FALSE(env.model.Modified());
}

TEST(DicChooseModel, BrowseFillsPathAndDirectory)
{
    TDocDialogs dialogs;
    TSettings settings;
    settings.LastDic = "C:\\old.ydc";
    TDicChooseModel model;
    model.Show(settings);
    EXPECT_EQ(model.path, "C:\\old.ydc");
    EXPECT_FALSE(model.Browse(dialogs, settings));
    TOpenDialogResult r;
    r.confirmed = true;
    r.files = { "C:\\dics\\new.ydc" };
    dialogs.opens.push_back(r);
    EXPECT_TRUE(model.Browse(dialogs, settings));
    EXPECT_EQ(model.path, "C:\\dics\\new.ydc");
    EXPECT_EQ(settings.DicDir, "C:\\dics\\");

    TDocFileSystem fs;
    TDocAsker asker;
    TDictionarySystem system(settings, fs, asker);
    fs.SetFile(model.path, "[Wexly2 Dictionary File V1]\r\n0\r\n");
    EXPECT_TRUE(model.Confirm(system));
    EXPECT_EQ(settings.LastDic, "C:\\dics\\new.ydc");
    EXPECT_TRUE(settings.DicOn);
    EXPECT_EQ(system.Menu().current.caption, "Current: C:\\dics\\new.ydc");
}

// The cell editor's keys, in a grid of a header and rows 1..4 (row 4 the empty last one).
TEST(DicGridKeys, EachKeyMovesAsTheGridDoesAndStopsAtItsEdges)
{
    using K = TDicGridKey;
    const auto move = [](int r, int c) { return TDicGridStep { TDicGridAction::Move, r, c }; };
    const TDicGridStep none {};
    struct TCase
    {
        K key;
        int row, col;
        bool atStart, atEnd;
        TDicGridStep want;
    };
    const TCase cases[] = {
        { K::Up, 1, 0, false, false, move(1, 0) }, // never onto the header
        { K::Up, 3, 1, false, false, move(2, 1) },
        { K::Down, 4, 1, false, false, move(4, 1) }, // the last row stays
        { K::PageUp, 8, 0, false, false, move(1, 0) },
        { K::PageDown, 1, 1, false, false, move(4, 1) },
        { K::Tab, 2, 0, false, false, move(2, 1) },
        { K::Tab, 2, 1, false, false, move(3, 0) }, // wraps to the next row
        { K::Tab, 4, 1, false, false, move(4, 1) }, // the last cell stays
        { K::ShiftTab, 3, 1, false, false, move(3, 0) },
        { K::ShiftTab, 3, 0, false, false, move(2, 1) }, // wraps to the row above
        { K::ShiftTab, 1, 0, false, false, move(1, 0) }, // the first cell stays
        { K::Enter, 2, 0, false, false, move(2, 1) },
        { K::Enter, 2, 1, false, false, move(3, 0) },
        { K::Enter, 4, 1, false, false, move(4, 0) },
        { K::Left, 2, 1, true, false, move(2, 0) },
        { K::Left, 2, 1, false, false, none }, // inside the text: the editor's
        { K::Left, 2, 0, true, true, none }, // nothing to the left
        { K::Right, 2, 0, false, true, move(2, 1) },
        { K::Right, 2, 0, false, false, none },
        { K::Right, 2, 1, true, true, none },
        { K::CtrlDelete, 2, 1, false, false, { TDicGridAction::DeleteRow, 2, 1 } },
        { K::Escape, 2, 0, false, false, { TDicGridAction::Close, 2, 0 } },
    };
    for (const TCase& c : cases)
        EXPECT_EQ(DicGridKeyStep(c.key, c.row, c.col, 5, c.atStart, c.atEnd), c.want)
            << "key " << static_cast<int>(c.key) << " at " << c.row << "," << c.col;
}

TEST(DicGridKeys, CaretStepsBackOverRemovedTriggerCharactersButNotBeforeTheStart)
{
    EXPECT_EQ(DicCaretAfterFilter(4, 4, 3), 3u); // "ab c" typed, the blank removed
    EXPECT_EQ(DicCaretAfterFilter(2, 5, 2), 0u); // pasted text mostly removed
    EXPECT_EQ(DicCaretAfterFilter(3, 3, 3), 3u);
}

} // namespace wexly::test
