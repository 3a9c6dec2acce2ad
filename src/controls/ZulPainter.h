// Draws a flat button from its look: fill, glyph, caption, frames and bevel.
#pragma once

#include "controls/ZulCanvas.h"
#include "controls/ZulControlModel.h"

namespace wexly {

struct TZulCaptionLayout
{
    bool hasGlyph = false;
    TZulPoint glyphAt;
    bool hasText = false;
    TZulPoint textAt;
};

// Where glyph and caption go in a width x height control, before the pressed offset.
TZulCaptionLayout LayoutCaption(
    int width, int height, TZulSize glyphSize, bool hasText, TZulSize textSize);

void PaintZul(const TZulLook& look, IZulCanvas& canvas);

// One bevel ring: top and left edges in `topLeft`, bottom and right in `bottomRight`.
void DrawBevelRing(IZulCanvas& canvas, const TZulRect& r, TColorRef topLeft, TColorRef bottomRight);

} // namespace wexly
