// The text editor model: caret, selection, viewport and every editing and movement command
// over a shared TOvcParaList. Views of one buffer form a ring and each keeps its own caret,
// selection and first visible line. No window: a host sets the viewport, feeds commands and
// mouse cells, and paints from the row queries. Borrows the clipboard and beeper.
#pragma once

#include "editor/EdSearch.h"
#include "editor/EditorTypes.h"
#include "editor/OvcCommandProcessor.h"
#include "editor/OvcCommands.h"
#include "editor/OvcParaList.h"

#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace wexly {

// One end of the selection: paragraph/position and the matching display line/column.
struct TEdPosition
{
    int32_t para = 1;
    int32_t pos = 1;
    int32_t line = 1;
    int32_t col = 1;
};

// What the host needs to draw one row of the window.
struct TEdPaintRow
{
    bool exists = false; // below the last line: only background
    int32_t line = 0;
    std::string text; // tabs expanded, from LeftColumn, at most VisibleColumns cells
    int32_t selFirst = -1; // selected cells [selFirst, selLast) within text's row, or -1
    int32_t selLast = -1;
    int bookmark = -1; // first bookmark on the line, or -1
};

// Vertical scroll bar in its scaled units (the native bar is 16-bit).
struct TEdScrollInfo
{
    int32_t min = 1;
    int32_t max = 1;
    int32_t page = 1;
    int32_t pos = 1;
    int32_t scale = 1;
};

// Mouse modifier state.
enum : uint8_t { kMouseShift = 1 };

class TOvcCustomEditor : private IParaListObserver
{
public:
    explicit TOvcCustomEditor(TEditorPlatform platform = {});
    virtual ~TOvcCustomEditor();
    TOvcCustomEditor(const TOvcCustomEditor&) = delete;
    TOvcCustomEditor& operator=(const TOvcCustomEditor&) = delete;

    // ---- Events ---------------------------------------------------------------------
    std::function<void()> OnChange;
    std::function<void(uint16_t code)> OnError; // set: errors go here instead of throwing
    std::function<void(int32_t line, int32_t screenCol)> OnShowStatus;
    std::function<void(int32_t topLine)> OnTopLineChanged;
    std::function<void(TCommandCode command)> OnUserCommand;

    // ---- Properties ----------------------------------------------------------------
    bool AutoIndent() const { return m_autoIndent; }
    void SetAutoIndent(bool v) { m_autoIndent = v; }
    bool HideSelection() const { return m_hideSelection; }
    void SetHideSelection(bool v) { m_hideSelection = v; }
    bool InsertMode() const { return m_insertMode; }
    // A change is reported like a caret move: the status shows the mode.
    void SetInsertMode(bool v);
    bool ReadOnly() const { return m_readOnly; }
    void SetReadOnly(bool v) { m_readOnly = v; }
    bool KeepClipboardChars() const { return m_keepClipboardChars; }
    void SetKeepClipboardChars(bool v) { m_keepClipboardChars = v; }
    const TCharSet& ClipboardChars() const { return m_clipboardChars; }
    void SetClipboardChars(const TCharSet& v) { m_clipboardChars = v; }
    int32_t LeftMargin() const { return m_leftMargin; } // pixels
    void SetLeftMargin(int32_t v) { m_leftMargin = v; }
    int32_t RightMargin() const { return m_rightMargin; }
    void SetRightMargin(int32_t v) { m_rightMargin = v; }
    bool ScrollPastEnd() const { return m_scrollPastEnd; }
    void SetScrollPastEnd(bool v);
    bool ShowBookmarks() const { return m_showBookmarks; }
    void SetShowBookmarks(bool v) { m_showBookmarks = v; }
    TTabType TabType() const { return m_tabType; }
    void SetTabType(TTabType v) { m_tabType = v; }
    bool TrimWhiteSpace() const { return m_trimWhiteSpace; }
    void SetTrimWhiteSpace(bool v) { m_trimWhiteSpace = v; }
    bool WantEnter() const { return m_wantEnter; }
    void SetWantEnter(bool v) { m_wantEnter = v; }
    bool WantTab() const { return m_wantTab; }
    void SetWantTab(bool v) { m_wantTab = v; }
    bool WrapAtLeft() const { return m_wrapAtLeft; }
    void SetWrapAtLeft(bool v); // stays on while word wrap is on
    bool WrapToWindow() const { return m_wrapToWindow; }
    void SetWrapToWindow(bool v);
    int32_t WheelDelta() const { return m_wheelDelta; }
    void SetWheelDelta(int32_t v) { m_wheelDelta = v < 1 ? 1 : v; }
    TCaretShape CaretIns() const { return m_caretIns; }
    void SetCaretIns(TCaretShape v) { m_caretIns = v; }
    TCaretShape CaretOvr() const { return m_caretOvr; }
    void SetCaretOvr(TCaretShape v) { m_caretOvr = v; }
    // The caret shape for the current mode.
    TCaretShape CurrentCaretShape() const { return m_insertMode ? m_caretIns : m_caretOvr; }
    const std::string& WordDelimiters() const { return m_wordDelimiters; }
    void SetWordDelimiters(std::string_view v);
    bool edIsWordDelim(char ch) const { return m_delims.Contains(ch); }
    const TCharSet& DelimiterSet() const { return m_delims; }

