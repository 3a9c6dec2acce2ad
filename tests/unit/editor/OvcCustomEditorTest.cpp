#include "EditorTestSupport.h"

#include "editor/DefaultCommandTables.h"
#include "editor/TFEditor.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace wexly::test {
namespace {

struct TEditorWithDesk
{
    TFakeClipboard clipboard;
    TFakeBeeper beeper;
    TOvcCustomEditor e { TEditorPlatform { &clipboard, &beeper } };
    TEditorWithDesk() { e.SetVisibleSize(10, 40); }
};

std::string Lines(int n)
{
    std::string s;
    for (int i = 1; i <= n; ++i)
        s += "line " + std::to_string(i) + (i < n ? "\n" : "");
    return s;
}

} // namespace

TEST(OvcCustomEditor, TypingInsertsAndMovesCaret)
{
    TOvcCustomEditor e;
    SetText(e, "ab|cd");
    Type(e, "xy");
    EXPECT_EQ(Marked(e), "abxy|cd");
    EXPECT_TRUE(e.GetModified());
    e.CheckInvariants();
}

TEST(OvcCustomEditor, StatusGoesOutOncePerCommandWithScreenColumn)
{
    TOvcCustomEditor e;
    e.SetTabSize(8);
    SetText(e, "|\tx");
    std::vector<std::pair<int32_t, int32_t>> status;
    e.OnShowStatus = [&](int32_t line, int32_t col) { status.emplace_back(line, col); };
    e.ProcessCommand(ccRight, 0);
    e.ProcessCommand(ccExtendEnd, 0);
    e.SelectAll();
    ASSERT_EQ(status.size(), 3u);
    EXPECT_EQ(status[0], std::make_pair(1, 9)); // after the tab: screen column 9
    EXPECT_EQ(status[1], std::make_pair(1, 10));
    status.clear();
    e.BeginUpdate();
    e.ProcessCommand(ccHome, 0);
    e.ProcessCommand(ccRight, 0);
    EXPECT_TRUE(status.empty());
    e.EndUpdate();
    EXPECT_EQ(status, (std::vector<std::pair<int32_t, int32_t>> { { 1, 9 } }));
}

TEST(OvcCustomEditor, InsertModeChangeReportsStatusThoughTheCaretStays)
{
    TOvcCustomEditor e;
    SetText(e, "ab|c");
    std::vector<bool> modes;
    e.OnShowStatus = [&](int32_t line, int32_t col) {
        EXPECT_EQ(line, 1);
        EXPECT_EQ(col, 3);
        modes.push_back(e.InsertMode());
    };
    e.ProcessCommand(ccIns, 0);
    e.SetInsertMode(false); // no change: nothing to report
    e.SetInsertMode(true);
    EXPECT_EQ(modes, (std::vector<bool> { false, true }));
}

TEST(OvcCustomEditor, ChangeFiresAfterListedCommandsEvenWithoutChange)
{
    TOvcCustomEditor e;
    SetText(e, "ab|");
    int changes = 0;
    e.OnChange = [&] { ++changes; };
    e.ProcessCommand(ccDel, 0); // nothing to delete
    EXPECT_EQ(changes, 1);
    e.ProcessCommand(ccLeft, 0);
    e.ProcessCommand(ccCopy, 0);
    EXPECT_EQ(changes, 1);
    e.SetReadOnly(true);
    e.ProcessCommand(ccNewLine, 0); // moves only: no change
    EXPECT_EQ(changes, 1);
    e.SetReadOnly(false);
    e.ProcessCommand(ccNewLine, 0);
    EXPECT_EQ(changes, 2);
}

TEST(OvcCustomEditor, UserCommandsGoToTheirEvent)
{
    TOvcCustomEditor e;
    std::vector<TCommandCode> seen;
    e.OnUserCommand = [&](TCommandCode c) { seen.push_back(c); };
    EXPECT_TRUE(e.ProcessCommand(257, 0));
    EXPECT_FALSE(e.ProcessCommand(ccInc, 0));
    EXPECT_EQ(seen, std::vector<TCommandCode> { 257 });
}

