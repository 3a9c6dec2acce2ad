#include "WexlyMainForm.h"

#include "WexlyApp.h"
#include "app/HandOver.h"
#include "art/ArtIds.h"
#include "config/SettingsFile.h"
#include "controls/ZulGdiCanvas.h"
#include "dialogs/DicChooseDialog.h"
#include "dialogs/DicMaintDialog.h"
#include "dialogs/ToolListDialog.h"
#include "dialogs/WindowListDialog.h"
#include "editor/DefaultCommandTables.h"
#include "main/GdiSettings.h"
#include "main/HelpPages.h"
#include "piles/PileCommands.h"
#include "platform/win32/WinStrings.h"
#include "print/PrintCommands.h"

#include "MenuIds.h"
#include "Version.h"

#include <commctrl.h>
#include <shellapi.h>
#include <windowsx.h>

#include <algorithm>
#include <cstdlib>
#include <exception>
#include <utility>
#include <vector>

namespace wexly::win32 {

namespace {

// WM_APP + 1 is the hand-over message.
constexpr UINT WM_APP_ACTIVATED = WM_APP + 10; // the reload check runs after activation settles
constexpr UINT WM_APP_USERCOMMAND = WM_APP + 11;
constexpr UINT WM_APP_BUTTONPOPUP = WM_APP + 12; // wParam: the item's tag, lParam: the document
constexpr UINT_PTR StatusTimerId = 1;
constexpr UINT StatusTimerMs = 10000;
constexpr int IDC_TITLE_STATE = 3000; // + pane
constexpr int IDC_TITLE_BUTTON = 3002;
constexpr int IDC_TITLE_CLOSE = 3004;
constexpr int IDC_TOOLBUTTON = 5000; // + code
constexpr int IDM_DROP_TEXT = 6001;
constexpr int IDM_DROP_BINARY = 6002;
constexpr int FileMenuPos = 0;
constexpr int EditMenuPos = 1;
constexpr int ToolsMenuPos = 3;
constexpr int MacrosSubMenuPos = 4; // in the Tools menu
constexpr int PilesMenuPos = 4;
constexpr int WindowMenuPos = 6;
constexpr int StatusTextMargin = 3; // left of the text inside its panel

// The command each toolbar code stands for.
constexpr int ToolCommands[kToolButtonCount]
    = { IDM_FILE_NEW, IDM_FILE_OPENTEXT, IDM_FILE_OPENBINARY, IDM_FILE_REOPEN, IDM_FILE_REVERT,
          IDM_FILE_SAVE, IDM_FILE_SAVEAS, IDM_FILE_SAVECOPYAS, IDM_FILE_SAVEALL, IDM_FILE_PRINT,
          IDM_FILE_CLOSE, IDM_FILE_CLOSEALL, IDM_EDIT_UNDO, IDM_EDIT_REDO, IDM_EDIT_CUT,
          IDM_EDIT_COPY, IDM_EDIT_PASTE, IDM_EDIT_SELECTALL, IDM_SEARCH_FIND, IDM_SEARCH_REPEAT,
          IDM_SEARCH_REPLACE, IDM_SEARCH_GOTOLINE, IDM_TOOLS_STATISTICS, IDM_WINDOW_HORIZONTAL,
          IDM_WINDOW_SYNCPANES, IDM_WINDOW_HIDEBARS, IDM_WINDOW_PREVFILE, IDM_WINDOW_NEXTFILE,
          IDM_WINDOW_LIST, IDM_OPTIONS_SETTINGS, IDM_HELP_CONTENTS, IDM_HELP_ABOUT, IDM_FILE_EXIT };

// Commands whose windows other parts of the program provide and that are not here yet; their
// items and buttons stay disabled.
bool CommandBuilt(int id)
{
    switch (id) {
    default:
        return true;
    }
}

std::wstring ExePath()
{
    std::vector<wchar_t> buffer(MAX_PATH);
    while (true) {
        DWORD length
            = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length < buffer.size())
            return std::wstring(buffer.data(), length);
        buffer.resize(buffer.size() * 2);
    }
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

template <typename F> void TWexlyMainForm::Guarded(F&& work)
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
    ShowWindow(Handle(), showCommand);
    UpdateWindow(Handle());
    if (m_shownOnce)
        return;
    m_shownOnce = true;
    m_shell->SetStart(m_app.StartDir(), m_app.CmdLine());
    Guarded([this] { m_shell->FirstShow(); });
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
    wp.showCmd = placement.state == 2 ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL;
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

void TWexlyMainForm::SetDictionaryMenu(const std::string& caption, bool active)
{
    HMENU menu = GetMenu(Handle());
    std::wstring text = Utf8ToWide(caption);
    ModifyMenuW(menu, IDM_DIC_CURRENT, MF_BYCOMMAND | MF_STRING, IDM_DIC_CURRENT, text.c_str());
    CheckMenuItem(menu, IDM_DIC_ACTIVE, MF_BYCOMMAND | (active ? MF_CHECKED : 0));
}

void TWexlyMainForm::LoadDictionary()
{
    Guarded([this] { m_dictionary->StartUp(); });
}

void TWexlyMainForm::ShowDictionaryMenu()
{
    SetDictionaryMenu(DictionaryMenuCaption(Settings.LastDic), Settings.DicOn);
}

void TWexlyMainForm::ChooseDictionary()
{
    TDicChooseModel model;
    TDicChooseDialog dialog(Handle(), Settings, m_dialogs);
    if (dialog.ShowModal(model))
        Guarded([&] { model.Confirm(*m_dictionary); });
    ShowDictionaryMenu();
}

void TWexlyMainForm::BuildBarsAndMenus()
{
    BuildToolBar();
    RefreshDocumentBars();
    RebuildReopenMenu();
    RebuildDynamicMenus();
}

// ---- Piles, macros and external tools -----------------------------------------------------

void TWexlyMainForm::RebuildDynamicMenus()
{
    // Piles: "&Stick in Main Pile" and its separator stay.
    HMENU piles = SubMenu(PilesMenuPos);
    m_dynamic.Clear(piles, 2);
    m_dynamic.Insert(piles, -1, BuildPileMenu(Settings.Piles, Settings.PileFiles, kMainPileId));

    HMENU tools = SubMenu(ToolsMenuPos);
    HMENU macros = GetSubMenu(tools, MacrosSubMenuPos);
    m_dynamic.Clear(macros, 0);
    m_dynamic.Insert(macros, -1, RebuildMacrosMenu(Settings.Macros));

    // The tool entries sit between the last separator and "List...".
    const int listPos = GetMenuItemCount(tools) - 1;
    int separator = listPos - 1;
    while (separator >= 0
        && !(GetMenuState(tools, static_cast<UINT>(separator), MF_BYPOSITION) & MF_SEPARATOR))
        --separator;
    m_dynamic.Clear(tools, separator + 1, listPos);
    m_dynamic.Insert(tools, separator + 1, RebuildToolsMenu(Settings.Tools));
    m_appliedMenus.reset();
    DrawMenuBar(Handle());
}

void TWexlyMainForm::RunDynamicCommand(const TDynamicCommand& command)
{
    switch (command.action) {
    case TMenuAction::AddToPile:
        if (AddtoPileClick(command.tag, *m_set, Settings, m_asker))
            RebuildDynamicMenus();
        break;
    case TMenuAction::OpenPileFile:
        PileFileClick(command.caption, command.tag, m_services->fs, m_asker,
            [this](const std::string& path, bool binary) {
                std::string line = binary ? "/B \"" + path + "\"" : "\"" + path + "\"";
                m_commands->OpenCommandLine(m_commands->StartDir(), line);
            });
        RefreshDocumentBars();
        break;
    case TMenuAction::PlayMacro:
        PlayMacro(command.tag);
        break;
    case TMenuAction::RunTool:
        m_toolRunner->Run(Settings.Tools, command.tag);
        break;
    case TMenuAction::None:
        break;
    }
}

void TWexlyMainForm::PlayMacro(int number)
{
    if (m_macroPlayer->MacroClick(number, m_set->FocusFile()))
        m_docWindows->RefreshViews();
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

void TWexlyMainForm::ShowStatus(const std::string& text)
{
    SetStatusText(spMessage, text);
    SetTimer(Handle(), StatusTimerId, StatusTimerMs, nullptr);
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
        RECT area {};
        GetClientRect(Handle(), &area);
        RECT top = PaneRect(false);
        // Half of the area the panes share, title bars included.
        const int titleHeight = HasDocuments() ? TitleBarHeight() : 0;
        m_splitSize
            = vertical ? (top.right - top.left) / 2 : (top.bottom - top.top + titleHeight) / 2;
    }
    ShowSplitMenu(splitOn);
    (void)vertical;
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

// ---- layout -------------------------------------------------------------------------------

void TWexlyMainForm::CreateChildren()
{
    m_toolBar.Create(Handle(), GetSysColor(COLOR_BTNFACE));
    m_fileBar.Create(Handle(), GetSysColor(COLOR_BTNFACE));
    m_fileBar.OnDragOver = [](HWND source, int, int) { return IsFileButton(source); };
    m_fileBar.OnDragDrop = [this](HWND source, int x, int y) {
        if (TEditFile* doc = m_docWindows->DocumentOfButton(source))
            FileButtonDropped(*doc, x, y);
    };
    HINSTANCE instance = GetModuleHandleW(nullptr);
    m_splitter = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | SS_BLACKRECT, 0, 0, 0, 0, Handle(),
        nullptr, instance, nullptr);
    for (int pane = 0; pane < 2; ++pane) {
        m_titleState[pane]
            = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | SS_CENTER | SS_CENTERIMAGE, 0, 0, 0, 0,
                Handle(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_TITLE_STATE + pane)),
                instance, nullptr);
        m_titleButton[pane] = CreateWindowExW(0, L"STATIC", L"",
            WS_CHILD | SS_NOTIFY | SS_CENTERIMAGE | SS_PATHELLIPSIS | SS_NOPREFIX, 0, 0, 0, 0,
            Handle(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_TITLE_BUTTON + pane)),
            instance, nullptr);
        m_titleClose[pane]
            = CreateWindowExW(0, L"BUTTON", L"X", WS_CHILD | BS_PUSHBUTTON | BS_FLAT, 0, 0, 0, 0,
                Handle(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_TITLE_CLOSE + pane)),
                instance, nullptr);
    }
    SetWindowSubclass(m_titleButton[1], TitleDragProc, 0, reinterpret_cast<DWORD_PTR>(this));
    CreateStatusBar();
}