    // Buffer settings, shared by every view of the buffer.
    bool WordWrap() const { return m_list->WordWrap(); }
    void SetWordWrap(bool v); // on: WrapAtLeft on, ScrollPastEnd off
    int32_t WrapColumn() const { return m_wrapColumn; }
    void SetWrapColumn(int32_t v); // used when not wrapping to the window
    int32_t TabSize() const { return m_list->TabSize(); }
    void SetTabSize(int32_t v);
    int32_t ByteLimit() const { return m_list->ByteLimit(); }
    void SetByteLimit(int32_t v) { m_list->SetByteLimit(v); }
    int32_t ParaLimit() const { return m_list->ParaLimit(); }
    void SetParaLimit(int32_t v) { m_list->SetParaLimit(v); }
    int32_t ParaLengthLimit() const { return m_list->MaxParaLen(); }
    void SetParaLengthLimit(int32_t v); // 1..32767, others ignored
    uint16_t UndoBufferSize() const { return m_list->UndoSize(); }
    void SetUndoBufferSize(uint16_t v) { m_list->SetUndoSize(v); }

    // ---- Buffer and sharing ------------------------------------------------------------
    TOvcParaList& Buffer() { return *m_list; }
    const TOvcParaList& Buffer() const { return *m_list; }
    // Shares other's buffer (leaving any previous sharing); caret, selection and view of this
    // editor start at the top.
    virtual void Attach(TOvcCustomEditor& other);
    bool IsShared() const { return m_ringNext != this; }
    // Empties the editor: a shared buffer is left to the others and this editor gets a fresh
    // one with the same settings; an own buffer is cleared. Caret, view and selection reset.
    void DeleteAll();

    // ---- Viewport (set by the host) --------------------------------------------------
    int32_t TopLine() const { return m_topLine; }
    int32_t GetTopLine() const { return m_topLine; }
    void SetTopLine(int32_t line); // clamped to 1 .. LineCount - VisibleRows + 1
    int32_t LeftColumn() const { return m_leftColumn; } // 0-based cells scrolled off
    void SetLeftColumn(int32_t col);
    int32_t VisibleRows() const { return m_visibleRows; }
    int32_t GetVisibleRows() const { return m_visibleRows; }
    int32_t VisibleColumns() const { return m_visibleColumns; }
    // The window was resized; with wrap to window the text re-wraps at columns - 2.
    void SetVisibleSize(int32_t rows, int32_t columns);
    TEdScrollInfo VertScrollInfo() const;
    // Hold back the status and top-line events over several calls; they go out once at the
    // outermost EndUpdate.
    void BeginUpdate() { ++m_opDepth; }
    void EndUpdate();
    // A scroll-bar position in scaled units.
    void ScrollToBarPos(int32_t pos) { SetTopLine(pos * VertScrollInfo().scale); }
    void ScrollLines(int32_t delta); // the caret stays
    void MouseWheel(int32_t notches) { ScrollLines(-notches * m_wheelDelta); }

