// The folder browser of the Find dialog's "..." button: the shell's folder dialog, file-system
// folders only, opening on a given folder.
#pragma once

#include "search/FindInFilesModel.h"

#include <windows.h>

namespace wexly::win32 {

class TFindInFilesBrowser final : public IFolderBrowser
{
public:
    void SetOwner(HWND owner) { m_owner = owner; }
    std::optional<std::string> BrowseForFolder(
        const std::string& title, const std::string& initialDir) override;

private:
    HWND m_owner = nullptr;
};

} // namespace wexly::win32