// The second pane's title resizes a horizontal split when dragged.
LRESULT CALLBACK TWexlyMainForm::TitleDragProc(
    HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR data)
{
    auto* form = reinterpret_cast<TWexlyMainForm*>(data);
    if (form->m_set && form->m_set->SplitOn() && !form->m_set->SplitVertical()) {
        POINT pt { static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp)) };
        MapWindowPoints(hwnd, form->Handle(), &pt, 1);
        const int areaTop = form->PaneRect(false).top - form->TitleBarHeight();
        switch (msg) {
        case WM_LBUTTONDOWN:
            form->m_titleDrag.Press(pt.y - areaTop);
            break;
        case WM_MOUSEMOVE: {
            const RECT bottom = form->PaneRect(true);
            int top = bottom.top - form->TitleBarHeight() - areaTop;
            int height = form->m_splitSize;
            if (form->m_titleDrag.Move(pt.y - areaTop, top, height)) {
                if (GetCapture() != hwnd)
                    SetCapture(hwnd);
                if (height != form->m_splitSize) {
                    form->m_splitSize = height;
                    form->Layout();
                }
                return 0;
            }
            break;
        }
        case WM_LBUTTONUP:
            if (form->m_titleDrag.Dragging()) {
                form->m_titleDrag.Release();
                ReleaseCapture();
                return 0;
            }
            form->m_titleDrag.Release();
            break;
        default:
            break;
        }
    }
    if (msg == WM_NCDESTROY)
        RemoveWindowSubclass(hwnd, TitleDragProc, 0);
    return DefSubclassProc(hwnd, msg, wp, lp);
}

int TWexlyMainForm::TitleBarHeight() const
{
    LOGFONTW lf {};
    if (m_titleFont)
        GetObjectW(m_titleFont, sizeof(lf), &lf);
    else
        lf.lfHeight = -11;
    return std::abs(lf.lfHeight) + 6;
}

RECT TWexlyMainForm::PaneRect(bool bottom)
{
    RECT client {};
    GetClientRect(Handle(), &client);
    int top = 0;
    if (!m_barsHidden) {
        if (m_toolLayout.visible)
            top += m_toolLayout.height;
        if (m_fileBarVisible)
            top += m_fileBarHeight;
    }
    int bottomEdge = client.bottom;
    if (m_statusBar) {
        RECT sb {};
        GetWindowRect(m_statusBar, &sb);
        bottomEdge -= sb.bottom - sb.top;
    }
    RECT area { 0, top, client.right, std::max<LONG>(top, bottomEdge) };
    const int title = HasDocuments() ? TitleBarHeight() : 0;
    const bool split = m_set->SplitOn();
    const bool vertical = m_set->SplitVertical();
    RECT topPane = area;
    RECT bottomPane = area;
    if (split) {
        // A window made smaller than the second pane leaves the first pane a sliver.
        if (vertical) {
            const int size
                = std::clamp<int>(m_splitSize, 0, std::max<int>(0, area.right - area.left - 2));
            topPane.right = area.right - size - 2;
            bottomPane.left = area.right - size;
        } else {
            const int size
                = std::clamp<int>(m_splitSize, 0, std::max<int>(0, area.bottom - area.top));
            topPane.bottom = area.bottom - size;
            bottomPane.top = topPane.bottom;
        }
    }
    RECT r = bottom ? bottomPane : topPane;
    r.top = std::min<LONG>(r.bottom, r.top + title);
    return r;
}

