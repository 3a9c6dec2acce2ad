// The main window's open documents and which of them is where: the ordered list (owned), the
// current, focused, top and bottom documents, the second pane's view and the split state.
// Borrows the document services and the main window's pane hooks.
#pragma once

#include "documents/EditFile.h"

#include <memory>
#include <vector>

namespace wexly {

// What the document set asks of the main window beyond the documents' own windows.
class IPaneWindows
{
public:
    virtual ~IPaneWindows() = default;
    // Show or hide the second pane (and, vertical, the splitter); relabel the split menu items.
    virtual void SplitChanged(bool splitOn, bool vertical) = 0;
    // The focused view is going away: park the focus on the top title bar.
    virtual void FocusTopTitleBar() = 0;
};

enum class TSortKey { Path = 0, Name = 1, Extension = 2 };

class TDocumentSet
{
public:
    TDocumentSet(TDocumentServices& services, IPaneWindows& panes);
    ~TDocumentSet();
    TDocumentSet(const TDocumentSet&) = delete;
    TDocumentSet& operator=(const TDocumentSet&) = delete;

    // ---- the list ----
    int Count() const { return static_cast<int>(m_fileList.size()); }
    bool Empty() const { return m_fileList.empty(); }
    TEditFile& At(int index) const { return *m_fileList[static_cast<size_t>(index)]; }
    int IndexOf(const TEditFile* doc) const; // -1 when not in the list
    // The open document with this path, compared ignoring case; null when none.
    TEditFile* FindByPath(const std::string& path) const;
    // Inserted directly after CurFile (appended when there is none); not yet selected.
    TEditFile& Insert(std::unique_ptr<TEditFile> doc);
    // Takes the document out with the pane fix-ups of a close; the caller destroys it. The
    // last document leaves the window unsplit with every pointer cleared.
    std::unique_ptr<TEditFile> Remove(TEditFile& doc);
    TEditFile* Neighbour(const TEditFile& doc) const;
    TEditFile* Next(const TEditFile& doc) const; // wrapping
    TEditFile* Previous(const TEditFile& doc) const; // wrapping

    // ---- pointers ----
    TEditFile* CurFile() const { return m_curFile; }
    TEditFile* FocusFile() const { return m_focusFile; }
    TEditFile* TopFile() const { return m_topFile; }
    TEditFile* BottomFile() const { return m_bottomFile; }
    TEditFile* BottomView() const { return m_bottomView.get(); }
    bool SplitOn() const { return m_splitOn; }
    bool SplitVertical() const { return m_splitVertical; }
    bool BottomActive() const { return m_bottomActive; }
    bool BottomViewFocused() const;

    // ---- switching ----
    void CreateBottomView();
    void SelectFile(TEditFile& doc);
    void SelectNext();
    void SelectPrevious();
    // A focused view reported status: the pane it is in becomes the current one.
    void StatusReported(bool bottomPane);
    // Press doc's button and release every other.
    void MarkCurrent(TEditFile& doc);
    // Split or unsplit; nothing with no document open.
    void ToggleSplit(bool vertical);
    void SwitchPanes();
    // The other pane goes to the focused pane's caret line.
    void SyncPanes();
    void ClearAll(); // unsplit and clear every pointer (after the last close)

    // ---- order ----
    void Sort(TSortKey key);
    void Move(int from, int to);
    // A Window-menu or window-list choice; positions outside the list are ignored.
    void SelectByPosition(int position);

    // ---- settings reaching every view ----
    void SetWordWrap(bool on);
    void SetHexMask(bool on);
    void ApplySettings();

    void CheckInvariants() const;

private:
    void TrackFocus();
    void Unsplit();

    TDocumentServices& m_services;
    IPaneWindows& m_panes;
    std::vector<std::unique_ptr<TEditFile>> m_fileList;
    // Each of these is null or a member of m_fileList; m_focusFile may also be the second
    // pane's view. With no document: all null and not split. Otherwise m_curFile is the top or
    // the bottom document.
    TEditFile* m_curFile = nullptr;
    TEditFile* m_focusFile = nullptr;
    TEditFile* m_topFile = nullptr;
    TEditFile* m_bottomFile = nullptr; // non-null exactly while split with documents
    std::unique_ptr<TEditFile> m_bottomView;
    bool m_splitOn = false;
    bool m_splitVertical = false;
    bool m_bottomActive = false;
};

// Case-insensitive comparison as the document list sorts and matches paths.
int CompareNoCase(const std::string& a, const std::string& b);
bool SameTextNoCase(const std::string& a, const std::string& b);

} // namespace wexly
