#include "dialogs/DicChooseDialog.h"

#include "MenuIds.h"
#include "main/GdiSettings.h"
#include "platform/win32/WinStrings.h"

#include <vector>

namespace wexly::win32 {

TDicChooseDialog::TDicChooseDialog(HWND owner, TSettings& settings, IFileDialogs& dialogs)
    : m_owner(owner)
    , m_settings(settings)
    , m_dialogs(dialogs)
{
}

bool TDicChooseDialog::ShowModal(TDicChooseModel& model)
{
    m_model = &model;
    model.Show(m_settings);
    const INT_PTR answer = DialogBoxParamW(GetModuleHandleW(nullptr),
        MAKEINTRESOURCEW(IDD_DICCHOOSE), m_owner, Proc, reinterpret_cast<LPARAM>(this));
    m_model = nullptr;
    return answer == IDOK;
}

namespace {
std::string EditText(HWND dialog)
{
    HWND edit = GetDlgItem(dialog, IDC_DICCHOOSE_PATH);
    std::vector<wchar_t> buffer(static_cast<size_t>(GetWindowTextLengthW(edit)) + 1);
    GetWindowTextW(edit, buffer.data(), static_cast<int>(buffer.size()));
    return WideToUtf8(buffer.data());
}
} // namespace

// The position goes back to the settings however the dialog closes; the size is fixed.
void TDicChooseDialog::Close(HWND dialog, int result)
{
    m_settings.DicChooseRect = WindowBounds(dialog);
    EndDialog(dialog, result);
}

INT_PTR CALLBACK TDicChooseDialog::Proc(HWND dialog, UINT msg, WPARAM wp, LPARAM lp)
{
    auto* self = reinterpret_cast<TDicChooseDialog*>(GetWindowLongPtrW(dialog, DWLP_USER));
    switch (msg) {
    case WM_INITDIALOG: {
        self = reinterpret_cast<TDicChooseDialog*>(lp);
        SetWindowLongPtrW(dialog, DWLP_USER, lp);
        const TRect& b = self->m_settings.DicChooseRect;
        RECT own {};
        GetWindowRect(dialog, &own);
        if (b.Right > b.Left && b.Bottom > b.Top && GetSystemMetrics(SM_CXVIRTUALSCREEN) > b.Left)
            SetWindowPos(dialog, nullptr, b.Left, b.Top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        SetDlgItemTextW(dialog, IDC_DICCHOOSE_PATH, Utf8ToWide(self->m_model->path).c_str());
        return TRUE;
    }
    case WM_COMMAND:
        switch (LOWORD(wp)) {
        case IDC_DICCHOOSE_BROWSE:
            self->m_model->path = EditText(dialog);
            if (self->m_model->Browse(self->m_dialogs, self->m_settings))
                SetDlgItemTextW(
                    dialog, IDC_DICCHOOSE_PATH, Utf8ToWide(self->m_model->path).c_str());
            return TRUE;
        case IDOK:
            self->m_model->path = EditText(dialog);
            self->Close(dialog, IDOK);
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
