// The recovery journal of this running instance: its folder (beside the settings file, or in
// the user's local application data when the program's folder cannot be written), the writer
// thread, the journal, and the start-up question about what an earlier end left behind.
// Owns all of them.
#pragma once

#include "recovery/RecoveryJournal.h"
#include "recovery/RecoveryStart.h"

#include <memory>
#include <string>
#include <vector>

namespace wexly::win32 {

class TRecoveryHost
{
public:
    // settingsFile: the settings file's full path (UTF-8).
    explicit TRecoveryHost(std::string settingsFile);
    ~TRecoveryHost();
    TRecoveryHost(const TRecoveryHost&) = delete;
    TRecoveryHost& operator=(const TRecoveryHost&) = delete;

    // Makes this instance's folder and asks about the work earlier instances left. Returns a
    // status message when no folder could be made (unsaved work is then not kept).
    std::string Start(TFileCommands& commands, IAsker& asker);
    void Tick(const TDocumentSet& set);
    void DocumentClosed(const TEditFile& doc);
    void EndOrderly();
    // Why keeping the unsaved work failed, once per run of failures; empty otherwise.
    std::string TakeFailure();

private:
    std::vector<std::string> Roots() const;

    std::string m_settingsFile;
    std::string m_fallbackRoot; // empty when there is no local application data folder
    std::unique_ptr<TRecoveryFolder> m_folder;
    std::unique_ptr<TJournalWriter> m_writer;
    std::unique_ptr<TRecoveryJournal> m_journal;
};

} // namespace wexly::win32
