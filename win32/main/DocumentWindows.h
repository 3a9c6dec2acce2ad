// The windows of the open documents: the top pane's editor window and hex viewer window, which
// show the current document of their kind, the second pane's two views, and each document's
// file button on the file-button bar. Implements the document's view hooks; what the user does
// in them goes to the host as done in the document shown.
#pragma once

#include "documents/DocumentServices.h"
#include "documents/EditFile.h"
#include "win32/controls/ZulSpeed.h"
#include "win32/views/EditorWindow.h"
#include "win32/views/ViewerWindow.h"

#include <functional>
#include <map>
#include <memory>

namespace wexly::win32 {

// What the document windows report to the main window.
class IDocumentViewHost
{
public:
    virtual ~IDocumentViewHost() = default;
    virtual HWND PaneParent() = 0;
    virtual HWND FileBar() = 0;
    virtual RECT PaneRect(bool bottom) = 0;
    virtual void ViewStatus(TEditFile& doc, int64_t line, int32_t column) = 0;
    virtual void ViewUserCommand(TEditFile& doc, int command) = 0;
    // A character is about to be typed into a text view.
    virtual void ViewKeyPress(TEditFile& doc, char ch) = 0;
    virtual void FileButtonClick(TEditFile& doc) = 0;
    // The button's popup: 0 "&Save", 1 "&Close".
    virtual void FileButtonPopup(TEditFile& doc, int tag) = 0;
    // A file button was dragged with Ctrl and dropped at (x, y) of the bar.
    virtual void FileButtonDropped(TEditFile& doc, int x, int y) = 0;
    // Something the user did in a view failed (a hex edit that could not be written).
    virtual void ViewError(const std::string& text) = 0;
};

// Drops are accepted only from file buttons.
bool IsFileButton(HWND window);

class TDocumentWindows final : public IDocumentWindows
{
public:
    TDocumentWindows(IDocumentViewHost& host, TOvcCommandProcessor& processor);
    ~TDocumentWindows() override;

    // The fixed font every view paints with.
    void SetViewFont(const std::wstring& face, int pointSize, bool bold);
    void SetViewColors(const TGridColors& colors);
    // These reach the buttons already made as well as those to come.
    void SetButtonFont(HFONT font);
    void SetButtonColors(TColorRef text, TColorRef face);
    void SetFlatButtons(bool flat);

    // IDocumentWindows
    void DocumentCreated(TEditFile& doc) override;
    void ShowView(TEditFile& doc, bool focus) override;
    bool ViewFocused(const TEditFile& doc) const override;
    void ButtonChanged(TEditFile& doc) override;
    TButtonSize MeasureButton(const TEditFile& doc) override;
    void DocumentDestroyed(TEditFile& doc) override;

    // The window that shows doc now (the viewer for a binary document); null when none.
    TCellGridWindow* ViewOf(const TEditFile& doc) const;
    HWND ButtonOf(const TEditFile& doc) const;
    TEditFile* DocumentOfButton(HWND button) const;
    // Places doc's visible view over its pane; hides the second pane's views when hidden.
    void PlaceView(TEditFile& doc, bool visible);
    void PlaceButton(const TEditFile& doc, int x, int y, int width, int height);
    // Repaints every view from its model after a change made from outside.
    void RefreshViews();
    // The text editor window of doc (null for binary documents).
    TEditorWindow* EditorOf(const TEditFile& doc) const;
    // Told when a document is going away, before its windows go.
    std::function<void(const TEditFile&)> OnDestroyed;

private:
    struct TViews
    {
        // The second pane's own windows; the top pane's documents share the shared ones.
        std::unique_ptr<TEditorWindow> editor;
        std::unique_ptr<TViewerWindow> viewer;
        std::unique_ptr<TZulSpeed> button;
        int glyph = -2; // the picture last set on the button
        bool alternate = false;
    };

    TViews* Find(const TEditFile& doc) const;
    // The window of each kind showing doc now: its own, or the shared one while doc is bound
    // to it; null otherwise.
    TEditorWindow* TextWindow(const TEditFile& doc, const TViews& views) const;
    TViewerWindow* HexWindow(const TEditFile& doc, const TViews& views) const;
    // What the user does in the window goes to the host as done in doc.
    void Route(TEditorWindow& window, TEditFile& doc);
    void Route(TViewerWindow& window, TEditFile& doc);
    // The shared window of doc's kind shows doc from now on; made at the first use.
    void BindShared(TEditFile& doc);
    template <class TWindow, class TModel>
    void BindSharedWindow(
        std::unique_ptr<TWindow>& window, const TEditFile*& bound, TModel& model, TEditFile& doc);
    // doc is going: the shared window it is bound to hides and lets its model go.
    template <class TWindow, class TModel>
    void ReleaseSharedWindow(
        TWindow* window, const TEditFile*& bound, TModel* model, const TEditFile& doc);
    void ApplyLook(TCellGridWindow& view);
    void BuildButton(TEditFile& doc, TViews& views);
    // The document the second pane shows decides which of its two views is visible.
    bool ShowsBinary(const TEditFile& doc) const;

    IDocumentViewHost& m_host;
    TOvcCommandProcessor& m_processor;
    std::map<const TEditFile*, std::unique_ptr<TViews>> m_views;
    // One window of each kind for all the top pane's documents: a switch between two of them
    // repaints the client area and whichever scroll bar differs, instead of showing a new window
    // whose frame and scroll bars all have to be drawn.
    std::unique_ptr<TEditorWindow> m_sharedEditor;
    const TEditFile* m_editorDoc = nullptr;
    std::unique_ptr<TViewerWindow> m_sharedViewer;
    const TEditFile* m_viewerDoc = nullptr;
    std::wstring m_fontFace = L"Courier New";
    int m_fontPoints = 10;
    bool m_fontBold = false;
    bool m_haveColors = false;
    TGridColors m_colors;
    HFONT m_buttonFont = nullptr;
    TColorRef m_buttonText = 0;
    TColorRef m_buttonFace = 0xC0C0C0;
    bool m_buttonColors = false;
    bool m_flatButtons = true;
    HMENU m_popup = nullptr;
    TBitmapImage m_flags4;
    TBitmapImage m_flags6;
    int m_nextId = 2000;
};

} // namespace wexly::win32
