#include "main/FileDialogs.h"

#include "MenuIds.h"
#include "dialogs/ReopenForm.h"
#include "main/FlagMarks.h"
#include "platform/Files.h"
#include "platform/win32/Win32Ui.h"
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
    return ModalOwnerFor(m_owner);
}

// The panel offers the program's recent and favourite directories to every caller.
void TFileDialogs::ShowPanel(bool save, bool openBinary)
{
    m_panel.Model().Show(save, m_settings.DirHistory, m_settings.DirFavourites, openBinary);
}

// What both dialogs share: the name buffer with the proposed name, the filter and its index,
// the owner, no places bar, and the panel attached last (it adds to the flags).
OPENFILENAMEW TFileDialogs::Prepare(std::vector<wchar_t>& name, const std::string& proposed,
    const std::wstring& filter, int32_t filterIndex, DWORD flags)
{
    const std::wstring initial = Utf8ToWide(proposed);
    if (initial.size() < name.size())
        std::copy(initial.begin(), initial.end(), name.begin());
    OPENFILENAMEW ofn {};
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = DialogOwner();
    ofn.lpstrFilter = filter.c_str();
    ofn.nFilterIndex = static_cast<DWORD>(filterIndex > 0 ? filterIndex : 1);
    ofn.lpstrFile = name.data();
    ofn.nMaxFile = static_cast<DWORD>(name.size());
    ofn.Flags = flags | OFN_HIDEREADONLY; // the panel has its own read-only box
    ofn.FlagsEx = OFN_EX_NOPLACESBAR;
    m_panel.Attach(ofn);
    return ofn;
}

// The panel's "+" adds to the program's list, whoever asked.
void TFileDialogs::TakeFavourites(bool& changed, std::vector<std::string>& favourites)
{
    changed = m_panel.Model().FavouritesChanged();
    favourites = m_panel.Model().FavouriteDirs();
    if (changed)
        m_settings.DirFavourites = favourites;
}

