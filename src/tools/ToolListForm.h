// The "Tools" list window's logic: every tool name, the tool chosen last time selected again,
// the choice made with Enter or a double click, and the bounds it remembers.
#pragma once

#include "config/Settings.h"

#include <string>
#include <vector>

namespace wexly {

class TToolListForm
{
public:
    static constexpr const char* Caption = "Tools";

    // Shown: the names in list order, the last choice selected when it is still in the list.
    void Show(const std::vector<TExternalTool>& tools, const TRect& toolListRect);
    const std::vector<std::string>& Names() const { return m_names; }
    const TRect& Bounds() const { return m_bounds; }
    int Selected() const { return m_selected; }
    void Select(int index);
    // Enter or a double click: true (close with "OK") when an entry is selected.
    bool Choose();
    int LastChosen() const { return m_lastChosen; }
    // Hidden, whatever the way: the bounds go back to the settings.
    static void Hide(const TRect& currentBounds, TRect& toolListRect)
    {
        toolListRect = currentBounds;
    }

private:
    std::vector<std::string> m_names;
    TRect m_bounds;
    int m_selected = -1;
    int m_lastChosen = -1; // kept for the whole run
};

} // namespace wexly
