#include "editor/ParaNode.h"

#include "editor/EdStrings.h"
#include "editor/ParaPool.h"

#include <algorithm>
#include <cassert>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace wexly {

void RequireInvariant(bool condition, const char* what)
{
    if (!condition)
        throw std::logic_error(what);
}

namespace {
int32_t RoundUp(int32_t n, int32_t step)
{
    return (n + step - 1) / step * step;
}

bool Wraps(int32_t wrapColumn)
{
    return wrapColumn > 0 && wrapColumn < kMaxParaLen;
}

// Start of the display line after the one starting at start, or -1 when that one is the
// last (the rest fits, or only blanks follow the break).
int32_t NextStart(
    const char* text, int32_t len, int32_t start, int32_t wrapColumn, int32_t tabSize, bool tabs)
{
    int32_t remaining = len - start;
    int32_t width = tabs ? edGetActualCol(text + start, wrapColumn, tabSize)
                         : std::min(wrapColumn, remaining);
    if (width >= remaining)
        return -1;
    int32_t next = start + edFindNextLine(text + start, width);
    return next >= len ? -1 : next;
}

// Scratch copy of a line map during an incremental re-wrap; kept to avoid allocating
// on every keystroke.
std::vector<uint16_t>& OldMapScratch()
{
    static std::vector<uint16_t> scratch;
    return scratch;
}
} // namespace

TOutOfMemoryError::TOutOfMemoryError()
    : std::runtime_error("insufficient memory for requested operation")
{
}

TParaNode::TParaNode(const char* text, int32_t len, int32_t tabSize, int32_t wrapColumn)
    : TParaNode(nullptr, text, len, tabSize, wrapColumn)
{
}

TParaNode::TParaNode(
    TParaPool* pool, const char* text, int32_t len, int32_t tabSize, int32_t wrapColumn)
    : m_pool(pool)
{
    assert(len >= 0 && len <= kMaxParaLen);
    if (len > 0) {
        int32_t cap = RoundUp(len + 1, 8);
        m_text = static_cast<char*>(AllocBlock(static_cast<size_t>(cap)));
        if (!m_text)
            throw TOutOfMemoryError();
        std::memcpy(m_text, text, static_cast<size_t>(len));
        m_text[len] = '\0';
        m_capacity = static_cast<uint16_t>(cap);
        m_len = static_cast<uint16_t>(len);
    }
    Recalc(wrapColumn, tabSize);
}

TParaNode::~TParaNode()
{
    FreeBlock(m_text, m_capacity);
    if (m_lineMapCapacity > kInlineMap)
        FreeBlock(m_map.heap, sizeof(uint16_t) * m_lineMapCapacity);
}

TParaNode* TParaNode::New(
    TParaPool& pool, const char* text, int32_t len, int32_t tabSize, int32_t wrapColumn)
{
    static_assert(alignof(TParaNode) <= TParaPool::kGranule);
    void* mem = pool.Allocate(sizeof(TParaNode));
    if (!mem)
        throw std::bad_alloc();
    try {
        return ::new (mem) TParaNode(&pool, text, len, tabSize, wrapColumn);
    } catch (...) {
        pool.Free(mem, sizeof(TParaNode));
        throw;
    }
}

void TParaNode::operator delete(TParaNode* node, std::destroying_delete_t)
{
    TParaPool* pool = node->m_pool;
    node->~TParaNode();
    if (pool)
        pool->Free(node, sizeof(TParaNode));
    else
        ::operator delete(node);
}

void* TParaNode::AllocBlock(size_t bytes) const
{
    return m_pool ? m_pool->Allocate(bytes) : std::malloc(bytes);
}

void TParaNode::FreeBlock(void* block, size_t bytes) const
{
    if (m_pool)
        m_pool->Free(block, bytes);
    else
        std::free(block);
}

uint16_t TParaNode::LineStart(int32_t i) const
{
    return i >= 0 && i < m_lineCount ? Map()[i] : 0;
}

void TParaNode::SetLineStart(int32_t i, int32_t offset)
{
    if (i >= m_lineMapCapacity)
        ExpandLineMap(i + 1);
    Map()[i] = static_cast<uint16_t>(offset);
}

