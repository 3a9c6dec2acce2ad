#include "controls/ZulPainter.h"
#include "controls/ZulSpeedModel.h"

#include "ZulTestSupport.h"

#include <gtest/gtest.h>

namespace wexly::test {

namespace {

constexpr TColorRef kFace = 0xC0C0C0;
constexpr TColorRef kLight = 0xDFDFDF; // Lighter(kFace)
constexpr TColorRef kDark = 0x606060; // Darker(kFace)
constexpr TColorRef kDkShadow = 0x404040; // cl3DDkShadow in the test palette

TZulLook PlainLook(int depth, TZulKind kind = TZulKind::Speed)
{
    TZulLook look;
    look.kind = kind;
    look.width = 20;
    look.height = 10;
    look.color = kFace;
    look.depth = depth;
    return look;
}

TPixelCanvas Painted(const TZulLook& look)
{
    TPixelCanvas canvas(look.width, look.height);
    PaintZul(look, canvas);
    return canvas;
}

// The colours of the outermost ring: top-left corner, bottom-right corner, and the corners
// that decide which edge was drawn last.
struct TRing
{
    TColorRef top, left, bottom, right;
};
TRing RingAt(const TPixelCanvas& c, int inset)
{
    const int w = c.image.width, h = c.image.height;
    return { c.Pixel(w / 2, inset), c.Pixel(inset, h / 2), c.Pixel(w / 2, h - 1 - inset),
        c.Pixel(w - 1 - inset, h / 2) };
}

} // namespace

TEST(ZulPainter, FlatButtonShowsNoBevelUntilHovered)
{
    auto look = PlainLook(0);
    auto idle = Painted(look);
    EXPECT_EQ(RingAt(idle, 0).top, kFace);
    EXPECT_EQ(RingAt(idle, 0).bottom, kFace);
    look.hot = true;
    auto hot = Painted(look);
    const TRing ring = RingAt(hot, 0);
    EXPECT_EQ(ring.top, kLight);
    EXPECT_EQ(ring.left, kLight);
    EXPECT_EQ(ring.bottom, kDark);
    EXPECT_EQ(ring.right, kDark);
    EXPECT_EQ(RingAt(hot, 1).top, kFace); // thin: one pixel only
}

TEST(ZulPainter, ThinBevelThickensWhileHovered)
{
    auto look = PlainLook(1);
    auto idle = Painted(look);
    EXPECT_EQ(RingAt(idle, 0).top, kLight);
    EXPECT_EQ(RingAt(idle, 1).top, kFace);
    look.hot = true;
    auto hot = Painted(look);
    const TRing outer = RingAt(hot, 0), inner = RingAt(hot, 1);
    EXPECT_EQ(outer.top, kLight);
    EXPECT_EQ(outer.bottom, kDkShadow);
    EXPECT_EQ(outer.right, kDkShadow);
    EXPECT_EQ(inner.top, kFace);
    EXPECT_EQ(inner.bottom, kDark);
}

TEST(ZulPainter, EdgeCornersBelongToTheRightEdges)
{
    auto c = Painted(PlainLook(1));
    // The top edge starts at the top-right corner; the bottom edge at the bottom-left corner.
    EXPECT_EQ(c.Pixel(19, 0), kLight);
    EXPECT_EQ(c.Pixel(0, 9), kDark);
    EXPECT_EQ(c.Pixel(0, 0), kLight);
    EXPECT_EQ(c.Pixel(19, 9), kDark);
}

TEST(ZulPainter, PressedThickBevelSwapsItsRings)
{
    auto look = PlainLook(2);
    look.pressed = true;
    auto c = Painted(look);
    const TRing outer = RingAt(c, 0), inner = RingAt(c, 1);
    EXPECT_EQ(outer.top, kDark);
    EXPECT_EQ(outer.bottom, kLight);
    EXPECT_EQ(inner.top, kDkShadow);
    EXPECT_EQ(inner.bottom, kFace);
}

TEST(ZulPainter, StaticEdgeUsesTheFaceOutsideAndTheLightInside)
{
    auto look = PlainLook(3);
    look.staticEdge = true;
    auto c = Painted(look);
    EXPECT_EQ(RingAt(c, 0).top, kFace);
    EXPECT_EQ(RingAt(c, 1).top, kLight);
}

TEST(ZulPainter, PressedDepthTwoPushButtonHasASingleSunkRing)
{
    auto look = PlainLook(2, TZulKind::Button);
    look.pressed = true;
    auto c = Painted(look);
    EXPECT_EQ(RingAt(c, 0).top, kDark);
    EXPECT_EQ(RingAt(c, 0).bottom, kDark);
    EXPECT_EQ(RingAt(c, 1).top, kFace); // inner ring left out
    look.depth = 3;
    auto deeper = Painted(look);
    EXPECT_EQ(RingAt(deeper, 0).bottom, kLight);
    EXPECT_EQ(RingAt(deeper, 1).top, kDkShadow);
}

TEST(ZulPainter, DownButtonIsFilledLighter)
{
    auto look = PlainLook(0);
    look.down = true;
    look.pressed = true;
    auto c = Painted(look);
    EXPECT_EQ(c.Pixel(10, 5), kLight);
    EXPECT_EQ(RingAt(c, 0).top, kDark); // sunk thin bevel although not hovered
}

TEST(ZulPainter, FocusedPushButtonGetsFrameAndFocusRectangle)
{
    auto look = PlainLook(1, TZulKind::Button);
    look.width = 40;
    look.height = 20;
    look.focused = true;
    auto c = Painted(look);
    EXPECT_EQ(c.Pixel(20, 0), 0x010101u); // window frame
    EXPECT_EQ(c.Pixel(20, 1), kLight); // bevel moved in by one
    ASSERT_EQ(c.focusRects.size(), 1u);
    EXPECT_EQ(c.focusRects[0], (TZulRect { 4, 4, 36, 16 }));

    look.focused = false;
    look.isDefault = true;
    auto def = Painted(look);
    EXPECT_EQ(def.Pixel(20, 0), 0x010101u);
    EXPECT_TRUE(def.focusRects.empty());

    look.kind = TZulKind::Speed; // speed buttons never draw either
    auto speed = Painted(look);
    EXPECT_EQ(speed.Pixel(20, 0), kLight);
}

TEST(ZulPainter, DisabledButtonDrawsTheRecolouredRightHalf)
{
    TBitmapImage glyph(8, 4, 0x00FF00); // green is the see-through colour
    glyph.Set(1, 1, 0x0000FF); // enabled picture: a red dot
    glyph.Set(5, 1, 0xFFFFFF); // disabled picture: white and grey dots
    glyph.Set(6, 2, 0x808080);
    auto look = PlainLook(0);
    look.glyph = &glyph;
    auto on = Painted(look);
    // A 4x4 picture centred in 20x10 starts at (8, 3).
    EXPECT_EQ(on.Pixel(9, 4), 0x0000FFu);
    EXPECT_EQ(on.Pixel(8, 3), kFace); // transparent
    look.enabled = false;
    auto off = Painted(look);
    EXPECT_EQ(off.Pixel(9, 4), 0xFFFFFFu); // button highlight of the test palette
    EXPECT_EQ(off.Pixel(10, 5), 0x808080u); // button shadow
    EXPECT_NE(off.Pixel(9, 4), on.Pixel(9, 4));
}

TEST(ZulPainter, GlyphAndCaptionAreCentredAsAPairAndShiftWhenPressed)
{
    const auto layout = LayoutCaption(100, 24, { 16, 16 }, true, { 30, 13 });
    EXPECT_EQ(layout.glyphAt, (TZulPoint { 26, 4 }));
    EXPECT_EQ(layout.textAt, (TZulPoint { 44, 5 }));
    EXPECT_EQ(LayoutCaption(100, 24, {}, true, { 30, 13 }).textAt, (TZulPoint { 35, 5 }));
    EXPECT_EQ(LayoutCaption(100, 24, { 16, 16 }, false, {}).glyphAt, (TZulPoint { 42, 4 }));

    auto look = PlainLook(0);
    look.width = 100;
    look.height = 24;
    look.caption = "a&&b"; // shows as a&b, 18 pixels wide
    look.fontColor = 0x0000FF;
    auto up = Painted(look);
    ASSERT_EQ(up.captions.size(), 1u);
    EXPECT_EQ(up.captions[0].x, 41);
    EXPECT_EQ(up.captions[0].y, 5);
    EXPECT_EQ(up.captions[0].color, 0x0000FFu);
    look.pressed = true;
    auto pressed = Painted(look);
    EXPECT_EQ(pressed.captions[0].x, 42);
    EXPECT_EQ(pressed.captions[0].y, 6);
}

TEST(ZulSpeedModel, AutoSizeFitsGlyphAndCaption)
{
    TFakeHost host;
    TPixelCanvas measure(1, 1);
    TZulSpeedModel b(host);
    b.SetGlyph(TBitmapImage(16, 10));
    b.AutoSize(measure);
    EXPECT_EQ(b.Width(), 24);
    EXPECT_EQ(b.Height(), 18);
    b.SetCaption("a&&b.txt"); // 7 characters shown
    b.AutoSize(measure);
    EXPECT_EQ(b.Width(), 8 + 16 + 42 + 2);
    EXPECT_EQ(b.Height(), 8 + 13);
    b.SetGlyph(TBitmapImage());
    b.AutoSize(measure);
    EXPECT_EQ(b.Width(), 8 + 42);
    b.SetCaption("");
    b.AutoSize(measure);
    EXPECT_EQ(b.Width(), 8);
    EXPECT_EQ(b.Height(), 8);
}

TEST(ZulControlModel, LookFollowsTheState)
{
    TFakeParent parent;
    auto& b = parent.Add<TZulSpeedModel>();
    b.SetDepth(1);
    b.MouseEnter();
    EXPECT_TRUE(b.Look().hot);
    b.SetEnabled(false);
    b.MouseEnter();
    EXPECT_FALSE(b.Look().hot);
    EXPECT_FALSE(b.Look().enabled);
    TPixelCanvas canvas(25, 25);
    b.Paint(canvas);
    // The face colour shades to the system button highlight, white in the test palette.
    EXPECT_EQ(canvas.Pixel(12, 0), 0xFFFFFFu) << "idle thin bevel of a disabled depth-1 button";
}

} // namespace wexly::test
