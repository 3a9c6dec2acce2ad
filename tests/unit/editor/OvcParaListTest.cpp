#include "editor/OvcParaList.h"
#include "editor/EdStrings.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace wexly::test {

namespace {
std::vector<std::string> Texts(const TOvcParaList& list)
{
    std::vector<std::string> out;
    for (int p = 1; p <= list.ParaCount(); ++p)
        out.emplace_back(list.ParaText(p));
    return out;
}

std::vector<std::string> Lines(const TOvcParaList& list)
{
    std::vector<std::string> out;
    for (int l = 1; l <= list.LineCount(); ++l)
        out.emplace_back(list.NthLine(l));
    return out;
}

void Insert(TOvcParaList& list, int para, int pos, const std::string& s)
{
    ASSERT_EQ(0, list.InsertTextPrim(para, pos, s.data(), int32_t(s.size())));
}

// Records every notification as text.
class TRecorder final : public IParaListObserver
{
public:
    std::vector<std::string> calls;
    void edUpdateOnInsertedText(int32_t p, int32_t pos, int32_t n) override
    {
        calls.push_back(
            "ins " + std::to_string(p) + "," + std::to_string(pos) + "," + std::to_string(n));
    }
    void edUpdateOnDeletedText(int32_t p, int32_t pos, int32_t n) override
    {
        calls.push_back(
            "del " + std::to_string(p) + "," + std::to_string(pos) + "," + std::to_string(n));
    }
    void edUpdateOnInsertedPara(int32_t p, int32_t pos, int32_t indent) override
    {
        calls.push_back("para+ " + std::to_string(p) + "," + std::to_string(pos) + ","
            + std::to_string(indent));
    }
    void edUpdateOnDeletedPara(int32_t p) override
    {
        calls.push_back("para- " + std::to_string(p));
    }
    void edUpdateOnJoinedParas(int32_t p, int32_t pos) override
    {
        calls.push_back("join " + std::to_string(p) + "," + std::to_string(pos));
    }
    void edResetPositionInfo() override { calls.push_back("reset"); }
};
} // namespace

TEST(OvcParaList, NewBufferHoldsOneEmptyParagraph)
{
    TOvcParaList list;
    EXPECT_EQ(1, list.ParaCount());
    EXPECT_EQ(1, list.LineCount());
    EXPECT_EQ(0, list.ByteCount());
    EXPECT_FALSE(list.Modified());
    EXPECT_EQ("", list.ParaText(1));
    EXPECT_EQ(nullptr, list.NthPara(2));
    list.CheckInvariants();
}

struct TWrapCase
{
    const char* name;
    const char* text;
    int tabSize;
    std::vector<std::string> lines;
};

void PrintTo(const TWrapCase& row, std::ostream* os)
{
    *os << row.name;
}

class OvcParaListWrap : public testing::TestWithParam<TWrapCase>
{
};

TEST_P(OvcParaListWrap, BreaksLinesAtColumnTen)
{
    TOvcParaList list;
    list.SetWordWrap(true);
    list.SetWrapColumn(10);
    list.SetTabSize(GetParam().tabSize);
    Insert(list, 1, 1, GetParam().text);
    EXPECT_EQ(GetParam().lines, Lines(list));
    list.CheckInvariants();
}

INSTANTIATE_TEST_SUITE_P(Rules, OvcParaListWrap,
    testing::Values(
        TWrapCase { "BlankStaysOnFirstLine", "aaaa bbbb cccc", 8, { "aaaa bbbb ", "cccc" } },
        TWrapCase { "BlanksPastTheMargin", "aaaa bbbbb   cc", 8, { "aaaa bbbbb   ", "cc" } },
        TWrapCase { "AfterHyphen", "aaaa-bbbbbbbb", 8, { "aaaa-", "bbbbbbbb" } },
        TWrapCase { "HardBreak", "abcdefghijklmno", 8, { "abcdefghij", "klmno" } },
        TWrapCase { "ExactlyTheColumn", "abcdefghij", 8, { "abcdefghij" } },
        TWrapCase { "TrailingBlanksOnly", "abcdefghij   ", 8, { "abcdefghij   " } },
        TWrapCase { "TabCountsToItsStop", "\tab cd efgh", 4, { "\tab cd ", "efgh" } }),
    [](const testing::TestParamInfo<TWrapCase>& row) { return std::string(row.param.name); });

