// What the two flat button windows share: the model's host (painting, capture, focus, group
// notifications, click), mouse and hover tracking, fonts, glyphs and Ctrl-drag with drop
// targets. TZulButton and TZulSpeed each register their own window class on top of it.
#pragma once

#include "controls/ZulControlModel.h"
#include "win32/Win32Window.h"

#include <functional>
#include <string>

namespace wexly::win32 {

class TZulWindow : public TWin32Window, protected IZulHost
{
public:
    // A click runs OnClick when it is set and otherwise sends the parent WM_COMMAND /
    // BN_CLICKED, never both.
    std::function<void()> OnClick;
    // Drop target side: would a drop of `source` at (x, y) be accepted; the drop itself.
    std::function<bool(HWND source, int x, int y)> OnDragOver;
    std::function<void(HWND source, int x, int y)> OnDragDrop;
    // Drag source side: the drag ended on `target` (null when refused or cancelled).
    std::function<void(HWND target, int x, int y)> OnEndDrag;

    void SetCaption(const std::string& caption);
    std::string Caption() const { return Model().Caption(); }
    // Copies the image: the left half is drawn when enabled, the right half when disabled.
    void SetGlyph(const TBitmapImage& glyph) { Model().SetGlyph(glyph); }
    void SetColor(TColorRef color) { Model().SetColor(color); }
    void SetFontColor(TColorRef color) { Model().SetFontColor(color); }
    void SetDepth(int depth) { Model().SetDepth(depth); }
    void SetStaticEdge(bool value) { Model().SetStaticEdge(value); }
    void SetGroupIndex(int32_t value) { Model().SetGroupIndex(value); }
    void SetAllowAllUp(bool value) { Model().SetAllowAllUp(value); }
    void SetDown(bool value) { Model().SetDown(value); }
    bool Down() const { return Model().Down(); }
    // font: borrowed; null means the parent's font.
    void SetFont(HFONT font);
    HFONT Font() const { return m_font; }
    void SetBounds(int x, int y, int width, int height);
    int Tag() const { return m_tag; }
    void SetTag(int tag) { m_tag = tag; }
    // "tooltip|long hint": the part before the first "|" shows as the tooltip.
    std::wstring Hint() const { return m_hint; }
    void SetHint(const std::wstring& hint);
    // The one listener that shows the application's hint (the main window's status line): told
    // the long hint of a control the mouse enters, and "" when it leaves.
    static void SetHintListener(std::function<void(const std::string& longHint)> listener);
    // A menu shown on right click; its command goes to OnPopupCommand.
    void SetPopupMenu(HMENU menu) { m_popup = menu; }
    std::function<void(int command)> OnPopupCommand;

    ~TZulWindow() override;
    TZulWindow(const TZulWindow&) = delete;
    TZulWindow& operator=(const TZulWindow&) = delete;

protected:
    TZulWindow();
    virtual TZulControlModel& Model() = 0;
    virtual const TZulControlModel& Model() const = 0;
    HWND CreateControl(const wchar_t* className, DWORD style, HWND parent, int id, int x, int y,
        int width, int height, const std::string& caption);
    static bool RegisterControlClass(const wchar_t* className);

    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    static TZulShift ShiftFromKeys(WPARAM keys);
    static TZulPoint PointFrom(LPARAM lp);

    // IZulHost
    void Invalidate() override;
    void CaptureMouse() override;
    void ReleaseMouse() override;
    void BroadcastButtonPressed(int32_t groupIndex) override;
    bool Focused() const override;
    void TakeFocus() override;
    void Click() override;
    void BeginDrag() override;

    virtual void MouseMoved(TZulShift, TZulPoint) { }
    virtual void DragEnded() { }

    // Drag in progress (source side), driven from mouse messages.
    bool DragActive() const { return m_dragActive; }
    void DragMove(POINT screen);
    void DragFinish(POINT screen, bool drop);

private:
    void Paint();
    void TrackHover(LPARAM lp);
    void ShowPopup(LPARAM lp);
    void UpdateTooltip(bool create = false);
    static void ReportHint(const std::string& longHint);

    HWND m_parent = nullptr; // as created: the siblings of a button group share it
    HFONT m_font = nullptr;
    std::wstring m_hint;
    HMENU m_popup = nullptr;
    HWND m_tooltip = nullptr; // owned; created when the mouse first comes over
    int m_tag = 0;
    bool m_trackingLeave = false;
    bool m_dragActive = false;
};

} // namespace wexly::win32