void TWexlyMainForm::Layout()
{
    if (!m_statusBar || !m_set)
        return;
    RECT client {};
    GetClientRect(Handle(), &client);
    const int width = client.right;
    SendMessageW(m_statusBar, WM_SIZE, 0, 0);
    int y = 0;
    const bool toolShown = !m_barsHidden && m_toolLayout.visible;
    SetWindowPos(m_toolBar.Handle(), nullptr, 0, y, width, m_toolLayout.height,
        SWP_NOZORDER | (toolShown ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
    if (toolShown)
        y += m_toolLayout.height;
    const bool barShown = !m_barsHidden && m_fileBarVisible;
    SetWindowPos(m_fileBar.Handle(), nullptr, 0, y, width, m_fileBarHeight,
        SWP_NOZORDER | (barShown ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));

    const bool docs = HasDocuments();
    const bool split = m_set->SplitOn();
    const int th = TitleBarHeight();
    for (int pane = 0; pane < 2; ++pane) {
        const bool shown = docs && (pane == 0 || split);
        RECT view = PaneRect(pane == 1);
        const int top = view.top - th;
        const int w = view.right - view.left;
        const UINT flags = SWP_NOZORDER | (shown ? SWP_SHOWWINDOW : SWP_HIDEWINDOW);
        SetWindowPos(m_titleState[pane], nullptr, view.left, top, th, th, flags);
        SetWindowPos(
            m_titleButton[pane], nullptr, view.left + th, top, std::max(0, w - 2 * th), th, flags);
        SetWindowPos(m_titleClose[pane], nullptr, view.right - th, top, th, th, flags);
    }
    if (split && m_set->SplitVertical()) {
        RECT bottomView = PaneRect(true);
        SetWindowPos(m_splitter, nullptr, bottomView.left - 2, bottomView.top - th, 2,
            bottomView.bottom - bottomView.top + th, SWP_NOZORDER | SWP_SHOWWINDOW);
    } else {
        ShowWindow(m_splitter, SW_HIDE);
    }
    if (TEditFile* top = m_set->TopFile())
        m_docWindows->PlaceView(*top, true);
    if (TEditFile* bottom = m_set->BottomView())
        m_docWindows->PlaceView(*bottom, split);
    InvalidateRect(Handle(), nullptr, TRUE);
}

void TWexlyMainForm::LayoutFileButtons()
{
    RECT client {};
    GetClientRect(Handle(), &client);
    TFileButtonLayout layout
        = wexly::LayoutFileButtons(*m_set, client.right, Settings.ShowFileButtons);
    for (int i = 0; i < m_set->Count(); ++i) {
        const TButtonRect& r = layout.buttons[static_cast<size_t>(i)];
        m_docWindows->PlaceButton(m_set->At(i), r.left, r.top, r.width, r.height);
    }
    const bool changed = layout.barHeight != m_fileBarHeight || layout.visible != m_fileBarVisible;
    m_fileBarHeight = layout.barHeight;
    m_fileBarVisible = layout.visible;
    if (changed)
        Layout();
    InvalidateRect(m_fileBar.Handle(), nullptr, TRUE);
}

void TWexlyMainForm::BuildToolBar()
{
    m_toolButtons.clear();
    for (HWND gap : m_toolGaps)
        DestroyWindow(gap);
    m_toolGaps.clear();
    m_toolLayout = wexly::BuildToolBar(Settings.ToolBarLayout, Settings.ShowToolBar);
    if (m_toolLayout.visible) {
        TBitmapImage strip = LoadBitmapImage(IDB_TOOLBAR);
        for (const TToolBarItem& item : m_toolLayout.items) {
            if (item.code == kToolBarGap) {
                HWND gap = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_ETCHEDVERT,
                    item.left, item.top, item.width, item.height, m_toolBar.Handle(), nullptr,
                    GetModuleHandleW(nullptr), nullptr);
                m_toolGaps.push_back(gap);
                continue;
            }
            auto button = std::make_unique<TZulSpeed>();
            button->Create(m_toolBar.Handle(), IDC_TOOLBUTTON + item.code, item.left, item.top,
                item.width, item.height);
            if (strip.width > 0)
                button->SetGlyph(StripPicture(strip, item.code, ART_TOOLBAR_WIDTH));
            button->SetHint(Utf8ToWide(item.hint));
            button->SetTag(item.tag);
            button->SetDepth(Settings.FlatButtons ? 0 : 1);
            const int code = item.code;
            button->OnClick = [this, code] {
                PostMessageW(Handle(), WM_COMMAND, static_cast<WPARAM>(ToolCommands[code]), 0);
            };
            m_toolButtons.push_back(std::move(button));
        }
    }
    m_shell->ResetEditStateCache();
    m_appliedMenus.reset(); // the new buttons start enabled
    Layout();
}

// ---- menus --------------------------------------------------------------------------------

HMENU TWexlyMainForm::SubMenu(int position) const
{
    return GetSubMenu(GetMenu(Handle()), position);
}

void TWexlyMainForm::UpdateMenus()
{
    ApplyMenuState(m_shell->UpdateMenus());
    if (m_set->Empty()) {
        SetStatusText(spLine, StatusNumberText(0));
        SetStatusText(spColumn, StatusNumberText(0));
    }
}

void TWexlyMainForm::ApplyMenuState(const TMenuState& state)
{
    TAppliedMenus applied { state, m_shell->SyncPanes(), m_barsHidden };
    if (m_appliedMenus == applied)
        return;
    m_appliedMenus = applied;
    ShowCloseDelete(state.closeDeleteVisible);
    HMENU menu = GetMenu(Handle());
    auto enable = [menu](int id, bool on) {
        const bool built = CommandBuilt(id);
        EnableMenuItem(
            menu, static_cast<UINT>(id), MF_BYCOMMAND | (on && built ? MF_ENABLED : MF_GRAYED));
    };
    const auto& e = state.enabled;
    for (int id : { IDM_FILE_NEW, IDM_FILE_OPENTEXT, IDM_FILE_OPENBINARY, IDM_FILE_REOPEN,
             IDM_FILE_EXIT, IDM_OPTIONS_WORDWRAP, IDM_OPTIONS_HEXMASK, IDM_HELP_CONTENTS,
             IDM_HELP_ABOUT, IDM_OPTIONS_SETTINGS, IDM_SEARCH_FIND, IDM_DIC_CURRENT, IDM_DIC_ACTIVE,
             IDM_DIC_MAINTAIN, IDM_PILES_STICK, IDM_FILE_PRINTSETUP })
        enable(id, true);
    enable(IDM_FILE_REVERT, e[miRevert]);
    enable(IDM_FILE_SAVE, e[miSave]);
    enable(IDM_FILE_SAVEAS, e[miSaveAs]);
    enable(IDM_FILE_SAVECOPYAS, e[miSaveCopyAs]);
    enable(IDM_FILE_SAVEALL, e[miSaveAll]);
    enable(IDM_FILE_PRINT, e[miPrint]);
    enable(IDM_FILE_PREVIEW, e[miPreview]);
    enable(IDM_FILE_CLOSE, e[miClose]);
    enable(IDM_FILE_CLOSEDELETE, e[miCloseDelete]);
    enable(IDM_FILE_CLOSEALL, e[miCloseAll]);
    EnableMenuItem(menu, EditMenuPos, MF_BYPOSITION | (e[miEditMenu] ? MF_ENABLED : MF_GRAYED));
    enable(IDM_EDIT_UNDO, e[miUndo]);
    enable(IDM_EDIT_REDO, e[miRedo]);
    enable(IDM_EDIT_CUT, e[miCut]);
    enable(IDM_EDIT_COPY, e[miCopy]);
    enable(IDM_EDIT_PASTE, e[miPaste]);
    enable(IDM_EDIT_CLEAR, e[miClear]);
    enable(IDM_EDIT_SELECTALL, e[miEditMenu]);
    enable(IDM_SEARCH_REPEAT, e[miRepeatFind]);
    enable(IDM_SEARCH_REPLACE, e[miReplace]);
    enable(IDM_SEARCH_GOTOLINE, e[miGotoLine]);
    enable(IDM_SEARCH_NEXTDIFFWORD, e[miNextDiffWord]);
    enable(IDM_TOOLS_STATISTICS, e[miStatistics]);
    enable(IDM_TOOLS_LIST, true); // the list window needs no document
    EnableMenuItem(SubMenu(ToolsMenuPos), MacrosSubMenuPos,
        MF_BYPOSITION | (e[miMacros] ? MF_ENABLED : MF_GRAYED));
    for (int id : { IDM_JUSTIFY_LEFT, IDM_JUSTIFY_CENTRE, IDM_JUSTIFY_RIGHT, IDM_JUSTIFY_INDENT,
             IDM_JUSTIFY_UNINDENT })
        enable(id, e[miJustify]);
    for (int id : { IDM_WINDOW_HORIZONTAL, IDM_WINDOW_VERTICAL, IDM_WINDOW_UNSPLIT,
             IDM_WINDOW_SORTPATH, IDM_WINDOW_SORTNAME, IDM_WINDOW_SORTEXT })
        enable(id, e[miWindowMenu]);
    enable(IDM_WINDOW_SWITCHPANES, e[miSwitchPanes]);
    enable(IDM_WINDOW_SYNCPANES, e[miSyncPanes]);
    enable(IDM_WINDOW_HIDEBARS, e[miHideBars]);
    enable(IDM_WINDOW_PREVFILE, e[miPrevFile]);
    enable(IDM_WINDOW_NEXTFILE, e[miNextFile]);
    enable(IDM_WINDOW_LIST, e[miWindowList]);
    enable(IDM_WINDOWLIST_BAR, e[miWindowList]);
    for (auto& button : m_toolButtons) {
        const int code = GetDlgCtrlID(button->Handle()) - IDC_TOOLBUTTON;
        if (code >= 0 && code < kToolButtonCount)
            EnableWindow(button->Handle(),
                state.toolEnabled[static_cast<size_t>(code)] && CommandBuilt(ToolCommands[code]));
    }
    CheckMenuItem(
        menu, IDM_WINDOW_SYNCPANES, MF_BYCOMMAND | (m_shell->SyncPanes() ? MF_CHECKED : 0));
    CheckMenuItem(menu, IDM_WINDOW_HIDEBARS, MF_BYCOMMAND | (m_barsHidden ? MF_CHECKED : 0));
    DrawMenuBar(Handle());
}

void TWexlyMainForm::ShowCloseDelete(bool visible)
{
    if (visible == m_closeDeleteShown)
        return;
    HMENU file = SubMenu(FileMenuPos);
    if (!visible) {
        // The item goes with the separator above it.
        for (int i = 0; i < GetMenuItemCount(file); ++i)
            if (GetMenuItemID(file, i) == IDM_FILE_CLOSEDELETE) {
                DeleteMenu(file, static_cast<UINT>(i), MF_BYPOSITION);
                DeleteMenu(file, static_cast<UINT>(i - 1), MF_BYPOSITION);
                break;
            }
    } else {
        for (int i = 0; i < GetMenuItemCount(file); ++i)
            if (GetMenuItemID(file, i) == IDM_FILE_CLOSEALL) {
                InsertMenuW(
                    file, static_cast<UINT>(i + 1), MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
                InsertMenuW(file, static_cast<UINT>(i + 2), MF_BYPOSITION | MF_STRING,
                    IDM_FILE_CLOSEDELETE, L"Close && &Delete");
                break;
            }
    }
    m_closeDeleteShown = visible;
}

void TWexlyMainForm::RebuildWindowMenu()
{
    HMENU window = SubMenu(WindowMenuPos);
    // The document entries sit between the last separator and "&Window List...".
    int listPos = GetMenuItemCount(window) - 1;
    int separator = listPos - 1;
    while (separator >= 0
        && !(GetMenuState(window, static_cast<UINT>(separator), MF_BYPOSITION) & MF_SEPARATOR))
        --separator;
    for (int i = listPos - 1; i > separator; --i)
        DeleteMenu(window, static_cast<UINT>(i), MF_BYPOSITION);
    std::vector<TWindowMenuEntry> entries = WindowMenuEntries(*m_set);
    for (size_t i = 0; i < entries.size(); ++i) {
        m_menuHints[static_cast<UINT>(IDM_WINDOW_FILE_FIRST + i)] = entries[i].hint;
        std::wstring caption = Utf8ToWide(entries[i].caption + "\t" + entries[i].shortcut);
        InsertMenuW(window, static_cast<UINT>(separator + 1 + static_cast<int>(i)),
            MF_BYPOSITION | MF_STRING, IDM_WINDOW_FILE_FIRST + i, caption.c_str());
    }
}

void TWexlyMainForm::RebuildReopenMenu()
{
    HMENU file = SubMenu(FileMenuPos);
    // Between the separator before "E&xit" and "E&xit": the entries and the separator under
    // them. Everything there is rebuilt.
    const int exitPos = GetMenuItemCount(file) - 1;
    int pre = exitPos - 1;
    while (pre >= 0 && GetMenuItemID(file, pre) != static_cast<UINT>(-1)
        && !(GetMenuState(file, static_cast<UINT>(pre), MF_BYPOSITION) & MF_SEPARATOR))
        --pre;
    // The first separator met going up could be the post-reopen one.
    int scan = pre - 1;
    while (scan >= 0) {
        const UINT id = GetMenuItemID(file, scan);
        if (id >= IDM_FILE_HISTORY_FIRST && id < IDM_FILE_HISTORY_FIRST + 4) {
            --scan;
            continue;
        }
        if ((GetMenuState(file, static_cast<UINT>(scan), MF_BYPOSITION) & MF_SEPARATOR)
            && scan + 1 < pre && GetMenuItemID(file, scan + 1) >= IDM_FILE_HISTORY_FIRST
            && GetMenuItemID(file, scan + 1) < IDM_FILE_HISTORY_FIRST + 4)
            pre = scan;
        break;
    }
    for (int i = exitPos - 1; i > pre; --i)
        DeleteMenu(file, static_cast<UINT>(i), MF_BYPOSITION);
    TReopenMenu reopen = wexly::RebuildReopenMenu(Settings.FileHistory);
    UINT pos = static_cast<UINT>(pre + 1);
    for (size_t i = 0; i < reopen.entries.size(); ++i) {
        m_menuHints[static_cast<UINT>(IDM_FILE_HISTORY_FIRST + i)] = reopen.entries[i].hint;
        std::wstring caption = Utf8ToWide(reopen.entries[i].caption);
        InsertMenuW(
            file, pos++, MF_BYPOSITION | MF_STRING, IDM_FILE_HISTORY_FIRST + i, caption.c_str());
    }
    if (reopen.postSeparatorVisible)
        InsertMenuW(file, pos, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
}

// ---- Status bar ---------------------------------------------------------------------------

void TWexlyMainForm::CreateStatusBar()
{
    NONCLIENTMETRICSW metrics {};
    metrics.cbSize = sizeof(metrics);
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
    m_statusFont = CreateFontIndirectW(&metrics.lfStatusFont);
    m_statusBar = CreateWindowExW(0, STATUSCLASSNAMEW, L"", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0,
        Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
    SendMessageW(m_statusBar, WM_SETFONT, reinterpret_cast<WPARAM>(m_statusFont), FALSE);
    SetWindowSubclass(m_statusBar, StatusBarProc, 0, reinterpret_cast<DWORD_PTR>(this));
    m_statusTextColour = GetSysColor(COLOR_BTNTEXT);
    m_statusBackColour = GetSysColor(COLOR_BTNFACE);
    LayoutStatusBar(true);
}

LRESULT CALLBACK TWexlyMainForm::StatusBarProc(
    HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR self)
{
    const auto* form = reinterpret_cast<const TWexlyMainForm*>(self);
    switch (msg) {
    case SB_GETTEXTW:
    case SB_GETTEXTLENGTHW: {
        // Owner-drawn parts keep no text of their own: answer from ours, as a plain bar would.
        const size_t part = LOWORD(wp);
        if (part >= form->m_statusTexts.size())
            return 0;
        const std::wstring text = Utf8ToWide(form->m_statusTexts[part]);
        if (msg == SB_GETTEXTW && lp)
            lstrcpyW(reinterpret_cast<wchar_t*>(lp), text.c_str());
        return static_cast<LRESULT>(MAKELONG(text.size(), SBT_OWNERDRAW));
    }
    case WM_NCDESTROY:
        RemoveWindowSubclass(hwnd, StatusBarProc, 0);
        break;
    default:
        break;
    }
    return DefSubclassProc(hwnd, msg, wp, lp);
}

void TWexlyMainForm::DrawStatusPanel(const DRAWITEMSTRUCT& item)
{
    const size_t part = item.itemID;
    if (part >= m_statusTexts.size())
        return;
    HDC dc = item.hDC;
    HBRUSH back = CreateSolidBrush(m_statusBackColour);
    FillRect(dc, &item.rcItem, back);
    DeleteObject(back);
    HGDIOBJ oldFont = SelectObject(dc, m_statusFont);
    SetTextColor(dc, m_statusTextColour);
    SetBkMode(dc, TRANSPARENT);
    RECT text = item.rcItem;
    text.left += StatusTextMargin;
    std::wstring wide = Utf8ToWide(m_statusTexts[part]);
    DrawTextW(dc, wide.c_str(), static_cast<int>(wide.size()), &text,
        DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    SelectObject(dc, oldFont);
}

void TWexlyMainForm::LayoutStatusBar(bool remeasure)
{
    if (!m_statusBar)
        return;
    if (remeasure) {
        HDC dc = GetDC(m_statusBar);
        HGDIOBJ old = SelectObject(dc, m_statusFont);
        auto extent = [dc](const std::string& text) {
            std::wstring wide = Utf8ToWide(text);
            SIZE size {};
            GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &size);
            return size;
        };
        m_statusWidths.bar = extent("|").cy;
        m_statusWidths.caps = extent("Caps").cx;
        m_statusWidths.ovr = extent("Ovr").cx;
        m_statusWidths.line = extent(m_statusTexts[spLine]).cx;
        m_statusWidths.column = extent(m_statusTexts[spColumn]).cx;
        SelectObject(dc, old);
        ReleaseDC(m_statusBar, dc);
    }
    RECT client {};
    GetClientRect(Handle(), &client);
    TStatusBarLayout layout = wexly::LayoutStatusBar(client.right - client.left, m_statusWidths);
    SendMessageW(m_statusBar, SB_SETMINHEIGHT, static_cast<WPARAM>(layout.panelHeight), 0);
    SendMessageW(m_statusBar, WM_SIZE, 0, 0);
    int rights[5];
    for (size_t i = 0; i < 5; ++i)
        rights[i] = layout.panels[i].Right();
    SendMessageW(m_statusBar, SB_SETPARTS, 5, reinterpret_cast<LPARAM>(rights));
    for (size_t i = 0; i < 5; ++i)
        SendMessageW(m_statusBar, SB_SETTEXTW, i | SBT_OWNERDRAW, static_cast<LPARAM>(i));
}

void TWexlyMainForm::SetStatusText(TStatusPanel panel, const std::string& text)
{
    std::string& current = m_statusTexts[static_cast<size_t>(panel)];
    if (current == text)
        return;
    const bool widthMayChange
        = (panel == spLine || panel == spColumn) && text.size() != current.size();
    current = text;
    if (widthMayChange) {
        LayoutStatusBar(true);
        return;
    }
    // Setting the part again repaints it; the text comes from m_statusTexts when it is drawn.
    SendMessageW(m_statusBar, SB_SETTEXTW, static_cast<WPARAM>(panel) | SBT_OWNERDRAW,
        static_cast<LPARAM>(panel));
}

// ---- Hints --------------------------------------------------------------------------------

void TWexlyMainForm::SetApplicationHint(const std::string& longHint)
{
    if (m_shell && m_shell->SetHint(longHint))
        SetStatusText(spMessage, HintPanelText(longHint));
}

void TWexlyMainForm::OnMenuSelect(UINT item, UINT flags, HMENU menu)
{
    if (flags == 0xFFFF && !menu) { // the menu closed
        SetApplicationHint("");
        return;
    }
    if (flags & MF_POPUP)
        SetApplicationHint(PopupHint(GetSubMenu(menu, static_cast<int>(item))));
    else if (flags & MF_SEPARATOR)
        SetApplicationHint("");
    else
        SetApplicationHint(LongHint(MenuHint(item)));
}

std::string TWexlyMainForm::MenuHint(UINT id) const
{
    if (m_dynamic.Find(id))
        return m_dynamic.Hint(id);
    if (auto built = m_menuHints.find(id); built != m_menuHints.end())
        return built->second;
    const wchar_t* text = nullptr;
    const int length
        = LoadStringW(GetModuleHandleW(nullptr), id, reinterpret_cast<wchar_t*>(&text), 0);
    return length > 0 && text ? WideToUtf8(std::wstring(text, static_cast<size_t>(length)))
                              : std::string();
}

std::string TWexlyMainForm::PopupHint(HMENU popup) const
{
    HMENU tools = SubMenu(ToolsMenuPos);
    if (!popup || !tools)
        return {};
    if (std::string built = m_dynamic.PopupHint(popup); !built.empty())
        return built;
    if (popup == GetSubMenu(tools, 0))
        return "Set justification for text (Wont work when wordwrap is on)";
    if (popup == GetSubMenu(tools, 3))
        return "Lists of words to auto-replace";
    if (popup == GetSubMenu(tools, 4))
        return "Preset sequences of commands";
    return {};
}

void TWexlyMainForm::RefreshCapsPanel()
{
    SetStatusText(spCaps, (GetKeyState(VK_CAPITAL) & 1) ? "Caps" : "");
}

bool TWexlyMainForm::PreviewKey(const MSG& msg)
{
    if (msg.message != WM_KEYDOWN && msg.message != WM_KEYUP)
        return false;
    if (msg.wParam == VK_CAPITAL) {
        RefreshCapsPanel();
    } else if (msg.wParam == VK_INSERT && msg.message == WM_KEYDOWN && !HasDocuments()) {
        m_insertMode = !m_insertMode;
        SetStatusText(spInsOvr, m_insertMode ? "Ins" : "Ovr");
    } else if (msg.message == WM_KEYDOWN && msg.wParam >= VK_F1 && msg.wParam <= VK_F12) {
        // Shift+F1..F12 are the shortcuts of the macro items that exist.
        const uint8_t shift = static_cast<uint8_t>((GetKeyState(VK_SHIFT) < 0 ? 2 : 0)
            | (GetKeyState(VK_CONTROL) < 0 ? 4 : 0) | (GetKeyState(VK_MENU) < 0 ? 8 : 0));
        const int number = MacroNumberForKey(static_cast<uint8_t>(msg.wParam), shift);
        if (number > 0 && m_set->FocusFile() && !StoredMacroText(Settings.Macros, number).empty()) {
            Guarded([&] { PlayMacro(number); });
            ReportFocusStatus();
            return true;
        }
    }
    return false;
}

void TWexlyMainForm::SetTitleBar(int pane, const TTitleText& title)
{
    TTitleText& current = m_titles[static_cast<size_t>(pane)];
    if (current.path != title.path)
        SetWindowTextW(m_titleButton[static_cast<size_t>(pane)], Utf8ToWide(title.path).c_str());
    if (current.state != title.state)
        SetWindowTextW(m_titleState[static_cast<size_t>(pane)], Utf8ToWide(title.state).c_str());
    current = title;
}

void TWexlyMainForm::ApplyStatusUpdate(const TStatusUpdate& update)
{
    SetTitleBar(0, update.top);
    SetTitleBar(1, update.bottom);
    SetStatusText(spLine, update.line);
    SetStatusText(spColumn, update.column);
    SetStatusText(spInsOvr, update.insOvr);
    ApplyMenuState(m_shell->Menus());
    if (update.restoreHint)
        SetStatusText(spMessage, HintPanelText(m_shell->Hint()));
}

// ---- IDocumentViewHost --------------------------------------------------------------------

void TWexlyMainForm::ViewStatus(TEditFile& doc, int64_t line, int32_t column)
{
    TStatusUpdate update;
    if (m_shell->EditStatus(doc.IsBottomView(), m_docWindows->ViewFocused(doc), line, column,
            m_clipboard.HasText(), update))
        ApplyStatusUpdate(update);
    // Typing in one pane shows in the other when both show the same text.
    if (m_set->SplitOn())
        m_docWindows->RefreshViews();
}

void TWexlyMainForm::ReportFocusStatus()
{
    // A view that only came to the front has not moved its caret, so it has not reported.
    TEditFile* focus = m_set->FocusFile();
    // The second pane's hex view keeps its caret to itself; it reports when it moves.
    if (!focus || (focus->IsBottomView() && focus->Source() && focus->Source()->Binary()))
        return;
    ViewStatus(*focus, focus->CaretLine(), focus->CaretColumn());
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
        LayoutStatusBar(false);
        if (m_set && wp != SIZE_MINIMIZED) {
            LayoutFileButtons();
            Layout();
        }
        return 0;
    case WM_SETFOCUS:
        if (m_set && m_set->FocusFile())
            if (TCellGridWindow* view = m_docWindows->ViewOf(*m_set->FocusFile()))
                SetFocus(view->Handle());
        return 0;
    case WM_COMMAND:
        OnCommand(LOWORD(wp), reinterpret_cast<HWND>(lp));
        return 0;
    case WM_CONTEXTMENU:
        if (ShowEditPopup(reinterpret_cast<HWND>(wp), lp))
            return 0;
        break;
    case WM_MENUSELECT:
        OnMenuSelect(LOWORD(wp), HIWORD(wp), reinterpret_cast<HMENU>(lp));
        return 0;
    case WM_DRAWITEM: {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
        if (item && item->hwndItem == m_statusBar) {
            DrawStatusPanel(*item);
            return TRUE;
        }
        break;
    }
    case WM_CTLCOLORSTATIC:
        if (m_titleBrush) {
            HWND control = reinterpret_cast<HWND>(lp);
            if (control == m_titleButton[0] || control == m_titleButton[1]
                || control == m_titleState[0] || control == m_titleState[1]) {
                HDC dc = reinterpret_cast<HDC>(wp);
                SetTextColor(dc, m_titleText);
                SetBkMode(dc, TRANSPARENT);
                return reinterpret_cast<LRESULT>(m_titleBrush);
            }
        }
        break;
    case WM_ACTIVATEAPP:
        if (wp) {
            RefreshCapsPanel();
            PostMessageW(Handle(), WM_APP_ACTIVATED, 0, 0);
        }
        break;
    case WM_APP_ACTIVATED:
        Guarded([this] { m_shell->AppActivate(); });
        m_docWindows->RefreshViews();
        RefreshTitles();
        return 0;
    case WM_APP_USERCOMMAND:
        Guarded([&] { m_shell->UserCommand(static_cast<int>(wp)); });
        RefreshTitles();
        ReportFocusStatus();
        return 0;
    case WM_APP_BUTTONPOPUP:
        RunButtonPopup(static_cast<int>(wp), reinterpret_cast<TEditFile*>(lp));
        return 0;
    case WM_TIMER:
        if (wp == StatusTimerId) {
            KillTimer(Handle(), StatusTimerId);
            if (m_shell->StatusTimerFired())
                SetStatusText(spMessage, HintPanelText(m_shell->Hint()));
        }
        return 0;
    case WM_DROPFILES:
        OnDropFiles(reinterpret_cast<HDROP>(wp));
        return 0;
    case WM_CLOSE: {
        bool close = false;
        Guarded([&] { close = m_shell->CloseQuery(); });
        if (close)
            DestroyWindow(Handle());
        else
            RefreshDocumentBars();
        return 0;
    }
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        if (msg == HandOverMessage)
            return OnHandOver(wp, lp);
        break;
    }
    return TWin32Window::HandleMessage(msg, wp, lp);
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
    if (!CommandBuilt(id))
        return;
    Guarded([&] { RunCommand(id); });
    m_docWindows->RefreshViews();
    RefreshTitles();
    EnsureViewFocus();
    ReportFocusStatus();
}

void TWexlyMainForm::RunCommand(int id)
{
    if (const TDynamicCommand* dynamic = m_dynamic.Find(static_cast<UINT>(id))) {
        const TDynamicCommand command = *dynamic; // the menus may be rebuilt while it runs
        RunDynamicCommand(command);
        return;
    }
    if (id == IDM_PILES_STICK) {
        RunDynamicCommand({ TMenuAction::AddToPile, kMainPileId, {} });
        return;
    }
    if (id >= IDM_WINDOW_FILE_FIRST && id < IDM_WINDOW_FILE_FIRST + 10) {
        m_set->SelectByPosition(id - IDM_WINDOW_FILE_FIRST);
        Layout();
        return;
    }
    if (id >= IDM_FILE_HISTORY_FIRST && id < IDM_FILE_HISTORY_FIRST + 4) {
        ReopenItemClick(id - IDM_FILE_HISTORY_FIRST);
        return;
    }
    switch (id) {
    case IDM_FILE_NEW:
        m_commands->New();
        break;
    case IDM_FILE_OPENTEXT:
    case IDM_FILE_OPENBINARY:
        m_commands->OpenDialog(id == IDM_FILE_OPENBINARY);
        break;
    case IDM_FILE_REOPEN:
        m_commands->Reopen();
        break;
    case IDM_FILE_REVERT:
        m_commands->Revert();
        break;
    case IDM_FILE_SAVE:
        m_commands->Save();
        break;
    case IDM_FILE_SAVEAS:
        m_commands->SaveAs();
        break;
    case IDM_FILE_SAVECOPYAS:
        m_commands->SaveCopyAs();
        break;
    case IDM_FILE_SAVEALL:
        m_commands->SaveAll();
        break;
    case IDM_FILE_CLOSE:
        m_commands->Close();
        break;
    case IDM_FILE_CLOSEALL:
        m_commands->CloseAll();
        RefreshDocumentBars();
        break;
    case IDM_FILE_CLOSEDELETE:
        m_commands->CloseAndDelete();
        break;
    case IDM_FILE_EXIT:
        m_shell->Exit();
        break;
    case IDM_FILE_PRINT:
    case IDM_FILE_PREVIEW:
        if (m_set->CurFile() && m_set->FocusFile()) {
            if (id == IDM_FILE_PRINT)
                m_print->Print(Handle(), *m_set->FocusFile());
            else
                m_print->Preview(Handle(), *m_set->FocusFile());
        }
        break;
    case IDM_FILE_PRINTSETUP:
        m_print->Setup(Handle());
        break;
    case IDM_EDIT_UNDO:
    case IDM_EDIT_REDO:
    case IDM_EDIT_CUT:
    case IDM_EDIT_COPY:
    case IDM_EDIT_PASTE:
    case IDM_EDIT_CLEAR:
    case IDM_EDIT_SELECTALL:
    case IDM_JUSTIFY_LEFT:
    case IDM_JUSTIFY_CENTRE:
    case IDM_JUSTIFY_RIGHT:
    case IDM_JUSTIFY_INDENT:
    case IDM_JUSTIFY_UNINDENT:
    case IDM_TOOLS_STATISTICS:
        EditCommand(id);
        break;
    case IDM_OPTIONS_WORDWRAP:
    case IDM_OPTIONS_HEXMASK:
        if (id == IDM_OPTIONS_WORDWRAP)
            m_shell->ToggleWordWrap();
        else
            m_shell->ToggleHexMask();
        SetOptionChecks(Settings.WordWrap, Settings.HexMask);
        break;
    case IDM_WINDOW_HORIZONTAL:
    case IDM_WINDOW_UNSPLIT:
        m_set->ToggleSplit(false);
        UpdateMenus();
        break;
    case IDM_WINDOW_VERTICAL:
        m_set->ToggleSplit(true);
        UpdateMenus();
        break;
    case IDM_WINDOW_SWITCHPANES:
        m_set->SwitchPanes();
        break;
    case IDM_WINDOW_SYNCPANES:
        m_shell->SetSyncPanes(!m_shell->SyncPanes());
        ApplyMenuState(m_shell->Menus());
        break;
    case IDM_WINDOW_SORTPATH:
    case IDM_WINDOW_SORTNAME:
    case IDM_WINDOW_SORTEXT:
        m_set->Sort(static_cast<TSortKey>(id - IDM_WINDOW_SORTPATH));
        LayoutFileButtons();
        RebuildWindowMenu();
        break;
    case IDM_WINDOW_HIDEBARS:
        HideBarsClick();
        break;
    case IDM_WINDOW_PREVFILE:
        m_set->SelectPrevious();
        Layout();
        break;
    case IDM_WINDOW_NEXTFILE:
        m_set->SelectNext();
        Layout();
        break;
    case IDM_DIC_CURRENT:
        ChooseDictionary();
        break;
    case IDM_DIC_ACTIVE:
        m_dictionary->ToggleActive();
        ShowDictionaryMenu();
        break;
    case IDM_DIC_MAINTAIN: {
        TDicMaintDialog dialog(Handle(), Settings, *m_dicMaint);
        dialog.ShowModal();
        // Saved changes to the current dictionary take effect at once.
        m_dictionary->MaintenanceClosed();
        break;
    }
    case IDM_TOOLS_LIST: {
        TToolListDialog dialog(Handle(), Settings);
        m_toolRunner->RunFromList(Settings.Tools, Settings.ToolListRect, m_toolList, dialog);
        break;
    }
    case IDM_WINDOW_LIST:
    case IDM_WINDOWLIST_BAR: {
        TWindowListForm form;
        TWindowListDialog dialog(Handle(), Settings);
        if (WindowList1Click(*m_set, form, dialog, Settings))
            Layout();
        break;
    }
    case IDM_SEARCH_FIND:
    case IDM_SEARCH_REPEAT:
    case IDM_SEARCH_REPLACE:
    case IDM_SEARCH_GOTOLINE:
    case IDM_SEARCH_NEXTDIFFWORD:
        SearchCommand(id);
        break;
    case IDM_HELP_CONTENTS:
        HelpContentsClick();
        break;
    case IDM_HELP_ABOUT:
        AboutClick();
        break;
    case IDM_OPTIONS_SETTINGS:
        SettingsClick();
        break;
    case IDM_DROP_TEXT:
    case IDM_DROP_BINARY:
        m_shell->DropOpen(id == IDM_DROP_BINARY);
        break;
    default:
        break;
    }
}

void TWexlyMainForm::EditCommand(int id)
{
    static constexpr std::pair<int, TDocumentCommand> Commands[] = {
        { IDM_EDIT_UNDO, TDocumentCommand::Undo },
        { IDM_EDIT_REDO, TDocumentCommand::Redo },
        { IDM_EDIT_CUT, TDocumentCommand::Cut },
        { IDM_EDIT_COPY, TDocumentCommand::Copy },
        { IDM_EDIT_PASTE, TDocumentCommand::Paste },
        { IDM_EDIT_CLEAR, TDocumentCommand::Clear },
        { IDM_EDIT_SELECTALL, TDocumentCommand::SelectAll },
        { IDM_JUSTIFY_LEFT, TDocumentCommand::JustifyLeft },
        { IDM_JUSTIFY_CENTRE, TDocumentCommand::JustifyCentre },
        { IDM_JUSTIFY_RIGHT, TDocumentCommand::JustifyRight },
        { IDM_JUSTIFY_INDENT, TDocumentCommand::JustifyIndent },
        { IDM_JUSTIFY_UNINDENT, TDocumentCommand::JustifyUnindent },
        { IDM_TOOLS_STATISTICS, TDocumentCommand::Statistics },
    };
    for (const auto& [menuId, command] : Commands)
        if (menuId == id)
            m_docCommands->Run(command);
}

void TWexlyMainForm::CreateSearchDialogs()
{
    // Created hidden once; each showing reuses them, so their options stay as last set.
    m_findDialog = std::make_unique<TFindDialog>(m_search->FindForm(), m_findPanel, Settings);
    m_replaceDialog = std::make_unique<TReplaceDialog>(m_search->ReplaceForm());
    m_gotoLineDialog = std::make_unique<TGotoLineDialog>(m_gotoLine);
    m_findDialog->Create(Handle());
    m_replaceDialog->Create(Handle());
    m_gotoLineDialog->Create(Handle());
    m_macroPage = std::make_unique<TMacroPageModel>(Settings, RealFileSystem(), m_asker, m_dialogs);
    m_pref.AttachMacros(m_macroPage.get());
    m_prefDialog = std::make_unique<TPrefDialog>(m_pref, Settings, m_dialogs, m_clipboard);
    m_prefDialog->Create(Handle());
    m_directorySearch->SetView(m_findDialog.get());
}

int TWexlyMainForm::ShowFind(TFindForm&)
{
    return m_findDialog->ShowModal();
}

int TWexlyMainForm::ShowReplace(TReplaceForm&)
{
    return m_replaceDialog->ShowModal();
}

void TWexlyMainForm::SearchCommand(int id)
{
    switch (id) {
    case IDM_SEARCH_FIND:
        m_search->Find();
        break;
    case IDM_SEARCH_REPEAT:
        m_search->RepeatLastFind();
        break;
    case IDM_SEARCH_REPLACE:
        m_search->Replace();
        break;
    case IDM_SEARCH_GOTOLINE:
        if (!TGotoLineModel::Available(*m_set))
            return;
        if (m_gotoLineDialog->ShowModal() == IDOK)
            m_gotoLine.Ok(*m_set);
        break;
    case IDM_SEARCH_NEXTDIFFWORD:
        m_compare->NextDifferentWord();
        break;
    default:
        return;
    }
    AfterSearch();
}

// The open dialog's "Search Dir": the Find dialog over that directory's files.
void TWexlyMainForm::StartFindInFiles(const std::string& directory, const std::string&)
{
    m_search->FindInDirectory(directory);
    AfterSearch();
}

void TWexlyMainForm::AfterSearch()
{
    // A search may have moved to another document, changed texts and their modified state, or
    // opened the files a directory search found.
    RefreshTitles();
    LayoutFileButtons();
    UpdateMenus();
    EnsureViewFocus();
    ReportFocusStatus();
}

void TWexlyMainForm::TitleButtonClick(int pane)
{
    TEditFile* doc = pane == 0 ? m_set->TopFile() : m_set->BottomView();
    if (doc && doc != m_set->FocusFile())
        doc->ShowView();
}

void TWexlyMainForm::CloseLabelClick(int pane)
{
    TEditFile* doc = pane == 1 ? m_set->BottomFile() : m_set->TopFile();
    if (!doc)
        return;
    Guarded([&] { m_commands->CloseDocument(*doc); });
    RefreshDocumentBars();
}

void TWexlyMainForm::HideBarsClick()
{
    if (m_hidingBars)
        return;
    m_hidingBars = true;
    m_barsHidden = !m_barsHidden;
    Layout();
    ApplyMenuState(m_shell->Menus());
    m_hidingBars = false;
}

void TWexlyMainForm::ReopenItemClick(int index)
{
    HMENU file = SubMenu(FileMenuPos);
    wchar_t caption[1024] = {};
    GetMenuStringW(
        file, static_cast<UINT>(IDM_FILE_HISTORY_FIRST + index), caption, 1024, MF_BYCOMMAND);
    TReopenMenu reopen = wexly::RebuildReopenMenu(Settings.FileHistory);
    const int tag = static_cast<size_t>(index) < reopen.entries.size()
        ? reopen.entries[static_cast<size_t>(index)].tag
        : 0;
    PileFileClick(WideToUtf8(caption), tag, m_services->fs, m_asker,
        [this](const std::string& path, bool binary) {
            std::string line = binary ? "/B \"" + path + "\"" : "\"" + path + "\"";
            m_commands->OpenCommandLine(m_commands->StartDir(), line);
        });
    RefreshDocumentBars();
}

void TWexlyMainForm::OnDropFiles(HDROP drop)
{
    std::vector<std::string> names;
    const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        const UINT length = DragQueryFileW(drop, i, nullptr, 0);
        std::wstring name(length + 1, L'\0');
        DragQueryFileW(drop, i, name.data(), length + 1);
        name.resize(length);
        names.push_back(WideToUtf8(name));
    }
    POINT at {};
    DragQueryPoint(drop, &at);
    DragFinish(drop);
    // The key as it is now: while the shell dragged, the keys went to the shell, so this
    // thread's own key state may be stale.
    const bool alt = GetAsyncKeyState(VK_MENU) < 0;
    Guarded([&] { m_shell->DropFiles(names, alt); });
    if (alt) {
        // The drop point is in client terms; the window's corner makes it roughly the screen's.
        RECT window {};
        GetWindowRect(Handle(), &window);
        ShowDropMenu({ at.x + window.left, at.y + window.top });
    }
    m_docWindows->RefreshViews();
}

bool TWexlyMainForm::ShowEditPopup(HWND window, LPARAM screenPoint)
{
    TEditFile* owner = nullptr;
    auto check = [&](TEditFile* doc) {
        if (doc && !owner)
            if (TCellGridWindow* view = m_docWindows->ViewOf(*doc);
                view && view->Handle() == window)
                owner = doc;
    };
    for (int i = 0; i < m_set->Count(); ++i)
        check(&m_set->At(i));
    check(m_set->BottomView());
    if (!owner)
        return false;
    // The popup acts on the pane clicked: it takes the focus first, and the enabling is
    // brought up to date with its selection.
    if (GetFocus() != window)
        SetFocus(window);
    ReportFocusStatus();
    const auto& e = m_shell->Menus().enabled;
    struct TItem
    {
        int id;
        const wchar_t* caption;
        bool enabled;
    };
    const TItem items[] = { { IDM_EDIT_CUT, L"Cu&t", e[miCut] },
        { IDM_EDIT_COPY, L"&Copy", e[miCopy] }, { IDM_EDIT_PASTE, L"&Paste", e[miPaste] },
        { 0, nullptr, false }, { IDM_SEARCH_FIND, L"&Find...", true }, { 0, nullptr, false },
        { IDM_FILE_NEW, L"&New", true }, { IDM_FILE_OPENTEXT, L"&Open...", true },
        { IDM_FILE_REVERT, L"&Revert", e[miRevert] }, { IDM_FILE_SAVE, L"&Save", e[miSave] },
        { IDM_FILE_SAVEAS, L"Save &As...", e[miSaveAs] }, { IDM_FILE_CLOSE, L"&Close", e[miClose] },
        { 0, nullptr, false }, { IDM_WINDOW_LIST, L"&Window List...", e[miWindowList] } };
    HMENU menu = CreatePopupMenu();
    for (const TItem& item : items) {
        if (!item.caption)
            AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
        else
            AppendMenuW(menu, MF_STRING | (item.enabled ? MF_ENABLED : MF_GRAYED),
                static_cast<UINT_PTR>(item.id), item.caption);
    }
    POINT at { GET_X_LPARAM(screenPoint), GET_Y_LPARAM(screenPoint) };
    if (at.x == -1 && at.y == -1) { // from the keyboard: the view's corner
        RECT r {};
        GetWindowRect(window, &r);
        at = { r.left + 20, r.top + 20 };
    }
    const int chosen = static_cast<int>(TrackPopupMenu(
        menu, TPM_LEFTALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD, at.x, at.y, 0, Handle(), nullptr));
    DestroyMenu(menu);
    if (chosen)
        OnCommand(chosen, nullptr);
    return true;
}

void TWexlyMainForm::ShowDropMenu(POINT at)
{
    HMENU menu = CreatePopupMenu();
    AppendMenuW(menu, MF_STRING, IDM_DROP_TEXT, L"Open as Text");
    AppendMenuW(menu, MF_STRING, IDM_DROP_BINARY, L"Open as Binary");
    SetMenuDefaultItem(menu, IDM_DROP_TEXT, FALSE);
    SetForegroundWindow(Handle());
    TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_RIGHTBUTTON, at.x, at.y, 0, Handle(), nullptr);
    DestroyMenu(menu);
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

// ---- Help ---------------------------------------------------------------------------------

void TWexlyMainForm::HelpContentsClick()
{
    ShowHelpTopic(Handle(), 1);
}

namespace {
INT_PTR CALLBACK AboutProc(HWND dialog, UINT msg, WPARAM wp, LPARAM)
{
    if (msg == WM_INITDIALOG) {
        SetDlgItemTextW(dialog, IDC_ABOUT_VERSION, L"Version " WEXLY_VERSION_WTEXT);
        return TRUE;
    }
    if (msg == WM_COMMAND && (LOWORD(wp) == IDOK || LOWORD(wp) == IDCANCEL)) {
        EndDialog(dialog, LOWORD(wp));
        return TRUE;
    }
    return FALSE;
}
}

void TWexlyMainForm::SettingsClick()
{
    if (m_prefDialog->ShowModal() != IDOK)
        return;
    m_pref.Ok(Settings);
    PropagateSettings();
}

void TWexlyMainForm::AboutClick()
{
    DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_ABOUT), Handle(), AboutProc, 0);
}

} // namespace wexly::win32
