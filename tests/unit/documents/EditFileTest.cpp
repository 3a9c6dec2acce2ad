#include "documents/EditFile.h"

#include "platform/Windows1252.h"
#include "support/DocFakes.h"

#include <gtest/gtest.h>

namespace wexly::test {

namespace {

void Type(TEditFile& doc, const std::string& text)
{
    for (char c : text)
        doc.TextEditor()->ProcessCommand(ccTypedChar, c);
}

std::string Lines(int count, const char* prefix = "line")
{
    std::string s;
    for (int i = 1; i <= count; ++i)
        s += prefix + std::to_string(i) + "\r\n";
    return s;
}

} // namespace

TEST(EditFile, WriteProtectedFileOpensReadOnlyWithItsPicture)
{
    TDocEnv env;
    env.fs.SetFile("C:\\w\\ro.txt", "text\r\n");
    env.fs.SetReadOnly("C:\\w\\ro.txt", true);
    TEditFile& doc = env.Open("C:\\w\\ro.txt");
    EXPECT_TRUE(doc.ReadOnly());
    EXPECT_EQ(doc.Button().glyph, giReadOnlyText);
    EXPECT_EQ(doc.Named(), true);
    EXPECT_EQ(doc.ShortName(), "ro.txt");
    EXPECT_EQ(doc.Ext(), ".txt");
    EXPECT_NE(doc.FileTime(), 0u);
    EXPECT_EQ(doc.LoadedAt(), 45000.0);
    doc.CheckInvariants();
}

TEST(EditFile, ButtonPictureFollowsModifiedStateAndCaptionDoublesAmpersands)
{
    TDocEnv env;
    env.fs.SetFile("C:\\w\\a&b.txt", "x\r\n");
    TEditFile& doc = env.Open("C:\\w\\a&b.txt");
    EXPECT_EQ(doc.Button().caption, "a&&b.txt");
    EXPECT_EQ(doc.Button().hint, "C:\\w\\a&b.txt|");
    EXPECT_EQ(doc.Button().glyph, giText);
    Type(doc, "y");
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(doc.Button().glyph, giModified);
    doc.Save();
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(doc.Button().glyph, giText);
    EXPECT_EQ(env.fs.Contents("C:\\w\\a&b.txt"), "yx\r\n");
}

TEST(EditFile, CopyLeavesOutTheFinalLineBreakAndCutKeepsTextWhenCopyFails)
{
    TDocEnv env;
    env.fs.SetFile("C:\\w\\c.txt", "first\r\nsecond\r\n");
    TEditFile& doc = env.Open("C:\\w\\c.txt");
    doc.TextEditor()->SetSelection(1, 1, true, 2, 1); // the whole first line with its break
    EXPECT_TRUE(doc.Copy());
    EXPECT_EQ(env.clipboard.text, "first");
    EXPECT_EQ(doc.GetEditState(), (TEditState { false, false, true, true, true }));

    env.clipboard.failSet = true;
    doc.Cut();
    ASSERT_EQ(env.asker.asked.size(), 1u);
    EXPECT_EQ(env.asker.asked[0].text, "No Memory for operation");
    EXPECT_EQ(env.asker.asked[0].caption, "Error");
    EXPECT_EQ(doc.TextEditor()->GetPara(1), "first");

    env.clipboard.failSet = false;
    doc.Cut();
    EXPECT_EQ(doc.TextEditor()->GetPara(1), "second");
}

TEST(EditFile, ReloadOfAShorterFileKeepsTheCaretOnItsLastLine)
{
    TDocEnv env;
    env.fs.SetFile("C:\\w\\r.txt", Lines(30));
    TEditFile& doc = env.Open("C:\\w\\r.txt");
    doc.TextEditor()->SetVisibleSize(10, 80);
    doc.GotoLine(25);
    env.fs.SetFile("C:\\w\\r.txt", Lines(5, "new"));
    doc.Reload();
    EXPECT_EQ(doc.TextEditor()->GetPara(1), "new1");
    EXPECT_EQ(doc.CaretLine(), doc.LineTotal());
    EXPECT_EQ(doc.LineTotal(), 6); // five lines and the empty one after the last break
    EXPECT_FALSE(doc.IsModified());
    doc.CheckInvariants();
}

TEST(EditFile, DiskChangeAsksUntilAnsweredAndReloadsOnYes)
{
    TDocEnv env;
    env.fs.SetFile("C:\\w\\d.txt", "old\r\n");
    TEditFile& doc = env.Open("C:\\w\\d.txt");
    env.commands->New(); // d.txt's button is no longer the pressed one
    EXPECT_FALSE(doc.CheckDiskChange()); // unchanged: no question

    env.fs.SetFile("C:\\w\\d.txt", "new\r\n");
    env.asker.answers = { TMsgResult::No, TMsgResult::Yes };
    EXPECT_FALSE(doc.CheckDiskChange());
    ASSERT_EQ(env.asker.asked.size(), 1u);
    EXPECT_EQ(env.asker.asked[0].text, "d.txt has changed on the disk\rReload?");
    EXPECT_EQ(env.asker.asked[0].caption, "Attention!");
    EXPECT_EQ(env.asker.asked[0].buttons, TMsgButtons::YesNo);
    EXPECT_EQ(doc.TextEditor()->GetPara(1), "old");

    EXPECT_TRUE(doc.CheckDiskChange()); // asked again, Yes
    EXPECT_EQ(doc.TextEditor()->GetPara(1), "new");
    EXPECT_TRUE(doc.Button().swapped);
    EXPECT_FALSE(doc.CheckDiskChange());
    EXPECT_EQ(env.asker.asked.size(), 2u);
}

TEST(EditFile, DiskChangeSkipsBusyUntitledAndBinaryDocumentsAndReloadsSilentlyWhenSet)
{
    TDocEnv env;
    env.settings.SilentReload = true;
    env.fs.SetFile("C:\\w\\s.txt", "one\r\n");
    env.fs.SetFile("C:\\w\\b.bin", std::string("\0\1\2", 3));
    TEditFile& text = env.Open("C:\\w\\s.txt");
    TEditFile& bin = env.Open("C:\\w\\b.bin", true);
    TEditFile* untitled = env.commands->New();
    env.fs.Touch("C:\\w\\s.txt");
    env.fs.Touch("C:\\w\\b.bin");
    text.SetToolBusy(true);
    EXPECT_FALSE(text.CheckDiskChange());
    EXPECT_FALSE(bin.CheckDiskChange());
    EXPECT_FALSE(untitled->CheckDiskChange());
    text.SetToolBusy(false);
    EXPECT_TRUE(text.CheckDiskChange());
    EXPECT_TRUE(env.asker.asked.empty());
}

TEST(EditFile, SecondPaneReturnsToWhereItWasInADocument)
{
    TDocEnv env;
    env.fs.SetFile("C:\\w\\p.txt", Lines(50));
    env.fs.SetFile("C:\\w\\q.txt", Lines(3));
    TEditFile& p = env.Open("C:\\w\\p.txt");
    TEditFile& q = env.Open("C:\\w\\q.txt");
    TEditFile& bottom = *env.set->BottomView();
    bottom.TextEditor()->SetVisibleSize(10, 80);
    bottom.AttachView(p);
    EXPECT_EQ(bottom.Source(), &p);
    EXPECT_TRUE(bottom.TextEditor()->IsShared());
    bottom.SetCaret(40, 3);
    bottom.DetachView();
    EXPECT_EQ(p.SavedCaretLine(), 40);
    EXPECT_EQ(p.SavedCaretCol(), 3);
    bottom.AttachView(q);
    bottom.DetachView();
    bottom.AttachView(p);
    EXPECT_EQ(bottom.CaretLine(), 40);
    EXPECT_EQ(bottom.CaretColumn(), 3);
    EXPECT_EQ(bottom.TopLine(), p.SavedTopLine());
    bottom.CheckInvariants();
}

TEST(EditFile, TypingTwoHexDigitsWritesTheByteAndMovesOn)
{
    TDocEnv env;
    env.fs.SetFile("C:\\w\\h.bin", std::string(32, '\0'));
    TEditFile& doc = env.Open("C:\\w\\h.bin", true);
    TAFViewer& v = *doc.BinViewer();
    v.SetCaretPosition(0, v.HexColumn());
    EXPECT_TRUE(doc.HexTyped('4'));
    EXPECT_TRUE(doc.HexTyped('1'));
    EXPECT_EQ(env.fs.Contents("C:\\w\\h.bin")[0], 0x41);
    EXPECT_EQ(doc.CaretColumn(), v.HexColumn() + 3);
    EXPECT_EQ(doc.LineTotal(), 2);
    EXPECT_EQ(doc.GetEditState(), (TEditState { false, false, false, false, false }));
    EXPECT_EQ(doc.Button().glyph, giBinary);

    TEditFile& bottom = *env.set->BottomView();
    bottom.AttachView(doc);
    EXPECT_FALSE(bottom.HexTyped('5')); // no hex typing in the second pane
    bottom.DetachView();
}

TEST(EditFile, GotoLineClampsAndScrollsTheCaretIntoView)
{
    TDocEnv env;
    env.fs.SetFile("C:\\w\\g.txt", Lines(100));
    TEditFile& doc = env.Open("C:\\w\\g.txt");
    doc.TextEditor()->SetVisibleSize(10, 80);
    doc.GotoLine(500);
    EXPECT_EQ(doc.CaretLine(), doc.LineTotal());
    doc.GotoLine(50);
    EXPECT_EQ(doc.CaretLine(), 50);
    EXPECT_LE(doc.TopLine(), 50);
    EXPECT_GE(doc.TopLine() + 9, 50);
    doc.GotoLine(-3);
    EXPECT_EQ(doc.CaretLine(), 1);
    EXPECT_EQ(doc.TopLine(), 1);
}

TEST(EditFile, ScrollingOneLineKeepsOrCarriesTheCaret)
{
    TDocEnv env;
    env.fs.SetFile("C:\\w\\k.txt", Lines(100));
    TEditFile& doc = env.Open("C:\\w\\k.txt");
    doc.TextEditor()->SetVisibleSize(10, 80);
    doc.ScrollOneLine(false, true); // at the top: nothing
    EXPECT_EQ(doc.TopLine(), 1);
    doc.ScrollOneLine(true, true);
    EXPECT_EQ(doc.TopLine(), 2);
    EXPECT_EQ(doc.CaretLine(), 2); // pushed along by the top line
    doc.ScrollOneLine(true, false);
    EXPECT_EQ(doc.TopLine(), 3);
    EXPECT_EQ(doc.CaretLine(), 3); // moved with the text
}

TEST(EditFile, LongLinesSplitOnLoadAreReportedOnce)
{
    TDocEnv env;
    const std::string longLine = std::string(20000, 'a') + " " + std::string(20000, 'b') + "\r\n";
    env.fs.SetFile("C:\\w\\long.txt", longLine);
    TEditFile& doc = env.Open("C:\\w\\long.txt");
    ASSERT_EQ(env.asker.asked.size(), 1u);
    EXPECT_EQ(env.asker.asked[0].text, kLinesSplitMessage);
    EXPECT_EQ(env.asker.asked[0].caption, "long.txt");
    EXPECT_GT(doc.TextEditor()->ParaCount(), 2);
    doc.Reload();
    EXPECT_EQ(env.asker.asked.size(), 1u);
}

TEST(EditFile, SaveAsRenamesOrSavesACopy)
{
    TDocEnv env;
    env.fs.SetFile("C:\\w\\orig.txt", "abc\r\n");
    env.fs.SetReadOnly("C:\\w\\orig.txt", false);
    TEditFile& doc = env.Open("C:\\w\\orig.txt");
    Type(doc, "x");
    doc.SaveAs("C:\\w\\copy.txt", false);
    EXPECT_EQ(doc.FileName(), "C:\\w\\orig.txt");
    EXPECT_FALSE(doc.IsModified()); // every save clears the flag
    EXPECT_EQ(env.fs.Contents("C:\\w\\copy.txt"), "xabc\r\n");
    EXPECT_EQ(env.fs.Contents("C:\\w\\orig.txt"), "abc\r\n");

    doc.SaveAs("C:\\w\\new&name.log", true);
    EXPECT_EQ(doc.FileName(), "C:\\w\\new&name.log");
    EXPECT_EQ(doc.ShortName(), "new&name.log");
    EXPECT_EQ(doc.Ext(), ".log");
    EXPECT_EQ(doc.Button().caption, "new&&name.log");
    EXPECT_EQ(doc.Button().width, 8 * 12 + 30);
}

TEST(EditFile, BinaryOpenOfAMissingFileFailsWithTheLoadMessage)
{
    TDocEnv env;
    TEditFile doc(env.services, "C:\\w\\none.bin", true, true, false, true);
    EXPECT_TRUE(doc.LoadFailed());
    ASSERT_EQ(env.asker.asked.size(), 1u);
    EXPECT_EQ(env.asker.asked[0].text, "Exception Occured while opening file");
    EXPECT_EQ(env.asker.asked[0].caption, "Error!");
}

TEST(EditFile, AUtf8DocumentKeepsItsEncodingThroughSaveSaveAsRevertAndReload)
{
    TUnicodeEnv env;
    env.settings.BackupText = true;
    env.fs.SetFile("C:\\w\\u.txt",
        "\xEF\xBB\xBF"
        "caf\xC3\xA9\r\n");
    TEditFile& doc = env.Open("C:\\w\\u.txt");
    EXPECT_EQ(doc.Encoding(), TTextEncoding::Utf8Bom);
    EXPECT_EQ(doc.TextEditor()->Buffer().ParaText(1), "caf\xE9");
    Type(doc, "\xE0");
    doc.Save();
    EXPECT_EQ(env.fs.Contents("C:\\w\\u.txt"),
        "\xEF\xBB\xBF\xC3\xA0"
        "caf\xC3\xA9\r\n");
    // A backup is the old file's bytes.
    EXPECT_EQ(env.fs.Contents("C:\\w\\u.~txt"),
        "\xEF\xBB\xBF"
        "caf\xC3\xA9\r\n");
    doc.SaveAs("C:\\w\\copy.txt", true);
    EXPECT_EQ(env.fs.Contents("C:\\w\\copy.txt"),
        "\xEF\xBB\xBF\xC3\xA0"
        "caf\xC3\xA9\r\n");
    // Changed on disk to UTF-16, then to ANSI: each reload reads what is there now.
    env.fs.SetFile("C:\\w\\copy.txt", std::string("\xFF\xFE\xE9\0", 4));
    doc.Reload();
    EXPECT_EQ(doc.Encoding(), TTextEncoding::Utf16Le);
    EXPECT_EQ(doc.TextEditor()->Buffer().ParaText(1), "\xE9");
    env.fs.SetFile("C:\\w\\copy.txt", "caf\xE9\r\n");
    doc.Reload();
    EXPECT_EQ(doc.Encoding(), TTextEncoding::Ansi);
    EXPECT_EQ(doc.TextEditor()->Buffer().ParaText(1), "caf\xE9");
}

TEST(EditFile, ChangingTheEncodingMarksTheTextModifiedAndSavesInTheNewOne)
{
    TUnicodeEnv env;
    env.settings.BinaryCheck = false;
    env.fs.SetFile("C:\\w\\a.txt", "caf\xE9\r\n");
    TEditFile& doc = env.Open("C:\\w\\a.txt");
    EXPECT_EQ(doc.Encoding(), TTextEncoding::Ansi);
    doc.SetEncoding(TTextEncoding::Ansi);
    EXPECT_FALSE(doc.IsModified());
    doc.SetEncoding(TTextEncoding::Utf16Be);
    EXPECT_TRUE(doc.IsModified());
    doc.Save();
    EXPECT_EQ(env.fs.Contents("C:\\w\\a.txt"), std::string("\xFE\xFF\0c\0a\0f\0\xE9\0\r\0\n", 14));
}

TEST(EditFile, TheSecondPaneShowsTheEncodingOfTheDocumentItShows)
{
    TUnicodeEnv env;
    env.fs.SetFile("C:\\w\\u.txt", "\xC3\xA9\r\n");
    TEditFile& doc = env.Open("C:\\w\\u.txt");
    TEditFile bottom(env.services);
    bottom.AttachView(doc);
    EXPECT_EQ(bottom.Encoding(), TTextEncoding::Utf8);
}

TEST(EditFile, WithTheConversionOffAUtf8FileIsBytes)
{
    TUnicodeEnv env;
    env.settings.ConvertUnicode = env.settings.BinaryCheck = false;
    env.fs.SetFile("C:\\w\\u.txt", "caf\xC3\xA9\r\n");
    TEditFile& doc = env.Open("C:\\w\\u.txt");
    EXPECT_EQ(doc.Encoding(), TTextEncoding::Ansi);
    EXPECT_EQ(doc.TextEditor()->Buffer().ParaText(1), "caf\xC3\xA9");
}

} // namespace wexly::test
