// The locale-aware, case-insensitive comparison that sorted lists of the settings use. The
// Windows build installs the system's user-locale comparison at start-up; until something is
// installed, a portable stand-in is used (see StandInCompareText).
#pragma once

#include <string_view>

namespace wexly {

// Negative, zero or positive, like strcmp. Zero means "equal without regard to case".
using TTextCompare = int (*)(std::string_view a, std::string_view b);

// Installs the comparison (nullptr restores the stand-in). Set once, before any sorted list
// is filled: lists already filled keep the order of the comparison they were filled with.
void SetTextCompare(TTextCompare compare);
int CompareTextLocale(std::string_view a, std::string_view b);

// Portable stand-in for the user locale: characters are folded to upper case with the
// Windows-1252 table, then ordered as the Windows word sort broadly orders them: punctuation
// and symbols before digits, digits before letters, letters alphabetically with the accented
// Latin-1 letters after Z (the real comparison sorts them beside their base letters). A shorter
// string sorts before a longer one that begins with it.
int StandInCompareText(std::string_view a, std::string_view b);

} // namespace wexly
