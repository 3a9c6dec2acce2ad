// Where text goes on a printed page: margins, line height, characters per row and rows per page,
// from the printer's page size and resolution and the print font.
#pragma once

namespace wexly {

struct TPrinterMetrics
{
    int pageWidth = 0; // printable area in printer pixels
    int pageHeight = 0;
    int dpiY = 0; // vertical dots per inch
};

struct TPageGeometry
{
    int margin = 0; // on all four sides
    int left = 0, top = 0, right = 0, bottom = 0;
    int lineHeight = 1;
    int charsPerLine = 1; // >= 1, so that wrapping always moves on
    int rowsPerPage = 1; // text rows, the header's excluded; >= 1 so that every page moves on
};

// The print font's height in printer pixels: the editor font's point size at the printer's
// resolution, so that it keeps its size on paper.
int PrintFontHeight(int pointSize, int dpiY);

// widthOfW: the width of "W" in the print font.
TPageGeometry ComputePageGeometry(
    const TPrinterMetrics& printer, int lineHeight, int widthOfW, bool header);

} // namespace wexly
