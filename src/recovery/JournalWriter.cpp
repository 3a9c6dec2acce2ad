#include "recovery/JournalWriter.h"

#include "editor/JoinedText.h"

namespace wexly {

TJournalText SnapshotText(const TOvcParaList& list)
{
    TJournalText text;
    text.size = JoinedTextSize(list);
    // Not value-initialised: the copy writes every byte, and zeroing 64 MiB first would
    // double the time the window waits.
    text.data.reset(new char[text.size > 0 ? text.size : 1]);
    CopyJoinedText(list, text.data.get());
    return text;
}

TJournalWriter::TJournalWriter(const TRecoveryFolder& folder, bool threaded)
    : m_folder(folder)
{
    if (threaded)
        m_thread = std::thread([this] { Run(); });
}

TJournalWriter::~TJournalWriter()
{
    if (!m_thread.joinable())
        return;
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_wake.notify_one();
    m_thread.join();
}

TJournalResult TJournalWriter::Carry(const TJournalJob& job) const
{
    TJournalResult result;
    result.kind = job.kind;
    result.id = job.id;
    result.ticket = job.ticket;
    try {
        if (job.kind == TJournalActionKind::Write)
            result.ok = m_folder.WriteRecord(job.id, job.info, job.text.View(), &result.error);
        else
            result.ok = m_folder.RemoveRecord(job.id);
    } catch (const std::exception&) {
        // Nothing may escape the writer's thread; the old record stays and is written again.
        constexpr uint32_t kNotEnoughMemory = 8;
        result.ok = false;
        result.error = { kNotEnoughMemory, m_folder.RecordPath(job.id) };
    }
    return result;
}

void TJournalWriter::Submit(TJournalJob job)
{
    if (!m_thread.joinable()) {
        TJournalResult result = Carry(job);
        std::lock_guard lock(m_mutex);
        m_results.push_back(result);
        return;
    }
    {
        std::lock_guard lock(m_mutex);
        m_jobs.push_back(std::move(job));
    }
    m_wake.notify_one();
}

std::vector<TJournalResult> TJournalWriter::TakeResults()
{
    std::lock_guard lock(m_mutex);
    std::vector<TJournalResult> results;
    results.swap(m_results);
    return results;
}

void TJournalWriter::WaitIdle()
{
    std::unique_lock lock(m_mutex);
    m_idle.wait(lock, [this] { return m_jobs.empty() && !m_busy; });
}

void TJournalWriter::Run()
{
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_wake.wait(lock, [this] { return m_stop || !m_jobs.empty(); });
        if (m_jobs.empty()) // stopping, with nothing left to do
            return;
        TJournalJob job = std::move(m_jobs.front());
        m_jobs.pop_front();
        m_busy = true;
        lock.unlock();
        TJournalResult result = Carry(job);
        job = {}; // the text is freed outside the lock
        lock.lock();
        m_results.push_back(result);
        m_busy = false;
        if (m_jobs.empty())
            m_idle.notify_all();
    }
}

} // namespace wexly
