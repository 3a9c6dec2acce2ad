#include "win32/dialogs/MacroPageView.h"

#include "win32/platform/WinStrings.h"
#include "win32/res/dialogs/PrefIds.h"

#include <commctrl.h>
#include <windowsx.h>

namespace wexly::win32 {

namespace {

// The character the key gives with the current shift state; Ctrl and Alt do not count.
char LayoutChar(WPARAM key, LPARAM lp)
{
    BYTE state[256] = {};
    if (!GetKeyboardState(state))
        return 0;
    for (int modifier : { VK_CONTROL, VK_LCONTROL, VK_RCONTROL, VK_MENU, VK_LMENU, VK_RMENU })
        state[modifier] = 0;
    wchar_t buffer[4] = {};
    const int got = ToUnicode(
        static_cast<UINT>(key), static_cast<UINT>((lp >> 16) & 0xFF), state, buffer, 4, 0);
    if (got != 1 || buffer[0] < 32 || buffer[0] > 127)
        return 0;
    return static_cast<char>(buffer[0]);
}

} // namespace

TMacroPageView::TMacroPageView(IClipboard& clipboard)
    : m_clipboard(clipboard)
{
}

TMacroPageView::~TMacroPageView()
{
    if (m_display)
        RemoveWindowSubclass(m_display, DisplayProc, 0);
}

void TMacroPageView::Attach(HWND dialog, TMacroPageModel* model)
{
    m_dialog = dialog;
    m_model = model;
    m_display = GetDlgItem(dialog, IDC_MAC_DISPLAY);
    SetWindowSubclass(m_display, DisplayProc, 0, reinterpret_cast<DWORD_PTR>(this));
    HWND list = GetDlgItem(dialog, IDC_MAC_LIST);
    for (int i = 0; i < TMacroPageModel::kMacroCount; ++i)
        SendMessageW(list, LB_ADDSTRING, 0,
            reinterpret_cast<LPARAM>(Utf8ToWide(TMacroPageModel::MacroName(i)).c_str()));
}

void TMacroPageView::Load()
{
    for (int id = IDC_MAC_LIST; id <= IDC_MAC_SAVE; ++id)
        EnableWindow(GetDlgItem(m_dialog, id), m_model != nullptr);
    if (!m_model)
        return;
    SendMessageW(GetDlgItem(m_dialog, IDC_MAC_LIST), LB_SETCURSEL,
        static_cast<WPARAM>(m_model->SelectedIndex()), 0);
    ShowText();
}

void TMacroPageView::ShowText()
{
    SetWindowTextW(m_display, Utf8ToWide(m_model->Text()).c_str());
    // Tokens are always appended: the caret stays at the end.
    const int length = GetWindowTextLengthW(m_display);
    SendMessageW(m_display, EM_SETSEL, static_cast<WPARAM>(length), length);
    SendMessageW(m_display, EM_SCROLLCARET, 0, 0);
}

void TMacroPageView::FocusDisplay()
{
    SetFocus(m_display);
    ShowText();
}

void TMacroPageView::Command(int id, int code)
{
    if (!m_model)
        return;
    if (id == IDC_MAC_LIST) {
        if (code == LBN_SELCHANGE) {
            const LRESULT index = SendMessageW(GetDlgItem(m_dialog, id), LB_GETCURSEL, 0, 0);
            if (index != LB_ERR)
                m_model->SelectMacro(static_cast<int>(index));
            ShowText();
        }
        return;
    }
    if (code != BN_CLICKED)
        return;
    switch (id) {
    case IDC_MAC_BEGINSEL:
        m_model->BeginSelection();
        FocusDisplay();
        return;
    case IDC_MAC_ENDSEL:
        m_model->EndSelection();
        FocusDisplay();
        return;
    case IDC_MAC_BACK:
        m_model->DeleteLastKeypress();
        FocusDisplay();
        return;
    case IDC_MAC_CLEAR:
        m_model->ClearMacro();
        break;
    case IDC_MAC_CLEARALL:
        m_model->ClearAll();
        break;
    case IDC_MAC_LOAD:
        m_model->LoadMacroSet();
        break;
    case IDC_MAC_SAVE:
        m_model->SaveMacroSet();
        break;
    default:
        return;
    }
    Load();
}

void TMacroPageView::KeyDown(WPARAM key, LPARAM lp)
{
    const bool shift = GetKeyState(VK_SHIFT) < 0;
    const bool ctrl = GetKeyState(VK_CONTROL) < 0;
    const TMacroFocus focus
        = m_model->KeyDown(static_cast<uint8_t>(key), shift, ctrl, LayoutChar(key, lp));
    if (key >= VK_F1 && key <= VK_F12)
        SendMessageW(GetDlgItem(m_dialog, IDC_MAC_LIST), LB_SETCURSEL,
            static_cast<WPARAM>(m_model->SelectedIndex()), 0);
    ShowText();
    if (focus == TMacroFocus::BeginSelButton)
        SetFocus(GetDlgItem(m_dialog, IDC_MAC_BEGINSEL));
    else if (focus == TMacroFocus::MacroList)
        SetFocus(GetDlgItem(m_dialog, IDC_MAC_LIST));
}

void TMacroPageView::PasteMenu(LPARAM lp)
{
    POINT at { GET_X_LPARAM(lp), GET_Y_LPARAM(lp) };
    if (lp == -1) {
        at = {};
        ClientToScreen(m_display, &at);
    }
    HMENU menu = CreatePopupMenu();
    AppendMenuW(menu, MF_STRING, 1, L"&Paste");
    const BOOL chosen
        = TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x, at.y, 0, m_display, nullptr);
    DestroyMenu(menu);
    if (chosen == 1) {
        m_model->Paste(m_clipboard);
        ShowText();
    }
}