TEST(OvcCustomEditor, LimitErrorsRaiseTheFixedMessageAndLeaveTextAlone)
{
    TOvcCustomEditor e;
    e.SetParaLengthLimit(3);
    SetText(e, "abc|");
    try {
        Type(e, "d");
        FAIL() << "no error";
    } catch (const EEditorError& err) {
        EXPECT_EQ(err.Code(), 268);
        EXPECT_STREQ(err.what(), "Current operation will exceed the maximum paragraph size");
    }
    EXPECT_EQ(Marked(e), "abc|");
    std::vector<uint16_t> codes;
    e.OnError = [&](uint16_t c) { codes.push_back(c); };
    Type(e, "d");
    EXPECT_EQ(codes, std::vector<uint16_t> { 268 });
    EXPECT_STREQ(EditorErrorMessage(999), "Unknown Error condition");
    EXPECT_STREQ(EditorErrorMessage(264), "Region is too large (> 64K)");
}

TEST(OvcCustomEditor, OutOfRangeIndexesRaise)
{
    TOvcCustomEditor e;
    SetText(e, "ab\ncd");
    EXPECT_THROW(e.SetCaretPosition(3, 1), EEditorIndexError);
    EXPECT_THROW(e.SetCaretPosition(1, 0), EEditorIndexError);
    EXPECT_THROW(e.GetPara(0), EEditorIndexError);
    EXPECT_THROW(e.GetPrintableLine(5), EEditorIndexError);
    int32_t line = 9, col = 1;
    EXPECT_THROW(e.LineToPara(line, col), EEditorIndexError);
    try {
        e.GetPara(3);
    } catch (const std::exception& err) {
        EXPECT_STREQ(err.what(), "Invalid line or paragraph index");
    }
    // SetSelection clamps instead.
    e.SetSelection(0, 0, true, 99, 99);
    EXPECT_EQ(e.GetSelTextBuf(), "ab\r\ncd");
}

TEST(OvcCustomEditor, UndoAndRedoBeepWhenThereIsNothingToDo)
{
    TEditorWithDesk d;
    d.e.ProcessCommand(ccUndo, 0);
    d.e.Redo();
    EXPECT_EQ(d.beeper.m_beeps, 2);
    Type(d.e, "a");
    d.e.SetReadOnly(true);
    d.e.Undo(); // read-only: nothing to undo
    EXPECT_EQ(d.beeper.m_beeps, 3);
    EXPECT_EQ(Text(d.e), "a");
}

TEST(OvcCustomEditor, UndoAfterSaveRestoresTheModifiedFlag)
{
    TOvcCustomEditor e;
    SetText(e, "|\n");
    Type(e, "one");
    e.SetModified(false); // saved
    e.ProcessCommand(ccDown, 0);
    Type(e, "two");
    e.Undo();
    EXPECT_FALSE(e.GetModified());
    e.Undo();
    EXPECT_TRUE(e.GetModified());
}

TEST(OvcCustomEditor, CopyTurnsControlBytesIntoSpacesAndJoinsWithCrLf)
{
    TEditorWithDesk d;
    SetText(d.e, "|a\tb\ncd");
    d.e.ProcessCommand(ccExtLastPage, 0);
    d.e.ProcessCommand(ccCopy, 0);
    EXPECT_EQ(d.clipboard.m_text, "a b\r\ncd");
    d.e.SetKeepClipboardChars(true);
    d.e.CopyToClipboard();
    EXPECT_EQ(d.clipboard.m_text, "a\tb\r\ncd");
    d.clipboard.m_text = "unchanged";
    d.e.ClearSelection();
    d.e.CopyToClipboard(); // nothing selected: clipboard untouched
    EXPECT_EQ(d.clipboard.m_text, "unchanged");
}

TEST(OvcCustomEditor, PasteOfLinesAtParagraphStartInsertsParagraphsBefore)
{
    TEditorWithDesk d;
    SetText(d.e, "|xyz");
    d.clipboard.SetText("one\r\ntwo\r\nthree\r\n");
    d.e.ProcessCommand(ccPaste, 0);
    EXPECT_EQ(Marked(d.e), "one\ntwo\nthree\n|xyz");
    d.e.Undo();
    EXPECT_EQ(Text(d.e), "xyz");
}

