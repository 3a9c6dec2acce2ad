#include "win32/dialogs/PilesPageView.h"

#include "win32/platform/WinStrings.h"
#include "win32/res/dialogs/PrefIds.h"

#include <windowsx.h>

namespace wexly::win32 {

namespace {

constexpr int kImageSize = 16;

// Pictures of the three node kinds, drawn once: a folder, a page, a page with a dark band.
HBITMAP DrawNodeImages(HDC screen)
{
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, kImageSize * 3, kImageSize);
    HGDIOBJ old = SelectObject(dc, bitmap);
    const RECT all { 0, 0, kImageSize * 3, kImageSize };
    HBRUSH mask = CreateSolidBrush(RGB(255, 0, 255));
    FillRect(dc, &all, mask);
    DeleteObject(mask);
    HBRUSH folder = CreateSolidBrush(RGB(230, 190, 60));
    HBRUSH page = CreateSolidBrush(RGB(255, 255, 255));
    HBRUSH band = CreateSolidBrush(RGB(40, 40, 120));
    HGDIOBJ oldPen = SelectObject(dc, GetStockObject(BLACK_PEN));
    HGDIOBJ oldBrush = SelectObject(dc, folder);
    Rectangle(dc, 1, 3, 8, 6);
    Rectangle(dc, 1, 5, 15, 14);
    for (int kind = 1; kind <= 2; ++kind) {
        const int x = kind * kImageSize;
        SelectObject(dc, page);
        Rectangle(dc, x + 3, 1, x + 13, 15);
        for (int y = 4; y < 13; y += 3) {
            MoveToEx(dc, x + 5, y, nullptr);
            LineTo(dc, x + 11, y);
        }
    }
    const RECT binary { 2 * kImageSize + 4, 9, 2 * kImageSize + 12, 14 };
    FillRect(dc, &binary, band);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    DeleteObject(folder);
    DeleteObject(page);
    DeleteObject(band);
    SelectObject(dc, old);
    DeleteDC(dc);
    return bitmap;
}

} // namespace

TPilesPageView::TPilesPageView(TPileTree& tree, IAsker& asker)
    : m_tree(tree)
    , m_asker(asker)
{
}

TPilesPageView::~TPilesPageView()
{
    if (m_images)
        ImageList_Destroy(m_images);
}

HWND TPilesPageView::Tree() const
{
    return GetDlgItem(m_dialog, IDC_PILE_TREE);
}

void TPilesPageView::Attach(HWND dialog)
{
    m_dialog = dialog;
    CreateImages();
}

void TPilesPageView::CreateImages()
{
    m_images = ImageList_Create(kImageSize, kImageSize, ILC_COLOR24 | ILC_MASK, 3, 0);
    HDC screen = GetDC(nullptr);
    HBITMAP pictures = DrawNodeImages(screen);
    ReleaseDC(nullptr, screen);
    ImageList_AddMasked(m_images, pictures, RGB(255, 0, 255));
    DeleteObject(pictures);
    TreeView_SetImageList(Tree(), m_images, TVSIL_NORMAL);
}

void TPilesPageView::Load()
{
    m_dragged = nullptr;
    Rebuild();
}

void TPilesPageView::Insert(TPileNode& node, HTREEITEM parent)
{
    const std::wstring label = Utf8ToWide(node.label);
    TVINSERTSTRUCTW insert {};
    insert.hParent = parent;
    insert.hInsertAfter = TVI_LAST; // the model keeps the order
    insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM;
    insert.item.pszText = const_cast<wchar_t*>(label.c_str());
    insert.item.iImage = insert.item.iSelectedImage = node.image;
    insert.item.lParam = reinterpret_cast<LPARAM>(&node);
    HTREEITEM item = TreeView_InsertItem(Tree(), &insert);
    m_items[&node] = item;
    for (auto& child : node.children)
        Insert(*child, item);
    if (node.expanded && !node.children.empty())
        TreeView_Expand(Tree(), item, TVE_EXPAND);
}

