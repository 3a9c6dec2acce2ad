#include "app/MainCommands.h"

#include <algorithm>

namespace wexly {

namespace {

using T = IMainCommandTarget;
constexpr int kAll = kAlwaysEnabled;
constexpr int kNone = kNoToolButton;
constexpr std::string_view kJustifyHint
    = "Set justification for text (Wont work when wordwrap is on)";

constexpr TMainCommand kCommands[] = {
    // File
    { IDM_FILE_NEW, kAll, 0, "Start a new, unnamed document", [](T& t) { t.NewDocument(); } },
    { IDM_FILE_OPENTEXT, kAll, 1, "Open files as text", [](T& t) { t.OpenFiles(false); } },
    { IDM_FILE_OPENBINARY, kAll, 2, "Open files as a hexadecimal dump",
        [](T& t) { t.OpenFiles(true); } },
    { IDM_FILE_REOPEN, kAll, 3, "Choose among the files closed recently",
        [](T& t) { t.Reopen(); } },
    { IDM_FILE_REVERT, miRevert, 4, "Throw away the changes and load the file again",
        [](T& t) { t.Revert(); } },
    { IDM_FILE_SAVE, miSave, 5, "Save the current document", [](T& t) { t.Save(); } },
    { IDM_FILE_SAVEAS, miSaveAs, 6, "Save the current document under a new name",
        [](T& t) { t.SaveAs(); } },
    { IDM_FILE_SAVECOPYAS, miSaveCopyAs, 7,
        "Save a copy of the current document; the document keeps its name",
        [](T& t) { t.SaveCopyAs(); } },
    { IDM_FILE_SAVEALL, miSaveAll, 8, "Save every modified document", [](T& t) { t.SaveAll(); } },
    { IDM_FILE_PRINT, miPrint, 9, "Print the current document", [](T& t) { t.Print(false); } },
    { IDM_FILE_PRINTSETUP, kAll, kNone, "Choose the printer and the page",
        [](T& t) { t.PrintSetup(); } },
    { IDM_FILE_PREVIEW, miPreview, kNone, "Show the pages as they will print",
        [](T& t) { t.Print(true); } },
    { IDM_FILE_CLOSE, miClose, 10, "Close the current document", [](T& t) { t.Close(); } },
    { IDM_FILE_CLOSEALL, miCloseAll, 11, "Close every document", [](T& t) { t.CloseAll(); } },
    { IDM_FILE_CLOSEDELETE, miCloseDelete, kNone,
        "Close the current document and move its file to the recycle bin",
        [](T& t) { t.CloseAndDelete(); } },
    { IDM_FILE_EXIT, kAll, 32, "Leave the program", [](T& t) { t.Exit(); } },
    // Edit
    { IDM_EDIT_UNDO, miUndo, 12, "Undo the last change",
        [](T& t) { t.RunDocumentCommand(TDocumentCommand::Undo); } },
    { IDM_EDIT_REDO, miRedo, 13, "Redo the last change undone",
        [](T& t) { t.RunDocumentCommand(TDocumentCommand::Redo); } },
    { IDM_EDIT_CUT, miCut, 14, "Move the selection to the clipboard",
        [](T& t) { t.RunDocumentCommand(TDocumentCommand::Cut); } },
    { IDM_EDIT_COPY, miCopy, 15, "Copy the selection to the clipboard",
        [](T& t) { t.RunDocumentCommand(TDocumentCommand::Copy); } },
    { IDM_EDIT_PASTE, miPaste, 16, "Insert the clipboard's text",
        [](T& t) { t.RunDocumentCommand(TDocumentCommand::Paste); } },
    { IDM_EDIT_CLEAR, miClear, kNone, "Delete the selection",
        [](T& t) { t.RunDocumentCommand(TDocumentCommand::Clear); } },
    { IDM_EDIT_SELECTALL, miEditMenu, 17, "Select the whole document",
        [](T& t) { t.RunDocumentCommand(TDocumentCommand::SelectAll); } },
    // Search
    { IDM_SEARCH_FIND, kAll, 18, "Find text in the documents or in files on disk",
        [](T& t) { t.Find(); } },
    { IDM_SEARCH_REPEAT, miRepeatFind, 19, "Find the last search text again",
        [](T& t) { t.RepeatFind(); } },
    { IDM_SEARCH_REPLACE, miReplace, 20, "Replace text in the documents",
        [](T& t) { t.Replace(); } },
    { IDM_SEARCH_GOTOLINE, miGotoLine, 21, "Move the caret to a line", [](T& t) { t.GotoLine(); } },
    { IDM_SEARCH_NEXTDIFFWORD, miNextDiffWord, kNone,
        "Find the next word differing between the files in the two panes",
        [](T& t) { t.NextDifferentWord(); } },
    // Tools
    { IDM_JUSTIFY_LEFT, miJustify, kNone, kJustifyHint,
        [](T& t) { t.RunDocumentCommand(TDocumentCommand::JustifyLeft); } },
    { IDM_JUSTIFY_CENTRE, miJustify, kNone, kJustifyHint,
        [](T& t) { t.RunDocumentCommand(TDocumentCommand::JustifyCentre); } },
    { IDM_JUSTIFY_RIGHT, miJustify, kNone, kJustifyHint,
        [](T& t) { t.RunDocumentCommand(TDocumentCommand::JustifyRight); } },
    { IDM_JUSTIFY_INDENT, miJustify, kNone, "Indent the selected lines",
        [](T& t) { t.RunDocumentCommand(TDocumentCommand::JustifyIndent); } },
    { IDM_JUSTIFY_UNINDENT, miJustify, kNone, "Unindent the selected lines",
        [](T& t) { t.RunDocumentCommand(TDocumentCommand::JustifyUnindent); } },
    { IDM_TOOLS_STATISTICS, miStatistics, 22, "Count the lines, words and characters",
        [](T& t) { t.RunDocumentCommand(TDocumentCommand::Statistics); } },
    { IDM_DIC_CURRENT, kAll, kNone, "Currently active dictionary",
        [](T& t) { t.ChooseDictionary(); } },
    { IDM_DIC_ACTIVE, kAll, kNone, "Switches on and off the dictionary system",
        [](T& t) { t.ToggleDictionary(); } },
    { IDM_DIC_MAINTAIN, kAll, kNone, "Edit your dictionaries",
        [](T& t) { t.MaintainDictionaries(); } },
    // The list window needs no document.
    { IDM_TOOLS_LIST, kAll, kNone, "Define the external programs", [](T& t) { t.EditTools(); } },
    // Piles
    { IDM_PILES_STICK, kAll, kNone, "Add to this pile", [](T& t) { t.StickToPile(); } },
    // Options
    { IDM_OPTIONS_WORDWRAP, kAll, kNone, "Wrap lines at the window's edge",
        [](T& t) { t.ToggleWordWrap(); } },
    { IDM_OPTIONS_HEXMASK, kAll, kNone, "Hide the unprintable characters of binary documents",
        [](T& t) { t.ToggleHexMask(); } },
    { IDM_OPTIONS_SETTINGS, kAll, 29, "Change the preferences", [](T& t) { t.EditSettings(); } },
    // Window
    { IDM_WINDOW_HORIZONTAL, miWindowMenu, 23,
        "Split the window into an upper and a lower pane, or join the panes",
        [](T& t) { t.ToggleSplit(false); } },
    { IDM_WINDOW_VERTICAL, miWindowMenu, kNone,
        "Split the window into a left and a right pane, or join the panes",
        [](T& t) { t.ToggleSplit(true); } },
    { IDM_WINDOW_UNSPLIT, miWindowMenu, kNone, "", [](T& t) { t.ToggleSplit(false); } },
    { IDM_WINDOW_SWITCHPANES, miSwitchPanes, kNone, "Move the keyboard to the other pane",
        [](T& t) { t.SwitchPanes(); } },
    { IDM_WINDOW_SYNCPANES, miSyncPanes, 24, "Keep both panes at the same line",
        [](T& t) { t.ToggleSyncPanes(); } },
    { IDM_WINDOW_SORTPATH, miWindowMenu, kNone, "Sort the documents by path",
        [](T& t) { t.SortDocuments(TSortKey::Path); } },
    { IDM_WINDOW_SORTNAME, miWindowMenu, kNone, "Sort the documents by file name",
        [](T& t) { t.SortDocuments(TSortKey::Name); } },
    { IDM_WINDOW_SORTEXT, miWindowMenu, kNone, "Sort the documents by extension",
        [](T& t) { t.SortDocuments(TSortKey::Extension); } },
    { IDM_WINDOW_HIDEBARS, miHideBars, 25, "Hide or show the toolbar and the file buttons",
        [](T& t) { t.ToggleBars(); } },
    { IDM_WINDOW_PREVFILE, miPrevFile, 26, "Show the previous document",
        [](T& t) { t.SelectFile(false); } },
    { IDM_WINDOW_NEXTFILE, miNextFile, 27, "Show the next document",
        [](T& t) { t.SelectFile(true); } },
    { IDM_WINDOW_LIST, miWindowList, 28, "List the open documents",
        [](T& t) { t.ShowWindowList(); } },
    { IDM_WINDOWLIST_BAR, miWindowList, kNone, "List the open documents",
        [](T& t) { t.ShowWindowList(); } },
    // Help
    { IDM_HELP_CONTENTS, kAll, 30, "Show the help", [](T& t) { t.ShowHelp(); } },
    { IDM_HELP_ABOUT, kAll, 31, "Show the program's version", [](T& t) { t.ShowAbout(); } },
    // The drop menu
    { IDM_DROP_TEXT, kAll, kNone, "", [](T& t) { t.DropOpen(false); } },
    { IDM_DROP_BINARY, kAll, kNone, "", [](T& t) { t.DropOpen(true); } },
};

} // namespace

std::span<const TMainCommand> MainCommands()
{
    return kCommands;
}

const TMainCommand* FindMainCommand(int id)
{
    const auto* row = std::find_if(std::begin(kCommands), std::end(kCommands),
        [id](const TMainCommand& c) { return c.id == id; });
    return row == std::end(kCommands) ? nullptr : row;
}

bool CommandEnabled(const TMainCommand& command, const TMenuState& state)
{
    return command.enabledBy == kAlwaysEnabled
        || state.enabled[static_cast<size_t>(command.enabledBy)];
}

int ToolButtonCommand(int code)
{
    for (const TMainCommand& c : kCommands)
        if (c.toolCode == code && code != kNoToolButton)
            return c.id;
    return 0;
}

bool RunMainCommand(IMainCommandTarget& target, int id)
{
    const TMainCommand* command = FindMainCommand(id);
    if (!command)
        return false;
    command->run(target);
    return true;
}

} // namespace wexly