TOpenDialogResult TFileDialogs::ShowOpen(const TOpenDialogRequest& request)
{
    TOpenDialogResult result;
    ShowPanel(false, request.openBinary);
    // Room for many selected names: the dialog fails rather than truncate.
    std::vector<wchar_t> names(64 * 1024, L'\0');
    const std::wstring filter = DialogFilter(request.filterList);
    const std::wstring dir = Utf8ToWide(request.initialDir);
    OPENFILENAMEW ofn = Prepare(names, request.fileName, filter, request.filterIndex,
        OFN_ALLOWMULTISELECT | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST);
    ofn.lpstrInitialDir = dir.empty() ? nullptr : dir.c_str();
    const bool accepted = GetOpenFileNameW(&ofn) != FALSE;
    result.filterIndex = static_cast<int32_t>(ofn.nFilterIndex);
    TakeFavourites(result.favouritesChanged, result.favouriteDirs);
    const TOpenPanelModel& panel = m_panel.Model();
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
    // The open dialog's binary choice survives a save.
    ShowPanel(true, m_panel.Model().OpenBinary());
    std::vector<wchar_t> name(MAX_PATH * 4, L'\0');
    const std::wstring filter = DialogFilter(request.filterList);
    OPENFILENAMEW ofn = Prepare(name, request.fileName, filter, request.filterIndex,
        OFN_PATHMUSTEXIST | (request.overwritePrompt ? OFN_OVERWRITEPROMPT : 0));
    const bool accepted = GetSaveFileNameW(&ofn) != FALSE;
    result.filterIndex = static_cast<int32_t>(ofn.nFilterIndex);
    TakeFavourites(result.favouritesChanged, result.favouriteDirs);
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
    TFlagMarks marks;
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

// A row: the flag mark of the line's binary and read-only flags, then the path.
void DrawReopenItem(const DRAWITEMSTRUCT& item, TReopenDialogState& state)
{
    if (item.itemID == static_cast<UINT>(-1))
        return;
    const int row = static_cast<int>(item.itemID);
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    HDC dc = item.hDC;
    const RECT& rc = item.rcItem;
    FillRect(dc, &rc, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    const bool alternate = state.settings->AlternateIcons;
    state.marks.Draw(dc, state.form.RowFlagImage(row), alternate, rc.left + 4,
        rc.top + (TReopenForm::kRowHeight - TFlagMarks::Height(alternate)) / 2);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    std::wstring path = Utf8ToWide(state.form.RowPath(row));
    TextOutW(dc, rc.left + TReopenForm::kFlagColumnWidth, rc.top + 2, path.c_str(),
        static_cast<int>(path.size()));
    if (item.itemState & ODS_FOCUS)
        DrawFocusRect(dc, &rc);
}

// The header over the list: the flag column and "File Name", neither resizable.
HWND CreateReopenHeader(HWND dialog)
{
    HWND header = CreateWindowExW(0, WC_HEADERW, L"", WS_CHILD | WS_VISIBLE | HDS_BUTTONS, 0, 0, 0,
        0, dialog, reinterpret_cast<HMENU>(IDC_REOPEN_SORT), GetModuleHandleW(nullptr), nullptr);
    SendMessageW(header, WM_SETFONT, SendMessageW(dialog, WM_GETFONT, 0, 0), FALSE);
    HDITEMW item {};
    item.mask = HDI_WIDTH | HDI_TEXT | HDI_FORMAT;
    item.fmt = HDF_LEFT | HDF_STRING;
    item.cxy = TReopenForm::kFlagColumnWidth;
    item.pszText = const_cast<wchar_t*>(L"");
    SendMessageW(header, HDM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    item.cxy = 100;
    item.pszText = const_cast<wchar_t*>(L"File Name");
    SendMessageW(header, HDM_INSERTITEMW, 1, reinterpret_cast<LPARAM>(&item));
    return header;
}

// Sized from the stored bounds, the list filled, and the newest file offered first: Enter
// reopens it. False when the focus was placed here.
BOOL InitReopenDialog(HWND dialog, TReopenDialogState& state)
{
    SetWindowTextW(dialog, Utf8ToWide(TReopenForm::Caption).c_str());
    CreateReopenHeader(dialog);
    POINT origin = ClientOrigin(state.owner);
    if (auto bounds
        = TReopenForm::InitialBounds(state.settings->ReopenRect, { origin.x, origin.y }))
        MoveWindow(dialog, bounds->Left, bounds->Top, bounds->Right - bounds->Left,
            bounds->Bottom - bounds->Top, FALSE);
    FillReopenList(dialog, state);
    RECT client {};
    GetClientRect(dialog, &client);
    SendMessageW(dialog, WM_SIZE, 0, MAKELPARAM(client.right, client.bottom));
    if (state.form.RowCount() == 0)
        return TRUE;
    HWND list = GetDlgItem(dialog, IDC_REOPEN_LIST);
    SendMessageW(list, LB_SETSEL, TRUE, 0);
    SendMessageW(list, LB_SETCARETINDEX, 0, FALSE);
    SetFocus(list);
    return FALSE;
}

void LayoutReopenDialog(HWND dialog, int w, int h)
{
    HWND header = GetDlgItem(dialog, IDC_REOPEN_SORT);
    MoveWindow(header, 4, 4, w - 8, 20, TRUE);
    MoveWindow(GetDlgItem(dialog, IDC_REOPEN_LIST), 4, 24, w - 8, h - 60, TRUE);
    HDITEMW section {};
    section.mask = HDI_WIDTH;
    section.cxy = TReopenForm::FileNameSectionWidth(w - 8);
    SendMessageW(header, HDM_SETITEMW, 1, reinterpret_cast<LPARAM>(&section));
    MoveWindow(GetDlgItem(dialog, IDOK), w - 168, h - 30, 78, 24, TRUE);
    MoveWindow(GetDlgItem(dialog, IDCANCEL), w - 84, h - 30, 78, 24, TRUE);
}

// The header: its sections keep their widths, and "File Name" sorts or restores the order.
BOOL ReopenHeaderNotify(HWND dialog, const NMHEADERW& note, TReopenDialogState& state)
{
    switch (note.hdr.code) {
    case HDN_BEGINTRACKW:
    case HDN_BEGINTRACKA:
        SetWindowLongPtrW(dialog, DWLP_MSGRESULT, TRUE);
        return TRUE;
    case HDN_ITEMCLICKW:
    case HDN_ITEMCLICKA:
        if (note.iItem == 1) {
            ReadSelection(dialog, state);
            state.form.HeaderClick();
            FillReopenList(dialog, state);
        }
        return TRUE;
    default:
        return FALSE;
    }
}

void CloseReopenDialog(HWND dialog, TReopenDialogState& state, bool open)
{
    if (open) {
        ReadSelection(dialog, state);
        state.form.Open();
    }
    StoreBounds(dialog, state);
    EndDialog(dialog, open ? IDOK : IDCANCEL);
}

INT_PTR CALLBACK ReopenProc(HWND dialog, UINT msg, WPARAM wp, LPARAM lp)
{
    auto* state = reinterpret_cast<TReopenDialogState*>(GetWindowLongPtrW(dialog, DWLP_USER));
    switch (msg) {
    case WM_INITDIALOG:
        SetWindowLongPtrW(dialog, DWLP_USER, lp);
        return InitReopenDialog(dialog, *reinterpret_cast<TReopenDialogState*>(lp));
    case WM_MEASUREITEM:
        reinterpret_cast<MEASUREITEMSTRUCT*>(lp)->itemHeight = TReopenForm::kRowHeight;
        return TRUE;
    case WM_DRAWITEM:
        if (state)
            DrawReopenItem(*reinterpret_cast<DRAWITEMSTRUCT*>(lp), *state);
        return TRUE;
    case WM_SIZE:
        LayoutReopenDialog(dialog, LOWORD(lp), HIWORD(lp));
        return TRUE;
    case WM_NOTIFY: {
        const auto* note = reinterpret_cast<const NMHEADERW*>(lp);
        return note->hdr.idFrom == IDC_REOPEN_SORT && state
            ? ReopenHeaderNotify(dialog, *note, *state)
            : FALSE;
    }
    case WM_COMMAND: {
        const int id = LOWORD(wp);
        const bool open = id == IDOK || (id == IDC_REOPEN_LIST && HIWORD(wp) == LBN_DBLCLK);
        if (!state || (!open && id != IDCANCEL))
            return FALSE;
        CloseReopenDialog(dialog, *state, open);
        return TRUE;
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
