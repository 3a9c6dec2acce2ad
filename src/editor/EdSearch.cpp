#include "editor/EdSearch.h"

#include "editor/OvcParaList.h"

#include <algorithm>
#include <cstring>

namespace wexly {

TEdSearchPattern::TEdSearchPattern(std::string_view text, bool matchCase, const TUpperTable& upper)
    : m_pattern(text.substr(0, std::min(text.size(), kMaxSearchLength)))
    , m_matchCase(matchCase)
{
    for (size_t c = 0; c < 256; ++c)
        m_map[c] = matchCase ? static_cast<uint8_t>(c) : upper[c];
    for (char& c : m_pattern)
        c = static_cast<char>(m_map[static_cast<uint8_t>(c)]);

    // Shift tables over compared bytes, then spread to raw text bytes through the map.
    const size_t m = m_pattern.size();
    std::array<uint16_t, 256> fwd, back;
    fwd.fill(static_cast<uint16_t>(m));
    back.fill(static_cast<uint16_t>(m));
    for (size_t i = 0; i + 1 < m; ++i)
        fwd[static_cast<uint8_t>(m_pattern[i])] = static_cast<uint16_t>(m - 1 - i);
    for (size_t i = m; i-- > 1;)
        back[static_cast<uint8_t>(m_pattern[i])] = static_cast<uint16_t>(i);
    for (size_t c = 0; c < 256; ++c) {
        m_skipFwd[c] = fwd[m_map[c]];
        m_skipBack[c] = back[m_map[c]];
    }
    m_filter = TBytePairFilter::Make(m_pattern, m_map);
}

bool TEdSearchPattern::Equals(std::string_view text) const
{
    return text.size() == m_pattern.size() && (text.empty() || MatchAt(text.data()));
}

bool TEdSearchPattern::MatchAt(const char* at) const
{
    if (m_matchCase)
        return std::memcmp(at, m_pattern.data(), m_pattern.size()) == 0;
    for (size_t i = 0; i < m_pattern.size(); ++i)
        if (m_map[static_cast<uint8_t>(at[i])] != static_cast<uint8_t>(m_pattern[i]))
            return false;
    return true;
}

size_t TEdSearchPattern::Forward(std::string_view text, size_t from, size_t to) const
{
    const size_t m = m_pattern.size();
    const char* s = text.data();
    if (m_filter) {
        for (size_t at = from;; ++at) {
            at = m_filter->Next(s, at, to - m);
            if (at == npos || MatchAt(s + at))
                return at;
        }
    }
    const auto last = static_cast<uint8_t>(m_pattern[m - 1]);
    for (size_t at = from; at + m <= to;) {
        const auto c = static_cast<uint8_t>(s[at + m - 1]);
        if (m_map[c] == last && MatchAt(s + at))
            return at;
        at += m_skipFwd[c];
    }
    return npos;
}

size_t TEdSearchPattern::Backward(std::string_view text, size_t from, size_t to) const
{
    const size_t m = m_pattern.size();
    if (to < from + m)
        return npos;
    const char* s = text.data();
    if (m_filter) {
        for (size_t at = to - m;; --at) {
            at = m_filter->Prev(s, from, at);
            if (at == npos || MatchAt(s + at))
                return at;
            if (at == from)
                return npos;
        }
    }
    const auto first = static_cast<uint8_t>(m_pattern[0]);
    for (size_t at = to - m;;) {
        const auto c = static_cast<uint8_t>(s[at]);
        if (m_map[c] == first && MatchAt(s + at))
            return at;
        const size_t shift = m_skipBack[c];
        if (at < from + shift)
            return npos;
        at -= shift;
    }
}

bool TEdSearchPattern::IsWholeWord(
    std::string_view text, size_t at, size_t length, const TCharSet& d)
{
    return (at == 0 || d.Contains(text[at - 1]))
        && (at + length >= text.size() || d.Contains(text[at + length]));
}

size_t TEdSearchPattern::Find(std::string_view text, size_t from, size_t to, bool backward,
    const TCharSet* wholeWordDelimiters) const
{
    to = std::min(to, text.size());
    const size_t m = m_pattern.size();
    if (m == 0 || from > to || to - from < m)
        return npos;
    const size_t at = backward ? Backward(text, from, to) : Forward(text, from, to);
    if (at == npos || !wholeWordDelimiters || IsWholeWord(text, at, m, *wholeWordDelimiters))
        return at;
    return FindWholeWord(text, from, to, backward, *wholeWordDelimiters, at);
}

size_t TEdSearchPattern::FindWholeWord(std::string_view text, size_t from, size_t to, bool backward,
    const TCharSet& delimiters, size_t miss) const
{
    const size_t m = m_pattern.size();
    for (size_t at = miss;;) {
        // Not a whole word: look again one byte further on.
        if (backward) {
            if (at == from)
                return npos;
            to = at + m - 1;
        } else {
            from = at + 1;
        }
        if (to < from + m)
            return npos;
        at = backward ? Backward(text, from, to) : Forward(text, from, to);
        if (at == npos || IsWholeWord(text, at, m, delimiters))
            return at;
    }
}

std::optional<TParaPos> FindInParas(const TOvcParaList& list, const TEdSearchPattern& pattern,
    TParaPos from, TParaPos to, bool backward, const TCharSet* wholeWordDelimiters)
{
    const int32_t count = list.ParaCount();
    from.para = std::clamp(from.para, 1, count);
    to.para = std::clamp(to.para, 1, count);
    if (pattern.Empty() || from.para > to.para)
        return std::nullopt;
    const size_t m = pattern.Length();
    const auto fromOffset = static_cast<size_t>(std::max(from.pos, 1) - 1);
    const auto toOffset = static_cast<size_t>(std::max(to.pos, 1) - 1);
    // Paragraph p between the scope's ends is searched whole; one shorter than the search text
    // cannot hold it, and most are passed without a call.
    auto search = [&](const TParaNode* node, int32_t p) {
        if (node->Len() < m)
            return TEdSearchPattern::npos;
        const size_t lo = p == from.para ? fromOffset : 0;
        const size_t hi = p == to.para ? toOffset : node->Len();
        return pattern.Find(node->GetS(), lo, hi, backward, wholeWordDelimiters);
    };
    if (!backward) {
        int32_t p = from.para;
        for (const TParaNode* node = list.NthPara(p); node && p <= to.para;
             node = node->Next(), ++p) {
            const size_t at = search(node, p);
            if (at != TEdSearchPattern::npos)
                return TParaPos { p, static_cast<int32_t>(at) + 1 };
        }
    } else {
        int32_t p = to.para;
        for (const TParaNode* node = list.NthPara(p); node && p >= from.para;
             node = node->Prev(), --p) {
            const size_t at = search(node, p);
            if (at != TEdSearchPattern::npos)
                return TParaPos { p, static_cast<int32_t>(at) + 1 };
        }
    }
    return std::nullopt;
}

} // namespace wexly
