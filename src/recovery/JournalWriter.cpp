#include "recovery/JournalWriter.h"

#include "editor/JoinedText.h"

#include <new>
#include <utility>

namespace wexly {

namespace {

// A block of bytes whose pages have all been touched once; none when memory is short (the
// snapshot then makes its own).
TJournalText ReadyBlock(size_t bytes)
{
    TJournalText block;
    block.data.reset(new (std::nothrow) char[bytes > 0 ? bytes : 1]);
    if (!block.data)
        return {};
    block.capacity = bytes;
    // One write per page; through volatile, because a compiler may turn a new block cleared
    // with memset into one taken already cleared, which touches nothing.
    volatile char* bytesOf = block.data.get();
    for (size_t at = 0; at < bytes; at += 4096)
        bytesOf[at] = 0;
    return block;
}

} // namespace

TJournalText SnapshotText(const TOvcParaList& list, TJournalText spare)
{
    TJournalText text = std::move(spare);
    text.size = JoinedTextSize(list);
    if (!text.data || text.capacity < text.size) {
        text.data.reset();
        text.capacity = 0;
        // Not value-initialised: the copy writes every byte, and zeroing 64 MiB first would
        // double the time the window waits.
        text.data.reset(new char[text.size > 0 ? text.size : 1]);
        text.capacity = text.size;
    }
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

TJournalText TJournalWriter::TakeSpare()
{
    std::lock_guard lock(m_mutex);
    return std::move(m_spare);
}

void TJournalWriter::DropSpare()
{
    if (!m_thread.joinable()) {
        TJournalText spare = TakeSpare(); // freed outside the lock
        return;
    }
    {
        std::lock_guard lock(m_mutex);
        if (!m_spare.data)
            return;
    }
    // Freeing tens of megabytes is left to the writer's thread too.
    TJournalJob job;
    job.dropSpare = true;
    Submit(std::move(job));
}

TJournalText TJournalWriter::KeepLarger(TJournalText block)
{
    if (block.capacity > m_spare.capacity)
        return std::exchange(m_spare, std::move(block));
    return block;
}

void TJournalWriter::ReturnSpare(TJournalText block)
{
    std::unique_lock lock(m_mutex);
    TJournalText unused = KeepLarger(std::move(block));
    lock.unlock();
}

bool TJournalWriter::Busy()
{
    std::lock_guard lock(m_mutex);
    return m_busy || !m_jobs.empty();
}

void TJournalWriter::Reserve(size_t bytes)
{
    TJournalJob job;
    job.reserve = bytes;
    Submit(std::move(job));
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
        result.ok = false;
        result.error = { FileErrorCode::NotEnoughMemory, m_folder.RecordPath(job.id) };
    }
    return result;
}

void TJournalWriter::Submit(TJournalJob job)
{
    if (!m_thread.joinable()) {
        if (job.reserve > 0 || job.dropSpare) {
            std::lock_guard lock(m_mutex);
            if (job.dropSpare)
                m_spare = {};
            else if (m_spare.capacity < job.reserve)
                KeepLarger(ReadyBlock(job.reserve));
            return;
        }
        TJournalResult result = Carry(job);
        std::lock_guard lock(m_mutex);
        m_results.push_back(result);
        KeepLarger(std::move(job.text));
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
        const bool housekeeping = job.reserve > 0 || job.dropSpare;
        const bool reserving = job.reserve > 0 && m_spare.capacity < job.reserve;
        if (job.dropSpare)
            job.text = std::move(m_spare);
        lock.unlock();
        TJournalResult result;
        if (reserving)
            job.text = ReadyBlock(job.reserve);
        else if (!housekeeping)
            result = Carry(job);
        lock.lock();
        // The larger block is kept for the next snapshot.
        TJournalText unused = job.dropSpare ? std::move(job.text) : KeepLarger(std::move(job.text));
        if (!housekeeping)
            m_results.push_back(result);
        lock.unlock();
        unused = {}; // freeing tens of megabytes takes a while: not under the lock
        lock.lock();
        m_busy = false;
        if (m_jobs.empty())
            m_idle.notify_all();
    }
}

} // namespace wexly
