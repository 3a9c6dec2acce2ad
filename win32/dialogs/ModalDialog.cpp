#include "dialogs/ModalDialog.h"

#include "platform/win32/WinStrings.h"

namespace wexly::win32 {

namespace {

bool IsOneLineEdit(HWND hwnd)
{
    wchar_t name[16] = {};
    if (!hwnd || !GetClassNameW(hwnd, name, 16) || lstrcmpiW(name, L"Edit") != 0)
        return false;
    return (GetWindowLongPtrW(hwnd, GWL_STYLE) & ES_MULTILINE) == 0;
}

} // namespace

bool DialogMessage(HWND dialog, MSG& msg)
{
    const bool key = msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN
        || msg.message == WM_CHAR || msg.message == WM_SYSCHAR;
    HWND before = key ? GetFocus() : nullptr;
    if (!IsDialogMessageW(dialog, &msg))
        return false;
    HWND after = key ? GetFocus() : nullptr;
    if (after != before && IsOneLineEdit(after) && IsChild(dialog, after))
        SendMessageW(after, EM_SETSEL, 0, -1);
    return true;
}

TModalDialog::~TModalDialog()
{
    if (m_hwnd)
        DestroyWindow(m_hwnd);
}

bool TModalDialog::Create(HWND owner, int templateId)
{
    m_owner = owner;
    m_hwnd = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(templateId), owner,
        &TModalDialog::StaticProc, reinterpret_cast<LPARAM>(this));
    return m_hwnd != nullptr;
}

int TModalDialog::ShowModal()
{
    if (!m_hwnd)
        return IDCANCEL;
    m_result = 0;
    OnShow();
    // Centre over the owner each time, as a modal dialog box would appear.
    RECT owner {};
    RECT self {};
    GetWindowRect(m_owner, &owner);
    GetWindowRect(m_hwnd, &self);
    const int x = owner.left + ((owner.right - owner.left) - (self.right - self.left)) / 2;
    const int y = owner.top + ((owner.bottom - owner.top) - (self.bottom - self.top)) / 2;
    SetWindowPos(m_hwnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);

    EnableWindow(m_owner, FALSE);
    ShowWindow(m_hwnd, SW_SHOW);
    SetForegroundWindow(m_hwnd);
    bool quit = false;
    WPARAM quitCode = 0;
    while (m_result == 0) {
        MSG msg;
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) {
            // Leave the loop and hand WM_QUIT on to the program's own loop.
            quit = true;
            quitCode = msg.wParam;
            m_result = IDCANCEL;
            break;
        }
        if (got == -1)
            break;
        if (!DialogMessage(m_hwnd, msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    // Enable the owner before hiding so the activation goes back to it.
    EnableWindow(m_owner, TRUE);
    ShowWindow(m_hwnd, SW_HIDE);
    SetActiveWindow(m_owner);
    if (quit)
        PostQuitMessage(static_cast<int>(quitCode));
    return m_result == 0 ? IDCANCEL : m_result;
}

INT_PTR CALLBACK TModalDialog::StaticProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_INITDIALOG) {
        auto* self = reinterpret_cast<TModalDialog*>(lp);
        SetWindowLongPtrW(hwnd, DWLP_USER, lp);
        self->m_hwnd = hwnd;
        return FALSE; // the focus is set on each showing
    }
    auto* self = reinterpret_cast<TModalDialog*>(GetWindowLongPtrW(hwnd, DWLP_USER));
    if (!self)
        return FALSE;
    switch (msg) {
    case WM_COMMAND:
        self->OnCommand(LOWORD(wp), HIWORD(wp));
        return TRUE;
    case WM_CLOSE:
        self->OnCommand(IDCANCEL, BN_CLICKED);
        return TRUE;
    default:
        return FALSE;
    }
}

std::string TModalDialog::ItemText(int id) const
{
    HWND item = Item(id);
    const int length = GetWindowTextLengthW(item);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const int got = GetWindowTextW(item, text.data(), length + 1);
    text.resize(static_cast<size_t>(got > 0 ? got : 0));
    return WideToUtf8(text);
}

void TModalDialog::SetItemText(int id, const std::string& text)
{
    SetWindowTextW(Item(id), Utf8ToWide(text).c_str());
}

bool TModalDialog::Checked(int id) const
{
    return IsDlgButtonChecked(m_hwnd, id) == BST_CHECKED;
}

void TModalDialog::SetChecked(int id, bool on)
{
    CheckDlgButton(m_hwnd, id, on ? BST_CHECKED : BST_UNCHECKED);
}

void TModalDialog::Enable(int id, bool on)
{
    EnableWindow(Item(id), on ? TRUE : FALSE);
}

void TModalDialog::FillCombo(int id, const std::vector<std::string>& items, const std::string& text)
{
    HWND combo = Item(id);
    SendMessageW(combo, CB_RESETCONTENT, 0, 0);
    for (const std::string& item : items)
        SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Utf8ToWide(item).c_str()));
    SetItemText(id, text);
    // As picking it from the list would: typing replaces it.
    SendMessageW(combo, CB_SETEDITSEL, 0, MAKELPARAM(0, 0xFFFF));
}

void TModalDialog::FocusAndSelect(int id)
{
    HWND item = Item(id);
    SetFocus(item);
    SendMessageW(item, CB_SETEDITSEL, 0, MAKELPARAM(0, 0xFFFF));
    SendMessageW(item, EM_SETSEL, 0, -1);
}

} // namespace wexly::win32
