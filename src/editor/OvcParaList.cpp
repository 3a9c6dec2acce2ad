// Construction, the paragraph index, lookups, settings and bookmarks of TOvcParaList.
// The editing primitives and undo replay are in OvcParaListEdit.cpp.
#include "editor/OvcParaList.h"

#include "editor/EdStrings.h"
#include "editor/OvcParaListIndex.h"

#include <algorithm>

namespace wexly {

// ---- Position fix-ups ------------------------------------------------------------------

void FixOnInsertedText(TMarker& m, TAnchorKind, int32_t para, int32_t pos, int32_t count)
{
    if (m.Para == para && m.Pos >= pos)
        m.Pos += count;
}

void FixOnDeletedText(TMarker& m, TAnchorKind kind, int32_t para, int32_t pos, int32_t count)
{
    if (m.Para != para || m.Pos < pos)
        return;
    if (m.Pos >= pos + count)
        m.Pos -= count;
    else if (kind == TAnchorKind::Bookmark)
        m = {};
    else
        m.Pos = pos;
}

void FixOnInsertedPara(TMarker& m, TAnchorKind, int32_t para, int32_t pos, int32_t indent)
{
    if (m.Para > para) {
        ++m.Para;
    } else if (m.Para == para && m.Pos >= pos) {
        ++m.Para;
        m.Pos = indent + m.Pos - pos + 1;
    }
}

void FixOnDeletedPara(TMarker& m, TAnchorKind kind, int32_t para, int32_t paraCount)
{
    if (m.Para == para) {
        if (kind == TAnchorKind::Bookmark)
            m = {};
        else
            m.Pos = 1;
    } else if (m.Para > para) {
        --m.Para;
    }
    if (kind == TAnchorKind::Selection && m.Para > paraCount)
        m.Para = paraCount;
}

void FixOnJoinedParas(TMarker& m, TAnchorKind, int32_t para, int32_t pos)
{
    if (m.Para == para + 1) {
        m.Para = para;
        m.Pos += pos - 1;
    } else if (m.Para > para + 1) {
        --m.Para;
    }
}

// ---- Life cycle ------------------------------------------------------------------------

TOvcParaList::TOvcParaList(uint16_t undoSize)
    : m_undoSize(undoSize)
{
    ClearAll();
}

TOvcParaList::~TOvcParaList()
{
    m_undo.reset(); // its records may own paragraphs; they go first
    m_pool.Release(); // the paragraphs own nothing outside the pool
}

void TOvcParaList::ClearAll()
{
    m_undo.reset();
    m_pool.Release();
    m_head = m_tail = TParaNode::New(m_pool, "", 0, m_tabSize, WrapCol());
    m_paraCount = 1;
    m_byteCount = 0;
    m_lineCount = 1;
    m_modified = false;
    ++m_changeCount;
    m_markers = {};
    m_undo = std::make_unique<TOvcUndoBuffer>(m_undoSize);
    m_blocks.clear();
    m_blocks.push_back(TBlock { { m_head }, 1 });
    m_treeDirty = true;
    m_changedFirstLine = 1;
    m_changedLastLine = kChangedToEnd;
    InvalidateCache();
}

void TOvcParaList::Reset()
{
    ClearAll();
}

void TOvcParaList::AddObserver(IParaListObserver* view)
{
    if (view && std::find(m_views.begin(), m_views.end(), view) == m_views.end())
        m_views.push_back(view);
}

void TOvcParaList::EndPositionBatch()
{
    if (m_positionBatches > 0 && --m_positionBatches == 0) {
        for (IParaListObserver* v : m_views)
            v->edResetPositionInfo();
    }
}

void TOvcParaList::RemoveObserver(IParaListObserver* view)
{
    m_views.erase(std::remove(m_views.begin(), m_views.end(), view), m_views.end());
}

int32_t TOvcParaList::WrapCol() const
{
    return m_wordWrap ? m_wrapColumn : 0;
}

// ---- Index -----------------------------------------------------------------------------

void TOvcParaList::InvalidateCache() const
{
    m_cachedNode = nullptr;
}

void TOvcParaList::RebuildIndex() const
{
    auto count = static_cast<int32_t>(m_blocks.size());
    std::vector<int32_t> paras(static_cast<size_t>(count));
    std::vector<int32_t> lines(static_cast<size_t>(count));
    for (int32_t b = 0; b < count; ++b) {
        paras[static_cast<size_t>(b)]
            = static_cast<int32_t>(m_blocks[static_cast<size_t>(b)].nodes.size());
        lines[static_cast<size_t>(b)] = m_blocks[static_cast<size_t>(b)].lines;
    }
    FenwickBuild(m_paraTree, paras);
    FenwickBuild(m_lineTree, lines);
    m_treeDirty = false;
}

TOvcParaList::TLocation TOvcParaList::Locate(int32_t para, bool withLine) const
{
    TLocation loc;
    if (para < 1 || para > m_paraCount)
        return loc;
    if (m_treeDirty)
        RebuildIndex();
    int32_t before = 0;
    loc.block = FenwickFind(m_paraTree, para, before);
    loc.index = para - before - 1;
    const TBlock& b = m_blocks[static_cast<size_t>(loc.block)];
    loc.node = b.nodes[static_cast<size_t>(loc.index)];
    loc.para = para;
    if (!m_wordWrap) {
        loc.firstLine = para;
    } else if (withLine) {
        int32_t line = FenwickPrefix(m_lineTree, loc.block) + 1;
        for (int32_t i = 0; i < loc.index; ++i)
            line += b.nodes[static_cast<size_t>(i)]->m_lineCount;
        loc.firstLine = line;
    }
    return loc;
}

TOvcParaList::TLocation TOvcParaList::LocateLine(int32_t line) const
{
    if (!m_wordWrap)
        return Locate(line);
    TLocation loc;
    if (line < 1 || line > m_lineCount)
        return loc;
    if (m_treeDirty)
        RebuildIndex();
    int32_t before = 0;
    loc.block = FenwickFind(m_lineTree, line, before);
    const TBlock& b = m_blocks[static_cast<size_t>(loc.block)];
    int32_t first = before + 1;
    int32_t i = 0;
    while (first + b.nodes[static_cast<size_t>(i)]->m_lineCount <= line)
        first += b.nodes[static_cast<size_t>(i++)]->m_lineCount;
    loc.index = i;
    loc.node = b.nodes[static_cast<size_t>(i)];
    loc.firstLine = first;
    loc.para = FenwickPrefix(m_paraTree, loc.block) + i + 1;
    return loc;
}

// Cached lookup of a paragraph: the cached one or its neighbours cost nothing.
const TParaNode* TOvcParaList::CachedPara(int32_t para, int32_t& firstLine) const
{
    if (para < 1 || para > m_paraCount)
        return nullptr;
    if (m_cachedNode) {
        if (para == m_cachedPara) {
            firstLine = m_cachedFirstLine;
            return m_cachedNode;
        }
        if (para == m_cachedPara + 1) {
            m_cachedFirstLine += m_cachedNode->m_lineCount;
            m_cachedNode = m_cachedNode->m_next;
            m_cachedPara = para;
            firstLine = m_cachedFirstLine;
            return m_cachedNode;
        }
        if (para == m_cachedPara - 1) {
            m_cachedNode = m_cachedNode->m_prev;
            m_cachedFirstLine -= m_cachedNode->m_lineCount;
            m_cachedPara = para;
            firstLine = m_cachedFirstLine;
            return m_cachedNode;
        }
    }
    TLocation loc = Locate(para);
    SetCache(loc);
    firstLine = loc.firstLine;
    return loc.node;
}

void TOvcParaList::SetCache(const TLocation& loc) const
{
    m_cachedNode = loc.node;
    m_cachedPara = loc.para;
    m_cachedFirstLine = loc.firstLine;
}

const TParaNode* TOvcParaList::CachedLine(int32_t line, int32_t& para, int32_t& firstLine) const
{
    if (line < 1 || line > m_lineCount)
        return nullptr;
    if (m_cachedNode) {
        const TParaNode* n = m_cachedNode;
        if (line >= m_cachedFirstLine && line < m_cachedFirstLine + n->m_lineCount) {
            para = m_cachedPara;
            firstLine = m_cachedFirstLine;
            return n;
        }
        int32_t next = m_cachedFirstLine + n->m_lineCount;
        if (n->m_next && line >= next && line < next + n->m_next->m_lineCount) {
            para = m_cachedPara + 1;
            return CachedPara(para, firstLine);
        }
        if (n->m_prev && line < m_cachedFirstLine
            && line >= m_cachedFirstLine - n->m_prev->m_lineCount) {
            para = m_cachedPara - 1;
            return CachedPara(para, firstLine);
        }
    }
    TLocation loc = LocateLine(line);
    SetCache(loc);
    para = loc.para;
    firstLine = loc.firstLine;
    return loc.node;
}

// ---- Lookups ---------------------------------------------------------------------------

const TParaNode* TOvcParaList::NthPara(int32_t para) const
{
    int32_t firstLine = 0;
    return CachedPara(para, firstLine);
}

std::string_view TOvcParaList::ParaText(int32_t para) const
{
    const TParaNode* n = NthPara(para);
    return n ? n->GetS() : std::string_view();
}

int32_t TOvcParaList::ParaLength(int32_t para) const
{
    const TParaNode* n = NthPara(para);
    return n ? n->m_len : 0;
}

std::string_view TOvcParaList::NthLine(int32_t line) const
{
    int32_t para = 0;
    int32_t first = 0;
    const TParaNode* n = CachedLine(line, para, first);
    return n ? n->NthLine(line - first + 1) : std::string_view();
}

int32_t TOvcParaList::LineLength(int32_t line) const
{
    return static_cast<int32_t>(NthLine(line).size());
}

int32_t TOvcParaList::EffLen(int32_t line) const
{
    std::string_view s = NthLine(line);
    auto len = static_cast<int32_t>(s.size());
    return edHaveTabs(s.data(), len) ? edEffectiveLen(s.data(), len, m_tabSize) : len;
}

int32_t TOvcParaList::FirstLineOfPara(int32_t para) const
{
    int32_t first = 0;
    return CachedPara(para, first) ? first : 0;
}

int32_t TOvcParaList::FindLineByPara(int32_t para, int32_t pos, int32_t& col) const
{
    para = std::clamp(para, 1, m_paraCount);
    int32_t first = 0;
    const TParaNode* n = CachedPara(para, first);
    return first + n->PosToLine(pos, col) - 1;
}

int32_t TOvcParaList::FindParaByLine(int32_t line, int32_t& offset) const
{
    int32_t para = 0;
    int32_t first = 0;
    const TParaNode* n = CachedLine(line, para, first);
    offset = n ? n->LineStart(line - first) : 0;
    return n ? para : 0;
}

int32_t TOvcParaList::ActualCol(std::string_view line, int32_t effCol) const
{
    auto len = static_cast<int32_t>(line.size());
    if (!edHaveTabs(line.data(), len))
        return effCol;
    int32_t col = 0;
    for (int32_t i = 0; i < len; ++i) {
        col = line[static_cast<size_t>(i)] == '\t' ? (col / m_tabSize + 1) * m_tabSize : col + 1;
        if (col >= effCol)
            return i + 1;
    }
    return len + 1 + (effCol - col - 1);
}

int32_t TOvcParaList::EffCol(std::string_view line, int32_t actualCol) const
{
    auto len = static_cast<int32_t>(line.size());
    if (!edHaveTabs(line.data(), len))
        return actualCol;
    int32_t chars = std::min(actualCol - 1, len);
    return edEffectiveLen(line.data(), chars, m_tabSize) + 1 + (actualCol - 1 - chars);
}

uint16_t TOvcParaList::OkToInsert(int32_t para, int32_t newParas, int32_t bytes) const
{
    if (newParas > 0 || para > m_paraLimit) {
        int32_t allowance = m_paraLimit;
        // The empty end-of-file paragraph does not count against the limit.
        if (allowance != kNoLimit && para <= m_paraLimit && m_tail->m_len == 0)
            ++allowance;
        if (static_cast<int64_t>(m_paraCount) + newParas > allowance)
            return oeTooManyParas;
    }
    if (static_cast<int64_t>(m_byteCount) + bytes > m_byteLimit)
        return oeTextTooLarge;
    if (para > 0 && newParas == 0) {
        const TParaNode* n = NthPara(para);
        if (n && n->m_len + static_cast<int64_t>(bytes) > m_maxParaLen)
            return oeParaTooLongInsert;
    }
    return 0;
}

// ---- Settings --------------------------------------------------------------------------

void TOvcParaList::Recalculate()
{
    int32_t wrap = WrapCol();
    int32_t total = 0;
    for (TBlock& b : m_blocks) {
        b.lines = 0;
        for (TParaNode* n : b.nodes) {
            n->Recalc(wrap, m_tabSize);
            b.lines += n->m_lineCount;
        }
        total += b.lines;
    }
    m_lineCount = total;
    m_treeDirty = true;
    InvalidateCache();
    for (IParaListObserver* v : m_views)
        v->edResetPositionInfo();
}

void TOvcParaList::SetWordWrap(bool value)
{
    if (value == m_wordWrap)
        return;
    m_wordWrap = value;
    Recalculate();
}

void TOvcParaList::SetWrapColumn(int32_t value)
{
    value = std::clamp(value, 1, kMaxParaLen);
    if (value == m_wrapColumn)
        return;
    m_wrapColumn = value;
    if (m_wordWrap)
        Recalculate();
}

void TOvcParaList::SetTabSize(int32_t value)
{
    value = std::clamp(value, 1, 255);
    if (value == m_tabSize)
        return;
    m_tabSize = value;
    if (m_wordWrap)
        Recalculate();
}

void TOvcParaList::SetByteLimit(int32_t value)
{
    m_byteLimit = value;
}
void TOvcParaList::SetParaLimit(int32_t value)
{
    m_paraLimit = value;
}
void TOvcParaList::SetMaxParaLen(int32_t value)
{
    m_maxParaLen = std::clamp(value, 1, kMaxParaLen);
}

void TOvcParaList::SetUndoSize(uint16_t size)
{
    m_undoSize = size;
    m_undo = std::make_unique<TOvcUndoBuffer>(size);
}

void TOvcParaList::SetModified(bool value)
{
    m_modified = value;
    if (!value)
        m_undo->SetModified();
}

// ---- Bookmarks -------------------------------------------------------------------------

TMarker TOvcParaList::Marker(int n) const
{
    return n >= 0 && n < kMarkerCount ? m_markers[static_cast<size_t>(n)] : TMarker();
}

void TOvcParaList::SetMarker(int n, int32_t para, int32_t pos)
{
    if (n >= 0 && n < kMarkerCount)
        m_markers[static_cast<size_t>(n)] = { para, pos };
}

void TOvcParaList::SetMarkerAt(int n, int32_t line, int32_t col)
{
    int32_t offset = 0;
    int32_t para = FindParaByLine(line, offset);
    if (para > 0)
        SetMarker(n, para, offset + col);
}

// ---- Checks ----------------------------------------------------------------------------

void TOvcParaList::CheckInvariants() const
{
    RequireInvariant(m_head && m_tail && !m_head->m_prev && !m_tail->m_next, "list ends");
    int32_t paras = 0;
    int64_t bytes = -2;
    int32_t lines = 0;
    size_t b = 0;
    size_t i = 0;
    for (const TParaNode* n = m_head; n; n = n->m_next) {
        RequireInvariant(!n->m_next || n->m_next->m_prev == n, "list links");
        while (b < m_blocks.size() && i == m_blocks[b].nodes.size()) {
            ++b;
            i = 0;
        }
        RequireInvariant(b < m_blocks.size() && m_blocks[b].nodes[i] == n, "index order");
        ++i;
        n->CheckInvariants(WrapCol(), m_tabSize);
        ++paras;
        bytes += n->m_len + 2;
        lines += n->m_lineCount;
    }
    RequireInvariant(paras == m_paraCount && paras >= 1, "ParaCount");
    RequireInvariant(bytes == m_byteCount, "ByteCount");
    RequireInvariant(lines == m_lineCount, "LineCount");
    for (const TBlock& blk : m_blocks) {
        int32_t sum = 0;
        for (const TParaNode* n : blk.nodes)
            sum += n->m_lineCount;
        RequireInvariant(!blk.nodes.empty() && sum == blk.lines, "block line sums");
    }
    m_undo->CheckInvariants();
}

} // namespace wexly
