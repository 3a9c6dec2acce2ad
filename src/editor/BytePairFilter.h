// The quick first test of a text search: two bytes of the pattern at fixed offsets, each
// tested as (text byte | mask) == value, which takes in a letter and its other case when the
// two differ in one bit. Finds the start positions where both hold, 16 at a time with SSE2
// where the processor has it; the caller then compares the whole pattern there.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace wexly {

class TBytePairFilter
{
public:
    static constexpr size_t npos = std::string_view::npos;

    // One tested byte: text[start + offset] | mask == value.
    struct TProbe
    {
        uint16_t offset = 0;
        uint8_t mask = 0;
        uint8_t value = 0;
    };

    // A filter for pattern (already compared bytes) under map (text byte -> compared byte),
    // on its two rarest bytes; none when no byte of the pattern has a set of text bytes the
    // test can express exactly (a caller then does without).
    static std::optional<TBytePairFilter> Make(
        std::string_view pattern, const std::array<uint8_t, 256>& map);

    // The first start in [first, last] where both probes hold, or npos. Every byte the
    // probes look at must be readable: s[last + the larger offset] at the most.
    size_t Next(const char* s, size_t first, size_t last) const;
    // The last such start in [first, last], or npos.
    size_t Prev(const char* s, size_t first, size_t last) const;

    const TProbe& A() const { return m_a; }
    const TProbe& B() const { return m_b; }

private:
    bool HoldsAt(const char* s, size_t at) const;

    TProbe m_a, m_b;
};

} // namespace wexly
