// The text matcher under the editor's Search and Replace: the search options, a Boyer-Moore
// (Horspool) pattern that matches with or without case through the code page's upper-case
// table, and a scan over a range of paragraphs, forwards or backwards, that never wraps.
#pragma once

#include "editor/BytePairFilter.h"
#include "platform/Ui.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace wexly {

class TOvcParaList;

enum class TSearchOption : uint16_t {
    Find = 1 << 0,
    Backward = 1 << 1,
    MatchCase = 1 << 2,
    Global = 1 << 3,
    Replace = 1 << 4,
    ReplaceAll = 1 << 5,
    WholeWord = 1 << 6,
    SelText = 1 << 7,
};

// A set of TSearchOption.
class TSearchOptions
{
public:
    constexpr TSearchOptions() = default;
    constexpr TSearchOptions(TSearchOption option)
        : m_bits(static_cast<uint16_t>(option))
    {
    }
    constexpr bool Has(TSearchOption option) const
    {
        return (m_bits & static_cast<uint16_t>(option)) != 0;
    }
    constexpr TSearchOptions operator|(TSearchOptions other) const
    {
        return FromBits(static_cast<uint16_t>(m_bits | other.m_bits));
    }
    constexpr TSearchOptions Without(TSearchOption option) const
    {
        return FromBits(static_cast<uint16_t>(m_bits & ~static_cast<uint16_t>(option)));
    }
    constexpr uint16_t Bits() const { return m_bits; }
    static constexpr TSearchOptions FromBits(uint16_t bits)
    {
        TSearchOptions o;
        o.m_bits = bits;
        return o;
    }
    constexpr bool operator==(const TSearchOptions&) const = default;

private:
    uint16_t m_bits = 0;
};

constexpr TSearchOptions operator|(TSearchOption a, TSearchOption b)
{
    return TSearchOptions(a) | TSearchOptions(b);
}

inline constexpr TSearchOption soFind = TSearchOption::Find;
inline constexpr TSearchOption soBackward = TSearchOption::Backward;
inline constexpr TSearchOption soMatchCase = TSearchOption::MatchCase;
inline constexpr TSearchOption soGlobal = TSearchOption::Global;
inline constexpr TSearchOption soReplace = TSearchOption::Replace;
inline constexpr TSearchOption soReplaceAll = TSearchOption::ReplaceAll;
inline constexpr TSearchOption soWholeWord = TSearchOption::WholeWord;
inline constexpr TSearchOption soSelText = TSearchOption::SelText;

// A set of byte values, e.g. word delimiters.
class TCharSet
{
public:
    TCharSet() { m_in.fill(false); }
    explicit TCharSet(std::string_view chars)
        : TCharSet()
    {
        for (char c : chars)
            m_in[static_cast<uint8_t>(c)] = true;
    }
    bool Contains(char c) const { return m_in[static_cast<uint8_t>(c)]; }
    void Add(char c) { m_in[static_cast<uint8_t>(c)] = true; }

private:
    std::array<bool, 256> m_in;
};

// The longest search or replacement text; longer ones are cut.
inline constexpr size_t kMaxSearchLength = 255;

// A compiled search text. Without case, both sides are compared upper-cased.
class TEdSearchPattern
{
public:
    static constexpr size_t npos = std::string_view::npos;

    TEdSearchPattern(
        std::string_view text, bool matchCase, const TUpperTable& upper = SystemUpperTable());

    size_t Length() const { return m_pattern.size(); }
    bool Empty() const { return m_pattern.empty(); }
    bool MatchCase() const { return m_matchCase; }
    // The whole of text equals the search text (with or without case).
    bool Equals(std::string_view text) const;

    // 0-based start of the first (forwards) or last (backwards) match lying wholly inside
    // [from, to) of text, or npos. With delimiters, a match must also be a whole word: the
    // characters beside it (within text, not the range) are delimiters or the text's ends.
    size_t Find(std::string_view text, size_t from, size_t to, bool backward,
        const TCharSet* wholeWordDelimiters = nullptr) const;

private:
    bool MatchAt(const char* at) const;
    size_t Forward(std::string_view text, size_t from, size_t to) const;
    size_t Backward(std::string_view text, size_t from, size_t to) const;
    // Find again after a match at miss that was not a whole word.
    size_t FindWholeWord(std::string_view text, size_t from, size_t to, bool backward,
        const TCharSet& delimiters, size_t miss) const;
    static bool IsWholeWord(std::string_view text, size_t at, size_t length, const TCharSet& d);

    std::string m_pattern; // upper-cased when not matching case
    bool m_matchCase;
    std::array<uint8_t, 256> m_map {}; // text byte -> compared byte
    std::array<uint16_t, 256> m_skipFwd {}; // shift by the window's last byte
    std::array<uint16_t, 256> m_skipBack {}; // shift by the window's first byte
    // Candidates to compare in full; without it the shift tables drive the scan.
    std::optional<TBytePairFilter> m_filter;
};

// A place in the text: paragraph and 1-based position (position Len + 1 is the end).
struct TParaPos
{
    int32_t para = 1;
    int32_t pos = 1;
    friend bool operator==(const TParaPos&, const TParaPos&) = default;
};

// Searches the paragraphs of list between from and to (to is the end of the scope: a match
// must end at or before it). Forwards the first match after from is returned, backwards the
// last before to. Positions are clamped into the paragraphs. Never wraps.
std::optional<TParaPos> FindInParas(const TOvcParaList& list, const TEdSearchPattern& pattern,
    TParaPos from, TParaPos to, bool backward, const TCharSet* wholeWordDelimiters = nullptr);

} // namespace wexly
