#include "WexlyMainForm.h"

#include "WexlyApp.h"
#include "app/CommandLine.h"
#include "app/HandOver.h"
#include "platform/win32/WinStrings.h"

#include "MenuIds.h"
#include "Version.h"

#include <commctrl.h>

#include <vector>

namespace wexly::win32 {

TWexlyMainForm::TWexlyMainForm(TWexlyApp& app)
    : m_app(app)
{
    m_statusTexts = { StatusIdleText, "", "Ins", StatusNumberText(0), StatusNumberText(0) };
}

TWexlyMainForm::~TWexlyMainForm()
{
    if (m_statusFont)
        DeleteObject(m_statusFont);
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
    return CreateWindowHandle(WS_EX_ACCEPTFILES, className.c_str(),
               Utf8ToWide(MainWindowCaption).c_str(), WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
               CW_USEDEFAULT, CW_USEDEFAULT, 800, 600, nullptr, menu)
        != nullptr;
}

void TWexlyMainForm::Show(int showCommand)
{
    ShowWindow(Handle(), showCommand);
    UpdateWindow(Handle());
    if (!m_shownOnce) {
        m_shownOnce = true;
        FormShow();
    }
}

void TWexlyMainForm::FormShow()
{
    if (!m_app.CmdLine().empty())
        OpenCommandLine(m_app.StartDir(), m_app.CmdLine());
    UpdateMenus();
    RefreshCapsPanel();
}

void TWexlyMainForm::OpenCommandLine(const std::string& baseDir, const std::string& text)
{
    std::vector<TCommandLineAction> actions = ParseCommandLine(baseDir, text);
    // Not finished: the actions are carried out once documents can be opened; until then the
    // parsed list goes no further.
    (void)actions;
}

void TWexlyMainForm::UpdateMenus()
{
    // Only what works is enabled; the document commands follow HasDocuments() once they exist.
    HMENU menu = GetMenu(Handle());
    EnableMenuItem(menu, IDM_FILE_EXIT, MF_BYCOMMAND | MF_ENABLED);
    EnableMenuItem(menu, IDM_HELP_CONTENTS, MF_BYCOMMAND | MF_ENABLED);
    EnableMenuItem(menu, IDM_HELP_ABOUT, MF_BYCOMMAND | MF_ENABLED);
    DrawMenuBar(Handle());
}

// ---- Status bar -------------------------------------------------------------------------

void TWexlyMainForm::CreateStatusBar()
{
    NONCLIENTMETRICSW metrics {};
    metrics.cbSize = sizeof(metrics);
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
    m_statusFont = CreateFontIndirectW(&metrics.lfStatusFont);
    m_statusBar = CreateWindowExW(0, STATUSCLASSNAMEW, L"", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0,
        Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
    SendMessageW(m_statusBar, WM_SETFONT, reinterpret_cast<WPARAM>(m_statusFont), FALSE);
    LayoutStatusBar(true);
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
        SetStatusText(static_cast<TStatusPanel>(i), m_statusTexts[i]);
}

void TWexlyMainForm::SetStatusText(TStatusPanel panel, const std::string& text)
{
    bool widthMayChange = (panel == spLine || panel == spColumn)
        && text.size() != m_statusTexts[static_cast<size_t>(panel)].size();
    m_statusTexts[static_cast<size_t>(panel)] = text;
    if (widthMayChange) {
        LayoutStatusBar(true);
        return;
    }
    std::wstring wide = Utf8ToWide(text);
    SendMessageW(m_statusBar, SB_SETTEXTW, static_cast<WPARAM>(panel),
        reinterpret_cast<LPARAM>(wide.c_str()));
}

void TWexlyMainForm::RefreshCapsPanel()
{
    SetStatusText(spCaps, (GetKeyState(VK_CAPITAL) & 1) ? "Caps" : "");
}

void TWexlyMainForm::PreviewKey(const MSG& msg)
{
    if (msg.message != WM_KEYDOWN && msg.message != WM_KEYUP)
        return;
    if (msg.wParam == VK_CAPITAL) {
        RefreshCapsPanel();
    } else if (msg.wParam == VK_INSERT && msg.message == WM_KEYDOWN && !HasDocuments()) {
        m_insertMode = !m_insertMode;
        SetStatusText(spInsOvr, m_insertMode ? "Ins" : "Ovr");
    }
}

// ---- Messages ---------------------------------------------------------------------------

LRESULT TWexlyMainForm::HandleMessage(UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_CREATE:
        CreateStatusBar();
        return 0;
    case WM_SIZE:
        LayoutStatusBar(false);
        return 0;
    case WM_COMMAND:
        OnCommand(LOWORD(wp));
        return 0;
    case WM_ACTIVATEAPP:
        if (wp)
            RefreshCapsPanel();
        break;
    case WM_CLOSE:
        if (FormCloseQuery())
            DestroyWindow(Handle());
        return 0;
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

void TWexlyMainForm::OnCommand(int id)
{
    switch (id) {
    case IDM_FILE_EXIT:
        ExitClick();
        break;
    case IDM_HELP_CONTENTS:
        HelpContentsClick();
        break;
    case IDM_HELP_ABOUT:
        AboutClick();
        break;
    default:
        break; // commands of parts not built yet are disabled in the menu
    }
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
    std::string startDir = m_app.StartDir();
    std::string cmdLine = m_app.CmdLine();
    THandOverOutcome outcome = ReceiveHandOver(wp, m_closing, title, startDir, cmdLine);
    if (outcome == THandOverOutcome::Taken || outcome == THandOverOutcome::TakenToOpen) {
        m_app.SetStartDir(startDir);
        m_app.SetCmdLine(cmdLine);
    }
    if (outcome == THandOverOutcome::TakenToOpen) {
        OpenCommandLine(startDir, cmdLine);
        UpdateMenus();
        if (IsIconic(Handle()))
            ShowWindow(Handle(), SW_RESTORE);
        SetForegroundWindow(Handle());
    }
    return HandOverResult(outcome);
}

// ---- Leaving ----------------------------------------------------------------------------

bool TWexlyMainForm::CloseAll()
{
    // With no document open there is nothing to save or close.
    return !HasDocuments();
}

bool TWexlyMainForm::FormCloseQuery()
{
    m_closing = true;
    if (HasDocuments() && !CloseAll()) {
        m_closing = false;
        return false;
    }
    return true;
}

void TWexlyMainForm::ExitClick()
{
    m_closing = true;
    if (CloseAll())
        PostMessageW(Handle(), WM_CLOSE, 0, 0);
    else
        m_closing = false;
}

// ---- Help -------------------------------------------------------------------------------

void TWexlyMainForm::HelpContentsClick()
{
    wchar_t exePath[MAX_PATH] = {};
    DWORD length = GetModuleFileNameW(nullptr, exePath, MAX_PATH);
    std::wstring helpPath(exePath, length);
    helpPath.erase(helpPath.find_last_of(L"\\/") + 1);
    helpPath += Utf8ToWide(HelpFileName);
    // Without the file the viewer would only complain in its own words.
    bool shown = GetFileAttributesW(helpPath.c_str()) != INVALID_FILE_ATTRIBUTES
        && WinHelpW(Handle(), helpPath.c_str(), HELP_CONTEXT, 1);
    if (!shown)
        MessageBoxW(
            Handle(), L"Empty Help file!", L"Error!", MB_OK | MB_ICONEXCLAMATION | MB_TASKMODAL);
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

void TWexlyMainForm::AboutClick()
{
    DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_ABOUT), Handle(), AboutProc, 0);
}

} // namespace wexly::win32
