// The text of one document: a doubly linked list of paragraphs with an index for fast lookup
// by paragraph or display line, limits, counts, ten bookmarks and the undo history. Owns its
// paragraphs and its undo buffer; borrows the views it reports changes to.
#pragma once

#include "editor/OvcCommands.h"
#include "editor/OvcUndoBuffer.h"
#include "editor/ParaListObserver.h"
#include "editor/ParaNode.h"
#include "editor/ParaPool.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

namespace wexly {

inline constexpr int32_t kNoLimit = 2147483647;
inline constexpr int32_t kChangedToEnd = 2147483647; // ChangedLastLine: repaint to the end
inline constexpr int kMarkerCount = 10;

// A remembered text position, 1-based; {0, 0} is unset.
struct TMarker
{
    int32_t Para = 0;
    int32_t Pos = 0;
    bool IsSet() const { return Para != 0; }
    bool operator==(const TMarker&) const = default;
};

// How a remembered position follows an edit: a bookmark is cleared when its text goes, a
// selection anchor moves to where the text went.
enum class TAnchorKind { Bookmark, Selection };

void FixOnInsertedText(TMarker& m, TAnchorKind kind, int32_t para, int32_t pos, int32_t count);
void FixOnDeletedText(TMarker& m, TAnchorKind kind, int32_t para, int32_t pos, int32_t count);
void FixOnInsertedPara(TMarker& m, TAnchorKind kind, int32_t para, int32_t pos, int32_t indent);
// paraCount is the number of paragraphs after the deletion (anchors are clamped to it).
void FixOnDeletedPara(TMarker& m, TAnchorKind kind, int32_t para, int32_t paraCount);
void FixOnJoinedParas(TMarker& m, TAnchorKind kind, int32_t para, int32_t pos);

class TOvcParaList
{
public:
    explicit TOvcParaList(uint16_t undoSize = kDefaultUndoSize);
    ~TOvcParaList();
    TOvcParaList(const TOvcParaList&) = delete;
    TOvcParaList& operator=(const TOvcParaList&) = delete;

    // Discards all text and history: one empty paragraph, bookmarks cleared, unmodified, a
    // fresh undo buffer of the same size. Limits, wrap and tab settings and views are kept.
    void Reset();

    // ---- Views -----------------------------------------------------------------------
    void AddObserver(IParaListObserver* view); // views are told in the order added
    void RemoveObserver(IParaListObserver* view);
    // While a batch of edits is open (replace-all), views still move their paragraph
    // positions with each change but may leave lines and columns until the last batch
    // closes, when every view is told to work them out again. Batches nest.
    void BeginPositionBatch() { ++m_positionBatches; }
    void EndPositionBatch();
    bool InPositionBatch() const { return m_positionBatches > 0; }

    // ---- Counts and lookups (out of range: null / empty / 0) ---------------------------
    int32_t ParaCount() const { return m_paraCount; }
    int32_t ByteCount() const { return m_byteCount; } // sum of Len + 2, minus 2 for the last
    int32_t LineCount() const { return m_lineCount; } // display lines
    const TParaNode* Head() const { return m_head; }
    const TParaNode* Tail() const { return m_tail; }
    const TParaNode* NthPara(int32_t para) const;
    std::string_view ParaText(int32_t para) const;
    int32_t ParaLength(int32_t para) const;
    // Display line (paragraph when wrap is off): its text, up to the next line start.
    std::string_view NthLine(int32_t line) const;
    int32_t LineLength(int32_t line) const;
    int32_t EffLen(int32_t line) const; // display width with tabs expanded
    // Document line holding (para, pos) and the column in it; para is clamped to the text.
    int32_t FindLineByPara(int32_t para, int32_t pos, int32_t& col) const;
    // Paragraph holding a display line and the 0-based offset of the line's start in it;
    // 0 when the line is out of range.
    int32_t FindParaByLine(int32_t line, int32_t& offset) const;
    // First display line of a paragraph.
    int32_t FirstLineOfPara(int32_t para) const;
    // Character column (1-based) under display column effCol of line, and back. Columns past
    // the end map one to one beyond it.
    int32_t ActualCol(std::string_view line, int32_t effCol) const;
    int32_t EffCol(std::string_view line, int32_t actualCol) const;

    // ---- Limits --------------------------------------------------------------------
    // 0, or the error code (265, 267, 268) inserting bytes / newParas at para would give.
    uint16_t OkToInsert(int32_t para, int32_t newParas, int32_t bytes) const;

