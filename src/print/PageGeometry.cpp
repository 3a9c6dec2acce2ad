#include "print/PageGeometry.h"

#include <algorithm>
#include <cstdint>

namespace wexly {

int PrintFontHeight(int pointSize, int dpiY)
{
    // Rounded as the system's MulDiv rounds.
    const int64_t product = int64_t { std::max(pointSize, 1) } * std::max(dpiY, 1);
    return std::max(1, static_cast<int>((product + 36) / 72));
}

TPageGeometry ComputePageGeometry(
    const TPrinterMetrics& printer, int lineHeight, int widthOfW, bool header)
{
    TPageGeometry g;
    g.margin = std::max(printer.dpiY, 0) / 2;
    g.left = g.top = g.margin;
    g.right = printer.pageWidth - g.margin;
    g.bottom = printer.pageHeight - g.margin;
    g.lineHeight = std::max(lineHeight, 1);
    g.charsPerLine = std::max(1, (g.right - g.left) / std::max(widthOfW, 1));
    // A row is printed whenever its top is not below the bottom margin.
    const int rows = std::max(g.bottom - g.top, 0) / g.lineHeight + 1 - (header ? 1 : 0);
    // A page too short for one text row still prints one, rather than never reaching the end.
    g.rowsPerPage = std::max(rows, 1);
    return g;
}

} // namespace wexly
