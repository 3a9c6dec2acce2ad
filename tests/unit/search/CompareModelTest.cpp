#include "search/CompareModel.h"
#include "search/GotoLineModel.h"

#include "support/DocFakes.h"

#include <gtest/gtest.h>

namespace wexly::test {

namespace {

class TCountingBeeper final : public IBeeper
{
public:
    int beeps = 0;
    void Beep() override { ++beeps; }
};

// top.txt in the top pane, bottom.txt in the bottom pane.
struct TPanesEnv
{
    TDocEnv env;
    TCountingBeeper beeper;
    TCompareModel compare { *env.set, beeper };
    TEditFile* top = nullptr;
    TEditFile* bottom = nullptr; // the bottom pane's view

    TPanesEnv(const std::string& topText, const std::string& bottomText, bool bottomBinary = false)
    {
        env.fs.SetFile("C:\\w\\bottom.txt", bottomText);
        env.fs.SetFile("C:\\w\\top.txt", topText);
        TEditFile& b = env.Open("C:\\w\\bottom.txt", bottomBinary);
        top = &env.Open("C:\\w\\top.txt");
        env.set->ToggleSplit(false);
        env.windows.focused = env.set->BottomView();
        env.set->SelectFile(b);
        bottom = env.set->BottomView();
        for (TEditFile* d : { top, bottom })
            if (d->TextEditor())
                d->TextEditor()->SetVisibleSize(10, 80);
    }
};

std::string Sel(TEditFile* d)
{
    return d->TextEditor()->GetSelTextBuf();
}

} // namespace

TEST(CompareModel, StopsAtTheFirstDifferenceAndContinuesAfterItOnTheNextPress)
{
    TPanesEnv p("the quick, brown fox\r\njumps Over\r\n", "the  quick brown\r\nfox jumps over\r\n");
    ASSERT_EQ(p.env.set->TopFile(), p.top);
    ASSERT_EQ(p.bottom->Source()->ShortName(), "bottom.txt");
    EXPECT_TRUE(p.compare.Available());
    // The word at the caret is passed over: the walk starts after it.
    EXPECT_TRUE(p.compare.NextDifferentWord());
    EXPECT_EQ(Sel(p.top), "Over");
    EXPECT_EQ(Sel(p.bottom), "over");
    EXPECT_EQ(p.top->CaretLine(), 2);
    EXPECT_EQ(p.top->CaretColumn(), 7);
    EXPECT_EQ(p.bottom->CaretLine(), 2);
    EXPECT_EQ(p.bottom->CaretColumn(), 11);
    EXPECT_FALSE(p.compare.NextDifferentWord());
    EXPECT_EQ(p.beeper.beeps, 1);
}

TEST(CompareModel, IdenticalTextsBeepAndLeaveTheCaretsAlone)
{
    TPanesEnv p("one two\r\nthree\r\n", "one two\r\nthree\r\n");
    p.top->SetCaret(1, 5);
    p.bottom->SetCaret(1, 5);
    EXPECT_FALSE(p.compare.NextDifferentWord());
    EXPECT_EQ(p.beeper.beeps, 1);
    EXPECT_EQ(p.top->CaretLine(), 1);
    EXPECT_EQ(p.top->CaretColumn(), 5);
    EXPECT_EQ(p.bottom->CaretColumn(), 5);
}

TEST(CompareModel, WhenOneTextEndsFirstItsCaretGoesToItsEnd)
{
    // The shorter text ends in an empty paragraph: the walk's end position there is 0.
    TPanesEnv p("a b\r\n", "a b c\r\n");
    EXPECT_TRUE(p.compare.NextDifferentWord());
    EXPECT_EQ(Sel(p.bottom), "c");
    EXPECT_EQ(Sel(p.top), "");
    EXPECT_EQ(p.top->CaretLine(), p.top->LineTotal());
    EXPECT_EQ(p.top->CaretColumn(), 1);

    TPanesEnv q("a b c d", "a b");
    EXPECT_TRUE(q.compare.NextDifferentWord());
    EXPECT_EQ(Sel(q.top), "c");
    EXPECT_EQ(q.bottom->CaretLine(), q.bottom->LineTotal());
}

TEST(CompareModel, ABinaryPaneGivesNoWordsAndAnUnsplitWindowOffersNothing)
{
    TPanesEnv p("first word\r\n", std::string("\x01\x02\x03\x90 binary", 11), true);
    ASSERT_TRUE(p.bottom->Binary());
    ASSERT_TRUE(p.compare.Available());
    EXPECT_TRUE(p.compare.NextDifferentWord());
    EXPECT_EQ(Sel(p.top), "word");

    TDocEnv env;
    TCountingBeeper beeper;
    TCompareModel compare(*env.set, beeper);
    EXPECT_FALSE(compare.Available());
    EXPECT_FALSE(compare.NextDifferentWord());
    EXPECT_EQ(beeper.beeps, 0);
}

TEST(GotoLineModel, NumbersThatAreNotNumbersCountAsZero)
{
    EXPECT_EQ(TGotoLineModel::Parse("42"), 42);
    EXPECT_EQ(TGotoLineModel::Parse(" 7 "), 7);
    EXPECT_EQ(TGotoLineModel::Parse("-3"), -3);
    EXPECT_EQ(TGotoLineModel::Parse(""), 0);
    EXPECT_EQ(TGotoLineModel::Parse("12a"), 0);
    EXPECT_EQ(TGotoLineModel::Parse("+-1"), 0);
    EXPECT_EQ(TGotoLineModel::Parse("99999999999999999999999"), 0);
}

TEST(GotoLineModel, OkMovesTheCaretToALineStartClampedToTheText)
{
    TDocEnv env;
    TGotoLineModel model;
    EXPECT_FALSE(TGotoLineModel::Available(*env.set));
    model.BoxChanged("3");
    model.Ok(*env.set); // nothing open: nothing happens
    env.fs.SetFile("C:\\w\\a.txt", "l1\r\nl2\r\nl3 long\r\nl4\r\nl5\r\n");
    TEditFile& a = env.Open("C:\\w\\a.txt");
    a.TextEditor()->SetVisibleSize(2, 80);
    EXPECT_TRUE(TGotoLineModel::Available(*env.set));
    model.Ok(*env.set);
    EXPECT_EQ(a.CaretLine(), 3);
    EXPECT_EQ(model.BoxText(), "3");

    a.SetCaret(3, 4);
    model.Ok(*env.set); // already there: the column stays
    EXPECT_EQ(a.CaretColumn(), 4);

    model.BoxChanged("1000");
    model.Ok(*env.set);
    EXPECT_EQ(a.CaretLine(), a.LineTotal());
    EXPECT_EQ(a.CaretColumn(), 1);
    EXPECT_GE(a.CaretLine(), a.TopLine());
    EXPECT_LT(a.CaretLine(), a.TopLine() + 2);

    for (const char* text : { "0", "-5", "x" }) {
        model.BoxChanged(text);
        model.Ok(*env.set);
        EXPECT_EQ(a.CaretLine(), 1) << text;
        EXPECT_EQ(a.TopLine(), 1);
    }
}

} // namespace wexly::test