TEST(OvcCustomEditor, PasteReplacesSelectionAndStopsAtNul)
{
    TEditorWithDesk d;
    SetText(d.e, "x|abc");
    d.e.ProcessCommand(ccExtendRight, 0);
    d.clipboard.SetText(std::string("a\r\nb\0zz", 7));
    d.e.PasteFromClipboard();
    EXPECT_EQ(Marked(d.e), "xa\nb|bc");
    d.e.SetReadOnly(true);
    d.e.PasteFromClipboard();
    EXPECT_EQ(Text(d.e), "xa\nbbc");
}

TEST(OvcCustomEditor, LongPasteGoesInSlicesWithoutLosingText)
{
    TEditorWithDesk d;
    d.e.SetUndoBufferSize(8192);
    std::string big;
    while (big.size() < 70000)
        big += "0123456789abcdefghijklmnopqrstuvwxyz0123456789abcdefghijklmnopqrstuvwxyz\r\n";
    d.clipboard.SetText(big);
    d.e.PasteFromClipboard();
    d.e.SelectAll();
    EXPECT_TRUE(d.e.GetSelTextBuf() == big);
    d.e.Buffer().CheckInvariants();
}

TEST(OvcCustomEditor, CutCopiesThenDeletes)
{
    TEditorWithDesk d;
    SetText(d.e, "a|bc");
    d.e.ProcessCommand(ccExtendRight, 0);
    d.e.ProcessCommand(ccCut, 0);
    EXPECT_EQ(d.clipboard.m_text, "b");
    EXPECT_EQ(Marked(d.e), "a|c");
}

TEST(OvcCustomEditor, PageMovesKeepTheCaretRowAndTopLineStaysInRange)
{
    TEditorWithDesk d;
    SetText(d.e, Lines(100));
    d.e.SetCaretPosition(3, 1);
    d.e.ProcessCommand(ccNextPage, 0);
    EXPECT_EQ(d.e.CaretLine(), 12);
    EXPECT_EQ(d.e.TopLine(), 10);
    d.e.ProcessCommand(ccBotOfPage, 0);
    EXPECT_EQ(d.e.CaretLine(), 19);
    d.e.ProcessCommand(ccTopOfPage, 0);
    EXPECT_EQ(d.e.CaretLine(), 10);
    d.e.ProcessCommand(ccLastPage, 0);
    EXPECT_EQ(d.e.TopLine(), 91); // never past a full last page
    d.e.SetTopLine(500);
    EXPECT_EQ(d.e.TopLine(), 91);
    d.e.ProcessCommand(ccFirstPage, 0);
    EXPECT_EQ(d.e.TopLine(), 1);
    d.e.ProcessCommand(ccScrollDown, 0);
    EXPECT_EQ(d.e.TopLine(), 2);
    EXPECT_EQ(d.e.CaretLine(), 1); // scrolling leaves the caret
    // Top of page with the caret outside the window scrolls it to the top row instead.
    d.e.ProcessCommand(ccTopOfPage, 0);
    EXPECT_EQ(d.e.TopLine(), 1);
    EXPECT_EQ(d.e.CaretLine(), 1);
}

TEST(OvcCustomEditor, HorizontalScrollShowsTheCaretAndReturnsLeftOnLaterLines)
{
    TEditorWithDesk d;
    d.e.SetScrollPastEnd(true);
    SetText(d.e, std::string(100, 'x') + "|\nshort");
    EXPECT_EQ(d.e.LeftColumn(), 61); // column 101 is the last visible one
    d.e.ProcessCommand(ccHome, 0);
    EXPECT_EQ(d.e.LeftColumn(), 0);
    d.e.ProcessCommand(ccEnd, 0);
    d.e.ProcessCommand(ccDown, 0); // column 101 of a short line: still right
    EXPECT_EQ(d.e.LeftColumn(), 61);
    d.e.ProcessCommand(ccHome, 0);
    d.e.ProcessCommand(ccUp, 0);
    d.e.ProcessCommand(ccEnd, 0);
    d.e.ProcessCommand(ccWordRight, 0); // to the next line's start
    EXPECT_EQ(d.e.LeftColumn(), 0);
}

TEST(OvcCustomEditor, ScrollBarIsScaledBeyond32767ScrollableLines)
{
    TOvcCustomEditor e;
    e.SetVisibleSize(10, 40);
    for (int i = 0; i < 70000; ++i)
        e.AppendPara("x");
    TEdScrollInfo info = e.VertScrollInfo();
    int32_t n = e.GetLineCount() - 10 + 1;
    EXPECT_EQ(info.scale, (n / 32768) * 2);
    EXPECT_EQ(info.max, e.GetLineCount() / info.scale);
    e.ScrollToBarPos(1000);
    EXPECT_EQ(e.TopLine(), 1000 * info.scale);
    TOvcCustomEditor small;
    EXPECT_EQ(small.VertScrollInfo().scale, 1);
}

