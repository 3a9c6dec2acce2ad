// End-to-end tests of wexly.exe, run under Wine on the test display. Usage:
//   wexly_e2e.exe [path\to\wexly.exe] [test-name-substring]
// Prints one line per test and ends with "e2e: N passed, M failed"; exit code 1 on failure.
#include "E2eCheck.h"
#include "E2eDriver.h"
#include "E2eRunner.h"

#include "MenuIds.h"
#include "print/PreviewIds.h"
#include "res/dialogs/FileDlgIds.h"
#include "res/dialogs/PrefIds.h"
#include "res/dialogs/SearchIds.h"
#include "res/dialogs/ToolIds.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace wexly::e2e {
namespace {

const std::wstring MainClass = L"TWexlyMainForm";
const std::wstring MainCaption = L"Wexly2";
constexpr DWORD StartTimeoutMs = 20000;

struct TContext
{
    std::wstring wexly;
    std::vector<std::string> failures;
    std::vector<TProcess> processes; // ended after each test

    TProcess Start(const std::wstring& args, const std::wstring& dir)
    {
        TProcess p = StartProgram(wexly, args, dir);
        processes.push_back(p);
        return p;
    }
    void Fail(int line, const std::string& what)
    {
        failures.push_back("line " + std::to_string(line) + ": " + what);
    }
};

std::string Show(const std::wstring& s)
{
    return Narrow(s);
}
std::string Show(const std::string& s)
{
    return s;
}
std::string Show(const std::vector<std::wstring>& v)
{
    std::string out;
    for (const auto& s : v)
        out += (out.empty() ? "" : ", ") + Narrow(s);
    return out;
}
template <typename T> std::string Show(const T& v)
{
    return std::to_string(v);
}

void WindowAppearsWithClassCaptionMenuAndStatusBar(TContext& ctx)
{
    TProcess p = ctx.Start(L"", MakeTempDir(L"appear"));
    CHECK(p.process != nullptr);
    HWND main = WaitForWindow(MainClass, MainCaption, p.pid, StartTimeoutMs);
    CHECK(main != nullptr);
    CHECK_EQ(ClassNameOf(main), MainClass);
    CHECK_EQ(WindowText(main), MainCaption);
    CHECK(GetMenu(main) != nullptr);
    CHECK_EQ(StatusBarText(main, 0), std::wstring(L"F1=Help"));
    CHECK_EQ(StatusBarText(main, 2), std::wstring(L"Ins"));
    CHECK_EQ(StatusBarText(main, 3), std::wstring(L"0000"));
    CHECK_EQ(StatusBarText(main, 4), std::wstring(L"0000"));
}

void MenuBarHasEveryMenuWithItsItems(TContext& ctx)
{
    HMENU menu = LoadProgramMenu(ctx.wexly, IDR_MAINMENU);
    CHECK(menu != nullptr);
    std::vector<std::wstring> bar = MenuCaptions(menu);
    std::vector<std::wstring> file = SubmenuCaptions(menu, 0);
    std::vector<std::wstring> tools = SubmenuCaptions(menu, 3);
    int exitEnabled = MenuCommandEnabled(menu, IDM_FILE_EXIT);
    int saveEnabled = MenuCommandEnabled(menu, IDM_FILE_SAVE);
    int justifyEnabled = MenuCommandEnabled(menu, IDM_JUSTIFY_LEFT);
    DestroyMenu(menu);
    CHECK_EQ(bar,
        (std::vector<std::wstring> { L"&File", L"&Edit", L"&Search", L"&Tools", L"&Piles",
            L"&Options", L"&Window", L"&Help", L"&Window List..." }));
    CHECK(!file.empty());
    CHECK_EQ(file.front(), std::wstring(L"&New\tCtrl+N"));
    CHECK_EQ(file.back(), std::wstring(L"E&xit"));
    CHECK(tools.size() >= 3);
    CHECK_EQ(tools[0], std::wstring(L"&Justify"));
    CHECK_EQ(tools.back(), std::wstring(L"List...\tF9"));
    CHECK_EQ(exitEnabled, 1);
    // Commands whose features are not there yet are shown disabled.
    CHECK_EQ(saveEnabled, 0);
    CHECK_EQ(justifyEnabled, 0);
}

void ExitThroughTheFileMenuWithTheKeyboard(TContext& ctx)
{
    TProcess p = ctx.Start(L"", MakeTempDir(L"menukeys"));
    HWND main = WaitForWindow(MainClass, MainCaption, p.pid, StartTimeoutMs);
    CHECK(main != nullptr);
    CHECK(SendKey(main, 'F', { VK_MENU }));
    Sleep(300);
    CHECK(SendKey(main, 'X'));
    DWORD code = 12345;
    CHECK(WaitForExit(p, 5000, &code));
    CHECK_EQ(code, static_cast<DWORD>(0));
}

// The help folder beside wexly.exe, moved aside while a test needs the pages missing and put
// back when the test ends, however it ends.
class THelpFolderHidden
{
public:
    explicit THelpFolderHidden(const std::wstring& wexly)
    {
        std::wstring dir = wexly.substr(0, wexly.find_last_of(L"\\/") + 1);
        m_path = dir + L"help";
        m_aside = dir + L"help.hidden-by-e2e";
        m_moved = MoveFileW(m_path.c_str(), m_aside.c_str()) != 0;
    }
    ~THelpFolderHidden()
    {
        if (m_moved)
            MoveFileW(m_aside.c_str(), m_path.c_str());
    }
    THelpFolderHidden(const THelpFolderHidden&) = delete;
    THelpFolderHidden& operator=(const THelpFolderHidden&) = delete;
    bool PagesMissing() const
    {
        return GetFileAttributesW((m_path + L"\\1.html").c_str()) == INVALID_FILE_ATTRIBUTES;
    }

private:
    std::wstring m_path;
    std::wstring m_aside;
    bool m_moved = false;
};

bool HelpPagePresent(const std::wstring& wexly)
{
    std::wstring page = wexly.substr(0, wexly.find_last_of(L"\\/") + 1) + L"help\\1.html";
    return GetFileAttributesW(page.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// For the length of a test, pages ending in .html "open" by being copied to a known file, so
// the test sees which page the shell was asked to show without starting a browser.
class THtmlOpenRecorder
{
public:
    explicit THtmlOpenRecorder(const std::wstring& target)
    {
        // What .html stood for before is put back afterwards.
        HKEY hkey = nullptr;
        if (RegOpenKeyExW(HKEY_CLASSES_ROOT, L".html", 0, KEY_QUERY_VALUE, &hkey)
            == ERROR_SUCCESS) {
            wchar_t value[256] = {};
            DWORD size = sizeof(value) - sizeof(wchar_t);
            if (RegQueryValueExW(
                    hkey, nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(value), &size)
                == ERROR_SUCCESS) {
                m_hadOld = true;
                m_old = value;
            }
            RegCloseKey(hkey);
        }
        const std::wstring command = L"cmd.exe /c copy \"%1\" \"" + target + L"\"";
        m_ok = SetValue(L".html", L"wexly.e2e.html")
            && SetValue(L"wexly.e2e.html\\shell\\open\\command", command);
    }
    ~THtmlOpenRecorder()
    {
        RegDeleteTreeW(HKEY_CLASSES_ROOT, L"wexly.e2e.html");
        if (m_hadOld)
            SetValue(L".html", m_old);
        else
            RegDeleteTreeW(HKEY_CLASSES_ROOT, L".html");
    }
    THtmlOpenRecorder(const THtmlOpenRecorder&) = delete;
    THtmlOpenRecorder& operator=(const THtmlOpenRecorder&) = delete;
    bool Ok() const { return m_ok; }

private:
    static bool SetValue(const wchar_t* key, const std::wstring& value)
    {
        HKEY hkey = nullptr;
        if (RegCreateKeyExW(
                HKEY_CLASSES_ROOT, key, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &hkey, nullptr)
            != ERROR_SUCCESS)
            return false;
        const LONG result
            = RegSetValueExW(hkey, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
        RegCloseKey(hkey);
        return result == ERROR_SUCCESS;
    }
    bool m_ok = false;
    bool m_hadOld = false;
    std::wstring m_old;
};

void HelpContentsThroughTheHelpMenu(TContext& ctx)
{
    // The build copies the pages beside the program: the contents page is handed to the shell
    // and no error is shown.
    CHECK(HelpPagePresent(ctx.wexly));
    std::wstring dir = MakeTempDir(L"helpmenu");
    const std::wstring opened = dir + L"opened.html";
    THtmlOpenRecorder recorder(opened);
    CHECK(recorder.Ok());
    TProcess p = ctx.Start(L"", dir);
    HWND main = WaitForWindow(MainClass, MainCaption, p.pid, StartTimeoutMs);
    CHECK(main != nullptr);
    CHECK(SendKey(main, 'H', { VK_MENU }));
    Sleep(300);
    CHECK(SendKey(main, 'H'));
    HWND box = WaitForMessageBox(L"Error!", p.pid, 2000);
    CHECK(box == nullptr);
    std::string page;
    DWORD start = GetTickCount();
    while (!ReadTextFile(opened, &page) && GetTickCount() - start < 5000)
        Sleep(100);
    std::string original;
    CHECK(ReadTextFile(
        ctx.wexly.substr(0, ctx.wexly.find_last_of(L"\\/") + 1) + L"help\\1.html", &original));
    CHECK(!page.empty());
    CHECK(page == original);
}

void SecondStartHandsOverAndExitsWithZero(TContext& ctx)
{
    TProcess first = ctx.Start(L"", MakeTempDir(L"first"));
    HWND main = WaitForWindow(MainClass, MainCaption, first.pid, StartTimeoutMs);
    CHECK(main != nullptr);
    std::wstring other = MakeTempDir(L"other");
    CHECK(WriteTextFile(other + L"a.txt", "hello\r\n"));

    TProcess second = ctx.Start(L"a.txt", other);
    CHECK(second.process != nullptr);
    DWORD code = 12345;
    DWORD started = GetTickCount();
    CHECK(WaitForExit(second, 5000, &code));
    CHECK(GetTickCount() - started <= 5000);
    CHECK_EQ(code, static_cast<DWORD>(0));
    CHECK_EQ(FindTopWindows(MainClass, MainCaption).size(), static_cast<size_t>(1));
    CHECK(WaitForSingleObject(first.process, 0) == WAIT_TIMEOUT);
    std::string content;
    CHECK(ReadTextFile(other + L"a.txt", &content));
    CHECK_EQ(content, std::string("hello\r\n"));
}

void SecondStartWithoutArgumentsAlsoHandsOver(TContext& ctx)
{
    TProcess first = ctx.Start(L"", MakeTempDir(L"first2"));
    CHECK(WaitForWindow(MainClass, MainCaption, first.pid, StartTimeoutMs) != nullptr);
    TProcess second = ctx.Start(L"", MakeTempDir(L"other2"));
    DWORD code = 12345;
    CHECK(WaitForExit(second, 5000, &code));
    CHECK_EQ(code, static_cast<DWORD>(0));
    CHECK_EQ(FindTopWindows(MainClass, MainCaption).size(), static_cast<size_t>(1));
}

void ExitCommandEndsTheProcessWithZero(TContext& ctx)
{
    TProcess p = ctx.Start(L"", MakeTempDir(L"exit"));
    HWND main = WaitForWindow(MainClass, MainCaption, p.pid, StartTimeoutMs);
    CHECK(main != nullptr);
    PostCommand(main, IDM_FILE_EXIT);
    DWORD code = 12345;
    CHECK(WaitForExit(p, 5000, &code));
    CHECK_EQ(code, static_cast<DWORD>(0));
    CHECK(FindTopWindows(MainClass, MainCaption, p.pid).empty());
}

void ClosingTheWindowEndsTheProcessWithZero(TContext& ctx)
{
    TProcess p = ctx.Start(L"", MakeTempDir(L"close"));
    HWND main = WaitForWindow(MainClass, MainCaption, p.pid, StartTimeoutMs);
    CHECK(main != nullptr);
    PostMessageW(main, WM_CLOSE, 0, 0);
    DWORD code = 12345;
    CHECK(WaitForExit(p, 5000, &code));
    CHECK_EQ(code, static_cast<DWORD>(0));
}

void F1WithoutHelpFileShowsTheErrorBox(TContext& ctx)
{
    THelpFolderHidden hidden(ctx.wexly);
    CHECK(hidden.PagesMissing());
    TProcess p = ctx.Start(L"", MakeTempDir(L"help"));
    HWND main = WaitForWindow(MainClass, MainCaption, p.pid, StartTimeoutMs);
    CHECK(main != nullptr);
    CHECK(SendKey(main, VK_F1));
    HWND box = WaitForMessageBox(L"Error!", p.pid, 5000);
    CHECK(box != nullptr);
    CHECK_EQ(MessageBoxText(box), std::wstring(L"Empty Help file!"));
    CHECK(ClickButton(box, L"OK"));
    DWORD start = GetTickCount();
    while (IsWindow(box) && GetTickCount() - start < 3000)
        Sleep(50);
    CHECK(!IsWindow(box));
}

void InsertKeyWithoutDocumentsFlipsInsOvr(TContext& ctx)
{
    TProcess p = ctx.Start(L"", MakeTempDir(L"insert"));
    HWND main = WaitForWindow(MainClass, MainCaption, p.pid, StartTimeoutMs);
    CHECK(main != nullptr);
    CHECK_EQ(StatusBarText(main, 2), std::wstring(L"Ins"));
    CHECK(SendKey(main, VK_INSERT));
    Sleep(300);
    CHECK_EQ(StatusBarText(main, 2), std::wstring(L"Ovr"));
    CHECK(SendKey(main, VK_INSERT));
    Sleep(300);
    CHECK_EQ(StatusBarText(main, 2), std::wstring(L"Ins"));
}

void CapsLockShowsInItsPanel(TContext& ctx)
{
    TProcess p = ctx.Start(L"", MakeTempDir(L"caps"));
    HWND main = WaitForWindow(MainClass, MainCaption, p.pid, StartTimeoutMs);
    CHECK(main != nullptr);
    std::wstring before = StatusBarText(main, 1);
    CHECK(SendKey(main, VK_CAPITAL));
    Sleep(300);
    std::wstring after = StatusBarText(main, 1);
    CHECK(SendKey(main, VK_CAPITAL)); // leave the lock as it was
    Sleep(300);
    CHECK(before == L"" || before == L"Caps");
    CHECK_EQ(after, std::wstring(before == L"Caps" ? L"" : L"Caps"));
    CHECK_EQ(StatusBarText(main, 1), before);
}

// ---- documents -----------------------------------------------------------------------------

// Waits for a document to show its path in the top pane's title bar.
bool WaitForTitle(HWND main, const std::wstring& path, DWORD timeoutMs = 5000)
{
    DWORD start = GetTickCount();
    while (GetTickCount() - start < timeoutMs) {
        if (FindChildWithText(main, L"Static", path))
            return true;
        Sleep(50);
    }
    return false;
}

void TwoFilesFromTheCommandLineAreEditedAndSaved(TContext& ctx)
{
    std::wstring dir = MakeTempDir(L"two");
    CHECK(WriteTextFile(dir + L"a.txt", "alpha\r\n"));
    CHECK(WriteTextFile(dir + L"b c.txt", "beta\r\n"));
    TProcess p = ctx.Start(L"a.txt \"b c.txt\"", dir);
    HWND main = WaitForWindow(MainClass, MainCaption, p.pid, StartTimeoutMs);
    CHECK(main != nullptr);
    CHECK(WaitForStatusText(main, 0, L"2 File(s) opened... 2 Total", 5000));
    // The last one opened is current and has the focus.
    CHECK(WaitForTitle(main, dir + L"b c.txt"));
    CHECK(TypeText(main, "zq"));
    CHECK(WaitForStatusText(main, 4, L"0003", 3000));
    CHECK(SendKey(main, 'S', { VK_CONTROL }));
    CHECK(WaitForFileContent(dir + L"b c.txt", "zqbeta\r\n", 3000));
    // Ctrl+F1 goes to the first document of the Window menu.
    CHECK(SendKey(main, VK_F1, { VK_CONTROL }));
    CHECK(WaitForTitle(main, dir + L"a.txt"));
    CHECK(TypeText(main, "y"));
    CHECK(SendKey(main, 'S', { VK_CONTROL }));
    CHECK(WaitForFileContent(dir + L"a.txt", "yalpha\r\n", 3000));
    std::string other;
    CHECK(ReadTextFile(dir + L"b c.txt", &other));
    CHECK_EQ(other, std::string("zqbeta\r\n"));
}

void MenuHintsShowInTheMessagePanel(TContext& ctx)
{
    std::wstring dir = MakeTempDir(L"hints");
    CHECK(WriteTextFile(dir + L"a.txt", "alpha\r\n"));
    TProcess p = ctx.Start(L"a.txt", dir);
    HWND main = WaitForWindow(MainClass, MainCaption, p.pid, StartTimeoutMs);
    CHECK(main != nullptr);
    CHECK(WaitForStatusText(main, 0, L"1 File(s) opened... 1 Total", 5000));
    // Alt+F opens the File menu on "&New".
    CHECK(SendKey(main, 'F', { VK_MENU }));
    CHECK(WaitForStatusText(main, 0, L"Start a new, unnamed document", 3000));
    CHECK(SendKey(main, VK_DOWN));
    CHECK(WaitForStatusText(main, 0, L"Open files as text", 3000));
    // Closing the menu clears the hint.
    CHECK(SendKey(main, VK_ESCAPE));
    CHECK(SendKey(main, VK_ESCAPE));
    CHECK(WaitForStatusText(main, 0, L"F1=Help", 3000));
    // A Window menu entry hints its document's full path: up from the first item wraps to
    // "&Window List..." and then reaches the entry above it.
    CHECK(SendKey(main, 'W', { VK_MENU }));
    CHECK(SendKey(main, VK_UP));
    CHECK(WaitForStatusText(main, 0, L"List the open documents", 3000));
    CHECK(SendKey(main, VK_UP));
    CHECK(WaitForStatusText(main, 0, dir + L"a.txt", 3000));
    CHECK(SendKey(main, VK_ESCAPE));
    CHECK(SendKey(main, VK_ESCAPE));
    CHECK(WaitForStatusText(main, 0, L"F1=Help", 3000));
    // Submenus have hints of their own.
    CHECK(SendKey(main, 'T', { VK_MENU }));
    CHECK(WaitForStatusText(
        main, 0, L"Set justification for text (Wont work when wordwrap is on)", 3000));
    CHECK(SendKey(main, VK_DOWN));
    CHECK(SendKey(main, VK_DOWN));
    CHECK(WaitForStatusText(main, 0, L"Lists of words to auto-replace", 3000));
    CHECK(SendKey(main, VK_ESCAPE));
    CHECK(SendKey(main, VK_ESCAPE));
}

void WindowListPicksADocument(TContext& ctx)
{
    std::wstring dir = MakeTempDir(L"winlist");
    for (const wchar_t* name : { L"a.txt", L"b.txt", L"c.txt" })
        CHECK(WriteTextFile(dir + name, "text\r\n"));
    TProcess p = ctx.Start(L"a.txt b.txt c.txt", dir);
    HWND main = WaitForWindow(MainClass, MainCaption, p.pid, StartTimeoutMs);
    CHECK(main != nullptr);
    CHECK(WaitForTitle(main, dir + L"c.txt"));
    CHECK(SendKey(main, VK_F12));
    HWND list = WaitForMessageBox(L"Window List - 3 file(s)", p.pid, 5000);
    CHECK(list != nullptr);
    // Escape closes it without a change.
    CHECK(SendKey(list, VK_ESCAPE));
    for (int i = 0; i < 60 && IsWindow(list); ++i)
        Sleep(50);
    CHECK(!IsWindow(list));
    CHECK(WaitForTitle(main, dir + L"c.txt"));
    // Enter takes the row chosen with the keys.
    CHECK(SendKey(main, VK_F12));
    list = WaitForMessageBox(L"Window List - 3 file(s)", p.pid, 5000);
    CHECK(list != nullptr);
    CHECK(SendKey(list, VK_HOME));
    CHECK(SendKey(list, VK_DOWN));
    CHECK(SendKey(list, VK_RETURN));
    CHECK(WaitForTitle(main, dir + L"b.txt"));
}

void ClosingAChangedFileAsksAndEachAnswerDoesItsPart(TContext& ctx)
{
    std::wstring dir = MakeTempDir(L"ask");
    CHECK(WriteTextFile(dir + L"a.txt", "alpha\r\n"));
    CHECK(WriteTextFile(dir + L"b.txt", "beta\r\n"));
    TProcess p = ctx.Start(L"a.txt b.txt", dir);
    HWND main = WaitForWindow(MainClass, MainCaption, p.pid, StartTimeoutMs);
    CHECK(main != nullptr);
    CHECK(WaitForTitle(main, dir + L"b.txt"));
    CHECK(TypeText(main, "q"));
    Sleep(200);

    // Cancel keeps the document open and unsaved.
    CHECK(SendKey(main, VK_F4, { VK_CONTROL }));
    HWND box = WaitForMessageBox(L"Attention!", p.pid, 5000);
    CHECK(box != nullptr);
    CHECK_EQ(MessageBoxText(box), std::wstring(L"Save changes to file?"));
    CHECK(ClickButton(box, L"Cancel"));
    Sleep(500);
    CHECK(WaitForTitle(main, dir + L"b.txt"));
    std::string content;
    CHECK(ReadTextFile(dir + L"b.txt", &content));
    CHECK_EQ(content, std::string("beta\r\n"));

    // Yes saves, then closes: the neighbour becomes current.
    CHECK(SendKey(main, VK_F4, { VK_CONTROL }));
    box = WaitForMessageBox(L"Attention!", p.pid, 5000);
    CHECK(box != nullptr);
    CHECK(ClickButton(box, L"Yes"));
    CHECK(WaitForFileContent(dir + L"b.txt", "qbeta\r\n", 3000));
    CHECK(WaitForTitle(main, dir + L"a.txt"));

    // Exit with a changed file: No leaves the file as it was and the program ends.
    CHECK(TypeText(main, "w"));
    Sleep(200);
    PostCommand(main, IDM_FILE_EXIT);
    box = WaitForMessageBox(L"Save File", p.pid, 5000);
    CHECK(box != nullptr);
    CHECK_EQ(MessageBoxText(box),
        std::wstring(L"The file\n'a.txt'\nhas not been saved yet.  Save it now?"));
    CHECK(ClickButton(box, L"No"));
    DWORD code = 12345;
    CHECK(WaitForExit(p, 5000, &code));
    CHECK_EQ(code, static_cast<DWORD>(0));
    CHECK(ReadTextFile(dir + L"a.txt", &content));
    CHECK_EQ(content, std::string("alpha\r\n"));
}

void NewDocumentSavedAsGetsTheTxtExtension(TContext& ctx)
{
    std::wstring dir = MakeTempDir(L"saveas");
    TProcess p = ctx.Start(L"", dir);
    HWND main = WaitForWindow(MainClass, MainCaption, p.pid, StartTimeoutMs);
    CHECK(main != nullptr);
    PostCommand(main, IDM_FILE_NEW);
    Sleep(500);
    CHECK(TypeText(main, "hi"));
    Sleep(200);
    PostCommand(main, IDM_FILE_SAVEAS);
    HWND dialog = WaitForMessageBox(L"Save As", p.pid, 5000);
    CHECK(dialog != nullptr);
    // The file name box of the explorer-style dialog.
    HWND name = GetDlgItem(dialog, 0x47c);
    if (!name)
        name = GetDlgItem(dialog, 0x480);
    CHECK(name != nullptr);
    SetWindowTextW(name, (dir + L"notes").c_str());
    CHECK(ClickButton(dialog, L"Save"));
    std::string content;
    DWORD start = GetTickCount();
    while (!ReadTextFile(dir + L"notes.txt", &content) && GetTickCount() - start < 5000)
        Sleep(50);
    CHECK(content.rfind("hi", 0) == 0);
    CHECK(WaitForTitle(main, dir + L"notes.txt"));
}

void SecondStartOpensItsFileInTheRunningInstance(TContext& ctx)
{
    TProcess first = ctx.Start(L"", MakeTempDir(L"running"));
    HWND main = WaitForWindow(MainClass, MainCaption, first.pid, StartTimeoutMs);
    CHECK(main != nullptr);
    std::wstring other = MakeTempDir(L"handed");
    CHECK(WriteTextFile(other + L"c.txt", "gamma\r\n"));
    TProcess second = ctx.Start(L"/R c.txt", other);
    DWORD code = 12345;
    CHECK(WaitForExit(second, 5000, &code));
    CHECK_EQ(code, static_cast<DWORD>(0));
    CHECK(WaitForTitle(main, other + L"c.txt"));
    // Opened read-only: the title bar's state box says so.
    CHECK(FindChildWithText(main, L"Static", L"R") != nullptr);
}

void SettingsAreWrittenAtExitAndReadAtTheNextStart(TContext& ctx)
{
    std::wstring ini = ctx.wexly.substr(0, ctx.wexly.find_last_of(L'.')) + L".ini";
    DeleteFileW(ini.c_str());
    for (const char* expected : { "genWordWrap=1", "genWordWrap=0" }) {
        TProcess p = ctx.Start(L"", MakeTempDir(L"settings"));
        HWND main = WaitForWindow(MainClass, MainCaption, p.pid, StartTimeoutMs);
        CHECK(main != nullptr);
        // Toggled from what the last run saved.
        PostCommand(main, IDM_OPTIONS_WORDWRAP);
        PostCommand(main, IDM_FILE_EXIT);
        DWORD code = 12345;
        CHECK(WaitForExit(p, 5000, &code));
        std::string content;
        CHECK(ReadTextFile(ini, &content));
        CHECK(content.find(expected) != std::string::npos);
    }
}

void AFileChangedOnDiskIsReloadedWhenTheProgramIsActivated(TContext& ctx)
{
    std::wstring dir = MakeTempDir(L"reload");
    CHECK(WriteTextFile(dir + L"a.txt", "old\r\n"));
    TProcess p = ctx.Start(L"a.txt", dir);
    HWND main = WaitForWindow(MainClass, MainCaption, p.pid, StartTimeoutMs);
    CHECK(main != nullptr);
    CHECK(WaitForTitle(main, dir + L"a.txt"));
    // Another program takes the foreground while the file changes.
    HWND other = CreateWindowExW(0, L"STATIC", L"elsewhere", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
        200, 100, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    CHECK(other != nullptr);
    SetForegroundWindow(other);
    Sleep(500);
    CHECK(WriteTextFile(dir + L"a.txt", "new text\r\n"));
    SetForegroundWindow(main);
    HWND box = WaitForMessageBox(L"Attention!", p.pid, 5000);
    DestroyWindow(other);
    CHECK(box != nullptr);
    CHECK_EQ(MessageBoxText(box), std::wstring(L"a.txt has changed on the disk\rReload?"));
    CHECK(ClickButton(box, L"Yes"));
    CHECK(WaitForStatusText(main, 0, L"Reloaded: a.txt ", 3000));
    // What is saved now is the reloaded text.
    CHECK(TypeText(main, "k"));
    CHECK(SendKey(main, 'S', { VK_CONTROL }));
    CHECK(WaitForFileContent(dir + L"a.txt", "knew text\r\n", 3000));
}

void SplitWindowTypesIntoBothPanes(TContext& ctx)
{
    std::wstring dir = MakeTempDir(L"split");
    CHECK(WriteTextFile(dir + L"a.txt", "old\r\n"));
    TProcess p = ctx.Start(L"a.txt", dir);
    HWND main = WaitForWindow(MainClass, MainCaption, p.pid, StartTimeoutMs);
    CHECK(main != nullptr);
    CHECK(WaitForTitle(main, dir + L"a.txt"));
    // Split: the second pane shows the same document and has the focus.
    CHECK(SendKey(main, VK_F6, { VK_MENU }));
    Sleep(500);
    CHECK(TypeText(main, "b"));
    CHECK(SendKey(main, VK_F6)); // Switch Panes
    Sleep(300);
    CHECK(SendKey(main, VK_END));
    CHECK(TypeText(main, "t"));
    CHECK(SendKey(main, 'S', { VK_CONTROL }));
    CHECK(WaitForFileContent(dir + L"a.txt", "boldt\r\n", 3000));
}

double MsSince(LARGE_INTEGER start)
{
    LARGE_INTEGER now {}, freq {};
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&freq);
    return static_cast<double>(now.QuadPart - start.QuadPart) * 1000.0
        / static_cast<double>(freq.QuadPart);
}

// Writes size bytes of 60-character lines.
bool WriteLines(const std::wstring& path, size_t size)
{
    std::string line(58, 'x');
    line += "\r\n";
    std::string block;
    while (block.size() < 1024 * 1024)
        block += line;
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    size_t left = size;
    bool ok = true;
    while (left > 0 && ok) {
        DWORD chunk = static_cast<DWORD>(std::min(left, block.size()));
        DWORD written = 0;
        ok = WriteFile(h, block.data(), chunk, &written, nullptr) && written == chunk;
        left -= chunk;
    }
    CloseHandle(h);
    return ok;
}

// Figures for the report, not pass/fail limits: start to the loaded document on the screen,
// switching among 50 documents, and typing into a large document with the window split.
void PerformanceFigures(TContext& ctx)
{
    std::wstring dir = MakeTempDir(L"perf");
    CHECK(WriteTextFile(dir + L"small.txt", "hello\r\n"));
    CHECK(WriteLines(dir + L"one.txt", 1024 * 1024));
    CHECK(WriteLines(dir + L"big.txt", 64 * 1024 * 1024));
    for (const wchar_t* name : { L"small.txt", L"one.txt", L"big.txt" }) {
        LARGE_INTEGER start {};
        QueryPerformanceCounter(&start);
        TProcess p = ctx.Start(name, dir);
        HWND main = WaitForWindow(MainClass, MainCaption, p.pid, StartTimeoutMs);
        CHECK(main != nullptr);
        CHECK(WaitForStatusText(main, 0, L"1 File(s) opened... 1 Total", 60000));
        // The paint is queued behind what is already posted: one round trip lets it run.
        DWORD_PTR result = 0;
        SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &result);
        std::printf("         perf: start to %ls shown: %.0f ms\n", name, MsSince(start));
        if (std::wstring(name) == L"big.txt") {
            CHECK(SendKey(main, VK_F6, { VK_MENU }));
            Sleep(500);
            double worst = 0, total = 0;
            for (int i = 0; i < 10; ++i) {
                const std::wstring before = StatusBarText(main, 4);
                LARGE_INTEGER t {};
                QueryPerformanceCounter(&t);
                CHECK(SendKey(main, 'A'));
                DWORD waited = GetTickCount();
                while (StatusBarText(main, 4) == before && GetTickCount() - waited < 5000)
                    Sleep(1);
                SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &result);
                const double ms = MsSince(t);
                worst = std::max(worst, ms);
                total += ms;
            }
            std::printf(
                "         perf: key to status in split 64 MiB: mean %.1f ms, worst %.1f ms\n",
                total / 10, worst);
        }
        EndProcess(p);
        ctx.processes.clear();
    }
    std::wstring many = MakeTempDir(L"many");
    for (int i = 0; i < 50; ++i)
        CHECK(WriteTextFile(many + L"f" + std::to_wstring(100 + i) + L".txt", "text\r\n"));
    TProcess p = ctx.Start(L"*.txt", many);
    HWND main = WaitForWindow(MainClass, MainCaption, p.pid, StartTimeoutMs);
    CHECK(main != nullptr);
    CHECK(WaitForStatusText(main, 0, L"50 File(s) opened... 50 Total", 20000));
    double worst = 0, total = 0;
    HWND title = GetDlgItem(main, 3002); // the top pane's title
    CHECK(title != nullptr);
    for (int i = 0; i < 20; ++i) {
        const std::wstring before = WindowText(title);
        LARGE_INTEGER t {};
        QueryPerformanceCounter(&t);
        CHECK(SendKey(main, VK_TAB, { VK_CONTROL }));
        DWORD waited = GetTickCount();
        while (WindowText(title) == before && GetTickCount() - waited < 5000)
            Sleep(1);
        CHECK(WindowText(title) != before);
        DWORD_PTR result = 0;
        SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &result);
        const double ms = MsSince(t);
        worst = std::max(worst, ms);
        total += ms;
    }
    std::printf("         perf: Ctrl+Tab among 50 documents: mean %.1f ms, worst %.1f ms\n",
        total / 20, worst);
    DeleteFileW((dir + L"big.txt").c_str());
}

void StartOptionsPlaceTheCaretAndChooseTheView(TContext& ctx)
{
    std::wstring dir = MakeTempDir(L"options");
    CHECK(WriteTextFile(dir + L"lines.txt", "1\r\n2\r\n3\r\n4\r\nfifth line\r\n6\r\n"));
    CHECK(WriteTextFile(dir + L"bytes.bin", "abc"));
    TProcess p = ctx.Start(L"/B bytes.bin /N /J5,3 lines.txt", dir);
    HWND main = WaitForWindow(MainClass, MainCaption, p.pid, StartTimeoutMs);
    CHECK(main != nullptr);
    CHECK(WaitForStatusText(main, 0, L"2 File(s) opened... 2 Total", 5000));
    CHECK(WaitForTitle(main, dir + L"lines.txt"));
    CHECK(WaitForStatusText(main, 3, L"0005", 3000));
    CHECK_EQ(StatusBarText(main, 4), std::wstring(L"0003"));
    CHECK_EQ(StatusBarText(main, 2), std::wstring(L"Ins"));
    // The binary document shows in the hex view, which overwrites.
    CHECK(SendKey(main, VK_F1, { VK_CONTROL }));
    CHECK(WaitForTitle(main, dir + L"bytes.bin"));
    CHECK(WaitForStatusText(main, 2, L"Ovr", 3000));
}

void PNumberReopensTheFilesClosedLast(TContext& ctx)
{
    std::wstring dir = MakeTempDir(L"history");
    CHECK(WriteTextFile(dir + L"old1.txt", "one\r\n"));
    CHECK(WriteTextFile(dir + L"old2.txt", "two\r\n"));
    CHECK(WriteTextFile(dir + L"old3.txt", "three\r\n"));
    CHECK(WriteTextFile(dir + L"lines.txt", "1\r\n2\r\n3\r\n4\r\n"));
    std::wstring ini = ctx.wexly.substr(0, ctx.wexly.find_last_of(L'.')) + L".ini";
    const std::string d = Narrow(dir);
    CHECK(WriteTextFile(ini,
        "[FileHistory]\r\n#=3\r\n0=00" + d + "old1.txt|1|1\r\n1=00" + d + "old2.txt|1|1\r\n2=00" + d
            + "old3.txt|1|1\r\n"));
    // /P2 reopens two of them; /3 puts the caret on line 3 of the file after it.
    TProcess p = ctx.Start(L"/P2 /3 lines.txt", dir);
    HWND main = WaitForWindow(MainClass, MainCaption, p.pid, StartTimeoutMs);
    CHECK(main != nullptr);
    CHECK(WaitForStatusText(main, 0, L"3 File(s) opened... 3 Total", 5000));
    CHECK(WaitForTitle(main, dir + L"lines.txt"));
    CHECK(WaitForStatusText(main, 3, L"0003", 3000));
    CHECK(SendKey(main, VK_F1, { VK_CONTROL }));
    CHECK(WaitForTitle(main, dir + L"old1.txt"));
    DeleteFileW(ini.c_str());
}

void ExitWithUnsavedChangesAsksForEachFile(TContext& ctx)
{
    std::wstring dir = MakeTempDir(L"exitask");
    CHECK(WriteTextFile(dir + L"a.txt", "alpha\r\n"));
    CHECK(WriteTextFile(dir + L"b.txt", "beta\r\n"));
    TProcess p = ctx.Start(L"a.txt b.txt", dir);
    HWND main = WaitForWindow(MainClass, MainCaption, p.pid, StartTimeoutMs);
    CHECK(main != nullptr);
    CHECK(WaitForTitle(main, dir + L"b.txt"));
    CHECK(TypeText(main, "b"));
    CHECK(SendKey(main, VK_F1, { VK_CONTROL }));
    CHECK(WaitForTitle(main, dir + L"a.txt"));
    CHECK(TypeText(main, "a"));
    Sleep(200);

    // Cancel on the first question keeps everything open.
    PostCommand(main, IDM_FILE_EXIT);
    HWND box = WaitForMessageBox(L"Save File", p.pid, 5000);
    CHECK(box != nullptr);
    CHECK_EQ(MessageBoxText(box),
        std::wstring(L"The file\n'a.txt'\nhas not been saved yet.  Save it now?"));
    CHECK(ClickButton(box, L"Cancel"));
    Sleep(500);
    CHECK(WaitForSingleObject(p.process, 0) == WAIT_TIMEOUT);

    // Yes for the first, No for the second: one saved, one left alone, and the program ends.
    PostCommand(main, IDM_FILE_EXIT);
    box = WaitForMessageBox(L"Save File", p.pid, 5000);
    CHECK(box != nullptr);
    CHECK(ClickButton(box, L"Yes"));
    CHECK(WaitForFileContent(dir + L"a.txt", "aalpha\r\n", 3000));
    DWORD start = GetTickCount();
    while (IsWindow(box) && GetTickCount() - start < 3000)
        Sleep(50);
    box = WaitForMessageBox(L"Save File", p.pid, 5000);
    CHECK(box != nullptr);
    CHECK_EQ(MessageBoxText(box),
        std::wstring(L"The file\n'b.txt'\nhas not been saved yet.  Save it now?"));
    CHECK(ClickButton(box, L"No"));
    DWORD code = 12345;
    CHECK(WaitForExit(p, 5000, &code));
    CHECK_EQ(code, static_cast<DWORD>(0));
    std::string content;
    CHECK(ReadTextFile(dir + L"b.txt", &content));
    CHECK_EQ(content, std::string("beta\r\n"));
}

std::string ClipboardText()
{
    std::string text;
    if (!OpenClipboard(nullptr))
        return "<no clipboard>";
    if (HANDLE h = GetClipboardData(CF_TEXT)) {
        if (const char* p = static_cast<const char*>(GlobalLock(h))) {
            text = p;
            GlobalUnlock(h);
        }
    }
    CloseClipboard();
    return text;
}

void EditingKeysReachTheFocusedDocument(TContext& ctx)
{
    std::wstring dir = MakeTempDir(L"keys");
    CHECK(WriteTextFile(dir + L"a.txt", "abc\r\ndef\r\n"));
    TProcess p = ctx.Start(L"a.txt", dir);
    HWND main = WaitForWindow(MainClass, MainCaption, p.pid, StartTimeoutMs);
    CHECK(main != nullptr);
    CHECK(WaitForTitle(main, dir + L"a.txt"));
    CHECK(SendKey(main, VK_END, { VK_SHIFT }));
    CHECK(SendKey(main, 'C', { VK_CONTROL }));
    Sleep(300);
    CHECK_EQ(ClipboardText(), std::string("abc"));
    CHECK(SendKey(main, VK_DOWN));
    CHECK(SendKey(main, VK_END));
    CHECK(SendKey(main, 'V', { VK_CONTROL }));
    // Ctrl+K centres the line in the right margin's width; Ctrl+U takes it back.
    CHECK(SendKey(main, 'K', { VK_CONTROL }));
    CHECK(SendKey(main, 'U', { VK_CONTROL }));
    CHECK(SendKey(main, 'S', { VK_CONTROL }));
    CHECK(WaitForFileContent(dir + L"a.txt", "abc\r\ndefabc\r\n", 3000));
}

// Sets the edit part of the n-th combo box of a dialog, as typing would.
bool SetComboText(HWND dialog, int index, const std::wstring& text)
{
    HWND combo = nullptr;
    for (int i = 0; i <= index; ++i)
        if ((combo = FindWindowExW(dialog, combo, L"ComboBox", nullptr)) == nullptr)
            return false;
    HWND edit = FindWindowExW(combo, nullptr, L"Edit", nullptr);
    if (!edit)
        return false;
    SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    return true;
}

bool WaitGone(HWND hwnd)
{
    DWORD start = GetTickCount();
    while (IsWindowVisible(hwnd) && GetTickCount() - start < 3000)
        Sleep(50);
    return !IsWindowVisible(hwnd);
}

void FindNextSelectsTheMatchAndF3RepeatsIt(TContext& ctx)
{
    std::wstring dir = MakeTempDir(L"find");
    CHECK(WriteTextFile(dir + L"a.txt", "one\r\ntwo hello\r\nthree\r\nfour hello\r\n"));
    TProcess p = ctx.Start(L"a.txt", dir);
    HWND main = WaitForWindow(MainClass, MainCaption, p.pid, StartTimeoutMs);
    CHECK(main != nullptr);
    CHECK(WaitForStatusText(main, 3, L"0001", 5000));
    CHECK(SendKey(main, VK_F2));
    HWND find = WaitForMessageBox(L"Find", p.pid, 5000);
    CHECK(find != nullptr);
    // Nothing typed yet: Find Next is off.
    HWND next = FindChildWithText(find, L"Button", L"&Find Next");
    CHECK(next != nullptr);
    CHECK(!IsWindowEnabled(next));
    CHECK(SetComboText(find, 0, L"hello"));
    CHECK(ClickButton(find, L"Find Next"));
    CHECK(WaitGone(find));
    // The caret sits at the end of the selected match.
    CHECK(WaitForStatusText(main, 3, L"0002", 3000));
    CHECK(WaitForStatusText(main, 4, L"0010", 3000));
    CHECK(SendKey(main, VK_F3));
    CHECK(WaitForStatusText(main, 3, L"0004", 3000));
    CHECK(WaitForStatusText(main, 4, L"0011", 3000));
    // No further match: the message, and the caret stays.
    CHECK(SendKey(main, VK_F3));
    HWND box = WaitForMessageBox(L"Search", p.pid, 5000);
    CHECK(box != nullptr);
    CHECK_EQ(MessageBoxText(box), std::wstring(L"No more matches found"));
    CHECK(ClickButton(box, L"OK"));
    CHECK(WaitGone(box));
    CHECK_EQ(StatusBarText(main, 3), std::wstring(L"0004"));
    // The dialog is reused and offers the last text again.
    CHECK(SendKey(main, VK_F2));
    find = WaitForMessageBox(L"Find", p.pid, 5000);
    CHECK(find != nullptr);
    HWND combo = FindWindowExW(find, nullptr, L"ComboBox", nullptr);
    CHECK_EQ(WindowText(combo), std::wstring(L"hello"));
    CHECK(ClickButton(find, L"Cancel"));
    CHECK(WaitGone(find));
    // The keyboard is back in the document.
    CHECK(SendKey(main, VK_END));
    CHECK(TypeText(main, "z"));
    CHECK(WaitForStatusText(main, 4, L"0012", 3000));
}

void ReplaceAllChangesTheTextThatIsThenSaved(TContext& ctx)
{
    std::wstring dir = MakeTempDir(L"replace");
    CHECK(WriteTextFile(dir + L"a.txt", "cat dog\r\nCat cat\r\n"));
    TProcess p = ctx.Start(L"a.txt", dir);
    HWND main = WaitForWindow(MainClass, MainCaption, p.pid, StartTimeoutMs);
    CHECK(main != nullptr);
    CHECK(WaitForStatusText(main, 3, L"0001", 5000));
    PostCommand(main, IDM_SEARCH_REPLACE);
    HWND dialog = WaitForMessageBox(L"Replace", p.pid, 5000);
    CHECK(dialog != nullptr);
    CHECK(SetComboText(dialog, 0, L"cat"));
    // A backslash-t in the replacement stands for a TAB.
    CHECK(SetComboText(dialog, 1, L"ox\\t"));
    CHECK(ClickButton(dialog, L"Replace All"));
    CHECK(WaitGone(dialog));
    PostCommand(main, IDM_FILE_SAVE);
    const std::string want = "ox\t dog\r\nox\t ox\t\r\n";
    if (!WaitForFileContent(dir + L"a.txt", want, 5000)) {
        std::string got;
        ReadTextFile(dir + L"a.txt", &got);
        CHECK_EQ(got, want);
    }
}

void ChosenDictionaryReplacesWordsAsTheyAreTyped(TContext& ctx)
{
    std::wstring dir = MakeTempDir(L"dic");
    CHECK(WriteTextFile(dir + L"words.ydc", "[Wexly2 Dictionary File V1]\r\n1\r\nteh..the\r\n"));
    CHECK(WriteTextFile(dir + L"a.txt", ""));
    TProcess p = ctx.Start(L"a.txt", dir);
    HWND main = WaitForWindow(MainClass, MainCaption, p.pid, StartTimeoutMs);
    CHECK(main != nullptr);
    CHECK(WaitForTitle(main, dir + L"a.txt"));
    PostCommand(main, IDM_DIC_CURRENT);
    HWND dialog = WaitForMessageBox(L"Choose A Dictionary", p.pid, 5000);
    CHECK(dialog != nullptr);
    HWND edit = FindWindowExW(dialog, nullptr, L"Edit", nullptr);
    CHECK(edit != nullptr);
    const std::wstring path = dir + L"words.ydc";
    SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
    CHECK(ClickButton(dialog, L"OK"));
    CHECK(WaitGone(dialog));
    // Loaded and switched on; the match-case option adapts the replacement to the typed word.
    CHECK(TypeText(main, "teh Teh TEH teh'"));
    CHECK(SendKey(main, 'S', { VK_CONTROL }));
    CHECK(WaitForFileContent(dir + L"a.txt", "the The THE teh'\r\n", 3000));
    // Ctrl+D switches the system off.
    CHECK(SendKey(main, 'D', { VK_CONTROL }));
    CHECK(TypeText(main, " teh "));
    CHECK(SendKey(main, 'S', { VK_CONTROL }));
    CHECK(WaitForFileContent(dir + L"a.txt", "the The THE teh' teh \r\n", 3000));
}

// A settings file beside wexly.exe for one test; removed when the test ends.
class TSettingsFileForTest
{
public:
    TSettingsFileForTest(const std::wstring& wexly, const std::string& content)
        : m_path(wexly.substr(0, wexly.find_last_of(L'.')) + L".ini")
    {
        m_ok = WriteTextFile(m_path, content);
    }
    ~TSettingsFileForTest() { DeleteFileW(m_path.c_str()); }
    TSettingsFileForTest(const TSettingsFileForTest&) = delete;
    TSettingsFileForTest& operator=(const TSettingsFileForTest&) = delete;
    bool Ok() const { return m_ok; }

private:
    std::wstring m_path;
    bool m_ok = false;
};

void PilesMacrosAndToolsComeFromTheSettings(TContext& ctx)
{
    std::wstring dir = MakeTempDir(L"piles");
    CHECK(WriteTextFile(dir + L"a.txt", "alpha\r\n"));
    CHECK(WriteTextFile(dir + L"member.txt", "member\r\n"));
    const std::string member = Narrow(dir) + "member.txt";
    TSettingsFileForTest ini(ctx.wexly,
        "[Piles]\r\n#=1\r\n0=!AWork\r\n"
        "[PFiles]\r\n#=1\r\n0=A0"
            + member
            + "\r\n"
              "[Macros]\r\n#=1\r\n0=03xy<ENTER>\r\n"
              "[External]\r\n#=1\r\n0=&Echo\r\n0cl=cmd /c echo tool-output\r\n0dir=\r\n0flg=4\r\n"
              "0fname=\r\n");
    CHECK(ini.Ok());
    TProcess p = ctx.Start(L"a.txt", dir);
    HWND main = WaitForWindow(MainClass, MainCaption, p.pid, StartTimeoutMs);
    CHECK(main != nullptr);
    CHECK(WaitForTitle(main, dir + L"a.txt"));
    // Shift+F3 plays macro 3 into the document.
    CHECK(SendKey(main, VK_F3, { VK_SHIFT }));
    CHECK(SendKey(main, 'S', { VK_CONTROL }));
    CHECK(WaitForFileContent(dir + L"a.txt", "xy\r\nalpha\r\n", 3000));
    // Piles > Work > the member file opens it; the sub-pile's menu hints itself.
    CHECK(SendKey(main, 'P', { VK_MENU }));
    CHECK(WaitForStatusText(main, 0, L"Add to this pile", 3000));
    CHECK(SendKey(main, VK_DOWN));
    CHECK(WaitForStatusText(main, 0, L"Sub-pile", 3000));
    CHECK(SendKey(main, VK_RIGHT));
    CHECK(SendKey(main, VK_DOWN));
    CHECK(WaitForStatusText(main, 0, L"Open this file", 3000));
    CHECK(SendKey(main, VK_RETURN));
    CHECK(WaitForTitle(main, dir + L"member.txt"));
    // Tools > Echo runs the program and shows what it printed in the Console document.
    CHECK(SendKey(main, 'T', { VK_MENU }));
    CHECK(SendKey(main, 'E'));
    CHECK(WaitForTitle(main, L"Console", 10000));
}

void DictionaryMaintenanceEditsSavesAndTakesEffect(TContext& ctx)
{
    std::wstring dir = MakeTempDir(L"dicmaint");
    CHECK(WriteTextFile(
        dir + L"words.ydc", "[Wexly2 Dictionary File V1]\r\n0\r\nteh..the\r\nb..c\r\n"));
    CHECK(WriteTextFile(dir + L"a.txt", ""));
    TSettingsFileForTest ini(
        ctx.wexly, "[Wexly]\r\nLastDic=" + Narrow(dir) + "words.ydc\r\nDicOn=1\r\n");
    CHECK(ini.Ok());
    TProcess p = ctx.Start(L"a.txt", dir);
    HWND main = WaitForWindow(MainClass, MainCaption, p.pid, StartTimeoutMs);
    CHECK(main != nullptr);
    CHECK(WaitForTitle(main, dir + L"a.txt"));
    PostCommand(main, IDM_DIC_MAINTAIN);
    HWND dialog = WaitForMessageBox(L"Dictionary Maintenance", p.pid, 5000);
    CHECK(dialog != nullptr);
    // The two entries and the empty row for a new one; a space cannot be typed.
    CHECK(SendKey(dialog, VK_DOWN));
    CHECK(SendKey(dialog, VK_DOWN));
    CHECK(TypeText(dialog, "a bc"));
    CHECK(SendKey(dialog, VK_TAB));
    CHECK(TypeText(dialog, "xyz"));
    PostMessageW(dialog, WM_COMMAND, IDC_DICMAINT_SAVE, 0);
    CHECK(WaitForFileContent(dir + L"words.ydc",
        "[Wexly2 Dictionary File V1]\r\n0\r\nabc..xyz\r\nb..c\r\nteh..the\r\n", 3000));
    // Ctrl+Delete removes a row; closing then asks, and Cancel keeps the window.
    CHECK(SendKey(dialog, VK_UP));
    CHECK(SendKey(dialog, VK_DELETE, { VK_CONTROL }));
    CHECK(SendKey(dialog, VK_ESCAPE));
    HWND ask = WaitForMessageBox(L"Attention!", p.pid, 3000);
    CHECK(ask != nullptr);
    CHECK(ClickButton(ask, L"Cancel"));
    CHECK(WaitGone(ask));
    CHECK(IsWindow(dialog));
    CHECK(SendKey(dialog, VK_ESCAPE));
    ask = WaitForMessageBox(L"Attention!", p.pid, 3000);
    CHECK(ask != nullptr);
    CHECK(ClickButton(ask, L"No"));
    CHECK(WaitGone(dialog));
    // The saved words are in use at once.
    CHECK(TypeText(main, "abc teh "));
    CHECK(SendKey(main, 'S', { VK_CONTROL }));
    CHECK(WaitForFileContent(dir + L"a.txt", "xyz the \r\n", 3000));
}

// Presses or releases a key wherever the keyboard is (an open popup menu takes it).
void KeyEvent(WORD vk, bool up)
{
    INPUT in {};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    SendInput(1, &in, sizeof(in));
}

void DroppedFilesOpenAndAltOffersTheDropMenu(TContext& ctx)
{
    std::wstring dir = MakeTempDir(L"drop");
    CHECK(WriteTextFile(dir + L"a.txt", "alpha\r\n"));
    CHECK(WriteTextFile(dir + L"b c.txt", "beta\r\n"));
    CHECK(WriteTextFile(dir + L"d.bin", "delta\r\n"));
    TProcess p = ctx.Start(L"", dir);
    HWND main = WaitForWindow(MainClass, MainCaption, p.pid, StartTimeoutMs);
    CHECK(main != nullptr);
    CHECK(DropFilesOn(main, { dir + L"a.txt", dir + L"b c.txt" }, { 40, 80 }));
    CHECK(WaitForStatusText(main, 0, L"2 File(s) opened... 2 Total", 5000));
    CHECK(WaitForTitle(main, dir + L"b c.txt"));
    CHECK_EQ(StatusBarText(main, 2), std::wstring(L"Ins"));
    // With Alt held the drop menu chooses: the second item opens as binary.
    SetForegroundWindow(main);
    KeyEvent(VK_MENU, false);
    Sleep(300); // until the key state says Alt is down
    CHECK(DropFilesOn(main, { dir + L"d.bin" }, { 40, 80 }));
    HWND menu = nullptr;
    for (int i = 0; i < 100 && !menu; ++i) {
        Sleep(50);
        menu = FindWindowW(L"#32768", nullptr);
        if (menu && !IsWindowVisible(menu))
            menu = nullptr;
    }
    KeyEvent(VK_MENU, true);
    CHECK(menu != nullptr);
    KeyEvent(VK_DOWN, false);
    KeyEvent(VK_DOWN, true);
    Sleep(100);
    KeyEvent(VK_DOWN, false);
    KeyEvent(VK_DOWN, true);
    Sleep(100);
    KeyEvent(VK_RETURN, false);
    KeyEvent(VK_RETURN, true);
    CHECK(WaitForTitle(main, dir + L"d.bin"));
    CHECK(WaitForStatusText(main, 2, L"Ovr", 3000)); // binary views overwrite
}

void EditPopupOfTheViewSavesAndCopies(TContext& ctx)
{
    std::wstring dir = MakeTempDir(L"popup");
    CHECK(WriteTextFile(dir + L"a.txt", "abc\r\n"));
    TProcess p = ctx.Start(L"a.txt", dir);
    HWND main = WaitForWindow(MainClass, MainCaption, p.pid, StartTimeoutMs);
    CHECK(main != nullptr);
    CHECK(WaitForTitle(main, dir + L"a.txt"));
    CHECK(WaitForStatusText(main, 0, L"1 File(s) opened... 1 Total", 5000));
    CHECK(TypeText(main, "x"));
    CHECK(WaitForStatusText(main, 4, L"0002", 3000));
    HWND view = nullptr;
    for (HWND w = FindWindowExW(main, nullptr, L"TCellGridWindow", nullptr); w && !view;
         w = FindWindowExW(main, w, L"TCellGridWindow", nullptr))
        if (IsWindowVisible(w))
            view = w;
    CHECK(view != nullptr);
    RECT r {};
    GetWindowRect(view, &r);
    auto openPopup = [&] {
        PostMessageW(view, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(view),
            MAKELPARAM(r.left + 30, r.top + 30));
        HWND menu = nullptr;
        for (int i = 0; i < 100 && !menu; ++i) {
            Sleep(50);
            menu = FindWindowW(L"#32768", nullptr);
            if (menu && !IsWindowVisible(menu))
                menu = nullptr;
        }
        Sleep(300); // the menu's loop takes the keyboard once it runs
        return menu != nullptr;
    };
    CHECK(openPopup());
    KeyEvent('S', false);
    KeyEvent('S', true);
    CHECK(WaitForFileContent(dir + L"a.txt", "xabc\r\n", 3000));
    // Select All from the keyboard, the popup's Cut, then paste twice.
    CHECK(SendKey(main, 'A', { VK_CONTROL }));
    CHECK(WaitForStatusText(main, 3, L"0002", 3000)); // the caret at the end of the selection
    CHECK(openPopup());
    KeyEvent('T', false);
    KeyEvent('T', true);
    Sleep(300);
    CHECK(SendKey(main, 'V', { VK_CONTROL }));
    CHECK(SendKey(main, 'V', { VK_CONTROL }));
    CHECK(SendKey(main, 'S', { VK_CONTROL }));
    // The whole text was cut without its final line break.
    CHECK(WaitForFileContent(dir + L"a.txt", "xabcxabc\r\n", 3000));
}

void ReopenDialogOpensTheChosenFileAgain(TContext& ctx)
{
    std::wstring dir = MakeTempDir(L"reopendlg");
    CHECK(WriteTextFile(dir + L"a.txt", "alpha\r\n"));
    CHECK(WriteTextFile(dir + L"b.txt", "beta\r\n"));
    TProcess p = ctx.Start(L"a.txt b.txt", dir);
    HWND main = WaitForWindow(MainClass, MainCaption, p.pid, StartTimeoutMs);
    CHECK(main != nullptr);
    CHECK(WaitForStatusText(main, 0, L"2 File(s) opened... 2 Total", 5000));
    PostCommand(main, IDM_FILE_CLOSEALL);
    CHECK(WaitForStatusText(main, 3, L"0000", 3000));
    PostCommand(main, IDM_FILE_REOPEN);
    HWND dialog = WaitForMessageBox(L"Reopen Files...", p.pid, 5000);
    CHECK(dialog != nullptr);
    CHECK(FindWindowExW(dialog, nullptr, L"SysHeader32", nullptr) != nullptr);
    // Close All began with the current file, so a.txt closed last and is offered first.
    CHECK(SendKey(dialog, VK_RETURN));
    CHECK(WaitGone(dialog));
    CHECK(WaitForTitle(main, dir + L"a.txt"));
}

void GotoLineMovesTheCaret(TContext& ctx)
{
    std::wstring dir = MakeTempDir(L"goto");
    CHECK(WriteTextFile(dir + L"a.txt", "a\r\nb\r\nc\r\nd\r\ne\r\n"));
    TProcess p = ctx.Start(L"a.txt", dir);
    HWND main = WaitForWindow(MainClass, MainCaption, p.pid, StartTimeoutMs);
    CHECK(main != nullptr);
    CHECK(WaitForStatusText(main, 3, L"0001", 5000));
    CHECK(SendKey(main, VK_F4));
    HWND dialog = WaitForMessageBox(L"Goto Line", p.pid, 5000);
    CHECK(dialog != nullptr);
    HWND edit = FindWindowExW(dialog, nullptr, L"Edit", nullptr);
    CHECK(edit != nullptr);
    SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"4"));
    CHECK(ClickButton(dialog, L"OK"));
    CHECK(WaitGone(dialog));
    CHECK(WaitForStatusText(main, 3, L"0004", 3000));
    // Beyond the end: the last line.
    CHECK(SendKey(main, VK_F4));
    dialog = WaitForMessageBox(L"Goto Line", p.pid, 5000);
    CHECK(dialog != nullptr);
    CHECK_EQ(WindowText(edit), std::wstring(L"4"));
    SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"99"));
    CHECK(ClickButton(dialog, L"OK"));
    CHECK(WaitGone(dialog));
    CHECK(WaitForStatusText(main, 3, L"0006", 3000));
    // Cancel moves nothing.
    CHECK(SendKey(main, VK_F4));
    dialog = WaitForMessageBox(L"Goto Line", p.pid, 5000);
    CHECK(dialog != nullptr);
    SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"2"));
    CHECK(ClickButton(dialog, L"Cancel"));
    CHECK(WaitGone(dialog));
    Sleep(300);
    CHECK_EQ(StatusBarText(main, 3), std::wstring(L"0006"));
}

