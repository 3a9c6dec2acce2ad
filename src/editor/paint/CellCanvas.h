// The surface the editor and viewer windows paint on: pixel rectangles, runs of fixed-width
// character cells and bookmark glyphs. The GDI implementation knows fonts and pixels; tests
// record the calls.
#pragma once

#include "controls/ZulColors.h"

#include <string>
#include <string_view>

namespace wexly {

struct TPixelRect
{
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    bool Empty() const { return right <= left || bottom <= top; }
    bool operator==(const TPixelRect&) const = default;
};

class ICellCanvas
{
public:
    virtual ~ICellCanvas() = default;
    virtual void FillRect(const TPixelRect& r, TColorRef color) = 0;
    // Draws text one character per cell from (x, y), cells filled with bg.
    virtual void DrawCells(int x, int y, std::string_view text, TColorRef fg, TColorRef bg) = 0;
    // Bookmark glyph n (0..9) with its top-left corner at (x, y).
    virtual void DrawBookmark(int n, int x, int y) = 0;
    virtual void VertLine(int x, int top, int bottom, TColorRef color) = 0;
};

} // namespace wexly
