// At start-up, before the command line's files: the unsaved work that ended instances left
// behind, one question about it, and what the answer brings. Yes opens every document as it
// was (its record moves into this instance's journal) and says which files changed on disk
// meanwhile; No removes it all after a confirmation; Cancel keeps it for the next start.
// Borrows the file systems, the asker, the file commands and the journal.
#pragma once

#include "documents/FileCommands.h"
#include "recovery/RecoveryFolder.h"
#include "recovery/RecoveryJournal.h"

#include <string>
#include <vector>

namespace wexly {

enum class TRecoveryChoice { NothingFound, Recovered, Discarded, Kept };

struct TRecoveryReport
{
    TRecoveryChoice choice = TRecoveryChoice::NothingFound;
    int recovered = 0;
    int damaged = 0;
    int changedOnDisk = 0;
    int failed = 0; // good records whose document could not be made; kept for the next start
};

inline constexpr const char* kRecoveryCaption = "Recover Unsaved Work";

// A record found at start-up and what reading it gave.
struct TFoundWork
{
    size_t folder = 0; // index into the claimed folders
    std::string file;
    TRecordParse parse;
};

// The question, listing the good records by name and the damaged ones apart.
TMessage RecoveryQuestion(
    const std::vector<TFoundWork*>& good, const std::vector<TFoundWork*>& damaged);
TMessage DiscardConfirmation(size_t count);
// "a.txt is damaged and cannot be recovered (it is cut short)."
std::string DamagedText(const TFoundWork& work);
// What differs between the file as it was loaded and as it is now; empty when nothing does.
std::string DiskChangeText(const TRecordInfo& info, const TFileStamp& now);

class TRecoveryStart
{
public:
    // recordFs holds the records, docFs the documents' files (the same one in the program).
    TRecoveryStart(IFileSystem& recordFs, IFileSystem& docFs, IAsker& asker);

    // roots: the folders that may hold records; ownName: this instance's folder name, passed
    // over. journal may be null when this instance cannot keep records.
    TRecoveryReport Run(const std::vector<std::string>& roots, const std::string& ownName,
        TFileCommands& commands, TRecoveryJournal* journal, uint64_t nowMs);

private:
    void Recover(const std::vector<TFoundWork*>& good, TFileCommands& commands,
        TRecoveryJournal* journal, uint64_t nowMs, TRecoveryReport& report,
        std::vector<std::string>& notes);
    void Show(const std::string& text, TMsgIcon icon);

    IFileSystem& m_recordFs;
    IFileSystem& m_docFs;
    IAsker& m_asker;
    std::vector<TOrphanFolder> m_folders;
    std::vector<TFoundWork> m_found;
};

} // namespace wexly
