#include "documents/CommandLine.h"

#include <gtest/gtest.h>

namespace wexly::test {
namespace {

TCommandLineAction Open(
    std::string path, bool readOnly = false, bool binary = false, TCaretRequest caret = {})
{
    TCommandLineAction a;
    a.kind = TCommandLineActionKind::OpenFileSpec;
    a.path = std::move(path);
    a.readOnly = readOnly;
    a.binary = binary;
    a.caret = caret;
    return a;
}

TCommandLineAction Reopen(
    int count, bool readOnly = false, bool binary = false, TCaretRequest caret = {})
{
    TCommandLineAction a;
    a.kind = TCommandLineActionKind::ReopenHistory;
    a.count = count;
    a.readOnly = readOnly;
    a.binary = binary;
    a.caret = caret;
    return a;
}

using Actions = std::vector<TCommandLineAction>;

struct TPathCase
{
    const char* name;
    const char* base;
    const char* token;
    const char* expected;
};

class CommandLinePath : public testing::TestWithParam<TPathCase>
{
};

TEST_P(CommandLinePath, MadeFromTheBaseDirectory)
{
    const TPathCase& c = GetParam();
    EXPECT_EQ(MakeCommandLinePath(c.base, c.token), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Rules, CommandLinePath,
    testing::Values(TPathCase { "Relative", "C:\\work\\", "a.txt", "C:\\work\\a.txt" },
        TPathCase { "RelativeSubdir", "C:\\work\\", "sub\\a.txt", "C:\\work\\sub\\a.txt" },
        TPathCase { "LeadingBackslashTakesDrive", "D:\\w\\", "\\t.txt", "D:\\t.txt" },
        TPathCase { "UncTokenUnchanged", "C:\\work\\", "\\\\server\\share\\a.txt",
            "\\\\server\\share\\a.txt" },
        TPathCase { "DriveRelativeUnchanged", "C:\\work\\", "C:x", "C:x" },
        TPathCase { "AbsoluteUnchanged", "C:\\work\\", "E:\\b.txt", "E:\\b.txt" },
        TPathCase { "LeadingBackslashOnUncBaseTakesShare", "\\\\srv\\docs\\dir\\", "\\t.txt",
            "\\\\srv\\docs\\t.txt" },
        TPathCase { "BaseWithoutTrailingBackslash", "C:\\work", "a.txt", "C:\\work\\a.txt" },
        TPathCase { "WildcardKept", "C:\\w\\", "*.txt", "C:\\w\\*.txt" }),
    [](const auto& p) { return std::string(p.param.name); });

TEST(CommandLine, EmptyAndBlankTextGiveNothing)
{
    EXPECT_TRUE(ParseCommandLine("C:\\", "").empty());
    EXPECT_TRUE(ParseCommandLine("C:\\", "    ").empty());
}

TEST(CommandLine, FilesInOrderWithTheBaseDirectory)
{
    EXPECT_EQ(ParseCommandLine("C:\\w\\", "  a.txt   b.txt "),
        (Actions { Open("C:\\w\\a.txt"), Open("C:\\w\\b.txt") }));
}

TEST(CommandLine, BinaryQuotedPathThenNormalMode)
{
    EXPECT_EQ(ParseCommandLine("C:\\w\\", "/B \"My Files\\x y.bin\" /N g.txt"),
        (Actions { Open("C:\\w\\My Files\\x y.bin", false, true), Open("C:\\w\\g.txt") }));
}

TEST(CommandLine, ReadOnlyAndBinaryStayOnUntilN)
{
    EXPECT_EQ(ParseCommandLine("C:\\", "/r a /b b c /n d"),
        (Actions { Open("C:\\a", true), Open("C:\\b", true, true), Open("C:\\c", true, true),
            Open("C:\\d") }));
}

TEST(CommandLine, LineAppliesToTheNextFileOnly)
{
    EXPECT_EQ(ParseCommandLine("C:\\", "/10 a.txt b.txt"),
        (Actions { Open("C:\\a.txt", false, false, { 10, 0, false }), Open("C:\\b.txt") }));
}

TEST(CommandLine, JumpTakesLineAndColumnInEitherCase)
{
    EXPECT_EQ(ParseCommandLine("C:\\", "/J5,3 a.txt /j7,2 b.txt"),
        (Actions { Open("C:\\a.txt", false, false, { 5, 3, false }),
            Open("C:\\b.txt", false, false, { 7, 2, false }) }));
}

TEST(CommandLine, JumpWithoutCommaTakesTheLineOnly)
{
    EXPECT_EQ(ParseCommandLine("C:\\", "/J12 a.txt"),
        (Actions { Open("C:\\a.txt", false, false, { 12, 0, false }) }));
    EXPECT_EQ(ParseCommandLine("C:\\", "/J a.txt"), (Actions { Open("C:\\a.txt") }));
}

TEST(CommandLine, EndGoesToTheLastLineOfTheNextFile)
{
    EXPECT_EQ(ParseCommandLine("C:\\", "/e a b"),
        (Actions { Open("C:\\a", false, false, { 0, 0, true }), Open("C:\\b") }));
}

TEST(CommandLine, LaterCaretOptionReplacesEarlierOne)
{
    EXPECT_EQ(ParseCommandLine("C:\\", "/E /J4,9 /20 a"),
        (Actions { Open("C:\\a", false, false, { 20, 0, false }) }));
}

TEST(CommandLine, HugeLineNumberSaturates)
{
    auto actions = ParseCommandLine("C:\\", "/99999999999999999999 a");
    ASSERT_EQ(actions.size(), 1u);
    EXPECT_EQ(actions[0].caret.line, 2147483647);
}

TEST(CommandLine, ReopenCarriesFlagsAndCaretThenClearsCaret)
{
    EXPECT_EQ(ParseCommandLine("C:\\", "/R /7 /P3 a"),
        (Actions { Reopen(3, true, false, { 7, 0, false }), Open("C:\\a", true) }));
}

TEST(CommandLine, ReopenOfNothingOpensNothingButClearsCaret)
{
    EXPECT_EQ(
        ParseCommandLine("C:\\", "/7 /P a /p0 b"), (Actions { Open("C:\\a"), Open("C:\\b") }));
}

TEST(CommandLine, UnknownOptionsAndBareSlashAreIgnored)
{
    EXPECT_EQ(ParseCommandLine("C:\\", "/X / /-3 /Q a"), (Actions { Open("C:\\a") }));
}

TEST(CommandLine, UnterminatedQuoteEndsParsing)
{
    EXPECT_EQ(ParseCommandLine("C:\\", "a \"b c /R d"), (Actions { Open("C:\\a") }));
}

TEST(CommandLine, QuotedOptionIsStillAnOption)
{
    EXPECT_EQ(ParseCommandLine("C:\\", "\"/R\" a"), (Actions { Open("C:\\a", true) }));
}

TEST(CommandLine, QuotedTokenEndsAtItsClosingQuote)
{
    EXPECT_EQ(ParseCommandLine("C:\\", "\"a b\"c"), (Actions { Open("C:\\a b"), Open("C:\\c") }));
}

TEST(CommandLine, EmptyQuotedTokenNamesNothing)
{
    EXPECT_EQ(ParseCommandLine("C:\\", "\"\" /10 \"\" a"),
        (Actions { Open("C:\\a", false, false, { 10, 0, false }) }));
}

TEST(CommandLine, OnlySpacesSeparateTokens)
{
    EXPECT_EQ(ParseCommandLine("C:\\", "a\tb"), (Actions { Open("C:\\a\tb") }));
}

TEST(CommandLine, TailDropsTheProgramName)
{
    EXPECT_EQ(CommandLineTail("\"C:\\Program Files\\wexly.exe\" /R a.txt"), "/R a.txt");
    EXPECT_EQ(CommandLineTail("wexly.exe   a b"), "a b");
    EXPECT_EQ(CommandLineTail("wexly.exe"), "");
    EXPECT_EQ(CommandLineTail("\"wexly.exe\""), "");
    EXPECT_EQ(CommandLineTail("\"unterminated a"), "");
}

} // namespace
} // namespace wexly::test
