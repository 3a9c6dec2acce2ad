// Lays a document's lines out in pages and draws them: the print range, rows with or without
// wrapping, the header line, page starts (cached for the preview) and the copies of a job.
// Borrows the source.
#pragma once

#include "print/PageGeometry.h"
#include "print/PrintCanvas.h"
#include "print/PrintSource.h"

#include <map>
#include <optional>
#include <string>

namespace wexly {

struct TPrintRange
{
    TPrintPos start;
    int64_t endLine = -1; // the last line printed, whole
};

// The whole document, or the lines of its selection; nothing when the selection was asked for
// and there is none.
std::optional<TPrintRange> MakePrintRange(IPrintSource& source, bool selection);

struct TPrintOptions
{
    TPageGeometry geometry;
    bool wordWrap = true;
    bool header = true;
    std::string path; // shown in the header
};

class TPagePrinter
{
public:
    TPagePrinter(IPrintSource& source, const TPrintRange& range, TPrintOptions options);

    const TPrintRange& Range() const { return m_range; }
    const TPrintOptions& Options() const { return m_options; }
    bool Finished(const TPrintPos& pos) const { return pos.line > m_range.endLine; }

    // Draws page `page` from `start`; returns where the next page starts.
    TPrintPos RenderPage(int page, IPrintCanvas& canvas, TPrintPos start);
    // Pages the range fills; computed once.
    int PageCount();
    // Where page `page` (from 1) starts; computed when first asked and kept.
    TPrintPos PageStart(int page);
    // Every page of the range, `copies` times: collated as whole runs numbered from 1 each,
    // otherwise each page repeated in a row. False when there was nothing to print.
    bool Print(IPrintTarget& target, int copies, bool collate);

private:
    // Rows a line takes from column col on.
    int64_t RowsFrom(int64_t line, int32_t col);
    TPrintPos SkipRows(TPrintPos pos, int64_t rows);
    void DrawHeader(int page, IPrintCanvas& canvas);

    IPrintSource& m_source;
    TPrintRange m_range;
    TPrintOptions m_options;
    std::optional<int> m_pageCount;
    std::map<int, TPrintPos> m_pageStarts; // holds page 1 from the start
};

} // namespace wexly
