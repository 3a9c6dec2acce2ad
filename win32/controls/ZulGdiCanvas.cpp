#include "win32/controls/ZulGdiCanvas.h"

#include "win32/platform/WinStrings.h"

#include <algorithm>

namespace wexly::win32 {

namespace {

COLORREF ToColorRef(TColorRef c)
{
    return static_cast<COLORREF>(c & 0xFFFFFF);
}

uint32_t ToDibPixel(TColorRef c)
{
    return (static_cast<uint32_t>(RedOf(c)) << 16) | (static_cast<uint32_t>(GreenOf(c)) << 8)
        | BlueOf(c);
}

TColorRef FromDibPixel(uint32_t p)
{
    return Rgb(
        static_cast<uint8_t>(p >> 16), static_cast<uint8_t>(p >> 8), static_cast<uint8_t>(p));
}

HFONT FontOrDefault(HFONT font)
{
    return font ? font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

TZulSize MeasureIn(HDC dc, const std::string& caption)
{
    std::wstring text = Utf8ToWide(caption);
    RECT r { 0, 0, 0, 0 };
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_SINGLELINE | DT_CALCRECT);
    return { r.right - r.left, r.bottom - r.top };
}

} // namespace

TZulGdiCanvas::TZulGdiCanvas(int width, int height, HFONT font)
    : m_width(std::max(width, 1))
    , m_height(std::max(height, 1))
{
    HDC screen = GetDC(nullptr);
    m_dc = CreateCompatibleDC(screen);
    ReleaseDC(nullptr, screen);
    BITMAPINFO info {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = m_width;
    info.bmiHeader.biHeight = -m_height; // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    m_bitmap = CreateDIBSection(m_dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!m_dc || !m_bitmap)
        return;
    m_bits = static_cast<uint32_t*>(bits);
    m_oldBitmap = SelectObject(m_dc, m_bitmap);
    m_oldFont = SelectObject(m_dc, FontOrDefault(font));
}

TZulGdiCanvas::~TZulGdiCanvas()
{
    if (m_dc) {
        if (m_oldFont)
            SelectObject(m_dc, m_oldFont);
        if (m_oldBitmap)
            SelectObject(m_dc, m_oldBitmap);
        DeleteDC(m_dc);
    }
    if (m_bitmap)
        DeleteObject(m_bitmap);
}

void TZulGdiCanvas::Present(HDC target, int x, int y) const
{
    if (Ok())
        BitBlt(target, x, y, m_width, m_height, m_dc, 0, 0, SRCCOPY);
}

TZulSize TZulGdiCanvas::TextExtent(const std::string& caption)
{
    return MeasureIn(m_dc, caption);
}

TColorRef TZulGdiCanvas::Resolve(TColorRef color)
{
    if (IsSystemColor(color))
        return static_cast<TColorRef>(GetSysColor(SystemColorIndex(color))) & 0xFFFFFF;
    return color & 0xFFFFFF;
}

void TZulGdiCanvas::FillRect(const TZulRect& r, TColorRef color)
{
    RECT rc { r.left, r.top, r.right, r.bottom };
    SetDCBrushColor(m_dc, ToColorRef(Resolve(color)));
    ::FillRect(m_dc, &rc, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

void TZulGdiCanvas::Polyline(const std::vector<TZulPoint>& points, TColorRef color)
{
    if (points.empty())
        return;
    HGDIOBJ oldPen = SelectObject(m_dc, GetStockObject(DC_PEN));
    SetDCPenColor(m_dc, ToColorRef(Resolve(color)));
    MoveToEx(m_dc, points[0].x, points[0].y, nullptr);
    for (size_t i = 1; i < points.size(); ++i)
        LineTo(m_dc, points[i].x, points[i].y);
    SelectObject(m_dc, oldPen);
}

void TZulGdiCanvas::FrameRect(const TZulRect& r, TColorRef color)
{
    RECT rc { r.left, r.top, r.right, r.bottom };
    SetDCBrushColor(m_dc, ToColorRef(Resolve(color)));
    ::FrameRect(m_dc, &rc, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

// Straight into the DIB: GDI's own transparent copy lives in a library the program does not
// otherwise need.
void TZulGdiCanvas::DrawImage(const TBitmapImage& image, int x, int y)
{
    if (!Ok() || image.Empty())
        return;
    GdiFlush();
    const TColorRef clear = image.TransparentColor();
    const int x0 = std::max(0, -x), y0 = std::max(0, -y);
    const int x1 = std::min(image.width, m_width - x), y1 = std::min(image.height, m_height - y);
    for (int j = y0; j < y1; ++j) {
        uint32_t* row = m_bits + static_cast<size_t>(y + j) * static_cast<size_t>(m_width);
        for (int i = x0; i < x1; ++i) {
            const TColorRef c = image.At(i, j);
            if (c != clear)
                row[x + i] = ToDibPixel(c);
        }
    }
}

void TZulGdiCanvas::DrawCaption(const std::string& caption, int x, int y, TColorRef color)
{
    std::wstring text = Utf8ToWide(caption);
    RECT r { x, y, x, y };
    SetBkMode(m_dc, TRANSPARENT);
    SetTextColor(m_dc, ToColorRef(Resolve(color)));
    DrawTextW(m_dc, text.c_str(), static_cast<int>(text.size()), &r, DT_SINGLELINE | DT_NOCLIP);
}

void TZulGdiCanvas::FocusRect(const TZulRect& r, TColorRef pen, TColorRef brush)
{
    RECT rc { r.left, r.top, r.right, r.bottom };
    SetTextColor(m_dc, ToColorRef(Resolve(pen)));
    SetBkColor(m_dc, ToColorRef(Resolve(brush)));
    DrawFocusRect(m_dc, &rc);
}

TZulGdiMeasure::TZulGdiMeasure(HFONT font)
{
    m_dc = CreateCompatibleDC(nullptr);
    if (m_dc)
        m_oldFont = SelectObject(m_dc, FontOrDefault(font));
}

TZulGdiMeasure::~TZulGdiMeasure()
{
    if (m_dc) {
        SelectObject(m_dc, m_oldFont);
        DeleteDC(m_dc);
    }
}

TZulSize TZulGdiMeasure::TextExtent(const std::string& caption)
{
    return m_dc ? MeasureIn(m_dc, caption) : TZulSize {};
}

TBitmapImage ImageFromBitmap(HBITMAP bitmap)
{
    BITMAP bm {};
    if (!bitmap || !GetObjectW(bitmap, sizeof(bm), &bm) || bm.bmWidth <= 0 || bm.bmHeight <= 0)
        return {};
    BITMAPINFO info {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = bm.bmWidth;
    info.bmiHeader.biHeight = -bm.bmHeight;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    std::vector<uint32_t> pixels(
        static_cast<size_t>(bm.bmWidth) * static_cast<size_t>(bm.bmHeight));
    HDC dc = GetDC(nullptr);
    const int lines = GetDIBits(
        dc, bitmap, 0, static_cast<UINT>(bm.bmHeight), pixels.data(), &info, DIB_RGB_COLORS);
    ReleaseDC(nullptr, dc);
    if (lines != bm.bmHeight)
        return {};
    TBitmapImage image(bm.bmWidth, bm.bmHeight);
    for (size_t i = 0; i < pixels.size(); ++i)
        image.pixels[i] = FromDibPixel(pixels[i]);
    return image;
}

TBitmapImage LoadBitmapImage(int resourceId)
{
    auto bitmap = static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr),
        MAKEINTRESOURCEW(resourceId), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    TBitmapImage image = ImageFromBitmap(bitmap);
    if (bitmap)
        DeleteObject(bitmap);
    return image;
}

TBitmapImage StripPicture(const TBitmapImage& strip, int index, int width)
{
    if (index < 0 || width <= 0 || (index + 1) * width > strip.width)
        return {};
    return strip.Columns(index * width, width);
}

} // namespace wexly::win32
