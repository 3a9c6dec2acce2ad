// This instance's journal of unsaved work. On each tick it looks at every open document, lets
// the schedule say what is due, copies the due documents' text and hands the writing to the
// writer; a closed document's record goes at once, and an orderly end takes the whole folder
// away. Borrows the folder and the writer.
#pragma once

#include "documents/DocumentSet.h"
#include "recovery/JournalSchedule.h"
#include "recovery/JournalWriter.h"
#include "recovery/RecoveryFolder.h"

#include <cstdint>
#include <map>
#include <string>

namespace wexly {

// What a record of doc would hold now.
TRecordInfo RecordInfoOf(TEditFile& doc);

class TRecoveryJournal
{
public:
    TRecoveryJournal(TRecoveryFolder& folder, TJournalWriter& writer, TJournalTiming timing = {});

    void Tick(const TDocumentSet& set, uint64_t nowMs);
    // The document is being destroyed: its record goes now. Nothing of doc is read.
    void DocumentClosed(const TEditFile& doc);
    // A recovered document whose record, recordFile of an ended instance, holds what it shows
    // now: the file moves into this instance's folder instead of being written again.
    bool Adopt(TEditFile& doc, const std::string& recordFile, uint64_t nowMs);
    // An orderly end: what is queued is finished, then every record and the folder go.
    void EndOrderly();
    // Why the last write failed, once per run of failures; empty otherwise.
    std::string TakeFailure();

    const TJournalSchedule& Schedule() const { return m_schedule; }

private:
    struct TTracked
    {
        uint32_t id = 0;
        uint64_t version = 0;
        // What the version stands for: a new value of any of these is a new version.
        uint64_t changeCount = 0;
        TTextEncoding encoding = TTextEncoding::Ansi;
        int32_t caretPara = 0;
        int32_t caretPos = 0;
        std::string name;
    };
    TTracked& Track(TEditFile& doc);
    static bool Wanted(TEditFile& doc);
    void TakeResults(uint64_t nowMs);
    // Has the writer ready a block the document's snapshot fits in.
    void ReserveFor(TEditFile& doc);
    void Carry(const TJournalAction& action);
    // Keeps the first failure of a run of them for the user (TakeFailure).
    void NoteFailure(uint32_t code);

    TRecoveryFolder& m_folder;
    TJournalWriter& m_writer;
    TJournalSchedule m_schedule;
    std::map<const TEditFile*, TTracked> m_tracked;
    std::map<uint32_t, TEditFile*> m_byId;
    uint32_t m_nextId = 1;
    size_t m_reserved = 0; // the spare block asked of the writer
    bool m_failing = false;
    std::string m_failure;
    bool m_ended = false;
};

} // namespace wexly
