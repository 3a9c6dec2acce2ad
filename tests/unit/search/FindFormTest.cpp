#include "search/FindEnables.h"
#include "search/FindForm.h"
#include "search/ReplaceForm.h"
#include "search/SearchHistory.h"

#include "support/DocFakes.h"

#include <gtest/gtest.h>

namespace wexly::test {

namespace {

class TRecordingDirectorySearch final : public IDirectorySearch
{
public:
    std::vector<std::string> masks;
    void SearchFiles(TFindForm& form) override { masks.push_back(form.Mask()); }
};

struct TFormEnv
{
    TDocEnv env;
    TSearchDriver driver { *env.set, env.asker };
    TRecordingDirectorySearch dirSearch;
    TFindForm find { env.settings, driver, &dirSearch };
    TReplaceForm replace { env.settings, driver };

    // Designed: client 400 x 300 with an upper panel of 120.
    void ShowFind()
    {
        find.FormShow({ 400, 300, 120, 410, 330 });
        find.Shown();
    }
};

} // namespace

TEST(SearchHistory, NewestFirstAtMostTenAndReusedEntriesMoveUpIgnoringCase)
{
    TStringList list;
    for (int i = 1; i <= 11; ++i)
        AddToHistory(list, "t" + std::to_string(i));
    ASSERT_EQ(list.size(), 10u);
    EXPECT_EQ(list.front(), "t11");
    EXPECT_EQ(list.back(), "t2");
    AddToHistory(list, "T5");
    ASSERT_EQ(list.size(), 10u);
    EXPECT_EQ(list.front(), "T5");
    EXPECT_EQ(std::count(list.begin(), list.end(), "t5"), 0);
    EXPECT_EQ(list[1], "t11");
}

TEST(FindForm, ShowingSetsTheControlsFromTheOptionsAndTheHistories)
{
    TFormEnv f;
    f.env.settings.FindHistory = { "older" };
    f.env.settings.MaskHistory = { "C:\\*.c" };
    f.find.SetOptions(TSearchOptions(soWholeWord) | soBackward | soGlobal);
    f.find.SetFindText("a\tb\\c");
    f.find.SetRange(TFindRange::OpenFiles);
    f.ShowFind();
    EXPECT_EQ(f.find.findBox, "a\\tb\\\\c");
    EXPECT_TRUE(f.find.wholeWord && f.find.directionUp && f.find.modeGlobal);
    EXPECT_FALSE(f.find.matchCase);
    EXPECT_EQ(f.find.rangeChecked, TFindRange::OpenFiles);
    EXPECT_TRUE(f.find.directionEnabled && f.find.modeEnabled && f.find.findNextEnabled);
    EXPECT_FALSE(f.find.lowerPanelEnabled);
    EXPECT_EQ(f.find.findItems, f.env.settings.FindHistory);
    EXPECT_EQ(f.find.maskItems, f.env.settings.MaskHistory);

    f.find.FindBoxChanged("");
    EXPECT_FALSE(f.find.findNextEnabled);
    // Enter in an empty box must not start a search for nothing.
    EXPECT_EQ(f.find.FindNextClick(), TFindNextAction::StayOpen);
    EXPECT_TRUE(f.env.settings.FindHistory == TStringList { "older" });
}

TEST(FindForm, FindNextBuildsExactlyOneOperationBitAndClosesWhenTheSettingSaysSo)
{
    TFormEnv f;
    f.env.settings.FindDialogCloses = true;
    f.find.SetOptions(TSearchOptions(soReplace) | soReplaceAll | soSelText);
    f.ShowFind();
    f.find.FindBoxChanged("x");
    f.find.matchCase = true;
    f.find.MaskBoxChanged("C:\\w\\*.txt");
    EXPECT_EQ(f.find.FindNextClick(), TFindNextAction::CloseAccepted);
    EXPECT_EQ(f.find.ModalResult(), 1);
    EXPECT_EQ(f.find.Options(), TSearchOptions(soFind) | soMatchCase);
    EXPECT_EQ(f.find.Range(), TFindRange::ThisFile);
    EXPECT_EQ(f.env.settings.FindHistory, TStringList { "x" });
    EXPECT_EQ(f.env.settings.MaskHistory, TStringList { "C:\\w\\*.txt" });
    EXPECT_TRUE(f.dirSearch.masks.empty());
}

TEST(FindForm, TheFilesRangeSearchesInsideTheDialogAndKeepsItsOwnSize)
{
    TFormEnv f;
    f.ShowFind();
    // First showing: the files range starts at the compact width and 150 below the panel.
    EXPECT_EQ(f.env.settings.FindLargeWidth, 400);
    EXPECT_EQ(f.env.settings.FindLargeHeight, 270);
    EXPECT_EQ(f.find.Layout().clientHeight, 120);
    EXPECT_FALSE(f.find.Layout().resizable);

    f.find.RangeClick(TFindRange::Files, 400, 120);
    TFindLayout large = f.find.Layout();
    EXPECT_TRUE(large.resizable);
    EXPECT_EQ(large.clientWidth, 400);
    EXPECT_EQ(large.clientHeight, 270);
    EXPECT_EQ(large.minOuterWidth, 410);
    EXPECT_EQ(large.minClientHeight, 270);
    EXPECT_FALSE(f.find.directionEnabled || f.find.modeEnabled);
    EXPECT_TRUE(f.find.lowerPanelEnabled);

    f.find.FindBoxChanged("needle");
    EXPECT_FALSE(f.find.findNextEnabled);
    f.find.MaskBoxChanged("C:\\src\\*.cpp");
    EXPECT_TRUE(f.find.findNextEnabled);
    EXPECT_EQ(f.find.FindNextClick(), TFindNextAction::StayOpen);
    EXPECT_EQ(f.dirSearch.masks, std::vector<std::string> { "C:\\src\\*.cpp" });
    EXPECT_EQ(f.find.ModalResult(), 0);

    // The user enlarged the dialog, then went back to this file: the size is kept.
    f.find.RangeClick(TFindRange::ThisFile, 640, 480);
    EXPECT_EQ(f.env.settings.FindLargeWidth, 640);
    EXPECT_EQ(f.env.settings.FindLargeHeight, 480);

    // Clicks while the dialog is being prepared record nothing.
    f.find.SetRange(TFindRange::Files);
    f.find.FormShow({ 400, 300, 120, 410, 330 });
    f.find.RangeClick(TFindRange::ThisFile, 700, 500);
    f.find.Shown();
    EXPECT_EQ(f.env.settings.FindLargeWidth, 640);

    // Cancel in the files range keeps the size too.
    f.find.RangeClick(TFindRange::Files, 400, 120);
    f.find.CancelClick(800, 600);
    EXPECT_EQ(f.find.ModalResult(), 2);
    EXPECT_EQ(f.env.settings.FindLargeHeight, 600);
}

TEST(FindEnables, ARunningFilesSearchLeavesOnlyWatchingAndHaltingUsable)
{
    TFormEnv f;
    f.ShowFind();
    f.find.RangeClick(TFindRange::Files, 400, 120);
    f.find.FindBoxChanged("needle");
    f.find.MaskBoxChanged("C:\\src\\*.cpp");
    ASSERT_TRUE(f.find.findNextEnabled);

    struct Row
    {
        const char* state;
        TFindPanelState panel;
        bool ranges, maskAndSubdirs, halt, open, findNext, cancel;
    };
    const Row rows[] = {
        { "before a search", { false, false, false, true }, true, true, false, false, true, true },
        { "walking", { true, true, false, false }, false, false, true, false, false, false },
        // Open stays off while walking even if a selection says it could open.
        { "walking, selection", { true, true, true, false }, false, false, true, false, false,
            false },
        { "done, files selected", { false, false, true, true }, true, true, false, true, true,
            true },
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.state);
        const TFindEnables e = FindControlEnables(f.find, r.panel);
        EXPECT_EQ(e.thisFile, r.ranges);
        EXPECT_EQ(e.openFiles, r.ranges);
        EXPECT_EQ(e.specifyFiles, r.ranges);
        EXPECT_EQ(e.maskAndSubdirs, r.maskAndSubdirs);
        EXPECT_TRUE(e.results); // the tree can be watched and expanded throughout
        EXPECT_FALSE(e.direction || e.mode);
        EXPECT_EQ(e.halt, r.halt);
        EXPECT_EQ(e.open, r.open);
        EXPECT_EQ(e.findNext, r.findNext);
        EXPECT_EQ(e.cancel, r.cancel);
    }

