#include "dialogs/ListPickDialog.h"

#include "main/GdiSettings.h"

namespace wexly::win32 {

namespace {
// An owner-drawn list asks for its row height while it is made, before the window knows
// whose it is.
TListPickDialog* g_opening = nullptr;
} // namespace

TListPickDialog::TListPickDialog(HWND owner, int templateId, int listId)
    : m_owner(owner)
    , m_templateId(templateId)
    , m_listId(listId)
{
}

bool TListPickDialog::Run()
{
    g_opening = this;
    const INT_PTR answer = DialogBoxParamW(GetModuleHandleW(nullptr),
        MAKEINTRESOURCEW(m_templateId), m_owner, Proc, reinterpret_cast<LPARAM>(this));
    g_opening = nullptr;
    return answer == IDOK;
}

void TListPickDialog::Close(HWND dialog, int result)
{
    StoreBounds(WindowBounds(dialog));
    EndDialog(dialog, result);
}

INT_PTR CALLBACK TListPickDialog::Proc(HWND dialog, UINT msg, WPARAM wp, LPARAM lp)
{
    auto* self = reinterpret_cast<TListPickDialog*>(GetWindowLongPtrW(dialog, DWLP_USER));
    switch (msg) {
    case WM_INITDIALOG: {
        self = reinterpret_cast<TListPickDialog*>(lp);
        SetWindowLongPtrW(dialog, DWLP_USER, lp);
        HWND list = GetDlgItem(dialog, self->m_listId);
        SendMessageW(list, LB_RESETCONTENT, 0, 0);
        self->Fill(dialog, list);
        SetFocus(list);
        return FALSE; // the list has the focus
    }
    case WM_MEASUREITEM: {
        const TListPickDialog* sizing = self ? self : g_opening;
        if (sizing && sizing->RowHeight())
            reinterpret_cast<MEASUREITEMSTRUCT*>(lp)->itemHeight = sizing->RowHeight();
        return TRUE;
    }
    case WM_DRAWITEM:
        if (self)
            self->DrawRow(*reinterpret_cast<const DRAWITEMSTRUCT*>(lp));
        return TRUE;
    case WM_SIZE:
        // The list fills the window; any buttons stay hidden under it.
        if (self)
            MoveWindow(GetDlgItem(dialog, self->m_listId), 0, 0, LOWORD(lp), HIWORD(lp), TRUE);
        return TRUE;
    case WM_COMMAND: {
        if (!self)
            return FALSE;
        const int id = LOWORD(wp);
        if (id == IDCANCEL) {
            self->Close(dialog, IDCANCEL);
            return TRUE;
        }
        if (id != IDOK && !(id == self->m_listId && HIWORD(wp) == LBN_DBLCLK))
            return FALSE;
        const LRESULT selected
            = SendMessageW(GetDlgItem(dialog, self->m_listId), LB_GETCURSEL, 0, 0);
        if (self->Pick(selected == LB_ERR ? -1 : static_cast<int>(selected)))
            self->Close(dialog, IDOK);
        return TRUE;
    }
    default:
        return FALSE;
    }
}

} // namespace wexly::win32
