#include "search/GotoLineModel.h"

#include <charconv>

namespace wexly {

int64_t TGotoLineModel::Parse(std::string_view text)
{
    // Surrounding blanks are forgiven, as a number box usually does.
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
        if (!text.empty() && text.front() == '-')
            return 0;
    }
    int64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty())
        return 0;
    return value;
}

void TGotoLineModel::Ok(TDocumentSet& set) const
{
    if (TEditFile* focus = set.FocusFile())
        focus->GotoLine(m_lastNumber);
}

} // namespace wexly
