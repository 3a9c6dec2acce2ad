#include "win32/dialogs/ShellFolderBrowser.h"

#include "win32/Win32Window.h"

#include "win32/platform/WinStrings.h"

#include <commctrl.h>
#include <objbase.h>
#include <shlobj.h>

namespace wexly::win32 {

namespace {

// The folder less one trailing backslash; "C:" alone would name the drive's current folder, so
// a root keeps (or gets back) its backslash.
std::wstring StartFolder(const std::string& initialDir)
{
    std::wstring start = Utf8ToWide(initialDir);
    if (start.size() == 2 && start[1] == L':')
        return start + L'\\';
    const bool root = start.size() == 3 && start[1] == L':';
    if (!start.empty() && start.back() == L'\\' && !root)
        start.pop_back();
    return start;
}

bool TreeHasSelection(HWND browser)
{
    HWND tree = FindWindowExW(browser, nullptr, WC_TREEVIEWW, nullptr);
    return tree && SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CARET, 0) != 0;
}

} // namespace

std::optional<std::string> TShellFolderBrowser::BrowseForFolder(
    const std::string& title, const std::string& initialDir)
{
    // The shell's dialog needs COM on this thread; the program itself does not use it.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    TStart start { Utf8ToWide(title), StartFolder(initialDir) };
    wchar_t display[MAX_PATH] = {};
    BROWSEINFOW info {};
    info.hwndOwner = m_owner;
    info.pszDisplayName = display;
    info.lpszTitle = start.title.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS;
    info.lpfn = &TShellFolderBrowser::Callback;
    info.lParam = reinterpret_cast<LPARAM>(&start);
    std::optional<std::string> chosen;
    if (PIDLIST_ABSOLUTE list = SHBrowseForFolderW(&info)) {
        wchar_t path[MAX_PATH] = {};
        if (SHGetPathFromIDListW(list, path) && path[0])
            chosen = WideToUtf8(path);
        CoTaskMemFree(list);
    }
    if (SUCCEEDED(com))
        CoUninitialize();
    return chosen;
}

int CALLBACK TShellFolderBrowser::Callback(HWND hwnd, UINT msg, LPARAM, LPARAM data)
{
    return GuardedProc([&]() -> int {
        if (msg != BFFM_INITIALIZED)
            return 0;
        const auto* start = reinterpret_cast<const TStart*>(data);
        SetWindowTextW(hwnd, start->title.c_str());
        if (start->folder.empty())
            return 0;
        const auto folder = reinterpret_cast<LPARAM>(start->folder.c_str());
        SendMessageW(hwnd, BFFM_SETSELECTIONW, TRUE, folder);
        // Under Wine the first walk down to the folder in a process can stop at a node it has just
        // filled in for the first time, leaving nothing selected (OK would then return the
        // Desktop); the second walk finds the nodes filled and reaches the folder.
        if (!TreeHasSelection(hwnd))
            SendMessageW(hwnd, BFFM_SETSELECTIONW, TRUE, folder);
        return 0;
    });
}

} // namespace wexly::win32
