#include "editor/OvcUndoBuffer.h"

#include "editor/ParaNode.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace wexly {

namespace {
constexpr uint8_t kModBit = 0x80;
constexpr uint16_t kSlotSize = 4;

// Length of the NUL-terminated text at s, at most max.
uint16_t BoundedLen(const void* s, uint16_t max)
{
    const void* nul = std::memchr(s, 0, max);
    return static_cast<uint16_t>(
        nul ? static_cast<const char*>(nul) - static_cast<const char*>(s) : max);
}

bool IsParaType(TUndoType t)
{
    return t == TUndoType::InsertParaBefore || t == TUndoType::InsertParaAfter
        || t == TUndoType::DeletePara;
}
} // namespace

uint16_t TUndoRecord::OldLen() const
{
    return BoundedLen(Data, DataLen);
}

const char* TUndoRecord::NewText() const
{
    return Data + OldLen() + 1;
}

uint16_t TUndoRecord::NewLen() const
{
    return static_cast<uint16_t>(std::max(0, DataLen - OldLen() - 2));
}

// The packed 14-byte record header, in block order.
struct TOvcUndoBuffer::THeader
{
    int32_t para = 0;
    int32_t pos = 0;
    uint16_t dataLen = 0;
    uint16_t prevSize = 0;
    uint8_t typeAndFlag = 0;
    uint8_t link = 0;

    TUndoType Type() const { return static_cast<TUndoType>(typeAndFlag & 0x7F); }
};

TOvcUndoBuffer::TOvcUndoBuffer(uint16_t size, TAllocFn alloc)
    : m_alloc(alloc ? alloc : &std::malloc)
{
    // Less undo beats none: halve the block until the allocation succeeds.
    while (size > 0) {
        m_block = static_cast<uint8_t*>(m_alloc(size));
        if (m_block)
            break;
        size = size > kUndoHeaderSize ? static_cast<uint16_t>(size / 2) : 0;
    }
    m_size = m_block ? size : 0;
    m_free = m_size;
}

TOvcUndoBuffer::~TOvcUndoBuffer()
{
    Flush();
    std::free(m_block);
}

TOvcUndoBuffer::THeader TOvcUndoBuffer::ReadHeader(int32_t offset) const
{
    THeader h;
    const uint8_t* p = m_block + offset;
    std::memcpy(&h.para, p, 4);
    std::memcpy(&h.pos, p + 4, 4);
    std::memcpy(&h.dataLen, p + 8, 2);
    std::memcpy(&h.prevSize, p + 10, 2);
    h.typeAndFlag = p[12];
    h.link = p[13];
    return h;
}

void TOvcUndoBuffer::WriteHeader(int32_t offset, const THeader& h)
{
    uint8_t* p = m_block + offset;
    std::memcpy(p, &h.para, 4);
    std::memcpy(p + 4, &h.pos, 4);
    std::memcpy(p + 8, &h.dataLen, 2);
    std::memcpy(p + 10, &h.prevSize, 2);
    p[12] = h.typeAndFlag;
    p[13] = h.link;
}

int32_t TOvcUndoBuffer::RecordSize(int32_t offset) const
{
    return kUndoHeaderSize + ReadHeader(offset).dataLen;
}

int32_t TOvcUndoBuffer::NextOffset() const
{
    return m_size - m_free;
}

void TOvcUndoBuffer::NextOpNumber()
{
    ++m_opNumber;
    // After 256 operations without a record the number could meet the newest record's
    // and glue two actions together.
    if (m_undoCount > 0 && ReadHeader(m_current).link == m_opNumber)
        ++m_opNumber;
}

uint32_t TOvcUndoBuffer::AddSlot(TParaNode* node)
{
    if (!m_freeSlots.empty()) {
        uint32_t slot = m_freeSlots.back();
        m_freeSlots.pop_back();
        m_slots[slot] = node;
        return slot;
    }
    m_slots.push_back(node);
    return static_cast<uint32_t>(m_slots.size() - 1);
}

TParaNode* TOvcUndoBuffer::SlotNode(int32_t offset) const
{
    uint32_t slot = 0;
    std::memcpy(&slot, m_block + offset + kUndoHeaderSize, kSlotSize);
    return m_slots[slot];
}

void TOvcUndoBuffer::Release(int32_t offset, bool isUndo)
{
    THeader h = ReadHeader(offset);
    if (!IsParaType(h.Type()))
        return;
    uint32_t slot = 0;
    std::memcpy(&slot, m_block + offset + kUndoHeaderSize, kSlotSize);
    // The paragraph is ours exactly while it is out of the text.
    bool owned = isUndo == (h.Type() == TUndoType::DeletePara);
    if (owned)
        delete m_slots[slot];
    m_slots[slot] = nullptr;
    m_freeSlots.push_back(slot);
}

void TOvcUndoBuffer::DropRedo()
{
    int32_t off = NextOffset();
    for (uint16_t i = 0; i < m_redoCount; ++i) {
        Release(off, false);
        off += RecordSize(off);
    }
    m_redoCount = 0;
}

