#include "dialogs/WindowListDialog.h"

#include "MenuIds.h"
#include "art/ArtIds.h"
#include "controls/ZulGdiCanvas.h"
#include "main/GdiSettings.h"
#include "platform/win32/WinStrings.h"

#include <algorithm>

namespace wexly::win32 {

TWindowListDialog::TWindowListDialog(HWND owner, TSettings& settings)
    : m_owner(owner)
    , m_settings(settings)
{
}

bool TWindowListDialog::ShowModal(TWindowListForm& form)
{
    m_form = &form;
    const INT_PTR answer = DialogBoxParamW(GetModuleHandleW(nullptr),
        MAKEINTRESOURCEW(IDD_WINDOWLIST), m_owner, Proc, reinterpret_cast<LPARAM>(this));
    m_form = nullptr;
    return answer == IDOK;
}

void TWindowListDialog::Init(HWND dialog)
{
    ApplyStoredBounds(dialog, m_form->Bounds());
    SetWindowTextW(dialog, Utf8ToWide(m_form->Caption()).c_str());
    HWND list = GetDlgItem(dialog, IDC_WINDOWLIST_LIST);
    SendMessageW(list, LB_RESETCONTENT, 0, 0);
    for (int row = 0; row < m_form->RowCount(); ++row) {
        std::wstring text = Utf8ToWide(m_form->RowText(row));
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    SetFocus(list);
}

// Bounds go back to the settings however the dialog closes.
void TWindowListDialog::Close(HWND dialog, int result)
{
    TWindowListForm::Hide(WindowBounds(dialog), m_settings.WindowListRect);
    EndDialog(dialog, result);
}

void TWindowListDialog::DrawRow(const DRAWITEMSTRUCT& item) const
{
    if (item.itemID == static_cast<UINT>(-1) || !m_form)
        return;
    const int row = static_cast<int>(item.itemID);
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    HDC dc = item.hDC;
    const RECT& rc = item.rcItem;
    FillRect(dc, &rc, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    m_marks.Draw(dc, m_form->RowMark(row), m_settings.AlternateIcons,
        rc.left + TWindowListForm::kMarkLeft,
        TWindowListForm::MarkTop(rc.top, m_settings.AlternateIcons));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    if (row < m_form->RowCount()) {
        std::wstring text = Utf8ToWide(m_form->RowText(row));
        TextOutW(dc, rc.left + TWindowListForm::kTextLeft, rc.top + TWindowListForm::kTextTop,
            text.c_str(), static_cast<int>(text.size()));
    }
    if (item.itemState & ODS_FOCUS)
        DrawFocusRect(dc, &rc);
}

INT_PTR CALLBACK TWindowListDialog::Proc(HWND dialog, UINT msg, WPARAM wp, LPARAM lp)
{
    auto* self = reinterpret_cast<TWindowListDialog*>(GetWindowLongPtrW(dialog, DWLP_USER));
    switch (msg) {
    case WM_INITDIALOG:
        self = reinterpret_cast<TWindowListDialog*>(lp);
        SetWindowLongPtrW(dialog, DWLP_USER, lp);
        self->Init(dialog);
        return FALSE; // the list has the focus
    case WM_MEASUREITEM:
        reinterpret_cast<MEASUREITEMSTRUCT*>(lp)->itemHeight = TWindowListForm::kRowHeight;
        return TRUE;
    case WM_DRAWITEM:
        if (self)
            self->DrawRow(*reinterpret_cast<const DRAWITEMSTRUCT*>(lp));
        return TRUE;
    case WM_SIZE:
        // The list fills the window; the buttons stay hidden under it.
        MoveWindow(GetDlgItem(dialog, IDC_WINDOWLIST_LIST), 0, 0, LOWORD(lp), HIWORD(lp), TRUE);
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wp)) {
        case IDC_WINDOWLIST_LIST:
            if (HIWORD(wp) != LBN_DBLCLK)
                return FALSE;
            [[fallthrough]];
        case IDOK: {
            const auto selected = static_cast<int>(
                SendMessageW(GetDlgItem(dialog, IDC_WINDOWLIST_LIST), LB_GETCURSEL, 0, 0));
            self->m_form->Choose(selected == LB_ERR ? -1 : selected);
            self->Close(dialog, IDOK);
            return TRUE;
        }
        case IDCANCEL:
            self->Close(dialog, IDCANCEL);
            return TRUE;
        default:
            return FALSE;
        }
    default:
        return FALSE;
    }
}

} // namespace wexly::win32
