// Binary values of the settings file: bytes as lower-case hexadecimal pairs, and the
// rectangle, font and colour records stored that way.
#pragma once

#include "config/Settings.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace wexly {

// Two lower-case digits per byte, in memory order, no separators.
std::string HexEncode(const uint8_t* bytes, size_t count);
// Fills count bytes from text, a pair of characters per byte. Each pair is read as
// hexadecimal up to its first non-digit ("1g" is 1, "g1" is 0); pairs beyond the text read 0
// and text beyond count bytes is ignored.
void HexDecode(std::string_view text, uint8_t* bytes, size_t count);

inline constexpr size_t kRectBlobSize = 16;
inline constexpr size_t kFontBlobSize = 12;
inline constexpr size_t kColourBlobSize = 4 * kColourCount;

std::string EncodeRect(const TRect& rect);
TRect DecodeRect(std::string_view text);

// Style, Size, Charset and the padding bytes; the name is stored under a key of its own.
std::string EncodeFont(const TFontSet& font);
void DecodeFont(std::string_view text, TFontSet& font);

std::string EncodeColours(const TColourTable& colours);
TColourTable DecodeColours(std::string_view text);

} // namespace wexly
