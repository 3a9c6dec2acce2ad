#include "config/TextCompare.h"

#include "platform/Ui.h"

#include <atomic>
#include <cstdint>

namespace wexly {
namespace {

std::atomic<TTextCompare> g_compare { nullptr };

bool IsLetter(uint8_t folded)
{
    if (folded >= 'A' && folded <= 'Z')
        return true;
    // Upper-case letters of the Windows-1252 set (after folding the lower-case ones land
    // here too); the multiplication sign 0xD7 is not a letter.
    return folded == 0x8A || folded == 0x8C || folded == 0x8E || folded == 0x9F
        || (folded >= 0xC0 && folded <= 0xDE && folded != 0xD7) || folded == 0xDF;
}

int Weight(char c)
{
    uint8_t folded = Windows1252UpperTable()[static_cast<uint8_t>(c)];
    int group = folded >= '0' && folded <= '9' ? 1 : IsLetter(folded) ? 2 : 0;
    return group * 256 + folded;
}

} // namespace

void SetTextCompare(TTextCompare compare)
{
    g_compare.store(compare);
}

int CompareTextLocale(std::string_view a, std::string_view b)
{
    TTextCompare compare = g_compare.load();
    return compare ? compare(a, b) : StandInCompareText(a, b);
}

int StandInCompareText(std::string_view a, std::string_view b)
{
    size_t n = a.size() < b.size() ? a.size() : b.size();
    for (size_t i = 0; i < n; ++i) {
        int d = Weight(a[i]) - Weight(b[i]);
        if (d != 0)
            return d < 0 ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

} // namespace wexly
