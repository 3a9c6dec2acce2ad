#include "win32/WexlyMainForm.h"
#include "win32/WexlyMainFormParts.h"

#include "app/HandOver.h"
#include "config/SettingsFile.h"
#include "editor/DefaultCommandTables.h"
#include "piles/PileCommands.h"
#include "win32/WexlyApp.h"
#include "win32/controls/ZulGdiCanvas.h"
#include "win32/dialogs/DicChooseDialog.h"
#include "win32/dialogs/DicMaintDialog.h"
#include "win32/dialogs/ToolListDialog.h"
#include "win32/dialogs/WindowListDialog.h"
#include "win32/main/GdiSettings.h"
#include "win32/main/HelpPages.h"
#include "win32/platform/WinStrings.h"
#include "win32/print/PrintCommands.h"
#include "win32/res/art/ArtIds.h"

#include "Version.h"
#include "win32/MenuIds.h"

#include <commctrl.h>
#include <shellapi.h>
#include <windowsx.h>

#include <algorithm>
#include <cstdlib>
#include <exception>
#include <utility>
#include <vector>
namespace wexly::win32 {

using namespace mainform;

namespace {

// What the process's address space has left: 4 GiB in all for this large-address-aware 32-bit
// program on a 64-bit system, 2 GiB on a 32-bit one. The end-to-end tests set
// WEXLY_TEST_FREE_ADDRESS_SPACE (bytes) to reach the too-large path with a small file; the
// judgement made of the figure is the same.
int64_t FreeAddressSpace()
{
    wchar_t text[32] = {};
    const DWORD n = GetEnvironmentVariableW(L"WEXLY_TEST_FREE_ADDRESS_SPACE", text, 32);
    if (n > 0 && n < 32)
        return _wtoi64(text);
    MEMORYSTATUSEX status {};
    status.dwLength = sizeof(status);
    if (!GlobalMemoryStatusEx(&status))
        return -1;
    return static_cast<int64_t>(status.ullAvailVirtual);
}

} // namespace

TWexlyMainForm::TWexlyMainForm(TWexlyApp& app)
    : m_app(app)
    , m_processor(CreateProgramCommandProcessor())
    , m_dialogs(Settings)
{
    m_statusTexts = { StatusIdleText, "", "Ins", StatusNumberText(0), StatusNumberText(0) };
    m_docWindows = std::make_unique<TDocumentWindows>(*this, m_processor);
    m_services = std::make_unique<TDocumentServices>(TDocumentServices {
        RealFileSystem(), m_asker, *m_docWindows, Settings, &m_clipboard, &m_beeper });
    m_services->freeAddressSpace = FreeAddressSpace;
    m_services->loadProgress = [this](const std::string& name, int64_t done, int64_t total) {
        ShowLoadProgress(name, done, total);
    };
    m_set = std::make_unique<TDocumentSet>(*m_services, *this);
    m_history = std::make_unique<TReopenHistory>(Settings.FileHistory, Settings.ReopenCount);
    m_history->OnChanged = [this] { RebuildReopenMenu(); };
    m_commands = std::make_unique<TFileCommands>(
        *m_set, *m_services, Settings, *m_history, m_dialogs, *this);
    m_shell = std::make_unique<TApplicationShell>(*m_set, *m_commands, Settings, m_asker, *this);
    m_docCommands = std::make_unique<TDocumentCommands>(*m_set, Settings, m_asker);
    m_directorySearch = std::make_unique<TDirectorySearchBridge>(
        m_findPanel, m_services->fs, *m_commands, Settings, *this);
    m_search = std::make_unique<TSearchCommands>(
        *m_set, Settings, m_asker, *this, m_directorySearch.get(), m_directorySearch.get());
    m_compare = std::make_unique<TCompareModel>(*m_set, m_beeper);
    m_dictionary = std::make_unique<TDictionarySystem>(Settings, RealFileSystem(), m_asker);
    m_dicMaint = std::make_unique<TDicMaintModel>(Settings, RealFileSystem(), m_asker, m_dialogs);
    m_macroPlayer = std::make_unique<TMacroPlayer>(Settings.Macros);
    m_toolRunner = std::make_unique<TToolRunner>(
        *m_set, *m_services, *m_commands, SystemProcessRunner(), *this);
    m_recovery = std::make_unique<TRecoveryHost>(IniFileName(WideToUtf8(ExePath())));
    m_docWindows->OnDestroyed = [this](const TEditFile& doc) { m_recovery->DocumentClosed(doc); };
    m_print = std::make_unique<TPrintCommands>(
        Settings, m_asker, [this](const std::string& text, bool temporary) {
            if (temporary) {
                ShowStatus(text);
                return;
            }
            SetStatusText(spMessage, text);
            UpdateWindow(m_statusBar);
        });
}

TWexlyMainForm::~TWexlyMainForm()
{
    // An end without the orderly close (an unexpected error) keeps the recovery records.
    m_docWindows->OnDestroyed = nullptr;
    // The documents go before the windows they borrow.
    m_toolRunner.reset();
    m_docCommands.reset();
    m_shell.reset();
    m_commands.reset();
    m_set.reset();
    TZulWindow::SetHintListener(nullptr);
    if (m_statusFont)
        DeleteObject(m_statusFont);
    if (m_titleFont)
        DeleteObject(m_titleFont);
    if (m_fileBarFont)
        DeleteObject(m_fileBarFont);
    if (m_titleBrush)
        DeleteObject(m_titleBrush);
    if (m_unsplitMenu)
        DestroyMenu(m_unsplitMenu);
}

void TWexlyMainForm::Guarded(const std::function<void()>& work)
{
    try {
        work();
    } catch (const std::exception& e) {
        m_asker.Ask({ e.what(), "Error", TMsgButtons::Ok, TMsgIcon::Error });
    }
}

bool TWexlyMainForm::Create()
{
    HINSTANCE instance = GetModuleHandleW(nullptr);
    HICON icon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_WEXLY));
    std::wstring className = Utf8ToWide(MainWindowClass);
    if (!RegisterWindowClass(
            className.c_str(), icon, reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1)))
        return false;
    HMENU menu = LoadMenuW(instance, MAKEINTRESOURCEW(IDR_MAINMENU));
    if (!CreateWindowHandle(WS_EX_ACCEPTFILES, className.c_str(),
            Utf8ToWide(MainWindowCaption).c_str(), WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
            CW_USEDEFAULT, CW_USEDEFAULT, 800, 600, nullptr, menu))
        return false;
    GetWindowRect(Handle(), &m_designBounds);
    m_asker.SetOwner(Handle());
    m_clipboard.SetOwner(Handle());
    m_dialogs.SetOwner(Handle());
    CreateSearchDialogs();
    return true;
}

