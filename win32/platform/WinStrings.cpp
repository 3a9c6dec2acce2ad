#include "win32/platform/WinStrings.h"

#include <windows.h>

namespace wexly {

std::wstring Utf8ToWide(std::string_view text)
{
    if (text.empty())
        return {};
    int size = static_cast<int>(text.size());
    int needed = MultiByteToWideChar(CP_UTF8, 0, text.data(), size, nullptr, 0);
    std::wstring result(static_cast<size_t>(needed), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), size, result.data(), needed);
    return result;
}

std::string WideToUtf8(std::wstring_view text)
{
    if (text.empty())
        return {};
    int size = static_cast<int>(text.size());
    int needed = WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<size_t>(needed), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), size, result.data(), needed, nullptr, nullptr);
    return result;
}

} // namespace wexly
