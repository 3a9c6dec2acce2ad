#include "recovery/RecoveryJournal.h"

#include "recovery/RecoveryStart.h"
#include "support/DocFakes.h"
#include "support/FakeFileSystem.h"

#include <gtest/gtest.h>

#include <map>

namespace wexly::test {
namespace {

const std::string kRoot = "/rec";

void Type(TEditFile& doc, const std::string& text)
{
    for (char c : text)
        doc.TextEditor()->ProcessCommand(ccTypedChar, c);
}

// One running instance: its documents, its folder and journal (records on a file system of
// their own).
struct TInstance
{
    TDocEnv& env;
    TFakeFileSystem& records;
    TRecoveryFolder folder;
    TJournalWriter writer { folder, false };
    TRecoveryJournal journal { folder, writer };

    TInstance(TDocEnv& e, TFakeFileSystem& r, const std::string& name)
        : env(e)
        , records(r)
        , folder(r, kRoot, name)
    {
        EXPECT_TRUE(folder.Open());
    }
    void Tick(uint64_t now) { journal.Tick(*env.set, now); }
    // The records in the folder by document name.
    std::map<std::string, TRecoveryRecord> Records()
    {
        std::map<std::string, TRecoveryRecord> found;
        TOrphanFolder reader(records, folder.Path(), nullptr);
        for (const std::string& file : reader.RecordFiles()) {
            TRecordParse parse = reader.Read(file);
            EXPECT_TRUE(parse.ok) << parse.problem;
            found[parse.record.info.name] = parse.record;
        }
        return found;
    }
};

} // namespace

TEST(RecoveryJournal, KeepsModifiedTextDocumentsAndDropsThemOnSaveAndClose)
{
    TDocEnv env;
    TFakeFileSystem records;
    TInstance run(env, records, "1-1");
    env.fs.SetFile("C:\\w\\a.txt", "one\r\n");
    TEditFile& a = env.Open("C:\\w\\a.txt");
    env.fs.SetFile("C:\\w\\b.bin", std::string("\0\1\2", 3));
    env.Open("C:\\w\\b.bin", true);
    TEditFile& u = *env.commands->New();
    Type(a, "xy");
    Type(u, "new");
    run.Tick(0);
    run.Tick(2500);
    EXPECT_TRUE(run.Records().empty()); // typing has not paused long enough
    run.Tick(3000);
    auto kept = run.Records();
    ASSERT_EQ(kept.size(), 2u); // the binary document needs none
    const TRecoveryRecord& ra = kept["C:\\w\\a.txt"];
    EXPECT_EQ(ra.text, "xyone\r\n");
    EXPECT_TRUE(ra.info.named);
    EXPECT_EQ(ra.info.caretPara, 1);
    EXPECT_EQ(ra.info.caretPos, 3);
    EXPECT_TRUE(ra.info.loaded.known);
    EXPECT_EQ(ra.info.loaded.size, 5);
    EXPECT_EQ(ra.info.loaded.time, a.FileTime());
    const TRecoveryRecord& ru = kept["untitled1.txt"];
    EXPECT_FALSE(ru.info.named);
    EXPECT_FALSE(ru.info.loaded.known);
    EXPECT_EQ(ru.text, "new");

    env.commands->SaveDocument(a);
    run.Tick(4000);
    EXPECT_EQ(run.Records().count("C:\\w\\a.txt"), 0u);
    env.asker.answers = { TMsgResult::No }; // close without saving
    env.commands->CloseDocument(u);
    run.Tick(4500);
    EXPECT_TRUE(run.Records().empty());

    Type(a, "z");
    run.Tick(5000);
    run.Tick(8000);
    EXPECT_EQ(run.Records().size(), 1u);
    const std::string path = run.folder.Path();
    run.journal.EndOrderly();
    EXPECT_FALSE(records.IsDirectory(path));
    EXPECT_FALSE(records.IsDirectory(kRoot));
}

TEST(RecoveryJournal, ACaretMoveOrAnEncodingChangeIsANewRecord)
{
    TDocEnv env;
    TFakeFileSystem records;
    TInstance run(env, records, "1-1");
    env.fs.SetFile("C:\\w\\a.txt", "one\r\ntwo\r\n");
    TEditFile& a = env.Open("C:\\w\\a.txt");
    Type(a, "x");
    run.Tick(0);
    run.Tick(3000);
    a.SetCaret(2, 3);
    a.SetEncoding(TTextEncoding::Utf16Le);
    run.Tick(3500);
    run.Tick(6500);
    const TRecoveryRecord r = run.Records()["C:\\w\\a.txt"];
    EXPECT_EQ(r.info.caretPara, 2);
    EXPECT_EQ(r.info.caretPos, 3);
    EXPECT_EQ(r.info.encoding, TTextEncoding::Utf16Le);
}

// The whole cycle: one instance types into two documents and is killed; the next start is
// asked once and gets both back as they were, the files on disk untouched.
TEST(RecoveryStart, YesReopensEveryDocumentAsItWasAndLeavesTheFilesAlone)
{
    TFakeFileSystem records;
    TDocEnv first;
    first.fs.SetFile("C:\\w\\a.txt", "line 1\r\nline 2\r\n");
    {
        TInstance run(first, records, "100-1");
        TEditFile& a = first.Open("C:\\w\\a.txt");
        a.SetCaret(2, 5);
        Type(a, "++");
        Type(*first.commands->New(), "draft");
        first.commands->New();
        Type(*first.commands->New(), "third"); // untitled3
        run.Tick(0);
        run.Tick(3000);
    } // killed: no orderly end

    TDocEnv next;
    next.fs.SetFile("C:\\w\\a.txt", "line 1\r\nline 2\r\n");
    const std::string onDisk = next.fs.Contents("C:\\w\\a.txt");
    TInstance run(next, records, "200-2");
    next.asker.answers = { TMsgResult::Yes };
    TRecoveryStart start(records, next.fs, next.asker);
    const TRecoveryReport report
        = start.Run({ kRoot }, run.folder.Name(), *next.commands, &run.journal, 0);
    EXPECT_EQ(report.choice, TRecoveryChoice::Recovered);
    EXPECT_EQ(report.recovered, 3);
    ASSERT_EQ(next.asker.asked.size(), 1u); // nothing else to say
    const TMessage& question = next.asker.asked[0];
    EXPECT_EQ(question.caption, kRecoveryCaption);
    EXPECT_EQ(question.buttons, TMsgButtons::YesNoCancel);
    EXPECT_NE(question.text.find("C:\\w\\a.txt\r"), std::string::npos);
    EXPECT_NE(question.text.find("untitled1.txt\r"), std::string::npos);

    ASSERT_EQ(next.set->Count(), 3);
    TEditFile* a = next.set->FindByPath("C:\\w\\a.txt");
    ASSERT_NE(a, nullptr);
    EXPECT_TRUE(a->IsModified());
    EXPECT_TRUE(a->Named());
    EXPECT_EQ(a->TextEditor()->GetPara(2), "line++ 2");
    EXPECT_EQ(a->CaretLine(), 2);
    EXPECT_EQ(a->CaretColumn(), 7);
    EXPECT_FALSE(a->CheckDiskChange()); // no reload question over the recovered text
    EXPECT_EQ(next.fs.Contents("C:\\w\\a.txt"), onDisk);
    TEditFile* u = next.set->FindByPath("untitled1.txt");
    ASSERT_NE(u, nullptr);
    EXPECT_FALSE(u->Named());
    EXPECT_TRUE(u->IsModified());
    EXPECT_EQ(u->TextEditor()->GetPara(1), "draft");
    EXPECT_EQ(next.commands->New()->FileName(), "untitled4.txt");

    // The records moved into this instance's folder; the ended one is gone.
    EXPECT_EQ(run.Records().size(), 3u);
    EXPECT_TRUE(ClaimOrphanFolders(records, kRoot, run.folder.Name()).empty());
    run.Tick(100);
    run.Tick(60000);
    EXPECT_EQ(run.Records().size(), 3u);
    run.journal.EndOrderly();
    TDocEnv third;
    TRecoveryStart again(records, third.fs, third.asker);
    EXPECT_EQ(again.Run({ kRoot }, "300-3", *third.commands, nullptr, 0).choice,
        TRecoveryChoice::NothingFound);
    EXPECT_TRUE(third.asker.asked.empty());
}

TEST(RecoveryStart, NoDiscardsOnlyAfterTheConfirmationAndCancelKeepsEverything)
{
    TFakeFileSystem records;
    {
        TRecoveryFolder ended(records, kRoot, "100-1");
        ASSERT_TRUE(ended.Open());
        TRecordInfo info;
        info.name = "untitled1.txt";
        ASSERT_TRUE(ended.WriteRecord(1, info, "keep me"));
    }
    TDocEnv env;
    TRecoveryStart start(records, env.fs, env.asker);
    // No, then "not really", then Cancel: kept for the next start.
    env.asker.answers = { TMsgResult::No, TMsgResult::No, TMsgResult::Cancel };
    EXPECT_EQ(
        start.Run({ kRoot }, "200-2", *env.commands, nullptr, 0).choice, TRecoveryChoice::Kept);
    ASSERT_EQ(env.asker.asked.size(), 3u);
    EXPECT_EQ(env.asker.asked[1].buttons, TMsgButtons::YesNo);
    EXPECT_EQ(env.asker.asked[1].defaultButton, 2);
    EXPECT_TRUE(env.set->Empty());

    env.asker.asked.clear();
    env.asker.answers = { TMsgResult::No, TMsgResult::Yes };
    EXPECT_EQ(start.Run({ kRoot }, "200-2", *env.commands, nullptr, 0).choice,
        TRecoveryChoice::Discarded);
    EXPECT_TRUE(env.set->Empty());
    EXPECT_TRUE(records.List(kRoot, "*").empty());
}

TEST(RecoveryStart, DamagedRecordsAreNamedAndChangedFilesAreReported)
{
    TFakeFileSystem records;
    std::string cutFile;
    {
        TRecoveryFolder ended(records, kRoot, "100-1");
        ASSERT_TRUE(ended.Open());
        TRecordInfo info;
        info.name = "C:\\w\\a.txt";
        info.named = true;
        info.loaded = { true, 7, 3 };
        ASSERT_TRUE(ended.WriteRecord(1, info, "recovered a"));
        info.name = "C:\\w\\gone.txt";
        ASSERT_TRUE(ended.WriteRecord(2, info, "recovered gone"));
        info.name = "C:\\w\\cut.txt";
        ASSERT_TRUE(ended.WriteRecord(3, info, "this one is cut"));
        cutFile = ended.RecordPath(3);
        const std::string bytes = records.Contents(cutFile);
        records.SetFile(cutFile, bytes.substr(0, bytes.size() - 4));
    }
    TDocEnv env;
    env.fs.SetFile("C:\\w\\a.txt", "changed by someone else\r\n");
    env.asker.answers = { TMsgResult::Yes, TMsgResult::Ok };
    TRecoveryStart start(records, env.fs, env.asker);
    const TRecoveryReport report = start.Run({ kRoot }, "200-2", *env.commands, nullptr, 0);
    EXPECT_EQ(report.recovered, 2);
    EXPECT_EQ(report.damaged, 1);
    EXPECT_EQ(report.changedOnDisk, 2);
    ASSERT_EQ(env.asker.asked.size(), 2u);
    const std::string damaged = "The recovery data of C:\\w\\cut.txt is damaged and cannot be "
                                "recovered: it is cut short.";
    EXPECT_NE(env.asker.asked[0].text.find(damaged), std::string::npos);
    const std::string& summary = env.asker.asked[1].text;
    EXPECT_NE(summary.find("2 documents recovered."), std::string::npos);
    EXPECT_NE(summary.find("C:\\w\\a.txt has changed on the disk since it was loaded"),
        std::string::npos);
    EXPECT_NE(summary.find("C:\\w\\gone.txt is no longer on the disk"), std::string::npos);
    EXPECT_NE(summary.find(damaged), std::string::npos);
    EXPECT_EQ(env.fs.Contents("C:\\w\\a.txt"), "changed by someone else\r\n");
    EXPECT_EQ(env.set->FindByPath("C:\\w\\a.txt")->TextEditor()->GetPara(1), "recovered a");
    // Without a journal to take them over, the good records stay; the damaged one is gone.
    EXPECT_FALSE(records.Exists(cutFile));
    auto left = ClaimOrphanFolders(records, kRoot, "200-2");
    ASSERT_EQ(left.size(), 1u);
    EXPECT_EQ(left[0].RecordFiles().size(), 2u);
}

TEST(RecoveryStart, OnlyDamagedDataIsReportedWithoutAQuestion)
{
    TFakeFileSystem records;
    {
        TRecoveryFolder ended(records, kRoot, "100-1");
        ASSERT_TRUE(ended.Open());
        records.SetFile(ended.RecordPath(1), "garbage");
    }
    TDocEnv env;
    TRecoveryStart start(records, env.fs, env.asker);
    const TRecoveryReport report = start.Run({ kRoot }, "200-2", *env.commands, nullptr, 0);
    EXPECT_EQ(report.damaged, 1);
    ASSERT_EQ(env.asker.asked.size(), 1u);
    EXPECT_EQ(env.asker.asked[0].buttons, TMsgButtons::Ok);
    EXPECT_NE(env.asker.asked[0].text.find(
                  "doc-1.wxr is damaged and cannot be recovered: it is not a recovery record."),
        std::string::npos);
    EXPECT_TRUE(records.List(kRoot, "*").empty());
}

} // namespace wexly::test
