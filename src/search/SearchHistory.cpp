#include "search/SearchHistory.h"

#include "documents/DocumentSet.h"

#include <algorithm>

namespace wexly {

void AddToHistory(TStringList& list, const std::string& text)
{
    const auto same = std::find_if(list.begin(), list.end(),
        [&](const std::string& entry) { return SameTextNoCase(entry, text); });
    if (same != list.end())
        list.erase(same);
    list.insert(list.begin(), text);
    if (list.size() > kSearchHistoryMax)
        list.resize(kSearchHistoryMax);
}

} // namespace wexly
