// Reading the text: paragraph and line access, the selected text, appending while loading,
// and the rows the host paints.
#include "editor/OvcCustomEditor.h"

#include <algorithm>

namespace wexly {

// ---- Text access -----------------------------------------------------------------------

void TOvcCustomEditor::LineToPara(int32_t& line, int32_t& col) const
{
    if (line < 1 || line > m_list->LineCount())
        throw EEditorIndexError();
    int32_t offset = 0;
    line = m_list->FindParaByLine(line, offset);
    col += offset;
}

void TOvcCustomEditor::ParaToLine(int32_t& para, int32_t& pos) const
{
    if (para < 1 || para > m_list->ParaCount())
        throw EEditorIndexError();
    int32_t col = 0;
    para = m_list->FindLineByPara(para, pos, col);
    pos = col;
}

std::string_view TOvcCustomEditor::GetPara(int32_t para) const
{
    if (para < 1 || para > m_list->ParaCount())
        throw EEditorIndexError();
    return m_list->ParaText(para);
}

namespace {

std::string ExpandTabs(std::string_view s, int32_t tabSize)
{
    std::string out;
    out.reserve(s.size());
    for (char c : s) {
        if (c == '\t')
            out.append(
                static_cast<size_t>(tabSize - static_cast<int32_t>(out.size()) % tabSize), ' ');
        else
            out.push_back(c);
    }
    return out;
}

} // namespace

std::string TOvcCustomEditor::GetPrintableLine(int32_t line) const
{
    if (line < 1 || line > m_list->LineCount())
        throw EEditorIndexError();
    return ExpandTabs(m_list->NthLine(line), m_list->TabSize());
}

std::string TOvcCustomEditor::GetSelTextBuf() const
{
    std::string out;
    for (int32_t p = m_selStart.para; p <= m_selEnd.para; ++p) {
        std::string_view text = m_list->ParaText(p);
        auto len = static_cast<int32_t>(text.size());
        int32_t from = p == m_selStart.para ? std::min(m_selStart.pos, len + 1) : 1;
        int32_t to = p == m_selEnd.para ? std::min(m_selEnd.pos, len + 1) : len + 1;
        if (to > from)
            out.append(text.substr(static_cast<size_t>(from - 1), static_cast<size_t>(to - from)));
        if (p != m_selEnd.para)
            out.append("\r\n");
    }
    return out;
}

uint16_t TOvcCustomEditor::AppendPara(std::string_view text)
{
    // A paragraph holds no line end and no NUL: line ends start further paragraphs and a NUL
    // cuts its line, as when a file is read.
    uint16_t code = 0;
    size_t start = 0;
    do {
        size_t end = text.find_first_of(std::string_view("\r\n", 2), start);
        std::string_view line
            = text.substr(start, end == std::string_view::npos ? end : end - start);
        line = line.substr(0, line.find('\0'));
        code = m_list->AppendPara(line.data(), static_cast<int32_t>(line.size()), m_trimWhiteSpace);
        if (end == std::string_view::npos)
            break;
        start = end + (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n' ? 2 : 1);
    } while (code == 0 && start < text.size());
    ClampTopLine();
    return code;
}

// ---- Painting --------------------------------------------------------------------------

TEdPaintRow TOvcCustomEditor::GetPaintRow(int32_t row) const
{
    TEdPaintRow r;
    r.line = m_topLine + row;
    if (row < 0 || r.line > m_list->LineCount())
        return r;
    r.exists = true;
    std::string full = ExpandTabs(m_list->NthLine(r.line), m_list->TabSize());
    auto left = static_cast<size_t>(m_leftColumn);
    if (left < full.size())
        r.text = full.substr(left, static_cast<size_t>(m_visibleColumns));
    if (HasSelection() && r.line >= m_selStart.line && r.line <= m_selEnd.line) {
        int32_t from = r.line == m_selStart.line ? ScreenCol(r.line, m_selStart.col) : 1;
        int32_t to = r.line == m_selEnd.line ? ScreenCol(r.line, m_selEnd.col)
                                             : static_cast<int32_t>(full.size()) + 2;
        from = std::clamp(from - 1 - m_leftColumn, 0, m_visibleColumns);
        to = std::clamp(to - 1 - m_leftColumn, 0, m_visibleColumns);
        if (to > from) {
            r.selFirst = from;
            r.selLast = to;
        }
    }
    for (int n = 0; n < kMarkerCount && r.bookmark < 0; ++n) {
        TMarker m = m_list->Marker(n);
        int32_t col = 0;
        if (m.IsSet() && m_list->FindLineByPara(m.Para, m.Pos, col) == r.line)
            r.bookmark = n;
    }
    return r;
}

void TOvcCustomEditor::CaretPixel(
    int32_t cellWidth, int32_t rowHeight, bool marginLine, int32_t& x, int32_t& y) const
{
    x = m_leftMargin + (CaretScreenCol() - m_leftColumn - 1) * cellWidth + (marginLine ? 5 : 0);
    y = (m_caret.line - m_topLine) * rowHeight;
}

bool TOvcCustomEditor::CaretCell(int32_t& row, int32_t& column) const
{
    row = m_caret.line - m_topLine;
    column = CaretScreenCol() - 1 - m_leftColumn;
    return row >= 0 && row < m_visibleRows && column >= 0 && column <= m_visibleColumns;
}

} // namespace wexly
