#include "recovery/RecoveryJournal.h"

#include "editor/JoinedText.h"
#include "platform/FileReplace.h"

#include <new>
#include <set>

namespace wexly {

namespace {
// Below this, a fresh block costs the window little.
constexpr size_t kWaitForBlockAbove = 1u << 20;
} // namespace

TRecordInfo RecordInfoOf(TEditFile& doc)
{
    TRecordInfo info;
    info.name = doc.FileName();
    info.named = doc.Named();
    info.binary = doc.Binary();
    info.encoding = doc.Encoding();
    if (const TTFEditor* ed = doc.TextEditor(); ed && !doc.Binary()) {
        info.caretPara = ed->CaretPara();
        info.caretPos = ed->CaretPos();
    }
    if (doc.Named() && doc.FileTime() != 0 && doc.FileSize() >= 0)
        info.loaded = { true, doc.FileTime(), doc.FileSize() };
    return info;
}

TRecoveryJournal::TRecoveryJournal(
    TRecoveryFolder& folder, TJournalWriter& writer, TJournalTiming timing)
    : m_folder(folder)
    , m_writer(writer)
    , m_schedule(timing)
{
}

bool TRecoveryJournal::Wanted(TEditFile& doc)
{
    return NeedsJournal(doc.Binary()) && !doc.IsBottomView() && doc.TextEditor()
        && doc.TextEditor()->GetModified();
}

TRecoveryJournal::TTracked& TRecoveryJournal::Track(TEditFile& doc)
{
    auto [it, added] = m_tracked.try_emplace(&doc);
    TTracked& t = it->second;
    if (added) {
        t.id = m_nextId++;
        m_byId[t.id] = &doc;
    }
    if (const TTFEditor* ed = doc.TextEditor(); ed && !doc.Binary()) {
        const uint64_t changes = ed->Buffer().ChangeCount();
        const TTextEncoding encoding = doc.Encoding();
        const int32_t para = ed->CaretPara(), pos = ed->CaretPos();
        if (added || changes != t.changeCount || encoding != t.encoding || para != t.caretPara
            || pos != t.caretPos || doc.FileName() != t.name) {
            ++t.version;
            t.changeCount = changes;
            t.encoding = encoding;
            t.caretPara = para;
            t.caretPos = pos;
            t.name = doc.FileName();
        }
    }
    return t;
}

void TRecoveryJournal::Tick(const TDocumentSet& set, uint64_t nowMs)
{
    if (m_ended || !m_folder.IsOpen())
        return;
    TakeResults(nowMs);
    std::set<const TEditFile*> present;
    bool anyWanted = false;
    for (int i = 0; i < set.Count(); ++i) {
        TEditFile& doc = set.At(i);
        present.insert(&doc);
        const TTracked& t = Track(doc);
        const bool wanted = Wanted(doc);
        anyWanted = anyWanted || wanted;
        if (wanted)
            ReserveFor(doc);
        m_schedule.Observe(t.id, wanted, t.version, nowMs);
    }
    // Documents that left the set without the closing hook.
    for (auto it = m_tracked.begin(); it != m_tracked.end();) {
        if (present.count(it->first)) {
            ++it;
            continue;
        }
        m_schedule.Forget(it->second.id);
        m_byId.erase(it->second.id);
        it = m_tracked.erase(it);
    }
    for (const TJournalAction& action : m_schedule.Due(nowMs))
        Carry(action);
    // The snapshot block is kept only while some document may need another record.
    if (!anyWanted && m_reserved > 0) {
        m_writer.DropSpare();
        m_reserved = 0;
    }
}

void TRecoveryJournal::ReserveFor(TEditFile& doc)
{
    const size_t size = JoinedTextSize(doc.TextEditor()->Buffer());
    if (size <= m_reserved)
        return;
    // Room to grow, so that typing on does not call for a new block at once.
    m_reserved = size + size / 16 + (64u << 10);
    m_writer.Reserve(m_reserved);
}

void TRecoveryJournal::Carry(const TJournalAction& action)
{
    TJournalJob job;
    job.kind = action.kind;
    job.id = action.id;
    job.ticket = action.ticket;
    if (action.kind == TJournalActionKind::Write) {
        auto it = m_byId.find(action.id);
        if (it == m_byId.end())
            return;
        TEditFile& doc = *it->second;
        const TOvcParaList& text = doc.TextEditor()->Buffer();
        TJournalText spare = m_writer.TakeSpare();
        // Without a block whose pages are in, a large copy would fault them in on this
        // thread; the writer is about to hand one back (or to finish readying it).
        if (spare.capacity < JoinedTextSize(text) && JoinedTextSize(text) >= kWaitForBlockAbove
            && m_writer.Busy()) {
            m_writer.ReturnSpare(std::move(spare));
            m_schedule.Defer(action.id, action.ticket);
            return;
        }
        job.info = RecordInfoOf(doc);
        try {
            job.text = SnapshotText(text, std::move(spare));
        } catch (const std::bad_alloc&) {
            // Not now; the schedule tries again when the write is reported as failed. The
            // user hears of it as of a failed write: the document is not protected meanwhile.
            m_schedule.WriteDone(action.id, action.ticket, false, 0);
            NoteFailure(FileErrorCode::NotEnoughMemory);
            return;
        }
    }
    m_writer.Submit(std::move(job));
}

void TRecoveryJournal::TakeResults(uint64_t nowMs)
{
    for (const TJournalResult& r : m_writer.TakeResults()) {
        if (r.kind != TJournalActionKind::Write)
            continue;
        m_schedule.WriteDone(r.id, r.ticket, r.ok, nowMs);
        if (r.ok)
            m_failing = false;
        else
            NoteFailure(r.error.code);
    }
}

void TRecoveryJournal::DocumentClosed(const TEditFile& doc)
{
    auto it = m_tracked.find(&doc);
    if (it == m_tracked.end())
        return;
    const uint32_t id = it->second.id;
    m_tracked.erase(it);
    m_byId.erase(id);
    const bool hadData = m_schedule.HasRecord(id) || m_schedule.Writing(id);
    m_schedule.Forget(id);
    if (hadData && !m_ended) {
        TJournalJob job;
        job.kind = TJournalActionKind::Remove;
        job.id = id;
        m_writer.Submit(std::move(job));
    }
}

bool TRecoveryJournal::Adopt(TEditFile& doc, const std::string& recordFile, uint64_t nowMs)
{
    if (m_ended || !m_folder.IsOpen())
        return false;
    const TTracked& t = Track(doc);
    if (!m_folder.AdoptRecord(recordFile, t.id))
        return false;
    m_schedule.Adopt(t.id, t.version, nowMs);
    return true;
}

void TRecoveryJournal::EndOrderly()
{
    if (m_ended)
        return;
    m_ended = true;
    m_writer.WaitIdle();
    m_writer.TakeResults();
    m_writer.DropSpare();
    m_folder.RemoveAll();
}

void TRecoveryJournal::NoteFailure(uint32_t code)
{
    // Once per run of failures, not at every retry.
    if (m_failing)
        return;
    m_failing = true;
    m_failure = "Unsaved changes could not be kept for recovery: " + FileErrorText(code);
}

std::string TRecoveryJournal::TakeFailure()
{
    std::string failure;
    failure.swap(m_failure);
    return failure;
}

} // namespace wexly
