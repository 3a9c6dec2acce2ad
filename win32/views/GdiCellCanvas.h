// The cell-grid canvas on a window's device context: fixed-pitch text in exact cells, fills,
// margin lines and the bookmark glyphs. Also the fixed font and the glyph strip it draws with.
#pragma once

#include "editor/paint/CellCanvas.h"

#include <windows.h>

#include <string>
#include <vector>

namespace wexly::win32 {

// A fixed-pitch font and its cell size. Asks for the face by name with fixed pitch, and falls
// back to "Courier New" when the system gave a proportional face.
class TFixedFont
{
public:
    TFixedFont() = default;
    ~TFixedFont();
    TFixedFont(const TFixedFont&) = delete;
    TFixedFont& operator=(const TFixedFont&) = delete;

    bool Create(const std::wstring& face, int pointSize, bool bold, bool italic);
    HFONT Handle() const { return m_font; }
    int CellWidth() const { return m_cellWidth; }
    int CellHeight() const { return m_cellHeight; }
    const std::wstring& Face() const { return m_face; }

private:
    bool TryCreate(const std::wstring& face, int height, bool bold, bool italic, bool anyFace);
    HFONT m_font = nullptr;
    int m_cellWidth = 8;
    int m_cellHeight = 16;
    std::wstring m_face;
};

// The ten bookmark glyphs side by side, their see-through pixels replaced by a margin colour.
class TBookmarkGlyphs
{
public:
    TBookmarkGlyphs() = default;
    ~TBookmarkGlyphs();
    TBookmarkGlyphs(const TBookmarkGlyphs&) = delete;
    TBookmarkGlyphs& operator=(const TBookmarkGlyphs&) = delete;

    // Loads the strip resource once and composes it on the margin colour (an RGB value).
    void Prepare(COLORREF margin);
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    void Draw(HDC dc, int n, int x, int y) const;

private:
    HBITMAP m_bitmap = nullptr;
    COLORREF m_margin = CLR_INVALID;
    int m_width = 0;
    int m_height = 0;
};

class TGdiCellCanvas final : public ICellCanvas
{
public:
    TGdiCellCanvas(HDC dc, const TFixedFont& font, const TBookmarkGlyphs& glyphs);
    ~TGdiCellCanvas() override;
    TGdiCellCanvas(const TGdiCellCanvas&) = delete;
    TGdiCellCanvas& operator=(const TGdiCellCanvas&) = delete;

    void FillRect(const TPixelRect& r, TColorRef color) override;
    void DrawCells(int x, int y, std::string_view text, TColorRef fg, TColorRef bg) override;
    void DrawBookmark(int n, int x, int y) override;
    void VertLine(int x, int top, int bottom, TColorRef color) override;

private:
    HDC m_dc;
    const TFixedFont& m_font;
    const TBookmarkGlyphs& m_glyphs;
    HGDIOBJ m_oldFont;
    std::vector<INT> m_dx; // cell advances, grown as needed
};

// An RGB value for a colour that may name a system colour.
COLORREF ResolveColor(TColorRef color);

} // namespace wexly::win32
