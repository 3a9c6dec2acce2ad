#include "editor/BytePairFilter.h"

#include <algorithm>
#include <utility>

#if defined(__SSE2__) || defined(__i386__)
#include <emmintrin.h>
#define WEXLY_HAVE_SSE2_CODE 1
#endif

namespace wexly {

namespace {

// How often a byte turns up in prose, roughly: higher is commoner. Letters follow their
// frequency in English; capitals are rarer than small letters.
int Commonness(uint8_t c)
{
    static constexpr std::string_view byFrequency = "etaoinsrhldcumfpgwybvkxjqz";
    if (c == ' ')
        return 100;
    if (c >= 'a' && c <= 'z')
        return 60 + 26 - static_cast<int>(byFrequency.find(static_cast<char>(c)));
    if (c >= 'A' && c <= 'Z')
        return 30 + (26 - static_cast<int>(byFrequency.find(static_cast<char>(c - 'A' + 'a')))) / 2;
    if (c == ',' || c == '.' || c == '\t')
        return 50;
    if (c >= '0' && c <= '9')
        return 40;
    return c >= 0x20 && c < 0x7F ? 20 : 10;
}

// The probe for pattern byte p at offset, when the text bytes that map to p are one byte or
// two that differ in one bit; its commonness is that of its commonest text byte.
std::optional<std::pair<TBytePairFilter::TProbe, int>> ProbeFor(
    uint8_t p, size_t offset, const std::array<uint8_t, 256>& map)
{
    int count = 0, common = 0;
    uint8_t bytes[2] = {};
    for (size_t c = 0; c < 256; ++c) {
        if (map[c] != p)
            continue;
        if (count == 2)
            return std::nullopt;
        bytes[count++] = static_cast<uint8_t>(c);
        common = std::max(common, Commonness(static_cast<uint8_t>(c)));
    }
    if (count == 0)
        return std::nullopt;
    const auto mask = static_cast<uint8_t>(count == 2 ? bytes[0] ^ bytes[1] : 0);
    if ((mask & (mask - 1)) != 0)
        return std::nullopt;
    TBytePairFilter::TProbe probe { static_cast<uint16_t>(offset), mask,
        static_cast<uint8_t>(bytes[0] | mask) };
    return std::pair(probe, common);
}

#if defined(WEXLY_HAVE_SSE2_CODE)
#if defined(__SSE2__)
#define WEXLY_SSE2_FN
#define WEXLY_SSE2_INLINE inline
bool CpuHasSse2()
{
    return true;
}
#else
// The 32-bit build is not compiled for SSE2 as a whole; only these functions use it, on
// processors that have it. Windows keeps the stack 4-byte aligned there: realign it.
#define WEXLY_SSE2_FN __attribute__((target("sse2"), force_align_arg_pointer))
#define WEXLY_SSE2_INLINE inline __attribute__((target("sse2"), always_inline))
bool CpuHasSse2()
{
    static const bool has = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("sse2") != 0;
    }();
    return has;
}
#endif

// Bit i set when both probes hold at start s + i, for i in 0..15.
WEXLY_SSE2_INLINE unsigned Block(const char* s, size_t offsetA, size_t offsetB, __m128i maskA,
    __m128i valueA, __m128i maskB, __m128i valueB)
{
    const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + offsetA));
    const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + offsetB));
    const __m128i eq = _mm_and_si128(_mm_cmpeq_epi8(_mm_or_si128(a, maskA), valueA),
        _mm_cmpeq_epi8(_mm_or_si128(b, maskB), valueB));
    return static_cast<unsigned>(_mm_movemask_epi8(eq));
}

