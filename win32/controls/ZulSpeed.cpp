#include "win32/controls/ZulSpeed.h"

#include "win32/controls/ZulGdiCanvas.h"

namespace wexly::win32 {

TZulSpeed::TZulSpeed()
    : m_model(*this)
{
}

HWND TZulSpeed::Create(
    HWND parent, int id, int x, int y, int width, int height, const std::string& caption)
{
    return CreateControl(kClassName, 0, parent, id, x, y, width, height, caption);
}

void TZulSpeed::AutoSize()
{
    TZulGdiMeasure measure(Font());
    m_model.AutoSize(measure);
    if (Handle()) {
        SetWindowPos(Handle(), nullptr, 0, 0, m_model.Width(), m_model.Height(),
            SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void TZulSpeed::MouseDown(TZulShift shift, TZulPoint at)
{
    if (OnMouseDown)
        OnMouseDown(shift, at.x, at.y);
}

void TZulSpeed::MouseUp(TZulShift shift, TZulPoint at)
{
    if (OnMouseUp)
        OnMouseUp(shift, at.x, at.y);
}

void TZulSpeed::MouseMove(TZulShift shift, TZulPoint at)
{
    if (OnMouseMove)
        OnMouseMove(shift, at.x, at.y);
}

} // namespace wexly::win32
