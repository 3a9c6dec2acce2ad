// The drop-down histories of the search dialogs: find texts, replacement texts and file masks,
// newest first.
#pragma once

#include "config/Settings.h"

#include <string>

namespace wexly {

inline constexpr size_t kSearchHistoryMax = 10;

// Puts text at the top of list; an entry equal to it ignoring case is moved rather than
// duplicated, and entries past the tenth fall off.
void AddToHistory(TStringList& list, const std::string& text);

} // namespace wexly
