#include "print/PagePrinter.h"

#include <algorithm>
#include <utility>

namespace wexly {

std::optional<TPrintRange> MakePrintRange(IPrintSource& source, bool selection)
{
    if (!selection)
        return TPrintRange { {}, source.LineCount() - 1 };
    if (!source.HasSelection())
        return std::nullopt;
    return TPrintRange { source.SelectionStart(), source.SelectionEndLine() };
}

TPagePrinter::TPagePrinter(IPrintSource& source, const TPrintRange& range, TPrintOptions options)
    : m_source(source)
    , m_range(range)
    , m_options(std::move(options))
{
    m_pageStarts[1] = m_range.start;
}

int64_t TPagePrinter::RowsFrom(int64_t line, int32_t col)
{
    if (!m_options.wordWrap)
        return 1;
    const auto length = static_cast<int64_t>(m_source.PrintableLine(line).size());
    if (col >= length)
        return 1;
    const int64_t c = m_options.geometry.charsPerLine;
    return (length - col + c - 1) / c;
}

TPrintPos TPagePrinter::SkipRows(TPrintPos pos, int64_t rows)
{
    if (!m_options.wordWrap) {
        // One row a line: no need to read the text.
        pos.line = std::min(pos.line + rows, m_range.endLine + 1);
        pos.col = 0;
        return pos;
    }
    while (rows > 0 && !Finished(pos)) {
        const int64_t here = RowsFrom(pos.line, pos.col);
        if (rows < here) {
            pos.col += static_cast<int32_t>(rows * m_options.geometry.charsPerLine);
            return pos;
        }
        rows -= here;
        pos = { pos.line + 1, 0 };
    }
    return pos;
}

void TPagePrinter::DrawHeader(int page, IPrintCanvas& canvas)
{
    const TPageGeometry& g = m_options.geometry;
    canvas.SetBold(true);
    canvas.PutPath(g.left, g.top, m_options.path);
    const std::string number = "Page: " + std::to_string(page);
    canvas.PutText(g.right - canvas.TextWidth(number), g.top, number);
    canvas.SetBold(false);
}

TPrintPos TPagePrinter::RenderPage(int page, IPrintCanvas& canvas, TPrintPos start)
{
    const TPageGeometry& g = m_options.geometry;
    int y = g.top;
    if (m_options.header) {
        DrawHeader(page, canvas);
        y += g.lineHeight;
    }
    TPrintPos pos = start;
    std::string text;
    int64_t textLine = -1;
    for (int row = 0; row < g.rowsPerPage && !Finished(pos); ++row, y += g.lineHeight) {
        if (textLine != pos.line) {
            text = m_source.PrintableLine(pos.line);
            textLine = pos.line;
        }
        if (!m_options.wordWrap) {
            // What does not fit on the paper is lost.
            canvas.PutText(g.left, y, text);
            pos = { pos.line + 1, 0 };
            continue;
        }
        const auto from = std::min(static_cast<size_t>(std::max(pos.col, 0)), text.size());
        canvas.PutText(
            g.left, y, std::string_view(text).substr(from, static_cast<size_t>(g.charsPerLine)));
        pos.col += g.charsPerLine;
        if (pos.col >= static_cast<int64_t>(text.size()))
            pos = { pos.line + 1, 0 };
    }
    return pos;
}

int TPagePrinter::PageCount()
{
    if (m_pageCount)
        return *m_pageCount;
    int64_t rows = 0;
    if (!Finished(m_range.start)) {
        if (!m_options.wordWrap) {
            rows = m_range.endLine - m_range.start.line + 1;
        } else {
            // The first line counts from the column the range starts at: that is what prints.
            rows = RowsFrom(m_range.start.line, m_range.start.col);
            for (int64_t line = m_range.start.line + 1; line <= m_range.endLine; ++line)
                rows += RowsFrom(line, 0);
        }
    }
    const int64_t r = m_options.geometry.rowsPerPage;
    m_pageCount = static_cast<int>((rows + r - 1) / r);
    return *m_pageCount;
}

TPrintPos TPagePrinter::PageStart(int page)
{
    page = std::max(page, 1);
    auto it = m_pageStarts.upper_bound(page);
    --it; // page 1 is always there
    if (it->first == page)
        return it->second;
    // Step on from the nearest page already known before it.
    const TPrintPos pos
        = SkipRows(it->second, int64_t { page - it->first } * m_options.geometry.rowsPerPage);
    m_pageStarts[page] = pos;
    return pos;
}

bool TPagePrinter::Print(IPrintTarget& target, int copies, bool collate)
{
    if (Finished(m_range.start))
        return false;
    copies = std::max(copies, 1);
    bool first = true;
    auto page = [&](int number, TPrintPos from) {
        if (!first)
            target.NewSheet();
        first = false;
        return RenderPage(number, target.Canvas(), from);
    };
    if (collate) {
        for (int copy = 0; copy < copies; ++copy) {
            TPrintPos pos = m_range.start;
            for (int number = 1; !Finished(pos); ++number)
                pos = page(number, pos);
        }
        return true;
    }
    TPrintPos pos = m_range.start;
    for (int number = 1; !Finished(pos); ++number) {
        TPrintPos next = pos;
        for (int copy = 0; copy < copies; ++copy)
            next = page(number, pos);
        pos = next;
    }
    return true;
}

} // namespace wexly