// A PostScript printer that prints to a file, registered in the prefix for the preview test when
// there is none: the usual Wine set-up has no printer.
const wchar_t* const TestPrinterKey
    = L"System\\CurrentControlSet\\Control\\Print\\Printers\\WexlyTest";
const wchar_t* const DeviceKey = L"Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows";

void SetRegString(HKEY root, const std::wstring& key, const wchar_t* name, const std::wstring& v)
{
    RegSetKeyValueW(root, key.c_str(), name, REG_SZ, v.c_str(),
        static_cast<DWORD>((v.size() + 1) * sizeof(wchar_t)));
}

void SetRegNumber(HKEY root, const std::wstring& key, const wchar_t* name, DWORD v)
{
    RegSetKeyValueW(root, key.c_str(), name, REG_DWORD, &v, sizeof(v));
}

bool AddTestPrinter(const std::wstring& dir)
{
    const std::wstring ppd = dir + L"wexlytest.ppd";
    const char* text = "*PPD-Adobe: \"4.3\"\n*FormatVersion: \"4.3\"\n*FileVersion: \"1.0\"\n"
                       "*LanguageVersion: English\n*LanguageEncoding: ISOLatin1\n"
                       "*PCFileName: \"WEXLYT.PPD\"\n*Manufacturer: \"Wexly\"\n"
                       "*Product: \"(Wexly Test)\"\n*PSVersion: \"(3010.000) 0\"\n"
                       "*ModelName: \"Wexly Test\"\n*ShortNickName: \"Wexly Test\"\n"
                       "*NickName: \"Wexly Test\"\n*ColorDevice: False\n"
                       "*DefaultColorSpace: Gray\n*LanguageLevel: \"3\"\n*FreeVM: \"4000000\"\n"
                       "*DefaultResolution: 300dpi\n*OpenUI *PageSize: PickOne\n"
                       "*OrderDependency: 100 AnySetup *PageSize\n*DefaultPageSize: Letter\n"
                       "*PageSize Letter/Letter: \"<</PageSize[612 792]>>setpagedevice\"\n"
                       "*CloseUI: *PageSize\n*OpenUI *PageRegion: PickOne\n"
                       "*OrderDependency: 100 AnySetup *PageRegion\n*DefaultPageRegion: Letter\n"
                       "*PageRegion Letter/Letter: \"<</PageSize[612 792]>>setpagedevice\"\n"
                       "*CloseUI: *PageRegion\n*DefaultImageableArea: Letter\n"
                       "*ImageableArea Letter/Letter: \"18 36 594 756\"\n"
                       "*DefaultPaperDimension: Letter\n"
                       "*PaperDimension Letter/Letter: \"612 792\"\n*DefaultFont: Courier\n"
                       "*Font Courier: Standard \"(002.004S)\" Standard ROM\n"
                       "*Font Courier-Bold: Standard \"(002.004S)\" Standard ROM\n";
    if (!WriteTextFile(ppd, text))
        return false;
    const std::wstring driver = L"System\\CurrentControlSet\\Control\\Print\\Environments\\"
                                L"Windows NT x86\\Drivers\\Version-3\\Wine PostScript Driver";
    SetRegString(HKEY_LOCAL_MACHINE, driver, L"Driver", L"wineps.drv");
    SetRegString(HKEY_LOCAL_MACHINE, driver, L"Configuration File", L"wineps.drv");
    SetRegString(HKEY_LOCAL_MACHINE, driver, L"Data File", ppd);
    SetRegNumber(HKEY_LOCAL_MACHINE, driver, L"Version", 3);
    SetRegString(HKEY_LOCAL_MACHINE, TestPrinterKey, L"Name", L"WexlyTest");
    // A port that is a file name: what is printed lands there.
    const std::wstring out = dir + L"printed.ps";
    SetRegString(HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\Windows NT\\CurrentVersion\\Ports",
        out.c_str(), L"");
    SetRegString(HKEY_LOCAL_MACHINE, TestPrinterKey, L"Port", out);
    SetRegString(HKEY_LOCAL_MACHINE, TestPrinterKey, L"Printer Driver", L"Wine PostScript Driver");
    SetRegString(HKEY_LOCAL_MACHINE, TestPrinterKey, L"Datatype", L"RAW");
    SetRegString(HKEY_LOCAL_MACHINE, TestPrinterKey, L"Print Processor", L"winprint");
    SetRegNumber(HKEY_LOCAL_MACHINE, TestPrinterKey, L"Attributes", 4);
    SetRegString(HKEY_CURRENT_USER, DeviceKey, L"Device", L"WexlyTest,winspool," + out);
    return true;
}

