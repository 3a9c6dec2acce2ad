#include "editor/paint/GridPainter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace wexly::test {
namespace {

// Records the canvas calls as short strings.
class TRecordingCanvas final : public ICellCanvas
{
public:
    void FillRect(const TPixelRect& r, TColorRef color) override
    {
        calls.push_back("fill " + Rect(r) + " " + Hex(color));
    }
    void DrawCells(int x, int y, std::string_view text, TColorRef fg, TColorRef bg) override
    {
        calls.push_back("cells " + std::to_string(x) + "," + std::to_string(y) + " '"
            + std::string(text) + "' " + Hex(fg) + "/" + Hex(bg));
    }
    void DrawBookmark(int n, int x, int y) override
    {
        calls.push_back(
            "mark " + std::to_string(n) + " " + std::to_string(x) + "," + std::to_string(y));
    }
    void VertLine(int x, int top, int bottom, TColorRef color) override
    {
        calls.push_back("line " + std::to_string(x) + " " + std::to_string(top) + "-"
            + std::to_string(bottom) + " " + Hex(color));
    }
    std::vector<std::string> calls;

private:
    static std::string Rect(const TPixelRect& r)
    {
        return std::to_string(r.left) + "," + std::to_string(r.top) + "-" + std::to_string(r.right)
            + "," + std::to_string(r.bottom);
    }
    static std::string Hex(TColorRef c)
    {
        char buf[16];
        std::snprintf(buf, sizeof buf, "%X", c);
        return buf;
    }
};

TGridColors Colors()
{
    TGridColors c;
    c.text = 0x1;
    c.background = 0x2;
    c.highlightText = 0x3;
    c.highlightBackground = 0x4;
    c.disabledText = 0x5;
    c.margin = 0x6;
    c.marginLine = 0x7;
    return c;
}

// 10 x 20 cells, a 15-pixel margin, 200 x 100 pixels, 12 x 11 glyphs.
TGridLayout Layout()
{
    TGridLayout l;
    l.clientWidth = 200;
    l.clientHeight = 100;
    l.cellWidth = 10;
    l.cellHeight = 20;
    l.leftMargin = 15;
    l.glyphWidth = 12;
    l.glyphHeight = 11;
    return l;
}

TGridState Focused()
{
    TGridState s;
    s.focused = true;
    return s;
}

TGridRow Row(std::string text, int selFirst = -1, int selLast = -1, int bookmark = -1)
{
    TGridRow r;
    r.exists = true;
    r.text = std::move(text);
    r.selFirst = selFirst;
    r.selLast = selLast;
    r.bookmark = bookmark;
    return r;
}

std::vector<std::string> Paint(const TGridRow& row, TGridLayout layout = Layout(),
    TGridState state = Focused(), int rowIndex = 1)
{
    TRecordingCanvas canvas;
    PaintGridRow(canvas, layout, Colors(), state, rowIndex, row);
    return canvas.calls;
}

TEST(GridPainter, PlainRowFillsMarginDrawsTextAndFillsTheRest)
{
    EXPECT_EQ(Paint(Row("abc")),
        (std::vector<std::string> {
            "fill 0,20-15,40 6", "cells 15,20 'abc' 1/2", "fill 45,20-200,40 2" }));
}

TEST(GridPainter, SelectionSplitsTheRowAndHighlightsPastTheEndOfText)
{
    EXPECT_EQ(Paint(Row("abcdef", 2, 4)),
        (std::vector<std::string> { "fill 0,20-15,40 6", "cells 15,20 'ab' 1/2",
            "cells 35,20 'cd' 3/4", "cells 55,20 'ef' 1/2", "fill 75,20-200,40 2" }));
    // The cell after the last character stands for the line break.
    EXPECT_EQ(Paint(Row("ab", 1, 3)),
        (std::vector<std::string> { "fill 0,20-15,40 6", "cells 15,20 'a' 1/2",
            "cells 25,20 'b ' 3/4", "fill 45,20-200,40 2" }));
    // A selected empty line shows one highlighted blank.
    EXPECT_EQ(Paint(Row("", 0, 1)),
        (std::vector<std::string> {
            "fill 0,20-15,40 6", "cells 15,20 ' ' 3/4", "fill 25,20-200,40 2" }));
}

TEST(GridPainter, SelectionIsHiddenUnfocusedOrDisabledAndDisabledTextIsGrey)
{
    TGridState unfocused;
    unfocused.hideSelection = true;
    EXPECT_EQ(Paint(Row("abc", 0, 2), Layout(), unfocused)[1], "cells 15,20 'abc' 1/2");
    unfocused.hideSelection = false;
    EXPECT_EQ(Paint(Row("abc", 0, 2), Layout(), unfocused)[1], "cells 15,20 'ab' 3/4");
    TGridState disabled = Focused();
    disabled.enabled = false;
    EXPECT_EQ(Paint(Row("abc", 0, 2), Layout(), disabled)[1], "cells 15,20 'abc' 5/2");
}

TEST(GridPainter, BookmarkGlyphIsCentredInTheRowOnlyWhenItFitsTheMargin)
{
    EXPECT_EQ(Paint(Row("x", -1, -1, 3))[1], "mark 3 1,24");
    TGridLayout narrow = Layout();
    narrow.leftMargin = 11; // the glyph is 12 wide
    EXPECT_EQ(Paint(Row("x", -1, -1, 3), narrow).size(), 3u);
    TGridState hidden = Focused();
    hidden.showBookmarks = false;
    EXPECT_EQ(Paint(Row("x", -1, -1, 3), Layout(), hidden).size(), 3u);
    TGridLayout noGlyphs = Layout();
    noGlyphs.glyphWidth = 0; // the pictures could not be loaded
    EXPECT_EQ(Paint(Row("x", -1, -1, 3), noGlyphs).size(), 3u);
}

TEST(GridPainter, MarginLinesMoveTheTextFivePixelsAndMarkTheRightEdge)
{
    TGridLayout l = Layout();
    l.leftMarginLine = true;
    l.rightMarginLine = true;
    EXPECT_EQ(l.TextLeft(), 20);
    EXPECT_EQ(Paint(Row("ab"), l),
        (std::vector<std::string> { "fill 0,20-15,40 6", "fill 15,20-20,40 2", "line 15 20-40 7",
            "cells 20,20 'ab' 1/2", "fill 40,20-200,40 2", "line 195 20-40 7" }));
}

TEST(GridPainter, RowsBelowTheTextAreOnlyBackgroundAndTheRestIsFilled)
{
    TGridRow empty;
    EXPECT_EQ(
        Paint(empty), (std::vector<std::string> { "fill 0,20-15,40 6", "fill 15,20-200,40 2" }));
    TRecordingCanvas canvas;
    PaintBelowRows(canvas, Layout(), Colors(), 3);
    EXPECT_EQ(canvas.calls, (std::vector<std::string> { "fill 0,60-200,100 2" }));
    canvas.calls.clear();
    PaintBelowRows(canvas, Layout(), Colors(), 5);
    EXPECT_TRUE(canvas.calls.empty());
}

TEST(GridLayout, CellsUnderPointsRoundTowardsMinusInfinity)
{
    TGridLayout l = Layout();
    EXPECT_EQ(l.RowAt(0), 0);
    EXPECT_EQ(l.RowAt(19), 0);
    EXPECT_EQ(l.RowAt(-1), -1);
    EXPECT_EQ(l.RowAt(-21), -2);
    EXPECT_EQ(l.ColumnAt(15), 0);
    EXPECT_EQ(l.ColumnAt(14), -1);
    EXPECT_EQ(l.ColumnAt(34), 1);
    // A partial last row and column are painted too.
    EXPECT_EQ(l.VisibleRows(), 5);
    l.clientHeight = 101;
    EXPECT_EQ(l.VisibleRows(), 6);
    EXPECT_EQ(l.VisibleColumns(), 19);
}

TEST(GridRowCache, OnlyRowsThatLookDifferentAreRepainted)
{
    TGridRowCache cache;
    std::vector<TGridRow> rows { Row("a"), Row("b"), Row("c") };
    TGridState state = Focused();
    EXPECT_EQ(cache.Update(rows, Layout(), Colors(), state), (std::vector<int> { 0, 1, 2 }));
    EXPECT_TRUE(cache.Update(rows, Layout(), Colors(), state).empty());
    rows[1].text = "bx";
    rows[2].bookmark = 4;
    EXPECT_EQ(cache.Update(rows, Layout(), Colors(), state), (std::vector<int> { 1, 2 }));
    // Losing the focus matters only when it hides the selection.
    state.hideSelection = false;
    EXPECT_EQ(cache.Update(rows, Layout(), Colors(), state).size(), 0u);
    state.focused = false;
    EXPECT_EQ(cache.Update(rows, Layout(), Colors(), state).size(), 0u);
    state.hideSelection = true;
    EXPECT_EQ(cache.Update(rows, Layout(), Colors(), state).size(), 3u);
    TGridLayout resized = Layout();
    resized.clientWidth = 300;
    EXPECT_EQ(cache.Update(rows, resized, Colors(), state).size(), 3u);
    cache.Invalidate();
    EXPECT_EQ(cache.Update(rows, resized, Colors(), state).size(), 3u);
}

TEST(GridPainter, CaretShapesFillTheirPartOfTheCell)
{
    EXPECT_EQ(CaretBoxFor(TCaretShape::csVertLine, 8, 15), (TCaretBox { 0, 0, 2, 15 }));
    EXPECT_EQ(CaretBoxFor(TCaretShape::csHorzLine, 8, 15), (TCaretBox { 0, 13, 8, 2 }));
    EXPECT_EQ(CaretBoxFor(TCaretShape::csHalfBlock, 8, 15), (TCaretBox { 0, 8, 8, 7 }));
    EXPECT_EQ(CaretBoxFor(TCaretShape::csBlock, 8, 15), (TCaretBox { 0, 0, 8, 15 }));
}

} // namespace
} // namespace wexly::test
