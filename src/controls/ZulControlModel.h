// The state machine shared by the flat push button and the flat speed button: hover, press and
// release, the latched Down state, exclusive groups and the look that painting derives from
// them. It owns its glyph and borrows the host that stands for its window.
#pragma once

#include "controls/ZulCanvas.h"
#include "controls/ZulGlyph.h"

#include <cstdint>
#include <string>

namespace wexly {

struct TZulShift
{
    bool shift = false;
    bool ctrl = false;
    bool alt = false;
    bool left = false; // left mouse button held
    bool right = false;
    bool middle = false;
};

// What the model asks of its window.
class IZulHost
{
public:
    virtual ~IZulHost() = default;
    virtual void Invalidate() = 0;
    virtual void CaptureMouse() = 0;
    virtual void ReleaseMouse() = 0;
    // Sends the button-pressed notification to every control of the parent (this one too);
    // nothing when there is no parent.
    virtual void BroadcastButtonPressed(int32_t groupIndex) = 0;
    virtual bool Focused() const = 0;
    virtual void TakeFocus() = 0;
    virtual void Click() = 0;
    virtual void BeginDrag() { }
    virtual void MouseDown(TZulShift, TZulPoint) { }
    virtual void MouseUp(TZulShift, TZulPoint) { }
    virtual void MouseMove(TZulShift, TZulPoint) { }
};

enum class TZulKind { Button, Speed };

// Everything painting needs, worked out from the state.
struct TZulLook
{
    TZulKind kind = TZulKind::Speed;
    int width = 0;
    int height = 0;
    TColorRef color = clBtnFace;
    TColorRef fontColor = clBtnText;
    std::string caption;
    const TBitmapImage* glyph = nullptr; // null or empty: no glyph
    bool enabled = true;
    bool down = false;
    bool pressed = false; // drawn sunk
    bool hot = false;
    bool focused = false;
    bool isDefault = false;
    int depth = 0;
    bool staticEdge = false;
};

class TZulControlModel
{
public:
    TZulControlModel(TZulKind kind, IZulHost& host);
    virtual ~TZulControlModel() = default;
    TZulControlModel(const TZulControlModel&) = delete;
    TZulControlModel& operator=(const TZulControlModel&) = delete;

    TZulKind Kind() const { return m_kind; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    void SetBounds(int width, int height);

    bool AllowAllUp() const { return m_allowAllUp; }
    void SetAllowAllUp(bool value);
    int32_t GroupIndex() const { return m_groupIndex; }
    void SetGroupIndex(int32_t value);
    bool Down() const { return m_down; }
    void SetDown(bool value);

    const std::string& Caption() const { return m_caption; }
    void SetCaption(const std::string& value);
    TColorRef Color() const { return m_color; }
    void SetColor(TColorRef value);
    TColorRef FontColor() const { return m_fontColor; }
    void SetFontColor(TColorRef value);
    int Depth() const { return m_depth; }
    void SetDepth(int value);
    bool StaticEdge() const { return m_staticEdge; }
    void SetStaticEdge(bool value);
    bool Enabled() const { return m_enabled; }
    void SetEnabled(bool value);
    const TBitmapImage& Glyph() const { return m_glyph; }
    void SetGlyph(const TBitmapImage& value);

    bool Hover() const { return m_hover; }
    bool Pressing() const { return m_pressing; }
    bool MouseCaptured() const { return m_captured; }

    // Window events.
    void FocusChanged(bool gained);
    void MouseEnter();
    void MouseLeave();
    virtual void LeftButtonDown(TZulShift shift, TZulPoint at);
    virtual void LeftButtonUp(TZulShift shift, TZulPoint at);
    // The capture went elsewhere without our asking: the press is abandoned.
    void CaptureLost();
    // Another control of the parent (or this one) announces a button of `groupIndex` went down.
    void ButtonPressed(int32_t groupIndex, bool fromSelf);

    TZulLook Look() const;
    void Paint(IZulCanvas& canvas) const;
    bool CheckInvariants() const;

protected:
    void Press();
    void Unpress();
    void CancelPress();
    void UpdateExclusive();
    IZulHost& Host() const { return m_host; }
    bool SpaceHeld() const { return m_spaceHeld; }
    void SetSpaceHeld(bool value) { m_spaceHeld = value; }
    virtual bool IsDefaultLook() const { return false; }
    virtual void BeforePress() { }

private:
    void Repaint() { m_host.Invalidate(); }
    void SetCaptured(bool value);

    TZulKind m_kind;
    IZulHost& m_host;
    int m_width = 25;
    int m_height = 25;
    std::string m_caption;
    TColorRef m_color = clBtnFace;
    TColorRef m_fontColor = clBtnText;
    int m_depth = 0;
    bool m_staticEdge = false;
    bool m_enabled = true;
    TBitmapImage m_glyph;
    int32_t m_groupIndex = 0;
    bool m_allowAllUp = true;
    bool m_down = false; // only with m_groupIndex != 0 and !m_allowAllUp
    bool m_hover = false;
    bool m_pressing = false;
    bool m_spaceHeld = false;
    bool m_captured = false; // we hold the mouse capture
};

} // namespace wexly
