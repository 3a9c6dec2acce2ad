// One paragraph of the text buffer: its text block and the table of its wrapped display lines.
// Owns both; linked to its neighbours by the owning TOvcParaList.
#pragma once

#include <cstdint>
#include <new>
#include <stdexcept>
#include <string_view>

namespace wexly {

class TParaPool;

inline constexpr int32_t kMaxParaLen = 32767;

// Raised when a paragraph's text block cannot be allocated.
class TOutOfMemoryError : public std::runtime_error
{
public:
    TOutOfMemoryError();
};

// Lines of one paragraph touched by an edit or re-wrap, 1-based within the paragraph.
struct TLineChange
{
    int32_t First = 1;
    int32_t Last = 1;
    int32_t OldLineCount = 1; // line count before the change
};

// Throws std::logic_error(what) when condition is false; used by the invariant checks.
void RequireInvariant(bool condition, const char* what);

class TParaNode
{
public:
    // Copies len characters of text and wraps them (wrapColumn 0 or 32767: no wrap).
    TParaNode(const char* text, int32_t len, int32_t tabSize, int32_t wrapColumn);
    ~TParaNode();
    // A paragraph living in pool, blocks and all; delete gives it back there. Throws
    // std::bad_alloc when the node cannot be had, TOutOfMemoryError when its text cannot.
    static TParaNode* New(
        TParaPool& pool, const char* text, int32_t len, int32_t tabSize, int32_t wrapColumn);
    // Whoever deletes a paragraph (the list, the undo history) need not know where it lives.
    void operator delete(TParaNode* node, std::destroying_delete_t);
    // Paragraphs made by plain new live on the heap.
    static void* operator new(size_t bytes) { return ::operator new(bytes); }
    static void operator delete(void* block) { ::operator delete(block); }
    TParaNode(const TParaNode&) = delete;
    TParaNode& operator=(const TParaNode&) = delete;

    uint16_t Len() const { return m_len; }
    uint16_t Capacity() const { return m_capacity; } // bytes in the text block, 0 = none
    int32_t LineCount() const { return m_lineCount; } // display lines, at least 1
    uint16_t LineMapCapacity() const { return m_lineMapCapacity; }
    const char* Text() const { return m_text ? m_text : ""; } // never null
    std::string_view GetS() const { return { Text(), m_len }; }
    TParaNode* Next() const { return m_next; }
    TParaNode* Prev() const { return m_prev; }
    bool HasBlock() const { return m_text != nullptr; }

    // 0-based offset where display line i + 1 starts (entry 0 is 0).
    uint16_t LineStart(int32_t i) const;
    // Display line n (1-based); empty when out of range. The last line runs to the end.
    std::string_view NthLine(int32_t n) const;
    // Display line (1-based) holding position pos, and col = pos - start of that line.
    int32_t PosToLine(int32_t pos, int32_t& col) const;
    // Blanks (space or tab) immediately before position pos.
    int32_t CountWhiteSpace(int32_t pos) const;

    // Editing; the owning list checks limits first and keeps counts. Positions 1-based.
    // Insert count characters at pos (padding with spaces first when pos is past the end);
    // false when the block cannot grow.
    bool InsertText(const char* s, int32_t count, int32_t pos, int32_t tabSize, int32_t wrapColumn,
        TLineChange& change);
    // Delete count characters at pos; a range past the end truncates at pos.
    void DeleteText(
        int32_t pos, int32_t count, int32_t tabSize, int32_t wrapColumn, TLineChange& change);
    // Overwrite oldLen characters at pos by newLen characters of s; false when it cannot grow.
    bool ReplaceText(int32_t pos, int32_t oldLen, const char* s, int32_t newLen, int32_t tabSize,
        int32_t wrapColumn, TLineChange& change);
    // Removes trailing blanks; returns how many went.
    int32_t TrimWhiteSpace(int32_t tabSize, int32_t wrapColumn);

    // Full re-wrap.
    void Recalc(int32_t wrapColumn, int32_t tabSize);
    // Re-wrap after the span [offset, offset + oldLen) was replaced by newLen characters.
    void RecalcAfterInsDel(int32_t offset, int32_t oldLen, int32_t newLen, int32_t wrapColumn,
        int32_t tabSize, TLineChange& change);

    // Asserts that the line map matches a fresh wrap.
    void CheckInvariants(int32_t wrapColumn, int32_t tabSize) const;

private:
    friend class TOvcParaList;

    TParaNode(TParaPool* pool, const char* text, int32_t len, int32_t tabSize, int32_t wrapColumn);
    void* AllocBlock(size_t bytes) const;
    void FreeBlock(void* block, size_t bytes) const;
    bool ExpandToLength(int32_t n);
    void ExpandLineMap(int32_t entries);
    uint16_t* Map() { return m_lineMapCapacity > kInlineMap ? m_map.heap : m_map.inline_; }
    const uint16_t* Map() const
    {
        return m_lineMapCapacity > kInlineMap ? m_map.heap : m_map.inline_;
    }
    void SetLineStart(int32_t i, int32_t offset);

    static constexpr uint16_t kInlineMap = 4; // short maps live in the node itself

    char* m_text = nullptr; // NUL-terminated, m_capacity bytes; null until text arrives
    TParaNode* m_next = nullptr;
    TParaNode* m_prev = nullptr;
    TParaPool* m_pool = nullptr; // where the node and its blocks live; null: the heap
    union {
        uint16_t* heap;
        uint16_t inline_[kInlineMap];
    } m_map {}; // entry 0 is always 0
    // A paragraph of at most 32767 characters has at most as many lines, so 16 bits do; the
    // node is then 32 bytes in a 32-bit build, which a file of millions of lines feels.
    uint16_t m_lineCount = 1; // >= 1; 1 when wrapping is off or the text is empty
    uint16_t m_capacity = 0; // 0 exactly when m_text is null
    uint16_t m_len = 0; // <= kMaxParaLen, < m_capacity when there is a block
    uint16_t m_lineMapCapacity = kInlineMap; // >= m_lineCount
};

static_assert(sizeof(void*) != 4 || sizeof(TParaNode) == 32);

} // namespace wexly
