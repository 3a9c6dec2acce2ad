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
#include <vector>

namespace wexly {

// A document's paragraphs joined by CR LF, copied on the window's thread in one pass, so that
// the writer never touches the live text.
struct TJournalText
{
    std::unique_ptr<char[]> data;
    size_t size = 0;
    std::string_view View() const { return { data.get(), size }; }
};

// Throws std::bad_alloc when there is no memory for the copy.
TJournalText SnapshotText(const TOvcParaList& list);

struct TJournalJob
{
    TJournalActionKind kind = TJournalActionKind::Write;
    uint32_t id = 0;
    uint64_t ticket = 0;
    TRecordInfo info; // writes only
    TJournalText text;
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
    bool Threaded() const { return m_thread.joinable(); }

private:
    void Run();
    TJournalResult Carry(const TJournalJob& job) const;

    const TRecoveryFolder& m_folder;
    std::mutex m_mutex;
    std::condition_variable m_wake; // a job arrived, or stop
    std::condition_variable m_idle; // the queue ran empty
    std::deque<TJournalJob> m_jobs;
    std::vector<TJournalResult> m_results;
    bool m_busy = false;
    bool m_stop = false;
    std::thread m_thread;
};

} // namespace wexly
