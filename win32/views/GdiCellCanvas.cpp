#include "win32/views/GdiCellCanvas.h"

#include "win32/controls/ZulGdiCanvas.h"
#include "win32/res/art/ArtIds.h"

#include <algorithm>

namespace wexly::win32 {

COLORREF ResolveColor(TColorRef color)
{
    if (IsSystemColor(color))
        return GetSysColor(SystemColorIndex(color));
    return static_cast<COLORREF>(color & 0xFFFFFF);
}

// ---- TFixedFont -----------------------------------------------------------------------

TFixedFont::~TFixedFont()
{
    if (m_font)
        DeleteObject(m_font);
}

bool TFixedFont::Create(const std::wstring& face, int pointSize, bool bold, bool italic)
{
    HDC screen = GetDC(nullptr);
    int height = -MulDiv(std::max(pointSize, 1), GetDeviceCaps(screen, LOGPIXELSY), 72);
    ReleaseDC(nullptr, screen);
    // Some faces (a bitmap face the system lacks, say) come back proportional: fall back.
    return TryCreate(face, height, bold, italic, false)
        || TryCreate(L"Courier New", height, bold, italic, false)
        || TryCreate(L"", height, bold, italic, true);
}

bool TFixedFont::TryCreate(
    const std::wstring& face, int height, bool bold, bool italic, bool anyFace)
{
    LOGFONTW lf {};
    lf.lfHeight = height;
    lf.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = italic ? TRUE : FALSE;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfPitchAndFamily = FIXED_PITCH | FF_MODERN;
    lstrcpynW(lf.lfFaceName, face.c_str(), LF_FACESIZE);
    HFONT font = CreateFontIndirectW(&lf);
    if (!font)
        return false;
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    TEXTMETRICW tm {};
    GetTextMetricsW(dc, &tm);
    SIZE narrow {}, wide {};
    GetTextExtentPoint32W(dc, L"i", 1, &narrow);
    GetTextExtentPoint32W(dc, L"W", 1, &wide);
    wchar_t actual[LF_FACESIZE] {};
    GetTextFaceW(dc, LF_FACESIZE, actual);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    // TMPF_FIXED_PITCH set means variable pitch (the name is historical).
    bool fixed = !(tm.tmPitchAndFamily & TMPF_FIXED_PITCH) || narrow.cx == wide.cx;
    if (!fixed && !anyFace) {
        DeleteObject(font);
        return false;
    }
    if (m_font)
        DeleteObject(m_font);
    m_font = font;
    m_cellWidth = std::max<int>(1, wide.cx);
    m_cellHeight = std::max<int>(1, tm.tmHeight);
    m_face = actual;
    return true;
}

// ---- TBookmarkGlyphs ------------------------------------------------------------------

TBookmarkGlyphs::~TBookmarkGlyphs()
{
    if (m_bitmap)
        DeleteObject(m_bitmap);
}

void TBookmarkGlyphs::Prepare(COLORREF margin)
{
    if (m_bitmap && margin == m_margin)
        return;
    TBitmapImage strip = LoadBitmapImage(IDB_BOOKMARKS);
    if (strip.Empty())
        return;
    const TColorRef clear = strip.TransparentColor();
    for (auto& px : strip.pixels)
        if (px == clear)
            px = margin;
    BITMAPINFO info {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = strip.width;
    info.bmiHeader.biHeight = -strip.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap)
        return;
    auto* out = static_cast<uint32_t*>(bits);
    for (size_t i = 0; i < strip.pixels.size(); ++i) {
        TColorRef c = strip.pixels[i]; // 0x00BBGGRR to the DIB's 0x00RRGGBB
        out[i] = (c & 0xFF00) | ((c & 0xFF) << 16) | ((c >> 16) & 0xFF);
    }
    if (m_bitmap)
        DeleteObject(m_bitmap);
    m_bitmap = bitmap;
    m_margin = margin;
    m_width = strip.width / 10;
    m_height = strip.height;
}

void TBookmarkGlyphs::Draw(HDC dc, int n, int x, int y) const
{
    if (!m_bitmap || n < 0 || n > 9)
        return;
    HDC mem = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(mem, m_bitmap);
    BitBlt(dc, x, y, m_width, m_height, mem, n * m_width, 0, SRCCOPY);
    SelectObject(mem, old);
    DeleteDC(mem);
}

// ---- TGdiCellCanvas -------------------------------------------------------------------

TGdiCellCanvas::TGdiCellCanvas(HDC dc, const TFixedFont& font, const TBookmarkGlyphs& glyphs)
    : m_dc(dc)
    , m_font(font)
    , m_glyphs(glyphs)
    , m_oldFont(SelectObject(dc, font.Handle()))
{
    SetBkMode(m_dc, OPAQUE);
    SetTextAlign(m_dc, TA_LEFT | TA_TOP | TA_NOUPDATECP);
}

TGdiCellCanvas::~TGdiCellCanvas()
{
    SelectObject(m_dc, m_oldFont);
}

void TGdiCellCanvas::FillRect(const TPixelRect& r, TColorRef color)
{
    if (r.Empty())
        return;
    RECT rc { r.left, r.top, r.right, r.bottom };
    SetBkColor(m_dc, ResolveColor(color));
    ExtTextOutW(m_dc, 0, 0, ETO_OPAQUE, &rc, nullptr, 0, nullptr);
}

void TGdiCellCanvas::DrawCells(int x, int y, std::string_view text, TColorRef fg, TColorRef bg)
{
    if (text.empty())
        return;
    const int count = static_cast<int>(text.size());
    // Explicit advances keep every character in its cell whatever the font's own widths.
    if (m_dx.size() < text.size())
        m_dx.assign(text.size(), m_font.CellWidth());
    RECT rc { x, y, x + count * m_font.CellWidth(), y + m_font.CellHeight() };
    SetTextColor(m_dc, ResolveColor(fg));
    SetBkColor(m_dc, ResolveColor(bg));
    ExtTextOutA(m_dc, x, y, ETO_OPAQUE | ETO_CLIPPED, &rc, text.data(), static_cast<UINT>(count),
        m_dx.data());
}

void TGdiCellCanvas::DrawBookmark(int n, int x, int y)
{
    m_glyphs.Draw(m_dc, n, x, y);
}

void TGdiCellCanvas::VertLine(int x, int top, int bottom, TColorRef color)
{
    FillRect({ x, top, x + 1, bottom }, color);
}

} // namespace wexly::win32