TEST(OvcParaList, TypingRewrapsIncrementallyAndReportsChangedLines)
{
    TOvcParaList list;
    list.SetWordWrap(true);
    list.SetWrapColumn(10);
    Insert(list, 1, 1, "first");
    Insert(list, 2 - 1, 6, ""); // nothing to insert: nothing changes
    ASSERT_EQ(0, list.InsertParaPrim(2, "aaaa bbbb cccc dddd", 19));
    EXPECT_EQ(3, list.LineCount());
    Insert(list, 2, 7, "x"); // "aaaa bxbbb " is still one line: only it changed
    EXPECT_EQ(2, list.ChangedFirstLine());
    EXPECT_EQ(2, list.ChangedLastLine());
    Insert(list, 2, 1, "zzzzzz "); // pushes words down: one more line
    EXPECT_EQ(
        (std::vector<std::string> { "first", "zzzzzz ", "aaaa bxbbb ", "cccc dddd" }), Lines(list));
    EXPECT_EQ(kChangedToEnd, list.ChangedLastLine());
    list.CheckInvariants();
}

TEST(OvcParaList, LookupsByLineAndParagraphAgreeWithWrap)
{
    TOvcParaList list;
    list.SetWordWrap(true);
    list.SetWrapColumn(10);
    for (int i = 0; i < 3000; ++i)
        ASSERT_EQ(0, list.AppendParaEof("aaaa bbbb cccc", 14, false)); // two lines each
    EXPECT_EQ(3001, list.ParaCount());
    EXPECT_EQ(6001, list.LineCount());
    int32_t offset = 0;
    EXPECT_EQ(1500, list.FindParaByLine(3000, offset));
    EXPECT_EQ(10, offset);
    int32_t col = 0;
    EXPECT_EQ(2999, list.FindLineByPara(1500, 3, col));
    EXPECT_EQ(3, col);
    EXPECT_EQ(6001, list.FindLineByPara(99999, 1, col)); // clamped to the last paragraph
    EXPECT_EQ("cccc", list.NthLine(4000));
    EXPECT_EQ(0, list.FindParaByLine(6002, offset));
    EXPECT_EQ("", list.NthLine(0));
    list.SetWordWrap(false);
    EXPECT_EQ(3001, list.LineCount());
    EXPECT_EQ(1500, list.FindParaByLine(1500, offset));
    list.CheckInvariants();
}

TEST(OvcParaList, AppendSplitsOverlongLinesAtBlanksOrTheLimit)
{
    TOvcParaList list;
    std::string line(40000, 'x');
    ASSERT_EQ(0, list.AppendPara(line.data(), int32_t(line.size()), true));
    ASSERT_EQ(3, list.ParaCount());
    EXPECT_EQ(32767, list.ParaLength(1));
    EXPECT_EQ(7233, list.ParaLength(2));
    EXPECT_EQ(0, list.ParaLength(3)); // end-of-file paragraph stays last
    EXPECT_EQ(40000 + 4, list.ByteCount());
    EXPECT_FALSE(list.Modified());

    TOvcParaList blanks;
    blanks.SetMaxParaLen(10);
    ASSERT_EQ(0, blanks.AppendPara("abc defgh ijklmnop  ", 20, true));
    EXPECT_EQ((std::vector<std::string> { "abc defgh", "ijklmnop", "" }), Texts(blanks));
    blanks.CheckInvariants();
}

TEST(OvcParaList, LimitsRefuseAndLeaveTheTextAlone)
{
    TOvcParaList list;
    list.SetParaLimit(3);
    ASSERT_EQ(0, list.InsertParaPrim(1, "a", 1));
    ASSERT_EQ(0, list.InsertParaPrim(1, "b", 1));
    ASSERT_EQ(0, list.InsertParaPrim(1, "c", 1)); // the empty last paragraph does not count
    EXPECT_EQ(oeTooManyParas, list.InsertParaPrim(1, "d", 1));
    EXPECT_EQ(4, list.ParaCount());

    TOvcParaList bytes;
    bytes.SetByteLimit(5);
    Insert(bytes, 1, 1, "abcde");
    EXPECT_EQ(oeTextTooLarge, bytes.InsertTextPrim(1, 1, "x", 1));

    TOvcParaList len;
    len.SetMaxParaLen(6);
    Insert(len, 1, 1, "abc");
    EXPECT_EQ(oeParaTooLongInsert, len.InsertTextPrim(1, 4, "defg", 4));
    // Padding counts too: a caret far past the end cannot grow the paragraph past the limit.
    EXPECT_EQ(oeParaTooLongInsert, len.InsertTextPrim(1, 7, "x", 1));
    ASSERT_EQ(0, len.PlaceParaPrim(1, "wxyz", 4));
    EXPECT_EQ(oeParaTooLong, len.JoinWithNext(1, 4));
    EXPECT_EQ(oeParaTooLong, len.DeleteBlock(1, 4, 2, 1));
    EXPECT_EQ(oeParaTooLongInsert, len.InsertParaPrim(1, "1234567", 7));
    EXPECT_EQ((std::vector<std::string> { "abc", "wxyz" }), Texts(len));
    len.CheckInvariants();
}