void TOvcUndoBuffer::Flush()
{
    int32_t off = 0;
    for (uint16_t i = 0; i < m_undoCount; ++i) {
        Release(off, true);
        off += RecordSize(off);
    }
    DropRedo();
    m_undoCount = 0;
    m_current = -1;
    m_free = m_size;
}

bool TOvcUndoBuffer::CheckSize(int32_t n)
{
    if (m_inComplexOp && m_overflowed)
        return false;
    if (n > m_size) {
        Flush();
        m_overflowed = m_inComplexOp;
        return false;
    }
    if (m_free >= n)
        return true;
    int32_t need = std::max<int32_t>(m_size / 16, n);
    int32_t off = 0;
    int32_t end = NextOffset();
    while (m_free < need && off < end) {
        uint8_t link = ReadHeader(off).link;
        while (off < end && ReadHeader(off).link == link) {
            int32_t size = RecordSize(off);
            Release(off, true);
            off += size;
            m_free = static_cast<uint16_t>(m_free + size);
            --m_undoCount;
        }
    }
    if (m_undoCount == 0) {
        m_current = -1;
        m_free = m_size;
        m_overflowed = m_inComplexOp;
        return !m_inComplexOp;
    }
    std::memmove(m_block, m_block + off, static_cast<size_t>(end - off));
    THeader first = ReadHeader(0);
    first.prevSize = 0;
    WriteHeader(0, first);
    m_current -= off;
    return true;
}

bool TOvcUndoBuffer::Write(TUndoType type, bool modified, const char* data, uint16_t len,
    const char* data2, uint16_t len2, int32_t pos, int32_t para)
{
    bool replace = type == TUndoType::ReplaceText;
    int32_t dataLen = replace ? len + len2 + 2 : len;
    int32_t n = kUndoHeaderSize + dataLen;
    if (!CheckSize(n))
        return false;
    int32_t off = NextOffset();
    THeader h;
    h.para = para;
    h.pos = pos;
    h.dataLen = static_cast<uint16_t>(dataLen);
    h.prevSize = static_cast<uint16_t>(m_current < 0 ? 0 : RecordSize(m_current));
    h.typeAndFlag = static_cast<uint8_t>(static_cast<uint8_t>(type) | (modified ? kModBit : 0));
    h.link = m_opNumber;
    WriteHeader(off, h);
    uint8_t* p = m_block + off + kUndoHeaderSize;
    if (len > 0)
        std::memcpy(p, data, len);
    if (replace) {
        p[len] = 0;
        if (len2 > 0)
            std::memcpy(p + len + 1, data2, len2);
        p[len + 1 + len2] = 0;
    }
    m_current = off;
    ++m_undoCount;
    m_free = static_cast<uint16_t>(m_free - n);
    return true;
}

bool TOvcUndoBuffer::SameOperation(
    TUndoType type, const char* data, uint16_t len, int32_t pos, int32_t para)
{
    if (m_inComplexOp || m_undoCount == 0)
        return false;
    THeader h = ReadHeader(m_current);
    if (h.Type() != type || h.para != para || m_free < len)
        return false;
    uint8_t* d = m_block + m_current + kUndoHeaderSize;
    if (type == TUndoType::InsertText && pos == h.pos + h.dataLen) {
        DropRedo();
        std::memcpy(d + h.dataLen, data, len);
    } else if (type == TUndoType::DeleteText && pos == h.pos) {
        DropRedo(); // Delete key: the run grows forwards
        std::memcpy(d + h.dataLen, data, len);
    } else if (type == TUndoType::DeleteText && pos + len == h.pos) {
        DropRedo(); // Backspace: the run grows backwards
        std::memmove(d + len, d, h.dataLen);
        std::memcpy(d, data, len);
        h.pos = pos;
    } else {
        return false;
    }
    h.dataLen = static_cast<uint16_t>(h.dataLen + len);
    WriteHeader(m_current, h);
    m_free = static_cast<uint16_t>(m_free - len);
    return true;
}

bool TOvcUndoBuffer::Push(
    TUndoType type, bool modified, const char* data, uint16_t len, int32_t pos, int32_t para)
{
    if (SameOperation(type, data, len, pos, para))
        return true;
    DropRedo();
    if (!m_inComplexOp)
        NextOpNumber();
    return Write(type, modified, data, len, nullptr, 0, pos, para);
}

bool TOvcUndoBuffer::PushPara(TUndoType type, bool modified, TParaNode* node, int32_t para)
{
    DropRedo();
    if (!m_inComplexOp)
        NextOpNumber();
    uint32_t slot = AddSlot(node);
    char bytes[kSlotSize];
    std::memcpy(bytes, &slot, kSlotSize);
    if (Write(type, modified, bytes, kSlotSize, nullptr, 0, 1, para))
        return true;
    m_slots[slot] = nullptr;
    m_freeSlots.push_back(slot);
    return false;
}

