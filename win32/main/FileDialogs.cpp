#include "main/FileDialogs.h"

#include "MenuIds.h"
#include "dialogs/ReopenForm.h"
#include "platform/Files.h"
#include "platform/win32/WinStrings.h"

#include <commctrl.h>
#include <commdlg.h>

#include <algorithm>
#include <vector>

namespace wexly::win32 {

std::wstring DialogFilter(const std::string& filterList)
{
    std::wstring filter = Utf8ToWide(filterList.empty() ? "All Files (*.*)|*.*" : filterList);
    for (wchar_t& ch : filter)
        if (ch == L'|')
            ch = L'\0';
    filter.push_back(L'\0');
    filter.push_back(L'\0');
    return filter;
}

std::vector<std::string> SplitOpenDialogNames(const wchar_t* buffer)
{
    std::vector<std::string> parts;
    for (const wchar_t* p = buffer; *p; p += wcslen(p) + 1)
        parts.push_back(WideToUtf8(p));
    if (parts.size() <= 1)
        return parts;
    std::string dir = parts.front();
    if (dir.back() != '\\')
        dir += '\\';
    std::vector<std::string> files;
    for (size_t i = 1; i < parts.size(); ++i)
        files.push_back(dir + parts[i]);
    return files;
}

TFileDialogs::TFileDialogs(TSettings& settings)
    : m_settings(settings)
    , m_panel(RealFileSystem())
{
}

HWND TFileDialogs::DialogOwner() const
{
    HWND active = GetActiveWindow();
    if (active && active != m_owner && IsWindowEnabled(active)
        && GetWindowThreadProcessId(active, nullptr) == GetCurrentThreadId())
        return active;
    return m_owner;
}

TOpenDialogResult TFileDialogs::ShowOpen(const TOpenDialogRequest& request)
{
    TOpenDialogResult result;
    TOpenPanelModel& panel = m_panel.Model();
    panel.Show(false, request.recentDirs, request.favouriteDirs, request.openBinary);
    // Room for many selected names: the dialog fails rather than truncate.
    std::vector<wchar_t> names(64 * 1024, L'\0');
    std::wstring initial = Utf8ToWide(request.fileName);
    if (initial.size() < names.size())
        std::copy(initial.begin(), initial.end(), names.begin());
    std::wstring filter = DialogFilter(request.filterList);
    std::wstring dir = Utf8ToWide(request.initialDir);
    OPENFILENAMEW ofn {};
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = DialogOwner();
    ofn.lpstrFilter = filter.c_str();
    ofn.nFilterIndex = static_cast<DWORD>(request.filterIndex > 0 ? request.filterIndex : 1);
    ofn.lpstrFile = names.data();
    ofn.nMaxFile = static_cast<DWORD>(names.size());
    ofn.lpstrInitialDir = dir.empty() ? nullptr : dir.c_str();
    // The panel's own box replaces the dialog's read-only box.
    ofn.Flags = OFN_ALLOWMULTISELECT | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
    ofn.FlagsEx = OFN_EX_NOPLACESBAR;
    m_panel.Attach(ofn);
    const bool accepted = GetOpenFileNameW(&ofn) != FALSE;
    result.filterIndex = static_cast<int32_t>(ofn.nFilterIndex);
    result.favouritesChanged = panel.FavouritesChanged();
    result.favouriteDirs = panel.FavouriteDirs();
    result.openBinary = panel.OpenBinary();
    result.openReadOnly = panel.OpenReadOnly();
    if (!accepted) {
        result.searchDir = panel.SearchDir();
        return result;
    }
    result.confirmed = true;
    result.files = SplitOpenDialogNames(names.data());
    return result;
}

TSaveDialogResult TFileDialogs::ShowSave(const TSaveDialogRequest& request)
{
    TSaveDialogResult result;
    TOpenPanelModel& panel = m_panel.Model();
    // The open dialog's binary choice survives a save.
    panel.Show(true, request.recentDirs, request.favouriteDirs, panel.OpenBinary());
    std::vector<wchar_t> name(MAX_PATH * 4, L'\0');
    std::wstring initial = Utf8ToWide(request.fileName);
    if (initial.size() < name.size())
        std::copy(initial.begin(), initial.end(), name.begin());
    std::wstring filter = DialogFilter(request.filterList);
    OPENFILENAMEW ofn {};
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = DialogOwner();
    ofn.lpstrFilter = filter.c_str();
    ofn.nFilterIndex = static_cast<DWORD>(request.filterIndex > 0 ? request.filterIndex : 1);
    ofn.lpstrFile = name.data();
    ofn.nMaxFile = static_cast<DWORD>(name.size());
    ofn.Flags = OFN_PATHMUSTEXIST | OFN_HIDEREADONLY
        | (request.overwritePrompt ? OFN_OVERWRITEPROMPT : 0);
    ofn.FlagsEx = OFN_EX_NOPLACESBAR;
    m_panel.Attach(ofn);
    const bool accepted = GetSaveFileNameW(&ofn) != FALSE;
    result.filterIndex = static_cast<int32_t>(ofn.nFilterIndex);
    result.favouritesChanged = panel.FavouritesChanged();
    result.favouriteDirs = panel.FavouriteDirs();
    if (!accepted)
        return result;
    result.confirmed = true;
    result.fileName = WideToUtf8(name.data());
    return result;
}

// ---- Reopen Files... --------------------------------------------------------------------

namespace {

struct TReopenDialogState
{
    TReopenForm form;
    TSettings* settings = nullptr;
    HWND owner = nullptr;
};

POINT ClientOrigin(HWND owner)
{
    POINT origin { 0, 0 };
    if (owner)
        ClientToScreen(owner, &origin);
    return origin;
}

void FillReopenList(HWND dialog, TReopenDialogState& state)
{
    HWND list = GetDlgItem(dialog, IDC_REOPEN_LIST);
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    SendMessageW(list, LB_RESETCONTENT, 0, 0);
    for (int row = 0; row < state.form.RowCount(); ++row) {
        std::wstring path = Utf8ToWide(state.form.RowPath(row));
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(path.c_str()));
        if (state.form.Selected(row))
            SendMessageW(list, LB_SETSEL, TRUE, row);
    }
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
}

void ReadSelection(HWND dialog, TReopenDialogState& state)
{
    HWND list = GetDlgItem(dialog, IDC_REOPEN_LIST);
    for (int row = 0; row < state.form.RowCount(); ++row)
        state.form.SetSelected(row, SendMessageW(list, LB_GETSEL, static_cast<WPARAM>(row), 0) > 0);
    state.form.SetFocusedRow(static_cast<int>(SendMessageW(list, LB_GETCARETINDEX, 0, 0)));
}

void StoreBounds(HWND dialog, TReopenDialogState& state)
{
    RECT r {};
    GetWindowRect(dialog, &r);
    POINT origin = ClientOrigin(state.owner);
    state.settings->ReopenRect
        = TReopenForm::BoundsToStore({ r.left, r.top, r.right, r.bottom }, { origin.x, origin.y });
}

// The flag picture of a row: binary and read-only marks before the path.
void DrawReopenItem(const DRAWITEMSTRUCT& item, TReopenDialogState& state)
{
    if (item.itemID == static_cast<UINT>(-1))
        return;
    const int row = static_cast<int>(item.itemID);
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    HDC dc = item.hDC;
    RECT rc = item.rcItem;
    FillRect(dc, &rc, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    const int flags = state.form.RowFlagImage(row);
    const wchar_t* mark = flags == 4 ? L"BR" : flags == 2 ? L"R" : flags == 3 ? L"B" : L"";
    RECT flagRect = rc;
    flagRect.right = rc.left + TReopenForm::kFlagColumnWidth + 8;
    DrawTextW(dc, mark, -1, &flagRect, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
    RECT textRect = rc;
    textRect.left = flagRect.right + 2;
    std::wstring path = Utf8ToWide(state.form.RowPath(row));
    DrawTextW(dc, path.c_str(), -1, &textRect,
        DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_PATH_ELLIPSIS);
    if (item.itemState & ODS_FOCUS)
        DrawFocusRect(dc, &rc);
}

INT_PTR CALLBACK ReopenProc(HWND dialog, UINT msg, WPARAM wp, LPARAM lp)
{
    auto* state = reinterpret_cast<TReopenDialogState*>(GetWindowLongPtrW(dialog, DWLP_USER));
    switch (msg) {
    case WM_INITDIALOG: {
        state = reinterpret_cast<TReopenDialogState*>(lp);
        SetWindowLongPtrW(dialog, DWLP_USER, lp);
        SetWindowTextW(dialog, Utf8ToWide(TReopenForm::Caption).c_str());
        POINT origin = ClientOrigin(state->owner);
        if (auto bounds
            = TReopenForm::InitialBounds(state->settings->ReopenRect, { origin.x, origin.y }))
            MoveWindow(dialog, bounds->Left, bounds->Top, bounds->Right - bounds->Left,
                bounds->Bottom - bounds->Top, FALSE);
        FillReopenList(dialog, *state);
        // The newest file is offered first: Enter reopens it.
        if (state->form.RowCount() > 0) {
            HWND list = GetDlgItem(dialog, IDC_REOPEN_LIST);
            SendMessageW(list, LB_SETSEL, TRUE, 0);
            SendMessageW(list, LB_SETCARETINDEX, 0, FALSE);
            SetFocus(list);
            return FALSE;
        }
        return TRUE;
    }
    case WM_MEASUREITEM: {
        auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(lp);
        measure->itemHeight = TReopenForm::kRowHeight;
        return TRUE;
    }
    case WM_DRAWITEM:
        if (state)
            DrawReopenItem(*reinterpret_cast<DRAWITEMSTRUCT*>(lp), *state);
        return TRUE;
    case WM_SIZE: {
        const int w = LOWORD(lp), h = HIWORD(lp);
        MoveWindow(GetDlgItem(dialog, IDC_REOPEN_SORT), 4, 4, w - 8, 20, TRUE);
        MoveWindow(GetDlgItem(dialog, IDC_REOPEN_LIST), 4, 26, w - 8, h - 62, TRUE);
        MoveWindow(GetDlgItem(dialog, IDOK), w - 168, h - 30, 78, 24, TRUE);
        MoveWindow(GetDlgItem(dialog, IDCANCEL), w - 84, h - 30, 78, 24, TRUE);
        return TRUE;
    }
    case WM_COMMAND:
        switch (LOWORD(wp)) {
        case IDC_REOPEN_SORT:
            // The header of the file name column: sorted or back to the stored order.
            ReadSelection(dialog, *state);
            state->form.HeaderClick();
            FillReopenList(dialog, *state);
            return TRUE;
        case IDC_REOPEN_LIST:
            if (HIWORD(wp) != LBN_DBLCLK)
                return FALSE;
            [[fallthrough]];
        case IDOK:
            ReadSelection(dialog, *state);
            state->form.Open();
            StoreBounds(dialog, *state);
            EndDialog(dialog, IDOK);
            return TRUE;
        case IDCANCEL:
            StoreBounds(dialog, *state);
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        default:
            return FALSE;
        }
    default:
        return FALSE;
    }
}

} // namespace

std::optional<std::string> TFileDialogs::ShowReopen(std::vector<std::string>& history)
{
    TReopenDialogState state;
    state.settings = &m_settings;
    state.owner = m_owner;
    state.form.Show(history);
    INT_PTR answer = DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_REOPEN),
        m_owner, ReopenProc, reinterpret_cast<LPARAM>(&state));
    if (answer != IDOK)
        return std::nullopt;
    return state.form.Result();
}

} // namespace wexly::win32
