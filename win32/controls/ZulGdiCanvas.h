// Draws a flat button off screen into a 32-bit DIB with GDI, then copies it to the window in
// one go so the button never flickers.
#pragma once

#include "controls/ZulCanvas.h"

#include <windows.h>

#include <cstdint>

namespace wexly::win32 {

class TZulGdiCanvas final : public IZulCanvas
{
public:
    // font: borrowed, may be null (the system GUI font is used).
    TZulGdiCanvas(int width, int height, HFONT font);
    ~TZulGdiCanvas() override;
    TZulGdiCanvas(const TZulGdiCanvas&) = delete;
    TZulGdiCanvas& operator=(const TZulGdiCanvas&) = delete;

    bool Ok() const { return m_bits != nullptr; }
    void Present(HDC target, int x, int y) const;

    TZulSize TextExtent(const std::string& caption) override;
    TColorRef Resolve(TColorRef color) override;
    void FillRect(const TZulRect& r, TColorRef color) override;
    void Polyline(const std::vector<TZulPoint>& points, TColorRef color) override;
    void FrameRect(const TZulRect& r, TColorRef color) override;
    void DrawImage(const TBitmapImage& image, int x, int y) override;
    void DrawCaption(const std::string& caption, int x, int y, TColorRef color) override;
    void FocusRect(const TZulRect& r, TColorRef pen, TColorRef brush) override;

private:
    int m_width;
    int m_height;
    HDC m_dc = nullptr;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_oldBitmap = nullptr;
    HGDIOBJ m_oldFont = nullptr;
    uint32_t* m_bits = nullptr; // top-down rows, 0x00RRGGBB
};

// Measures captions in a font without drawing.
class TZulGdiMeasure final : public ITextMeasure
{
public:
    explicit TZulGdiMeasure(HFONT font);
    ~TZulGdiMeasure() override;
    TZulGdiMeasure(const TZulGdiMeasure&) = delete;
    TZulGdiMeasure& operator=(const TZulGdiMeasure&) = delete;
    TZulSize TextExtent(const std::string& caption) override;

private:
    HDC m_dc = nullptr;
    HGDIOBJ m_oldFont = nullptr;
};

// A copy of a bitmap's pixels; empty when the bitmap cannot be read.
TBitmapImage ImageFromBitmap(HBITMAP bitmap);
// A bitmap resource of this module as an image.
TBitmapImage LoadBitmapImage(int resourceId);
// Picture `index` of a strip of pictures `width` pixels wide each.
TBitmapImage StripPicture(const TBitmapImage& strip, int index, int width);

} // namespace wexly::win32
