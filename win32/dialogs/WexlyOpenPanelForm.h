// TWexlyOpenPanelForm: the panel docked into the standard open and save dialogs as their child
// template. One object lives for the whole run and carries its model between showings; its
// window exists only while a dialog is up. Thin over TOpenPanelModel.
#pragma once

#include "documents/OpenPanelModel.h"
#include "win32/platform/Win32Ui.h"

#include <windows.h>

#include <commdlg.h>

#include <string>

namespace wexly::win32 {

class TWexlyOpenPanelForm
{
public:
    explicit TWexlyOpenPanelForm(IFileSystem& fs);
    TWexlyOpenPanelForm(const TWexlyOpenPanelForm&) = delete;
    TWexlyOpenPanelForm& operator=(const TWexlyOpenPanelForm&) = delete;

    TOpenPanelModel& Model() { return m_model; }
    // Fills OPENFILENAMEW's template and hook fields so that the dialog carries this panel.
    void Attach(OPENFILENAMEW& ofn);

private:
    static UINT_PTR CALLBACK HookProc(HWND panel, UINT msg, WPARAM wp, LPARAM lp);
    UINT_PTR HandleMessage(UINT msg, WPARAM wp, LPARAM lp);
    void OnInit();
    void OnSize(int width);
    void OnCommand(int id, int code);
    void AddHint(HWND tooltip, int id, const wchar_t* text);

    void Jump(int comboId, const std::optional<std::string>& dir, bool quiet = false);
    // The dialog's file name box (by identifier only) and the full path it reports.
    HWND FileNameBox() const;
    std::string DialogFilePath() const;
    void AddFavourite();
    void CleanDir();
    void SearchDir();

    TWin32Asker m_asker;
    TOpenPanelModel m_model;
    HWND m_panel = nullptr;
    HWND m_dialog = nullptr; // the standard dialog, the panel's parent
};

} // namespace wexly::win32
