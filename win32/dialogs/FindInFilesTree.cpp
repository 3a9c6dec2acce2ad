#include "win32/dialogs/FindInFilesTree.h"

#include "win32/Win32Window.h"

#include "win32/platform/WinStrings.h"

#include <windowsx.h>

#include <algorithm>

namespace wexly::win32 {

TFindInFilesTree::~TFindInFilesTree()
{
    if (m_tree && IsWindow(m_tree))
        RemoveWindowSubclass(m_tree, &TFindInFilesTree::SubclassProc, 0);
}

void TFindInFilesTree::Attach(HWND tree)
{
    m_tree = tree;
    SetWindowSubclass(tree, &TFindInFilesTree::SubclassProc, 0, reinterpret_cast<DWORD_PTR>(this));
}

// ---- contents ----------------------------------------------------------------------------

void TFindInFilesTree::Clear()
{
    m_movingCaret = true; // deleting the caret node moves the caret
    TreeView_DeleteAllItems(m_tree);
    m_movingCaret = false;
    m_refs.clear();
    m_fileItems.clear();
    m_chosen.clear();
    m_shown.clear();
    m_anchor = nullptr;
}

HTREEITEM TFindInFilesTree::Insert(HTREEITEM parent, const std::string& text, TFindNodeRef ref)
{
    const std::wstring wide = Utf8ToWide(text);
    TVINSERTSTRUCTW insert {};
    insert.hParent = parent;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_PARAM;
    insert.item.pszText = const_cast<wchar_t*>(wide.c_str());
    insert.item.lParam = static_cast<LPARAM>(m_refs.size());
    m_refs.push_back(ref);
    return TreeView_InsertItem(m_tree, &insert);
}

void TFindInFilesTree::AddFile(const TFindResultTree& tree, size_t file)
{
    if (file >= tree.files.size())
        return;
    const TFoundFile& found = tree.files[file];
    HTREEITEM node = Insert(TVI_ROOT, found.path, TFindNodeRef { file, -1 });
    m_fileItems.push_back(node);
    for (size_t i = 0; i < found.lines.size(); ++i)
        Insert(node, found.lines[i].text, TFindNodeRef { file, static_cast<int>(i) });
    if (found.expanded)
        TreeView_Expand(m_tree, node, TVE_EXPAND);
}

void TFindInFilesTree::Refresh(const TFindResultTree& tree)
{
    while (m_fileItems.size() < tree.files.size())
        AddFile(tree, m_fileItems.size());
    for (size_t i = 0; i < m_fileItems.size() && i < tree.files.size(); ++i)
        TreeView_Expand(m_tree, m_fileItems[i], tree.files[i].expanded ? TVE_EXPAND : TVE_COLLAPSE);
    if (!m_fileItems.empty()) {
        TreeView_EnsureVisible(m_tree, m_fileItems.front());
        TreeView_SelectSetFirstVisible(m_tree, m_fileItems.front());
    }
}

void TFindInFilesTree::ClearSelection()
{
    m_chosen.clear();
    m_anchor = nullptr;
    MoveCaret(nullptr);
    ApplyStates();
}

// ---- selection ---------------------------------------------------------------------------

std::optional<TFindNodeRef> TFindInFilesTree::RefOf(HTREEITEM item) const
{
    if (!item)
        return std::nullopt;
    TVITEMW tv {};
    tv.mask = TVIF_PARAM | TVIF_HANDLE;
    tv.hItem = item;
    if (!TreeView_GetItem(m_tree, &tv) || tv.lParam < 0
        || static_cast<size_t>(tv.lParam) >= m_refs.size())
        return std::nullopt;
    return m_refs[static_cast<size_t>(tv.lParam)];
}

std::vector<TFindNodeRef> TFindInFilesTree::Selection() const
{
    std::vector<TFindNodeRef> refs;
    for (HTREEITEM item : m_chosen)
        if (auto ref = RefOf(item))
            refs.push_back(*ref);
    return refs;
}

std::optional<TFindNodeRef> TFindInFilesTree::Focused() const
{
    HTREEITEM caret = TreeView_GetSelection(m_tree);
    if (caret && IsChosen(caret))
        return RefOf(caret);
    return m_chosen.empty() ? std::nullopt : RefOf(m_chosen.back());
}

bool TFindInFilesTree::IsChosen(HTREEITEM item) const
{
    return std::find(m_chosen.begin(), m_chosen.end(), item) != m_chosen.end();
}

void TFindInFilesTree::MoveCaret(HTREEITEM item)
{
    m_movingCaret = true;
    TreeView_SelectItem(m_tree, item);
    m_movingCaret = false;
}

void TFindInFilesTree::Click(HTREEITEM item, bool ctrl, bool shift)
{
    if (shift && m_anchor) {
        SelectRange(m_anchor, item);
    } else if (ctrl) {
        const auto it = std::find(m_chosen.begin(), m_chosen.end(), item);
        if (it == m_chosen.end())
            m_chosen.push_back(item);
        else
            m_chosen.erase(it);
        m_anchor = item;
    } else {
        m_chosen.assign(1, item);
        m_anchor = item;
    }
    MoveCaret(item);
    ApplyStates();
    if (OnSelectionChanged)
        OnSelectionChanged();
}

void TFindInFilesTree::CaretMoved(HTREEITEM item, bool byKeyboard)
{
    if (!item)
        return;
    if (byKeyboard && m_anchor && GetKeyState(VK_SHIFT) < 0) {
        SelectRange(m_anchor, item);
    } else {
        m_chosen.assign(1, item);
        m_anchor = item;
    }
    ApplyStates();
    if (OnSelectionChanged)
        OnSelectionChanged();
}

// The nodes shown between the anchor and `to`, both included, listed from the anchor on.
void TFindInFilesTree::SelectRange(HTREEITEM anchor, HTREEITEM to)
{
    std::vector<HTREEITEM> shown;
    for (HTREEITEM i = TreeView_GetRoot(m_tree); i; i = TreeView_GetNextVisible(m_tree, i))
        shown.push_back(i);
    const auto a = std::find(shown.begin(), shown.end(), anchor);
    const auto b = std::find(shown.begin(), shown.end(), to);
    if (a == shown.end() || b == shown.end()) {
        m_chosen.assign(1, to);
        m_anchor = to;
        return;
    }
    m_chosen.clear();
    if (a <= b)
        m_chosen.assign(a, b + 1);
    else
        for (auto i = a;; --i) {
            m_chosen.push_back(*i);
            if (i == b)
                break;
        }
}

// TVIS_SELECTED marks the chosen nodes for anyone reading the control; the drawing follows the
// chosen list itself (see CustomDraw), as the control highlights only its caret node.
void TFindInFilesTree::ApplyStates()
{
    for (HTREEITEM item : m_shown)
        if (!IsChosen(item))
            TreeView_SetItemState(m_tree, item, 0, TVIS_SELECTED);
    for (HTREEITEM item : m_chosen)
        TreeView_SetItemState(m_tree, item, TVIS_SELECTED, TVIS_SELECTED);
    HTREEITEM caret = TreeView_GetSelection(m_tree);
    if (caret && !IsChosen(caret))
        TreeView_SetItemState(m_tree, caret, 0, TVIS_SELECTED);
    m_shown = m_chosen;
    InvalidateRect(m_tree, nullptr, TRUE);
}

// ---- messages ----------------------------------------------------------------------------

LRESULT TFindInFilesTree::CustomDraw(NMTVCUSTOMDRAW& draw) const
{
    if (draw.nmcd.dwDrawStage == CDDS_PREPAINT)
        return CDRF_NOTIFYITEMDRAW;
    if (draw.nmcd.dwDrawStage != CDDS_ITEMPREPAINT)
        return CDRF_DODEFAULT;
    const bool chosen = IsChosen(reinterpret_cast<HTREEITEM>(draw.nmcd.dwItemSpec));
    draw.nmcd.uItemState &= ~static_cast<UINT>(CDIS_SELECTED | CDIS_FOCUS);
    draw.clrText = GetSysColor(chosen ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT);
    draw.clrTextBk = GetSysColor(chosen ? COLOR_HIGHLIGHT : COLOR_WINDOW);
    return CDRF_DODEFAULT;
}

bool TFindInFilesTree::Notify(const NMHDR& header, LRESULT& result)
{
    if (header.hwndFrom != m_tree)
        return false;
    if (header.code == NM_CUSTOMDRAW) {
        result = CustomDraw(*reinterpret_cast<NMTVCUSTOMDRAW*>(const_cast<NMHDR*>(&header)));
        return true;
    }
    if (header.code == TVN_SELCHANGEDW) {
        const auto& change = reinterpret_cast<const NMTREEVIEWW&>(header);
        if (!m_movingCaret && !m_locked)
            CaretMoved(change.itemNew.hItem, change.action == TVC_BYKEYBOARD);
        result = 0;
        return true;
    }
    return false;
}

LRESULT CALLBACK TFindInFilesTree::SubclassProc(
    HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR data)
{
    return GuardedProc([&]() -> LRESULT {
        auto* self = reinterpret_cast<TFindInFilesTree*>(data);
        if (msg == WM_LBUTTONDOWN) {
            TVHITTESTINFO hit {};
            hit.pt = { GET_X_LPARAM(lp), GET_Y_LPARAM(lp) };
            HTREEITEM item = TreeView_HitTest(hwnd, &hit);
            if (item && (hit.flags & TVHT_ONITEM)) {
                SetFocus(hwnd);
                if (!self->m_locked)
                    self->Click(item, (wp & MK_CONTROL) != 0, (wp & MK_SHIFT) != 0);
                return 0;
            }
        }
        return DefSubclassProc(hwnd, msg, wp, lp);
    });
}

} // namespace wexly::win32
