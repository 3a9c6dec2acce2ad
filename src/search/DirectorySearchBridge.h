// Joins the Find dialog's model to the directory range's panel model: Find Next in the files
// range runs the panel's walk with the dialog's text and options, and a dialog closed with
// "&Open" opens the chosen files in the main window. Borrows everything it is given.
#pragma once

#include "documents/FileCommands.h"
#include "search/FindForm.h"
#include "search/FindInFilesModel.h"
#include "search/SearchCommands.h"

namespace wexly {

class TDirectorySearchBridge final : public IDirectorySearch, public IFindInFilesOpener
{
public:
    TDirectorySearchBridge(TFindInFilesModel& panel, IFileSystem& fs, TFileCommands& commands,
        TSettings& settings, IFileCommandHost& host);

    // The dialog's window while it is shown; without one nothing is searched.
    void SetView(IFindInFilesView* view) { m_view = view; }

    void SearchFiles(TFindForm& form) override;
    void OpenChosenFiles(TFindForm& form) override;

private:
    TFindInFilesModel& m_panel;
    IFileSystem& m_fs;
    TFileCommands& m_commands;
    TSettings& m_settings;
    IFileCommandHost& m_host;
    IFindInFilesView* m_view = nullptr;
};

} // namespace wexly
