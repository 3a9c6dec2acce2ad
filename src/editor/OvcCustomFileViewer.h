// A read-only viewer of any file as a hexadecimal dump, 16 bytes a row: it owns the open file
// handle and a small cache of 4096-byte pages, formats rows on demand, and keeps caret,
// selection, bookmarks and the scroll position in 0-based rows and columns. It borrows the file
// system, the clipboard and an observer that the window (or a test) supplies.
#pragma once

#include "editor/EdSearch.h"
#include "editor/LineReader.h"
#include "editor/OvcCommands.h"
#include "platform/Files.h"
#include "platform/Ui.h"

#include <algorithm>
#include <array>
#include <compare>
#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace wexly {

// One cached 4096-byte page of the file.
struct TViewerPage
{
    static constexpr int64_t kEmpty = -1; // no valid page number is negative
    int64_t pageNo = kEmpty;
    int32_t byteCount = 0; // bytes read into data; the rest is zero
    uint32_t lastUse = 0; // UseClock stamp of the last access; 0 for never
    std::array<uint8_t, 4096> data {};
};

// The page table: least recently used replacement by use stamps.
class TFileViewerPageCache
{
public:
    static constexpr int kPageSize = 4096;
    static constexpr int kMinPages = 2;
    static constexpr int kMaxPages = 512;
    static constexpr int kDefaultPages = 16;
    static constexpr uint32_t kClockLimit = 2147483646;

    explicit TFileViewerPageCache(uint32_t clockLimit = kClockLimit);

    int PageCount() const { return static_cast<int>(m_pages.size()); }
    // Values outside 2..512 are ignored; growing keeps the old table when memory runs out.
    void SetPageCount(int count);
    void Clear();
    void Invalidate(int64_t pageNo);
    // The page numbered pageNo, read from file when not cached. Throws EInOutError.
    const TViewerPage& Get(IFile& file, int64_t pageNo);

    uint32_t UseClock() const { return m_useClock; }
    uint64_t ReadCount() const { return m_reads; } // pages read from the file so far
    void CheckInvariants() const;

private:
    void Tick(TViewerPage& page);

    std::vector<TViewerPage> m_pages; // 2..512 records
    uint32_t m_useClock = 0; // < m_clockLimit
    uint32_t m_clockLimit;
    uint64_t m_reads = 0;
    size_t m_lastHit = 0; // index of the page last returned
};

// A position in the viewer: row and column, both from 0.
struct TViewerPos
{
    int64_t line = 0;
    int32_t col = 0;
    auto operator<=>(const TViewerPos&) const = default;
};

// What the window needs to drive its vertical scroll bar, whose positions are limited to 16
// bits in thumb messages: rows are grouped by scale.
struct TViewerScrollInfo
{
    int64_t scale = 1;
    int64_t max = 0; // the range runs from 0 to max
    int64_t page = 1;
    int64_t pos = 0;
};

class IFileViewerObserver
{
public:
    virtual ~IFileViewerObserver() = default;
    virtual void OnShowStatus(int64_t line, int32_t col) = 0; // the caret moved
    virtual void OnTopLineChanged(int64_t topLine) = 0;
    virtual void OnUserCommand(TCommandCode command) = 0;
    virtual void OnChange() = 0; // what is displayed changed: repaint everything
};

class TOvcCustomFileViewer
{
public:
    static constexpr int kBytesPerLine = 16;

    explicit TOvcCustomFileViewer(IFileSystem& fileSystem);
    virtual ~TOvcCustomFileViewer();
    TOvcCustomFileViewer(const TOvcCustomFileViewer&) = delete;
    TOvcCustomFileViewer& operator=(const TOvcCustomFileViewer&) = delete;

    void SetObserver(IFileViewerObserver* observer) { m_observer = observer; }
    void SetClipboard(IClipboard* clipboard) { m_clipboard = clipboard; }

