// The platform's open and save dialogs, both carrying the panel of recent and favourite
// directories (multi-select open), and the "Reopen Files..." dialog, for the file commands.
#pragma once

#include "config/Settings.h"
#include "documents/FileCommands.h"
#include "win32/dialogs/WexlyOpenPanelForm.h"

#include <windows.h>

namespace wexly::win32 {

class TFileDialogs final : public IFileDialogs
{
public:
    explicit TFileDialogs(TSettings& settings);
    void SetOwner(HWND owner) { m_owner = owner; }

    TOpenDialogResult ShowOpen(const TOpenDialogRequest& request) override;
    TSaveDialogResult ShowSave(const TSaveDialogRequest& request) override;
    std::optional<std::string> ShowReopen(std::vector<std::string>& history) override;

private:
    // The dialog box the user works in (the dictionary chooser, say), else the main window.
    HWND DialogOwner() const;
    void ShowPanel(bool save, bool openBinary);
    OPENFILENAMEW Prepare(std::vector<wchar_t>& name, const std::string& proposed,
        const std::wstring& filter, int32_t filterIndex, DWORD flags);
    void TakeFavourites(bool& changed, std::vector<std::string>& favourites);

    TSettings& m_settings;
    HWND m_owner = nullptr;
    TWexlyOpenPanelForm m_panel; // moved between the open and the save dialog
};

// "Text|*.txt|All|*.*" as the dialogs want it: NUL-separated, ending in two NULs.
std::wstring DialogFilter(const std::string& filterList);
// The names a multi-select open dialog returned: a single full path, or the directory followed
// by the names, each NUL-terminated.
std::vector<std::string> SplitOpenDialogNames(const wchar_t* buffer);

} // namespace wexly::win32
