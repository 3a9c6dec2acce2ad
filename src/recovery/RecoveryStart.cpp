#include "recovery/RecoveryStart.h"

namespace wexly {

namespace {

constexpr size_t kListedNames = 10;

std::string NameOf(const TFoundWork& work)
{
    const std::string& name = work.parse.record.info.name;
    return name.empty() ? PathNamePart(work.file) : name;
}

TMessage Box(std::string text, TMsgButtons buttons, TMsgIcon icon, int defaultButton = 1)
{
    TMessage m;
    m.text = std::move(text);
    m.caption = kRecoveryCaption;
    m.buttons = buttons;
    m.icon = icon;
    m.defaultButton = defaultButton;
    return m;
}

std::string Documents(size_t n)
{
    return std::to_string(n) + (n == 1 ? " document" : " documents");
}

} // namespace

TMessage RecoveryQuestion(
    const std::vector<TFoundWork*>& good, const std::vector<TFoundWork*>& damaged)
{
    std::string text = std::string("The editor was not closed properly last time. ")
        + (good.size() == 1 ? "This document has" : "These documents have")
        + " changes that were not saved:\r\r";
    for (size_t i = 0; i < good.size() && i < kListedNames; ++i)
        text += "      " + NameOf(*good[i]) + "\r";
    if (good.size() > kListedNames)
        text += "      and " + Documents(good.size() - kListedNames) + " more\r";
    for (const TFoundWork* work : damaged)
        text += "\r" + DamagedText(*work) + "\r";
    text += "\rRecover the changes now?\r\r"
            "Yes: open the documents with their changes. The files on the disk stay as they "
            "are until you save.\r"
            "No: discard the changes.\r"
            "Cancel: decide at the next start.";
    return Box(std::move(text), TMsgButtons::YesNoCancel, TMsgIcon::Question);
}

TMessage DiscardConfirmation(size_t count)
{
    return Box("Discard the unsaved changes of " + Documents(count)
            + "?\rThey cannot be recovered afterwards.",
        TMsgButtons::YesNo, TMsgIcon::Warning, 2);
}

std::string DamagedText(const TFoundWork& work)
{
    return "The recovery data of " + NameOf(work)
        + " is damaged and cannot be recovered: " + work.parse.problem + ".";
}

std::string DiskChangeText(const TRecordInfo& info, const TFileStamp& now)
{
    if (!info.named)
        return {};
    if (info.loaded.known && !now.known)
        return info.name + " is no longer on the disk; saving will write it again.";
    if (info.loaded.known && now != info.loaded)
        return info.name
            + " has changed on the disk since it was loaded. The recovered text is not saved "
              "yet: saving will replace what is on the disk now.";
    if (!info.loaded.known && now.known)
        return info.name
            + " was made on the disk after the document was opened. Saving will replace it.";
    return {};
}

TRecoveryStart::TRecoveryStart(IFileSystem& recordFs, IFileSystem& docFs, IAsker& asker)
    : m_recordFs(recordFs)
    , m_docFs(docFs)
    , m_asker(asker)
{
}

void TRecoveryStart::Show(const std::string& text, TMsgIcon icon)
{
    m_asker.Ask(Box(text, TMsgButtons::Ok, icon));
}

TRecoveryReport TRecoveryStart::Run(const std::vector<std::string>& roots,
    const std::string& ownName, TFileCommands& commands, TRecoveryJournal* journal, uint64_t nowMs)
{
    m_folders.clear();
    m_found.clear();
    for (const std::string& root : roots)
        for (TOrphanFolder& folder : ClaimOrphanFolders(m_recordFs, root, ownName))
            m_folders.push_back(std::move(folder));
    for (size_t i = 0; i < m_folders.size(); ++i)
        for (const std::string& file : m_folders[i].RecordFiles())
            m_found.push_back({ i, file, m_folders[i].Read(file) });

    TRecoveryReport report;
    std::vector<TFoundWork*> good, damaged;
    for (TFoundWork& work : m_found) {
        if (!work.parse.ok)
            damaged.push_back(&work);
        else if (NeedsJournal(work.parse.record.info.binary))
            good.push_back(&work);
        else // nothing of a binary document lives only in memory
            m_folders[work.folder].RemoveRecordFile(work.file);
    }
    report.damaged = static_cast<int>(damaged.size());
    auto removeDamaged = [&] {
        for (const TFoundWork* work : damaged)
            m_folders[work->folder].RemoveRecordFile(work->file);
    };
    if (good.empty()) {
        if (!damaged.empty()) {
            std::string text;
            for (const TFoundWork* work : damaged)
                text += (text.empty() ? "" : "\r\r") + DamagedText(*work);
            Show(text, TMsgIcon::Warning);
            removeDamaged();
            report.choice = TRecoveryChoice::Discarded;
        }
        for (TOrphanFolder& folder : m_folders)
            folder.Finish();
        return report;
    }
    for (;;) {
        const TMsgResult answer = m_asker.Ask(RecoveryQuestion(good, damaged));
        if (answer == TMsgResult::Yes) {
            std::vector<std::string> notes;
            Recover(good, commands, journal, nowMs, report, notes);
            removeDamaged();
            for (const TFoundWork* work : damaged)
                notes.push_back(DamagedText(*work));
            if (!notes.empty()) {
                std::string text = Documents(static_cast<size_t>(report.recovered)) + " recovered.";
                for (const std::string& note : notes)
                    text += "\r\r" + note;
                Show(text, TMsgIcon::Warning);
            }
            report.choice = TRecoveryChoice::Recovered;
            break;
        }
        if (answer == TMsgResult::No) {
            if (m_asker.Ask(DiscardConfirmation(good.size())) != TMsgResult::Yes)
                continue;
            for (TOrphanFolder& folder : m_folders)
                folder.Discard();
            report.choice = TRecoveryChoice::Discarded;
            break;
        }
        report.choice = TRecoveryChoice::Kept;
        break;
    }
    for (TOrphanFolder& folder : m_folders)
        folder.Finish();
    m_found.clear();
    return report;
}

void TRecoveryStart::Recover(const std::vector<TFoundWork*>& good, TFileCommands& commands,
    TRecoveryJournal* journal, uint64_t nowMs, TRecoveryReport& report,
    std::vector<std::string>& notes)
{
    for (TFoundWork* work : good) {
        TRecoveryRecord& record = work->parse.record;
        const TRecordInfo& info = record.info;
        const TFileStamp now = info.named ? StampOf(m_docFs, info.name) : TFileStamp {};
        TEditFile* doc = commands.OpenRecovered(
            info.name, info.named, record.text, info.encoding, info.caretPara, info.caretPos);
        record.text = std::string(); // its memory goes now, not after the last document
        if (!doc) {
            ++report.failed;
            notes.push_back(NameOf(*work)
                + " could not be opened (not enough memory, or too large for the editor). Its "
                  "recovery data is kept for the next start.");
            continue;
        }
        ++report.recovered;
        // When the record cannot move into this instance's folder it stays where it is, so
        // that it is never missing; the next start then offers it again.
        if (journal)
            journal->Adopt(*doc, work->file, nowMs);
        if (std::string change = DiskChangeText(info, now); !change.empty()) {
            ++report.changedOnDisk;
            notes.push_back(change);
        }
    }
}

} // namespace wexly
