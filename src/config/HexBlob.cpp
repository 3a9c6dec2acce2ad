#include "config/HexBlob.h"

namespace wexly {
namespace {

int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

void PutLe32(uint8_t* at, int32_t value)
{
    auto v = static_cast<uint32_t>(value);
    for (int i = 0; i < 4; ++i)
        at[i] = static_cast<uint8_t>(v >> (8 * i));
}

int32_t GetLe32(const uint8_t* at)
{
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i)
        v |= static_cast<uint32_t>(at[i]) << (8 * i);
    return static_cast<int32_t>(v);
}

} // namespace

std::string HexEncode(const uint8_t* bytes, size_t count)
{
    static constexpr char digits[] = "0123456789abcdef";
    std::string out;
    out.reserve(count * 2);
    for (size_t i = 0; i < count; ++i) {
        out += digits[bytes[i] >> 4];
        out += digits[bytes[i] & 15];
    }
    return out;
}

void HexDecode(std::string_view text, uint8_t* bytes, size_t count)
{
    for (size_t i = 0; i < count; ++i) {
        unsigned value = 0;
        for (size_t k = 2 * i; k < 2 * i + 2 && k < text.size(); ++k) {
            int d = HexValue(text[k]);
            if (d < 0)
                break;
            value = value * 16 + static_cast<unsigned>(d);
        }
        bytes[i] = static_cast<uint8_t>(value);
    }
}

std::string EncodeRect(const TRect& rect)
{
    uint8_t b[kRectBlobSize];
    PutLe32(b, rect.Left);
    PutLe32(b + 4, rect.Top);
    PutLe32(b + 8, rect.Right);
    PutLe32(b + 12, rect.Bottom);
    return HexEncode(b, sizeof b);
}

TRect DecodeRect(std::string_view text)
{
    uint8_t b[kRectBlobSize];
    HexDecode(text, b, sizeof b);
    return { GetLe32(b), GetLe32(b + 4), GetLe32(b + 8), GetLe32(b + 12) };
}

std::string EncodeFont(const TFontSet& font)
{
    uint8_t b[kFontBlobSize];
    b[0] = font.Style;
    b[1] = font.Padding[0];
    b[2] = font.Padding[1];
    b[3] = font.Padding[2];
    PutLe32(b + 4, font.Size);
    b[8] = font.Charset;
    b[9] = font.Padding[3];
    b[10] = font.Padding[4];
    b[11] = font.Padding[5];
    return HexEncode(b, sizeof b);
}

void DecodeFont(std::string_view text, TFontSet& font)
{
    uint8_t b[kFontBlobSize];
    HexDecode(text, b, sizeof b);
    font.Style = b[0];
    font.Padding = { b[1], b[2], b[3], b[9], b[10], b[11] };
    font.Size = GetLe32(b + 4);
    font.Charset = b[8];
}

std::string EncodeColours(const TColourTable& colours)
{
    uint8_t b[kColourBlobSize];
    for (size_t i = 0; i < kColourCount; ++i)
        PutLe32(b + 4 * i, static_cast<int32_t>(colours[i]));
    return HexEncode(b, sizeof b);
}

TColourTable DecodeColours(std::string_view text)
{
    uint8_t b[kColourBlobSize];
    HexDecode(text, b, sizeof b);
    TColourTable colours {};
    for (size_t i = 0; i < kColourCount; ++i)
        colours[i] = static_cast<uint32_t>(GetLe32(b + 4 * i));
    return colours;
}

} // namespace wexly
