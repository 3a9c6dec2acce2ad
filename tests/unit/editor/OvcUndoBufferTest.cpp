#include "editor/OvcParaList.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace wexly::test {

namespace {
void Type(TOvcParaList& list, int para, int pos, const std::string& s)
{
    for (size_t i = 0; i < s.size(); ++i)
        ASSERT_EQ(0, list.InsertTextPrim(para, pos + int(i), &s[i], 1));
}

bool Undo(TOvcParaList& list)
{
    int32_t para = 0, pos = 0;
    return list.Undo(para, pos);
}

bool Redo(TOvcParaList& list)
{
    int32_t para = 0, pos = 0;
    return list.Redo(para, pos);
}

std::vector<std::string> Texts(const TOvcParaList& list)
{
    std::vector<std::string> out;
    for (int p = 1; p <= list.ParaCount(); ++p)
        out.emplace_back(list.ParaText(p));
    return out;
}
} // namespace

TEST(OvcUndoBuffer, RecordsArePackedWithA14ByteHeader)
{
    TOvcUndoBuffer undo(256);
    ASSERT_TRUE(undo.Push(TUndoType::InsertText, true, "abc", 3, 5, 2));
    ASSERT_TRUE(undo.Push(TUndoType::Caret, false, nullptr, 0, 1, 7));
    const uint8_t* b = undo.Block();
    const uint8_t first[] = { 2, 0, 0, 0, 5, 0, 0, 0, 3, 0, 0, 0, 0x81 };
    EXPECT_EQ(0, std::memcmp(first, b, sizeof first));
    EXPECT_EQ(0, std::memcmp("abc", b + 14, 3));
    EXPECT_EQ(17, b[17 + 10]); // PrevSize of the second record
    EXPECT_EQ(0, b[17 + 12]); // caret type, unmodified
    EXPECT_NE(b[13], b[17 + 13]); // separate actions
    EXPECT_EQ(256 - 17 - 14, undo.Free());
    EXPECT_EQ(17, undo.CurrentOffset());
    undo.CheckInvariants();
}

TEST(OvcUndoBuffer, TypingIsOneActionEvenAfterTheCaretMovedAwayAndBack)
{
    TOvcParaList list;
    Type(list, 1, 1, "he");
    Type(list, 1, 3, "llo");
    EXPECT_EQ(1, list.UndoBuffer().UndoCount());
    ASSERT_TRUE(Undo(list));
    EXPECT_EQ("", list.ParaText(1));
    EXPECT_FALSE(list.Modified());
    EXPECT_FALSE(Undo(list));
    ASSERT_TRUE(Redo(list));
    EXPECT_EQ("hello", list.ParaText(1));
}

TEST(OvcUndoBuffer, BackspaceAndDeleteRunsRestoreInOrder)
{
    TOvcParaList list;
    Type(list, 1, 1, "abcdefghij");
    list.FlushUndo();
    for (int pos = 10; pos > 5; --pos) // Backspace five times
        list.DeleteText(1, pos, 1);
    for (int i = 0; i < 2; ++i) // then Delete twice, a separate run
        list.DeleteText(1, 2, 1);
    EXPECT_EQ("ade", list.ParaText(1));
    ASSERT_TRUE(Undo(list));
    EXPECT_EQ("abcde", list.ParaText(1));
    ASSERT_TRUE(Undo(list));
    EXPECT_EQ("abcdefghij", list.ParaText(1));
}

TEST(OvcUndoBuffer, EnterWithIndentUndoesInOneStep)
{
    TOvcParaList list;
    Type(list, 1, 1, "    abcdef");
    int32_t indent = 4;
    ASSERT_EQ(0, list.BreakPara(1, true, indent, 0, 8));
    EXPECT_EQ((std::vector<std::string> { "    abc", "    def" }), Texts(list));
    int32_t para = 0, pos = 0;
    ASSERT_TRUE(list.Undo(para, pos));
    EXPECT_EQ((std::vector<std::string> { "    abcdef" }), Texts(list));
    EXPECT_EQ(1, para);
    EXPECT_EQ(8, pos);
    ASSERT_TRUE(list.Redo(para, pos));
    EXPECT_EQ((std::vector<std::string> { "    abc", "    def" }), Texts(list));
    list.CheckInvariants();
}

TEST(OvcUndoBuffer, ChangeLargerThanTheBlockIsMadeButForgetsHistory)
{
    TOvcParaList list;
    Type(list, 1, 1, "word");
    std::string big(10000, 'p');
    ASSERT_EQ(0, list.InsertTextPrim(1, 5, big.data(), int32_t(big.size())));
    EXPECT_EQ(10004, list.ParaLength(1));
    EXPECT_FALSE(list.CanUndo());
    Type(list, 1, 1, "x"); // later actions are recorded again
    EXPECT_TRUE(list.CanUndo());
}

TEST(OvcUndoBuffer, UndoAfterSaveTracksTheModifiedFlag)
{
    TOvcParaList list;
    ASSERT_EQ(0, list.PlaceParaPrim(1, "", 0));
    list.FlushUndo();
    list.SetModified(false);
    Type(list, 1, 1, "one");
    list.SetModified(false); // saved
    Type(list, 2, 1, "two");
    ASSERT_TRUE(Undo(list));
    EXPECT_FALSE(list.Modified());
    ASSERT_TRUE(Undo(list));
    EXPECT_TRUE(list.Modified());

    TOvcParaList cont;
    Type(cont, 1, 1, "one");
    cont.SetModified(false);
    Type(cont, 1, 4, "more"); // joins the record made before the save
    ASSERT_TRUE(Undo(cont));
    EXPECT_EQ("", cont.ParaText(1));
    EXPECT_TRUE(cont.Modified());
}

