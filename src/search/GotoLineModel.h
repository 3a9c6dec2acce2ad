// The Goto Line dialog's model: the number last entered, read again on every change of the
// box, and the move it makes in the active pane's document on OK.
#pragma once

#include "documents/DocumentSet.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace wexly {

inline constexpr const char* kGotoLineCaption = "Goto Line";

class TGotoLineModel
{
public:
    // Text that is not a whole number (in 64 bits) counts as 0.
    static int64_t Parse(std::string_view text);
    // The box's text when the dialog opens (selected whole).
    std::string BoxText() const { return std::to_string(m_lastNumber); }
    void BoxChanged(std::string_view text) { m_lastNumber = Parse(text); }
    int64_t LastNumber() const { return m_lastNumber; }
    // The command is offered only while a document is open.
    static bool Available(const TDocumentSet& set) { return !set.Empty(); }
    // OK: the focused document's caret goes to the start of that line, clamped to the text.
    void Ok(TDocumentSet& set) const;

private:
    int64_t m_lastNumber = 0;
};

} // namespace wexly
