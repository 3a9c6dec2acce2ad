#include "win32/dialogs/GotoLineDialog.h"

#include "win32/res/dialogs/GotoLineIds.h"

namespace wexly::win32 {

bool TGotoLineDialog::Create(HWND owner)
{
    if (!TModalDialog::Create(owner, IDD_GOTOLINE))
        return false;
    // Only the edit box is visible: the client area is cut to its size.
    RECT box {};
    GetWindowRect(Item(IDC_GOTO_LINE), &box);
    RECT outer = box;
    AdjustWindowRectEx(&outer, static_cast<DWORD>(GetWindowLongPtrW(Handle(), GWL_STYLE)), FALSE,
        static_cast<DWORD>(GetWindowLongPtrW(Handle(), GWL_EXSTYLE)));
    SetWindowPos(Handle(), nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
        SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    return true;
}

void TGotoLineDialog::OnShow()
{
    SetItemText(IDC_GOTO_LINE, m_model.BoxText());
    FocusAndSelect(IDC_GOTO_LINE);
}

void TGotoLineDialog::OnCommand(int id, int code)
{
    switch (id) {
    case IDC_GOTO_LINE:
        if (code == EN_CHANGE)
            m_model.BoxChanged(ItemText(id));
        break;
    case IDOK:
    case IDCANCEL:
        EndModal(id);
        break;
    default:
        break;
    }
}

} // namespace wexly::win32