TEST(OvcParaList, BookmarksAndAnchorsFollowEdits)
{
    TOvcParaList list;
    TRecorder view;
    list.AddObserver(&view);
    Insert(list, 1, 1, "hello world");
    list.SetMarker(1, 1, 3); // inside "hello"
    list.SetMarker(2, 1, 8); // inside "world"
    list.SetMarker(12, 1, 1); // ignored
    list.DeleteText(1, 1, 5);
    EXPECT_FALSE(list.Marker(1).IsSet());
    EXPECT_EQ((TMarker { 1, 3 }), list.Marker(2));
    TMarker anchor { 1, 3 };
    FixOnDeletedText(anchor, TAnchorKind::Selection, 1, 2, 4);
    EXPECT_EQ((TMarker { 1, 2 }), anchor);

    int32_t indent = 2;
    ASSERT_EQ(0, list.BreakPara(1, false, indent, 0, 2)); // " world" -> " " + "  world"
    EXPECT_EQ(2, indent);
    EXPECT_EQ((TMarker { 2, 4 }), list.Marker(2));
    ASSERT_EQ(0, list.JoinWithNext(1, 2));
    EXPECT_EQ((TMarker { 1, 5 }), list.Marker(2));
    EXPECT_EQ((std::vector<std::string> { "ins 1,1,11", "del 1,1,5", "para+ 1,2,2", "join 1,2" }),
        view.calls);

    list.SetMarkerAt(3, 1, 4);
    EXPECT_EQ((TMarker { 1, 4 }), list.Marker(3));
    list.RemoveObserver(&view);
}

TEST(OvcParaList, BreakAtTheStartInsertsAnEmptyParagraphBefore)
{
    TOvcParaList list;
    Insert(list, 1, 1, "abc");
    int32_t indent = 4;
    ASSERT_EQ(0, list.BreakPara(1, true, indent, 8, 1));
    EXPECT_EQ((std::vector<std::string> { "", "abc" }), Texts(list));
    EXPECT_EQ(0, indent);
}

TEST(OvcParaList, BreakBuildsIndentFromTabsThenSpacesAndTrimsBlanks)
{
    TOvcParaList list;
    Insert(list, 1, 1, "ab   cd");
    int32_t indent = 10;
    ASSERT_EQ(0, list.BreakPara(1, true, indent, 8, 6));
    EXPECT_EQ((std::vector<std::string> { "ab", "\t  cd" }), Texts(list));
    EXPECT_EQ(3, indent);
    EXPECT_EQ(2 + 5 + 2, list.ByteCount());
}

TEST(OvcParaList, BlockInsertSplitsAtLineEnds)
{
    TOvcParaList list;
    Insert(list, 1, 1, "xyz");
    int32_t para = 1, pos = 2;
    ASSERT_EQ(0, list.InsertBlock(para, pos, "a\r\nb", 4));
    EXPECT_EQ((std::vector<std::string> { "xa", "byz" }), Texts(list));
    EXPECT_EQ(2, para);
    EXPECT_EQ(2, pos);

    para = 1, pos = 1; // whole lines at a paragraph start become paragraphs before it
    ASSERT_EQ(0, list.InsertBlock(para, pos, "1\n2\n3\n", 6));
    EXPECT_EQ((std::vector<std::string> { "1", "2", "3", "xa", "byz" }), Texts(list));
    EXPECT_EQ(4, para);
    EXPECT_EQ(1, pos);
    ASSERT_EQ(0, list.InsertBlock(para, pos, "q\0\nr", 4)); // a NUL ends the block
    EXPECT_EQ("qxa", list.ParaText(4));
    list.CheckInvariants();
}

TEST(OvcParaList, DeleteBlockJoinsTheEnds)
{
    TOvcParaList list;
    int32_t para = 1, pos = 1;
    ASSERT_EQ(0, list.InsertBlock(para, pos, "one\ntwo\nthree\nfour", 18));
    list.SetMarker(0, 2, 2);
    list.SetMarker(1, 4, 3);
    ASSERT_EQ(0, list.DeleteBlock(1, 3, 3, 4));
    EXPECT_EQ((std::vector<std::string> { "onee", "four" }), Texts(list));
    EXPECT_FALSE(list.Marker(0).IsSet());
    EXPECT_EQ((TMarker { 2, 3 }), list.Marker(1));
    ASSERT_EQ(0, list.DeleteBlock(1, 1, 2, 1)); // whole paragraphs
    EXPECT_EQ((std::vector<std::string> { "four" }), Texts(list));
    list.CheckInvariants();
}