// Both directions need at least 16 starts in [first, last].
WEXLY_SSE2_FN size_t NextSse2(const char* s, size_t first, size_t last,
    const TBytePairFilter::TProbe& pa, const TBytePairFilter::TProbe& pb)
{
    const __m128i maskA = _mm_set1_epi8(static_cast<char>(pa.mask));
    const __m128i valueA = _mm_set1_epi8(static_cast<char>(pa.value));
    const __m128i maskB = _mm_set1_epi8(static_cast<char>(pb.mask));
    const __m128i valueB = _mm_set1_epi8(static_cast<char>(pb.value));
    size_t at = first;
    for (; at + 15 <= last; at += 16) {
        const unsigned bits = Block(s + at, pa.offset, pb.offset, maskA, valueA, maskB, valueB);
        if (bits)
            return at + static_cast<size_t>(__builtin_ctz(bits));
    }
    if (at > last)
        return TBytePairFilter::npos;
    // The rest: one block ending at last, without the starts already tested.
    const size_t from = last - 15;
    const unsigned bits
        = Block(s + from, pa.offset, pb.offset, maskA, valueA, maskB, valueB) >> (at - from);
    return bits ? at + static_cast<size_t>(__builtin_ctz(bits)) : TBytePairFilter::npos;
}

WEXLY_SSE2_FN size_t PrevSse2(const char* s, size_t first, size_t last,
    const TBytePairFilter::TProbe& pa, const TBytePairFilter::TProbe& pb)
{
    const __m128i maskA = _mm_set1_epi8(static_cast<char>(pa.mask));
    const __m128i valueA = _mm_set1_epi8(static_cast<char>(pa.value));
    const __m128i maskB = _mm_set1_epi8(static_cast<char>(pb.mask));
    const __m128i valueB = _mm_set1_epi8(static_cast<char>(pb.value));
    size_t end = last + 1; // starts [first, end) are left
    for (; end - first >= 16; end -= 16) {
        const unsigned bits
            = Block(s + end - 16, pa.offset, pb.offset, maskA, valueA, maskB, valueB);
        if (bits)
            return end - 16 + static_cast<size_t>(31 - __builtin_clz(bits));
    }
    if (end == first)
        return TBytePairFilter::npos;
    // The rest: one block starting at first, without the starts already tested.
    const unsigned bits = Block(s + first, pa.offset, pb.offset, maskA, valueA, maskB, valueB)
        & ((1u << (end - first)) - 1);
    return bits ? first + static_cast<size_t>(31 - __builtin_clz(bits)) : TBytePairFilter::npos;
}
#else
bool CpuHasSse2()
{
    return false;
}
#endif

} // namespace

std::optional<TBytePairFilter> TBytePairFilter::Make(
    std::string_view pattern, const std::array<uint8_t, 256>& map)
{
    std::optional<std::pair<TProbe, int>> best, second;
    for (size_t i = 0; i < pattern.size(); ++i) {
        auto probe = ProbeFor(static_cast<uint8_t>(pattern[i]), i, map);
        if (!probe)
            continue;
        if (!best || probe->second < best->second) {
            second = best;
            best = probe;
        } else if (!second || probe->second < second->second) {
            second = probe;
        }
    }
    if (!best)
        return std::nullopt;
    TBytePairFilter filter;
    filter.m_a = best->first;
    filter.m_b = second ? second->first : best->first;
    return filter;
}

bool TBytePairFilter::HoldsAt(const char* s, size_t at) const
{
    return (static_cast<uint8_t>(s[at + m_a.offset]) | m_a.mask) == m_a.value
        && (static_cast<uint8_t>(s[at + m_b.offset]) | m_b.mask) == m_b.value;
}

size_t TBytePairFilter::Next(const char* s, size_t first, size_t last) const
{
    if (first > last)
        return npos;
#if defined(WEXLY_HAVE_SSE2_CODE)
    if (last - first >= 15 && CpuHasSse2())
        return NextSse2(s, first, last, m_a, m_b);
#endif
    for (size_t at = first; at <= last; ++at)
        if (HoldsAt(s, at))
            return at;
    return npos;
}

size_t TBytePairFilter::Prev(const char* s, size_t first, size_t last) const
{
    if (first > last)
        return npos;
#if defined(WEXLY_HAVE_SSE2_CODE)
    if (last - first >= 15 && CpuHasSse2())
        return PrevSse2(s, first, last, m_a, m_b);
#endif
    for (size_t at = last + 1; at-- > first;)
        if (HoldsAt(s, at))
            return at;
    return npos;
}

} // namespace wexly