TEST(OvcCustomEditor, WrapToWindowFollowsTheWidth)
{
    TOvcCustomEditor e;
    e.SetWrapToWindow(true);
    e.SetVisibleSize(10, 12); // wrap column 10
    e.SetScrollPastEnd(true);
    e.SetWordWrap(true);
    EXPECT_FALSE(e.ScrollPastEnd());
    EXPECT_TRUE(e.WrapAtLeft());
    SetText(e, "aaaa bbbb cccc|");
    EXPECT_EQ(e.GetLineCount(), 2);
    EXPECT_EQ(e.CaretLine(), 2);
    EXPECT_EQ(e.CaretCol(), 5);
    e.SetVisibleSize(10, 22);
    EXPECT_EQ(e.GetLineCount(), 1);
    EXPECT_EQ(e.CaretLine(), 1);
    EXPECT_EQ(e.CaretCol(), 15);
    // Typing that wraps carries the caret onto the next line.
    e.SetVisibleSize(10, 16);
    Type(e, " dd");
    EXPECT_EQ(e.CaretLine(), 2);
    e.CheckInvariants();
}

TEST(OvcCustomEditor, WrappedLinesMoveByDisplayLine)
{
    TOvcCustomEditor e;
    e.SetWrapColumn(10);
    e.SetWordWrap(true);
    SetText(e, "|aaaa bbbb cccc\nz");
    e.ProcessCommand(ccDown, 0);
    EXPECT_EQ(e.CaretPara(), 1);
    EXPECT_EQ(e.CaretLineStart(), 10);
    e.ProcessCommand(ccEnd, 0);
    e.ProcessCommand(ccRight, 0);
    EXPECT_EQ(e.CaretPara(), 2);
    e.ProcessCommand(ccLeft, 0);
    e.ProcessCommand(ccDelLine, 0);
    EXPECT_EQ(Text(e), "aaaa bbbb z"); // the display line and the line end after it
}

TEST(OvcCustomEditor, ExtendingMovesFollowTheMovingEnd)
{
    TOvcCustomEditor e;
    SetText(e, "abc|def");
    RunCommands(e, { ccExtendRight, ccExtendRight });
    EXPECT_EQ(e.GetSelTextBuf(), "de");
    RunCommands(e, { ccExtendLeft, ccExtendLeft, ccExtendLeft });
    EXPECT_EQ(e.GetSelTextBuf(), "c");
    EXPECT_EQ(e.SelStart().pos, 3);
    EXPECT_EQ(e.CaretPos(), 3);
    RunCommands(e, { ccRight });
    EXPECT_FALSE(e.HasSelection());
}

TEST(OvcCustomEditor, ViewsSharingABufferFollowEachOther)
{
    TOvcCustomEditor a;
    TOvcCustomEditor b;
    a.SetVisibleSize(3, 40);
    b.SetVisibleSize(3, 40);
    SetText(a, Lines(10));
    b.Attach(a);
    EXPECT_EQ(Text(b), Text(a));
    b.SetCaretPosition(5, 3);
    b.SetTopLine(4);
    a.SetCaretPosition(1, 1);
    a.ProcessCommand(ccNewLine, 0);
    a.ProcessCommand(ccNewLine, 0);
    EXPECT_EQ(b.CaretLine(), 7); // moved with its text
    EXPECT_EQ(b.CaretCol(), 3);
    EXPECT_EQ(b.TopLine(), 6); // still showing "line 4"
    EXPECT_EQ(a.CaretLine(), 3);
    // Deleting the text under b's caret moves it to the deletion point.
    a.SetSelection(7, 1, true, 8, 1);
    a.ProcessCommand(ccDel, 0);
    EXPECT_EQ(b.CaretLine(), 7);
    EXPECT_EQ(b.CaretCol(), 1);
    a.CheckInvariants();
    b.CheckInvariants();
    // Emptying b ends the sharing and leaves a's text alone.
    b.DeleteAll();
    EXPECT_FALSE(a.IsShared());
    EXPECT_EQ(Text(b), "");
    EXPECT_EQ(a.GetLineCount(), 11);
}

