#include "win32/main/FileDialogs.h"

#include "platform/Files.h"
#include "win32/MenuIds.h"
#include "win32/dialogs/ReopenDialog.h"
#include "win32/platform/Win32Ui.h"
#include "win32/platform/WinStrings.h"

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

std::optional<std::string> TFileDialogs::ShowReopen(std::vector<std::string>& history)
{
    TReopenDialog dialog(m_owner, m_settings);
    return dialog.Run(history);
}

} // namespace wexly::win32
