// TZulSpeed: the light flat button of the tool bar and the file-button bar (window class
// "TZulSpeed", which drop targets check for). Never takes the focus. Reports mouse events to
// its owner and starts a drag of itself on Ctrl + left button when draggable.
#pragma once

#include "controls/ZulSpeedModel.h"
#include "win32/controls/ZulWindow.h"

namespace wexly::win32 {

class TZulSpeed final : public TZulWindow
{
public:
    static constexpr const wchar_t* kClassName = L"TZulSpeed";

    std::function<void(TZulShift, int x, int y)> OnMouseDown;
    std::function<void(TZulShift, int x, int y)> OnMouseMove;
    std::function<void(TZulShift, int x, int y)> OnMouseUp;

    TZulSpeed();
    HWND Create(HWND parent, int id, int x, int y, int width = 25, int height = 25,
        const std::string& caption = {});

    bool IsDraggable() const { return m_model.IsDraggable(); }
    void SetIsDraggable(bool value) { m_model.SetIsDraggable(value); }
    // Sizes the button round its glyph and caption in its font.
    void AutoSize();
    int Width() const { return m_model.Width(); }
    int Height() const { return m_model.Height(); }

private:
    TZulControlModel& Model() override { return m_model; }
    const TZulControlModel& Model() const override { return m_model; }
    void MouseDown(TZulShift shift, TZulPoint at) override;
    void MouseUp(TZulShift shift, TZulPoint at) override;
    void MouseMove(TZulShift shift, TZulPoint at) override;
    void MouseMoved(TZulShift shift, TZulPoint at) override { m_model.MouseMoved(shift, at); }
    void DragEnded() override { m_model.DragEnded(); }

    TZulSpeedModel m_model;
};

} // namespace wexly::win32
