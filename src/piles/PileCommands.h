// The main window's pile commands: adding the current document to a pile, and opening a file
// that a pile menu item names. Borrows the document set, the settings and the message box.
#pragma once

#include "documents/FileCommands.h"
#include "piles/DynamicMenu.h"

#include <string>

namespace wexly {

// The PileFiles line for a document: pile id, "1" binary or "0" text, full path.
std::string PileFileLine(unsigned char pileId, bool binary, const std::string& path);

// Adds the current document to the pile with identifier tag; the Main Pile asks first. True
// when the pile menu is to be rebuilt (the line was offered to the list; an equal one is kept).
// A document without a file on disk is not added.
bool AddtoPileClick(int tag, const TDocumentSet& set, TSettings& settings, IAsker& asker);

// A pile file item was clicked: a missing file gives "File not found!" and stays in its pile;
// otherwise it is opened as the item's tag says and the bars are refreshed. Returns the
// document opened (or already open), null when nothing opened.
TEditFile* OpenPileFile(const std::string& caption, int tag, TFileCommands& commands,
    IFileSystem& fs, IAsker& asker, IFileCommandHost& host);

} // namespace wexly