TEST(OvcUndoBuffer, FullBlockDropsWholeOldestActions)
{
    TOvcUndoBuffer undo(160);
    {
        TComplexOp op(undo);
        for (int i = 0; i < 3; ++i)
            ASSERT_TRUE(undo.Push(TUndoType::Caret, false, nullptr, 0, 1, i + 1));
    }
    int pushed = 0;
    while (undo.UndoCount() >= pushed) { // until something was dropped
        ASSERT_TRUE(undo.Push(TUndoType::DeleteText, false, "0123456789", 10, 1, 100 + pushed));
        ++pushed;
        undo.CheckInvariants();
    }
    // The three-record action went as a whole: no caret record is left.
    TUndoRecord rec;
    int count = 0;
    while (undo.GetUndo(rec)) {
        EXPECT_EQ(TUndoType::DeleteText, rec.Type);
        ++count;
    }
    EXPECT_GE(count, 1);
}

TEST(OvcUndoBuffer, OverflowingCompoundOperationIsForgottenAndRecordingResumes)
{
    TOvcUndoBuffer undo(100);
    ASSERT_TRUE(undo.Push(TUndoType::InsertText, false, "a", 1, 1, 1));
    bool saved = undo.BeginComplexOp();
    int kept = 0;
    for (int i = 0; i < 10; ++i)
        kept += undo.Push(TUndoType::DeleteText, false, "0123456789", 10, 1, 2 + i) ? 1 : 0;
    EXPECT_TRUE(undo.Overflowed());
    EXPECT_EQ(0, undo.UndoCount());
    EXPECT_LT(kept, 10);
    undo.EndComplexOp(saved);
    EXPECT_FALSE(undo.Overflowed());
    EXPECT_TRUE(undo.Push(TUndoType::InsertText, false, "b", 1, 1, 1));
    EXPECT_EQ(1, undo.UndoCount());
    undo.CheckInvariants();
}

TEST(OvcUndoBuffer, AllocationFailureHalvesTheBlock)
{
    auto smallOnly = [](std::size_t n) -> void* { return n <= 2000 ? std::malloc(n) : nullptr; };
    TOvcUndoBuffer halved(8192, smallOnly);
    EXPECT_EQ(1024, halved.Size());
    auto never = [](std::size_t) -> void* { return nullptr; };
    TOvcUndoBuffer none(8192, never);
    EXPECT_EQ(0, none.Size());
    EXPECT_FALSE(none.Push(TUndoType::InsertText, false, "a", 1, 1, 1));
}

TEST(OvcUndoBuffer, OperationNumbersNeverGlueNeighbouringActions)
{
    TOvcUndoBuffer undo(1024);
    ASSERT_TRUE(undo.Push(TUndoType::Caret, false, nullptr, 0, 1, 1));
    for (int i = 0; i < 255; ++i)
        undo.EndComplexOp(undo.BeginComplexOp()); // empty operations still count
    ASSERT_TRUE(undo.Push(TUndoType::Caret, false, nullptr, 0, 1, 2));
    TUndoRecord a, b;
    ASSERT_TRUE(undo.GetUndo(a));
    ASSERT_TRUE(undo.GetUndo(b));
    EXPECT_NE(a.Link, b.Link);
}

TEST(OvcUndoBuffer, OverwriteRunsMergeAndUndoRestoresTheOldText)
{
    TOvcParaList list;
    Type(list, 1, 1, "abcdef");
    list.FlushUndo();
    ASSERT_EQ(0, list.ReplaceText(1, 2, 1, "X", 1));
    ASSERT_EQ(0, list.ReplaceText(1, 3, 1, "Y", 1));
    ASSERT_EQ(0, list.ReplaceText(1, 4, 2, "Z", 1));
    EXPECT_EQ("aXYZf", list.ParaText(1));
    EXPECT_EQ(1, list.UndoBuffer().UndoCount());
    ASSERT_TRUE(Undo(list));
    EXPECT_EQ("abcdef", list.ParaText(1));
    ASSERT_TRUE(Redo(list));
    EXPECT_EQ("aXYZf", list.ParaText(1));
}

TEST(OvcUndoBuffer, DeletedParagraphsBelongToTheirRecords)
{
    // Each step below hands a paragraph between the text and the records; the sanitizers
    // catch a leak or a double free.
    TOvcParaList list(200);
    ASSERT_EQ(0, list.InsertParaPrim(1, "one", 3));
    ASSERT_EQ(0, list.InsertParaPrim(1, "two", 3));
    list.DeletePara(1);
    list.DeletePara(1);
    ASSERT_TRUE(Undo(list)); // "one" back in the text
    ASSERT_TRUE(Undo(list));
    ASSERT_TRUE(Undo(list)); // "two" out again, now held by a redo record
    Type(list, 1, 1, "x"); // drops the redo records
    for (int i = 0; i < 40; ++i) { // eviction from the oldest end
        ASSERT_EQ(0, list.InsertParaPrim(1, "para", 4));
        list.DeletePara(1);
    }
    list.CheckInvariants();
    list.SetUndoSize(100); // a new buffer: the old one frees what it holds
    EXPECT_EQ(100, list.UndoSize());
}

} // namespace wexly::test
