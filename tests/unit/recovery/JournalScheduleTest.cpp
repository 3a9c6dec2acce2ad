#include "recovery/JournalSchedule.h"

#include <gtest/gtest.h>

namespace wexly::test {
namespace {

using TKind = TJournalActionKind;

// One document typed into at the given times, observed every 500 ms as the window's timer
// does; returns the times writes were asked for (each reported done at once).
std::vector<uint64_t> WritesFor(const std::vector<uint64_t>& keystrokes, uint64_t until)
{
    TJournalSchedule s;
    std::vector<uint64_t> writes;
    uint64_t version = 0;
    size_t next = 0;
    for (uint64_t now = 0; now <= until; now += 500) {
        while (next < keystrokes.size() && keystrokes[next] <= now) {
            ++version;
            ++next;
        }
        s.Observe(1, version > 0, version, now);
        for (const TJournalAction& a : s.Due(now)) {
            EXPECT_EQ(a.kind, TKind::Write);
            writes.push_back(now);
            s.WriteDone(a.id, a.ticket, true, now);
        }
        s.CheckInvariants();
    }
    return writes;
}

} // namespace

TEST(JournalSchedule, WritesThreeSecondsAfterTypingPauses)
{
    EXPECT_EQ(WritesFor({ 1000, 1500, 2000 }, 20000), std::vector<uint64_t>({ 5000 }));
    // Typing again after the write: one more write after the next pause.
    EXPECT_EQ(WritesFor({ 1000, 9000 }, 20000), std::vector<uint64_t>({ 4000, 12000 }));
    EXPECT_TRUE(WritesFor({}, 20000).empty());
}

TEST(JournalSchedule, WritesAtLeastEveryThirtySecondsWhileTypingGoesOn)
{
    std::vector<uint64_t> keys;
    for (uint64_t t = 1000; t <= 70000; t += 1000)
        keys.push_back(t);
    EXPECT_EQ(WritesFor(keys, 80000), std::vector<uint64_t>({ 31000, 62000, 73000 }));
}

TEST(JournalSchedule, OneWriteAtATimeAndTheNewestTextNext)
{
    TJournalSchedule s;
    s.Observe(1, true, 1, 0);
    auto due = s.Due(3000);
    ASSERT_EQ(due.size(), 1u);
    s.Observe(1, true, 2, 3500); // typed while the write is out
    EXPECT_TRUE(s.Due(7000).empty());
    EXPECT_TRUE(s.Writing(1));
    s.WriteDone(1, due[0].ticket, true, 7000);
    EXPECT_TRUE(s.HasRecord(1));
    EXPECT_EQ(s.PendingCount(), 1);
    auto next = s.Due(7000);
    ASSERT_EQ(next.size(), 1u);
    EXPECT_EQ(next[0].kind, TKind::Write);
    s.WriteDone(1, next[0].ticket, true, 7100);
    EXPECT_EQ(s.PendingCount(), 0);
    s.Observe(1, true, 2, 20000); // nothing new: nothing to write
    EXPECT_TRUE(s.Due(20000).empty());
}

TEST(JournalSchedule, AFailedWriteIsTriedAgainLater)
{
    TJournalSchedule s;
    s.Observe(1, true, 1, 0);
    auto due = s.Due(3000);
    ASSERT_EQ(due.size(), 1u);
    s.WriteDone(1, due[0].ticket, false, 3200);
    EXPECT_FALSE(s.HasRecord(1));
    s.Observe(1, true, 1, 3500);
    EXPECT_TRUE(s.Due(12000).empty()); // not before the retry time
    s.Observe(1, true, 1, 13200);
    ASSERT_EQ(s.Due(13200).size(), 1u);
}

TEST(JournalSchedule, ADeferredWriteIsDueAgainAtOnceKeepingItsWait)
{
    TJournalSchedule s;
    s.Observe(1, true, 1, 0);
    for (uint64_t t = 1000; t <= 40000; t += 1000)
        s.Observe(1, true, t, t); // typing on: due by the longest wait
    auto due = s.Due(40000);
    ASSERT_EQ(due.size(), 1u);
    s.Defer(1, due[0].ticket);
    EXPECT_FALSE(s.Writing(1));
    s.Observe(1, true, 40500, 40500);
    due = s.Due(40500);
    ASSERT_EQ(due.size(), 1u);
    s.Defer(1, due[0].ticket + 1); // not its ticket: nothing happens
    EXPECT_TRUE(s.Writing(1));
}

TEST(JournalSchedule, SavingRevertingOrClosingRemovesTheRecord)
{
    TJournalSchedule s;
    s.Observe(1, true, 1, 0);
    s.Observe(2, true, 1, 0);
    for (const TJournalAction& a : s.Due(3000))
        s.WriteDone(a.id, a.ticket, true, 3000);
    ASSERT_TRUE(s.HasRecord(1) && s.HasRecord(2));
    s.Observe(1, false, 1, 4000); // saved, reverted, or undone back to the file
    s.Forget(2); // closed without saving
    auto due = s.Due(4000);
    ASSERT_EQ(due.size(), 2u);
    EXPECT_EQ(due[0].kind, TKind::Remove);
    EXPECT_EQ(due[1].kind, TKind::Remove);
    EXPECT_FALSE(s.HasRecord(1));
    EXPECT_TRUE(s.Due(9000).empty());
    s.CheckInvariants();
}

// A save while the record is being written: the removal comes after the write, and the report
// of that write must not bring the record back.
TEST(JournalSchedule, AReportAfterARemovalIsIgnored)
{
    TJournalSchedule s;
    s.Observe(1, true, 1, 0);
    auto write = s.Due(3000);
    ASSERT_EQ(write.size(), 1u);
    s.Observe(1, false, 1, 3100);
    auto remove = s.Due(3100);
    ASSERT_EQ(remove.size(), 1u);
    EXPECT_EQ(remove[0].kind, TKind::Remove);
    s.WriteDone(1, write[0].ticket, true, 3300);
    EXPECT_FALSE(s.HasRecord(1));
    EXPECT_FALSE(s.Writing(1));
    EXPECT_TRUE(s.Due(9000).empty());
}

TEST(JournalSchedule, UnmodifiedDocumentsAndAdoptedRecordsCauseNoWrites)
{
    TJournalSchedule s;
    s.Observe(1, false, 5, 0);
    s.Adopt(2, 7, 0);
    s.Observe(2, true, 7, 100);
    EXPECT_TRUE(s.Due(60000).empty());
    EXPECT_TRUE(s.HasRecord(2));
    s.Observe(2, true, 8, 61000);
    EXPECT_EQ(s.Due(64000).size(), 1u);
}

} // namespace wexly::test