    // ---- Primitives: check limits, record undo, keep counts, bookmarks and views --------
    // Returns 0 or an error code (263, 265-268); on error nothing changed.
    // Inserts count characters at (para, pos); past the end the paragraph is padded first.
    uint16_t InsertTextPrim(int32_t para, int32_t pos, const char* s, int32_t count);
    // Deletes count characters at (para, pos); a range past the end truncates at pos.
    void DeleteText(int32_t para, int32_t pos, int32_t count);
    // Overwrites oldLen characters at (para, pos) with newLen characters of s.
    uint16_t ReplaceText(int32_t para, int32_t pos, int32_t oldLen, const char* s, int32_t newLen);
    // New paragraph holding s before para (para may be ParaCount + 1) / after para.
    uint16_t InsertParaPrim(int32_t para, const char* s, int32_t len);
    uint16_t PlaceParaPrim(int32_t para, const char* s, int32_t len);
    // Deletes paragraph para (the only paragraph loses its text instead).
    void DeletePara(int32_t para);
    // Breaks para at pos (Enter). indent: columns of indentation wanted for the new
    // paragraph, made of tabs then spaces when tabSize > 0; returns its length in characters.
    uint16_t BreakPara(
        int32_t para, bool trimBlanks, int32_t& indent, int32_t tabSize, int32_t pos);
    // Appends paragraph para + 1 to para with its text starting at pos (padded when past the
    // end); the last paragraph does nothing. 266 when the result would be too long.
    uint16_t JoinWithNext(int32_t para, int32_t pos);
    // Deletes from (para1, pos1) up to, not including, (para2, pos2).
    uint16_t DeleteBlock(int32_t para1, int32_t pos1, int32_t para2, int32_t pos2);
    // Inserts s (CR dropped, LF breaks paragraphs) at (para, pos); both end after the text.
    uint16_t InsertBlock(int32_t& para, int32_t& pos, const char* s, int32_t len);
    // Loading: a new paragraph before the end-of-file paragraph, no limit check, no undo.
    uint16_t AppendParaEof(const char* s, int32_t len, bool trim);
    // Loading: appends a line, split at blanks into several paragraphs when longer than
    // MaxParaLen; stops with the first limit error.
    uint16_t AppendPara(const char* s, int32_t len, bool trim);

    // Lines touched by the last primitive (ChangedLastLine = kChangedToEnd when the line
    // count changed).
    int32_t ChangedFirstLine() const { return m_changedFirstLine; }
    int32_t ChangedLastLine() const { return m_changedLastLine; }

    // ---- Undo --------------------------------------------------------------------------
    TOvcUndoBuffer& UndoBuffer() { return *m_undo; }
    const TOvcUndoBuffer& UndoBuffer() const { return *m_undo; }
    bool BeginComplexOp() { return m_undo->BeginComplexOp(); }
    void EndComplexOp(bool saved) { m_undo->EndComplexOp(saved); }
    // Records a caret position (type 0) unless a replay is running.
    void RecordCaret(int32_t para, int32_t pos);
    bool CanUndo() const { return m_undo->UndoCount() > 0; }
    bool CanRedo() const { return m_undo->RedoCount() > 0; }
    // Replays one action backwards / forwards; (para, pos) is where the caret goes.
    // False, with nothing changed, when there is nothing to replay.
    bool Undo(int32_t& para, int32_t& pos);
    bool Redo(int32_t& para, int32_t& pos);
    void FlushUndo() { m_undo->Flush(); }
    bool InUndoRedo() const { return m_inUndoRedo; }

    // ---- Document state and settings --------------------------------------------------
    bool Modified() const { return m_modified; }
    // Goes up with every change to the text (edits, undo and redo, loading), so that a
    // watcher can tell whether the text is still the one it last copied.
    uint64_t ChangeCount() const { return m_changeCount; }
    // Clearing (after a save) also marks every undo record so that undo knows.
    void SetModified(bool value);
    bool WordWrap() const { return m_wordWrap; }
    int32_t WrapColumn() const { return m_wrapColumn; }
    int32_t TabSize() const { return m_tabSize; }
    void SetWordWrap(bool value); // each of these three re-wraps when it matters
    void SetWrapColumn(int32_t value); // clamped to 1..32767
    void SetTabSize(int32_t value); // clamped to 1..255
    int32_t ByteLimit() const { return m_byteLimit; }
    int32_t ParaLimit() const { return m_paraLimit; }
    int32_t MaxParaLen() const { return m_maxParaLen; }
    void SetByteLimit(int32_t value);
    void SetParaLimit(int32_t value);
    void SetMaxParaLen(int32_t value); // clamped to 1..32767
    uint16_t UndoSize() const { return m_undoSize; }
    void SetUndoSize(uint16_t size); // a new, empty undo buffer
    bool TrackMarkers() const { return m_trackMarkers; }
    // Off: primitives skip bookmark fix-ups and view notifications (callers do their own).
    void SetTrackMarkers(bool value) { m_trackMarkers = value; }
    // Re-wraps every paragraph and recounts the lines.
    void Recalculate();

    // ---- Bookmarks 0..9 ------------------------------------------------------------------
    TMarker Marker(int n) const;
    void SetMarker(int n, int32_t para, int32_t pos); // n >= 10 is ignored
    void SetMarkerAt(int n, int32_t line, int32_t col);
    void ClearMarker(int n) { SetMarker(n, 0, 0); }