TEST(OvcParaList, EditsThatReuseTheParagraphsOwnTextAreSafe)
{
    TOvcParaList list;
    Insert(list, 1, 1, "abcdefgh");
    std::string_view text = list.ParaText(1);
    for (int i = 0; i < 6; ++i) // each insert outgrows the block the source lives in
        ASSERT_EQ(0, list.InsertTextPrim(1, 1, list.ParaText(1).data(), list.ParaLength(1)));
    EXPECT_EQ(8 * 64, list.ParaLength(1));
    EXPECT_EQ("abcdefghabcdefgh", list.ParaText(1).substr(0, 16));
    ASSERT_EQ(0, list.ReplaceText(1, 1, 2, text.data() + 0, 0));
    list.CheckInvariants();
}

TEST(OvcParaList, DeletingTheOnlyParagraphClearsItsText)
{
    TOvcParaList list;
    Insert(list, 1, 1, "abc");
    list.DeletePara(1);
    EXPECT_EQ(1, list.ParaCount());
    EXPECT_EQ("", list.ParaText(1));
    list.CheckInvariants();
}

TEST(OvcParaList, ColumnsConvertAcrossTabs)
{
    TOvcParaList list;
    list.SetTabSize(4);
    std::string_view line = "a\tbc";
    EXPECT_EQ(1, list.EffCol(line, 1));
    EXPECT_EQ(2, list.EffCol(line, 2));
    EXPECT_EQ(5, list.EffCol(line, 3));
    EXPECT_EQ(7, list.EffCol(line, 5));
    EXPECT_EQ(8, list.EffCol(line, 6)); // past the end: one to one
    EXPECT_EQ(2, list.ActualCol(line, 3)); // inside the tab
    EXPECT_EQ(3, list.ActualCol(line, 5));
    EXPECT_EQ(6, list.ActualCol(line, 8));
    EXPECT_EQ(7, list.ActualCol("abcdef", 7));
    Insert(list, 1, 1, "a\tbc");
    EXPECT_EQ(6, list.EffLen(1));
}

TEST(OvcParaList, SettingChangesRewrapAndResetViews)
{
    TOvcParaList list;
    TRecorder view;
    list.AddObserver(&view);
    Insert(list, 1, 1, "aaaa bbbb cccc");
    list.SetWordWrap(true);
    list.SetWrapColumn(5);
    EXPECT_EQ(3, list.LineCount());
    list.SetTabSize(4);
    list.SetWrapColumn(5); // unchanged: nothing to do
    EXPECT_EQ(3, static_cast<int>(std::count(view.calls.begin(), view.calls.end(), "reset")));
    list.SetWordWrap(false);
    EXPECT_EQ(1, list.LineCount());
    list.CheckInvariants();
}

TEST(OvcParaList, ResetKeepsSettingsAndDropsTextAndHistory)
{
    TOvcParaList list;
    list.SetWordWrap(true);
    list.SetParaLimit(9);
    Insert(list, 1, 1, "abc");
    list.SetMarker(0, 1, 2);
    list.Reset();
    EXPECT_EQ(1, list.ParaCount());
    EXPECT_FALSE(list.Modified());
    EXPECT_FALSE(list.CanUndo());
    EXPECT_FALSE(list.Marker(0).IsSet());
    EXPECT_TRUE(list.WordWrap());
    EXPECT_EQ(9, list.ParaLimit());
}

TEST(EdStrings, RoutinesHandleTheirEdges)
{
    EXPECT_EQ(4, edBreakPoint("ab\tcd", 5) + 1);
    EXPECT_EQ(5, edBreakPoint("abcde", 5));
    EXPECT_EQ(8, edEffectiveLen("\tx", 1, 8));
    EXPECT_EQ(2, edEffectiveLen("ab\0cd", 5, 8)); // stops at the NUL
    EXPECT_EQ(1, edGetActualCol("\tx", 4, 8));
    EXPECT_EQ(3, edGetActualCol("ab", 5, 8)); // one past the NUL
    EXPECT_EQ(3, edScanToEnd("ab\ncd", 5));
    EXPECT_EQ(5, edScanToEnd("abxcd", 5));
    char s[16] = "abc";
    edStrStInsert(s, "XY", 3, 5, 2); // beyond the end: nothing
    EXPECT_STREQ("abc", s);
    edStrStInsert(s, "XY", 3, 1, 2);
    EXPECT_STREQ("aXYbc", s);
    edDeleteSubString(s, 5, 9, 3);
    EXPECT_STREQ("aXY", s);
    edPadPrim(s, 6);
    EXPECT_STREQ("aXY   ", s);
    const uint16_t map[] = { 0, 10, 20 };
    EXPECT_EQ(1, edFindPosInMap(map, 3, 10));
    EXPECT_EQ(2, edFindPosInMap(map, 3, 11));
    EXPECT_EQ(3, edFindPosInMap(map, 3, 99));
}

} // namespace wexly::test