    // ---- Painting ------------------------------------------------------------------
    TEdPaintRow GetPaintRow(int32_t row) const; // row 0 is the top line
    // Caret cell relative to the text area (0-based); false when it is outside the window.
    bool CaretCell(int32_t& row, int32_t& column) const;
    // Where the system caret goes, in pixels of the control, for the font's cell size.
    void CaretPixel(
        int32_t cellWidth, int32_t rowHeight, bool marginLine, int32_t& x, int32_t& y) const;
    // Document lines the last change touched (last = kChangedToEnd: to the end).
    int32_t ChangedFirstLine() const { return m_list->ChangedFirstLine(); }
    int32_t ChangedLastLine() const { return m_list->ChangedLastLine(); }

    // ---- Caret -----------------------------------------------------------------------
    int32_t CaretLine() const { return m_caret.line; }
    int32_t CaretCol() const { return m_caret.col; }
    int32_t CaretPara() const { return m_caret.para; }
    int32_t CaretPos() const { return m_caret.pos; }
    int32_t CaretLineStart() const { return m_caret.pos - m_caret.col; }
    int32_t CaretScreenCol() const;
    int32_t GetCaretPosition(int32_t& col) const
    {
        col = m_caret.col;
        return m_caret.line;
    }
    void SetCaretPosition(int32_t line, int32_t col); // EEditorIndexError when outside

    // ---- Selection ---------------------------------------------------------------------
    const TEdPosition& SelStart() const { return m_selStart; }
    const TEdPosition& SelEnd() const { return m_selEnd; }
    bool SelMovingEndIsEnd() const { return m_movingEndIsEnd; }
    bool HasSelection() const;
    void GetSelection(int32_t& line1, int32_t& col1, int32_t& line2, int32_t& col2) const;
    void SetSelection(int32_t line1, int32_t col1, bool caretAtEnd, int32_t line2, int32_t col2);
    void SelectAll();
    void ClearSelection();

    // ---- Text access ---------------------------------------------------------------------
    void LineToPara(int32_t& line, int32_t& col) const; // in place; EEditorIndexError
    void ParaToLine(int32_t& para, int32_t& pos) const;
    int32_t GetLineCount() const { return m_list->LineCount(); }
    int32_t GetLineLength(int32_t line) const { return m_list->LineLength(line); }
    int32_t ParaCount() const { return m_list->ParaCount(); }
    std::string_view GetPara(int32_t para) const; // EEditorIndexError when outside
    std::string GetPrintableLine(int32_t line) const; // tabs expanded
    int32_t GetTextLen() const { return m_list->ByteCount(); }
    int32_t GetSelTextLen() const { return static_cast<int32_t>(GetSelTextBuf().size()); }
    std::string GetSelTextBuf() const; // paragraphs joined by CR LF
    void SetSelTextBuf(std::string_view text); // replaces the selection
    uint16_t AppendPara(std::string_view text); // loading: a line before the end-of-file para
    bool GetModified() const { return m_list->Modified(); }
    void SetModified(bool v) { m_list->SetModified(v); }

    // ---- Undo --------------------------------------------------------------------------
    bool CanUndo() const { return !m_readOnly && m_list->CanUndo(); }
    bool CanRedo() const { return !m_readOnly && m_list->CanRedo(); }
    virtual void Undo(); // beeps when there is nothing to undo
    virtual void Redo();
    void FlushUndoBuffer() { m_list->FlushUndo(); }

    // ---- Clipboard ------------------------------------------------------------------
    virtual void CopyToClipboard();
    virtual void CutToClipboard();
    virtual void PasteFromClipboard();

    // ---- Search --------------------------------------------------------------------------
    // Selects the match; false when nothing was found.
    bool Search(std::string_view text, TSearchOptions options);
    // Replacements made, -1 when nothing was found, 0 when a match was only selected, or the
    // error code of a failed replace.
    virtual int32_t Replace(std::string_view text, std::string_view with, TSearchOptions options);

