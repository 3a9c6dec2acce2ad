#include "win32/dialogs/ModalDialog.h"

#include "win32/Win32Window.h"
#include "win32/platform/WinStrings.h"

#include <exception>

namespace wexly::win32 {

namespace {

// An owner-drawn list asks for its row height while the dialog is being made, before
// WM_INITDIALOG says whose dialog it is.
thread_local TModalDialog* t_opening = nullptr;

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
    if (m_hwnd) {
        // The derived part is gone: what the controls send while they are destroyed must not
        // reach its handlers.
        SetWindowLongPtrW(m_hwnd, DWLP_USER, 0);
        DestroyWindow(m_hwnd);
    }
}

bool TModalDialog::Create(HWND owner, int templateId)
{
    m_owner = owner;
    t_opening = this;
    m_hwnd = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(templateId), owner,
        &TModalDialog::StaticProc, reinterpret_cast<LPARAM>(this));
    t_opening = nullptr;
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

int TModalDialog::RunModal(HWND owner, int templateId)
{
    m_owner = owner;
    m_systemModal = true;
    m_result = 0;
    t_opening = this;
    const INT_PTR got = DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(templateId),
        owner, &TModalDialog::StaticProc, reinterpret_cast<LPARAM>(this));
    t_opening = nullptr;
    m_systemModal = false;
    m_hwnd = nullptr;
    return got <= 0 ? IDCANCEL : static_cast<int>(got);
}

void TModalDialog::EndModal(int result)
{
    m_result = result;
    if (m_systemModal && m_hwnd)
        EndDialog(m_hwnd, result);
}

bool TModalDialog::OnNotify(const NMHDR&, LRESULT&)
{
    return false;
}

bool TModalDialog::OnSize(int, int)
{
    return false;
}

bool TModalDialog::OnDrawItem(const DRAWITEMSTRUCT&)
{
    return false;
}

bool TModalDialog::OnMessage(UINT, WPARAM, LPARAM, LRESULT&)
{
    return false;
}

INT_PTR CALLBACK TModalDialog::StaticProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_INITDIALOG) {
        SetWindowLongPtrW(hwnd, DWLP_USER, lp);
        reinterpret_cast<TModalDialog*>(lp)->m_hwnd = hwnd;
        t_opening = nullptr; // a dialog opened from OnInit has its own
    }
    auto* self = reinterpret_cast<TModalDialog*>(GetWindowLongPtrW(hwnd, DWLP_USER));
    if (!self && msg == WM_MEASUREITEM)
        self = t_opening;
    if (!self)
        return FALSE;
    try {
        return self->Route(hwnd, msg, wp, lp);
    } catch (const std::exception& e) {
        ShowUnexpectedError(e.what());
    } catch (...) {
        ShowUnexpectedError("Unknown error");
    }
    return FALSE;
}

INT_PTR TModalDialog::Route(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    LRESULT result = 0;
    bool handled = false;
    switch (msg) {
    case WM_INITDIALOG:
        return OnInit() ? TRUE : FALSE;
    case WM_COMMAND:
        OnCommand(LOWORD(wp), HIWORD(wp));
        return TRUE;
    case WM_CLOSE:
        OnClose();
        return TRUE;
    case WM_NOTIFY:
        handled = OnNotify(*reinterpret_cast<const NMHDR*>(lp), result);
        break;
    case WM_SIZE:
        handled = OnSize(LOWORD(lp), HIWORD(lp));
        break;
    case WM_DRAWITEM:
        handled = OnDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lp));
        result = TRUE;
        break;
    default:
        handled = OnMessage(msg, wp, lp, result);
        break;
    }
    if (!handled)
        return FALSE;
    // These few return their value directly; every other message through DWLP_MSGRESULT.
    switch (msg) {
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_QUERYDRAGICON:
        return static_cast<INT_PTR>(result);
    default:
        SetWindowLongPtrW(hwnd, DWLP_MSGRESULT, result);
        return TRUE;
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