LRESULT TMacroPageView::DisplayMessage(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_GETDLGCODE: {
        // Every key is the box's, except Esc, which still cancels the dialog.
        const auto* pending = reinterpret_cast<const MSG*>(lp);
        if (pending && pending->wParam == VK_ESCAPE
            && (pending->message == WM_KEYDOWN || pending->message == WM_CHAR))
            return 0;
        return DLGC_WANTALLKEYS | DLGC_WANTCHARS | DLGC_WANTARROWS | DLGC_WANTTAB;
    }
    case WM_KEYDOWN:
        KeyDown(wp, lp);
        return 0;
    case WM_SYSKEYDOWN:
        // F10 arrives as a system key; other Alt keys keep working for the dialog.
        if (wp != VK_F10)
            return DefSubclassProc(hwnd, msg, wp, lp);
        KeyDown(wp, lp);
        return 0;
    case WM_CHAR:
    case WM_DEADCHAR:
    case WM_KEYUP:
    case WM_SYSKEYUP:
    case WM_PASTE:
    case WM_CUT:
    case WM_CLEAR:
    case WM_UNDO:
        if (msg == WM_SYSKEYUP && wp != VK_F10)
            return DefSubclassProc(hwnd, msg, wp, lp);
        return 0;
    case WM_CONTEXTMENU:
        PasteMenu(lp);
        return 0;
    default:
        return DefSubclassProc(hwnd, msg, wp, lp);
    }
}

LRESULT CALLBACK TMacroPageView::DisplayProc(
    HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR data)
{
    auto* self = reinterpret_cast<TMacroPageView*>(data);
    if (!self->m_model)
        return DefSubclassProc(hwnd, msg, wp, lp);
    try {
        return self->DisplayMessage(hwnd, msg, wp, lp);
    } catch (const std::exception& e) {
        MessageBoxW(hwnd, Utf8ToWide(e.what()).c_str(), L"Error", MB_OK | MB_ICONERROR);
        return 0;
    }
}

} // namespace wexly::win32
