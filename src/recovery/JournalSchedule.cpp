#include "recovery/JournalSchedule.h"

#include <cassert>

namespace wexly {

TJournalSchedule::TJournalSchedule(TJournalTiming timing)
    : m_timing(timing)
{
}

void TJournalSchedule::Observe(uint32_t id, bool wanted, uint64_t version, uint64_t nowMs)
{
    auto [it, added] = m_docs.try_emplace(id);
    TDoc& doc = it->second;
    if (doc.closed)
        return;
    if (added || version != doc.seenVersion) {
        doc.seenVersion = version;
        doc.lastChangeMs = nowMs;
    }
    doc.wanted = wanted;
    const bool covered = doc.writingVersion ? *doc.writingVersion == version
                                            : doc.recordVersion && *doc.recordVersion == version;
    if (!wanted || covered)
        doc.firstPendingMs.reset();
    else if (!doc.firstPendingMs)
        doc.firstPendingMs = nowMs;
}

void TJournalSchedule::Forget(uint32_t id)
{
    auto it = m_docs.find(id);
    if (it != m_docs.end())
        it->second.closed = true;
}

void TJournalSchedule::Adopt(uint32_t id, uint64_t version, uint64_t nowMs)
{
    TDoc& doc = m_docs[id];
    doc = TDoc {};
    doc.wanted = true;
    doc.seenVersion = version;
    doc.recordVersion = version;
    doc.lastChangeMs = nowMs;
}

bool TJournalSchedule::IsDue(const TDoc& doc, uint64_t nowMs) const
{
    if (!doc.firstPendingMs || doc.writingVersion || nowMs < doc.retryAtMs)
        return false;
    return nowMs - doc.lastChangeMs >= m_timing.quietMs
        || nowMs - *doc.firstPendingMs >= m_timing.maxDelayMs;
}

std::vector<TJournalAction> TJournalSchedule::Due(uint64_t nowMs)
{
    std::vector<TJournalAction> actions;
    for (auto it = m_docs.begin(); it != m_docs.end();) {
        TDoc& doc = it->second;
        const bool hasData = doc.recordVersion || doc.writingVersion;
        if (doc.closed || (!doc.wanted && hasData)) {
            // Carried out after any outstanding write, whose report is then ignored.
            if (hasData) {
                doc.ticket = m_nextTicket++;
                actions.push_back({ TJournalActionKind::Remove, it->first, doc.ticket });
            }
            doc.recordVersion.reset();
            doc.writingVersion.reset();
            doc.firstPendingMs.reset();
            if (doc.closed) {
                it = m_docs.erase(it);
                continue;
            }
        } else if (IsDue(doc, nowMs)) {
            doc.ticket = m_nextTicket++;
            doc.writingVersion = doc.seenVersion;
            doc.issuedPendingMs = doc.firstPendingMs;
            doc.firstPendingMs.reset();
            actions.push_back({ TJournalActionKind::Write, it->first, doc.ticket });
        }
        ++it;
    }
    return actions;
}

void TJournalSchedule::WriteDone(uint32_t id, uint64_t ticket, bool ok, uint64_t nowMs)
{
    auto it = m_docs.find(id);
    if (it == m_docs.end() || it->second.ticket != ticket || !it->second.writingVersion)
        return;
    TDoc& doc = it->second;
    const uint64_t written = *doc.writingVersion;
    doc.writingVersion.reset();
    if (ok) {
        // A record that failed before may still be on disk: it is replaced now.
        doc.recordVersion = written;
        doc.retryAtMs = 0;
        if (doc.seenVersion == written)
            doc.firstPendingMs.reset();
        return;
    }
    doc.retryAtMs = nowMs + m_timing.retryMs;
    if (doc.wanted && !(doc.recordVersion && *doc.recordVersion == doc.seenVersion)
        && !doc.firstPendingMs)
        doc.firstPendingMs = nowMs;
}

void TJournalSchedule::Defer(uint32_t id, uint64_t ticket)
{
    auto it = m_docs.find(id);
    if (it == m_docs.end() || it->second.ticket != ticket || !it->second.writingVersion)
        return;
    TDoc& doc = it->second;
    doc.writingVersion.reset();
    // Changes observed meanwhile do not make the wait start again.
    if (doc.issuedPendingMs)
        doc.firstPendingMs = *doc.issuedPendingMs;
}

bool TJournalSchedule::HasRecord(uint32_t id) const
{
    auto it = m_docs.find(id);
    return it != m_docs.end() && it->second.recordVersion.has_value();
}

bool TJournalSchedule::Writing(uint32_t id) const
{
    auto it = m_docs.find(id);
    return it != m_docs.end() && it->second.writingVersion.has_value();
}

int TJournalSchedule::PendingCount() const
{
    int count = 0;
    for (const auto& [id, doc] : m_docs)
        if (doc.firstPendingMs || doc.writingVersion)
            ++count;
    return count;
}

void TJournalSchedule::CheckInvariants() const
{
    for (const auto& [id, doc] : m_docs) {
        // Nothing is pending for a document that wants no record.
        assert(doc.wanted || doc.closed || !doc.firstPendingMs);
        // A write is outstanding only with the ticket it was given.
        assert(!doc.writingVersion || doc.ticket > 0);
        (void)doc;
    }
}

} // namespace wexly
