#include "app/HandOver.h"
#include "app/StatusBarLayout.h"

#include <gtest/gtest.h>

namespace wexly::test {
namespace {

TEST(HandOver, StartDirAlwaysEndsInBackslash)
{
    EXPECT_EQ(WithTrailingBackslash("C:\\work"), "C:\\work\\");
    EXPECT_EQ(WithTrailingBackslash("C:\\"), "C:\\");
    EXPECT_EQ(WithTrailingBackslash(""), "\\");
}

TEST(HandOver, TextRoundTripsThroughTheReceiver)
{
    std::string text = MakeHandOverText("C:\\work\\", "/R a.txt");
    EXPECT_EQ(text, "C:\\work\\|/R a.txt");
    std::string dir = "old", cmd = "old";
    EXPECT_EQ(ReceiveHandOver(HandOverKey, false, text, dir, cmd), THandOverOutcome::TakenToOpen);
    EXPECT_EQ(dir, "C:\\work\\");
    EXPECT_EQ(cmd, "/R a.txt");
}

TEST(HandOver, SplitsAtTheFirstBarOnly)
{
    std::string dir, cmd;
    EXPECT_EQ(ReceiveHandOver(HandOverKey, false, "C:\\w\\|a|b", dir, cmd),
        THandOverOutcome::TakenToOpen);
    EXPECT_EQ(dir, "C:\\w\\");
    EXPECT_EQ(cmd, "a|b");
}

TEST(HandOver, EmptyCommandLineTakesOnlyTheDirectory)
{
    std::string dir = "C:\\old\\", cmd = "x";
    auto outcome = ReceiveHandOver(HandOverKey, false, "D:\\new\\|", dir, cmd);
    EXPECT_EQ(outcome, THandOverOutcome::Taken);
    EXPECT_EQ(HandOverResult(outcome), 1);
    EXPECT_EQ(dir, "D:\\new\\");
    EXPECT_EQ(cmd, "");
}

TEST(HandOver, RefusedWithWrongKeyOrWhileClosing)
{
    std::string dir = "keep", cmd = "keep";
    auto wrong = ReceiveHandOver(0xBEEF, false, "C:\\|a", dir, cmd);
    auto closing = ReceiveHandOver(HandOverKey, true, "C:\\|a", dir, cmd);
    EXPECT_EQ(wrong, THandOverOutcome::Refused);
    EXPECT_EQ(closing, THandOverOutcome::Refused);
    EXPECT_EQ(HandOverResult(wrong), 0);
    EXPECT_EQ(dir, "keep");
    EXPECT_EQ(cmd, "keep");
}

TEST(HandOver, TitleWithoutBarIsIgnoredButAccepted)
{
    std::string dir = "keep", cmd = "keep";
    auto outcome = ReceiveHandOver(HandOverKey, false, "Wexly2", dir, cmd);
    EXPECT_EQ(outcome, THandOverOutcome::Ignored);
    EXPECT_EQ(HandOverResult(outcome), 1);
    EXPECT_EQ(dir, "keep");
}

TEST(StatusBar, NumbersPadToFourDigits)
{
    EXPECT_EQ(StatusNumberText(0), "0000");
    EXPECT_EQ(StatusNumberText(7), "0007");
    EXPECT_EQ(StatusNumberText(9999), "9999");
    EXPECT_EQ(StatusNumberText(12345), "12345");
}

TEST(StatusBar, SmallPanelsSitAtTheRightWithGaps)
{
    TStatusTextWidths w { 13, 24, 20, 28, 28 };
    TStatusBarLayout layout = LayoutStatusBar(500, w);
    EXPECT_EQ(layout.height, 21);
    EXPECT_EQ(layout.panelHeight, 19);
    EXPECT_EQ(layout.panels[spColumn].Right(), 500);
    EXPECT_EQ(layout.panels[spColumn].width, 34);
    EXPECT_EQ(layout.panels[spLine].Right() + 2, layout.panels[spColumn].left);
    EXPECT_EQ(layout.panels[spInsOvr].Right() + 2, layout.panels[spLine].left);
    EXPECT_EQ(layout.panels[spCaps].Right() + 2, layout.panels[spInsOvr].left);
    EXPECT_EQ(layout.panels[spMessage].width, layout.panels[spCaps].left - 2);
}

TEST(StatusBar, WiderLineTextShiftsThePanelsLeft)
{
    TStatusTextWidths narrow { 13, 24, 20, 28, 28 };
    TStatusTextWidths wide = narrow;
    wide.line = 35;
    EXPECT_EQ(LayoutStatusBar(500, wide).panels[spCaps].left,
        LayoutStatusBar(500, narrow).panels[spCaps].left - 7);
}

TEST(StatusBar, TheEncodingPanelComesLastWhenItHasAWidth)
{
    TStatusTextWidths w { 13, 24, 20, 28, 28, 50 };
    TStatusBarLayout layout = LayoutStatusBar(500, w);
    EXPECT_EQ(layout.panels[spEncoding].Right(), 500);
    EXPECT_EQ(layout.panels[spEncoding].width, 56);
    EXPECT_EQ(layout.panels[spColumn].Right() + 2, layout.panels[spEncoding].left);
    EXPECT_EQ(layout.panels[spMessage].width, layout.panels[spCaps].left - 2);
}

TEST(StatusBar, NarrowWindowLeavesMessagePanelEmpty)
{
    TStatusBarLayout layout = LayoutStatusBar(40, { 13, 24, 20, 28, 28 });
    EXPECT_EQ(layout.panels[spMessage].width, 0);
}

} // namespace
} // namespace wexly::test
