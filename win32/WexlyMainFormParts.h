// What the parts of the main window share: its child-window and message identifiers, the menu
// positions and the command of each toolbar code. Only the main window's own files include it.
#pragma once

#include "documents/MenuState.h"
#include "win32/MenuIds.h"
#include "win32/controls/ZulSpeed.h"

#include <windows.h>

#include <string>
#include <vector>

namespace wexly::win32::mainform {

// WM_APP + 1 is the hand-over message.
inline constexpr UINT WM_APP_ACTIVATED
    = WM_APP + 10; // the reload check runs after activation settles
inline constexpr UINT WM_APP_USERCOMMAND = WM_APP + 11;
inline constexpr UINT WM_APP_BUTTONPOPUP
    = WM_APP + 12; // wParam: the item's tag, lParam: the document
inline constexpr UINT_PTR StatusTimerId = 1;
inline constexpr UINT StatusTimerMs = 10000;
// The recovery journal looks at the documents this often.
inline constexpr UINT_PTR JournalTimerId = 2;
inline constexpr UINT JournalTimerMs = 500;
inline constexpr int IDC_TITLE_STATE = 3000; // + pane
inline constexpr int IDC_TITLE_BUTTON = 3002;
inline constexpr int IDC_TITLE_CLOSE = 3004;
inline constexpr int IDC_TOOLBUTTON = 5000; // + code
inline constexpr int FileMenuPos = 0;
inline constexpr int EditMenuPos = 1;
inline constexpr int ToolsMenuPos = 3;
inline constexpr int MacrosSubMenuPos = 4; // in the Tools menu
inline constexpr int PilesMenuPos = 4;
inline constexpr int WindowMenuPos = 6;
inline constexpr int StatusTextMargin = 3; // left of the text inside its panel

// The full path of this program.
inline std::wstring ExePath()
{
    std::vector<wchar_t> buffer(MAX_PATH);
    while (true) {
        DWORD length
            = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length < buffer.size())
            return std::wstring(buffer.data(), length);
        buffer.resize(buffer.size() * 2);
    }
}

} // namespace wexly::win32::mainform
