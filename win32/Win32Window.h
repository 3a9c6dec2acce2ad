// Base of every window class of the program: registers the class, stores `this` at
// WM_NCCREATE and routes messages to HandleMessage. The C++ object outlives its HWND.
#pragma once

#include <windows.h>

#include <exception>

namespace wexly::win32 {

class TWin32Window
{
public:
    TWin32Window() = default;
    TWin32Window(const TWin32Window&) = delete;
    TWin32Window& operator=(const TWin32Window&) = delete;
    virtual ~TWin32Window();

    HWND Handle() const { return m_hwnd; }

protected:
    // Registers the class once per process; later calls are no-ops.
    static bool RegisterWindowClass(const wchar_t* className, HICON icon, HBRUSH background,
        const wchar_t* menuName = nullptr, UINT style = CS_DBLCLKS);
    HWND CreateWindowHandle(DWORD exStyle, const wchar_t* className, const wchar_t* caption,
        DWORD style, int x, int y, int width, int height, HWND parent, HMENU menu);

    virtual LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);
    // Called after WM_NCDESTROY; the handle is already cleared.
    virtual void OnHandleDestroyed() { }

private:
    static LRESULT CALLBACK StaticWndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

    HWND m_hwnd = nullptr;
};

// The last line of defence for errors that would otherwise unwind into user32.
void ShowUnexpectedError(const char* what);

// Runs the work of a window, subclass or callback procedure: what it throws is shown and never
// unwinds into the system's code, and `fallback` then answers the message.
template <class Work>
auto GuardedProc(Work&& work, decltype(work()) fallback = 0) noexcept -> decltype(work())
{
    try {
        return work();
    } catch (const std::exception& e) {
        ShowUnexpectedError(e.what());
    } catch (...) {
        ShowUnexpectedError("Unknown error");
    }
    return fallback;
}

} // namespace wexly::win32
