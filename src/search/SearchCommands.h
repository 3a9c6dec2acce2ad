// The Search menu's Find, Replace and Repeat Last Find commands of the main window: they fill
// the dialogs from LastSearch, show them through ISearchDialogs and run what was chosen. Owns
// the driver and both dialog models (created once, reused for the whole run).
#pragma once

#include "search/FindForm.h"
#include "search/ReplaceForm.h"
#include "search/SearchDriver.h"

#include <memory>
#include <string>

namespace wexly {

class ISearchDialogs
{
public:
    virtual ~ISearchDialogs() = default;
    // Show modally; the modal result (1 accepted, 2 cancelled).
    virtual int ShowFind(TFindForm& form) = 0;
    virtual int ShowReplace(TReplaceForm& form) = 0;
};

// What the directory search needs of the main window once the dialog closed with "&Open".
class IFindInFilesOpener
{
public:
    virtual ~IFindInFilesOpener() = default;
    // Opens form.OpenList() as a command line and takes form.Directory() as last directory.
    virtual void OpenChosenFiles(TFindForm& form) = 0;
};

class TSearchCommands
{
public:
    // directorySearch and opener may be null while find in files is not wired up.
    TSearchCommands(TDocumentSet& set, TSettings& settings, IAsker& asker, ISearchDialogs& dialogs,
        IDirectorySearch* directorySearch, IFindInFilesOpener* opener);

    TSearchDriver& Driver() { return m_driver; }
    TFindForm& FindForm() { return m_findForm; }
    TReplaceForm& ReplaceForm() { return m_replaceForm; }

    void Find();
    // The open dialog's "Search Dir": the Find dialog in its files range over dir (ending in a
    // backslash).
    void FindInDirectory(const std::string& dir);
    void Replace();
    void RepeatLastFind();

private:
    void ShowFind(TFindRange range, const std::string& mask);

    TDocumentSet& m_set;
    ISearchDialogs& m_dialogs;
    IFindInFilesOpener* m_opener;
    TSearchDriver m_driver;
    TFindForm m_findForm;
    TReplaceForm m_replaceForm;
};

} // namespace wexly
