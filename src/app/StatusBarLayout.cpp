#include "app/StatusBarLayout.h"

#include <algorithm>

namespace wexly {

std::string LongHint(const std::string& hint)
{
    const size_t bar = hint.find('|');
    return bar == std::string::npos ? hint : hint.substr(bar + 1);
}

std::string StatusNumberText(long long value)
{
    std::string text = std::to_string(value);
    if (value >= 0 && text.size() < 4)
        text.insert(0, 4 - text.size(), '0');
    return text;
}

TStatusBarLayout LayoutStatusBar(int barWidth, const TStatusTextWidths& widths)
{
    constexpr int padding = 6;
    constexpr int gap = 2;
    TStatusBarLayout layout;
    layout.height = widths.bar + 8;
    layout.panelHeight = layout.height - 2;

    const int small[5] = { widths.caps + padding, widths.ovr + padding, widths.line + padding,
        widths.column + padding, widths.encoding > 0 ? widths.encoding + padding : 0 };
    int x = 0;
    for (size_t i = 0; i < 5; ++i) {
        if (i > 0 && small[i] > 0)
            x += gap;
        layout.panels[i + 1] = { x, small[i] };
        x += small[i];
    }
    const int groupWidth = x;
    const int groupLeft = barWidth - groupWidth;
    for (size_t i = 1; i < kStatusPanelCount; ++i)
        layout.panels[i].left += groupLeft;
    // A window narrower than the group leaves the message panel empty, never negative.
    layout.panels[spMessage] = { 0, std::max(0, groupLeft - gap) };
    return layout;
}

} // namespace wexly
