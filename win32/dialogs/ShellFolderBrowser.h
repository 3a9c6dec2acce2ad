// The shell's folder browser behind IFolderBrowser, owned by a dialog window.
#pragma once

#include "search/FindInFilesModel.h"

#include <windows.h>

namespace wexly::win32 {

// Starts on the given folder; shows the title above the tree.
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
    static int CALLBACK Callback(HWND hwnd, UINT msg, LPARAM, LPARAM data);
    HWND m_owner;
};

} // namespace wexly::win32
