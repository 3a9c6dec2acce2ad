// The main window's views of the document list that need no window: the file-button bar's
// layout and drop position, the Window menu's entries, the pane title texts and the drag of the
// second pane's title.
#pragma once

#include <string>
#include <vector>

namespace wexly {

class TEditFile;
class TDocumentSet;

struct TButtonRect
{
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    int Right() const { return left + width; }
};

struct TFileButtonLayout
{
    std::vector<TButtonRect> buttons; // in list order
    int barHeight = 2;
    bool visible = false;
};

// Buttons in reading order, wrapping at the bar's width; rows are as high as the first button.
TFileButtonLayout LayoutFileButtons(
    const std::vector<TButtonRect>& sizes, int barWidth, bool showFileButtons);
TFileButtonLayout LayoutFileButtons(const TDocumentSet& set, int barWidth, bool showFileButtons);

// Where a button dropped at (x, y) in bar coordinates goes: a binary search over the laid-out
// buttons. -1 only for an empty bar.
int FileButtonDropIndex(const std::vector<TButtonRect>& buttons, int x, int y);

struct TToolBarItem
{
    int code = 0; // kToolBarGap for a separator bevel
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    std::string hint; // the button's name followed by "|"
    int tag = 0; // 1 only for Open Binary
};

struct TToolBar
{
    bool visible = false;
    int height = 3;
    std::vector<TToolBarItem> items;
};

// The toolbar from the layout list (button numbers, -1 for a gap); unknown numbers are left
// out.
TToolBar BuildToolBar(const std::vector<std::string>& layout, bool showToolBar);

struct TWindowMenuEntry
{
    std::string caption; // "&1 name" ... "&0 name", "&" in the name doubled
    std::string hint; // the full path
    std::string shortcut; // "Ctrl+F1" ... "Ctrl+F10"
};

// The first ten documents.
std::vector<TWindowMenuEntry> WindowMenuEntries(const TDocumentSet& set);

struct TTitleText
{
    std::string path; // the title button
    std::string state; // "R" read-only, "M" modified, else empty
};

// The title bar of a pane showing doc (null: no document). Refreshes doc's button picture.
TTitleText UpdateTitle(TEditFile* doc);

// Dragging the second pane's title bar of a horizontal split to resize that pane.
class TTitleDrag
{
public:
    void Press(int y);
    // Returns true while the drag holds the mouse. top and height are the second pane's, in
    // client-area coordinates; they change when the move is allowed.
    bool Move(int y, int& top, int& height);
    void Release();
    bool Dragging() const { return m_dragging; }

private:
    bool m_pressed = false;
    bool m_dragging = false;
    int m_lastY = 0;
};

} // namespace wexly