void RemoveTestPrinter()
{
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, TestPrinterKey);
    RegDeleteKeyValueW(HKEY_CURRENT_USER, DeviceKey, L"Device");
}

// Printers are listed under this key; the usual Wine set-up has none.
bool AnyPrinter()
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"System\\CurrentControlSet\\Control\\Print\\Printers", 0,
            KEY_READ, &key)
        != ERROR_SUCCESS)
        return false;
    DWORD count = 0;
    RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &count, nullptr, nullptr, nullptr, nullptr,
        nullptr, nullptr, nullptr);
    RegCloseKey(key);
    return count > 0;
}

// The page the preview shows, from its page box.
std::wstring PreviewPage(HWND preview)
{
    return WindowText(GetDlgItem(preview, IDC_PREVIEW_PAGE));
}

bool WaitForPreviewPage(HWND preview, const std::wstring& page)
{
    for (int i = 0; i < 60; ++i) {
        if (PreviewPage(preview) == page)
            return true;
        Sleep(50);
    }
    return false;
}

// Prints the document on the test printer and checks the pages in the file its port writes.
void PrintToTestPrinter(TContext& ctx, HWND main, DWORD pid, const std::wstring& dir, int pages)
{
    PostCommand(main, IDM_FILE_PRINT);
    HWND dialog = WaitForMessageBox(L"Print", pid, 8000);
    CHECK(dialog != nullptr);
    Sleep(300);
    HWND ok = FindWindowExW(dialog, nullptr, L"Button", L"OK");
    CHECK(ok != nullptr);
    PostMessageW(ok, BM_CLICK, 0, 0);
    CHECK(WaitForStatusText(main, 0, L"Printing Complete", 8000));
    std::string printed;
    for (int i = 0; i < 50 && printed.find("%%EOF") == std::string::npos; ++i) {
        Sleep(100);
        ReadTextFile(dir + L"printed.ps", &printed);
    }
    CHECK_EQ(printed.substr(0, 4), std::string("%!PS"));
    size_t pagesPrinted = 0;
    for (size_t at = printed.find("%%Page:"); at != std::string::npos;
         at = printed.find("%%Page:", at + 1))
        ++pagesPrinted;
    CHECK_EQ(pagesPrinted, static_cast<size_t>(pages));
}

