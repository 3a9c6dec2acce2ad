#include "platform/Windows1252.h"

#include <cstring>

namespace wexly {

namespace {

// 0x80..0x9F; the five bytes the code page leaves undefined stand for the control characters
// of the same number, as Windows converts them, so that every byte survives a round trip.
constexpr char16_t kHigh[32]
    = { 0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
          0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
          0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178 };

} // namespace

TWindows1252CodePage::TWindows1252CodePage()
{
    std::memset(m_from, 0, sizeof m_from);
    for (unsigned b = 0; b < 256; ++b) {
        const char16_t c = b >= 0x80 && b < 0xA0 ? kHigh[b - 0x80] : static_cast<char16_t>(b);
        m_toWide[b] = c;
        m_from[c] = static_cast<unsigned char>(b);
    }
}

bool TWindows1252CodePage::FromWide(const char16_t* text, size_t count, std::string& out)
{
    const size_t start = out.size();
    out.resize(start + count);
    auto* dst = reinterpret_cast<unsigned char*>(out.data() + start);
    for (size_t i = 0; i < count; ++i) {
        const char16_t c = text[i];
        if (c < 0x80) {
            dst[i] = static_cast<unsigned char>(c);
            continue;
        }
        const unsigned char b = c < kFromSize ? m_from[c] : 0;
        if (b == 0) {
            out.resize(start + i);
            return false;
        }
        dst[i] = b;
    }
    return true;
}

void TWindows1252CodePage::ToWide(const char* text, size_t count, std::u16string& out)
{
    const size_t start = out.size();
    out.resize(start + count);
    const auto* src = reinterpret_cast<const unsigned char*>(text);
    char16_t* dst = out.data() + start;
    for (size_t i = 0; i < count; ++i)
        dst[i] = m_toWide[src[i]];
}

} // namespace wexly