    // ---- Commands ------------------------------------------------------------------------
    // True when handled (user commands count as handled).
    virtual bool ProcessCommand(TCommandCode command, char ch);
    // Keys the tables left untranslated: Enter with WantEnter, Tab with WantTab.
    bool ProcessUntranslatedEnter();
    bool ProcessUntranslatedTab();
    // A key-down as the window gets it: translated by the processor, then carried out; Tab
    // and Enter fall back to the editor's own handling. True when the key was used.
    bool KeyDown(
        TOvcCommandProcessor& processor, uint8_t key, uint8_t shift, bool systemKey = false);
    // A character message: codes of 32 and up are typed, unless the key before was the first
    // of a two-key sequence or Backspace.
    void CharMessage(char ch);

    // ---- Bookmarks (n = 0..9) ------------------------------------------------------------
    virtual void SetMarker(int n);
    virtual void SetMarkerAt(int n, int32_t line, int32_t col);
    void GotoMarker(int n);
    virtual void ClearMarker(int n);
    // False when unset.
    bool GetMarkerPosition(int n, int32_t& line, int32_t& col) const;

    // ---- Mouse, in cells of the text area (row 0 = top row, column 0 = first visible) ----
    void MouseDown(int32_t row, int32_t column, uint8_t shift);
    void MouseMove(int32_t row, int32_t column); // while the button is held
    void MouseUp() { m_mouseMode = TMouseMode::None; }
    void MouseDoubleClick(int32_t row, int32_t column, uint8_t shift);
    void MarginMouseDown(int32_t row, uint8_t shift); // whole lines
    void MarginDoubleClick(int32_t row); // the whole paragraph
    // Delay between auto-scroll steps while dragging outside the window, by pixel distance.
    static int32_t AutoScrollDelay(int32_t distance, int32_t scrollBarHeight);

    // Asserts the caret, selection and view agree with the buffer (tests).
    void CheckInvariants() const;

protected:
    virtual void DoOnChange();
    virtual void DoOnError(uint16_t code);
    virtual void DoOnUserCommand(TCommandCode command);
    void Beep() const;
    TEditorPlatform& Platform() { return m_platform; }
    // Every view sharing the buffer: caret, selection and view back to the top.
    void ResetAllViews();

    // Brackets a public operation so the status goes out once, after the outermost one.
    class TOperation
    {
    public:
        explicit TOperation(TOvcCustomEditor& e);
        ~TOperation();
        TOperation(const TOperation&) = delete;
        TOperation& operator=(const TOperation&) = delete;

    private:
        TOvcCustomEditor& m_e;
    };

    // Caret placement and scrolling.
    void MoveCaretTo(int32_t para, int32_t pos, bool extend); // then scroll into view
    void MoveCaretToLine(int32_t line, int32_t col, bool extend);
    void EnsureCaretVisible(bool pageMove = false, int32_t oldRow = 0);
    void PositionChanged() { m_statusPending = true; }

private:
    friend class TOvcEditorTestAccess;
    enum class TMouseMode { None, Text, Margin };

    // IParaListObserver
    void edUpdateOnInsertedText(int32_t para, int32_t pos, int32_t count) override;
    void edUpdateOnDeletedText(int32_t para, int32_t pos, int32_t count) override;
    void edUpdateOnInsertedPara(int32_t para, int32_t pos, int32_t indent) override;
    void edUpdateOnDeletedPara(int32_t para) override;
    void edUpdateOnJoinedParas(int32_t para, int32_t pos) override;
    void edResetPositionInfo() override;

    // Positions.
    TEdPosition FromParaPos(int32_t para, int32_t pos) const;
    TEdPosition FromLineCol(int32_t line, int32_t col) const;
    void RefreshPositions(); // lines and columns from paragraph positions
    int32_t MaxCol(int32_t line) const;
    int32_t ScreenCol(int32_t line, int32_t col) const;
    int32_t ColAtScreen(int32_t line, int32_t screenCol) const;
    void SetCaret(const TEdPosition& p)
    {
        m_caret = p;
        PositionChanged();
    }
    void edResetHighlight();
    void ExtendSelectionToCaret();
    void LeaveBuffer();
    void JoinRing(TOvcCustomEditor& other);
    void ClampTopLine();
    int32_t MaxTopLine() const;
    void ApplyWrapToWindow();
    void FlushEvents();