    // Bytes the paragraphs' pool holds from the system (for tests and measurements).
    size_t PoolBytes() const { return m_pool.HeldBytes(); }

    // Asserts every structural invariant (slow; for tests).
    void CheckInvariants() const;

private:
    struct TBlock;
    struct TLocation;

    // Index and lookup cache.
    TLocation Locate(int32_t para, bool withLine = true) const;
    TLocation LocateLine(int32_t line) const;
    const TParaNode* CachedPara(int32_t para, int32_t& firstLine) const;
    const TParaNode* CachedLine(int32_t line, int32_t& para, int32_t& firstLine) const;
    void SetCache(const TLocation& loc) const;
    void InvalidateCache() const;
    void RebuildIndex() const;
    void LinkBefore(TParaNode* node, int32_t para);
    void SplitBlock(int32_t block, int32_t index);
    TParaNode* Unlink(int32_t para);
    TParaNode* MutablePara(int32_t para, int32_t& firstLine);

    // Editing helpers.
    int32_t WrapCol() const; // what paragraphs wrap at: 0 when wrap is off
    uint16_t CheckGrowth(int32_t para, const TParaNode* node, int32_t bytes) const;
    void AfterTextEdit(
        int32_t para, int32_t firstLine, const TParaNode* node, const TLineChange& change);
    void RecordText(TUndoType type, const char* data, int32_t len, int32_t pos, int32_t para);
    void NotifyInsertedText(int32_t para, int32_t pos, int32_t count);
    void NotifyDeletedText(int32_t para, int32_t pos, int32_t count);
    void NotifyInsertedPara(int32_t para, int32_t pos, int32_t indent);
    void NotifyDeletedPara(int32_t para);
    void NotifyJoinedParas(int32_t para, int32_t pos);
    uint16_t InsertNode(int32_t at, const char* s, int32_t len, TUndoType type, int32_t recordPara);
    void AttachPara(TParaNode* node, int32_t at);
    TParaNode* DetachPara(int32_t para);
    void ReinsertNode(TParaNode* node, int32_t at);
    void ApplyUndo(const TUndoRecord& rec, int32_t& para, int32_t& pos);
    void ApplyRedo(const TUndoRecord& rec, int32_t& para, int32_t& pos);
    void ClearAll();

    // Holds every paragraph of the list and of its undo history, so that dropping the text
    // releases slabs instead of visiting each paragraph.
    TParaPool m_pool;
    TParaNode* m_head = nullptr;
    TParaNode* m_tail = nullptr; // the end-of-file paragraph after a load
    int32_t m_paraCount = 0; // >= 1
    int32_t m_byteCount = 0; // sum of (Len + 2) - 2
    int32_t m_lineCount = 0; // sum of LineCount
    int32_t m_paraLimit = kNoLimit;
    int32_t m_byteLimit = kNoLimit;
    int32_t m_maxParaLen = kMaxParaLen;
    bool m_wordWrap = false;
    int32_t m_wrapColumn = 80;
    int32_t m_tabSize = 8;
    bool m_modified = false;
    uint64_t m_changeCount = 0;
    bool m_trackMarkers = true;
    bool m_inUndoRedo = false;
    std::array<TMarker, kMarkerCount> m_markers {};
    uint16_t m_undoSize = kDefaultUndoSize;
    std::unique_ptr<TOvcUndoBuffer> m_undo;
    int32_t m_changedFirstLine = 1;
    int32_t m_changedLastLine = 1;
    std::vector<IParaListObserver*> m_views;
    int32_t m_positionBatches = 0; // open BeginPositionBatch calls

    // Index: the paragraphs in order, in blocks, with Fenwick trees over the blocks' paragraph
    // and line counts; rebuilt lazily after blocks split or vanish.
    std::vector<TBlock> m_blocks;
    mutable std::vector<int32_t> m_paraTree;
    mutable std::vector<int32_t> m_lineTree;
    mutable bool m_treeDirty = true;
    // Last paragraph reached by a lookup: sequential access skips the index.
    mutable const TParaNode* m_cachedNode = nullptr;
    mutable int32_t m_cachedPara = 0;
    mutable int32_t m_cachedFirstLine = 0;
};

// Holds a position batch of list open until End or its end of scope.
class TPositionBatch
{
public:
    explicit TPositionBatch(TOvcParaList& list)
        : m_list(&list)
    {
        list.BeginPositionBatch();
    }
    ~TPositionBatch() { End(); }
    TPositionBatch(const TPositionBatch&) = delete;
    TPositionBatch& operator=(const TPositionBatch&) = delete;
    void End()
    {
        if (m_list)
            m_list->EndPositionBatch();
        m_list = nullptr;
    }

private:
    TOvcParaList* m_list;
};

} // namespace wexly
