#include "win32/dialogs/WexlyOpenPanelForm.h"

#include "win32/platform/WinStrings.h"
#include "win32/res/dialogs/FileDlgIds.h"

#include <commctrl.h>
#include <commdlg.h>
#include <shellapi.h>

#include <vector>

namespace wexly::win32 {

namespace {

std::string TextOf(HWND hwnd)
{
    std::vector<wchar_t> buffer(static_cast<size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
    GetWindowTextW(hwnd, buffer.data(), static_cast<int>(buffer.size()));
    return WideToUtf8(buffer.data());
}

std::string ClassOf(HWND hwnd)
{
    wchar_t name[64] = {};
    GetClassNameW(hwnd, name, 64);
    return WideToUtf8(name);
}

BOOL CALLBACK CollectChild(HWND child, LPARAM lp)
{
    reinterpret_cast<std::vector<HWND>*>(lp)->push_back(child);
    return TRUE;
}

void FillList(HWND combo, const std::vector<std::string>& lines)
{
    SendMessageW(combo, CB_RESETCONTENT, 0, 0);
    for (const std::string& line : lines)
        SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Utf8ToWide(line).c_str()));
}

RECT RectInParent(HWND child)
{
    RECT r {};
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

void MoveX(HWND child, int left)
{
    RECT r = RectInParent(child);
    SetWindowPos(child, nullptr, left, r.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// A combo box's height includes its drop-down list, so only the width may change.
void SetWidth(HWND child, int width, bool combo)
{
    RECT r = RectInParent(child);
    if (combo)
        SendMessageW(child, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&r));
    SetWindowPos(child, nullptr, 0, 0, width > 10 ? width : 10, r.bottom - r.top,
        SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

} // namespace

TWexlyOpenPanelForm::TWexlyOpenPanelForm(IFileSystem& fs)
    : m_model(m_asker, fs)
{
}

void TWexlyOpenPanelForm::Attach(OPENFILENAMEW& ofn)
{
    ofn.Flags |= OFN_EXPLORER | OFN_ENABLETEMPLATE | OFN_ENABLEHOOK | OFN_ENABLESIZING;
    ofn.hInstance = GetModuleHandleW(nullptr);
    ofn.lpTemplateName = MAKEINTRESOURCEW(IDD_OPENPANEL);
    ofn.lpfnHook = HookProc;
    ofn.lCustData = reinterpret_cast<LPARAM>(this);
}

UINT_PTR CALLBACK TWexlyOpenPanelForm::HookProc(HWND panel, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_INITDIALOG) {
        auto* self = reinterpret_cast<TWexlyOpenPanelForm*>(
            reinterpret_cast<OPENFILENAMEW*>(lp)->lCustData);
        SetWindowLongPtrW(panel, DWLP_USER, reinterpret_cast<LONG_PTR>(self));
        self->m_panel = panel;
        self->m_dialog = GetParent(panel);
    }
    auto* self = reinterpret_cast<TWexlyOpenPanelForm*>(GetWindowLongPtrW(panel, DWLP_USER));
    if (!self)
        return 0;
    try {
        return self->HandleMessage(msg, wp, lp);
    } catch (const std::exception& e) {
        // Never unwind into the common dialog.
        MessageBoxW(panel, Utf8ToWide(e.what()).c_str(), L"Error", MB_OK | MB_ICONERROR);
        return 0;
    }
}

UINT_PTR TWexlyOpenPanelForm::HandleMessage(UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_INITDIALOG:
        OnInit();
        return FALSE; // the focus belongs in the dialog's file name box
    case WM_SIZE:
        OnSize(LOWORD(lp));
        return 0;
    case WM_COMMAND:
        OnCommand(LOWORD(wp), HIWORD(wp));
        return 0;
    case WM_DESTROY:
        m_asker.SetOwner(nullptr);
        m_panel = nullptr;
        m_dialog = nullptr;
        return 0;
    default:
        return 0;
    }
}

void TWexlyOpenPanelForm::OnInit()
{
    m_asker.SetOwner(m_dialog);
    FillList(GetDlgItem(m_panel, IDC_OPENPANEL_RECENT), m_model.RecentDirs());
    FillList(GetDlgItem(m_panel, IDC_OPENPANEL_FAVS), m_model.FavouriteDirs());
    CheckDlgButton(m_panel, IDC_OPENPANEL_READONLY, m_model.OpenReadOnly() ? BST_CHECKED : 0);
    CheckDlgButton(m_panel, IDC_OPENPANEL_BINARY, m_model.OpenBinary() ? BST_CHECKED : 0);
    const bool opening = m_model.OpenChoicesEnabled();
    EnableWindow(GetDlgItem(m_panel, IDC_OPENPANEL_READONLY), opening);
    EnableWindow(GetDlgItem(m_panel, IDC_OPENPANEL_BINARY), opening);
    EnableWindow(GetDlgItem(m_panel, IDC_OPENPANEL_SEARCH), opening);
    HWND tooltip = CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX,
        CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, m_panel, nullptr,
        GetModuleHandleW(nullptr), nullptr);
    AddHint(tooltip, IDC_OPENPANEL_CLEAN, L"Clean up backup files");
    AddHint(tooltip, IDC_OPENPANEL_SEARCH, L"Search directory");
}

void TWexlyOpenPanelForm::AddHint(HWND tooltip, int id, const wchar_t* text)
{
    if (!tooltip)
        return;
    std::wstring tip = text;
    TOOLINFOW info {};
    info.cbSize = sizeof(info);
    info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    info.hwnd = m_panel;
    info.uId = reinterpret_cast<UINT_PTR>(GetDlgItem(m_panel, id));
    info.lpszText = tip.data();
    SendMessageW(tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
}

// The lists and the line follow the width; the two buttons keep to the right edge.
void TWexlyOpenPanelForm::OnSize(int width)
{
    RECT units { 4, 2, 0, 0 };
    MapDialogRect(m_panel, &units);
    const int margin = units.left, gap = units.top;
    HWND clean = GetDlgItem(m_panel, IDC_OPENPANEL_CLEAN);
    HWND plus = GetDlgItem(m_panel, IDC_OPENPANEL_FAVADD);
    const RECT button = RectInParent(clean);
    const int buttonLeft = width - margin - (button.right - button.left);
    MoveX(clean, buttonLeft);
    MoveX(GetDlgItem(m_panel, IDC_OPENPANEL_SEARCH), buttonLeft);
    const RECT plusRect = RectInParent(plus);
    const int plusLeft = buttonLeft - 2 * gap - (plusRect.right - plusRect.left);
    MoveX(plus, plusLeft);
    HWND recent = GetDlgItem(m_panel, IDC_OPENPANEL_RECENT);
    HWND favs = GetDlgItem(m_panel, IDC_OPENPANEL_FAVS);
    SetWidth(recent, buttonLeft - 2 * gap - RectInParent(recent).left, true);
    SetWidth(favs, plusLeft - gap - RectInParent(favs).left, true);
    SetWidth(GetDlgItem(m_panel, IDC_OPENPANEL_LINE), width, false);
}

void TWexlyOpenPanelForm::OnCommand(int id, int code)
{
    HWND item = GetDlgItem(m_panel, id);
    switch (id) {
    case IDC_OPENPANEL_RECENT:
    case IDC_OPENPANEL_FAVS:
        if (code == CBN_SELCHANGE) {
            const int index = static_cast<int>(SendMessageW(item, CB_GETCURSEL, 0, 0));
            Jump(id,
                id == IDC_OPENPANEL_RECENT ? m_model.RecentDir(index)
                                           : m_model.FavouriteDir(index));
        }
        break;
    case IDC_OPENPANEL_READONLY:
        m_model.SetOpenReadOnly(IsDlgButtonChecked(m_panel, id) == BST_CHECKED);
        break;
    case IDC_OPENPANEL_BINARY:
        m_model.SetOpenBinary(IsDlgButtonChecked(m_panel, id) == BST_CHECKED);
        break;
    case IDC_OPENPANEL_FAVADD:
        AddFavourite();
        break;
    case IDC_OPENPANEL_CLEAN:
        CleanDir();
        break;
    case IDC_OPENPANEL_SEARCH:
        SearchDir();
        break;
    default:
        break;
    }
}

// The standard dialog changes to a directory typed into its file name box when OK is pressed;
// whatever the user had typed there is put back afterwards.
void TWexlyOpenPanelForm::Jump(int comboId, const std::optional<std::string>& dir, bool quiet)
{
    if (!dir || !m_dialog)
        return;
    std::vector<HWND> windows;
    EnumChildWindows(m_dialog, CollectChild, reinterpret_cast<LPARAM>(&windows));
    std::vector<TDialogChild> children;
    for (HWND w : windows)
        children.push_back({ GetDlgCtrlID(w), ClassOf(w), TextOf(w), GetParent(w) == m_dialog });
    const TDialogControls found = FindDialogControls(children);
    if (found.jumpBox < 0 || found.okButton < 0) {
        if (!quiet)
            m_model.ReportMissingControl();
        return;
    }
    HWND box = windows[static_cast<size_t>(found.jumpBox)];
    wchar_t saved[2049] = {};
    GetWindowTextW(box, saved, 2049);
    SetWindowTextW(box, Utf8ToWide(*dir).c_str());
    SendMessageW(windows[static_cast<size_t>(found.okButton)], BM_CLICK, 0, 0);
    SetWindowTextW(box, saved);
    if (comboId)
        SetFocus(GetDlgItem(m_panel, comboId));
}

HWND TWexlyOpenPanelForm::FileNameBox() const
{
    HWND box = GetDlgItem(m_dialog, 1152);
    return box ? box : GetDlgItem(m_dialog, 1148);
}

std::string TWexlyOpenPanelForm::DialogFilePath() const
{
    std::vector<wchar_t> buffer(32768, L'\0');
    const LRESULT length = SendMessageW(m_dialog, CDM_GETFILEPATH,
        static_cast<WPARAM>(buffer.size()), reinterpret_cast<LPARAM>(buffer.data()));
    if (length <= 0 || static_cast<size_t>(length) > buffer.size())
        return {};
    return WideToUtf8(buffer.data());
}

void TWexlyOpenPanelForm::AddFavourite()
{
    HWND box = FileNameBox();
    if (!box)
        return;
    if (auto dir = m_model.AddFavourite(DialogFilePath(), TextOf(box))) {
        HWND favs = GetDlgItem(m_panel, IDC_OPENPANEL_FAVS);
        SendMessageW(favs, CB_INSERTSTRING, 0, reinterpret_cast<LPARAM>(Utf8ToWide(*dir).c_str()));
        SendMessageW(favs, CB_SETCURSEL, 0, 0); // no notification, so no jump
    }
}

void TWexlyOpenPanelForm::CleanDir()
{
    HWND box = FileNameBox();
    if (!box)
        return;
    const std::string boxText = TextOf(box);
    const std::string path = DialogFilePath();
    const std::vector<std::string> backups = m_model.CleanDir(path, boxText);
    if (backups.empty())
        return;
    // The shell wants the names one after the other, each NUL-terminated, then one more NUL.
    std::wstring from;
    for (const std::string& name : backups) {
        from += Utf8ToWide(name);
        from.push_back(L'\0');
    }
    from.push_back(L'\0');
    SHFILEOPSTRUCTW op {};
    op.hwnd = m_dialog;
    op.wFunc = FO_DELETE;
    op.pFrom = from.c_str();
    op.fFlags = FOF_ALLOWUNDO | FOF_NOCONFIRMATION | FOF_SILENT | FOF_NOERRORUI;
    SHFileOperationW(&op);
    // The file list does not always notice the deletions by itself.
    Jump(0, DialogDirectory(path, boxText), true);
}

void TWexlyOpenPanelForm::SearchDir()
{
    HWND box = FileNameBox();
    if (!box || !m_model.SearchDirectory(DialogFilePath(), TextOf(box)))
        return;
    if (HWND cancel = GetDlgItem(m_dialog, IDCANCEL))
        SendMessageW(cancel, BM_CLICK, 0, 0);
    else
        PostMessageW(m_dialog, WM_COMMAND, IDCANCEL, 0);
}

} // namespace wexly::win32
