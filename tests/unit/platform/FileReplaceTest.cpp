// The one way files are rewritten, on the scriptable fake file system: what a replacing save
// keeps of the old file, what it refuses, and the temporary files it leaves (none of its own,
// and fewer of others'). A failing replace with a backup is tested in TextFileTest.
#include "platform/FileReplace.h"

#include "support/FakeFileSystem.h"

#include <gtest/gtest.h>

#include <new>

namespace wexly::test {
namespace {

// A path with the build's separator.
std::string P(std::string path)
{
    for (char& c : path)
        if (c == '/')
            c = PathSeparator();
    return path;
}

const std::string kDir = P("/docs");
const std::string kFile = P("/docs/a.txt");
const std::string kFirstTemp = P("/docs/tmp1.tmp"); // what the fake draws first
const TFileTime kHour = 60ull * 60 * 10'000'000;

uint32_t AttributesOf(TFakeFileSystem& fs, const std::string& path)
{
    uint32_t attributes = 0;
    EXPECT_TRUE(fs.GetAttributes(path, &attributes));
    return attributes;
}

size_t FilesIn(TFakeFileSystem& fs)
{
    return fs.List(kDir, "*").size();
}

// A producer in pieces that counts how many it handed over.
TContentsProducer Pieces(int count, int* handed)
{
    return [count, handed](const TContentsSink& sink) {
        for (int i = 0; i < count; ++i) {
            sink("0123456789", 10);
            ++*handed;
        }
    };
}

} // namespace

TEST(FileReplace, TheReplacedFilesHiddenAndSystemAttributesCarryOver)
{
    TFakeFileSystem fs;
    fs.SetFile(kFile, "old");
    ASSERT_TRUE(fs.SetAttributes(kFile, FileAttribute::Hidden | FileAttribute::System));
    TFileError error;
    ASSERT_TRUE(ReplaceFileContents(fs, kFile, "new", &error));
    EXPECT_EQ(fs.Contents(kFile), "new");
    // Archive is set again: the contents are new since any backup.
    EXPECT_EQ(AttributesOf(fs, kFile),
        FileAttribute::Hidden | FileAttribute::System | FileAttribute::Archive);
    EXPECT_EQ(FilesIn(fs), 1u);

    // A plain file stays plain, and a new file gets what the system gives.
    fs.SetFile(P("/docs/b.txt"), "old");
    ASSERT_TRUE(fs.SetAttributes(P("/docs/b.txt"), 0));
    ASSERT_TRUE(ReplaceFileContents(fs, P("/docs/b.txt"), "new", &error));
    EXPECT_EQ(AttributesOf(fs, P("/docs/b.txt")), FileAttribute::Archive);
    ASSERT_TRUE(ReplaceFileContents(fs, P("/docs/c.txt"), "new", &error));
    EXPECT_EQ(AttributesOf(fs, P("/docs/c.txt")), FileAttribute::Archive);

    // Where attributes cannot be set the text is saved all the same.
    fs.RefuseAttributes(true);
    ASSERT_TRUE(ReplaceFileContents(fs, kFile, "newer", &error));
    EXPECT_EQ(fs.Contents(kFile), "newer");
}

TEST(FileReplace, AReadOnlyFileIsRefusedBeforeAnythingIsWritten)
{
    TFakeFileSystem fs;
    fs.SetFile(kFile, "old");
    ASSERT_TRUE(fs.SetReadOnly(kFile, true));
    int handed = 0;
    TFileError error;
    EXPECT_FALSE(ReplaceFileContents(fs, kFile, Pieces(3, &handed), {}, &error));
    EXPECT_EQ(error.code, FileErrorCode::AccessDenied);
    EXPECT_EQ(error.path, kFile);
    EXPECT_EQ(handed, 0);
    EXPECT_EQ(fs.Contents(kFile), "old");
    EXPECT_TRUE(fs.IsReadOnly(kFile));
    EXPECT_EQ(FilesIn(fs), 1u);
}

TEST(FileReplace, AFullDiskStopsTheProducerAndKeepsTheOldFile)
{
    TFakeFileSystem fs;
    fs.SetFile(kFile, "old");
    fs.FailWritesAfter(kFirstTemp, 25, FileErrorCode::DiskFull);
    int handed = 0;
    TFileError error;
    EXPECT_FALSE(ReplaceFileContents(fs, kFile, Pieces(1000, &handed), {}, &error));
    EXPECT_EQ(error.code, FileErrorCode::DiskFull);
    EXPECT_EQ(error.path, kFile);
    EXPECT_LT(handed, 5); // not a thousand pieces into a full disk
    EXPECT_EQ(fs.Contents(kFile), "old");
    EXPECT_EQ(FilesIn(fs), 1u);
}

// The codes the writers report have texts a message box can show, not "Error code N."
TEST(FileReplace, ReportedCodesHaveTheirOwnTexts)
{
    for (uint32_t code :
        { FileErrorCode::FileNotFound, FileErrorCode::PathNotFound, FileErrorCode::AccessDenied,
            FileErrorCode::NotEnoughMemory, FileErrorCode::WriteProtect, FileErrorCode::WriteFault,
            FileErrorCode::ReadFault, FileErrorCode::SharingViolation,
            FileErrorCode::HandleDiskFull, FileErrorCode::DiskFull })
        EXPECT_EQ(FileErrorText(code).find("Error code"), std::string::npos) << code;
    EXPECT_EQ(FileErrorText(1234), "Error code 1234.");
}

TEST(FileReplace, AProducerThatThrowsLeavesTheOldFileAndNoTemporary)
{
    TFakeFileSystem fs;
    fs.SetFile(kFile, "old");
    auto failing = [](const TContentsSink& sink) {
        sink("half", 4);
        throw std::bad_alloc();
    };
    EXPECT_THROW(ReplaceFileContents(fs, kFile, failing, {}, nullptr), std::bad_alloc);
    EXPECT_EQ(fs.Contents(kFile), "old");
    EXPECT_EQ(FilesIn(fs), 1u);
}

TEST(FileReplace, AFileHeldByAnotherProgramIsLeftAsItWas)
{
    TFakeFileSystem fs;
    fs.SetFile(kFile, "old");
    auto holder
        = fs.Open(kFile, TFileAccess::Read, TFileShare::Exclusive, TFileCreate::OpenExisting);
    ASSERT_TRUE(holder);
    TFileError error;
    EXPECT_FALSE(ReplaceFileContents(fs, kFile, "new", &error));
    EXPECT_EQ(error.code, FileErrorCode::SharingViolation);
    holder.reset();
    EXPECT_EQ(fs.Contents(kFile), "old");
    EXPECT_EQ(FilesIn(fs), 1u);
    EXPECT_TRUE(ReplaceFileContents(fs, kFile, "new", &error));
    EXPECT_EQ(fs.Contents(kFile), "new");
}

TEST(FileReplace, TheBackupKeepsTheOldFileAndTheNewOneItsAttributes)
{
    TFakeFileSystem fs;
    fs.SetFile(kFile, "one");
    ASSERT_TRUE(fs.SetAttributes(kFile, FileAttribute::Hidden));
    TReplaceOptions options;
    options.backup = P("/docs/a.~txt");
    auto text = [](std::string t) {
        return [t](const TContentsSink& sink) { sink(t.data(), t.size()); };
    };
    TFileError error;
    ASSERT_TRUE(ReplaceFileContents(fs, kFile, text("two"), options, &error));
    ASSERT_TRUE(ReplaceFileContents(fs, kFile, text("three"), options, &error));
    EXPECT_EQ(fs.Contents(kFile), "three");
    EXPECT_EQ(fs.Contents(options.backup), "two");
    EXPECT_TRUE(AttributesOf(fs, kFile) & FileAttribute::Hidden);
    EXPECT_EQ(FilesIn(fs), 2u);

    // Without second names for a file it is moved aside instead.
    fs.RefuseHardLinks(true);
    ASSERT_TRUE(ReplaceFileContents(fs, kFile, text("four"), options, &error));
    EXPECT_EQ(fs.Contents(kFile), "four");
    EXPECT_EQ(fs.Contents(options.backup), "three");
    EXPECT_TRUE(AttributesOf(fs, kFile) & FileAttribute::Hidden);
    EXPECT_EQ(FilesIn(fs), 2u);
}

TEST(FileReplace, StaleTemporariesOfSavesCutShortAreRemovedAndOnlyThose)
{
    TFakeFileSystem fs;
    fs.SetFile(kFile, "old");
    const std::string stale = P("/docs/~wx0123abcd.tmp"), fresh = P("/docs/~wx89abcdef.tmp"),
                      held = P("/docs/~wx00000001.tmp"), foreign = P("/docs/~wxnothex0.tmp"),
                      upper = P("/docs/~wx0123ABCD.tmp"), mine = P("/docs/notes.tmp");
    for (const std::string& path : { stale, fresh, held, foreign, upper, mine })
        fs.SetFile(path, "partial");
    fs.AdvanceClock(2 * kHour);
    fs.SetFile(fresh, "partial"); // written a moment ago
    auto holder = fs.Open(held, TFileAccess::Read, TFileShare::DenyNone, TFileCreate::OpenExisting);
    ASSERT_TRUE(holder);

    TFileError error;
    ASSERT_TRUE(ReplaceFileContents(fs, kFile, "new", &error));
    EXPECT_FALSE(fs.Exists(stale));
    for (const std::string& path : { fresh, held, foreign, upper, mine })
        EXPECT_TRUE(fs.Exists(path)) << path;
    EXPECT_EQ(fs.Contents(kFile), "new");

    // A writer of its own temporary file (recovery records) does not clean up others'.
    holder.reset();
    fs.AdvanceClock(2 * kHour);
    ASSERT_TRUE(ReplaceFileContents(fs, kFile, { "newer" }, P("/docs/record.tmp"), &error));
    EXPECT_TRUE(fs.Exists(held));
    TFileTime saved = 0;
    ASSERT_TRUE(fs.GetWriteTime(kFile, &saved));
    EXPECT_EQ(RemoveStaleTemps(fs, kDir, saved, kHour), 2);
    EXPECT_FALSE(fs.Exists(held));
    EXPECT_FALSE(fs.Exists(fresh));
}

TEST(FileReplace, DrawnTemporaryNamesAreRecognisedExactly)
{
    EXPECT_TRUE(IsDrawnTempName("~wx0123abcd.tmp"));
    EXPECT_TRUE(IsDrawnTempName("~wxffffffff.tmp"));
    EXPECT_FALSE(IsDrawnTempName("~wx0123abc.tmp"));
    EXPECT_FALSE(IsDrawnTempName("~wx0123abcde.tmp"));
    EXPECT_FALSE(IsDrawnTempName("~wx0123abcg.tmp"));
    EXPECT_FALSE(IsDrawnTempName("~wx0123abcd.txt"));
    EXPECT_FALSE(IsDrawnTempName("xwx0123abcd.tmp"));
}

} // namespace wexly::test
