// What a flat button needs from a drawing surface. The Win32 side draws with GDI; tests use an
// in-memory pixel canvas. Colours may be system colours: the canvas resolves them.
#pragma once

#include "controls/ZulColors.h"
#include "controls/ZulGlyph.h"

#include <string>
#include <vector>

namespace wexly {

struct TZulPoint
{
    int x = 0;
    int y = 0;
    friend bool operator==(const TZulPoint&, const TZulPoint&) = default;
};

struct TZulSize
{
    int width = 0;
    int height = 0;
    friend bool operator==(const TZulSize&, const TZulSize&) = default;
};

// Right and bottom are exclusive.
struct TZulRect
{
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    TZulRect Inflated(int d) const { return { left - d, top - d, right + d, bottom + d }; }
    friend bool operator==(const TZulRect&, const TZulRect&) = default;
};

// Measures captions in the button's font. Captions are shown with "&" marking an accelerator
// and "&&" standing for one ampersand.
class ITextMeasure
{
public:
    virtual ~ITextMeasure() = default;
    virtual TZulSize TextExtent(const std::string& caption) = 0;
};

class IZulCanvas : public ITextMeasure
{
public:
    virtual TColorRef Resolve(TColorRef color) = 0;
    virtual void FillRect(const TZulRect& r, TColorRef color) = 0;
    // A one-pixel line through the points; like the platform's line drawing, the last point
    // itself is not drawn.
    virtual void Polyline(const std::vector<TZulPoint>& points, TColorRef color) = 0;
    // One-pixel outline just inside r.
    virtual void FrameRect(const TZulRect& r, TColorRef color) = 0;
    // Pixels equal to image.TransparentColor() are left alone.
    virtual void DrawImage(const TBitmapImage& image, int x, int y) = 0;
    // The caption's top-left at (x, y), no background.
    virtual void DrawCaption(const std::string& caption, int x, int y, TColorRef color) = 0;
    // The dotted keyboard-focus outline.
    virtual void FocusRect(const TZulRect& r, TColorRef pen, TColorRef brush) = 0;
};

// The caption as displayed: "&&" becomes "&", a lone "&" disappears.
std::string DisplayedCaption(const std::string& caption);

} // namespace wexly
