// Command dispatch, caret movement, bookmarks and the mouse.
#include "editor/OvcCustomEditor.h"

#include <algorithm>

namespace wexly {

bool TOvcCustomEditor::ProcessCommand(TCommandCode command, char ch)
{
    TOperation op(*this);
    if (command >= ccUserFirst) {
        DoOnUserCommand(command);
        return true;
    }
    if (DoMove(command) || DoBookmarkCommand(command, ch) || DoEdit(command, ch))
        return true;
    switch (command) {
    case ccIns:
        SetInsertMode(!m_insertMode);
        return true;
    case ccCopy:
        CopyToClipboard();
        return true;
    case ccScrollDown:
        ScrollLines(m_wheelDelta);
        return true;
    case ccScrollUp:
        ScrollLines(-m_wheelDelta);
        return true;
    case ccCtrlChar: // the processor takes the next key literally; nothing to do here
        return true;
    default:
        return false;
    }
}

void TOvcCustomEditor::SetInsertMode(bool v)
{
    if (v == m_insertMode)
        return;
    TOperation op(*this);
    m_insertMode = v;
    PositionChanged();
}

bool TOvcCustomEditor::KeyDown(
    TOvcCommandProcessor& processor, uint8_t key, uint8_t shift, bool systemKey)
{
    TOperation op(*this);
    TTranslatedKey k = processor.Translate(key, shift, systemKey);
    m_skipNextChar = k.command == ccPartialKey || k.command == ccBack;
    if (k.command == ccPartialKey)
        return true;
    if (k.command != ccNoCommand && k.command != ccUnknownSecondKey
        && ProcessCommand(k.command, static_cast<char>(k.ch)))
        return true;
    constexpr uint8_t kTabKey = 0x09;
    constexpr uint8_t kEnterKey = 0x0D;
    if (key == kTabKey && shift == 0)
        return ProcessUntranslatedTab();
    if (key == kEnterKey && shift == 0)
        return ProcessUntranslatedEnter();
    return false;
}

void TOvcCustomEditor::CharMessage(char ch)
{
    if (m_skipNextChar) {
        m_skipNextChar = false;
        return;
    }
    if (static_cast<uint8_t>(ch) >= 32)
        ProcessCommand(ccTypedChar, ch);
}

bool TOvcCustomEditor::DoMove(TCommandCode command)
{
    switch (command) {
    case ccLeft:
        MoveLeft(false);
        break;
    case ccExtendLeft:
        MoveLeft(true);
        break;
    case ccRight:
        MoveRight(false);
        break;
    case ccExtendRight:
        MoveRight(true);
        break;
    case ccUp:
        MoveVert(-1, false);
        break;
    case ccExtendUp:
        MoveVert(-1, true);
        break;
    case ccDown:
        MoveVert(1, false);
        break;
    case ccExtendDown:
        MoveVert(1, true);
        break;
    case ccHome:
        MoveHome(false);
        break;
    case ccExtendHome:
        MoveHome(true);
        break;
    case ccEnd:
        MoveEnd(false);
        break;
    case ccExtendEnd:
        MoveEnd(true);
        break;
    case ccNextPage:
        MovePage(1, false);
        break;
    case ccExtendPgDn:
        MovePage(1, true);
        break;
    case ccPrevPage:
        MovePage(-1, false);
        break;
    case ccExtendPgUp:
        MovePage(-1, true);
        break;
    case ccTopOfPage:
        MoveTopOfPage(false);
        break;
    case ccExtTopOfPage:
        MoveTopOfPage(true);
        break;
    case ccBotOfPage:
        MoveBotOfPage(false);
        break;
    case ccExtBotOfPage:
        MoveBotOfPage(true);
        break;
    case ccWordLeft:
        MoveWordLeft(false);
        break;
    case ccExtWordLeft:
        MoveWordLeft(true);
        break;
    case ccWordRight:
        MoveWordRight(false);
        break;
    case ccExtWordRight:
        MoveWordRight(true);
        break;
    case ccFirstPage:
        MoveCaretToLine(1, 1, false);
        break;
    case ccExtFirstPage:
        MoveCaretToLine(1, 1, true);
        break;
    case ccLastPage:
    case ccExtLastPage: {
        int32_t last = m_list->LineCount();
        MoveCaretToLine(last, m_list->LineLength(last) + 1, command == ccExtLastPage);
        break;
    }
    default:
        return false;
    }
    return true;
}

void TOvcCustomEditor::MoveLeft(bool extend)
{
    if (m_caret.pos > 1) {
        MoveCaretTo(m_caret.para, m_caret.pos - 1, extend);
    } else if (m_wrapAtLeft && m_caret.para > 1) {
        int32_t prev = m_caret.para - 1;
        MoveCaretTo(prev, m_list->ParaLength(prev) + 1, extend);
    } else {
        MoveCaretTo(m_caret.para, m_caret.pos, extend);
    }
}

void TOvcCustomEditor::MoveRight(bool extend)
{
    int32_t len = m_list->ParaLength(m_caret.para);
    if (m_caret.pos <= len) {
        MoveCaretTo(m_caret.para, m_caret.pos + 1, extend);
    } else if (m_scrollPastEnd) {
        int32_t col = std::min(m_caret.col + 1, MaxCol(m_caret.line));
        MoveCaretToLine(m_caret.line, col, extend);
    } else if (m_caret.para < m_list->ParaCount()) {
        MoveCaretTo(m_caret.para + 1, 1, extend);
    } else {
        MoveCaretTo(m_caret.para, m_caret.pos, extend);
    }
}

void TOvcCustomEditor::MoveVert(int32_t delta, bool extend)
{
    int32_t screen = CaretScreenCol();
    int32_t line = std::clamp(m_caret.line + delta, 1, m_list->LineCount());
    MoveCaretToLine(line, ColAtScreen(line, screen), extend);
}

void TOvcCustomEditor::MovePage(int32_t direction, bool extend)
{
    int32_t step = std::max(1, m_visibleRows - 1) * direction;
    int32_t screen = CaretScreenCol();
    int32_t row = m_caret.line - m_topLine;
    int32_t line = std::clamp(m_caret.line + step, 1, m_list->LineCount());
    SetTopLine(m_topLine + step);
    MoveCaretToLine(line, ColAtScreen(line, screen), extend);
    if (row >= 0 && row < m_visibleRows)
        EnsureCaretVisible(true, row);
}

void TOvcCustomEditor::MoveTopOfPage(bool extend)
{
    bool inWindow = m_caret.line >= m_topLine && m_caret.line < m_topLine + m_visibleRows;
    if (!inWindow) {
        if (!extend)
            SetTopLine(m_caret.line);
        return;
    }
    MoveCaretToLine(m_topLine, ColAtScreen(m_topLine, CaretScreenCol()), extend);
}

void TOvcCustomEditor::MoveBotOfPage(bool extend)
{
    bool inWindow = m_caret.line >= m_topLine && m_caret.line < m_topLine + m_visibleRows;
    if (!inWindow) {
        if (!extend)
            SetTopLine(m_caret.line - m_visibleRows + 1);
        return;
    }
    int32_t line = std::min(m_topLine + m_visibleRows - 1, m_list->LineCount());
    MoveCaretToLine(line, ColAtScreen(line, CaretScreenCol()), extend);
}

void TOvcCustomEditor::MoveHome(bool extend)
{
    MoveCaretToLine(m_caret.line, 1, extend);
}

void TOvcCustomEditor::MoveEnd(bool extend)
{
    MoveCaretToLine(m_caret.line, m_list->LineLength(m_caret.line) + 1, extend);
}

void TOvcCustomEditor::MoveWordLeft(bool extend)
{
    std::string_view text = m_list->ParaText(m_caret.para);
    auto len = static_cast<int32_t>(text.size());
    int32_t pos = std::min(m_caret.pos, len + 1);
    if (m_caret.pos == 1) {
        if (m_caret.para > 1)
            MoveCaretTo(m_caret.para - 1, m_list->ParaLength(m_caret.para - 1) + 1, extend);
        else
            MoveCaretTo(1, 1, extend);
        return;
    }
    auto at = [&](int32_t p) { return text[static_cast<size_t>(p - 1)]; };
    while (pos > 1 && edIsWordDelim(at(pos - 1)))
        --pos;
    while (pos > 1 && !edIsWordDelim(at(pos - 1)))
        --pos;
    MoveCaretTo(m_caret.para, pos, extend);
}

void TOvcCustomEditor::MoveWordRight(bool extend)
{
    std::string_view text = m_list->ParaText(m_caret.para);
    auto len = static_cast<int32_t>(text.size());
    if (m_caret.pos > len) {
        if (m_caret.para < m_list->ParaCount())
            MoveCaretTo(m_caret.para + 1, 1, extend);
        else
            MoveCaretTo(m_caret.para, m_caret.pos, extend);
        return;
    }
    int32_t pos = m_caret.pos;
    auto at = [&](int32_t p) { return text[static_cast<size_t>(p - 1)]; };
    while (pos <= len && !edIsWordDelim(at(pos)))
        ++pos;
    while (pos <= len && edIsWordDelim(at(pos)))
        ++pos;
    MoveCaretTo(m_caret.para, pos, extend);
}

// ---- Bookmarks -------------------------------------------------------------------------

bool TOvcCustomEditor::DoBookmarkCommand(TCommandCode command, char ch)
{
    bool set = command >= ccSetMarker0 && command <= ccSetMarker9;
    bool go = command >= ccGotoMarker0 && command <= ccGotoMarker9;
    if (!set && !go)
        return false;
    // The number comes from the digit key, not from the command code.
    int n = ch - '0';
    if (n < 0 || n > 9)
        return true;
    if (set)
        SetMarker(n);
    else
        GotoMarker(n);
    return true;
}

void TOvcCustomEditor::SetMarker(int n)
{
    m_list->SetMarker(n, m_caret.para, m_caret.pos);
}

void TOvcCustomEditor::SetMarkerAt(int n, int32_t line, int32_t col)
{
    m_list->SetMarkerAt(n, line, col);
}

void TOvcCustomEditor::ClearMarker(int n)
{
    m_list->ClearMarker(n);
}

void TOvcCustomEditor::GotoMarker(int n)
{
    if (n < 0 || n >= kMarkerCount)
        return;
    TMarker m = m_list->Marker(n);
    if (!m.IsSet())
        return;
    TOperation op(*this);
    MoveCaretTo(m.Para, m.Pos, false);
}

bool TOvcCustomEditor::GetMarkerPosition(int n, int32_t& line, int32_t& col) const
{
    if (n < 0 || n >= kMarkerCount || !m_list->Marker(n).IsSet())
        return false;
    TMarker m = m_list->Marker(n);
    line = m_list->FindLineByPara(m.Para, m.Pos, col);
    return true;
}

// ---- Mouse -----------------------------------------------------------------------------

bool TOvcCustomEditor::CellToLineCol(int32_t row, int32_t column, int32_t& line, int32_t& col)
{
    // Outside the window the view scrolls one line towards the pointer.
    if (row < 0)
        SetTopLine(m_topLine - 1);
    else if (row >= m_visibleRows)
        SetTopLine(m_topLine + 1);
    row = std::clamp(row, 0, m_visibleRows - 1);
    line = std::clamp(m_topLine + row, 1, m_list->LineCount());
    col = ColAtScreen(line, m_leftColumn + std::max(column, 0) + 1);
    col = std::min(col, MaxCol(line));
    return true;
}

void TOvcCustomEditor::MouseDown(int32_t row, int32_t column, uint8_t shift)
{
    TOperation op(*this);
    int32_t line = 0;
    int32_t col = 0;
    CellToLineCol(row, column, line, col);
    m_mouseMode = TMouseMode::Text;
    MoveCaretToLine(line, col, (shift & kMouseShift) != 0);
}

void TOvcCustomEditor::MouseMove(int32_t row, int32_t column)
{
    if (m_mouseMode == TMouseMode::None)
        return;
    TOperation op(*this);
    int32_t line = 0;
    int32_t col = 0;
    CellToLineCol(row, column, line, col);
    if (m_mouseMode == TMouseMode::Text) {
        MoveCaretToLine(line, col, true);
        return;
    }
    // Margin drag: whole lines from the anchor line to the line under the pointer.
    int32_t first = std::min(line, m_marginAnchorLine);
    int32_t last = std::max(line, m_marginAnchorLine);
    int32_t count = m_list->LineCount();
    bool down = line >= m_marginAnchorLine;
    TEdPosition a = FromLineCol(first, 1);
    TEdPosition b
        = last < count ? FromLineCol(last + 1, 1) : FromLineCol(last, m_list->LineLength(last) + 1);
    SetSelection(down ? a.line : b.line, down ? a.col : b.col, true, down ? b.line : a.line,
        down ? b.col : a.col);
}

void TOvcCustomEditor::MarginMouseDown(int32_t row, uint8_t shift)
{
    TOperation op(*this);
    int32_t line = std::clamp(m_topLine + std::max(row, 0), 1, m_list->LineCount());
    if (!(shift & kMouseShift) || !HasSelection())
        m_marginAnchorLine = line;
    m_mouseMode = TMouseMode::Margin;
    MouseMove(row, 0);
}

void TOvcCustomEditor::MouseDoubleClick(int32_t row, int32_t column, uint8_t shift)
{
    TOperation op(*this);
    int32_t line = 0;
    int32_t col = 0;
    CellToLineCol(row, column, line, col);
    TEdPosition p = FromLineCol(line, col);
    SelectWordAt(p.para, p.pos, (shift & kMouseShift) != 0);
}

void TOvcCustomEditor::SelectWordAt(int32_t para, int32_t pos, bool extend)
{
    std::string_view text = m_list->ParaText(para);
    auto len = static_cast<int32_t>(text.size());
    auto at = [&](int32_t p) { return text[static_cast<size_t>(p - 1)]; };
    int32_t start = std::min(pos, len + 1);
    // On a delimiter, the word before it is taken together with the gap.
    if (start > len || edIsWordDelim(at(start))) {
        while (start > 1 && edIsWordDelim(at(start - 1)))
            --start;
    }
    while (start > 1 && !edIsWordDelim(at(start - 1)))
        --start;
    int32_t end = std::min(pos, len + 1);
    while (end <= len && !edIsWordDelim(at(end)))
        ++end;
    while (end <= len && (at(end) == ' ' || at(end) == '\t'))
        ++end;
    if (extend && HasSelection()) {
        // Shift: grow the selection to take in whole words on the side of the click.
        bool after = para > m_selStart.para || (para == m_selStart.para && pos > m_selStart.pos);
        TEdPosition s = after ? m_selStart : FromParaPos(para, start);
        TEdPosition e = after ? FromParaPos(para, end) : m_selEnd;
        SetSelection(s.line, s.col, after, e.line, e.col);
        return;
    }
    TEdPosition s = FromParaPos(para, start);
    TEdPosition e = FromParaPos(para, end);
    SetSelection(s.line, s.col, true, e.line, e.col);
}

void TOvcCustomEditor::MarginDoubleClick(int32_t row)
{
    TOperation op(*this);
    int32_t line = std::clamp(m_topLine + std::max(row, 0), 1, m_list->LineCount());
    int32_t offset = 0;
    int32_t para = m_list->FindParaByLine(line, offset);
    TEdPosition s = FromParaPos(para, 1);
    TEdPosition e = para < m_list->ParaCount() ? FromParaPos(para + 1, 1)
                                               : FromParaPos(para, m_list->ParaLength(para) + 1);
    SetSelection(s.line, s.col, true, e.line, e.col);
    m_mouseMode = TMouseMode::None;
}

int32_t TOvcCustomEditor::AutoScrollDelay(int32_t distance, int32_t scrollBarHeight)
{
    return std::max(0, 3 * scrollBarHeight - distance);
}

} // namespace wexly
