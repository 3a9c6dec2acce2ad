// Small text utilities of the settings module that other subsystems use, and the tool bar's
// button table.
#pragma once

#include <string>
#include <string_view>

namespace wexly {

// Backslash becomes two backslashes, TAB becomes backslash and "t" (history box lines).
std::string EscapeText(std::string_view text);
// Left to right: backslash "t" becomes TAB, two backslashes become one; other backslashes stay.
std::string UnescapeText(std::string_view text);

// Doubles every "&" so that a menu caption shows it.
std::string EscapeAmpersands(std::string_view text);
// Left to right, drops the character that follows each "&": undoes EscapeAmpersands.
std::string UnescapeAmpersands(std::string_view text);

inline constexpr int kToolButtonCount = 33;
inline constexpr int kToolBarGap = -1;

// The hint and list label of tool bar button n; empty for a number outside 0 to 32.
std::string ToolButtonName(int n);
// The tag the main window gives button n: the open command reads it as its binary flag.
int ToolButtonTag(int n);
// The tool bar of a fresh installation, as comma text.
std::string DefaultToolBarLayout();

} // namespace wexly
