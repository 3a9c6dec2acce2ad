// The two-image glyph of a flat button: enabled picture on the left half, disabled picture on
// the right half, and how the disabled half is recoloured to follow the system's 3D colours.
#pragma once

#include "controls/ZulColors.h"

#include <vector>

namespace wexly {

// A top-down RGB image; pixels are 0x00BBGGRR.
struct TBitmapImage
{
    int width = 0;
    int height = 0;
    std::vector<TColorRef> pixels; // width * height, row after row

    TBitmapImage() = default;
    TBitmapImage(int w, int h, TColorRef fill = 0);

    bool Empty() const { return width <= 0 || height <= 0; }
    TColorRef At(int x, int y) const { return pixels[Index(x, y)]; }
    void Set(int x, int y, TColorRef c) { pixels[Index(x, y)] = c; }
    // The region [x, x + w) of every row; w is clipped to the image.
    TBitmapImage Columns(int x, int w) const;
    // Pixels of this colour are not drawn: the one in the bottom-left corner.
    TColorRef TransparentColor() const;
    bool CheckInvariants() const;

private:
    size_t Index(int x, int y) const { return static_cast<size_t>(y * width + x); }
};

// Width of one of the glyph's two pictures.
inline int GlyphHalfWidth(const TBitmapImage& glyph)
{
    return glyph.width / 2;
}

// The picture to draw: the left half when enabled; otherwise the right half with white shown
// as `highlight` and 0x808080 as `shadow` (both RGB), other pixels as they are.
TBitmapImage GlyphPicture(
    const TBitmapImage& glyph, bool enabled, TColorRef highlight, TColorRef shadow);

} // namespace wexly
