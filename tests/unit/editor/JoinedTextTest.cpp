#include "editor/JoinedText.h"

#include "editor/OvcParaList.h"

#include <gtest/gtest.h>

#include <string>

namespace wexly::test {
namespace {

using namespace std::string_literals;

std::string Joined(const TOvcParaList& list)
{
    std::string out(JoinedTextSize(list), '\0');
    CopyJoinedText(list, out.data());
    return out;
}

} // namespace

// Saving drops an empty last paragraph and turns bytes 1 to 8 into spaces; the joined text
// must keep both so that the very same paragraphs come back.
TEST(JoinedText, RebuildsTheSameParagraphsByteForByte)
{
    const std::string texts[] = {
        ""s,
        "one"s,
        "a\r\nb\r\n"s, // the usual empty end-of-file paragraph
        "a\r\nlast typed into"s,
        "\x01\x08 kept\r\n\r\n\r\n"s,
        "ends in CR\r\r\nnext"s,
    };
    for (const std::string& text : texts) {
        TOvcParaList list;
        ASSERT_EQ(LoadJoinedText(list, text), 0) << text;
        list.CheckInvariants();
        EXPECT_EQ(Joined(list), text);
        EXPECT_EQ(list.ParaCount(), JoinedParaCount(text));
        EXPECT_FALSE(list.Modified());
        EXPECT_FALSE(list.CanUndo());
    }
}

TEST(JoinedText, RefusesDamageAndOverLongParagraphsLeavingAnEmptyText)
{
    TOvcParaList list;
    EXPECT_EQ(LoadJoinedText(list, "a\r\nb\nc"), 1); // a line feed without its CR
    EXPECT_EQ(list.ParaCount(), 1);
    EXPECT_EQ(list.ByteCount(), 0);
    EXPECT_EQ(LoadJoinedText(list, "\n"), 1);
    EXPECT_EQ(LoadJoinedText(list, "nul \0 inside"s), 1);
    EXPECT_EQ(
        LoadJoinedText(list, std::string(kMaxParaLen + 1, 'x') + "\r\n"), oeParaTooLongInsert);
    EXPECT_EQ(
        LoadJoinedText(list, "a\r\n" + std::string(kMaxParaLen + 1, 'x')), oeParaTooLongInsert);
    EXPECT_EQ(list.ByteCount(), 0);
    list.CheckInvariants();
}

TEST(JoinedText, ChangeCountMovesWithEveryEditUndoAndLoad)
{
    TOvcParaList list;
    uint64_t seen = list.ChangeCount();
    auto moved = [&] {
        const bool changed = list.ChangeCount() != seen;
        seen = list.ChangeCount();
        return changed;
    };
    ASSERT_EQ(list.InsertTextPrim(1, 1, "abc", 3), 0);
    EXPECT_TRUE(moved());
    int32_t para = 1, pos = 4, indent = 0;
    list.BreakPara(para, false, indent, 8, pos);
    EXPECT_TRUE(moved());
    list.SetModified(false); // a save is not a change of the text
    EXPECT_FALSE(moved());
    ASSERT_TRUE(list.Undo(para, pos));
    EXPECT_TRUE(moved());
    ASSERT_TRUE(list.Redo(para, pos));
    EXPECT_TRUE(moved());
    list.JoinWithNext(1, 4);
    EXPECT_TRUE(moved());
    list.DeletePara(1);
    EXPECT_TRUE(moved());
    ASSERT_EQ(LoadJoinedText(list, "x\r\ny"), 0);
    EXPECT_TRUE(moved());
}

} // namespace wexly::test