    // ---- the file ----
    const std::string& FileName() const { return m_fileName; }
    void SetFileName(const std::string& name); // closes the viewer when the name changes
    bool IsOpen() const { return m_isOpen; }
    // true opens the file (throws EInOutError); false closes it and empties the view.
    void SetIsOpen(bool open);
    int64_t FileSize() const { return m_fileSize; }
    int BufferPageCount() const { return m_cache.PageCount(); }
    void SetBufferPageCount(int count);
    uint64_t PagesRead() const { return m_cache.ReadCount(); }

    // ---- display options ----
    bool FilterChars() const { return m_filterChars; }
    void SetFilterChars(bool on);
    bool ExpandTabs() const { return m_expandTabs; }
    void SetExpandTabs(bool on);
    int TabSize() const { return m_tabSize; }
    void SetTabSize(int size);
    bool ShowBookmarks() const { return m_showBookmarks; }
    void SetShowBookmarks(bool on);
    bool ShowCaret() const { return m_showCaret; }
    void SetShowCaret(bool on) { m_showCaret = on; }

    // ---- rows ----
    // 0 while closed; an empty file has one row that shows only its offset.
    int64_t LineCount() const { return m_isOpen ? m_lastLine + 1 : 0; }
    // The formatted row; empty outside the file. Valid until the next call.
    std::string_view GetLine(int64_t line);
    int32_t GetLineLength(int64_t line);
    std::string GetPrintableLine(int64_t line); // tabs expanded, for printing
    // Row layout: offsets keep 8 digits until the file's last row starts beyond 4 GiB.
    int32_t OffsetDigits() const { return m_offsetDigits; }
    int32_t HexColumn() const { return m_offsetDigits + 2; } // first digit of byte 0
    int32_t CharColumn() const { return m_offsetDigits + 51; } // byte 0 as a character
    int32_t FullLineLength() const { return CharColumn() + kBytesPerLine; }

    // ---- caret and selection ----
    int64_t GetCaretPosition(int32_t& col) const;
    TViewerPos Caret() const { return m_caret; }
    void SetCaretPosition(int64_t line, int32_t col);
    bool HasSelection() const { return m_anchor != m_caret; }
    void GetSelection(int64_t& line1, int32_t& col1, int64_t& line2, int32_t& col2) const;
    void SetSelection(int64_t line1, int32_t col1, bool caretAtEnd, int64_t line2, int32_t col2);
    void SelectAll();
    void ClearSelection();

    // ---- view ----
    int64_t GetTopLine() const { return m_topLine; }
    void SetTopLine(int64_t line);
    int32_t GetVisibleRows() const { return m_visibleRows; }
    void SetVisibleRows(int32_t rows);
    int32_t VisibleColumns() const { return m_visibleColumns; }
    void SetVisibleColumns(int32_t columns);
    int32_t LeftColumn() const { return m_leftColumn; }
    void SetLeftColumn(int32_t column);
    TViewerScrollInfo VerticalScroll() const;
    void SetTopLineFromScroll(int64_t thumbPos);

    // ---- painting helpers ----
    // Selected columns [from, to) of a row; false when none of the row is selected.
    bool SelectedColumns(int64_t line, int32_t& from, int32_t& to);
    // The first bookmark (0..9) on a row, or -1.
    int BookmarkOnLine(int64_t line) const;
    // The caret's cell relative to the view; false when it is outside or hidden.
    bool CaretCell(int32_t& row, int32_t& col) const;

    // ---- commands ----
    // Carries out a translated command; false when the viewer does not handle it (typed
    // characters go to the owner's key path).
    virtual bool ProcessCommand(TCommandCode command, char ch);

    // ---- bookmarks ----
    void SetMarker(int n);
    void SetMarkerAt(int n, int64_t line, int32_t col);
    void GotoMarker(int n);
    void ClearMarker(int n);
    bool GetMarkerPosition(int n, int64_t& line, int32_t& col) const;

