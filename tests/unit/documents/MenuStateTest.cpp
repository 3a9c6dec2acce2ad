#include "documents/MenuState.h"

#include <gtest/gtest.h>

namespace wexly::test {

TEST(MenuState, ToolbarButtonsComeBackWhenADocumentOpensAfterNone)
{
    TMenuState state;
    TEditStateCache cache;
    UpdateMenus(state, false, false, false);
    for (int code : { 12, 13, 14, 15, 16, 17, 24 })
        EXPECT_FALSE(state.toolEnabled[static_cast<size_t>(code)]) << code;

    // A text document opens: its first edit status sets the rest.
    UpdateMenus(state, true, false, false);
    TEditState flags;
    flags.isText = true;
    flags.copyAllowed = flags.cutAllowed = true;
    ApplyEditStatus(state, cache, flags, false, false, true);
    for (int code : { 14, 15, 16, 17 })
        EXPECT_TRUE(state.toolEnabled[static_cast<size_t>(code)]) << code;
    EXPECT_FALSE(state.toolEnabled[12]); // nothing to undo yet
    EXPECT_FALSE(state.toolEnabled[24]); // not split
}

} // namespace wexly::test
