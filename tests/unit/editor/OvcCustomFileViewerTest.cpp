#include "editor/OvcCustomFileViewer.h"

#include "support/FakeFileSystem.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace wexly {
static void PrintTo(const TViewerPos& pos, std::ostream* os)
{
    *os << "(" << pos.line << ", " << pos.col << ")";
}
}

namespace wexly::test {
namespace {

std::vector<uint8_t> Bytes(size_t n)
{
    std::vector<uint8_t> data(n);
    for (size_t i = 0; i < n; ++i)
        data[i] = static_cast<uint8_t>('A' + i % 26);
    return data;
}

struct TRecorder final : IFileViewerObserver
{
    std::vector<std::pair<int64_t, int32_t>> status;
    std::vector<TCommandCode> commands;
    int changes = 0;
    void OnShowStatus(int64_t line, int32_t col) override { status.emplace_back(line, col); }
    void OnTopLineChanged(int64_t) override { }
    void OnUserCommand(TCommandCode command) override { commands.push_back(command); }
    void OnChange() override { ++changes; }
};

struct TClipboard final : IClipboard
{
    std::string text;
    bool SetText(const std::string& t) override { return text = t, true; }
    bool HasText() override { return !text.empty(); }
    std::string GetText() override { return text; }
};

class OvcCustomFileViewerOpened : public ::testing::Test
{
protected:
    void Open(std::vector<uint8_t> data)
    {
        fs.SetFile("f.bin", std::move(data));
        viewer.SetFileName("f.bin");
        viewer.SetObserver(&recorder);
        viewer.SetClipboard(&clipboard);
        viewer.SetIsOpen(true);
        viewer.SetVisibleRows(10);
    }
    std::string Line(int64_t line) { return std::string(viewer.GetLine(line)); }

