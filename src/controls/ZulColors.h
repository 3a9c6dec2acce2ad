// Colour values of the flat buttons: 0x00BBGGRR for an RGB colour, or 0x80000000 plus a system
// colour index, and the lighter/darker shades the buttons derive from their face colour.
#pragma once

#include <cstdint>
#include <functional>

namespace wexly {

using TColorRef = uint32_t;

constexpr TColorRef kSystemColorFlag = 0x80000000;

// System colours the buttons use, by their platform index.
constexpr TColorRef clWindowFrame = kSystemColorFlag | 6;
constexpr TColorRef clBtnFace = kSystemColorFlag | 15;
constexpr TColorRef clBtnShadow = kSystemColorFlag | 16;
constexpr TColorRef clBtnText = kSystemColorFlag | 18;
constexpr TColorRef clBtnHighlight = kSystemColorFlag | 20;
constexpr TColorRef cl3DDkShadow = kSystemColorFlag | 21;

constexpr bool IsSystemColor(TColorRef c)
{
    return (c & kSystemColorFlag) != 0;
}
constexpr int SystemColorIndex(TColorRef c)
{
    return static_cast<int>(c & 0xFF);
}

constexpr TColorRef Rgb(uint8_t r, uint8_t g, uint8_t b)
{
    return static_cast<TColorRef>(r) | (static_cast<TColorRef>(g) << 8)
        | (static_cast<TColorRef>(b) << 16);
}
constexpr uint8_t RedOf(TColorRef c)
{
    return static_cast<uint8_t>(c & 0xFF);
}
constexpr uint8_t GreenOf(TColorRef c)
{
    return static_cast<uint8_t>((c >> 8) & 0xFF);
}
constexpr uint8_t BlueOf(TColorRef c)
{
    return static_cast<uint8_t>((c >> 16) & 0xFF);
}

// Turns a system colour into its current RGB value; RGB values pass through.
using TColorResolver = std::function<TColorRef(TColorRef)>;

// The button face maps to the button highlight; other colours move each channel halfway to
// white. A system colour other than the face is resolved first, because its index is not a
// colour and halving it would give an unrelated shade.
TColorRef Lighter(TColorRef c, const TColorResolver& resolve);
// The button face maps to the button shadow; other colours have each channel halved.
TColorRef Darker(TColorRef c, const TColorResolver& resolve);

} // namespace wexly
