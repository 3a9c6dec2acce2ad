#include "dialogs/FindInFilesBrowser.h"

#include "platform/win32/WinStrings.h"

#include <shlobj.h>

namespace wexly::win32 {

namespace {

struct TBrowseStart
{
    std::wstring title;
    std::wstring folder;
};

int CALLBACK BrowseCallback(HWND hwnd, UINT msg, LPARAM, LPARAM data)
{
    if (msg == BFFM_INITIALIZED) {
        const auto* start = reinterpret_cast<const TBrowseStart*>(data);
        SetWindowTextW(hwnd, start->title.c_str());
        if (!start->folder.empty())
            SendMessageW(
                hwnd, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(start->folder.c_str()));
    }
    return 0;
}

} // namespace

std::optional<std::string> TFindInFilesBrowser::BrowseForFolder(
    const std::string& title, const std::string& initialDir)
{
    // The shell's dialog needs COM on this thread; the program itself does not use it.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    TBrowseStart start { Utf8ToWide(title), Utf8ToWide(initialDir) };
    wchar_t display[MAX_PATH] = {};
    BROWSEINFOW info {};
    info.hwndOwner = m_owner;
    info.pszDisplayName = display;
    info.lpszTitle = start.title.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS;
    info.lpfn = &BrowseCallback;
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

} // namespace wexly::win32
