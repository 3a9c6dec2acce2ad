#include "EditorTestSupport.h"

#include <gtest/gtest.h>

namespace wexly::test {

TEST(OvcCustomEditor, TypingInsertsAndMovesCaret)
{
    TOvcCustomEditor e;
    SetText(e, "ab|cd");
    Type(e, "xy");
    EXPECT_EQ(Marked(e), "abxy|cd");
    e.CheckInvariants();
}

} // namespace wexly::test
