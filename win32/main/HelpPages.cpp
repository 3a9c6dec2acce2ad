#include "win32/main/HelpPages.h"

#include <shellapi.h>

#include <vector>

namespace wexly::win32 {

std::wstring HelpTopicPath(int topic)
{
    std::vector<wchar_t> buffer(MAX_PATH);
    DWORD length = 0;
    while ((length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size())))
        >= buffer.size())
        buffer.resize(buffer.size() * 2);
    std::wstring path(buffer.data(), length);
    path.erase(path.find_last_of(L"\\/") + 1);
    return path + L"help\\" + std::to_wstring(topic) + L".html";
}

bool ShowHelpTopic(HWND owner, int topic)
{
    const std::wstring path = HelpTopicPath(topic);
    // Without the page the viewer would only complain in its own words.
    const bool shown = GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES
        && reinterpret_cast<INT_PTR>(
               ShellExecuteW(owner, L"open", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL))
            > 32;
    if (!shown)
        MessageBoxW(
            owner, L"Empty Help file!", L"Error!", MB_OK | MB_ICONEXCLAMATION | MB_TASKMODAL);
    return shown;
}

} // namespace wexly::win32
