// Writing and removing recovery records away from the window's thread: jobs queue up and a
// thread of the writer's own carries them out in order, so the window never waits for the
// disk. What each job came to is collected for the window's thread to take. Owns the thread
// and the queued texts; borrows the folder.
#pragma once

#include "editor/OvcParaList.h"
#include "recovery/JournalSchedule.h"
#include "recovery/RecoveryFolder.h"

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <memory>
#include <mutex>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>

namespace wexly {

// A document's paragraphs joined by CR LF, copied on the window's thread in one pass, so that
// the writer never touches the live text.
struct TJournalText
{
    std::unique_ptr<char[]> data;
    size_t size = 0;
    size_t capacity = 0;

    TJournalText() = default;
    // A block moved away leaves nothing behind, its sizes included.
    TJournalText(TJournalText&& other) noexcept
        : data(std::move(other.data))
        , size(std::exchange(other.size, 0))
        , capacity(std::exchange(other.capacity, 0))
    {
    }
    TJournalText& operator=(TJournalText&& other) noexcept
    {
        data = std::move(other.data);
        size = std::exchange(other.size, 0);
        capacity = std::exchange(other.capacity, 0);
        return *this;
    }
    std::string_view View() const { return { data.get(), size }; }
};

// The copy goes into spare when it is large enough: memory that has been written before
// costs no page faults, which are most of the time a fresh block of tens of megabytes takes.
// Throws std::bad_alloc when there is no memory for the copy.
TJournalText SnapshotText(const TOvcParaList& list, TJournalText spare = {});

struct TJournalJob
{
    TJournalActionKind kind = TJournalActionKind::Write;
    uint32_t id = 0;
    uint64_t ticket = 0;
    TRecordInfo info; // writes only
    TJournalText text;
    // Jobs of the writer's own, without a result: ready a spare block of this size, or free it.
    size_t reserve = 0;
    bool dropSpare = false;
};

struct TJournalResult
{
    TJournalActionKind kind = TJournalActionKind::Write;
    uint32_t id = 0;
    uint64_t ticket = 0;
    bool ok = false;
    TFileError error;
};

class TJournalWriter
{
public:
    // threaded false: each job is carried out at once on the caller's thread (for file systems
    // that are not safe to share between threads).
    TJournalWriter(const TRecoveryFolder& folder, bool threaded);
    // Finishes the jobs queued so far.
    ~TJournalWriter();
    TJournalWriter(const TJournalWriter&) = delete;
    TJournalWriter& operator=(const TJournalWriter&) = delete;

    void Submit(TJournalJob job);
    std::vector<TJournalResult> TakeResults();
    // Returns when every job submitted so far is done.
    void WaitIdle();
    // The largest text block a finished write left, for the next snapshot; DropSpare frees it
    // (when no document needs records any more).
    TJournalText TakeSpare();
    void DropSpare();
    // Has the writer's thread make the spare block at least this large and touch its pages,
    // so that the first snapshot of a large document does not pay for them either.
    void Reserve(size_t bytes);
    // A block taken with TakeSpare and not used after all.
    void ReturnSpare(TJournalText block);
    // Jobs are queued or being carried out.
    bool Busy();
    bool Threaded() const { return m_thread.joinable(); }

private:
    void Run();
    TJournalResult Carry(const TJournalJob& job) const;
    // Keeps the larger of block and the spare; the other is returned, to be freed.
    TJournalText KeepLarger(TJournalText block);

    const TRecoveryFolder& m_folder;
    std::mutex m_mutex;
    std::condition_variable m_wake; // a job arrived, or stop
    std::condition_variable m_idle; // the queue ran empty
    std::deque<TJournalJob> m_jobs;
    std::vector<TJournalResult> m_results;
    TJournalText m_spare;
    bool m_busy = false;
    bool m_stop = false;
    std::thread m_thread;
};

} // namespace wexly