void TWexlyMainForm::Show(int showCommand)
{
    if (m_shownOnce) {
        ShowWindow(Handle(), showCommand);
        UpdateWindow(Handle());
        return;
    }
    m_shownOnce = true;
    // The start-up sequence runs before the window is seen: on a slow machine it takes
    // seconds, and a window shown first stood there without its bars and documents meanwhile.
    // Only a file long in the reading shows the window early, to say how far it has come.
    m_firstShowCommand = m_startMaximized ? SW_SHOWMAXIMIZED : showCommand;
    m_shell->SetStart(m_app.StartDir(), m_app.CmdLine());
    Guarded([this] { m_shell->FirstShow(); });
    ShowWindow(Handle(), m_firstShowCommand);
    UpdateWindow(Handle());
    // A message of the start-up sequence gets its full time once it can be seen.
    if (m_statusTimerRunning)
        SetTimer(Handle(), StatusTimerId, StatusTimerMs, nullptr);
    SetTimer(Handle(), JournalTimerId, JournalTimerMs, nullptr);
    RefreshCapsPanel();
    RefreshTitles();
    if (TEditFile* focus = m_set->FocusFile())
        focus->ShowView();
}

// ---- IShellWindow -------------------------------------------------------------------------

TSettingsEnv TWexlyMainForm::SettingsEnv() const
{
    TSettingsEnv env;
    env.ExePath = WideToUtf8(ExePath());
    const RECT& r = m_designBounds;
    env.Design.MainWindow = { r.left, r.top, r.right, r.bottom };
    // The other windows open centred on the main window's design bounds until moved.
    const TRect dialog { r.left + 100, r.top + 80, r.left + 420, r.top + 400 };
    env.Design.Preview = env.Design.DicMaint = env.Design.DicChoose = env.Design.ToolList = dialog;
    env.Design.WindowList = { r.left + 100, r.top + 80, r.left + 374, r.top + 405 };
    // The preview needs room for its tool row and a readable part of the page.
    env.Design.Preview = { r.left + 40, r.top + 30, r.left + 740, r.top + 570 };
    return env;
}

