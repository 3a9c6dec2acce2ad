// Next Different Word: walks the texts of the two panes word by word in step, from each pane's
// caret, and stops at the first pair of words that differ, selecting each. Borrows the
// document set and the beeper.
#pragma once

#include "documents/DocumentSet.h"
#include "platform/Ui.h"

#include <cstdint>
#include <string>

namespace wexly {

inline constexpr const char* kNextDifferentWordHint
    = "Find the next word differing between the files in the two panes";

class TCompareModel
{
public:
    TCompareModel(TDocumentSet& set, IBeeper& beeper);

    // Offered while documents are open and the window shows two panes.
    bool Available() const;
    // True when a difference was found and selected; false (after a beep) when both texts
    // ended without one, or when the command is not available.
    bool NextDifferentWord();

private:
    // One pane's place in the walk; a binary document gives no words.
    struct TWalk
    {
        TTFEditor* editor = nullptr;
        int32_t para = 1;
        int32_t pos = 1;
        std::string word;
        bool found = false;
    };
    static TWalk StartAt(TEditFile* doc);
    static void Step(TWalk& walk);
    static void Show(const TWalk& walk);

    TDocumentSet& m_set;
    IBeeper& m_beeper;
};

} // namespace wexly
