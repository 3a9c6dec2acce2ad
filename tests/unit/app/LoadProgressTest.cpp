#include "app/LoadProgress.h"

#include <gtest/gtest.h>

namespace wexly::test {
namespace {

using TKind = TLoadProgressStep::TKind;

TEST(LoadProgressText, ShortLoadsSayNothingLongOnesAFewTimesASecondThenGiveThePanelBack)
{
    TLoadProgressText progress(300, 100);
    // A file read in one go: its only report is the end.
    EXPECT_EQ(progress.Report("small.txt", 10, 10, 0).kind, TKind::Nothing);

    EXPECT_EQ(progress.Report("big.txt", 4, 100, 1000).kind, TKind::Nothing);
    EXPECT_EQ(progress.Report("big.txt", 8, 100, 1200).kind, TKind::Nothing); // still quiet
    TLoadProgressStep step = progress.Report("big.txt", 12, 100, 1300);
    EXPECT_EQ(step.kind, TKind::Show);
    EXPECT_EQ(step.text, "Reading big.txt... 12%");
    EXPECT_EQ(progress.Report("big.txt", 16, 100, 1350).kind, TKind::Nothing); // too soon
    step = progress.Report("big.txt", 20, 100, 1400);
    EXPECT_EQ(step.kind, TKind::Show);
    EXPECT_EQ(step.text, "Reading big.txt... 20%");
    EXPECT_EQ(progress.Report("big.txt", 100, 100, 1450).kind, TKind::Done);
    // The next long load waits its quiet time again.
    EXPECT_EQ(progress.Report("big.txt", 4, 100, 2000).kind, TKind::Nothing);
}

TEST(LoadProgressText, ALoadReadAgainOrCutShortNeverLeavesAStaleFigure)
{
    TLoadProgressText progress(300, 100);
    progress.Report("a.txt", 10, 100, 0);
    EXPECT_EQ(progress.Report("a.txt", 50, 100, 400).kind, TKind::Show);
    // Read again from the start (it did not convert): shown again at once, from the start.
    TLoadProgressStep step = progress.Report("a.txt", 5, 100, 500);
    EXPECT_EQ(step.kind, TKind::Show);
    EXPECT_EQ(step.text, "Reading a.txt... 5%");
    // The load failed without an end; the next file, however short, gives the panel back.
    EXPECT_EQ(progress.Report("b.txt", 3, 3, 600).kind, TKind::Done);
    EXPECT_EQ(progress.Report("c.txt", 3, 3, 700).kind, TKind::Nothing);
    // An empty file has nothing to tell.
    EXPECT_EQ(progress.Report("empty.txt", 0, 0, 800).kind, TKind::Nothing);
}

} // namespace
} // namespace wexly::test