TMessage TWexlyMainForm::LoadSettings()
{
    TSettingsFileResult result = wexly::LoadSettings(Settings, SettingsEnv());
    return result.Ok ? TMessage {} : result.Message;
}

void TWexlyMainForm::OfferRecovery()
{
    // Whatever goes wrong here, the start goes on with the command line's files.
    std::string problem;
    try {
        problem = m_recovery->Start(*m_commands, m_asker);
    } catch (const std::exception& e) {
        problem = std::string("Unsaved work of an earlier run could not be recovered: ") + e.what();
    }
    if (!problem.empty())
        ShowStatus(problem);
}

void TWexlyMainForm::EndOrderly()
{
    KillTimer(Handle(), JournalTimerId);
    m_recovery->EndOrderly();
}

TMessage TWexlyMainForm::SaveSettings()
{
    TSettingsFileResult result = wexly::SaveSettings(Settings, SettingsEnv());
    return result.Ok ? TMessage {} : result.Message;
}

void TWexlyMainForm::ApplyPlacement(const TWindowPlacement& placement)
{
    const TRect& b = placement.normalBounds;
    if (b.Right <= b.Left || b.Bottom <= b.Top)
        return;
    WINDOWPLACEMENT wp {};
    wp.length = sizeof(wp);
    GetWindowPlacement(Handle(), &wp);
    wp.rcNormalPosition = { b.Left, b.Top, b.Right, b.Bottom };
    // A program started minimised would be lost to the user: it comes back normal.
    const bool maximized = placement.state == 2;
    if (!IsWindowVisible(Handle())) {
        // At start-up the window is shown once the start-up sequence has finished.
        m_startMaximized = maximized;
        wp.showCmd = SW_HIDE;
    } else {
        wp.showCmd = maximized ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL;
    }
    SetWindowPlacement(Handle(), &wp);
}

TWindowPlacement TWexlyMainForm::CurrentPlacement()
{
    WINDOWPLACEMENT wp {};
    wp.length = sizeof(wp);
    GetWindowPlacement(Handle(), &wp);
    TWindowPlacement placement;
    const RECT& r = wp.rcNormalPosition;
    placement.normalBounds = { r.left, r.top, r.right, r.bottom };
    placement.state = IsZoomed(Handle()) ? 2 : IsIconic(Handle()) ? 1 : 0;
    return placement;
}

void TWexlyMainForm::ApplyFontsAndColours()
{
    const TColourTable& c = Settings.Colours;
    LOGFONTW edit = LogFontOf(Settings.EditFont);
    m_docWindows->SetViewFont(edit.lfFaceName,
        Settings.EditFont.Size > 0 ? Settings.EditFont.Size : 9,
        (Settings.EditFont.Style & FontStyle::Bold) != 0);
    TGridColors colours;
    colours.text = ColourOf(c[clNormalText]);
    colours.background = colours.margin = ColourOf(c[clNormalBack]);
    colours.highlightText = ColourOf(c[clSelectedText]);
    colours.highlightBackground = ColourOf(c[clSelectedBack]);
    m_docWindows->SetViewColors(colours);

    if (m_titleFont)
        DeleteObject(m_titleFont);
    LOGFONTW title = LogFontOf(Settings.TitleFont);
    m_titleFont = CreateFontIndirectW(&title);
    if (m_titleBrush)
        DeleteObject(m_titleBrush);
    m_titleBrush = CreateSolidBrush(ColourOf(c[clFilenameBarBack]));
    m_titleText = ColourOf(c[clFilenameBarText]);
    for (size_t i = 0; i < 2; ++i)
        for (HWND w : { m_titleState[i], m_titleButton[i], m_titleClose[i] })
            SendMessageW(w, WM_SETFONT, reinterpret_cast<WPARAM>(m_titleFont), TRUE);

    LOGFONTW bar = LogFontOf(Settings.BarFont);
    HFONT statusFont = CreateFontIndirectW(&bar);
    SendMessageW(m_statusBar, WM_SETFONT, reinterpret_cast<WPARAM>(statusFont), TRUE);
    if (m_statusFont)
        DeleteObject(m_statusFont);
    m_statusFont = statusFont;
    m_statusTextColour = ColourOf(c[clStatusBarText]);
    m_statusBackColour = ColourOf(c[clStatusBarBack]);
    SendMessageW(m_statusBar, SB_SETBKCOLOR, 0, static_cast<LPARAM>(m_statusBackColour));
    InvalidateRect(m_statusBar, nullptr, TRUE);

    if (m_fileBarFont)
        DeleteObject(m_fileBarFont);
    LOGFONTW fileBar = LogFontOf(Settings.FileBarFont);
    m_fileBarFont = CreateFontIndirectW(&fileBar);
    m_docWindows->SetButtonFont(m_fileBarFont);
    m_docWindows->SetButtonColors(ColourOf(c[clFileButtonText]), ColourOf(c[clFileButtonBack]));
    m_docWindows->SetFlatButtons(Settings.FlatButtons);
    m_fileBar.SetColor(ColourOf(c[clFileButtonBack]));
    LayoutStatusBar(true);
    Layout();
}