// Without a printer (the usual Wine set-up) printing, printer setup and the preview say so; then,
// with one, the preview shows the pages of the document and pages through them.
void PreviewPagesThroughTheDocument(TContext& ctx)
{
    std::wstring dir = MakeTempDir(L"preview");
    const std::wstring ini = ctx.wexly.substr(0, ctx.wexly.find_last_of(L'.')) + L".ini";
    DeleteFileW(ini.c_str());
    std::string text;
    for (int i = 1; i <= 300; ++i)
        text += "line " + std::to_string(i) + "\r\n";
    CHECK(WriteTextFile(dir + L"p.txt", text));
    TProcess p = ctx.Start(L"p.txt", dir);
    HWND main = WaitForWindow(MainClass, MainCaption, p.pid, StartTimeoutMs);
    CHECK(main != nullptr);
    CHECK(WaitForStatusText(main, 3, L"0001", 5000));
    // The printer added below goes again however the test ends: the other tests expect none.
    struct TPrinterGuard
    {
        bool added = false;
        ~TPrinterGuard()
        {
            if (added)
                RemoveTestPrinter();
        }
    } printer;
    if (!AnyPrinter()) {
        for (UINT command : { IDM_FILE_PREVIEW, IDM_FILE_PRINT, IDM_FILE_PRINTSETUP }) {
            PostCommand(main, command);
            HWND error = WaitForMessageBox(L"Error", p.pid, 5000);
            CHECK(error != nullptr);
            CHECK_EQ(MessageBoxText(error),
                std::wstring(L"No printer is installed.\rPrinting and the print preview need a "
                             L"printer."));
            CHECK(ClickButton(error, L"OK"));
            CHECK(WaitGone(error));
        }
        // Nothing else came up, and the document is as it was.
        CHECK(WaitForWindow(L"TPreviewForm", L"Print Preview", p.pid, 300) == nullptr);
        CHECK(IsWindowEnabled(main));
        CHECK_EQ(StatusBarText(main, 3), std::wstring(L"0001"));
        printer.added = true;
        CHECK(AddTestPrinter(dir));
    }
    PostCommand(main, IDM_FILE_PREVIEW);
    HWND dialog = WaitForMessageBox(L"Print", p.pid, 8000);
    CHECK(dialog != nullptr);
    Sleep(300);
    HWND ok = FindWindowExW(dialog, nullptr, L"Button", L"OK");
    CHECK(ok != nullptr);
    PostMessageW(ok, BM_CLICK, 0, 0);
    HWND preview = WaitForWindow(L"TPreviewForm", L"Print Preview", p.pid, 8000);
    CHECK(preview != nullptr);
    CHECK(WaitForPreviewPage(preview, L"1"));
    const std::wstring of = WindowText(GetDlgItem(preview, IDC_PREVIEW_OF));
    CHECK_EQ(of.substr(0, 3), std::wstring(L"of "));
    const int pages = _wtoi(of.c_str() + 3);
    CHECK(pages >= 2); // 300 lines
    CHECK(!IsWindowEnabled(GetDlgItem(preview, IDC_PREVIEW_PREV)));
    CHECK(ClickDialogItem(preview, IDC_PREVIEW_NEXT));
    CHECK(WaitForPreviewPage(preview, L"2"));
    CHECK(ClickDialogItem(preview, IDC_PREVIEW_PREV));
    CHECK(WaitForPreviewPage(preview, L"1"));
    if (const char* pause = std::getenv("E2E_PREVIEW_PAUSE_MS"))
        Sleep(static_cast<DWORD>(std::atoi(pause)));
    for (int i = 0; i < pages; ++i)
        CHECK(ClickDialogItem(preview, IDC_PREVIEW_NEXT));
    CHECK(WaitForPreviewPage(preview, std::to_wstring(pages)));
    Sleep(200);
    CHECK(!IsWindowEnabled(GetDlgItem(preview, IDC_PREVIEW_NEXT)));
    for (int i = 0; i < 3; ++i)
        CHECK(ClickDialogItem(preview, IDC_PREVIEW_ZOOMOUT));
    if (const char* pause = std::getenv("E2E_PREVIEW_PAUSE_MS"))
        Sleep(static_cast<DWORD>(std::atoi(pause))); // time to look at it
    for (int i = 0; i < 7; ++i)
        CHECK(ClickDialogItem(preview, IDC_PREVIEW_ZOOMOUT));
    // The main window waits while the preview is open, and comes back when it closes.
    CHECK(!IsWindowEnabled(main));
    CHECK(ClickDialogItem(preview, IDC_PREVIEW_CLOSE));
    CHECK(WaitGone(preview));
    Sleep(200);
    CHECK(IsWindowEnabled(main));
    if (printer.added) // a real printer: no paper wasted
        PrintToTestPrinter(ctx, main, p.pid, dir, pages);
    // The magnification survives the run: it stopped at the lowest level.
    PostCommand(main, IDM_FILE_EXIT);
    DWORD code = 12345;
    CHECK(WaitForExit(p, 5000, &code));
    std::string settings;
    CHECK(ReadTextFile(ini, &settings));
    CHECK(settings.find("prevMagLevel=-5\r\n") != std::string::npos);
}