    // A fresh files panel is idle.
    TFindInFilesModel panel;
    const TFindPanelState idle = FindPanelStateOf(panel);
    EXPECT_FALSE(idle.running || idle.haltEnabled || idle.openEnabled);
    EXPECT_TRUE(idle.cancelEnabled);
}

TEST(FindEnables, OutsideTheFilesRangeHaltOpenAndTheLowerPanelStayOff)
{
    TFormEnv f;
    f.ShowFind();
    f.find.FindBoxChanged("needle");
    const TFindEnables e = FindControlEnables(f.find, { false, true, true, true });
    EXPECT_FALSE(e.halt || e.open || e.maskAndSubdirs || e.results);
    EXPECT_TRUE(e.direction && e.mode && e.findNext && e.cancel);

}

TEST(ReplaceForm, EachButtonSetsItsOwnOperationBitAndKind)
{
    struct TRow
    {
        TReplaceButton button;
        bool allFiles;
        TSearchOptions options;
        TSearchKind kind;
    };
    const TRow rows[] = {
        { TReplaceButton::FindNext, true, TSearchOptions(soFind) | soMatchCase,
            TSearchKind::FindInFile },
        { TReplaceButton::Replace, false, TSearchOptions(soReplace) | soMatchCase,
            TSearchKind::ReplaceInFile },
        { TReplaceButton::Replace, true, TSearchOptions(soReplace) | soMatchCase,
            TSearchKind::ReplaceInOpenFiles },
        { TReplaceButton::ReplaceAll, false, TSearchOptions(soReplaceAll) | soMatchCase | soGlobal,
            TSearchKind::ReplaceAllInFile },
        { TReplaceButton::ReplaceAll, true, TSearchOptions(soReplaceAll) | soMatchCase | soGlobal,
            TSearchKind::ReplaceAllInOpenFiles },
    };
    for (const TRow& row : rows) {
        TFormEnv f;
        f.env.settings.FindDialogCloses = true;
        f.replace.SetOptions(TSearchOptions(soFind) | soReplace | soReplaceAll);
        f.replace.FormShow();
        EXPECT_FALSE(f.replace.buttonsEnabled);
        f.replace.FindBoxChanged("a");
        EXPECT_TRUE(f.replace.buttonsEnabled);
        f.replace.ReplaceBoxChanged("b\\t");
        f.replace.matchCase = true;
        f.replace.allOpenFiles = row.allFiles;
        EXPECT_TRUE(f.replace.ButtonClick(row.button));
        EXPECT_EQ(f.replace.Options(), row.options) << static_cast<int>(row.kind);
        EXPECT_EQ(f.replace.Kind(), row.kind);
        EXPECT_EQ(f.replace.ReplaceText(), "b\t");
        EXPECT_EQ(f.env.settings.ReplaceHistory, TStringList { "b\\t" });
    }
}

TEST(ReplaceForm, ShowingPicksTheRangeFromTheKindAndEscapesBothTexts)
{
    TFormEnv f;
    f.replace.SetKind(TSearchKind::ReplaceInOpenFiles);
    f.replace.SetFindText("\\");
    f.replace.SetReplaceText("\t");
    f.replace.FormShow();
    EXPECT_TRUE(f.replace.allOpenFiles);
    EXPECT_EQ(f.replace.findBox, "\\\\");
    EXPECT_EQ(f.replace.replaceBox, "\\t");
    f.replace.SetKind(TSearchKind::ReplaceAllInOpenFiles);
    f.replace.FormShow();
    EXPECT_FALSE(f.replace.allOpenFiles);
}

} // namespace wexly::test
