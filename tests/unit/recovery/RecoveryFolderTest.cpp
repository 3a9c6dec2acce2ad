#include "recovery/RecoveryFolder.h"

#include "recovery/JournalWriter.h"
#include "support/FakeFileSystem.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

namespace wexly::test {
namespace {

const std::string kRoot = "/rec";

TRecordInfo Info(const std::string& name)
{
    TRecordInfo info;
    info.name = name;
    return info;
}

std::string InFolder(const TRecoveryFolder& folder, const std::string& name)
{
    return JoinRecoveryPath(folder.Path(), name);
}

} // namespace

TEST(RecoveryFolder, TheRootGoesBesideTheSettingsFile)
{
    EXPECT_EQ(RecoveryRootBeside("C:\\prog\\wexly.ini"), "C:\\prog\\wexly.recovery");
    EXPECT_EQ(RecoveryRootBeside("C:\\my.prog\\wexly"), "C:\\my.prog\\wexly.recovery");
}

TEST(RecoveryFolder, TwoRunningInstancesKeepApartAndNeitherClaimsTheOther)
{
    TFakeFileSystem fs;
    TRecoveryFolder a(fs, kRoot, "100-1"), b(fs, kRoot, "200-2");
    ASSERT_TRUE(a.Open());
    ASSERT_TRUE(b.Open());
    EXPECT_NE(a.Path(), b.Path());
    ASSERT_TRUE(a.WriteRecord(1, Info("a.txt"), "from a"));
    ASSERT_TRUE(b.WriteRecord(1, Info("b.txt"), "from b"));
    EXPECT_TRUE(ClaimOrphanFolders(fs, kRoot, a.Name()).empty());
    EXPECT_TRUE(ClaimOrphanFolders(fs, kRoot, b.Name()).empty());
    // An orderly end of one leaves the other's records alone.
    const std::string aPath = a.Path();
    a.RemoveAll();
    EXPECT_FALSE(fs.IsDirectory(aPath));
    EXPECT_TRUE(fs.Exists(b.RecordPath(1)));
    EXPECT_TRUE(fs.IsDirectory(kRoot)); // still b's
    b.RemoveAll();
    EXPECT_FALSE(fs.IsDirectory(kRoot));
}

TEST(RecoveryFolder, AFolderNameInUseMakesTheInstanceTakeAnother)
{
    TFakeFileSystem fs;
    TRecoveryFolder a(fs, kRoot, "100-1"), again(fs, kRoot, "100-1");
    ASSERT_TRUE(a.Open());
    ASSERT_TRUE(again.Open());
    EXPECT_EQ(again.Name(), "100-1-2");
}

TEST(RecoveryFolder, AnEndedInstancesFolderIsClaimedWithItsRecordsInOrder)
{
    TFakeFileSystem fs;
    std::string endedName;
    {
        TRecoveryFolder ended(fs, kRoot, "100-1");
        ASSERT_TRUE(ended.Open());
        endedName = ended.Name();
        for (uint32_t id : { 10u, 2u, 1u })
            ASSERT_TRUE(ended.WriteRecord(id, Info("doc" + std::to_string(id)), "text"));
    } // killed: the lock is released, the records stay
    TRecoveryFolder own(fs, kRoot, "300-3");
    ASSERT_TRUE(own.Open());
    auto claimed = ClaimOrphanFolders(fs, kRoot, own.Name());
    ASSERT_EQ(claimed.size(), 1u);
    const auto files = claimed[0].RecordFiles();
    ASSERT_EQ(files.size(), 3u);
    EXPECT_EQ(claimed[0].Read(files[0]).record.info.name, "doc1");
    EXPECT_EQ(claimed[0].Read(files[2]).record.info.name, "doc10");
    // Held while this instance decides: a third instance does not get it too.
    EXPECT_TRUE(ClaimOrphanFolders(fs, kRoot, "400-4").empty());
    claimed[0].Finish(); // records left: kept for a later start, the claim given up
    EXPECT_EQ(ClaimOrphanFolders(fs, kRoot, "400-4").size(), 1u);
}

TEST(RecoveryFolder, ALockLessFolderIsClaimedAndAnEmptyOneGoesWhenFinished)
{
    TFakeFileSystem fs;
    ASSERT_TRUE(fs.MakeDirectory(kRoot));
    const std::string half = JoinRecoveryPath(kRoot, "500-5"); // an end before the lock was made
    ASSERT_TRUE(fs.MakeDirectory(half));
    fs.SetFile(JoinRecoveryPath(half, "doc-1.tmp"), "partial");
    auto claimed = ClaimOrphanFolders(fs, kRoot, "own");
    ASSERT_EQ(claimed.size(), 1u);
    EXPECT_TRUE(claimed[0].RecordFiles().empty());
    claimed[0].Finish();
    EXPECT_FALSE(fs.IsDirectory(half));
    EXPECT_FALSE(fs.Exists(JoinRecoveryPath(half, "doc-1.tmp")));
}

TEST(RecoveryFolder, AFailedWriteKeepsTheOldRecordWholeAndLeavesNoTemporaryFile)
{
    TFakeFileSystem fs;
    TRecoveryFolder folder(fs, kRoot, "100-1");
    ASSERT_TRUE(folder.Open());
    ASSERT_TRUE(folder.WriteRecord(1, Info("a.txt"), "old text"));
    const std::string before = fs.Contents(folder.RecordPath(1));
    const std::string temp = InFolder(folder, "doc-1.tmp");
    fs.FailWritesAfter(temp, 20, FileErrorCode::DiskFull);
    TFileError error;
    EXPECT_FALSE(folder.WriteRecord(1, Info("a.txt"), std::string(1000, 'n'), &error));
    EXPECT_EQ(error.code, FileErrorCode::DiskFull);
    EXPECT_EQ(fs.Contents(folder.RecordPath(1)), before);
    EXPECT_FALSE(fs.Exists(temp));
    fs.ClearFailures();
    fs.FailOpens(temp, FileErrorCode::AccessDenied, 1);
    EXPECT_FALSE(folder.WriteRecord(1, Info("a.txt"), "new", &error));
    EXPECT_EQ(error.code, FileErrorCode::AccessDenied);
    EXPECT_EQ(fs.Contents(folder.RecordPath(1)), before);
}

TEST(RecoveryFolder, ARootThatCannotBeMadeIsReported)
{
    TFakeFileSystem fs;
    fs.FailOpens(kRoot, FileErrorCode::AccessDenied);
    TRecoveryFolder folder(fs, kRoot, "100-1");
    TFileError error;
    EXPECT_FALSE(folder.Open(&error));
    EXPECT_EQ(error.code, FileErrorCode::AccessDenied);
    EXPECT_FALSE(folder.IsOpen());
    EXPECT_FALSE(folder.WriteRecord(1, Info("a"), "x"));
}

// The block a snapshot copies into is handed round so that its pages are faulted in once;
// a block given away must leave nothing that looks like one behind.
TEST(JournalWriter, TheSpareBlockGoesRoundAndIsGivenAwayWhole)
{
    TFakeFileSystem fs;
    TRecoveryFolder folder(fs, kRoot, "1-1");
    ASSERT_TRUE(folder.Open());
    TJournalWriter writer(folder, false);
    writer.Reserve(1000);
    TJournalText spare = writer.TakeSpare();
    ASSERT_NE(spare.data, nullptr);
    EXPECT_GE(spare.capacity, 1000u);
    const char* block = spare.data.get();
    EXPECT_EQ(writer.TakeSpare().capacity, 0u);

    TOvcParaList list;
    list.InsertTextPrim(1, 1, "abc", 3);
    TJournalJob job;
    job.id = 1;
    job.text = SnapshotText(list, std::move(spare));
    EXPECT_EQ(job.text.data.get(), block); // large enough: no new block
    EXPECT_EQ(job.text.View(), "abc");
    EXPECT_EQ(spare.capacity, 0u);
    writer.Submit(std::move(job));
    TJournalText back = writer.TakeSpare();
    EXPECT_EQ(back.data.get(), block);
    writer.Reserve(10); // smaller than what is there: nothing changes
    writer.DropSpare();
    EXPECT_EQ(writer.TakeSpare().data, nullptr);
    list.InsertTextPrim(1, 1, std::string(2000, 'x').c_str(), 2000);
    EXPECT_EQ(SnapshotText(list, std::move(back)).View().size(), 2003u);
}

// The real thing: a thread of its own, on the disk, in the order given.
TEST(JournalWriter, WritesAndRemovesOnItsThreadInOrder)
{
    namespace stdfs = std::filesystem;
    const stdfs::path dir
        = stdfs::path(::testing::TempDir()) / ("wexly_journal_" + std::to_string(::getpid()));
    stdfs::remove_all(dir);
    {
        TRecoveryFolder folder(RealFileSystem(), dir.string(), "1-1");
        ASSERT_TRUE(folder.Open());
        TJournalWriter writer(folder, true);
        ASSERT_TRUE(writer.Threaded());
        for (uint64_t i = 1; i <= 20; ++i) {
            TJournalJob job;
            job.id = static_cast<uint32_t>(i % 3);
            job.ticket = i;
            job.info = Info("doc" + std::to_string(i));
            TOvcParaList list;
            list.InsertTextPrim(1, 1, "text", 4);
            job.text = SnapshotText(list);
            writer.Submit(std::move(job));
        }
        TJournalJob remove;
        remove.kind = TJournalActionKind::Remove;
        remove.id = 0;
        writer.Submit(std::move(remove));
        writer.WaitIdle();
        const auto results = writer.TakeResults();
        ASSERT_EQ(results.size(), 21u);
        for (size_t i = 0; i < 20; ++i) {
            EXPECT_TRUE(results[i].ok);
            EXPECT_EQ(results[i].ticket, i + 1);
        }
        EXPECT_FALSE(stdfs::exists(folder.RecordPath(0)));
        TOrphanFolder reader(RealFileSystem(), folder.Path(), nullptr);
        EXPECT_EQ(reader.Read(folder.RecordPath(2)).record.info.name, "doc20");
        EXPECT_EQ(reader.Read(folder.RecordPath(1)).record.text, "text");
        folder.RemoveAll();
    }
    EXPECT_FALSE(stdfs::exists(dir));
}

} // namespace wexly::test
