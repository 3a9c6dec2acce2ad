// The main window's side of find in files: opening the files the dialog handed back, and the
// Find dialog's mask for a directory picked in the open dialog. Borrows the file commands.
#pragma once

#include "documents/FileCommands.h"

#include <string>

namespace wexly {

// Opens the open list ("/12 \"C:\a.txt\" ...") as a command line relative to baseDir; then the
// search directory becomes the file dialogs' last directory and the newest recent directory,
// and the file buttons and menus are refreshed. Returns the number of documents added.
int OpenFindInFilesResults(TFileCommands& commands, TSettings& settings, IFileCommandHost& host,
    const std::string& baseDir, const std::string& openList, const std::string& directory);

// "&Search Dir" of the open dialog: the directory (ending in a separator) and "*.*".
std::string SearchDirMask(const std::string& directory);

} // namespace wexly
