#include "controls/ZulControlModel.h"

#include "controls/ZulPainter.h"

#include <cassert>

namespace wexly {

TZulControlModel::TZulControlModel(TZulKind kind, IZulHost& host)
    : m_kind(kind)
    , m_host(host)
{
    if (kind == TZulKind::Button)
        m_width = 75;
}

void TZulControlModel::SetBounds(int width, int height)
{
    m_width = width;
    m_height = height;
}

void TZulControlModel::SetAllowAllUp(bool value)
{
    if (value == m_allowAllUp)
        return;
    m_allowAllUp = value;
    if (value && m_down) {
        m_down = false;
        Repaint();
    }
    UpdateExclusive();
}

void TZulControlModel::SetGroupIndex(int32_t value)
{
    if (value == m_groupIndex)
        return;
    m_groupIndex = value;
    if (value == 0 && m_down) {
        m_down = false;
        Repaint();
    }
    UpdateExclusive();
}

void TZulControlModel::SetDown(bool value)
{
    if (m_groupIndex == 0 || m_allowAllUp)
        value = false;
    if (value != m_down) {
        m_down = value;
        Repaint();
    }
    if (m_down)
        UpdateExclusive();
}

// Only a button that is down releases its partners: an up button joining a group, or changing
// its AllowAllUp, must not knock the group's down button up.
void TZulControlModel::UpdateExclusive()
{
    if (m_groupIndex != 0 && m_down)
        m_host.BroadcastButtonPressed(m_groupIndex);
}

void TZulControlModel::ButtonPressed(int32_t groupIndex, bool fromSelf)
{
    if (!fromSelf && groupIndex == m_groupIndex && m_down)
        SetDown(false);
}

void TZulControlModel::SetCaption(const std::string& value)
{
    if (value == m_caption)
        return;
    m_caption = value;
    Repaint();
}

void TZulControlModel::SetColor(TColorRef value)
{
    if (value == m_color)
        return;
    m_color = value;
    Repaint();
}

void TZulControlModel::SetFontColor(TColorRef value)
{
    if (value == m_fontColor)
        return;
    m_fontColor = value;
    Repaint();
}

void TZulControlModel::SetDepth(int value)
{
    if (value == m_depth)
        return;
    m_depth = value;
    Repaint();
}

void TZulControlModel::SetStaticEdge(bool value)
{
    if (value == m_staticEdge)
        return;
    m_staticEdge = value;
    Repaint();
}

void TZulControlModel::SetGlyph(const TBitmapImage& value)
{
    m_glyph = value;
    Repaint();
}

// A disabled control gets no more mouse or key input, so a press in progress could never end:
// it is abandoned.
void TZulControlModel::SetEnabled(bool value)
{
    if (value == m_enabled)
        return;
    m_enabled = value;
    CancelPress();
    SetCaptured(false);
    m_hover = false;
    Repaint();
}

// Losing the focus also loses the key-up of a held space bar; without ending the press here the
// button would stay drawn pressed.
void TZulControlModel::FocusChanged(bool gained)
{
    if (!gained) {
        CancelPress();
        SetCaptured(false);
        m_hover = false;
    }
    Repaint();
}

void TZulControlModel::MouseEnter()
{
    if (m_hover)
        return;
    m_hover = true;
    if ((m_depth <= 1 && m_enabled) || m_pressing)
        Repaint();
}

void TZulControlModel::MouseLeave()
{
    if (!m_hover)
        return;
    m_hover = false;
    if ((m_depth <= 1 && m_enabled) || m_pressing)
        Repaint();
}

void TZulControlModel::LeftButtonDown(TZulShift, TZulPoint)
{
    Press();
}

void TZulControlModel::LeftButtonUp(TZulShift, TZulPoint)
{
    Unpress();
}

void TZulControlModel::Press()
{
    BeforePress();
    if (m_down)
        return;
    m_pressing = true;
    Repaint();
    SetCaptured(true);
}

// The click fires wherever the pointer is when the press ends.
void TZulControlModel::Unpress()
{
    if (!m_pressing)
        return;
    if (m_groupIndex != 0)
        SetDown(true);
    m_pressing = false;
    m_spaceHeld = false;
    Repaint();
    SetCaptured(false);
    m_host.Click();
}

void TZulControlModel::CancelPress()
{
    if (!m_pressing && !m_spaceHeld)
        return;
    m_pressing = false;
    m_spaceHeld = false;
    Repaint();
}

void TZulControlModel::CaptureLost()
{
    if (!m_captured)
        return;
    m_captured = false;
    CancelPress();
    Repaint();
}

void TZulControlModel::SetCaptured(bool value)
{
    if (value == m_captured)
        return;
    m_captured = value;
    if (value)
        m_host.CaptureMouse();
    else
        m_host.ReleaseMouse();
}

TZulLook TZulControlModel::Look() const
{
    TZulLook look;
    look.kind = m_kind;
    look.width = m_width;
    look.height = m_height;
    look.color = m_color;
    look.fontColor = m_fontColor;
    look.caption = m_caption;
    look.glyph = m_glyph.Empty() ? nullptr : &m_glyph;
    look.enabled = m_enabled;
    look.down = m_down;
    look.pressed = m_down || (m_pressing && (m_hover || m_spaceHeld));
    look.hot = (m_hover || m_captured) && m_enabled;
    look.focused = m_kind == TZulKind::Button && m_host.Focused();
    look.isDefault = IsDefaultLook();
    look.depth = m_depth;
    look.staticEdge = m_staticEdge;
    return look;
}

void TZulControlModel::Paint(IZulCanvas& canvas) const
{
    PaintZul(Look(), canvas);
}

bool TZulControlModel::CheckInvariants() const
{
    if (m_down && (m_groupIndex == 0 || m_allowAllUp))
        return false;
    if (m_spaceHeld && !m_pressing)
        return false;
    return m_glyph.CheckInvariants();
}

} // namespace wexly