TEST(OvcCustomEditor, ViewDestroyedFirstLeavesTheRing)
{
    TOvcCustomEditor a;
    SetText(a, "abc|");
    {
        TOvcCustomEditor b;
        b.Attach(a);
        EXPECT_TRUE(a.IsShared());
    }
    EXPECT_FALSE(a.IsShared());
    Type(a, "d"); // no notification reaches the destroyed view
    EXPECT_EQ(Text(a), "abcd");
}

TEST(OvcCustomEditor, BookmarksTakeTheirNumberFromTheCharacter)
{
    TOvcCustomEditor e;
    SetText(e, "ab\ncd|ef");
    e.ProcessCommand(ccSetMarker0, '3');
    e.ProcessCommand(ccFirstPage, 0);
    e.ProcessCommand(ccGotoMarker0, '3');
    EXPECT_EQ(e.CaretLine(), 2);
    EXPECT_EQ(e.CaretCol(), 3);
    int32_t line = 0, col = 0;
    EXPECT_FALSE(e.GetMarkerPosition(0, line, col));
    ASSERT_TRUE(e.GetMarkerPosition(3, line, col));
    EXPECT_EQ(line, 2);
    e.ProcessCommand(ccFirstPage, 0);
    e.ProcessCommand(ccSetMarker0 + 5, 'x'); // not a digit: nothing
    e.ProcessCommand(ccGotoMarker9, 0);
    for (int n = 0; n < 10; ++n)
        EXPECT_EQ(e.Buffer().Marker(n).IsSet(), n == 3);
    EXPECT_EQ(e.GetPaintRow(1).bookmark, 3);
    EXPECT_EQ(e.GetPaintRow(0).bookmark, -1);
}

TEST(OvcCustomEditor, KeysThroughTheProgramProcessor)
{
    TOvcCommandProcessor proc = CreateProgramCommandProcessor();
    TOvcCustomEditor e;
    std::vector<TCommandCode> user;
    e.OnUserCommand = [&](TCommandCode c) { user.push_back(c); };
    SetText(e, "ab\ncd|");
    auto press = [&](uint8_t key, uint8_t shift) {
        TTranslatedKey k = proc.Translate(key, shift);
        if (k.command != ccNoCommand)
            e.ProcessCommand(k.command, static_cast<char>(k.ch));
        return k.command;
    };
    EXPECT_EQ(press(vk::Tab, ssCtrl), 257);
    EXPECT_EQ(Text(e), "ab\ncd"); // no tab typed
    press(static_cast<uint8_t>(vk::Digit0 + 3), ssCtrl | ssShift);
    press(vk::Home, ssCtrl);
    EXPECT_EQ(e.CaretLine(), 1);
    press(static_cast<uint8_t>(vk::Digit0 + 3), ssCtrl);
    EXPECT_EQ(e.CaretLine(), 2);
    EXPECT_EQ(e.CaretCol(), 3);
    EXPECT_EQ(press(vk::Control, ssCtrl), ccNoCommand);
    press(vk::Left, ssShift);
    press(vk::Back, 0);
    EXPECT_EQ(Marked(e), "ab\nc|");
    EXPECT_EQ(user, std::vector<TCommandCode> { 257 });
}

TEST(OvcCustomEditor, MouseClicksDragsAndDoubleClicks)
{
    TEditorWithDesk d;
    SetText(d.e, "|one two\nthree");
    d.e.MouseDown(0, 5, 0);
    EXPECT_EQ(d.e.CaretCol(), 6);
    d.e.MouseMove(1, 2);
    d.e.MouseUp();
    EXPECT_EQ(d.e.GetSelTextBuf(), "wo\r\nth");
    d.e.MouseDown(0, 1, kMouseShift);
    EXPECT_EQ(d.e.GetSelTextBuf(), "ne t");
    d.e.MouseDoubleClick(0, 5, 0);
    EXPECT_EQ(d.e.GetSelTextBuf(), "two");
    d.e.MouseDoubleClick(0, 1, 0);
    EXPECT_EQ(d.e.GetSelTextBuf(), "one ");
    d.e.MarginMouseDown(0, 0);
    d.e.MouseUp();
    EXPECT_EQ(d.e.GetSelTextBuf(), "one two\r\n");
    d.e.MarginDoubleClick(1);
    EXPECT_EQ(d.e.GetSelTextBuf(), "three");
    d.e.MouseDown(5, 30, 0); // below the text: its last line, clamped to its end
    EXPECT_EQ(d.e.CaretLine(), 2);
    EXPECT_EQ(d.e.CaretCol(), 6);
    EXPECT_EQ(TOvcCustomEditor::AutoScrollDelay(10, 17), 41);
}

