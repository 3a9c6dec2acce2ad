// A string list kept sorted by the locale-aware case-insensitive comparison, holding no two
// lines that compare equal: adding such a line is ignored (piles, pile members, macros).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace wexly {

class TSortedStringList
{
public:
    // Inserts the line in sorted place; false (and nothing added) when an equal line is there.
    bool Add(std::string_view line);
    // Index of the line equal to text without regard to case, or -1.
    int IndexOf(std::string_view text) const;
    void Delete(size_t index);
    void Clear() { m_lines.clear(); }

    size_t Count() const { return m_lines.size(); }
    bool Empty() const { return m_lines.empty(); }
    const std::string& operator[](size_t index) const { return m_lines[index]; }
    const std::vector<std::string>& Lines() const { return m_lines; }
    auto begin() const { return m_lines.begin(); }
    auto end() const { return m_lines.end(); }

    // Sorted strictly ascending under the current comparison.
    bool CheckInvariants() const;

    friend bool operator==(const TSortedStringList&, const TSortedStringList&) = default;

private:
    // First position whose line does not sort before text.
    size_t LowerBound(std::string_view text) const;

    std::vector<std::string> m_lines;
};

} // namespace wexly
