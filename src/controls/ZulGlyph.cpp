#include "controls/ZulGlyph.h"

#include <algorithm>

namespace wexly {

TBitmapImage::TBitmapImage(int w, int h, TColorRef fill)
    : width(std::max(w, 0))
    , height(std::max(h, 0))
    , pixels(static_cast<size_t>(width) * static_cast<size_t>(height), fill)
{
}

TBitmapImage TBitmapImage::Columns(int x, int w) const
{
    x = std::clamp(x, 0, width);
    w = std::clamp(w, 0, width - x);
    TBitmapImage part(w, height);
    for (int y = 0; y < height; ++y)
        for (int i = 0; i < w; ++i)
            part.Set(i, y, At(x + i, y));
    return part;
}

TColorRef TBitmapImage::TransparentColor() const
{
    return Empty() ? 0 : At(0, height - 1);
}

bool TBitmapImage::CheckInvariants() const
{
    return width >= 0 && height >= 0
        && pixels.size() == static_cast<size_t>(width) * static_cast<size_t>(height);
}

TBitmapImage GlyphPicture(
    const TBitmapImage& glyph, bool enabled, TColorRef highlight, TColorRef shadow)
{
    const int half = GlyphHalfWidth(glyph);
    if (enabled)
        return glyph.Columns(0, half);
    TBitmapImage picture = glyph.Columns(half, half);
    constexpr TColorRef white = 0xFFFFFF;
    constexpr TColorRef grey = 0x808080;
    for (auto& p : picture.pixels) {
        if ((p & 0xFFFFFF) == white)
            p = highlight & 0xFFFFFF;
        else if ((p & 0xFFFFFF) == grey)
            p = shadow & 0xFFFFFF;
    }
    return picture;
}

} // namespace wexly