std::string_view TParaNode::NthLine(int32_t n) const
{
    if (n < 1 || n > m_lineCount)
        return {};
    const uint16_t* map = Map();
    int32_t start = map[n - 1];
    int32_t end = n < m_lineCount ? map[n] : m_len;
    return { Text() + start, static_cast<size_t>(end - start) };
}

int32_t TParaNode::PosToLine(int32_t pos, int32_t& col) const
{
    int32_t line = edFindPosInMap(Map(), m_lineCount, pos);
    col = pos - Map()[line - 1];
    return line;
}

int32_t TParaNode::CountWhiteSpace(int32_t pos) const
{
    int32_t i = std::min(pos - 1, static_cast<int32_t>(m_len)) - 1;
    int32_t n = 0;
    while (i >= 0 && edWhiteSpace(m_text[i])) {
        ++n;
        --i;
    }
    return n;
}

bool TParaNode::ExpandToLength(int32_t n)
{
    if (n <= m_capacity)
        return true;
    int32_t cap = RoundUp(n, 16);
    if (cap > 65535)
        return false;
    auto* block = static_cast<char*>(AllocBlock(static_cast<size_t>(cap)));
    if (!block)
        return false;
    if (m_text)
        std::memcpy(block, m_text, static_cast<size_t>(m_len) + 1);
    else
        block[0] = '\0';
    FreeBlock(m_text, m_capacity);
    m_text = block;
    m_capacity = static_cast<uint16_t>(cap);
    return true;
}

void TParaNode::ExpandLineMap(int32_t entries)
{
    if (entries <= m_lineMapCapacity)
        return;
    int32_t cap = std::max(8, RoundUp(entries, 8));
    size_t bytes = sizeof(uint16_t) * static_cast<size_t>(cap);
    auto* map = static_cast<uint16_t*>(AllocBlock(bytes));
    if (!map)
        throw std::bad_alloc();
    std::memset(map, 0, bytes);
    std::memcpy(map, Map(), sizeof(uint16_t) * m_lineMapCapacity);
    if (m_lineMapCapacity > kInlineMap)
        FreeBlock(m_map.heap, sizeof(uint16_t) * m_lineMapCapacity);
    m_map.heap = map;
    m_lineMapCapacity = static_cast<uint16_t>(cap);
}

void TParaNode::Recalc(int32_t wrapColumn, int32_t tabSize)
{
    m_lineCount = 1;
    Map()[0] = 0;
    if (!Wraps(wrapColumn) || m_len == 0)
        return;
    bool tabs = edHaveTabs(m_text, m_len);
    int32_t start = 0;
    while ((start = NextStart(m_text, m_len, start, wrapColumn, tabSize, tabs)) >= 0) {
        SetLineStart(m_lineCount, start);
        ++m_lineCount;
    }
}

void TParaNode::RecalcAfterInsDel(int32_t offset, int32_t oldLen, int32_t newLen,
    int32_t wrapColumn, int32_t tabSize, TLineChange& change)
{
    int32_t oldCount = m_lineCount;
    change.OldLineCount = oldCount;
    if (!Wraps(wrapColumn) || m_len == 0) {
        m_lineCount = 1;
        change.First = change.Last = 1;
        return;
    }
    auto& old = OldMapScratch();
    old.assign(Map(), Map() + oldCount);
    int32_t holding = edFindPosInMap(old.data(), oldCount, offset + 1);
    int32_t line = std::max(1, holding - 1); // a deletion can pull words back onto it
    int32_t start = old[static_cast<size_t>(line - 1)];
    int32_t delta = newLen - oldLen;
    bool tabs = edHaveTabs(m_text, m_len);
    int32_t j = line - 1;
    change.First = line;
    for (;;) {
        int32_t next = NextStart(m_text, m_len, start, wrapColumn, tabSize, tabs);
        if (next < 0) {
            m_lineCount = static_cast<uint16_t>(line);
            change.Last = line;
            return;
        }
        if (next >= offset + newLen) {
            // Past the edit the text is the old text shifted: once a line start matches an
            // old one, every later start does too.
            int32_t oldStart = next - delta;
            while (j < oldCount && old[static_cast<size_t>(j)] < oldStart)
                ++j;
            if (j < oldCount && old[static_cast<size_t>(j)] == oldStart) {
                int32_t newCount = line + (oldCount - j);
                ExpandLineMap(newCount);
                for (int32_t k = j; k < oldCount; ++k)
                    Map()[line + k - j]
                        = static_cast<uint16_t>(old[static_cast<size_t>(k)] + delta);
                m_lineCount = static_cast<uint16_t>(newCount);
                change.Last = line;
                return;
            }
        }
        SetLineStart(line, next);
        ++line;
        start = next;
    }
}