    // ---- search and clipboard ----
    // Uses soBackward, soGlobal and soMatchCase; a match never spans two rows.
    bool Search(std::string_view text, TSearchOptions options);
    // Copies the selection (rows joined by CR LF). Throws std::runtime_error with
    // "Could not allocate memory for clipboard copy" when the block cannot be had.
    bool CopyToClipboard();

    void CheckInvariants() const;

protected:
    // The page cache and the formatted row read through this handle; null while released.
    IFile* File() const { return m_file.get(); }
    void SetFile(std::unique_ptr<IFile> file)
    {
        m_file = std::move(file);
        ++m_fileGeneration;
    }
    void CloseFile()
    {
        m_file.reset();
        ++m_fileGeneration;
    }
    // Changes whenever the handle is replaced or released, so a descendant can tell whether
    // what it knows about the handle still holds.
    uint64_t FileGeneration() const { return m_fileGeneration; }
    IFileSystem& FileSystem() const { return m_fileSystem; }
    // The opening itself: size, line state, empty cache. Throws EInOutError.
    void OpenForReading();
    void MarkOpen() { m_isOpen = true; }
    // Takes the file's current size (after a reopen or a write) and keeps positions in range.
    void RefreshSize(int64_t size);
    // Up to 16 bytes of a row; returns how many exist.
    int ReadLineBytes(int64_t line, uint8_t* bytes);
    // The same bytes inside the cached page: valid until the cache is used again.
    const uint8_t* LineBytes(int64_t line, int& count);
    void InvalidateLine(int64_t line);
    void NotifyChange();
    void NotifyStatus();

private:
    void ResetLineState(int64_t size);
    void FormatLine(int64_t line);
    void BuildCharMap();
    int32_t ClampCol(int64_t line, int32_t col);
    TViewerPos Clamp(TViewerPos pos);
    void MoveCaret(TViewerPos pos, bool extend);
    void ScrollToCaret();
    bool MoveCommand(TCommandCode command);
    bool ScrollCommand(TCommandCode command);
    void PageMove(int64_t delta, bool extend);
    TViewerPos WordLeft(TViewerPos pos);
    TViewerPos WordRight(TViewerPos pos);
    TViewerPos SelStart() const { return std::min(m_anchor, m_caret); }
    TViewerPos SelEnd() const { return std::max(m_anchor, m_caret); }

    IFileSystem& m_fileSystem;
    IFileViewerObserver* m_observer = nullptr;
    IClipboard* m_clipboard = nullptr;
    std::unique_ptr<IFile> m_file;
    uint64_t m_fileGeneration = 0;
    std::string m_fileName;
    bool m_isOpen = false;
    int64_t m_fileSize = 0;
    int64_t m_lastLine = 0; // (m_fileSize - 1) div 16, 0 for an empty file
    int32_t m_offsetDigits = 8; // >= 8
    TFileViewerPageCache m_cache;

    // The formatted row m_lineNo. Separator columns are never written, so each row only
    // rewrites its offset, pairs and characters.
    std::array<char, 16 + 51 + 16> m_lineBuf {};
    int32_t m_lineLen = 0;
    int64_t m_lineNo = -1; // -1: none
    std::array<char, 256> m_charMap {}; // byte -> character column glyph

    bool m_filterChars = true;
    bool m_expandTabs = true;
    bool m_showBookmarks = true;
    bool m_showCaret = true;
    int m_tabSize = 8;

    TViewerPos m_caret; // within 0..m_lastLine, 0..row length
    TViewerPos m_anchor; // the selection's fixed end; == m_caret without selection
    int64_t m_topLine = 0; // 0..max(0, LineCount - VisibleRows)
    int32_t m_visibleRows = 20; // set by the window as it is sized
    int32_t m_visibleColumns = 80;
    int32_t m_leftColumn = 0;
    std::array<std::optional<TViewerPos>, 10> m_markers;
};

} // namespace wexly
