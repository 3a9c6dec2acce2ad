#include "config/HexBlob.h"

#include <gtest/gtest.h>

namespace wexly::test {

TEST(HexBlob, EncodesLowerCasePairsInMemoryOrder)
{
    const uint8_t bytes[] = { 0x00, 0xAB, 0x7f, 0xFF };
    EXPECT_EQ(HexEncode(bytes, 4), "00ab7fff");
    EXPECT_EQ(HexEncode(bytes, 0), "");
}

TEST(HexBlob, DecodesEachPairUpToItsFirstNonDigit)
{
    uint8_t b[6];
    HexDecode("ABcdg11g 9z", b, 6);
    EXPECT_EQ(b[0], 0xAB);
    EXPECT_EQ(b[1], 0xCD);
    EXPECT_EQ(b[2], 0x00); // "g1"
    EXPECT_EQ(b[3], 0x01); // "1g"
    EXPECT_EQ(b[4], 0x00); // " 9"
    EXPECT_EQ(b[5], 0x00); // "z" then the end
}

TEST(HexBlob, ShortTextLeavesZerosAndLongTextIsIgnored)
{
    uint8_t b[3] = { 9, 9, 9 };
    HexDecode("1", b, 3); // an odd last digit is a byte of its own
    EXPECT_EQ(b[0], 0x01);
    EXPECT_EQ(b[1], 0);
    EXPECT_EQ(b[2], 0);
    HexDecode("0102030405", b, 3);
    EXPECT_EQ(b[2], 0x03);
}

TEST(HexBlob, RectanglesAreFourLittleEndianSignedIntegers)
{
    TRect r { -1, 2, 0x01020304, INT32_MIN };
    std::string blob = EncodeRect(r);
    EXPECT_EQ(blob,
        "ffffffff0200000004030201"
        "00000080");
    EXPECT_EQ(DecodeRect(blob), r);
    // Eight digits fill Left only.
    EXPECT_EQ(DecodeRect("10000000"), (TRect { 16, 0, 0, 0 }));
    // Nine digits: the odd last one is the first byte of Top.
    EXPECT_EQ(DecodeRect("100000005"), (TRect { 16, 5, 0, 0 }));
}

TEST(HexBlob, FontBlobKeepsItsPaddingBytes)
{
    TFontSet font;
    font.Name = "Courier";
    DecodeFont("0100000009000000ff000000", font);
    EXPECT_EQ(font.Style, FontStyle::Bold);
    EXPECT_EQ(font.Size, 9);
    EXPECT_EQ(font.Charset, 255);
    EXPECT_EQ(font.Name, "Courier");
    const std::string padded = "0a112233f6ffffff00445566";
    DecodeFont(padded, font);
    EXPECT_EQ(font.Style, FontStyle::Italic | FontStyle::StrikeOut);
    EXPECT_EQ(font.Size, -10);
    EXPECT_EQ(font.Charset, 0);
    EXPECT_EQ(EncodeFont(font), padded);
    EXPECT_EQ(EncodeFont(TFontSet {}), std::string(24, '0'));
}

TEST(HexBlob, ColourBlobHoldsFourteenLittleEndianColours)
{
    std::string blob = EncodeColours(DefaultColours());
    ASSERT_EQ(blob.size(), 112u);
    EXPECT_EQ(blob.substr(0, 16), "c0c0c00000008000");
    EXPECT_EQ(blob.substr(80, 16), "120000800f000080");
    EXPECT_EQ(DecodeColours(blob), DefaultColours());
    TColourTable partial = DecodeColours("ff000000");
    EXPECT_EQ(partial[0], 0xFFu);
    EXPECT_EQ(partial[13], 0u);
}

} // namespace wexly::test
