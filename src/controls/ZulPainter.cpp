#include "controls/ZulPainter.h"

namespace wexly {

TZulCaptionLayout LayoutCaption(
    int width, int height, TZulSize glyphSize, bool hasText, TZulSize textSize)
{
    TZulCaptionLayout layout;
    layout.hasGlyph = glyphSize.width > 0 && glyphSize.height > 0;
    layout.hasText = hasText;
    if (layout.hasGlyph && hasText) {
        const int x = (width - (glyphSize.width + 2 + textSize.width)) / 2;
        layout.glyphAt = { x, (height - glyphSize.height) / 2 };
        layout.textAt = { x + glyphSize.width + 2, (height - textSize.height) / 2 };
    } else if (layout.hasGlyph) {
        layout.glyphAt = { (width - glyphSize.width) / 2, (height - glyphSize.height) / 2 };
    } else if (hasText) {
        layout.textAt = { (width - textSize.width) / 2, (height - textSize.height) / 2 };
    }
    return layout;
}

// Edges run from the top-right corner along the top, down the left side, then along the bottom
// and up the right side, one pixel inside the right and bottom bounds.
void DrawBevelRing(IZulCanvas& canvas, const TZulRect& r, TColorRef topLeft, TColorRef bottomRight)
{
    const int x1 = r.left, y1 = r.top, x2 = r.right - 1, y2 = r.bottom - 1;
    canvas.Polyline({ { x2, y1 }, { x1, y1 }, { x1, y2 } }, topLeft);
    canvas.Polyline({ { x1, y2 }, { x2, y2 }, { x2, y1 } }, bottomRight);
}

namespace {

void PaintContent(const TZulLook& look, IZulCanvas& canvas)
{
    TBitmapImage picture;
    if (look.glyph) {
        picture = GlyphPicture(
            *look.glyph, look.enabled, canvas.Resolve(clBtnHighlight), canvas.Resolve(clBtnShadow));
    }
    const bool hasText = !look.caption.empty();
    const TZulSize textSize = hasText ? canvas.TextExtent(look.caption) : TZulSize {};
    const TZulCaptionLayout layout = LayoutCaption(
        look.width, look.height, { picture.width, picture.height }, hasText, textSize);
    const int shift = look.pressed ? 1 : 0;
    if (layout.hasGlyph)
        canvas.DrawImage(picture, layout.glyphAt.x + shift, layout.glyphAt.y + shift);
    if (layout.hasText) {
        canvas.DrawCaption(
            look.caption, layout.textAt.x + shift, layout.textAt.y + shift, look.fontColor);
    }
}

void PaintThickBevel(const TZulLook& look, IZulCanvas& canvas, TZulRect& r)
{
    const auto resolve = [&canvas](TColorRef c) { return canvas.Resolve(c); };
    const TColorRef lighter = Lighter(look.color, resolve);
    const TColorRef darker = Darker(look.color, resolve);
    const bool pressed = look.pressed;
    const TColorRef outerTopLeft = pressed ? darker : look.staticEdge ? look.color : lighter;
    const bool sunkButton = pressed && look.kind == TZulKind::Button && look.depth == 2;
    const TColorRef outerBottomRight = !pressed ? cl3DDkShadow : sunkButton ? darker : lighter;
    DrawBevelRing(canvas, r, outerTopLeft, outerBottomRight);
    if (!sunkButton) {
        const TColorRef innerTopLeft = pressed ? cl3DDkShadow
            : look.staticEdge                  ? lighter
                                               : look.color;
        const TColorRef innerBottomRight = pressed ? look.color : darker;
        DrawBevelRing(canvas, r.Inflated(-1), innerTopLeft, innerBottomRight);
    }
    r = r.Inflated(-2);
}

void PaintBevel(const TZulLook& look, IZulCanvas& canvas, TZulRect& r)
{
    if (look.depth <= 0 && !look.hot && !look.down)
        return;
    const bool thin = look.depth < 1 || (look.depth == 1 && !look.hot);
    if (!thin) {
        PaintThickBevel(look, canvas, r);
        return;
    }
    const auto resolve = [&canvas](TColorRef c) { return canvas.Resolve(c); };
    const TColorRef lighter = Lighter(look.color, resolve);
    const TColorRef darker = Darker(look.color, resolve);
    if (look.pressed)
        DrawBevelRing(canvas, r, darker, lighter);
    else
        DrawBevelRing(canvas, r, lighter, darker);
    r = r.Inflated(-1);
}

} // namespace

void PaintZul(const TZulLook& look, IZulCanvas& canvas)
{
    const auto resolve = [&canvas](TColorRef c) { return canvas.Resolve(c); };
    TZulRect r { 0, 0, look.width, look.height };
    canvas.FillRect(r, look.down ? Lighter(look.color, resolve) : look.color);
    PaintContent(look, canvas);
    const bool isButton = look.kind == TZulKind::Button;
    if (isButton && (look.focused || look.isDefault)) {
        canvas.FrameRect(r, clWindowFrame);
        r = r.Inflated(-1);
    }
    PaintBevel(look, canvas, r);
    if (isButton && look.focused)
        canvas.FocusRect(
            TZulRect { 0, 0, look.width, look.height }.Inflated(-4), look.fontColor, look.color);
}

} // namespace wexly
