#include "dialogs/ToolListDialog.h"

#include "dialogs/ToolIds.h"
#include "main/GdiSettings.h"
#include "platform/win32/WinStrings.h"

namespace wexly::win32 {

TToolListDialog::TToolListDialog(HWND owner, TSettings& settings)
    : m_owner(owner)
    , m_settings(settings)
{
}

bool TToolListDialog::ShowModal(TToolListForm& form)
{
    m_form = &form;
    const INT_PTR answer = DialogBoxParamW(GetModuleHandleW(nullptr),
        MAKEINTRESOURCEW(IDD_TOOLLIST), m_owner, Proc, reinterpret_cast<LPARAM>(this));
    m_form = nullptr;
    return answer == IDOK;
}

void TToolListDialog::Init(HWND dialog)
{
    ApplyStoredBounds(dialog, m_form->Bounds());
    SetWindowTextW(dialog, Utf8ToWide(TToolListForm::Caption).c_str());
    HWND list = GetDlgItem(dialog, IDC_TL_LIST);
    SendMessageW(list, LB_RESETCONTENT, 0, 0);
    for (const std::string& name : m_form->Names())
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Utf8ToWide(name).c_str()));
    SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(m_form->Selected()), 0);
    SetFocus(list);
}

void TToolListDialog::Choose(HWND dialog)
{
    const LRESULT selected = SendMessageW(GetDlgItem(dialog, IDC_TL_LIST), LB_GETCURSEL, 0, 0);
    m_form->Select(selected == LB_ERR ? -1 : static_cast<int>(selected));
    // Enter with nothing selected leaves the window open.
    if (m_form->Choose())
        Close(dialog, IDOK);
}

void TToolListDialog::Close(HWND dialog, int result)
{
    TToolListForm::Hide(WindowBounds(dialog), m_settings.ToolListRect);
    EndDialog(dialog, result);
}

INT_PTR CALLBACK TToolListDialog::Proc(HWND dialog, UINT msg, WPARAM wp, LPARAM lp)
{
    auto* self = reinterpret_cast<TToolListDialog*>(GetWindowLongPtrW(dialog, DWLP_USER));
    switch (msg) {
    case WM_INITDIALOG:
        self = reinterpret_cast<TToolListDialog*>(lp);
        SetWindowLongPtrW(dialog, DWLP_USER, lp);
        self->Init(dialog);
        return FALSE; // the list has the focus
    case WM_SIZE:
        MoveWindow(GetDlgItem(dialog, IDC_TL_LIST), 0, 0, LOWORD(lp), HIWORD(lp), TRUE);
        return TRUE;
    case WM_COMMAND:
        if (!self || !self->m_form)
            return FALSE;
        switch (LOWORD(wp)) {
        case IDC_TL_LIST:
            if (HIWORD(wp) == LBN_DBLCLK)
                self->Choose(dialog);
            return TRUE;
        case IDOK:
            self->Choose(dialog);
            return TRUE;
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