void TWexlyMainForm::SetOptionChecks(bool wordWrap, bool hexMask)
{
    HMENU menu = GetMenu(Handle());
    CheckMenuItem(menu, IDM_OPTIONS_WORDWRAP, MF_BYCOMMAND | (wordWrap ? MF_CHECKED : 0));
    CheckMenuItem(menu, IDM_OPTIONS_HEXMASK, MF_BYCOMMAND | (hexMask ? MF_CHECKED : 0));
}

void TWexlyMainForm::BuildBarsAndMenus()
{
    BuildToolBar();
    RefreshDocumentBars();
    RebuildReopenMenu();
    RebuildDynamicMenus();
}

void TWexlyMainForm::ProcessMessages()
{
    // The keys work as in the program's own loop while a tool is waited for.
    static const HACCEL accelerators
        = LoadAcceleratorsW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINACCEL));
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        if (msg.hwnd == Handle() || IsChild(Handle(), msg.hwnd)) {
            if (PreviewKey(msg) || TranslateAcceleratorW(Handle(), accelerators, &msg))
                continue;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

void TWexlyMainForm::RefreshBottomPane()
{
    if (m_set->SplitOn() && m_set->BottomFile() && m_set->BottomView()) {
        m_set->BottomView()->DetachView();
        m_set->BottomView()->AttachView(*m_set->BottomFile());
    }
    m_docWindows->RefreshViews();
}

void TWexlyMainForm::FocusPane(bool bottom)
{
    TEditFile* target = bottom && m_set->SplitOn() ? m_set->BottomView() : m_set->CurFile();
    if (target)
        if (TCellGridWindow* view = m_docWindows->ViewOf(*target))
            SetFocus(view->Handle());
}

void TWexlyMainForm::InstallHooks()
{
    // Activation arrives as WM_ACTIVATEAPP; the hint hook is the flat buttons' listener.
    TZulWindow::SetHintListener([this](const std::string& hint) { SetApplicationHint(hint); });
}

void TWexlyMainForm::AcceptDrops(bool accept)
{
    DragAcceptFiles(Handle(), accept ? TRUE : FALSE);
}

void TWexlyMainForm::BringToFront()
{
    if (IsIconic(Handle()))
        ShowWindow(Handle(), SW_RESTORE);
    SetForegroundWindow(Handle());
}

void TWexlyMainForm::ShowLoadProgress(const std::string& name, int64_t done, int64_t total)
{
    const TLoadProgressStep step = m_loadProgress.Report(name, done, total, GetTickCount64());
    if (step.kind == TLoadProgressStep::TKind::Done) {
        SetStatusText(spMessage, HintPanelText(m_shell->Hint()));
        return;
    }
    if (step.kind != TLoadProgressStep::TKind::Show)
        return;
    SetStatusText(spMessage, step.text);
    if (!IsWindowVisible(Handle()) && m_firstShowCommand >= 0) {
        ShowWindow(Handle(), m_firstShowCommand);
        UpdateWindow(Handle());
    }
    UpdateWindow(m_statusBar);
    // Looking at the queue is what tells the system the window is not hung; nothing queued
    // is taken or dispatched in the middle of the load.
    MSG msg {};
    PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);
}

