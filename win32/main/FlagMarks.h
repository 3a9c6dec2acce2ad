// The small state marks before a path in the window list and the reopen list: the left four
// pixel columns of a picture of the file-button flag strips, drawn see-through.
#pragma once

#include "controls/ZulGlyph.h"

#include <windows.h>

namespace wexly::win32 {

class TFlagMarks
{
public:
    static constexpr int kWidth = 4;

    TFlagMarks();
    // Mark `mark` (0 text, 1 modified, 2 read-only, 3 binary, 4 read-only binary) with its
    // top-left at (left, top); 6 pixels high with the alternate pictures, else 4.
    void Draw(HDC dc, int mark, bool alternate, int left, int top) const;
    static int Height(bool alternate) { return alternate ? 6 : 4; }

private:
    TBitmapImage m_flags4;
    TBitmapImage m_flags6;
};

} // namespace wexly::win32
