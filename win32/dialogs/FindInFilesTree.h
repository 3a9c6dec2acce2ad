// The result tree of the Find dialog's files range: a TreeView filled from TFindResultTree, with
// the multiple selection a TreeView lacks (Ctrl+click toggles, Shift+click and Shift+arrows take
// a range from the anchor), kept in the order the nodes were chosen. Borrows the control.
#pragma once

#include "search/FindInFiles.h"

#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <optional>
#include <vector>

namespace wexly::win32 {

class TFindInFilesTree
{
public:
    TFindInFilesTree() = default;
    TFindInFilesTree(const TFindInFilesTree&) = delete;
    TFindInFilesTree& operator=(const TFindInFilesTree&) = delete;
    ~TFindInFilesTree();

    void Attach(HWND tree);
    HWND Handle() const { return m_tree; }

    void Clear();
    // Adds file node `file` with its lines at the end of the control.
    void AddFile(const TFindResultTree& tree, size_t file);
    // Adds the nodes the control lacks (the "No files found" node), expands or collapses every
    // file node as its flag says and scrolls to the first node.
    void Refresh(const TFindResultTree& tree);
    void ClearSelection();

    // The chosen nodes in the order they were chosen, and the caret node when it is chosen.
    std::vector<TFindNodeRef> Selection() const;
    std::optional<TFindNodeRef> Focused() const;
    // While a search runs clicks select nothing.
    void SetLocked(bool locked) { m_locked = locked; }
    // Told after every change of the selection by the user.
    std::function<void()> OnSelectionChanged;

    // WM_NOTIFY from the control, routed by the dialog: the drawing of chosen nodes and the
    // caret moved by the keyboard. True when handled, with the message's result.
    bool Notify(const NMHDR& header, LRESULT& result);

private:
    static LRESULT CALLBACK SubclassProc(
        HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR data);
    HTREEITEM Insert(HTREEITEM parent, const std::string& text, TFindNodeRef ref);
    void Click(HTREEITEM item, bool ctrl, bool shift);
    void CaretMoved(HTREEITEM item, bool byKeyboard);
    void SelectRange(HTREEITEM anchor, HTREEITEM to);
    void MoveCaret(HTREEITEM item);
    void ApplyStates();
    bool IsChosen(HTREEITEM item) const;
    std::optional<TFindNodeRef> RefOf(HTREEITEM item) const;
    LRESULT CustomDraw(NMTVCUSTOMDRAW& draw) const;

    HWND m_tree = nullptr;
    std::vector<TFindNodeRef> m_refs; // item data indexes this
    std::vector<HTREEITEM> m_fileItems; // one per file node, in tree order
    std::vector<HTREEITEM> m_chosen; // in the order chosen; no duplicates
    std::vector<HTREEITEM> m_shown; // had TVIS_SELECTED set last time
    HTREEITEM m_anchor = nullptr;
    bool m_movingCaret = false; // our own caret moves are not keyboard selections
    bool m_locked = false;
};

} // namespace wexly::win32
