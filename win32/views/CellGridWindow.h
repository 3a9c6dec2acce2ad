// The window side shared by the text editor and the hex viewer: a child control that paints
// its model's rows in a fixed-pitch cell grid, repaints only the rows that changed, keeps the
// system caret in the model's shape while focused, drives both scroll bars, turns key-downs
// into commands through the shared command processor, and turns the mouse into cell positions
// with capture and auto-scroll. It borrows the processor; the model hooks are the derived
// class's.
#pragma once

#include "editor/OvcCommandProcessor.h"
#include "editor/paint/GridPainter.h"
#include "win32/Win32Window.h"
#include "win32/views/GdiCellCanvas.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace wexly::win32 {

class TCellGridWindow : public TWin32Window
{
public:
    explicit TCellGridWindow(TOvcCommandProcessor& processor);

    bool Create(HWND parent, int id, const RECT& bounds);

    // Font and colours; both repaint everything.
    bool SetFixedFont(const std::wstring& face, int pointSize, bool bold = false);
    const TFixedFont& FixedFont() const { return m_font; }
    void SetColors(const TGridColors& colors);
    const TGridColors& Colors() const { return m_colors; }
    void SetLeftMarginLine(bool on);
    void SetRightMarginLine(bool on);
    // A sunken single border (the default) or none.
    void SetBorder(bool single);
    // Which scroll bars the window shows; both by default.
    void SetScrollBars(bool vertical, bool horizontal);

    // Updates are held between BeginUpdate and the matching EndUpdate.
    void BeginUpdate() { ++m_updateDepth; }
    void EndUpdate();
    // Brings the window in line with its model after a change made from outside.
    void Refresh();

    // The caret moved: delivered once the posted status message is processed.
    std::function<void(int64_t line, int32_t col)> OnShowStatus;

    // Milliseconds the last key or character message took, painting included.
    double LastInputMs() const { return m_lastInputMs; }
    // Rows repainted by the last paint.
    int LastPaintedRows() const { return m_lastPaintedRows; }

protected:
    struct TBar
    {
        int min = 0;
        int max = 0;
        int page = 1;
        int pos = 0;
        bool operator==(const TBar&) const = default;
    };

    // ---- model hooks ----
    virtual std::vector<TGridRow> ModelRows(int rows) = 0;
    virtual bool ModelCaretCell(int& row, int& col) = 0;
    virtual TCaretShape ModelCaretShape() const = 0;
    virtual int ModelLeftMargin() const = 0;
    virtual int ModelRightMargin() const { return 5; }
    virtual bool ModelHideSelection() const = 0;
    virtual bool ModelShowBookmarks() const = 0;
    virtual void ModelViewSize(int rows, int columns) = 0;
    virtual TBar ModelVertBar() = 0;
    virtual void ModelVertBarTo(int pos) = 0;
    virtual void ModelScrollRows(int delta) = 0;
    virtual TBar ModelHorzBar() = 0;
    virtual void ModelLeftColumnTo(int column) = 0;
    // A translated command; false when the model left it to the key path.
    virtual bool ModelCommand(TCommandCode command, char ch) = 0;
    // A key-down that no table translated (Enter, Tab); true when handled.
    virtual bool ModelUntranslatedKey(UINT vk) = 0;
    virtual void ModelChar(char ch) = 0;
    virtual void ModelMouseDown(int row, int col, bool shift, bool margin) = 0;
    virtual void ModelMouseDrag(int row, int col) = 0;
    virtual void ModelMouseUp() = 0;
    virtual void ModelDoubleClick(int row, int col, bool shift, bool margin) = 0;
    virtual void ModelWheel(int notches) = 0;
    virtual UINT DialogCode() const { return DLGC_WANTARROWS | DLGC_WANTCHARS; }
    // A row the owner draws itself; false lets the grid paint it.
    virtual bool CustomDrawRow(HDC, int /*row*/, const RECT&) { return false; }
    // Commands that may take long enough to show the hourglass.
    virtual bool IsLongCommand(TCommandCode) const { return false; }

    // The model reports the caret moved; the window posts the status.
    void StatusChanged(int64_t line, int32_t col);
    // Everything is repainted at the next paint; safe to call from inside the model.
    void InvalidateAll();
    // The model changed what it shows. Inside one of the window's own messages the rows are
    // compared once the message is done; from outside, everything is repainted.
    void ModelChanged();
    // The window shows another model now: its rows and caret start afresh, and the new model
    // learns the visible size. Scroll bars are set again only where they differ, which
    // is what makes a switch cheap.
    void ModelReplaced();
    // Ends a mouse drag as a button release would, while the model it belongs to is shown.
    void EndDrag() { OnMouseUp(); }
    const TGridLayout& Layout() const { return m_layout; }

    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    LRESULT Dispatch(UINT msg, WPARAM wp, LPARAM lp);
    void OnPaint();
    void OnSize();
    void OnKeyDown(UINT msg, WPARAM wp, LPARAM lp, bool& handled);
    void OnChar(WPARAM wp);
    void OnScroll(int bar, int code);
    void OnMouseDown(LPARAM lp, bool dbl);
    void OnMouseMove(LPARAM lp);
    void OnMouseUp();
    void OnAutoScrollTimer();
    void DragTo(POINT pt);
    void ArmAutoScroll(POINT pt);
    bool OnSetCursor();
    void OnFocus(bool focused);
    void Sync(); // rows, scroll bars, caret
    void UpdateScrollBars();
    void PlaceCaret();
    void DeliverStatus();
    TGridState State() const;
    void Relayout();

    TOvcCommandProcessor& m_processor;
    TFixedFont m_font;
    TBookmarkGlyphs m_glyphs;
    TGridColors m_colors;
    TGridLayout m_layout;
    TGridRowCache m_cache;
    bool m_leftMarginLine = false;
    bool m_rightMarginLine = false;
    bool m_border = true;
    bool m_vertBar = true;
    bool m_horzBar = true;
    int m_updateDepth = 0;
    int m_messageDepth = 0;
    bool m_changeNoted = false;
    bool m_focused = false;
    bool m_ignoreNextChar = false;
    // Caret as created: shape, size and visibility.
    bool m_caretExists = false;
    bool m_caretShown = false;
    TCaretBox m_caretBox;
    TBar m_vert { -1, -1, -1, -1 };
    TBar m_horz { -1, -1, -1, -1 };
    bool m_statusPending = false;
    bool m_statusPosted = false;
    int64_t m_statusLine = 0;
    int32_t m_statusCol = 0;
    bool m_dragging = false;
    bool m_timerArmed = false;
    POINT m_lastPointer {}; // client coordinates of the last captured move
    double m_lastInputMs = 0;
    int m_lastPaintedRows = 0;
};

} // namespace wexly::win32