    TFakeFileSystem fs;
    TOvcCustomFileViewer viewer { fs };
    TRecorder recorder;
    TClipboard clipboard;
};

} // namespace

// ---- row formatting --------------------------------------------------------

TEST(OvcCustomFileViewer, TwentyByteFileShowsTwoRowsTheSecondShort)
{
    TFakeFileSystem fs;
    std::vector<uint8_t> data = Bytes(20);
    fs.SetFile("f", data);
    TOvcCustomFileViewer viewer(fs);
    viewer.SetFileName("f");
    viewer.SetIsOpen(true);
    ASSERT_EQ(viewer.LineCount(), 2);
    EXPECT_EQ(viewer.GetLine(0),
        "00000000  41 42 43 44 45 46 47 48 49 4A 4B 4C 4D 4E 4F 50  ABCDEFGHIJKLMNOP");
    EXPECT_EQ(viewer.GetLine(1), "00000010  51 52 53 54                                      QRST");
    EXPECT_EQ(viewer.GetLine(0).size(), 75u);
    EXPECT_EQ(viewer.GetLineLength(1), 63);
    EXPECT_EQ(viewer.GetLine(2), "");
    EXPECT_EQ(viewer.GetLine(-1), "");
    viewer.CheckInvariants();
}

struct TSizeRow
{
    const char* name;
    size_t size;
    int64_t lines;
    int32_t lastLength; // of the last row
};

class OvcCustomFileViewerSizes : public ::testing::TestWithParam<TSizeRow>
{
};

TEST_P(OvcCustomFileViewerSizes, RowCountAndLastRow)
{
    const TSizeRow& row = GetParam();
    TFakeFileSystem fs;
    fs.SetFile("f", Bytes(row.size));
    TOvcCustomFileViewer viewer(fs);
    viewer.SetFileName("f");
    viewer.SetIsOpen(true);
    EXPECT_EQ(viewer.LineCount(), row.lines);
    int64_t last = row.lines - 1;
    std::string text(viewer.GetLine(last));
    EXPECT_EQ(static_cast<int32_t>(text.size()), row.lastLength);
    char offset[9];
    std::snprintf(offset, sizeof offset, "%08llX", static_cast<unsigned long long>(last * 16));
    EXPECT_EQ(text.substr(0, 8), offset);
    if (row.size > 0) {
        // The last byte shows in both columns; nothing follows it.
        uint8_t lastByte = static_cast<uint8_t>('A' + (row.size - 1) % 26);
        size_t i = (row.size - 1) % 16;
        EXPECT_EQ(text[59 + i], static_cast<char>(lastByte));
        EXPECT_EQ(text.substr(10 + 3 * i + 2, 1), " ");
        EXPECT_EQ(text.find_first_not_of(' ', 10 + 3 * i + 2), 59u);
    }
    viewer.CheckInvariants();
}

INSTANTIATE_TEST_SUITE_P(Sizes, OvcCustomFileViewerSizes,
    ::testing::Values(TSizeRow { "Empty", 0, 1, 8 }, TSizeRow { "One", 1, 1, 60 },
        TSizeRow { "Fifteen", 15, 1, 74 }, TSizeRow { "Sixteen", 16, 1, 75 },
        TSizeRow { "Seventeen", 17, 2, 60 }, TSizeRow { "PageLessOne", 4095, 256, 74 },
        TSizeRow { "Page", 4096, 256, 75 }, TSizeRow { "PagePlusOne", 4097, 257, 60 }),
    [](const auto& row) { return std::string(row.param.name); });

TEST(OvcCustomFileViewer, FilteredBytesShowAsFullStops)
{
    TFakeFileSystem fs;
    fs.SetFile("f", std::vector<uint8_t> { 0x41, 0x00, 0x09, 0xFF, 0x1B });
    TOvcCustomFileViewer viewer(fs);
    viewer.SetFileName("f");
    viewer.SetIsOpen(true);
    EXPECT_EQ(viewer.GetLine(0).substr(10), "41 00 09 FF 1B" + std::string(35, ' ') + "A....");
    viewer.SetFilterChars(false);
    EXPECT_EQ(viewer.GetLine(0).substr(59), "A..\xFF\x1B");
    viewer.SetExpandTabs(false);
    EXPECT_EQ(viewer.GetLine(0).substr(59), "A.\t\xFF\x1B");
    EXPECT_EQ(viewer.GetPrintableLine(0).substr(59), "A.   \xFF\x1B");
}

TEST(OvcCustomFileViewer, OpenFailuresRaiseTheMessagesAndLeaveItClosed)
{
    TFakeFileSystem fs;
    TOvcCustomFileViewer viewer(fs);
    viewer.SetFileName("missing");
    try {
        viewer.SetIsOpen(true);
        FAIL();
    } catch (const EInOutError& e) {
        EXPECT_STREQ(e.what(), "Viewer: file not found");
    }
    EXPECT_FALSE(viewer.IsOpen());
    EXPECT_EQ(viewer.LineCount(), 0);

    fs.SetFile("held", "data");
    auto other
        = fs.Open("held", TFileAccess::Write, TFileShare::DenyNone, TFileCreate::OpenExisting);
    viewer.SetFileName("held");
    try {
        viewer.SetIsOpen(true);
        FAIL();
    } catch (const EInOutError& e) {
        EXPECT_STREQ(e.what(), "Viewer triggered I/O error 32");
        EXPECT_EQ(e.Code(), 32u);
    }
}

TEST(OvcCustomFileViewer, ReadErrorRaisesAndLeavesNoStalePage)
{
    TFakeFileSystem fs;
    fs.SetFile("f", Bytes(3 * 4096));
    TOvcCustomFileViewer viewer(fs);
    viewer.SetFileName("f");
    viewer.SetIsOpen(true);
    fs.FailReadsFrom("f", 4096, 23);
    EXPECT_NO_THROW(viewer.GetLine(0));
    EXPECT_THROW(viewer.GetLine(256), EInOutError);
    fs.ClearFailures();
    EXPECT_EQ(viewer.GetLine(256).substr(0, 12), "00001000  4F");
    viewer.CheckInvariants();
}

// ---- page cache ------------------------------------------------------------

TEST(OvcCustomFileViewer, ScrollingReadsEachPageOnceAndRepaintingReadsNothing)
{
    TFakeFileSystem fs;
    fs.SetFile("f", Bytes(10 * 4096));
    TOvcCustomFileViewer viewer(fs);
    viewer.SetFileName("f");
    viewer.SetBufferPageCount(2);
    viewer.SetIsOpen(true);
    for (int64_t line = 0; line < viewer.LineCount(); ++line)
        viewer.GetLine(line);
    EXPECT_EQ(viewer.PagesRead(), 10u);
    viewer.GetLine(viewer.LineCount() - 1);
    viewer.GetLine(viewer.LineCount() - 300); // the page before: still cached
    EXPECT_EQ(viewer.PagesRead(), 10u);
    viewer.GetLine(0); // long evicted
    EXPECT_EQ(viewer.PagesRead(), 11u);
    viewer.CheckInvariants();
}

TEST(OvcCustomFileViewer, CacheEvictsLeastRecentlyUsedAndSurvivesClockWrap)
{
    TFakeFileSystem fs;
    fs.SetFile("f", Bytes(5 * 4096));
    auto file = fs.Open("f", TFileAccess::Read, TFileShare::DenyNone, TFileCreate::OpenExisting);
    TFileViewerPageCache cache(7);
    cache.SetPageCount(2);
    cache.Get(*file, 0);
    cache.Get(*file, 1);
    cache.Get(*file, 0); // page 1 is now the older
    cache.Get(*file, 2); // replaces page 1
    EXPECT_EQ(cache.ReadCount(), 3u);
    cache.Get(*file, 0);
    EXPECT_EQ(cache.ReadCount(), 3u);
    // The clock passes its limit here; the cache keeps working and stays consistent.
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(
            cache.Get(*file, i % 3 == 0 ? 0 : 4).data[0], i % 3 == 0 ? 'A' : 'A' + 4096 * 4 % 26);
        cache.CheckInvariants();
    }
    EXPECT_LT(cache.UseClock(), 7u);
}