TEST(OvcCustomEditor, PaintRowsExpandTabsAndShowTheSelection)
{
    TEditorWithDesk d;
    d.e.SetTabSize(4);
    SetText(d.e, "a\tbc|\nxyz");
    d.e.ProcessCommand(ccExtendDown, 0);
    TEdPaintRow r0 = d.e.GetPaintRow(0);
    EXPECT_EQ(r0.text, "a   bc");
    EXPECT_EQ(r0.selFirst, 6);
    EXPECT_EQ(r0.selLast, 7);
    TEdPaintRow r1 = d.e.GetPaintRow(1);
    EXPECT_EQ(r1.selFirst, 0);
    EXPECT_EQ(r1.selLast, 3);
    EXPECT_FALSE(d.e.GetPaintRow(2).exists);
    int32_t row = 0, col = 0;
    EXPECT_TRUE(d.e.CaretCell(row, col));
    EXPECT_EQ(row, 1);
    EXPECT_EQ(col, 3);
}

// ---- Search and replace ------------------------------------------------------------------

TEST(OvcCustomEditor, WholeWordSearchSkipsPartsOfWords)
{
    TOvcCustomEditor e;
    SetText(e, "|print in");
    EXPECT_TRUE(e.Search("in", soWholeWord));
    EXPECT_EQ(e.SelStart().pos, 7);
    EXPECT_EQ(e.GetSelTextBuf(), "in");
    EXPECT_FALSE(e.Search("in", soWholeWord)); // from the caret: nothing after it
    EXPECT_FALSE(e.Search("", {}));
}

TEST(OvcCustomEditor, SearchScopesNeverWrap)
{
    TOvcCustomEditor e;
    SetText(e, "abc x abc|\nabc");
    EXPECT_TRUE(e.Search("x", soBackward)); // before the caret
    EXPECT_EQ(e.SelStart().pos, 5);
    EXPECT_EQ(e.CaretPos(), 5); // backwards the caret is at the match start
    e.SetCaretPosition(1, 10);
    EXPECT_TRUE(e.Search("ABC", soFind)); // from the caret, without case
    EXPECT_EQ(e.CaretLine(), 2);
    EXPECT_FALSE(e.Search("abc", soFind)); // nothing after it, and no wrap
    EXPECT_FALSE(e.Search("ABC", soMatchCase | soGlobal));
    EXPECT_TRUE(e.Search("abc", soGlobal | soBackward)); // from the end
    EXPECT_EQ(e.SelStart().para, 2);
    e.SetCaretPosition(1, 2);
    EXPECT_FALSE(e.Search("x", soBackward));
}

TEST(OvcCustomEditor, ReplaceReportsCountNotFoundOrSelectedMatch)
{
    TOvcCustomEditor e;
    SetText(e, "|a b a b");
    EXPECT_EQ(e.Replace("z", "y", soReplace), -1);
    EXPECT_EQ(e.Replace("a", "XX", soReplace), 0); // selects the first match only
    EXPECT_EQ(e.GetSelTextBuf(), "a");
    EXPECT_EQ(e.Replace("a", "XX", soReplace), 1); // replaces it, selects the next
    EXPECT_EQ(Text(e), "XX b a b");
    EXPECT_EQ(e.SelStart().pos, 6);
    EXPECT_EQ(e.Replace("b", "c", soReplaceAll | soGlobal), 2);
    EXPECT_EQ(Text(e), "XX c a c");
    EXPECT_FALSE(e.HasSelection());
    e.Undo(); // one step for the whole replace-all
    EXPECT_EQ(Text(e), "XX b a b");
    e.SetReadOnly(true);
    EXPECT_EQ(e.Replace("b", "c", soReplaceAll | soGlobal), -1);
}