// Every temporary message comes through here: files opened, reloaded, printed, tools run.
void TWexlyMainForm::ShowStatus(const std::string& text)
{
    SetStatusText(spMessage, text);
    m_shell->StatusMessageStarted();
    SetTimer(Handle(), StatusTimerId, StatusTimerMs, nullptr);
    m_statusTimerRunning = true;
}

void TWexlyMainForm::CloseMainWindow()
{
    PostMessageW(Handle(), WM_CLOSE, 0, 0);
}

// ---- IFileCommandHost ---------------------------------------------------------------------

void TWexlyMainForm::RefreshDocumentBars()
{
    UpdateMenus();
    LayoutFileButtons();
    RebuildWindowMenu();
    RefreshTitles();
    Layout();
    m_docWindows->RefreshViews();
    EnsureViewFocus();
}

void TWexlyMainForm::RefreshTitles()
{
    SetTitleBar(0, UpdateTitle(m_set->TopFile()));
    SetTitleBar(1, UpdateTitle(m_set->BottomFile()));
}

void TWexlyMainForm::RestoreHintIfExpired()
{
    if (m_shell->TakeExpiredStatus())
        SetStatusText(spMessage, HintPanelText(m_shell->Hint()));
}

bool TWexlyMainForm::SendToRecycleBin(const std::string& path)
{
    // The shell wants a list ending in two NULs.
    std::wstring from = Utf8ToWide(path);
    from.push_back(L'\0');
    from.push_back(L'\0');
    SHFILEOPSTRUCTW op {};
    op.hwnd = Handle();
    op.wFunc = FO_DELETE;
    op.pFrom = from.c_str();
    op.fFlags = FOF_ALLOWUNDO | FOF_NOCONFIRMATION | FOF_SILENT | FOF_NOERRORUI;
    return SHFileOperationW(&op) == 0 && !op.fAnyOperationsAborted;
}

// ---- IPaneWindows -------------------------------------------------------------------------

void TWexlyMainForm::SplitChanged(bool splitOn, bool vertical)
{
    if (splitOn) {
        // Half of the whole area, whatever size the second pane had in an earlier split.
        const RECT area = PaneArea();
        m_splitSize = vertical ? (area.right - area.left) / 2 : (area.bottom - area.top) / 2;
    }
    ShowSplitMenu(splitOn);
    Layout();
}

void TWexlyMainForm::FocusTopTitleBar()
{
    // Not the main window itself: that hands the focus straight back to the focused document.
    SetFocus(m_titleButton[0]);
}

void TWexlyMainForm::EnsureViewFocus()
{
    HWND focus = GetFocus();
    if (focus && focus != Handle() && focus != m_titleButton[0])
        return;
    if (!IsWindowEnabled(Handle()) || GetForegroundWindow() != Handle())
        return;
    if (TEditFile* doc = m_set->FocusFile())
        if (TCellGridWindow* view = m_docWindows->ViewOf(*doc))
            SetFocus(view->Handle());
}

void TWexlyMainForm::ShowSplitMenu(bool splitOn)
{
    if (splitOn == !m_splitMenuShown)
        return;
    HMENU window = SubMenu(WindowMenuPos);
    if (splitOn) {
        // The submenu handle is kept: removing it does not destroy it.
        m_splitSubMenu = GetSubMenu(window, 0);
        RemoveMenu(window, 0, MF_BYPOSITION);
        InsertMenuW(
            window, 0, MF_BYPOSITION | MF_STRING, IDM_WINDOW_UNSPLIT, L"&unSplit Window\tAlt+F6");
    } else {
        DeleteMenu(window, 0, MF_BYPOSITION);
        InsertMenuW(window, 0, MF_BYPOSITION | MF_POPUP, reinterpret_cast<UINT_PTR>(m_splitSubMenu),
            L"&Split Window");
    }
    m_splitMenuShown = !splitOn;
}

void TWexlyMainForm::ViewKeyPress(TEditFile&, char ch)
{
    Guarded([&] { m_dictionary->EdKeyPress(m_set->FocusFile(), ch); });
}

void TWexlyMainForm::ViewUserCommand(TEditFile&, int command)
{
    // Run after the key that produced it has been handled.
    PostMessageW(Handle(), WM_APP_USERCOMMAND, static_cast<WPARAM>(command), 0);
}