// ---- huge files (native, sparse) ------------------------------------------

// Windows has no sparse files by default: seeking past the end would write 4 GiB of zeros.
#if !defined(_WIN32)

TEST(OvcCustomFileViewer, SparseFileBeyondFourGiBShowsItsLastRowAndPage65535)
{
    std::string path = ::testing::TempDir() + "wexly_viewer_sparse.bin";
    struct TRemove
    {
        const std::string& file;
        ~TRemove() { ::unlink(file.c_str()); }
    } removeAtEnd { path };
    const int64_t size = (int64_t(4) << 30) + 20;
    int fd = ::open(path.c_str(), O_CREAT | O_TRUNC | O_RDWR, 0644);
    ASSERT_GE(fd, 0);
    bool ok = ::ftruncate(fd, size) == 0 && ::pwrite(fd, "XYZ", 3, size - 3) == 3
        && ::pwrite(fd, "P", 1, int64_t(65535) * 4096) == 1;
    ::close(fd);
    if (!ok)
        GTEST_SKIP() << "no room for a sparse file";
    TOvcCustomFileViewer viewer(RealFileSystem());
    viewer.SetFileName(path);
    viewer.SetIsOpen(true);
    EXPECT_EQ(viewer.LineCount(), (size - 1) / 16 + 1);
    EXPECT_EQ(viewer.OffsetDigits(), 9);
    EXPECT_EQ(viewer.GetLine(viewer.LineCount() - 1),
        "100000010  00 58 59 5A" + std::string(38, ' ') + ".XYZ");
    EXPECT_EQ(viewer.GetLine(viewer.LineCount() - 2).substr(0, 9), "100000000");
    EXPECT_EQ(viewer.GetLine(viewer.LineCount() - 2).size(), 76u);
    EXPECT_EQ(viewer.GetLine(int64_t(65535) * 256).substr(11, 2), "50");
    viewer.SelectAll();
    TClipboard clipboard;
    viewer.SetClipboard(&clipboard);
    try {
        viewer.CopyToClipboard();
        ADD_FAILURE();
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "Could not allocate memory for clipboard copy");
    }
    viewer.CheckInvariants();
    viewer.SetIsOpen(false);
}
#endif

