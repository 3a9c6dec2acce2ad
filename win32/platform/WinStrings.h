// UTF-8 (inside the engine) to UTF-16 (at the Win32 boundary) and back.
#pragma once

#include <string>
#include <string_view>

namespace wexly {

std::wstring Utf8ToWide(std::string_view text);
std::string WideToUtf8(std::wstring_view text);

} // namespace wexly
