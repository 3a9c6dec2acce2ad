#include "win32/dialogs/ReopenDialog.h"

#include "win32/res/dialogs/ReopenIds.h"

#include "win32/MenuIds.h"
#include "win32/platform/WinStrings.h"

#include <commctrl.h>

namespace wexly::win32 {

namespace {

POINT ClientOrigin(HWND owner)
{
    POINT origin { 0, 0 };
    if (owner)
        ClientToScreen(owner, &origin);
    return origin;
}

void FillReopenList(HWND dialog, TReopenDialog::TState& state)
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

void ReadSelection(HWND dialog, TReopenDialog::TState& state)
{
    HWND list = GetDlgItem(dialog, IDC_REOPEN_LIST);
    for (int row = 0; row < state.form.RowCount(); ++row)
        state.form.SetSelected(row, SendMessageW(list, LB_GETSEL, static_cast<WPARAM>(row), 0) > 0);
    state.form.SetFocusedRow(static_cast<int>(SendMessageW(list, LB_GETCARETINDEX, 0, 0)));
}

void StoreBounds(HWND dialog, TReopenDialog::TState& state)
{
    RECT r {};
    GetWindowRect(dialog, &r);
    POINT origin = ClientOrigin(state.owner);
    state.settings->ReopenRect
        = TReopenForm::BoundsToStore({ r.left, r.top, r.right, r.bottom }, { origin.x, origin.y });
}

// A row: the flag mark of the line's binary and read-only flags, then the path.
void DrawReopenItem(const DRAWITEMSTRUCT& item, TReopenDialog::TState& state)
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
BOOL InitReopenDialog(HWND dialog, TReopenDialog::TState& state)
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

} // namespace

TReopenDialog::TReopenDialog(HWND owner, TSettings& settings)
{
    m_state.settings = &settings;
    m_state.owner = owner;
}

std::optional<std::string> TReopenDialog::Run(std::vector<std::string>& history)
{
    m_state.form.Show(history);
    if (RunModal(m_state.owner, IDD_REOPEN) != IDOK)
        return std::nullopt;
    return m_state.form.Result();
}

bool TReopenDialog::OnInit()
{
    return InitReopenDialog(Handle(), m_state) != FALSE;
}

bool TReopenDialog::OnMessage(UINT msg, WPARAM, LPARAM lp, LRESULT& result)
{
    if (msg != WM_MEASUREITEM)
        return false;
    reinterpret_cast<MEASUREITEMSTRUCT*>(lp)->itemHeight = TReopenForm::kRowHeight;
    result = TRUE;
    return true;
}

bool TReopenDialog::OnDrawItem(const DRAWITEMSTRUCT& item)
{
    DrawReopenItem(item, m_state);
    return true;
}

bool TReopenDialog::OnSize(int width, int height)
{
    LayoutReopenDialog(Handle(), width, height);
    return true;
}

// The header: its sections keep their widths, and "File Name" sorts or restores the order.
bool TReopenDialog::OnNotify(const NMHDR& header, LRESULT& result)
{
    if (header.idFrom != IDC_REOPEN_SORT)
        return false;
    const auto& note = reinterpret_cast<const NMHEADERW&>(header);
    switch (header.code) {
    case HDN_BEGINTRACKW:
    case HDN_BEGINTRACKA:
        result = TRUE;
        return true;
    case HDN_ITEMCLICKW:
    case HDN_ITEMCLICKA:
        if (note.iItem == 1) {
            ReadSelection(Handle(), m_state);
            m_state.form.HeaderClick();
            FillReopenList(Handle(), m_state);
        }
        return true;
    default:
        return false;
    }
}

void TReopenDialog::OnCommand(int id, int code)
{
    const bool open = id == IDOK || (id == IDC_REOPEN_LIST && code == LBN_DBLCLK);
    if (!open && id != IDCANCEL)
        return;
    if (open) {
        ReadSelection(Handle(), m_state);
        m_state.form.Open();
    }
    StoreBounds(Handle(), m_state);
    EndModal(open ? IDOK : IDCANCEL);
}

} // namespace wexly::win32