bool TOvcUndoBuffer::PushReplace(bool modified, int32_t para, const char* newText, uint16_t newLen,
    const char* oldText, uint16_t oldLen, int32_t pos)
{
    if (!m_inComplexOp && m_undoCount > 0) {
        THeader h = ReadHeader(m_current);
        uint8_t* d = m_block + m_current + kUndoHeaderSize;
        uint16_t recOld = BoundedLen(d, h.dataLen);
        if (h.Type() == TUndoType::ReplaceText && h.para == para && pos == h.pos + recOld
            && m_free >= oldLen + newLen) {
            // Overwrite typing: old characters join the old text, new ones the new text.
            DropRedo();
            std::memmove(d + recOld + oldLen, d + recOld, h.dataLen - recOld);
            std::memcpy(d + recOld, oldText, oldLen);
            std::memcpy(d + h.dataLen + oldLen - 1, newText, newLen);
            d[h.dataLen + oldLen + newLen - 1] = 0;
            h.dataLen = static_cast<uint16_t>(h.dataLen + oldLen + newLen);
            WriteHeader(m_current, h);
            m_free = static_cast<uint16_t>(m_free - oldLen - newLen);
            return true;
        }
    }
    DropRedo();
    if (!m_inComplexOp)
        NextOpNumber();
    return Write(TUndoType::ReplaceText, modified, oldText, oldLen, newText, newLen, pos, para);
}

bool TOvcUndoBuffer::BeginComplexOp()
{
    bool saved = m_inComplexOp;
    if (!saved) {
        m_inComplexOp = true;
        NextOpNumber();
    }
    return saved;
}

void TOvcUndoBuffer::EndComplexOp(bool saved)
{
    m_inComplexOp = saved;
    if (!saved)
        m_overflowed = false;
}

bool TOvcUndoBuffer::GetUndo(TUndoRecord& rec)
{
    if (m_undoCount == 0)
        return false;
    THeader h = ReadHeader(m_current);
    rec.Type = h.Type();
    rec.Modified = (h.typeAndFlag & kModBit) != 0;
    rec.Link = h.link;
    rec.Para = h.para;
    rec.Pos = h.pos;
    rec.DataLen = h.dataLen;
    rec.Data = reinterpret_cast<const char*>(m_block + m_current + kUndoHeaderSize);
    rec.Node = IsParaType(rec.Type) ? SlotNode(m_current) : nullptr;
    --m_undoCount;
    ++m_redoCount;
    m_free = static_cast<uint16_t>(m_free + kUndoHeaderSize + h.dataLen);
    m_current = h.prevSize == 0 ? -1 : m_current - h.prevSize;
    return true;
}

bool TOvcUndoBuffer::GetRedo(TUndoRecord& rec, bool modifiedNow)
{
    if (m_redoCount == 0)
        return false;
    int32_t off = NextOffset();
    THeader h = ReadHeader(off);
    h.typeAndFlag = static_cast<uint8_t>((h.typeAndFlag & 0x7F) | (modifiedNow ? kModBit : 0));
    WriteHeader(off, h);
    rec.Type = h.Type();
    rec.Modified = modifiedNow;
    rec.Link = h.link;
    rec.Para = h.para;
    rec.Pos = h.pos;
    rec.DataLen = h.dataLen;
    rec.Data = reinterpret_cast<const char*>(m_block + off + kUndoHeaderSize);
    rec.Node = IsParaType(rec.Type) ? SlotNode(off) : nullptr;
    --m_redoCount;
    ++m_undoCount;
    m_free = static_cast<uint16_t>(m_free - kUndoHeaderSize - h.dataLen);
    m_current = off;
    return true;
}

int TOvcUndoBuffer::PeekUndoLink() const
{
    return m_undoCount > 0 ? ReadHeader(m_current).link : -1;
}

int TOvcUndoBuffer::PeekRedoLink() const
{
    return m_redoCount > 0 ? ReadHeader(NextOffset()).link : -1;
}

void TOvcUndoBuffer::SetModified()
{
    int32_t off = 0;
    for (int i = 0; i < m_undoCount + m_redoCount; ++i) {
        m_block[off + 12] |= kModBit;
        off += RecordSize(off);
    }
}

void TOvcUndoBuffer::CheckInvariants() const
{
    int32_t off = 0;
    int32_t prev = 0;
    for (int i = 0; i < m_undoCount + m_redoCount; ++i) {
        THeader h = ReadHeader(off);
        RequireInvariant(h.prevSize == prev, "undo record PrevSize");
        RequireInvariant(static_cast<uint8_t>(h.Type()) <= 6, "undo record type");
        RequireInvariant(!IsParaType(h.Type()) || h.dataLen == kSlotSize, "paragraph record");
        if (i == m_undoCount - 1)
            RequireInvariant(off == m_current, "Current is the newest undo record");
        prev = kUndoHeaderSize + h.dataLen;
        off += prev;
        RequireInvariant(off <= m_size, "undo records overrun the block");
        if (i == m_undoCount - 1)
            RequireInvariant(off == m_size - m_free, "Free matches the undo records");
    }
    if (m_undoCount == 0)
        RequireInvariant(m_current == -1 && m_free == m_size, "empty undo state");
}

} // namespace wexly
