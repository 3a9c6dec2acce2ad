#include "tools/ToolCommandLine.h"

#include <gtest/gtest.h>

namespace wexly::test {

TEST(ToolCommandLine, PlaceholdersReplaceFirstOccurrenceOnlyWithoutQuoting)
{
    const std::string path = "C:\\My Files\\a b.txt";
    EXPECT_EQ(ExpandToolCommandLine("edit %c", path), "edit C:\\My Files\\a b.txt");
    EXPECT_EQ(ExpandToolCommandLine("edit \"%c\"", path), "edit \"C:\\My Files\\a b.txt\"");
    EXPECT_EQ(
        ExpandToolCommandLine("x %f %c %c %f", path), "x a b.txt C:\\My Files\\a b.txt %c %f");
    EXPECT_EQ(ExpandToolCommandLine("plain", path), "plain");
    // The path's own "%f" is not a placeholder.
    EXPECT_EQ(ExpandToolCommandLine("t %c", "C:\\100%fun.txt"), "t C:\\100%fun.txt");
    EXPECT_TRUE(NeedsDocument("a %f"));
    EXPECT_FALSE(NeedsDocument("a %d"));
}

TEST(ToolCommandLine, ProgramPartStopsAtFirstSpaceOutsideQuotes)
{
    EXPECT_EQ(ProgramPart("C:\\bin\\cc.exe -o x"), "C:\\bin\\cc.exe");
    EXPECT_EQ(ProgramPart("\"C:\\Program Files\\t.exe\" %c"), "\"C:\\Program Files\\t.exe\"");
    EXPECT_EQ(ProgramPart("solo"), "solo");
    EXPECT_EQ(ProgramPart(""), "");
}

} // namespace wexly::test
