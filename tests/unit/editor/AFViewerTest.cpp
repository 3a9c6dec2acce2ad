#include "editor/AFViewer.h"

#include "support/FakeFileSystem.h"

#include <gtest/gtest.h>

namespace wexly {
static void PrintTo(const TViewerPos& pos, std::ostream* os)
{
    *os << "(" << pos.line << ", " << pos.col << ")";
}
} // namespace wexly

namespace wexly::test {
namespace {

std::string Pattern(size_t n)
{
    std::string data(n, ' ');
    for (size_t i = 0; i < n; ++i)
        data[i] = static_cast<char>('A' + i % 26);
    return data;
}

class AFViewerFixture : public ::testing::Test
{
protected:
    void Open(const std::string& data, bool forWriting = true)
    {
        fs.SetFile("dir/f.bin", data);
        viewer.SetFileName("dir/f.bin");
        viewer.Open(true, forWriting);
    }
    std::string File() { return fs.Contents("dir/f.bin"); }
    bool Type(int64_t line, int32_t col, char ch)
    {
        viewer.SetCaretPosition(line, col);
        return viewer.HexTyped(ch);
    }

    TFakeFileSystem fs;
    TAFViewer viewer { fs };
};

} // namespace

using AFViewer = AFViewerFixture;

// ---- opening ---------------------------------------------------------------------

TEST_F(AFViewer, OpensForWritingAndKeepsOtherWritersOut)
{
    Open("hello");
    EXPECT_TRUE(viewer.IsOpen());
    EXPECT_TRUE(viewer.Writable());
    EXPECT_FALSE(viewer.GetReadOnly());
    EXPECT_EQ(fs.OpenHandles("dir/f.bin"), 1); // the first, reading handle was released
    EXPECT_EQ(
        fs.Open("dir/f.bin", TFileAccess::Write, TFileShare::DenyNone, TFileCreate::OpenExisting),
        nullptr);
    EXPECT_NE(
        fs.Open("dir/f.bin", TFileAccess::Read, TFileShare::DenyNone, TFileCreate::OpenExisting),
        nullptr);
    // Write access belongs to that handle only, not to whatever handle comes next.
    viewer.SetIsOpen(false);
    viewer.SetIsOpen(true);
    EXPECT_FALSE(viewer.Writable());
    viewer.Close();
    EXPECT_FALSE(viewer.Writable());
    viewer.CheckInvariants();
}

TEST_F(AFViewer, ReadOnlyFileFallsBackToReadingAndIgnoresTyping)
{
    fs.SetFile("dir/f.bin", "ABCD");
    fs.SetReadOnly("dir/f.bin", true);
    viewer.SetFileName("dir/f.bin");
    viewer.Open(true, true);
    EXPECT_TRUE(viewer.IsOpen());
    EXPECT_TRUE(viewer.GetReadOnly());
    EXPECT_FALSE(viewer.Writable());
    EXPECT_FALSE(Type(0, 10, '7'));
    EXPECT_EQ(File(), "ABCD");
    EXPECT_EQ(viewer.Caret(), (TViewerPos { 0, 10 }));
}

TEST_F(AFViewer, SecondPaneHandOverLeavesBothViewsOpenAndTheFirstWritable)
{
    Open(Pattern(40));
    viewer.SetCaretPosition(2, 12);
    TAFViewer bottom(fs);
    bottom.SetFileName("dir/f.bin");
    viewer.Close();
    bottom.Open(true, false);
    viewer.Open(false, true);
    EXPECT_TRUE(viewer.Writable());
    EXPECT_FALSE(bottom.GetReadOnly());
    EXPECT_EQ(viewer.Caret(), (TViewerPos { 2, 12 })); // reopening keeps the view
    EXPECT_EQ(bottom.GetLine(1), viewer.GetLine(1));
    EXPECT_EQ(fs.OpenHandles("dir/f.bin"), 2);
}

TEST_F(AFViewer, FailedReopenLeavesTheViewerClosed)
{
    Open("data");
    viewer.Close();
    fs.FailOpens("dir/f.bin", 32);
    try {
        viewer.Open(false, true);
        FAIL();
    } catch (const EInOutError& e) {
        EXPECT_STREQ(e.what(), "Viewer triggered I/O error 32");
    }
    EXPECT_FALSE(viewer.IsOpen());
    EXPECT_EQ(viewer.LineCount(), 0);
    viewer.CheckInvariants();
}

TEST_F(AFViewer, EmptyFileOpensWithOneRowAndTakesNoTyping)
{
    Open("");
    EXPECT_EQ(viewer.LineCount(), 1);
    EXPECT_EQ(viewer.GetBinLine(0), std::string(47, ' '));
    EXPECT_FALSE(Type(0, 10, '1'));
    EXPECT_FALSE(Type(0, 59, 'x'));
    EXPECT_EQ(File(), "");
}

// ---- hex editing ------------------------------------------------------------------

TEST_F(AFViewer, TypingAHexDigitRewritesTheByteAndAdvances)
{
    Open(Pattern(32));
    EXPECT_TRUE(Type(0, 10, '7')); // 41 -> 71
    EXPECT_EQ(File()[0], '\x71');
    EXPECT_EQ(viewer.GetLine(0).substr(10, 2), "71");
    EXPECT_EQ(viewer.GetLine(0)[59], 'q');
    EXPECT_EQ(viewer.Caret(), (TViewerPos { 0, 11 }));
    EXPECT_TRUE(viewer.HexTyped('e')); // lower case accepted, written upper
    EXPECT_EQ(File()[0], '\x7E');
    EXPECT_EQ(viewer.Caret(), (TViewerPos { 0, 13 })); // over the separator
    EXPECT_TRUE(Type(0, 56, '0')); // second digit of byte 15
    EXPECT_EQ(File()[15], '\x50');
    EXPECT_EQ(viewer.Caret(), (TViewerPos { 1, 10 }));
    EXPECT_EQ(File().substr(1, 14), Pattern(32).substr(1, 14));
    viewer.CheckInvariants();
}

TEST_F(AFViewer, TypingInTheCharacterColumnWritesTheCharacter)
{
    Open(Pattern(32));
    EXPECT_TRUE(Type(0, 59, 'z'));
    EXPECT_EQ(File()[0], 'z');
    EXPECT_EQ(viewer.Caret(), (TViewerPos { 0, 60 }));
    EXPECT_TRUE(Type(0, 74, '#'));
    EXPECT_EQ(File()[15], '#');
    EXPECT_EQ(viewer.Caret(), (TViewerPos { 1, 59 }));
    EXPECT_EQ(viewer.GetLine(0).substr(10, 2), "7A");
}

TEST_F(AFViewer, KeystrokesThatMustNotWriteAreIgnored)
{
    Open(Pattern(20));
    EXPECT_FALSE(Type(0, 10, 'z')); // not a hex digit
    EXPECT_FALSE(Type(0, 12, '1')); // separator
    EXPECT_FALSE(Type(0, 3, '1')); // offset
    EXPECT_FALSE(Type(0, 58, 'x')); // blank before the characters
    EXPECT_FALSE(Type(0, 59, '\b')); // Backspace, Enter, Esc reach here as characters
    EXPECT_FALSE(Type(0, 60, '\r'));
    EXPECT_FALSE(Type(0, 61, '\x1B'));
    // Just past the end of the file: an overwrite-only editor does not grow the file.
    EXPECT_FALSE(Type(1, 22, '1'));
    EXPECT_FALSE(Type(1, 63, 'x'));
    EXPECT_EQ(File(), Pattern(20));
    EXPECT_EQ(viewer.Caret(), (TViewerPos { 1, 63 }));
    EXPECT_TRUE(Type(1, 20, '0')); // the last existing byte is fine
    EXPECT_EQ(File().size(), 20u);
    EXPECT_EQ(File()[19], '\x50');
}

TEST_F(AFViewer, EditsAtPageBoundariesShowAtOnce)
{
    Open(Pattern(8193));
    viewer.GetLine(255); // both pages cached before the edits
    viewer.GetLine(256);
    EXPECT_TRUE(Type(255, 74, '<')); // offset 4095, the last byte of page 0
    EXPECT_EQ(viewer.Caret(), (TViewerPos { 256, 59 }));
    EXPECT_TRUE(viewer.HexTyped('>')); // offset 4096, the first byte of page 1
    EXPECT_TRUE(Type(512, 10, '2')); // offset 8192, the only byte of page 2
    EXPECT_EQ(File()[4095], '<');
    EXPECT_EQ(File()[4096], '>');
    EXPECT_EQ(static_cast<uint8_t>(File()[8192]), 0x20 | ('A' + 8192 % 26) % 16);
    EXPECT_EQ(viewer.GetLine(255).substr(55, 2), "3C");
    EXPECT_EQ(viewer.GetLine(256).substr(10, 2), "3E");
    EXPECT_EQ(viewer.GetLine(256)[59], '>');
    EXPECT_EQ(File().size(), 8193u);
    EXPECT_EQ(viewer.Caret(), (TViewerPos { 512, 11 }));
    EXPECT_TRUE(viewer.HexTyped('2'));
    EXPECT_EQ(viewer.Caret(), (TViewerPos { 512, 13 }));
    viewer.CheckInvariants();
}

TEST_F(AFViewer, GetBinLineIsFortySevenCharacters)
{
    Open(Pattern(18));
    EXPECT_EQ(viewer.GetBinLine(0), "41 42 43 44 45 46 47 48 49 4A 4B 4C 4D 4E 4F 50");
    EXPECT_EQ(viewer.GetBinLine(1), "51 52" + std::string(42, ' '));
}

// ---- writing, backups and failures ----------------------------------------------

TEST_F(AFViewer, BackupIsMadeOnceBeforeTheFirstEdit)
{
    Open(Pattern(5000));
    viewer.SetMakeBackup(true);
    EXPECT_TRUE(Type(0, 59, 'x'));
    EXPECT_EQ(fs.Contents("dir/f.~bin"), Pattern(5000));
    EXPECT_TRUE(Type(300, 59, 'y'));
    EXPECT_EQ(fs.Contents("dir/f.~bin"), Pattern(5000));
    EXPECT_EQ(File()[0], 'x');
    EXPECT_EQ(File()[4800], 'y');
}

TEST_F(AFViewer, FailedBackupLeavesNoPartialCopyAndNoEdit)
{
    Open(Pattern(9000));
    viewer.SetMakeBackup(true);
    fs.FailWritesAfter("dir/f.~bin", 4096, FileErrorCode::DiskFull);
    try {
        Type(0, 59, 'x');
        FAIL();
    } catch (const EInOutError& e) {
        EXPECT_STREQ(e.what(), "Viewer triggered I/O error 112");
    }
    EXPECT_FALSE(fs.Exists("dir/f.~bin"));
    EXPECT_EQ(File(), Pattern(9000));
    EXPECT_EQ(viewer.Caret(), (TViewerPos { 0, 59 }));
}

TEST_F(AFViewer, BackupCutShortByAReadErrorIsRemoved)
{
    Open(Pattern(9000));
    viewer.SetMakeBackup(true);
    fs.FailReadsFrom("dir/f.bin", 4096, FileErrorCode::ReadFault);
    EXPECT_THROW(Type(0, 59, 'x'), EInOutError);
    EXPECT_FALSE(fs.Exists("dir/f.~bin"));
    EXPECT_EQ(File(), Pattern(9000));
    fs.ClearFailures();
    EXPECT_TRUE(Type(0, 59, 'x'));
    EXPECT_EQ(fs.Contents("dir/f.~bin"), Pattern(9000));
}

TEST_F(AFViewer, WriteFailureIsReportedAndTheDisplayStaysTrue)
{
    Open(Pattern(32));
    fs.FailWritesAfter("dir/f.bin", 0, FileErrorCode::DiskFull);
    EXPECT_THROW(Type(0, 10, '0'), EInOutError);
    EXPECT_EQ(viewer.GetLine(0).substr(10, 2), "41");
    EXPECT_EQ(viewer.Caret(), (TViewerPos { 0, 10 }));
}

TEST_F(AFViewer, ReadOnlyHandleIsReopenedForWritingWhenBytesAreSet)
{
    Open(Pattern(16), false);
    EXPECT_FALSE(viewer.Writable());
    EXPECT_FALSE(viewer.GetReadOnly());
    EXPECT_TRUE(Type(0, 59, 'x'));
    EXPECT_TRUE(viewer.Writable());
    EXPECT_EQ(File()[0], 'x');

    // When write access cannot be had, the write is refused rather than pretended.
    Open(Pattern(16), false);
    auto reader
        = fs.Open("dir/f.bin", TFileAccess::Read, TFileShare::DenyWrite, TFileCreate::OpenExisting);
    ASSERT_TRUE(reader);
    try {
        Type(0, 59, 'x');
        FAIL();
    } catch (const EInOutError& e) {
        EXPECT_STREQ(e.what(), "Viewer: file access denied");
    }
    EXPECT_TRUE(viewer.GetReadOnly());
    EXPECT_EQ(File(), Pattern(16));
}

TEST_F(AFViewer, SetBinLineNeverGrowsTheFile)
{
    Open(Pattern(20));
    const uint8_t bytes[16] = { 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16 };
    viewer.SetBinLine(16, bytes, 16);
    EXPECT_EQ(File().size(), 20u);
    EXPECT_EQ(File().substr(16), std::string("\x01\x02\x03\x04", 4));
    viewer.SetBinLine(20, bytes, 4);
    EXPECT_EQ(File().size(), 20u);
}

} // namespace wexly::test
