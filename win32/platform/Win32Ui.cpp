#include "win32/platform/Win32Ui.h"
#include "win32/platform/WinStrings.h"

#include <windows.h>

#include <cstring>

namespace wexly {

namespace {
UINT ButtonFlags(TMsgButtons buttons)
{
    switch (buttons) {
    case TMsgButtons::Ok:
        return MB_OK;
    case TMsgButtons::OkCancel:
        return MB_OKCANCEL;
    case TMsgButtons::YesNo:
        return MB_YESNO;
    case TMsgButtons::YesNoCancel:
        return MB_YESNOCANCEL;
    case TMsgButtons::AbortRetryIgnore:
        return MB_ABORTRETRYIGNORE;
    case TMsgButtons::RetryCancel:
        return MB_RETRYCANCEL;
    }
    return MB_OK;
}

UINT IconFlags(TMsgIcon icon)
{
    switch (icon) {
    case TMsgIcon::None:
        return 0;
    case TMsgIcon::Error:
        return MB_ICONERROR;
    case TMsgIcon::Warning:
        return MB_ICONEXCLAMATION;
    case TMsgIcon::Information:
        return MB_ICONINFORMATION;
    case TMsgIcon::Question:
        return MB_ICONQUESTION;
    }
    return 0;
}

UINT DefaultButtonFlags(int button)
{
    switch (button) {
    case 2:
        return MB_DEFBUTTON2;
    case 3:
        return MB_DEFBUTTON3;
    default:
        return MB_DEFBUTTON1;
    }
}

TMsgResult FromId(int id)
{
    switch (id) {
    case IDOK:
        return TMsgResult::Ok;
    case IDYES:
        return TMsgResult::Yes;
    case IDNO:
        return TMsgResult::No;
    case IDABORT:
        return TMsgResult::Abort;
    case IDRETRY:
        return TMsgResult::Retry;
    case IDIGNORE:
        return TMsgResult::Ignore;
    default:
        return TMsgResult::Cancel; // also when the box could not be shown
    }
}
}

HWND ModalOwnerFor(HWND fallback)
{
    HWND active = GetActiveWindow();
    if (active && IsWindowEnabled(active) && IsWindowVisible(active)
        && GetWindowThreadProcessId(active, nullptr) == GetCurrentThreadId())
        return active;
    // In the background no window is active: a disabled owner has a modal popup in front.
    HWND root = fallback ? GetAncestor(fallback, GA_ROOT) : nullptr;
    if (root && !IsWindowEnabled(root)) {
        HWND popup = GetLastActivePopup(root);
        if (popup && popup != root && IsWindowEnabled(popup) && IsWindowVisible(popup))
            return popup;
    }
    return fallback;
}

TMsgResult TWin32Asker::Ask(const TMessage& message)
{
    UINT flags = ButtonFlags(message.buttons) | IconFlags(message.icon)
        | DefaultButtonFlags(message.defaultButton) | (message.taskModal ? MB_TASKMODAL : 0);
    std::wstring text = Utf8ToWide(message.text);
    std::wstring caption = Utf8ToWide(message.caption);
    return FromId(MessageBoxW(ModalOwnerFor(m_owner), text.c_str(), caption.c_str(), flags));
}

bool TWin32Clipboard::Open()
{
    // Another program may hold the clipboard for a moment.
    for (int attempt = 0; attempt < 10; ++attempt) {
        if (OpenClipboard(m_owner))
            return true;
        Sleep(10);
    }
    return false;
}

bool TWin32Clipboard::SetText(const std::string& text)
{
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    if (!memory)
        return false;
    auto* bytes = static_cast<char*>(GlobalLock(memory));
    std::memcpy(bytes, text.data(), text.size());
    bytes[text.size()] = '\0';
    GlobalUnlock(memory);
    if (!Open()) {
        GlobalFree(memory);
        return false;
    }
    EmptyClipboard();
    bool ok = SetClipboardData(CF_TEXT, memory) != nullptr;
    CloseClipboard();
    if (!ok)
        GlobalFree(memory);
    return ok;
}

bool TWin32Clipboard::HasText()
{
    return IsClipboardFormatAvailable(CF_TEXT) != 0;
}

std::string TWin32Clipboard::GetText()
{
    std::string text;
    if (!Open())
        return text;
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
        if (const auto* bytes = static_cast<const char*>(GlobalLock(data))) {
            // Bounded by the block size: clipboard data from other programs may lack the NUL.
            size_t limit = GlobalSize(data);
            text.assign(bytes, strnlen(bytes, limit));
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

void TWin32Beeper::Beep()
{
    MessageBeep(0);
}

const TUpperTable& SystemUpperTable()
{
    static const TUpperTable table = [] {
        TUpperTable t {};
        for (int c = 0; c < 256; ++c) {
            char ch = static_cast<char>(c);
            if (c != 0)
                CharUpperBuffA(&ch, 1);
            t[static_cast<size_t>(c)] = static_cast<uint8_t>(ch);
        }
        return t;
    }();
    return table;
}

} // namespace wexly
