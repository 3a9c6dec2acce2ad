#include "win32/main/PanelWindow.h"

#include "win32/controls/ZulMessages.h"

namespace wexly::win32 {

namespace {
constexpr const wchar_t* PanelClass = L"WexlyPanel";
}

bool TPanelWindow::Create(HWND parent, COLORREF color)
{
    RegisterWindowClass(PanelClass, nullptr, nullptr);
    m_brush = CreateSolidBrush(color);
    return CreateWindowHandle(0, PanelClass, L"", WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, 0,
               0, 0, 0, parent, nullptr)
        != nullptr;
}

void TPanelWindow::SetColor(COLORREF color)
{
    if (m_brush)
        DeleteObject(m_brush);
    m_brush = CreateSolidBrush(color);
    if (Handle())
        InvalidateRect(Handle(), nullptr, TRUE);
}

LRESULT TPanelWindow::HandleMessage(UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_ERASEBKGND) {
        RECT rc {};
        GetClientRect(Handle(), &rc);
        FillRect(reinterpret_cast<HDC>(wp), &rc, m_brush);
        return 1;
    }
    if (msg == WM_NCDESTROY && m_brush) {
        DeleteObject(m_brush);
        m_brush = nullptr;
    }
    if (msg == ZulDragOverMessage())
        return OnDragOver
                && OnDragOver(reinterpret_cast<HWND>(wp), static_cast<short>(LOWORD(lp)),
                    static_cast<short>(HIWORD(lp)))
            ? 1
            : 0;
    if (msg == ZulDragDropMessage()) {
        if (OnDragDrop)
            OnDragDrop(reinterpret_cast<HWND>(wp), static_cast<short>(LOWORD(lp)),
                static_cast<short>(HIWORD(lp)));
        return 0;
    }
    return TWin32Window::HandleMessage(msg, wp, lp);
}

} // namespace wexly::win32