TEST(OvcCustomEditor, ReplaceAllInSelectionStaysInsideTheOldScope)
{
    TOvcCustomEditor e;
    SetText(e, "|aa aa\naa aa aa");
    e.SetSelection(1, 4, true, 2, 6); // "aa\naa aa"
    EXPECT_EQ(e.Replace("aa", "aaaa", soReplaceAll | soSelText), 3);
    EXPECT_EQ(Text(e), "aa aaaa\naaaa aaaa aa");
    EXPECT_EQ(e.GetSelTextBuf(), "aaaa\r\naaaa aaaa");
}

TEST(OvcCustomEditor, ReplaceAllDoesNotReplaceItsOwnReplacement)
{
    TOvcCustomEditor e;
    SetText(e, "a|");
    e.SetSelection(1, 1, true, 1, 2);
    EXPECT_EQ(e.Replace("a", "aa", soReplaceAll | soGlobal), 1);
    EXPECT_EQ(Text(e), "aa");
}

TEST(OvcCustomEditor, ReplaceAllLeavesEveryViewOnTheRightLines)
{
    // The replacements make each paragraph wrap onto more lines, under another view's caret
    // and top line: their lines come right once the replace-all is over, and in every view.
    TOvcCustomEditor a;
    TOvcCustomEditor b;
    a.SetVisibleSize(3, 40);
    b.SetVisibleSize(3, 40);
    std::string text;
    for (int i = 0; i < 40; ++i)
        text += "aa aa aa aa aa aa aa\n";
    SetText(a, text);
    b.Attach(a);
    a.SetWrapColumn(24);
    a.SetWordWrap(true);
    ASSERT_EQ(b.GetLineCount(), 41);
    b.SetCaretPosition(30, 4);
    b.SetTopLine(29);
    EXPECT_EQ(a.Replace("aa", "aaaa", soReplaceAll | soGlobal), 280);
    EXPECT_EQ(b.CaretPara(), 30);
    EXPECT_EQ(b.CaretPos(), 6); // after the first replacement, in front of its blank
    int32_t line = 30, col = 6;
    b.ParaToLine(line, col);
    EXPECT_EQ(line, 59); // two lines for every paragraph above
    EXPECT_EQ(b.CaretLine(), line);
    EXPECT_EQ(b.CaretCol(), col);
    EXPECT_EQ(b.TopLine(), 57); // still showing paragraph 29
    a.CheckInvariants();
    b.CheckInvariants();
    a.Undo();
    EXPECT_EQ(b.CaretLine(), 30);
    b.CheckInvariants();
}

TEST(OvcCustomEditor, ReplaceErrorGoesToOnErrorAndIsReturned)
{
    TOvcCustomEditor e;
    e.SetParaLengthLimit(5);
    SetText(e, "|ab ab");
    uint16_t seen = 0;
    e.OnError = [&](uint16_t c) { seen = c; };
    EXPECT_EQ(e.Replace("ab", "abcd", soReplaceAll | soGlobal), 268);
    EXPECT_EQ(seen, 268);
}

} // namespace wexly::test

namespace wexly::test {

TEST(OvcCustomEditor, KeyDownAndCharacterMessagesFollowTheWindowRules)
{
    TOvcCommandProcessor proc = CreateProgramCommandProcessor();
    TTFEditor e;
    SetText(e, "ab|");
    EXPECT_TRUE(e.KeyDown(proc, vk::Return, 0)); // unbound Enter: the editor breaks the line
    e.CharMessage('\r'); // its character message is below 32
    EXPECT_EQ(Marked(e), "ab\n|");
    e.CharMessage('x');
    EXPECT_EQ(Marked(e), "ab\nx|");
    EXPECT_TRUE(e.KeyDown(proc, vk::Back, 0));
    e.CharMessage('\b');
    EXPECT_EQ(Marked(e), "ab\n|");
    e.SetWantEnter(false);
    EXPECT_FALSE(e.KeyDown(proc, vk::Return, 0));
    EXPECT_FALSE(e.KeyDown(proc, vk::Escape, 0));
    e.KeyDown(proc, vk::Tab, 0); // bound to ccTab: fixed tab of 8
    EXPECT_EQ(Marked(e), "ab\n        |");
    // After ccPartialKey the next character is not typed.
    TOvcCommandProcessor two;
    two.CreateCommandTable("Keys", true);
    two.AddCommand("Keys", vk::Letter('K'), ssCtrl, vk::Letter('B'), ssCtrlOrNone, ccFirstPage);
    EXPECT_TRUE(e.KeyDown(two, vk::Letter('K'), ssCtrl));
    e.CharMessage('k');
    EXPECT_TRUE(e.KeyDown(two, vk::Letter('B'), 0));
    EXPECT_EQ(e.CaretLine(), 1);
    EXPECT_EQ(Text(e), "ab\n        ");
}

} // namespace wexly::test