// ---- caret, selection and commands ------------------------------------------

TEST_F(OvcCustomFileViewerOpened, ArrowsWrapAtRowEndsAndClampAtTheFileEnds)
{
    Open(Bytes(40)); // rows of 16, 16, 8
    viewer.ProcessCommand(ccLeft, 0);
    EXPECT_EQ(viewer.Caret(), (TViewerPos { 0, 0 }));
    viewer.ProcessCommand(ccEnd, 0);
    EXPECT_EQ(viewer.Caret(), (TViewerPos { 0, 75 }));
    viewer.ProcessCommand(ccRight, 0);
    EXPECT_EQ(viewer.Caret(), (TViewerPos { 1, 0 }));
    viewer.ProcessCommand(ccLeft, 0);
    EXPECT_EQ(viewer.Caret(), (TViewerPos { 0, 75 }));
    viewer.ProcessCommand(ccDown, 0);
    viewer.ProcessCommand(ccDown, 0);
    EXPECT_EQ(viewer.Caret(), (TViewerPos { 2, 67 })); // clamped to the short last row
    viewer.ProcessCommand(ccDown, 0);
    viewer.ProcessCommand(ccRight, 0);
    EXPECT_EQ(viewer.Caret(), (TViewerPos { 2, 67 }));
    viewer.ProcessCommand(ccFirstPage, 0);
    EXPECT_EQ(viewer.Caret(), (TViewerPos { 0, 0 }));
    viewer.ProcessCommand(ccLastPage, 0);
    EXPECT_EQ(viewer.Caret(), (TViewerPos { 2, 67 }));
    EXPECT_EQ(recorder.status.back(), (std::pair<int64_t, int32_t> { 2, 67 }));
    viewer.CheckInvariants();
}

TEST_F(OvcCustomFileViewerOpened, ExtendingMovesSelectAndPlainMovesCollapse)
{
    Open(Bytes(64));
    viewer.SetCaretPosition(1, 10);
    viewer.ProcessCommand(ccExtendRight, 0);
    viewer.ProcessCommand(ccExtendUp, 0);
    int64_t l1, l2;
    int32_t c1, c2;
    viewer.GetSelection(l1, c1, l2, c2);
    EXPECT_EQ((std::tuple { l1, c1, l2, c2 }), (std::tuple { int64_t(0), 11, int64_t(1), 10 }));
    int32_t from, to;
    ASSERT_TRUE(viewer.SelectedColumns(0, from, to));
    EXPECT_EQ((std::pair { from, to }), (std::pair { 11, 75 }));
    ASSERT_TRUE(viewer.SelectedColumns(1, from, to));
    EXPECT_EQ((std::pair { from, to }), (std::pair { 0, 10 }));
    EXPECT_FALSE(viewer.SelectedColumns(2, from, to));
    viewer.ProcessCommand(ccCopy, 0);
    EXPECT_EQ(clipboard.text, Line(0).substr(11) + "\r\n" + Line(1).substr(0, 10));
    viewer.ProcessCommand(ccDown, 0);
    EXPECT_FALSE(viewer.HasSelection());
    viewer.CheckInvariants();
}

