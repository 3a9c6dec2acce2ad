// The help: HTML pages in the "help" folder beside the executable, one per topic number
// ("1.html" is the contents), opened with the shell's viewer for HTML.
#pragma once

#include <windows.h>

#include <string>

namespace wexly::win32 {

// "<exe folder>\help\<topic>.html".
std::wstring HelpTopicPath(int topic);
// Opens the topic; when its page is missing or cannot be shown, says "Empty Help file!".
bool ShowHelpTopic(HWND owner, int topic);

} // namespace wexly::win32
