#include "dialogs/ShellFolderBrowser.h"

#include "platform/win32/WinStrings.h"

#include <shlobj.h>

namespace wexly::win32 {

// Starts on the given folder (less one trailing backslash).
std::optional<std::string> TShellFolderBrowser::BrowseForFolder(
    const std::string& title, const std::string& initialDir)
{
    std::wstring start = Utf8ToWide(initialDir);
    // "C:" alone would name the drive's current folder, so a root keeps its backslash.
    const bool root = start.size() == 3 && start[1] == L':';
    if (!start.empty() && start.back() == L'\\' && !root)
        start.pop_back();
    const std::wstring caption = Utf8ToWide(title);
    BROWSEINFOW info {};
    info.hwndOwner = m_owner;
    info.lpszTitle = caption.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS;
    info.lpfn = &TShellFolderBrowser::Callback;
    info.lParam = reinterpret_cast<LPARAM>(start.c_str());
    PIDLIST_ABSOLUTE list = SHBrowseForFolderW(&info);
    if (!list)
        return std::nullopt;
    wchar_t path[MAX_PATH] = {};
    const bool got = SHGetPathFromIDListW(list, path) != FALSE;
    CoTaskMemFree(list);
    if (!got)
        return std::nullopt;
    return WideToUtf8(path);
}

int CALLBACK TShellFolderBrowser::Callback(HWND hwnd, UINT msg, LPARAM, LPARAM data)
{
    const auto* start = reinterpret_cast<const wchar_t*>(data);
    if (msg == BFFM_INITIALIZED && start && *start)
        SendMessageW(hwnd, BFFM_SETSELECTIONW, TRUE, data);
    return 0;
}

} // namespace wexly::win32