TEST_F(OvcCustomFileViewerOpened, PageMovesKeepTheCaretRowAndTopOfPageStaysInTheWindow)
{
    Open(Bytes(16 * 100));
    viewer.SetCaretPosition(3, 5);
    viewer.ProcessCommand(ccNextPage, 0); // page = 9 rows
    EXPECT_EQ(viewer.Caret(), (TViewerPos { 12, 5 }));
    EXPECT_EQ(viewer.GetTopLine(), 9);
    viewer.ProcessCommand(ccBotOfPage, 0);
    EXPECT_EQ(viewer.Caret().line, 18);
    viewer.ProcessCommand(ccTopOfPage, 0);
    EXPECT_EQ(viewer.Caret().line, 9);
    viewer.ProcessCommand(ccExtendPgUp, 0);
    EXPECT_EQ(viewer.Caret().line, 0);
    EXPECT_TRUE(viewer.HasSelection());
    viewer.ProcessCommand(ccLastPage, 0);
    EXPECT_EQ(viewer.GetTopLine(), 90);
    viewer.ProcessCommand(ccScrollUp, 0);
    viewer.ProcessCommand(ccScrollUp, 0);
    EXPECT_EQ(viewer.GetTopLine(), 88);
    EXPECT_EQ(viewer.Caret().line, 99); // the caret stays
    viewer.ProcessCommand(ccTopOfPage, 0); // caret below the window: scroll instead
    EXPECT_EQ(viewer.GetTopLine(), 90);
    EXPECT_EQ(viewer.Caret().line, 99);
    viewer.CheckInvariants();
}

TEST_F(OvcCustomFileViewerOpened, WordMovesStepOverPairs)
{
    Open(Bytes(32));
    viewer.ProcessCommand(ccWordRight, 0);
    EXPECT_EQ(viewer.Caret().col, 10);
    viewer.ProcessCommand(ccWordRight, 0);
    EXPECT_EQ(viewer.Caret().col, 13);
    viewer.ProcessCommand(ccWordLeft, 0);
    EXPECT_EQ(viewer.Caret().col, 10);
    viewer.ProcessCommand(ccEnd, 0);
    viewer.ProcessCommand(ccWordRight, 0);
    EXPECT_EQ(viewer.Caret(), (TViewerPos { 1, 0 }));
    viewer.ProcessCommand(ccWordLeft, 0);
    EXPECT_EQ(viewer.Caret(), (TViewerPos { 0, 75 }));
}

TEST_F(OvcCustomFileViewerOpened, WithoutCaretTheMovementKeysScroll)
{
    Open(Bytes(16 * 50));
    viewer.SetShowCaret(false);
    viewer.SetVisibleColumns(40);
    viewer.ProcessCommand(ccDown, 0);
    viewer.ProcessCommand(ccNextPage, 0);
    EXPECT_EQ(viewer.GetTopLine(), 10);
    viewer.ProcessCommand(ccEnd, 0);
    EXPECT_EQ(viewer.LeftColumn(), 36);
    EXPECT_EQ(viewer.Caret(), (TViewerPos { 0, 0 }));
    int32_t row, col;
    EXPECT_FALSE(viewer.CaretCell(row, col));
}

TEST_F(OvcCustomFileViewerOpened, BookmarksComeFromTheCommandCodeAndUserCommandsGoOut)
{
    Open(Bytes(16 * 50));
    viewer.SetCaretPosition(30, 12);
    EXPECT_TRUE(viewer.ProcessCommand(ccSetMarker0 + 3, 0));
    viewer.ProcessCommand(ccFirstPage, 0);
    EXPECT_TRUE(viewer.ProcessCommand(ccGotoMarker0 + 3, 0));
    EXPECT_EQ(viewer.Caret(), (TViewerPos { 30, 12 }));
    EXPECT_EQ(viewer.BookmarkOnLine(30), 3);
    viewer.ProcessCommand(ccGotoMarker0 + 4, 0); // unset: nothing
    EXPECT_EQ(viewer.Caret(), (TViewerPos { 30, 12 }));
    int32_t row = -1, col = -1;
    ASSERT_TRUE(viewer.CaretCell(row, col));
    EXPECT_EQ(row, 30 - viewer.GetTopLine());
    EXPECT_TRUE(viewer.ProcessCommand(ccUserFirst + 1, 0));
    EXPECT_EQ(recorder.commands, std::vector<TCommandCode> { ccUserFirst + 1 });
    EXPECT_FALSE(viewer.ProcessCommand(ccTypedChar, 'a'));
    EXPECT_FALSE(viewer.ProcessCommand(ccDel, 0));
}

