// The main window's status bar: the message panel and the small ones (Caps, Ins/Ovr, line,
// column, the document's encoding), sized to their text and grouped at the right end.
#pragma once

#include <array>
#include <string>

namespace wexly {

inline constexpr const char* StatusIdleText = "F1=Help";

enum TStatusPanel {
    spMessage = 0,
    spCaps = 1,
    spInsOvr = 2,
    spLine = 3,
    spColumn = 4,
    spEncoding = 5
};
inline constexpr size_t kStatusPanelCount = 6;

// The part of a control's hint that goes to the status line: the text after the first "|", or
// the whole hint when it has none ("Open|" is a tooltip only and gives "").
std::string LongHint(const std::string& hint);

// What the message panel shows for the current hint.
inline std::string HintPanelText(const std::string& hint)
{
    return hint.empty() ? std::string(StatusIdleText) : hint;
}

// A caret line or column as shown: decimal, left-padded with "0" to at least 4 digits.
std::string StatusNumberText(long long value);

struct TStatusPanelRect
{
    int left = 0;
    int width = 0;
    int Right() const { return left + width; }
};

struct TStatusBarLayout
{
    int height = 0; // of the bar; each panel is 2 pixels lower
    int panelHeight = 0;
    std::array<TStatusPanelRect, kStatusPanelCount> panels {};
};

// Text widths measured in the status font; the bar lays out from them.
struct TStatusTextWidths
{
    int bar = 0; // height of "|"
    int caps = 0; // width of "Caps"
    int ovr = 0; // width of "Ovr"
    int line = 0; // width of the current line text
    int column = 0; // width of the current column text
    int encoding = 0; // width of the longest encoding name; 0 leaves the panel out
};

TStatusBarLayout LayoutStatusBar(int barWidth, const TStatusTextWidths& widths);

} // namespace wexly
