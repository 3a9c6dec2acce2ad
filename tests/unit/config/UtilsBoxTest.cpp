#include "config/UtilsBox.h"
#include "config/SortedStringList.h"
#include "config/TextCompare.h"

#include <gtest/gtest.h>

namespace wexly::test {

TEST(UtilsBox, EscapeTextRoundTripsBackslashesAndTabs)
{
    EXPECT_EQ(EscapeText("a\\b\tc"), "a\\\\b\\tc");
    for (std::string s : { "", "\\", "\\t", "\t\t", "x\\\\t\\", "no escapes", "\\n" })
        EXPECT_EQ(UnescapeText(EscapeText(s)), s) << s;
    // Backslashes that escape nothing stay.
    EXPECT_EQ(UnescapeText("\\n\\"), "\\n\\");
    EXPECT_EQ(UnescapeText("\\\\t"), "\\t");
    EXPECT_EQ(UnescapeText("\\\\\\t"), "\\\t");
}

TEST(UtilsBox, AmpersandsAreDoubledAndUndone)
{
    EXPECT_EQ(EscapeAmpersands("Tom & Jerry && co"), "Tom && Jerry &&&& co");
    for (std::string s : { "", "&", "&&", "a&b", "&x&" })
        EXPECT_EQ(UnescapeAmpersands(EscapeAmpersands(s)), s) << s;
    // On other text the character after each "&" goes.
    EXPECT_EQ(UnescapeAmpersands("&File"), "&ile");
    EXPECT_EQ(UnescapeAmpersands("end&"), "end&");
}

TEST(TextCompare, StandInIgnoresCaseAndOrdersPunctuationDigitsLetters)
{
    EXPECT_EQ(StandInCompareText("Hello", "hELLO"), 0);
    EXPECT_EQ(StandInCompareText("\xE9t\xE9", "\xC9T\xC9"), 0); // accented letters fold too
    EXPECT_LT(StandInCompareText("abc", "abd"), 0);
    EXPECT_LT(StandInCompareText("ab", "abc"), 0);
    EXPECT_LT(StandInCompareText("_x", "1x"), 0);
    EXPECT_LT(StandInCompareText("9", "a"), 0);
    EXPECT_GT(StandInCompareText("Z", "_"), 0); // letters after punctuation
}

TEST(TextCompare, AnInstalledComparisonIsUsedBySortedLists)
{
    SetTextCompare([](std::string_view a, std::string_view b) {
        // Reverse order, to see the hook take effect.
        return StandInCompareText(b, a);
    });
    TSortedStringList list;
    list.Add("a");
    list.Add("c");
    list.Add("b");
    SetTextCompare(nullptr);
    EXPECT_EQ(list.Lines(), (std::vector<std::string> { "c", "b", "a" }));
}

TEST(SortedStringList, KeepsOrderAndRefusesCaseInsensitiveDuplicates)
{
    TSortedStringList list;
    EXPECT_TRUE(list.Add("!#Letters"));
    EXPECT_TRUE(list.Add("!$apples"));
    EXPECT_FALSE(list.Add("!#LETTERS"));
    EXPECT_TRUE(list.Add("!\"Zed"));
    EXPECT_TRUE(list.Add("#1c:\\x"));
    EXPECT_TRUE(list.Add("#0C:\\X")); // differs in the binary flag
    EXPECT_TRUE(list.CheckInvariants());
    EXPECT_EQ(list.Lines(),
        (std::vector<std::string> { "!\"Zed", "!#Letters", "!$apples", "#0C:\\X", "#1c:\\x" }));
    EXPECT_EQ(list.IndexOf("!$APPLES"), 2);
    EXPECT_EQ(list.IndexOf("missing"), -1);
    list.Delete(0);
    list.Delete(99);
    EXPECT_EQ(list.Count(), 4u);
    EXPECT_TRUE(list.CheckInvariants());
}

} // namespace wexly::test
