#include "controls/ZulColors.h"
#include "controls/ZulGlyph.h"

#include "ZulTestSupport.h"

#include <gtest/gtest.h>

namespace wexly::test {

TEST(ZulColors, FaceColourMapsToItsSystemShades)
{
    EXPECT_EQ(Lighter(clBtnFace, TestSystemColor), clBtnHighlight);
    EXPECT_EQ(Darker(clBtnFace, TestSystemColor), clBtnShadow);
}

TEST(ZulColors, RgbChannelsMoveHalfwayToWhiteOrBlack)
{
    EXPECT_EQ(Lighter(0xC0C0C0, TestSystemColor), 0xDFDFDFu);
    EXPECT_EQ(Darker(0xC0C0C0, TestSystemColor), 0x606060u);
    EXPECT_EQ(Lighter(0x000000, TestSystemColor), 0x7F7F7Fu);
    EXPECT_EQ(Lighter(0xFFFFFF, TestSystemColor), 0xFFFFFFu);
    EXPECT_EQ(Darker(Rgb(0x11, 0x80, 0xFF), TestSystemColor), Rgb(0x08, 0x40, 0x7F));
}

TEST(ZulColors, OtherSystemColoursAreShadedFromTheirRealValue)
{
    // clBtnText is black here; shading its raw index would give a pinkish grey.
    EXPECT_EQ(Lighter(clBtnText, TestSystemColor), 0x7F7F7Fu);
    EXPECT_EQ(Darker(cl3DDkShadow, TestSystemColor), 0x202020u);
}

TEST(ZulGlyph, EnabledPictureIsTheLeftHalfUnchanged)
{
    TBitmapImage glyph(8, 2, 0xFFFFFF);
    glyph.Set(0, 0, 0x808080);
    glyph.Set(3, 1, 0x0000FF);
    glyph.Set(4, 0, 0x00FF00);
    const TBitmapImage picture = GlyphPicture(glyph, true, 0xAAAAAA, 0x555555);
    ASSERT_EQ(picture.width, 4);
    ASSERT_EQ(picture.height, 2);
    EXPECT_EQ(picture.At(0, 0), 0x808080u); // no recolouring when enabled
    EXPECT_EQ(picture.At(1, 0), 0xFFFFFFu);
    EXPECT_EQ(picture.At(3, 1), 0x0000FFu);
    EXPECT_TRUE(picture.CheckInvariants());
}

TEST(ZulGlyph, DisabledPictureIsTheRightHalfInTheSystemShades)
{
    TBitmapImage glyph(6, 1, 0x00FF00);
    glyph.Set(3, 0, 0xFFFFFF);
    glyph.Set(4, 0, 0x808080);
    glyph.Set(5, 0, 0x7F7F7F);
    const TBitmapImage picture = GlyphPicture(glyph, false, 0xEEEEEE, 0x333333);
    ASSERT_EQ(picture.width, 3);
    EXPECT_EQ(picture.At(0, 0), 0xEEEEEEu);
    EXPECT_EQ(picture.At(1, 0), 0x333333u);
    EXPECT_EQ(picture.At(2, 0), 0x7F7F7Fu); // near-grey is not the shadow grey
}

TEST(ZulGlyph, OddWidthDropsTheLastColumnAndTinyGlyphsGiveNothing)
{
    TBitmapImage glyph(5, 1, 0);
    glyph.Set(4, 0, 0x111111);
    EXPECT_EQ(GlyphPicture(glyph, false, 0, 0).width, 2);
    EXPECT_TRUE(GlyphPicture(TBitmapImage(1, 4), true, 0, 0).Empty());
    EXPECT_TRUE(GlyphPicture(TBitmapImage(), false, 0, 0).Empty());
}

TEST(ZulGlyph, TransparentColourIsTheBottomLeftPixel)
{
    TBitmapImage image(3, 3, 0x000001);
    image.Set(0, 2, 0xF0CAA6);
    EXPECT_EQ(image.TransparentColor(), 0xF0CAA6u);
    EXPECT_EQ(TBitmapImage(2, 2, 7).Columns(1, 10).width, 1);
}

TEST(ZulCaption, AmpersandsFollowAcceleratorRules)
{
    EXPECT_EQ(DisplayedCaption("a&&b.txt"), "a&b.txt");
    EXPECT_EQ(DisplayedCaption("&Save"), "Save");
    EXPECT_EQ(DisplayedCaption("x&"), "x");
    EXPECT_EQ(DisplayedCaption("&&&&"), "&&");
}

} // namespace wexly::test
