#include "documents/DocumentSet.h"

#include "config/UtilsBox.h"
#include "documents/FileButtonBar.h"
#include "documents/MenuState.h"
#include "support/DocFakes.h"

#include <gtest/gtest.h>

#include <random>

namespace wexly::test {

namespace {

// Opens name1 .. nameN in C:\w\, each holding one line.
void OpenMany(TDocEnv& env, const std::vector<std::string>& names)
{
    for (const auto& n : names) {
        env.fs.SetFile("C:\\w\\" + n, n + "\r\n");
        env.Open("C:\\w\\" + n);
        env.set->CheckInvariants();
    }
}

} // namespace

TEST(DocumentSet, NewDocumentsGoInAfterTheCurrentOne)
{
    TDocEnv env;
    OpenMany(env, { "a.txt", "b.txt" });
    env.set->SelectFile(env.set->At(0));
    OpenMany(env, { "c.txt" });
    EXPECT_EQ(env.Names(), (std::vector<std::string> { "a.txt", "c.txt", "b.txt" }));
    EXPECT_EQ(env.set->CurFile()->ShortName(), "c.txt");
    EXPECT_EQ(env.set->FocusFile(), env.set->CurFile());
    EXPECT_TRUE(env.set->CurFile()->Button().down);
    EXPECT_FALSE(env.set->At(0).Button().down);
}

TEST(DocumentSet, NextAndPreviousWrapAround)
{
    TDocEnv env;
    OpenMany(env, { "a.txt", "b.txt", "c.txt" });
    env.set->SelectNext();
    EXPECT_EQ(env.set->CurFile()->ShortName(), "a.txt");
    env.set->SelectPrevious();
    EXPECT_EQ(env.set->CurFile()->ShortName(), "c.txt");
}

TEST(DocumentSet, ClosingTheFirstGoesToTheNextAndAnyOtherToThePrevious)
{
    TDocEnv env;
    OpenMany(env, { "a.txt", "b.txt", "c.txt" });
    TEditFile& a = env.set->At(0);
    TEditFile& b = env.set->At(1);
    EXPECT_EQ(env.set->Neighbour(a), &b);
    EXPECT_EQ(env.set->Neighbour(env.set->At(2)), &b);
    env.set->SelectFile(a);
    env.commands->Close();
    EXPECT_EQ(env.set->CurFile(), &b);
    env.set->CheckInvariants();
    env.set->SelectFile(env.set->At(1));
    env.commands->Close();
    EXPECT_EQ(env.set->CurFile(), &b);
    env.commands->Close();
    EXPECT_TRUE(env.set->Empty());
    EXPECT_EQ(env.set->CurFile(), nullptr);
    env.set->CheckInvariants();
}

TEST(DocumentSet, SplittingShowsTheDocumentInBothPanesSharingItsText)
{
    TDocEnv env;
    OpenMany(env, { "s.txt" });
    TEditFile& s = env.set->At(0);
    env.set->ToggleSplit(false);
    env.set->CheckInvariants();
    ASSERT_TRUE(env.set->SplitOn());
    EXPECT_TRUE(env.windows.splitShown);
    EXPECT_EQ(env.set->TopFile(), &s);
    EXPECT_EQ(env.set->BottomFile(), &s);
    EXPECT_EQ(env.set->FocusFile(), env.set->BottomView());
    EXPECT_TRUE(env.set->BottomActive());

    TEditFile& bottom = *env.set->BottomView();
    bottom.TextEditor()->ProcessCommand(ccTypedChar, 'X');
    EXPECT_EQ(s.TextEditor()->GetPara(1), "Xs.txt");
    bottom.SetCaret(1, 5); // each pane keeps its own caret
    EXPECT_EQ(bottom.CaretColumn(), 5);
    EXPECT_EQ(s.CaretColumn(), 2);

    env.set->SwitchPanes();
    EXPECT_EQ(env.set->FocusFile(), &s);
    EXPECT_FALSE(env.set->BottomActive());
    env.set->ToggleSplit(false);
    EXPECT_FALSE(env.set->SplitOn());
    EXPECT_EQ(bottom.Source(), nullptr);
    env.set->CheckInvariants();
}

TEST(DocumentSet, ClosingTheDocumentShownInBothPanesMovesBothToItsNeighbour)
{
    TDocEnv env;
    OpenMany(env, { "a.txt", "b.txt", "c.txt" });
    TEditFile& a = env.set->At(0);
    TEditFile& b = env.set->At(1);
    env.set->SelectFile(b);
    env.set->ToggleSplit(true);
    env.commands->CloseDocument(b);
    env.set->CheckInvariants();
    EXPECT_EQ(env.set->TopFile(), &a);
    EXPECT_EQ(env.set->BottomFile(), &a);
    EXPECT_EQ(env.set->BottomView()->Source(), &a);
    EXPECT_EQ(env.set->CurFile(), &a); // the second pane was active

    env.commands->CloseDocument(a);
    env.commands->CloseDocument(env.set->At(0));
    EXPECT_TRUE(env.set->Empty());
    EXPECT_FALSE(env.set->SplitOn());
    EXPECT_EQ(env.set->BottomView()->Source(), nullptr);
    env.set->CheckInvariants();
}

TEST(DocumentSet, SelectingWhileTheSecondPaneIsActiveShowsTheDocumentThere)
{
    TDocEnv env;
    OpenMany(env, { "a.txt", "b.txt" });
    TEditFile& a = env.set->At(0);
    TEditFile& b = env.set->At(1);
    env.set->ToggleSplit(false); // both on b, focus below
    env.set->SelectFile(a);
    EXPECT_EQ(env.set->TopFile(), &b);
    EXPECT_EQ(env.set->BottomFile(), &a);
    EXPECT_EQ(env.set->CurFile(), &a);
    env.set->StatusReported(false); // the top pane reports with the focus
    env.windows.focused = &b;
    env.set->StatusReported(false);
    EXPECT_EQ(env.set->CurFile(), &b);
    EXPECT_FALSE(env.set->BottomActive());
    env.set->CheckInvariants();
}

TEST(DocumentSet, SyncPanesMovesTheOtherPaneToTheFocusedCaretLine)
{
    TDocEnv env;
    std::string text;
    for (int i = 0; i < 40; ++i)
        text += "x\r\n";
    env.fs.SetFile("C:\\w\\y.txt", text);
    TEditFile& y = env.Open("C:\\w\\y.txt");
    env.set->ToggleSplit(false);
    env.set->BottomView()->SetCaret(30, 1);
    env.set->SyncPanes();
    EXPECT_EQ(y.CaretLine(), 30);
}

TEST(DocumentSet, WindowMenuListsTenDocumentsWithDoubledAmpersands)
{
    TDocEnv env;
    std::vector<std::string> names;
    for (int i = 1; i <= 10; ++i)
        names.push_back("f" + std::to_string(i) + ".txt");
    names.push_back("a&b.txt");
    for (auto it = names.rbegin(); it != names.rend(); ++it) {
        env.fs.SetFile("C:\\w\\" + *it, "");
        env.commands->OpenFile("C:\\w\\" + *it, false, false);
        env.set->SelectFile(env.set->At(0));
    }
    env.set->Sort(TSortKey::Path);
    const auto entries = WindowMenuEntries(*env.set);
    ASSERT_EQ(entries.size(), 10u);
    EXPECT_EQ(entries[0].caption, "&1 a&&b.txt");
    EXPECT_EQ(entries[0].hint, "C:\\w\\a&b.txt");
    EXPECT_EQ(entries[0].shortcut, "Ctrl+F1");
    EXPECT_EQ(entries[8].caption.substr(0, 3), "&9 ");
    EXPECT_EQ(entries[9].caption.substr(0, 3), "&0 ");
    EXPECT_EQ(entries[9].shortcut, "Ctrl+F10");
}

TEST(DocumentSet, SortingByExtensionPutsNamesWithoutOneFirst)
{
    TDocEnv env;
    OpenMany(env, { "b.TXT", "a.c", "README", "z.Bat" });
    env.set->Sort(TSortKey::Extension);
    EXPECT_EQ(env.Names(), (std::vector<std::string> { "README", "z.Bat", "a.c", "b.TXT" }));
    env.set->Sort(TSortKey::Name);
    EXPECT_EQ(env.Names(), (std::vector<std::string> { "a.c", "b.TXT", "README", "z.Bat" }));
    env.set->CheckInvariants();
}

TEST(DocumentSet, FileButtonsWrapAtTheBarWidth)
{
    const std::vector<TButtonRect> sizes { { 0, 0, 50, 20 }, { 0, 0, 60, 20 }, { 0, 0, 40, 20 },
        { 0, 0, 200, 20 } };
    const TFileButtonLayout l = LayoutFileButtons(sizes, 120, true);
    ASSERT_EQ(l.buttons.size(), 4u);
    EXPECT_EQ(l.buttons[1].left, 52);
    EXPECT_EQ(l.buttons[2].left, 2); // 112 + 40 > 120
    EXPECT_EQ(l.buttons[2].top, 22);
    EXPECT_EQ(l.buttons[3].left, 2); // too wide for any row: alone on its own
    EXPECT_EQ(l.buttons[3].top, 42);
    EXPECT_EQ(l.barHeight, 42 + 20 + 2);
    EXPECT_TRUE(l.visible);
    EXPECT_EQ(LayoutFileButtons({}, 120, true).barHeight, 2);
    EXPECT_FALSE(LayoutFileButtons({}, 120, true).visible);
    EXPECT_FALSE(LayoutFileButtons(sizes, 120, false).visible);
}

TEST(DocumentSet, DropPositionIsFoundByBinarySearchOverTheLaidOutButtons)
{
    std::vector<TButtonRect> sizes(7, { 0, 0, 50, 22 });
    const auto buttons = LayoutFileButtons(sizes, 160, true).buttons; // three per row
    for (int i = 0; i < 7; ++i) {
        const TButtonRect& b = buttons[static_cast<size_t>(i)];
        EXPECT_EQ(FileButtonDropIndex(buttons, b.left + 10, b.top + 5), i) << i;
    }
    EXPECT_EQ(FileButtonDropIndex(buttons, 150, 60), 6); // right of the last button
    EXPECT_EQ(FileButtonDropIndex(buttons, 0, 0), 0);
    EXPECT_EQ(FileButtonDropIndex({}, 5, 5), -1);

    TDocEnv env;
    OpenMany(env, { "a.txt", "b.txt", "c.txt" });
    env.set->Move(1, 1); // onto itself
    EXPECT_EQ(env.Names(), (std::vector<std::string> { "a.txt", "b.txt", "c.txt" }));
    env.set->Move(0, 2);
    EXPECT_EQ(env.Names(), (std::vector<std::string> { "b.txt", "c.txt", "a.txt" }));
    env.set->CheckInvariants();
}

TEST(DocumentSet, TitleShowsReadOnlyBeforeModified)
{
    TDocEnv env;
    OpenMany(env, { "t.txt" });
    TEditFile& t = env.set->At(0);
    EXPECT_EQ(UpdateTitle(&t).state, "");
    EXPECT_EQ(UpdateTitle(&t).path, "C:\\w\\t.txt");
    t.TextEditor()->ProcessCommand(ccTypedChar, 'a');
    EXPECT_EQ(UpdateTitle(&t).state, "M");
    t.TextEditor()->SetReadOnly(true);
    EXPECT_EQ(UpdateTitle(&t).state, "R");
    EXPECT_EQ(UpdateTitle(nullptr).path, "");
}

TEST(DocumentSet, TitleDragResizesTheSecondPaneWithinLimits)
{
    TTitleDrag drag;
    int top = 200, height = 200;
    drag.Press(205);
    EXPECT_FALSE(drag.Move(208, top, height)); // within 4 pixels: no drag yet
    EXPECT_TRUE(drag.Move(215, top, height));
    EXPECT_EQ(top, 210);
    EXPECT_EQ(height, 190);
    EXPECT_TRUE(drag.Move(400, top, height)); // would leave less than 30 pixels
    EXPECT_EQ(height, 190);
    EXPECT_TRUE(drag.Move(40, top, height));
    EXPECT_EQ(top, 35);
    EXPECT_EQ(height, 365);
    drag.Release();
    EXPECT_FALSE(drag.Move(100, top, height));
}

TEST(DocumentSet, MenusFollowOpenDocumentsAndTheEditState)
{
    TMenuState m;
    UpdateMenus(m, false, false, true);
    EXPECT_FALSE(m.enabled[miSave]);
    EXPECT_FALSE(m.toolEnabled[12]);
    EXPECT_FALSE(m.toolEnabled[24]);
    EXPECT_TRUE(m.toolEnabled[0]);
    EXPECT_TRUE(m.linePanelsReset);
    EXPECT_FALSE(m.closeDeleteVisible);
    EXPECT_FALSE(m.titlePanel1Visible);
    UpdateMenus(m, true, true, false);
    EXPECT_TRUE(m.enabled[miNextDiffWord]);
    EXPECT_TRUE(m.toolEnabled[28]);

    TEditStateCache cache;
    ApplyEditStatus(m, cache, { true, false, false, true, true }, true, false, true);
    EXPECT_TRUE(m.enabled[miUndo]);
    EXPECT_FALSE(m.enabled[miSave]); // read-only text
    EXPECT_FALSE(m.enabled[miReplace]);
    EXPECT_TRUE(m.enabled[miCopy]);
    EXPECT_TRUE(m.enabled[miPaste]);
    EXPECT_FALSE(m.enabled[miSyncPanes]);
    // Same flags but now writable: Save's state differs, so everything is applied again.
    ApplyEditStatus(m, cache, { true, false, false, true, true }, false, true, false);
    EXPECT_TRUE(m.enabled[miSave]);
    EXPECT_TRUE(m.toolEnabled[24]);
    EXPECT_FALSE(m.enabled[miPaste]);
}

TEST(DocumentSet, ToolBarFollowsTheLayoutWithBevelsBetweenGroups)
{
    const TToolBar bar = BuildToolBar({ "0", "2", "-1", "32", "99", "x" }, true);
    ASSERT_EQ(bar.items.size(), 4u);
    EXPECT_EQ(bar.height, 28);
    EXPECT_EQ(bar.items[0].left, 2);
    EXPECT_EQ(bar.items[0].hint, "New|");
    EXPECT_EQ(bar.items[1].left, 26);
    EXPECT_EQ(bar.items[1].tag, 1); // Open Binary
    EXPECT_EQ(bar.items[2].code, kToolBarGap);
    EXPECT_EQ(bar.items[2].left, 51);
    EXPECT_EQ(bar.items[3].left, 54);
    EXPECT_EQ(bar.items[3].hint, "Exit|");
    const TToolBar off = BuildToolBar({ "0" }, false);
    EXPECT_FALSE(off.visible);
    EXPECT_EQ(off.height, 3);
}

TEST(DocumentSet, WindowChoicesOutsideTheListAreIgnored)
{
    TDocEnv env;
    OpenMany(env, { "a.txt", "b.txt" });
    env.set->SelectByPosition(5);
    env.set->SelectByPosition(-1);
    EXPECT_EQ(env.set->CurFile()->ShortName(), "b.txt");
    env.set->SelectByPosition(0);
    EXPECT_EQ(env.set->CurFile()->ShortName(), "a.txt");
}

TEST(DocumentSet, ReplaceIsRefusedForReadOnlyAndBinaryDocuments)
{
    TDocEnv env;
    env.fs.SetFile("C:\\w\\r.txt", "abc\r\n");
    env.fs.SetFile("C:\\w\\b.bin", "abc");
    TEditFile* ro = env.commands->OpenFile("C:\\w\\r.txt", true, false);
    ASSERT_NE(ro, nullptr);
    EXPECT_EQ(ro->Replace("a", "x", {}), -1);
    EXPECT_EQ(env.Open("C:\\w\\b.bin", true).Replace("a", "x", {}), -1);
    EXPECT_TRUE(ro->Search("bc", {}));
}

TEST(DocumentSet, RandomCommandSequencesKeepThePointersConsistent)
{
    for (unsigned seed = 1; seed <= 20; ++seed) {
        TDocEnv env;
        std::mt19937 rng(seed);
        auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
        for (int step = 0; step < 60; ++step) {
            const int count = env.set->Count();
            switch (pick(9)) {
            case 0:
            case 1:
                env.commands->New();
                break;
            case 2:
                if (count)
                    env.set->SelectFile(env.set->At(pick(count)));
                break;
            case 3:
                env.set->ToggleSplit(pick(2) == 0);
                break;
            case 4:
                env.set->SwitchPanes();
                break;
            case 5:
                if (count)
                    env.commands->CloseDocument(env.set->At(pick(count)));
                break;
            case 6:
                env.set->Sort(static_cast<TSortKey>(pick(3)));
                break;
            case 7:
                if (count)
                    env.set->Move(pick(count), pick(count));
                break;
            default:
                env.set->StatusReported(pick(2) == 0);
                break;
            }
            env.set->CheckInvariants();
        }
        env.commands->CloseAll();
        env.set->CheckInvariants();
    }
}

} // namespace wexly::test