// ---- search --------------------------------------------------------------------

TEST_F(OvcCustomFileViewerOpened, SearchFindsAdjacentBytesWithinARowButNotAcrossRows)
{
    std::vector<uint8_t> data(32, 0x20);
    data[15] = 0x41; // end of row 0
    data[16] = 0x42; // start of row 1
    data[20] = 0x41;
    data[21] = 0x42;
    Open(data);
    ASSERT_TRUE(viewer.Search("41 42", {}));
    int64_t l1, l2;
    int32_t c1, c2;
    viewer.GetSelection(l1, c1, l2, c2);
    EXPECT_EQ((std::tuple { l1, c1, l2, c2 }), (std::tuple { int64_t(1), 22, int64_t(1), 27 }));
    EXPECT_EQ(viewer.Caret(), (TViewerPos { 1, 27 }));
    EXPECT_FALSE(viewer.Search("41 42", {}));
    EXPECT_EQ(viewer.Caret(), (TViewerPos { 1, 27 }));
}

TEST_F(OvcCustomFileViewerOpened, SearchCaseDirectionAndGlobalScope)
{
    std::vector<uint8_t> data(48, '.');
    std::memcpy(data.data() + 2, "abc", 3);
    std::memcpy(data.data() + 8, "ABC", 3);
    std::memcpy(data.data() + 40, "aBc", 3);
    Open(data);
    viewer.SetCaretPosition(1, 0);
    EXPECT_TRUE(viewer.Search("abc", {}));
    EXPECT_EQ(viewer.Caret(), (TViewerPos { 2, 59 + 8 + 3 }));
    EXPECT_FALSE(viewer.Search("abc", soMatchCase));
    EXPECT_TRUE(viewer.Search("abc", soGlobal | soMatchCase));
    EXPECT_EQ(viewer.Caret(), (TViewerPos { 0, 59 + 2 + 3 }));
    // Backwards takes the last match before the caret and puts the caret before it.
    EXPECT_TRUE(viewer.Search("ABC", soBackward | soGlobal));
    EXPECT_EQ(viewer.Caret(), (TViewerPos { 2, 59 + 8 }));
    EXPECT_TRUE(viewer.Search("abc", soBackward));
    EXPECT_EQ(viewer.Caret(), (TViewerPos { 0, 59 + 8 }));
    EXPECT_TRUE(viewer.Search("abc", soBackward));
    EXPECT_EQ(viewer.Caret(), (TViewerPos { 0, 59 + 2 }));
    EXPECT_FALSE(viewer.Search("abc", soBackward));
    EXPECT_FALSE(viewer.Search("", soGlobal));
    // Offsets and hex digits are searchable too.
    EXPECT_TRUE(viewer.Search("00000020", soGlobal));
    EXPECT_EQ(viewer.Caret(), (TViewerPos { 2, 8 }));
}

TEST_F(OvcCustomFileViewerOpened, SearchFoldsCaseThroughTheCodePage)
{
    std::vector<uint8_t> data(16, ' ');
    data[3] = 0xE9; // e acute
    Open(data);
    EXPECT_FALSE(viewer.Search("\xC9", soGlobal)); // filtered: shown as a full stop
    viewer.SetFilterChars(false);
    EXPECT_TRUE(viewer.Search("\xC9", soGlobal));
    EXPECT_EQ(viewer.Caret(), (TViewerPos { 0, 63 }));
}

TEST_F(OvcCustomFileViewerOpened, EmptyFileHasOneRowShowingOnlyItsOffset)
{
    Open({});
    EXPECT_EQ(viewer.LineCount(), 1);
    EXPECT_EQ(Line(0), "00000000");
    viewer.ProcessCommand(ccEnd, 0);
    EXPECT_EQ(viewer.Caret(), (TViewerPos { 0, 8 }));
    EXPECT_FALSE(viewer.Search("41", soGlobal));
    viewer.CheckInvariants();
}

} // namespace wexly::test
