#include "win32/main/DocumentWindows.h"

#include "win32/controls/ZulGdiCanvas.h"
#include "win32/platform/WinStrings.h"
#include "win32/res/art/ArtIds.h"

namespace wexly::win32 {

namespace {

// Hides a view that another one, just shown, covers: nothing under it needs painting then, and
// a redraw would make the covering view paint its frame a second time.
void HideCovered(HWND view, const RECT& cover)
{
    RECT r {};
    GetWindowRect(view, &r);
    const bool covered = r.left >= cover.left && r.top >= cover.top && r.right <= cover.right
        && r.bottom <= cover.bottom;
    if (!covered) {
        ShowWindow(view, SW_HIDE);
        return;
    }
    SetWindowPos(view, nullptr, 0, 0, 0, 0,
        SWP_HIDEWINDOW | SWP_NOREDRAW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

constexpr int kPopupSave = 1;
constexpr int kPopupClose = 2;
}

bool IsFileButton(HWND window)
{
    wchar_t name[32] = {};
    GetClassNameW(window, name, 32);
    return lstrcmpW(name, TZulSpeed::kClassName) == 0;
}

TDocumentWindows::TDocumentWindows(IDocumentViewHost& host, TOvcCommandProcessor& processor)
    : m_host(host)
    , m_processor(processor)
{
    m_popup = CreatePopupMenu();
    AppendMenuW(m_popup, MF_STRING, kPopupSave, L"&Save");
    AppendMenuW(m_popup, MF_STRING, kPopupClose, L"&Close");
    m_flags4 = LoadBitmapImage(IDB_FLAGS4);
    m_flags6 = LoadBitmapImage(IDB_FLAGS6);
}

TDocumentWindows::~TDocumentWindows()
{
    m_views.clear();
    m_sharedEditor.reset();
    m_sharedViewer.reset();
    if (m_popup)
        DestroyMenu(m_popup);
}

void TDocumentWindows::SetViewFont(const std::wstring& face, int pointSize, bool bold)
{
    m_fontFace = face;
    m_fontPoints = pointSize;
    m_fontBold = bold;
    if (m_sharedEditor)
        ApplyLook(*m_sharedEditor);
    if (m_sharedViewer)
        ApplyLook(*m_sharedViewer);
    for (auto& [doc, views] : m_views) {
        if (views->editor)
            ApplyLook(*views->editor);
        if (views->viewer)
            ApplyLook(*views->viewer);
    }
}

void TDocumentWindows::SetViewColors(const TGridColors& colors)
{
    m_colors = colors;
    m_haveColors = true;
    SetViewFont(m_fontFace, m_fontPoints, m_fontBold);
}

void TDocumentWindows::SetButtonColors(TColorRef text, TColorRef face)
{
    m_buttonText = text;
    m_buttonFace = face;
    m_buttonColors = true;
    for (auto& [doc, views] : m_views)
        if (views->button)
            ButtonChanged(*const_cast<TEditFile*>(doc));
}

void TDocumentWindows::SetButtonFont(HFONT font)
{
    m_buttonFont = font;
    for (auto& [doc, views] : m_views)
        if (views->button)
            views->button->SetFont(font);
}

void TDocumentWindows::SetFlatButtons(bool flat)
{
    m_flatButtons = flat;
    for (auto& [doc, views] : m_views)
        if (views->button)
            views->button->SetDepth(flat ? 0 : 1);
}

void TDocumentWindows::ApplyLook(TCellGridWindow& view)
{
    // A face the system lacks falls back inside the window; the size still applies.
    view.SetFixedFont(m_fontFace, m_fontPoints, m_fontBold);
    if (m_haveColors)
        view.SetColors(m_colors);
}

TDocumentWindows::TViews* TDocumentWindows::Find(const TEditFile& doc) const
{
    auto it = m_views.find(&doc);
    return it == m_views.end() ? nullptr : it->second.get();
}

TEditorWindow* TDocumentWindows::TextWindow(const TEditFile& doc, const TViews& views) const
{
    if (views.editor)
        return views.editor.get();
    return m_editorDoc == &doc ? m_sharedEditor.get() : nullptr;
}

TViewerWindow* TDocumentWindows::HexWindow(const TEditFile& doc, const TViews& views) const
{
    if (views.viewer)
        return views.viewer.get();
    return m_viewerDoc == &doc ? m_sharedViewer.get() : nullptr;
}

void TDocumentWindows::Route(TEditorWindow& window, TEditFile& doc)
{
    TEditFile* d = &doc;
    window.OnShowStatus
        = [this, d](int64_t line, int32_t col) { m_host.ViewStatus(*d, line, col); };
    window.OnKeyPress = [this, d](char ch) { m_host.ViewKeyPress(*d, ch); };
}

void TDocumentWindows::Route(TViewerWindow& window, TEditFile& doc)
{
    TEditFile* d = &doc;
    window.OnShowStatus
        = [this, d](int64_t line, int32_t col) { m_host.ViewStatus(*d, line, col); };
    window.OnUserCommand
        = [this, d](TCommandCode command) { m_host.ViewUserCommand(*d, command); };
    // Typed characters edit the bytes; the document reports what fails.
    window.OnKeyPress = [this, d](char ch) {
        try {
            d->HexTyped(ch);
        } catch (const std::exception& e) {
            m_host.ViewError(e.what());
        }
    };
}

template <class TWindow, class TModel>
void TDocumentWindows::BindSharedWindow(
    std::unique_ptr<TWindow>& window, const TEditFile*& bound, TModel& model, TEditFile& doc)
{
    if (bound == &doc)
        return;
    if (!window) {
        window = std::make_unique<TWindow>(model, m_processor);
        ApplyLook(*window);
        window->Create(m_host.PaneParent(), m_nextId++, m_host.PaneRect(false));
        ShowWindow(window->Handle(), SW_HIDE);
    }
    Route(*window, doc);
    window->Bind(model);
    bound = &doc;
}

template <class TWindow, class TModel>
void TDocumentWindows::ReleaseSharedWindow(
    TWindow* window, const TEditFile*& bound, TModel* model, const TEditFile& doc)
{
    if (bound != &doc)
        return;
    // Nothing of the closed document stays on the screen until another is shown.
    ShowWindow(window->Handle(), SW_HIDE);
    window->Unbind(*model);
    bound = nullptr;
}

void TDocumentWindows::BindShared(TEditFile& doc)
{
    if (TTFEditor* editor = doc.TextEditor())
        BindSharedWindow(m_sharedEditor, m_editorDoc, *editor, doc);
    else if (TAFViewer* viewer = doc.BinViewer())
        BindSharedWindow(m_sharedViewer, m_viewerDoc, *viewer, doc);
}

bool TDocumentWindows::ShowsBinary(const TEditFile& doc) const
{
    if (doc.IsBottomView())
        return doc.Source() && doc.Source()->Binary();
    return doc.Binary();
}

void TDocumentWindows::DocumentCreated(TEditFile& doc)
{
    auto views = std::make_unique<TViews>();
    TEditFile* d = &doc;
    if (TTFEditor* editor = doc.TextEditor())
        editor->OnUserCommand
            = [this, d](TCommandCode command) { m_host.ViewUserCommand(*d, command); };
    if (!doc.IsBottomView()) {
        // Sized now as the shared window will show it, so that a long text loaded into it is
        // not wrapped twice.
        if (TTFEditor* editor = doc.TextEditor(); editor && m_sharedEditor)
            m_sharedEditor->LendViewSize(*editor);
        else if (TAFViewer* viewer = doc.BinViewer(); viewer && m_sharedViewer)
            m_sharedViewer->LendViewSize(*viewer);
        else
            BindShared(doc); // the first of its kind makes the window
        BuildButton(doc, *views);
        m_views[&doc] = std::move(views);
        return;
    }
    HWND parent = m_host.PaneParent();
    const RECT rect = m_host.PaneRect(true);
    const int id = m_nextId++;
    if (TTFEditor* editor = doc.TextEditor()) {
        views->editor = std::make_unique<TEditorWindow>(*editor, m_processor);
        ApplyLook(*views->editor);
        Route(*views->editor, doc);
        views->editor->Create(parent, id, rect);
        ShowWindow(views->editor->Handle(), SW_HIDE);
    }
    if (TAFViewer* viewer = doc.BinViewer()) {
        views->viewer = std::make_unique<TViewerWindow>(*viewer, m_processor);
        ApplyLook(*views->viewer);
        Route(*views->viewer, doc);
        views->viewer->Create(parent, id + 10000, rect);
        ShowWindow(views->viewer->Handle(), SW_HIDE);
    }
    m_views[&doc] = std::move(views);
}

void TDocumentWindows::BuildButton(TEditFile& doc, TViews& views)
{
    views.button = std::make_unique<TZulSpeed>();
    TZulSpeed& button = *views.button;
    button.Create(m_host.FileBar(), m_nextId++, 2, 2, 25, 25, doc.Button().caption);
    ShowWindow(button.Handle(), SW_HIDE);
    button.SetGroupIndex(1);
    button.SetAllowAllUp(false);
    button.SetIsDraggable(true);
    button.SetDepth(m_flatButtons ? 0 : 1);
    if (m_buttonFont)
        button.SetFont(m_buttonFont);
    if (m_buttonColors) {
        button.SetFontColor(m_buttonText);
        button.SetColor(m_buttonFace);
    }
    button.SetPopupMenu(m_popup);
    TEditFile* d = &doc;
    button.OnClick = [this, d] { m_host.FileButtonClick(*d); };
    button.OnPopupCommand
        = [this, d](int command) { m_host.FileButtonPopup(*d, command == kPopupSave ? 0 : 1); };
    // Another file button dropped on this one lands where the bar's search puts it.
    button.OnDragOver = [](HWND source, int, int) { return IsFileButton(source); };
    HWND self = button.Handle();
    button.OnDragDrop = [this, self](HWND source, int x, int y) {
        TEditFile* dragged = DocumentOfButton(source);
        if (!dragged)
            return;
        POINT p { x, y };
        MapWindowPoints(self, m_host.FileBar(), &p, 1);
        m_host.FileButtonDropped(*dragged, p.x, p.y);
    };
}

void TDocumentWindows::ShowView(TEditFile& doc, bool focus)
{
    TViews* views = Find(doc);
    if (!views)
        return;
    // Shown on top and focused before the pane's other views step back: hiding a covered view
    // exposes nothing to repaint, and the focus does not pass through the main window on its
    // way from the old view to the new one.
    PlaceView(doc, true);
    TCellGridWindow* shown = ViewOf(doc);
    if (focus && shown)
        SetFocus(shown->Handle());
    RECT cover {};
    if (shown)
        GetWindowRect(shown->Handle(), &cover);
    for (auto& [other, otherViews] : m_views)
        if (other != &doc && other->IsBottomView() == doc.IsBottomView()) {
            // Most are hidden already; asking again costs a round trip each under Wine. The
            // style bit, not IsWindowVisible: while the main window is still hidden at start-up,
            // every view reads as invisible, and one left visible would show over the others.
            for (TCellGridWindow* view :
                { static_cast<TCellGridWindow*>(TextWindow(*other, *otherViews)),
                    static_cast<TCellGridWindow*>(HexWindow(*other, *otherViews)) })
                if (view && view != shown
                    && (GetWindowLongW(view->Handle(), GWL_STYLE) & WS_VISIBLE))
                    HideCovered(view->Handle(), cover);
        }
}

void TDocumentWindows::PlaceView(TEditFile& doc, bool visible)
{
    TViews* views = Find(doc);
    if (!views)
        return;
    const bool binary = ShowsBinary(doc);
    if (visible && !doc.IsBottomView())
        BindShared(doc);
    TEditorWindow* text = TextWindow(doc, *views);
    TViewerWindow* hex = HexWindow(doc, *views);
    TCellGridWindow* shown = binary ? static_cast<TCellGridWindow*>(hex)
                                    : static_cast<TCellGridWindow*>(text);
    TCellGridWindow* hidden = binary ? static_cast<TCellGridWindow*>(text)
                                     : static_cast<TCellGridWindow*>(hex);
    if (hidden)
        ShowWindow(hidden->Handle(), SW_HIDE);
    if (!shown)
        return;
    if (!visible) {
        ShowWindow(shown->Handle(), SW_HIDE);
        return;
    }
    const RECT r = m_host.PaneRect(doc.IsBottomView());
    SetWindowPos(shown->Handle(), HWND_TOP, r.left, r.top, r.right - r.left, r.bottom - r.top,
        SWP_SHOWWINDOW);
    shown->Refresh();
}

bool TDocumentWindows::ViewFocused(const TEditFile& doc) const
{
    const TViews* views = Find(doc);
    if (!views)
        return false;
    HWND focus = GetFocus();
    const TEditorWindow* text = TextWindow(doc, *views);
    const TViewerWindow* hex = HexWindow(doc, *views);
    return focus && ((text && focus == text->Handle()) || (hex && focus == hex->Handle()));
}

TCellGridWindow* TDocumentWindows::ViewOf(const TEditFile& doc) const
{
    const TViews* views = Find(doc);
    if (!views)
        return nullptr;
    if (ShowsBinary(doc))
        return HexWindow(doc, *views);
    return TextWindow(doc, *views);
}

TEditorWindow* TDocumentWindows::EditorOf(const TEditFile& doc) const
{
    const TViews* views = Find(doc);
    return views ? TextWindow(doc, *views) : nullptr;
}

HWND TDocumentWindows::ButtonOf(const TEditFile& doc) const
{
    const TViews* views = Find(doc);
    return views && views->button ? views->button->Handle() : nullptr;
}

TEditFile* TDocumentWindows::DocumentOfButton(HWND button) const
{
    for (const auto& [doc, views] : m_views)
        if (views->button && views->button->Handle() == button)
            return const_cast<TEditFile*>(doc);
    return nullptr;
}

void TDocumentWindows::ButtonChanged(TEditFile& doc)
{
    TViews* views = Find(doc);
    if (!views || !views->button)
        return;
    const TFileButtonState& state = doc.Button();
    TZulSpeed& button = *views->button;
    if (button.Caption() != state.caption)
        button.SetCaption(state.caption);
    if (state.glyph != views->glyph || state.alternateIcons != views->alternate) {
        views->glyph = state.glyph;
        views->alternate = state.alternateIcons;
        const TBitmapImage& strip = state.alternateIcons ? m_flags6 : m_flags4;
        if (state.glyph >= 0 && strip.width > 0)
            button.SetGlyph(StripPicture(strip, state.glyph, ART_FLAG_WIDTH));
    }
    button.SetHint(Utf8ToWide(state.hint));
    if (button.Down() != state.down)
        button.SetDown(state.down);
    // A document that wants attention shows its button with text and face exchanged.
    if (m_buttonColors) {
        button.SetFontColor(state.swapped ? m_buttonFace : m_buttonText);
        button.SetColor(state.swapped ? m_buttonText : m_buttonFace);
    }
}

TButtonSize TDocumentWindows::MeasureButton(const TEditFile& doc)
{
    TViews* views = Find(doc);
    if (!views || !views->button)
        return { 25, 25 };
    ButtonChanged(const_cast<TEditFile&>(doc));
    views->button->AutoSize();
    return { views->button->Width(), views->button->Height() };
}

void TDocumentWindows::PlaceButton(const TEditFile& doc, int x, int y, int width, int height)
{
    TViews* views = Find(doc);
    if (!views || !views->button)
        return;
    views->button->SetBounds(x, y, width, height);
    ShowWindow(views->button->Handle(), SW_SHOWNA);
    // A move keeps the old screen bits, which may be another button's after a re-order.
    InvalidateRect(views->button->Handle(), nullptr, TRUE);
}

void TDocumentWindows::DocumentDestroyed(TEditFile& doc)
{
    if (OnDestroyed)
        OnDestroyed(doc);
    auto it = m_views.find(&doc);
    if (it == m_views.end())
        return;
    if (TTFEditor* editor = doc.TextEditor())
        editor->OnUserCommand = nullptr;
    ReleaseSharedWindow(m_sharedEditor.get(), m_editorDoc, doc.TextEditor(), doc);
    ReleaseSharedWindow(m_sharedViewer.get(), m_viewerDoc, doc.BinViewer(), doc);
    TViews& views = *it->second;
    if (views.editor && views.editor->Handle())
        DestroyWindow(views.editor->Handle());
    if (views.viewer && views.viewer->Handle())
        DestroyWindow(views.viewer->Handle());
    if (views.button && views.button->Handle())
        DestroyWindow(views.button->Handle());
    m_views.erase(it);
}

void TDocumentWindows::RefreshViews()
{
    if (m_sharedEditor && IsWindowVisible(m_sharedEditor->Handle()))
        m_sharedEditor->Refresh();
    if (m_sharedViewer && IsWindowVisible(m_sharedViewer->Handle()))
        m_sharedViewer->Refresh();
    for (auto& [doc, views] : m_views) {
        if (views->editor && IsWindowVisible(views->editor->Handle()))
            views->editor->Refresh();
        if (views->viewer && IsWindowVisible(views->viewer->Handle()))
            views->viewer->Refresh();
    }
}

} // namespace wexly::win32
