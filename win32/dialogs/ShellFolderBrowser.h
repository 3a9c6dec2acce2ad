// The program's one folder browser behind IFolderBrowser: the shell's folder dialog, file-system
// folders only, with the caller's title as its caption, opening on a given folder. Borrows the
// window that owns it.
#pragma once

#include "search/FindInFilesModel.h"

#include <windows.h>

#include <string>

namespace wexly::win32 {

class TShellFolderBrowser final : public IFolderBrowser
{
public:
    explicit TShellFolderBrowser(HWND owner)
        : m_owner(owner)
    {
    }
    std::optional<std::string> BrowseForFolder(
        const std::string& title, const std::string& initialDir) override;

private:
    struct TStart
    {
        std::wstring title;
        std::wstring folder;
    };
    static int CALLBACK Callback(HWND hwnd, UINT msg, LPARAM, LPARAM data);
    HWND m_owner;
};

} // namespace wexly::win32
