// The light flat button of the tool bar and the file-button bar: the shared state machine plus
// mouse events for its owner, Ctrl-drag and sizing to its glyph and caption.
#pragma once

#include "controls/ZulControlModel.h"

namespace wexly {

class TZulSpeedModel final : public TZulControlModel
{
public:
    explicit TZulSpeedModel(IZulHost& host);

    bool IsDraggable() const { return m_isDraggable; }
    void SetIsDraggable(bool value) { m_isDraggable = value; }
    bool Dragging() const { return m_dragging; }

    void LeftButtonDown(TZulShift shift, TZulPoint at) override;
    void LeftButtonUp(TZulShift shift, TZulPoint at) override;
    void MouseMoved(TZulShift shift, TZulPoint at);
    // The drag started by MouseMoved is over (dropped or cancelled).
    void DragEnded() { m_dragging = false; }

    // Fits the control round its glyph and caption.
    void AutoSize(ITextMeasure& measure);

private:
    bool m_isDraggable = false;
    bool m_dragging = false;
};

// The size AutoSize gives: 8 plus the whole glyph bitmap's width, the caption's width and 2
// between them; 8 plus the taller of glyph and text line.
TZulSize ZulSpeedAutoSize(
    const TBitmapImage& glyph, const std::string& caption, ITextMeasure& measure);

} // namespace wexly
