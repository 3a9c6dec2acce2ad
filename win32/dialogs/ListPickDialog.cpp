#include "win32/dialogs/ListPickDialog.h"

#include "win32/main/GdiSettings.h"

namespace wexly::win32 {

TListPickDialog::TListPickDialog(HWND owner, int templateId, int listId)
    : m_owner(owner)
    , m_templateId(templateId)
    , m_listId(listId)
{
}

bool TListPickDialog::Run()
{
    return RunModal(m_owner, m_templateId) == IDOK;
}

void TListPickDialog::Close(int result)
{
    StoreBounds(WindowBounds(Handle()));
    EndModal(result);
}

bool TListPickDialog::OnInit()
{
    HWND list = Item(m_listId);
    SendMessageW(list, LB_RESETCONTENT, 0, 0);
    Fill(Handle(), list);
    SetFocus(list);
    return false; // the list has the focus
}

bool TListPickDialog::OnMessage(UINT msg, WPARAM, LPARAM lp, LRESULT& result)
{
    if (msg != WM_MEASUREITEM)
        return false;
    if (RowHeight())
        reinterpret_cast<MEASUREITEMSTRUCT*>(lp)->itemHeight = RowHeight();
    result = TRUE;
    return true;
}

bool TListPickDialog::OnDrawItem(const DRAWITEMSTRUCT& item)
{
    DrawRow(item);
    return true;
}

// The list fills the window; any buttons stay hidden under it.
bool TListPickDialog::OnSize(int width, int height)
{
    MoveWindow(Item(m_listId), 0, 0, width, height, TRUE);
    return true;
}

void TListPickDialog::OnCommand(int id, int code)
{
    if (id == IDCANCEL) {
        Close(IDCANCEL);
        return;
    }
    if (id != IDOK && !(id == m_listId && code == LBN_DBLCLK))
        return;
    const LRESULT selected = SendMessageW(Item(m_listId), LB_GETCURSEL, 0, 0);
    if (Pick(selected == LB_ERR ? -1 : static_cast<int>(selected)))
        Close(IDOK);
}

} // namespace wexly::win32
