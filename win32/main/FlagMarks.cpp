#include "win32/main/FlagMarks.h"

#include "win32/controls/ZulGdiCanvas.h"
#include "win32/res/art/ArtIds.h"

#include <algorithm>

namespace wexly::win32 {

TFlagMarks::TFlagMarks()
    : m_flags4(LoadBitmapImage(IDB_FLAGS4))
    , m_flags6(LoadBitmapImage(IDB_FLAGS6))
{
}

void TFlagMarks::Draw(HDC dc, int mark, bool alternate, int left, int top) const
{
    const TBitmapImage picture
        = StripPicture(alternate ? m_flags6 : m_flags4, mark, ART_FLAG_WIDTH);
    if (picture.Empty())
        return;
    const TColorRef see = picture.TransparentColor();
    const int height = std::min(picture.height, Height(alternate));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < kWidth && x < picture.width; ++x)
            if (const TColorRef c = picture.At(x, y); c != see)
                SetPixelV(dc, left + x, top + y, static_cast<COLORREF>(c));
}

} // namespace wexly::win32