void TWexlyMainForm::FileButtonClick(TEditFile& doc)
{
    m_set->SelectFile(doc);
    RefreshTitles();
    ReportFocusStatus();
}

void TWexlyMainForm::FileButtonPopup(TEditFile& doc, int tag)
{
    // Closing destroys the button whose menu is still unwinding: the work waits for the queue.
    PostMessageW(
        Handle(), WM_APP_BUTTONPOPUP, static_cast<WPARAM>(tag), reinterpret_cast<LPARAM>(&doc));
}

void TWexlyMainForm::RunButtonPopup(int tag, TEditFile* doc)
{
    // The document may have gone meanwhile.
    if (m_set->IndexOf(doc) < 0)
        return;
    Guarded([&] {
        if (tag == 0)
            m_commands->SaveDocument(*doc);
        else
            m_commands->CloseDocument(*doc);
    });
    RefreshDocumentBars();
    ReportFocusStatus();
}

void TWexlyMainForm::ViewError(const std::string& text)
{
    m_asker.Ask({ text, "Error", TMsgButtons::Ok, TMsgIcon::Error });
}

void TWexlyMainForm::PropagateSettings()
{
    ApplyFontsAndColours();
    RebuildDynamicMenus();
    Guarded([this] { m_set->ApplySettings(); });
    LayoutFileButtons();
    BuildToolBar();
    UpdateMenus();
    m_docWindows->RefreshViews();
}

void TWexlyMainForm::FileButtonDropped(TEditFile& doc, int x, int y)
{
    std::vector<TButtonRect> rects;
    RECT client {};
    GetClientRect(Handle(), &client);
    TFileButtonLayout layout = wexly::LayoutFileButtons(*m_set, client.right, true);
    const int to = FileButtonDropIndex(layout.buttons, x, y);
    const int from = m_set->IndexOf(&doc);
    if (to < 0 || from < 0)
        return;
    m_set->Move(from, to);
    LayoutFileButtons();
    RebuildWindowMenu();
}

// ---- Messages -----------------------------------------------------------------------------

LRESULT TWexlyMainForm::HandleMessage(UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_CREATE:
        CreateChildren();
        return 0;
    case WM_SIZE:
        return OnSize(wp);
    case WM_SETFOCUS:
        return OnSetFocus();
    case WM_COMMAND:
        OnCommand(LOWORD(wp), reinterpret_cast<HWND>(lp));
        return 0;
    case WM_NOTIFY:
        return OnStatusBarNotify(*reinterpret_cast<const NMHDR*>(lp)) ? 0 : Default(msg, wp, lp);
    case WM_CONTEXTMENU:
        return ShowEditPopup(reinterpret_cast<HWND>(wp), lp) ? 0 : Default(msg, wp, lp);
    case WM_MENUSELECT:
        OnMenuSelect(LOWORD(wp), HIWORD(wp), reinterpret_cast<HMENU>(lp));
        return 0;
    case WM_DRAWITEM:
        return OnDrawItem(msg, wp, lp);
    case WM_CTLCOLORSTATIC:
        return OnCtlColorStatic(msg, wp, lp);
    case WM_ACTIVATEAPP:
        OnActivateApp(wp != 0);
        return Default(msg, wp, lp);
    case WM_APP_ACTIVATED:
        return OnActivated();
    case WM_APP_USERCOMMAND:
        return OnUserCommand(static_cast<int>(wp));
    case WM_APP_BUTTONPOPUP:
        RunButtonPopup(static_cast<int>(wp), reinterpret_cast<TEditFile*>(lp));
        return 0;
    case WM_TIMER:
        return OnTimer(wp);
    case WM_DROPFILES:
        OnDropFiles(reinterpret_cast<HDROP>(wp));
        return 0;
    case WM_CLOSE:
        return OnClose();
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return msg == HandOverMessage ? OnHandOver(wp, lp) : Default(msg, wp, lp);
    }
}

LRESULT TWexlyMainForm::Default(UINT msg, WPARAM wp, LPARAM lp)
{
    return TWin32Window::HandleMessage(msg, wp, lp);
}

LRESULT TWexlyMainForm::OnSize(WPARAM kind)
{
    LayoutStatusBar(false);
    if (m_set && kind != SIZE_MINIMIZED) {
        LayoutFileButtons();
        Layout();
    }
    return 0;
}

