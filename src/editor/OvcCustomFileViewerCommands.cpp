// Caret, selection, scrolling, bookmarks and the command codes of the file viewer.
#include "editor/OvcCustomFileViewer.h"

#include <string_view>

namespace wexly {
namespace {

// Words for Ctrl+Left/Right: runs of characters outside this set.
constexpr std::string_view kWordDelimiters = "\t'\r\n ,./?;:`\"<>[]{}-=\\+|()%@&^$#!~*";

bool IsDelimiter(char c)
{
    return kWordDelimiters.find(c) != std::string_view::npos;
}

} // namespace

// ---- caret and selection ---------------------------------------------------

int32_t TOvcCustomFileViewer::ClampCol(int64_t line, int32_t col)
{
    return std::clamp(col, 0, GetLineLength(line));
}

TViewerPos TOvcCustomFileViewer::Clamp(TViewerPos pos)
{
    if (!m_isOpen)
        return {};
    pos.line = std::clamp<int64_t>(pos.line, 0, m_lastLine);
    pos.col = ClampCol(pos.line, pos.col);
    return pos;
}

int64_t TOvcCustomFileViewer::GetCaretPosition(int32_t& col) const
{
    col = m_caret.col;
    return m_caret.line;
}

void TOvcCustomFileViewer::SetCaretPosition(int64_t line, int32_t col)
{
    MoveCaret({ line, col }, false);
}

void TOvcCustomFileViewer::GetSelection(
    int64_t& line1, int32_t& col1, int64_t& line2, int32_t& col2) const
{
    TViewerPos s = SelStart(), e = SelEnd();
    line1 = s.line;
    col1 = s.col;
    line2 = e.line;
    col2 = e.col;
}

void TOvcCustomFileViewer::SetSelection(
    int64_t line1, int32_t col1, bool caretAtEnd, int64_t line2, int32_t col2)
{
    if (!m_isOpen)
        return;
    TViewerPos first = Clamp({ line1, col1 }), second = Clamp({ line2, col2 });
    m_anchor = caretAtEnd ? first : second;
    MoveCaret(caretAtEnd ? second : first, true);
}

void TOvcCustomFileViewer::SelectAll()
{
    SetSelection(0, 0, true, m_lastLine, GetLineLength(m_lastLine));
}

void TOvcCustomFileViewer::ClearSelection()
{
    if (!HasSelection())
        return;
    m_anchor = m_caret;
    NotifyChange();
}

void TOvcCustomFileViewer::MoveCaret(TViewerPos pos, bool extend)
{
    bool hadSelection = HasSelection();
    m_caret = Clamp(pos);
    if (!extend)
        m_anchor = m_caret;
    ScrollToCaret();
    if (hadSelection || HasSelection())
        NotifyChange();
    NotifyStatus();
}

void TOvcCustomFileViewer::ScrollToCaret()
{
    if (m_caret.line < m_topLine)
        SetTopLine(m_caret.line);
    else if (m_caret.line >= m_topLine + m_visibleRows)
        SetTopLine(m_caret.line - m_visibleRows + 1);
    if (m_caret.col < m_leftColumn)
        SetLeftColumn(m_caret.col - 1);
    else if (m_caret.col >= m_leftColumn + m_visibleColumns)
        SetLeftColumn(m_caret.col - m_visibleColumns + 1);
}

// ---- view --------------------------------------------------------------------

void TOvcCustomFileViewer::SetTopLine(int64_t line)
{
    line = std::clamp<int64_t>(line, 0, std::max<int64_t>(0, LineCount() - m_visibleRows));
    if (line == m_topLine)
        return;
    m_topLine = line;
    if (m_observer)
        m_observer->OnTopLineChanged(m_topLine);
    NotifyChange();
}

void TOvcCustomFileViewer::SetVisibleRows(int32_t rows)
{
    m_visibleRows = std::max(rows, 1);
    SetTopLine(m_topLine);
}

void TOvcCustomFileViewer::SetVisibleColumns(int32_t columns)
{
    m_visibleColumns = std::max(columns, 1);
    SetLeftColumn(m_leftColumn);
}

void TOvcCustomFileViewer::SetLeftColumn(int32_t column)
{
    column = std::clamp(column, 0, std::max(0, FullLineLength() + 1 - m_visibleColumns));
    if (column == m_leftColumn)
        return;
    m_leftColumn = column;
    NotifyChange();
}

TViewerScrollInfo TOvcCustomFileViewer::VerticalScroll() const
{
    TViewerScrollInfo info;
    int64_t scrollable = LineCount() - m_visibleRows + 1;
    info.scale = scrollable <= 32767 ? 1 : (scrollable / 32768) * 2;
    info.max = LineCount() > 0 ? (LineCount() - 1) / info.scale : 0;
    info.page = m_visibleRows;
    info.pos = m_topLine / info.scale;
    return info;
}

void TOvcCustomFileViewer::SetTopLineFromScroll(int64_t thumbPos)
{
    SetTopLine(thumbPos * VerticalScroll().scale);
}

bool TOvcCustomFileViewer::SelectedColumns(int64_t line, int32_t& from, int32_t& to)
{
    if (!HasSelection())
        return false;
    TViewerPos s = SelStart(), e = SelEnd();
    if (line < s.line || line > e.line)
        return false;
    from = line == s.line ? s.col : 0;
    to = line == e.line ? e.col : GetLineLength(line);
    return from < to;
}

bool TOvcCustomFileViewer::CaretCell(int32_t& row, int32_t& col) const
{
    if (!m_showCaret || !m_isOpen)
        return false;
    int64_t r = m_caret.line - m_topLine;
    int32_t c = m_caret.col - m_leftColumn;
    if (r < 0 || r >= m_visibleRows || c < 0 || c > m_visibleColumns)
        return false;
    row = static_cast<int32_t>(r);
    col = c;
    return true;
}

// ---- bookmarks ---------------------------------------------------------------

void TOvcCustomFileViewer::SetMarker(int n)
{
    SetMarkerAt(n, m_caret.line, m_caret.col);
}

void TOvcCustomFileViewer::SetMarkerAt(int n, int64_t line, int32_t col)
{
    if (n < 0 || n > 9 || !m_isOpen)
        return;
    m_markers[static_cast<size_t>(n)] = Clamp({ line, col });
    NotifyChange();
}

void TOvcCustomFileViewer::GotoMarker(int n)
{
    if (n < 0 || n > 9 || !m_markers[static_cast<size_t>(n)])
        return;
    MoveCaret(*m_markers[static_cast<size_t>(n)], false);
}

void TOvcCustomFileViewer::ClearMarker(int n)
{
    if (n < 0 || n > 9 || !m_markers[static_cast<size_t>(n)])
        return;
    m_markers[static_cast<size_t>(n)].reset();
    NotifyChange();
}

bool TOvcCustomFileViewer::GetMarkerPosition(int n, int64_t& line, int32_t& col) const
{
    if (n < 0 || n > 9 || !m_markers[static_cast<size_t>(n)])
        return false;
    line = m_markers[static_cast<size_t>(n)]->line;
    col = m_markers[static_cast<size_t>(n)]->col;
    return true;
}

int TOvcCustomFileViewer::BookmarkOnLine(int64_t line) const
{
    if (!m_showBookmarks)
        return -1;
    for (int n = 0; n < 10; ++n) {
        const auto& marker = m_markers[static_cast<size_t>(n)];
        if (marker && marker->line == line)
            return n;
    }
    return -1;
}

// ---- commands ----------------------------------------------------------------

bool TOvcCustomFileViewer::ProcessCommand(TCommandCode command, char)
{
    if (command >= ccUserFirst) {
        if (m_observer)
            m_observer->OnUserCommand(command);
        return true;
    }
    switch (command) {
    case ccCopy:
        CopyToClipboard();
        return true;
    case ccScrollUp:
        SetTopLine(m_topLine - 1);
        return true;
    case ccScrollDown:
        SetTopLine(m_topLine + 1);
        return true;
    default:
        break;
    }
    // Bookmark numbers come from the code here, not from the key's character.
    if (command >= ccSetMarker0 && command <= ccSetMarker9) {
        SetMarker(command - ccSetMarker0);
        return true;
    }
    if (command >= ccGotoMarker0 && command <= ccGotoMarker9) {
        GotoMarker(command - ccGotoMarker0);
        return true;
    }
    return m_showCaret ? MoveCommand(command) : ScrollCommand(command);
}

TViewerPos TOvcCustomFileViewer::WordLeft(TViewerPos pos)
{
    if (pos.col == 0)
        return pos.line > 0 ? TViewerPos { pos.line - 1, GetLineLength(pos.line - 1) } : pos;
    std::string_view text = GetLine(pos.line);
    auto at = [&](int32_t c) { return text[static_cast<size_t>(c)]; };
    int32_t c = std::min(pos.col, static_cast<int32_t>(text.size()));
    while (c > 0 && IsDelimiter(at(c - 1)))
        --c;
    while (c > 0 && !IsDelimiter(at(c - 1)))
        --c;
    return { pos.line, c };
}

TViewerPos TOvcCustomFileViewer::WordRight(TViewerPos pos)
{
    std::string_view text = GetLine(pos.line);
    auto len = static_cast<int32_t>(text.size());
    if (pos.col >= len)
        return pos.line < m_lastLine ? TViewerPos { pos.line + 1, 0 } : pos;
    auto at = [&](int32_t c) { return text[static_cast<size_t>(c)]; };
    int32_t c = pos.col;
    while (c < len && !IsDelimiter(at(c)))
        ++c;
    while (c < len && IsDelimiter(at(c)))
        ++c;
    return { pos.line, c };
}

void TOvcCustomFileViewer::PageMove(int64_t delta, bool extend)
{
    int64_t row = m_caret.line - m_topLine;
    TViewerPos target = Clamp({ m_caret.line + delta, m_caret.col });
    SetTopLine(target.line - row);
    MoveCaret(target, extend);
}

bool TOvcCustomFileViewer::MoveCommand(TCommandCode command)
{
    const TViewerPos c = m_caret;
    const int64_t page = std::max(1, m_visibleRows - 1);
    const int64_t bottom = std::min(m_topLine + m_visibleRows - 1, m_lastLine);
    const bool inWindow = c.line >= m_topLine && c.line <= bottom;
    switch (command) {
    case ccLeft:
    case ccExtendLeft:
        if (c.col > 0)
            MoveCaret({ c.line, c.col - 1 }, command == ccExtendLeft);
        else if (c.line > 0)
            MoveCaret({ c.line - 1, GetLineLength(c.line - 1) }, command == ccExtendLeft);
        else
            MoveCaret(c, command == ccExtendLeft);
        return true;
    case ccRight:
    case ccExtendRight:
        if (c.col < GetLineLength(c.line) || c.line >= m_lastLine)
            MoveCaret({ c.line, c.col + 1 }, command == ccExtendRight);
        else
            MoveCaret({ c.line + 1, 0 }, command == ccExtendRight);
        return true;
    case ccUp:
    case ccExtendUp:
        MoveCaret({ c.line - 1, c.col }, command == ccExtendUp);
        return true;
    case ccDown:
    case ccExtendDown:
        MoveCaret({ c.line + 1, c.col }, command == ccExtendDown);
        return true;
    case ccHome:
    case ccExtendHome:
        MoveCaret({ c.line, 0 }, command == ccExtendHome);
        return true;
    case ccEnd:
    case ccExtendEnd:
        MoveCaret({ c.line, GetLineLength(c.line) }, command == ccExtendEnd);
        return true;
    case ccPrevPage:
    case ccExtendPgUp:
        PageMove(-page, command == ccExtendPgUp);
        return true;
    case ccNextPage:
    case ccExtendPgDn:
        PageMove(page, command == ccExtendPgDn);
        return true;
    case ccTopOfPage:
    case ccExtTopOfPage:
        if (inWindow)
            MoveCaret({ m_topLine, c.col }, command == ccExtTopOfPage);
        else if (command == ccTopOfPage)
            SetTopLine(c.line);
        return true;
    case ccBotOfPage:
    case ccExtBotOfPage:
        if (inWindow)
            MoveCaret({ bottom, c.col }, command == ccExtBotOfPage);
        else if (command == ccBotOfPage)
            SetTopLine(c.line - m_visibleRows + 1);
        return true;
    case ccFirstPage:
    case ccExtFirstPage:
        MoveCaret({ 0, 0 }, command == ccExtFirstPage);
        return true;
    case ccLastPage:
    case ccExtLastPage:
        MoveCaret({ m_lastLine, GetLineLength(m_lastLine) }, command == ccExtLastPage);
        return true;
    case ccWordLeft:
    case ccExtWordLeft:
        MoveCaret(WordLeft(c), command == ccExtWordLeft);
        return true;
    case ccWordRight:
    case ccExtWordRight:
        MoveCaret(WordRight(c), command == ccExtWordRight);
        return true;
    default:
        return false;
    }
}

// Without a caret the movement keys move the view instead.
bool TOvcCustomFileViewer::ScrollCommand(TCommandCode command)
{
    const int64_t page = std::max(1, m_visibleRows - 1);
    switch (command) {
    case ccUp:
        SetTopLine(m_topLine - 1);
        return true;
    case ccDown:
        SetTopLine(m_topLine + 1);
        return true;
    case ccPrevPage:
        SetTopLine(m_topLine - page);
        return true;
    case ccNextPage:
        SetTopLine(m_topLine + page);
        return true;
    case ccFirstPage:
        SetTopLine(0);
        return true;
    case ccLastPage:
        SetTopLine(LineCount());
        return true;
    case ccLeft:
        SetLeftColumn(m_leftColumn - 1);
        return true;
    case ccRight:
        SetLeftColumn(m_leftColumn + 1);
        return true;
    case ccHome:
        SetLeftColumn(0);
        return true;
    case ccEnd:
        SetLeftColumn(FullLineLength());
        return true;
    default:
        return false;
    }
}

} // namespace wexly