void TPilesPageView::Rebuild()
{
    HWND tree = Tree();
    m_filling = true;
    SendMessageW(tree, WM_SETREDRAW, FALSE, 0);
    TreeView_DeleteAllItems(tree);
    m_items.clear();
    if (TPileNode* root = m_tree.Root())
        Insert(*root, TVI_ROOT);
    if (TPileNode* selected = m_tree.Selected())
        TreeView_SelectItem(tree, m_items[selected]);
    SendMessageW(tree, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(tree, nullptr, TRUE);
    m_filling = false;
    ShowBinaryCheck();
}

TPileNode* TPilesPageView::NodeOf(HTREEITEM item) const
{
    if (!item)
        return nullptr;
    TVITEMW tv {};
    tv.mask = TVIF_PARAM;
    tv.hItem = item;
    if (!TreeView_GetItem(Tree(), &tv))
        return nullptr;
    return reinterpret_cast<TPileNode*>(tv.lParam);
}

HTREEITEM TPilesPageView::ItemAt(POINT screen) const
{
    TVHITTESTINFO hit {};
    hit.pt = screen;
    ScreenToClient(Tree(), &hit.pt);
    HTREEITEM item = TreeView_HitTest(Tree(), &hit);
    return (hit.flags & TVHT_ONITEM) ? item : nullptr;
}

void TPilesPageView::ShowBinaryCheck()
{
    const TBinaryCheck check = m_tree.BinaryCheck();
    CheckDlgButton(m_dialog, IDC_PILE_BINARY, check.checked ? BST_CHECKED : BST_UNCHECKED);
    EnableWindow(GetDlgItem(m_dialog, IDC_PILE_BINARY), check.enabled);
}

void TPilesPageView::Command(int id, int code)
{
    if (id != IDC_PILE_BINARY || code != BN_CLICKED)
        return;
    m_tree.BinaryClick(IsDlgButtonChecked(m_dialog, IDC_PILE_BINARY) == BST_CHECKED);
    Rebuild();
}

void TPilesPageView::NewNode(bool pile)
{
    // A sub-pile past the last identifier could not be stored.
    if (pile && m_tree.Selected() && !m_tree.CanAddSubPile()) {
        MessageBeep(MB_ICONEXCLAMATION);
        return;
    }
    TPileNode* node = m_tree.NewNode(pile);
    if (!node)
        return;
    node->parent->expanded = true;
    m_tree.Select(node);
    Rebuild();
    // The new node's label is edited at once, as it would be renamed next anyway.
    SetFocus(Tree());
    TreeView_EditLabel(Tree(), m_items[node]);
}

void TPilesPageView::ContextMenu(HWND from, LPARAM lp)
{
    if (from != Tree())
        return;
    POINT at { GET_X_LPARAM(lp), GET_Y_LPARAM(lp) };
    if (lp == -1) {
        // From the keyboard: below the selected node.
        RECT r {};
        HTREEITEM selected = TreeView_GetSelection(Tree());
        if (selected && TreeView_GetItemRect(Tree(), selected, &r, TRUE)) {
            at = { r.left, r.bottom };
            ClientToScreen(Tree(), &at);
        } else {
            at = {};
            ClientToScreen(Tree(), &at);
        }
    } else if (HTREEITEM item = ItemAt(at)) {
        TreeView_SelectItem(Tree(), item);
    }
    HMENU menu = CreatePopupMenu();
    UINT command = 1;
    for (const TPilePopupItem& item : kPilePopupItems) {
        if (item.visible) {
            if (std::string(item.caption) == "-")
                AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
            else
                AppendMenuW(menu, MF_STRING, command, Utf8ToWide(item.caption).c_str());
        }
        ++command;
    }
    const auto chosen = static_cast<UINT>(
        TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x, at.y, 0, m_dialog, nullptr));
    DestroyMenu(menu);
    if (chosen == 0 || chosen > std::size(kPilePopupItems))
        return;
    const TPilePopupItem& item = kPilePopupItems[chosen - 1];
    if (std::string(item.caption) == "&Delete") {
        m_tree.DeleteSelected(m_asker);
        Rebuild();
    } else {
        NewNode(item.tag == 0);
    }
}

bool TPilesPageView::Notify(const NMHDR& header, LRESULT& result)
{
    if (header.idFrom != IDC_PILE_TREE)
        return false;
    result = 0;
    switch (header.code) {
    case TVN_SELCHANGEDW:
        if (!m_filling) {
            const auto& change = reinterpret_cast<const NMTREEVIEWW&>(header);
            m_tree.Select(NodeOf(change.itemNew.hItem));
            ShowBinaryCheck();
        }
        return true;
    case TVN_ITEMEXPANDEDW:
        if (!m_filling) {
            const auto& change = reinterpret_cast<const NMTREEVIEWW&>(header);
            if (TPileNode* node = NodeOf(change.itemNew.hItem))
                node->expanded = (change.action & TVE_EXPAND) != 0;
        }
        return true;
    case TVN_BEGINLABELEDITW:
        m_tree.BeginLabelEdit(NodeOf(reinterpret_cast<const NMTVDISPINFOW&>(header).item.hItem));
        return true;
    case TVN_ENDLABELEDITW: {
        const auto& info = reinterpret_cast<const NMTVDISPINFOW&>(header);
        TPileNode* node = m_tree.Editing();
        // An edit given up keeps the old label.
        m_tree.EndLabelEdit(info.item.pszText ? WideToUtf8(info.item.pszText)
                                              : (node ? node->label : std::string()));
        // The tree is still inside its edit: rebuild once it has left it.
        PostMessageW(m_dialog, kRebuildMessage, 0, 0);
        return true;
    }
    case TVN_BEGINDRAGW:
        m_dragged = NodeOf(reinterpret_cast<const NMTREEVIEWW&>(header).itemNew.hItem);
        if (m_dragged)
            SetCapture(m_dialog);
        return true;
    default:
        return false;
    }
}

bool TPilesPageView::Mouse(UINT msg, LPARAM lp)
{
    if (!m_dragged)
        return false;
    POINT at { GET_X_LPARAM(lp), GET_Y_LPARAM(lp) };
    ClientToScreen(m_dialog, &at);
    switch (msg) {
    case WM_MOUSEMOVE:
        TreeView_SelectDropTarget(Tree(), ItemAt(at));
        return true;
    case WM_LBUTTONUP: {
        TPileNode* dragged = m_dragged;
        m_dragged = nullptr;
        ReleaseCapture();
        TreeView_SelectDropTarget(Tree(), nullptr);
        TPileNode* target = NodeOf(ItemAt(at));
        if (m_tree.Drop(dragged, target)) {
            dragged->parent->expanded = true;
            m_tree.Select(dragged);
            Rebuild();
        }
        return true;
    }
    case WM_CAPTURECHANGED:
        m_dragged = nullptr;
        TreeView_SelectDropTarget(Tree(), nullptr);
        return true;
    default:
        return false;
    }
}

bool TPilesPageView::EndEditForOk()
{
    if (!m_tree.Editing() && !TreeView_GetEditControl(Tree()))
        return false;
    if (TreeView_GetEditControl(Tree()))
        TreeView_EndEditLabelNow(Tree(), FALSE);
    else
        m_tree.EndLabelEdit(m_tree.Editing()->label);
    return true;
}

} // namespace wexly::win32
