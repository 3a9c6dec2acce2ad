// The Find dialog's directory range: the mask box, "Search S&ubdirectories", "Expand All", the
// result tree with its selection, the status line, the enabling of "&Find Next", "Cancel",
// "&Halt Search" and "&Open", Browse, the open list and the layout of the resizable form.
// The find box, options and histories stay with the find dialog's own model; this one is told
// the find text. Owns the tree; borrows the file system and the view for the duration of a
// search.
#pragma once

#include "config/Settings.h"
#include "search/FindInFiles.h"

#include <optional>
#include <string>
#include <vector>

namespace wexly {

// What the dialog shows of a search while it runs, and the message pump.
class IFindInFilesView : public IFindInFilesHost
{
public:
    virtual void TreeCleared() = 0;
    // After a search, or "Expand All": every file node as its expanded flag says, then the
    // tree scrolled to its first node.
    virtual void TreeRefreshed() = 0;
    virtual void SetWaitCursor(bool on) = 0;
};

// The platform's folder browser: the chosen folder, or none when cancelled.
class IFolderBrowser
{
public:
    virtual ~IFolderBrowser() = default;
    virtual std::optional<std::string> BrowseForFolder(
        const std::string& title, const std::string& initialDir)
        = 0;
};

inline constexpr const char* kSelectFolderTitle = "Select a Folder";

enum class TEscapeAction { PressHalt, PressCancel };

class TFindInFilesModel
{
public:
    // ---- the boxes; edits are ignored while a search runs ----
    const std::string& FindText() const { return m_findText; }
    void SetFindText(const std::string& text); // the find box as typed
    const std::string& Mask() const { return m_mask; }
    void SetMask(const std::string& mask);
    bool Subdirectories() const { return m_subdirectories; }
    void SetSubdirectories(bool on) { m_subdirectories = on; }
    bool ExpandAll() const { return m_expandAll; }
    // Expands or collapses every file node, and decides for the files a search finds later.
    void SetExpandAll(bool on, IFindInFilesView* view = nullptr);

    // ---- state the dialog copies to its controls ----
    const std::string& Directory() const { return m_directory; } // of the last search
    const TFindResultTree& Tree() const { return m_tree; }
    const std::string& Status() const { return m_status; }
    // From Find Next until the walk has returned, even after Halt was pressed.
    bool Running() const { return m_searching; }
    bool FindNextEnabled() const { return m_findNextEnabled; }
    bool CancelEnabled() const { return !m_searching; }
    bool HaltEnabled() const { return m_searching; }
    bool OpenEnabled() const { return m_openEnabled; }
    // The form may close only between searches.
    bool CanClose() const { return !m_searching; }

    // ---- buttons and events ----
    // Find Next in this range, with the unescaped find text and the options the dialog built.
    // Returns when the walk is over (halted or not); ignored while a search runs.
    TFindInFilesOutcome Search(const std::string& findText, TSearchOptions options, IFileSystem& fs,
        IFindInFilesView& view, const TUpperTable& upper = SystemUpperTable());
    void Halt(); // "&Halt Search"
    // UTF-8 and UTF-16 files are searched converted to this code page; null: as bytes.
    void SetDecoding(ICodePage* codePage) { m_decodeWith = codePage; }
    TEscapeAction Escape() const;
    // The tree's selection changed: selected nodes in selection order, and the tree's
    // selected (focused) node. Ignored while a search runs.
    void TreeSelectionChanged(
        const std::vector<TFindNodeRef>& selection, std::optional<TFindNodeRef> focused);
    const std::vector<TFindNodeRef>& Selection() const { return m_selection; }
    // "...": the mask box gets the chosen folder and "*.*". False when cancelled.
    bool Browse(IFolderBrowser& browser, const std::string& lastDir);
    // "&Open": the open list for the main window ("/12 \"C:\a.txt\" /3 \"C:\b.txt\""), with the
    // client size stored as the directory range's size.
    std::string Open(TSettings& settings, int32_t clientWidth, int32_t clientHeight) const;

private:
    void UpdateFindNext();
    void ClearTree(IFindInFilesView& view);

    std::string m_findText;
    std::string m_mask;
    std::string m_directory;
    bool m_subdirectories = false;
    bool m_expandAll = false;
    ICodePage* m_decodeWith = nullptr;
    TFindResultTree m_tree;
    std::vector<TFindNodeRef> m_selection;
    std::string m_status;
    bool m_searching = false; // a walk is on the stack
    bool m_running = false; // the walk goes on; Halt clears it
    bool m_findNextEnabled = false;
    bool m_openEnabled = false;
};

// The open list of the selected nodes: each file once, at the line of its first node in
// selection order; the "No files found" node is left out.
std::string BuildFindOpenList(
    const TFindResultTree& tree, const std::vector<TFindNodeRef>& selection);

// The folder browser's starting folder for a mask box text (or the last directory when the
// box is empty): cut back to its last separator, without that separator.
std::string BrowseStartFolder(const std::string& maskText, const std::string& lastDir);
// A chosen folder as a mask: the folder, a separator unless it ends in one, and "*.*".
std::string FolderMask(const std::string& folder);

// The resizable form of the directory range.
struct TFindInFilesLayout
{
    int32_t minWidth = 0; // the compact form's outer width
    int32_t minHeight = 0; // the compact client height + 150
    int32_t browseLeft = 0; // "..." 2 pixels from the panel's right edge
    int32_t maskWidth = 0; // the mask box up to 2 pixels before "..."
};
TFindInFilesLayout FindInFilesLayout(int32_t compactOuterWidth, int32_t compactClientHeight,
    int32_t panelWidth, int32_t maskLeft, int32_t browseWidth);
// The first showing: a size for the directory range unless one was stored.
void EnsureFindLargeSize(TSettings& settings, int32_t clientWidth, int32_t upperPanelHeight);
// Leaving the range, Cancel and Open keep the size the user gave the form.
void StoreFindLargeSize(TSettings& settings, int32_t clientWidth, int32_t clientHeight);

} // namespace wexly
