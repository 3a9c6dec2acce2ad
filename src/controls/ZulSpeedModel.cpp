#include "controls/ZulSpeedModel.h"

#include <algorithm>

namespace wexly {

TZulSpeedModel::TZulSpeedModel(IZulHost& host)
    : TZulControlModel(TZulKind::Speed, host)
{
}

void TZulSpeedModel::LeftButtonDown(TZulShift shift, TZulPoint at)
{
    Press();
    shift.left = true;
    Host().MouseDown(shift, at);
}

void TZulSpeedModel::LeftButtonUp(TZulShift shift, TZulPoint at)
{
    Unpress();
    Host().MouseUp(shift, at);
}

// A drag is not a click: the press that led to it is dropped before the drag takes the mouse.
void TZulSpeedModel::MouseMoved(TZulShift shift, TZulPoint at)
{
    if (m_isDraggable && shift.ctrl && shift.left && !m_dragging && Enabled()) {
        m_dragging = true;
        CancelPress();
        CaptureLost();
        Host().BeginDrag();
    }
    Host().MouseMove(shift, at);
}

void TZulSpeedModel::AutoSize(ITextMeasure& measure)
{
    const TZulSize size = ZulSpeedAutoSize(Glyph(), Caption(), measure);
    SetBounds(size.width, size.height);
}

TZulSize ZulSpeedAutoSize(
    const TBitmapImage& glyph, const std::string& caption, ITextMeasure& measure)
{
    const bool hasGlyph = !glyph.Empty();
    const bool hasCaption = !caption.empty();
    int width = 8;
    int contentHeight = hasGlyph ? glyph.height : 0;
    if (hasGlyph)
        width += glyph.width;
    if (hasCaption) {
        width += measure.TextExtent(caption).width;
        contentHeight = std::max(contentHeight, measure.TextExtent("|").height);
    }
    if (hasGlyph && hasCaption)
        width += 2;
    return { width, 8 + contentHeight };
}

} // namespace wexly
