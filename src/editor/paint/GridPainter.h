// The painting decisions shared by the text editor and the hex viewer windows: which colours a
// row's cells get, where the margin, bookmark glyphs and margin lines go, which rows changed
// since the last paint, and the caret's box for each caret shape.
#pragma once

#include "editor/EditorTypes.h"
#include "editor/paint/CellCanvas.h"

#include <string>
#include <vector>

namespace wexly {

// One visible row as the model describes it; text starts at the first visible column.
struct TGridRow
{
    bool exists = false; // false below the last line: background only
    std::string text;
    int selFirst = -1; // selected cells [selFirst, selLast), or -1 for none
    int selLast = -1;
    int bookmark = -1; // bookmark glyph to show in the margin, or -1
    bool operator==(const TGridRow&) const = default;
};

// Geometry of the window in pixels.
struct TGridLayout
{
    int clientWidth = 0;
    int clientHeight = 0;
    int cellWidth = 8;
    int cellHeight = 16;
    int leftMargin = 15; // margin width; glyphs are drawn inside it
    bool leftMarginLine = false; // a line at leftMargin, the text 5 pixels further right
    int rightMargin = 5; // distance of the right margin line from the right edge
    bool rightMarginLine = false;
    int glyphWidth = 0; // bookmark glyph size; glyphs wider than the margin are not drawn
    int glyphHeight = 0;

    int TextLeft() const { return leftMargin + (leftMarginLine ? 5 : 0); }
    int RowTop(int row) const { return row * cellHeight; }
    // Whole and partial rows that fit in the client area (at least 1).
    int VisibleRows() const;
    int VisibleColumns() const;
    // The cell under a client point; column and row may be negative or beyond the window.
    int RowAt(int y) const;
    int ColumnAt(int x) const;
    bool InMargin(int x) const { return x < leftMargin; }
    bool operator==(const TGridLayout&) const = default;
};

struct TGridColors
{
    TColorRef text = 0x000000;
    TColorRef background = 0xFFFFFF;
    TColorRef highlightText = 0xFFFFFF;
    TColorRef highlightBackground = 0x800000;
    TColorRef disabledText = 0x808080;
    TColorRef margin = 0xFFFFFF;
    TColorRef marginLine = 0x808080;
    bool operator==(const TGridColors&) const = default;
};

// What decides how a row looks besides its content.
struct TGridState
{
    bool enabled = true;
    bool focused = false;
    bool hideSelection = true;
    bool showBookmarks = true;
    // The selection is drawn unless disabled, or hidden while unfocused.
    bool SelectionVisible() const { return enabled && (focused || !hideSelection); }
    bool operator==(const TGridState&) const = default;
};

void PaintGridRow(ICellCanvas& canvas, const TGridLayout& layout, const TGridColors& colors,
    const TGridState& state, int row, const TGridRow& content);
// Fills the part of the client area below the last row.
void PaintBelowRows(
    ICellCanvas& canvas, const TGridLayout& layout, const TGridColors& colors, int rows);

// The rows painted last, so that only rows whose content changed are repainted.
class TGridRowCache
{
public:
    // Rows whose look differs from what was painted (all of them when the layout, colours or
    // state changed); the cache then holds the new rows.
    std::vector<int> Update(const std::vector<TGridRow>& rows, const TGridLayout& layout,
        const TGridColors& colors, const TGridState& state);
    void Invalidate() { m_valid = false; }
    const std::vector<TGridRow>& Rows() const { return m_rows; }

private:
    bool m_valid = false;
    std::vector<TGridRow> m_rows;
    TGridLayout m_layout;
    TGridColors m_colors;
    TGridState m_state;
};

// The caret's box relative to its cell's top-left corner.
struct TCaretBox
{
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool operator==(const TCaretBox&) const = default;
};
// Custom and bitmap carets have no size of their own here and fall back to a block.
TCaretBox CaretBoxFor(TCaretShape shape, int cellWidth, int cellHeight);

} // namespace wexly
