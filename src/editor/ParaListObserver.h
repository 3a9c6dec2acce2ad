// What a view sharing a TOvcParaList is told after each change, once the buffer and its
// bookmarks are already updated. Positions are 1-based paragraph and position numbers.
#pragma once

#include <cstdint>

namespace wexly {

class IParaListObserver
{
public:
    // count characters were inserted at (para, pos).
    virtual void edUpdateOnInsertedText(int32_t para, int32_t pos, int32_t count) = 0;
    // count characters were deleted at (para, pos).
    virtual void edUpdateOnDeletedText(int32_t para, int32_t pos, int32_t count) = 0;
    // para was broken at pos; the new paragraph para + 1 starts with indent characters of
    // indentation. A paragraph inserted before para arrives as (para, 1, 0).
    virtual void edUpdateOnInsertedPara(int32_t para, int32_t pos, int32_t indent) = 0;
    // para was deleted.
    virtual void edUpdateOnDeletedPara(int32_t para) = 0;
    // para + 1 was joined onto para, its text starting at pos.
    virtual void edUpdateOnJoinedParas(int32_t para, int32_t pos) = 0;
    // Wrap, wrap column or tab size changed and every paragraph was re-wrapped: recompute
    // caret and selection lines and columns from their paragraph positions.
    virtual void edResetPositionInfo() = 0;

protected:
    ~IParaListObserver() = default;
};

} // namespace wexly
