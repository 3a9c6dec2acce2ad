#include "win32/dialogs/FindDialog.h"

#include "search/FindEnables.h"
#include "win32/dialogs/ShellFolderBrowser.h"
#include "win32/platform/WinStrings.h"
#include "win32/res/dialogs/FindIds.h"

#include <exception>

namespace wexly::win32 {

namespace {

// The files range's panel; hidden in the compact layout so that Tab does not reach it.
constexpr int kLowerPanel[]
    = { IDC_FIND_MASKLABEL, IDC_FIND_MASK, IDC_FIND_BROWSE, IDC_FIND_SUBDIRS, IDC_FIND_EXPANDALL,
          IDC_FIND_TREE, IDC_FIND_STATUS, IDC_FIND_HALT, IDC_FIND_OPEN };

} // namespace

TFindDialog::~TFindDialog() = default;

bool TFindDialog::Create(HWND owner)
{
    if (!TModalDialog::Create(owner, IDD_FIND))
        return false;
    RECT client {};
    RECT outer {};
    GetClientRect(Handle(), &client);
    GetWindowRect(Handle(), &outer);
    m_compact.clientWidth = client.right;
    m_compact.clientHeight = client.bottom;
    m_compact.upperPanelHeight = client.bottom;
    m_compact.outerWidth = outer.right - outer.left;
    m_compact.outerHeight = outer.bottom - outer.top;
    m_tree.Attach(Item(IDC_FIND_TREE));
    m_tree.OnSelectionChanged = [this] { TreeSelectionChanged(); };
    return true;
}

void TFindDialog::ClientSize(int32_t& width, int32_t& height) const
{
    RECT client {};
    GetClientRect(Handle(), &client);
    width = client.right;
    height = client.bottom;
}

// ---- showing -----------------------------------------------------------------------------

void TFindDialog::OnShow()
{
    m_form.FormShow(m_compact);
    FillCombo(IDC_FIND_TEXT, m_form.findItems, m_form.findBox);
    FillCombo(IDC_FIND_MASK, m_form.maskItems, m_form.maskBox);
    SetChecked(IDC_FIND_WHOLEWORD, m_form.wholeWord);
    SetChecked(IDC_FIND_MATCHCASE, m_form.matchCase);
    CheckRadioButton(
        Handle(), IDC_FIND_UP, IDC_FIND_DOWN, m_form.directionUp ? IDC_FIND_UP : IDC_FIND_DOWN);
    CheckRadioButton(Handle(), IDC_FIND_GLOBAL, IDC_FIND_FROMCURSOR,
        m_form.modeGlobal ? IDC_FIND_GLOBAL : IDC_FIND_FROMCURSOR);
    const int range = m_form.rangeChecked == TFindRange::OpenFiles ? IDC_FIND_OPENFILES
        : m_form.rangeChecked == TFindRange::Files                 ? IDC_FIND_SPECIFYFILES
                                                                   : IDC_FIND_THISFILE;
    CheckRadioButton(Handle(), IDC_FIND_THISFILE, IDC_FIND_SPECIFYFILES, range);
    SetChecked(IDC_FIND_SUBDIRS, m_panel.Subdirectories());
    SetChecked(IDC_FIND_EXPANDALL, m_panel.ExpandAll());
    ApplyLayout();
    ModelToEnables();
    FocusAndSelect(IDC_FIND_TEXT);
    m_form.Shown();
}

void TFindDialog::ModelToEnables()
{
    const TFindEnables e = FindControlEnables(m_form, FindPanelStateOf(m_panel));
    Enable(IDC_FIND_THISFILE, e.thisFile);
    Enable(IDC_FIND_OPENFILES, e.openFiles);
    Enable(IDC_FIND_SPECIFYFILES, e.specifyFiles);
    for (int id : { IDC_FIND_UP, IDC_FIND_DOWN })
        Enable(id, e.direction);
    for (int id : { IDC_FIND_GLOBAL, IDC_FIND_FROMCURSOR })
        Enable(id, e.mode);
    for (int id : { IDC_FIND_MASKLABEL, IDC_FIND_MASK, IDC_FIND_BROWSE, IDC_FIND_SUBDIRS })
        Enable(id, e.maskAndSubdirs);
    for (int id : { IDC_FIND_EXPANDALL, IDC_FIND_TREE, IDC_FIND_STATUS })
        Enable(id, e.results);
    Enable(IDC_FIND_HALT, e.halt);
    Enable(IDC_FIND_OPEN, e.open);
    Enable(IDC_FIND_NEXT, e.findNext);
    Enable(IDCANCEL, e.cancel);
}

// The compact form, or the resizable form of the files range at its stored size.
void TFindDialog::ApplyLayout()
{
    const TFindLayout layout = m_form.Layout();
    const auto oldStyle = static_cast<DWORD>(GetWindowLongPtrW(Handle(), GWL_STYLE));
    const DWORD style = layout.resizable ? oldStyle | WS_THICKFRAME : oldStyle & ~WS_THICKFRAME;
    const auto exStyle = static_cast<DWORD>(GetWindowLongPtrW(Handle(), GWL_EXSTYLE));
    SetWindowLongPtrW(Handle(), GWL_STYLE, static_cast<LONG_PTR>(style));
    for (int id : kLowerPanel)
        ShowWindow(Item(id), layout.resizable ? SW_SHOWNA : SW_HIDE);
    RECT outer { 0, 0, layout.clientWidth, layout.clientHeight };
    AdjustWindowRectEx(&outer, style, FALSE, exStyle);
    SetWindowPos(Handle(), nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
        SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    PlaceLowerPanel();
}

void TFindDialog::PlaceLowerPanel()
{
    if (!FilesRange())
        return;
    int32_t width = 0;
    int32_t height = 0;
    ClientSize(width, height);
    // Dialog units of the template's font.
    RECT u { 7, 2, 54, 14 };
    MapDialogRect(Handle(), &u);
    const int margin = u.left;
    const int gap = u.top;
    const int maskLeft = u.right;
    const int buttonHeight = u.bottom;
    RECT b { 16, 120, 54, 8 };
    MapDialogRect(Handle(), &b);
    const int browseWidth = b.left;
    const int dropHeight = b.top;
    const int buttonWidth = b.right;
    const int textHeight = b.bottom;

    const TFindInFilesLayout layout = FindInFilesLayout(
        m_compact.outerWidth, m_compact.upperPanelHeight, width, maskLeft, browseWidth);
    const int top = m_compact.upperPanelHeight + gap;
    auto place = [&](int id, int x, int y, int w, int h) {
        MoveWindow(Item(id), x, y, w > 0 ? w : 0, h > 0 ? h : 0, TRUE);
    };
    place(IDC_FIND_MASKLABEL, margin, top + gap + 1, maskLeft - margin, textHeight);
    place(IDC_FIND_MASK, maskLeft, top, layout.maskWidth, dropHeight);
    place(IDC_FIND_BROWSE, layout.browseLeft, top, browseWidth, buttonHeight - 1);
    const int checks = top + buttonHeight + 2 * gap;
    place(IDC_FIND_SUBDIRS, margin, checks, buttonWidth * 2, textHeight + 2);
    place(IDC_FIND_EXPANDALL, margin + buttonWidth * 2 + 2 * gap, checks, buttonWidth * 2,
        textHeight + 2);
    const int buttons = height - 2 * gap - buttonHeight;
    const int openLeft = width - margin - buttonWidth;
    const int haltLeft = openLeft - 2 * gap - buttonWidth;
    place(IDC_FIND_OPEN, openLeft, buttons, buttonWidth, buttonHeight);
    place(IDC_FIND_HALT, haltLeft, buttons, buttonWidth, buttonHeight);
    place(IDC_FIND_STATUS, margin, buttons + (buttonHeight - textHeight) / 2,
        haltLeft - 2 * gap - margin, textHeight);
    const int treeTop = checks + textHeight + 2 + 2 * gap;
    place(IDC_FIND_TREE, margin, treeTop, width - 2 * margin, buttons - 2 * gap - treeTop);
    // The form's background is erased after the moved controls painted themselves.
    RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void TFindDialog::MinimumSize(MINMAXINFO& info) const
{
    const TFindLayout layout = m_form.Layout();
    if (!layout.resizable)
        return;
    RECT outer { 0, 0, 0, layout.minClientHeight };
    AdjustWindowRectEx(&outer, static_cast<DWORD>(GetWindowLongPtrW(Handle(), GWL_STYLE)), FALSE,
        static_cast<DWORD>(GetWindowLongPtrW(Handle(), GWL_EXSTYLE)));
    info.ptMinTrackSize.x = layout.minOuterWidth;
    info.ptMinTrackSize.y = outer.bottom - outer.top;
}

// ---- events ------------------------------------------------------------------------------

// On a pick from the drop-down list the edit part changes only after the notification.
std::string TFindDialog::ComboText(int id, int code) const
{
    if (code == CBN_SELCHANGE) {
        const LRESULT index = SendMessageW(Item(id), CB_GETCURSEL, 0, 0);
        if (index != CB_ERR) {
            const LRESULT length
                = SendMessageW(Item(id), CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
            std::wstring text(static_cast<size_t>(length > 0 ? length : 0) + 1, L'\0');
            SendMessageW(Item(id), CB_GETLBTEXT, static_cast<WPARAM>(index),
                reinterpret_cast<LPARAM>(text.data()));
            text.resize(static_cast<size_t>(length > 0 ? length : 0));
            return WideToUtf8(text);
        }
    }
    return ItemText(id);
}

void TFindDialog::ControlsToModel()
{
    m_form.findBox = ItemText(IDC_FIND_TEXT);
    m_form.maskBox = ItemText(IDC_FIND_MASK);
    m_form.wholeWord = Checked(IDC_FIND_WHOLEWORD);
    m_form.matchCase = Checked(IDC_FIND_MATCHCASE);
    m_form.directionUp = Checked(IDC_FIND_UP);
    m_form.modeGlobal = Checked(IDC_FIND_GLOBAL);
    m_panel.SetSubdirectories(Checked(IDC_FIND_SUBDIRS));
}

void TFindDialog::OnCommand(int id, int code)
{
    // The walk pumps messages: while it runs only Halt, Esc and "Expand All" do anything.
    if (m_panel.Running()) {
        if (id == IDC_FIND_HALT || id == IDCANCEL)
            m_panel.Halt();
        else if (id == IDC_FIND_EXPANDALL && code == BN_CLICKED)
            m_panel.SetExpandAll(Checked(IDC_FIND_EXPANDALL), this);
        return;
    }
    int32_t width = 0;
    int32_t height = 0;
    ClientSize(width, height);
    switch (id) {
    case IDC_FIND_TEXT:
    case IDC_FIND_MASK:
        if (code == CBN_EDITCHANGE || code == CBN_SELCHANGE) {
            if (id == IDC_FIND_TEXT)
                m_form.FindBoxChanged(ComboText(id, code));
            else
                m_form.MaskBoxChanged(ComboText(id, code));
            ModelToEnables();
        }
        break;
    case IDC_FIND_THISFILE:
    case IDC_FIND_OPENFILES:
    case IDC_FIND_SPECIFYFILES:
        if (code == BN_CLICKED) {
            const TFindRange range = id == IDC_FIND_OPENFILES ? TFindRange::OpenFiles
                : id == IDC_FIND_SPECIFYFILES                 ? TFindRange::Files
                                                              : TFindRange::ThisFile;
            m_form.RangeClick(range, width, height);
            ApplyLayout();
            ModelToEnables();
        }
        break;
    case IDOK: // Enter in a box
    case IDC_FIND_NEXT:
        FindNext();
        break;
    case IDC_FIND_BROWSE:
        Browse();
        break;
    case IDC_FIND_EXPANDALL:
        if (code == BN_CLICKED)
            m_panel.SetExpandAll(Checked(IDC_FIND_EXPANDALL), this);
        break;
    case IDC_FIND_OPEN:
        Open();
        break;
    case IDCANCEL:
        Cancel();
        break;
    default:
        break;
    }
}

void TFindDialog::FindNext()
{
    // The boxes may have changed without a notification (text set by another program).
    m_form.FindBoxChanged(ItemText(IDC_FIND_TEXT));
    m_form.MaskBoxChanged(ItemText(IDC_FIND_MASK));
    ModelToEnables();
    if (!IsWindowEnabled(Item(IDC_FIND_NEXT)))
        return;
    ControlsToModel();
    if (FilesRange()) {
        SearchFiles();
        return;
    }
    if (m_form.FindNextClick() == TFindNextAction::CloseAccepted) {
        EndModal(m_form.ModalResult());
        return;
    }
    // Staying open: the mode may have turned to "From Cursor" and the history grew.
    FillCombo(IDC_FIND_TEXT, m_form.findItems, m_form.findBox);
    CheckRadioButton(Handle(), IDC_FIND_GLOBAL, IDC_FIND_FROMCURSOR,
        m_form.modeGlobal ? IDC_FIND_GLOBAL : IDC_FIND_FROMCURSOR);
    if (OnSearched)
        OnSearched();
}

void TFindDialog::SearchFiles()
{
    // The keyboard goes back where it was; not to the tree, which would choose its first node.
    HWND focus = GetFocus();
    if (!focus || !IsChild(Handle(), focus) || focus == Item(IDC_FIND_TREE))
        focus = Item(IDC_FIND_NEXT);
    try {
        m_form.FindNextClick(); // runs the walk with this dialog as its view
    } catch (const std::exception& e) {
        // The model has left its running state; the user hears why the tree is short.
        MessageBoxW(Handle(), Utf8ToWide(e.what()).c_str(), L"Find", MB_OK | MB_ICONERROR);
    }
    m_tree.SetLocked(false);
    if (m_waitCursor)
        SetWaitCursor(false);
    FillCombo(IDC_FIND_TEXT, m_form.findItems, m_form.findBox);
    FillCombo(IDC_FIND_MASK, m_form.maskItems, m_form.maskBox);
    SetItemText(IDC_FIND_STATUS, m_panel.Status());
    ModelToEnables();
    SendMessageW(Handle(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(focus), TRUE);
}

void TFindDialog::Browse()
{
    m_panel.SetMask(ItemText(IDC_FIND_MASK));
    TShellFolderBrowser browser(Handle());
    if (!m_panel.Browse(browser, m_settings.LastDir))
        return;
    SetItemText(IDC_FIND_MASK, m_panel.Mask());
    m_form.MaskBoxChanged(m_panel.Mask());
    ModelToEnables();
}

void TFindDialog::Open()
{
    if (!m_panel.OpenEnabled())
        return;
    int32_t width = 0;
    int32_t height = 0;
    ClientSize(width, height);
    m_form.SetOpenList(m_panel.Open(m_settings, width, height));
    m_form.OpenClick(width, height);
    EndModal(m_form.ModalResult());
}

void TFindDialog::Cancel()
{
    int32_t width = 0;
    int32_t height = 0;
    ClientSize(width, height);
    m_form.CancelClick(width, height);
    EndModal(m_form.ModalResult());
}

void TFindDialog::TreeSelectionChanged()
{
    m_panel.TreeSelectionChanged(m_tree.Selection(), m_tree.Focused());
    ModelToEnables();
}

// ---- the walk's view ---------------------------------------------------------------------

void TFindDialog::StatusChanged(const std::string& text)
{
    SetItemText(IDC_FIND_STATUS, text);
}

void TFindDialog::FileFound(size_t file)
{
    m_tree.AddFile(m_panel.Tree(), file);
}

void TFindDialog::ProcessMessages()
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            // Stop the walk and leave the quit for the loops further out.
            m_panel.Halt();
            PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        // Esc is the Halt button while the walk runs, wherever the focus is.
        const bool ours = msg.hwnd == Handle() || IsChild(Handle(), msg.hwnd);
        if (ours && msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) {
            m_panel.Halt();
            continue;
        }
        if (!DialogMessage(Handle(), msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
}

void TFindDialog::TreeCleared()
{
    m_tree.Clear();
}

void TFindDialog::TreeRefreshed()
{
    m_tree.Refresh(m_panel.Tree());
}

void TFindDialog::SetWaitCursor(bool on)
{
    m_waitCursor = on;
    m_tree.SetLocked(on);
    SetCursor(LoadCursorW(nullptr, on ? IDC_WAIT : IDC_ARROW));
    if (on) {
        // The search has started: Find Next and Cancel go off, Halt takes the keyboard.
        ModelToEnables();
        SendMessageW(Handle(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Item(IDC_FIND_HALT)), TRUE);
    }
}

// ---- the tree's notifications, sizing and the wait cursor ----------------------------------

bool TFindDialog::OnNotify(const NMHDR& header, LRESULT& result)
{
    return m_tree.Notify(header, result);
}

bool TFindDialog::OnSize(int, int)
{
    PlaceLowerPanel();
    return false; // the dialog manager's own sizing goes on
}

bool TFindDialog::OnMessage(UINT msg, WPARAM, LPARAM lp, LRESULT& result)
{
    switch (msg) {
    case WM_GETMINMAXINFO:
        MinimumSize(*reinterpret_cast<MINMAXINFO*>(lp));
        result = 0;
        return true;
    case WM_SETCURSOR:
        if (!m_waitCursor)
            return false;
        SetCursor(LoadCursorW(nullptr, IDC_WAIT));
        result = TRUE;
        return true;
    default:
        return false;
    }
}

} // namespace wexly::win32
