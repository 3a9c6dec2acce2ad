// The editing primitives of TOvcParaList and the replay of undo records.
#include "editor/EdStrings.h"
#include "editor/OvcParaList.h"
#include "editor/OvcParaListIndex.h"

#include <algorithm>
#include <string>

namespace wexly {

namespace {
bool Aliases(const TParaNode* node, const char* s)
{
    const char* text = node->Text();
    return node->HasBlock() && s >= text && s < text + node->Capacity();
}
} // namespace

// ---- Index maintenance -----------------------------------------------------------------

void TOvcParaList::LinkBefore(TParaNode* node, int32_t para)
{
    TLocation loc;
    if (para == m_paraCount) { // before the tail: loading appends here
        loc.block = static_cast<int32_t>(m_blocks.size()) - 1;
        loc.index = static_cast<int32_t>(m_blocks.back().nodes.size()) - 1;
        loc.node = m_tail;
    } else if (para <= m_paraCount) {
        loc = Locate(para, false);
    } else {
        loc.block = static_cast<int32_t>(m_blocks.size()) - 1;
        loc.index = static_cast<int32_t>(m_blocks.back().nodes.size());
    }
    if (TParaNode* after = loc.node) {
        node->m_next = after;
        node->m_prev = after->m_prev;
        (after->m_prev ? after->m_prev->m_next : m_head) = node;
        after->m_prev = node;
    } else {
        node->m_prev = m_tail;
        node->m_next = nullptr;
        m_tail->m_next = node;
        m_tail = node;
    }
    TBlock& b = m_blocks[static_cast<size_t>(loc.block)];
    b.nodes.insert(b.nodes.begin() + loc.index, node);
    b.lines += node->m_lineCount;
    if (!m_treeDirty) {
        FenwickAdd(m_paraTree, loc.block, 1);
        FenwickAdd(m_lineTree, loc.block, node->m_lineCount);
    }
    if (b.nodes.size() > kMaxBlockParas)
        SplitBlock(loc.block, loc.index);
    ++m_paraCount;
    m_lineCount += node->m_lineCount;
    InvalidateCache();
}

void TOvcParaList::SplitBlock(int32_t block, int32_t index)
{
    TBlock& b = m_blocks[static_cast<size_t>(block)];
    auto size = static_cast<int32_t>(b.nodes.size());
    // Appending (loading) fills blocks completely; other inserts split evenly.
    int32_t at = index >= size - 2 ? size - 1 : size / 2;
    TBlock tail;
    tail.nodes.assign(b.nodes.begin() + at, b.nodes.end());
    b.nodes.resize(static_cast<size_t>(at));
    for (const TParaNode* n : tail.nodes)
        tail.lines += n->m_lineCount;
    b.lines -= tail.lines;
    m_blocks.insert(m_blocks.begin() + block + 1, std::move(tail));
    m_treeDirty = true;
}

TParaNode* TOvcParaList::Unlink(int32_t para)
{
    TLocation loc = Locate(para, false);
    TParaNode* node = loc.node;
    (node->m_prev ? node->m_prev->m_next : m_head) = node->m_next;
    (node->m_next ? node->m_next->m_prev : m_tail) = node->m_prev;
    node->m_next = node->m_prev = nullptr;
    TBlock& b = m_blocks[static_cast<size_t>(loc.block)];
    b.nodes.erase(b.nodes.begin() + loc.index);
    b.lines -= node->m_lineCount;
    if (b.nodes.empty()) {
        m_blocks.erase(m_blocks.begin() + loc.block);
        m_treeDirty = true;
    } else if (!m_treeDirty) {
        FenwickAdd(m_paraTree, loc.block, -1);
        FenwickAdd(m_lineTree, loc.block, -node->m_lineCount);
    }
    --m_paraCount;
    m_lineCount -= node->m_lineCount;
    InvalidateCache();
    return node;
}

void TOvcParaList::AfterTextEdit(
    int32_t para, int32_t firstLine, const TParaNode* node, const TLineChange& change)
{
    int32_t delta = node->m_lineCount - change.OldLineCount;
    if (delta != 0) {
        TLocation loc = Locate(para, false);
        m_blocks[static_cast<size_t>(loc.block)].lines += delta;
        if (!m_treeDirty)
            FenwickAdd(m_lineTree, loc.block, delta);
        m_lineCount += delta;
        if (m_cachedNode && m_cachedPara > para)
            m_cachedFirstLine += delta;
    }
    m_changedFirstLine = firstLine + change.First - 1;
    m_changedLastLine = delta != 0 ? kChangedToEnd : firstLine + change.Last - 1;
    m_modified = true;
    ++m_changeCount;
}

TParaNode* TOvcParaList::MutablePara(int32_t para, int32_t& firstLine)
{
    return const_cast<TParaNode*>(CachedPara(para, firstLine));
}

// ---- Undo recording and notifications ---------------------------------------------------

void TOvcParaList::RecordText(
    TUndoType type, const char* data, int32_t len, int32_t pos, int32_t para)
{
    if (!m_inUndoRedo)
        m_undo->Push(type, m_modified, data, static_cast<uint16_t>(len), pos, para);
}

void TOvcParaList::RecordCaret(int32_t para, int32_t pos)
{
    RecordText(TUndoType::Caret, nullptr, 0, pos, para);
}

void TOvcParaList::NotifyInsertedText(int32_t para, int32_t pos, int32_t count)
{
    if (!m_trackMarkers)
        return;
    for (TMarker& m : m_markers) {
        if (m.Para == para) // only bookmarks in the paragraph move; replace-all comes here often
            FixOnInsertedText(m, TAnchorKind::Bookmark, para, pos, count);
    }
    for (IParaListObserver* v : m_views)
        v->edUpdateOnInsertedText(para, pos, count);
}

void TOvcParaList::NotifyDeletedText(int32_t para, int32_t pos, int32_t count)
{
    if (!m_trackMarkers)
        return;
    for (TMarker& m : m_markers) {
        if (m.Para == para)
            FixOnDeletedText(m, TAnchorKind::Bookmark, para, pos, count);
    }
    for (IParaListObserver* v : m_views)
        v->edUpdateOnDeletedText(para, pos, count);
}

void TOvcParaList::NotifyInsertedPara(int32_t para, int32_t pos, int32_t indent)
{
    if (!m_trackMarkers)
        return;
    for (TMarker& m : m_markers)
        FixOnInsertedPara(m, TAnchorKind::Bookmark, para, pos, indent);
    for (IParaListObserver* v : m_views)
        v->edUpdateOnInsertedPara(para, pos, indent);
}

void TOvcParaList::NotifyDeletedPara(int32_t para)
{
    if (!m_trackMarkers)
        return;
    for (TMarker& m : m_markers)
        FixOnDeletedPara(m, TAnchorKind::Bookmark, para, m_paraCount);
    for (IParaListObserver* v : m_views)
        v->edUpdateOnDeletedPara(para);
}

void TOvcParaList::NotifyJoinedParas(int32_t para, int32_t pos)
{
    if (!m_trackMarkers)
        return;
    for (TMarker& m : m_markers)
        FixOnJoinedParas(m, TAnchorKind::Bookmark, para, pos);
    for (IParaListObserver* v : m_views)
        v->edUpdateOnJoinedParas(para, pos);
}

// ---- Text primitives --------------------------------------------------------------------

uint16_t TOvcParaList::CheckGrowth(int32_t para, const TParaNode* node, int32_t bytes) const
{
    // A replay restores a state that was valid when recorded, whatever the limits now.
    if (m_inUndoRedo)
        return node->m_len + bytes > kMaxParaLen ? oeParaTooLongInsert : 0;
    return OkToInsert(para, 0, bytes);
}

uint16_t TOvcParaList::InsertTextPrim(int32_t para, int32_t pos, const char* s, int32_t count)
{
    int32_t first = 0;
    TParaNode* node = MutablePara(para, first);
    if (!node || pos < 1 || count < 0)
        return 0;
    int32_t len = node->m_len;
    int32_t pad = std::max(0, pos - 1 - len);
    int32_t total = pad + count;
    if (total == 0)
        return 0;
    if (uint16_t err = CheckGrowth(para, node, total))
        return err;
    // Padding is recorded with the text, so that undo takes it away again.
    std::string copy;
    if (pad > 0 || Aliases(node, s)) {
        copy.assign(static_cast<size_t>(pad), ' ');
        copy.append(s, static_cast<size_t>(count));
        s = copy.data();
        pos -= pad;
        count = total;
    }
    TLineChange change;
    if (!node->InsertText(s, count, pos, m_tabSize, WrapCol(), change))
        return oeOutOfMemory;
    RecordText(TUndoType::InsertText, s, count, pos, para);
    m_byteCount += count;
    AfterTextEdit(para, first, node, change);
    NotifyInsertedText(para, pos, count);
    return 0;
}

void TOvcParaList::DeleteText(int32_t para, int32_t pos, int32_t count)
{
    int32_t first = 0;
    TParaNode* node = MutablePara(para, first);
    if (!node || pos < 1 || pos > node->m_len || count <= 0)
        return;
    count = std::min(count, node->m_len - pos + 1);
    RecordText(TUndoType::DeleteText, node->Text() + pos - 1, count, pos, para);
    TLineChange change;
    node->DeleteText(pos, count, m_tabSize, WrapCol(), change);
    m_byteCount -= count;
    AfterTextEdit(para, first, node, change);
    NotifyDeletedText(para, pos, count);
}

uint16_t TOvcParaList::ReplaceText(
    int32_t para, int32_t pos, int32_t oldLen, const char* s, int32_t newLen)
{
    int32_t first = 0;
    TParaNode* node = MutablePara(para, first);
    if (!node || pos < 1 || newLen < 0)
        return 0;
    if (pos > node->m_len || oldLen <= 0)
        return InsertTextPrim(para, pos, s, newLen);
    oldLen = std::min(oldLen, node->m_len - pos + 1);
    if (newLen == 0) {
        DeleteText(para, pos, oldLen);
        return 0;
    }
    if (newLen > oldLen) {
        if (uint16_t err = CheckGrowth(para, node, newLen - oldLen))
            return err;
    }
    std::string old(node->Text() + pos - 1, static_cast<size_t>(oldLen));
    std::string copy;
    if (Aliases(node, s)) {
        copy.assign(s, static_cast<size_t>(newLen));
        s = copy.data();
    }
    TLineChange change;
    if (!node->ReplaceText(pos, oldLen, s, newLen, m_tabSize, WrapCol(), change))
        return oeOutOfMemory;
    if (!m_inUndoRedo) {
        m_undo->PushReplace(m_modified, para, s, static_cast<uint16_t>(newLen), old.data(),
            static_cast<uint16_t>(oldLen), pos);
    }
    m_byteCount += newLen - oldLen;
    AfterTextEdit(para, first, node, change);
    if (newLen > oldLen)
        NotifyInsertedText(para, pos + oldLen, newLen - oldLen);
    else if (newLen < oldLen)
        NotifyDeletedText(para, pos + newLen, oldLen - newLen);
    return 0;
}

// ---- Paragraph primitives ---------------------------------------------------------------

void TOvcParaList::AttachPara(TParaNode* node, int32_t at)
{
    LinkBefore(node, at);
    m_byteCount += node->m_len + 2;
    m_modified = true;
    ++m_changeCount;
    m_changedFirstLine = FirstLineOfPara(at);
    m_changedLastLine = kChangedToEnd;
    NotifyInsertedPara(at, 1, 0);
}

TParaNode* TOvcParaList::DetachPara(int32_t para)
{
    m_changedFirstLine = FirstLineOfPara(para);
    m_changedLastLine = kChangedToEnd;
    TParaNode* node = Unlink(para);
    m_byteCount -= node->m_len + 2;
    m_modified = true;
    ++m_changeCount;
    m_changedFirstLine = std::min(m_changedFirstLine, m_lineCount);
    NotifyDeletedPara(para);
    return node;
}

uint16_t TOvcParaList::InsertNode(
    int32_t at, const char* s, int32_t len, TUndoType type, int32_t recordPara)
{
    if (len < 0 || len > (m_inUndoRedo ? kMaxParaLen : m_maxParaLen))
        return oeParaTooLongInsert;
    if (!m_inUndoRedo) {
        if (uint16_t err = OkToInsert(0, 1, len + 2))
            return err;
    }
    auto* node = TParaNode::New(m_pool, s, len, m_tabSize, WrapCol());
    if (!m_inUndoRedo)
        m_undo->PushPara(type, m_modified, node, recordPara); // the text keeps the paragraph
    AttachPara(node, at);
    return 0;
}

uint16_t TOvcParaList::InsertParaPrim(int32_t para, const char* s, int32_t len)
{
    if (para < 1 || para > m_paraCount + 1)
        return 0;
    return InsertNode(para, s, len, TUndoType::InsertParaBefore, para);
}

uint16_t TOvcParaList::PlaceParaPrim(int32_t para, const char* s, int32_t len)
{
    if (para < 1 || para > m_paraCount)
        return 0;
    return InsertNode(para + 1, s, len, TUndoType::InsertParaAfter, para);
}

void TOvcParaList::DeletePara(int32_t para)
{
    if (para < 1 || para > m_paraCount)
        return;
    if (m_paraCount == 1) { // the list is never empty
        DeleteText(1, 1, m_head->m_len);
        return;
    }
    int32_t first = 0;
    TParaNode* node = MutablePara(para, first);
    bool kept = !m_inUndoRedo && m_undo->PushPara(TUndoType::DeletePara, m_modified, node, para);
    DetachPara(para);
    if (!kept)
        delete node;
}

} // namespace wexly
