#include "documents/FileButtonBar.h"

#include "config/UtilsBox.h"
#include "documents/DocumentSet.h"
#include "documents/EditFile.h"

#include <cstdlib>
#include <string>

namespace wexly {

TFileButtonLayout LayoutFileButtons(
    const std::vector<TButtonRect>& sizes, int barWidth, bool showFileButtons)
{
    TFileButtonLayout out;
    if (sizes.empty())
        return out;
    int x = 2, y = 2;
    const int rowHeight = sizes.front().height;
    for (const TButtonRect& s : sizes) {
        if (x > 2 && x + s.width > barWidth) {
            x = 2;
            y += rowHeight;
        }
        out.buttons.push_back({ x, y, s.width, s.height });
        x += s.width;
    }
    out.barHeight = y + rowHeight + 2;
    out.visible = showFileButtons;
    return out;
}

TFileButtonLayout LayoutFileButtons(const TDocumentSet& set, int barWidth, bool showFileButtons)
{
    std::vector<TButtonRect> sizes;
    for (int i = 0; i < set.Count(); ++i)
        sizes.push_back({ 0, 0, set.At(i).ButtonWidth(), set.At(i).ButtonHeight() });
    return LayoutFileButtons(sizes, barWidth, showFileButtons);
}

int FileButtonDropIndex(const std::vector<TButtonRect>& buttons, int x, int y)
{
    const int count = static_cast<int>(buttons.size());
    if (count == 0)
        return -1;
    int lo = 0, hi = count - 1, probe = count - 1;
    while (lo <= hi) {
        probe = (lo + hi) / 2;
        const TButtonRect& b = buttons[static_cast<size_t>(probe)];
        const bool inRow = y >= b.top && y < b.top + 25;
        if (inRow && x >= b.left && x < b.Right())
            return probe;
        if (y < b.top || (inRow && x < b.left))
            hi = probe - 1;
        else
            lo = probe + 1;
    }
    return probe;
}

TToolBar BuildToolBar(const std::vector<std::string>& layout, bool showToolBar)
{
    TToolBar bar;
    if (!showToolBar)
        return bar;
    bar.visible = true;
    bar.height = 28;
    int x = 2;
    for (const std::string& line : layout) {
        char* end = nullptr;
        const long code = std::strtol(line.c_str(), &end, 10);
        if (end == line.c_str())
            continue;
        if (code == kToolBarGap) {
            x += 1;
            bar.items.push_back({ kToolBarGap, x, 0, 2, 27, "", 0 });
            x += 3;
        } else if (code >= 0 && code < kToolButtonCount) {
            const int n = static_cast<int>(code);
            bar.items.push_back({ n, x, 2, 24, 24, ToolButtonName(n) + "|", ToolButtonTag(n) });
            x += 24;
        }
    }
    return bar;
}

std::vector<TWindowMenuEntry> WindowMenuEntries(const TDocumentSet& set)
{
    std::vector<TWindowMenuEntry> out;
    for (int i = 0; i < set.Count() && i < 10; ++i) {
        const TEditFile& d = set.At(i);
        out.push_back({ "&" + std::to_string((i + 1) % 10) + " " + DoubleAmpersands(d.ShortName()),
            d.FileName(), "Ctrl+F" + std::to_string(i + 1) });
    }
    return out;
}

TTitleText UpdateTitle(TEditFile* doc)
{
    if (!doc)
        return {};
    TTitleText t;
    t.path = doc->FileName();
    const bool modified = doc->IsModified();
    if (doc->ReadOnly())
        t.state = "R";
    else if (modified)
        t.state = "M";
    return t;
}

void TTitleDrag::Press(int y)
{
    m_pressed = true;
    m_dragging = false;
    m_lastY = y;
}

bool TTitleDrag::Move(int y, int& top, int& height)
{
    if (!m_pressed)
        return false;
    const int d = y - m_lastY;
    if (!m_dragging) {
        if (std::abs(d) <= 4)
            return false;
        m_dragging = true;
    }
    if (top + d >= 30 && height - d >= 30) {
        top += d;
        height -= d;
        m_lastY = y;
    }
    return true;
}

void TTitleDrag::Release()
{
    m_pressed = false;
    m_dragging = false;
}

} // namespace wexly