// Opens Settings and waits for the Preferences dialog.
HWND OpenPreferences(HWND main, DWORD pid)
{
    PostCommand(main, IDM_OPTIONS_SETTINGS);
    return WaitForMessageBox(L"Preferences", pid, 5000);
}

struct TToolButtonSearch
{
    int id;
    HWND found;
};

BOOL CALLBACK FindShownToolButton(HWND hwnd, LPARAM lp)
{
    auto* search = reinterpret_cast<TToolButtonSearch*>(lp);
    if (GetDlgCtrlID(hwnd) != search->id || ClassNameOf(hwnd) != L"TZulSpeed"
        || !IsWindowVisible(hwnd))
        return TRUE;
    search->found = hwnd;
    return FALSE;
}

// The main window's tool bar button for `code`, when it is shown; null otherwise.
HWND ShownToolButton(HWND main, int code)
{
    TToolButtonSearch search { 5000 + code, nullptr };
    EnumChildWindows(main, FindShownToolButton, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void PreferencesOkChangesTheSettingsAndCancelLeavesThem(TContext& ctx)
{
    std::wstring ini = ctx.wexly.substr(0, ctx.wexly.find_last_of(L'.')) + L".ini";
    DeleteFileW(ini.c_str());
    std::wstring dir = MakeTempDir(L"prefs");
    TProcess p = ctx.Start(L"", dir);
    HWND main = WaitForWindow(MainClass, MainCaption, p.pid, StartTimeoutMs);
    CHECK(main != nullptr);
    // The tool bar's Settings button works.
    HWND settingsButton = nullptr;
    for (DWORD start = GetTickCount(); !settingsButton && GetTickCount() - start < 5000; Sleep(50))
        settingsButton = ShownToolButton(main, 29);
    CHECK(settingsButton != nullptr);
    CHECK(IsWindowEnabled(settingsButton));
    PostMessageW(settingsButton, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    PostMessageW(settingsButton, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    PostMessageW(settingsButton, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    HWND dialog = WaitForMessageBox(L"Preferences", p.pid, 5000);
    CHECK(dialog != nullptr);
    CHECK_EQ(DialogItemText(dialog, IDC_GEN_TABSIZE), std::wstring(L"8"));
    CHECK_EQ(DialogItemChecked(dialog, IDC_BAR_TOOLBAR), 1);
    CHECK(SetDialogItemText(dialog, IDC_GEN_TABSIZE, L"4"));
    CHECK(SetDialogItemChecked(dialog, IDC_BAR_TOOLBAR, false));
    CHECK(ClickButton(dialog, L"OK"));
    CHECK(WaitGone(dialog));
    Sleep(300);
    CHECK(ShownToolButton(main, 29) == nullptr);
    // The next showing starts from the settings as stored; Cancel drops what was changed.
    dialog = OpenPreferences(main, p.pid);
    CHECK(dialog != nullptr);
    CHECK_EQ(DialogItemText(dialog, IDC_GEN_TABSIZE), std::wstring(L"4"));
    CHECK_EQ(DialogItemChecked(dialog, IDC_BAR_TOOLBAR), 0);
    CHECK(SetDialogItemText(dialog, IDC_GEN_TABSIZE, L"6"));
    CHECK(SetDialogItemChecked(dialog, IDC_BAR_FILEBUTTONS, false));
    CHECK(ClickButton(dialog, L"Cancel"));
    CHECK(WaitGone(dialog));
    PostCommand(main, IDM_FILE_EXIT);
    DWORD code = 12345;
    CHECK(WaitForExit(p, 5000, &code));
    std::string first;
    CHECK(ReadTextFile(ini, &first));
    CHECK(first.find("genTabSize=4\r\n") != std::string::npos);
    CHECK(first.find("btnTool=0\r\n") != std::string::npos);
    CHECK(first.find("btnFBtns=1\r\n") != std::string::npos);

    // A run that only cancels writes back what it read.
    p = ctx.Start(L"", dir);
    main = WaitForWindow(MainClass, MainCaption, p.pid, StartTimeoutMs);
    CHECK(main != nullptr);
    dialog = OpenPreferences(main, p.pid);
    CHECK(dialog != nullptr);
    CHECK(SetDialogItemText(dialog, IDC_GEN_TABSIZE, L"7"));
    CHECK(SetDialogItemChecked(dialog, IDC_BAR_TOOLBAR, true));
    CHECK(ClickButton(dialog, L"Cancel"));
    CHECK(WaitGone(dialog));
    PostCommand(main, IDM_FILE_EXIT);
    CHECK(WaitForExit(p, 5000, &code));
    std::string second;
    CHECK(ReadTextFile(ini, &second));
    CHECK(second == first);
}

// A help page that the test puts in place when the build has none, and takes away again.
class THelpPageStandIn
{
public:
    THelpPageStandIn(const std::wstring& wexly, int topic)
        : m_path(wexly.substr(0, wexly.find_last_of(L"\\/") + 1) + L"help\\"
            + std::to_wstring(topic) + L".html")
    {
        if (GetFileAttributesW(m_path.c_str()) == INVALID_FILE_ATTRIBUTES)
            m_made = WriteTextFile(m_path, "<p>topic " + std::to_string(topic) + "</p>\r\n");
    }
    ~THelpPageStandIn()
    {
        if (m_made)
            DeleteFileW(m_path.c_str());
    }
    THelpPageStandIn(const THelpPageStandIn&) = delete;
    THelpPageStandIn& operator=(const THelpPageStandIn&) = delete;
    const std::wstring& Path() const { return m_path; }

private:
    std::wstring m_path;
    bool m_made = false;
};

void PreferencesHelpShowsThePageOfTheSelectedPage(TContext& ctx)
{
    std::wstring dir = MakeTempDir(L"prefhelp");
    const std::wstring opened = dir + L"opened.html";
    THtmlOpenRecorder recorder(opened);
    CHECK(recorder.Ok());
    // "Button Bars" is the second page: topic 21.
    THelpPageStandIn page(ctx.wexly, 21);
    TProcess p = ctx.Start(L"", dir);
    HWND main = WaitForWindow(MainClass, MainCaption, p.pid, StartTimeoutMs);
    CHECK(main != nullptr);
    HWND dialog = OpenPreferences(main, p.pid);
    CHECK(dialog != nullptr);
    CHECK(SelectDialogListLine(dialog, IDC_PREF_PAGES, 1));
    CHECK(ClickDialogItem(dialog, IDC_PREF_HELP));
    std::string shown;
    DWORD start = GetTickCount();
    while (!ReadTextFile(opened, &shown) && GetTickCount() - start < 5000)
        Sleep(100);
    std::string expected;
    CHECK(ReadTextFile(page.Path(), &expected));
    CHECK(!shown.empty());
    CHECK(shown == expected);
    CHECK(WaitForMessageBox(L"Error!", p.pid, 300) == nullptr);
    CHECK(ClickButton(dialog, L"Cancel"));
    CHECK(WaitGone(dialog));
}

void NextDifferentWordStopsAtTheFirstDifferingPair(TContext& ctx)
{
    std::wstring dir = MakeTempDir(L"nextdiff");
    CHECK(WriteTextFile(dir + L"a.txt", "alpha beta gamma\r\nalpha beta delta\r\n"));
    TProcess p = ctx.Start(L"a.txt", dir);
    HWND main = WaitForWindow(MainClass, MainCaption, p.pid, StartTimeoutMs);
    CHECK(main != nullptr);
    CHECK(WaitForTitle(main, dir + L"a.txt"));
    // Both panes show the text; the second one starts a line further down.
    CHECK(SendKey(main, VK_F6, { VK_MENU }));
    Sleep(500);
    CHECK(SendKey(main, VK_DOWN));
    CHECK(WaitForStatusText(main, 3, L"0002", 3000));
    CHECK(SendKey(main, VK_F5));
    // "beta" matches "beta"; "gamma" and "delta" differ, and the focused pane selects its word.
    DWORD start = GetTickCount();
    while (StatusBarText(main, 4) == L"0001" && GetTickCount() - start < 3000)
        Sleep(50);
    CHECK_EQ(StatusBarText(main, 3), std::wstring(L"0002"));
    const std::wstring column = StatusBarText(main, 4);
    CHECK(column == L"0012" || column == L"0017");
}

// The Find dialog of a program started without documents: only the files range is offered.
HWND OpenFindInFiles(TContext& ctx, TProcess& p, HWND& main, const std::wstring& dir)
{
    p = ctx.Start(L"", dir);
    main = WaitForWindow(MainClass, MainCaption, p.pid, StartTimeoutMs);
    if (!main || !SendKey(main, VK_F2))
        return nullptr;
    return WaitForMessageBox(L"Find", p.pid, 5000);
}

HWND DialogButton(HWND dialog, const std::wstring& caption)
{
    return FindChildWithText(dialog, L"Button", caption);
}

bool WaitForDialogStatic(HWND dialog, const std::wstring& text)
{
    DWORD start = GetTickCount();
    while (!FindChildWithText(dialog, L"Static", text) && GetTickCount() - start < 10000)
        Sleep(50);
    return FindChildWithText(dialog, L"Static", text) != nullptr;
}

std::vector<std::wstring> TreeTexts(HWND tree)
{
    std::vector<std::wstring> texts;
    for (const TTreeNode& node : TreeNodes(tree))
        texts.push_back(std::wstring(static_cast<size_t>(node.level) * 2, L' ') + node.text);
    return texts;
}

void FindInFilesListsMatchesAndOpensTheChosenLine(TContext& ctx)
{
    std::wstring dir = MakeTempDir(L"fif");
    CHECK(CreateDirectoryW((dir + L"sub").c_str(), nullptr)
        || GetLastError() == ERROR_ALREADY_EXISTS);
    CHECK(WriteTextFile(dir + L"a.txt", "one\r\ntwo needle\r\nthree\r\nNeedle\tfour\r\n"));
    CHECK(WriteTextFile(dir + L"b.log", "needle, but not in the mask\r\n"));
    CHECK(WriteTextFile(dir + L"d.txt", "no match here\r\nneedles do not count\r\n"));
    CHECK(WriteTextFile(dir + L"sub\\c.txt", "x\r\ny\r\nz needle\r\n"));
    TProcess p;
    HWND main = nullptr;
    HWND find = OpenFindInFiles(ctx, p, main, dir);
    CHECK(find != nullptr);
    // With nothing open the files range is forced and the other two are off.
    HWND files = DialogButton(find, L"&Specify files to search");
    CHECK(files != nullptr);
    CHECK_EQ(SendMessageW(files, BM_GETCHECK, 0, 0), static_cast<LRESULT>(BST_CHECKED));
    CHECK(!IsWindowEnabled(DialogButton(find, L"&This file")));
    CHECK(!IsWindowEnabled(DialogButton(find, L"A&ll open files")));
    HWND tree = FindWindowExW(find, nullptr, L"SysTreeView32", nullptr);
    CHECK(tree != nullptr && IsWindowVisible(tree));
    HWND next = DialogButton(find, L"&Find Next");
    CHECK(!IsWindowEnabled(next));
    CHECK(SetComboText(find, 0, L"needle"));
    // The find text alone is not enough in this range: the mask is needed too.
    PostMessageW(find, WM_COMMAND, MAKEWPARAM(IDC_FIND_TEXT, CBN_EDITCHANGE), 0);
    Sleep(200);
    CHECK(!IsWindowEnabled(next));
    CHECK(SetComboText(find, 1, dir + L"*.txt"));
    SendMessageW(DialogButton(find, L"Search S&ubdirectories"), BM_SETCHECK, BST_CHECKED, 0);
    SendMessageW(DialogButton(find, L"Match &whole word only"), BM_SETCHECK, BST_CHECKED, 0);
    CHECK(ClickButton(find, L"Find Next"));
    CHECK(WaitForDialogStatic(find, L"Finished Search"));
    // Files before subdirectories; each file with its matching lines, TABs as two spaces.
    const std::vector<std::wstring> want = { dir + L"a.txt", L"  2:two needle", L"  4:Needle  four",
        dir + L"sub\\c.txt", L"  3:z needle" };
    CHECK_EQ(TreeTexts(tree), want);
    HWND open = DialogButton(find, L"&Open");
    CHECK(!IsWindowEnabled(open));
    CHECK(IsWindowEnabled(DialogButton(find, L"Cancel")));
    CHECK(!IsWindowEnabled(DialogButton(find, L"&Halt Search")));
    // The fourth line of a.txt.
    const std::vector<TTreeNode> nodes = TreeNodes(tree);
    CHECK(nodes.size() == want.size());
    if (nodes.size() != want.size())
        return;
    SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(nodes[2].item));
    CHECK(TreeNodes(tree)[2].selected);
    CHECK(IsWindowEnabled(open));
    CHECK(ClickButton(find, L"Open"));
    CHECK(WaitGone(find));
    CHECK(WaitForStatusText(main, 3, L"0004", 5000));
    CHECK(WaitForTitle(main, dir + L"a.txt"));
    // Repeat Last Find after a directory search opens the dialog again: compact, in "This file"
    // as a document is open now; the files range brings back the tree with its results, in a
    // form of its own size.
    CHECK(SendKey(main, VK_F3));
    find = WaitForMessageBox(L"Find", p.pid, 5000);
    CHECK(find != nullptr);
    CHECK(!IsWindowVisible(tree));
    CHECK((GetWindowLongW(find, GWL_STYLE) & WS_THICKFRAME) == 0);
    SendMessageW(DialogButton(find, L"&Specify files to search"), BM_CLICK, 0, 0);
    CHECK(IsWindowVisible(tree));
    CHECK((GetWindowLongW(find, GWL_STYLE) & WS_THICKFRAME) != 0);
    CHECK_EQ(TreeTexts(tree), want);
    RECT outer {};
    GetWindowRect(find, &outer);
    SetWindowPos(find, nullptr, 0, 0, outer.right - outer.left + 120, outer.bottom - outer.top + 90,
        SWP_NOMOVE | SWP_NOZORDER);
    RECT large {};
    GetClientRect(find, &large);
    // The browse button keeps 2 pixels from the right edge, the mask box 2 before it.
    RECT browse {};
    GetWindowRect(DialogButton(find, L"..."), &browse);
    MapWindowPoints(nullptr, find, reinterpret_cast<POINT*>(&browse), 2);
    CHECK_EQ(browse.right, large.right - 2);
    SendMessageW(DialogButton(find, L"&This file"), BM_CLICK, 0, 0);
    RECT compact {};
    RECT compactOuter {};
    GetClientRect(find, &compact);
    GetWindowRect(find, &compactOuter);
    CHECK(compact.bottom < large.bottom && !IsWindowVisible(tree));
    SendMessageW(DialogButton(find, L"&Specify files to search"), BM_CLICK, 0, 0);
    RECT again {};
    GetClientRect(find, &again);
    CHECK_EQ(again.right, large.right);
    CHECK_EQ(again.bottom, large.bottom);
    // No smaller than the compact form's width and its height plus room for the panel.
    SetWindowPos(find, nullptr, 0, 0, 50, 50, SWP_NOMOVE | SWP_NOZORDER);
    RECT least {};
    GetWindowRect(find, &outer);
    GetClientRect(find, &least);
    CHECK_EQ(outer.right - outer.left, compactOuter.right - compactOuter.left);
    CHECK_EQ(least.bottom, compact.bottom + 150);
    // Esc closes it without opening anything.
    CHECK(SendKey(find, VK_ESCAPE));
    CHECK(WaitGone(find));
    CHECK_EQ(StatusBarText(main, 3), std::wstring(L"0004"));
    // The searched directory became the file dialogs' last and most recent directory.
    PostCommand(main, IDM_FILE_EXIT);
    DWORD code = 12345;
    CHECK(WaitForExit(p, 5000, &code));
    std::string ini;
    CHECK(ReadTextFile(ctx.wexly.substr(0, ctx.wexly.find_last_of(L'.')) + L".ini", &ini));
    CHECK(ini.find("fdLastDir=" + Narrow(dir) + "\r\n") != std::string::npos);
    const size_t recent = ini.find("[FDHistory]");
    CHECK(recent != std::string::npos && ini.find(Narrow(dir), recent) != std::string::npos);
}

void FindInFilesEscHaltsARunningSearchAndThenCloses(TContext& ctx)
{
    std::wstring dir = MakeTempDir(L"fifhalt");
    for (int i = 0; i < 40; ++i)
        CHECK(WriteTextFile(dir + L"f" + std::to_wstring(i) + L".txt", "a match\r\n"));
    TProcess p;
    HWND main = nullptr;
    HWND find = OpenFindInFiles(ctx, p, main, dir);
    CHECK(find != nullptr);
    CHECK(SetComboText(find, 0, L"match"));
    CHECK(SetComboText(find, 1, dir + L"*.txt"));
    // Queued behind Find Next, Esc arrives while the first file is searched.
    CHECK(ClickButton(find, L"Find Next"));
    PostMessageW(find, WM_KEYDOWN, VK_ESCAPE, 0);
    CHECK(WaitForDialogStatic(find, L"Finished Search"));
    HWND tree = FindWindowExW(find, nullptr, L"SysTreeView32", nullptr);
    const std::vector<TTreeNode> nodes = TreeNodes(tree);
    CHECK_EQ(nodes.size(), static_cast<size_t>(2)); // one file with its line
    CHECK(IsWindowVisible(find));
    CHECK(IsWindowEnabled(DialogButton(find, L"Cancel")));
    CHECK(!IsWindowEnabled(DialogButton(find, L"&Halt Search")));
    // Without a search running Esc is Cancel.
    CHECK(SendKey(find, VK_ESCAPE));
    CHECK(WaitGone(find));
}

void FindInFilesReportsAMissingDirectory(TContext& ctx)
{
    std::wstring dir = MakeTempDir(L"fifmissing");
    TProcess p;
    HWND main = nullptr;
    HWND find = OpenFindInFiles(ctx, p, main, dir);
    CHECK(find != nullptr);
    CHECK(SetComboText(find, 0, L"anything"));
    CHECK(SetComboText(find, 1, dir + L"not here\\*.*"));
    CHECK(ClickButton(find, L"Find Next"));
    CHECK(WaitForDialogStatic(find, L"Directory does not exist"));
    HWND tree = FindWindowExW(find, nullptr, L"SysTreeView32", nullptr);
    CHECK_EQ(TreeTexts(tree), std::vector<std::wstring> { L"No files found" });
    // Choosing the "No files found" node leaves Open off.
    const std::vector<TTreeNode> nodes = TreeNodes(tree);
    if (!nodes.empty())
        SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(nodes[0].item));
    Sleep(200);
    CHECK(!IsWindowEnabled(DialogButton(find, L"&Open")));
    CHECK(ClickButton(find, L"Cancel"));
    CHECK(WaitGone(find));
    // Still running, with nothing open.
    CHECK(IsWindow(main));
    CHECK_EQ(StatusBarText(main, 3), std::wstring(L"0000"));
}

void FindInFilesBrowseReplacesThePattern(TContext& ctx)
{
    std::wstring dir = MakeTempDir(L"fifbrowse");
    TProcess p;
    HWND main = nullptr;
    HWND find = OpenFindInFiles(ctx, p, main, dir);
    CHECK(find != nullptr);
    HWND findCombo = FindWindowExW(find, nullptr, L"ComboBox", nullptr);
    HWND maskCombo = FindWindowExW(find, findCombo, L"ComboBox", nullptr);
    HWND mask = FindWindowExW(maskCombo, nullptr, L"Edit", nullptr);
    CHECK(SetComboText(find, 1, dir + L"*.txt"));
    // Cancelled, the box keeps its mask.
    CHECK(ClickButton(find, L"..."));
    HWND browser = WaitForMessageBox(L"Select a Folder", p.pid, 5000);
    CHECK(browser != nullptr);
    CHECK(ClickButton(browser, L"Cancel"));
    CHECK(WaitGone(browser));
    CHECK_EQ(WindowText(mask), dir + L"*.txt");
    // Chosen, the folder comes with "*.*" in place of the pattern.
    CHECK(ClickButton(find, L"..."));
    browser = WaitForMessageBox(L"Select a Folder", p.pid, 5000);
    CHECK(browser != nullptr);
    CHECK(ClickButton(browser, L"OK"));
    CHECK(WaitGone(browser));
    const std::wstring chosen = WindowText(mask);
    CHECK(chosen.size() > 5 && chosen.substr(chosen.size() - 4) == L"\\*.*");
    CHECK(chosen.find(L"*.txt") == std::wstring::npos);
    CHECK(ClickButton(find, L"Cancel"));
    CHECK(WaitGone(find));
}

// A click on a node's text, with the modifier keys given as MK_ flags.
bool ClickTreeNode(HWND tree, HTREEITEM item, WPARAM keys)
{
    SendMessageW(tree, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(item));
    RECT r {};
    if (!TreeItemRect(tree, item, &r))
        return false;
    const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    SendMessageW(tree, WM_LBUTTONDOWN, MK_LBUTTON | keys, at);
    SendMessageW(tree, WM_LBUTTONUP, keys, at);
    return true;
}

std::string Show(const std::vector<bool>& v)
{
    std::string out;
    for (bool b : v)
        out += b ? '1' : '0';
    return out;
}

std::vector<bool> TreeSelection(HWND tree)
{
    std::vector<bool> selected;
    for (const TTreeNode& node : TreeNodes(tree))
        selected.push_back(node.selected);
    return selected;
}

void FindInFilesTreeTakesCtrlAndShiftClicks(TContext& ctx)
{
    std::wstring dir = MakeTempDir(L"fifselect");
    CHECK(WriteTextFile(dir + L"a.txt", "x\r\nkey one\r\ny\r\nkey two\r\n"));
    CHECK(WriteTextFile(dir + L"b.txt", "key three\r\n"));
    TProcess p;
    HWND main = nullptr;
    HWND find = OpenFindInFiles(ctx, p, main, dir);
    CHECK(find != nullptr);
    CHECK(SetComboText(find, 0, L"key"));
    CHECK(SetComboText(find, 1, dir + L"*.txt"));
    HWND expand = DialogButton(find, L"Expand All");
    if (SendMessageW(expand, BM_GETCHECK, 0, 0) != BST_CHECKED)
        SendMessageW(expand, BM_CLICK, 0, 0);
    CHECK(ClickButton(find, L"Find Next"));
    CHECK(WaitForDialogStatic(find, L"Finished Search"));
    HWND tree = FindWindowExW(find, nullptr, L"SysTreeView32", nullptr);
    std::vector<TTreeNode> nodes = TreeNodes(tree);
    CHECK_EQ(nodes.size(), static_cast<size_t>(5));
    if (nodes.size() != 5)
        return;
    // The file order is the directory's: find a.txt's two lines wherever it is.
    const size_t a = nodes[0].text == dir + L"a.txt" ? 0 : 2;
    CHECK(nodes[a + 1].text == L"2:key one" && nodes[a + 2].text == L"4:key two");
    // Shift takes the shown range from the anchor, Ctrl toggles one node.
    CHECK(ClickTreeNode(tree, nodes[0].item, 0));
    CHECK(ClickTreeNode(tree, nodes[4].item, MK_SHIFT));
    CHECK_EQ(TreeSelection(tree), (std::vector<bool> { true, true, true, true, true }));
    CHECK(ClickTreeNode(tree, nodes[3].item, MK_CONTROL));
    CHECK_EQ(TreeSelection(tree), (std::vector<bool> { true, true, true, false, true }));
    // Shift with the arrow keys extends from the anchor too.
    CHECK(ClickTreeNode(tree, nodes[0].item, 0));
    CHECK(SendKey(find, VK_DOWN, { VK_SHIFT }));
    CHECK(SendKey(find, VK_DOWN, { VK_SHIFT }));
    Sleep(200);
    CHECK_EQ(TreeSelection(tree), (std::vector<bool> { true, true, true, false, false }));
    // Line 4 and then line 2 of a.txt: the file opens once, at the first chosen line.
    CHECK(ClickTreeNode(tree, nodes[a + 2].item, 0));
    CHECK(ClickTreeNode(tree, nodes[a + 1].item, MK_CONTROL));
    std::vector<bool> want(5, false);
    want[a + 1] = want[a + 2] = true;
    CHECK_EQ(TreeSelection(tree), want);
    CHECK(IsWindowEnabled(DialogButton(find, L"&Open")));
    CHECK(ClickButton(find, L"Open"));
    CHECK(WaitGone(find));
    CHECK(WaitForTitle(main, dir + L"a.txt"));
    CHECK(WaitForStatusText(main, 3, L"0004", 5000));
    CHECK(WaitForStatusText(main, 0, L"1 File(s) opened... 1 Total", 3000));
}

// ---- the panel of the open and save dialogs ---------------------------------------------

struct TIdSearch
{
    int id = 0;
    HWND found = nullptr;
};

BOOL CALLBACK MatchId(HWND child, LPARAM lp)
{
    auto* s = reinterpret_cast<TIdSearch*>(lp);
    if (GetDlgCtrlID(child) != s->id)
        return TRUE;
    s->found = child;
    return FALSE;
}

HWND DescendantById(HWND parent, int id)
{
    TIdSearch search { id };
    EnumChildWindows(parent, MatchId, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// A standard dialog with this caption once its panel is in place.
HWND WaitForPanelDialog(const std::wstring& caption, DWORD pid)
{
    HWND dialog = WaitForMessageBox(caption, pid, 5000);
    DWORD start = GetTickCount();
    while (dialog && !DescendantById(dialog, IDC_OPENPANEL_RECENT) && GetTickCount() - start < 3000)
        Sleep(50);
    return dialog && DescendantById(dialog, IDC_OPENPANEL_RECENT) ? dialog : nullptr;
}

// Tells the panel about a click or a selection in one of its controls.
bool NotifyPanel(HWND dialog, int id, WORD code)
{
    HWND control = DescendantById(dialog, id);
    return control
        && PostMessageW(GetParent(control), WM_COMMAND, MAKEWPARAM(id, code),
               reinterpret_cast<LPARAM>(control))
        != 0;
}

bool SetPanelCheck(HWND dialog, int id, bool on)
{
    HWND box = DescendantById(dialog, id);
    if (!box)
        return false;
    SendMessageW(box, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
    return NotifyPanel(dialog, id, BN_CLICKED);
}

std::vector<std::wstring> ComboLines(HWND combo)
{
    std::vector<std::wstring> lines;
    const LRESULT count = SendMessageW(combo, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        wchar_t text[MAX_PATH] = {};
        const LRESULT length = SendMessageW(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0);
        if (length >= 0 && length < MAX_PATH)
            SendMessageW(
                combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
        lines.push_back(text);
    }
    return lines;
}

bool WaitForComboLines(HWND combo, const std::vector<std::wstring>& lines)
{
    DWORD start = GetTickCount();
    while (ComboLines(combo) != lines && GetTickCount() - start < 3000)
        Sleep(50);
    return ComboLines(combo) == lines;
}

HWND FileNameBox(HWND dialog)
{
    HWND name = GetDlgItem(dialog, 0x47c);
    return name ? name : GetDlgItem(dialog, 0x480);
}

bool FileExists(const std::wstring& path)
{
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Started in dir with a.txt and sub\b.txt, so that both directories are recent ones.
HWND StartWithTwoDirectories(TContext& ctx, TProcess& p, const std::wstring& dir)
{
    if (!(CreateDirectoryW((dir + L"sub").c_str(), nullptr)
            || GetLastError() == ERROR_ALREADY_EXISTS)
        || !WriteTextFile(dir + L"a.txt", "a\r\n") || !WriteTextFile(dir + L"sub\\b.txt", "b\r\n"))
        return nullptr;
    p = ctx.Start(L"a.txt sub\\b.txt", dir);
    HWND main = WaitForWindow(MainClass, MainCaption, p.pid, StartTimeoutMs);
    return main && WaitForTitle(main, dir + L"sub\\b.txt") ? main : nullptr;
}

void OpenAndSaveDialogsCarryTheDirectoryPanel(TContext& ctx)
{
    std::wstring dir = MakeTempDir(L"opanel");
    TProcess p;
    HWND main = StartWithTwoDirectories(ctx, p, dir);
    CHECK(main != nullptr);
    PostCommand(main, IDM_FILE_OPENTEXT);
    HWND open = WaitForPanelDialog(L"Open", p.pid);
    CHECK(open != nullptr);
    CHECK_EQ(ComboLines(DescendantById(open, IDC_OPENPANEL_RECENT)),
        (std::vector<std::wstring> { dir + L"sub\\", dir }));
    HWND favs = DescendantById(open, IDC_OPENPANEL_FAVS);
    CHECK(favs != nullptr);
    CHECK(ComboLines(favs).empty());
    const std::vector<std::pair<int, std::wstring>> controls { { IDC_OPENPANEL_FAVADD, L"+" },
        { IDC_OPENPANEL_CLEAN, L"&Clean Dir" }, { IDC_OPENPANEL_SEARCH, L"&Search Dir" },
        { IDC_OPENPANEL_READONLY, L"Open as &read only" },
        { IDC_OPENPANEL_BINARY, L"Open as &binary" } };
    for (const auto& [id, caption] : controls) {
        HWND control = DescendantById(open, id);
        CHECK(control != nullptr);
        CHECK_EQ(WindowText(control), caption);
        CHECK(IsWindowVisible(control) && IsWindowEnabled(control));
    }
    CHECK_EQ(DialogItemChecked(GetParent(favs), IDC_OPENPANEL_BINARY), 0);
    // Typing goes to the file name, not to the panel.
    GUITHREADINFO gui {};
    gui.cbSize = sizeof(gui);
    CHECK(GetGUIThreadInfo(GetWindowThreadProcessId(open, nullptr), &gui));
    CHECK(gui.hwndFocus != nullptr && !IsChild(GetParent(favs), gui.hwndFocus));
    // The buttons keep to the right edge and the lists widen when the dialog does.
    HWND clean = DescendantById(open, IDC_OPENPANEL_CLEAN);
    RECT cleanBefore {}, favsBefore {}, bounds {};
    GetWindowRect(clean, &cleanBefore);
    GetWindowRect(favs, &favsBefore);
    GetWindowRect(open, &bounds);
    SetWindowPos(open, nullptr, 0, 0, bounds.right - bounds.left + 100, bounds.bottom - bounds.top,
        SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    Sleep(300);
    RECT cleanAfter {}, favsAfter {};
    GetWindowRect(clean, &cleanAfter);
    GetWindowRect(favs, &favsAfter);
    CHECK_EQ(cleanAfter.left - cleanBefore.left, 100L);
    CHECK_EQ((favsAfter.right - favsAfter.left) - (favsBefore.right - favsBefore.left), 100L);
    // "+" takes the folder the dialog shows, which is where the last file came from.
    CHECK(NotifyPanel(open, IDC_OPENPANEL_FAVADD, BN_CLICKED));
    CHECK(WaitForComboLines(favs, { dir + L"sub\\" }));
    CHECK(ClickButton(open, L"Cancel"));
    CHECK(WaitGone(open));

    PostCommand(main, IDM_FILE_SAVEAS);
    HWND save = WaitForPanelDialog(L"Save As", p.pid);
    CHECK(save != nullptr);
    CHECK_EQ(ComboLines(DescendantById(save, IDC_OPENPANEL_FAVS)),
        (std::vector<std::wstring> { dir + L"sub\\" }));
    CHECK(!IsWindowEnabled(DescendantById(save, IDC_OPENPANEL_READONLY)));
    CHECK(!IsWindowEnabled(DescendantById(save, IDC_OPENPANEL_BINARY)));
    CHECK(!IsWindowEnabled(DescendantById(save, IDC_OPENPANEL_SEARCH)));
    CHECK(IsWindowEnabled(DescendantById(save, IDC_OPENPANEL_CLEAN)));
    CHECK(IsWindowEnabled(DescendantById(save, IDC_OPENPANEL_FAVADD)));
    CHECK(ClickButton(save, L"Cancel"));
    CHECK(WaitGone(save));
}

void ChoosingARecentDirectoryMovesTheOpenDialogThere(TContext& ctx)
{
    std::wstring dir = MakeTempDir(L"orecent");
    TProcess p;
    HWND main = StartWithTwoDirectories(ctx, p, dir);
    CHECK(main != nullptr);
    CHECK(WriteTextFile(dir + L"c.txt", "c\r\n"));
    PostCommand(main, IDM_FILE_OPENTEXT);
    HWND open = WaitForPanelDialog(L"Open", p.pid);
    CHECK(open != nullptr);
    HWND name = FileNameBox(open);
    CHECK(name != nullptr);
    SetWindowTextW(name, L"c.txt");
    // The dialog starts in sub\, where there is no c.txt; the second recent line is dir.
    HWND recent = DescendantById(open, IDC_OPENPANEL_RECENT);
    SendMessageW(recent, CB_SETCURSEL, 1, 0);
    CHECK(NotifyPanel(open, IDC_OPENPANEL_RECENT, CBN_SELCHANGE));
    Sleep(500);
    CHECK_EQ(WindowText(name), std::wstring(L"c.txt")); // the typed name survives the jump
    CHECK(IsWindowVisible(open));
    CHECK(ClickButton(open, L"Open"));
    CHECK(WaitGone(open));
    CHECK(WaitForTitle(main, dir + L"c.txt"));
}

void OpenAsBinaryOpensTheFileInTheViewer(TContext& ctx)
{
    std::wstring dir = MakeTempDir(L"obinary");
    CHECK(WriteTextFile(dir + L"plain.txt", "just text\r\n"));
    TProcess p = ctx.Start(L"", dir);
    HWND main = WaitForWindow(MainClass, MainCaption, p.pid, StartTimeoutMs);
    CHECK(main != nullptr);
    PostCommand(main, IDM_FILE_OPENTEXT);
    HWND open = WaitForPanelDialog(L"Open", p.pid);
    CHECK(open != nullptr);
    CHECK(SetPanelCheck(open, IDC_OPENPANEL_BINARY, true));
    Sleep(200);
    SetWindowTextW(FileNameBox(open), (dir + L"plain.txt").c_str());
    CHECK(ClickButton(open, L"Open"));
    CHECK(WaitGone(open));
    CHECK(WaitForTitle(main, dir + L"plain.txt"));
    // The hex viewer only overwrites.
    CHECK(WaitForStatusText(main, 2, L"Ovr", 3000));
}

void CleanDirDeletesTheBackupsAfterConfirming(TContext& ctx)
{
    std::wstring dir = MakeTempDir(L"oclean");
    CHECK(WriteTextFile(dir + L"a.txt", "a\r\n"));
    CHECK(WriteTextFile(dir + L"a.~txt", "old a\r\n"));
    CHECK(WriteTextFile(dir + L"b.~", "old b\r\n"));
    CHECK(WriteTextFile(dir + L"keep~.txt", "k\r\n"));
    TProcess p = ctx.Start(L"a.txt", dir);
    HWND main = WaitForWindow(MainClass, MainCaption, p.pid, StartTimeoutMs);
    CHECK(main != nullptr);
    CHECK(WaitForTitle(main, dir + L"a.txt"));
    PostCommand(main, IDM_FILE_OPENTEXT);
    HWND open = WaitForPanelDialog(L"Open", p.pid);
    CHECK(open != nullptr);
    CHECK(NotifyPanel(open, IDC_OPENPANEL_CLEAN, BN_CLICKED));
    HWND ask = WaitForMessageBox(L"Delete Backups", p.pid, 5000);
    CHECK(ask != nullptr);
    CHECK_EQ(MessageBoxText(ask), std::wstring(L"Are you sure?"));
    CHECK(ClickButton(ask, L"Cancel"));
    CHECK(WaitGone(ask));
    Sleep(300);
    CHECK(FileExists(dir + L"a.~txt") && FileExists(dir + L"b.~"));

    CHECK(NotifyPanel(open, IDC_OPENPANEL_CLEAN, BN_CLICKED));
    ask = WaitForMessageBox(L"Delete Backups", p.pid, 5000);
    CHECK(ask != nullptr);
    CHECK(ClickButton(ask, L"OK"));
    DWORD start = GetTickCount();
    while (
        (FileExists(dir + L"a.~txt") || FileExists(dir + L"b.~")) && GetTickCount() - start < 5000)
        Sleep(50);
    CHECK(!FileExists(dir + L"a.~txt"));
    CHECK(!FileExists(dir + L"b.~"));
    CHECK(FileExists(dir + L"a.txt") && FileExists(dir + L"keep~.txt"));
    CHECK(IsWindowVisible(open));
    CHECK(ClickButton(open, L"Cancel"));
    CHECK(WaitGone(open));
}

void SearchDirOpensFindInFilesOnTheDialogsDirectory(TContext& ctx)
{
    std::wstring dir = MakeTempDir(L"osearch");
    CHECK(WriteTextFile(dir + L"a.txt", "a\r\n"));
    TProcess p = ctx.Start(L"a.txt", dir);
    HWND main = WaitForWindow(MainClass, MainCaption, p.pid, StartTimeoutMs);
    CHECK(main != nullptr);
    CHECK(WaitForTitle(main, dir + L"a.txt"));
    PostCommand(main, IDM_FILE_OPENTEXT);
    HWND open = WaitForPanelDialog(L"Open", p.pid);
    CHECK(open != nullptr);
    CHECK(NotifyPanel(open, IDC_OPENPANEL_SEARCH, BN_CLICKED));
    CHECK(WaitGone(open));
    HWND find = WaitForMessageBox(L"Find", p.pid, 5000);
    CHECK(find != nullptr);
    CHECK_EQ(DialogItemChecked(find, IDC_FIND_SPECIFYFILES), 1);
    HWND findCombo = FindWindowExW(find, nullptr, L"ComboBox", nullptr);
    HWND maskCombo = FindWindowExW(find, findCombo, L"ComboBox", nullptr);
    CHECK_EQ(WindowText(maskCombo), dir + L"*.*");
    CHECK(ClickButton(find, L"Cancel"));
    CHECK(WaitGone(find));
}

void ACancelledOpenKeepsItsFavouriteAndTheFilterIndex(TContext& ctx)
{
    std::wstring ini = ctx.wexly.substr(0, ctx.wexly.find_last_of(L'.')) + L".ini";
    DeleteFileW(ini.c_str());
    std::wstring dir = MakeTempDir(L"ofaves");
    CHECK(WriteTextFile(dir + L"a.txt", "a\r\n"));
    TProcess p = ctx.Start(L"a.txt", dir);
    HWND main = WaitForWindow(MainClass, MainCaption, p.pid, StartTimeoutMs);
    CHECK(main != nullptr);
    CHECK(WaitForTitle(main, dir + L"a.txt"));
    PostCommand(main, IDM_FILE_OPENTEXT);
    HWND open = WaitForPanelDialog(L"Open", p.pid);
    CHECK(open != nullptr);
    CHECK(NotifyPanel(open, IDC_OPENPANEL_FAVADD, BN_CLICKED));
    CHECK(WaitForComboLines(DescendantById(open, IDC_OPENPANEL_FAVS), { dir }));
    CHECK(ClickButton(open, L"Cancel"));
    CHECK(WaitGone(open));
    PostCommand(main, IDM_FILE_EXIT);
    DWORD code = 12345;
    CHECK(WaitForExit(p, 5000, &code));
    std::string content;
    CHECK(ReadTextFile(ini, &content));
    CHECK(content.find("fdOFilter=1") != std::string::npos);
    CHECK(content.find(Narrow(dir)) != std::string::npos);
}

void SaveDialogJumpToAFavouriteThatIsGoneSavesNothing(TContext& ctx)
{
    std::wstring ini = ctx.wexly.substr(0, ctx.wexly.find_last_of(L'.')) + L".ini";
    std::wstring dir = MakeTempDir(L"ogone");
    CHECK(WriteTextFile(ini, "[FDFaves]\r\n#=1\r\n0=" + Narrow(dir) + "gone\r\n"));
    CHECK(WriteTextFile(dir + L"a.txt", "a\r\n"));
    TProcess p = ctx.Start(L"a.txt", dir);
    HWND main = WaitForWindow(MainClass, MainCaption, p.pid, StartTimeoutMs);
    CHECK(main != nullptr);
    CHECK(WaitForTitle(main, dir + L"a.txt"));
    PostCommand(main, IDM_FILE_SAVEAS);
    HWND save = WaitForPanelDialog(L"Save As", p.pid);
    CHECK(save != nullptr);
    HWND favs = DescendantById(save, IDC_OPENPANEL_FAVS);
    CHECK_EQ(ComboLines(favs), (std::vector<std::wstring> { dir + L"gone" }));
    SendMessageW(favs, CB_SETCURSEL, 0, 0);
    CHECK(NotifyPanel(save, IDC_OPENPANEL_FAVS, CBN_SELCHANGE));
    Sleep(1000);
    // The dialog may complain about the path; nothing is saved under the directory's name.
    for (HWND box : FindTopWindows(L"#32770", L"Save As", p.pid))
        if (box != save)
            ClickButton(box, L"OK");
    Sleep(300);
    CHECK(!FileExists(dir + L"gone.txt"));
    CHECK(!FileExists(dir + L"gone"));
    CHECK(IsWindowVisible(save));
    CHECK(ClickButton(save, L"Cancel"));
    CHECK(WaitGone(save));
    DeleteFileW(ini.c_str());
}

void DictionaryBrowseShowsThePanelDialogOverTheChooser(TContext& ctx)
{
    std::wstring dir = MakeTempDir(L"odic");
    CHECK(WriteTextFile(dir + L"words.ydc", "[Wexly2 Dictionary File V1]\r\n0\r\n"));
    CHECK(WriteTextFile(dir + L"other.ydc", "[Wexly2 Dictionary File V1]\r\n0\r\n"));
    TProcess p = ctx.Start(L"", dir);
    HWND main = WaitForWindow(MainClass, MainCaption, p.pid, StartTimeoutMs);
    CHECK(main != nullptr);
    PostCommand(main, IDM_DIC_CURRENT);
    HWND chooser = WaitForMessageBox(L"Choose A Dictionary", p.pid, 5000);
    CHECK(chooser != nullptr);
    HWND edit = FindWindowExW(chooser, nullptr, L"Edit", nullptr);
    CHECK(edit != nullptr);
    const std::wstring words = dir + L"words.ydc";
    SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(words.c_str()));
    CHECK(ClickButton(chooser, L"..."));
    HWND open = WaitForPanelDialog(L"Open", p.pid);
    CHECK(open != nullptr);
    // Owned by the chooser, which it keeps disabled, and proposing the chooser's file.
    CHECK(GetWindow(open, GW_OWNER) == chooser);
    const std::wstring proposed = WindowText(FileNameBox(open));
    CHECK(proposed.size() >= 9 && proposed.substr(proposed.size() - 9) == L"words.ydc");
    SetWindowTextW(FileNameBox(open), (dir + L"other.ydc").c_str());
    CHECK(ClickButton(open, L"Open"));
    CHECK(WaitGone(open));
    DWORD start = GetTickCount();
    while (WindowText(edit) != dir + L"other.ydc" && GetTickCount() - start < 3000)
        Sleep(50);
    CHECK_EQ(WindowText(edit), dir + L"other.ydc");
    CHECK(ClickButton(chooser, L"Cancel"));
    CHECK(WaitGone(chooser));
}

// The Preferences pages in the order of the page list.
constexpr int PilesPage = 4;
constexpr int ToolsPage = 5;
constexpr int MacrosPage = 6;

void ToolAddedOnTheToolsPageRunsFromTheToolsMenu(TContext& ctx)
{
    std::wstring dir = MakeTempDir(L"addtool");
    CHECK(WriteTextFile(dir + L"a.txt", "alpha\r\n"));
    TSettingsFileForTest ini(ctx.wexly, "[External]\r\n#=0\r\n");
    CHECK(ini.Ok());
    TProcess p = ctx.Start(L"a.txt", dir);
    HWND main = WaitForWindow(MainClass, MainCaption, p.pid, StartTimeoutMs);
    CHECK(main != nullptr);
    CHECK(WaitForTitle(main, dir + L"a.txt"));
    HWND dialog = OpenPreferences(main, p.pid);
    CHECK(dialog != nullptr);
    CHECK(SelectDialogListLine(dialog, IDC_PREF_PAGES, ToolsPage));
    CHECK(ClickDialogItem(dialog, IDC_TOOL_ADD));
    HWND edit = WaitForMessageBox(L"Edit External Tool", p.pid, 5000);
    CHECK(edit != nullptr);
    CHECK_EQ(DialogItemText(edit, IDC_ET_NAME), std::wstring(L"New Item"));
    // The reload choices wait for "Reload on completion".
    CHECK(!IsWindowEnabled(GetDlgItem(edit, IDC_ET_CURRENT)));
    CHECK(!IsWindowEnabled(GetDlgItem(edit, IDC_ET_FILENAME)));
    CHECK(SetDialogItemText(edit, IDC_ET_NAME, L"&Greet"));
    const std::wstring command = L"cmd /c echo greet> " + dir + L"out.txt";
    CHECK(SetDialogItemText(edit, IDC_ET_COMMAND, command));
    CHECK(SetDialogItemChecked(edit, IDC_ET_RECORD, true));
    CHECK(ClickButton(edit, L"OK"));
    CHECK(WaitGone(edit));
    Sleep(200);
    CHECK_EQ(DialogListSelection(dialog, IDC_TOOL_LIST), 0);
    CHECK_EQ(DialogItemText(dialog, IDC_TOOL_COMMAND), command);
    // Edit shows the tool as stored; Cancel changes nothing.
    CHECK(ClickDialogItem(dialog, IDC_TOOL_EDIT));
    edit = WaitForMessageBox(L"Edit External Tool", p.pid, 5000);
    CHECK(edit != nullptr);
    CHECK_EQ(DialogItemText(edit, IDC_ET_NAME), std::wstring(L"&Greet"));
    CHECK_EQ(DialogItemChecked(edit, IDC_ET_RECORD), 1);
    CHECK_EQ(DialogItemChecked(edit, IDC_ET_CURRENT), 1);
    CHECK(ClickButton(edit, L"Cancel"));
    CHECK(WaitGone(edit));
    // Delete asks first; "No" keeps the tool.
    CHECK(ClickDialogItem(dialog, IDC_TOOL_DELETE));
    HWND ask = WaitForMessageBox(L"Alert!", p.pid, 5000);
    CHECK(ask != nullptr);
    CHECK_EQ(MessageBoxText(ask), std::wstring(L"Are you sure you want to\ndelete this entry?"));
    CHECK(ClickButton(ask, L"No"));
    CHECK(WaitGone(ask));
    Sleep(200);
    CHECK_EQ(DialogListSelection(dialog, IDC_TOOL_LIST), 0);
    CHECK(ClickButton(dialog, L"OK"));
    CHECK(WaitGone(dialog));
    // The new tool is the first entry of the Tools menu.
    CHECK(SendKey(main, 'T', { VK_MENU }));
    CHECK(SendKey(main, 'G'));
    CHECK(WaitForTitle(main, L"Console", 10000));
    CHECK(WaitForFileContent(dir + L"out.txt", "greet\r\n", 5000));
}

void ToolsListRunsTheChosenToolEvenBeyondTheTenth(TContext& ctx)
{
    std::wstring dir = MakeTempDir(L"toollist");
    const std::string d = Narrow(dir);
    std::string external = "[External]\r\n#=11\r\n";
    for (int i = 0; i < 11; ++i) {
        const std::string n = std::to_string(i);
        external += n + "=Tool" + n + "\r\n" + n + "cl=cmd /c echo tool" + n + "> " + d + "out" + n
            + ".txt\r\n" + n + "flg=4\r\n";
    }
    TSettingsFileForTest ini(ctx.wexly, external);
    CHECK(ini.Ok());
    TProcess p = ctx.Start(L"", dir);
    HWND main = WaitForWindow(MainClass, MainCaption, p.pid, StartTimeoutMs);
    CHECK(main != nullptr);
    CHECK(SendKey(main, VK_F9));
    HWND list = WaitForMessageBox(L"Tools", p.pid, 5000);
    CHECK(list != nullptr);
    CHECK_EQ(DialogListSelection(list, IDC_TL_LIST), -1);
    CHECK(SelectDialogListLine(list, IDC_TL_LIST, 10));
    CHECK(ClickDialogItem(list, IDOK));
    CHECK(WaitGone(list));
    CHECK(WaitForFileContent(dir + L"out10.txt", "tool10\r\n", 10000));
    CHECK(GetFileAttributesW((dir + L"out0.txt").c_str()) == INVALID_FILE_ATTRIBUTES);
    CHECK(WaitForStatusText(main, 0, L"Execution Complete", 5000));
    // The next showing selects the tool chosen last; Esc closes it without running anything.
    CHECK(SendKey(main, VK_F9));
    list = WaitForMessageBox(L"Tools", p.pid, 5000);
    CHECK(list != nullptr);
    CHECK_EQ(DialogListSelection(list, IDC_TL_LIST), 10);
    CHECK(SendKey(list, VK_ESCAPE));
    CHECK(WaitGone(list));
}

void MacroRecordedOnTheMacrosPagePlaysWithShiftF(TContext& ctx)
{
    std::wstring dir = MakeTempDir(L"recmacro");
    CHECK(WriteTextFile(dir + L"a.txt", "alpha\r\n"));
    TSettingsFileForTest ini(ctx.wexly, "[Macros]\r\n#=0\r\n");
    CHECK(ini.Ok());
    TProcess p = ctx.Start(L"a.txt", dir);
    HWND main = WaitForWindow(MainClass, MainCaption, p.pid, StartTimeoutMs);
    CHECK(main != nullptr);
    CHECK(WaitForTitle(main, dir + L"a.txt"));
    HWND dialog = OpenPreferences(main, p.pid);
    CHECK(dialog != nullptr);
    CHECK(SelectDialogListLine(dialog, IDC_PREF_PAGES, MacrosPage));
    CHECK_EQ(DialogListSelection(dialog, IDC_MAC_LIST), 0);
    CHECK(SelectDialogListLine(dialog, IDC_MAC_LIST, 1)); // Shift+F2
    CHECK(FocusDialogItem(dialog, IDC_MAC_DISPLAY));
    CHECK(SendKey(dialog, 'H'));
    CHECK(SendKey(dialog, 'I'));
    CHECK(SendKey(dialog, VK_OEM_COMMA, { VK_SHIFT }));
    CHECK(SendKey(dialog, VK_RETURN));
    CHECK(SendKey(dialog, VK_HOME, { VK_CONTROL }));
    Sleep(300);
    CHECK_EQ(DialogItemText(dialog, IDC_MAC_DISPLAY), std::wstring(L"hi<L><ENTER><BOF>"));
    CHECK(ClickDialogItem(dialog, IDC_MAC_BACK));
    Sleep(300);
    CHECK_EQ(DialogItemText(dialog, IDC_MAC_DISPLAY), std::wstring(L"hi<L><ENTER>"));
    // F1 in the box selects Shift+F1 instead of recording.
    CHECK(SendKey(dialog, VK_F1));
    Sleep(300);
    CHECK_EQ(DialogListSelection(dialog, IDC_MAC_LIST), 0);
    CHECK_EQ(DialogItemText(dialog, IDC_MAC_DISPLAY), std::wstring(L""));
    CHECK(ClickButton(dialog, L"OK"));
    CHECK(WaitGone(dialog));
    CHECK(SendKey(main, VK_F2, { VK_SHIFT }));
    CHECK(SendKey(main, 'S', { VK_CONTROL }));
    CHECK(WaitForFileContent(dir + L"a.txt", "hi<\r\nalpha\r\n", 3000));
}

void SubPileAddedOnThePilesPageShowsInThePilesMenu(TContext& ctx)
{
    std::wstring dir = MakeTempDir(L"addpile");
    TSettingsFileForTest ini(ctx.wexly, "[Piles]\r\n#=0\r\n");
    CHECK(ini.Ok());
    TProcess p = ctx.Start(L"", dir);
    HWND main = WaitForWindow(MainClass, MainCaption, p.pid, StartTimeoutMs);
    CHECK(main != nullptr);
    HWND dialog = OpenPreferences(main, p.pid);
    CHECK(dialog != nullptr);
    CHECK(SelectDialogListLine(dialog, IDC_PREF_PAGES, PilesPage));
    HWND tree = GetDlgItem(dialog, IDC_PILE_TREE);
    CHECK(tree != nullptr);
    CHECK_EQ(static_cast<int>(SendMessageW(tree, TVM_GETCOUNT, 0, 0)), 1);
    CHECK(FocusDialogItem(dialog, IDC_PILE_TREE));
    CHECK(SendKey(dialog, VK_HOME)); // selects "Main Pile"
    CHECK_EQ(DialogItemChecked(dialog, IDC_PILE_BINARY), 0);
    CHECK(!IsWindowEnabled(GetDlgItem(dialog, IDC_PILE_BINARY)));
    // The tree's popup menu, as the menu key would open it: "New &Sub-Pile".
    PostMessageW(dialog, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(tree), -1);
    CHECK(WaitUntilMenuShown(p.pid));
    CHECK(SendKey(dialog, 'S'));
    // The new pile's label is edited at once; OK first only ends that edit.
    HWND labelEdit = nullptr;
    for (DWORD start = GetTickCount(); !labelEdit && GetTickCount() - start < 3000; Sleep(50))
        labelEdit = reinterpret_cast<HWND>(SendMessageW(tree, TVM_GETEDITCONTROL, 0, 0));
    CHECK(labelEdit != nullptr);
    SendMessageW(labelEdit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"Letters"));
    CHECK(ClickDialogItem(dialog, IDOK));
    Sleep(500);
    CHECK(IsWindowVisible(dialog));
    CHECK_EQ(static_cast<int>(SendMessageW(tree, TVM_GETCOUNT, 0, 0)), 2);
    CHECK(ClickDialogItem(dialog, IDOK));
    CHECK(WaitGone(dialog));
    // Piles > Letters > "Add to this pile".
    CHECK(SendKey(main, 'P', { VK_MENU }));
    CHECK(WaitForStatusText(main, 0, L"Add to this pile", 3000));
    CHECK(SendKey(main, VK_DOWN));
    CHECK(WaitForStatusText(main, 0, L"Sub-pile", 3000));
    CHECK(SendKey(main, VK_RIGHT));
    CHECK(WaitForStatusText(main, 0, L"Add to this pile", 3000));
    CHECK(SendKey(main, VK_ESCAPE));
    CHECK(SendKey(main, VK_ESCAPE));
    CHECK(SendKey(main, VK_ESCAPE));
    PostCommand(main, IDM_FILE_EXIT);
    DWORD code = 12345;
    CHECK(WaitForExit(p, 5000, &code));
    std::string written;
    CHECK(ReadTextFile(ctx.wexly.substr(0, ctx.wexly.find_last_of(L'.')) + L".ini", &written));
    CHECK(written.find("=!\"Letters\r\n") != std::string::npos);
}

// The screen point of row `row` of a tree whose rows are all visible, at indent level `level`.
POINT TreeRowPoint(HWND tree, int row, int level)
{
    RECT r {};
    GetWindowRect(tree, &r);
    const int height = static_cast<int>(SendMessageW(tree, TVM_GETITEMHEIGHT, 0, 0));
    const int indent = static_cast<int>(SendMessageW(tree, TVM_GETINDENT, 0, 0));
    // Past the lines, the button and the picture, onto the label.
    return { r.left + 2 + indent * (level + 1) + 16 + 12, r.top + 2 + height * row + height / 2 };
}

void PileDraggedOntoAnotherPileIsStoredUnderIt(TContext& ctx)
{
    std::wstring dir = MakeTempDir(L"dragpile");
    TSettingsFileForTest ini(ctx.wexly,
        "[Piles]\r\n#=2\r\n0=!\"Apples\r\n1=!#Bananas\r\n"
        "[PFiles]\r\n#=1\r\n0=#0C:\\b.txt\r\n");
    CHECK(ini.Ok());
    TProcess p = ctx.Start(L"", dir);
    HWND main = WaitForWindow(MainClass, MainCaption, p.pid, StartTimeoutMs);
    CHECK(main != nullptr);
    HWND dialog = OpenPreferences(main, p.pid);
    CHECK(dialog != nullptr);
    CHECK(SelectDialogListLine(dialog, IDC_PREF_PAGES, PilesPage));
    HWND tree = GetDlgItem(dialog, IDC_PILE_TREE);
    // Main Pile, then Apples and Bananas (collapsed): three rows shown.
    CHECK(SendMessageW(tree, TVM_GETVISIBLECOUNT, 0, 0) >= 3);
    CHECK_EQ(static_cast<int>(SendMessageW(tree, TVM_GETCOUNT, 0, 0)), 4);
    CHECK(SendKey(dialog, VK_SHIFT)); // the dialog to the front
    CHECK(DragMouse(TreeRowPoint(tree, 2, 1), TreeRowPoint(tree, 1, 1)));
    Sleep(500);
    CHECK(ClickButton(dialog, L"OK"));
    CHECK(WaitGone(dialog));
    PostCommand(main, IDM_FILE_EXIT);
    DWORD code = 12345;
    CHECK(WaitForExit(p, 5000, &code));
    std::string written;
    CHECK(ReadTextFile(ctx.wexly.substr(0, ctx.wexly.find_last_of(L'.')) + L".ini", &written));
    // Bananas now lies under Apples and takes the next identifier; its file goes with it.
    CHECK(written.find("=!\"Apples\r\n") != std::string::npos);
    CHECK(written.find("=\"#Bananas\r\n") != std::string::npos);
    CHECK(written.find("=#0C:\\b.txt\r\n") != std::string::npos);
}

struct TCase
{
    const char* name;
    void (*run)(TContext&);
};

const TCase Cases[] = {
    { "WindowAppearsWithClassCaptionMenuAndStatusBar",
        WindowAppearsWithClassCaptionMenuAndStatusBar },
    { "MenuBarHasEveryMenuWithItsItems", MenuBarHasEveryMenuWithItsItems },
    { "ExitThroughTheFileMenuWithTheKeyboard", ExitThroughTheFileMenuWithTheKeyboard },
    { "HelpContentsThroughTheHelpMenu", HelpContentsThroughTheHelpMenu },
    { "SecondStartHandsOverAndExitsWithZero", SecondStartHandsOverAndExitsWithZero },
    { "SecondStartWithoutArgumentsAlsoHandsOver", SecondStartWithoutArgumentsAlsoHandsOver },
    { "ExitCommandEndsTheProcessWithZero", ExitCommandEndsTheProcessWithZero },
    { "ClosingTheWindowEndsTheProcessWithZero", ClosingTheWindowEndsTheProcessWithZero },
    { "F1WithoutHelpFileShowsTheErrorBox", F1WithoutHelpFileShowsTheErrorBox },
    { "InsertKeyWithoutDocumentsFlipsInsOvr", InsertKeyWithoutDocumentsFlipsInsOvr },
    { "CapsLockShowsInItsPanel", CapsLockShowsInItsPanel },
    { "TwoFilesFromTheCommandLineAreEditedAndSaved", TwoFilesFromTheCommandLineAreEditedAndSaved },
    { "ClosingAChangedFileAsksAndEachAnswerDoesItsPart",
        ClosingAChangedFileAsksAndEachAnswerDoesItsPart },
    { "ExitWithUnsavedChangesAsksForEachFile", ExitWithUnsavedChangesAsksForEachFile },
    { "MenuHintsShowInTheMessagePanel", MenuHintsShowInTheMessagePanel },
    { "WindowListPicksADocument", WindowListPicksADocument },
    { "ReopenDialogOpensTheChosenFileAgain", ReopenDialogOpensTheChosenFileAgain },
    { "EditPopupOfTheViewSavesAndCopies", EditPopupOfTheViewSavesAndCopies },
    { "DroppedFilesOpenAndAltOffersTheDropMenu", DroppedFilesOpenAndAltOffersTheDropMenu },
    { "DictionaryMaintenanceEditsSavesAndTakesEffect",
        DictionaryMaintenanceEditsSavesAndTakesEffect },
    { "PilesMacrosAndToolsComeFromTheSettings", PilesMacrosAndToolsComeFromTheSettings },
    { "ChosenDictionaryReplacesWordsAsTheyAreTyped", ChosenDictionaryReplacesWordsAsTheyAreTyped },
    { "EditingKeysReachTheFocusedDocument", EditingKeysReachTheFocusedDocument },
    { "NewDocumentSavedAsGetsTheTxtExtension", NewDocumentSavedAsGetsTheTxtExtension },
    { "SecondStartOpensItsFileInTheRunningInstance", SecondStartOpensItsFileInTheRunningInstance },
    { "AFileChangedOnDiskIsReloadedWhenTheProgramIsActivated",
        AFileChangedOnDiskIsReloadedWhenTheProgramIsActivated },
    { "SplitWindowTypesIntoBothPanes", SplitWindowTypesIntoBothPanes },
    { "StartOptionsPlaceTheCaretAndChooseTheView", StartOptionsPlaceTheCaretAndChooseTheView },
    { "PNumberReopensTheFilesClosedLast", PNumberReopensTheFilesClosedLast },
    { "FindNextSelectsTheMatchAndF3RepeatsIt", FindNextSelectsTheMatchAndF3RepeatsIt },
    { "ReplaceAllChangesTheTextThatIsThenSaved", ReplaceAllChangesTheTextThatIsThenSaved },
    { "GotoLineMovesTheCaret", GotoLineMovesTheCaret },
    { "PreviewPagesThroughTheDocument", PreviewPagesThroughTheDocument },
    { "NextDifferentWordStopsAtTheFirstDifferingPair",
        NextDifferentWordStopsAtTheFirstDifferingPair },
    { "FindInFilesListsMatchesAndOpensTheChosenLine",
        FindInFilesListsMatchesAndOpensTheChosenLine },
    { "FindInFilesReportsAMissingDirectory", FindInFilesReportsAMissingDirectory },
    { "FindInFilesEscHaltsARunningSearchAndThenCloses",
        FindInFilesEscHaltsARunningSearchAndThenCloses },
    { "FindInFilesTreeTakesCtrlAndShiftClicks", FindInFilesTreeTakesCtrlAndShiftClicks },
    { "FindInFilesBrowseReplacesThePattern", FindInFilesBrowseReplacesThePattern },
    { "PerformanceFigures", PerformanceFigures },
    { "SettingsAreWrittenAtExitAndReadAtTheNextStart",
        SettingsAreWrittenAtExitAndReadAtTheNextStart },
    { "PreferencesOkChangesTheSettingsAndCancelLeavesThem",
        PreferencesOkChangesTheSettingsAndCancelLeavesThem },
    { "PreferencesHelpShowsThePageOfTheSelectedPage",
        PreferencesHelpShowsThePageOfTheSelectedPage },
    { "OpenAndSaveDialogsCarryTheDirectoryPanel", OpenAndSaveDialogsCarryTheDirectoryPanel },
    { "ChoosingARecentDirectoryMovesTheOpenDialogThere",
        ChoosingARecentDirectoryMovesTheOpenDialogThere },
    { "OpenAsBinaryOpensTheFileInTheViewer", OpenAsBinaryOpensTheFileInTheViewer },
    { "CleanDirDeletesTheBackupsAfterConfirming", CleanDirDeletesTheBackupsAfterConfirming },
    { "SearchDirOpensFindInFilesOnTheDialogsDirectory",
        SearchDirOpensFindInFilesOnTheDialogsDirectory },
    { "ACancelledOpenKeepsItsFavouriteAndTheFilterIndex",
        ACancelledOpenKeepsItsFavouriteAndTheFilterIndex },
    { "SaveDialogJumpToAFavouriteThatIsGoneSavesNothing",
        SaveDialogJumpToAFavouriteThatIsGoneSavesNothing },
    { "DictionaryBrowseShowsThePanelDialogOverTheChooser",
        DictionaryBrowseShowsThePanelDialogOverTheChooser },
    { "ToolAddedOnTheToolsPageRunsFromTheToolsMenu", ToolAddedOnTheToolsPageRunsFromTheToolsMenu },
    { "ToolsListRunsTheChosenToolEvenBeyondTheTenth",
        ToolsListRunsTheChosenToolEvenBeyondTheTenth },
    { "MacroRecordedOnTheMacrosPagePlaysWithShiftF", MacroRecordedOnTheMacrosPagePlaysWithShiftF },
    { "SubPileAddedOnThePilesPageShowsInThePilesMenu",
        SubPileAddedOnThePilesPageShowsInThePilesMenu },
    { "PileDraggedOntoAnotherPileIsStoredUnderIt", PileDraggedOntoAnotherPileIsStoredUnderIt },
};

std::wstring BesideThisProgram(const wchar_t* name)
{
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring dir(path);
    dir.erase(dir.find_last_of(L"\\/") + 1);
    return dir + name;
}

} // namespace
} // namespace wexly::e2e

int wmain(int argc, wchar_t** argv)
{
    using namespace wexly::e2e;
    std::wstring wexly = argc > 1 && argv[1][0] ? argv[1] : BesideThisProgram(L"wexly.exe");
    std::wstring filter = argc > 2 ? argv[2] : L"";
    // Every case starts from the default settings, whatever ran before it.
    const std::wstring ini = wexly.substr(0, wexly.find_last_of(L'.')) + L".ini";
    return RunCases<TContext>(Cases, filter, "e2e", [&](TContext& ctx) {
        DeleteFileW(ini.c_str());
        ctx.wexly = wexly;
    });
}