bool TParaNode::InsertText(const char* s, int32_t count, int32_t pos, int32_t tabSize,
    int32_t wrapColumn, TLineChange& change)
{
    int32_t len = m_len;
    int32_t pad = std::max(0, pos - 1 - len);
    int32_t total = len + pad + count;
    if (pos < 1 || count < 0 || total > kMaxParaLen)
        return false;
    if (total == len) {
        change = { 1, 1, m_lineCount };
        return true;
    }
    if (!ExpandToLength(total + 1))
        return false;
    if (pad > 0) {
        std::memset(m_text + len, ' ', static_cast<size_t>(pad));
        m_text[len + pad] = '\0';
    }
    edStrStInsert(m_text, s, len + pad, pos - 1, count);
    m_len = static_cast<uint16_t>(total);
    int32_t at = pad > 0 ? len : pos - 1;
    RecalcAfterInsDel(at, 0, pad + count, wrapColumn, tabSize, change);
    return true;
}

void TParaNode::DeleteText(
    int32_t pos, int32_t count, int32_t tabSize, int32_t wrapColumn, TLineChange& change)
{
    if (pos < 1 || pos > m_len || count <= 0) {
        change = { 1, 1, m_lineCount };
        return;
    }
    count = std::min(count, m_len - pos + 1);
    edDeleteSubString(m_text, m_len, count, pos - 1);
    m_len = static_cast<uint16_t>(m_len - count);
    RecalcAfterInsDel(pos - 1, count, 0, wrapColumn, tabSize, change);
}

bool TParaNode::ReplaceText(int32_t pos, int32_t oldLen, const char* s, int32_t newLen,
    int32_t tabSize, int32_t wrapColumn, TLineChange& change)
{
    if (pos < 1 || pos > m_len + 1 || oldLen < 0 || newLen < 0)
        return false;
    oldLen = std::min(oldLen, m_len - pos + 1);
    int32_t total = m_len - oldLen + newLen;
    if (total > kMaxParaLen || !ExpandToLength(total + 1))
        return false;
    char* at = m_text + pos - 1;
    std::memmove(at + newLen, at + oldLen, static_cast<size_t>(m_len - (pos - 1) - oldLen + 1));
    std::memcpy(at, s, static_cast<size_t>(newLen));
    m_len = static_cast<uint16_t>(total);
    RecalcAfterInsDel(pos - 1, oldLen, newLen, wrapColumn, tabSize, change);
    return true;
}

int32_t TParaNode::TrimWhiteSpace(int32_t tabSize, int32_t wrapColumn)
{
    int32_t n = CountWhiteSpace(m_len + 1);
    if (n > 0) {
        m_len = static_cast<uint16_t>(m_len - n);
        m_text[m_len] = '\0';
        Recalc(wrapColumn, tabSize);
    }
    return n;
}

void TParaNode::CheckInvariants(int32_t wrapColumn, int32_t tabSize) const
{
    RequireInvariant((m_text == nullptr) == (m_capacity == 0), "paragraph capacity without block");
    RequireInvariant(
        !m_text || (m_len < m_capacity && m_text[m_len] == '\0'), "paragraph not terminated");
    RequireInvariant(!m_text || std::strlen(m_text) == m_len, "paragraph length or NUL inside");
    RequireInvariant(
        m_lineCount >= 1 && m_lineCount <= m_lineMapCapacity && Map()[0] == 0, "line map");
    TParaNode fresh(Text(), m_len, tabSize, wrapColumn);
    RequireInvariant(fresh.m_lineCount == m_lineCount, "line count differs from a fresh wrap");
    for (int32_t i = 0; i < m_lineCount; ++i)
        RequireInvariant(fresh.Map()[i] == Map()[i], "line start differs from a fresh wrap");
}

} // namespace wexly