namespace wexly::test {

// Random commands on two views of one buffer, with settings changing under them: every step
// must leave carets, selections, views and the buffer consistent.
TEST(OvcCustomEditor, RandomCommandsKeepEveryViewConsistent)
{
    static const TCommandCode kCommands[] = { ccTypedChar, ccTypedChar, ccTypedChar, ccTypedChar,
        ccTypedChar, ccTypedChar, ccTypedChar, ccTypedChar, ccNewLine, ccNewLine, ccBack, ccDel,
        ccNewLine, ccTab, ccDelWord, ccDelBol, ccDelEol, ccDelLine, ccLeft, ccRight, ccUp, ccDown,
        ccHome, ccEnd, ccWordLeft, ccWordRight, ccNextPage, ccPrevPage, ccTopOfPage, ccBotOfPage,
        ccFirstPage, ccLastPage, ccExtendLeft, ccExtendRight, ccExtendDown, ccExtendUp,
        ccExtWordLeft, ccExtWordRight, ccExtendPgDn, ccUndo, ccRedo, ccCut, ccPaste, ccCopy, ccIns,
        ccScrollDown, ccScrollUp };
    TFakeClipboard clipboard;
    TFakeBeeper beeper;
    TTFEditor a(TEditorPlatform { &clipboard, &beeper });
    TTFEditor b(TEditorPlatform { &clipboard, &beeper });
    a.SetVisibleSize(6, 24);
    b.SetVisibleSize(4, 16);
    a.OnError = b.OnError = [](uint16_t) {};
    b.Attach(a);
    a.SetWrapToWindow(true);
    uint32_t seed = 12345;
    auto next = [&](uint32_t n) {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 8) % n;
    };
    const char typed[] = "ab cd,\t-e";
    int32_t maxParas = 0;
    for (int step = 0; step < 3000; ++step) {
        TTFEditor& e = next(3) == 0 ? b : a;
        if (step % 500 == 250)
            a.SetWordWrap(!a.WordWrap());
        if (step % 700 == 350)
            a.SetVisibleSize(6, static_cast<int32_t>(12 + next(30)));
        if (step % 300 == 0)
            e.SetScrollPastEnd(next(2) == 0);
        TCommandCode c = kCommands[next(sizeof kCommands / sizeof kCommands[0])];
        e.ProcessCommand(c, typed[next(sizeof typed - 1)]);
        if (next(50) == 0)
            e.MouseDown(static_cast<int32_t>(next(8)) - 1, static_cast<int32_t>(next(30)), 0);
        if (next(80) == 0)
            e.Replace("b", "bb", soReplaceAll | soGlobal);
        a.CheckInvariants();
        b.CheckInvariants();
        a.Buffer().CheckInvariants();
        maxParas = std::max(maxParas, a.ParaCount());
    }
    EXPECT_GT(maxParas, 10); // the text did grow and shrink
}

} // namespace wexly::test

namespace wexly::test {

TEST(OvcCustomEditor, TextFromOutsideNeverPutsLineEndsOrNulInAParagraph)
{
    TOvcCustomEditor e;
    e.AppendPara("one\r\ntwo\rthree\nfour\0gone");
    e.AppendPara(std::string("x\0y", 3));
    EXPECT_EQ(Text(e), "one\ntwo\nthree\nfour\nx\n");
    SetText(e, "a|b");
    e.ProcessCommand(ccTypedChar, '\n');
    e.ProcessCommand(ccTypedChar, '\0');
    EXPECT_EQ(Text(e), "ab");
    EXPECT_EQ(e.Replace("b", std::string("c\r\nd\0e", 6), soReplaceAll | soGlobal), 1);
    EXPECT_EQ(Text(e), "ac");
    e.Buffer().CheckInvariants();
}

} // namespace wexly::test
