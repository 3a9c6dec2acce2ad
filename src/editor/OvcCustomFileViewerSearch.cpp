// Searching the displayed rows and copying the selection of the file viewer.
#include "editor/OvcCustomFileViewer.h"

#include <new>

namespace wexly {
namespace {

// Larger copies are refused with the allocation message: a selection of a whole huge
// file would otherwise exhaust memory (the displayed text is almost five times the file).
constexpr int64_t kMaxClipboardBytes = int64_t(128) << 20;

} // namespace

bool TOvcCustomFileViewer::Search(std::string_view text, TSearchOptions options)
{
    if (text.empty() || !m_isOpen)
        return false;
    const TEdSearchPattern pattern(text, options.Has(soMatchCase));
    const bool backward = options.Has(soBackward);
    TViewerPos start = m_caret;
    if (options.Has(soGlobal))
        start = backward ? TViewerPos { m_lastLine, FullLineLength() } : TViewerPos {};
    const auto length = static_cast<int32_t>(pattern.Length());
    // Forwards from the start column of the first row, backwards up to it; other rows whole.
    for (int64_t line = start.line; backward ? line >= 0 : line <= m_lastLine;) {
        std::string_view row = GetLine(line);
        size_t from = !backward && line == start.line ? static_cast<size_t>(start.col) : 0;
        size_t to = backward && line == start.line ? static_cast<size_t>(start.col) : row.size();
        size_t at = pattern.Find(row, from, std::min(to, row.size()), backward);
        if (at != TEdSearchPattern::npos) {
            auto col = static_cast<int32_t>(at);
            SetSelection(line, col, !backward, line, col + length);
            return true;
        }
        line += backward ? -1 : 1;
    }
    return false;
}

bool TOvcCustomFileViewer::CopyToClipboard()
{
    if (!HasSelection() || !m_clipboard)
        return false;
    const TViewerPos s = SelStart(), e = SelEnd();
    int64_t size = int64_t(GetLineLength(s.line)) + e.col + 2 * (e.line - s.line);
    if (e.line - s.line > 1)
        size += (e.line - s.line - 1) * int64_t(FullLineLength());
    std::string text;
    try {
        if (size > kMaxClipboardBytes)
            throw std::bad_alloc();
        text.reserve(static_cast<size_t>(size));
    } catch (const std::bad_alloc&) {
        throw std::runtime_error("Could not allocate memory for clipboard copy");
    }
    for (int64_t line = s.line; line <= e.line; ++line) {
        std::string_view row = GetLine(line);
        size_t from = line == s.line ? static_cast<size_t>(s.col) : 0;
        size_t to = line == e.line ? static_cast<size_t>(e.col) : row.size();
        if (from < std::min(to, row.size()))
            text.append(row.substr(from, std::min(to, row.size()) - from));
        if (line != e.line)
            text += "\r\n";
    }
    return m_clipboard->SetText(text);
}

} // namespace wexly
