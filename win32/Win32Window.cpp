#include "win32/Win32Window.h"

#include "win32/platform/WinStrings.h"

#include <exception>
#include <string>

namespace wexly::win32 {

TWin32Window::~TWin32Window()
{
    if (m_hwnd) {
        SetWindowLongPtrW(m_hwnd, GWLP_USERDATA, 0);
        DestroyWindow(m_hwnd);
    }
}

bool TWin32Window::RegisterWindowClass(
    const wchar_t* className, HICON icon, HBRUSH background, const wchar_t* menuName, UINT style)
{
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW existing {};
    existing.cbSize = sizeof(existing);
    if (GetClassInfoExW(instance, className, &existing))
        return true;
    WNDCLASSEXW wc {};
    wc.cbSize = sizeof(wc);
    wc.style = style;
    wc.lpfnWndProc = StaticWndProc;
    wc.hInstance = instance;
    wc.hIcon = icon;
    wc.hIconSm = icon;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = background;
    wc.lpszMenuName = menuName;
    wc.lpszClassName = className;
    return RegisterClassExW(&wc) != 0;
}

HWND TWin32Window::CreateWindowHandle(DWORD exStyle, const wchar_t* className,
    const wchar_t* caption, DWORD style, int x, int y, int width, int height, HWND parent,
    HMENU menu)
{
    return CreateWindowExW(exStyle, className, caption, style, x, y, width, height, parent, menu,
        GetModuleHandleW(nullptr), this);
}

LRESULT TWin32Window::HandleMessage(UINT msg, WPARAM wp, LPARAM lp)
{
    return DefWindowProcW(m_hwnd, msg, wp, lp);
}

LRESULT CALLBACK TWin32Window::StaticWndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_NCCREATE) {
        auto* self
            = static_cast<TWin32Window*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
        self->m_hwnd = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<TWin32Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self)
        return DefWindowProcW(hwnd, msg, wp, lp);
    LRESULT result = 0;
    try {
        result = self->HandleMessage(msg, wp, lp);
    } catch (const std::exception& e) {
        ShowUnexpectedError(e.what());
    } catch (...) {
        ShowUnexpectedError("Unknown error");
    }
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->m_hwnd = nullptr;
        self->OnHandleDestroyed();
    }
    return result;
}

void ShowUnexpectedError(const char* what)
{
    std::wstring text = Utf8ToWide(what ? what : "");
    MessageBoxW(nullptr, text.c_str(), L"Wexly2", MB_OK | MB_ICONERROR | MB_TASKMODAL);
}

} // namespace wexly::win32
