#include "editor/paint/GridPainter.h"

#include <algorithm>
#include <tuple>

namespace wexly {

int TGridLayout::VisibleRows() const
{
    if (cellHeight <= 0)
        return 1;
    return std::max(1, (clientHeight + cellHeight - 1) / cellHeight);
}

int TGridLayout::VisibleColumns() const
{
    if (cellWidth <= 0)
        return 1;
    return std::max(1, (clientWidth - TextLeft() + cellWidth - 1) / cellWidth);
}

int TGridLayout::RowAt(int y) const
{
    // Floor division, so points above the window give negative rows.
    return y >= 0 ? y / cellHeight : -((-y + cellHeight - 1) / cellHeight);
}

int TGridLayout::ColumnAt(int x) const
{
    int dx = x - TextLeft();
    return dx >= 0 ? dx / cellWidth : -((-dx + cellWidth - 1) / cellWidth);
}

namespace {

void PaintMargin(ICellCanvas& canvas, const TGridLayout& layout, const TGridColors& colors,
    const TGridState& state, int top, const TGridRow& content)
{
    int bottom = top + layout.cellHeight;
    canvas.FillRect({ 0, top, layout.leftMargin, bottom }, colors.margin);
    if (layout.leftMarginLine) {
        canvas.FillRect({ layout.leftMargin, top, layout.TextLeft(), bottom }, colors.background);
        canvas.VertLine(layout.leftMargin, top, bottom, colors.marginLine);
    }
    bool fits = layout.glyphWidth > 0 && layout.glyphWidth <= layout.leftMargin;
    if (state.showBookmarks && content.exists && content.bookmark >= 0 && content.bookmark <= 9
        && fits)
        canvas.DrawBookmark(
            content.bookmark, 1, top + (layout.cellHeight - layout.glyphHeight) / 2);
}

} // namespace

void PaintGridRow(ICellCanvas& canvas, const TGridLayout& layout, const TGridColors& colors,
    const TGridState& state, int row, const TGridRow& content)
{
    const int top = layout.RowTop(row);
    const int bottom = top + layout.cellHeight;
    const int left = layout.TextLeft();
    PaintMargin(canvas, layout, colors, state, top, content);

    TColorRef fg = state.enabled ? colors.text : colors.disabledText;
    int textCells = static_cast<int>(content.text.size());
    int selFirst = 0;
    int selLast = 0;
    if (content.exists && state.SelectionVisible() && content.selFirst >= 0
        && content.selLast > content.selFirst) {
        selFirst = content.selFirst;
        selLast = content.selLast;
    }
    auto cells = [&](int from, int to) {
        return std::string_view(content.text)
            .substr(static_cast<size_t>(from),
                static_cast<size_t>(std::max(0, std::min(to, textCells) - from)));
    };
    int x = left;
    if (selLast > selFirst) {
        int before = std::min(selFirst, textCells);
        if (before > 0)
            canvas.DrawCells(x, top, cells(0, before), fg, colors.background);
        // Selected cells past the end of the text (the line break) show as highlighted blanks.
        std::string selected(cells(before, selLast));
        selected.resize(static_cast<size_t>(selLast - selFirst), ' ');
        canvas.DrawCells(left + selFirst * layout.cellWidth, top, selected, colors.highlightText,
            colors.highlightBackground);
        x = left + selLast * layout.cellWidth;
        if (selLast < textCells)
            canvas.DrawCells(x, top, cells(selLast, textCells), fg, colors.background);
    } else if (textCells > 0) {
        canvas.DrawCells(x, top, content.text, fg, colors.background);
    }
    x = std::max(x, left + textCells * layout.cellWidth);
    if (x < layout.clientWidth)
        canvas.FillRect({ x, top, layout.clientWidth, bottom }, colors.background);
    if (layout.rightMarginLine) {
        int lineX = layout.clientWidth - layout.rightMargin;
        if (lineX > left)
            canvas.VertLine(lineX, top, bottom, colors.marginLine);
    }
}

void PaintBelowRows(
    ICellCanvas& canvas, const TGridLayout& layout, const TGridColors& colors, int rows)
{
    int top = layout.RowTop(rows);
    if (top < layout.clientHeight)
        canvas.FillRect({ 0, top, layout.clientWidth, layout.clientHeight }, colors.background);
}

std::vector<int> TGridRowCache::Update(const std::vector<TGridRow>& rows, const TGridLayout& layout,
    const TGridColors& colors, const TGridState& state)
{
    std::vector<int> changed;
    // Focus matters only through the selection's visibility.
    auto look = [](const TGridState& st) {
        return std::make_tuple(st.enabled, st.SelectionVisible(), st.showBookmarks);
    };
    bool all = !m_valid || layout != m_layout || colors != m_colors || look(state) != look(m_state)
        || rows.size() != m_rows.size();
    for (size_t i = 0; i < rows.size(); ++i)
        if (all || rows[i] != m_rows[i])
            changed.push_back(static_cast<int>(i));
    m_rows = rows;
    m_layout = layout;
    m_colors = colors;
    m_state = state;
    m_valid = true;
    return changed;
}

TCaretBox CaretBoxFor(TCaretShape shape, int cellWidth, int cellHeight)
{
    switch (shape) {
    case TCaretShape::csVertLine:
        return { 0, 0, 2, cellHeight };
    case TCaretShape::csHorzLine:
        return { 0, cellHeight - 2, cellWidth, 2 };
    case TCaretShape::csHalfBlock:
        return { 0, cellHeight - cellHeight / 2, cellWidth, cellHeight / 2 };
    case TCaretShape::csBlock:
    case TCaretShape::csCustom:
    case TCaretShape::csBitmap:
        break;
    }
    return { 0, 0, cellWidth, cellHeight };
}

} // namespace wexly
