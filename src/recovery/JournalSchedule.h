// When each document's recovery record is written or removed, as a model of time alone: a
// record is written a few seconds after typing pauses, and at least every so often while it
// goes on; it goes when the document is no longer modified or is closed. The caller observes
// the documents, carries out what Due returns and reports the writes back.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <vector>

namespace wexly {

struct TJournalTiming
{
    uint64_t quietMs = 3000; // typing paused this long: write
    uint64_t maxDelayMs = 30000; // a change waits no longer than this, typing or not
    uint64_t retryMs = 10000; // after a failed write
};

enum class TJournalActionKind { Write, Remove };

struct TJournalAction
{
    TJournalActionKind kind = TJournalActionKind::Write;
    uint32_t id = 0;
    uint64_t ticket = 0; // given back with WriteDone
    bool operator==(const TJournalAction&) const = default;
};

class TJournalSchedule
{
public:
    explicit TJournalSchedule(TJournalTiming timing = {});

    // A document as it is now: whether it wants a record (a modified text document) and the
    // version of what the record would hold (equal versions: equal records).
    void Observe(uint32_t id, bool wanted, uint64_t version, uint64_t nowMs);
    // The document was closed.
    void Forget(uint32_t id);
    // A document whose record already holds this version (taken over from an ended instance).
    void Adopt(uint32_t id, uint64_t version, uint64_t nowMs);
    // What is to be done now. A write is outstanding until WriteDone; the removals and writes of
    // one document must be carried out in the order given.
    std::vector<TJournalAction> Due(uint64_t nowMs);
    // The write with this ticket finished; the version it wrote is the one observed when Due
    // returned it.
    void WriteDone(uint32_t id, uint64_t ticket, bool ok, uint64_t nowMs);
    // The write with this ticket was not started after all: it is due again at the next Due.
    void Defer(uint32_t id, uint64_t ticket);

    bool HasRecord(uint32_t id) const;
    bool Writing(uint32_t id) const;
    // Documents with changes not yet in a record (or being written).
    int PendingCount() const;
    void CheckInvariants() const;

private:
    struct TDoc
    {
        bool wanted = false;
        bool closed = false;
        uint64_t seenVersion = 0;
        std::optional<uint64_t> recordVersion; // what the record on disk holds
        std::optional<uint64_t> writingVersion; // the outstanding write
        uint64_t ticket = 0; // of the outstanding write, or of the last action
        uint64_t lastChangeMs = 0;
        std::optional<uint64_t> firstPendingMs; // the oldest change no record holds yet
        std::optional<uint64_t> issuedPendingMs; // firstPendingMs when the write was given out
        uint64_t retryAtMs = 0;
    };
    bool IsDue(const TDoc& doc, uint64_t nowMs) const;

    TJournalTiming m_timing;
    std::map<uint32_t, TDoc> m_docs;
    uint64_t m_nextTicket = 1;
};

} // namespace wexly