    // Movement (OvcCustomEditorMove.cpp).
    bool DoMove(TCommandCode command);
    void MoveLeft(bool extend);
    void MoveRight(bool extend);
    void MoveVert(int32_t delta, bool extend);
    void MovePage(int32_t direction, bool extend);
    void MoveTopOfPage(bool extend);
    void MoveBotOfPage(bool extend);
    void MoveWordLeft(bool extend);
    void MoveWordRight(bool extend);
    void MoveHome(bool extend);
    void MoveEnd(bool extend);
    bool DoBookmarkCommand(TCommandCode command, char ch);
    bool CellToLineCol(int32_t row, int32_t column, int32_t& line, int32_t& col);
    void SelectWordAt(int32_t para, int32_t pos, bool extend);

    // Editing (OvcCustomEditorEdit.cpp).
    bool DoEdit(TCommandCode command, char ch);
    void TypeChar(char ch);
    bool NewLine();
    void DoTab();
    void Backspace();
    void DeleteChar();
    void DeleteWord();
    void DeleteToLineStart();
    void DeleteToLineEnd();
    void DeleteLine();
    bool DeleteSelection(); // false when there was none
    uint16_t InsertBlockAtCaret(std::string_view text);
    int32_t SmartTabTarget() const;
    std::string ClipboardBytes() const;
    bool Check(uint16_t code); // reports a non-zero code; true when it was 0
    void AfterEdit(int32_t para, int32_t pos); // caret to the edit point and into view

    // Search (OvcCustomEditorSearch.cpp).
    int32_t SearchReplace(std::string_view text, std::string_view with, TSearchOptions options);
    int32_t ReplaceAllInScope(const TEdSearchPattern& pattern, std::string_view with, TParaPos from,
        TParaPos to, bool backward, const TCharSet* whole, bool selText);
    void SelectMatch(TParaPos at, int32_t length, bool backward);

    TEditorPlatform m_platform;
    std::shared_ptr<TOvcParaList> m_list;
    TOvcCustomEditor* m_ringNext = this; // views sharing m_list, circular
    TOvcCustomEditor* m_ringPrev = this;

    TEdPosition m_caret;
    TEdPosition m_selStart;
    TEdPosition m_selEnd;
    bool m_movingEndIsEnd = true; // SelMovingEnd: the end that follows the caret
    TMarker m_topAnchor { 1, 1 }; // text the top line shows, followed through edits
    int32_t m_topLine = 1;
    int32_t m_leftColumn = 0;
    int32_t m_visibleRows = 1;
    int32_t m_visibleColumns = 80;
    int32_t m_reportedTopLine = 1;

    int m_opDepth = 0;
    bool m_statusPending = false;
    TMouseMode m_mouseMode = TMouseMode::None;
    int32_t m_marginAnchorLine = 0;
    bool m_skipNextChar = false; // after ccPartialKey or Backspace

    bool m_autoIndent = false;
    bool m_hideSelection = true;
    bool m_insertMode = true;
    bool m_readOnly = false;
    bool m_keepClipboardChars = false;
    TCharSet m_clipboardChars { std::string_view("\t\r\n", 3) };
    int32_t m_leftMargin = 15;
    int32_t m_rightMargin = 5;
    bool m_scrollPastEnd = false;
    bool m_showBookmarks = true;
    TTabType m_tabType = TTabType::ttReal;
    bool m_trimWhiteSpace = true;
    bool m_wantEnter = true;
    bool m_wantTab = false;
    bool m_wrapAtLeft = true;
    bool m_wrapToWindow = false;
    int32_t m_wrapColumn = 80;
    int32_t m_wheelDelta = 1;
    TCaretShape m_caretIns = TCaretShape::csVertLine;
    TCaretShape m_caretOvr = TCaretShape::csBlock;
    std::string m_wordDelimiters;
    TCharSet m_delims;
};

// The base editor's word delimiters.
extern const std::string_view kDefaultWordDelimiters;

} // namespace wexly