LRESULT TWexlyMainForm::OnSetFocus()
{
    if (m_set && m_set->FocusFile())
        if (TCellGridWindow* view = m_docWindows->ViewOf(*m_set->FocusFile()))
            SetFocus(view->Handle());
    return 0;
}

LRESULT TWexlyMainForm::OnDrawItem(UINT msg, WPARAM wp, LPARAM lp)
{
    const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
    if (!item || item->hwndItem != m_statusBar)
        return Default(msg, wp, lp);
    DrawStatusPanel(*item);
    return TRUE;
}

// The title bars are drawn in the title colours.
LRESULT TWexlyMainForm::OnCtlColorStatic(UINT msg, WPARAM wp, LPARAM lp)
{
    HWND control = reinterpret_cast<HWND>(lp);
    const bool title = control == m_titleButton[0] || control == m_titleButton[1]
        || control == m_titleState[0] || control == m_titleState[1];
    if (!m_titleBrush || !title)
        return Default(msg, wp, lp);
    HDC dc = reinterpret_cast<HDC>(wp);
    SetTextColor(dc, m_titleText);
    SetBkMode(dc, TRANSPARENT);
    return reinterpret_cast<LRESULT>(m_titleBrush);
}

void TWexlyMainForm::OnActivateApp(bool active)
{
    if (!active)
        return;
    RefreshCapsPanel();
    PostMessageW(Handle(), WM_APP_ACTIVATED, 0, 0);
}

LRESULT TWexlyMainForm::OnActivated()
{
    Guarded([this] { m_shell->AppActivate(); });
    m_docWindows->RefreshViews();
    RefreshTitles();
    return 0;
}

LRESULT TWexlyMainForm::OnUserCommand(int command)
{
    Guarded([&] { m_shell->UserCommand(command); });
    RefreshTitles();
    ReportFocusStatus();
    return 0;
}

LRESULT TWexlyMainForm::OnTimer(WPARAM id)
{
    if (id == JournalTimerId) {
        // Not a message box every half second: a tick that fails is tried again at the next.
        try {
            m_recovery->Tick(*m_set);
        } catch (const std::exception&) {
        }
        if (const std::string failure = m_recovery->TakeFailure(); !failure.empty())
            ShowStatus(failure);
        return 0;
    }
    if (id == StatusTimerId) {
        KillTimer(Handle(), StatusTimerId);
        m_statusTimerRunning = false;
        if (m_shell->StatusTimerFired())
            SetStatusText(spMessage, HintPanelText(m_shell->Hint()));
    }
    return 0;
}

LRESULT TWexlyMainForm::OnClose()
{
    bool close = false;
    Guarded([&] { close = m_shell->CloseQuery(); });
    if (close)
        DestroyWindow(Handle());
    else
        RefreshDocumentBars();
    return 0;
}

void TWexlyMainForm::OnCommand(int id, HWND control)
{
    if (control) {
        for (int pane = 0; pane < 2; ++pane) {
            if (control == m_titleButton[pane])
                TitleButtonClick(pane);
            else if (control == m_titleClose[pane])
                CloseLabelClick(pane);
        }
        if (id < IDC_TOOLBUTTON || id >= IDC_TOOLBUTTON + kToolButtonCount)
            return;
        // Tool buttons post their command themselves.
        return;
    }
    Guarded([&] { RunCommand(id); });
    RefreshCapsPanel(); // the command may have run a dialog that took the key
    m_docWindows->RefreshViews();
    RefreshTitles();
    EnsureViewFocus();
    ReportFocusStatus();
}

LRESULT TWexlyMainForm::OnHandOver(WPARAM wp, LPARAM lp)
{
    std::string title;
    HWND sender = reinterpret_cast<HWND>(lp);
    if (wp == HandOverKey && IsWindow(sender)) {
        int length = GetWindowTextLengthW(sender);
        std::wstring wide(static_cast<size_t>(length) + 1, L'\0');
        length = GetWindowTextW(sender, wide.data(), length + 1);
        title = WideToUtf8(std::wstring_view(wide.data(), static_cast<size_t>(length)));
    }
    int result = 0;
    Guarded([&] { result = m_shell->HandOver(wp, title); });
    m_docWindows->RefreshViews();
    RefreshTitles();
    return result;
}

} // namespace wexly::win32
