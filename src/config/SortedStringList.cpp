#include "config/SortedStringList.h"

#include "config/TextCompare.h"

namespace wexly {

size_t TSortedStringList::LowerBound(std::string_view text) const
{
    size_t lo = 0, hi = m_lines.size();
    while (lo < hi) {
        size_t mid = lo + (hi - lo) / 2;
        if (CompareTextLocale(m_lines[mid], text) < 0)
            lo = mid + 1;
        else
            hi = mid;
    }
    return lo;
}

bool TSortedStringList::Add(std::string_view line)
{
    size_t at = LowerBound(line);
    if (at < m_lines.size() && CompareTextLocale(m_lines[at], line) == 0)
        return false;
    m_lines.insert(m_lines.begin() + static_cast<std::ptrdiff_t>(at), std::string(line));
    return true;
}

int TSortedStringList::IndexOf(std::string_view text) const
{
    size_t at = LowerBound(text);
    if (at < m_lines.size() && CompareTextLocale(m_lines[at], text) == 0)
        return static_cast<int>(at);
    return -1;
}

void TSortedStringList::Delete(size_t index)
{
    if (index < m_lines.size())
        m_lines.erase(m_lines.begin() + static_cast<std::ptrdiff_t>(index));
}

bool TSortedStringList::CheckInvariants() const
{
    for (size_t i = 1; i < m_lines.size(); ++i)
        if (CompareTextLocale(m_lines[i - 1], m_lines[i]) >= 0)
            return false;
    return true;
}

} // namespace wexly
