// The undo history of one text buffer: packed records in one fixed block, grouped into actions
// by operation number, the oldest actions dropped when the block is full. Owns the block and the
// paragraphs that are out of the text while a record still names them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace wexly {

class TParaNode;

enum class TUndoType : uint8_t {
    Caret = 0, // caret position only
    InsertText = 1, // data: the inserted characters
    InsertParaBefore = 2, // data: the paragraph (inserted before Para)
    InsertParaAfter = 3, // data: the paragraph (inserted after Para)
    DeleteText = 4, // data: the deleted characters
    DeletePara = 5, // data: the paragraph (was Para)
    ReplaceText = 6, // data: old text, NUL, new text, NUL
};

inline constexpr uint16_t kUndoHeaderSize = 14;
inline constexpr uint16_t kDefaultUndoSize = 8192;

// One record as handed out during a replay. Data points into the block and is valid until
// the next change to the buffer.
struct TUndoRecord
{
    TUndoType Type = TUndoType::Caret;
    bool Modified = false; // the document's modified flag before the change
    uint8_t Link = 0; // operation number
    int32_t Para = 0;
    int32_t Pos = 0;
    const char* Data = nullptr; // text types
    uint16_t DataLen = 0;
    TParaNode* Node = nullptr; // paragraph types
    // Replace records: the two texts.
    const char* OldText() const { return Data; }
    uint16_t OldLen() const;
    const char* NewText() const;
    uint16_t NewLen() const;
};

class TOvcUndoBuffer
{
public:
    using TAllocFn = void* (*)(std::size_t);
    // Allocates size bytes, halving the size on failure; ends with no undo (size 0) at worst.
    explicit TOvcUndoBuffer(uint16_t size = kDefaultUndoSize, TAllocFn alloc = nullptr);
    ~TOvcUndoBuffer();
    TOvcUndoBuffer(const TOvcUndoBuffer&) = delete;
    TOvcUndoBuffer& operator=(const TOvcUndoBuffer&) = delete;

    // Records a text change (types 0, 1, 4), merging typing, Delete and Backspace runs.
    // False when it could not be kept.
    bool Push(
        TUndoType type, bool modified, const char* data, uint16_t len, int32_t pos, int32_t para);
    // Records a paragraph insertion or deletion (types 2, 3, 5). A type 5 record owns node
    // from then on; false means it was not kept and the caller still owns it.
    bool PushPara(TUndoType type, bool modified, TParaNode* node, int32_t para);
    // Records an overwrite of oldLen characters by newLen characters at (para, pos).
    bool PushReplace(bool modified, int32_t para, const char* newText, uint16_t newLen,
        const char* oldText, uint16_t oldLen, int32_t pos);

    // Brackets a compound operation; returns whether one was already open (pass it back).
    bool BeginComplexOp();
    void EndComplexOp(bool saved);

    // Replay steps. GetUndo takes the newest undo record; GetRedo the next redo record, first
    // stamping it with the current modified flag. False when there is none.
    bool GetUndo(TUndoRecord& rec);
    bool GetRedo(TUndoRecord& rec, bool modifiedNow);
    int PeekUndoLink() const; // -1 when there is nothing to undo
    int PeekRedoLink() const; // -1 when there is nothing to redo

    void Flush(); // discard every record
    void SetModified(); // set the modified bit of every record (after a save)

    uint16_t Size() const { return m_size; }
    uint16_t Free() const { return m_free; }
    uint16_t UndoCount() const { return m_undoCount; }
    uint16_t RedoCount() const { return m_redoCount; }
    uint8_t OpNumber() const { return m_opNumber; }
    bool InComplexOp() const { return m_inComplexOp; }
    bool Overflowed() const { return m_overflowed; }
    const uint8_t* Block() const { return m_block; }
    // Byte offset of the newest undo record, -1 when there is none.
    int32_t CurrentOffset() const { return m_current; }

    void CheckInvariants() const;

private:
    struct THeader;
    THeader ReadHeader(int32_t offset) const;
    void WriteHeader(int32_t offset, const THeader& h);
    int32_t RecordSize(int32_t offset) const;
    int32_t NextOffset() const; // where the record after Current starts
    bool SameOperation(TUndoType type, const char* data, uint16_t len, int32_t pos, int32_t para);
    bool CheckSize(int32_t n);
    bool Write(TUndoType type, bool modified, const char* data, uint16_t len, const char* data2,
        uint16_t len2, int32_t pos, int32_t para);
    void NextOpNumber();
    void Release(int32_t offset, bool isUndo); // drops what one discarded record owns
    void DropRedo();
    uint32_t AddSlot(TParaNode* node);
    TParaNode* SlotNode(int32_t offset) const;

    TAllocFn m_alloc;
    uint8_t* m_block = nullptr;
    uint16_t m_size = 0;
    uint16_t m_free = 0; // m_size minus the undo records; redo space counts as free
    int32_t m_current = -1; // offset of the newest undo record
    uint16_t m_undoCount = 0;
    uint16_t m_redoCount = 0; // redo records follow m_current
    uint8_t m_opNumber = 0;
    bool m_inComplexOp = false;
    bool m_overflowed = false;
    // Paragraph records hold a slot number; a slot's paragraph belongs to this buffer exactly
    // while it is out of the text: type 5 undo records and type 2/3 redo records.
    std::vector<TParaNode*> m_slots;
    std::vector<uint32_t> m_freeSlots;
};

// Keeps a compound undo operation open for a scope.
class TComplexOp
{
public:
    explicit TComplexOp(TOvcUndoBuffer& undo)
        : m_undo(undo)
        , m_saved(undo.BeginComplexOp())
    {
    }
    ~TComplexOp() { m_undo.EndComplexOp(m_saved); }
    TComplexOp(const TComplexOp&) = delete;
    TComplexOp& operator=(const TComplexOp&) = delete;

private:
    TOvcUndoBuffer& m_undo;
    bool m_saved;
};

} // namespace wexly
