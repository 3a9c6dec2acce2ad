// A plain child panel: fills itself with one colour and hosts flat buttons. The file-button bar
// also takes file buttons dropped on its free space.
#pragma once

#include "win32/Win32Window.h"

#include <functional>

namespace wexly::win32 {

class TPanelWindow final : public TWin32Window
{
public:
    bool Create(HWND parent, COLORREF color);
    void SetColor(COLORREF color);

    // A file button dragged over or dropped at (x, y) of the panel.
    std::function<bool(HWND source, int x, int y)> OnDragOver;
    std::function<void(HWND source, int x, int y)> OnDragDrop;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    HBRUSH m_brush = nullptr;
};

} // namespace wexly::win32
